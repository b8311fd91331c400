#include "arrow.h"

#include <QGraphicsRectItem>
#include <QGraphicsTextItem>

// Placeholder bodies until the diagram work lands.
#pragma GCC diagnostic ignored "-Wunused-parameter"

Arrow::Arrow(DiagramItem *startItem, DiagramItem *endItem, QMenu *contextMenu, QGraphicsItem *parent)
    : QGraphicsPathItem(parent), m_contextMenu(contextMenu), m_from(startItem), m_to(endItem),
      m_mid(new QGraphicsRectItem(-3, -3, 6, 6, this)), m_textItem(new QGraphicsTextItem(this))
{}
QRectF Arrow::boundingRect() const
{
    return QRectF();
}
QPainterPath Arrow::shape() const
{
    return QPainterPath();
}
void Arrow::paint(QPainter *, const QStyleOptionGraphicsItem *, QWidget *) {}
void Arrow::updatePosition() {}
void Arrow::setText(const QString &event, const QStringList &actions)
{
    m_event = event;
    m_actions = actions;
}
void Arrow::alignText() {}
void Arrow::setActiva(bool activa)
{
    m_activa = activa;
}
void Arrow::setMidSelected(bool) {}
void Arrow::setTextRelativePos(const QPointF &pos)
{
    m_textRelativePos = pos;
}
void Arrow::contextMenuEvent(QGraphicsSceneContextMenuEvent *) {}
void Arrow::mousePressEvent(QGraphicsSceneMouseEvent *) {}
void Arrow::mouseMoveEvent(QGraphicsSceneMouseEvent *) {}
void Arrow::mouseReleaseEvent(QGraphicsSceneMouseEvent *) {}
QVariant Arrow::itemChange(GraphicsItemChange, const QVariant &value)
{
    return value;
}
