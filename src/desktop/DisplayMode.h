#pragma once

#include <QSize>
#include <QStringList>

class QScreen;

/// The start-up switch of an 800 × 600 screen to 1024 × 768, for this run only: the
/// previous mode comes back when the program ends. X11 only; elsewhere nothing happens.
namespace DisplayMode {

/// The xrandr arguments that switch the screen (its output named @p output, or the
/// whole screen when the name is unknown), or an empty list when nothing is to change.
QStringList switchArguments(const QString& platform, const QSize& size, const QString& output);

/// The xrandr arguments that give the screen back its 800 × 600.
QStringList restoreArguments(const QString& output);

/// Checks @p screen and switches it when it is 800 × 600; the colour depth is left as it is.
/// Returns the screen's size from now on: the window system tells of a switch only later.
QSize adjust(QScreen* screen);

} // namespace DisplayMode
