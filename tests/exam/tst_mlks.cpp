#include "Named.h"
#include "TestBank.h"
#include "TestEnvironment.h"
#include "WindowTest.h"

#include "MainWindowDriver.h"
#include "controls/MessageBox.h"
#include "controls/XPButton.h"
#include "data/QuestionStore.h"
#include "data/sh_diraduvod.h"
#include "exam/ExamSession.h"
#include "exam/ui/mlks.h"
#include "session/StudySession.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_mlks : public WindowTest
{
    Q_OBJECT

public:
    tst_mlks()
        : WindowTest({}, UnreadBoxes::Fail)
    { }

private slots:
    void init();
    void cleanup();
    void opensWithTheDefaultsAndEverySection();
    void firstCloseWritesTheDefaults_data();
    void firstCloseWritesTheDefaults();
    void typedValuesComeBackAfterARestart();
    void emptiedCountReadsZero();
    void selectAllAndNone();
    void badBoxesAreRefusedBeforeComposing_data();
    void badBoxesAreRefusedBeforeComposing();
    void startDrawsFromTheChosenSections();
    void keyboardOnly();
    void unseenFirstIsRememberedAndDrawsTheNeverAnswered();

private:
    std::unique_ptr<mlks> open();
    static QByteArray settingsFile();

    std::unique_ptr<QuestionStore> m_store;
    std::unique_ptr<StudySession> m_state;
    std::unique_ptr<ExamSession> m_exam;
};

namespace {

const QByteArray DefaultsFile = "[kscs]\nA1TS= 20\nA2TS= 5\nA3TS= 5\nA4TS= 3\nBTS= 10\nXTS= 10\n"
                                "A1DF= 1\nXDF= 2\nkssj= 60\n";

QStringList boxTexts(const mlks& d)
{
    QStringList texts;
    for (int slot = 0; slot < 6; ++slot)
        texts << named<QLineEdit>(&d, u"ts_%1"_s, slot)->text() + u'/'
                + named<QLineEdit>(&d, u"df_%1"_s, slot)->text();
    return texts << named<QLineEdit>(&d, u"sj"_s)->text();
}

} // namespace

void tst_mlks::init()
{
    WindowTest::init();
    {
        TestBank bank(m_env->bankPath());
        // Codes out of name order: the list follows the codes. K0104 has no questions, K0105 no name.
        bank.section(u"K0102"_s, u"甲节"_s)
            .section(u"K0101"_s, u"乙节"_s)
            .section(u"K0103"_s, u"丙节"_s)
            .section(u"K0104"_s, u"空节"_s);
        for (const QString& code : { u"K0101"_s, u"K0102"_s, u"K0103"_s, u"K0105"_s })
            for (int i = 1; i <= 3; ++i)
                bank.question({ code, i, u"单选"_s });
    }
    m_store = std::make_unique<QuestionStore>();
    QVERIFY(m_store->open(m_env->bankPath()));
    m_state = std::make_unique<StudySession>();
    m_exam = std::make_unique<ExamSession>(*m_store, *m_state);
}

void tst_mlks::cleanup()
{
    m_exam.reset();
    m_state.reset();
    m_store.reset();
    WindowTest::cleanup();
}

std::unique_ptr<mlks> tst_mlks::open()
{
    auto d = std::make_unique<mlks>(*m_exam, m_env->bankPath());
    d->show();
    if (!QTest::qWaitForWindowExposed(d.get()))
        qWarning("the dialog was not shown");
    return d;
}

