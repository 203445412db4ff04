#include "Named.h"
#include "ShellFixture.h"
#include "WindowTest.h"

#include "controls/MessageBox.h"
#include "desktop/DesktopActions.h"
#include "shell/HelpGuide.h"
#include "shell/ToolbarCommand.h"
#include "shell/ui/HelpWindow.h"
#include "shell/ui/MainToolbar.h"
#include "shell/ui/frmmain.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

const QString ExamWarning = u"注意：您必须单击右下方的[结束考试]按钮后才能进行其他操作！"_s;

// What a click left behind, as text: the boxes shown and what was handed to the desktop.
QStringList outcome()
{
    QStringList lines;
    for (const MessageBox::Shown& box : MessageBox::takeShown())
        lines << u"box %1 %2 %3 %4"_s.arg(int(box.icon)).arg(box.title, box.text).arg(int(box.buttons));
    for (const DesktopActions::Request& r : DesktopActions::takeRequests()) {
        if (r.kind == DesktopActions::Request::OpenUrl)
            lines << u"open "_s + r.url.toString();
        else
            lines << u"start "_s + r.program;
    }
    return lines;
}

QString box(
    QMessageBox::Icon icon, const QString& title, const QString& text, QMessageBox::StandardButtons buttons)
{
    return u"box %1 %2 %3 %4"_s.arg(int(icon)).arg(title, text).arg(int(buttons));
}

} // namespace

class tst_MainToolbar : public WindowTest
{
    Q_OBJECT

public:
    tst_MainToolbar()
        : WindowTest(oneProject)
    { }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void tenButtonsInOrder();
    void clickDispatchesByKey_data();
    void clickDispatchesByKey();
    void everyButtonIsRefusedDuringAnExam_data();
    void everyButtonIsRefusedDuringAnExam();
    void favouritesMenuStaysOpenDuringAnExam();
    void helpOpensInItsOwnWindow();
    void calculatorIsTheFirstFoundOnThePath_data();
    void calculatorIsTheFirstFoundOnThePath();

private:
    // Clicks the button; a menu or a modal window that the click opens is closed again.
    void click(const QString& key);
};

void tst_MainToolbar::initTestCase()
{
    DesktopActions::enableTestMode(true);
}

void tst_MainToolbar::init()
{
    WindowTest::init();
    QVERIFY(m_w->window().store().isOpen());
    QCOMPARE(outcome(), QStringList());
}

void tst_MainToolbar::cleanup()
{
    WindowTest::cleanup();
    DesktopActions::takeRequests();
}

void tst_MainToolbar::click(const QString& key)
{
    QToolButton* button = named<MainToolbar>(&m_w->window(), u"Toolbar1"_s)->button(key);
    QVERIFY2(button, qPrintable(key));
    QTimer::singleShot(0, qApp, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();
}

void tst_MainToolbar::tenButtonsInOrder()
{
    QStringList keys;
    QStringList captions;
    for (QAction* action : named<MainToolbar>(&m_w->window(), u"Toolbar1"_s)->actions()) {
        auto* button
            = qobject_cast<QToolButton*>(named<MainToolbar>(&m_w->window(), u"Toolbar1"_s)->widgetForAction(action));
        QVERIFY(button);
        QVERIFY2(!button->icon().isNull(), qPrintable(button->objectName()));
        keys << button->objectName();
        captions << button->text();
    }
    QCOMPARE(keys,
        (QStringList {
            u"mlkc"_s, u"tj"_s, u"sc"_s, u"sj"_s, u"ksxx"_s, u"lm"_s, u"ts"_s, u"fd"_s, u"bz"_s, u"jsq"_s }));
    QCOMPARE(captions,
        (QStringList { u"模拟考场"_s, u"统计分析"_s, u"收藏夹"_s, u"软件升级"_s, u"考试信息"_s, u"在线模考"_s,
            u"考试图书"_s, u"网上课程"_s, u"帮助"_s, u"计算器"_s }));
    QCOMPARE(named<QToolButton>(&m_w->window(), u"sc"_s), named<MainToolbar>(&m_w->window(), u"Toolbar1"_s)->button(u"sc"_s));
    QVERIFY(named<QToolButton>(&m_w->window(), u"sc"_s)->menu());
}

void tst_MainToolbar::clickDispatchesByKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("expected");

    const QString statistics = box(QMessageBox::NoIcon, u"提示"_s,
        u"统计分析可能会需要几分钟时间，您确定要运行该功能吗？"_s, QMessageBox::Ok | QMessageBox::Cancel);
    const QString update = box(QMessageBox::NoIcon, u"提示"_s,
        u"您的软件版本为V7.2,您要查看是否有更新版本吗？"_s, QMessageBox::Yes | QMessageBox::No);
    const int none = QMessageBox::NoButton;

    QTest::newRow("mlkc: the exam settings, no question") << u"mlkc"_s << none << QStringList();
    QTest::newRow("tj OK") << u"tj"_s << int(QMessageBox::Ok) << QStringList { statistics };
    QTest::newRow("tj Cancel opens nothing")
        << u"tj"_s << int(QMessageBox::Cancel) << QStringList { statistics };
    QTest::newRow("sj Yes") << u"sj"_s << int(QMessageBox::Yes)
                            << QStringList { update, u"open "_s + MakerPages::update().toString() };
    QTest::newRow("sj No opens nothing") << u"sj"_s << int(QMessageBox::No) << QStringList { update };
    QTest::newRow("ksxx") << u"ksxx"_s << none
                          << QStringList { u"open "_s + MakerPages::examNews().toString() };
    QTest::newRow("lm") << u"lm"_s << none
                        << QStringList { u"open "_s + MakerPages::onlineExam().toString() };
    QTest::newRow("ts") << u"ts"_s << none << QStringList { u"open "_s + MakerPages::books().toString() };
    QTest::newRow("fd") << u"fd"_s << none << QStringList { u"open "_s + MakerPages::courses().toString() };
    QTest::newRow("bz: the guide, in a window of ours") << u"bz"_s << none << QStringList();
    QTest::newRow("sc: only its menu acts") << u"sc"_s << none << QStringList();
}

