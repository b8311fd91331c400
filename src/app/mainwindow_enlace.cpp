#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "puertosenlace.h"

#include <QDebug>
#include <QHostAddress>

namespace {

constexpr int MaxTramasEnEspera = 1024;

} // namespace

void MainWindow::iniciarServidor()
{
    // Parented so that tests and tools can find them; they are members, so
    // they leave the window's children before it deletes its children.
    server.setParent(this);
    serverIpv6.setParent(this);
    server.setObjectName(QStringLiteral("servidorEventos"));
    serverIpv6.setObjectName(QStringLiteral("servidorEventosIpv6"));
    connect(&server, &QTcpServer::newConnection, this, &MainWindow::nuevaConexion);
    connect(&serverIpv6, &QTcpServer::newConnection, this, &MainWindow::nuevaConexion);
    // A taken port (another Vireo running) only leaves the link without
    // incoming events; nothing else depends on it.
    const quint16 puerto = PuertosEnlace::eventos();
    server.listen(QHostAddress::LocalHost, puerto);
    serverIpv6.listen(QHostAddress::LocalHostIPv6, puerto);

    connect(&socket, &QTcpSocket::connected, this, [this]() {
        socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        for (const QByteArray &trama : qAsConst(m_tramasEnEspera))
            socket.write(trama);
        m_tramasEnEspera.clear();
        socket.flush();
    });
    // Also runs while the window is destroyed: it touches nothing else.
    connect(&socket, &QTcpSocket::stateChanged, this, [this](QAbstractSocket::SocketState estado) {
        if (estado == QAbstractSocket::UnconnectedState)
            m_tramasEnEspera.clear();
    });
    // The report peer has nothing to tell; whatever it sends is dropped so
    // that it cannot pile up.
    connect(&socket, &QTcpSocket::readyRead, this, [this]() { socket.readAll(); });
}

void MainWindow::nuevaConexion()
{
    for (QTcpServer *servidor : {&server, &serverIpv6}) {
        while (QTcpSocket *conexion = servidor->nextPendingConnection()) {
            connect(conexion, &QTcpSocket::readyRead, this, &MainWindow::datoDisponible);
            connect(conexion, &QTcpSocket::stateChanged, this, &MainWindow::cambiosEnSocket);
            sockets.append(conexion);
            m_decodificadores.insert(conexion, DecodificadorTramas());
            qDebug().noquote() << conexion->peerAddress().toString() +
                                      QStringLiteral(" se conecto al servidor !");
        }
    }
}

// Runs while sockets are being destroyed too (when the window goes away), so
// it touches nothing but the list and the buffers.
void MainWindow::cambiosEnSocket(QAbstractSocket::SocketState state)
{
    if (state != QAbstractSocket::UnconnectedState)
        return;
    for (int i = sockets.size() - 1; i >= 0; --i) {
        QTcpSocket *conexion = sockets.at(i);
        if (conexion->state() != QAbstractSocket::UnconnectedState)
            continue;
        sockets.removeAt(i);
        m_decodificadores.remove(conexion);
        conexion->deleteLater();
    }
}

void MainWindow::datoDisponible()
{
    const QList<QTcpSocket *> conexiones = sockets;
    for (QTcpSocket *conexion : conexiones) {
        if (sockets.contains(conexion) && conexion->bytesAvailable() > 0)
            leerConexion(conexion);
    }
}

void MainWindow::leerConexion(QTcpSocket *conexion)
{
    const QByteArray datos = conexion->readAll();
    qDebug().noquote() << QStringLiteral("Servidor leyo: ") + QString::fromUtf8(datos.constData());
    const DecodificadorTramas::Resultado resultado = m_decodificadores[conexion].agregar(datos);
    if (resultado.descartadas > 0) {
        qDebug().noquote() << QStringLiteral("Servidor descarto %1 trama(s) de mas de %2 bytes de %3")
                                  .arg(resultado.descartadas)
                                  .arg(DecodificadorTramas::LimiteTrama)
                                  .arg(conexion->peerAddress().toString());
    }
    // Every event of the read is applied and reported in order; the display
    // is brought up to date once, after the last.
    bool aplicados = false;
    for (const QString &evento : resultado.eventos)
        aplicados = aplicarEventoRecibido(evento) || aplicados;
    if (aplicados)
        mostrarDisparos();
}

void MainWindow::Analizar(const QString &eventoRecibido)
{
    if (aplicarEventoRecibido(eventoRecibido))
        mostrarDisparos();
}

bool MainWindow::aplicarEventoRecibido(const QString &evento)
{
    if (m_uiMode != Simular)
        return false;
    if (ui->tableWidgetSimEventos->findItems(evento, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty())
        return false;
    dispararEvento(evento);
    return true;
}

// Each frame goes out in one write. No peer on the report port is not an
// error: the frames queued for that attempt are dropped and the simulation
// goes on; the next report tries again.
void MainWindow::enviarTrama(const QByteArray &trama)
{
    if (socket.state() == QAbstractSocket::ConnectedState) {
        socket.write(trama);
        socket.flush();
        return;
    }
    // A peer that never completes the handshake must not make them pile up.
    if (m_tramasEnEspera.size() < MaxTramasEnEspera)
        m_tramasEnEspera.append(trama);
    if (socket.state() == QAbstractSocket::UnconnectedState)
        socket.connectToHost(QHostAddress::LocalHost, PuertosEnlace::reportes());
}
