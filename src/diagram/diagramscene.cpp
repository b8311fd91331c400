#include "diagramscene.h"

#include "arrow.h"

#include <QGraphicsLineItem>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsView>
#include <QTimer>

DiagramScene::DiagramScene(const QString &name, QMenu *itemMenu, QObject *parent)
    : QGraphicsScene(parent), m_name(name), m_itemMenu(itemMenu)
{
    setItemIndexMethod(NoIndex);
}

DiagramScene::~DiagramScene()
{
    qDeleteAll(m_removed);
}

void DiagramScene::initSceneRect(qreal x, qreal y, qreal width, qreal height)
{
    QGraphicsRectItem *area = addRect(x, y, width, height);
    area->setVisible(false);
}

void DiagramScene::addToList(DiagramItem *item)
{
    m_itemList.append(item);
    m_estadosEnLista.insert(item);
}

void DiagramScene::removeFromList(DiagramItem *item)
{
    m_itemList.removeOne(item);
    m_estadosEnLista.remove(item);
}

void DiagramScene::discard(QGraphicsItem *item)
{
    removeItem(item);
    if (item == m_startItem)
        m_startItem = nullptr;
    if (item == m_prevArrow)
        m_prevArrow = nullptr;
    // Deleting is deferred to the event loop: the deletion may have been
    // asked from the context menu of this very item, whose handler is still
    // on the stack.
    m_removed.append(item);
    if (m_removed.size() == 1)
        QTimer::singleShot(0, this, &DiagramScene::purgeRemoved);
}

void DiagramScene::purgeRemoved()
{
    const QList<QGraphicsItem *> removed = m_removed;
    m_removed.clear();
    qDeleteAll(removed);
}

void DiagramScene::forgetInitialStateItem()
{
    if (!m_initialStateItem)
        return;
    if (m_initialStateItem->scene() == this)
        discard(m_initialStateItem);
    m_initialStateItem = nullptr;
}

void DiagramScene::removeSelectedItems()
{
    for (QGraphicsItem *selected : selectedItems()) {
        auto *arrow = qgraphicsitem_cast<Arrow *>(selected);
        if (!arrow)
            continue;
        discard(arrow);
        arrow->startItem()->removeArrow(arrow);
        arrow->endItem()->removeArrow(arrow);
        DiagramItem *start = arrow->startItem();
        if (start->diagramType() == DiagramItem::EstadoInicial) {
            if (start->scene() == this)
                discard(start);
            if (start == m_initialStateItem)
                m_initialStateItem = nullptr;
            arrow->endItem()->setInicial(false);
        }
    }

    for (QGraphicsItem *selected : selectedItems()) {
        auto *item = qgraphicsitem_cast<DiagramItem *>(selected);
        if (!item || item->scene() != this)
            continue;
        if (item->diagramType() == DiagramItem::EstadoSimple)
            removeState(item);
        else if (item->diagramType() == DiagramItem::EstadoInicial)
            removeMarker(item);
    }
}

void DiagramScene::clearDiagram()
{
    m_itemList.clear();
    m_estadosEnLista.clear();
    m_initialStateItem = nullptr;
    m_startItem = nullptr;
    m_prevArrow = nullptr;
    m_line = nullptr;
    m_gesture = NoGesture;
    clear();
}

void DiagramScene::removeState(DiagramItem *state)
{
    state->removeArrows();
    discard(state);
    removeFromList(state);
    if (state->isEstadoInicial())
        forgetInitialStateItem();
}

void DiagramScene::removeMarker(DiagramItem *marker)
{
    const QList<Arrow *> arrows = marker->arrows();
    if (!arrows.isEmpty())
        arrows.first()->endItem()->setInicial(false);
    marker->removeArrows();
    discard(marker);
    if (marker == m_initialStateItem)
        m_initialStateItem = nullptr;
}

void DiagramScene::insertInitialStateItem(int index)
{
    if (index < 0 || index >= m_itemList.size())
        return;
    if (m_initialStateItem) {
        m_initialStateItem->removeArrows();
        if (m_initialStateItem == m_startItem)
            m_startItem = nullptr;
        delete m_initialStateItem;
        m_initialStateItem = nullptr;
    }
    DiagramItem *state = m_itemList.at(index);
    m_initialStateItem = new DiagramItem(DiagramItem::EstadoInicial, m_itemMenu);
    addItem(m_initialStateItem);
    const QRectF box = state->rect();
    m_initialStateItem->setPos(state->pos() - QPointF(box.width() / 2 + 40, box.height() / 2 + 40));
    m_startItem = m_initialStateItem;
    insertArrow(state);
}

