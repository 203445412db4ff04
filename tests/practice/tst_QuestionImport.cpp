#include "Fixtures.h"
#include "TestBank.h"
#include "TestFolders.h"

#include "data/QuestionStore.h"
#include "data/ui/BankMessages.h"
#include "practice/QuestionImport.h"
#include "richtext/RichText.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

// Importing questions from a file: every record checked against the bank's catalogue and
// the answer rules of its type, then all stored in one transaction or none.
class tst_QuestionImport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void importsAFile_data();
    void importsAFile();
    void refusesTheWholeFile_data();
    void refusesTheWholeFile();
    void failedWriteStoresNothing_data();
    void failedWriteStoresNothing();
    void unreadableFile();
    void sampleFileImports();
    void writtenAsPeopleWriteThem_data();
    void writtenAsPeopleWriteThem();

private:
    QString writeFile(const QByteArray& bytes);
    QVariant stored(const QString& code, int number, const QString& column);
    QString plain(const QString& code, int number, const QString& column);

    std::unique_ptr<TestFolders> m_folders;
    std::unique_ptr<TestBank> m_bank;
};

void tst_QuestionImport::init()
{
    m_folders = std::make_unique<TestFolders>();
    m_bank = std::make_unique<TestBank>(m_folders->bankPath());
    Fixtures::importBank(*m_bank);
}

void tst_QuestionImport::cleanup()
{
    m_bank.reset();
    m_folders.reset();
}

QString tst_QuestionImport::writeFile(const QByteArray& bytes)
{
    const QString path = QDir(m_folders->path()).filePath(u"questions.csv"_s);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QVariant tst_QuestionImport::stored(const QString& code, int number, const QString& column)
{
    return m_bank->store().scalar(
        u"select %1 from tk where 代码=? and 题号=?"_s.arg(column), { code, number });
}

QString tst_QuestionImport::plain(const QString& code, int number, const QString& column)
{
    return RichText::plainText(stored(code, number, column).toString().toLatin1());
}

void tst_QuestionImport::importsAFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("encoding");
    const QString text = Fixtures::importText();
    QTest::newRow("UTF-8") << text.toUtf8() << u"UTF-8"_s;
    QTest::newRow("UTF-8 with a byte order mark") << "\xEF\xBB\xBF" + text.toUtf8() << u"UTF-8"_s;
    QTest::newRow("GBK") << Fixtures::gbk(text) << u"GBK"_s;
    QTest::newRow("GBK, CR LF line breaks")
        << Fixtures::gbk(Fixtures::importText(u',', u"\r\n"_s)) << u"GBK"_s;
    QTest::newRow("tab-separated") << Fixtures::importText(u'\t').toUtf8() << u"UTF-8"_s;
    QTest::newRow("tab-separated, CR LF, no header")
        << Fixtures::importText(u'\t', u"\r\n"_s).section(u"\r\n"_s, 1).toUtf8() << u"UTF-8"_s;
}

