#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QString>

class QFont;
class QPainter;

/// The main window's own frame: the eight skin pieces, the two-coloured title and the
/// rounded outline, for a client area of W × H pixels.
namespace FramePainter {

/// The product title printed into the top band.
QString title();

/// One rectangle of the skin copied (stretched) into one rectangle of the window.
struct Piece
{
    QRect source;
    QRect target;
};

/// The eight pieces in painting order: edges first, so the corners overwrite their ends.
QVector<Piece> pieces(int W, int H);

/// The window's visible region: three corners rounded by about 26 pixels and the
/// bottom-right one by about 4.
QRegion outline(int W, int H);

/// Where the title-bar buttons sit.
QPoint minimiseButtonPos(int W);
QPoint closeButtonPos(int W);

/// The whole frame of a W × H window: background, skin pieces, title. What lies outside
/// the outline is painted too, for platforms that cannot cut a window's shape.
QImage render(const QImage& skin, int W, int H, const QFont& font);

} // namespace FramePainter
