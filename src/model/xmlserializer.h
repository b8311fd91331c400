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
// The bytes escribir() writes before the first child of contenedor (an
// element of documento whose children are all elements) and after its last;
// with the children written by escribirElemento in between they are the
// whole file. A contenedor without children falls in antes, whole.
struct Contorno
{
    QByteArray antes;
    QByteArray despues;
};
Contorno escribirContorno(const XmlNode &documento, const XmlNode &contenedor);
// One element, with what it holds, as escribir() writes it at that depth
// between two elements.
QByteArray escribirElemento(const XmlNode &elemento, int depth);
// Null when the content is not well-formed XML, nest deeper than kMaxDepth,
// hold a DTD (entity expansion) or an undeclared entity; *error then says why
// and where, in Spanish, for the user.
std::unique_ptr<XmlNode> leer(QIODevice *device, QString *error = nullptr);

} // namespace XmlSerializer

#endif // XMLSERIALIZER_H
