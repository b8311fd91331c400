#include "generadorcodigo.h"
#include "programac.h"
#include "proyectodescrito.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// The generated C is compiled for the host and for a Cortex-M3, and run on
// the host against scripted events to check that it follows the diagram.
namespace {

using ProyectoDescrito::documento;

// Every example shipped with Vireo, then the test projects.
QStringList proyectos()
{
    QStringList rutas;
    QDirIterator ejemplos(QStringLiteral(VIREO_SOURCE_DIR "/examples"), {QStringLiteral("*.vro")},
                          QDir::Files, QDirIterator::Subdirectories);
    while (ejemplos.hasNext())
        rutas.append(ejemplos.next());
    rutas.sort();
    rutas.append(TestSupport::dataPath(QStringLiteral("codegen/dos_maquinas.vro")));
    rutas.append(TestSupport::dataPath(QStringLiteral("codegen/una_maquina.vro")));
    rutas.append(TestSupport::dataPath(QStringLiteral("codegen/sin_maquinas.vro")));
    return rutas;
}

QString ejemplo(const char *nombre)
{
    return QStringLiteral(VIREO_SOURCE_DIR "/examples/") + QLatin1String(nombre);
}

} // namespace

class TstCodegenCompilar : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void compila_data();
    void compila();
    void pasos_data();
    void pasos();
    void textosHostiles_data();
    void textosHostiles();

private:
    QString carpetaNueva();

    QTemporaryDir m_temporal;
    int m_carpetas = 0;
    QHash<int, QStringList> m_simbolosLimpios; // by style, of the clean project of textosHostiles
};

void TstCodegenCompilar::initTestCase()
{
    QVERIFY(m_temporal.isValid());
    if (QStandardPaths::findExecutable(QStringLiteral("gcc")).isEmpty())
        QFAIL("gcc no está instalado");
}

QString TstCodegenCompilar::carpetaNueva()
{
    return m_temporal.filePath(QStringLiteral("gen%1").arg(m_carpetas++));
}

void TstCodegenCompilar::compila_data()
{
    QTest::addColumn<QString>("proyecto");
    QTest::addColumn<int>("estilo");
    QTest::addColumn<QString>("compilador");
    const QStringList compiladores = {QStringLiteral("gcc"), QStringLiteral("arm-none-eabi-gcc")};
    for (const QString &proyecto : proyectos()) {
        for (const QString &compilador : compiladores) {
            const QString nombre = QFileInfo(proyecto).completeBaseName();
            QTest::addRow("%s switch %s", qPrintable(nombre), qPrintable(compilador))
                << proyecto << int(EstiloCodigo::Switch) << compilador;
            QTest::addRow("%s ptr %s", qPrintable(nombre), qPrintable(compilador))
                << proyecto << int(EstiloCodigo::PunteroAFuncion) << compilador;
        }
    }
}

void TstCodegenCompilar::compila()
{
    QFETCH(QString, proyecto);
    QFETCH(int, estilo);
    QFETCH(QString, compilador);
    if (QStandardPaths::findExecutable(compilador).isEmpty())
        QSKIP("compilador no instalado");
    auto datos = documento(proyecto);
    QVERIFY(datos);
    const QString carpeta = carpetaNueva();
    QVERIFY(GeneradorCodigo(*datos).generar(EstiloCodigo(estilo), carpeta));
    QStringList opciones = {QStringLiteral("-Wall"), QStringLiteral("-Werror=implicit-function-declaration")};
    if (compilador.startsWith(QLatin1String("arm")))
        opciones << QStringLiteral("-mcpu=cortex-m3") << QStringLiteral("-mthumb");
    QString error;
    const QStringList simbolos =
        TestSupport::ProgramaC::simbolosDefinidos(carpeta, compilador, opciones, &error);
    QVERIFY2(!simbolos.isEmpty(), qPrintable(error));
}

