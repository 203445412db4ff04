#include "TestBank.h"

#include "catalogue/QuestionFilters.h"
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

private:
    QString bankPath() const { return m_dir.path() + u"/bank.db"_s; }
    QTemporaryDir m_dir;
    std::unique_ptr<TestBank> m_bank;
};

namespace {

const QDateTime Start(QDate(2026, 3, 2), QTime(9, 30));

ReviewSchedule::Clock clockAt(const QDateTime& moment)
{
    return [moment] { return moment; };
}

// Where a question stands: "stage@due" with the due day counted from the first day, or "-".
QString standing(QuestionStore& store, const QuestionKey& key)
{
    const auto entry = ReviewSchedule::entry(store, key);
    if (!entry)
        return u"-"_s;
    return u"%1@%2"_s.arg(entry->stage).arg(entry->dueDay - ReviewSchedule::dayOf(Start));
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
    // Answers as "day:R" (right) or "day:W" (wrong), days counted from the first.
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("after"); // stage@due day, or "-" when not in review

    QTest::newRow("right the first time never enters") << u"0:R"_s << u"-"_s;
    QTest::newRow("right again and again stays out") << u"0:R 1:R 5:R"_s << u"-"_s;
    QTest::newRow("wrong comes back the next day") << u"0:W"_s << u"0@1"_s;
    QTest::newRow("wrong twice the same day") << u"0:W 0:W"_s << u"0@1"_s;
    QTest::newRow("right when due: 3 days") << u"0:W 1:R"_s << u"1@4"_s;
    QTest::newRow("right before due changes nothing") << u"0:W 0:R"_s << u"0@1"_s;
    QTest::newRow("right late counts from that day") << u"0:W 10:R"_s << u"1@13"_s;
    QTest::newRow("7 days") << u"0:W 1:R 4:R"_s << u"2@11"_s;
    QTest::newRow("15 days") << u"0:W 1:R 4:R 11:R"_s << u"3@26"_s;
    QTest::newRow("30 days") << u"0:W 1:R 4:R 11:R 26:R"_s << u"4@56"_s;
    QTest::newRow("after the last interval it leaves") << u"0:W 1:R 4:R 11:R 26:R 56:R"_s << u"-"_s;
    QTest::newRow("wrong in review goes back to the first") << u"0:W 1:R 4:R 11:W"_s << u"0@12"_s;
    QTest::newRow("wrong after leaving comes back") << u"0:W 1:R 4:R 11:R 26:R 56:R 60:W"_s << u"0@61"_s;
    QTest::newRow("right first, wrong later enters") << u"0:R 3:W"_s << u"0@4"_s;
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

QTEST_MAIN(tst_ReviewSchedule)
#include "tst_ReviewSchedule.moc"