void tst_QuestionImport::importsAFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, encoding);
    const QuestionImport::Outcome outcome = QuestionImport::importFile(m_bank->store(), writeFile(bytes));
    QVERIFY2(outcome.problems.isEmpty(), qPrintable(outcome.message(u"questions.csv"_s)));
    QCOMPARE(outcome.status, QuestionImport::Outcome::Status::Imported);
    QCOMPARE(outcome.encoding, encoding);
    QCOMPARE(outcome.total, 3);
    QCOMPARE(outcome.added.size(), 2);
    QCOMPARE(outcome.added[0].code, u"K0101"_s);
    QCOMPARE(outcome.added[0].name, u"第一节"_s);
    QCOMPARE(outcome.added[0].count, 1);
    QCOMPARE(outcome.added[0].first, 6); // past the largest number, not the count
    QCOMPARE(outcome.added[1].code, u"K0102"_s);
    QCOMPARE(outcome.added[1].count, 2);
    QCOMPARE(outcome.added[1].first, 1);
    QCOMPARE(outcome.added[1].last, 2);
    // Each question named as the list shows it: type and title, on one line.
    QCOMPARE(outcome.message(u"questions.csv"_s),
        u"已从“questions.csv”向题库添加3道试题：\n"
        u"\nK0101 第一节：1道\n　　单选　下列说法中，\"正确\"的是（    ）。 A．甲 B．乙 C．"
        u"\nK0102 第二节：2道\n　　多选　证券的种类有（    ）。 A．股票 B．债券 C．基金"
        u"\n　　判断　国债的信用风险低于公司债券。 A．正确 B．错误"
        u"\n\n点击主窗口左侧的树目录以刷新修改记录！"_s);

    // Placeholders in a file name are text.
    QVERIFY(outcome.message(u"%1 %2.csv"_s).startsWith(u"已从“%1 %2.csv”向题库添加3道试题：\n"_s));

    const QString stem = u"下列说法中，\"正确\"的是（    ）。"_s;
    const QString whole = stem + u"\nA．甲\nB．乙\nC．丙\nD．丁"_s;
    QCOMPARE(stored(u"K0101"_s, 6, u"题型"_s).toString(), u"单选"_s);
    QCOMPARE(stored(u"K0101"_s, 6, u"答案"_s).toString(), u"C"_s);
    QCOMPARE(stored(u"K0101"_s, 6, u"收藏否"_s).toInt(), 0);
    QVERIFY(stored(u"K0101"_s, 6, u"答题"_s).isNull());
    QCOMPARE(stored(u"K0101"_s, 6, u"tg"_s).toString(), whole.left(30));
    QCOMPARE(stored(u"K0101"_s, 6, u"xx"_s).toString(), whole.left(30));
    QCOMPARE(plain(u"K0101"_s, 6, u"选项"_s), whole);
    QCOMPARE(plain(u"K0101"_s, 6, u"题干"_s), stem);
    QCOMPARE(plain(u"K0101"_s, 6, u"zs"_s), u"第一行笔记\n第二行笔记"_s);

    // The code as the catalogue spells it; the key's letters in the order the panel writes them.
    QCOMPARE(stored(u"K0102"_s, 1, u"代码"_s).toString(), u"K0102"_s);
    QCOMPARE(stored(u"K0102"_s, 1, u"答案"_s).toString(), u"AC"_s);
    QCOMPARE(plain(u"K0102"_s, 1, u"选项"_s), u"证券的种类有（    ）。\nA．股票\nB．债券\nC．基金"_s);
    QVERIFY(stored(u"K0102"_s, 1, u"zs"_s).isNull());

    QCOMPARE(stored(u"K0102"_s, 2, u"题型"_s).toString(), u"判断"_s);
    QCOMPARE(plain(u"K0102"_s, 2, u"选项"_s), u"国债的信用风险低于公司债券。\nA．正确\nB．错误"_s);
    QCOMPARE(stored(u"K0102"_s, 2, u"答案"_s).toString(), u"A"_s);

    // In file order within each type, after what the bank held.
    QCOMPARE(m_bank->store()
                 .scalar(u"select group_concat(sj) from (select sj from tk order by rowid)"_s)
                 .toString(),
        u"1,2,3,4,5"_s);
}

