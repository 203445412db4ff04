#include "controls/FileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QQueue>
#include <QStandardPaths>

#include <optional>

namespace {

struct TestHook
{
    bool enabled = false;
    QQueue<QString> answers;
    QVector<FileDialog::Shown> shown;
};

TestHook& hook()
{
    static TestHook instance;
    return instance;
}

// In test mode, the next queued answer, recorded with the dialog; none otherwise.
std::optional<QString> answerInTest(const QString& caption, const QString& filter, const QString& suggested)
{
    auto& h = hook();
    if (!h.enabled)
        return std::nullopt;
    const QString answer = h.answers.isEmpty() ? QString() : h.answers.dequeue();
    h.shown.append({ caption, filter, answer, suggested });
    return answer;
}

QString documents()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

} // namespace

QString FileDialog::openFile(QWidget* parent, const QString& caption, const QString& filter)
{
    if (const std::optional<QString> answer = answerInTest(caption, filter, QString()))
        return *answer;
    return QFileDialog::getOpenFileName(parent, caption, documents(), filter);
}

QString FileDialog::saveFile(
    QWidget* parent, const QString& caption, const QString& filter, const QString& name)
{
    const QString suggested = QDir(documents()).filePath(name);
    if (const std::optional<QString> answer = answerInTest(caption, filter, suggested))
        return *answer;
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
}

void FileDialog::enableTestMode(bool on)
{
    hook().enabled = on;
}

void FileDialog::queueAnswer(const QString& path)
{
    hook().answers.enqueue(path);
}

QVector<FileDialog::Shown> FileDialog::takeShown()
{
    return std::exchange(hook().shown, {});
}

void FileDialog::reset()
{
    hook().answers.clear();
    hook().shown.clear();
}
