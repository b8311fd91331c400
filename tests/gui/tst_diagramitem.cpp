#include "arrow.h"
#include "diagramgeometry.h"
#include "diagramgestures.h"
#include "diagramitem.h"
#include "diagramscene.h"

#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsView>
#include <QMenu>
#include <QPainter>
#include <QtTest>

using namespace DiagramGestures;

namespace {

bool hasVertex(const QPolygonF &polygon, const QPointF &p)
{
    for (const QPointF &v : polygon) {
        if (qAbs(v.x() - p.x()) <= 0.05 && qAbs(v.y() - p.y()) <= 0.05)
            return true;
    }
    return false;
}

// True when the polygon has an edge from a to b (either way round).
bool hasEdge(const QPolygonF &polygon, const QPointF &a, const QPointF &b)
{
    const auto same = [](const QPointF &p, const QPointF &q) {
        return qAbs(p.x() - q.x()) <= 0.05 && qAbs(p.y() - q.y()) <= 0.05;
    };
    for (int i = 1; i < polygon.size(); ++i) {
        const QPointF p = polygon.at(i - 1);
        const QPointF q = polygon.at(i);
        if ((same(p, a) && same(q, b)) || (same(p, b) && same(q, a)))
            return true;
    }
    return false;
}

int countPixels(const QImage &image, const QRect &area, const std::function<bool(QColor)> &test)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += test(image.pixelColor(x, y)) ? 1 : 0;
    }
    return count;
}

bool isRedish(const QColor &c)
{
    return c.red() > 200 && c.green() < 120 && c.blue() < 120;
}

} // namespace

class TestDiagramItem : public QObject
{
    Q_OBJECT

private slots:
    void newState()
    {
        DiagramItem state(DiagramItem::EstadoSimple, nullptr);
        QCOMPARE(state.rect(), QRectF(-55, -32.5, 110, 65));
        QCOMPARE(state.name(), QStringLiteral("?"));
        QVERIFY(state.shape().contains(QPointF(0, 0)));
        QVERIFY(!state.shape().contains(QPointF(54.5, 32))); // the rounded corner is cut off
        state.setName(QStringLiteral("Espera_larga"));
        QCOMPARE(state.toolTip(), QStringLiteral("ESPERA_LARGA"));
    }

    // A new state's outline for arrows: straight edges at x = ±56 between
    // y = ±26.8 and at y = ±33.5 between x = ±49.84.
    void hitPolygonOfNewState()
    {
        DiagramItem state(DiagramItem::EstadoSimple, nullptr);
        const QPolygonF polygon = state.polygon();
        QVERIFY(polygon.isClosed());
        QCOMPARE(polygon.boundingRect(), QRectF(-56, -33.5, 112, 67));
        for (qreal sx : {-1.0, 1.0}) {
            QVERIFY(hasEdge(polygon, QPointF(sx * 56, -26.8), QPointF(sx * 56, 26.8)));
            QVERIFY(hasEdge(polygon, QPointF(-49.84, sx * 33.5), QPointF(49.84, sx * 33.5)));
        }
        QVERIFY(polygon.size() > 12); // the corners are flattened curves
    }

    void hitPolygonMargins_data()
    {
        QTest::addColumn<QRectF>("rect");
        QTest::addColumn<qreal>("margin");
        QTest::addColumn<QPointF>("edgeEnd");
        // 200 × 50 grown by 0.8: 201.6 × 51.6, roundness 5 across, 20 down.
        QTest::newRow("wide") << QRectF(-100, -25, 200, 50) << 0.8 << QPointF(100.8 - 0.05 * 100.8, -25.8);
        // 60 × 120 grown by 0.8: 61.6 × 121.6, roundness 20 across, 10 down.
        QTest::newRow("tall") << QRectF(-30, -60, 60, 120) << 0.8 << QPointF(30.8, -60.8 + 0.1 * 60.8);
    }
    void hitPolygonMargins()
    {
        QFETCH(QRectF, rect);
        QFETCH(qreal, margin);
        QFETCH(QPointF, edgeEnd);
        const QPolygonF polygon = DiagramGeometry::roundedHitPolygon(rect, margin);
        QCOMPARE(polygon.boundingRect(), rect.adjusted(-margin, -margin, margin, margin));
        QVERIFY(hasVertex(polygon, edgeEnd));
    }

