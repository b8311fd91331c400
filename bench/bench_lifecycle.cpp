// Opens, saves, simulates and documents a large project through the main
// window: 20 machines of 250 states with 3 outgoing transitions each. Each
// window figure is set beside the same work done on the document alone, in
// the same round, so the ratios (the median of the rounds' own) hold on a busy
// machine. Goals: open ≤ 2 × loading the document and ≤ 400 ms of processor
// time, save ≤ 1.5 × writing the document, one simulated event ≤ 200 µs,
// "Documentar" ≤ 1 s, peak resident memory after opening ≤ 300 MB. Opening it
// again into the same window shows what closing the project before costs;
// opening the copy the document alone wrote, what a project whose machines
// the window did not write costs. On a busy machine run it as
// "chrt -f 10 bench_lifecycle" for steady wall-clock figures. For a profiler,
// "bench_lifecycle abrir" (or guardar, evento, documentar) does only that
// work, a few times, and prints nothing else.
#include "aplicacion.h"
#include "lectorproyecto.h"
#include "mainwindow.h"
#include "medicion.h"
#include "proyectobench.h"
#include "xmlhandler.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <algorithm>
#include <functional>

namespace {

const int MAQUINAS = 20;
const int ESTADOS = 250;
const int TRANSICIONES = 3;
const int RONDAS = 15;

double mediana(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.at(v.size() / 2);
}

// The median of each round's ratio: the two pieces of work of a round run
// seconds apart, while this machine's speed drifts over a whole run.
double razon(const QVector<double> &a, const QVector<double> &b)
{
    QVector<double> razones;
    for (int r = 0; r < a.size() && r < b.size(); ++r)
        razones << a.at(r) / b.at(r);
    return mediana(razones);
}

// Processor (the whole process's and the window thread's) and wall-clock
// time of one piece of work, in ms.
struct Medida
{
    QVector<double> cpu;
    QVector<double> hilo;
    QVector<double> reloj;
    void medir(const std::function<bool()> &trabajo)
    {
        QElapsedTimer r;
        r.start();
        const double c = cpuMs();
        const double h = hiloMs();
        if (!trabajo())
            qFatal("el trabajo medido falló");
        cpu << cpuMs() - c;
        hilo << hiloMs() - h;
        reloj << r.nsecsElapsed() / 1e6;
    }
};

// Peak resident memory of the process so far, in MiB (Linux).
long picoMemoriaMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &linea : status.readAll().split('\n')) {
        if (linea.startsWith("VmHWM:"))
            return linea.mid(6).trimmed().split(' ').value(0).toLong() / 1024;
    }
    return -1;
}

void esperar(int ms)
{
    QEventLoop bucle;
    QTimer::singleShot(ms, &bucle, &QEventLoop::quit);
    bucle.exec();
}

