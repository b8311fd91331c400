#include "mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::initSubWindow(const QString &nombre)
{
    Q_UNUSED(nombre)
}

QGraphicsView *MainWindow::viewOf(DiagramScene *scene) const
{
    Q_UNUSED(scene)
    return nullptr;
}

DiagramScene *MainWindow::activeScene() const
{
    return nullptr;
}

void MainWindow::on_sceneScaleChanged(const QString &scale)
{
    Q_UNUSED(scale)
}

void MainWindow::mostrarZoom(QMdiSubWindow *window)
{
    Q_UNUSED(window)
}
