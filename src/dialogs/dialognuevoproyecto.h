#ifndef DIALOGNUEVOPROYECTO_H
#define DIALOGNUEVOPROYECTO_H

#include <QDialog>
#include <QStringList>

namespace Ui {
class DialogNuevoProyecto;
}

// Asks for the name, the author and the folder of a new project. It accepts
// only when the folder exists (creating it if needed) and holds no project of
// that name yet, so the caller can write the new file straight away.
class DialogNuevoProyecto : public QDialog
{
    Q_OBJECT

public:
    explicit DialogNuevoProyecto(QWidget *parent = nullptr);
    ~DialogNuevoProyecto() override;

    // Name, author and folder (absolute, with "/" separators), in this order.
    QStringList selectedData() const;

private slots:
    void on_lineEditNombre_textChanged(const QString &nombre);
    void on_lineEditCarpeta_textChanged(const QString &carpeta);
    void on_pushButtonBuscar_clicked();
    void on_pushButtonCrear_clicked();

private:
    QString carpeta() const;

    Ui::DialogNuevoProyecto *ui;
};

#endif // DIALOGNUEVOPROYECTO_H
