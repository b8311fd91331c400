#include "arrow.h"
#include "arrowlabel.h"
#include "diagramgeometry.h"
#include "diagramgestures.h"
#include "diagramitem.h"
#include "diagramscene.h"

#include <QGraphicsView>
#include <QSignalSpy>
#include <QtTest>
#include <cmath>

using namespace DiagramGestures;

namespace {

bool near(const QPointF &a, const QPointF &b, qreal tolerance = 0.05)
{
    return std::abs(a.x() - b.x()) <= tolerance && std::abs(a.y() - b.y()) <= tolerance;
}

QString show(const QPointF &p)
{
    return QStringLiteral("(%1, %2)").arg(p.x()).arg(p.y());
}

#define QVERIFY_NEAR(actual, expected)                                                                       \
    QVERIFY2(near(actual, expected), qPrintable(show(actual) + QStringLiteral(" != ") + show(expected)))

bool isFinite(const QPolygonF &polygon)
{
    for (const QPointF &p : polygon) {
        if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
            return false;
    }
    return true;
}

} // namespace

class TestArrow : public QObject
{
    Q_OBJECT

    DiagramScene *m_scene = nullptr;

private slots:
    void init() { m_scene = new DiagramScene(QStringLiteral("M"), nullptr); }
    void cleanup() { delete m_scene; }

    void ordinaryWorkedExample()
    {
        DiagramItem *a = addState(m_scene, QPointF(0, 0));
        DiagramItem *b = addState(m_scene, QPointF(300, 0));
        Arrow *arrow = addArrow(m_scene, a, b);

        QVERIFY_NEAR(arrow->midItem()->pos(), QPointF(150, -30));
        const QPainterPath &path = arrow->path();
        QCOMPARE(path.elementCount(), 4); // the quadratic is stored as a cubic
        QVERIFY_NEAR(QPointF(path.elementAt(0)), QPointF(56, -16.8));
        QVERIFY_NEAR(QPointF(path.elementAt(3)), QPointF(244, -16.8));
        const QPolygonF head = arrow->arrowHead();
        QVERIFY_NEAR(head.at(0), QPointF(244, -16.8));
        QVERIFY_NEAR(head.at(1), QPointF(235.8, -22.5));
        QVERIFY_NEAR(head.at(2), QPointF(234.0, -16.6));
        QVERIFY_NEAR(DiagramGeometry::beyondPoint(QPointF(150, 0), QPointF(150, -30)), QPointF(150, -45));
    }

    void selfLoopWorkedExample()
    {
        DiagramItem *a = addState(m_scene, QPointF(0, 0));
        Arrow *arrow = addArrow(m_scene, a, a);

        QCOMPARE(a->arrows().size(), 1);
        QVERIFY_NEAR(arrow->midItem()->pos(), QPointF(-104.5, 15));
        QVERIFY_NEAR(DiagramGeometry::beyondPoint(QPointF(0, 0), QPointF(-104.5, 15)),
                     QPointF(-151.525, 22.5));
        const QPainterPath &path = arrow->path();
        QCOMPARE(path.elementCount(), 4);
        QVERIFY_NEAR(QPointF(path.elementAt(0)), QPointF(-56, -0.32));
        QVERIFY_NEAR(QPointF(path.elementAt(1)), QPointF(-107.84, -9.25));
        QVERIFY_NEAR(QPointF(path.elementAt(2)), QPointF(-104.5, 15));
        QVERIFY_NEAR(QPointF(path.elementAt(3)), QPointF(-56, 8.32));
        QVERIFY_NEAR(arrow->arrowHead().at(0), QPointF(-56, 8.32));
    }

