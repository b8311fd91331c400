#include "testsupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// End to end: an example's switch-style C built by the virtual board's
// Makefile, run in QEMU with its events fed to UART1, and its UART0 read by
// vireo-cli depurar; the lines printed are the transitions the diagram takes
// for those events, written by hand in tests/data/depurar.
namespace {

const QString kPlaca = QStringLiteral(VIREO_SOURCE_DIR "/placa");

QByteArray huella(const QString &carpeta)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const QDir dir(carpeta);
    for (const QString &nombre : dir.entryList(QDir::Files, QDir::Name)) {
        hash.addData(nombre.toUtf8());
        hash.addData(TestSupport::readFile(dir.filePath(nombre)));
    }
    return hash.result();
}

} // namespace

class TstDepuracionPlaca : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        for (const char *programa : {"make", "arm-none-eabi-gcc", "qemu-system-arm"}) {
            if (QStandardPaths::findExecutable(QLatin1String(programa)).isEmpty())
                QFAIL(qPrintable(
                    QStringLiteral("%1 no está instalado (scripts/install-deps.sh)").arg(programa)));
        }
    }

    void placaSigueElDiagrama_data()
    {
        QTest::addColumn<QString>("ejemplo");
        QTest::newRow("semaforo, two machines") << "semaforo";
        QTest::newRow("pulsador, compound triggers") << "pulsador";
    }
    void placaSigueElDiagrama()
    {
        QFETCH(QString, ejemplo);
        QTemporaryDir temporal;
        const QString codigo = temporal.filePath(QStringLiteral("switch"));
        const QString proyecto =
            QStringLiteral(VIREO_SOURCE_DIR "/examples/") + ejemplo + QStringLiteral(".vro");
        QCOMPARE(TestSupport::runCli({"generate", "--style", "switch", proyecto, "--out", codigo}).exitCode,
                 0);
        const QByteArray generado = huella(codigo);
        const QStringList make = {QStringLiteral("-s"),
                                  QStringLiteral("-C"),
                                  kPlaca,
                                  QStringLiteral("CODIGO=") + codigo,
                                  QStringLiteral("SALIDA=") + temporal.filePath(QStringLiteral("salida")),
                                  QStringLiteral("FUNCIONES=auto")};

        QProcess placa;
        placa.setProcessChannelMode(QProcess::SeparateChannels);
        placa.start(QStringLiteral("make"), make + QStringList{QStringLiteral("ejecutar")});
        QByteArray consola;
        const QRegularExpression pty(QStringLiteral("redirected to (/dev/pts/\\d+)"));
        QRegularExpressionMatch encontrado;
        QTRY_VERIFY2_WITH_TIMEOUT(
            (encontrado = pty.match(QString::fromLatin1(consola += placa.readAllStandardOutput())))
                .hasMatch(),
            placa.readAllStandardError().constData(), 60000);

        QProcess cli;
        cli.start(QStringLiteral(VIREO_CLI),
                  {QStringLiteral("depurar"), proyecto, QStringLiteral("--puerto"), encontrado.captured(1)});
        QByteArray errores;
        QTRY_VERIFY_WITH_TIMEOUT((errores += cli.readAllStandardError()).contains("Depurando"), 30000);
        placa.write(TestSupport::readFile(
            TestSupport::dataPath(QStringLiteral("depurar/") + ejemplo + QStringLiteral(".eventos"))));
        const QByteArray esperado = TestSupport::readFile(
            TestSupport::dataPath(QStringLiteral("depurar/") + ejemplo + QStringLiteral(".esperado")));
        QByteArray salida;
        QTRY_VERIFY_WITH_TIMEOUT((salida += cli.readAllStandardOutput()).count('\n') >= esperado.count('\n'),
                                 30000);

        // The board is switched off: the port closes and depurar ends by itself.
        placa.terminate();
        QVERIFY(placa.waitForFinished(10000));
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(cli.exitCode(), 0);
        salida += cli.readAllStandardOutput();
        QVERIFY2(salida == esperado, qPrintable(TestSupport::diffReport(esperado, salida)));
        QCOMPARE(huella(codigo), generado);
    }
};

QTEST_GUILESS_MAIN(TstDepuracionPlaca)
#include "tst_depuracion_placa.moc"
