#ifndef MAQUINAXML_H
#define MAQUINAXML_H

#include <QList>
#include <QString>
#include <QStringList>

class DiagramItem;
class DiagramScene;
class QMenu;
class XmlHandler;

// One machine of a project document and the items of its scene: the save
// step writes a scene into the document, opening a project builds the scene
// from it. The clipboard moves fragments of machines the same way, and
// vireo-cli builds scenes with it to draw them without a window.
class MaquinaXml
{
public:
    // menu is the element menu handed to the items built (may be null).
    MaquinaXml(XmlHandler &documento, const QString &maquinaId, QMenu *menu = nullptr);

    // Adds the machine to the document with the scene's name, states,
    // transitions and initial state.
    void guardar(const DiagramScene *scene);
    // Writes estados (in that order) into the machine, which must exist, with
    // the transitions among them; transitions that leave the list and the
    // initial state are left out.
    void guardarEstados(const QList<DiagramItem *> &estados);

    // Adds the machine's states to the scene (after those it has) and returns
    // them in document order.
    QList<DiagramItem *> cargarEstados(DiagramScene *scene) const;
    // Adds the transitions among estados (the states cargarEstados built);
    // returns a line for each transition whose target does not exist.
    QStringList cargarTransiciones(DiagramScene *scene, const QList<DiagramItem *> &estados) const;
    // Builds the marker and its arrow to the initial state, one of estados; a
    // line when the initial state does not exist, empty otherwise.
    QString cargarEstadoInicial(DiagramScene *scene, const QList<DiagramItem *> &estados) const;
    // The three above; returns the lines about skipped references.
    QStringList cargar(DiagramScene *scene) const;

private:
    void guardarEstadoInicial(const DiagramScene *scene);

    XmlHandler &m_documento;
    QString m_maquina;
    QMenu *m_menu;
};

#endif // MAQUINAXML_H
