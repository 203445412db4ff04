#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QVector>

class QWidget;

/// The one way the program shows a message box. Tests answer boxes through a
/// queue and read back every box that was shown, so no test ever blocks on one.
class MessageBox final
{
public:
    using Icon = QMessageBox::Icon;
    using Button = QMessageBox::StandardButton;
    using Buttons = QMessageBox::StandardButtons;

    struct Shown
    {
        Icon icon;
        QString title;
        QString text;
        Buttons buttons;
        Button answer;
        /// The buttons' texts as the box would show them, in its order.
        QStringList buttonTexts;
    };

    static Button show(QWidget* parent, Icon icon, const QString& title, const QString& text,
                       Buttons buttons = QMessageBox::Ok, Button defaultButton = QMessageBox::NoButton);

    static Button information(QWidget* parent, const QString& title, const QString& text);
    /// A plain note with the program's own name as its title, no icon and an OK button.
    static Button notice(QWidget* parent, const QString& text);
    static Button warning(QWidget* parent, const QString& title, const QString& text);
    static Button critical(QWidget* parent, const QString& title, const QString& text);
    static Button question(QWidget* parent, const QString& title, const QString& text,
                           Buttons buttons = QMessageBox::Yes | QMessageBox::No);

    /// Test hook: while enabled, boxes are not shown; each takes the next queued
    /// answer (or its default button when the queue is empty) and is recorded.
    static void enableTestMode(bool on);
    static void queueAnswer(Button answer);
    static QVector<Shown> takeShown();
    static void reset();

private:
    MessageBox() = delete;
};
