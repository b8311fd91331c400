#include "xmlserializer.h"

#include "xmlnode.h"

#include <QBuffer>
#include <QHash>
#include <QStringView>
#include <QXmlStreamReader>
#include <cstring>

namespace XmlSerializer {

namespace {

constexpr char kDeclaracion[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
#ifdef Q_OS_WIN
constexpr char kFinDeLinea[] = "\r\n";
#else
constexpr char kFinDeLinea[] = "\n";
#endif
constexpr int kIndentacion = 4;

bool isXmlChar(char16_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c != 0xFFFE && c != 0xFFFF);
}

} // namespace

// The file is built straight in UTF-8: a whole project as UTF-16 first would
// double the memory a save needs.
class Salida
{
public:
    // The element whose children are left out, and where they would go.
    const XmlNode *m_sinHijos = nullptr;
    int m_corte = -1;

    int size() const { return m_usado; }
    void reservar(int n)
    {
        if (n > m_bytes.size())
            m_bytes.resize(n);
    }
    // What was written so far.
    QByteArray bytes()
    {
        m_bytes.resize(m_usado);
        return m_bytes;
    }

    // Literals only: their length is known without counting.
    template<int N> void ascii(const char (&texto)[N]) { crudo(texto, N - 1); }
    void ascii(char c)
    {
        *espacio(1) = c;
        ++m_usado;
    }
    void crudo(const char *datos, int n)
    {
        std::memcpy(espacio(n), datos, size_t(n));
        m_usado += n;
    }
    void indent(int depth)
    {
        const int n = depth * kIndentacion;
        std::memset(espacio(n), ' ', size_t(n));
        m_usado += n;
    }
    void finDeLinea() { ascii(kFinDeLinea); }

    // Tags and comments are written as they are.
    void texto(const QString &texto) { codificar(texto, false); }
    // "<tag", left open for what the element holds.
    void abrirEtiqueta(const QString &tag)
    {
        ascii('<');
        texto(tag);
    }
    void etiquetaFinal(const QString &tag)
    {
        ascii("</");
        texto(tag);
        ascii('>');
    }
    // Text content gets what XML reserves escaped ("<", "&", the ">" closing
    // "]]>", and a carriage return that a reader would otherwise fold into the
    // line end).
    void textoEscapado(const QString &texto) { codificar(texto, true); }

private:
    // Characters XML cannot hold at all are dropped: written, they would make
    // the whole file unreadable.
    void codificar(const QString &texto, bool escapar)
    {
        const int n = texto.size();
        const QChar *c = texto.constData();
        // Tags, numbers and most names are printable ASCII with nothing to
        // escape: one byte each, as they are.
        char *p = espacio(n);
        int i = 0;
        for (; i < n && esLlano(c[i].unicode(), escapar); ++i)
            p[i] = char(c[i].unicode());
        m_usado += i;
        if (i == n)
            return;
        // At most 5 bytes per UTF-16 unit ("&amp;", "&#xd;"; 4 per pair).
        p = espacio(5 * (n - i));
        for (; i < n; ++i) {
            const char16_t u = c[i].unicode();
            if (escapar && (u == u'<' || u == u'&' || u == u'\r' || u == u'>')) {
                p = escapado(p, c, i);
            } else if (u < 0x80) {
                if (isXmlChar(u))
                    *p++ = char(u);
            } else if (c[i].isHighSurrogate() && i + 1 < n && c[i + 1].isLowSurrogate()) {
                const uint cp = QChar::surrogateToUcs4(c[i], c[i + 1]);
                *p++ = char(0xF0 | (cp >> 18));
                *p++ = char(0x80 | ((cp >> 12) & 0x3F));
                *p++ = char(0x80 | ((cp >> 6) & 0x3F));
                *p++ = char(0x80 | (cp & 0x3F));
                ++i;
            } else if (c[i].isSurrogate() || !isXmlChar(u)) {
                continue;
            } else if (u < 0x800) {
                *p++ = char(0xC0 | (u >> 6));
                *p++ = char(0x80 | (u & 0x3F));
            } else {
                *p++ = char(0xE0 | (u >> 12));
                *p++ = char(0x80 | ((u >> 6) & 0x3F));
                *p++ = char(0x80 | (u & 0x3F));
            }
        }
        m_usado = int(p - m_bytes.constData());
    }

