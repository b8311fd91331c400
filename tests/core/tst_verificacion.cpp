#include "descripcionproyecto.h"
#include "testsupport.h"
#include "usagerules.h"
#include "verificacion.h"
#include "xmlhandler.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

namespace {

struct Transicion
{
    int desde;
    int hasta;
    QString disparador;
    QString acciones;
};

struct Maquina
{
    QString nombre;
    QStringList estados;
    QVector<Transicion> transiciones;
    int inicial = 0;
    QString accionesIniciales = QString("");
};

struct ModeloPrueba
{
    QVector<Maquina> maquinas;
    QStringList eventos;
    QStringList acciones;
    QStringList variables;
};

// Loads the model into the document through its project file.
bool llenar(XmlHandler &xml, const ModeloPrueba &proyecto)
{
    DescripcionProyecto descripcion;
    descripcion.eventos = proyecto.eventos;
    descripcion.acciones = proyecto.acciones;
    descripcion.variables = proyecto.variables;
    for (const Maquina &m : proyecto.maquinas) {
        DescripcionProyecto::Maquina maquina{m.nombre, m.inicial, m.accionesIniciales, {}};
        for (const QString &estado : m.estados)
            maquina.estados.append({estado, {}});
        for (const Transicion &t : m.transiciones)
            maquina.estados[t.desde].transiciones.append({t.disparador, t.acciones, t.hasta});
        descripcion.maquinas.append(maquina);
    }
    return TestSupport::cargar(xml, descripcion.xml());
}

struct Resultado
{
    QStringList sinSalida, sinActivar, eventos, acciones, variables;
};

Resultado verificar(const ModeloPrueba &proyecto)
{
    XmlHandler xml;
    llenar(xml, proyecto);
    const Verificacion v(xml);
    return {v.estadosSinSalida(), v.estadosSinActivar(), v.eventosSinUtilizar(), v.accionesSinUtilizar(),
            v.variablesSinUtilizar()};
}

// The rules as written, one regular expression search per name and
// transition, to hold the verification's single pass against.
Resultado verificarDirecto(const ModeloPrueba &proyecto)
{
    QVector<bool> ev(proyecto.eventos.size()), ac(proyecto.acciones.size()), va(proyecto.variables.size());
    Resultado r;
    const QRegularExpression comparacion("\\=|\\!\\=|\\<|\\>");
    auto usar = [&](const QString &disparador, const QStringList &acciones) {
        for (const QString &parte :
             disparador.split(QRegularExpression("\\&\\&|\\|\\|"), Qt::SkipEmptyParts)) {
            const bool esComparacion = parte.contains(comparacion);
            auto palabra = [&parte](const QString &n) {
                return !n.isEmpty() &&
                       parte.contains(QRegularExpression("\\b" + QRegularExpression::escape(n) + "\\b"));
            };
            for (int i = 0; i < ev.size(); ++i)
                ev[i] = ev[i] || (!esComparacion && palabra(proyecto.eventos.at(i)));
            for (int i = 0; i < va.size(); ++i)
                va[i] = va[i] || (esComparacion && palabra(proyecto.variables.at(i)));
        }
        for (int i = 0; i < ac.size(); ++i)
            ac[i] = ac[i] || UsageRules::actionUsedLoosely(acciones, proyecto.acciones.at(i));
        for (int i = 0; i < va.size(); ++i)
            va[i] = va[i] || UsageRules::variableUsedInActions(acciones, proyecto.variables.at(i));
    };
    for (const Maquina &m : proyecto.maquinas) {
        QVector<bool> activado(m.estados.size()), salida(m.estados.size());
        for (const Transicion &t : m.transiciones) {
            if (t.desde != t.hasta) {
                activado[t.hasta] = true;
                salida[t.desde] = true;
            }
            usar(t.disparador, t.acciones.split(','));
        }
        activado[m.inicial] = true;
        usar("-", m.accionesIniciales.split(','));
        for (int i = 0; i < m.estados.size(); ++i) {
            const QString h = m.estados.at(i).toUpper() + " [" + m.nombre + "]";
            if (!activado.at(i))
                r.sinActivar << h;
            if (!salida.at(i))
                r.sinSalida << h;
        }
    }
    for (int i = 0; i < ev.size(); ++i)
        if (!ev.at(i))
            r.eventos << proyecto.eventos.at(i);
    for (int i = 0; i < ac.size(); ++i)
        if (!ac.at(i))
            r.acciones << proyecto.acciones.at(i);
    for (int i = 0; i < va.size(); ++i)
        if (!va.at(i))
            r.variables << proyecto.variables.at(i);
    return r;
}

// One machine of three states where every state is reached and left.
Maquina ciclo(const QString &disparador, const QString &acciones)
{
    return {
        "MdE1", {"a", "b", "c"}, {{0, 1, disparador, acciones}, {1, 2, "ev", ""}, {2, 0, "ev", ""}}, 0, ""};
}

} // namespace

