#include "SearchBanks.h"
#include "TestBank.h"
#include "TestFolders.h"

#include "data/RowSet.h"
#include "data/StatisticsRepository.h"
#include "progress/ProgressStatistics.h"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// "name total done right wrong open rate"
QString describe(const ProgressStatistics::Row& row)
{
    return u"%1 %2 %3 %4 %5 %6 %7"_s.arg(row.name)
        .arg(row.total)
        .arg(row.done)
        .arg(row.right)
        .arg(row.wrong)
        .arg(row.open())
        .arg(row.rate());
}

} // namespace

// The per-section counts and rates, from one bank.
class tst_ProgressStatistics : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void rate_data();
    void rate();
    void sectionsOfTheRangeWithTheirCounts();
    void totalsOverTheListedSections();
    void countingReadsOnlyTheIndex_data();
    void countingReadsOnlyTheIndex();
    void noSectionsListsNothing();
    void failureIsReported();

private:
    TestFolders m_folders;
    std::unique_ptr<TestBank> m_bank;
};

void tst_ProgressStatistics::initTestCase()
{
    m_bank = std::make_unique<TestBank>(m_folders.bankPath());
    SearchBanks::statisticsBank(*m_bank);
}

void tst_ProgressStatistics::rate_data()
{
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("done");
    QTest::addColumn<QString>("rate");
    QTest::newRow("2 of 3 truncated, not rounded") << 2 << 3 << u"66.6%"_s;
    QTest::newRow("1 of 7") << 1 << 7 << u"14.2%"_s;
    QTest::newRow("1 of 3") << 1 << 3 << u"33.3%"_s;
    QTest::newRow("1 of 2: no trailing zero") << 1 << 2 << u"50%"_s;
    QTest::newRow("3 of 3") << 3 << 3 << u"100%"_s;
    QTest::newRow("none right") << 0 << 4 << u"0%"_s;
    QTest::newRow("none done") << 0 << 0 << u"0%"_s;
    QTest::newRow("large counts") << 99999 << 100000 << u"99.9%"_s;
}

void tst_ProgressStatistics::rate()
{
    QFETCH(int, right);
    QFETCH(int, done);
    QFETCH(QString, rate);
    ProgressStatistics::Row row;
    row.right = right;
    row.done = done;
    QCOMPARE(row.rate(), rate);
}

void tst_ProgressStatistics::sectionsOfTheRangeWithTheirCounts()
{
    const ProgressStatistics::Result result = ProgressStatistics::compute(m_bank->store());
    QVERIFY2(result.ok, qPrintable(result.error));
    QStringList rows;
    for (const ProgressStatistics::Row& row : result.sections)
        rows << describe(row);
    // K is listed, W and J are not; the empty key with an empty answer is neither done nor right.
    QCOMPARE(rows,
        (QStringList { u"第一节 5 3 2 1 2 66.6%"_s, u"第二节 8 7 1 6 1 14.2%"_s, u"第三节 0 0 0 0 0 0%"_s,
            u"最后一节 1 1 1 0 0 100%"_s }));
    QCOMPARE(result.sections.first().code, u"K0101"_s);
}

void tst_ProgressStatistics::totalsOverTheListedSections()
{
    const ProgressStatistics::Result result = ProgressStatistics::compute(m_bank->store());
    QCOMPARE(describe(result.totals), u"合计 14 11 4 7 3 36.3%"_s);
}

void tst_ProgressStatistics::countingReadsOnlyTheIndex_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("index");
    QTest::newRow("every question") << StatisticsRepository::questionCountSql() << u"tk_key"_s;
    QTest::newRow("answered ones") << StatisticsRepository::answeredCountSql() << u"tk_answered"_s;
}

void tst_ProgressStatistics::countingReadsOnlyTheIndex()
{
    QFETCH(QString, sql);
    QFETCH(QString, index);
    RowSet plan = m_bank->store().query(u"explain query plan "_s + sql, { u"K"_s, u"W"_s });
    QVERIFY2(plan.isValid(), qPrintable(plan.error()));
    QStringList steps;
    for (; !plan.atEnd(); plan.next())
        steps << plan.field(u"detail"_s).toString();
    // One range of a narrow covering index, already in group order.
    QCOMPARE(steps.size(), 1);
    QVERIFY2(steps.first().contains(u"USING COVERING INDEX "_s + index + u" (代码>? AND 代码<?)"_s),
        qPrintable(steps.first()));
}

void tst_ProgressStatistics::noSectionsListsNothing()
{
    TestFolders folders;
    TestBank bank(folders.bankPath());
    bank.section(u"W0101"_s, u"个人收藏试题"_s).question(TestBank::Question(u"W0101"_s, 1));
    const ProgressStatistics::Result result = ProgressStatistics::compute(bank.store());
    QVERIFY(result.ok);
    QVERIFY(result.sections.isEmpty());
    QCOMPARE(describe(result.totals), u"合计 0 0 0 0 0 0%"_s);
}

void tst_ProgressStatistics::failureIsReported()
{
    TestFolders folders;
    TestBank bank(folders.bankPath());
    QVERIFY(bank.store().write(u"drop table smdm"_s).isDone());
    const ProgressStatistics::Result result = ProgressStatistics::compute(bank.store());
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(u"smdm"_s), qPrintable(result.error));
}

QTEST_GUILESS_MAIN(tst_ProgressStatistics)
#include "tst_ProgressStatistics.moc"