void tst_QuestionImport::refusesTheWholeFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<int>>("lines");
    QTest::addColumn<QString>("message");

    // Two sound records before the one under test (the second spans lines 3 and 4), so a
    // refused file would have had something to half-import; the record under test starts on line 5.
    const QString head = u"章节代码,题型,题干,选项,答案,注释\n"
                         u"K0101,单选,股票的特征有（    ）。,收益性|固定性,A,\n"
                         u"K0102,简答,\"简述证券市场的功能。\n（两点即可）\",,筹资与定价,\n"_s;
    const auto row = [&head](const QString& record) { return (head + record + u"\n"_s).toUtf8(); };
    const auto add = [](const char* name, const QByteArray& bytes, const QList<int>& lines,
                         const QString& message) { QTest::newRow(name) << bytes << lines << message; };

    add("unknown section", row(u"K0999,单选,题干,甲|乙,A,"_s), { 5 }, u"章节代码“K0999”不在题库的目录中"_s);
    add("no section", row(u",单选,题干,甲|乙,A,"_s), { 5 }, u"没有章节代码"_s);
    add("text-material section", row(u"J0101,单选,题干,甲|乙,A,"_s), { 5 },
        u"章节“J0101 证券法”是文字资料，不能放试题"_s);
    add("named entry", row(u"W0101,单选,题干,甲|乙,A,"_s), { 5 },
        u"“W0101 个人收藏试题”是程序自己的目录项，不能放试题"_s);
    add("unknown type", row(u"K0101,填空,题干,,A,"_s), { 5 },
        u"未知的题型“填空”，可用的题型：单选、不定项、简答、综合、判断、多选、计算、A4、B、A3"_s);
    add("type as the add dialog stores it untouched", row(u"K0101,A1,题干,,A,"_s), { 5 },
        u"未知的题型“A1”"_s);
    add("单选, two letters", row(u"K0101,单选,题干,甲|乙|丙,AB,"_s), { 5 },
        u"答案“AB”不符合单选题：应为一个字母（A～C）"_s);
    add("单选, past its options", row(u"K0101,单选,题干,甲|乙|丙,D,"_s), { 5 },
        u"答案“D”不符合单选题：应为一个字母（A～C）"_s);
    add("单选, past E", row(u"K0101,单选,题干,,F,"_s), { 5 }, u"答案“F”不符合单选题：应为一个字母（A～E）"_s);
    add("多选, one letter", row(u"K0101,多选,题干,甲|乙|丙,B,"_s), { 5 },
        u"答案“B”不符合多选题：应为两个或以上不重复的字母（A～C）"_s);
    add("多选, a letter twice", row(u"K0101,多选,题干,甲|乙|丙,ABA,"_s), { 5 }, u"不符合多选题"_s);
    add("不定项, not letters", row(u"K0101,不定项,题干,甲|乙|丙,1、2,"_s), { 5 },
        u"答案“1、2”不符合不定项题：应为一个或以上不重复的字母（A～C）"_s);
    add("判断, C", row(u"K0101,判断,题干,,C,"_s), { 5 }, u"答案“C”不符合判断题：应为A（正确）或B（错误）"_s);
    add("判断, 对", row(u"K0101,判断,题干,,对,"_s), { 5 }, u"不符合判断题"_s);
    add("判断, three options", row(u"K0101,判断,题干,对|错|不确定,A,"_s), { 5 },
        u"判断题应有两个选项（A正确、B错误），或者不填选项"_s);
    add("B, a digit", row(u"K0101,B,题干,甲|乙|丙|丁,AC4,"_s), { 5 },
        u"答案“AC4”不符合B题：应为每个小题一个字母（A～D）"_s);
    add("A4, letters", row(u"K0101,A4,案例,,AB,"_s), { 5 },
        u"答案“AB”不符合A4题：应为每个小题一个“对”或“错”"_s);
    add("no answer", row(u"K0101,简答,题干,,  ,"_s), { 5 }, u"没有答案"_s);
    add("six options", row(u"K0101,单选,题干,1|2|3|4|5|6,A,"_s), { 5 }, u"有6个选项，最多5个（A～E）"_s);
    add("empty stem", row(u"K0101,单选,\"  \",甲|乙,A,"_s), { 5 }, u"题干是空的"_s);
    add("four columns", row(u"K0101,单选,题干,A"_s), { 5 },
        u"应有6列（章节代码、题型、题干、选项、答案、注释，注释可以省略），这一行有4列"_s);
    add("seven columns", row(u"K0101,单选,题干,甲|乙,A,注释,多余"_s), { 5 }, u"这一行有7列"_s);
    add("unterminated quote", row(u"K0101,单选,\"没有结束的题干,甲|乙,A,\nK0101,单选,题干,甲|乙,A,"_s), { 5 },
        u"从这一行开始的引号字段直到文件末尾都没有结束，缺少一个双引号(\")"_s);
    add("bad byte in a UTF-8 file", head.toUtf8() + "K0101,\xFF\xFE,x,,A,\n", { 5 },
        u"文字既不是UTF-8也不是GBK编码"_s);
    add("bad byte in a GBK file", Fixtures::gbk(head) + "K0101,\xFF,x,,A,\n", { 5 },
        u"文字既不是UTF-8也不是GBK编码"_s);
    add("UTF-16",
        QByteArray("\xFF\xFE")
            + QByteArray::fromRawData(reinterpret_cast<const char*>(head.utf16()), head.size() * 2),
        { 1 }, u"文字既不是UTF-8也不是GBK编码"_s);
    add("every bad record told",
        row(u"K0999,单选,题干,甲|乙,A,\nK0101,单选,题干,甲|乙,A,\nK0101,多选,题干,,A,"_s), { 5, 7 },
        u"章节代码“K0999”不在题库的目录中"_s);
    add("one record, two problems", row(u"K0999,判断,,,C,"_s), { 5, 5, 5 },
        u"章节代码“K0999”不在题库的目录中"_s);
    QString twelve;
    QList<int> twelveLines;
    for (int i = 0; i < 12; ++i) {
        twelve += u"K0999,单选,题干,甲|乙,A,\n"_s;
        twelveLines << 5 + i;
    }
    add("twelve bad records", row(twelve.chopped(1)), twelveLines, u"章节代码“K0999”不在题库的目录中"_s);
    add("only a header", u"章节代码,题型,题干,选项,答案,注释\n\n"_s.toUtf8(), { 0 }, u"文件中没有试题"_s);
    add("empty file", QByteArray(), { 0 }, u"文件中没有试题"_s);
}

