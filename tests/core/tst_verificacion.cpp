#include "caminosestados.h"
#include "chequeoconflictos.h"
#include "decisordisparos.h"
#include "descripcionproyecto.h"
#include "proyecto.h"
#include "proyectodescrito.h"
#include "testsupport.h"
#include "usagerules.h"
#include "verificacion.h"
#include "xmlhandler.h"

#include <QTemporaryDir>
#include <QtTest>

// The checks of "Verificar": states without a way out or in, catalogue
// entries never used, transitions in conflict, and the paths from the reset.
namespace {

using ProyectoDescrito::documento;

// Machine MdE1 of states a, b, c in a cycle, the first transition with the
// given trigger and actions, and the catalogue exactly as given.
DescripcionProyecto ciclo(const QString &disparador, const QString &acciones, const QStringList &eventos,
                          const QStringList &declaradas, const QStringList &variables)
{
    DescripcionProyecto p;
    p.eventos = eventos;
    p.acciones = declaradas;
    p.variables = variables;
    p.maquinas.append({"MdE1",
                       0,
                       "",
                       {{"a", {{disparador, acciones, 1}}}, {"b", {{"ev", "", 2}}}, {"c", {{"ev", "", 0}}}}});
    return p;
}

} // namespace

class TestVerificacion : public QObject
{
    Q_OBJECT

private slots:
    void estados_data()
    {
        QTest::addColumn<QString>("proyecto");
        QTest::addColumn<QStringList>("sinSalida");
        QTest::addColumn<QStringList>("sinActivar");
        QTest::newRow("only self-transitions into a state")
            << "maquina MdE1\ninicial espera\nespera -> espera : ev\nsolo -> solo : ev\nsolo -> espera : ev"
            << QStringList{"ESPERA [MdE1]"} << QStringList{"SOLO [MdE1]"};
        QTest::newRow("initial state reached from the marker only")
            << "maquina MdE1\ninicial inicio\ninicio -> fin : ev\nfin -> fin : ev"
            << QStringList{"FIN [MdE1]"} << QStringList();
        QTest::newRow("only exit is a self-transition")
            << "maquina MdE1\ninicial a\na -> b : ev\nb -> b : ev\nb -> b : otro" << QStringList{"B [MdE1]"}
            << QStringList();
        QTest::newRow("no transitions at all") << "maquina M\ninicial uno\nestado Dos"
                                               << QStringList{"UNO [M]", "DOS [M]"} << QStringList{"DOS [M]"};
        QTest::newRow("initial state elsewhere")
            << "maquina M\nestado a\ninicial b\na -> b : ev" << QStringList{"B [M]"} << QStringList{"A [M]"};
    }
    void estados()
    {
        QFETCH(QString, proyecto);
        QFETCH(QStringList, sinSalida);
        QFETCH(QStringList, sinActivar);
        const auto datos = documento(proyecto);
        QVERIFY(datos);
        const Verificacion v(*datos);
        QCOMPARE(v.estadosSinSalida(), sinSalida);
        QCOMPARE(v.estadosSinActivar(), sinActivar);
    }

