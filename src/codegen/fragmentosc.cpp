// Files are built from many small pieces; concatenate them without temporaries.
#define QT_USE_QSTRINGBUILDER

#include "fragmentosc.h"

#include "maquina.h"
#include "usagerules.h"

#include <QDebug>
#include <QFile>
#include <QRegularExpression>
#include <QVector>
#include <algorithm>

namespace {

const QString kPlantillaTransicion = QStringLiteral("://templates/plantillaEstado4.txt");
const QString kTextoAdvertencia = QStringLiteral("://templates/TextoDeAdvertencia2.txt");

// A template resource as its lines, each re-terminated with "\n" by the
// caller. Read as Latin-1 so that every byte comes back out unchanged.
QStringList leerPlantilla(const QString &recurso)
{
    QFile archivo(recurso);
    if (!archivo.open(QIODevice::ReadOnly)) {
        qWarning().noquote() << "Error al abrir template " << archivo.error();
        return QStringList();
    }
    QStringList lineas = QString::fromLatin1(archivo.readAll()).split(QLatin1Char('\n'));
    if (!lineas.isEmpty() && lineas.last().isEmpty())
        lineas.removeLast();
    for (QString &linea : lineas) {
        if (linea.endsWith(QLatin1Char('\r')))
            linea.chop(1);
    }
    return lineas;
}

// The transition template cut once into literal text and placeholders, so
// that each transition is one pass of appends. A placeholder is replaced by
// its value as a whole; a value is never searched for further placeholders.
struct PiezaPlantilla
{
    QString texto;
    int marcador = -1; // index into kMarcadores, or -1 for literal text
};

const QLatin1String kMarcadores[] = {QLatin1String("{EVENTO_ENTRADA}"), QLatin1String("{ACCION_SALIDA}"),
                                     QLatin1String("{ESTADO_SALIDA}"), QLatin1String("{INFO_DEPURAR}")};

QVector<PiezaPlantilla> cortarPlantilla(const QStringList &lineas)
{
    QString texto;
    for (const QString &linea : lineas)
        texto += linea + QLatin1Char('\n');
    QVector<PiezaPlantilla> piezas;
    int desde = 0;
    for (;;) {
        int siguiente = texto.size();
        int marcador = -1;
        for (int m = 0; m < 4; ++m) {
            const int pos = texto.indexOf(kMarcadores[m], desde);
            if (pos >= 0 && pos < siguiente) {
                siguiente = pos;
                marcador = m;
            }
        }
        piezas.append({texto.mid(desde, siguiente - desde), -1});
        if (marcador < 0)
            return piezas;
        piezas.append({QString(), marcador});
        desde = siguiente + kMarcadores[marcador].size();
    }
}

const QVector<PiezaPlantilla> &piezasTransicion()
{
    static const QVector<PiezaPlantilla> piezas = cortarPlantilla(leerPlantilla(kPlantillaTransicion));
    return piezas;
}

// Letters outside ASCII are scanned as part of a name so that a name such
// as "año" stays whole (and is reported as no C identifier).
bool esLetraDeNombre(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// Every name in a part without comparison is an event: it becomes a call,
// unless the text already calls it. Numbers are copied as they are.
void llamarEventos(const QString &parte, QString &resultado)
{
    int i = 0;
    while (i < parte.size()) {
        const QChar c = parte.at(i);
        if (!esLetraDeNombre(c)) {
            resultado += c;
            ++i;
            continue;
        }
        const int inicio = i;
        while (i < parte.size() && esLetraDeNombre(parte.at(i)))
            ++i;
        resultado += parte.midRef(inicio, i - inicio);
        if (c.isDigit())
            continue;
        int siguiente = i;
        while (siguiente < parte.size() && parte.at(siguiente) == QLatin1Char(' '))
            ++siguiente;
        if (siguiente >= parte.size() || parte.at(siguiente) != QLatin1Char('('))
            resultado += QLatin1String("( )");
    }
}

// "!v_x >= 3" means "not (v_x >= 3)", which C would read as "(!v_x) >= 3":
// the negated comparison is copied inside parentheses of its own.
void copiarComparacion(const QString &parte, QString &resultado)
{
    static const QRegularExpression negada(
        QStringLiteral("^([\\s(!]*?)!(\\w+\\s*(?:==|!=|>=|<=|>|<)\\s*[^\\s)]+)(\\)*\\s*)$"));
    const QRegularExpressionMatch m = negada.match(parte);
    if (!m.hasMatch()) {
        resultado += parte;
        return;
    }
    resultado +=
        m.capturedRef(1) + QStringLiteral("!( ") + m.capturedRef(2) + QStringLiteral(" )") + m.capturedRef(3);
}

// Start of the next "&&" or "||" from desde, or the text's length.
int siguienteConector(const QString &texto, int desde)
{
    for (int i = desde; i + 1 < texto.size(); ++i) {
        const QChar c = texto.at(i);
        if ((c == QLatin1Char('&') || c == QLatin1Char('|')) && texto.at(i + 1) == c)
            return i;
    }
    return texto.size();
}

// One change the condition makes to the trigger's text: [inicio, fin)
// becomes texto (an insertion when inicio == fin).
struct Cambio
{
    int inicio;
    int fin;
    QString texto;
};

} // namespace

QString FragmentosC::banner(const QString &titulo, const char *despues)
{
    static const QString apertura = QLatin1Char('/') + QString(129, QLatin1Char('*')) + QLatin1Char('\n');
    static const QString cierre = QString(130, QLatin1Char('*')) + QLatin1Char('/');
    return apertura + titulo + QLatin1Char('\n') + cierre + QLatin1String(despues);
}

// A "*/" would end the comment and let the rest through as code, a "/*"
// draws a warning, and a line break would leave the rest of the line outside
// the block's "*" margin.
QString FragmentosC::textoDeComentario(const QString &texto)
{
    QString limpio = texto;
    for (QChar &c : limpio) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char(' ');
    }
    limpio.replace(QLatin1String("*/"), QLatin1String("* /"));
    limpio.replace(QLatin1String("/*"), QLatin1String("/ *"));
    return limpio;
}

