#include "shell/FramePainter.h"

#include "shell/ShellArt.h"

#include <QPainter>

using namespace Qt::StringLiterals;

namespace FramePainter {

QString title()
{
    return u"Vellumore(全套)"_s;
}

QVector<Piece> pieces(int W, int H)
{
    return {
        { { 28, 0, 8, 40 }, { 28, 0, W, 40 } },
        { { 46, 91, 8, 40 }, { 28, H - 40, W, 40 } },
        { { 0, 59, 45, 40 }, { 0, 0, 45, H } },
        { { 117, 59, 14, 40 }, { W - 14, 0, 14, H } },
        { { 0, 0, 45, 40 }, { 0, 0, 45, 40 } },
        { { 0, 91, 45, 40 }, { 0, H - 40, 45, 40 } },
        { { 51, 0, 80, 29 }, { W - 80, 0, 80, 29 } },
        { { 71, 96, 60, 35 }, { W - 60, H - 35, 60, 35 } },
    };
}

QRegion outline(int W, int H)
{
    // Corners given as (left, top) to (right, bottom), the right and bottom edges excluded.
    const auto rect = [](int l, int t, int r, int b) { return QRegion(QRect(l, t, r - l, b - t)); };
    const auto ellipse = [](int l, int t, int r, int b) {
        return QRegion(QRect(l, t, r - l, b - t), QRegion::Ellipse);
    };
    return rect(0, 26, W, H - 26)
        .united(rect(23, 0, W - 23, H))
        .united(rect(23, 52, W, H - 6))
        .united(rect(52, 52, W - 6, H))
        .united(ellipse(0, 0, 52, 52))
        .united(ellipse(W - 50, 0, W + 1, 52))
        .united(ellipse(0, H - 52, 52, H))
        .united(ellipse(W - 9, H - 9, W, H));
}

QPoint minimiseButtonPos(int W)
{
    return { W - 54, 8 };
}

QPoint closeButtonPos(int W)
{
    return { W - 31, 8 };
}

QImage render(const QImage& skin, int W, int H, const QFont& font)
{
    QImage image(qMax(W, 1), qMax(H, 1), QImage::Format_RGB32);
    image.fill(ShellArt::outsideColour());
    QPainter painter(&image);
    painter.setClipRegion(outline(W, H));
    painter.fillRect(0, 0, W, H, Qt::white);
    for (const Piece& piece : pieces(W, H)) {
        // A piece with no area (a minimised window) is skipped; the others still paint.
        if (piece.target.width() > 0 && piece.target.height() > 0)
            painter.drawImage(piece.target, skin, piece.source);
    }

    QFont bold = font;
    bold.setBold(true);
    // Unblended glyphs keep the red exactly red and the rim exactly white.
    bold.setStyleStrategy(QFont::NoAntialias);
    // The toolbar starts at y 28: the title's ink is sized and placed from the font's own
    // metrics to stay whole between the top of the band and the toolbar.
    constexpr int BandTop = 6, BandBottom = 26;
    QRect ink = QFontMetrics(bold).tightBoundingRect(title());
    for (int size = QFontInfo(bold).pixelSize(); ink.height() > BandBottom - BandTop && size > 8;) {
        bold.setPixelSize(--size);
        ink = QFontMetrics(bold).tightBoundingRect(title());
    }
    const int baseline = BandTop + (BandBottom - BandTop - ink.height() + 1) / 2 - ink.top();
    painter.setFont(bold);
    painter.setPen(QColor(255, 255, 255));
    painter.drawText(QPoint(15, baseline - 1), title());
    painter.setPen(QColor(255, 0, 0));
    painter.drawText(QPoint(15, baseline), title());
    return image;
}

} // namespace FramePainter
