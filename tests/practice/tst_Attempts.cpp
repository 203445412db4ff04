#include "TestBank.h"
#include "TestFolders.h"

#include "data/BankSchema.h"
#include "data/QuestionStore.h"
#include "data/ui/BankMessages.h"
#include "exam/ComposeExamPaper.h"
#include "exam/ExamResult.h"
#include "exam/WorkingSet.h"
#include "practice/Answers.h"
#include "practice/AttemptRecorder.h"

#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The answer a candidate settles on in a visit of a question is one attempt, keyed by the
// question in tk also when it was answered on an exam paper; a graded exam leaves its result.
class tst_Attempts : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void oneAttemptPerVisit_data();
    void oneAttemptPerVisit();
    void examAnswersKeepTheBankKey();
    void failedAttemptStaysOpen_data();
    void failedAttemptStaysOpen();
    void examResult();

private:
    QString bankPath() const { return m_dir.path() + u"/bank.db"_s; }
    QTemporaryDir m_dir;
    TestFolders m_folders; // the review settings are the defaults
};

namespace {

const QDateTime Moment = QDateTime::fromSecsSinceEpoch(1777882530);

ReviewSchedule::Clock fixedClock()
{
    return [] { return Moment; };
}

// The attempts as "number:answer/right/seconds×clicks[/exam]", in the order recorded.
QString attempts(QuestionStore& store)
{
    QStringList rows;
    for (RowSet r = store.query(
             u"select 代码, 题号, answer, is_right, seconds, clicks, source, answered_at - started_at "
             "from attempt order by id"_s);
         !r.atEnd(); r.next()) {
        rows << u"%1:%2/%3/%4×%5"_s.arg(r.field(1).toString(), r.field(2).toString(), r.field(3).toString(),
                    r.field(4).toString(), r.field(5).toString())
                + (r.field(6).toString() == u"exam"_s ? u"/exam"_s : QString());
    }
    return rows.join(u' ');
}

int count(QuestionStore& store, const QString& table)
{
    return store.scalar(u"select count(*) from "_s + table).toInt();
}

} // namespace

void tst_Attempts::init()
{
    QFile::remove(bankPath());
    TestBank bank(bankPath());
    for (int n = 1; n <= 5; ++n)
        bank.question({ u"K0101"_s, n, u"单选"_s, u"A"_s });
}

void tst_Attempts::oneAttemptPerVisit_data()
{
    // Steps: "N" shows question N, "=X" stores answer X ("=" clears it), "+S" lets S seconds
    // pass, "!" shows the key, "." leaves the question.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("recorded");
    QTest::newRow("ticks, then leaving") << u"1 +5 =B +3 =AB +2 ."_s << u"1:AB/0/10×2"_s;
    QTest::newRow("the same question shown again") << u"1 =B +4 1 =A +1 1 ."_s << u"1:A/1/5×2"_s;
    QTest::newRow("another question is leaving") << u"1 =B +7 2 =A ."_s << u"1:B/0/7×1 2:A/1/0×1"_s;
    QTest::newRow("coming back is another visit") << u"1 =B 2 1 =A ."_s << u"1:B/0/0×1 1:A/1/0×1"_s;
    QTest::newRow("the key shown settles it") << u"1 =B +2 ! =A +9 ."_s << u"1:B/0/2×1"_s;
    QTest::newRow("cleared before leaving") << u"1 =B = ."_s << QString();
    QTest::newRow("shown, not answered") << u"1 +30 2 +30 ."_s << QString();
    QTest::newRow("an hour away counts as fifteen minutes") << u"1 +3600 =A ."_s << u"1:A/1/900×1"_s;
    QTest::newRow("a question that is not there") << u"99 =A ."_s << QString();
}

void tst_Attempts::oneAttemptPerVisit()
{
    QFETCH(QString, steps);
    QFETCH(QString, recorded);
    QuestionStore store;
    QVERIFY(store.open(bankPath()));
    QDateTime now = Moment;
    AttemptRecorder visit(store, [&now] { return now; });
    for (const QString& step : steps.split(u' ')) {
        if (step.startsWith(u'+')) {
            now = now.addSecs(step.mid(1).toInt());
        } else if (step.startsWith(u'=')) {
            Answers::StoreAnswer(store, QuestionTable::Bank, visit.key(), step.mid(1));
            visit.answered(step.mid(1));
        } else if (step == u"!"_s) {
            QVERIFY(visit.settle().isDone());
        } else if (step == u"."_s) {
            QVERIFY(visit.leave().isDone());
            QVERIFY(!visit.isVisiting());
        } else {
            QVERIFY(visit.enter(QuestionTable::Bank, { u"K0101"_s, step }).isDone());
        }
    }
    QCOMPARE(attempts(store), recorded);
    // Every attempt is settled when recorded, and puts its question in the review schedule.
    QCOMPARE(store.scalar(u"select count(*) from attempt where answered_at < started_at"_s).toInt(), 0);
    QCOMPARE(count(store, u"review_schedule"_s),
        store.scalar(u"select count(distinct 题号) from attempt"_s).toInt());
    QCOMPARE(count(store, u"answer_history"_s), 0);
}

