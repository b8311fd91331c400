#ifndef SERVIDOREVENTOS_H
#define SERVIDOREVENTOS_H

#include "decodificadortramas.h"

#include <QAbstractSocket>
#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

// The server that receives the events peers send to drive a simulation. It
// listens on loopback only (127.0.0.1 and ::1), keeps at most MaxConexiones
// connections, reassembles each connection's frames with a bounded decoder
// and hands over the events of every read at once, in order.
class ServidorEventos : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxConexiones = 64;

    explicit ServidorEventos(QObject *parent = nullptr);

    // False when neither address could be taken (the port is in use).
    bool escuchar(quint16 puerto);
    int conexiones() const { return m_conexiones.size(); }

signals:
    // The events of the frames completed by one read of one connection.
    void eventosRecibidos(const QStringList &eventos);

private:
    void nuevaConexion();
    void cambiosEnSocket(QAbstractSocket::SocketState estado);
    void datoDisponible();
    void leerConexion(QTcpSocket *conexion);

    // Declared before the servers so that they outlive the accepted sockets,
    // which the servers own and which signal while being destroyed.
    QList<QTcpSocket *> m_conexiones;
    QHash<QTcpSocket *, DecodificadorTramas> m_decodificadores;
    QTcpServer m_servidor;
    QTcpServer m_servidorIpv6;
};

#endif // SERVIDOREVENTOS_H
