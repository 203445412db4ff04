#include "TestBank.h"
#include "TestFolders.h"

#include "data/QuestionStore.h"
#include "desktop/DesktopActions.h"
#include "exam/PaperExport.h"
#include "exam/QuestionSet.h"
#include "exam/WorkingSet.h"
#include "richtext/RichText.h"
#include "richtext/RtfReader.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using namespace Qt::StringLiterals;
using Q = TestBank::Question;

class tst_PaperExport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void numbering_data();
    void numbering();
    void fontsOfTitleAndQuestions();
    void storedTextKeepsItsFormatting();
    void stemRepeatedInTheQuestionIsPrintedOnce_data();
    void stemRepeatedInTheQuestionIsPrintedOnce();
    void answerKeyNumbersEveryQuestion();
    void examPaperComesFromTheWorkingSet();
    void exportWritesOneDatedFileAndNothingElse();
    void sameSecondGetsItsOwnFile();
    void unwritableFolderIsReportedWithThePath();
    void pdfHoldsThePaper();

private:
    // The paper of section K0101 as lines of plain text.
    QStringList paperLines(PaperExport::Kind kind = PaperExport::Kind::Paper);
    // Every file under the test's folders, the program's folder and the working folder.
    QStringList filesAround() const;

    std::unique_ptr<TestFolders> m_folders;
    std::unique_ptr<TestBank> m_bank;
};

void tst_PaperExport::init()
{
    m_folders = std::make_unique<TestFolders>();
    // Anything written to the temporary folder lands inside the test's folders.
    QVERIFY(QDir(m_folders->path()).mkpath(u"tmp"_s));
    qputenv("TMPDIR", (m_folders->path() + u"/tmp"_s).toUtf8());
    m_bank = std::make_unique<TestBank>(m_folders->bankPath());
    DesktopActions::enableTestMode(true);
}

void tst_PaperExport::cleanup()
{
    DesktopActions::enableTestMode(false);
    m_bank.reset();
    m_folders.reset();
    qunsetenv("TMPDIR");
}

QStringList tst_PaperExport::paperLines(PaperExport::Kind kind)
{
    PaperDocument doc(u"试卷"_s);
    const QString unread
        = PaperExport::buildDocument(doc, m_bank->store(), { QuestionTable::Bank, u"K0101"_s }, kind);
    if (!unread.isEmpty())
        return { unread };
    return doc.document().toPlainText().split(u'\n');
}

void tst_PaperExport::numbering_data()
{
    QTest::addColumn<QStringList>("questions"); // 题型:答案, in the order of sj
    QTest::addColumn<QStringList>("lines");
    const QString title = u"          模拟考试试卷"_s;
    QTest::newRow("empty set: the title and the empty line after it")
        << QStringList() << QStringList { title, QString(), QString() };
    QTest::newRow("three ordinary rows")
        << QStringList { u"单选:A"_s, u"单选:B"_s, u"单选:C"_s }
        << QStringList { title, QString(), u"1、 第1题的题目"_s, QString(), u"2、 第2题的题目"_s, QString(),
               u"3、 第3题的题目"_s, QString(), QString() };
    // Rows come by type: a type the program does not grade ("A1") sorts before B.
    QTest::newRow("ordinary, B with ACD, ordinary")
        << QStringList { u"A1:A"_s, u"B:ACD"_s, u"单选:C"_s }
        << QStringList { title, QString(), u"1、 第1题的题目"_s, QString(), u"2题--4题、B型题 "_s,
               u"第2题的题目"_s, QString(), u"5、 第3题的题目"_s, QString(), QString() };
    QTest::newRow("A3 and A4 are groups as well")
        << QStringList { u"A3:AB"_s, u"A4:对错对"_s, u"判断:A"_s }
        << QStringList { title, QString(), u"1题--2题、A3型题 "_s, u"第1题的题目"_s, QString(),
               u"3题--5题、A4型题 "_s, u"第2题的题目"_s, QString(), u"6、 第3题的题目"_s, QString(),
               QString() };
    QTest::newRow("a group without answer letters stands for one question")
        << QStringList { u"B:"_s, u"单选:A"_s }
        << QStringList { title, QString(), u"1、 第1题的题目"_s, QString(), u"2、 第2题的题目"_s, QString(),
               QString() };
}

