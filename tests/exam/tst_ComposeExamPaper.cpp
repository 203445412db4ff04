#include "TestBank.h"

#include "data/QuestionStore.h"
#include "data/ui/BankMessages.h"
#include "exam/ComposeExamPaper.h"
#include "exam/ExamSession.h"
#include "exam/WorkingSet.h"
#include "session/StudySession.h"

#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Counts = QList<int>;

class tst_ComposeExamPaper : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void paperFollowsTheCounts_data();
    void paperFollowsTheCounts();
    void twoPapersInARowDiffer();
    void aSeedFixesThePaper();
    void failedPaperKeepsThePreviousOne();
    void paperCountReadsTheLeadingNumber_data();
    void paperCountReadsTheLeadingNumber();
    void unseenFirst_data();
    void unseenFirst();
    void historyLeavesTheDrawWithoutTheOption();

private:
    QString bankPath() const { return m_dir.filePath(u"bank.db"_s); }
    static QStringList dump(QuestionStore& store, const QString& table);
    QTemporaryDir m_dir;
};

namespace {

// Per section: how many questions of each slot's type (单选, 不定项, 简答, 综合, 判断, 多选).
const Counts PerSection { 10, 2, 2, 1, 3, 4 };
const QStringList Sections { u"甲"_s, u"乙"_s, u"丙"_s };

std::array<QString, 6> counts(const QStringList& texts)
{
    std::array<QString, 6> a;
    for (int i = 0; i < 6; ++i)
        a[size_t(i)] = texts.value(i);
    return a;
}

ExamPaperRequest request(const QStringList& counts_, const QStringList& deselected = {})
{
    ExamPaperRequest r;
    r.deselectedSections = deselected;
    r.counts = counts(counts_);
    return r;
}

} // namespace

void tst_ComposeExamPaper::initTestCase()
{
    QVERIFY(m_dir.isValid());
    TestBank bank(bankPath());
    int number = 1;
    for (int s = 0; s < Sections.size(); ++s) {
        const QString code = u"K010"_s + QString::number(s + 1);
        bank.section(code, Sections[s]);
        for (int slot = 0; slot < 6; ++slot) {
            for (int i = 0; i < PerSection[slot]; ++i) {
                // Answers and favourites of every kind, which the paper must not touch.
                const QVariant given = i % 3 == 0 ? QVariant() : QVariant(i % 3 == 1 ? u""_s : u"B"_s);
                bank.question({ code, number++, QuestionType::slotName(slot), u"A"_s, given, i % 2 == 0 });
            }
        }
        // Types without a count of their own, and a row without a type.
        bank.question({ code, number++, u"B"_s, u"AB"_s });
        bank.question({ code, number++, u"计算"_s, u"会做"_s });
        bank.question({ code, number++, u""_s, u"A"_s });
    }
    // A section of the catalogue shares its name with another: leaving the name out leaves both out.
    bank.section(u"K0104"_s, u"丙"_s);
    bank.question({ u"K0104"_s, number++, u"单选"_s });
}

QStringList tst_ComposeExamPaper::dump(QuestionStore& store, const QString& table)
{
    QStringList rows;
    RowSet r = store.query(u"select * from "_s + table + u" order by rowid"_s);
    for (; !r.atEnd(); r.next()) {
        QStringList fields;
        for (int c = 0; c < r.fieldNames().size(); ++c) {
            const QVariant v = r.field(c);
            fields << (v.isNull() ? u"<null>"_s : v.toString());
        }
        rows << fields.join(u'|');
    }
    return rows;
}

