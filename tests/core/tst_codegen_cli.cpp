#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

struct Salida
{
    int codigo = -1;
    QString out;
    QString err;
};

Salida vireoCli(const QStringList &argumentos)
{
    const TestSupport::CliResult r = TestSupport::runCli(argumentos);
    return {r.exitCode, QString::fromUtf8(r.out), QString::fromUtf8(r.err)};
}

const QStringList kArchivos = {QStringLiteral("main.c"), QStringLiteral("AP_MdeE.h"),
                               QStringLiteral("AP_MdeE.c"), QStringLiteral("AP_FuncionesMdeE.h"),
                               QStringLiteral("AP_FuncionesMdeE.c")};

} // namespace

class TstCodegenCli : public QObject
{
    Q_OBJECT

private slots:
    void errores_data();
    void errores();
    void ayuda();
    void noSeBloqueaConUnaTuberia();
    void genera_data();
    void genera();

private:
    QTemporaryDir m_temporal;
};

void TstCodegenCli::errores_data()
{
    QTest::addColumn<QStringList>("argumentos");
    QTest::addColumn<int>("codigo");
    QTest::addColumn<QString>("mensaje");
    const QString dos = TestSupport::dataPath(QStringLiteral("codegen/dos_maquinas.vro"));
    QTest::newRow("sin estilo") << QStringList{dos} << 2 << "--style debe ser switch o ptr";
    QTest::newRow("estilo desconocido")
        << QStringList{"--style", "tabla", dos} << 2 << "--style debe ser switch o ptr";
    QTest::newRow("sin proyecto") << QStringList{"--style", "switch"} << 2 << "falta el archivo del proyecto";
    QTest::newRow("opcion desconocida")
        << QStringList{"--style", "switch", "--rapido", dos} << 2 << "opción desconocida: --rapido";
    QTest::newRow("no existe") << QStringList{"--style", "switch", "/no/existe.vro"} << 1
                               << "no existe el archivo /no/existe.vro";
    QTest::newRow("carpeta en vez de archivo")
        << QStringList{"--style", "switch", TestSupport::dataPath("codegen")} << 1
        << "no es un archivo de proyecto";
    QTest::newRow("no es XML") << QStringList{"--style", "ptr", TestSupport::dataPath("codegen/no_xml.vro")}
                               << 1 << "no es un proyecto de Vireo (el XML no es válido)";
    QTest::newRow("sin estado inicial")
        << QStringList{"--style", "switch", TestSupport::dataPath("codegen/sin_inicial.vro"), "--out",
                       "/tmp/no-debe-crearse-vireo"}
        << 1 << "luz: No se encuentra definido el Estado Inicial";
    QTest::newRow("carpeta no escribible")
        << QStringList{"--style", "switch", dos, "--out", "/proc/version/sub"} << 1
        << "No se pudo escribir el archivo \n/proc/version/sub/main.c";
}

void TstCodegenCli::errores()
{
    QFETCH(QStringList, argumentos);
    QFETCH(int, codigo);
    QFETCH(QString, mensaje);
    const Salida salida = vireoCli(QStringList{QStringLiteral("generate")} + argumentos);
    QCOMPARE(salida.codigo, codigo);
    QVERIFY2(salida.err.contains(mensaje), qPrintable(salida.err));
    QVERIFY(salida.out.isEmpty());
    QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/no-debe-crearse-vireo")));
}

void TstCodegenCli::ayuda()
{
    const Salida salida = vireoCli({QStringLiteral("generate"), QStringLiteral("--help")});
    QCOMPARE(salida.codigo, 0);
    QVERIFY(salida.out.contains(
        QStringLiteral("vireo-cli generate --style switch|ptr PROYECTO.vro [--out CARPETA]")));
    QVERIFY(salida.out.contains(QStringLiteral("Códigos de salida")));
}

