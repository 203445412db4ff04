#include "controls/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QQueue>

#include <cstdio>

namespace {

struct TestHook
{
    bool enabled = false;
    QQueue<MessageBox::Button> answers;
    QVector<MessageBox::Shown> shown;
};

TestHook& hook()
{
    static TestHook instance;
    return instance;
}

MessageBox::Button firstButton(MessageBox::Buttons buttons)
{
    for (auto b : { QMessageBox::Ok, QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel }) {
        if (buttons.testFlag(b))
            return b;
    }
    return QMessageBox::NoButton;
}

/// Tests that start the program as a separate process cannot reach the hook: with
/// VELLUMORE_MESSAGE_BOXES=stderr every box is written there and takes its default answer.
bool boxesToStderr()
{
    static const bool on = qEnvironmentVariable("VELLUMORE_MESSAGE_BOXES") == QLatin1String("stderr");
    return on;
}

} // namespace

MessageBox::Button MessageBox::show(QWidget* parent, Icon icon, const QString& title, const QString& text,
                                    Buttons buttons, Button defaultButton)
{
    auto& h = hook();
    if (h.enabled || boxesToStderr()) {
        Button answer = h.answers.isEmpty()
            ? (defaultButton != QMessageBox::NoButton ? defaultButton : firstButton(buttons))
            : h.answers.dequeue();
        QStringList texts;
        if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
            const QMessageBox box(icon, title, text, buttons, parent);
            for (const QAbstractButton* b : box.buttons())
                texts << b->text();
        }
        h.shown.append({ icon, title, text, buttons, answer, texts });
        if (boxesToStderr()) {
            std::fputs((title + u'\n' + text + u'\n').toUtf8().constData(), stderr);
            std::fflush(stderr);
        }
        return answer;
    }
    QMessageBox box(icon, title, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<Button>(box.exec());
}

MessageBox::Button MessageBox::information(QWidget* parent, const QString& title, const QString& text)
{
    return show(parent, QMessageBox::Information, title, text);
}

MessageBox::Button MessageBox::notice(QWidget* parent, const QString& text)
{
    return show(parent, QMessageBox::NoIcon, QCoreApplication::applicationName(), text);
}

MessageBox::Button MessageBox::warning(QWidget* parent, const QString& title, const QString& text)
{
    return show(parent, QMessageBox::Warning, title, text);
}

MessageBox::Button MessageBox::critical(QWidget* parent, const QString& title, const QString& text)
{
    return show(parent, QMessageBox::Critical, title, text);
}

MessageBox::Button MessageBox::question(QWidget* parent, const QString& title, const QString& text,
                                        Buttons buttons)
{
    return show(parent, QMessageBox::Question, title, text, buttons);
}

void MessageBox::enableTestMode(bool on)
{
    hook().enabled = on;
}

void MessageBox::queueAnswer(Button answer)
{
    hook().answers.enqueue(answer);
}

QVector<MessageBox::Shown> MessageBox::takeShown()
{
    return std::exchange(hook().shown, {});
}

void MessageBox::reset()
{
    hook().answers.clear();
    hook().shown.clear();
}