void tst_ComposeExamPaper::paperFollowsTheCounts_data()
{
    QTest::addColumn<QStringList>("countTexts");
    QTest::addColumn<QStringList>("deselected");
    QTest::addColumn<Counts>("expected"); // rows per slot

    const QStringList defaults { u"20"_s, u"5"_s, u"5"_s, u"3"_s, u"10"_s, u"10"_s };
    // 31 单选 (K0104 too), 6 不定项, 6 简答, 3 综合, 9 判断, 12 多选.
    QTest::newRow("defaults: fewer 判断 than asked, hidden 简答/综合 counts apply")
        << defaults << QStringList() << Counts { 20, 5, 5, 3, 9, 10 };
    QTest::newRow("count 0") << QStringList { u"0"_s, u"5"_s, u"5"_s, u"3"_s, u"10"_s, u"10"_s }
                             << QStringList() << Counts { 0, 5, 5, 3, 9, 10 };
    QTest::newRow("empty and non-numeric") << QStringList { u""_s, u"abc"_s, u"5"_s, u"3"_s, u"10"_s,
        u"10"_s } << QStringList() << Counts { 0, 0, 5, 3, 9, 10 };
    QTest::newRow("leading number, fraction, negative") << QStringList { u" 7题"_s, u"2.9"_s, u"-3"_s, u"0"_s,
        u"0"_s, u"0"_s } << QStringList() << Counts { 7, 2, 0, 0, 0, 0 };
    QTest::newRow("more than the bank holds")
        << QStringList(6, u"999"_s) << QStringList() << Counts { 31, 6, 6, 3, 9, 12 };
    QTest::newRow("one section left out")
        << QStringList(6, u"999"_s) << QStringList { u"乙"_s } << Counts { 21, 4, 4, 2, 6, 8 };
    QTest::newRow("a shared name leaves both out")
        << QStringList(6, u"999"_s) << QStringList { u"丙"_s } << Counts { 20, 4, 4, 2, 6, 8 };
    QTest::newRow("all left out: an empty paper") << defaults << Sections << Counts { 0, 0, 0, 0, 0, 0 };
}

void tst_ComposeExamPaper::paperFollowsTheCounts()
{
    QFETCH(QStringList, countTexts);
    QFETCH(QStringList, deselected);
    QFETCH(Counts, expected);
    QuestionStore store;
    QVERIFY(store.open(bankPath()));
    const QStringList bankBefore = dump(store, u"tk"_s);
    QVector<int> progressMaxima;
    const WriteResult made = store.writeTransaction([&] {
        return ComposeExamPaper(store, request(countTexts, deselected), [&](int maximum, int) {
            if (progressMaxima.isEmpty() || progressMaxima.last() != maximum)
                progressMaxima << maximum;
        });
    });
    QVERIFY2(made.isDone(), qPrintable(BankMessages::reason(made)));

    int total = 0;
    for (int slot = 0; slot < 6; ++slot) {
        const int rows
            = store.scalar(u"select count(*) from kstk where 题型=?"_s, { QuestionType::slotName(slot) })
                  .toInt();
        QCOMPARE(rows, expected[slot]);
        total += rows;
    }
    QCOMPARE(store.scalar(u"select count(*) from kstk"_s).toInt(), total);
    QCOMPARE(made.rows(), total);
    // Every row is a question of the bank from a chosen section, unanswered and marked.
    QCOMPARE(
        store
            .scalar(u"select count(*) from kstk k join tk t on t.sj=k.sj and t.代码=k.代码 and t.题型=k.题型 "
                    "and t.答案=k.答案 and t.选项 is k.选项"_s)
            .toInt(),
        total);
    QCOMPARE(store.scalar(u"select count(*) from kstk where 答题='' and 收藏否=-1"_s).toInt(), total);
    for (const QString& name : deselected)
        QCOMPARE(
            store
                .scalar(u"select count(*) from kstk where 代码 in (select 代码 from smdm where 细目=?)"_s,
                    { name })
                .toInt(),
            0);
    // Numbers are unique in the paper and below 100000.
    QCOMPARE(store.scalar(u"select count(distinct 题号) from kstk"_s).toInt(), total);
    QCOMPARE(store.scalar(u"select count(*) from kstk where 题号 between 0 and 99999"_s).toInt(), total);
    QCOMPARE(dump(store, u"tk"_s), bankBefore);
    QCOMPARE(progressMaxima.size() >= 2, true);
}

void tst_ComposeExamPaper::twoPapersInARowDiffer()
{
    QuestionStore store;
    QVERIFY(store.open(bankPath()));
    const auto paper = [&] {
        const ExamPaperRequest r = request({ u"5"_s, u"2"_s, u"2"_s, u"1"_s, u"3"_s, u"3"_s });
        if (!store.writeTransaction([&] { return ComposeExamPaper(store, r); }).isDone())
            return QStringList();
        QStringList rows;
        RowSet k = store.query(u"select sj, 题号 from kstk order by sj"_s);
        for (; !k.atEnd(); k.next())
            rows << k.field(0).toString() + u':' + k.field(1).toString();
        return rows;
    };
    const QStringList first = paper();
    QCOMPARE(first.size(), 16);
    QVERIFY(paper() != first);
}

