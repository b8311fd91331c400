#include "clientereportes.h"

#include "puertosenlace.h"

#include <QHostAddress>

// The socket is a child so that it moves with the client to the link's
// thread.
ClienteReportes::ClienteReportes(QObject *parent, quint16 puerto)
    : QObject(parent), m_puerto(puerto), m_socket(this)
{
    connect(&m_socket, &QTcpSocket::connected, this, [this]() {
        m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        for (const QByteArray &trama : qAsConst(m_enEspera))
            m_socket.write(trama);
        m_enEspera.clear();
        m_socket.flush();
    });
    // Also runs while the client is destroyed: it touches nothing else.
    connect(&m_socket, &QTcpSocket::stateChanged, this, [this](QAbstractSocket::SocketState estado) {
        if (estado == QAbstractSocket::UnconnectedState)
            m_enEspera.clear();
    });
    // The report peer has nothing to tell; whatever it sends is dropped so
    // that it cannot pile up.
    connect(&m_socket, &QTcpSocket::readyRead, this, [this]() { m_socket.readAll(); });
}

// Each frame goes out in one write.
void ClienteReportes::enviar(const QByteArray &trama)
{
    if (m_socket.state() == QAbstractSocket::ConnectedState) {
        m_socket.write(trama);
        m_socket.flush();
        return;
    }
    // A peer that never completes the handshake must not make them pile up.
    if (m_enEspera.size() < MaxTramasEnEspera)
        m_enEspera.append(trama);
    if (m_socket.state() == QAbstractSocket::UnconnectedState)
        m_socket.connectToHost(QHostAddress::LocalHost, m_puerto ? m_puerto : PuertosEnlace::reportes());
}