QString FragmentosC::encabezadoArchivo(const QString &archivo, const QString &resumen, const QString &autor,
                                       const QString &fecha)
{
    return QStringLiteral("/**\n*\t\\file ") + textoDeComentario(archivo) + QStringLiteral("\n*\t\\brief ") +
           textoDeComentario(resumen) +
           QStringLiteral("\n*\t\\details Descripcion detallada del archivo\n*\t\\author ") +
           textoDeComentario(autor) + QStringLiteral("\n*\t\\date ") + textoDeComentario(fecha) +
           QStringLiteral("\n*/");
}

QString FragmentosC::encabezadoFuncion(const QString &firma, const QString &resumen, const QString &detalles,
                                       const QString &autor, const QString &fecha)
{
    return QStringLiteral("/**\n*\t\\fn ") + textoDeComentario(firma) + QStringLiteral("\n*\t\\brief ") +
           textoDeComentario(resumen) + QStringLiteral("\n*\t\\details ") + textoDeComentario(detalles) +
           QStringLiteral("\n*\t\\author ") + textoDeComentario(autor) + QStringLiteral("\n*\t\\date ") +
           textoDeComentario(fecha) + QStringLiteral("\n*/");
}

QString FragmentosC::textoDeAdvertencia()
{
    static const QString aviso = [] {
        QString texto;
        const QStringList lineas = leerPlantilla(kTextoAdvertencia);
        for (const QString &linea : lineas)
            texto += linea + QLatin1Char('\n');
        return texto;
    }();
    return aviso;
}

QString FragmentosC::declararVariables(const QStringList &nombres)
{
    QString texto;
    for (const QString &nombre : nombres)
        texto = QLatin1Char('\n') + texto + QStringLiteral("int ") + nombre + QStringLiteral(" = 0 ;");
    return texto;
}

QString FragmentosC::declararVariablesExternas(const QStringList &nombres)
{
    QString texto;
    for (const QString &nombre : nombres)
        texto = QLatin1Char('\n') + texto + QStringLiteral("extern int ") + nombre + QLatin1Char(';');
    return texto;
}

