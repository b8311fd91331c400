#include "diagramitem.h"

#include "arrow.h"
#include "diagramgeometry.h"
#include "diagramscene.h"

#include <QCursor>
#include <QGraphicsScene>
#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsSceneMouseEvent>
#include <QHash>
#include <QImage>
#include <QMenu>
#include <QPaintEngine>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QtMath>

// Qt's blur, the one its drop-shadow effect uses; exported by QtWidgets.
QT_BEGIN_NAMESPACE
Q_WIDGETS_EXPORT void qt_blurImage(QPainter *p, QImage &blurImage, qreal radius, bool quality, bool alphaOnly,
                                   int transposed = 0);
QT_END_NAMESPACE

namespace {

const qreal GripSize = 6;
// Margins of the hit polygon: a fresh state, then any resized one.
const qreal NewStateMargin = 1;
const qreal ResizedStateMargin = 0.8;

QPen outlinePen(const QColor &color, qreal width, Qt::PenStyle style)
{
    return QPen(color, width, style, Qt::RoundCap, Qt::RoundJoin);
}

const QFont &nameFont()
{
    static const QFont font = [] {
        QFont f(QStringLiteral("Consolas"), 10, QFont::Normal);
        f.setStyleHint(QFont::TypeWriter);
        return f;
    }();
    return font;
}

QRectF gripRect(const QRectF &rect)
{
    return QRectF(rect.right() - GripSize / 2, rect.bottom() - GripSize / 2, GripSize, GripSize);
}

// The soft shadow under every state and marker, in pixels of the device at
// 100 % and above (so a picture exported at 2x has the shadow the screen
// shows), shrunk with the drawing below 100 %, so that it stays within the
// item's bounding rectangle.
const qreal ShadowBlur = 10;
const qreal StateShadowOffset = 4;
const qreal MarkerShadowOffset = 2;
const QColor ShadowColor(63, 63, 63, 180);
const qreal BodyMargin = 3;

struct ShadowKey
{
    int type;
    QSizeF size;
    qreal scale;
    bool operator==(const ShadowKey &o) const
    {
        return type == o.type && size == o.size && qFuzzyCompare(scale, o.scale);
    }
};

uint qHash(const ShadowKey &key, uint seed = 0)
{
    return ::qHash(qRound(key.size.width() * 8), seed) ^ ::qHash(qRound(key.size.height() * 8)) ^
           ::qHash(qRound(key.scale * 1024)) ^ uint(key.type);
}

// Where the shadow reaches, in item units, around a body drawn in box.
QRectF shadowReach(const QRectF &box, qreal offset)
{
    const QRectF body = box.adjusted(-BodyMargin, -BodyMargin, BodyMargin, BodyMargin);
    return body.united(
        body.translated(offset, offset).adjusted(-ShadowBlur, -ShadowBlur, ShadowBlur, ShadowBlur));
}

// The blurred shadow of outline drawn at scale, in device pixels, and the
// position of its top-left corner relative to the item's origin. Rendering a
// blur is slow: each shape and scale is rendered once, and a state only draws
// the image. States of a machine mostly share their size, so the cache stays small.
const QImage &shadowImage(const ShadowKey &key, const QPainterPath &outline, qreal offset, QPoint *corner)
{
    static QHash<ShadowKey, QPair<QImage, QPoint>> cache;
    auto hit = cache.constFind(key);
    if (hit == cache.constEnd()) {
        if (cache.size() > 64)
            cache.clear();
        const qreal reach = qMin(key.scale, qreal(1));
        const QRectF box = outline.boundingRect();
        const QRectF body(box.topLeft() * key.scale, box.size() * key.scale);
        const qreal margin = BodyMargin * key.scale;
        const QRectF padded = body.adjusted(-margin, -margin, margin, margin);
        const qreal shift = offset * reach;
        const qreal blur = ShadowBlur * reach;
        const QRect area =
            padded.united(padded.translated(shift, shift).adjusted(-blur, -blur, blur, blur)).toAlignedRect();

        QImage source(area.size(), QImage::Format_ARGB32_Premultiplied);
        source.fill(0);
        QPainter painter(&source);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(QPointF(-area.topLeft()) + QPointF(shift, shift));
        painter.scale(key.scale, key.scale);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::black);
        painter.drawPath(outline);
        painter.end();

        QImage shadow(area.size(), QImage::Format_ARGB32_Premultiplied);
        shadow.fill(0);
        painter.begin(&shadow);
        qt_blurImage(&painter, source, blur, false, true);
        painter.end();
        painter.begin(&shadow);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(shadow.rect(), ShadowColor);
        painter.end();
        hit = cache.insert(key, qMakePair(shadow, area.topLeft()));
    }
    *corner = hit->second;
    return hit->first;
}

} // namespace

