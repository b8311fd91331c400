#include "puertodepuracion.h"

PuertoDepuracion::PuertoDepuracion(QObject *parent) : QObject(parent), m_puerto(this)
{
    qRegisterMetaType<QVector<LineaDepuracion>>();
    connect(&m_puerto, &QSerialPort::readyRead, this, &PuertoDepuracion::leer);
    connect(&m_puerto, &QSerialPort::errorOccurred, this, &PuertoDepuracion::alFallar);
}

bool PuertoDepuracion::abrir(const QString &ruta, qint32 velocidad)
{
    cerrar();
    m_error.clear();
    m_decodificador = DecodificadorLineas();
    m_ignoradas = 0;
    if (ruta.isEmpty()) {
        m_error = QStringLiteral("No se eligió ningún puerto serie: elíjalo en \"Configurar depuracion\".");
        return false;
    }
    m_ruta = ruta;
    m_puerto.setPortName(ruta);
    if (!m_puerto.open(QIODevice::ReadOnly)) {
        m_error = mensaje(m_puerto.error());
        return false;
    }
    // A pseudo-terminal takes any speed; a real port refusing this one is
    // told apart from one that cannot be opened.
    if (!m_puerto.setBaudRate(velocidad) || !m_puerto.setDataBits(QSerialPort::Data8) ||
        !m_puerto.setParity(QSerialPort::NoParity) || !m_puerto.setStopBits(QSerialPort::OneStop) ||
        !m_puerto.setFlowControl(QSerialPort::NoFlowControl)) {
        m_error = QStringLiteral("El puerto %1 no acepta %2 baudios, 8 bits, sin paridad.")
                      .arg(m_ruta)
                      .arg(velocidad);
        m_puerto.close();
        return false;
    }
    return true;
}

void PuertoDepuracion::cerrar()
{
    if (m_puerto.isOpen())
        m_puerto.close();
}

void PuertoDepuracion::leer()
{
    const QVector<LineaDepuracion> lineas = m_decodificador.agregar(m_puerto.readAll());
    if (lineas.isEmpty())
        return;
    for (const LineaDepuracion &linea : lineas) {
        if (!linea.valida)
            ++m_ignoradas;
    }
    emit lineasRecibidas(lineas);
}

void PuertoDepuracion::alFallar(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || !m_puerto.isOpen())
        return;
    // Lines the port still holds were sent before it failed.
    if (m_puerto.bytesAvailable() > 0)
        leer();
    m_error = mensaje(error);
    m_puerto.clearError();
    m_puerto.close();
    emit cerrado(m_error);
}

QString PuertoDepuracion::mensaje(QSerialPort::SerialPortError error) const
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("No existe el puerto serie %1.").arg(m_ruta);
    case QSerialPort::PermissionError:
        return QStringLiteral("El puerto %1 está ocupado por otro programa o no hay permiso para abrirlo.")
            .arg(m_ruta);
    case QSerialPort::OpenError:
        return QStringLiteral("El puerto %1 ya está abierto.").arg(m_ruta);
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
        return QStringLiteral("Se perdió la conexión con el puerto %1.").arg(m_ruta);
    default:
        return QStringLiteral("No se puede usar el puerto %1: %2").arg(m_ruta, m_puerto.errorString());
    }
}
