#include "TestBank.h"

#include "data/QuestionStore.h"
#include "exam/ExamSession.h"
#include "exam/WorkingSet.h"
#include "session/StudySession.h"

#include <QTemporaryDir>
#include <QTest>

class tst_WorkingSet : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void copiesKeepTheQuestionTableShape();
    void failedCopyKeepsThePreviousSet();
    void examSessionOwnsTheRunningFlag();

private:
    QString bankPath() const { return m_dir.path() + QStringLiteral("/bank.db"); }
    int count(QuestionStore& store, const QString& sql) { return store.scalar(sql).toInt(); }
    QTemporaryDir m_dir;
};

void tst_WorkingSet::init()
{
    QFile::remove(bankPath());
    TestBank bank(bankPath());
    bank.question({ QStringLiteral("K0101"), 1, QStringLiteral("单选"), QStringLiteral("A"), QString() });
    bank.question({ QStringLiteral("K0101"), 2 });
    bank.question({ QStringLiteral("K0102"), 1 });
}

void tst_WorkingSet::copiesKeepTheQuestionTableShape()
{
    QuestionStore store;
    QVERIFY(store.open(bankPath()));
    // The first copy finds no working set to drop.
    QVERIFY(WorkingSet::copyFromBank(store).isDone());
    QCOMPARE(count(store, QStringLiteral("select count(*) from kstk")), 3);
    // An empty answer stays empty, an absent one absent.
    QCOMPARE(count(store, QStringLiteral("select count(*) from kstk where 答题=''")), 1);
    QCOMPARE(count(store, QStringLiteral("select count(*) from kstk where 答题 is null")), 2);
    // The declared collation and the indexes came along (the search, review and forecast
    // indexes are the bank's alone).
    QCOMPARE(count(store, QStringLiteral("select count(*) from kstk where 代码='k0101'")), 2);
    QCOMPARE(count(store,
                 QStringLiteral("select count(*) from sqlite_master where tbl_name='kstk' and type='index'")),
        count(store,
            QStringLiteral("select count(*) from sqlite_master where tbl_name='tk' and type='index' "
                           "and name not in ('tk_text', 'tk_review', 'tk_kind')")));

    QVERIFY(WorkingSet::copyFromBank(store, QStringLiteral("K0102")).isDone());
    QCOMPARE(count(store, QStringLiteral("select count(*) from kstk")), 1);
    QCOMPARE(store.scalar(QStringLiteral("select 代码 from kstk")).toString(), QStringLiteral("K0102"));
}

void tst_WorkingSet::failedCopyKeepsThePreviousSet()
{
    {
        QuestionStore store;
        QVERIFY(store.open(bankPath()));
        QVERIFY(WorkingSet::copyFromBank(store, QStringLiteral("K0102")).isDone());
    }
    QuestionStore store;
    QVERIFY(store.open(bankPath()));
    QuestionStore other;
    QVERIFY(other.open(bankPath()));
    QVERIFY(other.write(QStringLiteral("begin immediate")).isDone());
    store.setBusyTimeout(100);
    QVERIFY(WorkingSet::copyFromBank(store).isFailed());
    QVERIFY(other.write(QStringLiteral("rollback")).isDone());
    QCOMPARE(count(store, QStringLiteral("select count(*) from kstk")), 1);
}

void tst_WorkingSet::examSessionOwnsTheRunningFlag()
{
    QuestionStore store;
    QVERIFY(store.open(bankPath()));
    StudySession state;
    ExamSession exam(store, state);
    QCOMPARE(exam.table(), QuestionTable::Bank);

    // A paper that cannot be made starts nothing and leaves no half-made working set.
    const WriteResult refused = exam.start([&] {
        WorkingSet::fillFromBank(store);
        return WriteResult::failed(QStringLiteral("试卷无法生成"));
    });
    QVERIFY(refused.isFailed());
    QVERIFY(!state.isExamRunning());
    QVERIFY(store.scalar(QStringLiteral("select count(*) from kstk")).isNull());

    QVERIFY(exam.start([&] { return WorkingSet::fillFromBank(store); }).isDone());
    QVERIFY(state.isExamRunning());
    QCOMPARE(exam.table(), QuestionTable::WorkingSet);
    exam.end();
    QVERIFY(!state.isExamRunning());
    QCOMPARE(count(store, QStringLiteral("select count(*) from kstk")), 3); // kept for the grading
}

QTEST_GUILESS_MAIN(tst_WorkingSet)
#include "tst_WorkingSet.moc"
