#include "arrow.h"
#include "arrowlabel.h"
#include "diagramgestures.h"
#include "diagramitem.h"
#include "diagramscene.h"

#include <QGraphicsLineItem>
#include <QGraphicsView>
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

    void newScene()
    {
        QCOMPARE(m_scene->mode(), DiagramScene::MoveItem);
        QVERIFY(!m_scene->initialStateItem());
        m_scene->initSceneRect(-1250, -750, 2500, 1500);
        QVERIFY(m_scene->sceneRect().contains(QRectF(-1250, -750, 2500, 1500)));
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
        QCOMPARE(first->name(), QStringLiteral("?"));
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
    }

    void drawSelfLoop()
    {
        DiagramItem *a = addState(m_scene, QPointF(0, 0));
        QSignalSpy inserted(m_scene, &DiagramScene::arrowInserted);
        m_scene->setMode(DiagramScene::InsertLineStart);
        click(m_view, QPointF(0, 0));
        click(m_view, QPointF(20, 10));
        QCOMPARE(inserted.size(), 1);
        auto *arrow = inserted.at(0).at(0).value<Arrow *>();
        QCOMPARE(arrow->startItem(), a);
        QCOMPARE(arrow->endItem(), a);
        QCOMPARE(a->arrows().size(), 1);
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
        m_scene->setMode(DiagramScene::InsertLineStart);
        click(m_view, a->pos());
        click(m_view, b->pos());
        m_scene->setMode(DiagramScene::MoveItem);
        Arrow *arrow = a->arrows().value(0);
        QVERIFY(arrow);
        m_scene->insertInitialStateItem(1);
        m_scene->setMode(DiagramScene::MoveItem);

        QSignalSpy state(m_scene, &DiagramScene::itemDoubleClicked);
        QSignalSpy arrows(m_scene, &DiagramScene::arrowDoubleClicked);
        doubleClick(m_view, b->pos() + QPointF(10, 5));
        QCOMPARE(state.size(), 1);
        QCOMPARE(state.at(0).at(0).toInt(), 1);

        doubleClick(m_view, arrow->path().pointAtPercent(0.25));
        QCOMPARE(arrows.size(), 1);
        QCOMPARE(arrows.at(0).at(0).value<Arrow *>(), arrow);

        ArrowLabel *label = arrow->textItem();
        doubleClick(m_view, label->mapToScene(label->boundingRect().center()));
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
        DiagramItem *first = m_scene->initialStateItem();
        QCOMPARE(first->diagramType(), DiagramItem::EstadoInicial);
        QCOMPARE(first->pos(), QPointF(-95, -72.5));
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
        QTest::addColumn<bool>("markerLeft");
        QTest::addColumn<bool>("bInicial");
        const auto fila = [](const char *caso, const char *selection, const char *left, int arrows,
                             bool marker, bool bInicial) {
            QTest::newRow(caso) << QString(selection).split(' ')
                                << QString(left).split(' ', Qt::SkipEmptyParts) << arrows << marker
                                << bInicial;
        };
        fila("arrow only", "a->c", "A B C", 3, true, true);
        fila("initial arrow", "init", "A B C", 3, false, false);
        fila("marker only", "marker", "A B C", 3, false, false);
        fila("initial state", "B", "A C", 2, false, false);
        fila("state with arrows", "A", "B C", 2, true, true);
        fila("marker then state", "marker B", "A C", 2, false, false);
        fila("state then marker", "B marker", "A C", 2, false, false);
        fila("everything", "A B C marker init a->c loop", "", 0, false, false);
    }
    void removeSelected()
    {
        QFETCH(QStringList, selection);
        QFETCH(QStringList, statesLeft);
        QFETCH(int, arrowsLeft);
        QFETCH(bool, markerLeft);
        QFETCH(bool, bInicial);

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
            QCOMPARE(b->isEstadoInicial(), bInicial);
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

    // The indices of the states behind a deleted one move up by one.
    void indicesAfterDeletion()
    {
        QList<DiagramItem *> states;
        for (int i = 0; i < 4; ++i)
            states << addState(m_scene, QPointF(-300 + 200 * i, 0), QString::number(i));
        states.at(1)->setSelected(true);
        m_scene->removeSelectedItems();
        QCOMPARE(m_scene->itemList(), (QList<DiagramItem *>{states.at(0), states.at(2), states.at(3)}));
        QSignalSpy doubled(m_scene, &DiagramScene::itemDoubleClicked);
        doubleClick(m_view, states.at(3)->pos());
        QCOMPARE(doubled.value(0).value(0).toInt(), 2);
    }

    // The receiver of itemInserted may remove the state at once (a refused
    // name); the click that inserted it must then carry on safely.
    void receiverRemovesNewState()
    {
        connect(m_scene, &DiagramScene::itemInserted, m_scene, [this] { m_scene->removeSelectedItems(); });
        m_scene->setMode(DiagramScene::InsertItem);
        click(m_view, QPointF(10, 10));
        settle();
        QVERIFY(m_scene->itemList().isEmpty());
        QVERIFY(itemsOf<DiagramItem>(*m_scene).isEmpty());
    }

    // The receiver of arrowInserted may destroy the arrow (a cancelled editor).
    void receiverDestroysNewArrow()
    {
        DiagramItem *a = addState(m_scene, QPointF(0, 0));
        DiagramItem *b = addState(m_scene, QPointF(300, 0));
        connect(m_scene, &DiagramScene::arrowInserted, m_scene, [this](Arrow *arrow) {
            arrow->startItem()->removeArrow(arrow);
            arrow->endItem()->removeArrow(arrow);
            delete arrow;
            m_scene->setMode(DiagramScene::MoveItem);
        });
        m_scene->setMode(DiagramScene::InsertLineStart);
        click(m_view, a->pos());
        click(m_view, b->pos());
        QVERIFY(a->arrows().isEmpty());
        QVERIFY(b->arrows().isEmpty());
        QVERIFY(itemsOf<Arrow>(*m_scene).isEmpty());
        QCOMPARE(m_scene->mode(), DiagramScene::MoveItem);
    }
};

QTEST_MAIN(TestDiagramScene)
#include "tst_diagramscene.moc"
