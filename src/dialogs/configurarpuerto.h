#ifndef CONFIGURARPUERTO_H
#define CONFIGURARPUERTO_H

#include <QDialog>

namespace Ui {
class ConfigurarPuerto;
}

// Lets the user pick the serial port and speed for debugging a target. The
// list is read once, when the dialog is built; a port it does not show (the
// pseudo-terminal of the virtual board) can be typed. No port is opened.
class ConfigurarPuerto : public QDialog
{
    Q_OBJECT

public:
    explicit ConfigurarPuerto(QWidget *parent = nullptr);
    ~ConfigurarPuerto() override;

    // The port chosen with "Conectar"; empty until then, and also when the
    // system reported no port.
    QString ObtenerNombrePuerto() const { return m_nombrePuerto; }
    // Baud rate chosen with "Conectar"; the one given to setDatos until then.
    qint32 ObtenerVelocidad() const { return m_velocidad; }
    // Shows the previous choice.
    void setDatos(const QString &puerto, qint32 velocidad);

private slots:
    void on_pushButtonConectar_clicked();
    void on_pushButtonCancelar_clicked();

private:
    void cargarPuertos();
    void mostrarEstado();

    Ui::ConfigurarPuerto *ui;
    QString m_nombrePuerto;
    qint32 m_velocidad = 115200;
};

#endif // CONFIGURARPUERTO_H