void tst_PaperExport::numbering()
{
    QFETCH(QStringList, questions);
    QFETCH(QStringList, lines);
    int number = 0;
    for (const QString& q : questions) {
        const QStringList parts = q.split(u':');
        m_bank->question(Q(u"K0101"_s, ++number, parts[0], parts[1]));
    }
    // Only 选项 holds the question here; an absent 题干 inserts nothing.
    QVERIFY(m_bank->store().write(u"update tk set 题干=null"_s).isDone());
    QCOMPARE(paperLines(), lines);
}

void tst_PaperExport::fontsOfTitleAndQuestions()
{
    m_bank->question(Q(u"K0101"_s, 1, u"单选"_s, u"A"_s));
    PaperDocument doc(u"试卷"_s);
    QVERIFY(PaperExport::buildDocument(
        doc, m_bank->store(), { QuestionTable::Bank, u"K0101"_s }, PaperExport::Kind::Paper)
                .isEmpty());
    const QTextBlock title = doc.document().begin();
    const QTextCharFormat titleFormat = title.begin().fragment().charFormat();
    QCOMPARE(titleFormat.fontFamilies().toStringList(), QStringList { u"黑体"_s });
    QCOMPARE(titleFormat.fontPointSize(), 14.0);
    const QTextBlock question = title.next().next();
    QVERIFY(question.text().startsWith(u"1、 "_s));
    const QTextCharFormat numberFormat = question.begin().fragment().charFormat();
    QCOMPARE(numberFormat.fontFamilies().toStringList(), QStringList { u"宋体"_s });
    QCOMPARE(numberFormat.fontPointSize(), 12.0);
}

void tst_PaperExport::storedTextKeepsItsFormatting()
{
    m_bank->question(Q(u"K0101"_s, 1, u"单选"_s, u"A"_s));
    const QByteArray options
        = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0\\green0\\blue255;}"
          "\\f0\\fs20 \\b\\cf1 Bold blue\\b0\\cf0  plain\\par A. \\u36873?\\u19968?\\par}";
    QVERIFY(m_bank->store()
                .write(u"update tk set 选项=?, 题干=?"_s,
                    { QString::fromLatin1(options), u"材料：某公司发行股票"_s })
                .isDone());
    PaperDocument doc(u"试卷"_s);
    QVERIFY(PaperExport::buildDocument(
        doc, m_bank->store(), { QuestionTable::Bank, u"K0101"_s }, PaperExport::Kind::Paper)
                .isEmpty());
    QCOMPARE(doc.document().toPlainText().split(u'\n').mid(2),
        (QStringList {
            u"1、 材料：某公司发行股票"_s, u"Bold blue plain"_s, u"A. 选一"_s, QString(), QString() }));
    const QTextBlock stem = doc.document().findBlockByNumber(3);
    const QTextCharFormat bold = stem.begin().fragment().charFormat();
    QVERIFY(bold.fontWeight() >= QFont::Bold);
    QCOMPARE(bold.foreground().color(), QColor(0, 0, 255));
    QCOMPARE(bold.fontFamilies().toStringList(), QStringList { u"Arial"_s });
    QCOMPARE(bold.fontPointSize(), 10.0);
    // The file written is that document: it reads back with the same text.
    QCOMPARE(RichText::plainText(doc.rtf()), RichText::plainText(doc.document()));
}

