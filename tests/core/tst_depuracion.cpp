#include "decodificadorlineas.h"
#include "lineadepuracion.h"
#include "modelodepuracion.h"
#include "proyecto.h"
#include "pseudoterminal.h"
#include "puertodepuracion.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>
#include <csignal>

// The serial debug protocol: lines cut from any pieces, read as transitions
// of a project, and a board on a pseudo-terminal seen by the port reader and
// by vireo-cli depurar.
namespace {

const QString kSemaforo = QStringLiteral(VIREO_SOURCE_DIR "/examples/semaforo.vro");

// The project in `ruta`; empty (no machines) when it does not load.
Proyecto cargar(const QString &ruta)
{
    XmlHandler datos;
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly) || !datos.load(&archivo))
        return Proyecto();
    return Proyecto::desdeDocumento(datos);
}

QStringList textos(const QVector<LineaDepuracion> &lineas)
{
    QStringList resultado;
    for (const LineaDepuracion &linea : lineas) {
        resultado.append(
            linea.valida
                ? QStringLiteral("%1/%2/%3").arg(linea.maquina).arg(linea.estado).arg(linea.transicion)
                : QStringLiteral("x:") + QString::fromLatin1(linea.texto));
    }
    return resultado;
}

} // namespace

class TstDepuracion : public QObject
{
    Q_OBJECT

private slots:
    void interpretar_data()
    {
        QTest::addColumn<QByteArray>("linea");
        QTest::addColumn<QString>("leida");
        QTest::newRow("as Log writes it") << QByteArray("0,1,2") << "0/1/2";
        QTest::newRow("carriage return") << QByteArray("3,0,12\r") << "3/0/12";
        QTest::newRow("blanks as in the C call") << QByteArray(" 0 , 1 , 0 ") << "0/1/0";
        QTest::newRow("nine digits") << QByteArray("123456789,0,0") << "123456789/0/0";
        QTest::newRow("ten digits") << QByteArray("1234567890,0,0") << "x:1234567890,0,0";
        QTest::newRow("negative") << QByteArray("-1,0,0") << "x:-1,0,0";
        QTest::newRow("plus sign") << QByteArray("+1,0,0") << "x:+1,0,0";
        QTest::newRow("two fields") << QByteArray("1,2") << "x:1,2";
        QTest::newRow("four fields") << QByteArray("1,2,3,4") << "x:1,2,3,4";
        QTest::newRow("empty field") << QByteArray("1,,3") << "x:1,,3";
        QTest::newRow("empty line") << QByteArray("") << "x:";
        QTest::newRow("text") << QByteArray("hola mundo") << "x:hola mundo";
        QTest::newRow("hex") << QByteArray("0x1,0,0") << "x:0x1,0,0";
        QTest::newRow("inner blank") << QByteArray("1 2,0,0") << "x:1 2,0,0";
    }
    void interpretar()
    {
        QFETCH(QByteArray, linea);
        QFETCH(QString, leida);
        QCOMPARE(textos({LineaDepuracion::interpretar(linea)}), QStringList{leida});
    }

    // Every way of cutting the stream gives the same lines, once each.
    void decodificadorReuneLineasPartidas()
    {
        const QByteArray flujo("0,0,0\r\nbasura\n1,1,0\n\n2,0");
        const QStringList esperadas{"0/0/0", "x:basura", "1/1/0", "x:"};
        for (int corte = 0; corte <= flujo.size(); ++corte) {
            DecodificadorLineas decodificador;
            QVector<LineaDepuracion> lineas = decodificador.agregar(flujo.left(corte));
            lineas += decodificador.agregar(flujo.mid(corte));
            QCOMPARE(textos(lineas), esperadas);
            QCOMPARE(decodificador.pendientes(), 3);
        }
    }