Q_DECLARE_METATYPE(Maquina)

class TestVerificacion : public QObject
{
    Q_OBJECT

private slots:
    void estados_data()
    {
        QTest::addColumn<Maquina>("maquina");
        QTest::addColumn<QStringList>("sinSalida");
        QTest::addColumn<QStringList>("sinActivar");
        QTest::newRow("only self-transitions into a state")
            << Maquina{"MdE1", {"espera", "solo"}, {{0, 0, "ev", ""}, {1, 1, "ev", ""}, {1, 0, "ev", ""}}}
            << QStringList{"ESPERA [MdE1]"} << QStringList{"SOLO [MdE1]"};
        QTest::newRow("initial state reached from the marker only")
            << Maquina{"MdE1", {"inicio", "fin"}, {{0, 1, "ev", ""}, {1, 1, "ev", ""}}}
            << QStringList{"FIN [MdE1]"} << QStringList();
        QTest::newRow("only exit is a self-transition")
            << Maquina{"MdE1", {"a", "b"}, {{0, 1, "ev", ""}, {1, 1, "ev", ""}, {1, 1, "otro", ""}}}
            << QStringList{"B [MdE1]"} << QStringList();
        QTest::newRow("no transitions at all") << Maquina{"M", {"uno", "Dos"}, {}}
                                               << QStringList{"UNO [M]", "DOS [M]"} << QStringList{"DOS [M]"};
        QTest::newRow("initial state elsewhere") << Maquina{"M", {"a", "b"}, {{0, 1, "ev", ""}}, 1}
                                                 << QStringList{"B [M]"} << QStringList{"A [M]"};
    }
    void estados()
    {
        QFETCH(Maquina, maquina);
        QFETCH(QStringList, sinSalida);
        QFETCH(QStringList, sinActivar);
        const Resultado r = verificar({{maquina}, {"ev", "otro"}, {}, {}});
        QCOMPARE(r.sinSalida, sinSalida);
        QCOMPARE(r.sinActivar, sinActivar);
    }

