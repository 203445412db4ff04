#include "TestBank.h"
#include "TestFolders.h"

#include "data/AttemptRepository.h"
#include "data/ForecastRepository.h"
#include "forecast/PaperForecast.h"
#include "forecast/WeakSpots.h"
#include "memory/MemoryModel.h"

#include <QTest>

#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;

// The score a paper is expected to get, from the chance at each question: the distribution
// of small papers worked by hand, the pass line, the ability model at unseen questions, the
// bank as the forecast reads it, and the weak spots.
class tst_PaperForecast : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void smallPapers_data();
    void smallPapers();
    void passLine_data();
    void passLine();
    void abilityFromFirstAttempts();
    void bankAsTheForecastReadsIt();
    void unseenFirstPaper();
    void weakSpotsAndPaces();

private:
    void practised(int number, double stability, int daysAgo, int firstRight);
    std::unique_ptr<TestFolders> m_folders;
    std::unique_ptr<TestBank> m_bank;
};

namespace {

constexpr qint64 Today = 2461386; // 2026-12-11
constexpr int Single = 0, Indefinite = 1, Short = 2, Comprehensive = 3, Judgement = 4, Multiple = 5;

PaperPlan onePointEach()
{
    PaperPlan plan;
    plan.points.fill(1);
    return plan;
}

} // namespace

void tst_PaperForecast::init()
{
    m_folders = std::make_unique<TestFolders>();
    m_bank = std::make_unique<TestBank>(m_folders->bankPath());
    m_bank->project(u"K"_s, u"证券基础"_s).subject(u"K01"_s, u"市场"_s);
    m_bank->section(u"K0101"_s, u"第一节"_s).section(u"K0102"_s, u"第二节"_s);
}

void tst_PaperForecast::cleanup()
{
    m_bank.reset();
    m_folders.reset();
}

void tst_PaperForecast::practised(int number, double stability, int daysAgo, int firstRight)
{
    QVERIFY(
        m_bank->store()
            .write(
                u"insert into review_schedule(代码, 题号, stage, due_day, stability, difficulty, last_day, "
                "first_right) values('K0101', ?, 0, 0, ?, 5, ?, ?)"_s,
                { number, stability, Today - daysAgo, firstRight })
            .isDone());
}

void tst_PaperForecast::smallPapers_data()
{
    QTest::addColumn<QVector<PaperForecast::DrawnQuestion>>("questions");
    QTest::addColumn<int>("multiplePoints");
    QTest::addColumn<int>("fullScore");
    QTest::addColumn<double>("expected");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::addColumn<double>("passChance");

    using Q = PaperForecast::DrawnQuestion;
    // 3 of 5 right for sure: the pass line of 60 % is 3.
    QTest::newRow("every question certain") << QVector<Q> { { Single, 1, 1 }, { Single, 1, 1 },
        { Multiple, 1, 1 }, { Judgement, 0, 1 }, { Indefinite, 0, 1 } }
                                            << 1 << 5 << 3.0 << 3 << 3 << 1.0;
    // 2 for sure and a 2-point question at even odds: 2 or 4, and the pass line is 3.
    QTest::newRow("one uncertain") << QVector<Q> { { Single, 1, 1 }, { Single, 1, 1 }, { Multiple, 0.5, 1 } }
                                   << 2 << 4 << 3.0 << 2 << 4 << 0.5;
    // Four at even odds: 3 or 4 right is 5 chances in 16.
    QTest::newRow("four at even odds")
        << QVector<Q> { { Single, 0.5, 1 }, { Single, 0.5, 1 }, { Judgement, 0.5, 1 }, { Judgement, 0.5, 1 } }
        << 1 << 4 << 2.0 << 1 << 3 << 5.0 / 16;
    // 简答 scores its key's characters, all or nothing; 综合 scores nothing.
    QTest::newRow("short answer by characters")
        << QVector<Q> { { Single, 1, 1 }, { Short, 0.25, 4 }, { Comprehensive, 1, 9 } } << 1 << 5 << 2.0 << 1
        << 5 << 0.25;
}

