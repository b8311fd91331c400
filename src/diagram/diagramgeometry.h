#ifndef DIAGRAMGEOMETRY_H
#define DIAGRAMGEOMETRY_H

#include <QLineF>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>

// The plain geometry behind states and transitions, kept free of items so
// every number can be checked on its own. All points are in scene units.
namespace DiagramGeometry {

// Smallest box the resize grip can make.
constexpr qreal MinimumStateWidth = 85;
constexpr qreal MinimumStateHeight = 50;

// Outline arrows end on: the rectangle grown by margin on every side, with
// nearly circular corners of about a tenth of its shorter side, flattened
// to a closed polygon.
QPolygonF roundedHitPolygon(const QRectF &rect, qreal margin);
// The marker's outline: the flattened circle inscribed in rect.
QPolygonF circleHitPolygon(const QRectF &rect);

// Rectangle (centred on the origin) reached by dragging the grip of a box
// whose rectangle is rect to pointer, with pressOffset the grip corner minus
// the pointer at the press; never smaller than the minimum.
QRectF resizedRect(const QRectF &rect, const QPointF &pointer, const QPointF &pressOffset);

// Where a new transition puts its control point: a tenth of the centre
// distance off the middle of the centre line, or, for a self-loop, left of
// the box and a little below its centre.
QPointF ordinaryControlPoint(const QPointF &from, const QPointF &to);
QPointF selfLoopControlPoint(const QPointF &centre, qreal width);
QPointF initialControlPoint(const QPointF &marker, const QPointF &state);

// The control point pushed further out from the middle, by 1.45 across and
// 1.5 down: the control point of the drawn curve.
QPointF beyondPoint(const QPointF &middle, const QPointF &control);

// First edge of polygon (placed at pos) crossed by segment. On success
// sets *hit to the crossing and *edgeMiddle to the middle of that edge.
bool crossPolygon(const QPolygonF &polygon, const QPointF &pos, const QLineF &segment, QPointF *hit,
                  QPointF *edgeMiddle);

// First control point of a self-loop's cubic curve, half the normal of
// control point → head away from the control point.
QPointF selfLoopFirstControl(const QPointF &control, const QPointF &head);

// Direction the head points in: the first non-null of the candidates,
// so a beyond point lying exactly on the target's centre still gives a
// head; (1, 0) when every candidate is null.
QPointF headDirection(const QPointF &preferred, const QPointF &previous, const QPointF &alongLine);
// Triangle of the tip and two 10-unit barbs at 18° either side of the
// direction pointing back from the tip.
QPolygonF headTriangle(const QPointF &tip, const QPointF &direction);

// Label offset from the control point for a line of the given angle
// (degrees, 0 right, 90 up): left/above the control point by quadrant;
// the third quadrant keeps the current offset.
QPointF labelOffset(qreal angle, const QSizeF &label, const QPointF &current);

} // namespace DiagramGeometry

#endif // DIAGRAMGEOMETRY_H
