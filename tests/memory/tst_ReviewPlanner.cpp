#include "memory/ReviewPlanner.h"

#include <QTest>

#include <cmath>
#include <map>

namespace {

const MemoryParameters Defaults = MemoryParameters::defaults();

// Answered right for the first time on @p day: S 3.173, recall below 90 % from four days on.
QuestionMemory firstRightOn(qint64 day)
{
    return { MemoryModel::first(Defaults, Grade::Good), day };
}

ReviewPlanner::PlanOptions options(int cap, double reviewRecall = 0.9)
{
    ReviewPlanner::PlanOptions options;
    options.examRecall = 0.9;
    options.reviewRecall = reviewRecall;
    options.dailyCap = cap;
    return options;
}

using DayPlan = std::map<int, std::vector<int>>;

// The days of @p plan that have reviews, by their index from its first day.
DayPlan busyDays(const ExamPlan& plan)
{
    DayPlan days;
    for (size_t i = 0; i < plan.days.size(); ++i)
        if (!plan.days[i].empty())
            days[int(i)] = plan.days[i];
    return days;
}

QByteArray describe(const DayPlan& days)
{
    QByteArray text;
    for (const auto& [day, questions] : days) {
        text += QByteArray::number(day) + ":";
        for (int q : questions)
            text += " " + QByteArray::number(q);
        text += "; ";
    }
    return text;
}

// A spread of practised questions, steady enough (S ≥ 1) that a successful review the day
// before the exam always holds them at 90 %.
std::vector<QuestionMemory> spread(int count, qint64 today)
{
    std::vector<QuestionMemory> questions;
    for (int q = 0; q < count; ++q) {
        const double stability = 1.0 + (q * 37 % 101) * 0.6;
        const double difficulty = 1.0 + (q * 13 % 10);
        questions.push_back({ { stability, difficulty }, today - (q * 7 % 40) });
    }
    return questions;
}

} // namespace

Q_DECLARE_METATYPE(DayPlan)

class tst_ReviewPlanner : public QObject
{
    Q_OBJECT

private slots:
    void dueTodayLowestRecallFirst_data();
    void dueTodayLowestRecallFirst();
    void smallPlan_data();
    void smallPlan();
    void everyQuestionMeetsTheTargetWhereTheCapAllows_data();
    void everyQuestionMeetsTheTargetWhereTheCapAllows();
    void overflowMovesToEarlierDays();
    void overflowBeyondTheCapWaitsMostUrgentFirst();
    void noDaysLeft();
};

void tst_ReviewPlanner::dueTodayLowestRecallFirst_data()
{
    QTest::addColumn<double>("target");
    QTest::addColumn<int>("cap");
    QTest::addColumn<std::vector<int>>("due");
    // Last seen 2, 4, 3, 10, 0 and 6 days before today: the fourth is oldest, then the
    // sixth; the third is due from four days on only, the last was seen today.
    QTest::newRow("below 90 %") << 0.9 << 10 << std::vector<int> { 3, 5, 1 };
    QTest::newRow("the cap keeps the lowest") << 0.9 << 2 << std::vector<int> { 3, 5 };
    QTest::newRow("a lower target asks less") << 0.8 << 10 << std::vector<int> { 3 };
    QTest::newRow("no cap, nothing") << 0.9 << 0 << std::vector<int> {};
}

void tst_ReviewPlanner::dueTodayLowestRecallFirst()
{
    QFETCH(double, target);
    QFETCH(int, cap);
    QFETCH(std::vector<int>, due);
    const qint64 today = 100;
    const std::vector<QuestionMemory> questions { firstRightOn(today - 2), firstRightOn(today - 4),
        firstRightOn(today - 3), firstRightOn(today - 10), firstRightOn(today), firstRightOn(today - 6) };
    QCOMPARE(ReviewPlanner::dueToday(questions, today, target, cap), due);
}

// Three questions first answered right on day 0 fall below 90 % on day 4; a fourth, first
// right on day 8, would be due on the exam day 12 itself. Planned from day 1:
// - cap 3: the three on day 4 (elapsed 4: S becomes 12.949931, exam-day recall
//   R(8) = 0.934576); the fourth the day before the exam (elapsed 3: S 10.738926, R(1) =
//   0.989254).
// - cap 1: day 4 cannot take three, so the days before take one each: question 0 on day 2
//   (S 8.384375; below 90 % nine days on, day 11), question 1 on day 3 (S 10.738926,
//   R(9) on the exam day = 0.914173), question 2 on day 4. Day 11 then holds questions 0 and
//   3; question 0, the lower recall on day 10 (0.903945 against 0.933377), moves there
//   (S 26.367485, R(2) = 0.991221).
void tst_ReviewPlanner::smallPlan_data()
{
    QTest::addColumn<int>("cap");
    QTest::addColumn<DayPlan>("days");
    QTest::addColumn<double>("meanRecall");
    QTest::newRow("cap 3") << 3 << DayPlan { { 3, { 0, 1, 2 } }, { 10, { 3 } } }
                           << (3 * 0.934576 + 0.989254) / 4;
    QTest::newRow("cap 1") << 1
                           << DayPlan { { 1, { 0 } }, { 2, { 1 } }, { 3, { 2 } }, { 9, { 0 } },
                                  { 10, { 3 } } }
                           << (0.991221 + 0.914173 + 0.934576 + 0.989254) / 4;
}

