#ifndef XMLSERIALIZER_H
#define XMLSERIALIZER_H

#include <QByteArray>
#include <QVector>
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
class Salida;

// Writes elements one after another straight as bytes, exactly as
// escribirElemento() writes the tree they would make: a large element costs
// no node. Elements are closed in the order they were opened.
class Flujo
{
public:
    // The first element opened sits at depth. With room for reserva bytes,
    // writing that many grows nothing on the way.
    explicit Flujo(int depth, int reserva = 0);
    ~Flujo();
    Flujo(const Flujo &) = delete;
    Flujo &operator=(const Flujo &) = delete;

    // An element that holds elements; closed without any, it is written empty.
    void abrir(const QString &tag);
    // An element that holds texto alone.
    void valor(const QString &tag, const QString &texto);
    void cerrar();
    // What was written, with every element still open closed.
    QByteArray terminar();

private:
    void terminarInicio();

    std::unique_ptr<Salida> m_salida;
    QVector<QString> m_abiertos;
    // The last element opened holds nothing yet: its start tag is unfinished.
    bool m_vacio = false;
    int m_depth;
};

// Null when the content is not well-formed XML, nest deeper than kMaxDepth,
// hold a DTD (entity expansion) or an undeclared entity; *error then says why
// and where, in Spanish, for the user.
std::unique_ptr<XmlNode> leer(QIODevice *device, QString *error = nullptr);

// An element of the root's children as the file held it: its bytes with the
// indentation and line end escribirElemento() gives it, so that they equal
// what writing it again gives only when the file held it that way.
struct Leido
{
    const XmlNode *elemento;
    QByteArray bytes;
};
// leer() from bytes in memory; *nietos gets every child of the root's
// children, in document order.
std::unique_ptr<XmlNode> leerBytes(const QByteArray &bytes, QString *error, QVector<Leido> *nietos);

// Whether leidos, as a file held an element, reads as the same elements as
// escritos, as this serializer wrote it: the same bytes but for elements
// without content, closed at once ("<t/>") in one and by an end tag
// ("<t></t>") in the other.
bool leeIgual(const QByteArray &escritos, const QByteArray &leidos);

} // namespace XmlSerializer

#endif // XMLSERIALIZER_H