// Each row: a project, a style, the steps (see ProgramaC) and the trace the
// diagram means: a machine takes at most one transition per step, the first
// of its state whose trigger holds.
void TstCodegenCompilar::pasos_data()
{
    QTest::addColumn<QString>("proyecto");
    QTest::addColumn<int>("estilo");
    QTest::addColumn<QByteArray>("pasos");
    QTest::addColumn<QByteArray>("esperado");
    const int sw = int(EstiloCodigo::Switch);
    const int ptr = int(EstiloCodigo::PunteroAFuncion);
    auto ambos = [=](const char *nombre, const QString &proyecto, const QByteArray &pasos,
                     const QByteArray &traza) {
        QTest::addRow("%s switch", nombre) << proyecto << sw << pasos << traza;
        QTest::addRow("%s ptr", nombre) << proyecto << ptr << pasos << traza;
    };

    // LIMITE is 0. Step 6 has temp > LIMITE and the self-loop both true: only
    // the first one fires. A forced state outside the cases goes back to the
    // initial state and runs nothing.
    QTest::newRow("dos maquinas switch")
        << TestSupport::dataPath(QStringLiteral("codegen/dos_maquinas.vro")) << sw
        << QByteArray("-\nboton\npulso\npulso\npulso\npulso temp=5\nboton\n@0=99 boton\n@0=-1 boton\n")
        << QByteArray("APAGADO OSCURO | | cuenta=0 temp=0\n"
                      "ENCENDIDO OSCURO | encender | cuenta=0 temp=0\n"
                      "ENCENDIDO OSCURO | | cuenta=1 temp=0\n"
                      "ENCENDIDO OSCURO | | cuenta=2 temp=0\n"
                      "ENCENDIDO CLARO | encender apagar | cuenta=0 temp=0\n"
                      "APAGADO CLARO | apagar | cuenta=0 temp=5\n"
                      "ENCENDIDO CLARO | encender | cuenta=0 temp=5\n"
                      "APAGADO CLARO | | cuenta=0 temp=5\n"
                      "APAGADO CLARO | | cuenta=0 temp=5\n");
    // The dispatcher sends any state outside the table, negative included,
    // back to the initial state without running a state function.
    QTest::newRow("una maquina ptr") << TestSupport::dataPath(QStringLiteral("codegen/una_maquina.vro"))
                                     << ptr
                                     << QByteArray(
                                            "-\nboton\npulso\npulso temp=5\n@0=-1 boton\n@0=2 boton\nboton\n")
                                     << QByteArray("APAGADO | | cuenta=0 temp=0\n"
                                                   "ENCENDIDO | encender | cuenta=0 temp=0\n"
                                                   "ENCENDIDO | | cuenta=1 temp=0\n"
                                                   "APAGADO | apagar | cuenta=1 temp=5\n"
                                                   "APAGADO | | cuenta=1 temp=5\n"
                                                   "APAGADO | | cuenta=1 temp=5\n"
                                                   "ENCENDIDO | encender | cuenta=0 temp=5\n");

    // The door: the reset's actions (motor_parar(), intentos = 0) run once,
    // before the first step. An obstacle while intentos is 2 reopens it (intentos becomes
    // 3, which makes CERRANDO's second trigger true in the same step, but
    // that step is over); the next obstacle blocks it.
    const QByteArray pasosPuerta = "ev_boton\nev_fin_carrera\nev_boton ev_tiempo\nev_tiempo\n"
                                   "intentos=2 ev_obstaculo\nev_fin_carrera\nev_tiempo\nev_obstaculo\n"
                                   "ev_boton\nev_fin_carrera\n";
    const QByteArray trazaPuerta = "ABRIENDO | motor_parar motor_abrir | intentos=0\n"
                                   "ABIERTA | motor_parar iniciar_timer | intentos=0\n"
                                   "ABIERTA | iniciar_timer | intentos=0\n"
                                   "CERRANDO | motor_cerrar | intentos=0\n"
                                   "ABRIENDO | motor_abrir | intentos=3\n"
                                   "ABIERTA | motor_parar iniciar_timer | intentos=3\n"
                                   "CERRANDO | motor_cerrar | intentos=3\n"
                                   "BLOQUEADA | motor_parar | intentos=3\n"
                                   "CERRANDO | motor_cerrar | intentos=0\n"
                                   "CERRADA | motor_parar | intentos=0\n";
    ambos("puerta", ejemplo("puerta.vro"), pasosPuerta, trazaPuerta);

    // The first transition's assignment makes the second trigger true: the
    // second fires only on a later step.
    const QString habilita =
        QStringLiteral("maquina m\ninicial A\n"
                       "A -> B : ev && x < 1 / x = 1\nA -> C : x >= 1 / f()\nB -> A : ev\n");
    ambos("asignacion habilita", habilita, "ev\nev\n-\n", "B | | x=1\nA | | x=1\nC | f | x=1\n");

    // "!v_x >= v_x" means "not (v_x >= v_x)", never true; C alone would read
    // "(!v_x) >= v_x". A constant is defined under the name the trigger uses.
    const QString negada = QStringLiteral("maquina m\ninicial A\n"
                                          "A -> B : !v_x >= v_x / f()\nA -> C : !v_x >= 3 / g()\n"
                                          "C -> A : v_x >= tope / f()\nconstantes tope");
    ambos("comparacion negada", negada, "-\n-\nv_x=3\n", "C | g | v_x=0\nA | f | v_x=0\nA | | v_x=3\n");
}

