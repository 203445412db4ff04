#include "shell/ShellArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

using namespace Qt::StringLiterals;

namespace {

const QColor Ink(23, 54, 95);
const QColor BandTop(40, 86, 150);
const QColor BandBottom(88, 140, 204);
const QColor Rim(150, 182, 222);

constexpr int SkinSize = 131;
constexpr int BandHeight = 27;
// Skin positions of the drawn buttons, matching where the window puts their overlays.
constexpr QPoint SkinMinimise(51 + 26, 8);
constexpr QPoint SkinClose(51 + 49, 8);
constexpr QSize ButtonSize(17, 16);

QImage blank(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// The window's shape at the skin's size: radius 26 at three corners, 4 at the bottom right.
QPainterPath skinShape()
{
    const qreal s = SkinSize;
    QPainterPath path;
    path.moveTo(26, 0);
    path.lineTo(s - 26, 0);
    path.arcTo(s - 52, 0, 52, 52, 90, -90);
    path.lineTo(s, s - 4);
    path.arcTo(s - 8, s - 8, 8, 8, 0, -90);
    path.lineTo(26, s);
    path.arcTo(0, s - 52, 52, 52, 270, -90);
    path.lineTo(0, 26);
    path.arcTo(0, 0, 52, 52, 180, -90);
    path.closeSubpath();
    return path;
}

void drawMinimiseGlyph(QPainter& p, const QRect& box, const QColor& colour)
{
    p.fillRect(QRect(box.left() + 4, box.bottom() - 4, 9, 2), colour);
}

void drawCloseGlyph(QPainter& p, const QRect& box, const QColor& colour)
{
    p.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap));
    const QRectF x = QRectF(box).adjusted(5, 4.5, -5, -4.5);
    p.drawLine(x.topLeft(), x.bottomRight());
    p.drawLine(x.topRight(), x.bottomLeft());
}

