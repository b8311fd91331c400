#include "proyectodescrito.h"
#include "testsupport.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

using Salida = TestSupport::CliResult;

// The exercise: a light that turns on, counts ticks while on and turns off.
const char *const kBien = "maquina Luz\ninicial APAGADA\n"
                          "APAGADA -> ENCENDIDA : on / encender()\n"
                          "ENCENDIDA -> APAGADA : off / apagar()\n"
                          "ENCENDIDA -> ENCENDIDA : t / cuenta += 1\n";
const char *const kDestinoMal = "maquina Luz\ninicial APAGADA\n"
                                "APAGADA -> ENCENDIDA : on / encender()\n"
                                "ENCENDIDA -> ENCENDIDA : off / apagar()\n"
                                "ENCENDIDA -> ENCENDIDA : t / cuenta += 1\n";
const char *const kFalta = "maquina Luz\ninicial APAGADA\n"
                           "APAGADA -> ENCENDIDA : on / encender()\n"
                           "ENCENDIDA -> APAGADA : off / apagar()\n";
const char *const kEscenario = "# la luz\n"
                               "estado Luz APAGADA\n"
                               "evento on\n"
                               "estado luz Encendida\n"
                               "acciones Luz encender()\n"
                               "evento t\n"
                               "acciones Luz cuenta += 1\n"
                               "evento off\n"
                               "estado Luz APAGADA\n";
const char *const kEncabezado =
    "proyecto,pasos_ok,pasos,estados_cubiertos,estados,transiciones_cubiertas,transiciones,primer_fallo\n";

} // namespace

class TestCheck : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString archivo(const QString &nombre, const QByteArray &contenido)
    {
        const QString ruta = m_dir.filePath(nombre);
        TestSupport::writeFile(ruta, contenido);
        return ruta;
    }
    QString proyecto(const QString &nombre, const char *descripcion)
    {
        return archivo(nombre, ProyectoDescrito::vro(QString::fromUtf8(descripcion)));
    }

private slots:
    // A class of five: one right, one with a wrong target, one missing a
    // transition, one that is not a project and one without an initial state.
    void curso()
    {
        const QString escenario = archivo("luz.escenario", kEscenario);
        const QStringList proyectos{proyecto("bien.vro", kBien), proyecto("destino.vro", kDestinoMal),
                                    proyecto("falta.vro", kFalta), archivo("roto.vro", "<proyecto"),
                                    proyecto("sin.vro", "maquina M\nA -> B : a\n")};
        const QString csv = m_dir.filePath("notas.csv");
        const Salida salida =
            TestSupport::runCli(QStringList{"check", escenario} + proyectos + QStringList{"--csv", csv});
        QCOMPARE(salida.exitCode, 1);
        QCOMPARE(
            QString::fromUtf8(TestSupport::readFile(csv)),
            QString(kEncabezado) + proyectos.at(0) + ",5,5,2,2,3,3,\n" + proyectos.at(1) +
                ",4,5,2,2,3,3,\"línea 9: estado Luz: se esperaba APAGADA, se encontró ENCENDIDA\"\n" +
                proyectos.at(2) +
                ",4,5,2,2,2,2,\"línea 7: acciones Luz: se esperaba cuenta += 1, se encontró (ninguna)\"\n" +
                proyectos.at(3) + ",0,5,0,0,0,0,el archivo no es un proyecto de Vireo legible\n" +
                proyectos.at(4) + ",0,5,0,2,0,1,M: No se encuentra definido el Estado Inicial\n");
        QVERIFY2(salida.out.contains("1 de 5 proyectos cumplieron todas las comprobaciones."),
                 salida.out.constData());
        QVERIFY(salida.err.isEmpty());

        QCOMPARE(TestSupport::runCli({"check", escenario, proyectos.at(0)}).exitCode, 0);
    }

    // Three states, one never reached, and four transitions of which the
    // scenario takes two (the self-loop twice): 2/3 states, 2/4 transitions.
    void cobertura()
    {
        const QString p = proyecto("cobertura.vro", "maquina M\ninicial A\nA -> B : a\nB -> B : b\n"
                                                    "B -> A : c\nA -> C : d\n");
        const QString escenario = archivo("cob.escenario", "evento a\nevento b\nevento b\nestado M B\n");
        const Salida salida = TestSupport::runCli({"check", "--cobertura", escenario, p});
        QCOMPARE(salida.exitCode, 0);
        const QStringList lineas = QString::fromUtf8(salida.out).split('\n');
        QCOMPARE(lineas.at(0), QString("proyecto%1  pasos  estados  transiciones  primer fallo")
                                   .arg(QString(p.size() - 8, ' ')));
        QCOMPARE(lineas.at(1), p + "  1/1    2/3      2/4");
        QVERIFY2(salida.out.endsWith("Transiciones que el escenario no tomó\n    " + p.toUtf8() +
                                     "\n        A [M]: d -> C\n        B [M]: c -> A\n"),
                 salida.out.constData());
    }

    // "c" mode evaluates the triggers: variables set by the scenario, events
    // as sets, the first true transition of the state wins.
    void modoC()
    {
        const QString p = proyecto("c.vro", "maquina M\ninicial A / y = 1\nA -> B : a && x > 3 / y = 2\n"
                                            "A -> C : a / z()\nB -> A : b || c\n");
        const QString escenario =
            archivo("c.escenario", "modo c\nacciones M y = 1\nevento a\nestado M C\nreset\nvariable x = 4\n"
                                   "evento b, a\nestado M B\nacciones M y = 2\nevento -\nestado M B\n"
                                   "evento c\nestado M A\nacciones M\n");
        const Salida salida = TestSupport::runCli({"check", escenario, p});
        QVERIFY2(salida.out.contains("7/7"), salida.out.constData());
        QCOMPARE(salida.exitCode, 0);
    }

    void errores_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("err");
        QTest::newRow("no project") << QStringList{"check", "e.escenario"}
                                    << QByteArray("Error: se necesitan");
        QTest::newRow("unknown option") << QStringList{"check", "--rapido", "e", "p"}
                                        << QByteArray("Error: opción desconocida --rapido.");
        QTest::newRow("missing scenario")
            << QStringList{"check", "/no/existe.escenario", "p.vro"}
            << QByteArray("/no/existe.escenario: no se pudo abrir el archivo\n");
        const QString malo = archivo("malo.escenario", "evento a\nestado M\n");
        QTest::newRow("malformed scenario") << QStringList{"check", malo, proyecto("p.vro", kBien)}
                                            << malo.toUtf8() + ":2: se espera «estado MAQUINA ESTADO»\n";
    }
    void errores()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, err);
        const Salida salida = TestSupport::runCli(args);
        QCOMPARE(salida.exitCode, 2);
        QVERIFY2(salida.err.startsWith(err), salida.err.constData());
        QVERIFY(salida.out.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCheck)
#include "tst_check.moc"
