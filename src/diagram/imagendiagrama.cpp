#include "imagendiagrama.h"

#include "codificadorpng.h"
#include "savefile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QPainter>
#include <QSvgGenerator>
#include <QtMath>
#include <limits>

namespace {

// Clears the scene's selection while a picture is drawn and restores it
// afterwards, so that no dashed outline, grip or control point shows.
class SinSeleccion
{
public:
    explicit SinSeleccion(QGraphicsScene *scene) : m_seleccion(scene->selectedItems())
    {
        for (QGraphicsItem *item : qAsConst(m_seleccion))
            item->setSelected(false);
    }
    ~SinSeleccion()
    {
        for (QGraphicsItem *item : qAsConst(m_seleccion))
            item->setSelected(true);
    }
    SinSeleccion(const SinSeleccion &) = delete;
    SinSeleccion &operator=(const SinSeleccion &) = delete;

private:
    const QList<QGraphicsItem *> m_seleccion;
};

// On white, whose area the caller has filled.
void dibujar(QGraphicsScene *scene, QPainter &painter, const QRectF &destino, const QRectF &origen)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    scene->render(&painter, destino, origen, Qt::IgnoreAspectRatio);
}

} // namespace

ImagenDiagrama::ImagenDiagrama(QGraphicsScene *scene, qint64 pixelesMaximos)
    : m_scene(scene), m_pixelesMaximos(pixelesMaximos)
{}

QRectF ImagenDiagrama::areaDeItems() const
{
    QRectF area;
    // In no order (Qt's "-1"): the union needs none, and sorting every item of
    // a large machine by its stacking costs more than the union itself.
    const QList<QGraphicsItem *> items = m_scene->items(Qt::SortOrder(-1));
    for (const QGraphicsItem *item : items) {
        if (!item->isVisible())
            continue;
        area |= item->sceneBoundingRect();
    }
    return area;
}

QRectF ImagenDiagrama::area() const
{
    const SinSeleccion sinSeleccion(m_scene);
    return areaDeItems().adjusted(-MARGEN, -MARGEN, MARGEN, MARGEN);
}

qreal ImagenDiagrama::escala() const
{
    return escalaDe(area());
}

qreal ImagenDiagrama::escalaDe(const QRectF &origen) const
{
    const qreal pixeles = origen.width() * origen.height() * ESCALA_PNG * ESCALA_PNG;
    if (pixeles <= m_pixelesMaximos)
        return ESCALA_PNG;
    return ESCALA_PNG * qSqrt(m_pixelesMaximos / pixeles);
}

QSize ImagenDiagrama::tamanoDe(const QRectF &origen) const
{
    const qreal factor = escalaDe(origen);
    // Rounded down, so that a diagram drawn at a reduced scale stays within
    // the limit; at most a fraction of the margin's last pixel is lost.
    return QSize(qFloor(origen.width() * factor), qFloor(origen.height() * factor));
}

// At one scale across and down: stretching the diagram onto the picture's
// whole pixels would scale the two ways slightly apart, and Qt then strokes
// every thin arrow and head as an outline, twice as slow to draw. The
// fraction of a pixel the sides were rounded down by is lost from the margin.
void ImagenDiagrama::pintar(QImage &imagen, const QRectF &origen) const
{
    const qreal factor = escalaDe(origen);
    QPainter painter(&imagen);
    painter.fillRect(imagen.rect(), Qt::white);
    painter.scale(factor, factor);
    painter.translate(-origen.topLeft());
    dibujar(m_scene, painter, origen, origen);
}

QImage ImagenDiagrama::imagen() const
{
    const SinSeleccion sinSeleccion(m_scene);
    const QRectF origen = areaDeItems().adjusted(-MARGEN, -MARGEN, MARGEN, MARGEN);
    // Opaque: the PNG then carries no alpha channel, a quarter less to compress.
    QImage imagen(tamanoDe(origen), QImage::Format_RGB32);
    if (!imagen.isNull())
        pintar(imagen, origen);
    return imagen;
}

QImage ImagenDiagrama::imagen(QByteArray &memoria) const
{
    const SinSeleccion sinSeleccion(m_scene);
    const QRectF origen = areaDeItems().adjusted(-MARGEN, -MARGEN, MARGEN, MARGEN);
    const QSize tamano = tamanoDe(origen);
    const qint64 bytes = qint64(tamano.width()) * tamano.height() * 4;
    if (tamano.isEmpty() || bytes > std::numeric_limits<int>::max())
        return QImage();
    if (memoria.size() < bytes)
        memoria = QByteArray(int(bytes), Qt::Uninitialized);
    QImage imagen(reinterpret_cast<uchar *>(memoria.data()), tamano.width(), tamano.height(),
                  tamano.width() * 4, QImage::Format_RGB32);
    pintar(imagen, origen);
    return imagen;
}

QByteArray ImagenDiagrama::png() const
{
    return CodificadorPng::codificar(imagen());
}

QByteArray ImagenDiagrama::png(QByteArray &memoria) const
{
    return CodificadorPng::codificar(imagen(memoria));
}

QByteArray ImagenDiagrama::svg() const
{
    const SinSeleccion sinSeleccion(m_scene);
    // Framed as the PNG is, shadows included, so that both pictures match.
    const QRectF origen = areaDeItems().adjusted(-MARGEN, -MARGEN, MARGEN, MARGEN);
    const QRectF destino(QPointF(0, 0), origen.size());

    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator generador;
    generador.setOutputDevice(&buffer);
    generador.setSize(origen.size().toSize());
    generador.setViewBox(destino);
    generador.setTitle(QStringLiteral("Vireo"));
    QPainter painter;
    if (!painter.begin(&generador))
        return QByteArray();
    painter.fillRect(destino, Qt::white);
    dibujar(m_scene, painter, destino, origen);
    painter.end();
    return bytes;
}

bool ImagenDiagrama::guardar(const QString &ruta, QString *error) const
{
    const QString extension = QFileInfo(ruta).suffix().toLower();
    QByteArray contenido;
    if (extension == QLatin1String("png")) {
        contenido = png();
    } else if (extension == QLatin1String("svg")) {
        contenido = svg();
    } else {
        if (error)
            *error = QStringLiteral("El archivo debe terminar en .png o .svg");
        return false;
    }
    if (contenido.isEmpty()) {
        if (error)
            *error = QStringLiteral("No hay memoria suficiente para dibujar el diagrama");
        return false;
    }
    return guardarArchivoSeguro(ruta, contenido, error);
}
