#include "clientereportes.h"
#include "decodificadortramas.h"
#include "puertosenlace.h"
#include "servidoreventos.h"
#include "testsupport.h"
#include "tramaenlace.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>
#include <memory>
#include <vector>

namespace {

qint64 memoriaResidenteKb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &linea : status.readAll().split('\n')) {
        if (linea.startsWith("VmRSS:"))
            return linea.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// `vireo-cli monitor` running on a free port, with what it printed so far.
class Monitor
{
public:
    Monitor() { proceso.start(VIREO_CLI, {"monitor", "--port", QString::number(puerto)}); }
    ~Monitor()
    {
        proceso.kill();
        proceso.waitForFinished();
    }
    bool listo()
    {
        return proceso.waitForStarted() &&
               QTest::qWaitFor([this]() { return leer().err.contains("Escuchando"); });
    }
    const Monitor &leer()
    {
        out += proceso.readAllStandardOutput();
        err += proceso.readAllStandardError();
        return *this;
    }
    bool conectar(QTcpSocket &cliente)
    {
        cliente.connectToHost(QHostAddress::LocalHost, puerto);
        return cliente.waitForConnected(3000);
    }

    quint16 puerto = TestSupport::puertoLibre();
    QProcess proceso;
    QByteArray out;
    QByteArray err;
};

bool enviar(QTcpSocket &cliente, const QByteArray &datos)
{
    cliente.write(datos);
    return QTest::qWaitFor([&cliente]() {
        cliente.waitForBytesWritten(10);
        return cliente.bytesToWrite() == 0 || cliente.state() != QAbstractSocket::ConnectedState;
    });
}

} // namespace

// Frames of the simulation link checked byte by byte, with no socket at all.
class TestLink : public QObject
{
    Q_OBJECT

private slots:
    void codificar_data()
    {
        QTest::addColumn<QStringList>("campos");
        QTest::addColumn<QByteArray>("trama");
        QTest::newRow("call and assignment")
            << QStringList{"motor", "apagado", "boton", "encendido", "encender;cuenta = 0 [motor]"}
            << QByteArray("57:motor,apagado,boton,encendido,encender;cuenta = 0 [motor]@");
        QTest::newRow("no actions ends with a comma") << QStringList{"MdE1", "A", "boton && x > 3", "B", ""}
                                                      << QByteArray("24:MdE1,A,boton && x > 3,B,@");
        QTest::newRow("latin-1 counts one byte per character")
            << QStringList{"Año", "s", "e", "t", ""} << QByteArray("10:A\xf1o,s,e,t,@");
        QTest::newRow("outside latin-1 goes out as ?")
            << QStringList{"m\u20ac", "s", "e", "t", ""} << QByteArray("9:m?,s,e,t,@");
    }
    void codificar()
    {
        QFETCH(QStringList, campos);
        QFETCH(QByteArray, trama);
        const Reporte reporte{campos.at(0), campos.at(1), campos.at(2), campos.at(3), campos.at(4)};
        QCOMPARE(TramaEnlace::codificar(reporte), trama);
    }

    void resetYEvento()
    {
        QCOMPARE(TramaEnlace::reset(), QByteArray("11:,,(reset),,@"));
        QCOMPARE(TramaEnlace::evento("boton"), QByteArray("5:boton@"));
        QCOMPARE(TramaEnlace::evento("ñ"), QByteArray("2:\xc3\xb1@"));
    }

