// "Depurar" with a board on a pseudo-terminal: latency from a debug line
// written on the port to its report frame at the link's peer, and lines per
// second sustained (paced at 10 000/s, then as fast as the port takes them)
// with every frame counted at the peer. The board and the peer run in a
// thread of their own, with blocking I/O, as outside programs would.
//
// A bare relay (read the pty's slave, write one fixed frame per line to the
// peer, nothing else) runs first as the baseline: on a loaded machine the
// pseudo-terminal's own latency dominates both.
//
// BENCH_OCULTA=1 keeps the window hidden (no painting).

#include "mainwindow.h"
#include "peerreportes.h"
#include "proyectobench.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace ProyectoBench;

const int kCalentamiento = 300;
const int kMuestras = 3000;
const int kPausaMicrosegundos = 2000;
const int kSostenidas = 20000;
const int kPorTanda = 100;

struct Cifras
{
    double p50 = 0;
    double p99 = 0;
    double maximo = 0;
    double pausadas = 0;
    double rafaga = 0;
    double colaPausadas = 0;
    bool completas = false;
};

// The board writes lines on the master side; the peer counts report frames.
class Placa : public QThread
{
public:
    Placa(int maestro, quint16 reportes) : m_maestro(maestro), m_puertoReportes(reportes) {}
    Cifras cifras;

protected:
    void run() override
    {
        PeerReportes peer(m_puertoReportes);
        std::vector<double> reloj;
        QElapsedTimer cronometro;
        for (int i = 0; i < kCalentamiento + kMuestras; ++i) {
            cronometro.start();
            if (!escribir(linea(m_escritas)) || !peer.esperar(m_escritas))
                return;
            const double microsegundos = cronometro.nsecsElapsed() / 1000.0;
            QThread::usleep(kPausaMicrosegundos);
            if (i >= kCalentamiento)
                reloj.push_back(microsegundos);
        }
        cifras.p50 = percentil(reloj, 50);
        cifras.p99 = percentil(reloj, 99);
        cifras.maximo = *std::max_element(reloj.begin(), reloj.end());

        // 10 000 lines a second: a batch of 100 every 10 ms.
        cronometro.start();
        for (int tanda = 0; tanda < kSostenidas / kPorTanda; ++tanda) {
            QByteArray lineas;
            for (int i = 0; i < kPorTanda; ++i)
                lineas += linea(m_escritas);
            if (!escribir(lineas))
                return;
            const qint64 siguiente = qint64(tanda + 1) * 10'000'000;
            while (cronometro.nsecsElapsed() < siguiente)
                QThread::usleep(200);
        }
        const qint64 ultimaEscrita = cronometro.nsecsElapsed();
        if (!peer.esperar(m_escritas))
            return;
        cifras.pausadas = kSostenidas / (cronometro.nsecsElapsed() / 1e9);
        cifras.colaPausadas = (cronometro.nsecsElapsed() - ultimaEscrita) / 1e6;

        cronometro.start();
        QByteArray rafaga;
        for (int i = 0; i < kSostenidas; ++i)
            rafaga += linea(m_escritas);
        if (!escribir(rafaga) || !peer.esperar(m_escritas))
            return;
        cifras.rafaga = kSostenidas / (cronometro.nsecsElapsed() / 1e9);
        cifras.completas = peer.recibidas() == m_escritas;
    }

private:
    static QByteArray linea(qint64 &escritas) { return (escritas++ % 2) ? "0,1,0\n" : "0,0,0\n"; }

    bool escribir(const QByteArray &datos)
    {
        qint64 hechos = 0;
        while (hechos < datos.size()) {
            const ssize_t n = ::write(m_maestro, datos.constData() + hechos, size_t(datos.size() - hechos));
            if (n <= 0)
                return false;
            hechos += n;
        }
        return true;
    }

    int m_maestro;
    quint16 m_puertoReportes;
    qint64 m_escritas = 0;
};

// Opens a raw pseudo-terminal pair; false when the system has none.
bool abrirPty(int *maestro, int *esclavo, QString *ruta)
{
    char nombre[256] = {};
    if (::openpty(maestro, esclavo, nombre, nullptr, nullptr) != 0)
        return false;
    termios modo;
    ::tcgetattr(*esclavo, &modo);
    ::cfmakeraw(&modo);
    ::tcsetattr(*esclavo, TCSANOW, &modo);
    *ruta = QString::fromLocal8Bit(nombre);
    return true;
}

