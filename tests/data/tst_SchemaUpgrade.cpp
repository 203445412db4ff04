#include "Fixtures.h"
#include "TestBank.h"

#include "data/BankSchema.h"
#include "data/QuestionStore.h"
#include "data/ui/BankMessages.h"
#include "practice/Answers.h"

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
            hash.addData(v.metaType() == QMetaType::fromType<QByteArray>() ? v.toByteArray() : v.toString().toUtf8());
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
    QVERIFY(Answers::StoreAnswer(store, QuestionTable::Bank, { u"K0101"_s, u"1"_s }, u"C"_s).isDone());
    QCOMPARE(store.scalar(u"select count(*) from answer_history where 题号=1 and answer='C' and is_right=0"_s).toInt(), 1);
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
    for (const QString& name :
        { u"answer_history"_s, u"review_schedule_due"_s, u"exam_result"_s, u"exam_source"_s, u"tk_review"_s })
        QVERIFY2(objects(store, name) == 1, qPrintable(name));
    QVERIFY(Answers::StoreAnswer(store, QuestionTable::Bank, { u"K0101"_s, u"1"_s }, u"C"_s).isDone());
    QCOMPARE(store.scalar(u"select count(*) from answer_history"_s).toInt(), 1);
}

QTEST_MAIN(tst_SchemaUpgrade)
#include "tst_SchemaUpgrade.moc"
