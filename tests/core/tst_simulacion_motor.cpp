#include "descripcionproyecto.h"
#include "proyecto.h"
#include "simulacionc.h"
#include "simulacionfilas.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QtTest>

namespace {

Proyecto cargar(const QByteArray &xml)
{
    XmlHandler datos;
    return TestSupport::cargar(datos, xml) ? Proyecto::desdeDocumento(datos) : Proyecto();
}

Proyecto sim()
{
    return cargar(TestSupport::readFile(TestSupport::dataPath("simulacion/SIM.vro")));
}

QByteArray tramas(const Proyecto &proyecto, const QVector<PasoMaquina> &pasos)
{
    QByteArray resultado;
    for (const PasoMaquina &paso : pasos)
        resultado += TramaEnlace::codificar(paso.reporte(proyecto));
    return resultado;
}

using Tr = DescripcionProyecto::Transicion;

// One machine "M" of states A, B, C (transitions given per state) with the
// variables x and y and the events e and f.
DescripcionProyecto unaMaquina(const QVector<Tr> &a, const QVector<Tr> &b = {}, const QString &iniciales = {})
{
    DescripcionProyecto p;
    p.eventos = QStringList{"e", "f"};
    p.variables = QStringList{"x", "y"};
    p.acciones = QStringList{"uno()", "dos()"};
    p.maquinas.append({"M", 0, iniciales, {{"A", a}, {"B", b}, {"C", {}}}});
    return p;
}

// What C mode did in one step: "M:A>B" per machine step (the initial one as
// "M:>A"), then the variables.
QString describir(const SimulacionC &simulacion, const QVector<PasoMaquina> &pasos)
{
    const Proyecto &proyecto = simulacion.proyecto();
    QStringList partes;
    for (const PasoMaquina &paso : pasos) {
        const Maquina &m = proyecto.maquina(paso.maquina);
        partes << m.nombre + ":" + (paso.esReset() ? QString() : m.estados.at(paso.origen).nombre) + ">" +
                      m.estados.at(paso.destino).nombre;
    }
    for (int v = 0; v < simulacion.variables().size(); ++v)
        partes << simulacion.variables().at(v) + "=" + QString::number(simulacion.valor(v));
    return partes.join(' ');
}

} // namespace

Q_DECLARE_METATYPE(DescripcionProyecto)

// The engine's two semantics, each driven by tables of steps.
class TestSimulacionMotor : public QObject
{
    Q_OBJECT

private slots:
    void filasDelProyecto()
    {
        const SimulacionFilas simulacion(sim());
        QCOMPARE(simulacion.filas(), (QStringList{"(reset)", "boton", "boton && x > 3", "timeout", "tick"}));
    }

    // The frames the window sends for the same double-clicks, byte by byte.
    void filas_data()
    {
        QTest::addColumn<QStringList>("pasos");
        QTest::addColumn<QByteArray>("esperadas");
        QTest::addColumn<QVector<int>>("estados");
        const QByteArray boton1("41:MdE1,A,boton,B,encender;cuenta = 0 [MdE1]@");
        const QByteArray boton2("20:MdE2,X,boton,Y,sonar@");
        QTest::newRow("both machines, first machine first")
            << QStringList{"boton"} << boton1 + boton2 << QVector<int>{1, 1};
        QTest::newRow("first matching transition only, then back")
            << QStringList{"boton", "tick", "timeout", "boton"}
            << boton1 + boton2 + "20:MdE1,B,tick,B,contar@17:MdE1,B,timeout,A,@" + boton1 +
                   "15:MdE2,Y,boton,X,@"
            << QVector<int>{1, 0};
        QTest::newRow("compound trigger is its own row")
            << QStringList{"boton && x > 3"} << QByteArray("24:MdE1,A,boton && x > 3,C,@")
            << QVector<int>{2, 0};
        QTest::newRow("rows that match nothing")
            << QStringList{"BOTON", "timeout", "", "(reset)"} << QByteArray() << QVector<int>{0, 0};
    }
    void filas()
    {
        QFETCH(QStringList, pasos);
        QFETCH(QByteArray, esperadas);
        QFETCH(QVector<int>, estados);
        SimulacionFilas simulacion(sim());
        QVERIFY(simulacion.disparar("boton").isEmpty()); // still in reset
        QVERIFY(simulacion.salirDeReset(0));
        QVERIFY(simulacion.salirDeReset(1));
        QVERIFY(!simulacion.salirDeReset(1));
        QByteArray enviadas;
        for (const QString &paso : pasos)
            enviadas += tramas(simulacion.proyecto(), simulacion.disparar(paso));
        QCOMPARE(enviadas, esperadas);
        QCOMPARE((QVector<int>{simulacion.estadoActual(0), simulacion.estadoActual(1)}), estados);
    }

    void filasTrasReset()
    {
        SimulacionFilas simulacion(sim());
        PasoMaquina paso;
        QVERIFY(simulacion.salirDeReset(0, &paso));
        QCOMPARE(paso.filasAcciones(simulacion.proyecto()), QStringList{"iniciar() [MdE1]"});
        simulacion.disparar("boton");
        QCOMPARE(simulacion.filasDisponibles(), (QStringList{"timeout", "tick"}));
        simulacion.reiniciar();
        QCOMPARE(simulacion.estadoActual(0), -1);
        QVERIFY(simulacion.filasDisponibles().isEmpty());
        QVERIFY(simulacion.disparar("timeout").isEmpty());
    }

