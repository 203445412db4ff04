#pragma once

#include <QStringList>
#include <QUrl>
#include <QVector>

/// Everything the program hands to the desktop: pages to the default handler, the calculator, the
/// display-mode tool. Failures are silent by design: the user sees the browser or the calculator open, or
/// nothing.
class DesktopActions final
{
public:
    struct Request
    {
        enum Kind
        {
            OpenUrl,
            StartDetached,
            Run
        };
        Kind kind;
        QUrl url;
        QString program;
        QStringList arguments;
    };

    static void openUrl(const QUrl& url);
    /// The first of the usual desktop calculators found on the PATH; nothing when there is none.
    static void startCalculator();
    /// Runs @p program to its end (a few seconds at most); its outcome is not reported.
    static void run(const QString& program, const QStringList& arguments);

    /// The calculators looked for, in order of preference.
    static QStringList calculators();

    /// Test hook: while enabled nothing is opened, started or run; each request is
    /// recorded instead, after the same look-ups as in real use.
    static void enableTestMode(bool on);
    static QVector<Request> takeRequests();

private:
    DesktopActions() = delete;
};
