#include "diagramscene.h"

// Placeholder bodies until the diagram work lands.
#pragma GCC diagnostic ignored "-Wunused-parameter"

DiagramScene::DiagramScene(const QString &name, QMenu *itemMenu, QObject *parent)
    : QGraphicsScene(parent), m_name(name), m_itemMenu(itemMenu)
{}
void DiagramScene::initSceneRect(qreal, qreal, qreal, qreal) {}
void DiagramScene::addToList(DiagramItem *item)
{
    m_itemList.append(item);
}
void DiagramScene::removeFromList(DiagramItem *item)
{
    m_itemList.removeOne(item);
}
void DiagramScene::removeSelectedItems() {}
void DiagramScene::insertInitialStateItem(int) {}
void DiagramScene::setMode(DiagramScene::Mode mode)
{
    m_sceneMode = mode;
}
void DiagramScene::setItemType(DiagramItem::DiagramType type)
{
    m_itemType = type;
}
void DiagramScene::mousePressEvent(QGraphicsSceneMouseEvent *) {}
void DiagramScene::mouseMoveEvent(QGraphicsSceneMouseEvent *) {}
void DiagramScene::mouseReleaseEvent(QGraphicsSceneMouseEvent *) {}
void DiagramScene::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *) {}
void DiagramScene::insertItemAt(const QPointF &) {}
void DiagramScene::insertLine(DiagramItem *, const QPointF &) {}
void DiagramScene::insertArrow(DiagramItem *) {}
