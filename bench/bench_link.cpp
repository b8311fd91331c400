// Latency from an event frame sent to the event port to the report frame at
// the peer, and events per second over the link, with the GUI idle. The peer
// and the event sender run in a thread of their own, with blocking sockets,
// as an outside program would. A bare Qt relay (the same two hops and frames,
// no simulation) runs first as the baseline.
//
// BENCH_OCULTA=1 keeps the window hidden (no painting).

#include "mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

const int kCalentamiento = 300;
const int kMuestras = 3000;
const int kPausaMicrosegundos = 2000;
const int kRafaga = 20000;

// One machine of two states that swap on every "boton", so each event lights
// another state and another arrow.
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
                        <idProxEstado>estado1</idProxEstado><midPos>100,-60</midPos><textPos>0,0</textPos></tr0>
                </transiciones>
            </estado0>
            <estado1>
                <diagrama><nombre>encendido</nombre><color>#ffffff</color><pos_x>250</pos_x><pos_y>0</pos_y>
                    <ancho>120</ancho><alto>60</alto></diagrama>
                <transiciones>
                    <tr0><idEvento>boton</idEvento><idAcciones>apagar()</idAcciones>
                        <idProxEstado>estado0</idProxEstado><midPos>100,60</midPos><textPos>0,0</textPos></tr0>
                </transiciones>
            </estado1>
        </maquina0>
    </maquinas>
    <eventos><ev0>boton</ev0></eventos>
    <acciones><acc0>encender()</acc0><acc1>apagar()</acc1></acciones>
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

double cpuProcesoMicrosegundos()
{
    return 1e6 * double(std::clock()) / CLOCKS_PER_SEC;
}

double percentil(std::vector<double> valores, int p)
{
    std::sort(valores.begin(), valores.end());
    return valores[valores.size() * p / 100];
}

struct Cifras
{
    double p50 = 0;
    double p99 = 0;
    double cpuP50 = 0;
    double cpuP99 = 0;
    double eventosPorSegundo = 0;
};

// The outside programs: one sends events, the other listens for reports.
class Externo : public QThread
{
public:
    Externo(quint16 eventos, quint16 reportes) : m_puertoEventos(eventos), m_puertoReportes(reportes) {}
    Cifras cifras;

protected:
    void run() override
    {
        QTcpServer peer;
        peer.listen(QHostAddress::LocalHost, m_puertoReportes);
        QTcpSocket cliente;
        cliente.connectToHost(QHostAddress::LocalHost, m_puertoEventos);
        if (!cliente.waitForConnected(2000))
            return;
        cliente.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        const QByteArray evento("5:boton@");
        std::vector<double> reloj;
        std::vector<double> cpu;
        QElapsedTimer cronometro;
        for (int i = 0; i < kCalentamiento + kMuestras; ++i) {
            const double cpuAntes = cpuProcesoMicrosegundos();
            cronometro.start();
            cliente.write(evento);
            cliente.waitForBytesWritten(1000);
            if (!esperarTramas(peer, m_recibidas + 1))
                return;
            const double microsegundos = cronometro.nsecsElapsed() / 1000.0;
            QThread::usleep(kPausaMicrosegundos);
            if (i >= kCalentamiento) {
                reloj.push_back(microsegundos);
                cpu.push_back(cpuProcesoMicrosegundos() - cpuAntes);
            }
        }
        cifras.p50 = percentil(reloj, 50);
        cifras.p99 = percentil(reloj, 99);
        cifras.cpuP50 = percentil(cpu, 50);
        cifras.cpuP99 = percentil(cpu, 99);

        const qint64 esperadas = m_recibidas + kRafaga;
        cronometro.start();
        for (int i = 0; i < kRafaga; i += 100) {
            cliente.write(evento.repeated(100));
            cliente.waitForBytesWritten(1000);
        }
        if (esperarTramas(peer, esperadas))
            cifras.eventosPorSegundo = kRafaga / (cronometro.nsecsElapsed() / 1e9);
    }

private:
    bool esperarTramas(QTcpServer &peer, qint64 cuantas)
    {
        if (!m_reportes) {
            if (!peer.waitForNewConnection(2000))
                return false;
            m_reportes = peer.nextPendingConnection();
        }
        while (m_recibidas < cuantas) {
            if (m_reportes->bytesAvailable() == 0 && !m_reportes->waitForReadyRead(5000))
                return false;
            m_recibidas += m_reportes->readAll().count('@');
        }
        return true;
    }

