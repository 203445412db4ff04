#include "Fixtures.h"
#include "MainWindowDriver.h"
#include "Named.h"
#include "TestBank.h"
#include "TestEnvironment.h"
#include "WindowTest.h"

#include "catalogue/ui/QuestionListView.h"
#include "controls/DigitDisplay.h"
#include "controls/MessageBox.h"
#include "controls/XPButton.h"
#include "data/sh_diraduvod.h"
#include "exam/ui/ExamRun.h"
#include "exam/ui/ExamSidePanel.h"
#include "exam/ui/mlks.h"
#include "practice/ui/AnswerPanel.h"
#include "practice/ui/PracticePanel.h"
#include "practice/ui/PracticeSidePanel.h"
#include "practice/ui/QuestionView.h"
#include "shell/ui/MainToolbar.h"
#include "shell/ui/WelcomePanel.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <QTimer>
#include <QToolButton>
#include <functional>

using namespace Qt::StringLiterals;

class tst_ExamRun : public WindowTest
{
    Q_OBJECT

public:
    tst_ExamRun();

private slots:
    void examFromTheCatalogueNode();
    void answersGoToThePaperOnly();
    void feedbackStaysOutOfTheExam();
    void treeAndToolbarAreRefused_data();
    void treeAndToolbarAreRefused();
    void endingBringsPracticeBack();
    void reportSetsTheScoreBesideTheForecast();
    void timeUpEndsTheExamOnce();
    void endingOneSecondEarlyTellsNothing();
    void secondExamStartsAtZero();
    void emptyPaperIsTold();
    void rangeAndAnswerColumns();
    void toolbarOpensTheSettings();
    void stopwatch();

private:
    // Opens the settings from the catalogue node, sets the time, leaves out @p leftOut
    // (or every section, for "*") and starts.
    bool startFromDialog(const QString& time = u"60"_s, const QString& leftOut = QString());
    /// Runs @p end, which ends the exam, and closes the score report it opens.
    static bool closesReport(const std::function<void()>& end);
    QStringList mode() const;
    ExamSidePanel* side() const { return m_w->window().examRun()->Frame6(); }
};

namespace {

const QString ExamWarning = u"注意：您必须单击右下方的[结束考试]按钮后才能进行其他操作！"_s;

void fill(TestBank& bank)
{
    Fixtures::practiceCatalogue(bank);
    bank.section(u"W0104"_s, u"模拟考场"_s);
    for (int i = 1; i <= 3; ++i)
        bank.question({ u"K0101"_s, i, u"单选"_s, u"A"_s, u"B"_s, i == 1 });
    bank.question({ u"K0101"_s, 4, u"多选"_s, u"AB"_s })
        .question({ u"K0101"_s, 5, u"A3"_s, u"AB"_s }) // no count of its own: never drawn
        .question({ u"K0102"_s, 1, u"单选"_s })
        .question({ u"K0102"_s, 2, u"单选"_s });
}

} // namespace

tst_ExamRun::tst_ExamRun()
    : WindowTest(fill, UnreadBoxes::Fail)
{ }

bool tst_ExamRun::closesReport(const std::function<void()>& end)
{
    bool report = false;
    const bool modal
        = MainWindowDriver::runModal(end, [&report](QDialog* d) { report = d->objectName() == u"cjtj"_s; });
    return modal && report;
}

bool tst_ExamRun::startFromDialog(const QString& time, const QString& leftOut)
{
    bool started = false;
    const bool opened = MainWindowDriver::runModal([this] { m_w->clickNode(u"模拟考场"_s); },
        [&](QDialog* dialog) {
            auto* d = qobject_cast<mlks*>(dialog);
            if (!d)
                return;
            MainWindowDriver::clearBox(named<QLineEdit>(d, u"sj"_s));
            named<QLineEdit>(d, u"sj"_s)->setText(time);
            if (leftOut == u"*"_s)
                MainWindowDriver::click(named<XPButton>(d, u"XPButton3_%1"_s, 1));
            for (auto* item : named<QListWidget>(d, u"List1"_s)->findItems(leftOut, Qt::MatchExactly))
                item->setSelected(false);
            MainWindowDriver::click(named<XPButton>(d, u"XPButton1"_s));
            started = !d->isVisible();
        });
    return opened && started;
}