void TstCodegenCompilar::pasos()
{
    QFETCH(QString, proyecto);
    QFETCH(int, estilo);
    QFETCH(QByteArray, pasos);
    QFETCH(QByteArray, esperado);
    auto datos = documento(proyecto);
    QVERIFY(datos);
    TestSupport::ProgramaC programa;
    QVERIFY2(programa.compilar(*datos, EstiloCodigo(estilo), carpetaNueva()), qPrintable(programa.error()));
    const QByteArray traza = programa.correr(pasos);
    QVERIFY2(traza == esperado, qPrintable(TestSupport::diffReport(esperado, traza)));
}

// Text from a hand-edited project file in every place the C is made from.
// Each row either lists why the C is wrong, or gives C that compiles with no
// symbol beyond those of the clean project and of the names it declares.
void TstCodegenCompilar::textosHostiles_data()
{
    QTest::addColumn<QString>("lugar");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("estilo");
    QTest::addColumn<QString>("motivo");     // a fragment of the listed reason; empty: no reason
    QTest::addColumn<QStringList>("nuevos"); // symbols the declared text itself brings
    const QString comentario = QStringLiteral("tiene marcas de comentario de C");
    const QString caracter = QStringLiteral("que no puede ir ahí en el código C");
    const QString parentesis = QStringLiteral("tiene paréntesis sin pareja");
    const QString salto = QStringLiteral("tiene saltos de línea");
    const QString coma = QStringLiteral("lleva una coma");
    const QString identificador = QStringLiteral("no es un identificador C válido");
    const struct
    {
        const char *lugar, *texto;
        QString motivo;
        QStringList nuevos;
    } filas[] = {
        {"autores", "ANA */ int inyectado = 1; /* y", {}, {}},
        {"autores", "ANA\nint inyectado = 1;\r\n#define boton 1", {}, {}},
        {"modificacion", "01-02-2024 */ int inyectado; /*", {}, {}},
        {"nombre", "P */ int inyectado; /*", {}, {}},
        {"disparador", "ev /* x", comentario, {}},
        {"disparador", "ev ) { } int inyectado = 1; void g(void) { if( ev", parentesis, {}},
        {"disparador", "ev && x > 1; int inyectado", caracter, {}},
        {"disparador", "ev\n#define ev 1", salto, {}},
        {"disparador", "(ev", parentesis, {}},
        {"disparador", "ev && x > 1,2", coma, {}},
        {"disparador", "ev && x > 1$", caracter, {}},
        {"disparador", "ev ev", QStringLiteral("no se puede leer"), {}},
        {"acciones", "f(),x = 1\n#include <stdio.h>", salto, {}},
        {"acciones", "f(); } int inyectado; void g(void) { f()", caracter, {}},
        {"acciones", "x = 1,2", coma, {}},
        {"acciones", "f(1)", QStringLiteral("no es una llamada a una acción sin argumentos"), {}},
        {"inicial", "f() /* x", comentario, {}},
        {"evento", "ev2 */ int inyectado; /*", identificador, {}},
        {"accion", "g() ; int inyectado", {}, {QStringLiteral("g")}},
        {"variable", "y = 1; int inyectado", identificador, {}},
        {"constante", "tope2 */ int inyectado; /*", identificador, {}},
        {"estado", "B */ int inyectado; /*", identificador, {}},
        {"maquina", "m(void) { } int inyectado; void n", identificador, {}},
    };
    for (const auto &fila : filas) {
        // The reasons are the same for both styles; only the C itself differs.
        for (const EstiloCodigo estilo : {EstiloCodigo::Switch, EstiloCodigo::PunteroAFuncion}) {
            if (!fila.motivo.isEmpty() && estilo == EstiloCodigo::PunteroAFuncion)
                continue;
            QTest::addRow("%s %s %s", fila.lugar, estilo == EstiloCodigo::Switch ? "switch" : "ptr",
                          qPrintable(QString::fromUtf8(fila.texto).simplified()))
                << QString::fromLatin1(fila.lugar) << QString::fromUtf8(fila.texto) << int(estilo)
                << fila.motivo << fila.nuevos;
        }
    }
}