    void headTriangle_data()
    {
        QTest::addColumn<QPointF>("tip");
        QTest::addColumn<QPointF>("direction");
        QTest::addColumn<QPointF>("barb1");
        QTest::addColumn<QPointF>("barb2");
        const qreal c = 10 * std::cos(0.1 * M_PI);
        const qreal s = 10 * std::sin(0.1 * M_PI);
        QTest::newRow("left") << QPointF(-20, -20) << QPointF(-5, 0) << QPointF(-20 + c, -20 + s)
                              << QPointF(-20 + c, -20 - s);
        QTest::newRow("down") << QPointF(3, 4) << QPointF(0, 7) << QPointF(3 + s, 4 - c)
                              << QPointF(3 - s, 4 - c);
    }
    void headTriangle()
    {
        QFETCH(QPointF, tip);
        QFETCH(QPointF, direction);
        QFETCH(QPointF, barb1);
        QFETCH(QPointF, barb2);
        const QPolygonF head = DiagramGeometry::headTriangle(tip, direction);
        QCOMPARE(head.size(), 3);
        QVERIFY_NEAR(head.at(0), tip);
        QVERIFY_NEAR(head.at(1), barb1);
        QVERIFY_NEAR(head.at(2), barb2);
    }

    void labelOffset_data()
    {
        QTest::addColumn<qreal>("angle");
        QTest::addColumn<QPointF>("offset");
        const QPointF kept(7, 9);
        QTest::newRow("0") << 0.0 << QPointF(-40, -20);
        QTest::newRow("89.9") << 89.9 << QPointF(-40, -20);
        QTest::newRow("90") << 90.0 << QPointF(-40, 0);
        QTest::newRow("180 keeps") << 180.0 << kept;
        QTest::newRow("269 keeps") << 269.0 << kept;
        QTest::newRow("270") << 270.0 << QPointF(0, -20);
        QTest::newRow("359") << 359.0 << QPointF(0, -20);
    }
    void labelOffset()
    {
        QFETCH(qreal, angle);
        QFETCH(QPointF, offset);
        QCOMPARE(DiagramGeometry::labelOffset(angle, QSizeF(40, 20), QPointF(7, 9)), offset);
    }

    // The crossing is QLineF::intersects's to the last bit, on the first edge
    // it finds in the outline's order: segments from outside to the centre in
    // every direction, along the edges and through the vertices (where two
    // edges meet), and segments that stop short or miss.
    void crossPolygon_data()
    {
        QTest::addColumn<QPolygonF>("polygon");
        QTest::addColumn<QPointF>("pos");
        QTest::newRow("state") << DiagramGeometry::roundedHitPolygon(QRectF(-55, -32.5, 110, 65), 0.8)
                               << QPointF(37.3, -12.1);
        QTest::newRow("small state") << DiagramGeometry::roundedHitPolygon(QRectF(-42.5, -25, 85, 50), 1)
                                     << QPointF(0, 0);
        QTest::newRow("marker") << DiagramGeometry::circleHitPolygon(QRectF(-10, -10, 20, 20))
                                << QPointF(-1e6, 3.5);
    }
    void crossPolygon()
    {
        QFETCH(QPolygonF, polygon);
        QFETCH(QPointF, pos);
        QVector<QLineF> segments;
        for (int i = 0; i < 720; ++i) {
            const qreal angle = i * M_PI / 360;
            const QPointF far = pos + 150 * QPointF(std::cos(angle), std::sin(angle));
            segments << QLineF(far, pos) << QLineF(pos, far) << QLineF(far, pos + (far - pos) * 0.9);
        }
        for (const QPointF &vertex : polygon) {
            segments << QLineF(pos + 3 * vertex, pos) << QLineF(pos, pos + vertex);
            segments << QLineF(pos + vertex * 1.5 + QPointF(0, 1), pos + vertex * 1.5 - QPointF(0, 300));
        }
        for (int i = 1; i < polygon.size(); ++i)
            segments << QLineF(polygon.at(i - 1) + pos, polygon.at(i) + pos);
        for (const QLineF &segment : qAsConst(segments)) {
            QPointF expectedHit;
            QPointF expectedMiddle;
            bool expected = false;
            for (int i = 1; i < polygon.size() && !expected; ++i) {
                const QLineF edge(polygon.at(i - 1) + pos, polygon.at(i) + pos);
                expected = edge.intersects(segment, &expectedHit) == QLineF::BoundedIntersection;
                expectedMiddle = (edge.p1() + edge.p2()) / 2;
            }
            QPointF hit(-1, -1);
            QPointF middle(-1, -1);
            QCOMPARE(DiagramGeometry::crossPolygon(polygon, pos, segment, &hit, &middle), expected);
            if (!expected)
                continue;
            QVERIFY(hit.x() == expectedHit.x() && hit.y() == expectedHit.y());
            QVERIFY(middle.x() == expectedMiddle.x() && middle.y() == expectedMiddle.y());
        }
    }

