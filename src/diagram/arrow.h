#ifndef ARROW_H
#define ARROW_H

#include "arrowlabel.h"

#include <QGraphicsPathItem>
#include <QStringList>
#include <optional>

class DiagramItem;
class QGraphicsRectItem;
class QMenu;

// One transition: a quadratic curve (a cubic loop for a self-transition) from
// its source to its target with a head, a draggable control point and a label
// showing "trigger /" and the actions, which the arrow draws and is grabbed
// by. The arrow stays at the scene origin, so its path, its label and its
// control point are in scene coordinates. The control point's
// item, shown only while the arrow is selected, is made the first time it is
// needed: a large project opens without one per arrow. Whoever destroys an
// arrow first removes it from both end items.
class Arrow : public QGraphicsPathItem
{
public:
    enum { Type = UserType + 4 };

    Arrow(DiagramItem *startItem, DiagramItem *endItem, QMenu *contextMenu, QGraphicsItem *parent = nullptr);
    // A transition as its file describes it, made whole at once: where the
    // file has no control point or label offset, a new arrow's.
    Arrow(DiagramItem *startItem, DiagramItem *endItem, QMenu *contextMenu, const QString &event,
          const QStringList &actions, const std::optional<QPointF> &control,
          const std::optional<QPointF> &textRelativePos);

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    bool contains(const QPointF &point) const override;
    bool collidesWithPath(const QPainterPath &path,
                          Qt::ItemSelectionMode mode = Qt::IntersectsItemShape) const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget = nullptr) override;
    int type() const override { return Type; }

    void updatePosition();
    void setText(const QString &event, const QStringList &actions);
    void alignText();
    void setActiva(bool activa);
    bool isActiva() const { return m_activa; }
    void setMidSelected(bool selected);
    bool isMidSelected() const;
    QPointF controlPoint() const;
    // Re-routes the arrow when it is in a scene.
    void setControlPoint(const QPointF &pos);
    void setTextRelativePos(const QPointF &pos);
    QPointF textRelativePos() const { return m_textRelativePos; }
    // True while the label is being dragged.
    bool isLabelPressed() const { return m_textItemPressed; }

    DiagramItem *startItem() const { return m_from; }
    DiagramItem *endItem() const { return m_to; }
    // The control point's item, made now if it was not yet.
    QGraphicsRectItem *midItem();
    const ArrowLabel &label() const { return m_label; }
    QString event() const { return m_event; }
    QStringList actions() const { return m_actions; }
    void setColor(const QColor &color) { m_color = color; }
    QColor color() const { return m_color; }
    QPolygonF arrowHead() const { return m_arrowHead; }

protected:
    void contextMenuEvent(QGraphicsSceneContextMenuEvent *event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private:
    // Pen, flags and stacking of every arrow.
    void prepare();
    // Control point and label of a freshly drawn transition.
    void placeNew();
    // Puts the label at the control point plus its offset, unless it is
    // being dragged.
    void placeLabel();
    void moveLabel(const QPointF &pos);
    bool isSelfLoop() const;
    bool isOver(QGraphicsItem *child, const QPointF &scenePos) const;
    QColor lineColor() const;
    // Where segment crosses item's outline; *fallback (the middle of the edge
    // crossed last time) when it does not cross it.
    static QPointF endPoint(const QLineF &segment, DiagramItem *item, QPointF *fallback);

    QMenu *m_contextMenu;
    DiagramItem *m_from;
    DiagramItem *m_to;
    QGraphicsRectItem *m_mid = nullptr;
    // Where the control point is while it has no item.
    QPointF m_control;
    QPolygonF m_arrowHead;
    QColor m_color;
    QPointF m_prev_tail;
    QPointF m_prev_head;
    QString m_event;
    QStringList m_actions;
    ArrowLabel m_label;
    QPointF m_textRelativePos;
    QPointF m_textPressOffset;
    bool m_textItemPressed = false;
    bool m_activa = false;
    QPointF m_headDirection;
    QRectF m_boundingRect;
    mutable QPainterPath m_shape;
    mutable bool m_shapeDirty = true;
};

#endif // ARROW_H
