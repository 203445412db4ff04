#pragma once

#include <QString>
#include <QVector>

class QWidget;

/// The one way the program asks for a file. Tests answer dialogs through a queue and
/// read back every dialog that was shown, so no test ever blocks on one.
class FileDialog final
{
public:
    struct Shown
    {
        QString caption;
        QString filter;
        QString answer; ///< the chosen path; empty when cancelled
        QString suggested; ///< the path a save dialog offered
    };

    /// The path of an existing file the user chose, or an empty text when they cancelled.
    static QString openFile(QWidget* parent, const QString& caption, const QString& filter);

    /// The path the user chose to save to, starting at @p name in the documents folder, or
    /// an empty text when they cancelled.
    static QString saveFile(
        QWidget* parent, const QString& caption, const QString& filter, const QString& name);

    /// Test hook: while enabled, dialogs are not shown; each takes the next queued answer
    /// (an empty text, as when cancelled, when the queue is empty) and is recorded.
    static void enableTestMode(bool on);
    static void queueAnswer(const QString& path);
    static QVector<Shown> takeShown();
    static void reset();

private:
    FileDialog() = delete;
};