void tst_PaperExport::stemRepeatedInTheQuestionIsPrintedOnce_data()
{
    QTest::addColumn<QVariant>("stem");
    QTest::addColumn<QStringList>("lines");
    const QString question = u"下列属于货币市场工具的是（    ）。\nA．普通股\nB．银行承兑汇票"_s;
    QTest::newRow("the whole question in both fields")
        << QVariant(question) << QStringList { u"1、 下列属于货币市场工具的是（    ）。"_s, u"A．普通股"_s };
    QTest::newRow("the same question as RTF")
        << QVariant(QString::fromLatin1(RichText::fromPlainText(question)))
        << QStringList { u"1、 下列属于货币市场工具的是（    ）。"_s, u"A．普通股"_s };
    QTest::newRow("a stem of its own") << QVariant(u"阅读材料：某公司首次公开发行股票。"_s)
                                       << QStringList { u"1、 阅读材料：某公司首次公开发行股票。"_s,
                                              u"下列属于货币市场工具的是（    ）。"_s };
    QTest::newRow("no stem") << QVariant()
                             << QStringList { u"1、 下列属于货币市场工具的是（    ）。"_s, u"A．普通股"_s };
}

void tst_PaperExport::stemRepeatedInTheQuestionIsPrintedOnce()
{
    QFETCH(QVariant, stem);
    QFETCH(QStringList, lines);
    m_bank->question(Q(u"K0101"_s, 1, u"单选"_s, u"B"_s, QVariant(), false,
        u"下列属于货币市场工具的是（    ）。\nA．普通股\nB．银行承兑汇票"_s));
    QVERIFY(m_bank->store().write(u"update tk set 题干=?"_s, { stem }).isDone());
    QCOMPARE(paperLines().mid(2, 2), lines);
    QCOMPARE(paperLines().join(u'\n').count(u"B．银行承兑汇票"_s), 1);
}

void tst_PaperExport::answerKeyNumbersEveryQuestion()
{
    m_bank->question(Q(u"K0101"_s, 1, u"单选"_s, u"A"_s));
    m_bank->question(Q(u"K0101"_s, 2, u"B"_s, u"ACD"_s));
    m_bank->question(Q(u"K0101"_s, 3, u"多选"_s, u"ABD"_s));
    QCOMPARE(paperLines(PaperExport::Kind::AnswerKey),
        (QStringList { u"          模拟考试试卷答案"_s, QString(), u"1、 A"_s, u"2、 C"_s, u"3、 D"_s,
            u"4、 A"_s, u"5、 ABD"_s, QString() }));
}

void tst_PaperExport::examPaperComesFromTheWorkingSet()
{
    m_bank->question(Q(u"K0101"_s, 1, u"单选"_s, u"A"_s, QVariant(), false, u"第一节的题"_s));
    m_bank->question(Q(u"K0102"_s, 1, u"判断"_s, u"A"_s, QVariant(), false, u"第二节的题"_s));
    m_bank->question(Q(u"K0103"_s, 1, u"单选"_s, u"A"_s, QVariant(), false, u"不在试卷中"_s));
    QVERIFY(m_bank->store().write(u"update tk set 题干=null"_s).isDone());
    QVERIFY(WorkingSet::copyFromBank(m_bank->store()).isDone());
    QVERIFY(m_bank->store().write(u"delete from kstk where 代码='K0103'"_s).isDone());
    // Whatever section is current, the paper is the working set, by type and sj.
    PaperDocument doc(u"试卷"_s);
    QVERIFY(PaperExport::buildDocument(
        doc, m_bank->store(), { QuestionTable::WorkingSet, u"K0101"_s }, PaperExport::Kind::Paper)
                .isEmpty());
    QCOMPARE(doc.document().toPlainText().split(u'\n').mid(2),
        (QStringList { u"1、 第二节的题"_s, QString(), u"2、 第一节的题"_s, QString(), QString() }));
}

