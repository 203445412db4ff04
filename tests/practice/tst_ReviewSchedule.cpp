#include "TestBank.h"
#include "TestFolders.h"

#include "catalogue/QuestionFilters.h"
#include "data/QuestionListRepository.h"
#include "data/QuestionStore.h"
#include "practice/Answers.h"
#include "practice/AttemptRecorder.h"
#include "practice/ReviewSchedule.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The review schedule as answers move it, day by day on a fake clock, through the real
// answer write on an encrypted bank.
class tst_ReviewSchedule : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void sequence_data();
    void sequence();
    void dueCountAndListing();
    void rebuiltFromTheAttempts();

private:
    QString bankPath() const { return m_dir.path() + u"/bank.db"_s; }
    QTemporaryDir m_dir;
    TestFolders m_folders; // the settings (target, exam day) are the defaults
    std::unique_ptr<TestBank> m_bank;
};

namespace {

const QDateTime Start(QDate(2026, 3, 2), QTime(9, 30));

ReviewSchedule::Clock clockAt(const QDateTime& moment)
{
    return [moment] { return moment; };
}

// Where a question stands: its due day counted from the first day, or "-".
QString standing(QuestionStore& store, const QuestionKey& key)
{
    const auto entry = ReviewSchedule::entry(store, key);
    if (!entry)
        return u"-"_s;
    return QString::number(entry->dueDay - ReviewSchedule::dayOf(Start));
}

// One visit of @p key at @p moment, left with @p answer.
bool attempt(QuestionStore& store, const QuestionKey& key, const QString& answer, const QDateTime& moment)
{
    AttemptRecorder visit(store, clockAt(moment));
    if (!visit.enter(QuestionTable::Bank, key).isDone())
        return false;
    if (!Answers::StoreAnswer(store, QuestionTable::Bank, key, answer).isDone())
        return false;
    visit.answered(answer);
    return visit.leave().isDone();
}

} // namespace

void tst_ReviewSchedule::init()
{
    m_bank.reset();
    QFile::remove(bankPath());
    m_bank = std::make_unique<TestBank>(bankPath());
    m_bank->question({ u"K0101"_s, 1, u"单选"_s, u"A"_s });
    m_bank->question({ u"K0101"_s, 2, u"多选"_s, u"AB"_s });
}

void tst_ReviewSchedule::sequence_data()
{
    // Attempts as "day:R" (right) or "day:W" (wrong), days counted from the first; "day:L"
    // writes the row an older program's fixed intervals would have left.
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("after"); // the due day, or "-" when never practised

    // A first right answer gives a stability of 3.17 days: recall is below 90 % on day 4.
    QTest::newRow("right the first time") << u"0:R"_s << u"4"_s;
    QTest::newRow("wrong the first time: the next day") << u"0:W"_s << u"1"_s;
    QTest::newRow("wrong twice the same day") << u"0:W 0:W"_s << u"1"_s;
    QTest::newRow("right when due: 12.96 days") << u"0:R 4:R"_s << u"17"_s;
    QTest::newRow("right a day later: a shorter one") << u"0:R 1:R"_s << u"7"_s;
    QTest::newRow("right late counts from that day: 7.41 days") << u"0:W 10:R"_s << u"18"_s;
    QTest::newRow("a lapse after a run: within days") << u"0:R 4:R 19:R 80:W"_s << u"85"_s;
    QTest::newRow("a row of the fixed intervals starts afresh") << u"0:L 3:R"_s << u"7"_s;
}

void tst_ReviewSchedule::sequence()
{
    QFETCH(QString, answers);
    QFETCH(QString, after);
    QuestionStore& store = m_bank->store();
    const QuestionKey key { u"K0101"_s, u"1"_s };
    for (const QString& step : answers.split(u' ')) {
        const QStringList parts = step.split(u':');
        const QDateTime moment = Start.addDays(parts[0].toInt());
        if (parts[1] == u"L"_s) {
            QVERIFY(AnswerRepository::setReviewEntry(store, key, { 2, ReviewSchedule::dayOf(moment) + 5 })
                        .isDone());
            continue;
        }
        const QString answer = parts[1] == u"R"_s ? u"A"_s : u"C"_s;
        QVERIFY(attempt(store, key, answer, moment));
    }
    QCOMPARE(standing(store, key), after);
    // The other question is untouched, and clearing an answer moves nothing.
    QCOMPARE(standing(store, { u"K0101"_s, u"2"_s }), u"-"_s);
    QVERIFY(attempt(store, key, QString(), Start.addDays(400)));
    QCOMPARE(standing(store, key), after);
}

