#include "generadorcodigo.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

std::unique_ptr<XmlHandler> cargar(const QString &relativo)
{
    auto datos = std::make_unique<XmlHandler>();
    QFile archivo(TestSupport::dataPath(relativo));
    if (!archivo.open(QIODevice::ReadOnly) || !datos->load(&archivo))
        return nullptr;
    return datos;
}

// A new project holding one machine "motor" with the given states; the
// first state is the initial one.
std::unique_ptr<XmlHandler> proyectoMotor(const QStringList &estados)
{
    auto datos = std::make_unique<XmlHandler>(QStringLiteral("P"), XmlHandler::NUEVO_XML_DATOS);
    datos->setContenidoGeneral(QStringLiteral("autores"), QStringLiteral("ANA"));
    datos->setContenidoGeneral(QStringLiteral("modificacion"), QStringLiteral("01-02-2024 10:00:00"));
    datos->addNuevaConstante(QStringLiteral("TRUE"));
    datos->addNuevaConstante(QStringLiteral("FALSE"));
    datos->addNuevaMaquina(QStringLiteral("maquina0"));
    datos->addInfoMaquina(QStringLiteral("maquina0"), QStringLiteral("motor"));
    for (int i = 0; i < estados.size(); ++i) {
        const QString id = QStringLiteral("estado%1").arg(i);
        datos->addNuevoEstado(id);
        datos->addInfoEstado(id, estados.at(i), QStringLiteral("#ffffff"), QStringLiteral("0"),
                             QStringLiteral("0"), QStringLiteral("120"), QStringLiteral("60"));
    }
    datos->setInfoEstadoInicial(QStringLiteral("-240"), QStringLiteral("-160"), QString(),
                                QStringLiteral("estado0"), QStringLiteral("0,0"), QStringLiteral("0,0"));
    return datos;
}

} // namespace

class TstCodegen : public QObject
{
    Q_OBJECT

private slots:
    void disparador_data();
    void disparador();
    void bloqueSwitchDelEjemplo();
    void accionesSwitch_data();
    void accionesSwitch();
    void accionesPuntero_data();
    void accionesPuntero();
    void funcionDeEstadoDelEjemplo();
    void maquinaSwitchDelEjemplo();
    void variables();
    void aviso();
    void archivosDoradosDeAmbosEstilos_data();
    void archivosDoradosDeAmbosEstilos();
    void problemas_data();
    void problemas();
    void transicionesRotas();
    void escrituraFallidaSeInforma();
    void regenerarReemplazaArchivos();
    void sinMaquinas();
    void catalogosRaros();
    void tablaDeUnSoloEstado();
    void estadosRepetidosSeNumeranAmbos();
};

void TstCodegen::disparador_data()
{
    QTest::addColumn<QString>("disparador");
    QTest::addColumn<QString>("condicion");
    QTest::newRow("evento") << "boton"
                            << "boton( )";
    QTest::newRow("negado") << "!boton"
                            << "!boton( )";
    QTest::newRow("comparacion") << "temp > 30"
                                 << "temp > 30";
    QTest::newRow("conjuncion") << "a && b"
                                << "a( ) && b( )";
    QTest::newRow("agrupado") << "(a || b)"
                              << "(a( ) || b( ))";
    QTest::newRow("mixto") << "!(a || t > 3)"
                           << "!(a( ) || t > 3)";
    QTest::newRow("comparacion negada") << "x != FALSE && ev_1"
                                        << "x != FALSE && ev_1( )";
    QTest::newRow("constante en comparacion") << "(n <= LIMITE) || !(c)"
                                              << "(n <= LIMITE) || !(c( ))";
    QTest::newRow("comparacion negada") << "!v_x >= 3"
                                        << "!( v_x >= 3 )";
    QTest::newRow("comparacion negada en grupo") << "a || (!t < 3) && !(!n == 1)"
                                                 << "a( ) || (!( t < 3 )) && !(!( n == 1 ))";
}

