#include "vistadiagrama.h"

#include <QContextMenuEvent>
#include <QGraphicsItem>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

// How far the view must move along one axis so that [inicio, fin] (viewport
// coordinates) lies within [margen, extension - margen], or is centred when
// it cannot.
int desplazamiento(int inicio, int fin, int extension, int margen)
{
    if (fin - inicio + 2 * margen > extension)
        return (inicio + fin - extension) / 2;
    if (inicio < margen)
        return inicio - margen;
    if (fin > extension - margen)
        return fin - (extension - margen);
    return 0;
}

void mover(QScrollBar *barra, int delta)
{
    if (delta != 0)
        barra->setValue(barra->value() + delta);
}

} // namespace

VistaDiagrama::VistaDiagrama(QGraphicsScene *scene, QWidget *parent) : QGraphicsView(scene, parent) {}

void VistaDiagrama::seguir(const QGraphicsItem *item, int margen)
{
    const QRect r = mapFromScene(item->sceneBoundingRect()).boundingRect();
    const QRect vista = viewport()->rect();
    mover(horizontalScrollBar(), desplazamiento(r.left(), r.right(), vista.width(), margen));
    mover(verticalScrollBar(), desplazamiento(r.top(), r.bottom(), vista.height(), margen));
}

void VistaDiagrama::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QGraphicsView::wheelEvent(event);
        return;
    }
    // Touchpads send fractions of a notch; they add up to whole steps.
    m_restoRueda += event->angleDelta().y();
    const int pasos = m_restoRueda / QWheelEvent::DefaultDeltasPerStep;
    m_restoRueda -= pasos * QWheelEvent::DefaultDeltasPerStep;
    if (pasos != 0)
        emit zoomConRueda(pasos, event->position().toPoint());
    event->accept();
}

void VistaDiagrama::contextMenuEvent(QContextMenuEvent *event)
{
    QGraphicsView::contextMenuEvent(event);
    if (event->isAccepted() || itemAt(event->pos()))
        return;
    event->accept();
    emit menuEnVacio(event->globalPos(), mapToScene(event->pos()));
}

void VistaDiagrama::zoomAlrededor(qreal factor, const QPoint &ancla)
{
    const QPointF punto = mapToScene(ancla);
    setTransform(QTransform::fromScale(factor, factor));
    const QPoint desvio = mapFromScene(punto) - ancla;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + desvio.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() + desvio.y());
}

void VistaDiagrama::zoomCentrado(qreal factor, const QPointF &centro)
{
    setTransform(QTransform::fromScale(factor, factor));
    // The scene grows to hold new items only when asked for its rectangle;
    // asking updates the scroll ranges (even when the zoom did not change),
    // so that centro can be reached.
    scene()->sceneRect();
    centerOn(centro);
}
