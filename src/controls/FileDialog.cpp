#include "controls/FileDialog.h"

#include <QFileDialog>
#include <QQueue>
#include <QStandardPaths>

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

} // namespace

QString FileDialog::openFile(QWidget* parent, const QString& caption, const QString& filter)
{
    auto& h = hook();
    if (h.enabled) {
        const QString answer = h.answers.isEmpty() ? QString() : h.answers.dequeue();
        h.shown.append({ caption, filter, answer });
        return answer;
    }
    return QFileDialog::getOpenFileName(
        parent, caption, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), filter);
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
