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

void DelegadoTextoRepetido::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    const qreal escala = painter->device()->devicePixelRatioF();
    const QColor debajo = fondo(option);
    const QString clave =
        QString::number(option.rect.width()) + QLatin1Char('x') + QString::number(option.rect.height()) +
        QLatin1Char(' ') + QString::number(escala) + QLatin1Char(' ') + QString::number(int(option.state)) +
        QLatin1Char(' ') + QString::number(int(option.features)) + QLatin1Char(' ') +
        QString::number(option.palette.cacheKey()) + QLatin1Char(' ') + QString::number(debajo.rgba()) +
        QLatin1Char(' ') + QString::number(index.data(Qt::ForegroundRole).value<QBrush>().color().rgba()) +
        QLatin1Char(' ') + index.data(Qt::DisplayRole).toString();
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