    void decodificadorAcotaLineasLargas_data()
    {
        QTest::addColumn<int>("largo");
        QTest::addColumn<int>("descartadas");
        QTest::newRow("at the limit") << DecodificadorLineas::LargoMaximo << 0;
        QTest::newRow("one past") << DecodificadorLineas::LargoMaximo + 1 << 1;
        QTest::newRow("a megabyte") << (1 << 20) << 1;
    }
    void decodificadorAcotaLineasLargas()
    {
        QFETCH(int, largo);
        QFETCH(int, descartadas);
        DecodificadorLineas decodificador;
        QVector<LineaDepuracion> lineas;
        const QByteArray relleno(largo - 5, ' ');
        // Fed in pieces of 100 bytes: the buffer never holds more than the limit.
        const QByteArray flujo = "0,0,0\n" + relleno + "1,2,3\n4,5,6\n";
        for (int desde = 0; desde < flujo.size(); desde += 100) {
            lineas += decodificador.agregar(flujo.mid(desde, 100));
            QVERIFY(decodificador.pendientes() <= DecodificadorLineas::LargoMaximo);
        }
        QCOMPARE(decodificador.descartadas(), descartadas);
        QStringList esperadas{"0/0/0", "1/2/3", "4/5/6"};
        if (descartadas)
            esperadas.removeAt(1);
        QCOMPARE(textos(lineas), esperadas);
    }

    // A line resolves to the step the engine takes for that transition,
    // reported as a simulated step is.
    void resolver_data()
    {
        QTest::addColumn<QString>("proyecto");
        QTest::addColumn<QByteArray>("linea");
        QTest::addColumn<QString>("linea_monitor");
        QTest::addColumn<int>("destino");
        const QString pulsador = QStringLiteral(VIREO_SOURCE_DIR "/examples/pulsador.vro");
        QTest::newRow("first machine")
            << kSemaforo << QByteArray("0,0,0")
            << "Semaforo: ROJO --ev_tiempo--> VERDE / luz_verde;iniciar_timer;pedido = 0 [Semaforo]" << 1;
        QTest::newRow("self-loop") << kSemaforo << QByteArray("0,1,0")
                                   << "Semaforo: VERDE --ev_boton--> VERDE / pedido = 1 [Semaforo]" << 1;
        QTest::newRow("compound trigger, second transition")
            << kSemaforo << QByteArray("0,1,1")
            << "Semaforo: VERDE --ev_tiempo && pedido == 1--> AMARILLO / luz_amarilla;iniciar_timer" << 2;
        QTest::newRow("second machine") << kSemaforo << QByteArray("1,1,0")
                                        << "Peatones: CRUZANDO --ev_tiempo--> DETENIDO / peaton_rojo" << 0;
        QTest::newRow("assignments keep their machine")
            << pulsador << QByteArray("0,2,0")
            << "Pulsador: PRESIONADO --ev_alto--> SUELTO / presionado = FALSE [Pulsador];led_off;"
               "cuenta = 0 [Pulsador]"
            << 0;
        QTest::newRow("no actions") << pulsador << QByteArray("0,1,0")
                                    << "Pulsador: ANTIRREBOTE --ev_alto--> SUELTO" << 0;
        QTest::newRow("machine out of range") << kSemaforo << QByteArray("2,0,0") << "" << -1;
        QTest::newRow("state out of range") << kSemaforo << QByteArray("1,2,0") << "" << -1;
        QTest::newRow("transition out of range") << kSemaforo << QByteArray("0,2,1") << "" << -1;
        QTest::newRow("not a transition") << kSemaforo << QByteArray("0,0") << "" << -1;
    }
    void resolver()
    {
        QFETCH(QString, proyecto);
        QFETCH(QByteArray, linea);
        QFETCH(QString, linea_monitor);
        QFETCH(int, destino);
        const ModeloDepuracion modelo(cargar(proyecto));
        QVERIFY(modelo.proyecto().cantidadMaquinas() > 0);
        PasoMaquina paso;
        QCOMPARE(modelo.resolver(LineaDepuracion::interpretar(linea), &paso), destino >= 0);
        QCOMPARE(paso.destino, destino);
        if (destino >= 0)
            QCOMPARE(TramaEnlace::linea(paso.reporte(modelo.proyecto())), linea_monitor);
    }

