#include "mainwindow.h"
#include "ui_mainwindow.h"

bool MainWindow::guardarDatos()
{
    return false;
}

bool MainWindow::abrirProyecto(const QString &path)
{
    Q_UNUSED(path)
    return false;
}

void MainWindow::on_actionNuevoProyecto_triggered() {}

void MainWindow::on_actionAbrirProyecto_triggered() {}

void MainWindow::on_actionGuardar_triggered() {}

void MainWindow::on_actionGuardarComo_triggered() {}

void MainWindow::on_actionCerrarProyecto_triggered() {}
