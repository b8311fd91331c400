#ifndef DIAGRAMSCENE_H
#define DIAGRAMSCENE_H

#include "diagramitem.h"

#include <QCursor>
#include <QGraphicsScene>
#include <QSet>

class Arrow;
class QGraphicsLineItem;
class QMenu;

// The scene of one state machine: its name, its states in machine order, its
// initial-state marker and the mode that decides what a click does.
class DiagramScene : public QGraphicsScene
{
    Q_OBJECT

public:
    enum Mode { InsertItem, InsertLineStart, InsertLineEnd, MoveItem, Simulation };
    // What a press and release with the mouse did in the MoveItem mode.
    enum Gesture { NoGesture, MoveState, MoveStates, ResizeState, MoveMarker, BendArrow, MoveLabel };

    explicit DiagramScene(const QString &name, QMenu *itemMenu, QObject *parent = nullptr);
    ~DiagramScene() override;

    void initSceneRect(qreal x, qreal y, qreal width, qreal height);
    QString name() const { return m_name; }
    Mode mode() const { return m_sceneMode; }

    QList<DiagramItem *> itemList() const { return m_itemList; }
    // Whether item is one of itemList(), without a walk over the list.
    bool hasState(const DiagramItem *item) const { return m_estadosEnLista.contains(item); }
    void addToList(DiagramItem *item);
    void removeFromList(DiagramItem *item);
    void removeSelectedItems();
    // Inserts a state of the current item type centred on pos, as a click in
    // the InsertItem mode does (itemInserted is emitted).
    void insertItemAt(const QPointF &pos);
    // Removes and destroys every item, the state list and the marker with
    // them, leaving an empty diagram with the same name.
    void clearDiagram();

    void insertInitialStateItem(int index);
    void setInitialStateItem(DiagramItem *item) { m_initialStateItem = item; }
    DiagramItem *initialStateItem() const { return m_initialStateItem; }

    void setPreviousArrow(Arrow *arrow) { m_prevArrow = arrow; }
    Arrow *previousArrow() const { return m_prevArrow; }

public slots:
    void setMode(DiagramScene::Mode mode);
    void setItemType(DiagramItem::DiagramType type);

signals:
    void itemInserted(DiagramItem *item);
    void arrowInserted(Arrow *arrow);
    void itemDoubleClicked(int index);
    void arrowDoubleClicked(Arrow *arrow);
    void rightClicked();
    // A drag ended (on release, once per drag, whether or not anything
    // actually moved).
    void gestureFinished(DiagramScene::Gesture gesture);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *mouseEvent) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *mouseEvent) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *mouseEvent) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *mouseEvent) override;

private:
    void insertLine(DiagramItem *item, const QPointF &pos);
    void insertArrow(DiagramItem *endItem);
    void removeState(DiagramItem *state);
    void removeMarker(DiagramItem *marker);
    void forgetInitialStateItem();
    // Takes item out of the scene and deletes it once control is back in
    // the event loop (or with the scene).
    void discard(QGraphicsItem *item);
    void purgeRemoved();
    // The transform of the view showing the scene, for finding items as they
    // are seen.
    QTransform viewTransform() const;
    QGraphicsItem *topItemAt(const QPointF &pos) const;
    // The topmost item at pos when it is a state (not the marker).
    DiagramItem *stateAt(const QPointF &pos) const;
    void setViewportCursor(Qt::CursorShape shape);
    static bool cursorDeItem(const QGraphicsItem *item, Qt::CursorShape *forma);
    void cursorDeItemBajo(const QPointF &pos, QWidget *viewport);
    Gesture gestureOfPress() const;

    QString m_name;
    QList<DiagramItem *> m_itemList;
    QSet<const DiagramItem *> m_estadosEnLista;
    Mode m_sceneMode = MoveItem;
    DiagramItem::DiagramType m_itemType = DiagramItem::EstadoSimple;
    QMenu *m_itemMenu;
    QColor m_lineColor = Qt::black;
    QGraphicsLineItem *m_line = nullptr;
    DiagramItem *m_startItem = nullptr;
    Arrow *m_prevArrow = nullptr;
    DiagramItem *m_initialStateItem = nullptr;
    QList<QGraphicsItem *> m_removed;
    Gesture m_gesture = NoGesture;
    // The view's cursor from before the pointer went over an item.
    QCursor m_cursorPrevio;
    bool m_cursorGuardado = false;
};

#endif // DIAGRAMSCENE_H