QString FragmentosC::condicion(const ExpresionDisparo &disparador)
{
    if (disparador.raiz() < 0)
        return condicionDeTexto(disparador.texto());
    const QString &texto = disparador.texto();
    QVector<Cambio> cambios;
    for (const ExpresionDisparo::Nodo &nodo : disparador.nodos()) {
        if (nodo.tipo == ExpresionDisparo::Evento) {
            cambios.append({nodo.fin, nodo.fin, QStringLiteral("( )")});
            continue;
        }
        if (nodo.tipo != ExpresionDisparo::Negacion)
            continue;
        // Only a "!" written straight before a comparison needs parentheses;
        // "!(v > 3)" already has them.
        const ExpresionDisparo::Nodo &operando = disparador.nodo(nodo.izquierdo);
        if (operando.tipo == ExpresionDisparo::Comparacion &&
            texto.midRef(nodo.inicio, operando.inicio - nodo.inicio).trimmed() == QLatin1String("!")) {
            cambios.append({nodo.inicio, operando.fin,
                            QStringLiteral("!( ") +
                                texto.midRef(operando.inicio, operando.fin - operando.inicio) +
                                QStringLiteral(" )")});
        }
    }
    std::sort(cambios.begin(), cambios.end(),
              [](const Cambio &a, const Cambio &b) { return a.inicio < b.inicio; });
    QString resultado;
    resultado.reserve(texto.size() + 4 * cambios.size());
    int desde = 0;
    for (const Cambio &cambio : qAsConst(cambios)) {
        resultado += texto.midRef(desde, cambio.inicio - desde) + cambio.texto;
        desde = cambio.fin;
    }
    return resultado + texto.midRef(desde);
}

QString FragmentosC::condicionDeTexto(const QString &disparador)
{
    QString resultado;
    resultado.reserve(disparador.size() + 32);
    int inicio = 0;
    for (;;) {
        const int conector = siguienteConector(disparador, inicio);
        const QString parte = disparador.mid(inicio, conector - inicio);
        if (UsageRules::isComparisonPart(parte))
            copiarComparacion(parte, resultado);
        else
            llamarEventos(parte, resultado);
        if (conector >= disparador.size())
            return resultado;
        resultado += disparador.midRef(conector, 2);
        inicio = conector + 2;
    }
}

QString FragmentosC::nombreAccion(const QString &accion)
{
    const int parentesis = accion.indexOf(QLatin1Char('('));
    return parentesis < 0 ? accion : accion.left(parentesis);
}

bool FragmentosC::esAsignacion(const QString &entrada)
{
    return entrada.contains(QLatin1Char('='));
}

bool FragmentosC::esCaracterIdentificador(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
}

QString FragmentosC::bloqueInicial(const QString &acciones, const QString &sangria)
{
    QString cuerpo;
    const QStringList entradas = acciones.split(QLatin1Char(','));
    for (const QString &entrada : entradas) {
        if (entrada.trimmed().isEmpty())
            continue;
        cuerpo += sangria + QLatin1Char('\t') +
                  (esAsignacion(entrada) ? entrada : nombreAccion(entrada) + QStringLiteral("( )")) +
                  QStringLiteral(";\n");
    }
    if (cuerpo.isEmpty())
        return QString();
    return sangria + QStringLiteral("if( !iniciada )\n") + sangria + QStringLiteral("{\n") + sangria +
           QStringLiteral("\tiniciada = 1;\n") + cuerpo + sangria + QStringLiteral("}\n");
}

QString FragmentosC::plantillaTransicion(const QString &condicion, const QString &acciones,
                                         const QString &destino, const QString &depuracion)
{
    const QString *valores[] = {&condicion, &acciones, &destino, &depuracion};
    QString bloque;
    bloque.reserve(256 + condicion.size() + acciones.size());
    for (const PiezaPlantilla &pieza : piezasTransicion())
        bloque += pieza.marcador < 0 ? pieza.texto : *valores[pieza.marcador];
    return bloque;
}

QString FragmentosC::nombreInicial(const Maquina &maquina)
{
    if (!maquina.inicial.definida)
        return QStringLiteral("-1");
    return maquina.inicial.destino < 0 ? QString() : maquina.estados.at(maquina.inicial.destino).nombre;
}

QString FragmentosC::nombreDestino(const Maquina &maquina, const Transicion &transicion)
{
    return transicion.destino < 0 ? QStringLiteral("-1") : maquina.estados.at(transicion.destino).nombre;
}