    void elementos_data()
    {
        QTest::addColumn<QString>("disparador");
        QTest::addColumn<QString>("acciones");
        QTest::addColumn<QStringList>("eventos");
        QTest::addColumn<QStringList>("accionesDeclaradas");
        QTest::addColumn<QStringList>("variables");
        QTest::addColumn<QStringList>("eventosSinUso");
        QTest::addColumn<QStringList>("accionesSinUso");
        QTest::addColumn<QStringList>("variablesSinUso");
        const QStringList no;
        QTest::newRow("event only inside a comparison")
            << "x > 3"
            << "" << QStringList{"x", "ev"} << no << QStringList{"x"} << QStringList{"x"} << no << no;
        QTest::newRow("bare variable in a trigger")
            << "on && ev"
            << "" << QStringList{"ev"} << no << QStringList{"on"} << no << no << QStringList{"on"};
        QTest::newRow("variable found anywhere in an action entry")
            << "ev"
            << "encender_led_on()" << QStringList{"ev"} << QStringList{"encender_led_on()"}
            << QStringList{"on"} << no << no << no;
        QTest::newRow("action as a substring")
            << "ev"
            << "toggle_led()" << QStringList{"ev"} << QStringList{"led()", "toggle_led()", "apagar()"} << no
            << no << QStringList{"apagar()"} << no;
        QTest::newRow("action test is case-sensitive")
            << "ev"
            << "LED()" << QStringList{"ev"} << QStringList{"led()"} << no << no << QStringList{"led()"} << no;
        QTest::newRow("whole words only in triggers")
            << "botonera && t >= 30"
            << "" << QStringList{"boton", "botonera", "ev"} << no << QStringList{"t", "te"}
            << QStringList{"boton"} << no << QStringList{"te"};
        QTest::newRow("negation and groups")
            << "!(boton || t != 1) && !pulso"
            << "" << QStringList{"boton", "pulso", "ev"} << no << QStringList{"t"} << no << no << no;
        QTest::newRow("no catalogue") << "ev"
                                      << "" << no << no << no << no << no << no;
        QTest::newRow("names are not patterns")
            << "axb && ev"
            << "" << QStringList{"a.b", "ev"} << QStringList{"a.b()"} << QStringList{"[x"}
            << QStringList{"a.b"} << QStringList{"a.b()"} << QStringList{"[x"};
        // "(x)" is not a word: a blank and "(" are both non-word characters,
        // so no word boundary comes before it.
        QTest::newRow("odd names used as written")
            << "a.b && (x) > 1"
            << "f(1)(),y*=2" << QStringList{"a.b", "ev"} << QStringList{"f(1)()"} << QStringList{"(x)", "y*"}
            << no << no << QStringList{"(x)"};
        QTest::newRow("empty names from a hand-edited file")
            << "ev"
            << "" << QStringList{"ev"} << QStringList{""} << QStringList{""} << no << no << no;
        QTest::newRow("assignment keeps its variable used")
            << "ev"
            << "cuenta += 1" << QStringList{"ev"} << no << QStringList{"cuenta", "c"} << no << no << no;
    }
    void elementos()
    {
        QFETCH(QString, disparador);
        QFETCH(QString, acciones);
        QFETCH(QStringList, eventos);
        QFETCH(QStringList, accionesDeclaradas);
        QFETCH(QStringList, variables);
        QFETCH(QStringList, eventosSinUso);
        QFETCH(QStringList, accionesSinUso);
        QFETCH(QStringList, variablesSinUso);
        XmlHandler xml;
        QVERIFY(TestSupport::cargar(
            xml, ciclo(disparador, acciones, eventos, accionesDeclaradas, variables).xml()));
        const Verificacion v(xml);
        QCOMPARE(v.eventosSinUtilizar(), eventosSinUso);
        QCOMPARE(v.accionesSinUtilizar(), accionesSinUso);
        QCOMPARE(v.variablesSinUtilizar(), variablesSinUso);
    }

    // The initial transition's actions count; a machine without an initial
    // state stops the verification before any finding.
    void transicionInicialYMaquinaSinInicial()
    {
        auto datos = documento("maquina M\ninicial a / reset(),n = 0\na -> b : ev\nb -> a : ev");
        QVERIFY(datos);
        QVERIFY(!Verificacion(*datos).hayHallazgos());
        datos =
            documento("maquina M\ninicial a\na -> a : ev\nmaquina MdE2\na -> a : ev\nmaquina S\na -> a : ev\n"
                      "eventos nunca");
        const Verificacion v(*datos);
        QCOMPARE(v.maquinaSinEstadoInicial(), 1);
        QVERIFY(!v.hayHallazgos());
    }

    // A file of an earlier version keeps only the initial state's target; a
    // target naming no state is outside the format and ignored.
    void archivosAntiguosYDestinosRotos()
    {
        const auto xml = documento("maquina M\na -> b : ev\nb -> a : ev");
        xml->setContenidoInicial("idProxEstado", "estado0", "maquina0");
        xml->addNuevaTransicion("estado1", "tr1", "ev", "roto()", "estado9", "0,0", "0,0", "maquina0");
        xml->addNuevaAccion("roto()");
        const Verificacion v(*xml);
        QCOMPARE(v.maquinaSinEstadoInicial(), -1);
        QVERIFY(v.estadosSinActivar().isEmpty());
        QCOMPARE(v.accionesSinUtilizar(), QStringList{"roto()"});
    }

