#include "proyectodescrito.h"
#include "testsupport.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

// vireo-cli's commands as a student or a script calls them, with no display.
namespace {

using TestSupport::dataPath;

QString ejemplo(const char *nombre)
{
    return QStringLiteral(VIREO_SOURCE_DIR "/examples/%1.vro").arg(QLatin1String(nombre));
}

const QStringList kArchivosC{"main.c", "AP_MdeE.h", "AP_MdeE.c", "AP_FuncionesMdeE.h", "AP_FuncionesMdeE.c"};

// The light exercise of `check`: right, with a wrong target, missing a transition.
const char *const kBien = "maquina Luz\ninicial APAGADA\nAPAGADA -> ENCENDIDA : on / encender()\n"
                          "ENCENDIDA -> APAGADA : off / apagar()\nENCENDIDA -> ENCENDIDA : t / cuenta += 1\n";
const char *const kDestinoMal = "maquina Luz\ninicial APAGADA\nAPAGADA -> ENCENDIDA : on / encender()\n"
                                "ENCENDIDA -> ENCENDIDA : off / apagar()\n"
                                "ENCENDIDA -> ENCENDIDA : t / cuenta += 1\n";
const char *const kFalta = "maquina Luz\ninicial APAGADA\nAPAGADA -> ENCENDIDA : on / encender()\n"
                           "ENCENDIDA -> APAGADA : off / apagar()\n";
const char *const kEscenario = "# la luz\nestado Luz APAGADA\nevento on\nestado luz Encendida\n"
                               "acciones Luz encender()\nevento t\nacciones Luz cuenta += 1\nevento off\n"
                               "estado Luz APAGADA\n";

} // namespace

class TstCli : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString archivo(const QString &nombre, const QByteArray &contenido)
    {
        TestSupport::writeFile(m_dir.filePath(nombre), contenido);
        return m_dir.filePath(nombre);
    }
    QString proyecto(const QString &nombre, const char *descripcion)
    {
        return archivo(nombre, ProyectoDescrito::vro(QString::fromUtf8(descripcion)));
    }

