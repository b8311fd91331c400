// Undo history in the main window. A step (the project snapshot taken after
// an edit) and an undo (the scenes rebuilt from the previous snapshot) on a
// 30-state machine: goal 20 ms each. A step on 20 machines of 250 states with
// 3 transitions each: goal 150 ms, with the history within 64 MB.
#include "diagramitem.h"
#include "diagramscene.h"
#include "mainwindow.h"
#include "xmlhandler.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

namespace {

QString escribirProyecto(const QString &carpeta, int maquinas, int estados, int transiciones)
{
    XmlHandler doc(QStringLiteral("p"), XmlHandler::NUEVO_XML_DATOS);
    doc.setContenidoGeneral(QStringLiteral("nombre"), QStringLiteral("p"));
    doc.setContenidoGeneral(QStringLiteral("carpeta"), carpeta);
    for (int e = 0; e < transiciones; ++e)
        doc.addNuevoEvento(QStringLiteral("ev%1").arg(e));
    for (int k = 0; k < maquinas; ++k) {
        const QString maquina = QStringLiteral("maquina%1").arg(k);
        doc.addNuevaMaquina(maquina);
        doc.addInfoMaquina(maquina, QStringLiteral("M%1").arg(k));
        for (int i = 0; i < estados; ++i) {
            const QString estado = QStringLiteral("estado%1").arg(i);
            const double x = (i % 25) * 200.0;
            const double y = (i / 25) * 150.0;
            doc.addNuevoEstado(estado, maquina);
            doc.addInfoEstado(estado, QStringLiteral("E%1").arg(i), QStringLiteral("#e0ffff"),
                              XmlHandler::formatoNumero(x), XmlHandler::formatoNumero(y),
                              QStringLiteral("110"), QStringLiteral("65"), maquina);
            for (int j = 0; j < transiciones; ++j) {
                doc.addNuevaTransicion(
                    estado, QStringLiteral("tr%1").arg(j), QStringLiteral("ev%1").arg(j),
                    QStringLiteral("a%1()").arg(j), QStringLiteral("estado%1").arg((i + j + 1) % estados),
                    XmlHandler::formatoPunto(x + 100, y + 20.0 * j), QStringLiteral("0,0"), maquina);
            }
        }
    }
    return doc.save() ? carpeta + QStringLiteral("/p.vro") : QString();
}

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
        const QString path = escribirProyecto(tmp.path(), 1, 30, 2);
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

    const QString path = escribirProyecto(tmp.path(), 20, 250, 3);
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
