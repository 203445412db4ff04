#pragma once

#include <QColor>
#include <QImage>
#include <QString>

/// The shell's artwork, drawn here at run time: the splash picture, the frame's skin,
/// the title-bar buttons' hover and pressed images and the toolbar icons.
namespace ShellArt {

/// 400 × 360.
QImage splash();
/// 131 × 131; the minimise and close buttons are part of its top-right corner.
QImage skin();
/// What shows outside the rounded outline where a window's shape cannot be cut.
QColor outsideColour();

/// 17 × 16 each. The minimise button has no pressed image: the painted frame shows.
QImage minimiseHover();
QImage closeHover();
QImage closePressed();

/// The toolbar icon of the button with @p key, 24 × 24; a null image for an unknown key.
QImage toolbarIcon(const QString& key);

} // namespace ShellArt
