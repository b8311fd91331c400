#include "peerreportes.h"

#include <QTcpSocket>

PeerReportes::PeerReportes(quint16 puerto)
{
    m_servidor.listen(QHostAddress::LocalHost, puerto);
}

bool PeerReportes::esperar(qint64 cuantas)
{
    if (!m_conexion) {
        if (!m_servidor.waitForNewConnection(5000))
            return false;
        m_conexion = m_servidor.nextPendingConnection();
    }
    while (m_recibidas < cuantas) {
        if (m_conexion->bytesAvailable() == 0 && !m_conexion->waitForReadyRead(5000))
            return false;
        m_recibidas += m_conexion->readAll().count('@');
    }
    return true;
}
