#include "testsupport.h"

#include <QTemporaryDir>
#include <QtTest>

// `vireo-cli imagen`: what it writes and its exit codes, without a display.
class TstImagenCli : public QObject
{
    Q_OBJECT

private slots:
    void codigos_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("codigo");
        QTest::addColumn<QStringList>("escritos");

        const QString semaforo = QStringLiteral(VIREO_SOURCE_DIR "/examples/semaforo.vro");
        QTest::newRow("una máquina") << QStringList{semaforo, "--maquina", "Peatones", "--out", "p.png"} << 0
                                     << QStringList{"p.png"};
        QTest::newRow("todas, numeradas")
            << QStringList{semaforo, "--out", "s.svg"} << 0 << QStringList{"s_1.svg", "s_2.svg"};
        QTest::newRow("máquina desconocida")
            << QStringList{semaforo, "--maquina", "Nadie", "--out", "n.png"} << 1 << QStringList();
        QTest::newRow("proyecto ilegible")
            << QStringList{"no_existe.vro", "--out", "x.png"} << 1 << QStringList();
        QTest::newRow("sin --out") << QStringList{semaforo} << 2 << QStringList();
        QTest::newRow("extensión desconocida")
            << QStringList{semaforo, "--out", "x.jpg"} << 2 << QStringList();
        QTest::newRow("opción desconocida")
            << QStringList{semaforo, "--zoom", "--out", "x.png"} << 2 << QStringList();
    }

    void codigos()
    {
        QFETCH(QStringList, args);
        QFETCH(int, codigo);
        QFETCH(QStringList, escritos);
        QTemporaryDir dir;
        const int out = args.indexOf("--out");
        if (out >= 0)
            args[out + 1] = dir.filePath(args.at(out + 1));
        // No display at all: the command must not need one.
        qunsetenv("DISPLAY");
        qunsetenv("QT_QPA_PLATFORM");
        const TestSupport::CliResult r = TestSupport::runCli(QStringList("imagen") + args);
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QVERIFY2(r.exitCode == codigo, r.err.constData());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), escritos);
        for (const QString &archivo : escritos) {
            QVERIFY(r.out.contains(dir.filePath(archivo).toUtf8()));
            const QByteArray contenido = TestSupport::readFile(dir.filePath(archivo));
            QVERIFY(archivo.endsWith(".png") ? contenido.startsWith("\x89PNG\r\n")
                                             : contenido.contains("<svg"));
        }
        QVERIFY2(codigo == 0 || r.err.startsWith("Error: "), r.err.constData());
    }
};

QTEST_GUILESS_MAIN(TstImagenCli)
#include "tst_imagen_cli.moc"
