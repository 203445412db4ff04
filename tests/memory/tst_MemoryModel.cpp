#include "memory/MemoryModel.h"

#include <QTest>

#include <cmath>

Q_DECLARE_METATYPE(Grade)

namespace {

bool near(double actual, double expected, double tolerance = 1e-5)
{
    return std::abs(actual - expected) <= tolerance;
}

QByteArray pair(double actual, double expected)
{
    return QByteArray::number(actual, 'g', 10) + " against " + QByteArray::number(expected, 'g', 10);
}

const MemoryParameters Defaults = MemoryParameters::defaults();

} // namespace

// The worked examples below are the published FSRS-5 formulas with the default weights
// w0 … w18 = 0.40255 1.18385 3.173 15.69105 7.1949 0.5345 1.4604 0.0046 1.54575 0.1192
// 1.01925 1.9395 0.11 0.29605 2.2698 0.2315 2.9898 0.51655 0.6621, worked out by hand.
class tst_MemoryModel : public QObject
{
    Q_OBJECT

private slots:
    void firstState_data();
    void firstState();
    void successAfterThreeDays();
    void lapseAfterThreeDays();
    void sameDay_data();
    void sameDay();
    void recallAtStabilityIsNinetyPercent_data();
    void recallAtStabilityIsNinetyPercent();
    void intervalIsWhereRecallMeetsTheTarget_data();
    void intervalIsWhereRecallMeetsTheTarget();
    void recallFallsWithTimeAndRisesWithStability();
    void betterGradesLeaveSteadierEasierMemories();
    void laterSuccessGrowsStabilityMore();
    void gradeOf_data();
    void gradeOf();
    void defaultsLieWithinTheRange();
};

void tst_MemoryModel::firstState_data()
{
    QTest::addColumn<Grade>("grade");
    QTest::addColumn<double>("stability");
    QTest::addColumn<double>("difficulty");
    // S0 = w[G-1]; D0 = w4 - e^(w5·(G-1)) + 1
    QTest::newRow("again: 7.1949 - e^0 + 1") << Grade::Again << 0.40255 << 7.1949;
    QTest::newRow("hard: 8.1949 - e^0.5345 (1.706595)") << Grade::Hard << 1.18385 << 6.488305;
    QTest::newRow("good: 8.1949 - e^1.069 (2.912466)") << Grade::Good << 3.173 << 5.282434;
    QTest::newRow("easy: 8.1949 - e^1.6035 (4.970398)") << Grade::Easy << 15.69105 << 3.224502;
}

void tst_MemoryModel::firstState()
{
    QFETCH(Grade, grade);
    QFETCH(double, stability);
    QFETCH(double, difficulty);
    const MemoryState state = MemoryModel::first(Defaults, grade);
    QVERIFY2(near(state.stability, stability), pair(state.stability, stability).constData());
    QVERIFY2(near(state.difficulty, difficulty), pair(state.difficulty, difficulty).constData());
}

// First Good (S 3.173, D 5.282434), right again three days later.
void tst_MemoryModel::successAfterThreeDays()
{
    const MemoryState before = MemoryModel::first(Defaults, Grade::Good);
    // R = (1 + 19/81 · 3/3.173)^-0.5 = 1.221779^-0.5 = 0.904698
    QVERIFY(near(MemoryModel::recall(before, 3), 0.904698));
    // S' = S · (1 + e^1.54575 · (11 - 5.282434) · 3.173^-0.1192 · (e^(1.01925 · 0.095302) - 1))
    //    = 3.173 · (1 + 4.691489 · 5.717566 · 0.871414 · 0.102011) = 10.738926
    // D' = 0.0046 · 3.224502 + 0.9954 · 5.282434 (Good moves nothing before reversion) = 5.272968
    const MemoryState after = MemoryModel::next(Defaults, before, 3, Grade::Good);
    QVERIFY2(near(after.stability, 10.738926), pair(after.stability, 10.738926).constData());
    QVERIFY2(near(after.difficulty, 5.272968), pair(after.difficulty, 5.272968).constData());
}

