#include "Named.h"
#include "ShellFixture.h"
#include "WindowTest.h"

#include "controls/MessageBox.h"
#include "data/BankLocation.h"
#include "data/BankLock.h"
#include "desktop/DesktopActions.h"
#include "desktop/DisplayMode.h"
#include "shell/ui/frmmain.h"
#include "shell/ui/login.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cstdlib>

using namespace Qt::StringLiterals;

class tst_login : public WindowTest
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void splashIsCentredWithItsVersion();
    void thirdTickOpensTheMainWindow_data();
    void thirdTickOpensTheMainWindow();
    void clickThenTickOpensOneMainWindow();
    void onlyAnX11ScreenAt800x600Switches_data();
    void onlyAnX11ScreenAt800x600Switches();
    void startClaimsTheBankAndShowsTheSplash();
    void secondCopyIsToldTheBankIsInUse();
    void secondProgramLeavesTheRunningOnesBankAlone();

private:
    static QList<frmmain*> mainWindows();

    QString m_bank;
};

QList<frmmain*> tst_login::mainWindows()
{
    QList<frmmain*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* main = qobject_cast<frmmain*>(w))
            found << main;
    return found;
}

void tst_login::initTestCase()
{
    DesktopActions::enableTestMode(true);
}

void tst_login::init()
{
    WindowTest::init();
    m_bank = oneProjectBank(*m_env);
}

void tst_login::cleanup()
{
    qDeleteAll(mainWindows());
    WindowTest::cleanup();
}

void tst_login::splashIsCentredWithItsVersion()
{
    login splash(m_bank);
    splash.show();
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(splash.size(), QSize(400, 360));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(splash.geometry().center(), screen.center());
    QCOMPARE(named<QLabel>(&splash, u"Label3"_s)->text(), u"V7.2"_s);
    QCOMPARE(named<QLabel>(&splash, u"Label3"_s)->geometry(), QRect(312, 304, 71, 41));
    QCOMPARE(named<QLabel>(&splash, u"Label3"_s)->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    QCOMPARE(named<QTimer>(&splash, u"Timer1"_s)->interval(), 1000);
    QVERIFY(named<QTimer>(&splash, u"Timer1"_s)->isActive());
    // Not on X11: whatever the screen's size, nothing is switched.
    QVERIFY(DesktopActions::takeRequests().isEmpty());
}

void tst_login::thirdTickOpensTheMainWindow_data()
{
    QTest::addColumn<int>("ticks");
    QTest::newRow("two ticks: still the splash") << 2;
    QTest::newRow("the third tick") << 3;
    QTest::newRow("ticks after the third") << 5;
}

void tst_login::thirdTickOpensTheMainWindow()
{
    QFETCH(int, ticks);
    login splash(m_bank);
    splash.show();
    for (int i = 0; i < ticks; ++i)
        splash.Timer1_Timer();

    const bool opened = ticks >= 3;
    QCOMPARE(mainWindows().size(), opened ? 1 : 0);
    QCOMPARE(splash.isVisible(), !opened);
    QCOMPARE(named<QTimer>(&splash, u"Timer1"_s)->isActive(), !opened);
    if (opened) {
        frmmain* main = mainWindows().first();
        QCOMPARE(splash.mainWindow(), main);
        QVERIFY(main->isVisible());
        QVERIFY(main->windowState() & Qt::WindowMaximized);
        QVERIFY(main->store().isOpen());
    }
}

void tst_login::clickThenTickOpensOneMainWindow()
{
    login splash(m_bank);
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    splash.Timer1_Timer();
    QTest::mouseClick(&splash, Qt::LeftButton, {}, QPoint(100, 100));
    QCOMPARE(mainWindows().size(), 1);
    QVERIFY(!splash.isVisible());

    splash.Timer1_Timer();
    splash.Timer1_Timer();
    QTest::mouseClick(&splash, Qt::LeftButton, {}, QPoint(100, 100));
    QCOMPARE(mainWindows().size(), 1);
    QCOMPARE(splash.mainWindow(), mainWindows().first());
}

void tst_login::onlyAnX11ScreenAt800x600Switches_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QStringList>("arguments");
    const QStringList none;
    QTest::newRow("X11 800 × 600") << u"xcb"_s << QSize(800, 600) << u"VGA-1"_s
                                   << QStringList { u"--output"_s, u"VGA-1"_s, u"--mode"_s, u"1024x768"_s };
    QTest::newRow("X11 800 × 600, output unknown")
        << u"xcb"_s << QSize(800, 600) << QString() << QStringList { u"-s"_s, u"1024x768"_s };
    QTest::newRow("X11 1024 × 768") << u"xcb"_s << QSize(1024, 768) << u"VGA-1"_s << none;
    QTest::newRow("X11 1920 × 1080") << u"xcb"_s << QSize(1920, 1080) << u"HDMI-1"_s << none;
    QTest::newRow("X11 600 × 800") << u"xcb"_s << QSize(600, 800) << u"VGA-1"_s << none;
    QTest::newRow("Wayland 800 × 600") << u"wayland"_s << QSize(800, 600) << u"VGA-1"_s << none;
    QTest::newRow("offscreen 800 × 600") << u"offscreen"_s << QSize(800, 600) << u"screen"_s << none;
}

