#include "arrowlabel.h"

#include "cacheacotada.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>

namespace {

const qreal Margin = 4;

qreal lineHeight()
{
    static const qreal height = QFontMetricsF(ArrowLabel::font()).height();
    return height;
}

// Labels repeat the same few lines ("evento /", "accion()"): each is worked
// out once.
const int MaxLines = 20000;

qreal lineWidth(const QString &line)
{
    static QHash<QString, qreal> widths;
    return enCacheAcotada(widths, line, MaxLines, [](const QString &l) {
        return QFontMetricsF(ArrowLabel::font()).horizontalAdvance(l);
    });
}

// Whole labels repeat as well: each text is split into its lines once.
QSizeF textSize(const QString &text)
{
    static QHash<QString, QSizeF> sizes;
    return enCacheAcotada(sizes, text, MaxLines, [](const QString &t) {
        qreal width = 0;
        int lines = 0;
        for (const QString &line : t.split(QLatin1Char('\n'))) {
            width = qMax(width, lineWidth(line));
            ++lines;
        }
        return QSizeF(width, lines * lineHeight());
    });
}

// Each line is laid out once and shared by every label showing it (the copies
// share the layout, which the painter redoes only for a new scale).
QStaticText laidOut(const QString &line)
{
    static QHash<QString, QStaticText> lines;
    return enCacheAcotada(lines, line, MaxLines, [](const QString &l) {
        QStaticText text(l);
        text.setTextFormat(Qt::PlainText);
        return text;
    });
}

} // namespace

const QFont &ArrowLabel::font()
{
    static const QFont font = [] {
        QFont f(QStringLiteral("Consolas"), 10, QFont::Normal);
        f.setStyleHint(QFont::TypeWriter);
        return f;
    }();
    return font;
}

bool ArrowLabel::setPlainText(const QString &text)
{
    if (text == m_text && !m_rect.isNull())
        return false;
    m_text = text;
    m_lines.clear();
    const QSizeF size = textSize(text);
    m_rect = QRectF(0, 0, size.width() + 2 * Margin, size.height() + 2 * Margin);
    return true;
}

void ArrowLabel::paint(QPainter *painter, bool selected) const
{
    if (m_lines.isEmpty()) {
        for (const QString &line : m_text.split(QLatin1Char('\n')))
            m_lines.append(laidOut(line));
    }
    painter->save();
    painter->translate(m_pos);
    painter->setFont(font());
    painter->setPen(m_color);
    for (int i = 0; i < m_lines.size(); ++i)
        painter->drawStaticText(QPointF(Margin, Margin + i * lineHeight()), m_lines.at(i));
    if (selected) {
        painter->setPen(QPen(Qt::black, 0, Qt::DashLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(m_rect.adjusted(0.5, 0.5, -0.5, -0.5));
    }
    painter->restore();
}