QByteArray tst_mlks::settingsFile()
{
    QFile f(sh_diraduvod::IniPath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void tst_mlks::opensWithTheDefaultsAndEverySection()
{
    auto d = open();
    QCOMPARE(d->windowTitle(), u"模拟考试设置"_s);
    QVERIFY(d->hasConnection());
    QCOMPARE(boxTexts(*d),
        QStringList({ u"20/1"_s, u"5/1"_s, u"5/不固定"_s, u"3/不固定"_s, u"10/1"_s, u"10/2"_s, u"60"_s }));
    for (int slot : { 2, 3 }) {
        QVERIFY(!named<QLineEdit>(d, u"ts_%1"_s, slot)->isVisible());
        QVERIFY(!named<QLineEdit>(d, u"df_%1"_s, slot)->isEnabled());
        QVERIFY(!d->findChild<QLabel*>(u"Label3_%1"_s.arg(slot + 3))->isVisible());
    }
    // Rows top to bottom: 单选, 多选, 判断, 不定项, then the time.
    QVERIFY(named<QLineEdit>(d, u"ts_%1"_s, 0)->y() < named<QLineEdit>(d, u"ts_%1"_s, 5)->y());
    QVERIFY(named<QLineEdit>(d, u"ts_%1"_s, 5)->y() < named<QLineEdit>(d, u"ts_%1"_s, 4)->y());
    QVERIFY(named<QLineEdit>(d, u"ts_%1"_s, 4)->y() < named<QLineEdit>(d, u"ts_%1"_s, 1)->y());
    QVERIFY(named<QLineEdit>(d, u"ts_%1"_s, 1)->y() < named<QLineEdit>(d, u"sj"_s)->y());
    QStringList entries;
    for (int i = 0; i < named<QListWidget>(d, u"List1"_s)->count(); ++i) {
        entries << named<QListWidget>(d, u"List1"_s)->item(i)->text();
        QVERIFY(named<QListWidget>(d, u"List1"_s)->item(i)->isSelected());
    }
    QCOMPARE(entries, QStringList({ u"乙节"_s, u"甲节"_s, u"丙节"_s }));
    QVERIFY(!named<QProgressBar>(d, u"Bar1"_s)->isVisible());
    QVERIFY(d->findChild<QLabel*>(u"Label5"_s)->text().startsWith(u"您可以选择模拟试卷生成试题的范围"_s));
    QCOMPARE(named<XPButton>(d, u"XPButton1"_s)->caption(), u"开始考试"_s);
    QCOMPARE(named<XPButton>(d, u"XPButton2"_s)->caption(), u"取消考试"_s);
    d->reject();
    QVERIFY(!d->hasConnection());
}

void tst_mlks::firstCloseWritesTheDefaults_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("取消考试") << u"cancel"_s;
    QTest::newRow("close box") << u"close"_s;
    QTest::newRow("Escape") << u"escape"_s;
    QTest::newRow("开始考试") << u"start"_s;
}

void tst_mlks::firstCloseWritesTheDefaults()
{
    QFETCH(QString, how);
    QVERIFY(!QFile::exists(sh_diraduvod::IniPath()));
    auto d = open();
    if (how == u"cancel"_s)
        MainWindowDriver::click(named<XPButton>(d, u"XPButton2"_s));
    else if (how == u"close"_s)
        d->close();
    else if (how == u"escape"_s)
        QTest::keyClick(d.get(), Qt::Key_Escape);
    else
        MainWindowDriver::click(named<XPButton>(d, u"XPButton1"_s));
    QVERIFY(!d->isVisible());
    QCOMPARE(d->result(), how == u"start"_s ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QCOMPARE(m_state->isExamRunning(), how == u"start"_s);
    QCOMPARE(settingsFile(), DefaultsFile);
}

void tst_mlks::typedValuesComeBackAfterARestart()
{
    {
        auto d = open();
        for (QLineEdit* box : { named<QLineEdit>(d, u"ts_%1"_s, 0), named<QLineEdit>(d, u"df_%1"_s, 0),
                 named<QLineEdit>(d, u"df_%1"_s, 1), named<QLineEdit>(d, u"df_%1"_s, 4),
                 named<QLineEdit>(d, u"df_%1"_s, 5), named<QLineEdit>(d, u"sj"_s) })
            MainWindowDriver::clearBox(box);
        MainWindowDriver::type(named<QLineEdit>(d, u"ts_%1"_s, 0), u"35"_s);
        MainWindowDriver::type(named<QLineEdit>(d, u"df_%1"_s, 0), u"3"_s);
        MainWindowDriver::type(
            named<QLineEdit>(d, u"df_%1"_s, 1), u"4"_s); // 不定项 and 判断 points are read, never written
        MainWindowDriver::type(named<QLineEdit>(d, u"df_%1"_s, 4), u"7"_s);
        MainWindowDriver::type(named<QLineEdit>(d, u"df_%1"_s, 5), u"5"_s);
        MainWindowDriver::type(named<QLineEdit>(d, u"sj"_s), u"90"_s);
        MainWindowDriver::click(named<XPButton>(d, u"XPButton2"_s));
    }
    auto d = open();
    QCOMPARE(boxTexts(*d),
        QStringList({ u"35/3"_s, u"5/1"_s, u"5/不固定"_s, u"3/不固定"_s, u"10/1"_s, u"10/5"_s, u"90"_s }));
    d->reject();
}

void tst_mlks::emptiedCountReadsZero()
{
    auto d = open();
    MainWindowDriver::clearBox(named<QLineEdit>(d, u"ts_%1"_s, 5));
    QCOMPARE(named<QLineEdit>(d, u"ts_%1"_s, 5)->text(), u"0"_s);
    d->reject();
    QCOMPARE(sh_diraduvod::GetIniInt(u"kscs"_s, u"XTS"_s, 99), 0);
}

void tst_mlks::selectAllAndNone()
{
    auto d = open();
    const auto selected = [&] { return named<QListWidget>(d, u"List1"_s)->selectedItems().size(); };
    MainWindowDriver::click(named<XPButton>(d, u"XPButton3_%1"_s, 1));
    QCOMPARE(named<XPButton>(d, u"XPButton3_%1"_s, 1)->caption(), u"全不选"_s);
    QCOMPARE(selected(), 0);
    MainWindowDriver::click(named<XPButton>(d, u"XPButton3_%1"_s, 0));
    QCOMPARE(named<XPButton>(d, u"XPButton3_%1"_s, 0)->caption(), u"全选"_s);
    QCOMPARE(selected(), 3);
    d->reject();
}

void tst_mlks::badBoxesAreRefusedBeforeComposing_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("key"); // not written when the dialog closes
    const QString count = u"“%1”的题数必须是 0 到 999 之间的整数，请重新输入。"_s;
    const QString points = u"“%1”的每小题配分必须是 1 到 100 之间的整数，请重新输入。"_s;
    const QString time = u"考试时间必须是 1 到 999 分钟之间的整数，请重新输入。"_s;
    QTest::newRow("count not a number")
        << u"ts_0"_s << u"abc"_s << count.arg(u"单选"_s) << QByteArray("A1TS=");
    QTest::newRow("count negative") << u"ts_5"_s << u"-2"_s << count.arg(u"多选"_s) << QByteArray("XTS=");
    QTest::newRow("count too large") << u"ts_4"_s << u"1000"_s << count.arg(u"判断"_s) << QByteArray("BTS=");
    QTest::newRow("count fraction") << u"ts_1"_s << u"2.5"_s << count.arg(u"不定项"_s) << QByteArray("A2TS=");
    QTest::newRow("points 0") << u"df_0"_s << u"0"_s << points.arg(u"单选"_s) << QByteArray("A1DF=");
    QTest::newRow("points empty") << u"df_5"_s << u""_s << points.arg(u"多选"_s) << QByteArray("XDF=");
    QTest::newRow("points too large") << u"df_4"_s << u"101"_s << points.arg(u"判断"_s) << QByteArray("BDF=");
    QTest::newRow("time 0") << u"sj"_s << u"0"_s << time << QByteArray("kssj=");
    QTest::newRow("time 1000") << u"sj"_s << u"1000"_s << time << QByteArray("kssj=");
    QTest::newRow("time not a number") << u"sj"_s << u"一小时"_s << time << QByteArray("kssj=");
    QTest::newRow("time empty") << u"sj"_s << u""_s << time << QByteArray("kssj=");
}

void tst_mlks::badBoxesAreRefusedBeforeComposing()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QByteArray, key);
    auto d = open();
    auto* edit = d->findChild<QLineEdit*>(box);
    QVERIFY(edit);
    MainWindowDriver::clearBox(edit);
    edit->selectAll(); // an emptied count box already reads 0
    MainWindowDriver::type(edit, text);
    MainWindowDriver::click(named<XPButton>(d, u"XPButton1"_s));
    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, QMessageBox::Warning);
    QCOMPARE(shown[0].title, u"模拟考试设置"_s);
    QCOMPARE(shown[0].text, message);
    QVERIFY(d->isVisible());
    QVERIFY(edit->hasFocus());
    QVERIFY(!m_state->isExamRunning());
    QVERIFY(m_store->scalar(u"select count(*) from sqlite_master where name='kstk'"_s).toInt() == 0);
    QVERIFY(!named<QProgressBar>(d, u"Bar1"_s)->isVisible());
    d->reject();
    // A bad value is not written; the good ones are.
    const QByteArray file = settingsFile();
    QVERIFY(!file.contains(key));
    QVERIFY(file.contains(key == "kssj=" ? "A1TS= 20" : "kssj= 60"));
}

