#ifndef ARROWLABEL_H
#define ARROWLABEL_H

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QStaticText>
#include <QString>
#include <QVector>

class QPainter;

// The label of a transition: plain text in lines, in the label font, with a
// 4-unit margin around it, drawn by its arrow. Its size is measured once,
// when the text is set; the glyphs of each line are laid out on the first
// paint and kept, so that a project of thousands of transitions opens
// without laying out labels nobody has looked at, and lighting a label only
// changes its colour. It is no item of its own: a large project opens with
// one item per transition rather than two.
class ArrowLabel
{
public:
    // Its own rectangle, its top-left corner at the origin.
    QRectF boundingRect() const { return m_rect; }
    // Where it is in its arrow's coordinates, which are the scene's.
    QPointF pos() const { return m_pos; }
    QRectF sceneBoundingRect() const { return m_rect.translated(m_pos); }
    void setPos(const QPointF &pos) { m_pos = pos; }

    // False when the text was that already.
    bool setPlainText(const QString &text);
    QString toPlainText() const { return m_text; }
    void setDefaultTextColor(const QColor &color) { m_color = color; }
    QColor defaultTextColor() const { return m_color; }

    // Draws it at its place, with a dashed frame when selected.
    void paint(QPainter *painter, bool selected) const;

    static const QFont &font();

private:
    QString m_text;
    QColor m_color = Qt::black;
    QRectF m_rect;
    QPointF m_pos;
    mutable QVector<QStaticText> m_lines;
};

#endif // ARROWLABEL_H