private slots:
    void initTestCase()
    {
        // No display at all: no command may need one.
        qunsetenv("DISPLAY");
        qunsetenv("QT_QPA_PLATFORM");
        QVERIFY(QDir().mkpath(m_dir.filePath("out")));
    }

    // Each row: the arguments, the exit code, stdout exactly, and a piece of
    // stderr (empty: nothing on stderr).
    void comandos_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("codigo");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QString>("err");
        const QString dos = dataPath("codegen/dos_maquinas.vro");
        const QString out = m_dir.filePath("out/x.png");
        const QString puerta = ejemplo("puerta");
        const QString pulsador = ejemplo("pulsador");
        auto error = [](const char *nombre, const QStringList &args, int codigo, const QString &err) {
            QTest::newRow(nombre) << args << codigo << QByteArray() << err;
        };
        error("generate sin estilo", {"generate", dos}, 2, "--style debe ser switch o ptr");
        error("generate estilo desconocido", {"generate", "--style", "tabla", dos}, 2,
              "--style debe ser switch o ptr");
        error("generate sin proyecto", {"generate", "--style", "switch"}, 2, "falta el archivo del proyecto");
        error("generate opcion desconocida", {"generate", "--style", "switch", "--rapido", dos}, 2,
              "opción desconocida: --rapido");
        error("generate no existe", {"generate", "--style", "switch", "/no/existe.vro"}, 1,
              "no existe el archivo /no/existe.vro");
        error("generate carpeta", {"generate", "--style", "switch", dataPath("codegen")}, 1,
              "no es un archivo de proyecto");
        error("generate no es XML", {"generate", "--style", "ptr", dataPath("codegen/no_xml.vro")}, 1,
              "no es un proyecto de Vireo (el XML no es válido)");
        error("generate sin estado inicial",
              {"generate", "--style", "switch", dataPath("codegen/sin_inicial.vro"), "--out",
               m_dir.filePath("out/c")},
              1, "luz: No se encuentra definido el Estado Inicial");
        error("generate no escribible", {"generate", "--style", "switch", dos, "--out", "/proc/version/sub"},
              1, "No se pudo escribir el archivo \n/proc/version/sub/main.c");
        error("simulate sin proyecto", {"simulate"}, 2, "Falta el proyecto.");
        error("simulate modo", {"simulate", puerta, "--modo", "x"}, 2, "--modo");
        error("simulate --var en filas", {"simulate", puerta, "--var", "intentos=1"}, 2, "--var solo");
        error("simulate variable desconocida", {"simulate", puerta, "--modo", "c", "--var", "nada=1"}, 2,
              "--var nada=1");
        error("simulate valor", {"simulate", puerta, "--modo", "c", "--var", "intentos=uno"}, 2,
              "valor entero");
        error("simulate evento desconocido", {"simulate", puerta, "--modo", "c", "ev_nada"}, 2, "ev_nada");
        error("simulate ilegible", {"simulate", ejemplo("no_existe"), "x"}, 1, "No se pudo leer");
        error("simulate sin estado inicial", {"simulate", dataPath("simulacion/SININICIAL.vro")}, 1,
              "No se encuentra definido el Estado Inicial");
        error("verify sin estado inicial", {"verify", dataPath("verify/sin_inicial.vro")}, 2,
              "MdE2: No se encuentra definido el Estado Inicial\n");
        error("verify primera sin estado inicial", {"verify", dataPath("lifecycle/doce_estados.vro")}, 2,
              "DOCE: No se encuentra definido el Estado Inicial\n");
        error("verify no es XML", {"verify", dataPath("verify/no_xml.vro")}, 2,
              "No se pudo procesar el archivo " + dataPath("verify/no_xml.vro") + "\n");
        error("verify no existe", {"verify", dataPath("verify/no.vro")}, 2,
              "No se pudo abrir el archivo " + dataPath("verify/no.vro") + "\n");
        error("verify sin proyecto", {"verify"}, 2, "Uso:");
        error("verify dos proyectos", {"verify", dos, dos}, 2, "Uso:");
        error("imagen maquina desconocida", {"imagen", dos, "--maquina", "Nadie", "--out", out}, 1,
              "Error: ");
        error("imagen ilegible", {"imagen", "no_existe.vro", "--out", out}, 1, "Error: ");
        error("imagen sin --out", {"imagen", dos}, 2, "Error: ");
        error("imagen extension", {"imagen", dos, "--out", m_dir.filePath("out/x.jpg")}, 2, "Error: ");
        error("imagen opcion", {"imagen", dos, "--zoom", "--out", out}, 2, "Error: ");
        error("check sin proyecto", {"check", "e.escenario"}, 2, "Error: se necesitan");
        error("check opcion", {"check", "--rapido", "e", "p"}, 2, "Error: opción desconocida --rapido.");
        error("check sin escenario", {"check", "/no/existe.escenario", "p.vro"}, 2,
              "/no/existe.escenario: no se pudo abrir el archivo\n");
        const QString malo = archivo("malo.escenario", "evento a\nestado M\n");
        error("check escenario mal escrito", {"check", malo, proyecto("p.vro", kBien)}, 2,
              malo + ":2: se espera «estado MAQUINA ESTADO»\n");
        const QString semaforo = ejemplo("semaforo");
        error("depurar sin puerto", {"depurar", semaforo}, 2, "Falta --puerto.");
        error("depurar sin proyecto", {"depurar", "--puerto", "/dev/null"}, 2, "Falta el proyecto.");
        error("depurar velocidad", {"depurar", semaforo, "--puerto", "/dev/x", "--velocidad", "rapido"}, 2,
              "--velocidad necesita");
        error("depurar opcion", {"depurar", semaforo, "--port", "/dev/x"}, 2, "Opción desconocida");
        error("depurar ilegible", {"depurar", "/no/existe.vro", "--puerto", "/dev/x"}, 1,
              "no se puede leer el proyecto /no/existe.vro");
        error("depurar puerto inexistente", {"depurar", semaforo, "--puerto", "/dev/no-existe-vireo"}, 1,
              "No existe el puerto serie /dev/no-existe-vireo.");
        error("send sin eventos", {"send"}, 2, "Falta el evento.");
        error("send evento sin trama", {"send", "a:b"}, 2, "no puede enviarse");
        error("send evento con @", {"send", "a@b"}, 2, "no puede enviarse");
        error("send puerto", {"send", "--port", "0", "boton"}, 2, "--port");
        error("monitor argumento de mas", {"monitor", "x"}, 2, "Argumento de más");
        error("send sin nadie escuchando",
              {"send", "--port", QString::number(TestSupport::puertoLibre()), "boton"}, 1,
              "No se pudo conectar con Vireo");
        error("send ayuda", {"send", "--help"}, 0, "");

        auto salida = [](const char *nombre, const QStringList &args, int codigo, const QByteArray &out) {
            QTest::newRow(nombre) << args << codigo << out << QString();
        };
        salida("verify sin hallazgos", {"verify", dataPath("verify/limpio.vro")}, 0, "Sin hallazgos.\n");
        salida("verify hallazgos", {"verify", dataPath("verify/hallazgos.vro")}, 1,
               TestSupport::readFile(dataPath("verify/hallazgos.txt")));
        const QByteArray abre = "Puerta: ABRIENDO --ev_fin_carrera--> ABIERTA / motor_parar;iniciar_timer\n"
                                "Puerta: ABIERTA --ev_tiempo--> CERRANDO / motor_cerrar\n";
        const QByteArray reabre = "Puerta: CERRANDO --ev_obstaculo && intentos < 3--> ABRIENDO / "
                                  "motor_abrir;intentos += 1 [Puerta]\n";
        const QByteArray boton = "(reset)\nPuerta: CERRADA --ev_boton--> ABRIENDO / motor_abrir\n";
        salida("simulate puerta filas",
               {"simulate", puerta, "ev_boton", "ev_fin_carrera", "ev_tiempo", "ev_obstaculo && intentos < 3",
                "ev_obstaculo && intentos >= 3", "ev_fin_carrera"},
               0, boton + abre + reabre + abre.left(abre.indexOf('\n') + 1));
        salida("simulate puerta filas con reset",
               {"simulate", puerta, "--modo", "filas", "ev_boton", "(reset)", "ev_fin_carrera", "ev_boton"},
               0, boton + boton);
        // The third obstacle (intentos 2) reopens the door: the C takes one
        // transition per step, so "intentos >= 3" is not tested after "intentos += 1".
        const QStringList vuelta{"ev_fin_carrera", "ev_tiempo", "ev_obstaculo"};
        salida("simulate puerta C",
               QStringList{"simulate", puerta, "--modo", "c", "ev_boton"} + vuelta + vuelta + vuelta +
                   QStringList{"-", "ev_fin_carrera", "ev_tiempo", "ev_obstaculo,ev_fin_carrera"},
               0,
               boton + abre + reabre + abre + reabre + abre + reabre + abre +
                   "Puerta: CERRANDO --ev_obstaculo && intentos >= 3--> BLOQUEADA / motor_parar\n");
        // The initial actions run on the first step and set intentos to 0 over the value given.
        salida("simulate C, acciones iniciales sobre --var",
               QStringList{"simulate", puerta, "--modo", "c", "--var", "intentos=5", "ev_boton"} + vuelta, 0,
               boton + abre + reabre);
        salida(
            "simulate pulsador C",
            {"simulate", pulsador, "--modo", "c", "ev_bajo", "ev_tiempo", "ev_tiempo", "ev_alto,ev_tiempo"},
            0,
            "(reset)\nPulsador: SUELTO --ev_bajo--> ANTIRREBOTE / iniciar_antirrebote\n"
            "Pulsador: ANTIRREBOTE --ev_tiempo && presionado == FALSE--> PRESIONADO / presionado = TRUE "
            "[Pulsador];led_on\nPulsador: PRESIONADO --ev_tiempo--> PRESIONADO / cuenta += 1 [Pulsador]\n"
            "Pulsador: PRESIONADO --ev_alto--> SUELTO / presionado = FALSE [Pulsador];led_off;cuenta = 0 "
            "[Pulsador]\n");
        salida("simulate filas: un evento solo no dispara un disparador compuesto",
               {"simulate", pulsador, "ev_bajo", "ev_tiempo", "ev_alto"}, 0,
               "(reset)\nPulsador: SUELTO --ev_bajo--> ANTIRREBOTE / iniciar_antirrebote\n"
               "Pulsador: ANTIRREBOTE --ev_alto--> SUELTO\n");
    }
    void comandos()
    {
        QFETCH(QStringList, args);
        QFETCH(int, codigo);
        QFETCH(QByteArray, out);
        QFETCH(QString, err);
        const TestSupport::CliResult r = TestSupport::runCli(args);
        QVERIFY2(r.exitCode == codigo, r.err.constData());
        QVERIFY2(err.isEmpty() ? r.err.isEmpty() : QString::fromUtf8(r.err).contains(err), r.err.constData());
        if (codigo != 0 || !out.isEmpty())
            QVERIFY2(r.out == out, qPrintable(TestSupport::diffReport(out, r.out)));
        QCOMPARE(QDir(m_dir.filePath("out")).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void ayudas()
    {
        const QByteArray generate = TestSupport::runCli({"generate", "--help"}).out;
        QVERIFY(generate.contains("vireo-cli generate --style switch|ptr PROYECTO.vro [--out CARPETA]"));
        QVERIFY(generate.contains("Códigos de salida"));
        const TestSupport::CliResult verify = TestSupport::runCli({"verify", "--help"});
        QCOMPARE(verify.exitCode, 0);
        QVERIFY(verify.out.startsWith("Uso: vireo-cli verify [--caminos] PROYECTO.vro\n"));
        QVERIFY(verify.out.contains("1  hay hallazgos"));
        QVERIFY(TestSupport::runCli({"--help"}).out.contains("verify PROYECTO.vro"));
    }

    void generateNoSeBloqueaConUnaTuberia()
    {
        // Nobody writes into the pipe: reading it would wait forever.
        const QString tuberia = m_dir.filePath("tuberia.vro");
        QCOMPARE(::mkfifo(QFile::encodeName(tuberia).constData(), 0600), 0);
        const TestSupport::CliResult r = TestSupport::runCli({"generate", "--style", "switch", tuberia});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("no es un archivo de proyecto"), r.err.constData());
    }

    // Without --out the files go next to the project file, whatever folder
    // the project stores; the project file is left as it was. The pointer
    // style names on stderr the machines it leaves out.
    void generate_data()
    {
        QTest::addColumn<QStringList>("opciones");
        QTest::addColumn<QString>("salida"); // relative to the project's folder
        QTest::addColumn<QString>("dorados");
        QTest::addColumn<QString>("aviso");
        QTest::addColumn<QString>("nombre"); // of the project; a folder name only without "/"
        QTest::newRow("switch") << QStringList{"--style", "switch"} << "resultados_DEMO/switch"
                                << "switch" << QString() << "DEMO";
        QTest::newRow("nombre con barra") << QStringList{"--style", "switch"} << "resultados_entrega/switch"
                                          << "switch" << QString() << "a/b";
        QTest::newRow("ptr") << QStringList{"--style", "ptr"} << "resultados_DEMO/ptrFuncion"
                             << "ptrFuncion"
                             << "Advertencia: %1: El estilo puntero a función ejecuta solo la primera "
                                "máquina (motor); no se ejecutará: luz.\n"
                             << "DEMO";
        QTest::newRow("otra carpeta")
            << QStringList{"--out", "../fuera/de/todo", "--style=switch"} << "../fuera/de/todo"
            << "switch" << QString() << "DEMO";
    }
    void generate()
    {
        QFETCH(QStringList, opciones);
        QFETCH(QString, salida);
        QFETCH(QString, dorados);
        QFETCH(QString, aviso);
        QFETCH(QString, nombre);
        QTemporaryDir temporal;
        const QString carpeta = temporal.filePath("alumno");
        QVERIFY(QDir().mkpath(carpeta));
        const QString proyecto = carpeta + "/entrega.vro";
        const QByteArray original =
            TestSupport::readFile(dataPath("codegen/dos_maquinas.vro"))
                .replace("<nombre>DEMO</nombre>", "<nombre>" + nombre.toUtf8() + "</nombre>");
        QVERIFY(TestSupport::writeFile(proyecto, original));
        const QDateTime modificado = QFileInfo(proyecto).lastModified();
        opciones.replaceInStrings("..", temporal.path());
        const TestSupport::CliResult r = TestSupport::runCli(QStringList{"generate"} + opciones << proyecto);
        QCOMPARE(r.exitCode, 0);
        const QString esperada = QDir::cleanPath(carpeta + '/' + salida);
        QCOMPARE(QString::fromUtf8(r.out), esperada + '\n');
        QCOMPARE(QString::fromUtf8(r.err), aviso.isEmpty() ? aviso : aviso.arg(proyecto));
        QCOMPARE(QDir(esperada).entryList(QDir::Files).size(), kArchivosC.size());
        for (const QString &archivo : kArchivosC)
            QCOMPARE(TestSupport::readFile(esperada + '/' + archivo),
                     TestSupport::readFile(dataPath("codegen/golden/%1/%2").arg(dorados, archivo)));
        QCOMPARE(TestSupport::readFile(proyecto), original);
        QCOMPARE(QFileInfo(proyecto).lastModified(), modificado);
        QCOMPARE(QDir(carpeta).entryList(QDir::Files), QStringList{"entrega.vro"});
    }

    void imagen_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("escritos");
        QTest::newRow("una maquina") << QStringList{"--maquina", "Peatones", "--out", "p.png"}
                                     << QStringList{"p.png"};
        QTest::newRow("todas, numeradas")
            << QStringList{"--out", "s.svg"} << QStringList{"s_1.svg", "s_2.svg"};
    }
    void imagen()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, escritos);
        QTemporaryDir dir;
        args.last() = dir.filePath(args.last());
        const TestSupport::CliResult r =
            TestSupport::runCli(QStringList{"imagen", ejemplo("semaforo")} + args);
        QVERIFY2(r.exitCode == 0, r.err.constData());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), escritos);
        for (const QString &archivo : escritos) {
            QVERIFY(r.out.contains(dir.filePath(archivo).toUtf8()));
            const QByteArray contenido = TestSupport::readFile(dir.filePath(archivo));
            QVERIFY(archivo.endsWith(".png") ? contenido.startsWith("\x89PNG\r\n")
                                             : contenido.contains("<svg"));
        }
    }

    // A class of five: one right, one with a wrong target, one missing a
    // transition, one that is not a project and one without an initial state.
    void checkCurso()
    {
        const QString escenario = archivo("luz.escenario", kEscenario);
        const QStringList p{proyecto("bien.vro", kBien), proyecto("destino.vro", kDestinoMal),
                            proyecto("falta.vro", kFalta), archivo("roto.vro", "<proyecto"),
                            proyecto("sin.vro", "maquina @M\nA -> B : a\n")};
        const QString csv = m_dir.filePath("notas.csv");
        const TestSupport::CliResult r =
            TestSupport::runCli(QStringList{"check", escenario} + p + QStringList{"--csv", csv});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(
            QString::fromUtf8(TestSupport::readFile(csv)),
            "proyecto,pasos_ok,pasos,estados_cubiertos,estados,transiciones_cubiertas,transiciones,"
            "primer_fallo\n" +
                p.at(0) + ",5,5,2,2,3,3,\n" + p.at(1) +
                ",4,5,2,2,3,3,\"línea 9: estado Luz: se esperaba APAGADA, se encontró ENCENDIDA\"\n" +
                p.at(2) +
                ",4,5,2,2,2,2,\"línea 7: acciones Luz: se esperaba cuenta += 1, se encontró (ninguna)\"\n" +
                p.at(3) + ",0,5,0,0,0,0,el archivo no es un proyecto de Vireo legible\n" + p.at(4) +
                ",0,5,0,2,0,1,'@M: No se encuentra definido el Estado Inicial\n");
        QVERIFY2(r.out.contains("1 de 5 proyectos cumplieron todas las comprobaciones."), r.out.constData());
        QVERIFY(r.err.isEmpty());
        QCOMPARE(TestSupport::runCli({"check", escenario, p.at(0)}).exitCode, 0);
    }

    // Three states, one never reached, and four transitions of which the
    // scenario takes two (the self-loop twice): 2/3 states, 2/4 transitions.
    void checkCobertura()
    {
        const QString p = proyecto("cobertura.vro", "maquina M\ninicial A\nA -> B : a\nB -> B : b\n"
                                                    "B -> A : c\nA -> C : d\n");
        const QString escenario = archivo("cob.escenario", "evento a\nevento b\nevento b\nestado M B\n");
        const TestSupport::CliResult r = TestSupport::runCli({"check", "--cobertura", escenario, p});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(QString::fromUtf8(r.out),
                 "proyecto" + QString(p.size() - 8, ' ') + "  pasos  estados  transiciones  primer fallo\n" +
                     p +
                     "  1/1    2/3      2/4\n\n1 de 1 proyectos cumplieron todas las comprobaciones.\n\n"
                     "Transiciones que el escenario no tomó\n    " +
                     p + "\n        A [M]: d -> C\n        B [M]: c -> A\n");
    }

    // "c" mode evaluates the triggers: variables set by the scenario, events
    // as sets, the first true transition of the state wins.
    void checkModoC()
    {
        const QString p = proyecto("c.vro", "maquina M\ninicial A / y = 1\nA -> B : a && x > 3 / y = 2\n"
                                            "A -> C : a / z()\nB -> A : b || c\n");
        const QString escenario =
            archivo("c.escenario", "modo c\nacciones M y = 1\nevento a\nestado M C\nreset\nvariable x = 4\n"
                                   "evento b, a\nestado M B\nacciones M y = 2\nevento -\nestado M B\n"
                                   "evento c\nestado M A\nacciones M\n");
        const TestSupport::CliResult r = TestSupport::runCli({"check", escenario, p});
        QVERIFY2(r.out.contains("7/7"), r.out.constData());
        QCOMPARE(r.exitCode, 0);
    }
};

QTEST_GUILESS_MAIN(TstCli)
#include "tst_cli.moc"