    void leerEvento_data()
    {
        QTest::addColumn<QByteArray>("datos");
        QTest::addColumn<bool>("completa");
        QTest::addColumn<int>("consumidos");
        QTest::addColumn<bool>("tieneEvento");
        QTest::addColumn<QString>("evento");
        QTest::newRow("frame") << QByteArray("5:boton@") << true << 8 << true << "boton";
        QTest::newRow("first of two") << QByteArray("5:boton@7:timeout@") << true << 8 << true << "boton";
        QTest::newRow("no colon") << QByteArray("boton@") << true << 6 << false << "";
        QTest::newRow("empty piece") << QByteArray("@5:boton@") << true << 1 << false << "";
        QTest::newRow("unfinished") << QByteArray("5:bo") << false << 0 << false << "";
        QTest::newRow("third field ignored") << QByteArray("9:a:b@") << true << 6 << true << "a";
        QTest::newRow("empty second field") << QByteArray("0:@") << true << 3 << true << "";
        QTest::newRow("cut at zero byte") << QByteArray("5:bo\0ton@", 9) << true << 9 << true << "bo";
        QTest::newRow("utf-8") << QByteArray("6:bot\xc3\xb3n@") << true << 9 << true << "botón";
        QTest::newRow("report frame read as one event")
            << QByteArray("11:,,(reset),,@") << true << 15 << true << ",,(reset),,";
    }
    void leerEvento()
    {
        QFETCH(QByteArray, datos);
        QFETCH(bool, completa);
        QFETCH(int, consumidos);
        QFETCH(bool, tieneEvento);
        QFETCH(QString, evento);
        const LecturaEvento lectura = TramaEnlace::leerEvento(datos);
        QCOMPARE(lectura.estado == LecturaEvento::Completa, completa);
        QCOMPARE(lectura.consumidos, consumidos);
        QCOMPARE(lectura.tieneEvento, tieneEvento);
        QCOMPARE(lectura.evento, evento);
        // Read from a position, the bytes before it do not count.
        const LecturaEvento desde = TramaEnlace::leerEvento("7:timeout@" + datos, 10);
        QVERIFY(desde.estado == lectura.estado && desde.consumidos == lectura.consumidos);
        QCOMPARE(desde.evento, evento);
    }

    // Every way of cutting the stream in two, and byte by byte, gives the
    // same events, once each; an unfinished frame waits for its end.
    void decodificadorReuneTramasPartidas()
    {
        const QByteArray flujo("5:boton@boton@7:timeout@");
        for (int corte = 0; corte <= flujo.size(); ++corte) {
            DecodificadorTramas decodificador;
            QStringList eventos = decodificador.agregar(flujo.left(corte)).eventos;
            eventos += decodificador.agregar(flujo.mid(corte)).eventos;
            QCOMPARE(eventos, (QStringList{"boton", "timeout"}));
            QCOMPARE(decodificador.pendientes(), 0);
        }
        DecodificadorTramas decodificador;
        QStringList eventos;
        for (char c : flujo + "5:bo")
            eventos += decodificador.agregar(QByteArray(1, c)).eventos;
        QCOMPARE(eventos, (QStringList{"boton", "timeout"}));
        QCOMPARE(decodificador.pendientes(), 4);
        QCOMPARE(decodificador.agregar("ton@").eventos, QStringList{"boton"});
    }

    // Garbage and frames past the limit are dropped, counted once each; the
    // rest of an oversized frame, up to its "@", is skipped too.
    void decodificadorAcotaLaBasura()
    {
        DecodificadorTramas decodificador;
        const QByteArray basura(1000, 'x');
        int descartadas = 0;
        for (int i = 0; i < 1000; ++i) {
            const DecodificadorTramas::Resultado resultado = decodificador.agregar(basura);
            QVERIFY(resultado.eventos.isEmpty());
            descartadas += resultado.descartadas;
            QVERIFY(decodificador.pendientes() <= DecodificadorTramas::LimiteTrama);
        }
        QCOMPARE(descartadas, 1);
        QVERIFY(decodificador.agregar("5:boton@").eventos.isEmpty());
        QCOMPARE(decodificador.agregar("5:boton@").eventos, QStringList{"boton"});

        const QByteArray larga = "1:" + QByteArray(DecodificadorTramas::LimiteTrama, 'x') + "@5:boton@";
        const DecodificadorTramas::Resultado resultado = decodificador.agregar(larga);
        QCOMPARE(resultado.descartadas, 1);
        QCOMPARE(resultado.eventos, QStringList{"boton"});
        const QByteArray justa = "1:" + QByteArray(DecodificadorTramas::LimiteTrama - 2, 'y') + "@";
        QCOMPARE(decodificador.agregar(justa).eventos.size(), 1);
    }

