#include "servidoreventos.h"

#include <QDebug>
#include <QHostAddress>
#include <QTcpSocket>

ServidorEventos::ServidorEventos(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("enlaceEventos"));
    // Parented so that tests and tools can find them; they are members, so
    // they leave the children before QObject deletes its children.
    m_servidor.setParent(this);
    m_servidorIpv6.setParent(this);
    m_servidor.setObjectName(QStringLiteral("servidorEventos"));
    m_servidorIpv6.setObjectName(QStringLiteral("servidorEventosIpv6"));
    connect(&m_servidor, &QTcpServer::newConnection, this, &ServidorEventos::nuevaConexion);
    connect(&m_servidorIpv6, &QTcpServer::newConnection, this, &ServidorEventos::nuevaConexion);
}

bool ServidorEventos::escuchar(quint16 puerto)
{
    const bool ipv4 = m_servidor.listen(QHostAddress::LocalHost, puerto);
    const bool ipv6 = m_servidorIpv6.listen(QHostAddress::LocalHostIPv6, puerto);
    return ipv4 || ipv6;
}

void ServidorEventos::nuevaConexion()
{
    for (QTcpServer *servidor : {&m_servidor, &m_servidorIpv6}) {
        while (QTcpSocket *conexion = servidor->nextPendingConnection()) {
            if (m_conexiones.size() >= MaxConexiones) {
                qDebug().noquote() << QStringLiteral("Servidor rechazo a %1: ya hay %2 conexiones")
                                          .arg(conexion->peerAddress().toString())
                                          .arg(MaxConexiones);
                conexion->abort();
                conexion->deleteLater();
                continue;
            }
            connect(conexion, &QTcpSocket::readyRead, this, &ServidorEventos::datoDisponible);
            connect(conexion, &QTcpSocket::stateChanged, this, &ServidorEventos::cambiosEnSocket);
            m_conexiones.append(conexion);
            m_decodificadores.insert(conexion, DecodificadorTramas());
            qDebug().noquote() << conexion->peerAddress().toString() +
                                      QStringLiteral(" se conecto al servidor !");
        }
    }
}

// Runs while sockets are being destroyed too (when the server goes away), so
// it touches nothing but the list and the buffers.
void ServidorEventos::cambiosEnSocket(QAbstractSocket::SocketState estado)
{
    if (estado != QAbstractSocket::UnconnectedState)
        return;
    for (int i = m_conexiones.size() - 1; i >= 0; --i) {
        QTcpSocket *conexion = m_conexiones.at(i);
        if (conexion->state() != QAbstractSocket::UnconnectedState)
            continue;
        m_conexiones.removeAt(i);
        m_decodificadores.remove(conexion);
        conexion->deleteLater();
    }
}

void ServidorEventos::datoDisponible()
{
    const QList<QTcpSocket *> conexiones = m_conexiones;
    for (QTcpSocket *conexion : conexiones) {
        if (m_conexiones.contains(conexion) && conexion->bytesAvailable() > 0)
            leerConexion(conexion);
    }
}

void ServidorEventos::leerConexion(QTcpSocket *conexion)
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
    if (!resultado.eventos.isEmpty())
        emit eventosRecibidos(resultado.eventos);
}
