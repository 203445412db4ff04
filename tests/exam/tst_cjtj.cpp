#include "Fixtures.h"
#include "MainWindowDriver.h"
#include "Named.h"
#include "TestEnvironment.h"
#include "WindowTest.h"

#include "controls/MessageBox.h"
#include "controls/XPButton.h"
#include "desktop/DesktopActions.h"
#include "exam/PaperDocument.h"
#include "exam/WorkingSet.h"
#include "exam/ui/GradingCommands.h"
#include "exam/ui/cjtj.h"

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

class tst_cjtj : public WindowTest
{
    Q_OBJECT

public:
    tst_cjtj()
        : WindowTest(Fixtures::marketBank)
    { }

private slots:
    void init();
    void cleanup();

    void practiceGradingOfTheSection();
    void examGradingThroughTheEntry();
    void sectionWithoutQuestions();
    void paperAndKeyFromThePrintButton();
    void unwritableFileIsToldWithThePath();
    void enterPressesOk();

private:
    struct Report
    {
        QString title;
        QStringList titleCopies;
        QList<QStringList> summary;
        QString totalLine;
        bool detailShown = false;
        QString toggle;
        QList<QStringList> detail;
        QStringList colours;
    };
    // What the open report shows; then walks it through both views and closes it.
    static Report readAndClose(QDialog* dialog);
    static QList<QStringList> rows(QTreeWidget* list, QStringList* colours = nullptr);
};

void tst_cjtj::init()
{
    WindowTest::init();
    QVERIFY(m_w->window().isActiveWindow());
    DesktopActions::enableTestMode(true);
}

void tst_cjtj::cleanup()
{
    DesktopActions::enableTestMode(false);
    WindowTest::cleanup();
}

QList<QStringList> tst_cjtj::rows(QTreeWidget* list, QStringList* colours)
{
    QList<QStringList> texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        QStringList cells;
        for (int c = 0; c < list->columnCount(); ++c)
            cells << item->text(c);
        texts << cells;
        if (colours)
            *colours << (item->foreground(0).color() == QColor(255, 0, 0) ? u"red"_s : u"black"_s);
    }
    return texts;
}

tst_cjtj::Report tst_cjtj::readAndClose(QDialog* dialog)
{
    Report r;
    auto* report = qobject_cast<cjtj*>(dialog);
    if (!report)
        return r;
    r.title = report->windowTitle();
    for (int i = 0; i < 2; ++i)
        r.titleCopies << report->findChild<QLabel*>(u"Label1_%1"_s.arg(i))->text();
    r.summary = rows(named<QTreeWidget>(report, u"ListView1"_s));
    r.totalLine = named<QLabel>(report, u"fslab"_s)->text();
    r.detailShown = named<QTreeWidget>(report, u"ListView2"_s)->isVisible();
    XPButton* toggle = report->findChild<XPButton*>(u"cmdmx"_s);
    r.toggle = toggle->caption();
    MainWindowDriver::click(toggle);
    if (named<QTreeWidget>(report, u"ListView2"_s)->isVisible() && toggle->caption() == u"查看得分"_s)
        r.detail = rows(named<QTreeWidget>(report, u"ListView2"_s), &r.colours);
    MainWindowDriver::click(toggle);
    if (named<QTreeWidget>(report, u"ListView2"_s)->isVisible() || toggle->caption() != u"查看明细"_s)
        r.detail.clear();
    MainWindowDriver::click(report->findChild<XPButton*>(u"XPButton1"_s));
    return r;
}

