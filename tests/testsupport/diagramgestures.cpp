#include "diagramgestures.h"

#include "arrow.h"
#include "diagramitem.h"
#include "diagramscene.h"

#include <QApplication>
#include <QGraphicsView>
#include <QMouseEvent>
#include <QTest>

namespace DiagramGestures {

static void send(QGraphicsView *view, QEvent::Type type, const QPointF &scenePos, Qt::MouseButton button,
                 Qt::MouseButtons buttons)
{
    QWidget *viewport = view->viewport();
    const QPoint local = view->mapFromScene(scenePos);
    QMouseEvent event(type, local, viewport->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
}

void press(QGraphicsView *view, const QPointF &scenePos, Qt::MouseButton button)
{
    send(view, QEvent::MouseButtonPress, scenePos, button, button);
}

void move(QGraphicsView *view, const QPointF &scenePos, Qt::MouseButtons buttons)
{
    send(view, QEvent::MouseMove, scenePos, Qt::NoButton, buttons);
}

void release(QGraphicsView *view, const QPointF &scenePos, Qt::MouseButton button)
{
    send(view, QEvent::MouseButtonRelease, scenePos, button, Qt::NoButton);
}

void click(QGraphicsView *view, const QPointF &scenePos, Qt::MouseButton button)
{
    press(view, scenePos, button);
    release(view, scenePos, button);
}

void doubleClick(QGraphicsView *view, const QPointF &scenePos)
{
    click(view, scenePos);
    send(view, QEvent::MouseButtonDblClick, scenePos, Qt::LeftButton, Qt::LeftButton);
    release(view, scenePos, Qt::LeftButton);
}

void drag(QGraphicsView *view, const QPointF &from, const QPointF &to)
{
    press(view, from);
    const int steps = 4;
    for (int i = 1; i <= steps; ++i)
        move(view, from + (to - from) * i / steps);
    release(view, to);
}

QGraphicsView *showView(DiagramScene *scene)
{
    auto *view = new QGraphicsView(scene);
    view->setRenderHint(QPainter::Antialiasing);
    view->setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    view->setMouseTracking(true);
    view->viewport()->setMouseTracking(true);
    view->setSceneRect(-500, -350, 1000, 700);
    view->resize(1000 + 2 * view->frameWidth(), 700 + 2 * view->frameWidth());
    view->show();
    if (!QTest::qWaitForWindowExposed(view))
        qWarning("view not exposed");
    return view;
}

DiagramItem *addState(DiagramScene *scene, const QPointF &pos, const QString &name)
{
    auto *item = new DiagramItem(DiagramItem::EstadoSimple, nullptr);
    item->setColor(QColor(QStringLiteral("lightcyan")));
    item->setName(name);
    scene->addItem(item);
    item->setPos(pos);
    scene->addToList(item);
    return item;
}

Arrow *addArrow(DiagramScene *scene, DiagramItem *from, DiagramItem *to)
{
    auto *arrow = new Arrow(from, to, nullptr);
    arrow->setColor(Qt::black);
    from->addArrow(arrow);
    if (to != from)
        to->addArrow(arrow);
    scene->addItem(arrow);
    arrow->updatePosition();
    return arrow;
}

} // namespace DiagramGestures
