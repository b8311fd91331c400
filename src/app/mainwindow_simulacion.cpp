#include "mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::initTablaSimulacion() {}

QString MainWindow::AccionesDivididas(const QStringList &acciones) const
{
    return acciones.join(QLatin1Char(';'));
}

void MainWindow::on_actionSimular_triggered() {}

void MainWindow::updateSimulacion() {}

void MainWindow::on_tableWidgetSimEventos_cellDoubleClicked(int row, int column)
{
    Q_UNUSED(row)
    Q_UNUSED(column)
}

void MainWindow::on_actionTerminarSimulacion_triggered() {}