void TstCodegenCli::noSeBloqueaConUnaTuberia()
{
    // Nobody writes into the pipe: reading it would wait forever.
    const QString tuberia = m_temporal.filePath(QStringLiteral("tuberia.vro"));
    QCOMPARE(::mkfifo(QFile::encodeName(tuberia).constData(), 0600), 0);
    const Salida salida =
        vireoCli({QStringLiteral("generate"), QStringLiteral("--style"), QStringLiteral("switch"), tuberia});
    QCOMPARE(salida.codigo, 1);
    QVERIFY2(salida.err.contains(QStringLiteral("no es un archivo de proyecto")), qPrintable(salida.err));
}

// Without --out the files go next to the project file, whatever folder the
// project stores (/tmp); the project file is left as it was. The pointer
// style names on stderr the machines it leaves out.
void TstCodegenCli::genera_data()
{
    QTest::addColumn<QStringList>("opciones");
    QTest::addColumn<QString>("salida"); // relative to the project's folder
    QTest::addColumn<QString>("dorados");
    QTest::addColumn<QString>("aviso");
    const QString aviso =
        QStringLiteral("Advertencia: %1: El estilo puntero a función ejecuta solo la primera "
                       "máquina (motor); no se ejecutará: luz.\n");
    QTest::newRow("switch junto al proyecto") << QStringList{"--style", "switch"} << "resultados_DEMO/switch"
                                              << "switch" << QString();
    QTest::newRow("ptr junto al proyecto") << QStringList{"--style", "ptr"} << "resultados_DEMO/ptrFuncion"
                                           << "ptrFuncion" << aviso;
    QTest::newRow("switch en otra carpeta")
        << QStringList{"--out", "../fuera/de/todo", "--style=switch"} << "../fuera/de/todo"
        << "switch" << QString();
}

void TstCodegenCli::genera()
{
    QFETCH(QStringList, opciones);
    QFETCH(QString, salida);
    QFETCH(QString, dorados);
    QFETCH(QString, aviso);
    QTemporaryDir temporal;
    const QString carpeta = temporal.filePath(QStringLiteral("alumno"));
    QVERIFY(QDir().mkpath(carpeta));
    const QString proyecto = carpeta + QStringLiteral("/entrega.vro");
    const QByteArray original =
        TestSupport::readFile(TestSupport::dataPath(QStringLiteral("codegen/dos_maquinas.vro")));
    QVERIFY(TestSupport::writeFile(proyecto, original));
    const QDateTime modificado = QFileInfo(proyecto).lastModified();
    opciones.replaceInStrings(QStringLiteral(".."), temporal.path());

    const Salida s = vireoCli(QStringList{QStringLiteral("generate")} + opciones + QStringList{proyecto});
    QCOMPARE(s.codigo, 0);
    const QString esperada = QDir::cleanPath(carpeta + QLatin1Char('/') + salida);
    QCOMPARE(s.out, esperada + QLatin1Char('\n'));
    QCOMPARE(s.err, aviso.isEmpty() ? aviso : aviso.arg(proyecto));
    QStringList escritos = QDir(esperada).entryList(QDir::Files);
    QStringList esperados = kArchivos;
    escritos.sort();
    esperados.sort();
    QCOMPARE(escritos, esperados);
    for (const QString &archivo : kArchivos) {
        QCOMPARE(TestSupport::readFile(esperada + QLatin1Char('/') + archivo),
                 TestSupport::readFile(
                     TestSupport::dataPath(QStringLiteral("codegen/golden/%1/%2").arg(dorados, archivo))));
    }
    QCOMPARE(TestSupport::readFile(proyecto), original);
    QCOMPARE(QFileInfo(proyecto).lastModified(), modificado);
    QCOMPARE(QDir(carpeta).entryList(QDir::Files), QStringList{QStringLiteral("entrega.vro")});
}

QTEST_GUILESS_MAIN(TstCodegenCli)
#include "tst_codegen_cli.moc"
