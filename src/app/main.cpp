#include "mainwindow.h"
#include "traducciones.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QApplication app(argc, argv);
    Traducciones::instalar(app);
    MainWindow window;
    window.show();
    // Asked once the window is on screen, so the questions have a parent to sit on.
    QTimer::singleShot(0, &window, &MainWindow::ofrecerRecuperacion);
    return app.exec();
}
