#include "imagendiagrama.h"

#include "codificadorpng.h"
#include "savefile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QGraphicsEffect>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QPainter>
#include <QSvgGenerator>
#include <QtMath>

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

// Switches the items' effects (the states' drop shadows) off while a vector
// picture is drawn: an effect is painted as an embedded raster image.
class SinEfectos
{
public:
    explicit SinEfectos(QGraphicsScene *scene)
    {
        const QList<QGraphicsItem *> items = scene->items();
        for (QGraphicsItem *item : items) {
            QGraphicsEffect *efecto = item->graphicsEffect();
            if (efecto && efecto->isEnabled()) {
                efecto->setEnabled(false);
                m_efectos << efecto;
            }
        }
    }
    ~SinEfectos()
    {
        for (QGraphicsEffect *efecto : qAsConst(m_efectos))
            efecto->setEnabled(true);
    }
    SinEfectos(const SinEfectos &) = delete;
    SinEfectos &operator=(const SinEfectos &) = delete;

private:
    QList<QGraphicsEffect *> m_efectos;
};

void dibujar(QGraphicsScene *scene, QPainter &painter, const QRectF &destino, const QRectF &origen)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.fillRect(destino, Qt::white);
    scene->render(&painter, destino, origen, Qt::IgnoreAspectRatio);
}

} // namespace

ImagenDiagrama::ImagenDiagrama(QGraphicsScene *scene, qint64 pixelesMaximos)
    : m_scene(scene), m_pixelesMaximos(pixelesMaximos)
{}

QRectF ImagenDiagrama::areaDeItems() const
{
    QRectF area;
    const QList<QGraphicsItem *> items = m_scene->items();
    for (const QGraphicsItem *item : items) {
        if (!item->isVisible())
            continue;
        QRectF rect = item->boundingRect();
        const QGraphicsEffect *efecto = item->graphicsEffect();
        if (efecto && efecto->isEnabled())
            rect = efecto->boundingRectFor(rect);
        area |= item->mapRectToScene(rect);
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
    const QRectF rect = area();
    const qreal pixeles = rect.width() * rect.height() * ESCALA_PNG * ESCALA_PNG;
    if (pixeles <= m_pixelesMaximos)
        return ESCALA_PNG;
    return ESCALA_PNG * qSqrt(m_pixelesMaximos / pixeles);
}

QImage ImagenDiagrama::imagen() const
{
    const SinSeleccion sinSeleccion(m_scene);
    const QRectF origen = areaDeItems().adjusted(-MARGEN, -MARGEN, MARGEN, MARGEN);
    const qreal factor = escala();
    // Rounded down, so that a diagram drawn at a reduced scale stays within
    // the limit; at most a fraction of the margin's last pixel is lost.
    const QSize tamano(qFloor(origen.width() * factor), qFloor(origen.height() * factor));
    // Opaque: the PNG then carries no alpha channel, a quarter less to compress.
    QImage imagen(tamano, QImage::Format_RGB32);
    if (imagen.isNull())
        return imagen;
    QPainter painter(&imagen);
    dibujar(m_scene, painter, QRectF(QPointF(0, 0), QSizeF(tamano)), origen);
    return imagen;
}

QByteArray ImagenDiagrama::png() const
{
    return CodificadorPng::codificar(imagen());
}

QByteArray ImagenDiagrama::svg() const
{
    const SinSeleccion sinSeleccion(m_scene);
    // Framed as the PNG is, shadows included, so that both pictures match.
    const QRectF origen = areaDeItems().adjusted(-MARGEN, -MARGEN, MARGEN, MARGEN);
    const SinEfectos sinEfectos(m_scene);
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
