#include "diagramgeometry.h"

#include "cacheacotada.h"

#include <QHash>
#include <QPainterPath>
#include <QtMath>
#include <cstring>

namespace DiagramGeometry {

static QPolygonF closedPolygon(const QPainterPath &path)
{
    QPolygonF polygon = path.toFillPolygon();
    if (!polygon.isEmpty() && !polygon.isClosed())
        polygon << polygon.first();
    return polygon;
}

static QPolygonF flattenedRoundedRect(const QRectF &grown)
{
    const qreal w = grown.width();
    const qreal h = grown.height();
    qreal horizontal = 20;
    qreal vertical = 20;
    if (w > h)
        horizontal = int(20 * h / w);
    else
        vertical = int(20 * w / h);
    QPainterPath path;
    path.addRoundedRect(grown, horizontal, vertical, Qt::RelativeSize);
    return closedPolygon(path);
}

namespace {

// Compared bit for bit: the outline of -0 is not quite the outline of 0.
struct RectKey
{
    qreal x, y, w, h;
    bool operator==(const RectKey &o) const { return std::memcmp(this, &o, sizeof(RectKey)) == 0; }
};

uint qHash(const RectKey &key, uint seed = 0)
{
    return qHashBits(&key, sizeof(RectKey), seed);
}

// Which side of a line along b the point d away from it lies on: 1 or -1,
// or 0 when it is too near the line for rounding to be ruled out. An edge
// with both ends clearly on one side cannot cross the line, and is spared
// the division that finding the crossing takes; the margin is far wider
// than any rounding, so the edges left get the very same arithmetic.
int sideOf(const QPointF &b, const QPointF &d)
{
    const qreal one = b.x() * d.y();
    const qreal other = b.y() * d.x();
    const qreal margin = 1e-9 * (qAbs(one) + qAbs(other));
    if (one - other > margin)
        return 1;
    if (other - one > margin)
        return -1;
    return 0;
}

} // namespace

QPolygonF roundedHitPolygon(const QRectF &rect, qreal margin)
{
    const QRectF grown = rect.adjusted(-margin, -margin, margin, margin);
    // Written so that a size that is not a number also gives no outline.
    if (!(grown.width() > 0) || !(grown.height() > 0))
        return QPolygonF();
    // Flattening the curves is costly and the states of a machine mostly
    // share a few sizes: each outline is worked out once and shared.
    static QHash<RectKey, QPolygonF> outlines;
    const RectKey key{grown.x(), grown.y(), grown.width(), grown.height()};
    return enCacheAcotada(outlines, key, 4096,
                          [&grown](const RectKey &) { return flattenedRoundedRect(grown); });
}

QPolygonF circleHitPolygon(const QRectF &rect)
{
    QPainterPath path;
    path.addEllipse(rect);
    return closedPolygon(path);
}

QRectF resizedRect(const QRectF &rect, const QPointF &pointer, const QPointF &pressOffset)
{
    const qreal width = qMax(MinimumStateWidth, pointer.x() + pressOffset.x() - rect.left());
    const qreal height = qMax(MinimumStateHeight, pointer.y() + pressOffset.y() - rect.top());
    return QRectF(-width / 2, -height / 2, width, height);
}

QPointF ordinaryControlPoint(const QPointF &from, const QPointF &to)
{
    const QPointF d = to - from;
    return (from + to) / 2 + 0.1 * QPointF(d.y(), -d.x());
}

QPointF selfLoopControlPoint(const QPointF &centre, qreal width)
{
    return QPointF(centre.x() - 0.95 * width, centre.y() + 15);
}

QPointF initialControlPoint(const QPointF &marker, const QPointF &state)
{
    return QLineF(marker, state).pointAt(0.28);
}

QPointF beyondPoint(const QPointF &middle, const QPointF &control)
{
    return QPointF(middle.x() + 1.45 * (control.x() - middle.x()),
                   middle.y() + 1.5 * (control.y() - middle.y()));
}

// QLineF::intersects written out, with the same operations in the same order
// so that every crossing comes out to the same bits: both ends of every arrow
// search their item's outline, and a call per edge was most of that work.
// The part of the segment that does not depend on the edge is worked out once.
bool crossPolygon(const QPolygonF &polygon, const QPointF &pos, const QLineF &segment, QPointF *hit,
                  QPointF *edgeMiddle)
{
    if (polygon.isEmpty())
        return false;
    const QPointF b = segment.p1() - segment.p2();
    const QPointF *vertex = polygon.constData();
    QPointF p1 = vertex[0] + pos;
    int side1 = sideOf(b, p1 - segment.p1());
    for (int i = 1; i < polygon.size(); ++i) {
        const QPointF p2 = vertex[i] + pos;
        const int side2 = sideOf(b, p2 - segment.p1());
        const QPointF start = p1;
        p1 = p2;
        const bool oneSide = side1 != 0 && side1 == side2;
        side1 = side2;
        if (oneSide)
            continue;
        const QPointF a = p2 - start;
        const QPointF c = start - segment.p1();
        const qreal denominator = a.y() * b.x() - a.x() * b.y();
        if (denominator == 0 || !qIsFinite(denominator))
            continue;
        const qreal reciprocal = 1 / denominator;
        const qreal na = (b.y() * c.x() - b.x() * c.y()) * reciprocal;
        if (na < 0 || na > 1)
            continue;
        const qreal nb = (a.x() * c.y() - a.y() * c.x()) * reciprocal;
        if (nb < 0 || nb > 1)
            continue;
        *hit = start + a * na;
        *edgeMiddle = (start + p2) / 2;
        return true;
    }
    return false;
}

QPointF selfLoopFirstControl(const QPointF &control, const QPointF &head)
{
    const QPointF normal(head.y() - control.y(), -(head.x() - control.x()));
    return control + 0.5 * normal;
}

QPointF headDirection(const QPointF &preferred, const QPointF &previous, const QPointF &alongLine)
{
    for (const QPointF &candidate : {preferred, previous, alongLine}) {
        if (!candidate.isNull())
            return candidate;
    }
    return QPointF(1, 0);
}

QPolygonF headTriangle(const QPointF &tip, const QPointF &direction)
{
    // The angle whose (sin, -cos) points from the tip back along direction.
    const qreal angle = std::atan2(-direction.x(), direction.y());
    const qreal spread = 0.1 * M_PI;
    const QPointF barb1 = tip + 10 * QPointF(std::sin(angle + spread), -std::cos(angle + spread));
    const QPointF barb2 = tip + 10 * QPointF(std::sin(angle - spread), -std::cos(angle - spread));
    return QPolygonF(QVector<QPointF>{tip, barb1, barb2});
}

QPointF labelOffset(qreal angle, const QSizeF &label, const QPointF &current)
{
    const qreal w = label.width();
    const qreal h = label.height();
    if (angle < 90)
        return QPointF(-w, -h);
    if (angle < 180)
        return QPointF(-w, 0);
    if (angle < 270)
        return current;
    return QPointF(0, -h);
}

} // namespace DiagramGeometry