// The same, but wrong.
void tst_MemoryModel::lapseAfterThreeDays()
{
    const MemoryState before = MemoryModel::first(Defaults, Grade::Good);
    // S' = 1.9395 · 5.282434^-0.11 · ((3.173 + 1)^0.29605 - 1) · e^(2.2698 · 0.095302) = 1.055561,
    // below the cap of S / e^(0.51655 · 0.6621) = 2.253917
    // D' = 5.282434 + 2.9208 · (10 - 5.282434)/9, reverted: 0.0046 · 3.224502 + 0.9954 · 6.813442 = 6.796933
    const MemoryState after = MemoryModel::next(Defaults, before, 3, Grade::Again);
    QVERIFY2(near(after.stability, 1.055561), pair(after.stability, 1.055561).constData());
    QVERIFY2(near(after.difficulty, 6.796933), pair(after.difficulty, 6.796933).constData());
}

void tst_MemoryModel::sameDay_data()
{
    QTest::addColumn<double>("elapsed");
    QTest::addColumn<Grade>("grade");
    QTest::addColumn<double>("stability");
    // S' = S · e^(w17 · (G - 3 + w18)), from S = 3.173
    QTest::newRow("good: · e^(0.51655 · 0.6621)") << 0.0 << Grade::Good << 4.466858;
    QTest::newRow("again: · e^(0.51655 · -1.3379)") << 0.0 << Grade::Again << 1.589764;
    QTest::newRow("hours later is the same day") << 0.4 << Grade::Good << 4.466858;
}

void tst_MemoryModel::sameDay()
{
    QFETCH(double, elapsed);
    QFETCH(Grade, grade);
    QFETCH(double, stability);
    const MemoryState after
        = MemoryModel::next(Defaults, MemoryModel::first(Defaults, Grade::Good), elapsed, grade);
    QVERIFY2(near(after.stability, stability), pair(after.stability, stability).constData());
}

void tst_MemoryModel::recallAtStabilityIsNinetyPercent_data()
{
    QTest::addColumn<double>("stability");
    QTest::newRow("under a day") << 0.4;
    QTest::newRow("first good") << 3.173;
    QTest::newRow("months") << 120.0;
}

void tst_MemoryModel::recallAtStabilityIsNinetyPercent()
{
    QFETCH(double, stability);
    const MemoryState state { stability, 5 };
    QVERIFY(near(MemoryModel::recall(state, stability), 0.9, 1e-12));
    QVERIFY(near(MemoryModel::intervalDays(state, 0.9), stability, 1e-9));
    QCOMPARE(MemoryModel::recall(state, 0), 1.0);
}

void tst_MemoryModel::intervalIsWhereRecallMeetsTheTarget_data()
{
    QTest::addColumn<double>("target");
    QTest::addColumn<double>("interval");
    // I = S/(19/81) · (r^-2 - 1), for S = 10
    QTest::newRow("0.95: 42.63 · 0.108033") << 0.95 << 4.605628;
    QTest::newRow("0.8: 42.63 · 0.5625") << 0.8 << 23.980263;
    QTest::newRow("0.7: 42.63 · 1.040816") << 0.7 << 44.371643;
}

void tst_MemoryModel::intervalIsWhereRecallMeetsTheTarget()
{
    QFETCH(double, target);
    QFETCH(double, interval);
    const MemoryState state { 10, 5 };
    QVERIFY2(near(MemoryModel::intervalDays(state, target), interval),
        pair(MemoryModel::intervalDays(state, target), interval).constData());
    QVERIFY(near(MemoryModel::recall(state, interval), target));
}

