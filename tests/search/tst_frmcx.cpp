#include "MainWindowDriver.h"
#include "SearchBanks.h"
#include "TestBank.h"
#include "TestEnvironment.h"
#include "WindowTest.h"

#include "controls/MessageBox.h"
#include "controls/XPButton.h"
#include "search/ui/frmcx.h"
#include "session/StudySession.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// The search dialog on its own: its states, its enabling rules, and the statement it
// leaves behind.
class tst_frmcx : public WindowTest
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void opensWithItsStates();
    void enablingRules_data();
    void enablingRules();
    void okAtOnceDoesNothing();
    void neitherTextTickedIsRefused();
    void okLeavesTheSearch_data();
    void okLeavesTheSearch();
    void everyOtherWayOutCancels_data();
    void everyOtherWayOutCancels();

private:
    template <typename T = QWidget> T* control(const QString& name) const
    {
        T* w = m_dialog->findChild<T*>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }
    // "Option2", "type:证券", "clear", "untick:Check1", "tick:Check2", "ok", "cancel"
    void act(const QString& step);

    std::unique_ptr<TestBank> m_bank;
    std::unique_ptr<StudySession> m_session;
    std::unique_ptr<frmcx> m_dialog;
};

void tst_frmcx::init()
{
    WindowTest::init();
    m_bank = std::make_unique<TestBank>(m_env->bankPath());
    SearchBanks::searchBank(*m_bank);
    m_session = std::make_unique<StudySession>();
    m_session->setSearchStatement(u"the previous search"_s);
    m_dialog = std::make_unique<frmcx>(*m_session);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
}

void tst_frmcx::cleanup()
{
    m_dialog.reset();
    m_bank.reset();
    WindowTest::cleanup();
}

void tst_frmcx::act(const QString& step)
{
    if (step.startsWith(u"type:"_s)) {
        MainWindowDriver::type(control(u"Text1"_s), step.mid(5));
    } else if (step == u"clear"_s) {
        MainWindowDriver::clearBox(control(u"Text1"_s));
    } else if (step.startsWith(u"untick:"_s) || step.startsWith(u"tick:"_s)) {
        auto* box = control<QCheckBox>(step.section(u':', 1));
        if (box->isChecked() != step.startsWith(u"tick:"_s))
            MainWindowDriver::click(box);
    } else if (step == u"ok"_s) {
        MainWindowDriver::click(control(u"XPButton1"_s));
    } else if (step == u"cancel"_s) {
        MainWindowDriver::click(control(u"XPButton2"_s));
    } else {
        MainWindowDriver::click(control(step));
    }
}

void tst_frmcx::opensWithItsStates()
{
    QCOMPARE(m_dialog->windowTitle(), u"试题查询"_s);
    QStringList states;
    for (const char* name : { "Option1", "Option2", "Option3" }) {
        auto* option = control<QRadioButton>(QString::fromLatin1(name));
        states << option->text() + (option->isChecked() ? u" ●"_s : u" ○"_s);
    }
    auto* frame = control<QGroupBox>(u"Frame1"_s);
    states << frame->title() + (frame->isEnabled() ? u" enabled"_s : u" disabled"_s);
    states << control<QLabel>(u"Label1"_s)->text() + control<QLineEdit>(u"Text1"_s)->text();
    for (const char* name : { "Check1", "Check2" }) {
        auto* box = control<QCheckBox>(QString::fromLatin1(name));
        states << box->text() + (box->isChecked() ? u" ☑"_s : u" ☐"_s);
    }
    for (const char* name : { "XPButton1", "XPButton2" }) {
        auto* button = control<XPButton>(QString::fromLatin1(name));
        states << button->caption() + (button->isEnabled() ? u" enabled"_s : u" disabled"_s);
    }
    QCOMPARE(states,
        (QStringList { u"按关键字查找 ●"_s, u"找做过的题 ○"_s, u"找做错的题 ○"_s, u"范围 enabled"_s,
            u"关键字："_s, u"按题干文字查找 ☑"_s, u"按选项文字查找 ☐"_s, u"确定 disabled"_s,
            u"取消 enabled"_s }));
    // The three options stand in one row above the frame.
    const int top = control(u"Option1"_s)->y();
    QCOMPARE(control(u"Option2"_s)->y(), top);
    QCOMPARE(control(u"Option3"_s)->y(), top);
    QVERIFY(control(u"Option1"_s)->x() < control(u"Option2"_s)->x());
    QVERIFY(control(u"Option2"_s)->x() < control(u"Option3"_s)->x());
    QVERIFY(control(u"Option1"_s)->geometry().bottom() < control(u"Frame1"_s)->y());
}

