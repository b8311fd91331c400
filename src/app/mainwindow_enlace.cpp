#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QHostAddress>

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

void MainWindow::iniciarServidor()
{
    connect(&server, &QTcpServer::newConnection, this, &MainWindow::nuevaConexion);
    server.listen(QHostAddress::Any, 9000);
}