    // Room for n more bytes after those written; the bytes grow in steps
    // rather than on every write, and what was written is only cut to size
    // when taken.
    char *espacio(int n)
    {
        if (m_usado + n > m_bytes.size())
            m_bytes.resize(qMax(2 * m_bytes.size(), m_usado + n + 256));
        return m_bytes.data() + m_usado;
    }

    static bool esLlano(char16_t u, bool escapar)
    {
        return u >= 0x20 && u < 0x7F && !(escapar && (u == u'<' || u == u'&' || u == u'>'));
    }

    static char *escapado(char *p, const QChar *c, int i)
    {
        const char *reemplazo = nullptr;
        switch (c[i].unicode()) {
        case u'<':
            reemplazo = "&lt;";
            break;
        case u'&':
            reemplazo = "&amp;";
            break;
        case u'\r':
            reemplazo = "&#xd;";
            break;
        default:
            reemplazo =
                (i >= 2 && c[i - 1] == QLatin1Char(']') && c[i - 2] == QLatin1Char(']')) ? "&gt;" : ">";
            break;
        }
        while (*reemplazo)
            *p++ = *reemplazo++;
        return p;
    }

    QByteArray m_bytes;
    int m_usado = 0;
};

namespace {

void writeNode(Salida &out, const XmlNode &node, int depth, bool afterText, bool beforeText);

// Line breaks and indentation go only where they cannot join a text.
void writeChildren(Salida &out, const XmlNode &node, int depth)
{
    const auto &children = node.children();
    for (size_t i = 0; i < children.size(); ++i) {
        const bool afterText = i > 0 && children[i - 1]->isText();
        const bool beforeText = i + 1 < children.size() && children[i + 1]->isText();
        writeNode(out, *children[i], depth, afterText, beforeText);
    }
}

void writeComment(Salida &out, const XmlNode &node, int depth, bool afterText, bool beforeText)
{
    if (!afterText)
        out.indent(depth);
    out.ascii("<!--");
    out.texto(node.dato());
    if (node.dato().endsWith(QLatin1Char('-')))
        out.ascii(' ');
    out.ascii("-->");
    if (!beforeText)
        out.finDeLinea();
}

void writeElement(Salida &out, const XmlNode &node, int depth, bool afterText, bool beforeText)
{
    if (!afterText)
        out.indent(depth);
    out.abrirEtiqueta(node.dato());
    const auto &children = node.children();
    if (children.empty()) {
        out.ascii("/>");
    } else if (&node == out.m_sinHijos) {
        out.ascii('>');
        out.finDeLinea();
        out.m_corte = out.size();
        out.indent(depth);
        out.etiquetaFinal(node.dato());
    } else {
        out.ascii('>');
        if (!children.front()->isText())
            out.finDeLinea();
        writeChildren(out, node, depth + 1);
        if (!children.back()->isText())
            out.indent(depth);
        out.etiquetaFinal(node.dato());
    }
    if (!beforeText)
        out.finDeLinea();
}

void writeNode(Salida &out, const XmlNode &node, int depth, bool afterText, bool beforeText)
{
    switch (node.kind()) {
    case XmlNode::Text:
        out.textoEscapado(node.dato());
        break;
    case XmlNode::Comment:
        writeComment(out, node, depth, afterText, beforeText);
        break;
    case XmlNode::Element:
        writeElement(out, node, depth, afterText, beforeText);
        break;
    }
}

// Tags repeat a lot ("nombre", "pos_x", ...): one shared string per tag keeps
// a large project's memory down.
class TagCache
{
public:
    QString tag(const QStringRef &nombre)
    {
        const QStringView vista(nombre.constData(), nombre.size());
        const auto it = m_tags.constFind(vista);
        if (it != m_tags.constEnd())
            return *it;
        const QString tag = nombre.toString();
        m_tags.insert(QStringView(tag), tag);
        return tag;
    }

private:
    QHash<QStringView, QString> m_tags;
};

bool isXmlWhitespace(const QString &texto)
{
    for (const QChar c : texto) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n') &&
            c != QLatin1Char('\r'))
            return false;
    }
    return true;
}

