#include "mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::on_actionVerificar_triggered() {}