void tst_cjtj::practiceGradingOfTheSection()
{
    QVERIFY(m_w->clickNode(u"证券市场的产生与发展"_s));
    // Only 单选 listed; the grading takes the whole section all the same.
    for (int box = 2; box <= 6; ++box)
        QVERIFY(m_w->click(u"Check%1"_s.arg(box)));
    QCOMPARE(m_w->rowTexts(), QStringList { u"第1题"_s });

    Report r;
    bool closed = false;
    QVERIFY(MainWindowDriver::runModal([&] { QVERIFY(m_w->click(u"cmd_2"_s)); },
        [&](QDialog* d) {
            r = readAndClose(d);
            closed = !d->isVisible() && d->result() == QDialog::Accepted;
        }));
    QVERIFY(closed);
    QCOMPARE(r.title, u"成绩统计"_s);
    QCOMPARE(r.titleCopies, (QStringList { u"本次测试成绩统计"_s, u"本次测试成绩统计"_s }));
    QCOMPARE(r.summary,
        (QList<QStringList> { { u"单选"_s, u"1"_s, u"0"_s, u"1"_s, u"0"_s, u"0"_s, u"0%"_s },
            { u"多选"_s, u"1"_s, u"0"_s, u"1"_s, u"0"_s, u"0"_s, u"0%"_s },
            { u"判断"_s, u"1"_s, u"1"_s, u"0"_s, u"0"_s, u"1"_s, u"100%"_s },
            { u"不定项"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0%"_s } }));
    QCOMPARE(r.totalLine, u"总分：3   得分：1   得分率：33.33%"_s);
    QVERIFY(!r.detailShown);
    QCOMPARE(r.toggle, u"查看明细"_s);
    QCOMPARE(r.detail,
        (QList<QStringList> {
            { u"第1题--第2题"_s, u"A3"_s, u"阅读下面的材料，回答两个问题。"_s, u"AB"_s, u"AB"_s },
            { u"第3题"_s, u"判断"_s, u"股票是一种有价证券。"_s, u"A"_s, u"A"_s },
            { u"第4题"_s, u"单选"_s, u"证券市场最早出现在哪个国家？"_s, u"A"_s, u"B"_s },
            { u"第5题"_s, u"多选"_s, u"下列属于有价证券的有哪些？"_s, u"ABD"_s, u"AB"_s } }));
    QCOMPARE(r.colours, (QStringList { u"black"_s, u"black"_s, u"red"_s, u"red"_s }));

    // The working set is the whole section; the list on screen stays as it was.
    QCOMPARE(m_w->count(u"select count(*) from kstk"_s), 4);
    QCOMPARE(m_w->count(u"select count(*) from kstk where 代码='K0101'"_s), 4);
    QCOMPARE(m_w->rowTexts(), QStringList { u"第1题"_s });
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void tst_cjtj::examGradingThroughTheEntry()
{
    QVERIFY(m_w->clickNode(u"股票"_s));
    QVERIFY(m_w->startExam());
    Report r;
    bool runningWhileOpen = false;
    bool examWasRunning = false;
    QVERIFY(MainWindowDriver::runModal(
        [&] {
            examWasRunning
                = GradingCommands::showExamReport(&m_w->window(), m_w->window().store(), m_w->session());
        },
        [&](QDialog* d) {
            runningWhileOpen = m_w->session().isExamRunning();
            r = readAndClose(d);
        }));
    QVERIFY(runningWhileOpen);
    // Ending the exam is the caller's, once the report is closed.
    QVERIFY(examWasRunning);
    QVERIFY(m_w->session().isExamRunning());

    // The whole paper, whatever section was current: 4 单选 (1 right, 1 unanswered).
    QCOMPARE(r.summary,
        (QList<QStringList> { { u"单选"_s, u"4"_s, u"1"_s, u"2"_s, u"1"_s, u"1"_s, u"25%"_s },
            { u"多选"_s, u"1"_s, u"0"_s, u"1"_s, u"0"_s, u"0"_s, u"0%"_s },
            { u"判断"_s, u"1"_s, u"1"_s, u"0"_s, u"0"_s, u"1"_s, u"100%"_s },
            { u"不定项"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0%"_s } }));
    QCOMPARE(r.totalLine, u"总分：6   得分：2   得分率：33.33%"_s);
    QStringList numbers;
    for (const QStringList& row : r.detail)
        numbers << row.first();
    QCOMPARE(numbers,
        (QStringList {
            u"第1题--第2题"_s, u"第3题"_s, u"第4题"_s, u"第5题"_s, u"第6题"_s, u"第7题"_s, u"第8题"_s }));
    // The unanswered 单选 (fifth row) is red, and counted as unanswered, never as wrong.
    QCOMPARE(r.detail.at(4).at(4), QString());
    QCOMPARE(r.colours,
        (QStringList { u"black"_s, u"black"_s, u"red"_s, u"black"_s, u"red"_s, u"red"_s, u"red"_s }));
}

void tst_cjtj::sectionWithoutQuestions()
{
    QVERIFY(m_w->clickNode(u"债券"_s));
    Report r;
    QVERIFY(MainWindowDriver::runModal(
        [&] { QVERIFY(m_w->click(u"cmd_2"_s)); }, [&](QDialog* d) { r = readAndClose(d); }));
    QCOMPARE(r.summary.size(), 4);
    for (const QStringList& row : r.summary)
        QCOMPARE(row.mid(1), (QStringList { u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0%"_s }));
    QVERIFY(r.totalLine.isEmpty());
    QVERIFY(r.detail.isEmpty());
    QCOMPARE(m_w->count(u"select count(*) from kstk"_s), 0);
}

void tst_cjtj::paperAndKeyFromThePrintButton()
{
    QVERIFY(m_w->clickNode(u"证券市场的产生与发展"_s));
    QVERIFY(MainWindowDriver::runModal([&] { QVERIFY(m_w->click(u"cmd_3"_s)); },
        [&](QDialog* d) {
            QCOMPARE(d->windowTitle(), u"打印试卷"_s);
            auto* paper = d->findChild<QCheckBox*>(u"chkPaper"_s);
            QVERIFY(paper->isChecked());
            MainWindowDriver::click(d->findChild<QCheckBox*>(u"chkKey"_s));
            MainWindowDriver::click(d->findChild<XPButton*>(u"cmdOk"_s));
            QVERIFY(!d->isVisible());
        }));
    const QStringList files = QDir(DocumentFile::folder()).entryList(QDir::Files, QDir::Name);
    QCOMPARE(files.size(), 2);
    QVERIFY(files.at(0).startsWith(u"模拟考试试卷 "_s));
    QVERIFY(files.at(1).startsWith(u"模拟考试试卷答案 "_s));
    // One message names both files and their folder, and opens the folder on "是".
    const QVector<MessageBox::Shown> shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].title, u"打印试卷"_s);
    QCOMPARE(shown[0].text,
        u"已生成2个文件：\n\n　　%1\n　　%2\n\n保存在文件夹：\n%3\n\n要打开这个文件夹吗？"_s.arg(
            files.at(0), files.at(1), QDir::toNativeSeparators(DocumentFile::folder())));
    const QVector<DesktopActions::Request> opened = DesktopActions::takeRequests();
    QCOMPARE(opened.size(), 3);
    QCOMPARE(opened.at(1).url, QUrl::fromLocalFile(QDir(DocumentFile::folder()).filePath(files.at(1))));
    QCOMPARE(opened.at(2).url, QUrl::fromLocalFile(DocumentFile::folder()));
}

void tst_cjtj::enterPressesOk()
{
    QVERIFY(m_w->clickNode(u"证券市场的产生与发展"_s));
    MessageBox::queueAnswer(QMessageBox::No);
    QVERIFY(MainWindowDriver::runModal([&] { QVERIFY(m_w->click(u"cmd_3"_s)); },
        [&](QDialog* d) {
            QTest::keyClick(d->findChild<QCheckBox*>(u"chkPaper"_s), Qt::Key_Return);
            QVERIFY(!d->isVisible());
        }));
    QCOMPARE(QDir(DocumentFile::folder()).entryList(QDir::Files).size(), 1);
    QCOMPARE(MessageBox::takeShown().size(), 1);
    QCOMPARE(DesktopActions::takeRequests().size(), 1); // the paper, not the folder
}

void tst_cjtj::unwritableFileIsToldWithThePath()
{
    QFile blocker(DocumentFile::folder());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(m_w->clickNode(u"证券市场的产生与发展"_s));
    QVERIFY(MainWindowDriver::runModal([&] { QVERIFY(m_w->click(u"cmd_3"_s)); },
        [&](QDialog* d) { MainWindowDriver::click(d->findChild<XPButton*>(u"cmdOk"_s)); }));
    const QVector<MessageBox::Shown> shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, QMessageBox::Critical);
    QCOMPARE(shown[0].title, u"打印试卷"_s);
    QVERIFY2(shown[0].text.startsWith(u"模拟考试试卷无法保存到文件：\n"_s
                 + QDir::toNativeSeparators(blocker.fileName()) + u"/模拟考试试卷 "_s),
        qPrintable(shown[0].text));
    QVERIFY(DesktopActions::takeRequests().isEmpty());
}

QTEST_MAIN(tst_cjtj)
#include "tst_cjtj.moc"
