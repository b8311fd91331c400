#ifndef DIAGRAMITEM_H
#define DIAGRAMITEM_H

#include <QColor>
#include <QGraphicsRectItem>
#include <QList>

class Arrow;
class QMenu;

// Size of a new state and of the initial-state marker, in scene units.
constexpr qreal ESTADO_SIMPLE_WIDTH = 110;
constexpr qreal ESTADO_SIMPLE_HEIGHT = 65;
constexpr qreal ESTADO_INICIAL_DIAM = 20;

// One state of a machine (a rounded box centred on its position) or the
// machine's initial-state marker (a small black disc). Keeps, without owning
// them, the arrows that start or end here.
class DiagramItem : public QGraphicsRectItem
{
public:
    enum { Type = UserType + 15 };
    enum DiagramType { EstadoSimple, EstadoCompuesto, EstadoInicial };
    enum ResizeHandleState { Released, Pressed, Hovered };

    DiagramItem(DiagramType diagramType, QMenu *contextMenu, QGraphicsItem *parent = nullptr);

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget = nullptr) override;
    int type() const override { return Type; }

    DiagramType diagramType() const { return m_diagramType; }
    QPolygonF polygon() const { return m_polygon; }

    void addArrow(Arrow *arrow);
    void removeArrow(Arrow *arrow);
    // Destroys every arrow touching this item, unlinking each from both ends.
    void removeArrows();
    QList<Arrow *> arrows() const { return m_arrows; }

    void setName(const QString &name);
    QString name() const { return m_name; }
    void setSize(const qreal &width, const qreal &height);
    void setColor(const QColor &color);
    QColor color() const { return m_color; }
    void setInicial(bool inicial) { m_inicial = inicial; }
    bool isEstadoInicial() const { return m_inicial; }
    void setActivo(bool activo);
    bool isActivo() const { return m_activo; }
    // True while the grip is being dragged.
    bool isResizing() const { return m_resizeHandleState == Pressed; }

protected:
    void contextMenuEvent(QGraphicsSceneContextMenuEvent *event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event) override;
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private:
    // The soft shadow under the body, drawn from a shared cache of blurred images.
    void paintShadow(QPainter *painter);
    qreal shadowOffset() const;
    void paintState(QPainter *painter);
    void paintMarker(QPainter *painter);
    // Sets the box (centred on the origin), moves the grip to its corner and
    // rebuilds the hit polygon.
    void applyRect(const QRectF &box);
    // The resize grip of a state, made the first time the state is selected:
    // a large project opens without one per state.
    QGraphicsRectItem *grip();
    void resizeTo(const QPointF &pointer);
    bool isOverGrip(const QPointF &scenePos) const;

    DiagramType m_diagramType;
    QMenu *m_contextMenu;
    QList<Arrow *> m_arrows;
    QString m_name;
    QPolygonF m_polygon;
    QColor m_color;
    QGraphicsRectItem *m_resizeHandle = nullptr;
    QPointF m_handlePressOffset;
    int m_resizeHandleState = Released;
    bool m_activo = false;
    bool m_inicial = false;
};

#endif // DIAGRAMITEM_H
