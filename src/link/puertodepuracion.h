#ifndef PUERTODEPURACION_H
#define PUERTODEPURACION_H

#include "decodificadorlineas.h"
#include "lineadepuracion.h"

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QVector>

// Reads the debug lines of a board from a serial port (or a pseudo-terminal
// standing for one). Each read delivers the lines it completed in one
// signal, so a burst costs one round of the event loop, not one per line.
// A port that fails after opening (unplugged, the emulator gone) is closed
// and reported once through `cerrado`.
class PuertoDepuracion : public QObject
{
    Q_OBJECT

public:
    static constexpr qint32 VelocidadPorDefecto = 115200;

    explicit PuertoDepuracion(QObject *parent = nullptr);

    // Opens the port for reading; false with errorString() when it cannot.
    bool abrir(const QString &ruta, qint32 velocidad = VelocidadPorDefecto);
    void cerrar();
    bool estaAbierto() const { return m_puerto.isOpen(); }
    QString ruta() const { return m_ruta; }
    // Why the last open failed or the port closed, in Spanish for the user.
    QString errorString() const { return m_error; }
    // Lines that were not transitions (garbage, too long), counted so far.
    int ignoradas() const { return m_ignoradas + m_decodificador.descartadas(); }

signals:
    // Every line completed by one read, transitions first come first.
    void lineasRecibidas(const QVector<LineaDepuracion> &lineas);
    void cerrado(const QString &motivo);

private:
    void leer();
    void alFallar(QSerialPort::SerialPortError error);
    QString mensaje(QSerialPort::SerialPortError error) const;

    QSerialPort m_puerto;
    QString m_ruta;
    DecodificadorLineas m_decodificador;
    QString m_error;
    int m_ignoradas = 0;
};

#endif // PUERTODEPURACION_H