    // Every read from the start until one is incomplete: "completa N" and
    // "invalida N" with the bytes each consumed.
    void leerReporte_data()
    {
        QTest::addColumn<QByteArray>("datos");
        QTest::addColumn<QString>("lecturas");
        QTest::newRow("report") << QByteArray("24:MdE1,A,boton && x > 3,B,@") << "completa 28";
        QTest::newRow("reset") << QByteArray("11:,,(reset),,@x") << "completa 15, incompleta";
        QTest::newRow("prefix only") << QByteArray("11") << "incompleta";
        QTest::newRow("payload missing") << QByteArray("11:,,(re") << "incompleta";
        QTest::newRow("no length") << QByteArray(":abc@11:") << "invalida 5, incompleta";
        QTest::newRow("wrong length") << QByteArray("3:abcd@") << "invalida 7";
        QTest::newRow("wrong length, @ to come") << QByteArray("3:abcd") << "incompleta";
        QTest::newRow("absurd length") << QByteArray("99999999999:x@4:hola@") << "invalida 14, completa 7";
        QTest::newRow("noise before a frame") << QByteArray("xx4:hola@") << "invalida 2, completa 7";
        QTest::newRow("noise before a bad frame")
            << QByteArray("xx5:hola@11:,,(reset),,@") << "invalida 2, invalida 7, completa 15";
        QTest::newRow("noise with digits") << QByteArray("12abc4:hola@") << "invalida 5, completa 7";
        QTest::newRow("noise through its @")
            << QByteArray("ab@c3:xyz@") << "invalida 3, invalida 1, completa 6";
        QTest::newRow("noise, header to come") << QByteArray("xx12") << "incompleta";
        QTest::newRow("noise, nothing after") << QByteArray("xyz") << "incompleta";
    }
    void leerReporte()
    {
        QFETCH(QByteArray, datos);
        QFETCH(QString, lecturas);
        QStringList leidas;
        for (int pos = 0; pos < datos.size();) {
            const LecturaReporte lectura = TramaEnlace::leerReporte(datos, pos);
            if (lectura.estado == LecturaReporte::Incompleta) {
                leidas.append(QStringLiteral("incompleta"));
                break;
            }
            const bool completa = lectura.estado == LecturaReporte::Completa;
            leidas.append(
                QStringLiteral("%1 %2").arg(completa ? "completa" : "invalida").arg(lectura.consumidos));
            pos += lectura.consumidos;
        }
        QCOMPARE(leidas.join(QStringLiteral(", ")), lecturas);
    }

    void reporteIdaYVuelta()
    {
        const Reporte reporte{"Año", "apagado", "x@y", "encendido", "encender;cuenta = 0 [Año]"};
        const QByteArray dos = TramaEnlace::codificar(reporte) + TramaEnlace::reset();
        LecturaReporte lectura = TramaEnlace::leerReporte(dos);
        QCOMPARE(lectura.estado, LecturaReporte::Completa);
        QVERIFY(lectura.reporte == reporte);
        lectura = TramaEnlace::leerReporte(dos, lectura.consumidos);
        QCOMPARE(lectura.reporte.evento, QString("(reset)"));
        QVERIFY(lectura.reporte.maquina.isEmpty() && lectura.reporte.acciones.isEmpty());
    }

