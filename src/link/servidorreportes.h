#ifndef SERVIDORREPORTES_H
#define SERVIDORREPORTES_H

#include "decodificadortramas.h"
#include "servidoreventos.h"
#include "tramaenlace.h"

#include <QHash>
#include <QObject>
#include <QTcpServer>

class QTcpSocket;

// The listening end of the report link, as a monitor or a test peer runs it
// on 127.0.0.1. A peer cannot make it grow: it keeps at most MaxConexiones
// connections and LimitePendiente bytes of unfinished frame per connection;
// a connection over either limit is closed and named in conexionCerrada().
class ServidorReportes : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxConexiones = ServidorEventos::MaxConexiones;
    static constexpr int LimitePendiente = DecodificadorTramas::LimiteTrama;

    explicit ServidorReportes(QObject *parent = nullptr);
    ~ServidorReportes() override;

    bool escuchar(quint16 puerto);
    QString errorString() const { return m_servidor.errorString(); }
    int conexiones() const { return m_pendiente.size(); }

signals:
    void reporteRecibido(const Reporte &reporte, const QByteArray &trama);
    // Bytes that are not a frame "N:payload@" with N the payload's length:
    // a frame with the wrong length through its "@", or noise before the
    // next frame (see TramaEnlace::leerReporte).
    void tramaInvalida(const QByteArray &trama);
    void conexionCerrada(const QString &motivo);

private:
    void aceptar();
    void leer(QTcpSocket *conexion);
    void cerrar(QTcpSocket *conexion, const QString &motivo);

    QHash<QTcpSocket *, QByteArray> m_pendiente;
    QTcpServer m_servidor;
};

#endif // SERVIDORREPORTES_H
