#pragma once

#include <QToolBar>

#include <functional>

class QToolButton;

/// Toolbar1: the ten buttons, each named by its key. A click hands the key to the
/// dispatcher; the favourites button pops its menu up unless the dispatcher took the click.
class MainToolbar final : public QToolBar
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainToolbar)
public:
    /// Returns true when it acted on the key (or refused it), false when it did nothing.
    using Dispatcher = std::function<bool(const QString& key)>;

    MainToolbar(Dispatcher dispatcher, QWidget* parent);

    QToolButton* button(const QString& key) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Dispatcher m_dispatcher;
    QToolButton* m_sc = nullptr;
};
