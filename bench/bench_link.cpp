// Latency from an event frame received on the event port to the report frame
// at the peer, and events per second over the link, with the GUI idle. A bare
// Qt loopback relay (the same two hops, no simulation) runs first as the
// baseline.

#include "mainwindow.h"
#include "puertosenlace.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const int kCalentamiento = 300;
const int kMuestras = 5000;
const int kRafaga = 20000;

const char *const kProyecto = R"(<?xml version="1.0" encoding="UTF-8"?>
<proyecto>
    <general><nombre>BENCH</nombre><autores/><creacion>01-01-2026 00:00:00</creacion>
        <modificacion>01-01-2026 00:00:00</modificacion><carpeta>@CARPETA@</carpeta></general>
    <configuracion><hardware/><target/></configuracion>
    <recursos><archivosC/><archivosH/></recursos>
    <maquinas>
        <maquina0>
            <nombre>motor</nombre>
            <estadoInicial><pos_x>-200</pos_x><pos_y>-100</pos_y><idAcciones></idAcciones>
                <idProxEstado>estado0</idProxEstado><midPos>-150,-75</midPos><textPos>0,0</textPos></estadoInicial>
            <estado0>
                <diagrama><nombre>apagado</nombre><color>#ffffff</color><pos_x>0</pos_x><pos_y>0</pos_y>
                    <ancho>120</ancho><alto>60</alto></diagrama>
                <transiciones>
                    <tr0><idEvento>boton</idEvento><idAcciones>encender(),cuenta = 0</idAcciones>
                        <idProxEstado>estado0</idProxEstado><midPos>100,-100</midPos><textPos>0,0</textPos></tr0>
                </transiciones>
            </estado0>
        </maquina0>
    </maquinas>
    <eventos><ev0>boton</ev0></eventos>
    <acciones><acc0>encender()</acc0></acciones>
    <variables><var0>cuenta</var0></variables>
    <constantes><cons0>TRUE</cons0><cons1>FALSE</cons1></constantes>
</proyecto>
)";

void silenciar(QtMsgType, const QMessageLogContext &, const QString &) {}

quint16 puertoLibre()
{
    QTcpServer servidor;
    servidor.listen(QHostAddress::LocalHost, 0);
    return servidor.serverPort();
}

// Counts the "@" that end the frames arriving at the report port.
class Peer : public QObject
{
public:
    explicit Peer(quint16 puerto)
    {
        m_servidor.listen(QHostAddress::LocalHost, puerto);
        connect(&m_servidor, &QTcpServer::newConnection, this, [this]() {
            while (QTcpSocket *conexion = m_servidor.nextPendingConnection()) {
                conexion->setSocketOption(QAbstractSocket::LowDelayOption, 1);
                connect(conexion, &QTcpSocket::readyRead, this,
                        [this, conexion]() { tramas += conexion->readAll().count('@'); });
            }
        });
    }
    qint64 tramas = 0;

private:
    QTcpServer m_servidor;
};

// The baseline: what the window does per event minus the simulation (read
// the event on one connection, write a frame on another).
class Relevo : public QObject
{
public:
    explicit Relevo(quint16 entrada, quint16 salida)
    {
        m_servidor.listen(QHostAddress::LocalHost, entrada);
        connect(&m_servidor, &QTcpServer::newConnection, this, [this]() {
            while (QTcpSocket *conexion = m_servidor.nextPendingConnection()) {
                connect(conexion, &QTcpSocket::readyRead, this, [this, conexion]() {
                    const int n = conexion->readAll().count('@');
                    for (int i = 0; i < n; ++i)
                        m_salida.write("57:motor,apagado,boton,encendido,encender;cuenta = 0 [motor]@");
                    m_salida.flush();
                });
            }
        });
        m_salida.connectToHost(QHostAddress::LocalHost, salida);
        m_salida.waitForConnected(1000);
        m_salida.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    }

private:
    QTcpServer m_servidor;
    QTcpSocket m_salida;
};

