#ifndef SIMULACIONPRUEBA_H
#define SIMULACIONPRUEBA_H

#include <QByteArray>
#include <QIcon>
#include <QList>
#include <QString>
#include <QTcpServer>

class MainWindow;
class QTcpSocket;
class QTemporaryDir;

namespace SimulacionPrueba {

// Points the link of every MainWindow created afterwards at free ports, so
// that parallel test runs never meet Vireo's fixed ports.
void usarPuertosLibres();
// Copies tests/data/simulacion/<nombre>.vro into dir (with its folder
// pointing there, so saving writes into dir) and opens it in window.
bool abrirFixture(MainWindow &window, const QTemporaryDir &dir, const QString &nombre);
// True when the icon shows the image of the resource ":/img/img/" + nombre.
bool iconoEs(const QIcon &icon, const QString &nombre);

// The peer that listens for the reports of the simulation.
class PeerReportes : public QObject
{
public:
    explicit PeerReportes(quint16 puerto);
    QByteArray datos() const { return m_datos; }
    void limpiar() { m_datos.clear(); }
    // Closes every accepted connection from this side.
    void cerrarConexiones();
    int conexionesAceptadas() const { return m_aceptadas; }

private:
    QTcpServer m_servidor;
    QList<QTcpSocket *> m_conexiones;
    QByteArray m_datos;
    int m_aceptadas = 0;
};

} // namespace SimulacionPrueba

#endif // SIMULACIONPRUEBA_H
