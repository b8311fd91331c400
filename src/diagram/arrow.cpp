#include "arrow.h"

#include "arrowlabel.h"
#include "diagramgeometry.h"
#include "diagramitem.h"

#include <QGraphicsScene>
#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsSceneMouseEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPathStroker>

namespace {

// Room around the end points for the widest pen an arrow draws with (the
// selection dot of 2.5) plus antialiasing.
const qreal PenMargin = 2;
const qreal HitWidth = 8;

QPen roundPen(const QColor &color, qreal width, Qt::PenStyle style = Qt::SolidLine)
{
    return QPen(color, width, style, Qt::RoundCap, Qt::RoundJoin);
}

// The draggable control point. It re-routes its arrow whenever it moves in
// a scene, however it was moved: by the arrow's own drag, by code, or by the
// framework carrying it along with a dragged state. An arrow still being
// built outside a scene is routed once by whoever builds it.
class ControlPoint : public QGraphicsRectItem
{
public:
    explicit ControlPoint(Arrow *arrow) : QGraphicsRectItem(-3, -3, 6, 6, arrow), m_arrow(arrow) {}

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override
    {
        if (change == ItemPositionHasChanged && m_arrow->scene())
            m_arrow->updatePosition();
        return QGraphicsRectItem::itemChange(change, value);
    }

private:
    Arrow *m_arrow;
};

} // namespace

Arrow::Arrow(DiagramItem *startItem, DiagramItem *endItem, QMenu *contextMenu, QGraphicsItem *parent)
    : QGraphicsPathItem(parent), m_contextMenu(contextMenu), m_from(startItem), m_to(endItem)
{
    prepare();
    m_label.setPlainText(QStringLiteral(" ? / ? "));
    m_event = QStringLiteral("?");
    m_actions = QStringList{QStringLiteral("?")};
    placeNew();
}

Arrow::Arrow(DiagramItem *startItem, DiagramItem *endItem, QMenu *contextMenu, const QString &event,
             const QStringList &actions, const std::optional<QPointF> &control,
             const std::optional<QPointF> &textRelativePos)
    : m_contextMenu(contextMenu), m_from(startItem), m_to(endItem)
{
    prepare();
    // A new arrow is placed by the size of its "?" label; a large project
    // opens without placing the many arrows that do not need it.
    if (!control || !textRelativePos) {
        m_label.setPlainText(QStringLiteral(" ? / ? "));
        placeNew();
    }
    m_control = control.value_or(m_control);
    m_textRelativePos = textRelativePos.value_or(m_textRelativePos);
    setText(event, actions);
    placeLabel();
}

void Arrow::prepare()
{
    // Every arrow starts with the same pen, made once and shared.
    static const QPen pen = roundPen(QColor(), 1.5);
    setPen(pen);
    setFlags(ItemIsSelectable | ItemSendsGeometryChanges);
    setHandlesChildEvents(true);
    setZValue(5);
}

QGraphicsRectItem *Arrow::midItem()
{
    if (m_mid)
        return m_mid;
    m_mid = new ControlPoint(this);
    m_mid->hide();
    m_mid->setPos(m_control);
    m_mid->setFlag(ItemIsSelectable);
    m_mid->setFlag(ItemIsMovable);
    // Only now, so that placing it does not route the arrow again.
    m_mid->setFlag(ItemSendsGeometryChanges);
    m_mid->setPen(roundPen(Qt::black, 1.5));
    m_mid->setBrush(Qt::white);
    m_mid->setZValue(6);
    return m_mid;
}

QPointF Arrow::controlPoint() const
{
    return m_mid ? m_mid->pos() : m_control;
}

void Arrow::setControlPoint(const QPointF &pos)
{
    if (m_mid) {
        m_mid->setPos(pos);
        return;
    }
    if (pos == m_control)
        return;
    m_control = pos;
    if (scene())
        updatePosition();
}

bool Arrow::isMidSelected() const
{
    return m_mid && m_mid->isSelected();
}

void Arrow::placeNew()
{
    const QPointF from = m_from->pos();
    const QPointF to = m_to->pos();
    const QSizeF label = m_label.boundingRect().size();
    if (m_from->diagramType() == DiagramItem::EstadoInicial) {
        m_control = DiagramGeometry::initialControlPoint(from, to);
        m_textRelativePos = QPointF(0, -label.height());
    } else if (m_from != m_to) {
        m_control = DiagramGeometry::ordinaryControlPoint(from, to);
        m_textRelativePos = DiagramGeometry::labelOffset(QLineF(from, to).angle(), label, m_textRelativePos);
    } else {
        const QPointF centre = m_from->mapToScene(m_from->rect().center());
        m_control = DiagramGeometry::selfLoopControlPoint(centre, m_from->rect().width());
        m_textRelativePos = QPointF(-label.width() / 2, 0);
    }
    placeLabel();
}