void tst_frmcx::enablingRules_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("okEnabled");
    QTest::addColumn<bool>("frameEnabled");
    QTest::newRow("a keyword") << QStringList { u"type:证券"_s } << true << true;
    QTest::newRow("a keyword typed and deleted") << QStringList { u"type:ab"_s, u"clear"_s } << false << true;
    QTest::newRow("done") << QStringList { u"Option2"_s } << true << false;
    QTest::newRow("wrong") << QStringList { u"Option3"_s } << true << false;
    QTest::newRow("back to the keyword, which is kept")
        << QStringList { u"type:ab"_s, u"Option2"_s, u"Option1"_s } << false << true;
    QTest::newRow("back to the keyword, then edited")
        << QStringList { u"type:ab"_s, u"Option3"_s, u"Option1"_s, u"type:c"_s } << true << true;
    QTest::newRow("a blank is a keyword") << QStringList { u"type: "_s } << true << true;
}

void tst_frmcx::enablingRules()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, okEnabled);
    QFETCH(bool, frameEnabled);
    for (const QString& step : steps)
        act(step);
    QCOMPARE(control(u"XPButton1"_s)->isEnabled(), okEnabled);
    QCOMPARE(control(u"Frame1"_s)->isEnabled(), frameEnabled);
    QVERIFY(m_dialog->isVisible());
}

void tst_frmcx::okAtOnceDoesNothing()
{
    act(u"ok"_s);
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(m_session->searchStatement(), u"the previous search"_s);
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void tst_frmcx::neitherTextTickedIsRefused()
{
    act(u"type:证券"_s);
    act(u"untick:Check1"_s);
    act(u"ok"_s);
    MainWindowDriver::checkOneBox(QMessageBox::Critical, u"提示"_s, u"请指定查询范围"_s);
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(control<QLineEdit>(u"Text1"_s)->text(), u"证券"_s);
    QCOMPARE(QApplication::focusWidget(), control(u"Text1"_s));
    QCOMPARE(m_session->searchStatement(), u"the previous search"_s);
}

void tst_frmcx::okLeavesTheSearch_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("listed");
    QTest::newRow("stems") << QStringList { u"type:证券"_s } << u"K0101/1 K0199/7"_s;
    QTest::newRow("options") << QStringList { u"type:证券"_s, u"untick:Check1"_s, u"tick:Check2"_s }
                             << u"K0101/2 K0102/6"_s;
    QTest::newRow("both") << QStringList { u"type:证券"_s, u"tick:Check2"_s }
                          << u"K0101/1 K0101/2 K0102/6 K0199/7"_s;
    QTest::newRow("apostrophe as typed") << QStringList { u"type:Investor's"_s } << u"K0101/3"_s;
    QTest::newRow("done, the keyword ignored")
        << QStringList { u"type:证券"_s, u"Option2"_s } << u"K0101/1 K0101/2 K0102/5 K0102/6 K0199/7"_s;
    QTest::newRow("wrong") << QStringList { u"Option3"_s } << u"K0101/2 K0102/5 K0102/6"_s;
}

void tst_frmcx::okLeavesTheSearch()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, listed);
    for (const QString& step : steps)
        act(step);
    act(u"ok"_s);
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    const QuestionFilters::Selection selection = m_dialog->selection();
    QCOMPARE(m_session->searchStatement(), selection.sql);
    QCOMPARE(SearchBanks::listed(m_bank->store(), selection), listed);
}

void tst_frmcx::everyOtherWayOutCancels_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("取消") << u"cancel"_s;
    QTest::newRow("Escape") << u"escape"_s;
    QTest::newRow("the window's close button") << u"close"_s;
}

void tst_frmcx::everyOtherWayOutCancels()
{
    QFETCH(QString, way);
    act(u"type:证券"_s);
    if (way == u"escape"_s)
        QTest::keyClick(control(u"Text1"_s), Qt::Key_Escape);
    else if (way == u"close"_s)
        m_dialog->close();
    else
        act(way);
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_session->searchStatement(), QString());
    QVERIFY(m_dialog->selection().sql.isEmpty());
}

QTEST_MAIN(tst_frmcx)
#include "tst_frmcx.moc"
