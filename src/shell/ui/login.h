#pragma once

#include "shell/ui/frmmain.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

class BankLock;
class QLabel;
class QTimer;

/// login (the start-up form). The splash window: the picture and the version for about three seconds, then
/// the main window. A click skips the wait.
class login final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(login)
public:
    /// @p bankPath is handed to the main window (the user's bank when empty).
    explicit login(const QString& bankPath = QString(), QWidget* parent = nullptr);

    /// Starts the program: claims the bank of @p lock for this process and shows the
    /// splash. When another running copy holds the bank, says so and returns nullptr
    /// without opening a window or touching the bank.
    static login* start(BankLock& lock);
    /// The text telling that the bank at @p bankPath is open in another copy.
    static QString bankInUseMessage(const QString& bankPath);

    /// The main window once it is opened; it deletes itself when closed.
    frmmain* mainWindow() const { return m_main; }

public slots:
    void Timer1_Timer();
    /// Opens the main window, maximised and not modal, once only, and closes the splash.
    void Form_Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_bankPath;
    QImage m_picture;
    QLabel* m_Label3;
    QTimer* m_Timer1;
    qint16 m_ticks = 0;
    bool m_opened = false;
    QPointer<frmmain> m_main;
};