void tst_QuestionImport::refusesTheWholeFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<int>, lines);
    QFETCH(QString, message);
    const QString before = Fixtures::questionTable(m_bank->store());

    const QuestionImport::Outcome outcome = QuestionImport::importFile(m_bank->store(), writeFile(bytes));
    QCOMPARE(outcome.status, QuestionImport::Outcome::Status::Refused);
    QList<int> found;
    for (const auto& p : outcome.problems)
        found << p.line;
    QCOMPARE(found, lines);
    QVERIFY2(outcome.problems[0].message.contains(message), qPrintable(outcome.problems[0].message));
    const QString told = outcome.message(u"questions.csv"_s);
    QVERIFY2(told.startsWith(u"“questions.csv”中有%1处问题，没有导入任何试题：\n"_s.arg(lines.size())),
        qPrintable(told));
    if (lines[0] > 0)
        QVERIFY(told.contains(u"\n第%1行：%2\n"_s.arg(lines[0]).arg(outcome.problems[0].message)));
    // The message lists ten problems and counts the rest.
    QCOMPARE(told.count(u"\n第"_s), lines[0] > 0 ? qMin(int(lines.size()), 10) : 0);
    if (lines.size() > 10)
        QVERIFY(told.contains(u"\n……另有%1处问题\n"_s.arg(lines.size() - 10)));
    QCOMPARE(Fixtures::questionTable(m_bank->store()), before);
}

void tst_QuestionImport::failedWriteStoresNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("reason");
    QTest::newRow("read-only bank") << u"read-only"_s << u"题库文件是只读的"_s;
    QTest::newRow("locked bank") << u"locked"_s << u"题库正被另一个程序使用"_s;
    QTest::newRow("third question refused by the bank") << u"third"_s << u"数据库错误"_s;
}

