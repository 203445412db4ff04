#include "TestBank.h"
#include "TestFolders.h"

#include "data/QuestionStore.h"
#include "data/sh_diraduvod.h"
#include "exam/Grading.h"
#include "exam/ScoreReport.h"
#include "exam/WorkingSet.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Q = TestBank::Question;

class tst_Grading : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void rateText_data();
    void rateText();
    void examPaperTally();
    void reportCells_data();
    void reportCells();
    void totalLineSumsWhatTheRowsShow();
    void pointsDefaultToOne();
    void practiceSectionScoresShortAnswersByCharacters();
    void practiceSectionBecomesTheWorkingSet();
    void sectionWithoutQuestions_data();
    void sectionWithoutQuestions();
    void detailRowsNumberGroupsAndMarkWhatIsNotRight();

private:
    QStringList row(QuestionType::TypeSlot slot) const
    {
        return ScoreReport::summaryRow(m_tally, ScoreReport::readPoints(), slot);
    }
    static void addMany(
        TestBank& bank, const QString& type, int count, const QString& key, const QVariant& given);

    std::unique_ptr<TestFolders> m_folders;
    std::unique_ptr<TestBank> m_bank;
    GradingTally m_tally;
};

void tst_Grading::addMany(
    TestBank& bank, const QString& type, int count, const QString& key, const QVariant& given)
{
    static int number = 1000;
    for (int i = 0; i < count; ++i)
        bank.question(Q(u"K0101"_s, ++number, type, key, given));
}

// The paper of the cases the report must read right: 20 单选 (12 right, 5 wrong, 3
// unanswered, absent and empty alike), 10 多选 with 4 right (one wrong only by case),
// 3 判断 with 2 right, no 不定项, a 简答 right in two of three characters, and rows of
// types that are counted nowhere.
void tst_Grading::init()
{
    m_folders = std::make_unique<TestFolders>();
    m_bank = std::make_unique<TestBank>(m_folders->bankPath());
    TestBank& b = *m_bank;
    // One transaction: the rows are many.
    QVERIFY(b.store()
                .writeTransaction([&] {
                    addMany(b, u"单选"_s, 12, u"A"_s, u"A"_s);
                    addMany(b, u"单选"_s, 5, u"A"_s, u"B"_s);
                    addMany(b, u"单选"_s, 2, u"A"_s, QVariant());
                    addMany(b, u"单选"_s, 1, u"A"_s, u""_s);
                    addMany(b, u"多选"_s, 4, u"ABD"_s, u"ABD"_s);
                    addMany(b, u"多选"_s, 1, u"ABD"_s, u"abd"_s);
                    addMany(b, u"多选"_s, 5, u"ABD"_s, u"AB"_s);
                    addMany(b, u"判断"_s, 2, u"A"_s, u"A"_s);
                    addMany(b, u"判断"_s, 1, u"A"_s, u"B"_s);
                    addMany(b, u"简答"_s, 1, u"会做题"_s, u"会错题"_s);
                    addMany(b, u"计算"_s, 2, u"会做"_s, u"会做"_s);
                    addMany(b, u"B"_s, 1, u"ACD"_s, u"ACD"_s);
                    return WriteResult::done();
                })
                .isDone());
    QVERIFY(WorkingSet::copyFromBank(b.store()).isDone());
    const Grading::Outcome outcome = Grading::GradeExamPaper(b.store());
    QVERIFY(outcome.readError.isEmpty());
    m_tally = outcome.tally;
}

void tst_Grading::cleanup()
{
    m_bank.reset();
    m_folders.reset();
}

void tst_Grading::rateText_data()
{
    QTest::addColumn<int>("part");
    QTest::addColumn<int>("whole");
    QTest::addColumn<QString>("text");
    QTest::newRow("7 of 20") << 7 << 20 << u"35%"_s;
    QTest::newRow("1 of 3 is cut, not rounded") << 1 << 3 << u"33.33%"_s;
    QTest::newRow("2 of 3") << 2 << 3 << u"66.66%"_s;
    QTest::newRow("one decimal without its trailing zero") << 1 << 8 << u"12.5%"_s;
    QTest::newRow("whole") << 20 << 20 << u"100%"_s;
    QTest::newRow("none right") << 0 << 5 << u"0%"_s;
    QTest::newRow("nothing to score") << 0 << 0 << u"0%"_s;
    QTest::newRow("large counts do not overflow") << 32767 << 32767 << u"100%"_s;
}

void tst_Grading::rateText()
{
    QFETCH(int, part);
    QFETCH(int, whole);
    QFETCH(QString, text);
    QCOMPARE(ScoreReport::rateText(part, whole), text);
}

