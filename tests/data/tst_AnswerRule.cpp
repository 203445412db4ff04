#include "TestBank.h"

#include "data/AnswerRule.h"
#include "data/QuestionStore.h"

#include <QTemporaryDir>
#include <QTest>

// The rule in C++ and in SQL must judge every row alike: the lists filter with one,
// the graders and the statistics count with the other.
class tst_AnswerRule : public QObject
{
    Q_OBJECT

private slots:
    void judgesAlikeInCodeAndStatements_data();
    void judgesAlikeInCodeAndStatements();

private:
    QTemporaryDir m_dir;
    int m_banks = 0;
};

void tst_AnswerRule::judgesAlikeInCodeAndStatements_data()
{
    QTest::addColumn<QVariant>("key");
    QTest::addColumn<QVariant>("given");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<bool>("right");

    const QVariant null;
    auto s = [](const char16_t* text) { return QVariant(QString::fromUtf16(text)); };
    QTest::newRow("absent") << s(u"A") << null << false << false;
    QTest::newRow("empty") << s(u"A") << s(u"") << false << false;
    QTest::newRow("equal") << s(u"ACD") << s(u"ACD") << true << true;
    QTest::newRow("same letters, other order") << s(u"ACD") << s(u"CAD") << true << false;
    QTest::newRow("Latin case counts") << s(u"acd") << s(u"ACD") << true << false;
    QTest::newRow("blank counts") << s(u"A ") << s(u"A") << true << false;
    QTest::newRow("self-assessment") << s(u"会做") << s(u"会做") << true << true;
    QTest::newRow("true/false wrong") << s(u"对错") << s(u"对") << true << false;
    QTest::newRow("empty key, answered") << s(u"") << s(u"A") << true << false;
    QTest::newRow("absent key, answered") << null << s(u"A") << true << false;
    QTest::newRow("absent key, absent answer") << null << null << false << false;
}

void tst_AnswerRule::judgesAlikeInCodeAndStatements()
{
    QFETCH(QVariant, key);
    QFETCH(QVariant, given);
    QFETCH(bool, answered);
    QFETCH(bool, right);

    QCOMPARE(AnswerRule::isAnswered(given), answered);
    QCOMPARE(AnswerRule::isRight(key.toString(), given), right);
    QCOMPARE(AnswerRule::isWrong(key.toString(), given), answered && !right);

    TestBank bank(m_dir.path() + QStringLiteral("/rule-%1.db").arg(++m_banks));
    QuestionStore& store = bank.store();
    QVERIFY(store
                .write(QStringLiteral(
                           "insert into tk(代码, 题号, 题型, 答案, 答题, 收藏否, sj) values('K0101', 1, "
                           "'单选', ?, ?, 0, 1)"),
                    { key, given })
                .isDone());
    auto holds = [&store](const QString& condition) {
        return store.scalar(QStringLiteral("select count(*) from tk where ") + condition).toInt() == 1;
    };
    QCOMPARE(holds(AnswerRule::answeredSql()), answered);
    QCOMPARE(holds(AnswerRule::unansweredSql()), !answered);
    QCOMPARE(holds(AnswerRule::rightSql()), right);
    QCOMPARE(holds(AnswerRule::wrongSql()), answered && !right);
}

QTEST_GUILESS_MAIN(tst_AnswerRule)
#include "tst_AnswerRule.moc"
