#include "desktop/DesktopActions.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

bool testMode = false;
QVector<DesktopActions::Request> recorded;

bool record(const DesktopActions::Request& request)
{
    if (testMode)
        recorded.append(request);
    return testMode;
}

} // namespace

void DesktopActions::openUrl(const QUrl& url)
{
    if (!url.isValid() || record({ Request::OpenUrl, url, {}, {} }))
        return;
    QDesktopServices::openUrl(url);
}

QStringList DesktopActions::calculators()
{
    return { u"gnome-calculator"_s, u"kcalc"_s, u"mate-calc"_s, u"galculator"_s, u"qalculate-qt"_s,
        u"qalculate-gtk"_s, u"speedcrunch"_s, u"xcalc"_s };
}

void DesktopActions::startCalculator()
{
    for (const QString& name : calculators()) {
        const QString program = QStandardPaths::findExecutable(name);
        if (program.isEmpty())
            continue;
        if (!record({ Request::StartDetached, {}, program, {} }))
            QProcess::startDetached(program, {});
        return;
    }
}

void DesktopActions::run(const QString& program, const QStringList& arguments)
{
    if (record({ Request::Run, {}, program, arguments }))
        return;
    QProcess process;
    process.start(program, arguments);
    if (process.waitForStarted(3000) && !process.waitForFinished(5000))
        process.kill();
}

void DesktopActions::enableTestMode(bool on)
{
    testMode = on;
    recorded.clear();
}

QVector<DesktopActions::Request> DesktopActions::takeRequests()
{
    return std::exchange(recorded, {});
}
