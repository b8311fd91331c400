#ifndef LECTORPROYECTO_H
#define LECTORPROYECTO_H

#include <QByteArray>
#include <QString>
#include <memory>

class XmlHandler;

// Reads a project into a new document and checks, before anyone relies on
// it, that it is one: well-formed XML whose root "proyecto" holds a
// "general" with a "nombre". Nothing else is demanded, so older and
// hand-edited files still open.
class LectorProyecto
{
public:
    // A project is a plain file of at most this many bytes: reading anything
    // else (a FIFO, a device, a huge file picked by mistake) could block or
    // exhaust memory before the parser has a say.
    static constexpr qint64 kTamanoMaximo = 64 * 1024 * 1024;

    // Empty when path can be read as a project; else why not, in Spanish,
    // without the path.
    static QString problemaArchivo(const QString &path);
    // Null when the file cannot be read or is no project; *motivo then says
    // why in Spanish ("no es un proyecto de Vireo", the parser's line and
    // column, ...), without the path.
    static std::unique_ptr<XmlHandler> leerArchivo(const QString &path, QString *motivo);
    static std::unique_ptr<XmlHandler> leerBytes(const QByteArray &bytes, QString *motivo);
};

#endif // LECTORPROYECTO_H
