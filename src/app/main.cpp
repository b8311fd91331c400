#include "aplicacion.h"
#include "mainwindow.h"

#include <QApplication>
#include <QTimer>

// `vireo [PROYECTO.vro]`: the file, when given (by a file manager, for
// instance), is opened once the window is on screen.
int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QApplication app(argc, argv);
    Aplicacion::preparar(app);
    MainWindow window;
    window.show();
    // Asked once the window is on screen, so the questions have a parent to
    // sit on. A recovered project comes first; the file given on the command
    // line is then opened as "Abrir" does, asking before a recovered project
    // is dropped.
    const QString proyecto = QApplication::arguments().value(1);
    QTimer::singleShot(0, &window, [&window, proyecto] {
        window.ofrecerRecuperacion();
        if (!proyecto.isEmpty() && window.descartarProyectoAbierto())
            window.abrirProyecto(proyecto);
    });
    return app.exec();
}