void tst_mlks::startDrawsFromTheChosenSections()
{
    auto d = open();
    // A click on an entry toggles it: 甲节 (K0102) is left out.
    QListWidget* list = named<QListWidget>(d, u"List1"_s);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    QVERIFY(!list->item(1)->isSelected());
    MainWindowDriver::click(named<XPButton>(d, u"XPButton1"_s));
    QVERIFY(m_state->isExamRunning());
    QCOMPARE(d->result(), int(QDialog::Accepted));
    QCOMPARE(d->examTime(), u"60"_s);
    QCOMPARE(named<QProgressBar>(d, u"Bar1"_s)->maximum(), 9);
    QCOMPARE(named<QProgressBar>(d, u"Bar1"_s)->value(), 9);
    // 乙节, 丙节 and the unnamed K0105, which the list cannot offer, so never leaves out.
    QCOMPARE(
        m_store->scalar(u"select group_concat(代码) from (select distinct 代码 from kstk order by 代码)"_s)
            .toString(),
        u"K0101,K0103,K0105"_s);
}

void tst_mlks::keyboardOnly()
{
    auto d = open();
    QVERIFY(named<QListWidget>(d, u"List1"_s)->hasFocus());
    QStringList order;
    for (int i = 0; i < 13; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order,
        QStringList({ u"XPButton3_0"_s, u"XPButton3_1"_s, u"ts_0"_s, u"df_0"_s, u"ts_5"_s, u"df_5"_s,
            u"ts_4"_s, u"df_4"_s, u"ts_1"_s, u"df_1"_s, u"sj"_s, u"XPButton1"_s, u"XPButton2"_s }));
    // Space on 全不选, then Enter in the time box: only K0105, which has no name to offer, is drawn.
    named<XPButton>(d, u"XPButton3_%1"_s, 1)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(named<XPButton>(d, u"XPButton3_%1"_s, 1), Qt::Key_Space);
    QCOMPARE(named<QListWidget>(d, u"List1"_s)->selectedItems().size(), 0);
    named<QLineEdit>(d, u"sj"_s)->setFocus();
    QTest::keyClick(named<QLineEdit>(d, u"sj"_s), Qt::Key_Return);
    QVERIFY(!d->isVisible());
    QVERIFY(m_state->isExamRunning());
    QCOMPARE(m_store->scalar(u"select group_concat(distinct 代码) from kstk"_s).toString(), u"K0105"_s);
}

