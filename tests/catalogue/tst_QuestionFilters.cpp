#include "Fixtures.h"
#include "TestBank.h"
#include "TestFolders.h"

#include "exam/WorkingSet.h"
#include "catalogue/QuestionFilters.h"
#include "data/RowSet.h"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// The statements behind the question list, run against one bank: which questions each
// lists, and in which order.
class tst_QuestionFilters : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void typeFilterText_data();
    void typeFilterText();
    void sectionOrdersByTypeThenSj_data();
    void sectionOrdersByTypeThenSj();
    void personalLists_data();
    void personalLists();
    void practiceFilter_data();
    void practiceFilter();
    void examFilterReadsThePaper_data();
    void examFilterReadsThePaper();

private:
    // The 题号 of the rows a selection lists, in order (they are unique in this bank).
    QStringList listed(const QuestionFilters::Selection& selection);

    TestFolders m_folders;
    std::unique_ptr<TestBank> m_bank;
};

namespace {

const QString AllTypes = u"单选不定项简答综合判断多选"_s;

// 题号 in list order, from "13 7 8".
QStringList listOf(const char* numbers)
{
    return QString::fromLatin1(numbers).split(u' ', Qt::SkipEmptyParts);
}

} // namespace

void tst_QuestionFilters::initTestCase()
{
    m_bank = std::make_unique<TestBank>(m_folders.bankPath());
    Fixtures::answeredBank(*m_bank);
    using Q = TestBank::Question;
    Q first(u"K0101"_s, 14, u"单选"_s, u"C"_s, u"C"_s);
    first.sj = 0; // added last, listed first among its type
    m_bank->question(Q(u"K0101"_s, 12, u"综合"_s, u"会做"_s, u"不会"_s))
        .question(Q(u"K0101"_s, 13, u"A3"_s, u"AB"_s, u"AB"_s))
        .question(first);
    QuestionStore& store = m_bank->store();
    QVERIFY(store.write(u"update tk set 收藏否=-1 where 题号 in (1, 2, 3, 4, 7, 11, 13)"_s).isDone());
    // The paper differs from the bank, so each filter shows which table it reads.
    QVERIFY(WorkingSet::copyFromBank(store).isDone());
    QVERIFY(store.write(u"update kstk set 答题='A' where 题号=1"_s).isDone());
    QVERIFY(store.write(u"update kstk set 答题=null where 题号=3"_s).isDone());
}

void tst_QuestionFilters::cleanupTestCase()
{
    m_bank.reset();
}

QStringList tst_QuestionFilters::listed(const QuestionFilters::Selection& selection)
{
    RowSet rows = m_bank->store().query(selection.sql, selection.params);
    if (!rows.isValid())
        qWarning("%s: %s", qPrintable(selection.sql), qPrintable(rows.error()));
    QStringList numbers;
    for (; rows.isValid() && !rows.atEnd(); rows.next())
        numbers << rows.field(u"题号"_s).toString();
    return numbers;
}

void tst_QuestionFilters::typeFilterText_data()
{
    QTest::addColumn<QVector<bool>>("ticked");
    QTest::addColumn<QString>("text");
    QTest::newRow("all six, in box order") << QVector<bool>(6, true) << AllTypes;
    QTest::newRow("none") << QVector<bool>(6, false) << QString();
    QTest::newRow("单选 and 多选") << QVector<bool> { true, false, false, false, false, true }
                                   << u"单选多选"_s;
    QTest::newRow("fewer flags than boxes") << QVector<bool> { false, true } << u"不定项"_s;
}

void tst_QuestionFilters::typeFilterText()
{
    QFETCH(QVector<bool>, ticked);
    QFETCH(QString, text);
    QCOMPARE(QuestionFilters::TypeFilterText(ticked), text);
}

void tst_QuestionFilters::sectionOrdersByTypeThenSj_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QStringList>("numbers");
    // Types by code point: A3, A4, B, 不定项, 判断, 单选, 多选, 简答, 综合, 计算.
    QTest::newRow("every type") << u"K0101"_s << listOf("13 7 8 10 5 14 1 2 3 4 9 12 6");
    QTest::newRow("another section") << u"K0102"_s << listOf("11");
    QTest::newRow("a section without questions") << u"K0103"_s << QStringList();
}

void tst_QuestionFilters::sectionOrdersByTypeThenSj()
{
    QFETCH(QString, code);
    QFETCH(QStringList, numbers);
    QCOMPARE(listed(QuestionFilters::section(code)), numbers);
}

void tst_QuestionFilters::personalLists_data()
{
    QTest::addColumn<QString>("node");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("numbers");
    // The favourites: 1 absent, 2 empty, 3 right, 4 wrong, 7 wrong, 11 wrong (another section), 13 right.
    QTest::newRow("个人收藏试题") << u"个人收藏试题"_s << u"个人收藏试题"_s << listOf("13 7 1 2 3 11 4");
    QTest::newRow("个人做错的题: answered and differs")
        << u"个人做错的题"_s << u"个人收藏做错的试题"_s << listOf("7 11 4");
    QTest::newRow("个人做过的题: neither absent nor empty")
        << u"个人做过的题"_s << u"个人收藏做过的试题"_s << listOf("13 7 3 11 4");
}