    void initialArrow()
    {
        DiagramItem *s = addState(m_scene, QPointF(200, 100));
        m_scene->insertInitialStateItem(0);
        DiagramItem *marker = m_scene->initialStateItem();
        Arrow *arrow = marker->arrows().value(0);
        QVERIFY(arrow);
        QVERIFY_NEAR(arrow->midItem()->pos(), marker->pos() + 0.28 * (s->pos() - marker->pos()));
        const qreal h = arrow->label().boundingRect().height();
        QCOMPARE(arrow->textRelativePos(), QPointF(0, -h));
    }

    void labelText_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("lit");
        QTest::newRow("two actions, lit") << "e1" << QStringList{"a1", "a2"} << "e1 /\na1\na2" << true;
        QTest::newRow("empty action") << "e1" << QStringList{""} << "e1 / - " << false;
        QTest::newRow("unknown") << "?" << QStringList{"?"} << "? / ? " << false;
        QTest::newRow("mixed, lit") << "a && b" << QStringList{"x = 1", "", "?"} << "a && b /\nx = 1 -  ? "
                                    << true;
        QTest::newRow("no actions") << "-" << QStringList{} << "- /" << false;
    }
    // A lit label is red and an unlit one black, with the same plain text,
    // whichever way it is switched.
    void labelText()
    {
        QFETCH(QString, trigger);
        QFETCH(QStringList, actions);
        QFETCH(QString, text);
        QFETCH(bool, lit);
        DiagramItem *a = addState(m_scene, QPointF(0, 0));
        Arrow *arrow = addArrow(m_scene, a, addState(m_scene, QPointF(300, 0)));
        QCOMPARE(arrow->label().toPlainText(), QStringLiteral(" ? / ? "));
        arrow->setText(trigger, actions);
        arrow->setActiva(lit);
        QCOMPARE(arrow->label().toPlainText(), text);
        QCOMPARE(arrow->label().defaultTextColor(), lit ? QColor(Qt::red) : QColor(Qt::black));
        QCOMPARE(arrow->isActiva(), lit);
        arrow->setActiva(!lit);
        QCOMPARE(arrow->label().defaultTextColor(), lit ? QColor(Qt::black) : QColor(Qt::red));
        QCOMPARE(arrow->label().toPlainText(), text);
        QCOMPARE(arrow->event(), trigger);
        QCOMPARE(arrow->actions(), actions);
    }

    void endsFollowStates()
    {
        DiagramItem *a = addState(m_scene, QPointF(0, 0));
        DiagramItem *b = addState(m_scene, QPointF(300, 0));
        Arrow *arrow = addArrow(m_scene, a, b);
        b->setPos(300, 400);
        const QPointF head = arrow->arrowHead().at(0);
        const QPointF tail = arrow->path().elementAt(0);
        QVERIFY(b->polygon()
                    .translated(b->pos())
                    .boundingRect()
                    .adjusted(-0.01, -0.01, 0.01, 0.01)
                    .contains(head));
        QVERIFY(!b->rect().translated(b->pos()).contains(head));
        QVERIFY(qAbs(std::abs(tail.x()) - 56) < 0.01 || qAbs(std::abs(tail.y()) - 33.5) < 0.01);
        QVERIFY(arrow->boundingRect().contains(arrow->path().controlPointRect()));
        QVERIFY(arrow->boundingRect().contains(arrow->arrowHead().boundingRect()));
    }

    // A control point dragged so far that the beyond point falls inside the
    // target keeps the head where the last crossing was; once outside again
    // the head follows the crossing. A beyond point right on the target's
    // centre, or a loop's control point on its state, still gives finite ends.
    void headFallback()
    {
        DiagramItem *a = addState(m_scene, QPointF(0, 0));
        DiagramItem *b = addState(m_scene, QPointF(300, 0));
        Arrow *arrow = addArrow(m_scene, a, b);
        // Beyond point = 150 + 1.45 * (x - 150) = 280 for x ≈ 239.66, y = 0.
        arrow->midItem()->setPos(150 + 130 / 1.45, 0);
        // The middle of the straight left edge the head crossed before.
        QVERIFY_NEAR(arrow->arrowHead().at(0), QPointF(244, 0));
        arrow->midItem()->setPos(150, -30);
        QVERIFY_NEAR(arrow->arrowHead().at(0), QPointF(244, -16.8));

        arrow->midItem()->setPos(150 + 150 / 1.45, 0);
        QVERIFY(isFinite(arrow->arrowHead()));
        QVERIFY(isFinite(arrow->path().toFillPolygon()));
        QCOMPARE(arrow->arrowHead().size(), 3);
        Arrow *loop = addArrow(m_scene, a, a);
        loop->midItem()->setPos(a->pos());
        QVERIFY(isFinite(loop->arrowHead()));
    }

    // A state with a degenerate size (from a damaged file) still gives its
    // arrows finite ends: on a tiny outline, or at the remembered points when
    // there is no outline; a size that is not a number is not taken.
    void stateWithoutOutline_data()
    {
        QTest::addColumn<qreal>("width");
        QTest::addColumn<qreal>("height");
        QTest::newRow("zero") << 0.0 << 0.0;
        QTest::newRow("negative") << -20.0 << 30.0;
        QTest::newRow("not a number") << qQNaN() << 30.0;
    }
    void stateWithoutOutline()
    {
        QFETCH(qreal, width);
        QFETCH(qreal, height);
        DiagramItem *a = addState(m_scene, QPointF(0, 0));
        DiagramItem *b = addState(m_scene, QPointF(300, 0));
        b->setSize(width, height);
        QVERIFY(qIsFinite(b->rect().width()));
        Arrow *arrow = addArrow(m_scene, a, b);
        Arrow *loop = addArrow(m_scene, b, b);
        QVERIFY(isFinite(arrow->arrowHead()));
        QVERIFY(isFinite(loop->arrowHead()));
    }

    void dragControlPointAndLabel()
    {
        QGraphicsView *view = showView(m_scene);
        DiagramItem *a = addState(m_scene, QPointF(-200, 0));
        DiagramItem *b = addState(m_scene, QPointF(100, 0));
        Arrow *arrow = addArrow(m_scene, a, b);
        const QPointF offset = arrow->textRelativePos();

        click(view, arrow->path().pointAtPercent(0.3));
        QVERIFY(arrow->isSelected());
        QVERIFY(arrow->midItem()->isVisible());

        drag(view, arrow->midItem()->pos(), QPointF(-50, 120));
        QVERIFY_NEAR(arrow->midItem()->pos(), QPointF(-50, 120));
        QVERIFY(!arrow->midItem()->isSelected());
        QCOMPARE(arrow->label().pos(), arrow->midItem()->pos() + offset);
        QVERIFY(arrow->path().pointAtPercent(0.5).y() > 60);

        const QPointF labelGrab = arrow->label().sceneBoundingRect().center();
        drag(view, labelGrab, labelGrab + QPointF(30, 40));
        QVERIFY_NEAR(arrow->textRelativePos(), offset + QPointF(30, 40));
        b->setPos(150, 50);
        QVERIFY_NEAR(arrow->label().pos(), arrow->midItem()->pos() + offset + QPointF(30, 40));
        delete view;
    }

    void hitsAreOnTheStrokeOnly()
    {
        DiagramItem *a = addState(m_scene, QPointF(0, 0));
        Arrow *arrow = addArrow(m_scene, a, addState(m_scene, QPointF(300, 0)));
        const QPointF onCurve = arrow->path().pointAtPercent(0.5);
        QVERIFY(arrow->shape().contains(onCurve + QPointF(0, 3)));
        QVERIFY(!arrow->shape().contains(onCurve + QPointF(0, 8)));
        QVERIFY(!arrow->shape().contains(QPointF(150, 0))); // inside the bend, off the curve
    }
};

QTEST_MAIN(TestArrow)
#include "tst_arrow.moc"
