#include "TestBank.h"

#include "data/BankSchema.h"
#include "data/QuestionStore.h"
#include "data/ui/BankMessages.h"
#include "exam/ComposeExamPaper.h"
#include "exam/ExamResult.h"
#include "exam/WorkingSet.h"
#include "practice/Answers.h"

#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Each stored answer appends one history row in the answer's own transaction, keyed by
// the question in tk also when it was answered on an exam paper; a graded exam leaves
// its result.
class tst_AnswerHistory : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void oneRowPerAnswer();
    void examAnswersKeepTheBankKey();
    void failedAnswerLeavesNoHistory_data();
    void failedAnswerLeavesNoHistory();
    void examResult();

private:
    QString bankPath() const { return m_dir.path() + u"/bank.db"_s; }
    QTemporaryDir m_dir;
};

namespace {

const QDateTime Moment = QDateTime::fromSecsSinceEpoch(1777882530);

ReviewSchedule::Clock fixedClock()
{
    return [] { return Moment; };
}

QStringList history(QuestionStore& store)
{
    QStringList rows;
    for (RowSet r = store.query(u"select 代码, 题号, answered_at, answer, is_right, source from answer_history "
                                  "order by id"_s);
         !r.atEnd(); r.next()) {
        QStringList fields;
        for (int i = 0; i < 6; ++i)
            fields << r.field(i).toString();
        rows << fields.join(u'|');
    }
    return rows;
}

int count(QuestionStore& store, const QString& table)
{
    return store.scalar(u"select count(*) from "_s + table).toInt();
}

} // namespace

void tst_AnswerHistory::init()
{
    QFile::remove(bankPath());
    TestBank bank(bankPath());
    for (int n = 1; n <= 5; ++n)
        bank.question({ u"K0101"_s, n, u"单选"_s, u"A"_s });
}

void tst_AnswerHistory::oneRowPerAnswer()
{
    QuestionStore store;
    QVERIFY(store.open(bankPath()));
    const QuestionKey key { u"K0101"_s, u"2"_s };
    const QString at = QString::number(Moment.toSecsSinceEpoch());
    QVERIFY(Answers::StoreAnswer(store, QuestionTable::Bank, key, u"B"_s, fixedClock()).isDone());
    QVERIFY(Answers::StoreAnswer(store, QuestionTable::Bank, key, u"A"_s, fixedClock()).isDone());
    // Clearing an answer gives nothing to remember.
    QVERIFY(Answers::StoreAnswer(store, QuestionTable::Bank, key, QString(), fixedClock()).isDone());
    const QStringList expected { u"K0101|2|"_s + at + u"|B|0|practice"_s, u"K0101|2|"_s + at + u"|A|1|practice"_s };
    QCOMPARE(history(store), expected);
    // A question that is not there writes neither answer nor history.
    QVERIFY(Answers::StoreAnswer(store, QuestionTable::Bank, { u"K0101"_s, u"99"_s }, u"A"_s, fixedClock())
                .isNothing());
    // A redo clears the answers, not what was answered before.
    QVERIFY(Answers::ClearAnswers(store, QuestionTable::Bank, u"K0101"_s).isDone());
    QCOMPARE(history(store), expected);
    QCOMPARE(count(store, u"review_schedule"_s), 1);
}