void tst_Attempts::examAnswersKeepTheBankKey()
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

    // Each copy answered wrongly: the attempts and the schedule name the question in tk.
    QSet<QString> bankNumbers;
    AttemptRecorder visit(store, fixedClock());
    for (RowSet r = store.query(u"select 代码, 题号 from kstk"_s); !r.atEnd(); r.next()) {
        const QuestionKey paperKey { r.field(0).toString(), r.field(1).toString() };
        QVERIFY(visit.enter(QuestionTable::WorkingSet, paperKey).isDone());
        QVERIFY(Answers::StoreAnswer(store, QuestionTable::WorkingSet, paperKey, u"C"_s).isDone());
        visit.answered(u"C"_s);
        bankNumbers << Answers::bankKey(store, QuestionTable::WorkingSet, paperKey).number;
    }
    QVERIFY(visit.leave().isDone());
    QCOMPARE(bankNumbers, (QSet<QString> { u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s }));
    QCOMPARE(store
                 .scalar(u"select group_concat(题号) from (select 题号 from attempt where source='exam' "
                         "and is_right=0 order by 题号)"_s)
                 .toString(),
        u"1,2,3,4,5"_s);
    QCOMPARE(
        store.scalar(u"select group_concat(题号) from (select 题号 from review_schedule order by 题号)"_s)
            .toString(),
        u"1,2,3,4,5"_s);
    // The bank's own answers are untouched by the paper's.
    QCOMPARE(store.scalar(u"select count(*) from tk where 答题 is not null"_s).toInt(), 0);

    // A working set copied from a section keeps tk's numbers and forgets the paper's.
    QVERIFY(store.writeTransaction([&] { return WorkingSet::fillFromBank(store, u"K0101"_s); }).isDone());
    QCOMPARE(count(store, u"exam_source"_s), 0);
}

void tst_Attempts::failedAttemptStaysOpen_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("lock held by another connection") << u"locked"_s;
    // The attempt's row has gone in when the schedule refuses: it must be undone too.
    QTest::newRow("review schedule refused") << u"refused"_s;
}

void tst_Attempts::failedAttemptStaysOpen()
{
    QFETCH(QString, how);
    QuestionStore store;
    QuestionStore other;
    QVERIFY(store.open(bankPath()));
    AttemptRecorder visit(store, fixedClock());
    QVERIFY(visit.enter(QuestionTable::Bank, { u"K0101"_s, u"1"_s }).isDone());
    QVERIFY(Answers::StoreAnswer(store, QuestionTable::Bank, visit.key(), u"B"_s).isDone());
    visit.answered(u"B"_s);
    if (how == u"locked"_s) {
        QVERIFY(other.open(bankPath()));
        QVERIFY(other.write(u"begin immediate"_s).isDone());
        store.setBusyTimeout(100);
    } else {
        QVERIFY(store
                    .write(u"create temp trigger refuse before insert on review_schedule "
                           "begin select raise(abort, 'refused'); end"_s)
                    .isDone());
    }
    const WriteResult result = visit.settle();
    QVERIFY(result.isFailed());
    QVERIFY(!BankMessages::reason(result).isEmpty());
    QVERIFY(visit.hasOpenAnswer());
    if (how == u"locked"_s)
        QVERIFY(other.write(u"rollback"_s).isDone());
    QCOMPARE(count(store, u"attempt"_s), 0);
    QCOMPARE(count(store, u"review_schedule"_s), 0);
    // Once the bank takes writes again, leaving records the attempt after all.
    if (how == u"refused"_s)
        QVERIFY(store.write(u"drop trigger refuse"_s).isDone());
    QCOMPARE(visit.leave().rows(), 1);
    QCOMPARE(attempts(store), u"1:B/0/0×1"_s);
}

void tst_Attempts::examResult()
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

QTEST_MAIN(tst_Attempts)
#include "tst_Attempts.moc"