void TstCodegen::disparador()
{
    QFETCH(QString, disparador);
    QFETCH(QString, condicion);
    QCOMPARE(GeneradorCodigo::traducirDisparador(disparador), condicion);
    const QString bloque =
        GeneradorCodigo::agregarTransicion(disparador, QString(), QStringLiteral("X"), 0, 0, 0);
    QCOMPARE(bloque.section(QLatin1Char('\n'), 0, 0),
             QStringLiteral("\t\t\t\tif( ") + condicion + QStringLiteral(" )"));
    const QString ptr = GeneradorCodigo::agregarFuncionPtrFuncion(disparador, QString(), QStringLiteral("X"));
    QCOMPARE(ptr.section(QLatin1Char('\n'), 0, 0),
             QStringLiteral("\tif( ") + condicion + QStringLiteral(" )"));
}

void TstCodegen::bloqueSwitchDelEjemplo()
{
    const QString esperado = QStringLiteral("\t\t\t\tif( boton( ) )\n"
                                            "\t\t\t\t{\n"
                                            "\t\t\t\t\t#ifdef DEPURAR\n"
                                            "\t\t\t\t\t\tLog( 0 , 1 , 0 );\n"
                                            "\t\t\t\t\t#endif\n"
                                            "\n"
                                            "\t\t\t\t\tencender( );\n"
                                            "\t\t\t\t\tcuenta = 0;\n"
                                            "\n"
                                            "\t\t\t\t\testado = APAGADO;\t\n"
                                            "\t\t\t\t\tbreak;\n"
                                            "\t\t\t\t}\n"
                                            " \n");
    const QString bloque = GeneradorCodigo::agregarTransicion(
        QStringLiteral("boton"), QStringLiteral("encender(),cuenta = 0"), QStringLiteral("APAGADO"), 0, 1, 0);
    QVERIFY2(bloque == esperado, qPrintable(TestSupport::diffReport(esperado.toLatin1(), bloque.toLatin1())));
}

void TstCodegen::accionesSwitch_data()
{
    QTest::addColumn<QString>("acciones");
    QTest::addColumn<QString>("lineaDeAcciones");
    QTest::newRow("una accion") << "encender()"
                                << "\t\t\t\t\tencender();\n";
    QTest::newRow("una asignacion") << "n = 2"
                                    << "\t\t\t\t\tn = 2;\n";
    QTest::newRow("vacia") << ""
                           << "\t\t\t\t\t\n";
    QTest::newRow("termina en llamada") << "n += 1,apagar()"
                                        << "\t\t\t\t\tn += 1;\n\t\t\t\t\tapagar( );\n\t\t\t\t\t\n";
}

void TstCodegen::accionesSwitch()
{
    QFETCH(QString, acciones);
    QFETCH(QString, lineaDeAcciones);
    const QString bloque =
        GeneradorCodigo::agregarTransicion(QStringLiteral("e"), acciones, QStringLiteral("B"), 2, 3, 4);
    const QString cabeza = QStringLiteral("\t\t\t\tif( e( ) )\n\t\t\t\t{\n\t\t\t\t\t#ifdef DEPURAR\n"
                                          "\t\t\t\t\t\tLog( 2 , 3 , 4 );\n\t\t\t\t\t#endif\n\n");
    const QString cola = QStringLiteral("\t\t\t\t\testado = B;\t\n\t\t\t\t\tbreak;\n\t\t\t\t}\n \n");
    QCOMPARE(bloque, cabeza + lineaDeAcciones + cola);
}

void TstCodegen::accionesPuntero_data()
{
    QTest::addColumn<QString>("acciones");
    QTest::addColumn<QString>("cuerpo");
    QTest::newRow("una accion") << "encender()"
                                << "\t\t encender(); \n\t\t return;\n\t}\n";
    QTest::newRow("vacia") << ""
                           << "\n\t\t return;\n\t}\n";
    QTest::newRow("varias") << "a(),n = 1,b()"
                            << "\t\t a( );\n\t\n\t\t n = 1;\n\t\n\t\t b( ); \n\t\t return;\n\t}\n";
    QTest::newRow("termina en asignacion") << "a(),n -= 1"
                                           << "\t\t a( );\n\t\n\t\t n -= 1; \n\t\t return;\n\t}\n";
}

void TstCodegen::accionesPuntero()
{
    QFETCH(QString, acciones);
    QFETCH(QString, cuerpo);
    QCOMPARE(GeneradorCodigo::agregarFuncionPtrFuncion(QStringLiteral("e"), acciones, QStringLiteral("B")),
             QStringLiteral("\tif( e( ) )\n\t{\n\t\t estado = B;\n") + cuerpo);
}