QStringList tst_ExamRun::mode() const
{
    PracticePanel* p1 = m_w->panel();
    QStringList m;
    m << QString::number(m_w->session().isExamRunning()) << QString::number(p1->isVisible())
      << QString::number(named<WelcomePanel>(&m_w->window(), u"Picture3"_s)->isVisible())
      << QString::number(side()->isVisibleTo(p1))
      << QString::number(named<PracticeSidePanel>(p1, u"Frame3"_s)->isVisibleTo(p1));
    for (int i : { 4, 5, 6 })
        m << QString::number(named<XPButton>(p1, u"cmd_%1"_s, i)->isVisibleTo(p1));
    m << QString::number(named<QTimer>(side(), u"Timer2"_s)->isActive())
      << QString::number(named<QTimer>(side(), u"Timer3"_s)->isActive());
    return m;
}

void tst_ExamRun::examFromTheCatalogueNode()
{
    QVERIFY(m_w->clickNode(u"第一节"_s));
    QVERIFY(startFromDialog(u"45"_s, u"第二节"_s));
    // Running, panel, welcome, Frame6, Frame3, cmd 4-6, Timer2, Timer3.
    QCOMPARE(mode(),
        QStringList({ u"1"_s, u"1"_s, u"0"_s, u"1"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"1"_s, u"1"_s }));
    QCOMPARE(named<QLabel>(m_w->panel(), u"Label2"_s)->text(), u"模拟考试"_s);
    QCOMPARE(named<DigitDisplay>(side(), u"kssj"_s)->text(), u"045"_s);
    QCOMPARE(named<DigitDisplay>(side(), u"yysj"_s)->text(), u"000"_s);
    QVERIFY(!named<QLabel>(side(), u"Label7"_s)->text().isEmpty());
    QCOMPARE(side()->pos(), named<PracticeSidePanel>(m_w->panel(), u"Frame3"_s)->pos());
    // The four questions of 第一节 with a count, by type and sj; answers hidden.
    QCOMPARE(m_w->rowTexts(), QStringList({ u"第1题"_s, u"第2题"_s, u"第3题"_s, u"第4题"_s }));
    QCOMPARE(
        m_w->column(QuestionListModel::Type), QStringList({ u"单选"_s, u"单选"_s, u"单选"_s, u"多选"_s }));
    QCOMPARE(m_w->column(QuestionListModel::Code).join(u','), u"K0101,K0101,K0101,K0101"_s);
    QCOMPARE(m_w->list()->columnWidthPx(4), 0.0);
    QCOMPARE(m_w->list()->columnWidthPx(7), 0.0);
    // The first question is shown from the paper, under its drawn number.
    QCOMPARE(m_w->session().currentQuestion().number, m_w->column(QuestionListModel::QuestionNo).first());
    QCOMPARE(m_w->shownPosition(), u"第1题"_s);
    QCOMPARE(m_w->field(u"kstk"_s, u"K0101"_s, m_w->session().currentQuestion().number.toInt(), u"答题"_s),
        QVariant(u""_s));
    // The settings were saved on the way.
    QCOMPARE(sh_diraduvod::GetIniInt(u"kscs"_s, u"kssj"_s, 0), 45);
}