void tst_login::onlyAnX11ScreenAt800x600Switches()
{
    QFETCH(QString, platform);
    QFETCH(QSize, size);
    QFETCH(QString, output);
    QFETCH(QStringList, arguments);
    QCOMPARE(DisplayMode::switchArguments(platform, size, output), arguments);
    if (!arguments.isEmpty()) {
        // What is switched comes back when the program ends.
        QStringList back = arguments;
        back.last() = u"800x600"_s;
        QCOMPARE(DisplayMode::restoreArguments(output), back);
    }
}

void tst_login::startClaimsTheBankAndShowsTheSplash()
{
    BankLock lock(m_bank);
    QPointer<login> splash = login::start(lock);
    QVERIFY(splash);
    QVERIFY(lock.isClaimed());
    QVERIFY(splash->isVisible());
    QVERIFY(MessageBox::takeShown().isEmpty());
    splash->Form_Click();
    QCOMPARE(mainWindows().size(), 1);
    QVERIFY(mainWindows().first()->store().isOpen());
}

namespace {

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
        ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
        : QByteArray();
}

} // namespace

void tst_login::secondCopyIsToldTheBankIsInUse()
{
    BankLock running(m_bank);
    QCOMPARE(running.claim(), BankLock::Result::Claimed);
    const QByteArray before = fileHash(m_bank);
    const QWidgetList windowsBefore = QApplication::topLevelWidgets();

    BankLock second(m_bank);
    QVERIFY(!login::start(second));
    QVERIFY(!second.isClaimed());
    const QVector<MessageBox::Shown> shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Warning);
    QCOMPARE(shown.first().title, u"题库正在使用"_s);
    QCOMPARE(shown.first().text, login::bankInUseMessage(m_bank));
    QVERIFY(shown.first().text.contains(QDir::toNativeSeparators(m_bank)));
    QCOMPARE(QApplication::topLevelWidgets(), windowsBefore);
    QCOMPARE(fileHash(m_bank), before);
    QVERIFY(!QFileInfo::exists(m_bank + u"-journal"_s));
}

void tst_login::secondProgramLeavesTheRunningOnesBankAlone()
{
    // The program's own bank in the test's per-user folders, which the programs inherit.
    const QString userBank = BankLocation::bankPath();
    QVERIFY(QDir().mkpath(QFileInfo(userBank).absolutePath()));
    QVERIFY(QFile::copy(m_bank, userBank));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"VELLUMORE_MESSAGE_BOXES"_s, u"stderr"_s);
    const auto program = [&env](QProcess& process) {
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VELLUMORE_PROGRAM), {});
        return process.waitForStarted();
    };
    const auto holds = [&userBank](const QProcess& process) {
        return QTest::qWaitFor([&] { return BankLock::holder(userBank) == process.processId(); }, 20000);
    };

    QProcess first;
    QVERIFY(program(first));
    QVERIFY(holds(first));

    QProcess second;
    QVERIFY(program(second));
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), EXIT_FAILURE);
    const QString told = QString::fromUtf8(second.readAllStandardError());
    QVERIFY2(told.contains(login::bankInUseMessage(userBank)), qPrintable(told));
    QCOMPARE(first.state(), QProcess::Running);
    QCOMPARE(BankLock::holder(userBank), first.processId());

    // A program that dies leaves its lock behind; the next start takes it over.
    first.kill();
    QVERIFY(first.waitForFinished(10000));
    QProcess third;
    QVERIFY(program(third));
    QVERIFY(holds(third));
    const QString thirdTold = QString::fromUtf8(third.readAllStandardError());
    QVERIFY2(!thirdTold.contains(u"题库正在使用"_s), qPrintable(thirdTold));
    third.kill();
    QVERIFY(third.waitForFinished(10000));
}

QTEST_MAIN(tst_login)
#include "tst_login.moc"
