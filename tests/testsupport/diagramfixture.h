#ifndef DIAGRAMFIXTURE_H
#define DIAGRAMFIXTURE_H

#include "proyectoprueba.h"

// The names the dialog suites use for ProyectoPrueba's builders: items in
// the scene and in its state list, arrows linked at both ends.
namespace DiagramFixture {

inline DiagramItem *addEstado(DiagramScene *scene, const QString &name, const QPointF &pos = QPointF())
{
    return ProyectoPrueba::estado(scene, name, pos);
}

inline Arrow *addTransicion(DiagramScene *scene, DiagramItem *from, DiagramItem *to, const QString &event,
                            const QStringList &actions)
{
    return ProyectoPrueba::transicion(scene, from, to, event, actions);
}

// Makes estado the initial state: a marker in the scene and the reset arrow.
inline Arrow *addReset(DiagramScene *scene, DiagramItem *estado, const QStringList &actions)
{
    return ProyectoPrueba::inicial(scene, estado, actions);
}

} // namespace DiagramFixture

#endif // DIAGRAMFIXTURE_H