void drawButtonFace(QPainter& p, const QRect& box, const QColor& fill, const QColor& border)
{
    p.setPen(QPen(border, 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
}

QImage buttonImage(const QColor& fill, const QColor& border, bool close, const QColor& glyph, int shift)
{
    QImage image = blank(ButtonSize);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect box(QPoint(0, 0), ButtonSize);
    drawButtonFace(p, box, fill, border);
    const QRect glyphBox = box.translated(shift, shift);
    if (close)
        drawCloseGlyph(p, glyphBox, glyph);
    else
        drawMinimiseGlyph(p, glyphBox, glyph);
    return image;
}

QPainterPath star(QPointF centre, qreal outer, qreal inner)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const qreal r = i % 2 ? inner : outer;
        const qreal a = M_PI / 2 + i * M_PI / 5;
        const QPointF pt(centre.x() + r * std::cos(a), centre.y() - r * std::sin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

void drawScreen(QPainter& p, const QColor& face)
{
    p.setPen(QPen(Ink, 1.5));
    p.setBrush(face);
    p.drawRoundedRect(QRectF(2.5, 3.5, 19, 13), 2, 2);
    p.drawLine(QPointF(12, 17), QPointF(12, 20));
    p.drawLine(QPointF(7, 20.5), QPointF(17, 20.5));
}

} // namespace

namespace ShellArt {

QColor outsideColour()
{
    return Ink;
}

QImage skin()
{
    QImage image(SkinSize, SkinSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath shape = skinShape();
    p.setClipPath(shape);

    QLinearGradient band(0, 0, 0, BandHeight);
    band.setColorAt(0, BandTop);
    band.setColorAt(1, BandBottom);
    p.fillRect(0, 0, SkinSize, BandHeight, band);
    p.fillRect(0, BandHeight, SkinSize, 1, Ink);
    // A light inner rim beside the dark border, on the sides and the bottom.
    p.fillRect(2, BandHeight + 1, 1, SkinSize, Rim);
    p.fillRect(SkinSize - 3, BandHeight + 1, 1, SkinSize, Rim);
    p.fillRect(0, SkinSize - 3, SkinSize, 1, Rim);

    p.setClipping(false);
    p.setPen(QPen(Ink, 3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);

    const QRect minimise(SkinMinimise, ButtonSize);
    const QRect close(SkinClose, ButtonSize);
    const QColor face(255, 255, 255, 40);
    const QColor edge(255, 255, 255, 140);
    drawButtonFace(p, minimise, face, edge);
    drawButtonFace(p, close, face, edge);
    drawMinimiseGlyph(p, minimise, Qt::white);
    drawCloseGlyph(p, close, Qt::white);
    return image;
}

QImage minimiseHover()
{
    return buttonImage(QColor(220, 234, 252), Qt::white, false, Ink, 0);
}

QImage closeHover()
{
    return buttonImage(QColor(214, 54, 48), Qt::white, true, Qt::white, 0);
}

QImage closePressed()
{
    return buttonImage(QColor(150, 28, 24), QColor(90, 10, 8), true, Qt::white, 1);
}

QImage splash()
{
    QImage image(400, 360, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 0, 360);
    sky.setColorAt(0, QColor(18, 44, 86));
    sky.setColorAt(0.65, QColor(28, 82, 140));
    sky.setColorAt(1, QColor(12, 30, 60));
    p.fillRect(image.rect(), sky);

    QRadialGradient glow(300, 110, 190);
    glow.setColorAt(0, QColor(120, 190, 255, 90));
    glow.setColorAt(1, QColor(120, 190, 255, 0));
    p.fillRect(image.rect(), glow);

    // A faint grid and a rising market line with candles: the subject of the exam.
    p.setPen(QPen(QColor(255, 255, 255, 22), 1));
    for (int x = 20; x < 400; x += 40)
        p.drawLine(x, 150, x, 280);
    for (int y = 150; y <= 280; y += 26)
        p.drawLine(20, y, 380, y);
    const int closes[] = { 262, 250, 256, 236, 240, 222, 214, 224, 198, 186, 192, 170, 160 };
    QPainterPath line;
    for (int i = 0; i < 13; ++i) {
        const QPointF pt(34 + i * 27.5, closes[i]);
        if (i == 0)
            line.moveTo(pt);
        else
            line.lineTo(pt);
        const bool up = i == 0 || closes[i] < closes[i - 1];
        const QColor candle = up ? QColor(232, 76, 61, 200) : QColor(46, 204, 113, 200);
        p.fillRect(QRectF(pt.x() - 4, pt.y() - 9, 8, 18), candle);
        p.fillRect(QRectF(pt.x() - 0.5, pt.y() - 15, 1, 30), candle);
    }
    p.setPen(QPen(QColor(255, 214, 90), 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(line);

    QFont name(u"Noto Sans"_s);
    name.setPixelSize(46);
    name.setBold(true);
    p.setFont(name);
    p.setPen(Qt::white);
    p.drawText(QRect(28, 36, 360, 56), Qt::AlignLeft | Qt::AlignVCenter, u"Vellumore"_s);

    QFont line1(u"Noto Sans CJK SC"_s);
    line1.setPixelSize(22);
    line1.setBold(true);
    p.setFont(line1);
    p.setPen(QColor(255, 230, 150));
    p.drawText(QRect(30, 94, 360, 30), Qt::AlignLeft | Qt::AlignVCenter, u"证券从业资格考试 · 全套题库"_s);

    QFont line2(u"Noto Sans CJK SC"_s);
    line2.setPixelSize(13);
    p.setFont(line2);
    p.setPen(QColor(210, 226, 246));
    p.drawText(QRect(30, 124, 360, 20), Qt::AlignLeft | Qt::AlignVCenter,
               u"章节练习 · 模拟考场 · 试题检索 · 统计分析"_s);

    p.fillRect(QRect(0, 296, 400, 64), QColor(6, 18, 40, 170));
    p.setPen(QColor(170, 196, 230));
    p.drawText(QRect(24, 312, 270, 20), Qt::AlignLeft | Qt::AlignVCenter, u"正在载入题库，请稍候……"_s);
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 399, 359));
    return image;
}

QImage toolbarIcon(const QString& key)
{
    QImage image = blank(QSize(24, 24));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (key == u"mlkc"_s) {
        p.setPen(QPen(Ink, 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 2.5, 13, 18));
        for (qreal y = 7; y < 18; y += 3.5)
            p.drawLine(QPointF(7, y), QPointF(15, y));
        p.setPen(QPen(QColor(214, 54, 48), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 20), QPointF(20.5, 9));
        p.setPen(QPen(QColor(240, 200, 80), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(19, 11), QPointF(20.5, 9));
    } else if (key == u"tj"_s) {
        p.setPen(QPen(Ink, 1.5));
        p.drawLine(QPointF(3, 3), QPointF(3, 21));
        p.drawLine(QPointF(3, 21), QPointF(22, 21));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(52, 120, 200));
        p.drawRect(QRectF(6, 13, 4, 7));
        p.setBrush(QColor(46, 170, 100));
        p.drawRect(QRectF(12, 8, 4, 12));
        p.setBrush(QColor(230, 126, 34));
        p.drawRect(QRectF(18, 4, 4, 16));
    } else if (key == u"sc"_s) {
        p.setPen(QPen(QColor(180, 120, 0), 1.2));
        p.setBrush(QColor(255, 200, 40));
        p.drawPath(star(QPointF(12, 12.5), 10, 4.2));
    } else if (key == u"sj"_s) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(46, 160, 90));
        p.drawEllipse(QRectF(2, 2, 20, 20));
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({ { 12, 5 }, { 18, 12 }, { 14.5, 12 }, { 14.5, 18 }, { 9.5, 18 }, { 9.5, 12 }, { 6, 12 } }));
    } else if (key == u"ksxx"_s) {
        p.setPen(QPen(Ink, 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 4.5, 19, 15));
        p.fillRect(QRectF(5, 7, 7, 6), QColor(52, 120, 200));
        for (qreal y = 8; y < 13; y += 2.5)
            p.drawLine(QPointF(14, y), QPointF(19, y));
        p.drawLine(QPointF(5, 15.5), QPointF(19, 15.5));
    } else if (key == u"lm"_s) {
        drawScreen(p, QColor(220, 234, 252));
        p.setPen(QPen(QColor(46, 160, 90), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({ { 7.5, 10 }, { 10.5, 13 }, { 16.5, 7 } }));
    } else if (key == u"ts"_s) {
        p.setPen(QPen(QColor(120, 20, 20), 1.2));
        p.setBrush(QColor(200, 50, 45));
        p.drawRoundedRect(QRectF(5, 2.5, 14, 19), 1.5, 1.5);
        p.fillRect(QRectF(5.5, 18, 13, 3), QColor(245, 240, 225));
        p.setPen(QPen(QColor(255, 220, 120), 1.2));
        p.drawLine(QPointF(8.5, 7), QPointF(15.5, 7));
        p.drawLine(QPointF(8.5, 10), QPointF(13.5, 10));
    } else if (key == u"fd"_s) {
        drawScreen(p, QColor(40, 70, 120));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({ { 10, 6.5 }, { 15.5, 10 }, { 10, 13.5 } }));
    } else if (key == u"bz"_s) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(52, 120, 200));
        p.drawEllipse(QRectF(2, 2, 20, 20));
        QFont f(u"DejaVu Sans"_s);
        f.setPixelSize(15);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, u"?"_s);
    } else if (key == u"jsq"_s) {
        p.setPen(QPen(Ink, 1.2));
        p.setBrush(QColor(90, 100, 115));
        p.drawRoundedRect(QRectF(4.5, 1.5, 15, 21), 2, 2);
        p.fillRect(QRectF(7, 4, 10, 4), QColor(200, 230, 200));
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                p.fillRect(QRectF(7 + col * 3.5, 10 + row * 3.8, 2.6, 2.6),
                           col == 2 && row == 2 ? QColor(230, 126, 34) : QColor(235, 238, 242));
    } else {
        return {};
    }
    return image;
}

} // namespace ShellArt
