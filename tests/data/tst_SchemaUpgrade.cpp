#include "Fixtures.h"
#include "TestBank.h"

#include "data/AttemptRepository.h"
#include "data/BankSchema.h"
#include "data/QuestionStore.h"
#include "data/ui/BankMessages.h"
#include "practice/Answers.h"
#include "practice/AttemptRecorder.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// A bank of version 1 opened by this program: the new tables and indexes are added, and
// every row already there stays exactly as it was.
class tst_SchemaUpgrade : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void versionOneIsUpgradedAndKeepsItsRows();
    void upgradedBankRecordsAnswers();
    void versionTwoGetsTheReviewIndexAndMissingRecords();
    void versionThreeClicksBecomeAttempts_data();
    void versionThreeClicksBecomeAttempts();
    void versionFourCountsTheAttemptsForTheForecast();

private:
    QString bankPath() const { return m_dir.path() + u"/bank.db"_s; }
    QTemporaryDir m_dir;
    QMap<QString, QByteArray> m_before;
};

namespace {

const QStringList Kept { u"tk"_s, u"xmdm"_s, u"kmdm"_s, u"smdm"_s, u"tree"_s, u"wz"_s };

// A digest of every row of @p table, each value with its storage type.
QByteArray digest(QuestionStore& store, const QString& table)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    RowSet rows = store.query(u"select * from "_s + table + u" order by rowid"_s);
    for (; !rows.atEnd(); rows.next()) {
        for (int i = 0; i < rows.fieldNames().size(); ++i) {
            const QVariant v = rows.field(i);
            hash.addData(QByteArray::number(v.isNull() ? -1 : v.typeId()));
            hash.addData(
                v.metaType() == QMetaType::fromType<QByteArray>() ? v.toByteArray() : v.toString().toUtf8());
            hash.addData("\x1f");
        }
        hash.addData("\x1e");
    }
    return hash.result();
}

QMap<QString, QByteArray> digests(QuestionStore& store)
{
    QMap<QString, QByteArray> all;
    for (const QString& table : Kept)
        all.insert(table, digest(store, table));
    return all;
}

// The tables and indexes the versions after @p version add, named by the upgrade's statements.
QStringList addedSince(int version)
{
    static const QRegularExpression name(u"^create (?:unique )?(table|index) if not exists (\\w+)"_s);
    QStringList drops;
    for (int v = version; v < QuestionStore::SchemaVersion; ++v) {
        for (const QString& statement : BankSchema::upgradeStatements(v)) {
            const QRegularExpressionMatch m = name.match(statement);
            if (m.hasMatch())
                drops << u"drop %1 if exists %2"_s.arg(m.captured(1), m.captured(2));
        }
    }
    drops.removeDuplicates();
    return drops;
}

// An answer left as the attempt of one visit of question 1 of K0101.
bool answerOnce(QuestionStore& store, const QString& answer)
{
    AttemptRecorder visit(store);
    visit.enter(QuestionTable::Bank, { u"K0101"_s, u"1"_s });
    if (!Answers::StoreAnswer(store, QuestionTable::Bank, visit.key(), answer).isDone())
        return false;
    visit.answered(answer);
    return visit.leave().isDone();
}

int objects(QuestionStore& store, const QString& name)
{
    return store.scalar(u"select count(*) from sqlite_master where name=?"_s, { name }).toInt();
}

} // namespace

void tst_SchemaUpgrade::init()
{
    QFile::remove(bankPath());
    TestBank bank(bankPath());
    Fixtures::answeredBank(bank);
    QuestionStore& store = bank.store();
    // Version 1's layout: the current one without what later versions added.
    const QStringList drops = addedSince(1);
    QVERIFY(drops.size() >= 7);
    for (const QString& drop : drops) {
        const WriteResult dropped = store.write(drop);
        QVERIFY2(dropped.isDone(), qPrintable(drop + BankMessages::reason(dropped)));
    }
    QVERIFY(store.write(u"PRAGMA user_version = 1"_s).isDone());
    QCOMPARE(objects(store, u"answer_history"_s), 0);
    QCOMPARE(objects(store, u"tk_answered"_s), 0);
    m_before = digests(store);
}

