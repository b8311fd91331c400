// Draws Vireo's own images (the ones the Silk set has no fitting icon for)
// into resources/img. Run through scripts/draw-icons.sh; the results are
// committed, so building Vireo never needs this program.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

namespace {

constexpr int kSuper = 4; // small icons are drawn 4x larger, then reduced

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage reduce(const QImage &big, int size)
{
    return big.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// A state box as the diagram paints it: outline of the base colour darkened,
// fill from the lightened base (lower right) to the base (upper left).
void paintStateBox(QPainter &p, const QRectF &box, const QColor &top, const QColor &bottom,
                   const QColor &outline, qreal pen)
{
    QLinearGradient gradient(box.bottomRight(), box.topLeft());
    gradient.setColorAt(0, bottom);
    gradient.setColorAt(1, top);
    p.setPen(QPen(outline, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(gradient);
    p.drawRoundedRect(box, box.height() * 0.3, box.height() * 0.3);
}

QImage stateIcon(const QColor &top, const QColor &bottom, const QColor &outline)
{
    QImage big = canvas(16 * kSuper, 16 * kSuper);
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kSuper, kSuper);
    paintStateBox(p, QRectF(1.5, 3.5, 13, 9), top, bottom, outline, 1.1);
    p.end();
    return reduce(big, 16);
}

// The green "add" badge of the Silk set at the lower right, drawn on the
// final 16 pixel grid so that the cross stays sharp.
void paintAddBadge(QImage &icon)
{
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF disc(9, 9, 7, 7);
    QLinearGradient gradient(disc.topLeft(), disc.bottomLeft());
    gradient.setColorAt(0, QColor(0xa8, 0xdc, 0x7a));
    gradient.setColorAt(1, QColor(0x45, 0x96, 0x24));
    p.setPen(QPen(QColor(0x2f, 0x6b, 0x16), 1.0));
    p.setBrush(gradient);
    p.drawEllipse(disc.adjusted(0.5, 0.5, -0.5, -0.5));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(12, 10, 1, 5), Qt::white);
    p.fillRect(QRect(10, 12, 5, 1), Qt::white);
}

QImage addTransitionIcon()
{
    QImage big = canvas(16 * kSuper, 16 * kSuper);
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kSuper, kSuper);
    QPainterPath curve(QPointF(1.5, 13.5));
    curve.cubicTo(QPointF(1.5, 5.0), QPointF(5.0, 2.5), QPointF(11.0, 3.5));
    const QColor ink(0x2b, 0x4f, 0x86);
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    QPolygonF head;
    head << QPointF(15.0, 4.2) << QPointF(10.0, 0.8) << QPointF(10.2, 7.0);
    p.setPen(QPen(ink, 0.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(ink);
    p.drawPolygon(head);
    p.end();
    QImage icon = reduce(big, 16);
    paintAddBadge(icon);
    return icon;
}

// Vireo's mark: two states and the transition between them on the
// olive-green of the bird the program is named after. Drawn in a 256 unit
// square; lines get thicker at small sizes so they stay visible.
QImage vireoMark(int size)
{
    QImage image = canvas(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 256.0;
    p.scale(unit, unit);
    const qreal line = qMax(10.0, 1.3 / unit);

    const QRectF back(6, 6, 244, 244);
    QLinearGradient green(back.topLeft(), back.bottomLeft());
    green.setColorAt(0, QColor(0x9c, 0xbf, 0x4e));
    green.setColorAt(1, QColor(0x4f, 0x6e, 0x1a));
    p.setPen(QPen(QColor(0x3a, 0x52, 0x12), qMax(4.0, 1.0 / unit)));
    p.setBrush(green);
    p.drawRoundedRect(back, 52, 52);

    const QColor dark(0x23, 0x33, 0x0a);
    paintStateBox(p, QRectF(28, 40, 122, 70), QColor(0xe0, 0xff, 0xff), Qt::white, dark, line * 0.8);
    paintStateBox(p, QRectF(106, 150, 122, 70), QColor(0xff, 0xf2, 0xc2), Qt::white, dark, line * 0.8);

    QPainterPath arrow(QPointF(150, 75));
    arrow.cubicTo(QPointF(205, 75), QPointF(218, 100), QPointF(196, 128));
    p.setPen(QPen(Qt::white, line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arrow);
    QPolygonF head;
    head << QPointF(180, 150) << QPointF(176, 112) << QPointF(214, 126);
    p.setBrush(Qt::white);
    p.setPen(QPen(Qt::white, line * 0.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolygon(head);
    if (size < 32) { // the reset marker only clutters the smallest sizes
        p.end();
        return image;
    }

    p.setPen(Qt::NoPen);
    p.setBrush(dark);
    p.drawEllipse(QPointF(52, 186), 22, 22);
    p.setPen(QPen(dark, line * 0.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(74, 186), QPointF(92, 186));
    QPolygonF entry;
    entry << QPointF(106, 186) << QPointF(88, 174) << QPointF(88, 198);
    p.setBrush(dark);
    p.drawPolygon(entry);
    p.end();
    return image;
}

QImage logo()
{
    QImage image = canvas(340, 96);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.drawImage(QPointF(8, 8), vireoMark(80));

    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(46);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0x3e, 0x57, 0x14));
    p.drawText(QRectF(104, 4, 236, 58), Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("Vireo"));

    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(19);
    subtitle.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    p.setFont(subtitle);
    p.setPen(QColor(0x55, 0x5c, 0x4a));
    p.drawText(QRectF(106, 62, 236, 30), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("ALDERHALL"));
    p.end();
    return image;
}

bool save(const QImage &image, const QString &path)
{
    if (image.save(path, "PNG"))
        return true;
    QTextStream(stderr) << "no se pudo escribir " << path << '\n';
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        QTextStream(stderr) << "uso: draw-icons <carpeta img> <carpeta para las capas del .ico>\n";
        return 2;
    }
    const QDir img(QString::fromLocal8Bit(argv[1]));
    const QDir layers(QString::fromLocal8Bit(argv[2]));
    bool ok = save(stateIcon(QColor(0xe0, 0xff, 0xff), Qt::white, QColor(0x40, 0x49, 0x49)),
                   img.filePath(QStringLiteral("button.png")));
    ok &= save(stateIcon(QColor(Qt::red), QColor(0xfa, 0x80, 0x72), QColor(0x8b, 0x00, 0x00)),
               img.filePath(QStringLiteral("button2.png")));
    ok &= save(addTransitionIcon(), img.filePath(QStringLiteral("add_transition.png")));
    ok &= save(logo(), img.filePath(QStringLiteral("logoAlderhall.png")));
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        ok &= save(vireoMark(size), layers.filePath(QStringLiteral("vireo-%1.png").arg(size)));
    return ok ? 0 : 1;
}