void tst_QuestionFilters::personalLists()
{
    QFETCH(QString, node);
    QFETCH(QString, title);
    QFETCH(QStringList, numbers);
    QVERIFY(QuestionFilters::isPersonalList(node));
    QString shown;
    QCOMPARE(listed(QuestionFilters::personal(node, &shown)), numbers);
    QCOMPARE(shown, title);

    // A node of the personal subject that is none of the three lists nothing.
    QString untouched = u"unchanged"_s;
    QVERIFY(!QuestionFilters::isPersonalList(u"个人题库"_s));
    QVERIFY(QuestionFilters::personal(u"个人题库"_s, &untouched).sql.isEmpty());
    QCOMPARE(untouched, u"unchanged"_s);
}

void tst_QuestionFilters::practiceFilter_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("types");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QStringList>("numbers");
    const QString k = u"K0101"_s;
    // Answered in K0101: 1 absent, 2 and 10 empty, 3 and 14 right, 4, 5 and 12 wrong; 9 right (简答).
    QTest::newRow("全部题目") << u"全部题目"_s << AllTypes << k << listOf("10 5 14 1 2 3 4 9 12");
    QTest::newRow("已做题目: neither absent nor empty")
        << u"已做题目"_s << AllTypes << k << listOf("5 14 3 4 9 12");
    QTest::newRow("未做题目: absent or empty") << u"未做题目"_s << AllTypes << k << listOf("10 1 2");
    QTest::newRow("做错题目: answered and differs") << u"做错题目"_s << AllTypes << k << listOf("5 4 12");
    QTest::newRow("全部题目, 单选多选") << u"全部题目"_s << u"单选多选"_s << k << listOf("14 1 2 3 4");
    QTest::newRow("已做题目, 单选多选") << u"已做题目"_s << u"单选多选"_s << k << listOf("14 3 4");
    QTest::newRow("未做题目, 单选多选") << u"未做题目"_s << u"单选多选"_s << k << listOf("1 2");
    QTest::newRow("做错题目, 单选多选") << u"做错题目"_s << u"单选多选"_s << k << listOf("4");
    QTest::newRow("全部题目, no type") << u"全部题目"_s << QString() << k << QStringList();
    QTest::newRow("做错题目, no type") << u"做错题目"_s << QString() << k << QStringList();
    QTest::newRow("another section") << u"做错题目"_s << AllTypes << u"K0102"_s << listOf("11");
    // Any other choice (the prompt a redo leaves) lists the whole bank, every type and section.
    const QStringList wholeBank = listOf("13 7 8 10 5 14 1 2 3 11 4 9 12 6");
    QTest::newRow("the prompt") << u"请选择范围"_s << u"单选"_s << k << wholeBank;
    QTest::newRow("an exam item") << u"已做过题"_s << QString() << u"K0103"_s << wholeBank;
}

void tst_QuestionFilters::practiceFilter()
{
    QFETCH(QString, choice);
    QFETCH(QString, types);
    QFETCH(QString, code);
    QFETCH(QStringList, numbers);
    QCOMPARE(listed(QuestionFilters::practice(choice, types, code)), numbers);
}

void tst_QuestionFilters::examFilterReadsThePaper_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("types");
    QTest::addColumn<QStringList>("numbers");
    // In the paper 1 is answered and 3 is absent, unlike the bank; 2 and 10 are empty.
    QTest::newRow("全部题目") << u"全部题目"_s << AllTypes << listOf("10 5 14 1 2 3 11 4 9 12");
    QTest::newRow("已做过题") << u"已做过题"_s << AllTypes << listOf("5 14 1 11 4 9 12");
    QTest::newRow("未做过题") << u"未做过题"_s << AllTypes << listOf("10 2 3");
    QTest::newRow("全部题目, 单选多选") << u"全部题目"_s << u"单选多选"_s << listOf("14 1 2 3 11 4");
    QTest::newRow("已做过题, 单选多选") << u"已做过题"_s << u"单选多选"_s << listOf("14 1 11 4");
    QTest::newRow("未做过题, 单选多选") << u"未做过题"_s << u"单选多选"_s << listOf("2 3");
    QTest::newRow("全部题目, no type") << u"全部题目"_s << QString() << QStringList();
    const QStringList wholePaper = listOf("13 7 8 10 5 14 1 2 3 11 4 9 12 6");
    QTest::newRow("no choice: the whole paper") << QString() << QString() << wholePaper;
    QTest::newRow("a practice item: the whole paper") << u"已做题目"_s << u"单选"_s << wholePaper;
}

void tst_QuestionFilters::examFilterReadsThePaper()
{
    QFETCH(QString, choice);
    QFETCH(QString, types);
    QFETCH(QStringList, numbers);
    QCOMPARE(listed(QuestionFilters::exam(choice, types)), numbers);
}

QTEST_GUILESS_MAIN(tst_QuestionFilters)
#include "tst_QuestionFilters.moc"
