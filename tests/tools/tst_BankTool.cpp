#include "Fixtures.h"
#include "TestBank.h"
#include "TestFolders.h"

#include "data/QuestionStore.h"
#include "richtext/RichText.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_BankTool : public QObject
{
    Q_OBJECT

private slots:
    void buildsAndListsABank();
    void badSourceNamesFileAndLine_data();
    void badSourceNamesFileAndLine();
    void countsInWords_data();
    void countsInWords();
    void generatedCountsInWords_data();
    void generatedCountsInWords();
    void printsPlainText();
    void importsQuestions_data();
    void importsQuestions();
    void importIntoAReadOnlyBank();
    void badBytesNameFileAndLine_data();
    void badBytesNameFileAndLine();
    void oddButValidSourceBuilds();
    void sourceThatIsNoFileIsRefused();

private:
    struct Result
    {
        int exitCode = -1;
        QString out;
        QString err;
    };
    static Result run(const QStringList& args)
    {
        QProcess p;
        p.start(QStringLiteral(VELLUMORE_BANK_TOOL), args);
        p.waitForFinished(120000);
        return { p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
                 QString::fromUtf8(p.readAllStandardError()) };
    }
    QString writeSource(const QString& name, const QString& text) { return writeBytes(name, text.toUtf8()); }
    QString writeBytes(const QString& name, const QByteArray& bytes)
    {
        const QString path = QDir(m_folders.path()).filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
    /// Checks that the tool refuses the source @p bytes naming the file, @p line and @p message.
    void checkRefused(const QByteArray& bytes, int line, const QString& message);
    /// Builds @p source into a fresh bank; false with the tool's message in @p error.
    bool build(const QString& source, const QString& bank, QString* error)
    {
        QFile::remove(bank);
        const Result r = run({ QStringLiteral("build"), source, bank });
        *error = r.err;
        return r.exitCode == 0;
    }
    TestFolders m_folders;
};

void tst_BankTool::buildsAndListsABank()
{
    const QString source = writeSource(QStringLiteral("small.bank"), QStringLiteral(R"(# a small bank
project J 阅读材料
subject J01 法规原文
section J0101 证券法节选
material J0101
| 第一条 为了规范证券发行和交易行为……
|
| 第二条 ……

project K 证券市场基础知识
subject K01 金融市场体系
section K0101 金融市场概述

question 单选
answer: B
favourite: yes
|   下列属于货币市场工具的是（    ）。
| A．股票
| B．同业拆借
| C．公司债券
| D．可转换债券

question B
answer: CAD
| A．甲  B．乙  C．丙  D．丁
| 1．……
)"));
    const QString bank = QDir(m_folders.path()).filePath(QStringLiteral("small.db"));
    const Result built = run({ QStringLiteral("build"), source, bank });
    QVERIFY2(built.exitCode == 0, qPrintable(built.err));

    QuestionStore store;
    QVERIFY(store.open(bank));
    RowSet q = store.query(QStringLiteral("select * from tk order by 题号"));
    QCOMPARE(q.rowCount(), 2);
    QCOMPARE(q.field(QStringLiteral("代码")).toString(), QStringLiteral("K0101"));
    QCOMPARE(q.field(QStringLiteral("题号")).toInt(), 1);
    QCOMPARE(q.field(QStringLiteral("答案")).toString(), QStringLiteral("B"));
    QVERIFY(q.field(QStringLiteral("答题")).isNull());
    QCOMPARE(q.field(QStringLiteral("收藏否")).toInt(), -1);
    QCOMPARE(q.field(QStringLiteral("tg")).toString(), QStringLiteral("下列属于货币市场工具的是（    ）。\nA．股票\nB．同业拆借").left(30));
    QVERIFY(q.field(QStringLiteral("选项")).toString().startsWith(QStringLiteral("{\\rtf1")));
    q.next();
    QCOMPARE(q.field(QStringLiteral("题号")).toInt(), 2);
    QCOMPARE(q.field(QStringLiteral("收藏否")).toInt(), 0);
    QVERIFY(store.scalar(QStringLiteral("select 文字 from wz where 代码='J0101'")).toString().startsWith(
        QStringLiteral("{\\rtf1")));
    store.close();

    const Result listed = run({ QStringLiteral("list"), bank });
    QCOMPARE(listed.exitCode, 0);
    QVERIFY2(listed.out.contains(QStringLiteral("    K0101  金融市场概述  2 questions")), qPrintable(listed.out));
    QVERIFY(listed.out.contains(QStringLiteral("J0101  证券法节选  (text material)")));
    QVERIFY(listed.out.contains(QStringLiteral("total: 2 questions, 1 favourite, 0 illustrated, 1 text material\n")));

    QVERIFY(run({ QStringLiteral("build"), source, bank }).exitCode != 0); // never overwrites a bank
}

void tst_BankTool::badSourceNamesFileAndLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("message");
    const QString head = QStringLiteral("project K 证券\nsubject K01 基础\nsection K0101 第一章\n");
    QTest::newRow("unknown keyword") << head + u"questoin 单选\n"_qs << 4 << "unknown keyword";
    QTest::newRow("no answer") << head + u"question 单选\n| 题目\n"_qs << 4 << "no \"answer:\" line";
    QTest::newRow("unknown type") << head + u"question 填充\nanswer: A\n| 题目\n"_qs << 4 << "unknown question type";
    QTest::newRow("unknown field") << head + u"question 单选\nanswr: A\n| 题目\n"_qs << 5 << "unknown field";
    QTest::newRow("no text") << head + u"question 单选\nanswer: A\n\nquestion 单选\n"_qs << 6 << "question text";
    QTest::newRow("missing image") << head + u"question 单选\nanswer: A\nimage: none.png\n| 题目\n"_qs << 6
                                   << "cannot read the image";
    QTest::newRow("question before a section") << u"question 单选\nanswer: A\n| 题目\n"_qs << 1
                                               << "must follow a section";
    QTest::newRow("subject without project") << u"subject K01 基础\n"_qs << 1 << "no declared project";
    QTest::newRow("stray text line") << head + u"| 题目\n"_qs << 4 << "text line";
    QTest::newRow("material for a question section") << head + u"material K0101\n| 文字\n"_qs << 4
                                                     << "code before K";
}

void tst_BankTool::badSourceNamesFileAndLine()
{
    QFETCH(QString, text);
    QFETCH(int, line);
    QFETCH(QString, message);
    checkRefused(text.toUtf8(), line, message);
}

void tst_BankTool::countsInWords_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("built"); // what build prints after the bank's path
    QTest::addColumn<QStringList>("listed"); // lines that list prints

    const QString k = u"project K 基础\nsubject K01 市场\nsection K0101 第一节\n"_s;
    const QString question = u"question 判断\nanswer: A\n| 题\n"_s;
    const QString favourite = u"question 判断\nanswer: A\nfavourite: yes\n| 题\n"_s;
    const QString material = u"project J 材料\nsubject J01 法规\nsection J0101 节选\nmaterial J0101\n| 第一条\n"_s;
    QTest::newRow("one") << k + favourite << u": 1 project, 1 subject, 1 section, 1 question\n"_s
                         << QStringList { u"    K0101  第一节  1 question\n"_s,
                                u"total: 1 question, 1 favourite, 0 illustrated, 0 text materials\n"_s };
    QTest::newRow("two") << material + k + question + question << u": 2 projects, 2 subjects, 2 sections, 2 questions\n"_s
                         << QStringList { u"    K0101  第一节  2 questions\n"_s,
                                u"total: 2 questions, 0 favourites, 0 illustrated, 1 text material\n"_s };
    QTest::newRow("none") << k << u": 1 project, 1 subject, 1 section, 0 questions\n"_s
                          << QStringList { u"    K0101  第一节  0 questions\n"_s,
                                 u"total: 0 questions, 0 favourites, 0 illustrated, 0 text materials\n"_s };
    QTest::newRow("thousands") << k + question.repeated(1200) << u": 1 project, 1 subject, 1 section, 1200 questions\n"_s
                               << QStringList { u"    K0101  第一节  1200 questions\n"_s, u"  判断  1200\n"_s };
}