void tst_QuestionImport::failedWriteStoresNothing()
{
    QFETCH(QString, how);
    QFETCH(QString, reason);
    QuestionStore& store = m_bank->store();
    QuestionStore other;
    if (how == u"read-only"_s) {
        store.close();
        QVERIFY(store.open(m_bank->path(), QuestionStore::Mode::ReadOnly));
    } else if (how == u"locked"_s) {
        QVERIFY(other.open(m_bank->path()));
        QVERIFY(other.write(u"begin immediate"_s).isDone());
        store.setBusyTimeout(100);
    } else {
        // The first two questions are inserted before the bank refuses the third.
        QVERIFY(store
                    .write(u"create trigger refuse before insert on tk when new.题型='判断' "
                           u"begin select raise(abort, 'refused'); end"_s)
                    .isDone());
    }
    const QString before = Fixtures::questionTable(store);

    const QuestionImport::Outcome outcome
        = QuestionImport::importFile(store, writeFile(Fixtures::importText().toUtf8()));
    QCOMPARE(outcome.status, QuestionImport::Outcome::Status::Failed);
    QVERIFY2(BankMessages::reason(outcome.failure).startsWith(reason),
        qPrintable(BankMessages::reason(outcome.failure)));
    QVERIFY(outcome.added.isEmpty());
    QCOMPARE(outcome.message(u"q.csv"_s, BankMessages::reason(outcome.failure)),
        u"“q.csv”中的3道试题没有导入题库，题库保持原样。\n\n原因：%1。"_s.arg(
            BankMessages::reason(outcome.failure)));
    if (how == u"locked"_s)
        QVERIFY(other.write(u"rollback"_s).isDone());
    QCOMPARE(Fixtures::questionTable(store), before);
}

void tst_QuestionImport::unreadableFile()
{
    const QString before = Fixtures::questionTable(m_bank->store());
    for (const QString& path : { QDir(m_folders->path()).filePath(u"missing.csv"_s), m_folders->path() }) {
        const QuestionImport::Outcome outcome = QuestionImport::importFile(m_bank->store(), path);
        QCOMPARE(outcome.status, QuestionImport::Outcome::Status::Refused);
        QCOMPARE(outcome.problems.size(), 1);
        QCOMPARE(outcome.problems[0].line, 0);
        QVERIFY2(outcome.problems[0].message.startsWith(u"无法读取文件（"_s),
            qPrintable(outcome.problems[0].message));
    }
    QCOMPARE(Fixtures::questionTable(m_bank->store()), before);
}

void tst_QuestionImport::sampleFileImports()
{
    // The sample shipped with the program, into the sections of the sample bank it names.
    TestBank bank(QDir(m_folders->path()).filePath(u"sample.db"_s));
    bank.project(u"K"_s, u"金融市场基础知识"_s)
        .subject(u"K01"_s, u"金融市场体系"_s)
        .section(u"K0101"_s, u"金融市场概述"_s)
        .subject(u"K02"_s, u"股票与债券"_s)
        .section(u"K0201"_s, u"股票"_s)
        .section(u"K0202"_s, u"债券"_s)
        .subject(u"K03"_s, u"证券投资基金与金融衍生工具"_s)
        .section(u"K0301"_s, u"证券投资基金"_s)
        .project(u"N"_s, u"证券交易"_s)
        .subject(u"N01"_s, u"证券交易规则"_s)
        .section(u"N0101"_s, u"交易原则与委托"_s);
    const QuestionImport::Outcome outcome
        = QuestionImport::importFile(bank.store(), QStringLiteral(VELLUMORE_IMPORT_SAMPLE));
    QVERIFY2(outcome.status == QuestionImport::Outcome::Status::Imported,
        qPrintable(outcome.message(u"sample"_s)));
    QCOMPARE(outcome.total, 8);
    QCOMPARE(bank.store().scalar(u"select count(*) from tk where 收藏否=0"_s).toInt(), 8);
}

