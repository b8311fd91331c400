#include "testsupport.h"

#include <QtTest>

// vireo-cli simulate against traces derived by hand from the examples.
class TestSimulateCli : public QObject
{
    Q_OBJECT

private:
    static QString ejemplo(const QString &nombre)
    {
        return QStringLiteral(VIREO_SOURCE_DIR "/examples/") + nombre + QStringLiteral(".vro");
    }

private slots:
    // Each row: the arguments, then stdout exactly (traces), or the exit
    // code and a piece of the message on stderr (errors).
    void simulate_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("salida");
        QTest::addColumn<int>("codigo");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("puerta, rows")
            << QStringList{ejemplo("puerta"),
                           "ev_boton",
                           "ev_fin_carrera",
                           "ev_tiempo",
                           "ev_obstaculo && intentos < 3",
                           "ev_obstaculo && intentos >= 3",
                           "ev_fin_carrera"}
            << "(reset)\n"
               "Puerta: CERRADA --ev_boton--> ABRIENDO / motor_abrir\n"
               "Puerta: ABRIENDO --ev_fin_carrera--> ABIERTA / motor_parar;iniciar_timer\n"
               "Puerta: ABIERTA --ev_tiempo--> CERRANDO / motor_cerrar\n"
               "Puerta: CERRANDO --ev_obstaculo && intentos < 3--> ABRIENDO / motor_abrir;intentos += 1 "
               "[Puerta]\n"
               "Puerta: ABRIENDO --ev_fin_carrera--> ABIERTA / motor_parar;iniciar_timer\n"
            << 0 << QString();
        QTest::newRow("puerta, rows with a reset")
            << QStringList{ejemplo("puerta"), "--modo",         "filas",   "ev_boton",
                           "(reset)",         "ev_fin_carrera", "ev_boton"}
            << "(reset)\n"
               "Puerta: CERRADA --ev_boton--> ABRIENDO / motor_abrir\n"
               "(reset)\n"
               "Puerta: CERRADA --ev_boton--> ABRIENDO / motor_abrir\n"
            << 0 << QString();
        // The third obstacle (intentos 2) reopens the door: the C takes one
        // transition per step, so "intentos >= 3" is not tested after
        // "intentos += 1".
        const QStringList vuelta{"ev_fin_carrera", "ev_tiempo", "ev_obstaculo"};
        const QString abre("Puerta: ABRIENDO --ev_fin_carrera--> ABIERTA / motor_parar;iniciar_timer\n"
                           "Puerta: ABIERTA --ev_tiempo--> CERRANDO / motor_cerrar\n");
        const QString reabre("Puerta: CERRANDO --ev_obstaculo && intentos < 3--> ABRIENDO / "
                             "motor_abrir;intentos += 1 [Puerta]\n");
        QTest::newRow("puerta, C")
            << QStringList{ejemplo("puerta"), "--modo", "c", "ev_boton"} + vuelta + vuelta + vuelta +
                   QStringList{"-", "ev_fin_carrera", "ev_tiempo", "ev_obstaculo,ev_fin_carrera"}
            << "(reset)\nPuerta: CERRADA --ev_boton--> ABRIENDO / motor_abrir\n" + abre + reabre + abre +
                   reabre + abre + reabre + abre +
                   "Puerta: CERRANDO --ev_obstaculo && intentos >= 3--> BLOQUEADA / motor_parar\n"
            << 0 << QString();
        // The initial actions run on the first step and set intentos to 0
        // over the value given.
        QTest::newRow("puerta, C, initial actions win over --var")
            << QStringList{ejemplo("puerta"), "--modo",         "c",         "--var",       "intentos=5",
                           "ev_boton",        "ev_fin_carrera", "ev_tiempo", "ev_obstaculo"}
            << "(reset)\n"
               "Puerta: CERRADA --ev_boton--> ABRIENDO / motor_abrir\n"
               "Puerta: ABRIENDO --ev_fin_carrera--> ABIERTA / motor_parar;iniciar_timer\n"
               "Puerta: ABIERTA --ev_tiempo--> CERRANDO / motor_cerrar\n"
               "Puerta: CERRANDO --ev_obstaculo && intentos < 3--> ABRIENDO / motor_abrir;intentos += 1 "
               "[Puerta]\n"
            << 0 << QString();
        QTest::newRow("pulsador, C")
            << QStringList{ejemplo("pulsador"), "--modo",           "c", "ev_bajo", "ev_tiempo",
                           "ev_tiempo",         "ev_alto,ev_tiempo"}
            << "(reset)\n"
               "Pulsador: SUELTO --ev_bajo--> ANTIRREBOTE / iniciar_antirrebote\n"
               "Pulsador: ANTIRREBOTE --ev_tiempo && presionado == FALSE--> PRESIONADO / presionado = TRUE "
               "[Pulsador];led_on\n"
               "Pulsador: PRESIONADO --ev_tiempo--> PRESIONADO / cuenta += 1 [Pulsador]\n"
               "Pulsador: PRESIONADO --ev_alto--> SUELTO / presionado = FALSE [Pulsador];led_off;cuenta = 0 "
               "[Pulsador]\n"
            << 0 << QString();
        QTest::newRow("pulsador, rows: an event alone fires no compound trigger")
            << QStringList{ejemplo("pulsador"), "ev_bajo", "ev_tiempo", "ev_alto"}
            << "(reset)\n"
               "Pulsador: SUELTO --ev_bajo--> ANTIRREBOTE / iniciar_antirrebote\n"
               "Pulsador: ANTIRREBOTE --ev_alto--> SUELTO\n"
            << 0 << QString();
        QTest::newRow("no project") << QStringList{} << QString() << 2 << "Falta el proyecto.";
        QTest::newRow("bad mode") << QStringList{ejemplo("puerta"), "--modo", "x"} << QString() << 2
                                  << "--modo";
        QTest::newRow("--var in row mode")
            << QStringList{ejemplo("puerta"), "--var", "intentos=1"} << QString() << 2 << "--var solo";
        QTest::newRow("unknown variable") << QStringList{ejemplo("puerta"), "--modo", "c", "--var", "nada=1"}
                                          << QString() << 2 << "--var nada=1";
        QTest::newRow("value not a number")
            << QStringList{ejemplo("puerta"), "--modo", "c", "--var", "intentos=uno"} << QString() << 2
            << "valor entero";
        QTest::newRow("unknown event")
            << QStringList{ejemplo("puerta"), "--modo", "c", "ev_nada"} << QString() << 2 << "ev_nada";
        QTest::newRow("unreadable project")
            << QStringList{ejemplo("no_existe"), "x"} << QString() << 1 << "No se pudo leer";
        QTest::newRow("machine without initial state")
            << QStringList{TestSupport::dataPath("simulacion/SININICIAL.vro")} << QString() << 1
            << "No se encuentra definido el Estado Inicial";
    }
    void simulate()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, salida);
        QFETCH(int, codigo);
        QFETCH(QString, mensaje);
        const TestSupport::CliResult cli = TestSupport::runCli(QStringList{"simulate"} + args);
        QCOMPARE(cli.exitCode, codigo);
        QCOMPARE(QString::fromUtf8(cli.out), salida);
        QVERIFY2(mensaje.isEmpty() ? cli.err.isEmpty() : QString::fromUtf8(cli.err).contains(mensaje),
                 cli.err.constData());
    }
};

QTEST_GUILESS_MAIN(TestSimulateCli)
#include "tst_simulate_cli.moc"