QStringList tst_PaperExport::filesAround() const
{
    QStringList files;
    QDirIterator all(
        m_folders->path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (all.hasNext())
        files << all.next();
    for (const QString& folder : { QCoreApplication::applicationDirPath(), QDir::currentPath() }) {
        QDirIterator here(folder, QDir::Files | QDir::Hidden | QDir::System);
        while (here.hasNext())
            files << here.next();
    }
    files.sort();
    files.removeDuplicates();
    return files;
}

void tst_PaperExport::exportWritesOneDatedFileAndNothingElse()
{
    m_bank->question(Q(u"K0101"_s, 1, u"单选"_s, u"A"_s, QVariant(), false, u"什么是股票？"_s));
    const QString documents = m_folders->path() + u"/Documents"_s;
    QVERIFY(!QFileInfo::exists(documents));
    const QStringList before = filesAround();

    const DocumentFile file
        = PaperExport::ExportExamPaper(m_bank->store(), { QuestionTable::Bank, u"K0101"_s });

    QVERIFY2(file.isWritten(), qPrintable(file.error));
    QCOMPARE(QFileInfo(file.path).absolutePath(), documents);
    QVERIFY2(QRegularExpression(u"^模拟考试试卷 \\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d\\.rtf$"_s)
                 .match(QFileInfo(file.path).fileName())
                 .hasMatch(),
        qPrintable(file.path));
    QFile written(file.path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray rtf = written.readAll();
    QVERIFY(RtfReader::isRtf(rtf));
    QCOMPARE(RichText::plainText(rtf).split(u'\n').mid(0, 3),
        (QStringList { u"          模拟考试试卷"_s, QString(), u"1、 什么是股票？"_s }));

    QStringList expected = before;
    expected << file.path;
    expected.sort();
    QCOMPARE(filesAround(), expected);
    QVERIFY(!filesAround().join(u'\n').contains(u"st.rtf"_s));

    const QVector<DesktopActions::Request> opened = DesktopActions::takeRequests();
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.first().kind, DesktopActions::Request::OpenUrl);
    QCOMPARE(opened.first().url, QUrl::fromLocalFile(file.path));
}

void tst_PaperExport::sameSecondGetsItsOwnFile()
{
    const PaperExport::Source source { QuestionTable::Bank, u"K0101"_s };
    const DocumentFile first = PaperExport::ExportExamPaper(m_bank->store(), source);
    const DocumentFile second = PaperExport::ExportExamPaper(m_bank->store(), source);
    QVERIFY(first.isWritten() && second.isWritten());
    QVERIFY(first.path != second.path);
    QVERIFY(QFileInfo::exists(first.path) && QFileInfo::exists(second.path));
}

void tst_PaperExport::unwritableFolderIsReportedWithThePath()
{
    // A file where the documents folder should be: no folder can be made (also as root).
    QFile blocker(m_folders->path() + u"/Documents"_s);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    for (const PaperExport::Kind kind : { PaperExport::Kind::Paper, PaperExport::Kind::PaperPdf }) {
        const DocumentFile file
            = PaperExport::ExportExamPaper(m_bank->store(), { QuestionTable::Bank, u"K0101"_s }, kind);
        QVERIFY(!file.isWritten());
        QVERIFY(!file.error.isEmpty());
        QVERIFY2(file.path.startsWith(blocker.fileName() + u'/'), qPrintable(file.path));
    }
    QVERIFY(DesktopActions::takeRequests().isEmpty());
}

void tst_PaperExport::pdfHoldsThePaper()
{
    m_bank->question(Q(u"K0101"_s, 1, u"单选"_s, u"A"_s, QVariant(), false, u"什么是股票？"_s));
    const DocumentFile file = PaperExport::ExportExamPaper(
        m_bank->store(), { QuestionTable::Bank, u"K0101"_s }, PaperExport::Kind::PaperPdf);
    QVERIFY2(file.isWritten(), qPrintable(file.error));
    QVERIFY(file.path.endsWith(u".pdf"_s));
    QFile pdf(file.path);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF-"));
    QVERIFY(bytes.contains("/Type /Page"));
    QCOMPARE(DesktopActions::takeRequests().size(), 1);
}

QTEST_MAIN(tst_PaperExport)
#include "tst_PaperExport.moc"