// Text that is only whitespace is the indentation between elements.
void flushText(XmlNode *node, QString &pendiente)
{
    if (!pendiente.isEmpty() && !isXmlWhitespace(pendiente))
        node->appendText(pendiente);
    pendiente.clear();
}

// An element's last text. Blanks alone on the line of an element that holds
// nothing else are its value (a name " "), not indentation, which always
// follows a line break.
void flushLastText(XmlNode *node, QString &pendiente)
{
    if (node->children().empty() && !pendiente.isEmpty() && !pendiente.contains(QLatin1Char('\n'))) {
        node->appendText(pendiente);
        pendiente.clear();
        return;
    }
    flushText(node, pendiente);
}

bool informar(QString *error, const QString &motivo)
{
    if (error)
        *error = motivo;
    return false;
}

QString ubicado(const QXmlStreamReader &reader, const QString &motivo)
{
    return QStringLiteral("línea %1, columna %2: %3")
        .arg(reader.lineNumber())
        .arg(reader.columnNumber())
        .arg(motivo);
}

} // namespace

QByteArray escribir(const XmlNode &documento)
{
    if (!documento.hasChildElements())
        return QByteArray();
    Salida out;
    out.ascii(kDeclaracion);
    out.finDeLinea();
    writeChildren(out, documento, 0);
    return out.bytes();
}

Contorno escribirContorno(const XmlNode &documento, const XmlNode &contenedor)
{
    Salida out;
    out.m_sinHijos = &contenedor;
    out.ascii(kDeclaracion);
    out.finDeLinea();
    writeChildren(out, documento, 0);
    const QByteArray bytes = out.bytes();
    if (out.m_corte < 0)
        return {bytes, QByteArray()};
    return {bytes.left(out.m_corte), bytes.mid(out.m_corte)};
}

QByteArray escribirElemento(const XmlNode &elemento, int depth)
{
    Salida out;
    writeNode(out, elemento, depth, false, false);
    return out.bytes();
}

Flujo::Flujo(int depth, int reserva) : m_salida(std::make_unique<Salida>()), m_depth(depth)
{
    m_salida->reservar(reserva);
}

Flujo::~Flujo() = default;

void Flujo::abrir(const QString &tag)
{
    terminarInicio();
    m_salida->indent(m_depth + m_abiertos.size());
    m_salida->abrirEtiqueta(tag);
    m_abiertos.append(tag);
    m_vacio = true;
}

void Flujo::valor(const QString &tag, const QString &texto)
{
    terminarInicio();
    m_salida->indent(m_depth + m_abiertos.size());
    m_salida->abrirEtiqueta(tag);
    m_salida->ascii('>');
    m_salida->textoEscapado(texto);
    m_salida->etiquetaFinal(tag);
    m_salida->finDeLinea();
}

void Flujo::cerrar()
{
    if (m_abiertos.isEmpty())
        return;
    if (m_vacio) {
        m_salida->ascii("/>");
        m_vacio = false;
    } else {
        m_salida->indent(m_depth + m_abiertos.size() - 1);
        m_salida->etiquetaFinal(m_abiertos.constLast());
    }
    m_salida->finDeLinea();
    m_abiertos.removeLast();
}

QByteArray Flujo::terminar()
{
    while (!m_abiertos.isEmpty())
        cerrar();
    return m_salida->bytes();
}

void Flujo::terminarInicio()
{
    if (!m_vacio)
        return;
    m_salida->ascii('>');
    m_salida->finDeLinea();
    m_vacio = false;
}

