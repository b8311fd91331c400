#ifndef PORTAPAPELESDIAGRAMA_H
#define PORTAPAPELESDIAGRAMA_H

#include <QByteArray>
#include <QList>
#include <QPointF>
#include <QString>
#include <functional>

class DiagramItem;
class DiagramScene;
class QMenu;
class XmlHandler;

// Copying and pasting states between machines, also of another running
// Vireo. A copy is a small project in the project format: the states, the
// transitions among them and the events, actions and variables those use.
class PortapapelesDiagrama
{
public:
    // The clipboard's type for such a fragment.
    static const char *const MIME;

    // The fragment for estados (other items are ignored; a transition to a
    // state outside the list, and the initial state, are left out). catalogo
    // is the project the states come from.
    static QByteArray copiar(const QList<DiagramItem *> &estados, const XmlHandler &catalogo);

    // What a paste adds to a scene.
    struct Pegado
    {
        QList<DiagramItem *> estados;
        // Names declared in the catalogue because the pasted transitions use them.
        QStringList declarados;
    };
    // Adds the fragment's states and transitions to scene, moved so that
    // their centre is at centro (or by desplazamiento when centro is null),
    // each renamed by nombreLibre(name) (called after the previous ones are
    // in the scene), and declares what they use in catalogo. Nothing happens
    // for bytes that hold no states.
    static Pegado pegar(const QByteArray &fragmento, DiagramScene *scene, XmlHandler &catalogo, QMenu *menu,
                        const std::function<QString(const QString &)> &nombreLibre, const QPointF *centro,
                        const QPointF &desplazamiento);
};

#endif // PORTAPAPELESDIAGRAMA_H
