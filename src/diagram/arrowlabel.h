#ifndef ARROWLABEL_H
#define ARROWLABEL_H

#include <QColor>
#include <QGraphicsItem>
#include <QStaticText>
#include <QVector>

// The label of a transition: plain text in lines, in the label font, with a
// 4-unit margin around it. Its size is measured once, when the text is set;
// the glyphs of each line are laid out on the first paint and kept, so that
// a project of thousands of transitions opens without laying out labels
// nobody has looked at, and lighting a label only changes its colour.
class ArrowLabel : public QGraphicsItem
{
public:
    enum { Type = UserType + 5 };

    explicit ArrowLabel(QGraphicsItem *parent = nullptr);

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget = nullptr) override;
    int type() const override { return Type; }

    void setPlainText(const QString &text);
    QString toPlainText() const { return m_text; }
    void setDefaultTextColor(const QColor &color);
    QColor defaultTextColor() const { return m_color; }

    static const QFont &font();

private:
    QString m_text;
    QColor m_color = Qt::black;
    QRectF m_rect;
    mutable QVector<QStaticText> m_lines;
};

#endif // ARROWLABEL_H
