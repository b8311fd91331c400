#include "servidorreportes.h"

#include <QHostAddress>
#include <QTcpSocket>

namespace {

// What one read may take from the system at most: a few frames' worth, so
// a fast peer is read in bounded pieces.
constexpr qint64 BufferLectura = 64 * 1024;

} // namespace

ServidorReportes::ServidorReportes(QObject *parent) : QObject(parent)
{
    m_servidor.setParent(this);
    connect(&m_servidor, &QTcpServer::newConnection, this, &ServidorReportes::aceptar);
}

// The sockets the server still owns close while it is destroyed; by then
// nothing must read them.
ServidorReportes::~ServidorReportes()
{
    for (QTcpSocket *conexion : m_pendiente.keys())
        conexion->disconnect(this);
}

bool ServidorReportes::escuchar(quint16 puerto)
{
    return m_servidor.listen(QHostAddress::LocalHost, puerto);
}

void ServidorReportes::aceptar()
{
    while (QTcpSocket *conexion = m_servidor.nextPendingConnection()) {
        if (m_pendiente.size() >= MaxConexiones) {
            emit conexionCerrada(
                QStringLiteral("Conexión rechazada: ya hay %1 conexiones abiertas.").arg(MaxConexiones));
            conexion->abort();
            conexion->deleteLater();
            continue;
        }
        conexion->setReadBufferSize(BufferLectura);
        m_pendiente.insert(conexion, QByteArray());
        connect(conexion, &QTcpSocket::readyRead, this, [this, conexion]() { leer(conexion); });
        connect(conexion, &QTcpSocket::disconnected, this, [this, conexion]() {
            leer(conexion);
            m_pendiente.remove(conexion);
            conexion->deleteLater();
        });
    }
}

void ServidorReportes::leer(QTcpSocket *conexion)
{
    auto pendiente = m_pendiente.find(conexion);
    if (pendiente == m_pendiente.end())
        return;
    QByteArray &datos = pendiente.value();
    datos += conexion->readAll();
    int pos = 0;
    for (;;) {
        const LecturaReporte lectura = TramaEnlace::leerReporte(datos, pos);
        if (lectura.estado == LecturaReporte::Incompleta)
            break;
        const QByteArray trama = datos.mid(pos, lectura.consumidos);
        if (lectura.estado == LecturaReporte::Invalida)
            emit tramaInvalida(trama);
        else
            emit reporteRecibido(lectura.reporte, trama);
        pos += lectura.consumidos;
    }
    datos.remove(0, pos);
    if (datos.size() > LimitePendiente) {
        cerrar(
            conexion,
            QStringLiteral("Conexión cerrada: más de %1 bytes sin una trama completa.").arg(LimitePendiente));
    }
}

void ServidorReportes::cerrar(QTcpSocket *conexion, const QString &motivo)
{
    m_pendiente.remove(conexion);
    conexion->disconnect(this);
    conexion->abort();
    conexion->deleteLater();
    emit conexionCerrada(motivo);
}