bool Arrow::isSelfLoop() const
{
    return m_from == m_to;
}

QRectF Arrow::boundingRect() const
{
    return m_boundingRect | m_label.sceneBoundingRect();
}

// The label is hit as the arrow; hits on the line are on its stroke only.
bool Arrow::contains(const QPointF &point) const
{
    return m_label.sceneBoundingRect().contains(point) || QGraphicsPathItem::contains(point);
}

// What the view looks for under the pointer, and a rubber band, touches the
// label too.
bool Arrow::collidesWithPath(const QPainterPath &path, Qt::ItemSelectionMode mode) const
{
    if (mode == Qt::IntersectsItemShape && path.intersects(m_label.sceneBoundingRect()))
        return true;
    return QGraphicsPathItem::collidesWithPath(path, mode);
}

QPainterPath Arrow::shape() const
{
    if (m_shapeDirty) {
        QPainterPathStroker stroker;
        stroker.setWidth(HitWidth);
        m_shape = stroker.createStroke(path());
        m_shapeDirty = false;
    }
    return m_shape;
}

QPointF Arrow::endPoint(const QLineF &segment, DiagramItem *item, QPointF *fallback)
{
    QPointF hit;
    QPointF edgeMiddle;
    if (!DiagramGeometry::crossPolygon(item->polygon(), item->pos(), segment, &hit, &edgeMiddle))
        return *fallback;
    *fallback = edgeMiddle;
    return hit;
}

void Arrow::updatePosition()
{
    prepareGeometryChange();
    const QPointF control = controlPoint();
    const QPointF target = m_to->pos();
    const QPointF middle = isSelfLoop() ? m_from->pos() : (m_from->pos() + target) / 2;
    const QPointF beyond = DiagramGeometry::beyondPoint(middle, control);
    const QPointF head = endPoint(QLineF(beyond, target), m_to, &m_prev_head);

    QPainterPath route;
    // Room for every point it gathers (a loop's four, the head's three and
    // the control point) at once, rather than growing it point by point.
    QPolygonF hull;
    hull.reserve(8);
    if (!isSelfLoop()) {
        const QPointF tail = endPoint(QLineF(m_from->pos(), beyond), m_from, &m_prev_tail);
        route.moveTo(tail);
        route.quadTo(beyond, head);
        hull << tail << beyond << head;
    } else {
        const QPointF first = DiagramGeometry::selfLoopFirstControl(control, head);
        const QPointF towards = (head + first) / 2;
        const QPointF tail = endPoint(QLineF(m_from->pos(), towards), m_from, &m_prev_tail);
        route.moveTo(tail);
        route.cubicTo(first, control, head);
        hull << tail << first << control << head;
    }

    m_headDirection =
        DiagramGeometry::headDirection(target - beyond, m_headDirection, target - m_from->pos());
    m_arrowHead = DiagramGeometry::headTriangle(head, m_headDirection);
    hull << m_arrowHead << control;
    m_boundingRect = hull.boundingRect().adjusted(-PenMargin, -PenMargin, PenMargin, PenMargin);
    m_shapeDirty = true;
    setPath(route);
    placeLabel();
    update();
}

void Arrow::placeLabel()
{
    if (!m_textItemPressed)
        moveLabel(controlPoint() + m_textRelativePos);
}

void Arrow::moveLabel(const QPointF &pos)
{
    if (pos == m_label.pos())
        return;
    prepareGeometryChange();
    m_label.setPos(pos);
    update();
}

QColor Arrow::lineColor() const
{
    return m_color.isValid() ? m_color : QColor(Qt::black);
}

