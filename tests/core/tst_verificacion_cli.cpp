#include "testsupport.h"
#include "verificacion.h"
#include "xmlhandler.h"

#include <QDir>
#include <QDirIterator>
#include <QtTest>

namespace {

using Salida = TestSupport::CliResult;

Salida ejecutar(const QStringList &args)
{
    return TestSupport::runCli(args);
}

QString dato(const QString &nombre)
{
    return TestSupport::dataPath(QStringLiteral("verify/") + nombre);
}

} // namespace

class TestVerificacionCli : public QObject
{
    Q_OBJECT

private slots:
    void codigos_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("codigo");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        QTest::newRow("no findings") << QStringList{"verify", dato("limpio.vro")} << 0
                                     << QByteArray("Sin hallazgos.\n") << QByteArray();
        QTest::newRow("findings") << QStringList{"verify", dato("hallazgos.vro")} << 1
                                  << TestSupport::readFile(dato("hallazgos.txt")) << QByteArray();
        QTest::newRow("machine without initial state")
            << QStringList{"verify", dato("sin_inicial.vro")} << 2 << QByteArray()
            << QByteArray("MdE2: No se encuentra definido el Estado Inicial\n");
        QTest::newRow("first machine without initial state")
            << QStringList{"verify", TestSupport::dataPath("lifecycle/doce_estados.vro")} << 2 << QByteArray()
            << QByteArray("DOCE: No se encuentra definido el Estado Inicial\n");
        QTest::newRow("not XML") << QStringList{"verify", dato("no_xml.vro")} << 2 << QByteArray()
                                 << ("No se pudo procesar el archivo " + dato("no_xml.vro").toUtf8() + "\n");
        QTest::newRow("missing file")
            << QStringList{"verify", dato("no_existe.vro")} << 2 << QByteArray()
            << ("No se pudo abrir el archivo " + dato("no_existe.vro").toUtf8() + "\n");
    }
    void codigos()
    {
        QFETCH(QStringList, args);
        QFETCH(int, codigo);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        const Salida salida = ejecutar(args);
        QCOMPARE(salida.exitCode, codigo);
        QCOMPARE(salida.out, out);
        QCOMPARE(salida.err, err);
    }

    void uso()
    {
        const Salida ayuda = ejecutar({"verify", "--help"});
        QCOMPARE(ayuda.exitCode, 0);
        QVERIFY(ayuda.out.startsWith("Uso: vireo-cli verify [--caminos] PROYECTO.vro\n"));
        QVERIFY(ayuda.out.contains("1  hay hallazgos"));
        QCOMPARE(ejecutar({"verify"}).exitCode, 2);
        QCOMPARE(ejecutar({"verify", dato("limpio.vro"), dato("hallazgos.vro")}).exitCode, 2);
        QVERIFY(ejecutar({"--help"}).out.contains("verify PROYECTO.vro"));
    }

    // Every example project verifies without error, and the exit code says
    // whether the printed tree holds findings.
    void ejemplos()
    {
        QStringList ejemplos;
        QDirIterator it(QStringLiteral(VIREO_SOURCE_DIR "/examples"), {"*.vro"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            ejemplos << it.next();
        if (ejemplos.isEmpty())
            QSKIP("no example projects");
        for (const QString &ruta : ejemplos) {
            const QString nombre = QFileInfo(ruta).fileName();
            QFile archivo(ruta);
            QVERIFY(archivo.open(QIODevice::ReadOnly | QIODevice::Text));
            XmlHandler datos;
            QVERIFY2(datos.load(&archivo), qPrintable(nombre));
            const Verificacion verificacion(datos);
            const Salida salida = ejecutar({"verify", ruta});
            if (verificacion.maquinaSinEstadoInicial() >= 0) {
                QCOMPARE(salida.exitCode, 2);
                continue;
            }
            QCOMPARE(salida.exitCode, verificacion.hayHallazgos() ? 1 : 0);
            const QStringList lineas = QString::fromUtf8(salida.out).split('\n', Qt::SkipEmptyParts);
            QStringList hallazgos = verificacion.estadosSinSalida() + verificacion.estadosSinActivar() +
                                    verificacion.eventosSinUtilizar() + verificacion.accionesSinUtilizar() +
                                    verificacion.variablesSinUtilizar();
            for (const QString &hallazgo : hallazgos)
                QVERIFY2(lineas.contains(QStringLiteral("    ") + hallazgo) ||
                             lineas.contains(QStringLiteral("        ") + hallazgo),
                         qPrintable(nombre + ": " + hallazgo));
        }
    }
};

QTEST_GUILESS_MAIN(TestVerificacionCli)
#include "tst_verificacion_cli.moc"