void tst_ExamRun::answersGoToThePaperOnly()
{
    QVERIFY(startFromDialog());
    const QStringList bankBefore = m_w->allStored(u"tk"_s);
    QVERIFY(m_w->clickRow(2));
    const int number = m_w->session().currentQuestion().number.toInt();
    auto* option = m_w->answers()->findChild<QAbstractButton*>(u"Option1_2"_s);
    QVERIFY(option && option->isVisible());
    MainWindowDriver::click(option);
    QCOMPARE(m_w->field(u"kstk"_s, m_w->session().sectionCode(), number, u"答题"_s), QVariant(u"C"_s));
    QCOMPARE(m_w->count(u"select count(*) from kstk where 答题<>''"_s), 1);
    QCOMPARE(m_w->allStored(u"tk"_s), bankBefore);
    QCOMPARE(m_w->count(u"select count(*) from tk where 收藏否=-1"_s), 1);
    // The attempt is the answer left on moving on; it names the question by its key in tk,
    // not by the paper's number.
    QCOMPARE(m_w->count(u"select count(*) from attempt"_s), 0);
    QVERIFY(m_w->clickRow(1));
    QCOMPARE(m_w->count(u"select count(*) from attempt h join tk on tk.代码=h.代码 and tk.题号=h.题号 "
                        "join exam_source s on s.代码=h.代码 and s.bank_number=h.题号 "
                        "where h.source='exam' and h.answer='C' and s.题号=?"_s,
                 { number }),
        1);
}

void tst_ExamRun::feedbackStaysOutOfTheExam()
{
    QVERIFY(m_w->clickNode(u"第一节"_s));
    auto* box = m_w->child<QCheckBox>(u"chkFeedback"_s);
    MainWindowDriver::click(box);
    QVERIFY(box->isChecked());
    QVERIFY(startFromDialog());
    QVERIFY(!box->isVisible());

    // A wrong and a right answer: no verdict, no key, no note, and the exam's own red rows.
    QLabel* feedback = named<QLabel>(m_w->panel(), u"feedback"_s);
    const QuestionListModel* model = m_w->list()->questions();
    for (const QString& option : { u"Option1_1"_s, u"Option1_0"_s }) {
        for (int row = 1; row <= 3; ++row) {
            QVERIFY(m_w->clickRow(row));
            QVERIFY(m_w->click(option));
            QVERIFY(!feedback->isVisible());
            QVERIFY(!feedback->text().contains(u"标准答案"_s));
        }
    }
    for (int row = 0; row < model->rowCount(); ++row)
        QCOMPARE(model->data(model->index(row, 0), Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));

    QVERIFY(closesReport([this] { QVERIFY(m_w->click(u"XPButton2"_s)); }));
    // Six visits, each an attempt; ending the exam settled the last one (row 3, A).
    QCOMPARE(m_w->count(u"select count(*) from attempt where source='exam'"_s), 6);
    QCOMPARE(m_w->count(u"select count(*) from attempt where is_right=1"_s), 3);
    QCOMPARE(m_w->count(u"select answer='A' from attempt order by id desc limit 1"_s), 1);
    // Practice gets the box back as the candidate left it.
    QVERIFY(m_w->clickNode(u"第一节"_s));
    QVERIFY(box->isVisible());
    QVERIFY(box->isChecked());
    QVERIFY(m_w->clickRow(2)); // row 1 is the A3 question
    QVERIFY(m_w->click(u"Option1_1"_s));
    QVERIFY(feedback->isVisible());
}

void tst_ExamRun::treeAndToolbarAreRefused_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("a section node") << u"第一节"_s;
    QTest::newRow("the exam node") << u"模拟考场"_s;
    QTest::newRow("toolbar 模拟考场") << u"mlkc"_s;
    QTest::newRow("toolbar 帮助") << u"bz"_s;
}