void tst_PaperForecast::smallPapers()
{
    QFETCH(QVector<PaperForecast::DrawnQuestion>, questions);
    QFETCH(int, multiplePoints);
    PaperPlan plan = onePointEach();
    plan.points[size_t(Multiple)] = multiplePoints;
    const ScoreForecast f = PaperForecast::ofQuestions(questions, plan, 60, 0);
    QTEST(f.fullScore, "fullScore");
    QTEST(f.expected, "expected");
    QTEST(f.low, "low");
    QTEST(f.high, "high");
    QFETCH(double, passChance);
    QVERIFY2(qAbs(f.passChance - passChance) < 1e-12, qPrintable(QString::number(f.passChance)));
    double sum = 0;
    for (int s = 0; s <= f.fullScore; ++s)
        sum += f.distribution.chanceOf(s);
    QVERIFY(qAbs(sum - 1) < 1e-12);

    // Chances uncertain together: certain questions stay certain, the rest spread out.
    const ScoreForecast wide = PaperForecast::ofQuestions(questions, plan, 60, 0.5);
    QCOMPARE(wide.fullScore, f.fullScore);
    QVERIFY(wide.low <= f.low && wide.high >= f.high);
    double variance = 0, wideVariance = 0;
    for (int s = 0; s <= f.fullScore; ++s) {
        variance += (s - f.expected) * (s - f.expected) * f.distribution.chanceOf(s);
        wideVariance += (s - wide.expected) * (s - wide.expected) * wide.distribution.chanceOf(s);
    }
    QVERIFY(wideVariance >= variance - 1e-12);
}

void tst_PaperForecast::passLine_data()
{
    QTest::addColumn<int>("fullScore");
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("line");
    QTest::newRow("100 at 60 %") << 100 << 60 << 60;
    QTest::newRow("rounded up") << 5 << 60 << 3;
    QTest::newRow("just above a whole") << 101 << 60 << 61;
    QTest::newRow("all of it") << 7 << 100 << 7;
    QTest::newRow("empty paper") << 0 << 60 << 0;
}

void tst_PaperForecast::passLine()
{
    QFETCH(int, fullScore);
    QFETCH(int, percent);
    QTEST(ScoreForecast::passLineOf(fullScore, percent), "line");
}

void tst_PaperForecast::abilityFromFirstAttempts()
{
    QCOMPARE(AbilityModel().chance(u"K0101"_s, Single), 0.5);
    QCOMPARE(AbilityModel::fit({}).chance(u"K0101"_s, Single), 0.5);

    // One cell: its own rate, nearly; the base prior hardly pulls.
    const AbilityModel one = AbilityModel::fit({ { u"K0101"_s, Single, 4, 3 } });
    QVERIFY(qAbs(one.chance(u"K0101"_s, Single) - 0.75) < 0.01);
    QVERIFY(qAbs(one.chance(u"k0101"_s, Single) - 0.75) < 0.01); // codes compare without case

    // Strong in single choice carries over to that section's other types; a section
    // without attempts gets the overall rate; a type weak everywhere is weak in both.
    const AbilityModel m = AbilityModel::fit({ { u"K0101"_s, Single, 20, 18 }, { u"K0102"_s, Single, 20, 6 },
        { u"K0101"_s, Multiple, 10, 5 }, { u"K0102"_s, Multiple, 10, 1 } });
    QVERIFY(m.chance(u"K0101"_s, Single) > m.chance(u"K0102"_s, Single));
    QVERIFY(m.chance(u"K0101"_s, Judgement) > m.chance(u"K0102"_s, Judgement));
    QVERIFY(m.chance(u"K0101"_s, Multiple) < m.chance(u"K0101"_s, Single));
    QVERIFY(m.chance(u"K0102"_s, Multiple) < m.chance(u"K0102"_s, Single));
    QCOMPARE(m.chance(u"K0999"_s, Judgement), m.baseChance());
    // Drawn toward the others, not past them.
    QVERIFY(m.chance(u"K0101"_s, Single) < 0.9 && m.chance(u"K0101"_s, Single) > 0.75);
}