void esperarTramas(const Peer &peer, qint64 cuantas)
{
    while (peer.tramas < cuantas)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

struct Cifras
{
    double p50 = 0;
    double p99 = 0;
    double eventosPorSegundo = 0;
};

Cifras medir(quint16 puertoEventos, Peer &peer)
{
    QTcpSocket cliente;
    cliente.connectToHost(QHostAddress::LocalHost, puertoEventos);
    cliente.waitForConnected(1000);
    cliente.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    const QByteArray evento("5:boton@");
    std::vector<double> microsegundos;
    QElapsedTimer reloj;
    for (int i = 0; i < kCalentamiento + kMuestras; ++i) {
        const qint64 esperadas = peer.tramas + 1;
        reloj.start();
        cliente.write(evento);
        cliente.flush();
        esperarTramas(peer, esperadas);
        if (i >= kCalentamiento)
            microsegundos.push_back(reloj.nsecsElapsed() / 1000.0);
    }
    std::sort(microsegundos.begin(), microsegundos.end());
    Cifras cifras;
    cifras.p50 = microsegundos[microsegundos.size() / 2];
    cifras.p99 = microsegundos[microsegundos.size() * 99 / 100];

    const qint64 esperadas = peer.tramas + kRafaga;
    reloj.start();
    for (int i = 0; i < kRafaga; i += 100) {
        cliente.write(evento.repeated(100));
        cliente.flush();
        QCoreApplication::processEvents();
    }
    esperarTramas(peer, esperadas);
    cifras.eventosPorSegundo = kRafaga / (reloj.nsecsElapsed() / 1e9);
    return cifras;
}

void imprimir(const char *nombre, const Cifras &cifras)
{
    std::printf("%-22s p50 %8.1f us   p99 %8.1f us   %9.0f eventos/s\n", nombre, cifras.p50, cifras.p99,
                cifras.eventosPorSegundo);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const quint16 puertoEventos = puertoLibre();
    const quint16 puertoReportes = puertoLibre();
    qputenv("VIREO_PUERTO_EVENTOS", QByteArray::number(puertoEventos));
    qputenv("VIREO_PUERTO_REPORTES", QByteArray::number(puertoReportes));
    QApplication app(argc, argv);
    // Each received event echoes a debug line; the terminal is not measured.
    qInstallMessageHandler(silenciar);

    Cifras base;
    {
        const quint16 entrada = puertoLibre();
        const quint16 salida = puertoLibre();
        Peer peer(salida);
        Relevo relevo(entrada, salida);
        base = medir(entrada, peer);
    }

    QTemporaryDir carpeta;
    QFile archivo(carpeta.filePath("BENCH.vro"));
    if (!archivo.open(QIODevice::WriteOnly))
        return 1;
    archivo.write(QByteArray(kProyecto).replace("@CARPETA@", carpeta.path().toUtf8()));
    archivo.close();
    MainWindow ventana;
    ventana.show();
    if (!ventana.abrirProyecto(archivo.fileName())) {
        std::fprintf(stderr, "No se pudo abrir el proyecto de prueba\n");
        return 1;
    }
    Peer peer(puertoReportes);
    ventana.findChild<QAction *>("actionSimular")->trigger();
    if (ventana.uiMode() != MainWindow::Simular) {
        std::fprintf(stderr, "La simulación no arrancó\n");
        return 1;
    }
    QMetaObject::invokeMethod(&ventana, "updateSimulacion", Qt::DirectConnection);
    const Cifras vireo = medir(puertoEventos, peer);

    std::printf("%d muestras de latencia, ráfaga de %d eventos\n", kMuestras, kRafaga);
    imprimir("relevo Qt (base)", base);
    imprimir("Vireo evento->reporte", vireo);
    std::printf("razón p50 %.1fx, p99 %.1fx\n", vireo.p50 / base.p50, vireo.p99 / base.p99);
    return 0;
}