    // The grip's corner follows the pointer (plus the press offset) while the
    // top-left corner stays; never below 85 × 50.
    void resizedRect_data()
    {
        QTest::addColumn<QRectF>("rect");
        QTest::addColumn<QPointF>("pointer");
        QTest::addColumn<QPointF>("offset");
        QTest::addColumn<QSizeF>("size");
        QTest::newRow("grow") << QRectF(-55, -32.5, 110, 65) << QPointF(75, 47.5) << QPointF(0, 0)
                              << QSizeF(130, 80);
        QTest::newRow("offset kept") << QRectF(-55, -32.5, 110, 65) << QPointF(73, 45.5) << QPointF(2, 2)
                                     << QSizeF(130, 80);
        QTest::newRow("negative pointer")
            << QRectF(-100, -50, 200, 100) << QPointF(-5, -10) << QPointF(0, 0) << QSizeF(95, 50);
        QTest::newRow("minimum") << QRectF(-55, -32.5, 110, 65) << QPointF(-300, -300) << QPointF(1, 1)
                                 << QSizeF(85, 50);
    }
    void resizedRect()
    {
        QFETCH(QRectF, rect);
        QFETCH(QPointF, pointer);
        QFETCH(QPointF, offset);
        QFETCH(QSizeF, size);
        const QRectF resized = DiagramGeometry::resizedRect(rect, pointer, offset);
        QCOMPARE(resized.size(), size);
        QCOMPARE(resized.center(), QPointF(0, 0));
    }

    // The marker keeps its size whatever it is asked.
    void marker()
    {
        DiagramItem marker(DiagramItem::EstadoInicial, nullptr);
        QCOMPARE(marker.name(), QStringLiteral("RESET"));
        marker.setSize(300, 300);
        QCOMPARE(marker.rect(), QRectF(-10, -10, 20, 20));
        QCOMPARE(marker.polygon().boundingRect(), QRectF(-10, -10, 20, 20));
    }

    void setSizeAppliesAnySize()
    {
        DiagramItem state(DiagramItem::EstadoSimple, nullptr);
        state.setPos(10, 20);
        state.setSize(40, 30);
        QCOMPARE(state.rect(), QRectF(-20, -15, 40, 30));
        QCOMPARE(state.pos(), QPointF(10, 20));
        QCOMPARE(state.polygon().boundingRect(), QRectF(-20.8, -15.8, 41.6, 31.6));
    }

    void resizeWithGrip_data()
    {
        QTest::addColumn<QPointF>("dragBy");
        QTest::addColumn<QSizeF>("size");
        QTest::newRow("shrink past the minimum") << QPointF(-200, -200) << QSizeF(85, 50);
        QTest::newRow("grow") << QPointF(60, 35) << QSizeF(170, 100);
        QTest::newRow("narrower, taller") << QPointF(-10, 15) << QSizeF(100, 80);
    }
    void resizeWithGrip()
    {
        QFETCH(QPointF, dragBy);
        QFETCH(QSizeF, size);
        DiagramScene scene(QStringLiteral("M"), nullptr);
        QGraphicsView *view = showView(&scene);
        DiagramItem *state = addState(&scene, QPointF(-100, -50));
        DiagramItem *other = addState(&scene, QPointF(250, 0));
        Arrow *arrow = addArrow(&scene, other, state);
        const QPointF topLeft = state->mapToScene(state->rect().topLeft());

        click(view, state->pos());
        QVERIFY(state->isSelected());
        const QPointF corner = state->mapToScene(state->rect().bottomRight());
        drag(view, corner, corner + dragBy);

        QCOMPARE(state->rect().size(), size);
        QCOMPARE(state->mapToScene(state->rect().topLeft()), topLeft);
        QCOMPARE(state->rect().center(), QPointF(0, 0));
        QCOMPARE(state->polygon().boundingRect().size(), size + QSizeF(1.6, 1.6));
        // The arrow already ends on the new outline.
        const QPointF head = arrow->arrowHead().at(0);
        const QRectF outline = state->polygon().translated(state->pos()).boundingRect();
        QVERIFY(qAbs(head.x() - outline.right()) < 0.01 || qAbs(head.y() - outline.top()) < 0.01 ||
                qAbs(head.y() - outline.bottom()) < 0.01);
        delete view;
    }

