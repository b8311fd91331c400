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
    void escribeJuntoAlProyectoSinModificarlo_data();
    void escribeJuntoAlProyectoSinModificarlo();
    void escribeEnLaCarpetaIndicada();
    void avisaLosMotivosPorStderr();

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

void TstCodegenCli::escribeJuntoAlProyectoSinModificarlo_data()
{
    QTest::addColumn<QString>("estilo");
    QTest::addColumn<QString>("subcarpeta");
    QTest::newRow("switch") << "switch"
                            << "switch";
    QTest::newRow("ptr") << "ptr"
                         << "ptrFuncion";
}

void TstCodegenCli::escribeJuntoAlProyectoSinModificarlo()
{
    QFETCH(QString, estilo);
    QFETCH(QString, subcarpeta);
    // The stored "carpeta" (/tmp) is not where the file is: the file's folder wins.
    const QString carpetaProyecto = m_temporal.filePath(QStringLiteral("alumno_") + estilo);
    QVERIFY(QDir().mkpath(carpetaProyecto));
    const QString proyecto = carpetaProyecto + QStringLiteral("/entrega.vro");
    const QByteArray original =
        TestSupport::readFile(TestSupport::dataPath(QStringLiteral("codegen/dos_maquinas.vro")));
    QVERIFY(TestSupport::writeFile(proyecto, original));
    const QDateTime modificado = QFileInfo(proyecto).lastModified();

    const Salida salida = vireoCli({QStringLiteral("generate"), QStringLiteral("--style"), estilo, proyecto});
    QCOMPARE(salida.codigo, 0);
    const QString esperada = carpetaProyecto + QStringLiteral("/resultados_DEMO/") + subcarpeta;
    QCOMPARE(salida.out, esperada + QLatin1Char('\n'));
    for (const QString &archivo : kArchivos) {
        QCOMPARE(TestSupport::readFile(esperada + QLatin1Char('/') + archivo),
                 TestSupport::readFile(
                     TestSupport::dataPath(QStringLiteral("codegen/golden/%1/%2").arg(subcarpeta, archivo))));
    }
    QCOMPARE(TestSupport::readFile(proyecto), original);
    QCOMPARE(QFileInfo(proyecto).lastModified(), modificado);
    QCOMPARE(QDir(carpetaProyecto).entryList(QDir::Files), QStringList{QStringLiteral("entrega.vro")});
}

void TstCodegenCli::escribeEnLaCarpetaIndicada()
{
    const QString destino = m_temporal.filePath(QStringLiteral("fuera/de/todo"));
    const Salida salida = vireoCli({QStringLiteral("generate"), QStringLiteral("--out"), destino,
                                    QStringLiteral("--style=switch"),
                                    TestSupport::dataPath(QStringLiteral("codegen/dos_maquinas.vro"))});
    QCOMPARE(salida.codigo, 0);
    QCOMPARE(salida.out, destino + QLatin1Char('\n'));
    QVERIFY(salida.err.isEmpty());
    QStringList escritos = QDir(destino).entryList(QDir::Files);
    QStringList esperados = kArchivos;
    escritos.sort();
    esperados.sort();
    QCOMPARE(escritos, esperados);
}

void TstCodegenCli::avisaLosMotivosPorStderr()
{
    const QString destino = m_temporal.filePath(QStringLiteral("ptr"));
    const QString proyecto = TestSupport::dataPath(QStringLiteral("codegen/dos_maquinas.vro"));
    const Salida salida = vireoCli({QStringLiteral("generate"), QStringLiteral("--style"),
                                    QStringLiteral("ptr"), proyecto, QStringLiteral("--out"), destino});
    QCOMPARE(salida.codigo, 0);
    QCOMPARE(salida.err, QStringLiteral("Advertencia: ") + proyecto +
                             QStringLiteral(": El estilo puntero a función ejecuta solo la primera máquina "
                                            "(motor); no se ejecutará: luz.\n"));
    QVERIFY(QFileInfo::exists(destino + QStringLiteral("/AP_MdeE.c")));
}

QTEST_GUILESS_MAIN(TstCodegenCli)
#include "tst_codegen_cli.moc"