void TstCodegen::funcionDeEstadoDelEjemplo()
{
    auto datos = proyectoMotor({QStringLiteral("apagado"), QStringLiteral("encendido")});
    datos->addNuevaTransicion(QStringLiteral("estado0"), QStringLiteral("tr0"), QStringLiteral("boton"),
                              QStringLiteral("encender()"), QStringLiteral("estado1"), QStringLiteral("0,0"),
                              QStringLiteral("0,0"));
    const QString esperado = QStringLiteral("/**\n"
                                            "*\t\\fn static void funcion_apagado ( void )\n"
                                            "*\t\\brief Descripcion\n"
                                            "*\t\\details Detalles\n"
                                            "*\t\\author ANA\n"
                                            "*\t\\date 01-02-2024 10:00:00\n"
                                            "*/\n"
                                            "static void funcion_apagado ( void )\n"
                                            "{\n"
                                            "\tif( boton( ) )\n"
                                            "\t{\n"
                                            "\t\t estado = ENCENDIDO;\n"
                                            "\t\t encender(); \n"
                                            "\t\t return;\n"
                                            "\t}\n"
                                            "}\n"
                                            "\n");
    const QString funciones = GeneradorCodigo(*datos).textoFuncionesEstados();
    QVERIFY2(funciones.startsWith(esperado),
             qPrintable(TestSupport::diffReport(esperado.toLatin1(), funciones.toLatin1())));
    QVERIFY(funciones.endsWith(QStringLiteral("static void funcion_encendido ( void )\n{\n}\n\n")));
}

void TstCodegen::maquinaSwitchDelEjemplo()
{
    auto datos = proyectoMotor({QStringLiteral("apagado"), QStringLiteral("encendido")});
    const QString esperado = QStringLiteral("void maquina_motor()\n"
                                            "{\n"
                                            "\t\tstatic int estado = APAGADO;\n"
                                            "\n"
                                            "\t\tswitch(estado)\n"
                                            "\t\t{\n"
                                            "\t\t\tcase APAGADO:\n"
                                            "\t\t\t\n"
                                            "\n"
                                            "\t\t\t\tbreak;\n"
                                            "\t\t\t\n"
                                            "\t\t\tcase ENCENDIDO:\n"
                                            "\t\t\t\n"
                                            "\n"
                                            "\t\t\t\tbreak;\n"
                                            "\t\t\t\n"
                                            "\t\t\tdefault: estado = APAGADO;\n"
                                            "\t\t}\n"
                                            "\n"
                                            "\n"
                                            "}");
    QCOMPARE(GeneradorCodigo(*datos).textoMaquinaSwitch(0), esperado);
}

void TstCodegen::variables()
{
    const QStringList nombres = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    QCOMPARE(GeneradorCodigo::DeclararVariables(nombres),
             QStringLiteral("\n\n\nint a = 0 ;int b = 0 ;int c = 0 ;"));
    QCOMPARE(GeneradorCodigo::DeclararVariablesExternas(nombres),
             QStringLiteral("\n\n\nextern int a;extern int b;extern int c;"));
    QCOMPARE(GeneradorCodigo::DeclararVariables({}), QString());
    QCOMPARE(GeneradorCodigo::DeclararVariablesExternas({}), QString());
    QCOMPARE(GeneradorCodigo::ObtenerCantParentesis(QStringLiteral("int f( void );(")), 2);
}

void TstCodegen::aviso()
{
    const QString texto = GeneradorCodigo::agregarTextoDeAdvertencia();
    const QStringList lineas = texto.split(QLatin1Char('\n'));
    QCOMPARE(lineas.size(), 26); // 25 lines, each ended by "\n"
    QCOMPARE(lineas.first(), QString());
    QCOMPARE(lineas.at(1), QLatin1Char('/') + QString(132, QLatin1Char('*')));
    QCOMPARE(lineas.at(24), QString(134, QLatin1Char('*')) + QLatin1Char('/'));
    QCOMPARE(lineas.at(21), QStringLiteral(" *\t"));
    QVERIFY(texto.contains(QStringLiteral("VIREO")));
    QVERIFY(!texto.contains(QLatin1Char('\r')));
    // Accented letters come through as single Latin-1 bytes.
    QVERIFY(texto.toLatin1().contains("GARANT\xcd"));
}

