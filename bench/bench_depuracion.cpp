// "Depurar" with a board on a pseudo-terminal: latency from a debug line
// written on the port to its report frame at the link's peer, and lines per
// second sustained (paced at 10 000/s, then as fast as the port takes them)
// with every frame counted at the peer. The board and the peers run in a
// thread of their own, with blocking I/O, as outside programs would.
//
// A bare relay (read its own pty's slave in a thread of its own, write one
// fixed frame per line to its peer, nothing else) is the baseline. The
// latency samples alternate between the relay and Vireo in blocks of
// kBloque lines, so that both meet the same load from other programs: on a
// shared machine the pseudo-terminal's and the scheduler's own delays
// dominate both tails, and only the ratio says what Vireo adds.
//
// The window's thread is measured too, in processor time, which the load of
// other programs hardly changes: how long it runs in one stretch before it
// blocks again (the stretch a line's worker or the link's thread may wait
// for on a loaded core), its share of a second, and how much it repaints.
//
// BENCH_OCULTA=1 keeps the window hidden (no painting).

#include "mainwindow.h"
#include "medicion.h"
#include "peerreportes.h"
#include "proyectobench.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QSettings>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <pty.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace ProyectoBench;

const int kCalentamiento = 300;
const int kMuestras = 3000;
const int kBloque = 150;
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

// What the board is doing, for the window's figures.
enum Fase { Muestras, Sostenidas, Rafaga, Otra, NumFases };
std::atomic<int> g_fase{Otra};

long bloqueosHilo()
{
    rusage uso;
    ::getrusage(RUSAGE_THREAD, &uso);
    return uso.ru_nvcsw;
}

// The window's thread as the application sees it: every event it handles
// from the event loop. A stretch is the processor time from the first such
// event after the thread blocked (a voluntary context switch) to the end of
// the last one before it blocks again.
class AplicacionMedida : public QApplication
{
public:
    using QApplication::QApplication;

    struct Hilo
    {
        std::vector<double> tramos;
        double procesador = 0;
        double inicio = -1;
        double fin = 0;
        int pintadasDiagrama = 0;
        int pintadasPanel = 0;
        double pixeles = 0;
    };
    Hilo fases[NumFases];

    bool notify(QObject *receptor, QEvent *evento) override
    {
        if (thread() != QThread::currentThread())
            return QApplication::notify(receptor, evento);
        contarPintado(receptor, evento);
        if (m_profundidad > 0)
            return QApplication::notify(receptor, evento);
        const long bloqueos = bloqueosHilo();
        const double antes = 1e6 * hiloMs();
        if (bloqueos != m_bloqueos)
            cerrarTramo(antes);
        m_bloqueos = bloqueos;
        ++m_profundidad;
        const bool hecho = QApplication::notify(receptor, evento);
        --m_profundidad;
        m_finTramo = 1e6 * hiloMs();
        return hecho;
    }

private:
    void cerrarTramo(double ahora)
    {
        Hilo &h = fases[g_fase.load()];
        if (m_inicioTramo >= 0) {
            const double tramo = m_finTramo - m_inicioTramo;
            h.tramos.push_back(tramo / 1000);
            h.procesador += tramo / 1000;
        }
        m_inicioTramo = ahora;
        const double reloj = QDateTime::currentMSecsSinceEpoch();
        if (h.inicio < 0)
            h.inicio = reloj;
        h.fin = reloj;
    }

    void contarPintado(QObject *receptor, QEvent *evento)
    {
        if (evento->type() != QEvent::Paint || !receptor->parent())
            return;
        Hilo &h = fases[g_fase.load()];
        const QObject *dueno = receptor->parent();
        if (dueno->inherits("QGraphicsView"))
            ++h.pintadasDiagrama;
        else if (dueno->objectName() == QLatin1String("tableWidgetDepuracion"))
            ++h.pintadasPanel;
        else
            return;
        for (const QRect &r : static_cast<QPaintEvent *>(evento)->region())
            h.pixeles += double(r.width()) * r.height();
    }

    int m_profundidad = 0;
    long m_bloqueos = -1;
    double m_inicioTramo = -1;
    double m_finTramo = 0;
};

