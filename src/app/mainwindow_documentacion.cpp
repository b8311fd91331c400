#include "mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::CrearDocumentacion() {}

void MainWindow::on_actionGenerarDocumentacion_triggered()
{
    CrearDocumentacion();
}
