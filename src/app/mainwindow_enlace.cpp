#include "mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::Analizar(const QString &eventoRecibido)
{
    Q_UNUSED(eventoRecibido)
}

void MainWindow::nuevaConexion() {}

void MainWindow::cambiosEnSocket(QAbstractSocket::SocketState state)
{
    Q_UNUSED(state)
}

void MainWindow::datoDisponible() {}
