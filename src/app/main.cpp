#include "mainwindow.h"
#include "traducciones.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QApplication app(argc, argv);
    Traducciones::instalar(app);
    MainWindow window;
    window.show();
    return app.exec();
}