void TstCodegen::archivosDoradosDeAmbosEstilos_data()
{
    QTest::addColumn<int>("estilo");
    QTest::addColumn<QString>("carpetaDorada");
    QTest::newRow("switch") << int(EstiloCodigo::Switch) << "switch";
    QTest::newRow("ptrFuncion") << int(EstiloCodigo::PunteroAFuncion) << "ptrFuncion";
}

void TstCodegen::archivosDoradosDeAmbosEstilos()
{
    QFETCH(int, estilo);
    QFETCH(QString, carpetaDorada);
    auto datos = cargar(QStringLiteral("codegen/dos_maquinas.vro"));
    QVERIFY(datos);
    QTemporaryDir temporal;
    const QString carpeta = temporal.path() + QStringLiteral("/sub/salida");
    QVERIFY(GeneradorCodigo(*datos).generar(EstiloCodigo(estilo), carpeta));
    const QStringList nombres = {QStringLiteral("main.c"), QStringLiteral("AP_MdeE.h"),
                                 QStringLiteral("AP_MdeE.c"), QStringLiteral("AP_FuncionesMdeE.h"),
                                 QStringLiteral("AP_FuncionesMdeE.c")};
    QCOMPARE(QDir(carpeta).entryList(QDir::Files).size(), nombres.size());
    for (const QString &nombre : nombres) {
        const QByteArray esperado = TestSupport::readFile(
            TestSupport::dataPath(QStringLiteral("codegen/golden/%1/%2").arg(carpetaDorada, nombre)));
        QVERIFY(!esperado.isEmpty());
        const QByteArray obtenido = TestSupport::readFile(carpeta + QLatin1Char('/') + nombre);
        QVERIFY2(esperado == obtenido,
                 qPrintable(nombre + QStringLiteral(": ") + TestSupport::diffReport(esperado, obtenido)));
    }
}

void TstCodegen::problemas_data()
{
    QTest::addColumn<QStringList>("estados");
    QTest::addColumn<QString>("evento");
    QTest::addColumn<QString>("variable");
    QTest::addColumn<bool>("segundaMaquina");
    QTest::addColumn<int>("estilo");
    QTest::addColumn<QString>("fragmento");
    const int sw = int(EstiloCodigo::Switch);
    const int ptr = int(EstiloCodigo::PunteroAFuncion);
    QTest::newRow("sano") << QStringList{"a", "b"} << "ev"
                          << "v" << false << ptr << "";
    QTest::newRow("enie") << QStringList{"año"} << "ev"
                          << "v" << false << sw
                          << "El estado «año» de la máquina «motor» no es un identificador C válido";
    QTest::newRow("digito inicial") << QStringList{"1a"} << "ev"
                                    << "v" << false << sw
                                    << "El estado «1a» de la máquina «motor» no es un identificador C válido";
    QTest::newRow("guion") << QStringList{"a-b"} << "ev"
                           << "v" << false << sw
                           << "El estado «a-b» de la máquina «motor» no es un identificador C válido";
    QTest::newRow("palabra reservada")
        << QStringList{"a"} << "while"
        << "v" << false << sw << "El evento «while» es una palabra reservada de C.";
    QTest::newRow("estado repetido") << QStringList{"Listo"} << "ev"
                                     << "v" << true << sw
                                     << "Las máquinas «motor» y «bomba» tienen un estado llamado LISTO";
    QTest::newRow("varias maquinas en ptr")
        << QStringList{"a"} << "ev"
        << "v" << true << ptr << "ejecuta solo la primera máquina (motor)";
    QTest::newRow("evento como estado")
        << QStringList{"on"} << "ON"
        << "v" << false << sw
        << "El evento «ON» usa el nombre ON, que en el código generado ya es el "
           "estado «on» de la máquina «motor».";
    QTest::newRow("variable estado")
        << QStringList{"a"} << "ev"
        << "estado" << false << ptr
        << "La variable «estado» usa el nombre estado, que en el código generado ya "
           "es la variable que guarda el estado.";
    QTest::newRow("evento y variable")
        << QStringList{"a"} << "nivel"
        << "nivel" << false << sw
        << "La variable «nivel» usa el nombre nivel, que en el código generado ya "
           "es el evento «nivel».";
}

