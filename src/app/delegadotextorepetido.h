#ifndef DELEGADOTEXTOREPETIDO_H
#define DELEGADOTEXTOREPETIDO_H

#include <QCache>
#include <QColor>
#include <QPixmap>
#include <QStyledItemDelegate>

// Paints cells from a picture of each, kept once drawn: laying out a cell's
// text takes tens of microseconds, copying its picture a few. It suits a
// view that repaints cells it has painted before, such as the debug panel,
// which scrolls on every refresh under a busy board and shows the same few
// machine, state, event and action names over and over. The picture is the
// standard delegate's own drawing on the view's background, so a cell looks
// the same, selected or not. Cells may differ in their text, foreground
// colour, size and state only.
class DelegadoTextoRepetido : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

    // All that makes two cells look alike.
    struct Clave
    {
        QString texto;
        QSize tamano;
        qreal escala;
        int estado;
        int rasgos;
        qint64 paleta;
        QRgb fondo;
        QRgb color;
        bool operator==(const Clave &otra) const;
    };

private:
    // Bytes of pictures kept; the least recently drawn go first.
    static constexpr int MaxBytes = 4 << 20;
    mutable QCache<Clave, QPixmap> m_celdas{MaxBytes};
};

uint qHash(const DelegadoTextoRepetido::Clave &clave, uint semilla = 0);

#endif // DELEGADOTEXTOREPETIDO_H
