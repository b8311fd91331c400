#include "arrow.h"
#include "arrowlabel.h"
#include "diagramgeometry.h"
#include "diagramgestures.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "ventanaprueba.h"

#include <QGraphicsLineItem>
#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsView>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

using namespace DiagramGestures;

Q_DECLARE_METATYPE(DiagramItem *)
Q_DECLARE_METATYPE(Arrow *)

namespace {

template<typename T> QList<T *> itemsOf(const QGraphicsScene &scene)
{
    QList<T *> found;
    for (QGraphicsItem *item : scene.items()) {
        if (item->type() == T::Type)
            found << static_cast<T *>(item);
    }
    return found;
}

QGraphicsLineItem *rubberLine(const QGraphicsScene &scene)
{
    for (QGraphicsItem *item : scene.items()) {
        if (auto *line = qgraphicsitem_cast<QGraphicsLineItem *>(item))
            return line;
    }
    return nullptr;
}

// The deletion of removed items waits for the event loop.
void settle()
{
    QCoreApplication::sendPostedEvents();
    QTest::qWait(1);
}

bool hasVertex(const QPolygonF &polygon, const QPointF &p)
{
    for (const QPointF &v : polygon) {
        if (qAbs(v.x() - p.x()) <= 0.05 && qAbs(v.y() - p.y()) <= 0.05)
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

class TestDiagramScene : public QObject
{
    Q_OBJECT

    DiagramScene *m_scene = nullptr;
    QGraphicsView *m_view = nullptr;

private slots:
    void initTestCase()
    {
        qRegisterMetaType<DiagramItem *>();
        qRegisterMetaType<Arrow *>();
    }
    void init()
    {
        m_scene = new DiagramScene(QStringLiteral("Control"), nullptr);
        m_view = showView(m_scene);
    }
    void cleanup()
    {
        delete m_view;
        delete m_scene;
        settle();
    }

    void insertStateOnClick()
    {
        QSignalSpy inserted(m_scene, &DiagramScene::itemInserted);
        m_scene->setMode(DiagramScene::InsertItem);
        click(m_view, QPointF(100, 50));
        QCOMPARE(inserted.size(), 1);
        auto *first = inserted.at(0).at(0).value<DiagramItem *>();
        QCOMPARE(first->pos(), QPointF(100, 50));
        QCOMPARE(first->color(), QColor(QStringLiteral("lightcyan")));
        QVERIFY(first->isSelected());
        QCOMPARE(m_scene->itemList(), QList<DiagramItem *>{first});

        // A click on top of a state still makes a new one, centred on the click.
        click(m_view, QPointF(120, 60));
        QCOMPARE(inserted.size(), 2);
        auto *second = inserted.at(1).at(0).value<DiagramItem *>();
        QCOMPARE(second->pos(), QPointF(120, 60));
        QCOMPARE(m_scene->itemList(), (QList<DiagramItem *>{first, second}));
        QCOMPARE(first->pos(), QPointF(100, 50));
    }

    void drawTransition()
    {
        DiagramItem *a = addState(m_scene, QPointF(-200, 0));
        DiagramItem *b = addState(m_scene, QPointF(200, 0));
        QSignalSpy inserted(m_scene, &DiagramScene::arrowInserted);
        m_scene->setMode(DiagramScene::InsertLineStart);

        click(m_view, QPointF(-210, 10));
        QCOMPARE(m_scene->mode(), DiagramScene::InsertLineEnd);
        QGraphicsLineItem *line = rubberLine(*m_scene);
        QVERIFY(line);
        QCOMPARE(line->zValue(), -1.0);
        move(m_view, QPointF(0, 100), Qt::NoButton);
        QCOMPARE(line->line(), QLineF(QPointF(-200, 0), QPointF(0, 100)));
        QCOMPARE(m_view->viewport()->cursor().shape(), Qt::ForbiddenCursor);
        move(m_view, QPointF(190, 5), Qt::NoButton);
        QCOMPARE(m_view->viewport()->cursor().shape(), Qt::PointingHandCursor);

        Qt::CursorShape cursorAtSignal = Qt::BlankCursor;
        connect(m_scene, &DiagramScene::arrowInserted, this,
                [&] { cursorAtSignal = m_view->viewport()->cursor().shape(); });
        click(m_view, QPointF(190, 5));
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(cursorAtSignal, Qt::ArrowCursor);
        auto *arrow = inserted.at(0).at(0).value<Arrow *>();
        QCOMPARE(arrow->startItem(), a);
        QCOMPARE(arrow->endItem(), b);
        QCOMPARE(a->arrows(), QList<Arrow *>{arrow});
        QCOMPARE(b->arrows(), QList<Arrow *>{arrow});
        QCOMPARE(arrow->scene(), m_scene);
        QVERIFY(!arrow->path().isEmpty());
        QVERIFY(!rubberLine(*m_scene));

        m_scene->setMode(DiagramScene::InsertLineStart);
        click(m_view, QPointF(-200, 0));
        click(m_view, QPointF(-180, 10));
        auto *loop = inserted.at(1).at(0).value<Arrow *>();
        QCOMPARE(loop->startItem(), a);
        QCOMPARE(loop->endItem(), a);
        QCOMPARE(a->arrows(), (QList<Arrow *>{arrow, loop}));
    }

    void clicksThatDrawNothing()
    {
        addState(m_scene, QPointF(0, 0));
        m_scene->insertInitialStateItem(0);
        QSignalSpy inserted(m_scene, &DiagramScene::arrowInserted);
        inserted.clear();
        m_scene->setMode(DiagramScene::InsertLineStart);
        click(m_view, QPointF(300, 200)); // empty space
        click(m_view, m_scene->initialStateItem()->pos());
        QCOMPARE(m_scene->mode(), DiagramScene::InsertLineStart);
        QVERIFY(!rubberLine(*m_scene));

        click(m_view, QPointF(0, 0));
        QCOMPARE(m_scene->mode(), DiagramScene::InsertLineEnd);
        click(m_view, QPointF(300, 200));
        click(m_view, m_scene->initialStateItem()->pos());
        QCOMPARE(inserted.size(), 0);
        QCOMPARE(m_scene->mode(), DiagramScene::InsertLineEnd);
        QVERIFY(rubberLine(*m_scene));

        m_scene->setMode(DiagramScene::MoveItem);
        QVERIFY(!rubberLine(*m_scene));
    }

    // A right click selects nothing, inserts nothing and keeps the tool (an
    // arrow being drawn goes on); it tells the window, except in simulation.
    void rightClick_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("emitted");
        QTest::newRow("move") << int(DiagramScene::MoveItem) << 2;
        QTest::newRow("insert item") << int(DiagramScene::InsertItem) << 2;
        QTest::newRow("line start") << int(DiagramScene::InsertLineStart) << 2;
        QTest::newRow("drawing") << int(DiagramScene::InsertLineEnd) << 1;
        QTest::newRow("simulation") << int(DiagramScene::Simulation) << 0;
    }
    void rightClick()
    {
        QFETCH(int, mode);
        QFETCH(int, emitted);
        DiagramItem *a = addState(m_scene, QPointF(0, 0));
        QSignalSpy right(m_scene, &DiagramScene::rightClicked);
        QSignalSpy inserted(m_scene, &DiagramScene::itemInserted);
        const bool drawing = mode == DiagramScene::InsertLineEnd;
        m_scene->setMode(drawing ? DiagramScene::InsertLineStart : DiagramScene::Mode(mode));
        click(m_view, QPointF(0, 0), drawing ? Qt::LeftButton : Qt::RightButton);
        click(m_view, QPointF(300, 100), Qt::RightButton);
        QCOMPARE(right.size(), emitted);
        QCOMPARE(inserted.size(), 0);
        QCOMPARE(int(m_scene->mode()), mode);
        QVERIFY(drawing || !a->isSelected());
    }

    void simulationIsReadOnly()
    {
        DiagramItem *a = addState(m_scene, QPointF(0, 0));
        a->setSelected(true);
        m_scene->setMode(DiagramScene::Simulation);
        QVERIFY(!a->isSelected());
        QSignalSpy doubled(m_scene, &DiagramScene::itemDoubleClicked);
        drag(m_view, QPointF(0, 0), QPointF(100, 100));
        doubleClick(m_view, QPointF(0, 0));
        QCOMPARE(a->pos(), QPointF(0, 0));
        QVERIFY(!a->isSelected());
        QCOMPARE(doubled.size(), 0);
    }

    void doubleClicks()
    {
        DiagramItem *a = addState(m_scene, QPointF(-200, 0));
        DiagramItem *b = addState(m_scene, QPointF(200, 0));
        Arrow *arrow = addArrow(m_scene, a, b);
        m_scene->insertInitialStateItem(1);

        QSignalSpy state(m_scene, &DiagramScene::itemDoubleClicked);
        QSignalSpy arrows(m_scene, &DiagramScene::arrowDoubleClicked);
        doubleClick(m_view, b->pos() + QPointF(10, 5));
        QCOMPARE(state.size(), 1);
        QCOMPARE(state.at(0).at(0).toInt(), 1);

        doubleClick(m_view, arrow->path().pointAtPercent(0.25));
        QCOMPARE(arrows.size(), 1);
        QCOMPARE(arrows.at(0).at(0).value<Arrow *>(), arrow);

        doubleClick(m_view, arrow->label().sceneBoundingRect().center());
        QCOMPARE(arrows.size(), 2);
        QCOMPARE(arrows.at(1).at(0).value<Arrow *>(), arrow);

        doubleClick(m_view, m_scene->initialStateItem()->pos());
        doubleClick(m_view, QPointF(0, 250));
        QCOMPARE(state.size(), 1);
        QCOMPARE(arrows.size(), 2);

        m_scene->setMode(DiagramScene::InsertLineStart);
        doubleClick(m_view, b->pos());
        m_scene->setMode(DiagramScene::MoveItem);
        QCOMPARE(state.size(), 1);
    }

    void insertInitialStateReplacesMarker()
    {
        DiagramItem *a = addState(m_scene, QPointF(0, 0));
        DiagramItem *b = addState(m_scene, QPointF(400, 100));
        QSignalSpy inserted(m_scene, &DiagramScene::arrowInserted);
        m_scene->insertInitialStateItem(0);
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(m_scene->initialStateItem()->pos(), QPointF(-95, -72.5));
        QCOMPARE(a->arrows().size(), 1);

        m_scene->insertInitialStateItem(1);
        QCOMPARE(inserted.size(), 2);
        QVERIFY(a->arrows().isEmpty());
        QCOMPARE(b->arrows().size(), 1);
        QCOMPARE(itemsOf<DiagramItem>(*m_scene).size(), 3);
        QCOMPARE(itemsOf<Arrow>(*m_scene).size(), 1);
        QCOMPARE(m_scene->initialStateItem()->pos(), QPointF(400 - 95, 100 - 72.5));
        QVERIFY(!m_scene->itemList().contains(m_scene->initialStateItem()));

        m_scene->insertInitialStateItem(2); // no such state: nothing happens
        QCOMPARE(inserted.size(), 2);
    }

    // What is selected, and what must be left after deleting it.
    void removeSelected_data()
    {
        QTest::addColumn<QStringList>("selection");
        QTest::addColumn<QStringList>("statesLeft");
        QTest::addColumn<int>("arrowsLeft");
        QTest::addColumn<bool>("markerLeft"); // and B still initial
        const auto fila = [](const char *caso, const char *selection, const char *left, int arrows,
                             bool marker) {
            QTest::newRow(caso) << QString(selection).split(' ')
                                << QString(left).split(' ', Qt::SkipEmptyParts) << arrows << marker;
        };
        fila("arrow only", "a->c", "A B C", 3, true);
        fila("initial arrow", "init", "A B C", 3, false);
        fila("marker only", "marker", "A B C", 3, false);
        fila("initial state", "B", "A C", 2, false);
        fila("state with arrows", "A", "B C", 2, true);
        fila("marker then state", "marker B", "A C", 2, false);
        fila("state then marker", "B marker", "A C", 2, false);
        fila("everything", "A B C marker init a->c loop", "", 0, false);
    }
    void removeSelected()
    {
        QFETCH(QStringList, selection);
        QFETCH(QStringList, statesLeft);
        QFETCH(int, arrowsLeft);
        QFETCH(bool, markerLeft);

        // A → B, A → C, a loop on C, and B initial.
        DiagramItem *a = addState(m_scene, QPointF(-300, 0), QStringLiteral("A"));
        DiagramItem *b = addState(m_scene, QPointF(0, 0), QStringLiteral("B"));
        DiagramItem *c = addState(m_scene, QPointF(300, 0), QStringLiteral("C"));
        QHash<QString, QGraphicsItem *> named{{"A", a}, {"B", b}, {"C", c}};
        addArrow(m_scene, a, b);
        named.insert("a->c", addArrow(m_scene, a, c));
        named.insert("loop", addArrow(m_scene, c, c));
        b->setInicial(true);
        m_scene->insertInitialStateItem(1);
        named.insert("marker", m_scene->initialStateItem());
        named.insert("init", m_scene->initialStateItem()->arrows().value(0));
        m_scene->setPreviousArrow(static_cast<Arrow *>(named.value("a->c")));

        for (const QString &name : selection)
            named.value(name)->setSelected(true);
        m_scene->removeSelectedItems();
        settle();

        QStringList names;
        for (DiagramItem *state : m_scene->itemList())
            names << state->name();
        QCOMPARE(names, statesLeft);
        QCOMPARE(itemsOf<Arrow>(*m_scene).size(), arrowsLeft);
        QCOMPARE(m_scene->initialStateItem() != nullptr, markerLeft);
        QCOMPARE(itemsOf<DiagramItem>(*m_scene).size(), statesLeft.size() + (markerLeft ? 1 : 0));
        if (statesLeft.contains("B"))
            QCOMPARE(b->isEstadoInicial(), markerLeft);
        // Every arrow left is in the scene and listed by both of its ends.
        for (DiagramItem *state : itemsOf<DiagramItem>(*m_scene)) {
            for (Arrow *arrow : state->arrows()) {
                QCOMPARE(arrow->scene(), m_scene);
                QVERIFY(arrow->startItem()->arrows().contains(arrow));
                QVERIFY(arrow->endItem()->arrows().contains(arrow));
                QCOMPARE(arrow->startItem()->scene(), m_scene);
                QCOMPARE(arrow->endItem()->scene(), m_scene);
            }
        }
        if (!itemsOf<Arrow>(*m_scene).contains(m_scene->previousArrow()))
            QVERIFY(!m_scene->previousArrow());
        // Later edits on what is left touch no freed memory.
        for (DiagramItem *state : m_scene->itemList())
            state->moveBy(5, 5);
        if (m_scene->initialStateItem())
            m_scene->initialStateItem()->moveBy(5, 5);
    }

    // The receivers of itemInserted and arrowInserted may remove what was
    // just inserted (a refused name, a cancelled editor); the click that
    // inserted it must then carry on safely.
    void receiverRemovesWhatWasInserted()
    {
        DiagramItem *a = addState(m_scene, QPointF(0, 0));
        DiagramItem *b = addState(m_scene, QPointF(300, 0));
        connect(m_scene, &DiagramScene::itemInserted, m_scene, [this] { m_scene->removeSelectedItems(); });
        connect(m_scene, &DiagramScene::arrowInserted, m_scene, [this](Arrow *arrow) {
            arrow->startItem()->removeArrow(arrow);
            arrow->endItem()->removeArrow(arrow);
            delete arrow;
            m_scene->setMode(DiagramScene::MoveItem);
        });
        m_scene->setMode(DiagramScene::InsertItem);
        click(m_view, QPointF(10, 200));
        settle();
        m_scene->setMode(DiagramScene::InsertLineStart);
        click(m_view, a->pos());
        click(m_view, b->pos());
        QCOMPARE(m_scene->itemList(), (QList<DiagramItem *>{a, b}));
        QCOMPARE(itemsOf<DiagramItem>(*m_scene).size(), 2);
        QVERIFY(a->arrows().isEmpty() && b->arrows().isEmpty());
        QVERIFY(itemsOf<Arrow>(*m_scene).isEmpty());
        QCOMPARE(m_scene->mode(), DiagramScene::MoveItem);
    }

    // A new state is 110 × 65 with its corners cut off; any size is applied
    // around the centre, which stays put. The marker keeps its size.
    void newStateAndMarker()
    {
        DiagramItem state(DiagramItem::EstadoSimple, nullptr);
        QCOMPARE(state.rect(), QRectF(-55, -32.5, 110, 65));
        QCOMPARE(state.name(), QStringLiteral("?"));
        QVERIFY(state.shape().contains(QPointF(0, 0)));
        QVERIFY(!state.shape().contains(QPointF(54.5, 32)));
        state.setName(QStringLiteral("Espera_larga"));
        QCOMPARE(state.toolTip(), QStringLiteral("ESPERA_LARGA"));
        state.setPos(10, 20);
        state.setSize(40, 30);
        QCOMPARE(state.rect(), QRectF(-20, -15, 40, 30));
        QCOMPARE(state.pos(), QPointF(10, 20));
        QCOMPARE(state.polygon().boundingRect(), QRectF(-20.8, -15.8, 41.6, 31.6));

        DiagramItem marker(DiagramItem::EstadoInicial, nullptr);
        QCOMPARE(marker.name(), QStringLiteral("RESET"));
        marker.setSize(300, 300);
        QCOMPARE(marker.polygon().boundingRect(), QRectF(-10, -10, 20, 20));
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

    void resizeWithGrip_data()
    {
        QTest::addColumn<QPointF>("dragBy");
        QTest::addColumn<QSizeF>("size");
        QTest::newRow("narrower, taller") << QPointF(-10, 15) << QSizeF(100, 80);
    }
    void resizeWithGrip()
    {
        QFETCH(QPointF, dragBy);
        QFETCH(QSizeF, size);
        DiagramItem *state = addState(m_scene, QPointF(-100, -50));
        DiagramItem *other = addState(m_scene, QPointF(250, 0));
        Arrow *arrow = addArrow(m_scene, other, state);
        const QPointF topLeft = state->mapToScene(state->rect().topLeft());

        click(m_view, state->pos());
        QVERIFY(state->isSelected());
        const QPointF corner = state->mapToScene(state->rect().bottomRight());
        drag(m_view, corner, corner + dragBy);

        QCOMPARE(state->rect().size(), size);
        QCOMPARE(state->mapToScene(state->rect().topLeft()), topLeft);
        QCOMPARE(state->rect().center(), QPointF(0, 0));
        QCOMPARE(state->polygon().boundingRect().size(), size + QSizeF(1.6, 1.6));
        // The arrow already ends on the new outline.
        const QPointF head = arrow->arrowHead().at(0);
        const QRectF outline = state->polygon().translated(state->pos()).boundingRect();
        QVERIFY(qAbs(head.x() - outline.right()) < 0.01 || qAbs(head.y() - outline.top()) < 0.01 ||
                qAbs(head.y() - outline.bottom()) < 0.01);
    }

    // Deselecting a state while the pointer rests on its grip leaves the grip
    // shown until the next selection change.
    void gripStaysUnderPointer()
    {
        DiagramItem *state = addState(m_scene, QPointF(0, 0));
        state->setSelected(true);
        QGraphicsItem *grip = state->childItems().value(0);
        QVERIFY(grip);
        QVERIFY(grip->isVisible());

        const QPointF corner = state->mapToScene(state->rect().bottomRight());
        QCursor::setPos(m_view->viewport()->mapToGlobal(m_view->mapFromScene(corner)));
        if (!grip->isUnderMouse())
            QSKIP("this platform does not move the pointer");
        state->setSelected(false);
        QVERIFY(grip->isVisible());

        QCursor::setPos(m_view->viewport()->mapToGlobal(m_view->mapFromScene(QPointF(300, 200))));
        state->setSelected(true);
        state->setSelected(false);
        QVERIFY(!grip->isVisible());
    }

    // The pointer shows what it can grab, and the view's own cursor again
    // away from the items.
    void cursorSobreItems()
    {
        DiagramItem *a = addState(m_scene, QPointF(-200, 0));
        DiagramItem *b = addState(m_scene, QPointF(200, 0));
        Arrow *arrow = addArrow(m_scene, a, b);
        a->setSelected(true);
        arrow->setSelected(true);
        m_view->viewport()->setCursor(Qt::CrossCursor);
        const struct
        {
            const char *donde;
            QPointF pos;
            Qt::CursorShape forma;
        } pasos[] = {
            {"estado", b->pos(), Qt::PointingHandCursor},
            {"vacío", QPointF(0, 250), Qt::CrossCursor},
            {"etiqueta", arrow->label().sceneBoundingRect().center(), Qt::PointingHandCursor},
            {"punto de control", arrow->controlPoint(), Qt::PointingHandCursor},
            {"agarre", a->mapToScene(a->rect().bottomRight()), Qt::SizeFDiagCursor},
            {"flecha", arrow->path().pointAtPercent(0.85), Qt::PointingHandCursor},
            {"vacío otra vez", QPointF(0, -250), Qt::CrossCursor},
        };
        for (const auto &paso : pasos) {
            move(m_view, paso.pos, Qt::NoButton);
            QVERIFY2(m_view->viewport()->cursor().shape() == paso.forma, paso.donde);
        }
    }

    void dragCarriesSelfLoop()
    {
        DiagramItem *state = addState(m_scene, QPointF(0, 0));
        Arrow *loop = addArrow(m_scene, state, state);
        const QPointF offset = loop->midItem()->pos() - state->pos();
        const QPainterPath shape = loop->path().translated(QPointF(80, 60));

        drag(m_view, QPointF(0, 0), QPointF(80, 60));
        QCOMPARE(state->pos(), QPointF(80, 60));
        QCOMPARE(loop->midItem()->pos() - state->pos(), offset);
        QVERIFY(!loop->midItem()->isVisible());
        for (int i = 0; i < 4; ++i)
            QCOMPARE(QPointF(loop->path().elementAt(i)), QPointF(shape.elementAt(i)));
    }

    // Right-clicking a state selects only that state, then shows the
    // element menu; the marker's is swallowed, showing none.
    void contextMenu()
    {
        QMenu menu;
        menu.addAction(QStringLiteral("Eliminar Elemento"));
        auto *state = new DiagramItem(DiagramItem::EstadoSimple, &menu);
        m_scene->addItem(state);
        DiagramItem *other = addState(m_scene, QPointF(300, 0));
        other->setSelected(true);

        QGraphicsSceneContextMenuEvent event(QEvent::GraphicsSceneContextMenu);
        event.setScenePos(QPointF(0, 0));
        QCOMPARE(VentanaPrueba::menuDurante([&] { QApplication::sendEvent(m_scene, &event); }),
                 QStringList(QStringLiteral("Eliminar Elemento")));
        QVERIFY(state->isSelected());
        QVERIFY(!other->isSelected());

        m_scene->insertInitialStateItem(0);
        QGraphicsSceneContextMenuEvent onMarker(QEvent::GraphicsSceneContextMenu);
        onMarker.setScenePos(m_scene->initialStateItem()->pos());
        onMarker.setAccepted(false);
        QApplication::sendEvent(m_scene, &onMarker);
        QVERIFY(onMarker.isAccepted());
        QVERIFY(!m_scene->initialStateItem()->isSelected());
    }

    // A selected state that is also active shows the selection outline, not
    // the red highlight; an unselected active state is red.
    void highlightPainting()
    {
        DiagramItem *state = addState(m_scene, QPointF(0, 0), QStringLiteral("Activo"));
        state->setActivo(true);
        const auto render = [this]() {
            QImage image(200, 120, QImage::Format_ARGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            m_scene->render(&painter, QRectF(0, 0, 200, 120), QRectF(-100, -60, 200, 120));
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

QTEST_MAIN(TestDiagramScene)
#include "tst_diagramscene.moc"
