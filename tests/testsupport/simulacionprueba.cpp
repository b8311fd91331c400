#include "simulacionprueba.h"

#include "mainwindow.h"
#include "testsupport.h"

#include <QDir>
#include <QImage>
#include <QTcpSocket>
#include <QTemporaryDir>

namespace SimulacionPrueba {

void usarPuertosLibres()
{
    qputenv("VIREO_PUERTO_EVENTOS", QByteArray::number(TestSupport::puertoLibre()));
    qputenv("VIREO_PUERTO_REPORTES", QByteArray::number(TestSupport::puertoLibre()));
}

bool abrirFixture(MainWindow &window, const QTemporaryDir &dir, const QString &nombre)
{
    QByteArray contenido = TestSupport::readFile(TestSupport::dataPath("simulacion/" + nombre + ".vro"));
    contenido.replace("<carpeta>.</carpeta>", "<carpeta>" + dir.path().toUtf8() + "</carpeta>");
    const QString path = dir.filePath(nombre + ".vro");
    return !contenido.isEmpty() && TestSupport::writeFile(path, contenido) && window.abrirProyecto(path);
}

bool iconoEs(const QIcon &icon, const QString &nombre)
{
    const QImage esperada = QIcon(":/img/img/" + nombre).pixmap(16, 16).toImage();
    return !esperada.isNull() && icon.pixmap(16, 16).toImage() == esperada;
}

PeerReportes::PeerReportes(quint16 puerto)
{
    m_servidor.listen(QHostAddress::LocalHost, puerto);
    connect(&m_servidor, &QTcpServer::newConnection, this, [this]() {
        while (QTcpSocket *conexion = m_servidor.nextPendingConnection()) {
            ++m_aceptadas;
            m_conexiones.append(conexion);
            connect(conexion, &QTcpSocket::readyRead, this,
                    [this, conexion]() { m_datos += conexion->readAll(); });
        }
    });
}

void PeerReportes::cerrarConexiones()
{
    for (QTcpSocket *conexion : qAsConst(m_conexiones))
        conexion->close();
    m_conexiones.clear();
}

} // namespace SimulacionPrueba