    // Deselecting a state while the pointer rests on its grip leaves the grip
    // shown until the next selection change.
    void gripStaysUnderPointer()
    {
        DiagramScene scene(QStringLiteral("M"), nullptr);
        QGraphicsView *view = showView(&scene);
        DiagramItem *state = addState(&scene, QPointF(0, 0));
        QGraphicsItem *grip = state->childItems().value(0);
        QVERIFY(grip);
        QVERIFY(!grip->isVisible());
        state->setSelected(true);
        QVERIFY(grip->isVisible());

        const QPointF corner = state->mapToScene(state->rect().bottomRight());
        QCursor::setPos(view->viewport()->mapToGlobal(view->mapFromScene(corner)));
        if (!grip->isUnderMouse())
            QSKIP("this platform does not move the pointer");
        state->setSelected(false);
        QVERIFY(grip->isVisible());

        QCursor::setPos(view->viewport()->mapToGlobal(view->mapFromScene(QPointF(300, 200))));
        state->setSelected(true);
        state->setSelected(false);
        QVERIFY(!grip->isVisible());
        delete view;
    }

    void dragCarriesSelfLoop()
    {
        DiagramScene scene(QStringLiteral("M"), nullptr);
        QGraphicsView *view = showView(&scene);
        DiagramItem *state = addState(&scene, QPointF(0, 0));
        Arrow *loop = addArrow(&scene, state, state);
        const QPointF offset = loop->midItem()->pos() - state->pos();
        const QPainterPath shape = loop->path().translated(QPointF(80, 60));

        drag(view, QPointF(0, 0), QPointF(80, 60));
        QCOMPARE(state->pos(), QPointF(80, 60));
        QCOMPARE(loop->midItem()->pos() - state->pos(), offset);
        QVERIFY(!loop->midItem()->isVisible());
        for (int i = 0; i < 4; ++i)
            QCOMPARE(QPointF(loop->path().elementAt(i)), QPointF(shape.elementAt(i)));
        delete view;
    }

    void contextMenuOnMarkerIsSwallowed()
    {
        DiagramScene scene(QStringLiteral("M"), nullptr);
        addState(&scene, QPointF(0, 0));
        scene.insertInitialStateItem(0);
        QGraphicsSceneContextMenuEvent event(QEvent::GraphicsSceneContextMenu);
        event.setScenePos(scene.initialStateItem()->pos());
        event.setAccepted(false);
        QApplication::sendEvent(&scene, &event);
        QVERIFY(event.isAccepted());
        QVERIFY(!scene.initialStateItem()->isSelected());
    }

    // Right-clicking a state selects only that state, then shows the
    // element menu; the marker shows none.
    void contextMenu()
    {
        DiagramScene scene(QStringLiteral("M"), nullptr);
        QMenu menu;
        menu.addAction(QStringLiteral("Eliminar Elemento"));
        auto *state = new DiagramItem(DiagramItem::EstadoSimple, &menu);
        scene.addItem(state);
        DiagramItem *other = addState(&scene, QPointF(300, 0));
        other->setSelected(true);

        bool shown = false;
        QTimer::singleShot(50, [&shown] {
            if (QWidget *popup = QApplication::activePopupWidget()) {
                shown = true;
                popup->close();
            }
        });
        QGraphicsSceneContextMenuEvent event(QEvent::GraphicsSceneContextMenu);
        event.setScenePos(QPointF(0, 0));
        QApplication::sendEvent(&scene, &event);
        QVERIFY(shown);
        QVERIFY(state->isSelected());
        QVERIFY(!other->isSelected());
    }

    // A selected state that is also active shows the selection outline, not
    // the red highlight; an unselected active state is red.
    void highlightPainting()
    {
        DiagramScene scene(QStringLiteral("M"), nullptr);
        DiagramItem *state = addState(&scene, QPointF(0, 0), QStringLiteral("Activo"));
        state->setActivo(true);
        const auto render = [&scene]() {
            QImage image(200, 120, QImage::Format_ARGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            scene.render(&painter, QRectF(0, 0, 200, 120), QRectF(-100, -60, 200, 120));
            return image;
        };
        const QRect inside(60, 40, 80, 40);
        QVERIFY(countPixels(render(), inside, isRedish) > 1000);
        state->setSelected(true);
        QCOMPARE(countPixels(render(), QRect(0, 0, 200, 120), isRedish), 0);
        state->setActivo(false);
        state->setSelected(false);
        QCOMPARE(countPixels(render(), QRect(0, 0, 200, 120), isRedish), 0);
    }
};

QTEST_MAIN(TestDiagramItem)
#include "tst_diagramitem.moc"