void tst_AnswerHistory::examAnswersKeepTheBankKey()
{
    QuestionStore store;
    QVERIFY(store.open(bankPath()));
    ExamPaperRequest request;
    request.counts[size_t(*QuestionType::slotOf(u"单选"_s))] = u"5"_s;
    request.seed = 7;
    QVERIFY(store.writeTransaction([&] { return ComposeExamPaper(store, request); }).isDone());
    // The paper's columns are those of tk.
    QStringList columns;
    for (RowSet r = store.query(u"PRAGMA table_info(kstk)"_s); !r.atEnd(); r.next())
        columns << r.field(u"name"_s).toString();
    QCOMPARE(columns, BankSchema::questionColumns());

    // Each copy answered wrongly: the history and the schedule name the question in tk.
    QSet<QString> bankNumbers;
    for (RowSet r = store.query(u"select 代码, 题号 from kstk"_s); !r.atEnd(); r.next()) {
        const QuestionKey paperKey { r.field(0).toString(), r.field(1).toString() };
        QVERIFY(Answers::StoreAnswer(store, QuestionTable::WorkingSet, paperKey, u"C"_s, fixedClock()).isDone());
        bankNumbers << Answers::bankKey(store, QuestionTable::WorkingSet, paperKey).number;
    }
    QCOMPARE(bankNumbers, (QSet<QString> { u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s }));
    QCOMPARE(store.scalar(u"select group_concat(题号) from (select 题号 from answer_history where source='exam' "
                          "and is_right=0 order by 题号)"_s)
                 .toString(),
        u"1,2,3,4,5"_s);
    QCOMPARE(store.scalar(u"select group_concat(题号) from (select 题号 from review_schedule order by 题号)"_s).toString(),
        u"1,2,3,4,5"_s);
    // The bank's own answers are untouched by the paper's.
    QCOMPARE(store.scalar(u"select count(*) from tk where 答题 is not null"_s).toInt(), 0);

    // A working set copied from a section keeps tk's numbers and forgets the paper's.
    QVERIFY(store.writeTransaction([&] { return WorkingSet::fillFromBank(store, u"K0101"_s); }).isDone());
    QCOMPARE(count(store, u"exam_source"_s), 0);
}

void tst_AnswerHistory::failedAnswerLeavesNoHistory_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("read-only bank") << u"read-only"_s;
    QTest::newRow("lock held by another connection") << u"locked"_s;
    // The answer's update has run when the history row is refused: it must be undone too.
    QTest::newRow("history row refused") << u"refused"_s;
}

void tst_AnswerHistory::failedAnswerLeavesNoHistory()
{
    QFETCH(QString, how);
    QuestionStore store;
    QuestionStore other;
    QVERIFY(store.open(bankPath(), how == u"read-only"_s ? QuestionStore::Mode::ReadOnly : QuestionStore::Mode::ReadWrite));
    if (how == u"locked"_s) {
        QVERIFY(other.open(bankPath()));
        QVERIFY(other.write(u"begin immediate"_s).isDone());
        store.setBusyTimeout(100);
    } else if (how == u"refused"_s) {
        QVERIFY(store
                    .write(u"create temp trigger refuse before insert on answer_history "
                           "begin select raise(abort, 'refused'); end"_s)
                    .isDone());
    }
    const WriteResult result
        = Answers::StoreAnswer(store, QuestionTable::Bank, { u"K0101"_s, u"1"_s }, u"B"_s, fixedClock());
    QVERIFY(result.isFailed());
    QVERIFY(!BankMessages::reason(result).isEmpty());
    if (how == u"locked"_s)
        QVERIFY(other.write(u"rollback"_s).isDone());
    QCOMPARE(store.scalar(u"select count(*) from tk where 答题 is not null"_s).toInt(), 0);
    QCOMPARE(count(store, u"answer_history"_s), 0);
    QCOMPARE(count(store, u"review_schedule"_s), 0);
}

void tst_AnswerHistory::examResult()
{
    QuestionStore store;
    QVERIFY(store.open(bankPath()));
    GradingTally tally;
    const int single = *QuestionType::slotOf(u"单选"_s);
    const int multiple = *QuestionType::slotOf(u"多选"_s);
    tally.total[size_t(single)] = 10;
    tally.right[size_t(single)] = 6;
    tally.unanswered[size_t(single)] = 1;
    tally.total[size_t(multiple)] = 4;
    tally.right[size_t(multiple)] = 1;
    ScoreReport::Points points {};
    points.fill(1);
    points[size_t(multiple)] = 2;
    const ExamResult::Row row = ExamResult::fromTally(tally, points, Moment);
    QVERIFY(ExamResult::record(store, row).isDone());
    RowSet r = store.query(u"select finished_at, score, full_score, questions, right_count, wrong_count, "
                           "unanswered_count from exam_result"_s);
    QVERIFY(!r.atEnd());
    QStringList fields;
    for (int i = 0; i < 7; ++i)
        fields << r.field(i).toString();
    // Score 6 + 1×2 of 10 + 4×2; 14 questions: 7 right, 6 wrong, 1 unanswered.
    QCOMPARE(fields.join(u','), QString::number(Moment.toSecsSinceEpoch()) + u",8,18,14,7,6,1"_s);
}

QTEST_MAIN(tst_AnswerHistory)
#include "tst_AnswerHistory.moc"
