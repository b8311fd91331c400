// Undo history in the main window. A step (the project snapshot taken after
// an edit) and an undo (the scenes rebuilt from the previous snapshot) on a
// 30-state machine: goal 20 ms each. A step on 20 machines of 250 states with
// 3 transitions each: goal 150 ms, with the history within 64 MB.
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

namespace {

double mediana(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.at(v.size() / 2);
}

// Moves one state and records the step; the time of the recording alone.
double paso(MainWindow &ventana, int i)
{
    DiagramItem *estado = ventana.sceneList().first()->itemList().at(i % 30);
    estado->moveBy(5, 0);
    QElapsedTimer reloj;
    reloj.start();
    ventana.registrarPaso(QStringLiteral("Mover estado"));
    return reloj.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir tmp;

    {
        const QString path = ProyectoBench::escribirGrande(tmp.path(), QStringLiteral("p"), 1, 30, 2, false);
        MainWindow ventana;
        ventana.show();
        if (path.isEmpty() || !ventana.abrirProyecto(path))
            return 1;
        QAction *deshacer = ventana.findChild<QAction *>(QStringLiteral("actionDeshacer"));
        QVector<double> pasos;
        QVector<double> deshechos;
        for (int i = 0; i < 30; ++i) {
            pasos << paso(ventana, i);
            QElapsedTimer reloj;
            reloj.start();
            deshacer->trigger();
            deshechos << reloj.nsecsElapsed() / 1e6;
            paso(ventana, i);
        }
        out << "30 estados: paso " << mediana(pasos) << " ms, deshacer " << mediana(deshechos)
            << " ms (objetivo <= 20 ms cada uno)\n";
    }

    const QString path = ProyectoBench::escribirGrande(tmp.path(), QStringLiteral("p"), 20, 250, 3, false);
    MainWindow ventana;
    ventana.show();
    if (path.isEmpty() || !ventana.abrirProyecto(path))
        return 1;
    QVector<double> pasos;
    for (int i = 0; i < 15; ++i)
        pasos << paso(ventana, i);
    out << "20 x 250 x 3: paso " << mediana(pasos) << " ms (objetivo <= 150 ms), historial "
        << ventana.historial().pasos() << " pasos, " << ventana.historial().bytes() / (1024 * 1024)
        << " MB (límite 64 MB)\n";
    return 0;
}
