#include "Named.h"
#include "TestBank.h"
#include "TestFolders.h"

#include "data/QuestionStore.h"
#include "data/Settings.h"
#include "progress/ui/ForecastPage.h"
#include "progress/ui/ProgressWindow.h"
#include "progress/ui/WeakSpotsPage.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// The progress window's "预计得分" and "薄弱环节": the expected score and pass chance of the
// settings' paper with the pass line to set, the check of the forecasts against the graded
// exams, and the weak spots with their buttons.
class tst_ProgressForecast : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void expectedScoreAndPassLine();
    void ownExamsCheckTheForecast();
    void weakSpotAsksForItsSection();

private:
    void exam(int score, double passChance, int passLine);
    std::unique_ptr<TestFolders> m_folders;
    std::unique_ptr<TestBank> m_bank;
};

namespace {

const QDate Today(2026, 12, 11);

} // namespace

void tst_ProgressForecast::init()
{
    m_folders = std::make_unique<TestFolders>();
    m_bank = std::make_unique<TestBank>(m_folders->bankPath());
    m_bank->project(u"K"_s, u"证券基础"_s).subject(u"K01"_s, u"市场"_s).section(u"K0101"_s, u"第一节"_s);
    for (int n = 1; n <= 4; ++n)
        m_bank->question({ u"K0101"_s, n, u"单选"_s, u"A"_s });
    // A paper of the four, one point each.
    for (int slot = 0; slot < QuestionType::SlotCount; ++slot)
        QVERIFY(Settings::setQuestionCount(slot, slot == 0 ? 4 : 0));
    QVERIFY(Settings::setPoints(0, 1));
    // Two remembered for sure, first answered right and wrong: the other two at even odds.
    for (int n = 1; n <= 2; ++n)
        QVERIFY(m_bank->store()
                    .write(u"insert into review_schedule(代码, 题号, stage, due_day, stability, difficulty, "
                           "last_day, first_right) values('K0101', ?, 0, ?, 1000, 5, ?, ?)"_s,
                        { n, Today.toJulianDay() + 900, Today.toJulianDay(), n % 2 })
                    .isDone());
}

void tst_ProgressForecast::cleanup()
{
    m_bank.reset();
    m_folders.reset();
}

void tst_ProgressForecast::exam(int score, double passChance, int passLine)
{
    QuestionStore& store = m_bank->store();
    QVERIFY(store
                .write(u"insert into exam_result(finished_at, score, full_score, questions, right_count, "
                       "wrong_count, unanswered_count) values(?, ?, 100, 100, ?, ?, 0)"_s,
                    { QDateTime(Today, QTime(9, 0)).toSecsSinceEpoch(), score, score, 100 - score })
                .isDone());
    QVERIFY(store
                .write(u"insert into exam_forecast(result_id, expected, low, high, pass_line, pass_chance) "
                       "values((select max(id) from exam_result), 60, 50, 70, ?, ?)"_s,
                    { passLine, passChance })
                .isDone());
}

void tst_ProgressForecast::expectedScoreAndPassLine()
{
    ProgressWindow window(m_bank->store(), nullptr, Today);
    auto* tabs = named<QTabWidget>(&window, u"tabs"_s);
    QCOMPARE(tabs->tabText(4), u"预计得分"_s);
    // 2, 3 or 4 points with chances near 1/4, 1/2, 1/4; the two uncertain chances move
    // together, which spreads the ends a little.
    QCOMPARE(named<QLabel>(&window, u"expectedScore"_s)->text(), u"预计得分：3.0 分（2～4 分，满分 4 分）"_s);
    QCOMPARE(named<QLabel>(&window, u"passChance"_s)->text(), u"及格概率：74%（及格线 3 分）"_s);
    QCOMPARE(named<QLabel>(&window, u"paper"_s)->text(),
        u"试卷按“模拟考试设置”从全部章节抽取：单选 4 题×1 分。"_s);

    // The pass line is the candidate's, and remembered.
    named<QSpinBox>(&window, u"passPercent"_s)->setValue(100);
    QCOMPARE(Settings::passPercent(), 100);
    QCOMPARE(named<QLabel>(&window, u"passChance"_s)->text(), u"及格概率：26%（及格线 4 分）"_s);
    ProgressWindow again(m_bank->store(), nullptr, Today);
    QCOMPARE(named<QSpinBox>(&again, u"passPercent"_s)->value(), 100);
}

void tst_ProgressForecast::ownExamsCheckTheForecast()
{
    for (int k = 0; k < 4; ++k)
        exam(k < 3 ? 70 : 50, 0.75, 60);
    {
        ProgressWindow window(m_bank->store(), nullptr, Today);
        QCOMPARE(named<QLabel>(&window, u"calibration"_s)->text(),
            u"考满 5 次模拟考试后，这里会比较考前预计的及格概率和实际及格的次数（已有 4 次）。"_s);
        auto* table = named<QTableWidget>(&window, u"examForecasts"_s);
        QCOMPARE(table->rowCount(), 4);
        QCOMPARE(table->item(3, 3)->text(), u"50 / 100"_s);
        QCOMPARE(table->item(3, 4)->text(), u"未及格"_s);
    }
    exam(40, 0.15, 60);
    ProgressWindow window(m_bank->store(), nullptr, Today);
    QCOMPARE(named<QLabel>(&window, u"calibration"_s)->text(),
        u"考前预计与实际结果：\n预计及格概率 10%～20%：1 次，平均预计 15%，实际及格 0 次（0%）\n"
        "预计及格概率 70%～80%：4 次，平均预计 75%，实际及格 3 次（75%）"_s);
}

void tst_ProgressForecast::weakSpotAsksForItsSection()
{
    m_bank->section(u"K0102"_s, u"第二节"_s);
    for (int n = 1; n <= 4; ++n)
        m_bank->question({ u"K0102"_s, n, u"单选"_s, u"A"_s });
    ProgressWindow window(m_bank->store(), nullptr, Today);
    window.show();
    QSignalSpy asked(&window, &ProgressWindow::practiseRequested);
    auto* table = named<QTableWidget>(&window, u"weakSpots"_s);
    // K0102 is all unseen; K0101 half remembered: K0102 pays more.
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(0, 0)->text(), u"K0102 第二节"_s);
    QCOMPARE(table->item(1, 0)->text(), u"K0101 第一节"_s);
    qobject_cast<QPushButton*>(table->cellWidget(0, 6))->click();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().first().toString(), u"K0102"_s);
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(tst_ProgressForecast)
#include "tst_ProgressForecast.moc"