void tst_PaperForecast::bankAsTheForecastReadsIt()
{
    // K0101: four 单选 (two practised), a 多选 and a B row, which no paper draws.
    for (int n = 1; n <= 4; ++n)
        m_bank->question({ u"K0101"_s, n, u"单选"_s, u"A"_s });
    m_bank->question({ u"K0101"_s, 5, u"多选"_s, u"AB"_s });
    m_bank->question({ u"K0101"_s, 6, u"B"_s, u"A|B"_s });
    practised(1, 10, 10, 1);
    practised(2, 2, 5, 0);
    practised(6, 5, 1, 1); // the grouped row's memory is read nowhere

    QString error;
    const std::optional<BankOutlook> outlook = BankOutlook::read(m_bank->store(), Today, &error);
    QVERIFY2(outlook, qPrintable(error));
    QCOMPARE(outlook->cells().size(), 2);
    const BankOutlook::Cell& single = outlook->cells()[0];
    QCOMPARE(single.slot, Single);
    QCOMPARE(single.questions, 4);
    QCOMPARE(single.practised.size(), 2);
    const double r1 = MemoryModel::recall({ 10, 5 }, 10), r2 = MemoryModel::recall({ 2, 5 }, 5);
    QCOMPARE(single.practised[0].chance, r1);
    QCOMPARE(single.practised[1].chance, r2);
    // The candidate's fit leans recall down by 1 on the log-odds scale.
    QVERIFY(m_bank->store()
                .write(u"insert into memory_weights(attempts, weights, recall_shift) values(1000, '', -1)"_s)
                .isDone());
    const std::optional<BankOutlook> leaned = BankOutlook::read(m_bank->store(), Today, &error);
    QVERIFY2(leaned, qPrintable(error));
    QVERIFY(qAbs(leaned->cells()[0].practised[0].chance - 1 / (1 + (1 - r1) / r1 * std::exp(1.0))) < 1e-12);
    QVERIFY(m_bank->store().write(u"delete from memory_weights"_s).isDone());
    // One right and one wrong first attempt in one cell: even odds for the unseen ones.
    QVERIFY(qAbs(single.unseenChance - 0.5) < 1e-6);

    // A paper of all four 单选 and the 多选 at 2 points: each question with its own chance.
    PaperPlan plan = onePointEach();
    plan.counts[size_t(Single)] = 9;
    plan.counts[size_t(Multiple)] = 1;
    plan.points[size_t(Multiple)] = 2;
    const ScoreForecast all = PaperForecast::ofPlan(*outlook, plan, 60, 0);
    QCOMPARE(all.questions, 5);
    QCOMPARE(all.fullScore, 6);
    const double multiple = outlook->cells()[1].unseenChance;
    QVERIFY(qAbs(all.expected - (r1 + r2 + 2 * single.unseenChance + 2 * multiple)) < 1e-9);

    // Two of the four drawn at random: each draw has the pool's mean chance.
    plan.counts[size_t(Single)] = 2;
    plan.counts[size_t(Multiple)] = 0;
    const ScoreForecast two = PaperForecast::ofPlan(*outlook, plan, 60, 0);
    const double mean = (r1 + r2 + 2 * single.unseenChance) / 4;
    QCOMPARE(two.fullScore, 2);
    QVERIFY(qAbs(two.distribution.chanceOf(2) - mean * mean) < 1e-9);

    // The schedule's code in another case, and a section between, still meet their questions.
    m_bank->question({ u"K0102"_s, 7, u"单选"_s, u"A"_s }).question({ u"K0102"_s, 9, u"单选"_s, u"A"_s });
    QVERIFY(
        m_bank->store()
            .write(
                u"insert into review_schedule(代码, 题号, stage, due_day, stability, difficulty, last_day, "
                "first_right) values('k0102', 9, 0, 0, 3, 5, ?, 1), ('K0101x', 1, 0, 0, 3, 5, ?, 1)"_s,
                { Today, Today })
            .isDone());
    const std::optional<BankOutlook> again = BankOutlook::read(m_bank->store(), Today, &error);
    QVERIFY2(again, qPrintable(error));
    QCOMPARE(again->cells().size(), 3);
    QCOMPARE(again->cells()[0].practised.size(), 2);
    QCOMPARE(again->cells()[2].questions, 2);
    QCOMPARE(again->cells()[2].practised.size(), 1);
    QCOMPARE(again->cells()[2].practised[0].chance, 1.0);
}