DiagramItem::DiagramItem(DiagramType diagramType, QMenu *contextMenu, QGraphicsItem *parent)
    : QGraphicsRectItem(parent), m_diagramType(diagramType), m_contextMenu(contextMenu)
{
    if (m_diagramType == EstadoSimple) {
        m_name = QStringLiteral("?");
        setZValue(8);
        setHandlesChildEvents(true);
        setRect(-ESTADO_SIMPLE_WIDTH / 2, -ESTADO_SIMPLE_HEIGHT / 2, ESTADO_SIMPLE_WIDTH,
                ESTADO_SIMPLE_HEIGHT);
        m_polygon = DiagramGeometry::roundedHitPolygon(rect(), NewStateMargin);
    } else if (m_diagramType == EstadoInicial) {
        m_name = QStringLiteral("RESET");
        setZValue(7);
        setRect(-ESTADO_INICIAL_DIAM / 2, -ESTADO_INICIAL_DIAM / 2, ESTADO_INICIAL_DIAM, ESTADO_INICIAL_DIAM);
        m_polygon = DiagramGeometry::circleHitPolygon(rect());
    }
    setFlags(ItemIsMovable | ItemIsSelectable | ItemSendsGeometryChanges);
}

QGraphicsRectItem *DiagramItem::grip()
{
    if (m_resizeHandle)
        return m_resizeHandle;
    m_resizeHandle = new QGraphicsRectItem(gripRect(rect()), this);
    m_resizeHandle->hide();
    m_resizeHandle->setBrush(Qt::white);
    m_resizeHandle->setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
    m_resizeHandle->setFlags(ItemIsMovable | ItemIsSelectable);
    m_resizeHandle->setZValue(8);
    return m_resizeHandle;
}

QRectF DiagramItem::boundingRect() const
{
    return shadowReach(rect(), shadowOffset());
}

qreal DiagramItem::shadowOffset() const
{
    return m_diagramType == EstadoInicial ? MarkerShadowOffset : StateShadowOffset;
}

QPainterPath DiagramItem::shape() const
{
    QPainterPath path;
    if (m_diagramType == EstadoSimple)
        path.addRoundedRect(rect(), 20, 20, Qt::RelativeSize);
    else if (m_diagramType == EstadoInicial)
        path.addEllipse(rect());
    return path;
}

void DiagramItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    Q_UNUSED(option)
    Q_UNUSED(widget)
    paintShadow(painter);
    if (m_diagramType == EstadoSimple)
        paintState(painter);
    else if (m_diagramType == EstadoInicial)
        paintMarker(painter);
}

void DiagramItem::paintShadow(QPainter *painter)
{
    // A vector picture keeps its shapes as shapes: a blurred image has no place in it.
    if (painter->paintEngine() && painter->paintEngine()->type() == QPaintEngine::SVG)
        return;
    const QTransform toDevice = painter->worldTransform();
    const qreal scale = qSqrt(qAbs(toDevice.determinant()));
    if (scale <= 0)
        return;
    QPoint corner;
    const QImage &shadow =
        shadowImage({m_diagramType, rect().size(), scale}, shape(), shadowOffset(), &corner);
    if (toDevice.type() > QTransform::TxScale) {
        painter->drawImage(QRectF(QPointF(corner) / scale, QSizeF(shadow.size()) / scale), shadow);
        return;
    }
    // Drawn pixel for pixel in device coordinates, as the blur was rendered.
    const QPointF origin = toDevice.map(QPointF(0, 0));
    painter->save();
    painter->setWorldTransform(QTransform());
    painter->drawImage(QPoint(qRound(origin.x()), qRound(origin.y())) + corner, shadow);
    painter->restore();
}