    void modoC_data()
    {
        QTest::addColumn<DescripcionProyecto>("proyecto");
        QTest::addColumn<QStringList>("pasos");
        QTest::addColumn<QStringList>("esperado");
        QTest::newRow("first true transition wins, assignment seen next step only")
            << unaMaquina({{"e && x == 0", "x = 1", 1}, {"x == 1", "y = 1", 2}}, {{"x == 1", "y = 2", 2}})
            << QStringList{"e", "-"} << QStringList{"M:>A M:A>B x=1 y=0", "M:B>C x=1 y=2"};
        QTest::newRow("self-loop counts, no event no step")
            << unaMaquina({{"e", "x += 2,uno(),y -= 1", 0}}) << QStringList{"e", "-", "e,f"}
            << QStringList{"M:>A M:A>A x=2 y=-1", "x=2 y=-1", "M:A>A x=4 y=-2"};
        QTest::newRow("negated comparison, parentheses, or")
            << unaMaquina({{"!x >= 3 && (f || e)", "x = 7", 1}}, {{"!(x == 7) || e && f", "", 0}})
            << QStringList{"-", "e", "e", "e,f"}
            << QStringList{"M:>A x=0 y=0", "M:A>B x=7 y=0", "x=7 y=0", "M:B>A x=7 y=0"};
        QTest::newRow("initial actions on the first step")
            << unaMaquina({{"x == 5", "x *= 3", 1}}, {{"x > 14 && x <= 15 && x != 16", "x /= 0,x %= 4", 2}},
                          "x = 5,dos()")
            << QStringList{"-", "-", "-"} << QStringList{"M:>A M:A>B x=15 y=0", "M:B>C x=3 y=0", "x=3 y=0"};
        QTest::newRow("constants and numbers as C reads them")
            << unaMaquina({{"x == FALSE && y < TRUE", "x = 0x10,y = 010", 1}},
                          {{"x == 16 && y == 8", "x = -3", 2}})
            << QStringList{"-", "-"} << QStringList{"M:>A M:A>B x=16 y=8", "M:B>C x=-3 y=8"};

        // The other machines see what the earlier ones did in the same pass,
        // and run their initial actions only when their turn comes.
        DescripcionProyecto dos = unaMaquina({{"e", "x = 1", 1}});
        dos.maquinas.append({"N", 0, "y = 4", {{"P", {{"x == 1 && y == 4", "uno()", 1}}}, {"Q", {}}}});
        dos.maquinas.append({"S", -1, "", {{"Z", {{"e", "", 0}}}}});
        QTest::newRow("machines in order within a pass")
            << dos << QStringList{"e", "e"} << QStringList{"M:>A M:A>B N:>P N:P>Q x=1 y=4", "x=1 y=4"};
    }
    void modoC()
    {
        QFETCH(DescripcionProyecto, proyecto);
        QFETCH(QStringList, pasos);
        QFETCH(QStringList, esperado);
        SimulacionC simulacion(cargar(proyecto.xml()));
        QStringList obtenido;
        for (const QString &paso : pasos)
            obtenido << describir(simulacion, simulacion.paso(paso == "-" ? QStringList() : paso.split(',')));
        QCOMPARE(obtenido, esperado);
    }

    // Values set before a step count; a reset starts over from zero.
    void modoCVariablesYReset()
    {
        SimulacionC simulacion(cargar(unaMaquina({{"x == 2", "y = x", 1}}, {}, "y = 9").xml()));
        simulacion.fijarValor(simulacion.indiceVariable("x"), 2);
        simulacion.paso(QStringList());
        QCOMPARE(simulacion.estadoActual(0), 1);
        QCOMPARE(simulacion.valor(simulacion.indiceVariable("y")), 2);
        simulacion.reiniciar();
        QCOMPARE(simulacion.estadoActual(0), 0);
        QCOMPARE(simulacion.valor(simulacion.indiceVariable("x")), 0);
        QCOMPARE(describir(simulacion, simulacion.paso(QStringList())), QString("M:>A x=0 y=9"));
    }

    // Reports in C mode name the trigger that fired, as the window's rows do;
    // the initial steps send none.
    void modoCReporta()
    {
        SimulacionC simulacion(sim());
        QCOMPARE(simulacion.eventos(), (QStringList{"boton", "timeout", "tick"}));
        simulacion.fijarValor(simulacion.indiceVariable("x"), 4);
        QVector<PasoMaquina> pasos = simulacion.paso(QStringList{"boton"});
        QCOMPARE(pasos.size(), 4);
        pasos.removeAt(2);
        pasos.removeAt(0);
        QCOMPARE(tramas(simulacion.proyecto(), pasos),
                 QByteArray("41:MdE1,A,boton,B,encender;cuenta = 0 [MdE1]@20:MdE2,X,boton,Y,sonar@"));
    }
};

QTEST_GUILESS_MAIN(TestSimulacionMotor)
#include "tst_simulacion_motor.moc"
