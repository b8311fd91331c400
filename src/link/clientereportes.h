#ifndef CLIENTEREPORTES_H
#define CLIENTEREPORTES_H

#include "tramaenlace.h"

#include <QByteArrayList>
#include <QObject>
#include <QTcpSocket>

// The outgoing link: sends each report frame to the peer listening on
// 127.0.0.1 at the report port, connecting on demand. No peer is not an
// error: the frames queued for that attempt are dropped and the next report
// tries again.
class ClienteReportes : public QObject
{
public:
    // Frames kept while the connection is being set up; more are dropped.
    static constexpr int MaxTramasEnEspera = 1024;

    // A port of 0 reads PuertosEnlace::reportes() at every connection.
    explicit ClienteReportes(QObject *parent = nullptr, quint16 puerto = 0);

    void enviar(const QByteArray &trama);
    void enviar(const Reporte &reporte) { enviar(TramaEnlace::codificar(reporte)); }

private:
    quint16 m_puerto;
    QByteArrayList m_enEspera;
    QTcpSocket m_socket;
};

#endif // CLIENTEREPORTES_H
