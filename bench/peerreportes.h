#ifndef PEERREPORTES_H
#define PEERREPORTES_H

#include <QTcpServer>

class QTcpSocket;

// The peer that listens for Vireo's report frames in a benchmark's outside
// program, with blocking sockets: it counts the frames that arrive.
class PeerReportes
{
public:
    explicit PeerReportes(quint16 puerto);

    // Waits until `cuantas` frames have arrived in all; false when the
    // sender does not connect or the frames stop coming.
    bool esperar(qint64 cuantas);
    qint64 recibidas() const { return m_recibidas; }

private:
    QTcpServer m_servidor;
    QTcpSocket *m_conexion = nullptr;
    qint64 m_recibidas = 0;
};

#endif // PEERREPORTES_H
