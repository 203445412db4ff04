#pragma once

#include <QAccessibleWidget>

class XPButton;

/// What screen readers see of an XPButton: a push button named by its caption, or by its
/// tool tip when the caption is empty, that can be pressed.
class XPButtonAccessible final : public QAccessibleWidget
{
public:
    explicit XPButtonAccessible(XPButton* button);

    /// The factory for QAccessible::installFactory.
    static QAccessibleInterface* create(const QString& className, QObject* object);

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    XPButton* button() const;
};
