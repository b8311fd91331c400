#ifndef DIAGRAMGESTURES_H
#define DIAGRAMGESTURES_H

#include <QPointF>
#include <QString>
#include <Qt>

class Arrow;
class DiagramItem;
class DiagramScene;
class QGraphicsView;

// Mouse gestures on a real view, given in scene coordinates. Events go to
// the viewport as the window system would deliver them, buttons included
// on moves, so drags reach the scene and its items.
namespace DiagramGestures {

void press(QGraphicsView *view, const QPointF &scenePos, Qt::MouseButton button = Qt::LeftButton);
void move(QGraphicsView *view, const QPointF &scenePos, Qt::MouseButtons buttons = Qt::LeftButton);
void release(QGraphicsView *view, const QPointF &scenePos, Qt::MouseButton button = Qt::LeftButton);
void click(QGraphicsView *view, const QPointF &scenePos, Qt::MouseButton button = Qt::LeftButton);
void doubleClick(QGraphicsView *view, const QPointF &scenePos);
// Press at from, move in a few steps to to, release there.
void drag(QGraphicsView *view, const QPointF &from, const QPointF &to);

// A shown 1000 × 700 view on scene at 1:1 with the scene origin in the
// middle, as the editor's views are set up.
QGraphicsView *showView(DiagramScene *scene);
// A state as the project loader builds one: coloured, named, placed, listed.
DiagramItem *addState(DiagramScene *scene, const QPointF &pos, const QString &name = QStringLiteral("S"));
// An arrow as the loader builds one: black, listed by both ends, placed, its
// label still " ? / ? ".
Arrow *addArrow(DiagramScene *scene, DiagramItem *from, DiagramItem *to);

} // namespace DiagramGestures

#endif // DIAGRAMGESTURES_H
