#include "delegadotextorepetido.h"

#include <QAbstractScrollArea>
#include <QPainter>

namespace {

// What lies under a cell: the view's viewport fills its background itself.
QColor fondo(const QStyleOptionViewItem &option)
{
    const auto *vista = qobject_cast<const QAbstractScrollArea *>(option.widget);
    if (!vista)
        return option.palette.color(QPalette::Base);
    const QWidget *viewport = vista->viewport();
    return viewport->palette().color(viewport->backgroundRole());
}

} // namespace

bool DelegadoTextoRepetido::Clave::operator==(const Clave &otra) const
{
    return texto == otra.texto && tamano == otra.tamano && escala == otra.escala && estado == otra.estado &&
           rasgos == otra.rasgos && paleta == otra.paleta && fondo == otra.fondo && color == otra.color;
}

uint qHash(const DelegadoTextoRepetido::Clave &clave, uint semilla)
{
    return qHash(clave.texto, semilla) ^ uint(clave.tamano.width() * 31 + clave.tamano.height()) ^
           uint(clave.estado) ^ clave.color;
}

void DelegadoTextoRepetido::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    if (option.rect.isEmpty())
        return;
    const qreal escala = painter->device()->devicePixelRatioF();
    const QColor debajo = fondo(option);
    const Clave clave{index.data(Qt::DisplayRole).toString(),
                      option.rect.size(),
                      escala,
                      int(option.state),
                      int(option.features),
                      option.palette.cacheKey(),
                      debajo.rgba(),
                      index.data(Qt::ForegroundRole).value<QBrush>().color().rgba()};
    if (const QPixmap *celda = m_celdas.object(clave)) {
        painter->drawPixmap(option.rect.topLeft(), *celda);
        return;
    }
    auto *celda = new QPixmap(option.rect.size() * escala);
    celda->setDevicePixelRatio(escala);
    celda->fill(debajo);
    QPainter enCelda(celda);
    QStyleOptionViewItem enOrigen = option;
    enOrigen.rect.moveTo(0, 0);
    QStyledItemDelegate::paint(&enCelda, enOrigen, index);
    enCelda.end();
    painter->drawPixmap(option.rect.topLeft(), *celda);
    m_celdas.insert(clave, celda, qMax(1, celda->width() * celda->height() * 4));
}