void DiagramScene::setMode(DiagramScene::Mode mode)
{
    m_sceneMode = mode;
    if ((mode == MoveItem || mode == InsertItem) && m_line) {
        delete m_line;
        m_line = nullptr;
    }
    if (mode == Simulation)
        clearSelection();
}

void DiagramScene::setItemType(DiagramItem::DiagramType type)
{
    m_itemType = type;
}

DiagramItem *DiagramScene::stateAt(const QPointF &pos) const
{
    auto *item = qgraphicsitem_cast<DiagramItem *>(topItemAt(pos));
    if (item && item->diagramType() == DiagramItem::EstadoSimple)
        return item;
    return nullptr;
}

QTransform DiagramScene::viewTransform() const
{
    const QList<QGraphicsView *> all = views();
    return all.isEmpty() ? QTransform() : all.first()->transform();
}

QGraphicsItem *DiagramScene::topItemAt(const QPointF &pos) const
{
    return itemAt(pos, viewTransform());
}

void DiagramScene::setViewportCursor(Qt::CursorShape shape)
{
    const QList<QGraphicsView *> all = views();
    if (!all.isEmpty())
        all.first()->viewport()->setCursor(shape);
}

void DiagramScene::mousePressEvent(QGraphicsSceneMouseEvent *mouseEvent)
{
    if (mouseEvent->button() == Qt::RightButton) {
        if (m_sceneMode != Simulation)
            emit rightClicked();
        update();
        return;
    }
    if (mouseEvent->button() != Qt::LeftButton) {
        QGraphicsScene::mousePressEvent(mouseEvent);
        return;
    }
    if (m_sceneMode == Simulation)
        return;
    const QPointF pos = mouseEvent->scenePos();
    if (m_sceneMode == InsertItem) {
        insertItemAt(pos);
    } else if (m_sceneMode == InsertLineStart) {
        if (DiagramItem *state = stateAt(pos)) {
            m_sceneMode = InsertLineEnd;
            insertLine(state, pos);
        }
    } else if (m_sceneMode == InsertLineEnd) {
        if (DiagramItem *state = stateAt(pos))
            insertArrow(state);
    }
    QGraphicsScene::mousePressEvent(mouseEvent);
    if (m_sceneMode == MoveItem)
        m_gesture = gestureOfPress();
    update();
}

// Asked once the press has reached the items, which then know whether it
// took a grip, a control point or a label.
DiagramScene::Gesture DiagramScene::gestureOfPress() const
{
    QGraphicsItem *grabber = mouseGrabberItem();
    // A state's grip, an arrow's control point and label are children of
    // their owner and may hold the mouse themselves.
    if (grabber && grabber->parentItem())
        grabber = grabber->parentItem();
    if (auto *arrow = qgraphicsitem_cast<Arrow *>(grabber)) {
        if (arrow->isMidSelected())
            return BendArrow;
        return arrow->isLabelPressed() ? MoveLabel : NoGesture;
    }
    auto *item = qgraphicsitem_cast<DiagramItem *>(grabber);
    if (!item)
        return NoGesture;
    if (item->diagramType() == DiagramItem::EstadoInicial)
        return MoveMarker;
    if (item->isResizing())
        return ResizeState;
    int selected = 0;
    for (QGraphicsItem *other : selectedItems())
        selected += qgraphicsitem_cast<DiagramItem *>(other) ? 1 : 0;
    return selected > 1 ? MoveStates : MoveState;
}

void DiagramScene::mouseMoveEvent(QGraphicsSceneMouseEvent *mouseEvent)
{
    const QPointF pos = mouseEvent->scenePos();
    switch (m_sceneMode) {
    case InsertLineEnd:
        if (m_line && m_startItem)
            m_line->setLine(QLineF(m_startItem->scenePos(), pos));
        Q_FALLTHROUGH();
    case InsertLineStart:
        setViewportCursor(stateAt(pos) ? Qt::PointingHandCursor : Qt::ForbiddenCursor);
        break;
    case MoveItem:
        QGraphicsScene::mouseMoveEvent(mouseEvent);
        break;
    case InsertItem:
    case Simulation:
        break;
    }
    if (m_sceneMode != InsertLineStart && m_sceneMode != InsertLineEnd &&
        mouseEvent->buttons() == Qt::NoButton)
        cursorDeItemBajo(mouseEvent->scenePos(), mouseEvent->widget());
    update();
}

