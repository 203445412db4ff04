#include "Fixtures.h"
#include "TestBank.h"
#include "TestFolders.h"

#include "data/QuestionStore.h"

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
    void printsPlainText();
    void importsQuestions_data();
    void importsQuestions();
    void importIntoAReadOnlyBank();

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
    QString writeSource(const QString& name, const QString& text)
    {
        const QString path = QDir(m_folders.path()).filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(text.toUtf8());
        return path;
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
    QVERIFY(listed.out.contains(QStringLiteral("total: 2 questions, 1 favourites")));

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
    const QString source = writeSource(QStringLiteral("bad.bank"), text);
    const QString bank = QDir(m_folders.path()).filePath(QStringLiteral("bad.db"));
    const Result r = run({ QStringLiteral("build"), source, bank });
    QVERIFY(r.exitCode != 0);
    QVERIFY2(r.err.contains(source + u':' + QString::number(line) + u':'), qPrintable(r.err));
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(!QFile::exists(bank));
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
                                     u"  K0101  第一节  1 (numbers 6-6)\n  K0102  第二节  2 (numbers 1-2)\n"_s }
                              << QStringList() << 3;
    QTest::newRow("refused") << Fixtures::importText() + u"K0999,单选,题干,甲|乙,A,\nK0101,多选,题干,,A,\n"_s << both
                             << 1 << QStringList()
                             << QStringList { u"FILE:9: 章节代码“K0999”不在题库的目录中\n"_s,
                                    u"FILE:10: 答案“A”不符合多选题"_s,
                                    u"vellumore-bank: FILE: 2 problems, nothing imported\n"_s }
                             << 0;
    QTest::newRow("no such file") << QString() << both << 1 << QStringList()
                                  << QStringList { u"FILE: 无法读取文件（"_s, u"1 problems, nothing imported"_s } << 0;
    QTest::newRow("no such bank") << Fixtures::importText() << QStringList { u"BANK.missing"_s, u"FILE"_s } << 3
                                  << QStringList() << QStringList { u"vellumore-bank: BANK.missing: 文件不存在\n"_s }
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

QTEST_GUILESS_MAIN(tst_BankTool)
#include "tst_BankTool.moc"