void tst_ReviewSchedule::dueCountAndListing()
{
    QuestionStore& store = m_bank->store();
    const qint64 first = ReviewSchedule::dayOf(Start);
    QVERIFY(attempt(store, { u"K0101"_s, u"1"_s }, u"C"_s, Start));
    QVERIFY(attempt(store, { u"K0101"_s, u"2"_s }, u"A"_s, Start.addDays(2)));
    QCOMPARE(ReviewSchedule::dueCount(store, first), 0);
    // The cap keeps the most urgent: question 1, forgotten two days longer.
    QCOMPARE(AnswerRepository::dueCount(store, first + 3, 1), 1);
    const QuestionListing capped = QuestionListRepository::due(first + 3, 1);
    RowSet mostUrgent = store.query(capped.sql, capped.params);
    QVERIFY(!mostUrgent.atEnd());
    QCOMPARE(mostUrgent.field(u"题号"_s).toString(), u"1"_s);
    QCOMPARE(ReviewSchedule::dueCount(store, first + 1), 1);
    QCOMPARE(ReviewSchedule::dueCount(store, first + 3), 2);

    const auto numbers = [&](const QuestionFilters::Selection& selection) {
        QStringList listed;
        for (RowSet rows = store.query(selection.sql, selection.params); !rows.atEnd(); rows.next())
            listed << rows.field(u"题号"_s).toString();
        return listed.join(u',');
    };
    QCOMPARE(numbers(QuestionFilters::review(first + 1)), u"1"_s);
    QCOMPARE(numbers(QuestionFilters::review(first + 3)), u"1,2"_s);
    QCOMPARE(numbers(QuestionFilters::reviewFilter(u"全部题目"_s, u"多选"_s, first + 3)), u"2"_s);
    QCOMPARE(numbers(QuestionFilters::reviewFilter(u"做错题目"_s, u"单选多选"_s, first + 3)), u"1,2"_s);
    QCOMPARE(numbers(QuestionFilters::reviewFilter(u"未做题目"_s, u"单选多选"_s, first + 3)), QString());

    // The due questions are spread over the whole bank: the listing must find them in the
    // narrow review index, never by reading their rows or scanning tk.
    const QuestionFilters::Selection wrong
        = QuestionFilters::reviewFilter(u"做错题目"_s, u"单选多选"_s, first + 3);
    QStringList steps;
    for (RowSet plan = store.query(u"explain query plan "_s + wrong.sql, wrong.params); !plan.atEnd();
         plan.next())
        steps << plan.field(u"detail"_s).toString();
    QVERIFY2(steps.filter(u"SEARCH TABLE tk AS t USING COVERING INDEX tk_review (代码=? AND 题号=?)"_s).size()
            == 1,
        qPrintable(steps.join(u'\n')));
    QVERIFY2(steps.filter(u"SCAN TABLE tk"_s).isEmpty(), qPrintable(steps.join(u'\n')));
}

void tst_ReviewSchedule::rebuiltFromTheAttempts()
{
    QuestionStore& store = m_bank->store();
    const QuestionKey one { u"K0101"_s, u"1"_s }, two { u"K0101"_s, u"2"_s };
    QVERIFY(attempt(store, one, u"A"_s, Start));
    QVERIFY(attempt(store, one, u"A"_s, Start.addDays(4)));
    QVERIFY(attempt(store, two, u"A"_s, Start.addDays(2)));
    QVERIFY(!ReviewSchedule::needsRebuild(store));
    const QString before = standing(store, one) + u' ' + standing(store, two);
    QCOMPARE(before, u"17 3"_s);

    // An upgraded bank: the rows of the fixed intervals, or none at all.
    QVERIFY(AnswerRepository::setReviewEntry(store, one, { 1, 5 }).isDone());
    QVERIFY(ReviewSchedule::needsRebuild(store));
    QVERIFY(ReviewSchedule::rebuild(store, ReviewSchedule::currentModel(store)).isDone());
    QCOMPARE(standing(store, one) + u' ' + standing(store, two), before);
    QVERIFY(!ReviewSchedule::needsRebuild(store));

    QVERIFY(store.write(u"delete from review_schedule"_s).isDone());
    QVERIFY(ReviewSchedule::needsRebuild(store));
    QVERIFY(ReviewSchedule::rebuild(store, ReviewSchedule::currentModel(store)).isDone());
    QCOMPARE(standing(store, one) + u' ' + standing(store, two), before);
}

QTEST_MAIN(tst_ReviewSchedule)
#include "tst_ReviewSchedule.moc"
