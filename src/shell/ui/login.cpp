#include "shell/ui/login.h"

#include "controls/MessageBox.h"
#include "data/BankLock.h"
#include "desktop/DisplayMode.h"
#include "shell/ShellArt.h"
#include "shell/ui/frmmain.h"

#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

using namespace Qt::StringLiterals;

login::login(const QString& bankPath, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_bankPath(bankPath)
    , m_picture(ShellArt::splash())
    , m_Label3(new QLabel(u"V7.2"_s, this))
    , m_Timer1(new QTimer(this))
{
    setObjectName(u"login"_s);
    setWindowTitle(u"Vellumore"_s);
    setFixedSize(400, 360);

    QFont version(u"Arial Black"_s);
    version.setPointSizeF(21.75);
    version.setWeight(QFont::Black);
    version.setStyleHint(QFont::SansSerif);
    m_Label3->setObjectName(u"Label3"_s);
    m_Label3->setFont(version);
    QPalette pal = m_Label3->palette();
    pal.setColor(QPalette::WindowText, QColor(255, 255, 0));
    m_Label3->setPalette(pal);
    m_Label3->setGeometry(312, 304, 71, 41);

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize area = DisplayMode::adjust(screen);
        move(screen->geometry().topLeft()
            + QPoint((area.width() - width()) / 2, (area.height() - height()) / 2));
    }

    m_Timer1->setObjectName(u"Timer1"_s);
    m_Timer1->setInterval(1000);
    connect(m_Timer1, &QTimer::timeout, this, &login::Timer1_Timer);
    m_Timer1->start();
}

login* login::start(BankLock& lock)
{
    // Unavailable carries on: a missing runtime folder must not keep the user from the bank.
    if (lock.claim() == BankLock::Result::InUse) {
        MessageBox::warning(nullptr, u"题库正在使用"_s, bankInUseMessage(lock.bankPath()));
        return nullptr;
    }
    auto* splash = new login(lock.bankPath());
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->show();
    return splash;
}

QString login::bankInUseMessage(const QString& bankPath)
{
    return u"题库文件“%1”正在被另一个运行中的Vellumore使用。\n\n"
           u"同一个题库同一时间只能由一个Vellumore打开，以免两边的记录互相覆盖。"
           u"请回到已经打开的Vellumore窗口继续使用。本次启动的程序将退出，题库没有被改动。"_s.arg(
               QDir::toNativeSeparators(bankPath));
}

void login::Timer1_Timer()
{
    ++m_ticks;
    if (m_ticks == 3) {
        Form_Click();
        m_Timer1->stop();
    }
}

void login::Form_Click()
{
    // A click and a later tick open one main window, not two.
    if (m_opened)
        return;
    m_opened = true;
    m_Timer1->stop();
    m_main = new frmmain(m_bankPath);
    m_main->setAttribute(Qt::WA_DeleteOnClose);
    m_main->showMaximized();
    close();
}

void login::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}

void login::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Form_Click();
}
