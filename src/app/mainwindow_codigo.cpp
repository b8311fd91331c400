#include "mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::generarSwitch() {}

void MainWindow::generarPtrFunc() {}

void MainWindow::on_actionGenerarCodigo_triggered() {}