void tst_ComposeExamPaper::aSeedFixesThePaper()
{
    QuestionStore store;
    QVERIFY(store.open(bankPath()));
    ExamPaperRequest r = request({ u"5"_s, u"2"_s, u"2"_s, u"1"_s, u"3"_s, u"3"_s });
    r.seed = 42;
    QVERIFY(store.writeTransaction([&] { return ComposeExamPaper(store, r); }).isDone());
    const QStringList first = dump(store, u"kstk"_s);
    QVERIFY(store.writeTransaction([&] { return ComposeExamPaper(store, r); }).isDone());
    QCOMPARE(dump(store, u"kstk"_s), first);
}

void tst_ComposeExamPaper::failedPaperKeepsThePreviousOne()
{
    QuestionStore store;
    QVERIFY(store.open(bankPath()));
    StudySession state;
    ExamSession exam(store, state);
    QVERIFY(WorkingSet::copyFromBank(store, u"K0104"_s).isDone());
    QuestionStore other;
    QVERIFY(other.open(bankPath()));
    QVERIFY(other.write(u"begin immediate"_s).isDone());
    store.setBusyTimeout(50);
    const WriteResult result = exam.startPaper(request(QStringList(6, u"10"_s)));
    QVERIFY(other.write(u"rollback"_s).isDone());
    QVERIFY(result.isFailed());
    QVERIFY(!BankMessages::reason(result).isEmpty());
    QVERIFY(!state.isExamRunning());
    QCOMPARE(dump(store, u"kstk"_s).size(), 1);

    QVERIFY(exam.startPaper(request(QStringList(6, u"1"_s))).isDone());
    QVERIFY(state.isExamRunning());
    QCOMPARE(store.scalar(u"select count(*) from kstk"_s).toInt(), 6);
}

namespace {

// Ten 单选 questions in 丁 (K0201), four more in 戊 (K0202), which the papers leave out,
// and the history @p history: "3" an attempt at question 3 of 丁 alone, "3@101" an attempt
// and its schedule row last practised on day 101, "3#101" the schedule row alone, "3#" a
// schedule row without a day (as the upgrade writes for attempts the schedule lacked).
void historyBank(const QString& path, const QStringList& history)
{
    TestBank bank(path);
    bank.section(u"K0201"_s, u"丁"_s).section(u"K0202"_s, u"戊"_s);
    for (int i = 1; i <= 10; ++i)
        bank.question({ u"K0201"_s, i });
    for (int i = 1; i <= 4; ++i)
        bank.question({ u"K0202"_s, i });
    for (const QString& entry : history) {
        const QStringList parts = entry.split(QRegularExpression(u"[@#]"_s));
        const int number = parts[0].toInt();
        if (!entry.contains(u'#'))
            QVERIFY(
                bank.store()
                    .write(u"insert into attempt(代码, 题号, started_at, answered_at, seconds, answer, "
                           "is_right, source, clicks) values ('K0201', ?, 1, 2, 1, 'A', 1, 'practice', 1)"_s,
                        { number })
                    .isDone());
        if (parts.size() > 1)
            QVERIFY(bank.store()
                        .write(u"insert into review_schedule(代码, 题号, stage, due_day, last_day) "
                               "values ('K0201', ?, 0, 0, ?)"_s,
                            { number, parts[1].isEmpty() ? QVariant() : QVariant(parts[1].toInt()) })
                        .isDone());
    }
}

// The bank numbers of the paper's questions, as "K0201:7".
QSet<QString> paperNumbers(QuestionStore& store)
{
    QSet<QString> numbers;
    RowSet rows = store.query(u"select 代码, bank_number from exam_source"_s);
    for (; !rows.atEnd(); rows.next())
        numbers << rows.field(0).toString() + u':' + rows.field(1).toString();
    return numbers;
}

QSet<QString> inSection(const QList<int>& numbers)
{
    QSet<QString> keys;
    for (int n : numbers)
        keys << u"K0201:%1"_s.arg(n);
    return keys;
}

} // namespace

