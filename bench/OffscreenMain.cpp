#include "OffscreenMain.h"

#include "controls/MessageBox.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>

int runOffscreenBenchmarks(int argc, char** argv, const std::function<void()>& beforeExit)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumore"));
    // Nobody answers a box here: one shown would wait for ever, so each takes its default
    // answer and fails the run below, named.
    MessageBox::enableTestMode(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (beforeExit)
        beforeExit();
    const QVector<MessageBox::Shown> shown = MessageBox::takeShown();
    for (const MessageBox::Shown& box : shown)
        std::fprintf(stderr, "unexpected message box \"%s\": %s\n", qPrintable(box.title), qPrintable(box.text));
    return shown.isEmpty() ? 0 : 1;
}