void TstCodegen::problemas()
{
    QFETCH(QStringList, estados);
    QFETCH(QString, evento);
    QFETCH(QString, variable);
    QFETCH(bool, segundaMaquina);
    QFETCH(int, estilo);
    QFETCH(QString, fragmento);
    auto datos = proyectoMotor(estados);
    datos->addNuevoEvento(evento);
    datos->addNuevaVariable(variable);
    if (segundaMaquina) {
        datos->addNuevaMaquina(QStringLiteral("maquina1"));
        datos->addInfoMaquina(QStringLiteral("maquina1"), QStringLiteral("bomba"));
        datos->addNuevoEstado(QStringLiteral("estado0"), QStringLiteral("maquina1"));
        datos->addInfoEstado(QStringLiteral("estado0"), QStringLiteral("listo"), QStringLiteral("#ffffff"),
                             QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("120"),
                             QStringLiteral("60"), QStringLiteral("maquina1"));
        datos->setInfoEstadoInicial(QStringLiteral("0"), QStringLiteral("0"), QString(),
                                    QStringLiteral("estado0"), QStringLiteral("0,0"), QStringLiteral("0,0"),
                                    QStringLiteral("maquina1"));
    }
    const QStringList problemas = GeneradorCodigo(*datos).problemas(EstiloCodigo(estilo));
    if (fragmento.isEmpty()) {
        QVERIFY2(problemas.isEmpty(), qPrintable(problemas.join(QLatin1Char('\n'))));
        return;
    }
    QCOMPARE(problemas.size(), 1);
    QVERIFY2(problemas.first().contains(fragmento), qPrintable(problemas.first()));
}

void TstCodegen::transicionesRotas()
{
    auto datos = proyectoMotor({QStringLiteral("a"), QStringLiteral("b")});
    datos->addNuevaTransicion(QStringLiteral("estado0"), QStringLiteral("tr0"), QString(), QString(),
                              QStringLiteral("estado1"), QStringLiteral("0,0"), QStringLiteral("0,0"));
    datos->addNuevaTransicion(QStringLiteral("estado0"), QStringLiteral("tr1"), QStringLiteral("e"),
                              QString(), QStringLiteral("estado7"), QStringLiteral("0,0"),
                              QStringLiteral("0,0"));
    QCOMPARE(GeneradorCodigo(*datos).problemas(EstiloCodigo::Switch),
             (QStringList{
                 QStringLiteral("La transición 1 del estado «a» de la máquina «motor» no tiene disparador."),
                 QStringLiteral("La transición 2 del estado «a» de la máquina «motor» lleva a un estado que "
                                "no existe.")}));
}

void TstCodegen::escrituraFallidaSeInforma()
{
    auto datos = cargar(QStringLiteral("codegen/dos_maquinas.vro"));
    QVERIFY(datos);
    QTemporaryDir temporal;
    const QString archivo = temporal.path() + QStringLiteral("/archivo");
    QVERIFY(TestSupport::writeFile(archivo, "x"));
    QString fallido;
    QVERIFY(!GeneradorCodigo(*datos).generar(EstiloCodigo::Switch, archivo + QStringLiteral("/salida"),
                                             &fallido));
    QCOMPARE(fallido, archivo + QStringLiteral("/salida/main.c"));
}

void TstCodegen::regenerarReemplazaArchivos()
{
    auto datos = cargar(QStringLiteral("codegen/dos_maquinas.vro"));
    QVERIFY(datos);
    QTemporaryDir temporal;
    const QString mdee = temporal.path() + QStringLiteral("/AP_MdeE.c");
    QVERIFY(TestSupport::writeFile(mdee, QByteArray(100000, 'x')));
    QVERIFY(GeneradorCodigo(*datos).generar(EstiloCodigo::Switch, temporal.path()));
    const QByteArray esperado =
        TestSupport::readFile(TestSupport::dataPath(QStringLiteral("codegen/golden/switch/AP_MdeE.c")));
    QCOMPARE(TestSupport::readFile(mdee), esperado);
}

void TstCodegen::sinMaquinas()
{
    XmlHandler datos(QStringLiteral("P"), XmlHandler::NUEVO_XML_DATOS);
    const GeneradorCodigo generador(datos);
    QVERIFY(generador.maquinaSinEstadoInicial().isEmpty());
    const QString main = generador.textoMain();
    QVERIFY(main.endsWith(QStringLiteral("\n\twhile(1)\n\t{\n\n\n\t}\n}\n")));
    QVERIFY(main.contains(QStringLiteral("#include \"funciones.h\"\n\n\n\nvoid main(void)")));
    const QString mdee = generador.textoFunciones(generador.textosMaquinas());
    QVERIFY(mdee.endsWith(QStringLiteral(" *** FUNCIONES GLOBALES AL MODULO\n") +
                          QString(130, QLatin1Char('*')) + QStringLiteral("/\n")));
    QVERIFY(!generador.textoHeader({}, EstiloCodigo::Switch).contains(QStringLiteral("void maquina_")));
}