    void puertoLeeLineasYSeCierraAlDesaparecer()
    {
        PseudoTerminal placa;
        QVERIFY(placa.valido());
        PuertoDepuracion puerto;
        QVERIFY2(puerto.abrir(placa.esclavo()), qPrintable(puerto.errorString()));
        QSignalSpy lineas(&puerto, &PuertoDepuracion::lineasRecibidas);
        QSignalSpy cerrado(&puerto, &PuertoDepuracion::cerrado);
        QVERIFY(placa.escribir("0,0,0\nbas"));
        QVERIFY(placa.escribir("ura\r\n1,1,0\n"));
        QVector<LineaDepuracion> recibidas;
        QTRY_VERIFY([&]() {
            for (const QList<QVariant> &senal : qAsConst(lineas))
                recibidas += senal.at(0).value<QVector<LineaDepuracion>>();
            lineas.clear();
            return recibidas.size() >= 3;
        }());
        QCOMPARE(textos(recibidas), (QStringList{"0/0/0", "x:basura", "1/1/0"}));
        QCOMPARE(puerto.ignoradas(), 1);
        placa.cerrar();
        QTRY_COMPARE(cerrado.size(), 1);
        QCOMPARE(cerrado.at(0).at(0).toString(),
                 QStringLiteral("Se perdió la conexión con el puerto %1.").arg(placa.esclavo()));
        QVERIFY(!puerto.estaAbierto());
    }

    void puertoQueNoSePuedeAbrir()
    {
        PuertoDepuracion puerto;
        QVERIFY(!puerto.abrir(QStringLiteral("/dev/no-existe-vireo")));
        QCOMPARE(puerto.errorString(), QStringLiteral("No existe el puerto serie /dev/no-existe-vireo."));
        QVERIFY(!puerto.abrir(QString()));
        QVERIFY(puerto.errorString().contains(QStringLiteral("Configurar depuracion")));

        PseudoTerminal placa;
        PuertoDepuracion primero;
        QVERIFY(primero.abrir(placa.esclavo()));
        QVERIFY(!puerto.abrir(placa.esclavo()));
        QCOMPARE(puerto.errorString(),
                 QStringLiteral("El puerto %1 está ocupado por otro programa o no hay permiso para abrirlo.")
                     .arg(placa.esclavo()));
    }

    void cliMuestraCadaTransicionHastaQueElPuertoSeCierra()
    {
        PseudoTerminal placa;
        QVERIFY(placa.valido());
        QProcess cli;
        cli.start(QStringLiteral(VIREO_CLI),
                  {QStringLiteral("depurar"), kSemaforo, QStringLiteral("--puerto"), placa.esclavo(),
                   QStringLiteral("--velocidad"), QStringLiteral("9600")});
        QByteArray errores;
        QTRY_VERIFY_WITH_TIMEOUT((errores += cli.readAllStandardError()).contains("Depurando"), 30000);
        QVERIFY(placa.escribir("0,0,0\n1,0,0\nreinicio\n7,0,0\n0,1,1\r\n"));
        QByteArray salida;
        QTRY_VERIFY_WITH_TIMEOUT((salida += cli.readAllStandardOutput()).count('\n') >= 3, 20000);
        placa.cerrar();
        QVERIFY(cli.waitForFinished(10000));
        salida += cli.readAllStandardOutput();
        QCOMPARE(cli.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(salida),
                 QStringLiteral(
                     "Semaforo: ROJO --ev_tiempo--> VERDE / luz_verde;iniciar_timer;pedido = 0 [Semaforo]\n"
                     "Peatones: DETENIDO --ev_paso_libre--> CRUZANDO / peaton_verde;iniciar_timer\n"
                     "Semaforo: VERDE --ev_tiempo && pedido == 1--> AMARILLO / "
                     "luz_amarilla;iniciar_timer\n"));
        errores += cli.readAllStandardError();
        QVERIFY2(errores.contains("no corresponde al modelo: 7,0,0\n"), errores.constData());
        QVERIFY2(errores.contains("Líneas ignoradas (no son \"maquina,estado,transicion\"): 1"),
                 errores.constData());
    }

    void cliTerminaConCtrlC()
    {
        PseudoTerminal placa;
        QProcess cli;
        cli.start(QStringLiteral(VIREO_CLI),
                  {QStringLiteral("depurar"), kSemaforo, QStringLiteral("--puerto"), placa.esclavo()});
        QByteArray errores;
        QTRY_VERIFY_WITH_TIMEOUT((errores += cli.readAllStandardError()).contains("Depurando"), 30000);
        ::kill(pid_t(cli.processId()), SIGINT);
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        QCOMPARE(cli.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TstDepuracion)
#include "tst_depuracion.moc"
