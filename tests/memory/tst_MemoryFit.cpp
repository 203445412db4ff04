#include "memory/MemoryFit.h"

#include <QTest>

#include <cmath>
#include <random>

namespace {

// A candidate who forgets by the model with @p truth: each question is first tried on a
// day of the first month, then again after gaps that aim at recall between 60 and 95 %,
// each outcome drawn from the true recall.
std::vector<AttemptHistory> simulate(const MemoryParameters& truth, int questions, quint32 seed)
{
    std::mt19937_64 random(seed);
    const auto uniform = [&] { return double(random() >> 11) * 0x1.0p-53; };
    auto histories = std::vector<AttemptHistory>(size_t(questions));
    for (AttemptHistory& history : histories) {
        double day = std::floor(uniform() * 30);
        bool right = uniform() < 0.6;
        history.emplace_back(day, right);
        MemoryState state = MemoryModel::first(truth, gradeOf(right));
        const int attempts = 3 + int(uniform() * 6);
        for (int k = 1; k < attempts; ++k) {
            const double gap
                = std::max(1.0, std::round(MemoryModel::intervalDays(state, 0.6 + 0.35 * uniform())));
            day += gap;
            right = uniform() < MemoryModel::recall(state, gap);
            history.emplace_back(day, right);
            state = MemoryModel::next(truth, state, gap, gradeOf(right));
        }
    }
    return histories;
}

int attemptCount(const std::vector<AttemptHistory>& histories)
{
    int count = 0;
    for (const AttemptHistory& history : histories)
        count += int(history.size());
    return count;
}

// Forgets faster at first and gains less from each success than the defaults say.
MemoryParameters slowLearner()
{
    MemoryParameters truth = MemoryParameters::defaults();
    truth.w[0] = 0.15;
    truth.w[2] = 1.0;
    truth.w[8] = 1.0;
    truth.w[9] = 0.3;
    truth.w[11] = 1.0;
    return truth;
}

} // namespace

class tst_MemoryFit : public QObject
{
    Q_OBJECT

private slots:
    void fitPredictsHeldOutAttemptsBetter();
    void tooFewAttemptsKeepTheDefaults_data();
    void tooFewAttemptsKeepTheDefaults();
    void fitOnTheDefaultsOwnCandidateStaysNearThem();
    void evaluationByHand();
    void evaluationFromADayStartsFromTheEarlierState();
    void replayFollowsTheAttempts();
    void recallShiftMatchesTheReviews();
};

void tst_MemoryFit::fitPredictsHeldOutAttemptsBetter()
{
    const MemoryParameters truth = slowLearner();
    const std::vector<AttemptHistory> training = simulate(truth, 3000, 1);
    const std::vector<AttemptHistory> heldOut = simulate(truth, 2000, 2);
    const FitResult result = MemoryFit::fit(training);
    QVERIFY(result.fitted);
    QCOMPARE(result.attempts, attemptCount(training));
    QVERIFY(result.logLossAfter < result.logLossBefore);
    QCOMPARE(result.parameters.clamped(), result.parameters);

    const double withDefaults = MemoryFit::evaluate(MemoryParameters::defaults(), heldOut).logLoss;
    const double withFit = MemoryFit::evaluate(result.parameters, heldOut).logLoss;
    const double withTruth = MemoryFit::evaluate(truth, heldOut).logLoss;
    const QByteArray losses = QByteArray::number(withDefaults) + " defaults, " + QByteArray::number(withFit)
        + " fitted, " + QByteArray::number(withTruth) + " true";
    QVERIFY2(withFit < withDefaults - 0.01, losses.constData());
    // Most of the way from the defaults to the truth.
    QVERIFY2(withFit - withTruth < 0.25 * (withDefaults - withTruth), losses.constData());
}

void tst_MemoryFit::tooFewAttemptsKeepTheDefaults_data()
{
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("minAttempts");
    QTest::newRow("a few questions, the usual threshold") << 150 << 1000;
    QTest::newRow("many questions, a higher threshold") << 3000 << 100000;
    QTest::newRow("nothing at all") << 0 << 1;
}

void tst_MemoryFit::tooFewAttemptsKeepTheDefaults()
{
    QFETCH(int, questions);
    QFETCH(int, minAttempts);
    const std::vector<AttemptHistory> histories = simulate(slowLearner(), questions, 3);
    QVERIFY(attemptCount(histories) < minAttempts);
    FitOptions options;
    options.minAttempts = minAttempts;
    const FitResult result = MemoryFit::fit(histories, options);
    QVERIFY(!result.fitted);
    QCOMPARE(result.parameters, MemoryParameters::defaults());
    QCOMPARE(result.attempts, attemptCount(histories));
}

