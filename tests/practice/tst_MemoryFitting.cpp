#include "MainWindowDriver.h"
#include "TestBank.h"
#include "TestEnvironment.h"

#include "data/AnswerRepository.h"
#include "data/QuestionStore.h"
#include "practice/MemoryFitting.h"
#include "practice/ReviewSchedule.h"
#include "shell/ui/frmmain.h"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// The model fitted to the candidate's own attempts once there are enough of them, kept in
// the bank and used by the schedule; at start, on a worker thread.
class tst_MemoryFitting : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void dueWhenTheAttemptsCallForIt_data();
    void dueWhenTheAttemptsCallForIt();
    void fittedAndKept();
    void fittedAtStartInTheBackground();

private:
    // @p questions questions of K0101 each attempted @p times, every third day; a question
    // is forgotten after a week unless it was seen within one.
    void attempts(int questions, int times);
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<TestBank> m_bank;
};

void tst_MemoryFitting::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_bank = std::make_unique<TestBank>(m_env->bankPath());
    m_bank->project(u"K"_s, u"证券基础"_s).subject(u"K01"_s, u"市场"_s).section(u"K0101"_s, u"第一节"_s);
    for (int n = 1; n <= 120; ++n)
        m_bank->question({ u"K0101"_s, n, u"单选"_s, u"A"_s });
}

void tst_MemoryFitting::cleanup()
{
    m_bank.reset();
    m_env.reset();
}

void tst_MemoryFitting::attempts(int questions, int times)
{
    QVector<QVariantList> rows;
    const qint64 start = QDateTime(QDate(2026, 9, 1), QTime(9, 0)).toSecsSinceEpoch();
    for (int n = 1; n <= questions; ++n) {
        for (int i = 0; i < times; ++i) {
            const qint64 at = start + qint64(i * (1 + n % 5)) * 86400;
            const bool right = (i * 7 + n) % 10 < 7;
            rows.append({ n, at, at, right ? 1 : 0 });
        }
    }
    QuestionStore& store = m_bank->store();
    QVERIFY(
        store
            .writeTransaction([&] {
                return store.writeEach(
                    u"insert into attempt(代码, 题号, started_at, answered_at, seconds, answer, is_right, "
                    "source, clicks) values('K0101', ?, ?, ?, 20, 'A', ?, 'practice', 1)"_s,
                    rows);
            })
            .isDone());
}

void tst_MemoryFitting::dueWhenTheAttemptsCallForIt_data()
{
    QTest::addColumn<int>("attempts");
    QTest::addColumn<int>("fittedOn"); // 0: never fitted
    QTest::addColumn<bool>("due");
    QTest::newRow("too few") << 999 << 0 << false;
    QTest::newRow("enough, never fitted") << 1000 << 0 << true;
    QTest::newRow("not a fifth more") << 1199 << 1000 << false;
    QTest::newRow("a fifth more") << 1200 << 1000 << true;
}

void tst_MemoryFitting::dueWhenTheAttemptsCallForIt()
{
    QFETCH(int, attempts);
    QFETCH(int, fittedOn);
    QFETCH(bool, due);
    this->attempts(attempts / 9, 9);
    this->attempts(1, attempts % 9);
    QuestionStore& store = m_bank->store();
    QCOMPARE(AnswerRepository::attemptCount(store), attempts);
    if (fittedOn > 0) {
        const QVector<double> weights(MemoryParameters::Count, 1.0);
        QVERIFY(AnswerRepository::setFittedWeights(store, { fittedOn, weights }).isDone());
    }
    QCOMPARE(MemoryFitting::isDue(store), due);
}

void tst_MemoryFitting::fittedAndKept()
{
    attempts(120, 10);
    const FitResult result = MemoryFitting::fitBank(m_env->bankPath());
    QCOMPARE(result.attempts, 1200);
    QVERIFY(result.reviewsUsed > 0);
    QVERIFY(result.logLossAfter <= result.logLossBefore);
    QuestionStore& store = m_bank->store();
    QVERIFY(MemoryFitting::keep(store, result).isDone());
    const AnswerRepository::FittedWeights kept = AnswerRepository::fittedWeights(store);
    QCOMPARE(kept.attempts, 1200);
    QCOMPARE(kept.weights.size(), MemoryParameters::Count);
    // The schedule is the fitted model's: every practised question, and no fit due now.
    QCOMPARE(ReviewSchedule::currentModel(store).parameters, result.parameters);
    QCOMPARE(store.scalar(u"select count(*) from review_schedule where stability > 0"_s).toInt(), 120);
    QVERIFY(!MemoryFitting::isDue(store));
}

void tst_MemoryFitting::fittedAtStartInTheBackground()
{
    attempts(120, 10);
    m_bank.reset();
    MainWindowDriver w(m_env->bankPath());
    QThread* fitting = w.window().memoryFitting();
    QVERIFY(fitting);
    QTRY_VERIFY_WITH_TIMEOUT(!w.window().memoryFitting(), 20000);
    QTRY_COMPARE(AnswerRepository::fittedWeights(w.window().store()).attempts, 1200);
}

QTEST_MAIN(tst_MemoryFitting)
#include "tst_MemoryFitting.moc"
