#ifndef VISTADIAGRAMA_H
#define VISTADIAGRAMA_H

#include <QGraphicsView>

// The view of one machine's scene. Ctrl + wheel asks for a zoom step around
// the pointer instead of scrolling; the main window decides the new zoom, so
// that the window's factor and the zoom selector stay in step.
class VistaDiagrama : public QGraphicsView
{
    Q_OBJECT

public:
    explicit VistaDiagrama(QGraphicsScene *scene, QWidget *parent = nullptr);

    // Sets an absolute zoom, keeping the scene point at ancla (viewport
    // coordinates) where it is, as far as the scroll bars allow.
    void zoomAlrededor(qreal factor, const QPoint &ancla);
    // Sets an absolute zoom and centres the view on centro (scene coordinates).
    void zoomCentrado(qreal factor, const QPointF &centro);
    // Scrolls the least that brings item into view with `margen` pixels
    // around it; on an axis where it does not fit with them, it is centred.
    // Unlike QGraphicsView::ensureVisible, an item that does not fit is not
    // scrolled to one side and then back on every call, so following a lit
    // state in a small window moves each scroll bar at most once.
    void seguir(const QGraphicsItem *item, int margen = 50);

signals:
    // pasos > 0 zooms in, < 0 out; one step per notch of the wheel.
    void zoomConRueda(int pasos, const QPoint &posicion);
    // A context menu was asked for where no item offers one.
    void menuEnVacio(const QPoint &global, const QPointF &enEscena);

protected:
    void wheelEvent(QWheelEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    int m_restoRueda = 0;
};

#endif // VISTADIAGRAMA_H
