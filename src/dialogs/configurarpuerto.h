#ifndef CONFIGURARPUERTO_H
#define CONFIGURARPUERTO_H

#include <QDialog>

namespace Ui {
class ConfigurarPuerto;
}

// Lets the user pick one of the computer's serial ports for debugging a
// target. The list is read once, when the dialog is built; no port is opened.
class ConfigurarPuerto : public QDialog
{
    Q_OBJECT

public:
    explicit ConfigurarPuerto(QWidget *parent = nullptr);
    ~ConfigurarPuerto() override;

    // The port chosen with "Conectar"; empty until then, and also when the
    // system reported no port.
    QString ObtenerNombrePuerto() const { return m_nombrePuerto; }

private slots:
    void on_pushButtonConectar_clicked();
    void on_pushButtonCancelar_clicked();

private:
    void cargarPuertos();
    void mostrarEstado();

    Ui::ConfigurarPuerto *ui;
    QString m_nombrePuerto;
};

#endif // CONFIGURARPUERTO_H
