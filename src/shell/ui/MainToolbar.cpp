#include "shell/ui/MainToolbar.h"

#include "shell/ShellArt.h"
#include "shell/ToolbarCommand.h"

#include <QMenu>
#include <QPixmap>
#include <QToolButton>

using namespace Qt::StringLiterals;

MainToolbar::MainToolbar(Dispatcher dispatcher, QWidget* parent)
    : QToolBar(parent)
    , m_dispatcher(std::move(dispatcher))
{
    setObjectName(u"Toolbar1"_s);
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(18, 18));
    QFont small = font();
    small.setPixelSize(12);
    setFont(small);
    // Icon and caption share the 38 pixels of the design height.
    setStyleSheet(u"QToolBar { border: none; padding: 0px; spacing: 1px; background: transparent; }"
                  "QToolButton { padding: 0px 3px; margin: 0px; }"_s);

    for (const QString& key : ToolbarCommand::keys()) {
        auto* b = new QToolButton(this);
        b->setObjectName(key);
        b->setText(ToolbarCommand::caption(key));
        b->setToolTip(b->text());
        b->setIcon(QIcon(QPixmap::fromImage(ShellArt::toolbarIcon(key))));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        addWidget(b);
        if (key == u"sc"_s) {
            b->setPopupMode(QToolButton::InstantPopup);
            b->setMenu(new QMenu(b));
        } else {
            connect(b, &QToolButton::clicked, this, [this, key] { m_dispatcher(key); });
        }
    }
}

QToolButton* MainToolbar::button(const QString& key) const
{
    return findChild<QToolButton*>(key, Qt::FindDirectChildrenOnly);
}