    void dosMaquinas()
    {
        const Maquina primera{
            "MdE1", {"a", "b", "perdido"}, {{0, 1, "ev", ""}, {1, 0, "ev", ""}, {2, 0, "ev", ""}}};
        const Maquina segunda{"MdE2", {"x", "y"}, {{0, 1, "ev", ""}, {1, 0, "ev", ""}}};
        XmlHandler xml;
        QVERIFY(llenar(xml, {{primera, segunda}, {"ev"}, {}, {}}));
        const Verificacion v(xml);
        QCOMPARE(v.estadosSinActivar(), QStringList{"PERDIDO [MdE1]"});
        QVERIFY(v.estadosSinSalida().isEmpty());
        const std::vector<EntradaVerificacion> arbol = v.arbol();
        QCOMPARE(arbol.size(), size_t(4));
        QVERIFY(!arbol[0].conHallazgos());
        QVERIFY(arbol[1].conHallazgos());
        QVERIFY(!arbol[2].conHallazgos());
        QCOMPARE(arbol[3].texto, QString("Chequeo de transiciones en conflicto"));
        QVERIFY(!arbol[3].conHallazgos());
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
        const QStringList ninguno;
        QTest::newRow("event only inside a comparison")
            << "x > 3"
            << "" << QStringList{"x", "ev"} << ninguno << QStringList{"x"} << QStringList{"x"} << ninguno
            << ninguno;
        QTest::newRow("bare variable in a trigger") << "on && ev"
                                                    << "" << QStringList{"ev"} << ninguno << QStringList{"on"}
                                                    << ninguno << ninguno << QStringList{"on"};
        QTest::newRow("variable found anywhere in an action entry")
            << "ev"
            << "encender_led_on()" << QStringList{"ev"} << QStringList{"encender_led_on()"}
            << QStringList{"on"} << ninguno << ninguno << ninguno;
        QTest::newRow("action as a substring")
            << "ev"
            << "toggle_led()" << QStringList{"ev"} << QStringList{"led()", "toggle_led()", "apagar()"}
            << ninguno << ninguno << QStringList{"apagar()"} << ninguno;
        QTest::newRow("action test is case-sensitive")
            << "ev"
            << "LED()" << QStringList{"ev"} << QStringList{"led()"} << ninguno << ninguno
            << QStringList{"led()"} << ninguno;
        QTest::newRow("whole words only in triggers")
            << "botonera && t >= 30"
            << "" << QStringList{"boton", "botonera", "ev"} << ninguno << QStringList{"t", "te"}
            << QStringList{"boton"} << ninguno << QStringList{"te"};
        QTest::newRow("negation and groups") << "!(boton || t != 1) && !pulso"
                                             << "" << QStringList{"boton", "pulso", "ev"} << ninguno
                                             << QStringList{"t"} << ninguno << ninguno << ninguno;
        QTest::newRow("no catalogue") << "ev"
                                      << "" << ninguno << ninguno << ninguno << ninguno << ninguno << ninguno;
        QTest::newRow("names are not patterns")
            << "axb && ev"
            << "" << QStringList{"a.b", "ev"} << QStringList{"a.b()"} << QStringList{"[x"}
            << QStringList{"a.b"} << QStringList{"a.b()"} << QStringList{"[x"};
        // "(x)" is not a word: a blank and "(" are both non-word characters, so
        // no word boundary comes before it.
        QTest::newRow("odd names used as written")
            << "a.b && (x) > 1"
            << "f(1)(),y*=2" << QStringList{"a.b", "ev"} << QStringList{"f(1)()"} << QStringList{"(x)", "y*"}
            << ninguno << ninguno << QStringList{"(x)"};
        QTest::newRow("empty names from a hand-edited file")
            << "ev"
            << "" << QStringList{"ev"} << QStringList{""} << QStringList{""} << ninguno << ninguno << ninguno;
        QTest::newRow("assignment keeps its variable used")
            << "ev"
            << "cuenta += 1" << QStringList{"ev"} << ninguno << QStringList{"cuenta", "c"} << ninguno
            << ninguno << ninguno;
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
        const Resultado r =
            verificar({{ciclo(disparador, acciones)}, eventos, accionesDeclaradas, variables});
        QCOMPARE(r.eventos, eventosSinUso);
        QCOMPARE(r.acciones, accionesSinUso);
        QCOMPARE(r.variables, variablesSinUso);
    }

    // The initial transition's actions count, its trigger "-" uses nothing.
    void transicionInicial()
    {
        Maquina m = ciclo("ev", "");
        m.accionesIniciales = "reset(),n = 0";
        const Resultado r = verificar({{m}, {"ev"}, {"reset()"}, {"n"}});
        QVERIFY(r.acciones.isEmpty());
        QVERIFY(r.variables.isEmpty());
    }

