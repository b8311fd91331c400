#ifndef MAQUINAXML_H
#define MAQUINAXML_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class DiagramItem;
class DiagramScene;
class FotoMaquina;
class QMenu;
class XmlHandler;
struct Maquina;

// One machine of a project document and the items of its scene: the save
// step writes a scene into the document, opening a project builds the scene
// from the machine as the typed project model reads it. The clipboard moves
// fragments of machines the same way, and vireo-cli builds scenes with it to
// draw them without a window.
class MaquinaXml
{
public:
    // menu is the element menu handed to the items built (may be null).
    MaquinaXml(XmlHandler &documento, const QString &maquinaId, QMenu *menu = nullptr);

    // Adds the machine to the document with the scene's name, states,
    // transitions and initial state.
    void guardar(const DiagramScene *scene);
    // The same from a picture of the scene taken before.
    void guardar(const FotoMaquina &foto);
    // What the document gives for maquinaId once guardar() wrote the picture
    // there, written without any document; reserva as for EscritorMaquina.
    static QByteArray bytes(const FotoMaquina &foto, const QString &maquinaId, int reserva = 0);
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

    // The same from a machine of a model already built (opening a project
    // builds it once for every machine). The scene's index is off while it
    // fills and built once afterwards.
    static QList<DiagramItem *> cargarEstados(DiagramScene *scene, const Maquina &maquina, QMenu *menu);
    static QStringList cargarTransiciones(DiagramScene *scene, const Maquina &maquina,
                                          const QList<DiagramItem *> &estados, QMenu *menu);
    static QString cargarEstadoInicial(DiagramScene *scene, const Maquina &maquina,
                                       const QList<DiagramItem *> &estados, QMenu *menu);
    static QStringList cargar(DiagramScene *scene, const Maquina &maquina, QMenu *menu);

private:
    // The machine as the model reads it from the document; empty when the
    // document does not hold it.
    Maquina modelo() const;

    XmlHandler &m_documento;
    QString m_maquina;
    QMenu *m_menu;
};

#endif // MAQUINAXML_H