void tst_BankTool::countsInWords()
{
    QFETCH(QString, source);
    QFETCH(QString, built);
    QFETCH(QStringList, listed);

    const QString bank = QDir(m_folders.path()).filePath(u"counted.db"_s);
    QFile::remove(bank);
    const Result b = run({ u"build"_s, writeSource(u"counted.bank"_s, source), bank });
    QVERIFY2(b.exitCode == 0, qPrintable(b.err));
    QCOMPARE(b.out, bank + built);
    const Result l = run({ u"list"_s, bank });
    QCOMPARE(l.exitCode, 0);
    for (const QString& line : listed)
        QVERIFY2(l.out.contains(line), qPrintable(l.out));
}

void tst_BankTool::generatedCountsInWords_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("printed"); // after the bank's path

    QTest::newRow("one") << QStringList { u"--questions"_s, u"1"_s, u"--sections"_s, u"1"_s }
                         << u": 1 question in 1 section\n"_s;
    QTest::newRow("several") << QStringList { u"--questions"_s, u"3"_s, u"--sections"_s, u"2"_s }
                             << u": 3 questions in 2 sections\n"_s;
}

void tst_BankTool::generatedCountsInWords()
{
    QFETCH(QStringList, options);
    QFETCH(QString, printed);

    const QString bank = QDir(m_folders.path()).filePath(u"generated.db"_s);
    QFile::remove(bank);
    const Result r = run(QStringList { u"generate"_s, bank } + options);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QCOMPARE(r.out, bank + printed);
}

