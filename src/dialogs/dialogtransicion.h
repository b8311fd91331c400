#ifndef DIALOGTRANSICION_H
#define DIALOGTRANSICION_H

#include <QDialog>
#include <QList>
#include <QMessageBox>
#include <QStringList>

#include "usagerules.h"

class Arrow;
class DiagramScene;
class QCompleter;
class QListWidget;
class QListWidgetItem;
class QStringListModel;
class XmlHandler;

namespace Ui {
class DialogTransicion;
}

// The modal editor of one transition: builds its trigger expression from
// buttons and its ordered action list from the catalogue. The arrow itself is
// never changed: on acceptance the caller reads selectedEvent() and
// selectedActions(). Events, actions and variables declared or removed here
// are written into the project document at once and stay so on "Cancelar".
class DialogTransicion : public QDialog
{
    Q_OBJECT

public:
    enum ModoTransicion { NuevaTransicion, EditarTransicion };

    explicit DialogTransicion(QWidget *parent = nullptr);
    ~DialogTransicion() override;

    void setDatos(Arrow *&arrow, XmlHandler *&datos, QList<DiagramScene *> &sceneList, DiagramScene *&scene,
                  ModoTransicion modo);

    // The trigger text: "-" for the arrow that leaves the initial-state marker.
    QString selectedEvent() const { return m_evento; }
    // The action entries in order, joined with ",".
    QString selectedActions() const { return m_acciones; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectControls();
    void llenarListas();
    bool esTransicionReset() const;

    // Expression builder.
    void appendDisparador(const QString &pieza);
    void setEstadoTrasOperando();
    void agregarEvento();
    void agregarExpresion();
    void agregarConectivo(const QString &conectivo);
    void agregarNegacion();
    void abrirParentesis();
    void cerrarParentesis();
    void borrarDisparador();

    // Action list.
    QStringList accionesTransicion() const;
    void agregarAccionSeleccionada();
    void agregarAccion(const QString &accion);
    void agregarAsignacion();
    void quitarAccion();
    void moverAccion(int desplazamiento);

    // Catalogue declarations and removals.
    QString pedirNombre(const QString &titulo, const QString &icono);
    void nuevoEvento();
    void nuevaAccion();
    void nuevaVariable();
    void eliminarEvento();
    void eliminarAccion();
    void eliminarVariable(QListWidget *lista);
    QVector<UsageRules::TransitionText> transicionesDefinidas() const;

    void aceptar();
    void avisar(QMessageBox::Icon icono, const QString &titulo, const QString &texto);

    Ui::DialogTransicion *m_ui;
    Arrow *m_arrow = nullptr;
    XmlHandler *m_datos = nullptr;
    QList<DiagramScene *> m_sceneList;
    DiagramScene *m_scene = nullptr;
    QCompleter *m_completer;
    QStringListModel *m_completerModel;
    QString m_evento;
    QString m_acciones;
    int m_difParentesis = 0;
};

#endif // DIALOGTRANSICION_H
