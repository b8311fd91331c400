// Undo history in the main window. A step (the project snapshot taken after
// an edit) and an undo (the scenes rebuilt from the previous snapshot) on a
// 30-state machine: goal 20 ms each. A step on 20 machines of 250 states with
// 3 transitions each: goal 150 ms, with the history within 64 MB. Each figure
// is the median, in wall-clock and in processor time (the machine is shared:
// the second tells what Vireo costs).
#include "diagramitem.h"
#include "diagramscene.h"
#include "mainwindow.h"
#include "proyectobench.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <ctime>

namespace {

double mediana(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.at(v.size() / 2);
}

// Wall-clock and processor time of a series of runs, in ms.
struct Tiempos
{
    QVector<double> pared;
    QVector<double> proceso;

    template<typename F> void medir(F &&trabajo)
    {
        QElapsedTimer reloj;
        const std::clock_t inicio = std::clock();
        reloj.start();
        trabajo();
        pared << reloj.nsecsElapsed() / 1e6;
        proceso << 1000.0 * double(std::clock() - inicio) / CLOCKS_PER_SEC;
    }

    QString texto() const
    {
        return QStringLiteral("%1 ms (%2 ms de proceso)")
            .arg(mediana(pared), 0, 'f', 2)
            .arg(mediana(proceso), 0, 'f', 2);
    }
};

// Moves one state and records the step; the recording alone is timed.
void paso(MainWindow &ventana, int i, Tiempos *tiempos = nullptr)
{
    DiagramScene *scene = ventana.sceneList().at(i % ventana.sceneList().size());
    scene->itemList().at(i % scene->itemList().size())->moveBy(5, 0);
    const auto registrar = [&] { ventana.registrarPaso(QStringLiteral("Mover estado")); };
    if (tiempos)
        tiempos->medir(registrar);
    else
        registrar();
}

// Steps and undos alternated on the project at path.
void medir(const QString &path, int vueltas, QTextStream &out, const char *titulo)
{
    MainWindow ventana;
    ventana.show();
    if (path.isEmpty() || !ventana.abrirProyecto(path))
        return;
    QAction *deshacer = ventana.findChild<QAction *>(QStringLiteral("actionDeshacer"));
    Tiempos pasos;
    Tiempos deshechos;
    for (int i = 0; i < vueltas; ++i) {
        // As between a user's actions, the event loop runs (repaints, queued
        // scene updates) outside what is timed.
        paso(ventana, i, &pasos);
        QCoreApplication::processEvents();
        deshechos.medir([&] { deshacer->trigger(); });
        QCoreApplication::processEvents();
        paso(ventana, i);
        QCoreApplication::processEvents();
    }
    out << titulo << ": paso " << pasos.texto() << ", deshacer " << deshechos.texto() << "; historial "
        << ventana.historial().pasos() << " pasos, " << ventana.historial().bytes() / (1024 * 1024)
        << " MB (límite 64 MB)\n";
    out.flush();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    out.setCodec("UTF-8");
    QTemporaryDir tmp;
    out << "objetivos: paso y deshacer <= 20 ms con 30 estados; paso <= 150 ms con 20 x 250 x 3\n";
    medir(ProyectoBench::escribirGrande(tmp.path(), QStringLiteral("p"), 1, 30, 2, false), 30, out,
          "30 estados");
    medir(ProyectoBench::escribirGrande(tmp.path(), QStringLiteral("p"), 20, 250, 3, false), 60, out,
          "20 x 250 x 3");
    return 0;
}