void tst_MemoryModel::recallFallsWithTimeAndRisesWithStability()
{
    for (double stability : { 0.5, 3.0, 30.0 }) {
        double previous = 1.0;
        for (double days = 0.5; days < 400; days *= 1.7) {
            const double recall = MemoryModel::recall({ stability, 5 }, days);
            QVERIFY(recall < previous);
            QVERIFY(recall > 0);
            QVERIFY(MemoryModel::recall({ stability * 1.5, 5 }, days) > recall);
            previous = recall;
        }
    }
}

void tst_MemoryModel::betterGradesLeaveSteadierEasierMemories()
{
    for (double elapsed : { 1.0, 4.0, 20.0 }) {
        const MemoryState before { 5, 5 };
        const MemoryState again = MemoryModel::next(Defaults, before, elapsed, Grade::Again);
        const MemoryState hard = MemoryModel::next(Defaults, before, elapsed, Grade::Hard);
        const MemoryState good = MemoryModel::next(Defaults, before, elapsed, Grade::Good);
        const MemoryState easy = MemoryModel::next(Defaults, before, elapsed, Grade::Easy);
        QVERIFY(again.stability < before.stability);
        QVERIFY(before.stability < hard.stability);
        QVERIFY(hard.stability < good.stability);
        QVERIFY(good.stability < easy.stability);
        QVERIFY(again.difficulty > hard.difficulty);
        QVERIFY(hard.difficulty > good.difficulty);
        QVERIFY(good.difficulty > easy.difficulty);
        QVERIFY(again.difficulty <= 10);
        QVERIFY(easy.difficulty >= 1);
    }
}

// The lower recall was at a success, the more it steadies the memory.
void tst_MemoryModel::laterSuccessGrowsStabilityMore()
{
    const MemoryState before = MemoryModel::first(Defaults, Grade::Good);
    double previous = before.stability;
    for (double elapsed : { 1.0, 2.0, 5.0, 10.0, 30.0 }) {
        const double stability = MemoryModel::next(Defaults, before, elapsed, Grade::Good).stability;
        QVERIFY(stability > previous);
        previous = stability;
    }
}

void tst_MemoryModel::gradeOf_data()
{
    QTest::addColumn<bool>("right");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<double>("median");
    QTest::addColumn<Grade>("grade");
    QTest::newRow("wrong, however quick") << false << 3.0 << 30.0 << Grade::Again;
    QTest::newRow("right at the median") << true << 30.0 << 30.0 << Grade::Good;
    QTest::newRow("right, twice the median") << true << 60.0 << 30.0 << Grade::Good;
    QTest::newRow("right, slower than twice") << true << 61.0 << 30.0 << Grade::Hard;
    QTest::newRow("right, half the median") << true << 15.0 << 30.0 << Grade::Good;
    QTest::newRow("right, quicker than half") << true << 14.0 << 30.0 << Grade::Easy;
    QTest::newRow("right, no median yet") << true << 5.0 << 0.0 << Grade::Good;
    QTest::newRow("right, no time") << true << 0.0 << 30.0 << Grade::Good;
}

void tst_MemoryModel::gradeOf()
{
    QFETCH(bool, right);
    QFETCH(double, seconds);
    QFETCH(double, median);
    QFETCH(Grade, grade);
    QCOMPARE(::gradeOf(right, seconds, median), grade);
    QCOMPARE(::gradeOf(right), right ? Grade::Good : Grade::Again);
}

void tst_MemoryModel::defaultsLieWithinTheRange()
{
    QCOMPARE(Defaults.clamped(), Defaults);
    MemoryParameters wild = Defaults;
    wild.w[7] = 3;
    wild.w[9] = -1;
    const MemoryParameters clamped = wild.clamped();
    QCOMPARE(clamped.w[7], MemoryParameters::highest().w[7]);
    QCOMPARE(clamped.w[9], MemoryParameters::lowest().w[9]);
}

QTEST_GUILESS_MAIN(tst_MemoryModel)
#include "tst_MemoryModel.moc"
