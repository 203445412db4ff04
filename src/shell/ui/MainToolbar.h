#pragma once

#include <QToolBar>

#include <functional>

class QToolButton;

/// Toolbar1: the ten buttons, each named by its key. A click hands the key to the
/// dispatcher. The favourites button has no face of its own to click: a press pops its
/// menu up, whose items act even while an exam runs.
class MainToolbar final : public QToolBar
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainToolbar)
public:
    using Dispatcher = std::function<void(const QString& key)>;

    MainToolbar(Dispatcher dispatcher, QWidget* parent);

    QToolButton* button(const QString& key) const;

private:
    Dispatcher m_dispatcher;
};
