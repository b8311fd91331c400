#include "savefile.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QStringList archivosEn(const QString &carpeta)
{
    return QDir(carpeta).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// A project far bigger than the file-size limit the failing saves run under.
void proyectoGrande(XmlHandler &xml, const QString &carpeta)
{
    xml.setContenidoGeneral("nombre", "GRANDE");
    xml.setContenidoGeneral("carpeta", carpeta);
    for (int i = 0; i < 2000; ++i)
        xml.addNuevoEvento("evento_numero_" + QString::number(i));
}

// Runs body in a child process whose files may not grow past limite bytes;
// SIGXFSZ is ignored so that write() fails with EFBIG as on a full disk.
// Returns the child's exit code.
int enProcesoLimitado(rlim_t limite, const std::function<bool()> &body)
{
    const pid_t pid = fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{limite, limite};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

class TestSaveFile : public QObject
{
    Q_OBJECT

private slots:
    // Each failure names its cause in Spanish, never the system's "Unknown error".
    void motivoDelFallo_data()
    {
        QTest::addColumn<QString>("relativa");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("carpeta inexistente") << "no/existe/a.txt"
                                             << "la carpeta %1/no/existe no existe";
        QTest::newRow("la carpeta es un archivo") << "archivo/a.txt"
                                                  << "%1/archivo es un archivo, no una carpeta";
        QTest::newRow("dentro de un archivo") << "archivo/mas/a.txt"
                                              << "%1/archivo es un archivo, no una carpeta";
        QTest::newRow("el destino es una carpeta") << "carpeta"
                                                   << "ya existe una carpeta con ese nombre";
    }

    void motivoDelFallo()
    {
        QFETCH(QString, relativa);
        QFETCH(QString, motivo);
        QTemporaryDir dir;
        QVERIFY(TestSupport::writeFile(dir.filePath("archivo"), "x"));
        QVERIFY(QDir(dir.path()).mkdir("carpeta"));
        const QString ruta = dir.filePath(relativa);
        QString error;
        QVERIFY(!guardarArchivoSeguro(ruta, "x", &error));
        QCOMPARE(error,
                 QStringLiteral("No se pudo guardar el archivo %1: %2").arg(ruta, motivo.arg(dir.path())));
        QCOMPARE(archivosEn(dir.path()), (QStringList{"archivo", "carpeta"}));
    }

    void escrituraIncompletaNoTocaElArchivo()
    {
        QTemporaryDir dir;
        const QString ruta = dir.filePath("a.c");
        const QByteArray viejo = "int main(void) { return 0; }\n";
        QVERIFY(TestSupport::writeFile(ruta, viejo));
        const QByteArray nuevo(1 << 20, 'x');
        const int codigo = enProcesoLimitado(64 * 1024, [&] {
            QString error;
            return !guardarArchivoSeguro(ruta, nuevo, &error) &&
                   error.endsWith(QStringLiteral(": no queda espacio en el disco"));
        });
        QCOMPARE(codigo, 0);
        QCOMPARE(TestSupport::readFile(ruta), viejo);
        QCOMPARE(archivosEn(dir.path()), QStringList{"a.c"});
    }

    void proyectoQueNoCabeNoSeTrunca()
    {
        QTemporaryDir dir;
        XmlHandler xml(QStringLiteral("GRANDE"), XmlHandler::NUEVO_XML_DATOS);
        proyectoGrande(xml, dir.path());
        xml.addNuevaConstante("TRUE");
        QVERIFY(xml.save());
        const QByteArray viejo = TestSupport::readFile(dir.filePath("GRANDE.vro"));
        QVERIFY(viejo.size() > 32 * 1024);
        xml.addNuevaConstante("FALSE");
        const int codigo =
            enProcesoLimitado(16 * 1024, [&] { return !xml.save() && !xml.ultimoError().isEmpty(); });
        QCOMPARE(codigo, 0);
        QCOMPARE(TestSupport::readFile(dir.filePath("GRANDE.vro")), viejo);
        QCOMPARE(archivosEn(dir.path()), QStringList{"GRANDE.vro"});
        QVERIFY(xml.save());
        QVERIFY(TestSupport::readFile(dir.filePath("GRANDE.vro")).contains("<cons1>FALSE</cons1>"));
    }
};

QTEST_GUILESS_MAIN(TestSaveFile)
#include "tst_savefile.moc"