// Where the board writes its lines (a pty's master side) and where their
// report frames arrive (the peer's port).
struct Destino
{
    int maestro = -1;
    quint16 reportes = 0;
};

// The board writes lines on the master sides; the peers count report frames.
// Index 0 is the relay, 1 is Vireo.
class Placa : public QThread
{
public:
    Placa(Destino relevo, Destino vireo) : m_destinos{relevo, vireo} {}
    Cifras cifras[2];

protected:
    void run() override
    {
        PeerReportes relevo(m_destinos[0].reportes);
        PeerReportes vireo(m_destinos[1].reportes);
        PeerReportes *peers[2] = {&relevo, &vireo};
        std::vector<double> reloj[2];
        int enviadas[2] = {0, 0};
        QElapsedTimer cronometro;
        for (int i = 0; i < 2 * (kCalentamiento + kMuestras); ++i) {
            const int d = (i / kBloque) % 2;
            // The window's first stretches lay it out and paint it whole.
            if (i == 2 * kCalentamiento)
                g_fase = Muestras;
            cronometro.start();
            if (!escribir(d, linea(d)) || !peers[d]->esperar(m_escritas[d]))
                return;
            const double microsegundos = cronometro.nsecsElapsed() / 1000.0;
            QThread::usleep(kPausaMicrosegundos);
            if (enviadas[d]++ >= kCalentamiento)
                reloj[d].push_back(microsegundos);
        }
        for (int d = 0; d < 2; ++d) {
            cifras[d].p50 = percentil(reloj[d], 50);
            cifras[d].p99 = percentil(reloj[d], 99);
            cifras[d].maximo = *std::max_element(reloj[d].begin(), reloj[d].end());
            if (!sostener(d, *peers[d]))
                return;
        }
        g_fase = Otra;
    }

private:
    // 10 000 lines a second, then as many as the port takes at once.
    bool sostener(int d, PeerReportes &peer)
    {
        Cifras &c = cifras[d];
        QElapsedTimer cronometro;
        g_fase = d == 1 ? Sostenidas : Otra;
        cronometro.start();
        for (int tanda = 0; tanda < kSostenidas / kPorTanda; ++tanda) {
            QByteArray lineas;
            for (int i = 0; i < kPorTanda; ++i)
                lineas += linea(d);
            if (!escribir(d, lineas))
                return false;
            const qint64 siguiente = qint64(tanda + 1) * 10'000'000;
            while (cronometro.nsecsElapsed() < siguiente)
                QThread::usleep(200);
        }
        const qint64 ultimaEscrita = cronometro.nsecsElapsed();
        if (!peer.esperar(m_escritas[d]))
            return false;
        c.pausadas = kSostenidas / (cronometro.nsecsElapsed() / 1e9);
        c.colaPausadas = (cronometro.nsecsElapsed() - ultimaEscrita) / 1e6;

        g_fase = d == 1 ? Rafaga : Otra;
        cronometro.start();
        QByteArray rafaga;
        for (int i = 0; i < kSostenidas; ++i)
            rafaga += linea(d);
        if (!escribir(d, rafaga) || !peer.esperar(m_escritas[d]))
            return false;
        c.rafaga = kSostenidas / (cronometro.nsecsElapsed() / 1e9);
        c.completas = peer.recibidas() == m_escritas[d];
        return true;
    }

    QByteArray linea(int d) { return (m_escritas[d]++ % 2) ? "0,1,0\n" : "0,0,0\n"; }

    bool escribir(int d, const QByteArray &datos)
    {
        qint64 hechos = 0;
        while (hechos < datos.size()) {
            const ssize_t n =
                ::write(m_destinos[d].maestro, datos.constData() + hechos, size_t(datos.size() - hechos));
            if (n <= 0)
                return false;
            hechos += n;
        }
        return true;
    }

