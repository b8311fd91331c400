#ifndef DIALOGRECUPERACION_H
#define DIALOGRECUPERACION_H

#include "archivorecuperacion.h"

#include <QDialog>

namespace Ui {
class DialogRecuperacion;
}

// Lists the recovery copies that sessions ended without removing, oldest
// first, each with its project's file and date, or with why it cannot be
// recovered. "Recuperar" accepts with the chosen copy, which the caller opens;
// "Descartar" hands the chosen copy to descartada() for the caller to delete
// and leaves the others listed (the dialog closes when none is left);
// "Conservar" closes it, keeping every copy still listed.
class DialogRecuperacion : public QDialog
{
    Q_OBJECT

public:
    explicit DialogRecuperacion(const QList<ArchivoRecuperacion::Pendiente> &pendientes,
                                QWidget *parent = nullptr);
    ~DialogRecuperacion() override;

    // The copy chosen with "Recuperar".
    ArchivoRecuperacion::Pendiente elegida() const;
    int cantidad() const { return m_pendientes.size(); }

signals:
    void descartada(const ArchivoRecuperacion::Pendiente &pendiente);

private:
    void llenarLista();
    void actualizarBotones();
    void descartarElegida();

    Ui::DialogRecuperacion *ui;
    QList<ArchivoRecuperacion::Pendiente> m_pendientes;
};

#endif // DIALOGRECUPERACION_H