namespace {

// Where a child of the root's children ends its start tag and its end tag,
// in UTF-16 units of the decoded text. The reader tells where tokens end;
// where text ends it has already looked one character further.
struct Tramo
{
    const XmlNode *elemento;
    qint64 finInicio;
    qint64 fin;
};

std::unique_ptr<XmlNode> leerTramos(QIODevice *device, QString *error, QVector<Tramo> *tramos)
{
    auto documento = std::make_unique<XmlNode>(XmlNode::Element, QString());
    // Reading from the device decodes it piece by piece instead of holding
    // the whole file twice (bytes and text) while the tree is built.
    QXmlStreamReader reader(device);
    // Tags are kept whole, prefix included, and written back as read.
    reader.setNamespaceProcessing(false);
    TagCache tags;
    XmlNode *actual = documento.get();
    int depth = 0;
    QString pendiente;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartDocument:
            // Offsets in text decoded from another encoding say nothing
            // about where its bytes are.
            if (tramos && !reader.documentEncoding().isEmpty() &&
                reader.documentEncoding().compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) != 0)
                tramos = nullptr;
            break;
        case QXmlStreamReader::StartElement:
            if (++depth > kMaxDepth) {
                informar(error,
                         ubicado(reader, QStringLiteral("los elementos están anidados demasiado hondo")));
                return nullptr;
            }
            flushText(actual, pendiente);
            actual = actual->appendElement(tags.tag(reader.qualifiedName()));
            if (tramos && depth == 3)
                tramos->append({actual, reader.characterOffset(), -1});
            break;
        case QXmlStreamReader::EndElement:
            flushLastText(actual, pendiente);
            if (tramos && depth == 3)
                tramos->last().fin = reader.characterOffset();
            actual = actual->parent();
            --depth;
            break;
        case QXmlStreamReader::Characters:
            if (depth > 0)
                pendiente += reader.text();
            break;
        case QXmlStreamReader::Comment:
            if (depth > 0) {
                flushText(actual, pendiente);
                actual->appendChild(std::make_unique<XmlNode>(XmlNode::Comment, reader.text().toString()));
            }
            break;
        case QXmlStreamReader::DTD:
        case QXmlStreamReader::EntityReference:
            informar(error,
                     ubicado(reader, QStringLiteral("el archivo declara entidades, que Vireo no acepta")));
            return nullptr;
        default:
            break;
        }
    }
    if (reader.hasError()) {
        informar(error, ubicado(reader, reader.errorString()));
        return nullptr;
    }
    if (!documento->hasChildElements()) {
        informar(error, QStringLiteral("el archivo no contiene ningún elemento"));
        return nullptr;
    }
    return documento;
}

bool ochoAscii(const uchar *p)
{
    quint64 ocho;
    std::memcpy(&ocho, p, sizeof ocho);
    return !(ocho & 0x8080808080808080ULL);
}

// The byte offset in UTF-8 text of each UTF-16 offset in unidades (which
// ascend); -1 where none is.
QVector<qint64> enBytes(const QByteArray &utf8, const QVector<qint64> &unidades)
{
    QVector<qint64> bytes;
    bytes.reserve(unidades.size());
    const uchar *const inicio = reinterpret_cast<const uchar *>(utf8.constData());
    const uchar *const fin = inicio + utf8.size();
    const uchar *p = inicio;
    qint64 unidad = 0;
    for (const qint64 buscada : unidades) {
        while (unidad < buscada && p < fin) {
            // Eight ASCII bytes are eight units: most of a project.
            if (buscada - unidad >= 8 && fin - p >= 8 && ochoAscii(p)) {
                p += 8;
                unidad += 8;
                continue;
            }
            // Continuation bytes count nothing; four bytes make a surrogate pair.
            const uchar c = *p++;
            if ((c & 0xC0) != 0x80)
                unidad += c >= 0xF0 ? 2 : 1;
        }
        // The continuation bytes of the last character come before the offset.
        while (p < fin && (*p & 0xC0) == 0x80)
            ++p;
        bytes.append(unidad == buscada ? qint64(p - inicio) : -1);
    }
    return bytes;
}

// Whether the reader decodes these bytes as UTF-8 unless their declaration
// says otherwise: no byte order mark (which the decoder drops before
// counting) and no UTF-16 or UTF-32 start.
bool empiezaComoUtf8(const QByteArray &bytes)
{
    if (bytes.size() < 2)
        return false;
    const uchar primero = uchar(bytes.at(0));
    const uchar segundo = uchar(bytes.at(1));
    return primero != 0 && segundo != 0 && primero < 0x80 && segundo < 0x80;
}