// Just over the threshold, the pull towards the defaults holds the weights where they are
// when the defaults are the truth.
void tst_MemoryFit::fitOnTheDefaultsOwnCandidateStaysNearThem()
{
    const MemoryParameters defaults = MemoryParameters::defaults();
    const std::vector<AttemptHistory> histories = simulate(defaults, 250, 4);
    QVERIFY(attemptCount(histories) >= 1000);
    const FitResult result = MemoryFit::fit(histories);
    QVERIFY(result.fitted);
    for (size_t i = 0; i < defaults.w.size(); ++i)
        QVERIFY2(std::abs(result.parameters.w[i] - defaults.w[i])
                <= 0.25 * std::max(std::abs(defaults.w[i]), 0.04),
            QByteArray(QByteArray::number(int(i)) + ": " + QByteArray::number(result.parameters.w[i]))
                .constData());
}

// Two questions first answered right (S 3.173), then ten days later, one right and one
// wrong: R = (1 + 19/81 · 10/3.173)^-0.5 = 0.758259 for both.
void tst_MemoryFit::evaluationByHand()
{
    const std::vector<AttemptHistory> histories { { { 0, true }, { 10, true } },
        { { 5, true }, { 15, false } },
        // Not predicted: the first attempt, and the one on the same day.
        { { 3, false }, { 3, true } } };
    const Evaluation evaluation = MemoryFit::evaluate(MemoryParameters::defaults(), histories, -1e9, 4);
    QCOMPARE(evaluation.reviews, 2);
    // (-ln 0.758259 - ln 0.241741) / 2
    QVERIFY(std::abs(evaluation.logLoss - 0.848309) < 1e-5);
    QCOMPARE(int(evaluation.calibration.size()), 4);
    const CalibrationBin& bin = evaluation.calibration[3];
    QCOMPARE(bin.low, 0.75);
    QCOMPARE(bin.high, 1.0);
    QCOMPARE(bin.count, 2);
    QVERIFY(std::abs(bin.meanPredicted - 0.758259) < 1e-5);
    QCOMPARE(bin.observedRate, 0.5);
    for (int b = 0; b < 3; ++b)
        QCOMPARE(evaluation.calibration[size_t(b)].count, 0);
}

void tst_MemoryFit::evaluationFromADayStartsFromTheEarlierState()
{
    const MemoryParameters defaults = MemoryParameters::defaults();
    const AttemptHistory history { { 0, true }, { 5, false }, { 12, true } };
    const Evaluation evaluation = MemoryFit::evaluate(defaults, { history }, 6);
    QCOMPARE(evaluation.reviews, 1);
    const MemoryState beforeLast = MemoryFit::replay(defaults, { history[0], history[1] });
    QVERIFY(std::abs(evaluation.logLoss + std::log(MemoryModel::recall(beforeLast, 7))) < 1e-12);
}

void tst_MemoryFit::replayFollowsTheAttempts()
{
    const MemoryParameters defaults = MemoryParameters::defaults();
    const AttemptHistory history { { 0, Grade::Good }, { 0, Grade::Again }, { 2, Grade::Hard },
        { 9.5, Grade::Easy } };
    MemoryState expected = MemoryModel::first(defaults, Grade::Good);
    expected = MemoryModel::next(defaults, expected, 0, Grade::Again);
    expected = MemoryModel::next(defaults, expected, 2, Grade::Hard);
    expected = MemoryModel::next(defaults, expected, 7.5, Grade::Easy);
    const MemoryState replayed = MemoryFit::replay(defaults, history);
    QCOMPARE(replayed.stability, expected.stability);
    QCOMPARE(replayed.difficulty, expected.difficulty);
    QCOMPARE(MemoryFit::replay(defaults, {}).stability, 0.0);
}

QTEST_GUILESS_MAIN(tst_MemoryFit)
void tst_MemoryFit::recallShiftMatchesTheReviews()
{
    const MemoryParameters defaults = MemoryParameters::defaults();
    QCOMPARE(MemoryFit::recallShift(defaults, {}), 0.0);
    QCOMPARE(MemoryFit::recallShift(defaults, { { Attempt(0, true) } }), 0.0); // no review

    // Every review forgotten: as far down as the shift goes.
    QCOMPARE(MemoryFit::recallShift(defaults, { { Attempt(0, true), Attempt(3, false), Attempt(5, false) } }),
        -3.0);

    // A candidate who forgets faster than the defaults say leans down; with the shift, the
    // predictions add up to the reviews answered right.
    const std::vector<AttemptHistory> histories = simulate(slowLearner(), 3000, 3);
    const double shift = MemoryFit::recallShift(defaults, histories);
    double predicted = 0, right = 0;
    for (const AttemptHistory& h : histories) {
        MemoryState state = MemoryModel::first(defaults, h.front().grade);
        for (size_t k = 1; k < h.size(); ++k) {
            const double p = MemoryModel::recall(state, h[k].day - h[k - 1].day);
            predicted += 1 / (1 + (1 - p) / p * std::exp(-shift));
            right += h[k].right() ? 1 : 0;
            state = MemoryModel::next(defaults, state, h[k].day - h[k - 1].day, h[k].grade);
        }
    }
    QVERIFY2(qAbs(predicted - right) < 1e-6 * right, qPrintable(QString::number(predicted - right)));
    QVERIFY(shift < 0);
}

#include "tst_MemoryFit.moc"