void tst_ExamRun::treeAndToolbarAreRefused()
{
    QFETCH(QString, target);
    QVERIFY(startFromDialog());
    const QStringList rows = m_w->rowTexts();
    if (QToolButton* button = named<MainToolbar>(&m_w->window(), u"Toolbar1"_s)->button(target))
        QTest::mouseClick(button, Qt::LeftButton);
    else
        QVERIFY(m_w->clickNode(target));
    MainWindowDriver::checkOneBox(QMessageBox::Critical, u"操作提示"_s, ExamWarning);
    QVERIFY(m_w->session().isExamRunning());
    QVERIFY(side()->isVisible());
    QCOMPARE(m_w->rowTexts(), rows);
}

void tst_ExamRun::endingBringsPracticeBack()
{
    QVERIFY(m_w->clickNode(u"第一节"_s));
    QVERIFY(startFromDialog());
    QVERIFY(closesReport([this] { QVERIFY(m_w->click(u"XPButton2"_s)); }));
    // The graded paper left its result: six questions, none answered.
    QCOMPARE(m_w->count(
                 u"select count(*) from exam_result where questions=6 and unanswered_count=6 and score=0"_s),
        1);
    // The practice side panel and buttons are back; the welcome panel shows until the next node.
    QCOMPARE(mode(),
        QStringList({ u"0"_s, u"0"_s, u"1"_s, u"0"_s, u"1"_s, u"1"_s, u"1"_s, u"1"_s, u"0"_s, u"0"_s }));
    QVERIFY(!named<QToolButton>(&m_w->window(), u"sc"_s)->isEnabled());
    QCOMPARE(named<QLabel>(m_w->panel(), u"Label2"_s)->text(), u"模拟考试"_s);
    // The paper stays for the grading; practice is on the bank again.
    QCOMPARE(m_w->count(u"select count(*) from kstk"_s), 6);
    QVERIFY(m_w->clickNode(u"第一节"_s));
    QVERIFY(m_w->panel()->isVisible());
    QCOMPARE(m_w->rowTexts().size(), 5);
    QCOMPARE(m_w->session().currentQuestion().number, u"5"_s);
}

void tst_ExamRun::reportSetsTheScoreBesideTheForecast()
{
    QVERIFY(m_w->clickNode(u"第一节"_s));
    QVERIFY(startFromDialog());
    // Kept when the paper was drawn, before any answer: nothing practised, so every question
    // is at even odds, and the pass line is 60 % of the paper's points.
    QCOMPARE(m_w->count(u"select count(*) from exam_forecast where result_id is null"_s), 1);
    const int full = m_w->count(u"select count(*) from kstk where 题型='单选'"_s)
        + 2 * m_w->count(u"select count(*) from kstk where 题型='多选'"_s);
    QCOMPARE(
        m_w->count(u"select count(*) from exam_forecast where abs(expected - ?) < 1e-9 and pass_line = ?"_s,
            { full / 2.0, (full * 60 + 99) / 100 }),
        1);
    QString line;
    QVERIFY(MainWindowDriver::runModal([this] { QVERIFY(m_w->click(u"XPButton2"_s)); },
        [&line](QDialog* d) {
            if (auto* label = d->findChild<QLabel*>(u"forecastLine"_s))
                line = label->text();
        }));
    QVERIFY2(line.startsWith(u"本次得分 0 / 考前预计 %1"_s.arg(full / 2.0, 0, 'f', 1)), qPrintable(line));
    // Joined to its result, for the check of the forecasts in the progress window.
    QCOMPARE(
        m_w->count(u"select count(*) from exam_forecast f join exam_result e on e.id = f.result_id"_s), 1);
}

