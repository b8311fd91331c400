#ifndef DIAGRAMFIXTURE_H
#define DIAGRAMFIXTURE_H

#include <QPointF>
#include <QString>
#include <QStringList>

class Arrow;
class DiagramItem;
class DiagramScene;

// Builds machines the way the editor does: items in the scene and in its
// state list, arrows linked at both ends.
namespace DiagramFixture {

DiagramItem *addEstado(DiagramScene *scene, const QString &name, const QPointF &pos = QPointF());
Arrow *addTransicion(DiagramScene *scene, DiagramItem *from, DiagramItem *to, const QString &event,
                     const QStringList &actions);
// Makes estado the initial state: a marker in the scene and the reset arrow.
Arrow *addReset(DiagramScene *scene, DiagramItem *estado, const QStringList &actions);

} // namespace DiagramFixture

#endif // DIAGRAMFIXTURE_H
