#ifndef DIALOGEDITORESTADO_H
#define DIALOGEDITORESTADO_H

#include <QDialog>
#include <QHash>
#include <QList>
#include <QStringList>

class Arrow;
class DiagramItem;
class DiagramScene;
class XmlHandler;

namespace Ui {
class DialogEditorEstado;
}

// The modal editor of one state: renames it, recolours it from a fixed palette
// and deletes transitions that leave it. Every change is applied to the scene
// at once, so the user sees it; the caller asks datosModificados() afterwards
// and, when the dialog was cancelled, puts the scene back as it was.
class DialogEditorEstado : public QDialog
{
    Q_OBJECT

public:
    explicit DialogEditorEstado(QWidget *parent = nullptr);
    ~DialogEditorEstado() override;

    void setDatos(int indexEstado, XmlHandler *&datos, DiagramScene *&scene);
    bool datosModificados() const { return m_modificado; }
    // The states of the other machines (upper-case name -> machine), which a
    // new name may not repeat.
    void setOtrasMaquinas(const QHash<QString, QString> &estados) { m_otrasMaquinas = estados; }

    // The nine SVG colour names offered as swatches, in order.
    static const QStringList &paleta();

private:
    DiagramItem *estado() const;
    QList<Arrow *> transicionesSalientes() const;
    void llenarColores();
    void actualizarMuestra();
    void llenarTransiciones();
    void cambiarNombre(const QString &texto);
    void cambiarColor(int indice);
    void eliminarTransicion();
    bool confirmarEliminacion();

    Ui::DialogEditorEstado *m_ui;
    int m_index = -1;
    DiagramScene *m_scene = nullptr;
    XmlHandler *m_datos = nullptr;
    bool m_modificado = false;
    QHash<QString, QString> m_otrasMaquinas;
};

#endif // DIALOGEDITORESTADO_H