    void sinEstadoInicial()
    {
        Maquina sin = ciclo("ev", "");
        sin.nombre = "MdE2";
        sin.inicial = -1;
        XmlHandler xml;
        QVERIFY(llenar(xml, {{ciclo("ev", ""), sin, sin}, {"nunca"}, {}, {}}));
        const Verificacion v(xml);
        QCOMPARE(v.maquinaSinEstadoInicial(), 1);
        QVERIFY(!v.hayHallazgos());
    }

    // A file of an earlier version keeps only the initial state's target; a
    // target naming no state is outside the format and ignored.
    void archivosAntiguosYDestinosRotos()
    {
        XmlHandler xml;
        QVERIFY(llenar(
            xml, {{Maquina{"M", {"a", "b"}, {{0, 1, "ev", ""}, {1, 0, "ev", ""}}, -1}}, {"ev"}, {}, {}}));
        xml.setContenidoInicial("idProxEstado", "estado0", "maquina0");
        xml.addNuevaTransicion("estado1", "tr1", "ev", "roto()", "estado9", "0,0", "0,0", "maquina0");
        xml.addNuevaAccion("roto()");
        const Verificacion v(xml);
        QCOMPARE(v.maquinaSinEstadoInicial(), -1);
        QVERIFY(v.estadosSinActivar().isEmpty());
        QCOMPARE(v.accionesSinUtilizar(), QStringList{"roto()"});
    }

    // Random projects whose names overlap, repeat and hold characters that
    // mean something in a pattern, checked against the rules as written.
    void igualQueLasReglasDirectas()
    {
        QRandomGenerator azar(20240305);
        const QStringList piezas{"a", "b", "ab", "x_1", "on", "(", ")", ".",
                                 "+", "*", "[",  "ñ",   "=",  "!", " "};
        auto nombre = [&]() {
            QString n;
            const int largo = 1 + azar.bounded(3);
            for (int i = 0; i < largo; ++i)
                n += piezas.at(azar.bounded(piezas.size()));
            return n.trimmed().isEmpty() ? QString("z") : n.trimmed();
        };
        auto lista = [&](int max) {
            QStringList l;
            for (int i = azar.bounded(max); i > 0; --i)
                l << nombre();
            return l;
        };
        const QStringList conectores{" && ", " || ", "&&", "|", "&"};
        const QStringList operadores{" == ", " > ", " <= ", " ", "!", "("};
        for (int ronda = 0; ronda < 200; ++ronda) {
            ModeloPrueba p{{}, lista(6), lista(6), lista(6)};
            for (int k = 1 + azar.bounded(2); k > 0; --k) {
                Maquina m{QString("M%1").arg(k), {}, {}, 0, ""};
                const int estados = 1 + azar.bounded(4);
                for (int i = 0; i < estados; ++i)
                    m.estados << QString("e%1").arg(i);
                m.inicial = azar.bounded(estados);
                m.accionesIniciales = azar.bounded(2) ? nombre() : QString("");
                for (int t = azar.bounded(6); t > 0; --t) {
                    QString disparador = nombre();
                    for (int c = azar.bounded(3); c > 0; --c)
                        disparador += conectores.at(azar.bounded(conectores.size())) + nombre() +
                                      operadores.at(azar.bounded(operadores.size())) + nombre();
                    QStringList acciones;
                    for (int a = azar.bounded(3); a >= 0; --a)
                        acciones << nombre() + operadores.at(azar.bounded(operadores.size())) + nombre();
                    m.transiciones.append(
                        {azar.bounded(estados), azar.bounded(estados), disparador, acciones.join(',')});
                }
                p.maquinas.append(m);
            }
            const Resultado rapido = verificar(p);
            const Resultado directo = verificarDirecto(p);
            QCOMPARE(rapido.sinSalida, directo.sinSalida);
            QCOMPARE(rapido.sinActivar, directo.sinActivar);
            QCOMPARE(rapido.eventos, directo.eventos);
            QCOMPARE(rapido.acciones, directo.acciones);
            QCOMPARE(rapido.variables, directo.variables);
        }
    }
};

QTEST_GUILESS_MAIN(TestVerificacion)
#include "tst_verificacion.moc"