void tst_ComposeExamPaper::unseenFirst_data()
{
    QTest::addColumn<QStringList>("history");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("always"); // on every paper
    QTest::addColumn<QList<int>>("sometimes"); // fill the rest at random: each on some paper
    QTest::newRow("enough never answered: only they, at random")
        << QStringList { u"1@100"_s, u"2@101"_s, u"3#"_s, u"4#102"_s, u"5@103"_s, u"6@104"_s } << 3
        << QList<int>() << QList<int> { 7, 8, 9, 10 };
    QTest::newRow("too few: all of them, then the least recently practised") << QStringList {
        u"1@105"_s, u"2@101"_s, u"3@103"_s, u"4@100"_s, u"5@104"_s, u"6@102"_s, u"7@106"_s, u"8@107"_s
    } << 5 << QList<int> { 9, 10, 4, 2, 6 } << QList<int>();
    QTest::newRow("ties on the oldest day fall at random") << QStringList {
        u"1@100"_s, u"2@100"_s, u"3@100"_s, u"4@105"_s, u"5@106"_s, u"6@107"_s, u"7@108"_s, u"8@109"_s
    } << 4 << QList<int> { 9, 10 } << QList<int> { 1, 2, 3 };
    QTest::newRow("a schedule row without a day counts as the oldest") << QStringList {
        u"1#"_s, u"2@90"_s, u"3@100"_s, u"4@101"_s, u"5@102"_s, u"6@103"_s, u"7@104"_s, u"8@105"_s
    } << 4 << QList<int> { 9, 10, 1, 2 } << QList<int>();
    QTest::newRow("more asked than the section holds")
        << QStringList { u"1@100"_s, u"2@101"_s } << 20 << QList<int> { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 }
        << QList<int>();
}

void tst_ComposeExamPaper::unseenFirst()
{
    QFETCH(QStringList, history);
    QFETCH(int, count);
    QFETCH(QList<int>, always);
    QFETCH(QList<int>, sometimes);
    QTemporaryDir dir;
    historyBank(dir.filePath(u"bank.db"_s), history);
    QuestionStore store;
    QVERIFY(store.open(dir.filePath(u"bank.db"_s)));
    ExamPaperRequest r
        = request({ QString::number(count), u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s }, { u"戊"_s });
    r.unseenFirst = true;
    const QSet<QString> must = inSection(always);
    QSet<QString> drawn;
    for (quint32 seed = 1; seed <= 40; ++seed) {
        r.seed = seed;
        QVERIFY(store.writeTransaction([&] { return ComposeExamPaper(store, r); }).isDone());
        const QSet<QString> paper = paperNumbers(store);
        QCOMPARE(paper.size(), qMin(count, 10));
        QVERIFY2(paper.contains(must), qPrintable(QStringList(paper.values()).join(u' ')));
        QVERIFY2((must + inSection(sometimes)).contains(paper),
            qPrintable(QStringList(paper.values()).join(u' ')));
        drawn += paper;
    }
    QCOMPARE(drawn - must, inSection(sometimes));
}

void tst_ComposeExamPaper::historyLeavesTheDrawWithoutTheOption()
{
    QTemporaryDir dir;
    const auto paper = [&](const QStringList& history) {
        const QString path = dir.filePath(QString::number(history.size()) + u".db"_s);
        historyBank(path, history);
        QuestionStore store;
        ExamPaperRequest r = request({ u"4"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s });
        r.seed = 7;
        if (!store.open(path) || !store.writeTransaction([&] { return ComposeExamPaper(store, r); }).isDone())
            return QStringList();
        return dump(store, u"kstk"_s);
    };
    const QStringList fresh = paper({});
    QCOMPARE(fresh.size(), 4);
    QCOMPARE(
        paper({ u"1@100"_s, u"2"_s, u"3#101"_s, u"4@102"_s, u"5@103"_s, u"6@104"_s, u"7@105"_s }), fresh);
}

void tst_ComposeExamPaper::paperCountReadsTheLeadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::newRow("plain") << u"20"_s << 20;
    QTest::newRow("blanks") << u"  45 "_s << 45;
    QTest::newRow("empty") << u""_s << 0;
    QTest::newRow("letters") << u"abc"_s << 0;
    QTest::newRow("fraction") << u"3.7"_s << 3;
    QTest::newRow("negative") << u"-4"_s << 0;
}

void tst_ComposeExamPaper::paperCountReadsTheLeadingNumber()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    QCOMPARE(paperCount(text), count);
}

QTEST_GUILESS_MAIN(tst_ComposeExamPaper)
#include "tst_ComposeExamPaper.moc"
