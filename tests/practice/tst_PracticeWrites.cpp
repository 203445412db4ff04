#include "TestBank.h"

#include "data/QuestionStore.h"
#include "data/ui/BankMessages.h"
#include "exam/WorkingSet.h"
#include "practice/Answers.h"
#include "practice/Favourites.h"
#include "practice/QuestionEditor.h"

#include <QTemporaryDir>
#include <QTest>

#include <functional>

// Every write of the practice road, without a window: which table it changes, when it
// has nothing to write, and that a failure leaves the bank as it was.
class tst_PracticeWrites : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void writes_data();
    void writes();

private:
    QString bankPath() const { return m_dir.path() + QStringLiteral("/bank.db"); }
    QTemporaryDir m_dir;
};

namespace {

using Operation = std::function<WriteResult(QuestionStore&, const QuestionKey&)>;

// Both tables of every row, as text.
QString content(QuestionStore& store)
{
    QString all;
    for (const char* table : { "tk", "kstk" }) {
        all += store
                   .scalar(QStringLiteral(
                       "select group_concat(r, ';') from (select 代码||'/'||题号||'/'||ifnull(答题,"
                       "'<null>')||'/'||收藏否||'/'||ifnull(zs,'')||'/'||答案 as r from %1 "
                       "order by 代码, 题号)")
                               .arg(QLatin1String(table)))
                   .toString()
            + u'|';
    }
    return all;
}

QuestionEditor::Edits edits()
{
    QuestionEditor::Edits e;
    e.document = QStringLiteral("{\\rtf1 new}");
    e.plainText = QStringLiteral("new");
    e.answer = QStringLiteral("C");
    e.notes = QStringLiteral("{\\rtf1 note}");
    e.type = QStringLiteral("单选");
    return e;
}

} // namespace

Q_DECLARE_METATYPE(Operation)

void tst_PracticeWrites::init()
{
    QFile::remove(bankPath());
    TestBank bank(bankPath());
    bank.question({ QStringLiteral("K0101"), 1, QStringLiteral("单选"), QStringLiteral("A"),
        QStringLiteral("B"), true });
    bank.question({ QStringLiteral("K0101"), 2, QStringLiteral("多选"), QStringLiteral("AB"), QVariant() });
    QVERIFY(WorkingSet::copyFromBank(bank.store()).isDone());
}

void tst_PracticeWrites::writes_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QString>("changed"); // the statement whose value must differ after a done write
    QTest::addColumn<bool>("needsQuestion");

    auto answer = [](QuestionTable table) {
        return Operation([table](QuestionStore& s, const QuestionKey& k) {
            return Answers::StoreAnswer(s, table, k, QStringLiteral("D"));
        });
    };
    QTest::newRow("answer in the bank")
        << answer(QuestionTable::Bank) << QStringLiteral("select 答题 from tk where 题号=1") << true;
    QTest::newRow("answer in the working set")
        << answer(QuestionTable::WorkingSet) << QStringLiteral("select 答题 from kstk where 题号=1") << true;
    QTest::newRow("redo") << Operation([](QuestionStore& s, const QuestionKey& k) {
        return Answers::ClearAnswers(s, QuestionTable::Bank, k.code);
    }) << QStringLiteral("select group_concat(ifnull(答题,'<null>')) from tk")
                          << false;
    QTest::newRow("remove favourite") << Operation(&Favourites::RemoveFromFavourites)
                                      << QStringLiteral("select 收藏否 from tk where 题号=1") << false;
    QTest::newRow("clear favourites")
        << Operation([](QuestionStore& s, const QuestionKey&) { return Favourites::ClearFavourites(s); })
        << QStringLiteral("select sum(收藏否) from tk") << false;
    QTest::newRow("notes") << Operation([](QuestionStore& s, const QuestionKey& k) {
        return QuestionEditor::SaveNotes(s, k, QStringLiteral("{\\rtf1 mine}"));
    }) << QStringLiteral("select zs from tk where 题号=1")
                           << true;
    QTest::newRow("edits") << Operation([](QuestionStore& s, const QuestionKey& k) {
        return QuestionEditor::SaveQuestionEdits(s, k, edits());
    }) << QStringLiteral("select 答案||tg from tk where 题号=1")
                           << true;
    QTest::newRow("own question") << Operation([](QuestionStore& s, const QuestionKey& k) {
        int number = 0;
        return QuestionEditor::AddQuestion(s, k.code, edits(), &number);
    }) << QStringLiteral("select count(*) from tk")
                                  << false;
}

void tst_PracticeWrites::writes()
{
    QFETCH(Operation, operation);
    QFETCH(QString, changed);
    QFETCH(bool, needsQuestion);
    const QuestionKey key { QStringLiteral("K0101"), QStringLiteral("1") };

    // A failure, here a read-only bank, says why and changes nothing.
    {
        QuestionStore store;
        QVERIFY(store.open(bankPath(), QuestionStore::Mode::ReadOnly));
        const QString before = content(store);
        const WriteResult result = operation(store, key);
        QVERIFY(result.isFailed());
        QVERIFY(!BankMessages::reason(result).isEmpty());
        QCOMPARE(content(store), before);
    }

    QuestionStore store;
    QVERIFY(store.open(bankPath()));
    const QString before = content(store);
    if (needsQuestion) {
        // Without a question, or with one that is gone, there is nothing to write.
        QVERIFY(operation(store, QuestionKey {}).isNothing());
        QVERIFY(operation(store, QuestionKey { QStringLiteral("K0101"), QStringLiteral("99") }).isNothing());
        QCOMPARE(content(store), before);
    }

    const QVariant old = store.scalar(changed);
    const WriteResult result = operation(store, key);
    QVERIFY2(result.isDone(), qPrintable(BankMessages::reason(result)));
    QVERIFY(store.scalar(changed) != old);
    // The other table is never touched: only an answer in the working set reaches kstk.
    const bool workingSet
        = QString::fromLatin1(QTest::currentDataTag()).contains(QLatin1String("working set"));
    const QStringList was = before.split(u'|');
    const QStringList now = content(store).split(u'|');
    QCOMPARE(now[workingSet ? 0 : 1], was[workingSet ? 0 : 1]);
}

QTEST_GUILESS_MAIN(tst_PracticeWrites)
#include "tst_PracticeWrites.moc"