// Answers the message box "Documentar" ends with.
void cerrarMensajes()
{
    QTimer::singleShot(0, [] {
        if (auto *caja = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            caja->accept();
        else
            cerrarMensajes();
    });
}

// One piece of work alone, for a profiler: the window and the project are
// prepared outside of it as far as it allows.
int perfilar(QApplication &app, const QString &path, const QString &que)
{
    MainWindow ventana;
    ventana.show();
    app.processEvents();
    if (que == QLatin1String("abrir")) {
        for (int r = 0; r < 3; ++r)
            ventana.abrirProyecto(path);
        return 0;
    }
    if (!ventana.abrirProyecto(path))
        return 1;
    if (que == QLatin1String("guardar")) {
        for (int r = 0; r < 10; ++r)
            ventana.guardarDatos();
    } else if (que == QLatin1String("documentar")) {
        for (int r = 0; r < 2; ++r) {
            cerrarMensajes();
            ventana.CrearDocumentacion();
        }
    } else if (que == QLatin1String("evento")) {
        ventana.findChild<QAction *>(QStringLiteral("actionSimular"))->trigger();
        esperar(1700);
        auto *eventos = ventana.findChild<QTableWidget *>(QStringLiteral("tableWidgetSimEventos"));
        for (int i = 0; i < 3000; ++i)
            emit eventos->cellDoubleClicked(1 + i % TRANSICIONES, 0);
    } else {
        return 2;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The window is measured as Vireo runs it.
    Aplicacion::preparar(app);
    QTextStream out(stdout);
    QTemporaryDir tmp;
    const QString path = ProyectoBench::escribirGrande(tmp.path(), QStringLiteral("grande"), MAQUINAS,
                                                       ESTADOS, TRANSICIONES, true);
    if (path.isEmpty()) {
        out << "no se pudo escribir el proyecto de prueba\n";
        return 1;
    }
    out << "proyecto: " << MAQUINAS << " maquinas x " << ESTADOS << " estados x " << TRANSICIONES
        << " transiciones, " << QFileInfo(path).size() / 1024 << " KiB\n";
    out.flush();
    if (argc > 1)
        return perfilar(app, path, QString::fromLocal8Bit(argv[1]));

    // The document alone is written elsewhere: what it writes is the same
    // project, but not as the window saves it (an empty value is written
    // "<idAcciones/>"), and opening such a file in the window takes the
    // longer way of a project whose machines Vireo did not write.
    const QString otraCarpeta = tmp.filePath(QStringLiteral("documento"));
    QDir().mkpath(otraCarpeta);
    const QString otro = otraCarpeta + QStringLiteral("/grande.vro");
    Medida abrir, abrirOtro, reabrir, leer, guardar, escribir, documentar;
    long pico = -1;
    for (int r = 0; r < RONDAS; ++r) {
        std::unique_ptr<XmlHandler> documento;
        {
            QString motivo;
            documento = LectorProyecto::leerArchivo(path, &motivo);
        }
        documento->setContenidoGeneral(QStringLiteral("carpeta"), otraCarpeta);
        escribir.medir([&] { return documento->save(); });
        documento.reset();

        {
            MainWindow ventana;
            ventana.show();
            app.processEvents();
            // Right before the window reads it, as the window would.
            leer.medir([&] {
                QString motivo;
                return LectorProyecto::leerArchivo(path, &motivo) != nullptr;
            });
            abrir.medir([&] { return ventana.abrirProyecto(path); });
            if (r == 0)
                pico = picoMemoriaMiB();
            guardar.medir([&] { return ventana.guardarDatos(); });
            if (r < 2) {
                documentar.medir([&] {
                    cerrarMensajes();
                    ventana.CrearDocumentacion();
                    return true;
                });
            }
            // The open project's windows and scenes go before the new ones come.
            reabrir.medir([&] { return ventana.abrirProyecto(path); });
        }

        MainWindow ventana;
        ventana.show();
        app.processEvents();
        abrirOtro.medir([&] { return ventana.abrirProyecto(otro); });
    }

    // One event fired in every machine, the lighting and the panels
    // included, as a double click on the event in the simulation panel does.
    Medida evento;
    {
        MainWindow ventana;
        ventana.show();
        app.processEvents();
        if (!ventana.abrirProyecto(path))
            return 1;
        ventana.findChild<QAction *>(QStringLiteral("actionSimular"))->trigger();
        esperar(1700);
        auto *eventos = ventana.findChild<QTableWidget *>(QStringLiteral("tableWidgetSimEventos"));
        for (int i = 0; i < 300; ++i) {
            evento.medir([&] {
                emit eventos->cellDoubleClicked(1 + i % TRANSICIONES, 0);
                return true;
            });
        }
    }

    const auto linea = [&](const char *que, const Medida &m, const char *objetivo) {
        out << que << ": procesador " << mediana(m.cpu) << " ms, reloj " << mediana(m.reloj) << " ms "
            << objetivo << "\n";
    };
    linea("abrir en la ventana", abrir, "(objetivo <= 400 ms de procesador)");
    linea("leer el documento solo", leer, "");
    out << "  abrir / leer: " << razon(abrir.cpu, leer.cpu) << " x (objetivo <= 2)\n";
    linea("abrir el mismo proyecto escrito por el documento solo", abrirOtro, "");
    out << "  abrirlo / leer: " << razon(abrirOtro.cpu, leer.cpu) << " x\n";
    linea("abrir otro proyecto en la misma ventana", reabrir, "(lo que pasa de abrir: cerrar el anterior)");
    linea("guardar desde la ventana", guardar, "");
    linea("escribir el documento solo", escribir, "");
    out << "  guardar / escribir: " << razon(guardar.cpu, escribir.cpu) << " x (objetivo <= 1.5)\n";
    out << "un evento simulado: reloj " << mediana(evento.reloj) * 1000
        << " us (objetivo <= 200 us), procesador " << mediana(evento.cpu) * 1000
        << " us, del hilo de la ventana " << mediana(evento.hilo) * 1000 << " us\n";
    linea("Documentar", documentar, "(objetivo <= 1000 ms)");
    out << "memoria residente maxima tras abrir: " << pico << " MiB (objetivo <= 300 MiB)\n";
    return 0;
}