void tst_SchemaUpgrade::versionOneIsUpgradedAndKeepsItsRows()
{
    {
        // A read-only open reads the bank as it is and upgrades nothing.
        QuestionStore store;
        QVERIFY2(store.open(bankPath(), QuestionStore::Mode::ReadOnly),
            qPrintable(BankMessages::reason(store.failure())));
        QCOMPARE(store.schemaVersion(), 1);
        QCOMPARE(store.scalar(u"PRAGMA user_version"_s).toInt(), 1);
        QCOMPARE(objects(store, u"answer_history"_s), 0);
    }
    QuestionStore store;
    QVERIFY2(store.open(bankPath()), qPrintable(BankMessages::reason(store.failure())));
    QCOMPARE(store.scalar(u"PRAGMA user_version"_s).toInt(), QuestionStore::SchemaVersion);
    for (const QString& name : { u"answer_history"_s, u"answer_history_key"_s, u"review_schedule"_s,
             u"review_schedule_key"_s, u"review_schedule_due"_s, u"exam_result"_s, u"exam_source"_s,
             u"exam_source_key"_s, u"tk_answered"_s, u"tk_text"_s, u"tk_review"_s })
        QVERIFY2(objects(store, name) == 1, qPrintable(name));
    QCOMPARE(store.scalar(u"select count(*) from answer_history"_s).toInt(), 0);
    const QMap<QString, QByteArray> after = digests(store);
    for (const QString& table : Kept)
        QVERIFY2(after.value(table) == m_before.value(table), qPrintable(table));
    store.close();

    // Opening again changes nothing more: the version is current.
    QVERIFY(store.open(bankPath(), QuestionStore::Mode::ReadOnly));
    QCOMPARE(digests(store), after);
}

void tst_SchemaUpgrade::upgradedBankRecordsAnswers()
{
    QuestionStore store;
    QVERIFY(store.open(bankPath()));
    QVERIFY(answerOnce(store, u"C"_s));
    QCOMPARE(
        store.scalar(u"select count(*) from attempt where 题号=1 and answer='C' and is_right=0"_s).toInt(),
        1);
    QCOMPARE(store.scalar(u"select count(*) from review_schedule where 题号=1"_s).toInt(), 1);
    // Only the answered question's row of tk changed: question 1 had no answer.
    QVERIFY(store.write(u"update tk set 答题=null where 题号=1"_s).isDone());
    QCOMPARE(digest(store, u"tk"_s), m_before.value(u"tk"_s));
}

void tst_SchemaUpgrade::versionTwoGetsTheReviewIndexAndMissingRecords()
{
    {
        // Some banks of version 2 were written before its records joined it.
        QuestionStore store;
        QVERIFY(store.open(bankPath()));
        for (const QString& drop : addedSince(2))
            QVERIFY2(store.write(drop).isDone(), qPrintable(drop));
        QVERIFY(store.write(u"PRAGMA user_version = 2"_s).isDone());
        QCOMPARE(objects(store, u"tk_review"_s), 0);
        QCOMPARE(objects(store, u"answer_history"_s), 0);
    }
    QuestionStore store;
    QVERIFY(store.open(bankPath()));
    QCOMPARE(store.scalar(u"PRAGMA user_version"_s).toInt(), QuestionStore::SchemaVersion);
    for (const QString& name : { u"answer_history"_s, u"attempt"_s, u"review_schedule_due"_s,
             u"exam_result"_s, u"exam_source"_s, u"tk_review"_s })
        QVERIFY2(objects(store, name) == 1, qPrintable(name));
    QVERIFY(answerOnce(store, u"C"_s));
    QCOMPARE(store.scalar(u"select count(*) from attempt"_s).toInt(), 1);
}

