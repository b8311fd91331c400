// Latency from an event frame sent to the event port to the report frame at
// the peer, and events per second over the link, with the GUI idle. The peer
// and the event sender run in a thread of their own, with blocking sockets,
// as an outside program would. A bare Qt relay (the same two hops and frames,
// no simulation) runs first as the baseline.
//
// BENCH_OCULTA=1 keeps the window hidden (no painting).

#include "mainwindow.h"
#include "peerreportes.h"
#include "proyectobench.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

using namespace ProyectoBench;

const int kCalentamiento = 300;
const int kMuestras = 3000;
const int kPausaMicrosegundos = 2000;
const int kRafaga = 20000;

void silenciar(QtMsgType, const QMessageLogContext &, const QString &) {}

double cpuProcesoMicrosegundos()
{
    return 1e6 * double(std::clock()) / CLOCKS_PER_SEC;
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
        PeerReportes peer(m_puertoReportes);
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
            if (!peer.esperar(peer.recibidas() + 1))
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

        const qint64 esperadas = peer.recibidas() + kRafaga;
        cronometro.start();
        for (int i = 0; i < kRafaga; i += 100) {
            cliente.write(evento.repeated(100));
            cliente.waitForBytesWritten(1000);
        }
        if (peer.esperar(esperadas))
            cifras.eventosPorSegundo = kRafaga / (cronometro.nsecsElapsed() / 1e9);
    }

private:
    quint16 m_puertoEventos;
    quint16 m_puertoReportes;
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
            m_salida.write(kTramaMotor);
        m_salida.flush();
    }

    QTcpServer m_servidor;
    QTcpSocket m_salida;
    quint16 m_puertoSalida;
};

Cifras correr(quint16 eventos, quint16 reportes)
{
    Externo externo(eventos, reportes);
    correrHilo(externo);
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
    const QString proyecto = escribirMotor(carpeta.path());
    MainWindow ventana;
    if (qEnvironmentVariableIsEmpty("BENCH_OCULTA"))
        ventana.show();
    if (proyecto.isEmpty() || !ventana.abrirProyecto(proyecto)) {
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
