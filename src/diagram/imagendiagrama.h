#ifndef IMAGENDIAGRAMA_H
#define IMAGENDIAGRAMA_H

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QString>

class QGraphicsScene;

// The picture of a machine's diagram, drawn from the scene's items (never
// from a view, so no scroll bars, frame or cut parts): the visible items'
// bounding rectangle, shadows included, plus a margin, on white. Selection
// outlines are left out. "Exportar imagen...", "Documentar" and
// `vireo-cli imagen` all draw with it.
class ImagenDiagrama
{
public:
    static constexpr qreal MARGEN = 20;
    // Pixels per scene unit of a PNG: sharp on high-density screens and in print.
    static constexpr qreal ESCALA_PNG = 2;
    // A PNG holds at most this many pixels (a machine of some 50 states at
    // twice its size); a larger diagram is drawn at a smaller scale, so that
    // its picture is made in a fraction of a second and fits in memory. The
    // SVG keeps every detail of any diagram.
    static constexpr qint64 PIXELES_MAXIMOS = 8LL * 1024 * 1024;

    // pixelesMaximos bounds the PNG instead of PIXELES_MAXIMOS.
    explicit ImagenDiagrama(QGraphicsScene *scene, qint64 pixelesMaximos = PIXELES_MAXIMOS);

    // In scene coordinates, margin included.
    QRectF area() const;
    // The visible items' bounding rectangle as they are now (a selected
    // state's grip included), without margin.
    QRectF areaDeItems() const;
    // The scale imagen() uses: ESCALA_PNG unless the picture would hold more
    // than its pixel bound.
    qreal escala() const;
    QImage imagen() const;
    // Drawn in memoria's bytes, which grow when they are too few and are kept
    // by the caller for the next picture: documenting many machines asks the
    // system for one picture's memory, not one per machine. The picture is
    // only valid while memoria is neither changed nor freed.
    QImage imagen(QByteArray &memoria) const;
    QByteArray png() const;
    QByteArray png(QByteArray &memoria) const;
    // Vector drawing (the shadows, which only a raster can show, are left out).
    QByteArray svg() const;
    // Writes a .png or .svg file, chosen by the extension (any case). False,
    // with the reason in Spanish in *error, when it cannot be written.
    bool guardar(const QString &ruta, QString *error = nullptr) const;

private:
    qreal escalaDe(const QRectF &origen) const;
    QSize tamanoDe(const QRectF &origen) const;
    void pintar(QImage &imagen, const QRectF &origen) const;

    QGraphicsScene *m_scene;
    qint64 m_pixelesMaximos;
};

#endif // IMAGENDIAGRAMA_H