void tst_SchemaUpgrade::versionThreeClicksBecomeAttempts_data()
{
    // Clicks "number@seconds:answer/right[/exam]" of tk's K0101 in the order they were written;
    // attempts "number@start-settled:answer/right/source×clicks".
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QString>("attempts");
    QTest::newRow("ticks of one visit") << u"1@100:A/0 1@105:AC/1"_s << u"1@100-105:AC/1/practice×2"_s;
    QTest::newRow("another question between")
        << u"1@100:A/0 2@110:B/1 1@120:C/0"_s
        << u"1@100-100:A/0/practice×1 2@110-110:B/1/practice×1 1@120-120:C/0/practice×1"_s;
    QTest::newRow("more than ten minutes apart")
        << u"1@100:A/0 1@700:B/1 1@1301:C/0"_s << u"1@100-700:B/1/practice×2 1@1301-1301:C/0/practice×1"_s;
    QTest::newRow("practice, then the exam")
        << u"1@100:A/1 1@105:A/1/exam"_s << u"1@100-100:A/1/practice×1 1@105-105:A/1/exam×1"_s;
    QTest::newRow("the code in another case")
        << u"1@100:A/0 1@101:B/1/k0101"_s << u"1@100-101:B/1/practice×2"_s;
    QTest::newRow("no clicks") << QString() << QString();
}

void tst_SchemaUpgrade::versionThreeClicksBecomeAttempts()
{
    QFETCH(QString, clicks);
    QFETCH(QString, attempts);
    {
        QuestionStore store;
        QVERIFY(store.open(bankPath()));
        // Version 3's records: no attempts, no fitted weights, and the schedule of the fixed intervals.
        QVERIFY(store.write(u"drop table attempt"_s).isDone());
        QVERIFY(store.write(u"drop table memory_weights"_s).isDone());
        QVERIFY(store.write(u"drop table review_schedule"_s).isDone());
        QVERIFY(
            store
                .write(
                    u"create table review_schedule(代码 text collate nocase not null, 题号 integer not null, "
                    "stage integer not null, due_day integer not null)"_s)
                .isDone());
        for (const QString& click : clicks.split(u' ', Qt::SkipEmptyParts)) {
            static const QRegularExpression form(u"^(\\d+)@(\\d+):(\\w+)/(\\d)(?:/(exam))?(?:/(\\w+))?$"_s);
            const QRegularExpressionMatch m = form.match(click);
            QVERIFY2(m.hasMatch(), qPrintable(click));
            const QString code = m.captured(6).isEmpty() ? u"K0101"_s : m.captured(6);
            QVERIFY(
                store
                    .write(u"insert into answer_history(代码, 题号, answered_at, answer, is_right, source) "
                           "values(?, ?, ?, ?, ?, ?)"_s,
                        { code, m.captured(1).toInt(), m.captured(2).toLongLong(), m.captured(3),
                            m.captured(4).toInt(), m.captured(5).isEmpty() ? u"practice"_s : u"exam"_s })
                    .isDone());
        }
        QVERIFY(store.write(u"PRAGMA user_version = 3"_s).isDone());
    }
    QuestionStore store;
    QVERIFY2(store.open(bankPath()), qPrintable(BankMessages::reason(store.failure())));
    QCOMPARE(store.scalar(u"PRAGMA user_version"_s).toInt(), QuestionStore::SchemaVersion);
    QStringList got;
    for (RowSet r
         = store.query(u"select 题号, started_at, answered_at, seconds, answer, is_right, source, clicks "
                       "from attempt order by id"_s);
         !r.atEnd(); r.next()) {
        QCOMPARE(r.field(3).toLongLong(), r.field(2).toLongLong() - r.field(1).toLongLong());
        got << u"%1@%2-%3:%4/%5/%6×%7"_s.arg(r.field(0).toString(), r.field(1).toString(),
            r.field(2).toString(), r.field(4).toString(), r.field(5).toString(), r.field(6).toString(),
            r.field(7).toString());
    }
    QCOMPARE(got.join(u' '), attempts);
    // The clicks stay as they were, for an older program.
    QCOMPARE(store.scalar(u"select count(*) from answer_history"_s).toInt(),
        int(clicks.split(u' ', Qt::SkipEmptyParts).size()));
}

