#include "xmlserializer.h"

#include "xmlnode.h"

#include <QHash>
#include <QStringView>
#include <QXmlStreamReader>

namespace XmlSerializer {

namespace {

const QString kDeclaracion = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
#ifdef Q_OS_WIN
const QString kFinDeLinea = QStringLiteral("\r\n");
#else
const QString kFinDeLinea = QStringLiteral("\n");
#endif
constexpr int kIndentacion = 4;

bool isXmlChar(char16_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c != 0xFFFE && c != 0xFFFF);
}

// Escapes what XML reserves in text ("<", "&", the ">" closing "]]>", and a
// carriage return that a reader would otherwise fold into the line end) and
// drops characters XML cannot hold at all, which would make the whole file
// unreadable.
void appendEscaped(QString &out, const QString &texto)
{
    const int n = texto.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = texto.at(i);
        if (c == QLatin1Char('<')) {
            out += QLatin1String("&lt;");
        } else if (c == QLatin1Char('&')) {
            out += QLatin1String("&amp;");
        } else if (c == QLatin1Char('>') && i >= 2 && texto.at(i - 1) == QLatin1Char(']') &&
                   texto.at(i - 2) == QLatin1Char(']')) {
            out += QLatin1String("&gt;");
        } else if (c == QLatin1Char('\r')) {
            out += QLatin1String("&#xd;");
        } else if (c.isHighSurrogate()) {
            if (i + 1 < n && texto.at(i + 1).isLowSurrogate()) {
                out += c;
                out += texto.at(++i);
            }
        } else if (!c.isLowSurrogate() && isXmlChar(c.unicode())) {
            out += c;
        }
    }
}

void appendIndent(QString &out, int depth)
{
    static const QString espacios(64, QLatin1Char(' '));
    for (int n = depth * kIndentacion; n > 0; n -= espacios.size())
        out.append(espacios.constData(), qMin(n, espacios.size()));
}

void writeNode(QString &out, const XmlNode &node, int depth, bool afterText, bool beforeText);

// Line breaks and indentation go only where they cannot join a text.
void writeChildren(QString &out, const XmlNode &node, int depth)
{
    const auto &children = node.children();
    for (size_t i = 0; i < children.size(); ++i) {
        const bool afterText = i > 0 && children[i - 1]->isText();
        const bool beforeText = i + 1 < children.size() && children[i + 1]->isText();
        writeNode(out, *children[i], depth, afterText, beforeText);
    }
}

void writeComment(QString &out, const XmlNode &node, int depth, bool afterText, bool beforeText)
{
    if (!afterText)
        appendIndent(out, depth);
    out += QLatin1String("<!--");
    out += node.dato();
    if (node.dato().endsWith(QLatin1Char('-')))
        out += QLatin1Char(' ');
    out += QLatin1String("-->");
    if (!beforeText)
        out += kFinDeLinea;
}

void writeElement(QString &out, const XmlNode &node, int depth, bool afterText, bool beforeText)
{
    if (!afterText)
        appendIndent(out, depth);
    out += QLatin1Char('<');
    out += node.dato();
    const auto &children = node.children();
    if (children.empty()) {
        out += QLatin1String("/>");
    } else {
        out += QLatin1Char('>');
        if (!children.front()->isText())
            out += kFinDeLinea;
        writeChildren(out, node, depth + 1);
        if (!children.back()->isText())
            appendIndent(out, depth);
        out += QLatin1String("</");
        out += node.dato();
        out += QLatin1Char('>');
    }
    if (!beforeText)
        out += kFinDeLinea;
}

void writeNode(QString &out, const XmlNode &node, int depth, bool afterText, bool beforeText)
{
    switch (node.kind()) {
    case XmlNode::Text:
        appendEscaped(out, node.dato());
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

} // namespace

QByteArray escribir(const XmlNode &documento)
{
    if (!documento.hasChildElements())
        return QByteArray();
    QString out = kDeclaracion + kFinDeLinea;
    writeChildren(out, documento, 0);
    return out.toUtf8();
}

std::unique_ptr<XmlNode> leer(const QByteArray &bytes)
{
    auto documento = std::make_unique<XmlNode>(XmlNode::Element, QString());
    QXmlStreamReader reader(bytes);
    TagCache tags;
    XmlNode *actual = documento.get();
    int depth = 0;
    QString pendiente;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++depth > kMaxDepth)
                return nullptr;
            flushText(actual, pendiente);
            actual = actual->appendElement(tags.tag(reader.name()));
            break;
        case QXmlStreamReader::EndElement:
            flushText(actual, pendiente);
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
            return nullptr;
        default:
            break;
        }
    }
    if (reader.hasError() || !documento->hasChildElements())
        return nullptr;
    return documento;
}

} // namespace XmlSerializer