void tst_BankTool::printsPlainText()
{
    const QString rtf = writeSource(QStringLiteral("doc.rtf"),
                                    QStringLiteral(R"({\rtf1\ansi\ansicpg936{\fonttbl{\f0\fnil\fcharset134 \'cb\'ce\'cc\'e5;}}
\f0\fs24 \'d6\'a4\'c8\'af\par second line\par})"));
    const Result r = run({ QStringLiteral("plain-text"), rtf });
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QStringLiteral("证券\nsecond line\n"));
}

void tst_BankTool::importsQuestions_data()
{
    QTest::addColumn<QString>("file"); // the text of questions.csv; null for no such file
    QTest::addColumn<QStringList>("args"); // after "import"; BANK and FILE stand for the paths
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("out");
    QTest::addColumn<QStringList>("err");
    QTest::addColumn<int>("added");

    const QStringList both { u"BANK"_s, u"FILE"_s };
    QTest::newRow("imported") << Fixtures::importText() << both << 0
                              << QStringList { u"BANK: 3 questions added from FILE (UTF-8)\n"_s,
                                     u"  K0101  第一节  1 (number 6)\n  K0102  第二节  2 (numbers 1-2)\n"_s }
                              << QStringList() << 3;
    QTest::newRow("one question") << u"K0102,判断,国债的信用风险低于公司债券。,,A\n"_s << both << 0
                                  << QStringList { u"BANK: 1 question added from FILE (UTF-8)\n  K0102  第二节  1 (number 1)\n"_s }
                                  << QStringList() << 1;
    QTest::newRow("refused") << Fixtures::importText() + u"K0999,单选,题干,甲|乙,A,\nK0101,多选,题干,,A,\n"_s << both
                             << 1 << QStringList()
                             << QStringList { u"FILE:9: 章节代码“K0999”不在题库的目录中\n"_s,
                                    u"FILE:10: 答案“A”不符合多选题"_s,
                                    u"vellumore-bank: FILE: 2 problems, nothing imported\n"_s }
                             << 0;
    QTest::newRow("no such file") << QString() << both << 1 << QStringList()
                                  << QStringList { u"FILE: 无法读取文件（"_s, u"vellumore-bank: FILE: 1 problem, nothing imported\n"_s } << 0;
    QTest::newRow("no such bank") << Fixtures::importText() << QStringList { u"BANK.missing"_s, u"FILE"_s } << 3
                                  << QStringList() << QStringList { u"vellumore-bank: BANK.missing: 文件不存在; nothing imported\n"_s }
                                  << 0;
    QTest::newRow("one argument") << Fixtures::importText() << QStringList { u"BANK"_s } << 2 << QStringList()
                                  << QStringList { u"usage:"_s } << 0;
}

void tst_BankTool::importsQuestions()
{
    QFETCH(QString, file);
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QStringList, out);
    QFETCH(QStringList, err);
    QFETCH(int, added);

    const QString bankPath = QDir(m_folders.path()).filePath(u"import.db"_s);
    QFile::remove(bankPath);
    QString before;
    {
        TestBank bank(bankPath);
        Fixtures::importBank(bank);
        before = Fixtures::questionTable(bank.store());
    }
    const QString filePath = QDir(m_folders.path()).filePath(u"questions.csv"_s);
    QFile::remove(filePath);
    if (!file.isNull())
        writeSource(u"questions.csv"_s, file);
    const auto expand = [&](QString text) {
        return text.replace(u"BANK"_s, bankPath).replace(u"FILE"_s, filePath);
    };
    QStringList command { u"import"_s };
    for (const QString& a : args)
        command << expand(a);

    const Result r = run(command);
    QCOMPARE(r.exitCode, exitCode);
    for (const QString& text : out)
        QVERIFY2(r.out.contains(expand(text)), qPrintable(r.out));
    for (const QString& text : err)
        QVERIFY2(r.err.contains(expand(text)), qPrintable(r.err));
    if (out.isEmpty())
        QCOMPARE(r.out, QString());

    QuestionStore store;
    QVERIFY(store.open(bankPath));
    if (added == 0)
        QCOMPARE(Fixtures::questionTable(store), before);
    QCOMPARE(store.scalar(u"select count(*) from tk"_s).toInt(), 2 + added);
}

