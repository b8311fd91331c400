#include "testsupport.h"

#include "xmlhandler.h"

#include <QBuffer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>

namespace TestSupport {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(content) == content.size();
}

bool cargar(XmlHandler &datos, QByteArray bytes)
{
    QBuffer buffer(&bytes);
    return buffer.open(QIODevice::ReadOnly) && datos.load(&buffer);
}

QString dataPath(const QString &relative)
{
    return QStringLiteral(VIREO_TEST_DATA "/") + relative;
}

quint16 puertoLibre()
{
    QTcpServer servidor;
    servidor.listen(QHostAddress::LocalHost, 0);
    return servidor.serverPort();
}

QString diffReport(const QByteArray &expected, const QByteArray &actual)
{
    if (expected == actual)
        return QString();
    const QList<QByteArray> e = expected.split('\n');
    const QList<QByteArray> a = actual.split('\n');
    for (int i = 0; i < qMax(e.size(), a.size()); ++i) {
        const QByteArray le = i < e.size() ? e.at(i) : QByteArray("<fin>");
        const QByteArray la = i < a.size() ? a.at(i) : QByteArray("<fin>");
        if (le != la) {
            return QStringLiteral("línea %1\n  esperado: %2\n  obtenido: %3")
                .arg(QString::number(i + 1), QString::fromLatin1(le.toPercentEncoding(" \t")),
                     QString::fromLatin1(la.toPercentEncoding(" \t")));
        }
    }
    return QStringLiteral("difieren en longitud");
}

CliResult runCli(const QStringList &args, int timeoutMs)
{
    QProcess cli;
    cli.start(QStringLiteral(VIREO_CLI), args);
    CliResult result;
    if (!cli.waitForFinished(timeoutMs)) {
        cli.kill();
        cli.waitForFinished();
        return result;
    }
    if (cli.exitStatus() == QProcess::NormalExit)
        result.exitCode = cli.exitCode();
    result.out = cli.readAllStandardOutput();
    result.err = cli.readAllStandardError();
    return result;
}

} // namespace TestSupport