void DiagramItem::paintState(QPainter *painter)
{
    const QRectF box = rect();
    const QPainterPath outline = shape();
    const QColor dark = m_color.darker(350);
    const QRectF ring = box.adjusted(-2, -2, 2, 2);

    painter->setPen(outlinePen(dark, 1, Qt::SolidLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(outline);

    QLinearGradient fill(box.bottomRight(), box.topLeft());
    fill.setColorAt(0, m_color.lighter(180));
    fill.setColorAt(1, m_color);
    painter->fillPath(outline, fill);

    if (isSelected()) {
        painter->setPen(outlinePen(dark, 1, Qt::DashLine));
        painter->drawRoundedRect(ring, 20, 20, Qt::RelativeSize);
    } else if (m_activo) {
        QLinearGradient lit(box.bottomRight(), box.topLeft());
        lit.setColorAt(0, QColor(QStringLiteral("salmon")));
        lit.setColorAt(1, QColor(QStringLiteral("red")));
        painter->fillPath(outline, lit);
        painter->setPen(outlinePen(Qt::red, 1, Qt::DashLine));
        painter->drawRoundedRect(ring, 20, 20, Qt::RelativeSize);
    }

    painter->save();
    painter->setClipRect(box, Qt::IntersectClip);
    painter->setFont(nameFont());
    painter->setPen(Qt::black);
    painter->drawText(box, Qt::AlignCenter | Qt::TextWordWrap, m_name.toUpper());
    painter->restore();
}

void DiagramItem::paintMarker(QPainter *painter)
{
    const QRectF disc = rect();
    painter->fillPath(shape(), Qt::black);
    painter->drawEllipse(disc);
    const QRectF ring(-12, -12, 24, 24);
    if (isSelected()) {
        painter->setPen(outlinePen(Qt::black, 1, Qt::DashLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRoundedRect(ring, 100, 100, Qt::RelativeSize);
    } else if (m_activo) {
        painter->fillPath(shape(), Qt::red);
        painter->setPen(outlinePen(QColor(QStringLiteral("darksalmon")), 1.2, Qt::SolidLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawEllipse(disc);
        painter->setPen(outlinePen(Qt::red, 1, Qt::DashLine));
        painter->drawRoundedRect(ring, 100, 100, Qt::RelativeSize);
    }
}

void DiagramItem::addArrow(Arrow *arrow)
{
    m_arrows.append(arrow);
}

void DiagramItem::removeArrow(Arrow *arrow)
{
    m_arrows.removeOne(arrow);
}

void DiagramItem::removeArrows()
{
    const QList<Arrow *> arrows = m_arrows;
    for (Arrow *arrow : arrows) {
        arrow->startItem()->removeArrow(arrow);
        arrow->endItem()->removeArrow(arrow);
        if (auto *diagram = qobject_cast<DiagramScene *>(arrow->scene())) {
            if (diagram->previousArrow() == arrow)
                diagram->setPreviousArrow(nullptr);
        }
        delete arrow;
    }
}

void DiagramItem::setName(const QString &name)
{
    m_name = name;
    setToolTip(name.toUpper());
    update();
}

void DiagramItem::setSize(const qreal &width, const qreal &height)
{
    // A size that is not a number (a damaged file) would spread NaN into
    // every arrow of the state: the state keeps its size instead.
    if (m_diagramType != EstadoSimple || !qIsFinite(width) || !qIsFinite(height))
        return;
    applyRect(QRectF(-width / 2, -height / 2, width, height));
}

void DiagramItem::applyRect(const QRectF &box)
{
    prepareGeometryChange();
    setRect(box);
    if (m_resizeHandle)
        m_resizeHandle->setRect(gripRect(box));
    m_polygon = DiagramGeometry::roundedHitPolygon(box, ResizedStateMargin);
}

void DiagramItem::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void DiagramItem::setActivo(bool activo)
{
    if (activo == m_activo)
        return;
    m_activo = activo;
    update();
}

bool DiagramItem::isOverGrip(const QPointF &scenePos) const
{
    return m_resizeHandle && m_resizeHandle->isVisible() &&
           m_resizeHandle->contains(m_resizeHandle->mapFromScene(scenePos));
}

void DiagramItem::contextMenuEvent(QGraphicsSceneContextMenuEvent *event)
{
    event->accept();
    if (m_diagramType != EstadoSimple || !m_contextMenu)
        return;
    if (scene())
        scene()->clearSelection();
    setSelected(true);
    // The menu's command may delete this item: nothing of it is used after exec().
    m_contextMenu->exec(event->screenPos());
}

void DiagramItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsRectItem::mousePressEvent(event);
    if (m_diagramType != EstadoSimple || !isOverGrip(event->scenePos()))
        return;
    m_resizeHandle->setBrush(Qt::black);
    m_resizeHandleState = Pressed;
    m_handlePressOffset = rect().bottomRight() - mapFromScene(event->scenePos());
}

void DiagramItem::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_diagramType == EstadoInicial) {
        QGraphicsRectItem::mouseMoveEvent(event);
        return;
    }
    if (m_diagramType != EstadoSimple)
        return;
    if (m_resizeHandleState == Pressed) {
        // Mapped here rather than taken from the event: the box itself moves
        // during this drag.
        resizeTo(mapFromScene(event->scenePos()));
    } else {
        for (Arrow *arrow : qAsConst(m_arrows)) {
            if (arrow->startItem() == this && arrow->endItem() == this)
                arrow->setMidSelected(true);
        }
        QGraphicsRectItem::mouseMoveEvent(event);
    }
    update();
}

void DiagramItem::resizeTo(const QPointF &pointer)
{
    const QRectF old = rect();
    const QRectF box = DiagramGeometry::resizedRect(old, pointer, m_handlePressOffset);
    prepareGeometryChange();
    // Moving by half the growth keeps the top-left corner in place.
    moveBy((box.width() - old.width()) / 2, (box.height() - old.height()) / 2);
    applyRect(box);
    for (Arrow *arrow : qAsConst(m_arrows))
        arrow->updatePosition();
}

void DiagramItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsRectItem::mouseReleaseEvent(event);
    if (m_diagramType != EstadoSimple)
        return;
    if (m_resizeHandleState == Pressed) {
        m_resizeHandle->setSelected(false);
        m_resizeHandleState = Released;
        m_resizeHandle->setBrush(Qt::white);
    }
    for (Arrow *arrow : qAsConst(m_arrows))
        arrow->setMidSelected(false);
}

void DiagramItem::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_diagramType == EstadoSimple)
        QGraphicsRectItem::mouseDoubleClickEvent(event);
}

QVariant DiagramItem::itemChange(GraphicsItemChange change, const QVariant &value)
{
    // Only the notification after the move re-routes the arrows: routing them
    // before it would use the old position and be overwritten at once.
    if (change == ItemPositionHasChanged) {
        for (Arrow *arrow : qAsConst(m_arrows))
            arrow->updatePosition();
        if (m_resizeHandle)
            m_resizeHandle->update();
    } else if (change == ItemSelectedHasChanged && m_diagramType == EstadoSimple) {
        prepareGeometryChange();
        if (value.toBool())
            grip()->show();
        else if (m_resizeHandle && !m_resizeHandle->isUnderMouse())
            m_resizeHandle->hide();
    }
    return value;
}