void tst_ReviewPlanner::smallPlan()
{
    QFETCH(int, cap);
    QFETCH(DayPlan, days);
    QFETCH(double, meanRecall);
    const std::vector<QuestionMemory> questions { firstRightOn(0), firstRightOn(0), firstRightOn(0),
        firstRightOn(8) };
    const ExamPlan plan = ReviewPlanner::examPlan(Defaults, questions, 1, 12, options(cap));
    QCOMPARE(plan.firstDay, qint64(1));
    QCOMPARE(int(plan.days.size()), 11);
    QVERIFY2(busyDays(plan) == days, describe(busyDays(plan)).constData());
    QCOMPARE(plan.shareAtTarget, 1.0);
    QVERIFY(std::abs(plan.meanRecall - meanRecall) < 1e-5);
}

void tst_ReviewPlanner::everyQuestionMeetsTheTargetWhereTheCapAllows_data()
{
    QTest::addColumn<double>("reviewRecall");
    QTest::newRow("reviews at the exam's target") << 0.9;
    QTest::newRow("reviews spaced to 80 %") << 0.8;
    QTest::newRow("reviews spaced to 60 %") << 0.6;
}

// With room enough, every question is reviewed only when its recall is below the review
// target, or the day before the exam when it would be below the exam's target on the day;
// and all of them reach the exam at that target.
void tst_ReviewPlanner::everyQuestionMeetsTheTargetWhereTheCapAllows()
{
    QFETCH(double, reviewRecall);
    const qint64 today = 500;
    const qint64 exam = today + 45;
    const double target = 0.9;
    std::vector<QuestionMemory> questions = spread(400, today);
    const ExamPlan plan
        = ReviewPlanner::examPlan(Defaults, questions, today, exam, options(400, reviewRecall));
    QCOMPARE(int(plan.days.size()), 45);
    QCOMPARE(plan.shareAtTarget, 1.0);
    int reviews = 0;
    double recallSum = 0;
    for (size_t i = 0; i < plan.days.size(); ++i) {
        const qint64 day = today + qint64(i);
        for (int q : plan.days[i]) {
            QuestionMemory& memory = questions[size_t(q)];
            const bool below = MemoryModel::recall(memory.state, double(day - memory.lastDay)) < reviewRecall;
            const bool rescue = day == exam - 1
                && MemoryModel::recall(memory.state, double(exam - memory.lastDay)) < target;
            QVERIFY2(below || rescue,
                QByteArray(QByteArray::number(q) + " on day " + QByteArray::number(int(i))).constData());
            memory.state
                = MemoryModel::next(Defaults, memory.state, double(day - memory.lastDay), Grade::Good);
            memory.lastDay = day;
            ++reviews;
        }
    }
    QCOMPARE(plan.reviews(), reviews);
    QVERIFY(reviews > 0);
    for (const QuestionMemory& memory : questions) {
        const double recall = MemoryModel::recall(memory.state, double(exam - memory.lastDay));
        QVERIFY(recall >= target);
        recallSum += recall;
    }
    QVERIFY(std::abs(plan.meanRecall - recallSum / double(questions.size())) < 1e-12);
}

// Fifty questions all due on day 5 (index 4), ten a day: the days before take what day 5
// cannot, so each is reviewed by its due day and none waits.
void tst_ReviewPlanner::overflowMovesToEarlierDays()
{
    const std::vector<QuestionMemory> questions(50, firstRightOn(1));
    const ExamPlan plan = ReviewPlanner::examPlan(Defaults, questions, 1, 40, options(10));
    std::vector<int> firstReview(questions.size(), -1);
    for (size_t i = 0; i < plan.days.size(); ++i) {
        QVERIFY(plan.days[i].size() <= 10);
        for (int q : plan.days[i])
            if (firstReview[size_t(q)] < 0)
                firstReview[size_t(q)] = int(i);
    }
    for (int i = 0; i < 5; ++i)
        QCOMPARE(int(plan.days[size_t(i)].size()), 10);
    for (int day : firstReview)
        QVERIFY(day >= 0 && day <= 4);
    QCOMPARE(plan.shareAtTarget, 1.0);
}

// Two hundred questions, all due already, ten a day for five days: what does not fit waits,
// the lowest recall goes first, and the plan says how many miss the target.
void tst_ReviewPlanner::overflowBeyondTheCapWaitsMostUrgentFirst()
{
    const qint64 today = 30;
    std::vector<QuestionMemory> questions;
    questions.reserve(200);
    for (int q = 0; q < 200; ++q)
        questions.push_back(firstRightOn(today - 5 - q % 20));
    const ExamPlan plan = ReviewPlanner::examPlan(Defaults, questions, today, today + 5, options(10));
    QCOMPARE(plan.reviews(), 50);
    for (const std::vector<int>& day : plan.days)
        QCOMPARE(int(day.size()), 10);
    // The first day takes the ten seen longest ago (24 days), lowest index first on a tie.
    QCOMPARE(plan.days[0], (std::vector<int> { 19, 39, 59, 79, 99, 119, 139, 159, 179, 199 }));
    QVERIFY(plan.shareAtTarget <= 50.0 / 200.0);
    QVERIFY(plan.shareAtTarget > 0);
}

void tst_ReviewPlanner::noDaysLeft()
{
    const std::vector<QuestionMemory> questions { firstRightOn(0), firstRightOn(9) };
    const ExamPlan plan = ReviewPlanner::examPlan(Defaults, questions, 10, 10, options(10));
    QVERIFY(plan.days.empty());
    QCOMPARE(plan.reviews(), 0);
    QCOMPARE(plan.shareAtTarget, 0.5);
    QVERIFY(
        std::abs(plan.meanRecall
            - (MemoryModel::recall(questions[0].state, 10) + MemoryModel::recall(questions[1].state, 1)) / 2)
        < 1e-12);
}

QTEST_GUILESS_MAIN(tst_ReviewPlanner)
#include "tst_ReviewPlanner.moc"
