#include "desktop/DisplayMode.h"

#include "desktop/DesktopActions.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {

QStringList modeArguments(const QString& output, const QString& mode)
{
    if (output.isEmpty())
        return { u"-s"_s, mode };
    return { u"--output"_s, output, u"--mode"_s, mode };
}

} // namespace

namespace DisplayMode {

QStringList switchArguments(const QString& platform, const QSize& size, const QString& output)
{
    if (platform != u"xcb"_s || size != QSize(800, 600))
        return {};
    return modeArguments(output, u"1024x768"_s);
}

QStringList restoreArguments(const QString& output)
{
    return modeArguments(output, u"800x600"_s);
}

QSize adjust(QScreen* screen)
{
    if (!screen)
        return {};
    const QString output = screen->name();
    const QStringList arguments = switchArguments(QGuiApplication::platformName(), screen->size(), output);
    if (arguments.isEmpty())
        return screen->size();
    DesktopActions::run(u"xrandr"_s, arguments);
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp,
        [output] { DesktopActions::run(u"xrandr"_s, restoreArguments(output)); });
    return QSize(1024, 768);
}

} // namespace DisplayMode