void tst_PaperForecast::unseenFirstPaper()
{
    for (int n = 1; n <= 5; ++n)
        m_bank->question({ u"K0101"_s, n, u"判断"_s, u"A"_s });
    practised(1, 30, 1, 1); // recent
    practised(2, 1, 20, 1); // least recent
    practised(3, 5, 8, 1);
    QString error;
    const std::optional<BankOutlook> outlook = BankOutlook::read(m_bank->store(), Today, &error);
    QVERIFY2(outlook, qPrintable(error));
    PaperPlan plan = onePointEach();
    plan.unseenFirst = true;

    // Three questions: the two never answered, then the least recently answered.
    plan.counts[size_t(Judgement)] = 3;
    const double u = outlook->cells()[0].unseenChance;
    const double oldest = MemoryModel::recall({ 1, 5 }, 20);
    QVERIFY(qAbs(PaperForecast::ofPlan(*outlook, plan, 60, 0).expected - (2 * u + oldest)) < 1e-9);
    // One question: one of the unseen.
    plan.counts[size_t(Judgement)] = 1;
    QVERIFY(qAbs(PaperForecast::ofPlan(*outlook, plan, 60, 0).expected - u) < 1e-9);
}

void tst_PaperForecast::weakSpotsAndPaces()
{
    // K0101 well known, K0102 never seen; both on the paper alike.
    for (int n = 1; n <= 4; ++n) {
        m_bank->question({ u"K0101"_s, n, u"单选"_s, u"A"_s });
        m_bank->question({ u"K0102"_s, n, u"单选"_s, u"A"_s });
    }
    for (int n = 1; n <= 4; ++n)
        practised(n, 100, 1, n % 2); // remembered now, though half were wrong at first
    QString error;
    const std::optional<BankOutlook> outlook = BankOutlook::read(m_bank->store(), Today, &error);
    QVERIFY2(outlook, qPrintable(error));
    PaperPlan plan = onePointEach();
    plan.counts[size_t(Single)] = 4;
    const QVector<AttemptSummaryRow> attempts { { u"K0101"_s, u"单选"_s, 40, 38, 40 * 30 },
        { u"K0102"_s, u"多选"_s, 20, 6, 20 * 10 }, { u"K0103"_s, u"判断"_s, 20, 20, 20 * 120 },
        { u"K0104"_s, u"判断"_s, 5, 0, 5 } };
    const QVector<WeakSpots::Section> spots = WeakSpots::bySection(*outlook, plan, attempts, 0.9);
    QCOMPARE(spots.size(), 2);
    QCOMPARE(spots[0].code, u"K0102"_s);
    QVERIFY(spots[0].gainPerHour > spots[1].gainPerHour);
    // Each of K0102's four questions is drawn half the time; an hour covers them all.
    QCOMPARE(spots[0].onPaper, 2.0);
    QVERIFY(qAbs(spots[0].gainPerHour - 4 * 0.5 * (0.9 - outlook->cells()[1].unseenChance)) < 1e-9);
    QCOMPARE(spots[0].secondsPerQuestion, 10.0);

    const WeakSpots::Paces p = WeakSpots::paces(attempts);
    QCOMPARE(p.slowButRight.size(), 1);
    QCOMPARE(p.slowButRight[0].code, u"K0103"_s);
    QCOMPARE(p.fastButWrong.size(), 1);
    QCOMPARE(p.fastButWrong[0].code, u"K0102"_s); // K0104 has too few attempts
}

QTEST_GUILESS_MAIN(tst_PaperForecast)
#include "tst_PaperForecast.moc"