void tst_SchemaUpgrade::versionFourCountsTheAttemptsForTheForecast()
{
    {
        QuestionStore store;
        QVERIFY(store.open(bankPath()));
        // Version 4's records: no summary, no forecasts, weights without their shift, a schedule
        // without first outcomes.
        for (const QString& sql :
            { u"drop table attempt_summary"_s, u"drop table exam_forecast"_s, u"drop table memory_weights"_s,
                u"create table memory_weights(id integer primary key, attempts integer not null, weights "
                u"text "
                "not null)"_s,
                u"drop table review_schedule"_s,
                u"create table review_schedule(代码 text collate nocase not null, 题号 integer not null, "
                "stage integer not null, due_day integer not null, stability real, difficulty real, "
                "last_day integer)"_s,
                u"insert into review_schedule values('K0101', 1, 0, 0, 2, 5, 0), ('k0101', 3, 0, 0, 2, 5, "
                u"0), "
                "('K0101', 2, 0, 0, 2, 5, 0)"_s,
                // Question 1 wrong, then right; question 3 right, its code in another case.
                u"insert into attempt(代码, 题号, started_at, answered_at, seconds, answer, is_right, "
                u"source, "
                "clicks) values('K0101', 1, 0, 20, 20, 'B', 0, 'practice', 1), ('K0101', 1, 100, 130, 30, "
                "'A', 1, "
                "'practice', 1), ('k0101', 3, 200, 210, 10, 'A', 1, 'exam', 1), ('K0101', 4, 300, 340, 40, "
                "'AB', 1, "
                "'practice', 1)"_s,
                u"PRAGMA user_version = 4"_s })
            QVERIFY2(store.write(sql).isDone(), qPrintable(sql));
    }
    QuestionStore store;
    QVERIFY2(store.open(bankPath()), qPrintable(BankMessages::reason(store.failure())));
    QCOMPARE(store.scalar(u"PRAGMA user_version"_s).toInt(), QuestionStore::SchemaVersion);
    QStringList firsts;
    for (RowSet r
         = store.query(u"select 题号, ifnull(first_right, 'null') from review_schedule order by 题号"_s);
         !r.atEnd(); r.next())
        firsts << r.field(0).toString() + u':' + r.field(1).toString();
    // Question 4 had an attempt and no row: it gets one, its memory filled at the next start.
    QCOMPARE(firsts, QStringList({ u"1:0"_s, u"2:null"_s, u"3:1"_s, u"4:1"_s }));
    QCOMPARE(
        store.scalar(u"select count(*) from review_schedule where 题号=4 and stability is null"_s).toInt(),
        1);
    QStringList summary;
    for (RowSet r = store.query(
             u"select 代码, 题型, attempt_count, right_count, seconds from attempt_summary order by 题型"_s);
         !r.atEnd(); r.next())
        summary << u"%1 %2 %3/%4 %5s"_s.arg(r.field(0).toString(), r.field(1).toString(),
            r.field(2).toString(), r.field(3).toString(), r.field(4).toString());
    QCOMPARE(summary, QStringList({ u"K0101 单选 3/2 60s"_s, u"K0101 多选 1/1 40s"_s }));
    QCOMPARE(objects(store, u"exam_forecast"_s), 1);
    QVERIFY(store.query(u"select recall_shift from memory_weights"_s).isValid());
    // Counted on as attempts come.
    QVERIFY(answerOnce(store, u"A"_s));
    QCOMPARE(store.scalar(u"select attempt_count from attempt_summary where 题型='单选'"_s).toInt(), 4);
    QVERIFY(AttemptRepository::summaryIsCurrent(store));
}

QTEST_MAIN(tst_SchemaUpgrade)
#include "tst_SchemaUpgrade.moc"
