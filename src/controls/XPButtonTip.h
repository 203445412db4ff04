#pragma once

#include <QLabel>
#include <QTimer>

/// The yellow tool tip of an XPButton: shown centred under its target when the target
/// asks for help, hidden when the pointer leaves or presses, or after a while.
class XPButtonTip final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(XPButtonTip)
public:
    static constexpr int MaximumWidth = 80;
    static constexpr int ShownMilliseconds = 10000;

    XPButtonTip(const QString& text, QWidget* target);

    /// Shows the tip centred under the target.
    void showUnderTarget();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_target;
    QTimer m_expiry;
};