// How many bytes p and q have in common from the start, both n long at least.
int enComun(const char *p, const char *q, int n)
{
    const int bloque = 64;
    int k = 0;
    while (n - k >= bloque && std::memcmp(p + k, q + k, bloque) == 0)
        k += bloque;
    while (k < n && p[k] == q[k])
        ++k;
    return k;
}

bool empiezaCon(const QByteArray &bytes, int desde, const QByteArray &inicio)
{
    return bytes.size() - desde >= inicio.size() &&
           std::memcmp(bytes.constData() + desde, inicio.constData(), size_t(inicio.size())) == 0;
}

// When the bytes before p[i] end an unfinished start tag (written by this
// serializer: every "<" in it opens a tag) and p closes it at once with
// "/>" where q, at j, ends it with ">" and its end tag: the length of that
// end of q, 0 otherwise.
int finVacioEquivalente(const QByteArray &p, int i, const QByteArray &q, int j)
{
    if (!empiezaCon(p, i, QByteArrayLiteral("/>")) || !empiezaCon(q, j, QByteArrayLiteral("></")))
        return 0;
    const int inicio = p.lastIndexOf('<', i - 1);
    if (inicio < 0 || p.indexOf('>', inicio) < i)
        return 0;
    int finNombre = inicio + 1;
    while (finNombre < i && !QChar::isSpace(uchar(p.at(finNombre))))
        ++finNombre;
    const QByteArray nombre = p.mid(inicio + 1, finNombre - inicio - 1);
    if (nombre.isEmpty() || nombre.startsWith('/') || nombre.startsWith('?') || nombre.startsWith('!'))
        return 0;
    const QByteArray fin = "></" + nombre + '>';
    return empiezaCon(q, j, fin) ? fin.size() : 0;
}

} // namespace

bool leeIgual(const QByteArray &escritos, const QByteArray &leidos)
{
    if (escritos == leidos)
        return true;
    int i = 0;
    int j = 0;
    for (;;) {
        const int n = qMin(escritos.size() - i, leidos.size() - j);
        const int comun = enComun(escritos.constData() + i, leidos.constData() + j, n);
        i += comun;
        j += comun;
        if (i == escritos.size() && j == leidos.size())
            return true;
        // The prefix they share is escritos': its "<" all open tags.
        if (const int largo = finVacioEquivalente(escritos, i, leidos, j)) {
            i += 2;
            j += largo;
        } else if (const int largo = finVacioEquivalente(leidos, j, escritos, i)) {
            i += largo;
            j += 2;
        } else {
            return false;
        }
    }
}

std::unique_ptr<XmlNode> leer(QIODevice *device, QString *error)
{
    return leerTramos(device, error, nullptr);
}

std::unique_ptr<XmlNode> leerBytes(const QByteArray &bytes, QString *error, QVector<Leido> *nietos)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QVector<Tramo> tramos;
    const bool medir = nietos && empiezaComoUtf8(bytes);
    std::unique_ptr<XmlNode> documento = leerTramos(&buffer, error, medir ? &tramos : nullptr);
    if (!documento || !nietos)
        return documento;
    QVector<qint64> unidades;
    unidades.reserve(2 * tramos.size());
    for (const Tramo &tramo : qAsConst(tramos))
        unidades << tramo.finInicio << tramo.fin;
    const QVector<qint64> offsets = enBytes(bytes, unidades);
    for (int k = 0; k < tramos.size(); ++k) {
        // A start tag holds no "<" but its first: not even in its attributes.
        const qint64 finInicio = offsets.at(2 * k);
        const qint64 inicio = finInicio > 0 ? bytes.lastIndexOf('<', int(finInicio - 1)) : -1;
        const qint64 fin = offsets.at(2 * k + 1);
        if (inicio < 0 || fin < finInicio)
            continue;
        Salida out;
        out.indent(2);
        out.crudo(bytes.constData() + inicio, int(fin - inicio));
        out.finDeLinea();
        nietos->append({tramos.at(k).elemento, out.bytes()});
    }
    return documento;
}

} // namespace XmlSerializer