// The baseline: every line read on the slave becomes one fixed frame.
class Relevo : public QObject
{
public:
    Relevo(int esclavo, quint16 salida)
        : m_esclavo(esclavo), m_puertoSalida(salida), m_aviso(esclavo, QSocketNotifier::Read)
    {
        connect(&m_aviso, &QSocketNotifier::activated, this, [this]() { reenviar(); });
    }

private:
    void reenviar()
    {
        char datos[4096];
        const ssize_t n = ::read(m_esclavo, datos, sizeof datos);
        if (n <= 0)
            return;
        // The peer listens once its thread runs: connect on the first line.
        if (m_salida.state() == QAbstractSocket::UnconnectedState) {
            m_salida.connectToHost(QHostAddress::LocalHost, m_puertoSalida);
            m_salida.waitForConnected(1000);
        }
        const int lineas = int(std::count(datos, datos + n, '\n'));
        for (int i = 0; i < lineas; ++i)
            m_salida.write(kTramaMotor);
        m_salida.flush();
    }

    int m_esclavo;
    quint16 m_puertoSalida;
    QSocketNotifier m_aviso;
    QTcpSocket m_salida;
};

Cifras correr(int maestro, quint16 reportes)
{
    Placa placa(maestro, reportes);
    correrHilo(placa);
    return placa.cifras;
}

void imprimir(const char *nombre, const Cifras &c)
{
    std::printf("%-22s p50 %7.1f us  p99 %8.1f us  máx %8.1f us | a 10 000/s: %6.0f/s, última %5.1f ms "
                "después | de una vez: %7.0f/s | %s\n",
                nombre, c.p50, c.p99, c.maximo, c.pausadas, c.colaPausadas, c.rafaga,
                c.completas ? "todas reportadas" : "FALTARON");
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir carpeta;
    // The chosen port reaches the window through its settings, kept apart
    // from the user's.
    qputenv("XDG_CONFIG_HOME", carpeta.filePath("config").toUtf8());
    const quint16 puertoReportes = puertoLibre();
    qputenv("VIREO_PUERTO_EVENTOS", QByteArray::number(puertoLibre()));
    qputenv("VIREO_PUERTO_REPORTES", QByteArray::number(puertoReportes));
    QApplication app(argc, argv);

    Cifras base;
    {
        int maestro = -1;
        int esclavo = -1;
        QString ruta;
        const quint16 salida = puertoLibre();
        if (!abrirPty(&maestro, &esclavo, &ruta))
            return 1;
        Relevo relevo(esclavo, salida);
        base = correr(maestro, salida);
        ::close(esclavo);
        ::close(maestro);
    }

    int maestro = -1;
    int esclavo = -1;
    QString ruta;
    if (!abrirPty(&maestro, &esclavo, &ruta)) {
        std::fprintf(stderr, "No se pudo crear la pseudo-terminal\n");
        return 1;
    }
    QSettings("Alderhall", "vireo").setValue("puertoDepuracion", ruta);

    const QString proyecto = escribirMotor(carpeta.path());
    MainWindow ventana;
    if (qEnvironmentVariableIsEmpty("BENCH_OCULTA"))
        ventana.show();
    if (proyecto.isEmpty() || !ventana.abrirProyecto(proyecto))
        return 1;
    ventana.findChild<QAction *>("actionDepurar")->trigger();
    if (ventana.uiMode() != MainWindow::Depurar) {
        std::fprintf(stderr, "La depuración no arrancó\n");
        return 1;
    }

    const Cifras vireo = correr(maestro, puertoReportes);
    std::printf("%d muestras (una cada %d us más la respuesta), %d líneas a 10 000/s y %d de una vez; "
                "ventana %s\n",
                kMuestras, kPausaMicrosegundos, kSostenidas, kSostenidas,
                qEnvironmentVariableIsEmpty("BENCH_OCULTA") ? "visible" : "oculta");
    imprimir("relevo pty->TCP (base)", base);
    imprimir("Vireo línea->trama", vireo);
    std::printf("razón p50 %.1fx p99 %.1fx (meta: p99 <= 1000 us; 10 000 líneas/s sin pérdida)\n",
                vireo.p50 / base.p50, vireo.p99 / base.p99);
    ::close(esclavo);
    ::close(maestro);
    return vireo.completas && base.completas ? 0 : 1;
}
