#include "shell/ui/HelpWindow.h"

#include "controls/MessageBox.h"
#include "desktop/DesktopActions.h"
#include "shell/HelpGuide.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* makeButton(QWidget* parent, const char* name, const QString& caption, const char* icon)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setIcon(QIcon::fromTheme(QString::fromLatin1(icon)));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

} // namespace

HelpWindow::HelpWindow(const QString& guide, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_browser(new QTextBrowser(this))
    , m_back(makeButton(this, "helpBack", QStringLiteral("后退"), "go-previous"))
    , m_forward(makeButton(this, "helpForward", QStringLiteral("前进"), "go-next"))
    , m_home(makeButton(this, "helpHome", QStringLiteral("目录"), "go-home"))
{
    setObjectName(QStringLiteral("HelpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Vellumore 操作指南"));

    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    // Pages of the guide open here; anything else goes to the desktop.
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::follow);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QWidget::setEnabled);
    connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_home, &QToolButton::clicked, m_browser, &QTextBrowser::home);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    m_back->setToolTip(QStringLiteral("回到上一处（Alt+←）"));
    m_forward->setToolTip(QStringLiteral("前往下一处（Alt+→）"));
    m_home->setToolTip(QStringLiteral("回到指南的开头"));
    m_back->setShortcut(QKeySequence::Back);
    m_forward->setShortcut(QKeySequence::Forward);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(6, 4, 6, 0);
    bar->addWidget(m_back);
    bar->addWidget(m_forward);
    bar->addWidget(m_home);
    bar->addStretch();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addLayout(bar);
    column->addWidget(m_browser);

    // The browser does not follow the guide's <link>: its style sheet is given directly.
    QFile css(QFileInfo(guide).dir().filePath(QStringLiteral("guide.css")));
    if (css.open(QIODevice::ReadOnly))
        m_browser->document()->setDefaultStyleSheet(QString::fromUtf8(css.readAll()));
    m_browser->document()->setDocumentMargin(16);
    m_browser->setSource(QUrl::fromLocalFile(guide));
    const QSize wanted(860, 700);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(wanted.boundedTo(screen->availableSize() * 0.9));
    else
        resize(wanted);
}

HelpWindow* HelpWindow::showGuide(QWidget* parent)
{
    static QPointer<HelpWindow> window;
    const QString guide = HelpGuide::path();
    if (guide.isEmpty()) {
        MessageBox::warning(parent, QStringLiteral("找不到操作指南"),
            QStringLiteral("操作指南没有随程序安装，或者已被移走。请重新安装Vellumore。"));
        return nullptr;
    }
    if (!window)
        window = new HelpWindow(guide, parent);
    else
        window->m_browser->setSource(QUrl::fromLocalFile(guide));
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void HelpWindow::follow(const QUrl& link)
{
    const QUrl target = m_browser->source().resolved(link);
    if (target.isLocalFile())
        m_browser->setSource(target);
    else
        DesktopActions::openUrl(target);
}
