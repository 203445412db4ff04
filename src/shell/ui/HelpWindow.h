#pragma once

#include <QWidget>

class QTextBrowser;
class QToolButton;
class QUrl;

/// The candidate's guide in a window of the program: no browser or other program is
/// needed to read it. One window serves every place help is asked from.
class HelpWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HelpWindow)
public:
    /// Shows the guide at its start page, raising the window when it is already open;
    /// tells the user through @p parent when the guide is not installed.
    static HelpWindow* showGuide(QWidget* parent);

private:
    explicit HelpWindow(const QString& guide, QWidget* parent);
    void follow(const QUrl& link);

    QTextBrowser* m_browser;
    QToolButton* m_back;
    QToolButton* m_forward;
    QToolButton* m_home;
};