void tst_mlks::unseenFirstIsRememberedAndDrawsTheNeverAnswered()
{
    // Every question practised but 丙节's second.
    for (const QString& code : { u"K0101"_s, u"K0102"_s, u"K0103"_s, u"K0105"_s })
        for (int i = 1; i <= 3; ++i)
            if (code != u"K0103"_s || i != 2)
                QVERIFY(m_store
                            ->write(u"insert into review_schedule(代码, 题号, stage, due_day, last_day) "
                                    "values (?, ?, 0, 0, 100)"_s,
                                { code, i })
                            .isDone());
    {
        auto d = open();
        auto* option = named<QCheckBox>(d, u"unseenFirst"_s);
        QCOMPARE(option->text(), u"优先抽取没做过的题"_s);
        QVERIFY(option->isVisible());
        QVERIFY(!option->isChecked());
        MainWindowDriver::click(option);
        MainWindowDriver::click(named<XPButton>(d, u"XPButton2"_s));
    }
    QVERIFY(settingsFile().contains("unseenfirst= 1"));
    auto d = open();
    QVERIFY(named<QCheckBox>(d, u"unseenFirst"_s)->isChecked());
    MainWindowDriver::clearBox(named<QLineEdit>(d, u"ts_%1"_s, 0));
    named<QLineEdit>(d, u"ts_%1"_s, 0)->selectAll();
    MainWindowDriver::type(named<QLineEdit>(d, u"ts_%1"_s, 0), u"1"_s);
    MainWindowDriver::click(named<XPButton>(d, u"XPButton1"_s));
    QVERIFY(m_state->isExamRunning());
    QCOMPARE(
        m_store->scalar(u"select 代码 || ':' || bank_number from exam_source"_s).toString(), u"K0103:2"_s);
}

QTEST_MAIN(tst_mlks)
#include "tst_mlks.moc"