void tst_Grading::examPaperTally()
{
    const GradingTally& t = m_tally;
    QCOMPARE(t.total, (std::array<qint32, 6> { 20, 0, 1, 0, 3, 10 }));
    QCOMPARE(t.right, (std::array<qint32, 6> { 12, 0, 0, 0, 2, 4 }));
    QCOMPARE(t.unanswered, (std::array<qint32, 6> { 3, 0, 0, 0, 0, 0 }));
    QCOMPARE(t.wrong(0), 5);
    // In an exam a short answer counts once in its slot and by characters apart.
    QCOMPARE(t.charTotal, 3);
    QCOMPARE(t.charRight, 2);
}

void tst_Grading::reportCells_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QStringList>("cells");
    // A1DF 1, XDF 2 and BDF 3 (written in init of this test's settings).
    QTest::newRow("单选 20: 12 right, 5 wrong, 3 unanswered")
        << 0 << QStringList { u"单选"_s, u"20"_s, u"12"_s, u"5"_s, u"3"_s, u"12"_s, u"60%"_s };
    QTest::newRow("多选 4 of 10, case counts, score by XDF")
        << 5 << QStringList { u"多选"_s, u"10"_s, u"4"_s, u"6"_s, u"0"_s, u"8"_s, u"40%"_s };
    QTest::newRow("判断 scored with BDF")
        << 4 << QStringList { u"判断"_s, u"3"_s, u"2"_s, u"1"_s, u"0"_s, u"6"_s, u"66.66%"_s };
    QTest::newRow("a type without questions")
        << 1 << QStringList { u"不定项"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0%"_s };
}

void tst_Grading::reportCells()
{
    QFETCH(int, slot);
    QFETCH(QStringList, cells);
    QVERIFY(sh_diraduvod::PutIniInt(u"kscs"_s, u"A1DF"_s, 1));
    QVERIFY(sh_diraduvod::PutIniInt(u"kscs"_s, u"XDF"_s, 2));
    QVERIFY(sh_diraduvod::PutIniInt(u"kscs"_s, u"BDF"_s, 3));
    QCOMPARE(row(slot), cells);
    QCOMPARE(ScoreReport::summarySlots(), (std::array<QuestionType::TypeSlot, 4> { 0, 5, 4, 1 }));
}

void tst_Grading::totalLineSumsWhatTheRowsShow()
{
    QVERIFY(sh_diraduvod::PutIniInt(u"kscs"_s, u"A1DF"_s, 1));
    QVERIFY(sh_diraduvod::PutIniInt(u"kscs"_s, u"XDF"_s, 2));
    QVERIFY(sh_diraduvod::PutIniInt(u"kscs"_s, u"BDF"_s, 3));
    QVERIFY(sh_diraduvod::PutIniInt(u"kscs"_s, u"A2DF"_s, 5));
    // Points: 单选 20 × 1, 多选 10 × 2, 判断 3 × 3, the short answer's 3 characters;
    // scored: 12 + 4 × 2 + 2 × 3 + 2.
    const ScoreReport::Totals totals = ScoreReport::totals(m_tally, ScoreReport::readPoints());
    QCOMPARE(totals.total, 20 + 20 + 9 + 3);
    QCOMPARE(totals.scored, 12 + 8 + 6 + 2);
    QCOMPARE(ScoreReport::totalLine(m_tally, ScoreReport::readPoints()),
        u"总分：52   得分：28   得分率：53.84%"_s);
}

void tst_Grading::pointsDefaultToOne()
{
    QCOMPARE(ScoreReport::readPoints(), (ScoreReport::Points { 1, 1, 1, 1, 1, 1 }));
    QCOMPARE(row(5).at(5), u"4"_s);
    QCOMPARE(ScoreReport::totalLine(m_tally, ScoreReport::readPoints()),
        u"总分：36   得分：20   得分率：55.55%"_s);
}

void tst_Grading::practiceSectionScoresShortAnswersByCharacters()
{
    TestBank& b = *m_bank;
    b.question(Q(u"K0102"_s, 1, u"简答"_s, u"会做"_s, u"会错"_s));
    b.question(Q(u"K0102"_s, 2, u"简答"_s, u"ABC"_s, QVariant()));
    b.question(Q(u"K0102"_s, 3, u"简答"_s, u"ab"_s, u"AB"_s));
    b.question(Q(u"K0102"_s, 4, u"单选"_s, u"C"_s, u"C"_s));
    const Grading::Outcome outcome = Grading::GradePracticeSection(b.store(), u"K0102"_s);
    QVERIFY(outcome.copied.isDone());
    const GradingTally& t = outcome.tally;
    // Characters in the slot itself: 2 + 3 + 2 of them, 1 right, 3 unanswered.
    QCOMPARE(t.total[2], 7);
    QCOMPARE(t.right[2], 1);
    QCOMPARE(t.unanswered[2], 3);
    QCOMPARE(t.charTotal, 7);
    QCOMPARE(t.charRight, 1);
    QCOMPARE(t.total[0], 1);
    QCOMPARE(t.right[0], 1);
}