// What an item offers to grab, shown as the cursor: a hand, or the diagonal
// arrows on a state's resize grip.
bool DiagramScene::cursorDeItem(const QGraphicsItem *item, Qt::CursorShape *forma)
{
    switch (item->type()) {
    case DiagramItem::Type:
    case Arrow::Type:
        *forma = Qt::PointingHandCursor;
        return true;
    default:
        break;
    }
    const QGraphicsItem *padre = item->parentItem();
    if (!padre)
        return false;
    // An arrow's only child is its control point; a state's, its grip.
    if (padre->type() == Arrow::Type)
        *forma = Qt::PointingHandCursor;
    else if (padre->type() == DiagramItem::Type)
        *forma = Qt::SizeFDiagCursor;
    else
        return false;
    return true;
}

// The pointer over an item takes the item's cursor, and the one the view had
// again when it leaves, as an item's own cursor would do; a large machine
// then opens without a cursor made for every item.
void DiagramScene::cursorDeItemBajo(const QPointF &pos, QWidget *viewport)
{
    if (!viewport)
        return;
    const QList<QGraphicsItem *> debajo =
        items(pos, Qt::IntersectsItemShape, Qt::DescendingOrder, viewTransform());
    Qt::CursorShape forma = Qt::ArrowCursor;
    for (const QGraphicsItem *item : debajo) {
        if (!item->isEnabled() || !cursorDeItem(item, &forma))
            continue;
        if (!m_cursorGuardado) {
            m_cursorPrevio = viewport->cursor();
            m_cursorGuardado = true;
        }
        viewport->setCursor(forma);
        return;
    }
    if (!m_cursorGuardado)
        return;
    m_cursorGuardado = false;
    viewport->setCursor(m_cursorPrevio);
}

void DiagramScene::mouseReleaseEvent(QGraphicsSceneMouseEvent *mouseEvent)
{
    QGraphicsScene::mouseReleaseEvent(mouseEvent);
    const Gesture gesture = m_gesture;
    m_gesture = NoGesture;
    if (gesture != NoGesture && mouseEvent->button() == Qt::LeftButton)
        emit gestureFinished(gesture);
}

void DiagramScene::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *mouseEvent)
{
    if (m_sceneMode != MoveItem || mouseEvent->button() != Qt::LeftButton)
        return;
    QGraphicsItem *item = topItemAt(mouseEvent->scenePos());
    if (!item)
        return;
    if (auto *state = qgraphicsitem_cast<DiagramItem *>(item)) {
        const int index = m_itemList.indexOf(state);
        if (index >= 0)
            emit itemDoubleClicked(index);
        return;
    }
    if (auto *arrow = qgraphicsitem_cast<Arrow *>(item))
        emit arrowDoubleClicked(arrow);
}

void DiagramScene::insertItemAt(const QPointF &pos)
{
    auto *item = new DiagramItem(m_itemType, m_itemMenu);
    item->setColor(QColor(QStringLiteral("lightcyan")));
    addItem(item);
    addToList(item);
    item->setPos(pos);
    item->setSelected(true);
    emit itemInserted(item);
}

void DiagramScene::insertLine(DiagramItem *item, const QPointF &pos)
{
    m_startItem = item;
    delete m_line;
    m_line = new QGraphicsLineItem(QLineF(item->scenePos(), pos));
    m_line->setPen(QPen(m_lineColor, 1, Qt::SolidLine));
    m_line->setZValue(-1);
    addItem(m_line);
}

void DiagramScene::insertArrow(DiagramItem *endItem)
{
    if (!m_startItem)
        return;
    auto *arrow = new Arrow(m_startItem, endItem, m_itemMenu);
    arrow->setColor(m_lineColor);
    m_startItem->addArrow(arrow);
    if (endItem != m_startItem)
        endItem->addArrow(arrow);
    delete m_line;
    m_line = nullptr;
    setViewportCursor(Qt::ArrowCursor);
    addItem(arrow);
    arrow->updatePosition();
    emit arrowInserted(arrow);
}
