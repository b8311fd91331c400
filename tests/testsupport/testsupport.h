#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include <QByteArray>
#include <QString>
#include <QStringList>

class XmlHandler;

namespace TestSupport {

QByteArray readFile(const QString &path);
bool writeFile(const QString &path, const QByteArray &content);
// Loads bytes into the document as a project file; false if it did not load.
bool cargar(XmlHandler &datos, QByteArray bytes);
// Path of a file under tests/data.
QString dataPath(const QString &relative);
// A TCP port of 127.0.0.1 that was free a moment ago (and is closed now).
quint16 puertoLibre();
// Compares two texts line by line and, on mismatch, returns a readable report
// naming the first differing line; empty when equal.
QString diffReport(const QByteArray &expected, const QByteArray &actual);

// What a run of vireo-cli left: its exit code (-1 when it crashed or did not
// finish in time) and everything it wrote.
struct CliResult
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};
CliResult runCli(const QStringList &args, int timeoutMs = 30000);

} // namespace TestSupport

#endif // TESTSUPPORT_H
