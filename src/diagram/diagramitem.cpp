#include "diagramitem.h"

#include <QPainter>

// Placeholder bodies until the diagram work lands.
#pragma GCC diagnostic ignored "-Wunused-parameter"

DiagramItem::DiagramItem(DiagramType diagramType, QMenu *contextMenu, QGraphicsItem *parent)
    : QGraphicsRectItem(parent), m_diagramType(diagramType), m_contextMenu(contextMenu)
{}
QRectF DiagramItem::boundingRect() const
{
    return rect();
}
QPainterPath DiagramItem::shape() const
{
    return QPainterPath();
}
void DiagramItem::paint(QPainter *, const QStyleOptionGraphicsItem *, QWidget *) {}
void DiagramItem::addArrow(Arrow *arrow)
{
    m_arrows.append(arrow);
}
void DiagramItem::removeArrow(Arrow *arrow)
{
    m_arrows.removeOne(arrow);
}
void DiagramItem::removeArrows() {}
void DiagramItem::setName(const QString &name)
{
    m_name = name;
}
void DiagramItem::setSize(const qreal &, const qreal &) {}
void DiagramItem::setColor(const QColor &color)
{
    m_color = color;
}
void DiagramItem::setActivo(bool activo)
{
    m_activo = activo;
}
void DiagramItem::contextMenuEvent(QGraphicsSceneContextMenuEvent *) {}
void DiagramItem::mousePressEvent(QGraphicsSceneMouseEvent *) {}
void DiagramItem::mouseMoveEvent(QGraphicsSceneMouseEvent *) {}
void DiagramItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *) {}
void DiagramItem::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *) {}
QVariant DiagramItem::itemChange(GraphicsItemChange, const QVariant &value)
{
    return value;
}