void TstCodegenCompilar::textosHostiles()
{
    QFETCH(QString, lugar);
    QFETCH(QString, texto);
    QFETCH(int, estilo);
    QFETCH(QString, motivo);
    QFETCH(QStringList, nuevos);
    const QString base = QStringLiteral("maquina m\ninicial A / f()\nA -> B : ev && x > 1 / f(),x = 2\n"
                                        "B -> A : ev\nconstantes tope");
    auto datos = documento(base);
    QVERIFY(datos);
    const QString m = QStringLiteral("maquina0");
    const QString e = QStringLiteral("estado0");
    const QString tr = QStringLiteral("tr0");
    if (lugar == QLatin1String("autores") || lugar == QLatin1String("modificacion") ||
        lugar == QLatin1String("nombre"))
        datos->setContenidoGeneral(lugar, texto);
    else if (lugar == QLatin1String("disparador"))
        datos->setContenidoTransicion(e, tr, QStringLiteral("idEvento"), texto, m);
    else if (lugar == QLatin1String("acciones"))
        datos->setContenidoTransicion(e, tr, QStringLiteral("idAcciones"), texto, m);
    else if (lugar == QLatin1String("inicial"))
        datos->setContenidoInicial(QStringLiteral("idAcciones"), texto, m);
    else if (lugar == QLatin1String("evento"))
        datos->addNuevoEvento(texto);
    else if (lugar == QLatin1String("accion"))
        datos->addNuevaAccion(texto);
    else if (lugar == QLatin1String("variable"))
        datos->addNuevaVariable(texto);
    else if (lugar == QLatin1String("constante"))
        datos->addNuevaConstante(texto);
    else if (lugar == QLatin1String("estado"))
        datos->setContenidoEstado(e, QStringLiteral("diagrama"), QStringLiteral("nombre"), texto, m);
    else
        datos->setContenidoMaquina(m, QStringLiteral("nombre"), texto);

    const GeneradorCodigo generador(*datos);
    const QString motivos = generador.problemas(EstiloCodigo(estilo)).join(QLatin1Char('\n'));
    if (!motivo.isEmpty()) {
        QVERIFY2(motivos.contains(motivo), qPrintable(motivos));
        return;
    }
    QVERIFY2(motivos.isEmpty(), qPrintable(motivos));
    const QStringList opciones = {QStringLiteral("-Wall")};
    QString error;
    QStringList &esperados = m_simbolosLimpios[estilo];
    if (esperados.isEmpty()) {
        const QString limpia = carpetaNueva();
        QVERIFY(GeneradorCodigo(*documento(base)).generar(EstiloCodigo(estilo), limpia));
        esperados =
            TestSupport::ProgramaC::simbolosDefinidos(limpia, QStringLiteral("gcc"), opciones, &error);
        QVERIFY2(!esperados.isEmpty(), qPrintable(error));
    }
    const QString carpeta = carpetaNueva();
    QVERIFY(generador.generar(EstiloCodigo(estilo), carpeta));
    QStringList simbolos =
        TestSupport::ProgramaC::simbolosDefinidos(carpeta, QStringLiteral("gcc"), opciones, &error);
    QVERIFY2(!simbolos.isEmpty(), qPrintable(error));
    for (const QString &simbolo : esperados + nuevos)
        simbolos.removeAll(simbolo);
    QVERIFY2(simbolos.isEmpty(), qPrintable(simbolos.join(QLatin1Char(' '))));
}

QTEST_GUILESS_MAIN(TstCodegenCompilar)
#include "tst_codegen_compilar.moc"