void tst_Grading::practiceSectionBecomesTheWorkingSet()
{
    TestBank& b = *m_bank;
    b.question(Q(u"K0102"_s, 1, u"单选"_s, u"C"_s, u"C"_s));
    b.question(Q(u"K0102"_s, 2, u"判断"_s, u"A"_s, QVariant()));
    // An exam paper of the whole bank was the working set before.
    QVERIFY(WorkingSet::copyFromBank(b.store()).isDone());
    QVERIFY(Grading::GradePracticeSection(b.store(), u"K0102"_s).copied.isDone());
    QuestionStore& s = b.store();
    QCOMPARE(s.scalar(u"select count(*) from kstk"_s).toInt(), 2);
    QCOMPARE(s.scalar(u"select count(*) from kstk where 代码='K0102'"_s).toInt(), 2);
    QVERIFY(s.scalar(u"select 答题 from kstk where 题号=2"_s).isNull());
}

void tst_Grading::sectionWithoutQuestions_data()
{
    QTest::addColumn<QString>("section");
    QTest::newRow("a section without questions") << u"K0103"_s;
    QTest::newRow("no section shown yet") << QString();
}

void tst_Grading::sectionWithoutQuestions()
{
    QFETCH(QString, section);
    QVERIFY(WorkingSet::copyFromBank(m_bank->store()).isDone());
    const Grading::Outcome outcome = Grading::GradePracticeSection(m_bank->store(), section);
    QVERIFY(outcome.readError.isEmpty());
    QVERIFY(outcome.copied.isDone());
    const GradingTally& t = outcome.tally;
    for (const QuestionType::TypeSlot slot : ScoreReport::summarySlots()) {
        const QStringList cells = ScoreReport::summaryRow(t, ScoreReport::readPoints(), slot);
        QCOMPARE(cells.mid(1), (QStringList { u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0%"_s }));
    }
    QCOMPARE(t.charTotal, 0);
    QVERIFY(ScoreReport::totalLine(t, ScoreReport::readPoints()).isEmpty());
    QVERIFY(ScoreReport::detailRows(m_bank->store(), QuestionTable::Bank, section).isEmpty());
    // The working set is that (empty) section, never the whole bank.
    QCOMPARE(m_bank->store().scalar(u"select count(*) from kstk"_s).toInt(), 0);
}

void tst_Grading::detailRowsNumberGroupsAndMarkWhatIsNotRight()
{
    TestBank& b = *m_bank;
    b.question(Q(u"K0102"_s, 1, u"单选"_s, u"A"_s, u"A"_s, false, u"股票的定义\nA．一\r\nB．二"_s));
    b.question(Q(u"K0102"_s, 2, u"单选"_s, u"A"_s, QVariant()));
    b.question(Q(u"K0102"_s, 3, u"多选"_s, u"AB"_s, u"ab"_s));
    b.question(Q(u"K0102"_s, 4, u"B"_s, u"ACD"_s, u"ACD"_s));
    b.question(Q(u"K0102"_s, 5, u"A3"_s, u"AB"_s, u"AC"_s));
    b.question(Q(u"K0102"_s, 6, u"A4"_s, u"对错"_s, u""_s));
    b.question(Q(u"K0102"_s, 7, u"计算"_s, u"会做"_s, u"会做"_s));
    const QVector<ScoreReport::DetailRow> rows
        = ScoreReport::detailRows(b.store(), QuestionTable::Bank, u"K0102"_s);
    QStringList numbers, types, red;
    for (const ScoreReport::DetailRow& r : rows) {
        numbers << r.number;
        types << r.type;
        red << (r.red ? u"red"_s : u"black"_s);
    }
    // By type in code-point order, then sj; all three grouped types count their letters.
    QCOMPARE(types, (QStringList { u"A3"_s, u"A4"_s, u"B"_s, u"单选"_s, u"单选"_s, u"多选"_s, u"计算"_s }));
    QCOMPARE(numbers,
        (QStringList { u"第1题--第2题"_s, u"第3题--第4题"_s, u"第5题--第7题"_s, u"第8题"_s, u"第9题"_s,
            u"第10题"_s, u"第11题"_s }));
    QCOMPARE(
        red, (QStringList { u"red"_s, u"red"_s, u"black"_s, u"black"_s, u"red"_s, u"red"_s, u"black"_s }));
    QCOMPARE(rows.at(3).title, u"股票的定义 A．一 B．二"_s);
    QCOMPARE(rows.at(3).key, u"A"_s);
    QCOMPARE(rows.at(5).given, u"ab"_s);
}

QTEST_GUILESS_MAIN(tst_Grading)
#include "tst_Grading.moc"
