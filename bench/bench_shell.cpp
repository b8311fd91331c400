// How long the main window takes to come up, and to open a small project.
// Run with QT_QPA_PLATFORM=offscreen (make bench does).
#include "mainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTextStream>
#include <algorithm>
#include <functional>
#include <memory>

namespace {

double medianMs(int runs, const std::function<void()> &work)
{
    QVector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        work();
        times << clock.nsecsElapsed() / 1e6;
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    // The offscreen platform's notes about window hints would drown the figures.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true); // leaves the user's window layout alone
    QTextStream out(stdout);
    out.setRealNumberPrecision(1);
    out.setRealNumberNotation(QTextStream::FixedNotation);

    const double start = medianMs(7, [] {
        MainWindow window;
        window.show();
        QApplication::processEvents();
    });
    out << "ventana principal: construir y mostrar (mediana)  " << start << " ms   objetivo < 300 ms\n";

    const QString ejemplo = QStringLiteral(VIREO_SOURCE_DIR "/examples/semaforo_simple/SEMAFORO.vro");
    const double abrir = medianMs(7, [&ejemplo] {
        MainWindow window;
        window.show();
        window.abrirProyecto(ejemplo);
        QApplication::processEvents();
    });
    out << "mostrar y abrir el ejemplo SEMAFORO (mediana)     " << abrir << " ms   objetivo < 500 ms\n";
    return 0;
}