void Arrow::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    Q_UNUSED(option)
    Q_UNUSED(widget)
    // The label is drawn as the view draws everything else, whatever the line
    // asks for.
    const bool suave = painter->testRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::Antialiasing);
    const QColor color = lineColor();
    QPen line = pen();
    line.setColor(color);
    line.setWidthF(isSelected() ? 1.4 : 0.9);
    if (m_activa) {
        line.setColor(Qt::red);
        line.setStyle(Qt::DashLine);
        line.setWidthF(2.0);
    }
    painter->setPen(line);
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(path());

    if (m_activa) {
        painter->setPen(roundPen(Qt::red, 1.8));
        painter->setBrush(Qt::red);
    } else {
        painter->setBrush(Qt::black);
    }
    painter->drawPolygon(m_arrowHead);

    if (isSelected() || isMidSelected()) {
        // Measured along the curve, which is costly: only a selected arrow
        // shows its middle.
        const QPointF middle = path().pointAtPercent(0.5);
        painter->setPen(QPen(color, 0.5, Qt::DashLine));
        painter->drawLine(controlPoint(), middle);
        painter->setPen(QPen(color, 2.5));
        painter->drawPoint(middle);
    }
    painter->setRenderHint(QPainter::Antialiasing, suave);
    m_label.paint(painter, isSelected());
}

void Arrow::setText(const QString &event, const QStringList &actions)
{
    prepareGeometryChange();
    // Built in place: a large project sets thousands of these on opening.
    int length = event.size() + 2;
    for (const QString &action : actions)
        length += qMax(3, action.size() + 1);
    QString text;
    text.reserve(length);
    text += event;
    text += QLatin1String(" /");
    for (const QString &action : actions) {
        if (action.isEmpty()) {
            text += QLatin1String(" - ");
        } else if (action == QLatin1String("?")) {
            text += QLatin1String(" ? ");
        } else {
            text += QLatin1Char('\n');
            text += action;
        }
    }
    m_event = event;
    m_actions = actions;
    if (m_label.setPlainText(text))
        update();
}

void Arrow::alignText()
{
    prepareGeometryChange();
    const QSizeF label = m_label.boundingRect().size();
    if (isSelfLoop())
        m_textRelativePos = QPointF(-label.width() / 2, 0);
    else
        m_textRelativePos = DiagramGeometry::labelOffset(QLineF(m_from->pos(), m_to->pos()).angle(), label,
                                                         m_textRelativePos);
    placeLabel();
}

// The label is lit by its text colour: its text stays plain and is not laid
// out again, and the arrow's outline does not change, which keeps a
// simulation step cheap on large machines.
void Arrow::setActiva(bool activa)
{
    if (activa == m_activa)
        return;
    m_activa = activa;
    m_label.setDefaultTextColor(activa ? QColor(Qt::red) : QColor(Qt::black));
    update();
}

void Arrow::setMidSelected(bool selected)
{
    if (!isSelfLoop())
        return;
    if (selected) {
        midItem()->show();
        m_mid->setSelected(true);
    } else if (m_mid && !isSelected()) {
        m_mid->hide();
    }
    update();
}

void Arrow::setTextRelativePos(const QPointF &pos)
{
    m_textRelativePos = pos;
    placeLabel();
    update();
}

void Arrow::contextMenuEvent(QGraphicsSceneContextMenuEvent *event)
{
    event->accept();
    if (!m_contextMenu)
        return;
    if (scene())
        scene()->clearSelection();
    setSelected(true);
    // The menu's command may delete this arrow: nothing of it is used after exec().
    m_contextMenu->exec(event->screenPos());
}

bool Arrow::isOver(QGraphicsItem *child, const QPointF &scenePos) const
{
    return child->isVisible() && child->contains(child->mapFromScene(scenePos));
}

void Arrow::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsPathItem::mousePressEvent(event);
    if (m_mid && isOver(m_mid, event->scenePos())) {
        m_mid->setSelected(true);
        m_mid->setBrush(Qt::black);
    } else if (m_label.sceneBoundingRect().contains(event->scenePos())) {
        m_textPressOffset = m_label.pos() - event->scenePos();
        m_textItemPressed = true;
    }
}

void Arrow::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_textItemPressed) {
        moveLabel(event->scenePos() + m_textPressOffset);
        m_textRelativePos = m_label.pos() - controlPoint();
    } else if (isMidSelected()) {
        m_mid->setPos(event->scenePos());
    } else {
        QGraphicsPathItem::mouseMoveEvent(event);
    }
}

void Arrow::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsPathItem::mouseReleaseEvent(event);
    m_textItemPressed = false;
    if (!m_mid)
        return;
    m_mid->setSelected(false);
    m_mid->setBrush(Qt::white);
}

QVariant Arrow::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemSelectedChange || change == ItemSelectedHasChanged) {
        if (value.toBool())
            midItem()->show();
        else if (m_mid && !m_mid->isUnderMouse())
            m_mid->hide();
    }
    return value;
}