    // The dialogs' usage tests: a trigger split at its connectives, a name
    // used as an event or as a variable, an action by its exact entry.
    void reglasDeUso_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("asEvent");
        QTest::addColumn<bool>("asVariable");
        QTest::newRow("single") << "boton" << QStringList{"boton"} << "boton" << true << false;
        QTest::newRow("and") << "boton && x > 3" << QStringList{"boton ", " x > 3"} << "boton" << true
                             << false;
        QTest::newRow("comparison") << "!(a || x > 3)" << QStringList{"!(a ", " x > 3)"} << "x" << false
                                    << true;
        QTest::newRow("empty") << "" << QStringList{} << "x" << false << false;
        QTest::newRow("leftmost connective first")
            << "a &&& b" << QStringList{"a ", "& b"} << "b" << true << false;
        QTest::newRow("runs of connectives") << "a||||b&&" << QStringList{"a", "b"} << "b" << true << false;
        QTest::newRow("single marks stay") << "a & b | c" << QStringList{"a & b | c"} << "b" << true << false;
        QTest::newRow("prefix is not the word")
            << "botonera" << QStringList{"botonera"} << "boton" << false << false;
        QTest::newRow("negated group") << "!(boton)" << QStringList{"!(boton)"} << "boton" << true << false;
    }
    void reglasDeUso()
    {
        QFETCH(QString, trigger);
        QFETCH(QStringList, parts);
        QFETCH(QString, name);
        QFETCH(bool, asEvent);
        QFETCH(bool, asVariable);
        QCOMPARE(UsageRules::triggerParts(trigger), parts);
        QCOMPARE(UsageRules::eventUsedInTrigger(trigger, name), asEvent);
        QCOMPARE(UsageRules::variableUsedInTrigger(trigger, name), asVariable);
        const QStringList list{"encender_led_on()", "cuenta += 1"};
        QVERIFY(!UsageRules::actionUsedInActions(list, "led_on()"));
        QVERIFY(UsageRules::actionUsedInActions(list, "encender_led_on()"));
    }

    void disparadoresCompatibles_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("juntos");
        const struct
        {
            const char *nombre, *a, *b;
            bool juntos;
        } filas[] = {
            {"same event", "a", "a", true},
            {"a vs a && b", "a", "a && b", true},
            {"events are free", "a", "b", true},
            {"event and its negation", "a", "!a", false},
            {"negated group", "!(x > 3 || a)", "a", false},
            {"x > 3 vs x < 2", "x > 3", "x < 2", false},
            {"x > 3 vs x >= 3", "x > 3", "x >= 3", true},
            {"no integer between", "x > 3", "x < 4", false},
            {"fractions round", "x > 2.5", "x < 3", false},
            {"fraction never equal", "x == 1", "x == 1.5", false},
            {"== and !=", "x == 3", "x != 3", false},
            {"!= leaves others", "x != 3", "x == 4", true},
            {"exclusions fill the range", "x != 1 && x != 2 && x >= 1", "x <= 2", false},
            {"hexadecimal", "x > 0x10", "x < 17", false},
            {"negative", "x < -2", "x > -3", false},
            {"not binds to the comparison", "!x > 3", "x > 5", false},
            {"TRUE vs FALSE", "p == TRUE", "p == FALSE", false},
            {"FALSE is 0", "p == FALSE", "p == 0", true},
            {"two names, exact difference", "x > LIMITE", "x < LIMITE", false},
            {"name and number unrelated", "x > LIMITE", "x < 3", true},
            {"other comparison is free", "x == 2*y", "x == 3", true},
            {"free comparison and its opposite", "x == 2*y", "x != 2*y", false},
            {"choice forced", "(a || x > 3) && x < 2", "!a", false},
            {"choice open", "(a || x > 3) && x < 2", "!b", true},
            {"different variables", "x > 3", "y < 2", true},
            {"unreadable never fires", "a &&", "a", false},
            {"reset never fires", "-", "a", false},
        };
        for (const auto &fila : filas)
            QTest::newRow(fila.nombre) << QString(fila.a) << QString(fila.b) << fila.juntos;
    }
    void disparadoresCompatibles()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, juntos);
        const ExpresionDisparo ea = ExpresionDisparo::analizar(a);
        const ExpresionDisparo eb = ExpresionDisparo::analizar(b);
        QCOMPARE(DecisorDisparos::compatibles(ea, eb), juntos);
        QCOMPARE(DecisorDisparos::compatibles(eb, ea), juntos);
    }

    // A balanced tree of choices that all fail: the search must stay within
    // its budget and the thread's stack.
    void muchasOpciones()
    {
        QString disparador = QStringLiteral("x > 100");
        for (int i = 0; i < 60; ++i)
            disparador = QStringLiteral("(e%1 || x > %2) && (%3)").arg(i).arg(i).arg(disparador);
        const ExpresionDisparo grande = ExpresionDisparo::analizar(disparador);
        QVERIFY(grande.esValida());
        QVERIFY(DecisorDisparos::compatibles(grande, ExpresionDisparo::analizar("x > 101")));
        QVERIFY(!DecisorDisparos::compatibles(grande, ExpresionDisparo::analizar("x < 50")));
    }

    void conflictos()
    {
        const auto datos = documento("maquina M\ninicial A\nA -> B : a\nA -> C : a && b\nA -> B : x > 3\n"
                                     "A -> C : x < 2\nB -> A : a\nC -> A : b\n"
                                     "maquina N\ninicial Q\nQ -> Q : c\nQ -> Q : c / d()");
        const ChequeoConflictos chequeo(Proyecto::desdeDocumento(*datos));
        QCOMPARE(chequeo.hallazgos(),
                 QStringList({"A [M]: a | a && b", "A [M]: a | x > 3", "A [M]: a | x < 2",
                              "A [M]: a && b | x > 3", "A [M]: a && b | x < 2", "Q [N]: c | c"}));
        const ConflictoTransiciones &ultimo = chequeo.conflictos().last();
        QCOMPARE(QVector<int>({ultimo.maquina, ultimo.estado, ultimo.primera, ultimo.segunda}),
                 QVector<int>({1, 0, 0, 1}));
    }

    // The self-loop leads nowhere new, the second transition on row "a"
    // never fires, and E has no way in; `verify --caminos` prints the same.
    void caminos()
    {
        const QString proyecto = "maquina M\ninicial A\nA -> A : t\nA -> B : a\nA -> C : a\nB -> C : b\n"
                                 "B -> D : x > 3 && a\nestado E\nmaquina N\ninicial P\nP -> Q : a\n";
        const auto datos = documento(proyecto);
        const CaminosEstados caminos(Proyecto::desdeDocumento(*datos));
        const QStringList lineas{"M A: (inicial)",    "M B: a",         "M C: a, b", "M D: a, x > 3 && a",
                                 "M E: inalcanzable", "N P: (inicial)", "N Q: a"};
        QCOMPARE(caminos.lineas(), lineas);
        QVERIFY(!caminos.alcanzable(0, 4));
        QCOMPARE(caminos.camino(0, 3), QStringList({"a", "x > 3 && a"}));

        QTemporaryDir dir;
        const QString ruta = dir.filePath("p.vro");
        QVERIFY(ProyectoDescrito::escribir(ruta, proyecto));
        const TestSupport::CliResult salida = TestSupport::runCli({"verify", "--caminos", ruta});
        QCOMPARE(salida.exitCode, 1);
        QVERIFY2(
            salida.out.endsWith("\nCaminos desde el reset\n    " + lineas.join("\n    ").toUtf8() + "\n"),
            salida.out.constData());
        QVERIFY(!TestSupport::runCli({"verify", ruta}).out.contains("Caminos"));
    }
};

QTEST_GUILESS_MAIN(TestVerificacion)
#include "tst_verificacion.moc"