void tst_MainToolbar::clickDispatchesByKey()
{
    QFETCH(QString, key);
    QFETCH(int, answer);
    QFETCH(QStringList, expected);
    QVERIFY2(QFile::exists(HelpGuide::path()), "the guide is copied into the build tree");
    if (answer != QMessageBox::NoButton)
        MessageBox::queueAnswer(MessageBox::Button(answer));

    click(key);
    QCOMPARE(outcome(), expected);
}

void tst_MainToolbar::everyButtonIsRefusedDuringAnExam_data()
{
    QTest::addColumn<QString>("key");
    for (const QString& key : ToolbarCommand::keys())
        if (key != u"sc"_s)
            QTest::newRow(qPrintable(key)) << key;
}

void tst_MainToolbar::everyButtonIsRefusedDuringAnExam()
{
    QFETCH(QString, key);
    m_w->session().setExamRunning(true);
    // Were it not refused, an answer would be waiting for the questions.
    MessageBox::queueAnswer(QMessageBox::Yes);
    click(key);
    QCOMPARE(
        outcome(), QStringList { box(QMessageBox::Critical, u"操作提示"_s, ExamWarning, QMessageBox::Ok) });
}

void tst_MainToolbar::favouritesMenuStaysOpenDuringAnExam()
{
    m_w->session().setExamRunning(true);
    bool menuShown = false;
    QTimer::singleShot(0, qApp, [&menuShown] { menuShown = QApplication::activePopupWidget() != nullptr; });
    click(u"sc"_s);
    QVERIFY2(menuShown, "a favourite may be added during an exam");
    QCOMPARE(outcome(), QStringList());
}

void tst_MainToolbar::helpOpensInItsOwnWindow()
{
    const auto helpWindow = [this] { return m_w->window().findChild<HelpWindow*>(); };
    click(u"bz"_s);
    HelpWindow* help = helpWindow();
    QVERIFY(help && help->isVisible());
    QCOMPARE(help->windowTitle(), u"Vellumore 操作指南"_s);
    QTextBrowser* browser = named<QTextBrowser>(help, u"helpBrowser"_s);
    QCOMPARE(browser->source(), QUrl::fromLocalFile(HelpGuide::path()));
    QVERIFY(browser->toPlainText().contains(u"即时反馈"_s));

    // A link of the contents moves within the guide, and back returns.
    QVERIFY(!named<QToolButton>(help, u"helpBack"_s)->isEnabled());
    emit browser->anchorClicked(QUrl(u"#review"_s));
    QCOMPARE(browser->source().fragment(), u"review"_s);
    QVERIFY(named<QToolButton>(help, u"helpBack"_s)->isEnabled());
    QTest::mouseClick(named<QToolButton>(help, u"helpBack"_s), Qt::LeftButton);
    QCOMPARE(browser->source().fragment(), QString());
    QVERIFY(named<QToolButton>(help, u"helpForward"_s)->isEnabled());

    // A page outside the guide goes to the desktop; the guide stays.
    emit browser->anchorClicked(QUrl(u"https://example.org/"_s));
    QCOMPARE(outcome(), QStringList { u"open https://example.org/"_s });
    QCOMPARE(browser->source(), QUrl::fromLocalFile(HelpGuide::path()));

    // Asked again, the same window shows the start of the guide.
    emit browser->anchorClicked(QUrl(u"#keys"_s));
    click(u"bz"_s);
    QCOMPARE(m_w->window().findChildren<HelpWindow*>().size(), 1);
    QCOMPARE(browser->source().fragment(), QString());

    // Closed, it comes back with F1; nothing else is started.
    help->close();
    QTRY_VERIFY(!helpWindow());
    m_w->window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&m_w->window()));
    QTest::keyClick(&m_w->window(), Qt::Key_F1);
    QVERIFY(helpWindow() && helpWindow()->isVisible());
    QCOMPARE(named<QTextBrowser>(helpWindow(), u"helpBrowser"_s)->source(),
        QUrl::fromLocalFile(HelpGuide::path()));
    QCOMPARE(outcome(), QStringList());
}

void tst_MainToolbar::calculatorIsTheFirstFoundOnThePath_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("started");
    QTest::newRow("none: nothing, silently") << QStringList() << QString();
    QTest::newRow("one") << QStringList { u"xcalc"_s } << u"xcalc"_s;
    QTest::newRow("the usual desktop's first")
        << QStringList { u"xcalc"_s, u"kcalc"_s, u"gnome-calculator"_s } << u"gnome-calculator"_s;
}

void tst_MainToolbar::calculatorIsTheFirstFoundOnThePath()
{
    QFETCH(QStringList, installed);
    QFETCH(QString, started);
    const QString bin = m_env->path() + u"/bin"_s;
    QVERIFY(QDir().mkpath(bin));
    for (const QString& name : installed) {
        QFile f(bin + u'/' + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n");
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.toUtf8());
    click(u"jsq"_s);
    qputenv("PATH", path);

    QCOMPARE(
        outcome(), started.isEmpty() ? QStringList() : QStringList { u"start "_s + bin + u'/' + started });
}

QTEST_MAIN(tst_MainToolbar)
#include "tst_MainToolbar.moc"
