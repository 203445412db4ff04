#include "shell/frmmain.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueTree.h"
#include "controls/MessageBox.h"
#include "data/BankLocation.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QScreen>

namespace {

// The design size of the client area, used when the window is restored.
constexpr QSize DesignSize(1011, 727);

} // namespace

frmmain::frmmain(const QString& bankPath, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(QStringLiteral("Vellumore"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    // Load steps, in their fixed order; a failing step never stops the next one.
    m_state = AppState{};

    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    resize(DesignSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        move(avail.left() + (avail.width() - width()) / 2, avail.top() + (avail.height() - height()) / 2);
    }

    m_Label1 = new QLabel(QStringLiteral("目录索引"), this);
    m_Label1->setObjectName(QStringLiteral("Label1"));
    m_Label1->setGeometry(7, 67, 92, 21);
    m_TreeView1 = new CatalogueTree(this);
    m_TreeView1->setObjectName(QStringLiteral("TreeView1"));
    m_TreeView1->setGeometry(9, 89, 230, 640);

    openBank(bankPath.isEmpty() ? BankLocation::bankPath() : bankPath);
    BuildCatalogue();
}

frmmain::~frmmain()
{
    unload();
}

void frmmain::openBank(const QString& bankPath)
{
    QString reason;
    const bool isUserBank = bankPath == BankLocation::bankPath();
    if ((isUserBank && !BankLocation::ensureBank(&reason)) || (reason.isEmpty() && !m_store.open(bankPath))) {
        if (reason.isEmpty())
            reason = QStringLiteral("无法打开题库文件“%1”：%2。").arg(QDir::toNativeSeparators(bankPath), m_store.lastError());
        MessageBox::critical(this, QStringLiteral("无法打开题库"),
                             reason + QStringLiteral("\n\n程序将以空目录继续运行；题库文件没有被改动。"));
    }
}

void frmmain::BuildCatalogue()
{
    if (!m_store.isOpen())
        return;
    Catalogue::rewriteTree(m_store);
    m_TreeView1->setNodes(Catalogue::readNodes(m_store));
}

void frmmain::closeEvent(QCloseEvent* event)
{
    if (m_unloaded) {
        event->accept();
        return;
    }
    const auto answer = MessageBox::question(this, QStringLiteral("操作提示"),
                                             QStringLiteral("您是否真的要退出Vellumore？"));
    if (answer != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    unload();
    event->accept();
}

void frmmain::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_store.close();
    // Other windows close without asking again, the most recent first.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        QWidget* w = *it;
        if (w != this && w->isVisible() && !w->close())
            break;
    }
}