void tst_BankTool::importIntoAReadOnlyBank()
{
    // Root writes through file permissions: the bank is mounted read-only in a private
    // mount namespace instead.
    const QString bankPath = QDir(m_folders.path()).filePath(u"readonly.db"_s);
    QString before;
    {
        TestBank bank(bankPath);
        Fixtures::importBank(bank);
        before = Fixtures::questionTable(bank.store());
    }
    const QString filePath = writeSource(u"questions.csv"_s, Fixtures::importText());
    QProcess probe;
    probe.start(u"unshare"_s, { u"-m"_s, u"sh"_s, u"-c"_s, u"mount --bind \"$0\" \"$0\""_s, bankPath });
    if (!probe.waitForFinished(30000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        QSKIP("no private mount namespace here (unshare -m and mount need root), so no read-only bank");

    QProcess p;
    p.start(u"unshare"_s,
        { u"-m"_s, u"sh"_s, u"-c"_s,
            u"mount --bind \"$0\" \"$0\" && mount -o remount,ro,bind \"$0\" \"$0\" && exec \"$1\" import \"$0\" \"$2\""_s,
            bankPath, QStringLiteral(VELLUMORE_BANK_TOOL), filePath });
    QVERIFY(p.waitForFinished(120000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QCOMPARE(p.exitCode(), 3);
    QVERIFY2(err.contains(u"vellumore-bank: %1: 题库文件是只读的"_s.arg(bankPath)), qPrintable(err));
    QVERIFY2(err.contains(u"; nothing imported\n"_s), qPrintable(err));

    QuestionStore store;
    QVERIFY(store.open(bankPath));
    QCOMPARE(Fixtures::questionTable(store), before);
}

void tst_BankTool::badBytesNameFileAndLine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("message");
    const QByteArray head
        = QStringLiteral("project K 证券\nsubject K01 基础\nsection K0101 第一章\n").toUtf8();
    const QByteArray question = head + QStringLiteral("question 判断\nanswer: A\n").toUtf8();
    const QByteArray nul("\0", 1);
    QTest::newRow("invalid UTF-8") << question + "| \xff\xfe\n" << 0 << "not UTF-8";
    QTest::newRow("UTF-8 of a lone surrogate") << question + "| \xed\xa0\x80\n" << 0 << "not UTF-8";
    QTest::newRow("NUL byte in a question") << question + "| a" + nul + "b\n" << 6 << "U+0000 in column 4";
    QTest::newRow("NUL byte in a code") << "project K" + nul + " x\n" << 1 << "U+0000 in column 10";
    QTest::newRow("escape character") << question + "| \x1b[31m\n" << 6 << "U+001B";
    QTest::newRow("C1 control character") << question + "| \xc2\x85\n" << 6 << "U+0085";
    // The first fuzzer find: a non-character the rich text drops.
    QTest::newRow("non-character U+FFFF") << question + "| 正确\xef\xbf\xbf吗\n" << 6 << "U+FFFF in column 5";
    QTest::newRow("non-character U+FDD0") << question + "| \xef\xb7\x90\n" << 6 << "U+FDD0";
    QTest::newRow("non-character U+10FFFF") << question + "| \xf4\x8f\xbf\xbf\n" << 6 << "U+10FFFF";
    QTest::newRow("paragraph separator") << question + "| a\xe2\x80\xa9\n" << 6 << "U+2029";
    QTest::newRow("object replacement") << question + "| \xef\xbf\xbc\n" << 6 << "U+FFFC";
    QTest::newRow("image is a folder") << question + "image: .\n| 题\n" << 6 << "cannot read the image";
    QTest::newRow("image is a device") << question + "image: /dev/zero\n| 题\n"
                                       << 6 << "cannot read the image";
    QTest::newRow("image field empty") << question + "image:\n| 题\n" << 6 << "cannot read the image";
}

void tst_BankTool::badBytesNameFileAndLine()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QFETCH(QString, message);
    checkRefused(bytes, line, message);
}

void tst_BankTool::checkRefused(const QByteArray& bytes, int line, const QString& message)
{
    const QString source = writeBytes(QStringLiteral("bad.bank"), bytes);
    const QString bank = QDir(m_folders.path()).filePath(QStringLiteral("bad.db"));
    QString error;
    QVERIFY(!build(source, bank, &error));
    QVERIFY2(error.contains(source + u':' + QString::number(line) + u':'), qPrintable(error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QVERIFY(!QFile::exists(bank));
}

void tst_BankTool::oddButValidSourceBuilds()
{
    // A byte-order mark and Windows line ends, a tab, a no-break space, characters beyond
    // the 16-bit range and a line of 100000 characters: all stored as they are.
    const QString longLine = QString(100000, u'长');
    const QString text = u"题\t干 😀𠀀\n"_qs + longLine;
    const QByteArray bytes = "\xef\xbb\xbf"
        + QStringLiteral("project K 证券\r\nsubject K01 基础\r\nsection K0101 第一章\r\n"
                         "question 简答\r\nanswer: 略\r\n| 题\t干\u00a0😀𠀀\r\n| %1\r\n")
              .arg(longLine)
              .toUtf8();
    const QString source = writeBytes(QStringLiteral("odd.bank"), bytes);
    const QString bank = QDir(m_folders.path()).filePath(QStringLiteral("odd.db"));
    QString error;
    QVERIFY2(build(source, bank, &error), qPrintable(error));
    QuestionStore store;
    QVERIFY(store.open(bank));
    QCOMPARE(store.scalar(QStringLiteral("select count(*) from tk")).toInt(), 1);
    QCOMPARE(store.scalar(QStringLiteral("select 代码 from xmdm")).toString(), QStringLiteral("K"));
    const QByteArray rtf = store.scalar(QStringLiteral("select 选项 from tk")).toString().toLatin1();
    QCOMPARE(RichText::plainText(rtf), text);
}

void tst_BankTool::sourceThatIsNoFileIsRefused()
{
    const QString bank = QDir(m_folders.path()).filePath(QStringLiteral("device.db"));
    QString error;
    QVERIFY(!build(QStringLiteral("/dev/zero"), bank, &error)); // would never end
    QVERIFY2(error.contains(QStringLiteral("/dev/zero:0: not a .bank file")), qPrintable(error));
    QVERIFY(!QFile::exists(bank));
    const Result printed = run({ QStringLiteral("plain-text"), QStringLiteral("/dev/zero") });
    QVERIFY(printed.exitCode != 0);
    QVERIFY2(printed.err.contains(QStringLiteral("/dev/zero: not a file")), qPrintable(printed.err));
}

QTEST_GUILESS_MAIN(tst_BankTool)
#include "tst_BankTool.moc"
