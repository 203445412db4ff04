#include "controls/XPButtonAccessible.h"

#include "controls/XPButton.h"

XPButtonAccessible::XPButtonAccessible(XPButton* button)
    : QAccessibleWidget(button, QAccessible::Button)
{ }

QAccessibleInterface* XPButtonAccessible::create(const QString& className, QObject* object)
{
    if (className == QLatin1String("XPButton") && object && object->isWidgetType())
        return new XPButtonAccessible(static_cast<XPButton*>(object));
    return nullptr;
}

XPButton* XPButtonAccessible::button() const
{
    return static_cast<XPButton*>(widget());
}

QString XPButtonAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        if (!button()->accessibleName().isEmpty())
            return button()->accessibleName();
        return button()->caption().isEmpty() ? button()->myToolTip() : button()->caption();
    case QAccessible::Description:
        if (!button()->accessibleDescription().isEmpty())
            return button()->accessibleDescription();
        return button()->myToolTip();
    default:
        return QAccessibleWidget::text(t);
    }
}

QStringList XPButtonAccessible::actionNames() const
{
    QStringList names;
    if (button()->isEnabled())
        names << pressAction();
    return names + QAccessibleWidget::actionNames();
}

void XPButtonAccessible::doAction(const QString& actionName)
{
    if (actionName == pressAction())
        button()->click();
    else
        QAccessibleWidget::doAction(actionName);
}

QStringList XPButtonAccessible::keyBindingsForAction(const QString& actionName) const
{
    if (actionName == pressAction())
        return { QStringLiteral("Space") };
    return QAccessibleWidget::keyBindingsForAction(actionName);
}