void TstCodegen::catalogosRaros()
{
    auto datos = proyectoMotor({QStringLiteral("a")});
    datos->addNuevoEvento(QStringLiteral("raro()"));
    datos->addNuevoEvento(QStringLiteral("bueno"));
    datos->addNuevaAccion(QStringLiteral("x(),y()"));
    datos->addNuevaAccion(QString());
    datos->addNuevaAccion(QStringLiteral("sinParentesis"));
    const GeneradorCodigo generador(*datos);
    const QString header = generador.textoHeaderFunciones(generador.constantes());
    QVERIFY(!header.contains(QStringLiteral("#define \t")));
    QVERIFY(!header.contains(QStringLiteral("raro")));
    QVERIFY(header.contains(QStringLiteral("\n//!< Prototipos de los Eventos\nint bueno( void );\n\n")));
    QVERIFY(header.contains(
        QStringLiteral("\n//!< Prototipos de las Acciones\nvoid sinParentesis( void );\n\n#endif")));
    QCOMPARE(generador.problemas(EstiloCodigo::Switch), QStringList());
    for (const EstiloCodigo estilo : {EstiloCodigo::Switch, EstiloCodigo::PunteroAFuncion}) {
        const QString stubs = generador.textoFuncionesEventosAcciones(estilo);
        QVERIFY(!stubs.contains(QStringLiteral("raro")));
        QVERIFY(!stubs.contains(QStringLiteral("x(")));
        QCOMPARE(stubs.count(QStringLiteral("void sinParentesis( void )\n{")), 1);
    }
}

void TstCodegen::tablaDeUnSoloEstado()
{
    auto datos = proyectoMotor({QStringLiteral("unico")});
    const GeneradorCodigo generador(*datos);
    const QString mdee = generador.textoFuncionesPtrFuncionMDE(generador.textoFuncionesEstados());
    QVERIFY(mdee.contains(
        QStringLiteral("\nvoid ( * const arrayFunciones[ ] )( void ) = { funcion_unico };\n\n")));
    QVERIFY(
        mdee.contains(QStringLiteral("\tif( estado < 0 || estado > UNICO )\n\t{\n\t\testado = UNICO;\n")));
    QVERIFY(mdee.contains(QStringLiteral("static void funcion_unico ( void )\n{\n}\n\n")));
    QVERIFY(mdee.contains(QStringLiteral("\nstatic int estado = UNICO;\n\n")));
}

void TstCodegen::estadosRepetidosSeNumeranAmbos()
{
    auto datos = proyectoMotor({QStringLiteral("listo"), QStringLiteral("otro")});
    datos->addNuevaMaquina(QStringLiteral("maquina1"));
    datos->addInfoMaquina(QStringLiteral("maquina1"), QStringLiteral("bomba"));
    datos->addNuevoEstado(QStringLiteral("estado0"), QStringLiteral("maquina1"));
    datos->addInfoEstado(QStringLiteral("estado0"), QStringLiteral("listo"), QStringLiteral("#ffffff"),
                         QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("120"),
                         QStringLiteral("60"), QStringLiteral("maquina1"));
    const GeneradorCodigo generador(*datos);
    QCOMPARE(generador.listaEstados(),
             (QStringList{QStringLiteral("LISTO"), QStringLiteral("OTRO"), QStringLiteral("LISTO")}));
    const QString header = generador.textoHeader(generador.listaEstados(), EstiloCodigo::Switch);
    QVERIFY(
        header.contains(QStringLiteral("#define\tLISTO\t\t0\n#define\tOTRO\t\t1\n#define\tLISTO\t\t2\n")));
    // The second machine has no initial state: the command line refuses it.
    QCOMPARE(generador.maquinaSinEstadoInicial(), QStringLiteral("bomba"));
}

QTEST_GUILESS_MAIN(TstCodegen)
#include "tst_codegen.moc"
