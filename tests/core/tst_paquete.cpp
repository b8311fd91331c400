#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The Debian package that `make package` builds: made here with CPack from
// this build tree into a folder of the test's own, then listed, never
// installed.
class TstPaquete : public QObject
{
    Q_OBJECT

private slots:
    void contenido()
    {
        QTemporaryDir salida;
        QProcess cpack;
        cpack.setWorkingDirectory(QStringLiteral(VIREO_BINARY_DIR));
        cpack.start(QStringLiteral("cpack"), {"-G", "DEB", "-B", salida.path()});
        QVERIFY(cpack.waitForFinished(840000));
        QVERIFY2(cpack.exitCode() == 0, cpack.readAllStandardError().constData());
        const QStringList paquetes = QDir(salida.path()).entryList({"vireo_*.deb"}, QDir::Files);
        QCOMPARE(paquetes.size(), 1);
        const QString deb = salida.filePath(paquetes.first());

        const QByteArray lista = ejecutar("dpkg-deb", {"--contents", deb});
        for (const char *archivo :
             {"./usr/bin/vireo", "./usr/bin/vireo-cli", "./usr/share/applications/vireo.desktop",
              "./usr/share/mime/packages/vireo.xml", "./usr/share/icons/hicolor/256x256/apps/vireo.png",
              "./usr/share/icons/hicolor/48x48/apps/vireo.png"})
            QVERIFY2(lista.contains(archivo), archivo);
        // Nothing else: no tests, benchmarks or headers in the package.
        QVERIFY(!lista.contains("tst_"));
        QVERIFY(!lista.contains("bench_"));
        QVERIFY(!lista.contains("/include/"));

        const QByteArray depende = ejecutar("dpkg-deb", {"--field", deb, "Depends"});
        for (const char *biblioteca : {"libqt5widgets5", "libqt5svg5", "libqt5network5", "libqt5serialport5"})
            QVERIFY2(depende.contains(biblioteca), depende.constData());
    }

private:
    static QByteArray ejecutar(const QString &programa, const QStringList &args)
    {
        QProcess proceso;
        proceso.start(programa, args);
        if (!proceso.waitForFinished(60000) || proceso.exitCode() != 0)
            return QByteArray();
        return proceso.readAllStandardOutput();
    }
};

QTEST_GUILESS_MAIN(TstPaquete)
#include "tst_paquete.moc"
