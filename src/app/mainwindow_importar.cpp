#include "mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::ImportarArchivo() {}

void MainWindow::ImportarProyecto() {}

void MainWindow::on_actionDesde_archivo_triggered()
{
    ImportarArchivo();
}

void MainWindow::on_actionDesde_otro_proyecto_triggered()
{
    ImportarProyecto();
}