    quint16 m_puertoEventos;
    quint16 m_puertoReportes;
    QTcpSocket *m_reportes = nullptr;
    qint64 m_recibidas = 0;
};

// The baseline: read an event on one connection, write a report frame on
// another, nothing else.
class Relevo : public QObject
{
public:
    Relevo(quint16 entrada, quint16 salida) : m_puertoSalida(salida)
    {
        m_servidor.listen(QHostAddress::LocalHost, entrada);
        connect(&m_servidor, &QTcpServer::newConnection, this, [this]() {
            while (QTcpSocket *conexion = m_servidor.nextPendingConnection())
                connect(conexion, &QTcpSocket::readyRead, this, [this, conexion]() { reenviar(conexion); });
        });
    }

private:
    void reenviar(QTcpSocket *conexion)
    {
        if (m_salida.state() == QAbstractSocket::UnconnectedState) {
            m_salida.connectToHost(QHostAddress::LocalHost, m_puertoSalida);
            m_salida.waitForConnected(1000);
            m_salida.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        }
        const int n = conexion->readAll().count('@');
        for (int i = 0; i < n; ++i)
            m_salida.write("41:motor,apagado,boton,encendido,encender;cuenta = 0 [motor]@");
        m_salida.flush();
    }

    QTcpServer m_servidor;
    QTcpSocket m_salida;
    quint16 m_puertoSalida;
};

Cifras correr(quint16 eventos, quint16 reportes)
{
    Externo externo(eventos, reportes);
    QObject::connect(&externo, &QThread::finished, qApp, &QCoreApplication::quit);
    externo.start();
    QCoreApplication::exec();
    externo.wait();
    return externo.cifras;
}

void imprimir(const char *nombre, const Cifras &cifras)
{
    std::printf("%-24s reloj p50 %7.1f us  p99 %8.1f us | CPU p50 %6.1f us  p99 %7.1f us | %8.0f eventos/s\n",
                nombre, cifras.p50, cifras.p99, cifras.cpuP50, cifras.cpuP99, cifras.eventosPorSegundo);
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
        Relevo relevo(entrada, salida);
        base = correr(entrada, salida);
    }

    QTemporaryDir carpeta;
    QFile archivo(carpeta.filePath("BENCH.vro"));
    if (!archivo.open(QIODevice::WriteOnly))
        return 1;
    archivo.write(QByteArray(kProyecto).replace("@CARPETA@", carpeta.path().toUtf8()));
    archivo.close();
    MainWindow ventana;
    if (qEnvironmentVariableIsEmpty("BENCH_OCULTA"))
        ventana.show();
    if (!ventana.abrirProyecto(archivo.fileName())) {
        std::fprintf(stderr, "No se pudo abrir el proyecto de prueba\n");
        return 1;
    }
    ventana.findChild<QAction *>("actionSimular")->trigger();
    if (ventana.uiMode() != MainWindow::Simular) {
        std::fprintf(stderr, "La simulación no arrancó\n");
        return 1;
    }
    QMetaObject::invokeMethod(&ventana, "updateSimulacion", Qt::DirectConnection);
    const Cifras vireo = correr(puertoEventos, puertoReportes);
    if (vireo.eventosPorSegundo == 0 || base.eventosPorSegundo == 0) {
        std::fprintf(stderr, "Faltaron reportes\n");
        return 1;
    }

    std::printf("%d muestras (una cada %d us más la respuesta), ráfaga de %d eventos; ventana %s\n",
                kMuestras, kPausaMicrosegundos, kRafaga,
                qEnvironmentVariableIsEmpty("BENCH_OCULTA") ? "visible" : "oculta");
    imprimir("relevo Qt (base)", base);
    imprimir("Vireo evento->reporte", vireo);
    std::printf("razón reloj p50 %.1fx p99 %.1fx | CPU p50 %.1fx p99 %.1fx\n", vireo.p50 / base.p50,
                vireo.p99 / base.p99, vireo.cpuP50 / base.cpuP50, vireo.cpuP99 / base.cpuP99);
    return 0;
}