    Destino m_destinos[2];
    qint64 m_escritas[2] = {0, 0};
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
        // The peer listens once the board's thread runs: connect on the
        // first line.
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

// The relay in a thread of its own, as Vireo's link has one.
class HiloRelevo : public QThread
{
public:
    HiloRelevo(int esclavo, quint16 salida) : m_esclavo(esclavo), m_salida(salida) {}

protected:
    void run() override
    {
        Relevo relevo(m_esclavo, m_salida);
        exec();
    }

private:
    int m_esclavo;
    quint16 m_salida;
};

void imprimir(const char *nombre, const Cifras &c)
{
    std::printf("%-22s p50 %7.1f us  p99 %8.1f us  máx %8.1f us | a 10 000/s: %6.0f/s, última %5.1f ms "
                "después | de una vez: %7.0f/s | %s\n",
                nombre, c.p50, c.p99, c.maximo, c.pausadas, c.colaPausadas, c.rafaga,
                c.completas ? "todas reportadas" : "FALTARON");
}

// The window's thread in one phase of the run.
void imprimirHilo(const char *nombre, const AplicacionMedida::Hilo &h)
{
    const double segundos = qMax(1e-3, (h.fin - h.inicio) / 1000);
    if (h.tramos.empty())
        return;
    std::printf(
        "  %-20s %5.1f ms de procesador/s en %4.0f tramos/s: tramo p50 %6.0f us p99 %6.0f us máx %6.0f "
        "us | repintados/s: diagrama %4.0f, panel %4.0f, %5.2f Mpx/s\n",
        nombre, h.procesador / segundos / 1000, h.tramos.size() / segundos, percentil(h.tramos, 50),
        percentil(h.tramos, 99), *std::max_element(h.tramos.begin(), h.tramos.end()),
        h.pintadasDiagrama / segundos, h.pintadasPanel / segundos, h.pixeles / segundos / 1e6);
}

double cargaMedia()
{
    double carga[1] = {0};
    return ::getloadavg(carga, 1) == 1 ? carga[0] : -1;
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
    AplicacionMedida app(argc, argv);

    Destino relevo;
    Destino vireo;
    int esclavoRelevo = -1;
    int esclavo = -1;
    QString rutaRelevo;
    QString ruta;
    if (!abrirPty(&relevo.maestro, &esclavoRelevo, &rutaRelevo) ||
        !abrirPty(&vireo.maestro, &esclavo, &ruta)) {
        std::fprintf(stderr, "No se pudo crear la pseudo-terminal\n");
        return 1;
    }
    relevo.reportes = puertoLibre();
    vireo.reportes = puertoReportes;
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

    HiloRelevo hiloRelevo(esclavoRelevo, relevo.reportes);
    hiloRelevo.start();
    const double cargaAntes = cargaMedia();
    Placa placa(relevo, vireo);
    correrHilo(placa);
    hiloRelevo.quit();
    hiloRelevo.wait();
    std::printf("%d muestras de cada uno (una cada %d us más la respuesta, en tandas alternas de %d), "
                "%d líneas a 10 000/s y %d de una vez; ventana %s; carga media %.1f -> %.1f\n",
                kMuestras, kPausaMicrosegundos, kBloque, kSostenidas, kSostenidas,
                qEnvironmentVariableIsEmpty("BENCH_OCULTA") ? "visible" : "oculta", cargaAntes, cargaMedia());
    const Cifras &base = placa.cifras[0];
    const Cifras &v = placa.cifras[1];
    imprimir("relevo pty->TCP (base)", base);
    imprimir("Vireo línea->trama", v);
    std::printf("razón p50 %.1fx p99 %.1fx (meta: p99 <= 1000 us; 10 000 líneas/s sin pérdida)\n",
                v.p50 / base.p50, v.p99 / base.p99);
    std::printf("hilo de la ventana (tramo: procesador sin bloquearse):\n");
    imprimirHilo("muestras (ambos)", app.fases[Muestras]);
    imprimirHilo("Vireo a 10 000/s", app.fases[Sostenidas]);
    imprimirHilo("Vireo de una vez", app.fases[Rafaga]);
    for (int fd : {esclavoRelevo, esclavo, relevo.maestro, vireo.maestro})
        ::close(fd);
    return v.completas && base.completas ? 0 : 1;
}