void tst_ExamRun::timeUpEndsTheExamOnce()
{
    QVERIFY(startFromDialog(u"1"_s));
    ExamRun* run = m_w->window().examRun();
    for (int tick = 0; tick < 59; ++tick)
        run->Timer3_Timer();
    QCOMPARE(named<DigitDisplay>(side(), u"yysj"_s)->text(), u"000"_s);
    QVERIFY(m_w->session().isExamRunning());
    QVERIFY(MessageBox::takeShown().isEmpty());
    QVERIFY(closesReport([run] { run->Timer3_Timer(); }));
    MainWindowDriver::checkOneBox(
        QMessageBox::Information, u"信息提示"_s, u"本次考试时间已到，请你查看考试成绩！"_s);
    QCOMPARE(named<DigitDisplay>(side(), u"yysj"_s)->text(), u"001"_s);
    QVERIFY(!m_w->session().isExamRunning());
    QVERIFY(!named<QTimer>(side(), u"Timer3"_s)->isActive());
    // A tick already queued changes nothing more.
    run->Timer3_Timer();
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void tst_ExamRun::endingOneSecondEarlyTellsNothing()
{
    QVERIFY(startFromDialog(u"1"_s));
    ExamRun* run = m_w->window().examRun();
    for (int tick = 0; tick < 59; ++tick)
        run->Timer3_Timer();
    QVERIFY(closesReport([this] { QVERIFY(m_w->click(u"XPButton2"_s)); }));
    run->Timer3_Timer();
    QVERIFY(MessageBox::takeShown().isEmpty());
    QVERIFY(!m_w->session().isExamRunning());
}

void tst_ExamRun::secondExamStartsAtZero()
{
    QVERIFY(startFromDialog(u"60"_s));
    ExamRun* run = m_w->window().examRun();
    for (int tick = 0; tick < 150; ++tick)
        run->Timer3_Timer();
    QCOMPARE(named<DigitDisplay>(side(), u"yysj"_s)->text(), u"002"_s);
    QVERIFY(closesReport([this] { QVERIFY(m_w->click(u"XPButton2"_s)); }));
    QVERIFY(startFromDialog(u"3"_s));
    QCOMPARE(named<DigitDisplay>(side(), u"yysj"_s)->text(), u"000"_s);
    QCOMPARE(named<DigitDisplay>(side(), u"kssj"_s)->text(), u"003"_s);
    for (int tick = 0; tick < 179; ++tick)
        run->Timer3_Timer();
    QVERIFY(m_w->session().isExamRunning());
    QVERIFY(closesReport([run] { run->Timer3_Timer(); }));
    MainWindowDriver::checkOneBox(
        QMessageBox::Information, u"信息提示"_s, u"本次考试时间已到，请你查看考试成绩！"_s);
    QVERIFY(!m_w->session().isExamRunning());
}

void tst_ExamRun::emptyPaperIsTold()
{
    QVERIFY(startFromDialog(u"60"_s, u"*"_s));
    MainWindowDriver::checkOneBox(QMessageBox::NoIcon, QCoreApplication::applicationName(),
        u"请点击右侧<查看答案>按钮即可显示试题！"_s);
    QCOMPARE(m_w->list()->rowCount(), 0);
    QCOMPARE(mode().mid(0, 4), QStringList({ u"1"_s, u"1"_s, u"0"_s, u"1"_s }));
    QVERIFY(named<QTimer>(side(), u"Timer3"_s)->isActive());
}

void tst_ExamRun::rangeAndAnswerColumns()
{
    QVERIFY(startFromDialog());
    QVERIFY(m_w->clickRow(1));
    MainWindowDriver::click(m_w->answers()->findChild<QAbstractButton*>(u"Option1_0"_s));
    const QString answered = m_w->session().currentQuestion().number;

    QVERIFY(m_w->click(u"XPButton3"_s));
    QCOMPARE(named<XPButton>(side(), u"XPButton3"_s)->caption(), u"隐藏答案"_s);
    QVERIFY(m_w->list()->columnWidthPx(4) > 0);
    QVERIFY(m_w->list()->columnWidthPx(7) > 0);
    QCOMPARE(m_w->rowTexts().size(), 6);

    QVERIFY(MainWindowDriver::chooseItem(named<QComboBox>(side(), u"Combo2"_s), u"已做过题"_s));
    QCOMPARE(m_w->column(QuestionListModel::QuestionNo), QStringList { answered });
    QVERIFY(MainWindowDriver::chooseItem(named<QComboBox>(side(), u"Combo2"_s), u"未做过题"_s));
    QCOMPARE(m_w->rowTexts().size(), 5);
    QVERIFY(!m_w->column(QuestionListModel::QuestionNo).contains(answered));

    QVERIFY(m_w->click(u"XPButton3"_s));
    QCOMPARE(named<XPButton>(side(), u"XPButton3"_s)->caption(), u"查看答案"_s);
    QCOMPARE(m_w->list()->columnWidthPx(4), 0.0);
    QCOMPARE(m_w->rowTexts().size(), 5); // the range chosen holds

    // The next exam lists the whole paper with the answers hidden, the range back at the start.
    MainWindowDriver::click(named<XPButton>(side(), u"XPButton3"_s));
    QVERIFY(closesReport([this] { QVERIFY(m_w->click(u"XPButton2"_s)); }));
    QVERIFY(startFromDialog());
    QCOMPARE(named<QComboBox>(side(), u"Combo2"_s)->currentText(), u"全部题目"_s);
    QCOMPARE(m_w->list()->columnWidthPx(4), 0.0);
    QCOMPARE(named<XPButton>(side(), u"XPButton3"_s)->caption(), u"隐藏答案"_s);
}

void tst_ExamRun::toolbarOpensTheSettings()
{
    QString opened;
    QVERIFY(MainWindowDriver::runModal(
        [this] {
            QTest::mouseClick(
                named<MainToolbar>(&m_w->window(), u"Toolbar1"_s)->button(u"mlkc"_s), Qt::LeftButton);
        },
        [&](QDialog* dialog) {
            opened = dialog->objectName();
            MainWindowDriver::click(named<XPButton>(dialog, u"XPButton2"_s));
        }));
    QCOMPARE(opened, u"mlks"_s);
    QVERIFY(!m_w->session().isExamRunning());
}

void tst_ExamRun::stopwatch()
{
    QVERIFY(m_w->clickNode(u"第一节"_s));
    PracticeSidePanel* frame3 = named<PracticeSidePanel>(m_w->panel(), u"Frame3"_s);
    QCOMPARE(named<XPButton>(frame3, u"XPButton1"_s)->caption(), u"开始计时"_s);
    QCOMPARE(named<XPButton>(frame3, u"XPButton1"_s)->myToolTip(), u"启动计时器"_s);
    QCOMPARE(m_w->child<QLabel>(u"Label10"_s)->text(), u"已用时间"_s);
    QVERIFY(m_w->click(u"XPButton1"_s));
    QCOMPARE(named<DigitDisplay>(frame3, u"dg1"_s)->text(), u"0000"_s);
    QCOMPARE(named<DigitDisplay>(frame3, u"dg2"_s)->text(), u"000"_s);
    QVERIFY(named<QTimer>(frame3, u"Timer1"_s)->isActive());
    for (int tick = 0; tick < 61; ++tick)
        frame3->Timer1_Timer();
    QCOMPARE(named<DigitDisplay>(frame3, u"dg1"_s)->text(), u"0061"_s);
    QCOMPARE(named<DigitDisplay>(frame3, u"dg2"_s)->text(), u"001"_s);
    // Again from zero.
    QVERIFY(m_w->click(u"XPButton1"_s));
    QCOMPARE(named<DigitDisplay>(frame3, u"dg1"_s)->text(), u"0000"_s);
    frame3->Timer1_Timer();
    QVERIFY(m_w->clickNode(u"第二节"_s));
    QVERIFY(!named<QTimer>(frame3, u"Timer1"_s)->isActive());
    QCOMPARE(named<DigitDisplay>(frame3, u"dg1"_s)->text(), u"0000"_s);
}

QTEST_MAIN(tst_ExamRun)
#include "tst_ExamRun.moc"
