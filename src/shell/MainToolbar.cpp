#include "shell/MainToolbar.h"

#include "shell/ShellArt.h"
#include "shell/ToolbarCommand.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
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
            m_sc = b;
            b->setPopupMode(QToolButton::InstantPopup);
            b->setMenu(new QMenu(b));
            b->installEventFilter(this);
        } else {
            connect(b, &QToolButton::clicked, this, [this, key] { m_dispatcher(key); });
        }
    }
}

QToolButton* MainToolbar::button(const QString& key) const
{
    return findChild<QToolButton*>(key, Qt::FindDirectChildrenOnly);
}

bool MainToolbar::eventFilter(QObject* watched, QEvent* event)
{
    // The drop-down button opens its menu on the press; its face click comes first.
    if (watched == m_sc && m_sc->isEnabled()) {
        bool press = false;
        if (event->type() == QEvent::MouseButtonPress)
            press = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            press = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
        }
        if (press && m_dispatcher(m_sc->objectName()))
            return true;
    }
    return QToolBar::eventFilter(watched, event);
}