void tst_QuestionImport::writtenAsPeopleWriteThem_data()
{
    QTest::addColumn<QString>("header"); // empty: none
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("expected"); // the options as stored; empty when refused

    const QString standard = u"章节代码,题型,题干,选项,答案,注释"_s;
    const QStringList two { u"甲"_s, u"乙"_s };
    const QStringList four { u"甲"_s, u"乙"_s, u"丙"_s, u"丁"_s };
    const auto add = [](const char* name, const QString& header, const QString& options, const QString& answer,
                         const QStringList& expected) {
        QTest::newRow(name) << header << options << answer << expected;
    };

    // A header by its names, whatever the first column's spelling.
    add("header 代码", u"代码,题型,题干,选项,答案,注释"_s, u"甲|乙"_s, u"A"_s, two);
    add("header in English", u"Section,Type,Stem,Options,Answer,Note"_s, u"甲|乙"_s, u"A"_s, two);
    add("header, other English names", u"section code,TYPE,question,choices,key,explanation"_s, u"甲|乙"_s,
        u"A"_s, two);
    add("header, first column spelled otherwise", u"编号,题型,题干,选项,答案,注释"_s, u"甲|乙"_s, u"A"_s, two);
    add("header without the note", u"章节,题型,题干,选项,答案"_s, u"甲|乙"_s, u"A"_s, two);
    add("no header", QString(), u"甲|乙"_s, u"A"_s, two);

    // Options on one line, split at letters that run A, B, C … from the start.
    add("full-width points", standard, u"A．甲 B．乙 C．丙 D．丁"_s, u"A"_s, four);
    add("half-width points, two blanks", standard, u"A.甲  B.乙"_s, u"B"_s, two);
    add("enumeration commas", standard, u"A、甲 B、乙 C、丙 D、丁"_s, u"D"_s, four);
    add("full-width letters and blank", standard, u"Ａ．甲　Ｂ．乙"_s, u"A"_s, two);
    add("lower-case letters, parentheses", standard, u"a) 甲 b) 乙"_s, u"A"_s, two);
    add("numbers with points in the options", standard, u"A．1.5% B．2.5%"_s, u"A"_s,
        { u"1.5%"_s, u"2.5%"_s });
    add("a letter inside an option", standard, u"A．B股 B．H股 C．N股"_s, u"C"_s,
        { u"B股"_s, u"H股"_s, u"N股"_s });
    add("\"|\" as before, with letters", standard, u"A．甲|B．乙"_s, u"A"_s, two);
    add("one lettered option stays one", standard, u"A．甲"_s, u"A"_s, { u"甲"_s });
    // Out of order: not split, so the key no longer fits and the file is refused.
    add("letters out of order", standard, u"A．甲 C．丙 B．乙"_s, u"B"_s, {});
    add("not starting at A", standard, u"B．乙 C．丙"_s, u"B"_s, {});
}

void tst_QuestionImport::writtenAsPeopleWriteThem()
{
    QFETCH(QString, header);
    QFETCH(QString, options);
    QFETCH(QString, answer);
    QFETCH(QStringList, expected);
    // A letter and a point inside the stem are the stem's own.
    const QString stem = u"关于A．B．两类股票，正确的是（    ）。"_s;
    const QString record = u"K0101,单选,%1,%2,%3,"_s.arg(stem, options, answer);
    const QString text = header.isEmpty() ? record : header + u'\n' + record;
    const QuestionImport::Outcome outcome = QuestionImport::importFile(m_bank->store(), writeFile(text.toUtf8()));
    if (expected.isEmpty()) {
        QCOMPARE(outcome.status, QuestionImport::Outcome::Status::Refused);
        QCOMPARE(outcome.problems.size(), 1);
        QCOMPARE(outcome.problems[0].line, 2);
        return;
    }
    QVERIFY2(outcome.status == QuestionImport::Outcome::Status::Imported, qPrintable(outcome.message(u"q"_s)));
    QCOMPARE(outcome.total, 1);
    QString whole = stem;
    for (int i = 0; i < expected.size(); ++i)
        whole += u"\n%1．%2"_s.arg(QChar(u'A' + i)).arg(expected[i]);
    QCOMPARE(plain(u"K0101"_s, 6, u"选项"_s), whole);
    QCOMPARE(stored(u"K0101"_s, 6, u"答案"_s).toString(), answer);
}

QTEST_MAIN(tst_QuestionImport)
#include "tst_QuestionImport.moc"