    void puertos_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("puerto");
        QTest::newRow("number") << "9123" << 9123;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("largest") << "65535" << 65535;
        QTest::newRow("too big") << "65536" << 0;
        QTest::newRow("text") << "nueve" << 0;
    }
    void puertos()
    {
        QFETCH(QString, texto);
        QFETCH(int, puerto);
        QCOMPARE(int(PuertosEnlace::interpretar(texto)), puerto);
    }

    void puertosDelEntorno()
    {
        qputenv("VIREO_PUERTO_EVENTOS", "9555");
        qunsetenv("VIREO_PUERTO_REPORTES");
        QCOMPARE(PuertosEnlace::eventos(), quint16(9555));
        QCOMPARE(PuertosEnlace::reportes(), quint16(8000));
        qputenv("VIREO_PUERTO_EVENTOS", "x");
        QCOMPARE(PuertosEnlace::eventos(), quint16(9000));
    }

    void visible_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("visible");
        QTest::newRow("plain text and tab") << "a\tb ñ"
                                            << "a\tb ñ";
        QTest::newRow("terminal title") << "\x1b]0;x\x07"
                                        << "\\x1b]0;x\\x07";
        QTest::newRow("clear screen and newline") << "\x1b[2J\r\n"
                                                  << "\\x1b[2J\\x0d\\x0a";
        QTest::newRow("delete and C1 introducer") << QString("a\x7f") + QChar(0x9b) << "a\\x7f\\x9b";
    }
    void visible()
    {
        QFETCH(QString, texto);
        QFETCH(QString, visible);
        QCOMPARE(TramaEnlace::visible(texto), visible);
    }

    // What a peer on the report port sends reaches the terminal escaped and
    // bounded; the frames after the bad ones are still printed.
    void monitorMuestraLoQueLlega_data()
    {
        QTest::addColumn<QByteArray>("datos");
        QTest::addColumn<QByteArray>("salida");
        QTest::addColumn<QByteArray>("errores");
        QTest::newRow("escape sequences")
            << QByteArray("19:m\x1b[2J,s,e\x07,t,a\x1b]0;x@")
            << QByteArray("m\\x1b[2J: s --e\\x07--> t / a\\x1b]0;x\n") << QByteArray();
        QTest::newRow("short invalid frame") << QByteArray("9:ab\x1b@") << QByteArray()
                                             << QByteArray("Trama no válida (6 bytes): 9:ab\\x1b@\n");
        QTest::newRow("noise before a frame") << QByteArray("xx8:m,a,e,b,@") << QByteArray("m: a --e--> b\n")
                                              << QByteArray("Trama no válida (2 bytes): xx\n");
        const QByteArray larga = "9:" + QByteArray(3000, 'x') + "@";
        QTest::newRow("long invalid frame")
            << larga << QByteArray() << "Trama no válida (3003 bytes): 9:" + QByteArray(198, 'x') + "...\n";
    }
    void monitorMuestraLoQueLlega()
    {
        QFETCH(QByteArray, datos);
        QFETCH(QByteArray, salida);
        QFETCH(QByteArray, errores);
        Monitor monitor;
        QVERIFY(monitor.listo());
        monitor.err.clear();
        QTcpSocket cliente;
        QVERIFY(monitor.conectar(cliente));
        QVERIFY(enviar(cliente, datos + TramaEnlace::reset()));
        QTRY_VERIFY(monitor.leer().out.endsWith("(reset)\n"));
        QCOMPARE(monitor.out, salida + "(reset)\n");
        QCOMPARE(monitor.err, errores);
    }

    void monitorAdmite64Conexiones()
    {
        Monitor monitor;
        QVERIFY(monitor.listo());
        std::vector<std::unique_ptr<QTcpSocket>> clientes;
        for (int i = 0; i < 65; ++i) {
            clientes.emplace_back(new QTcpSocket);
            QVERIFY(monitor.conectar(*clientes.back()));
        }
        QTRY_VERIFY(monitor.leer().err.contains("Conexión rechazada: ya hay 64 conexiones abiertas."));
        QTRY_COMPARE(clientes.back()->state(), QAbstractSocket::UnconnectedState);
        QVERIFY(enviar(*clientes.at(63), TramaEnlace::reset()));
        QTRY_COMPARE(monitor.leer().out, QByteArray("(reset)\n"));
        // A closed connection frees its place.
        clientes.front()->disconnectFromHost();
        QTRY_COMPARE(clientes.front()->state(), QAbstractSocket::UnconnectedState);
        QTest::qWait(200);
        QTcpSocket otro;
        QVERIFY(monitor.conectar(otro));
        QVERIFY(enviar(otro, TramaEnlace::reset()));
        QTRY_COMPARE(monitor.leer().out, QByteArray("(reset)\n(reset)\n"));
    }

    // 1 MB sent in one connection: as short bad frames the connection goes
    // on; as one unfinished frame it is closed at 4 KiB. Either way the
    // monitor stays small and prints the next valid frame.
    void monitorUnMegaEnUnaConexion_data()
    {
        QTest::addColumn<QByteArray>("trozo");
        QTest::addColumn<bool>("cierra");
        QTest::newRow("bad frames") << QByteArray(1023, 'x') + '@' << false;
        QTest::newRow("no frame end") << QByteArray(1024, 'x') << true;
        QTest::newRow("huge length") << QByteArray("999999:") + QByteArray(1017, 'x') << true;
    }
    void monitorUnMegaEnUnaConexion()
    {
        QFETCH(QByteArray, trozo);
        QFETCH(bool, cierra);
        Monitor monitor;
        QVERIFY(monitor.listo());
        const qint64 antes = memoriaResidenteKb(monitor.proceso.processId());
        QTcpSocket cliente;
        QVERIFY(monitor.conectar(cliente));
        const QByteArray mega = trozo.repeated(1024);
        QVERIFY(enviar(cliente, mega));
        if (cierra) {
            QTRY_VERIFY(monitor.leer().err.contains("Conexión cerrada: más de 4096 bytes"));
            QTRY_COMPARE(cliente.state(), QAbstractSocket::UnconnectedState);
        } else {
            QTRY_COMPARE(monitor.leer().err.count("Trama no válida (1024 bytes)"), 1024);
        }
#ifndef __SANITIZE_ADDRESS__ // the sanitizer keeps freed memory in quarantine
        const qint64 despues = memoriaResidenteKb(monitor.proceso.processId());
        QVERIFY2(despues - antes < 4 * 1024, qPrintable(QString("RSS grew by %1 kB").arg(despues - antes)));
#else
        Q_UNUSED(antes)
#endif
        QTcpSocket siguiente;
        QTcpSocket &destino = cierra ? siguiente : cliente;
        if (cierra)
            QVERIFY(monitor.conectar(siguiente));
        QVERIFY(enviar(destino, TramaEnlace::reset()));
        QTRY_COMPARE(monitor.leer().out, QByteArray("(reset)\n"));
    }

    // The window's event server keeps 64 peers and turns the next away.
    void servidorEventosAdmite64Conexiones()
    {
        ServidorEventos servidor;
        QVERIFY(servidor.escuchar(TestSupport::puertoLibre()) || servidor.escuchar(0));
        const quint16 puerto = servidor.findChild<QTcpServer *>("servidorEventos")->serverPort();
        QSignalSpy eventos(&servidor, &ServidorEventos::eventosRecibidos);
        std::vector<std::unique_ptr<QTcpSocket>> clientes;
        for (int i = 0; i < 65; ++i) {
            clientes.emplace_back(new QTcpSocket);
            clientes.back()->connectToHost(QHostAddress::LocalHost, puerto);
            QVERIFY(clientes.back()->waitForConnected(3000));
            QTRY_COMPARE(servidor.conexiones(), qMin(i + 1, 64));
        }
        QTRY_COMPARE(clientes.back()->state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(servidor.conexiones(), 64);
        QVERIFY(enviar(*clientes.at(63), "5:boton@7:timeout@"));
        QTRY_COMPARE(eventos.size(), 1);
        QCOMPARE(eventos.first().first().toStringList(), (QStringList{"boton", "timeout"}));
        clientes.clear();
        QTRY_COMPARE(servidor.conexiones(), 0);
    }

    // Frames sent before the peer accepts go out once it does, in order,
    // from the thread of the window's link, which the socket moves to.
    void clienteReportesEnOrden()
    {
        QTcpServer peer;
        QVERIFY(peer.listen(QHostAddress::LocalHost, 0));
        QThread hilo;
        auto *cliente = new ClienteReportes(nullptr, peer.serverPort());
        cliente->moveToThread(&hilo);
        connect(&hilo, &QThread::finished, cliente, &QObject::deleteLater);
        hilo.start();
        QCOMPARE(cliente->findChild<QTcpSocket *>()->thread(), &hilo);
        QMetaObject::invokeMethod(cliente, [cliente]() {
            cliente->enviar(TramaEnlace::reset());
            cliente->enviar(Reporte{"m", "a", "e", "b", ""});
        });
        QTRY_VERIFY(peer.hasPendingConnections());
        QTcpSocket *conexion = peer.nextPendingConnection();
        QByteArray datos;
        QTRY_COMPARE(datos += conexion->readAll(), QByteArray("11:,,(reset),,@8:m,a,e,b,@"));
        hilo.quit();
        QVERIFY(hilo.wait(5000));
    }
};

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
