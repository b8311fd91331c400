#ifndef XMLSERIALIZER_H
#define XMLSERIALIZER_H

#include <QByteArray>
#include <memory>

class QIODevice;
class QString;
class XmlNode;

// Reading and writing the project file. The document node holds the root
// element; the file always starts with the UTF-8 XML declaration, indents by
// 4 spaces per level and writes text-only elements on one line.
namespace XmlSerializer {

// Deeper files are refused: no project comes near, and a bound keeps hostile
// input from exhausting the stack of whoever walks the tree.
constexpr int kMaxDepth = 256;

QByteArray escribir(const XmlNode &documento);
// Null when the content is not well-formed XML, nest deeper than kMaxDepth,
// hold a DTD (entity expansion) or an undeclared entity; *error then says why
// and where, in Spanish, for the user.
std::unique_ptr<XmlNode> leer(QIODevice *device, QString *error = nullptr);

} // namespace XmlSerializer

#endif // XMLSERIALIZER_H
