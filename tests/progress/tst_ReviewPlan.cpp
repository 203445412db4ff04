#include "Named.h"
#include "TestBank.h"
#include "TestFolders.h"

#include "data/QuestionStore.h"
#include "data/Settings.h"
#include "progress/ReviewPlan.h"
#include "progress/ui/ProgressWindow.h"

#include <QDateEdit>
#include <QLabel>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

// The plan to the exam day over the practised questions' memory, the due days moved to a
// new target, and the tab of the progress window that sets and shows them.
class tst_ReviewPlan : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void planToTheExam_data();
    void planToTheExam();
    void retargetMovesTheDueDays();
    void tabSetsAndShowsThePlan();

private:
    // A question of K0101 practised: stability in days, last attempt @p daysAgo.
    void practised(int number, double stability, int daysAgo, bool withMemory = true);
    std::unique_ptr<TestFolders> m_folders;
    std::unique_ptr<TestBank> m_bank;
};

namespace {

const QDate Today(2026, 12, 11);

qint64 dueDay(QuestionStore& store, int number)
{
    return store.scalar(u"select due_day from review_schedule where 题号=?"_s, { number }).toLongLong();
}

} // namespace

void tst_ReviewPlan::init()
{
    m_folders = std::make_unique<TestFolders>();
    m_bank = std::make_unique<TestBank>(m_folders->bankPath());
    m_bank->project(u"K"_s, u"证券基础"_s).subject(u"K01"_s, u"市场"_s).section(u"K0101"_s, u"第一节"_s);
    for (int n = 1; n <= 6; ++n)
        m_bank->question({ u"K0101"_s, n, u"单选"_s, u"A"_s });
}

void tst_ReviewPlan::cleanup()
{
    m_bank.reset();
    m_folders.reset();
}

void tst_ReviewPlan::practised(int number, double stability, int daysAgo, bool withMemory)
{
    const qint64 last = Today.toJulianDay() - daysAgo;
    QVERIFY(
        m_bank->store()
            .write(
                u"insert into review_schedule(代码, 题号, stage, due_day, stability, difficulty, last_day) "
                "values('K0101', ?, 0, ?, ?, 5, ?)"_s,
                { number, last + 1, withMemory ? QVariant(stability) : QVariant(),
                    withMemory ? QVariant(last) : QVariant() })
            .isDone());
}

void tst_ReviewPlan::planToTheExam_data()
{
    QTest::addColumn<int>("examInDays"); // 0: no exam day
    QTest::addColumn<int>("cap");
    QTest::addColumn<int>("days"); // of the plan
    QTest::addColumn<bool>("allAtTarget");
    QTest::newRow("three weeks, room enough") << 21 << 200 << 21 << true;
    QTest::newRow("three days, one review a day: the cap holds") << 3 << 1 << 3 << false;
    QTest::newRow("no exam day") << 0 << 200 << 0 << false;
}

void tst_ReviewPlan::planToTheExam()
{
    QFETCH(int, examInDays);
    QFETCH(int, cap);
    QFETCH(int, days);
    QFETCH(bool, allAtTarget);
    // Five questions forgotten at once (stability of a wrong answer), one held for weeks;
    // a row the fixed intervals wrote is not the model's to plan.
    for (int n = 1; n <= 5; ++n)
        practised(n, 0.4, 0);
    practised(6, 3.17, 0, false);
    const QDate exam = examInDays > 0 ? Today.addDays(examInDays) : QDate();
    const ReviewPlan::Result plan = ReviewPlan::compute(m_bank->store(), Today, exam, 0.9, cap);
    QVERIFY2(plan.ok, qPrintable(plan.error));
    QCOMPARE(plan.practised, 5);
    QCOMPARE(plan.reviewsPerDay.size(), days);
    for (int reviews : plan.reviewsPerDay)
        QVERIFY(reviews <= cap);
    if (days == 0)
        return;
    // Due tomorrow: with room, nothing is planned for today; a full day moves reviews earlier.
    QCOMPARE(plan.reviewsPerDay.first() == 0, cap >= 5);
    QVERIFY(plan.reviews() >= std::min(5, cap * days) && plan.reviews() <= cap * days);
    QCOMPARE(plan.shareAtTarget == 1.0, allAtTarget);
    QVERIFY(plan.meanRecall > 0 && plan.meanRecall <= 1);
}

void tst_ReviewPlan::retargetMovesTheDueDays()
{
    // Stability 3.17 days: recall falls below 90 % on the fourth day, below 80 % after 7.6 days.
    practised(1, 3.17, 0);
    practised(2, 3.17, 0, false);
    QuestionStore& store = m_bank->store();
    const qint64 today = Today.toJulianDay();
    QVERIFY(ReviewPlan::retarget(store, 0.9, QDate()).isDone());
    QCOMPARE(dueDay(store, 1) - today, 4);
    QVERIFY(ReviewPlan::retarget(store, 0.8, QDate()).isDone());
    QCOMPARE(dueDay(store, 1) - today, 8);
    // Below the target on the exam day itself: due the day before; the day after is no matter.
    QVERIFY(ReviewPlan::retarget(store, 0.9, Today.addDays(4)).isDone());
    QCOMPARE(dueDay(store, 1) - today, 3);
    QVERIFY(ReviewPlan::retarget(store, 0.9, Today.addDays(3)).isDone());
    QCOMPARE(dueDay(store, 1) - today, 4);
    // The fixed intervals' row keeps its day.
    QCOMPARE(dueDay(store, 2) - today, 1);
}

void tst_ReviewPlan::tabSetsAndShowsThePlan()
{
    for (int n = 1; n <= 3; ++n)
        practised(n, 0.4, 0);
    ProgressWindow window(m_bank->store(), nullptr, Today);
    auto* tabs = named<QTabWidget>(&window, u"tabs"_s);
    QCOMPARE(tabs->tabText(3), u"复习计划"_s);
    auto* date = named<QDateEdit>(&window, u"examDate"_s);
    // No exam day yet: the box says so, and the page says what to do.
    QCOMPARE(date->text(), u"未设置"_s);
    QCOMPARE(named<QLabel>(named<QWidget>(&window, u"planTab"_s), u"empty"_s)->text(),
        ProgressWindow::noExamDateText());
    QVERIFY(named<QLabel>(&window, u"planSummary"_s)->text().isEmpty());

    date->setDate(Today.addDays(30));
    QCOMPARE(Settings::examDate(), Today.addDays(30));
    QCOMPARE(window.plan().reviewsPerDay.size(), 30);
    QVERIFY(
        named<QLabel>(&window, u"planSummary"_s)->text().startsWith(u"已练习 3 题，距考试还有 30 天。"_s));

    // A new target moves the stored due days.
    const qint64 before = dueDay(m_bank->store(), 1);
    named<QSpinBox>(&window, u"reviewTarget"_s)->setValue(75);
    QCOMPARE(Settings::reviewTarget(), 75);
    QVERIFY(dueDay(m_bank->store(), 1) > before);
    named<QSpinBox>(&window, u"reviewCap"_s)->setValue(50);
    QCOMPARE(Settings::reviewCap(), 50);
}

QTEST_MAIN(tst_ReviewPlan)
#include "tst_ReviewPlan.moc"
