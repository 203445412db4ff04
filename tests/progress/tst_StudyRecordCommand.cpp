#include "Named.h"
#include "TestBank.h"
#include "WindowTest.h"

#include "MainWindowDriver.h"
#include "controls/FileDialog.h"
#include "controls/MessageBox.h"
#include "controls/XPButton.h"
#include "data/AttemptRepository.h"
#include "data/ExamPaperRepository.h"
#include "desktop/DesktopActions.h"
#include "progress/ui/ProgressWindow.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

// "导出学习记录" in the progress window: the file dialog, the two files, and the one message
// that lists them and offers their folder, or says what could not be written.
class tst_StudyRecordCommand : public WindowTest
{
    Q_OBJECT

public:
    tst_StudyRecordCommand()
        : WindowTest({}, UnreadBoxes::Fail)
    { }

private slots:
    void init();
    void cleanup();
    void exportFromTheButton_data();
    void exportFromTheButton();
};

void tst_StudyRecordCommand::init()
{
    WindowTest::init();
    DesktopActions::enableTestMode(true);
}

void tst_StudyRecordCommand::cleanup()
{
    DesktopActions::enableTestMode(false);
    WindowTest::cleanup();
}

void tst_StudyRecordCommand::exportFromTheButton_data()
{
    QTest::addColumn<QString>("answer"); // the path chosen, in the test's folder; empty: cancelled
    QTest::addColumn<int>("button"); // the answer to the question that offers the folder
    QTest::addColumn<QStringList>("files"); // written, in the test's folder
    QTest::addColumn<QStringList>("failed"); // the paths told as not written
    const QStringList both { u"学习记录.csv"_s, u"学习记录（模拟考试）.csv"_s };
    QTest::newRow("是 opens the folder")
        << u"学习记录.csv"_s << int(QMessageBox::Yes) << both << QStringList();
    QTest::newRow("否 leaves it closed")
        << u"学习记录.csv"_s << int(QMessageBox::No) << both << QStringList();
    QTest::newRow("a name without an ending")
        << u"学习记录"_s << int(QMessageBox::No) << both << QStringList();
    QTest::newRow("cancelled") << QString() << int(QMessageBox::No) << QStringList() << QStringList();
    QTest::newRow("a folder that does not exist")
        << u"无此文件夹/学习记录.csv"_s << int(QMessageBox::No) << QStringList()
        << QStringList { u"无此文件夹/学习记录.csv"_s, u"无此文件夹/学习记录（模拟考试）.csv"_s };
}

void tst_StudyRecordCommand::exportFromTheButton()
{
    QFETCH(QString, answer);
    QFETCH(int, button);
    QFETCH(QStringList, files);
    QFETCH(QStringList, failed);
    const QDir dir(m_env->path());
    TestBank bank(bankPath());
    bank.section(u"K0101"_s, u"第一节"_s).question({ u"K0101"_s, 1 });
    QVERIFY(
        AttemptRepository::record(bank.store(), { { u"K0101"_s, u"1"_s }, 100, 120, 20, u"B"_s }).isDone());
    QVERIFY(ExamPaperRepository::recordResult(bank.store(), { 200, 1, 1, 1, 1, 0, 0 }).isDone());

    ProgressWindow window(bank.store());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    FileDialog::queueAnswer(answer.isEmpty() ? QString() : dir.filePath(answer));
    MessageBox::queueAnswer(QMessageBox::StandardButton(button));
    MainWindowDriver::click(named<XPButton>(&window, u"exportRecord"_s));

    const QVector<FileDialog::Shown> asked = FileDialog::takeShown();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].caption, u"导出学习记录"_s);
    QCOMPARE(QFileInfo(asked[0].suggested).fileName(), u"学习记录.csv"_s);
    QStringList found = dir.entryList({ u"*.csv"_s }, QDir::Files, QDir::Name);
    QCOMPARE(found, files);

    const QVector<MessageBox::Shown> shown = MessageBox::takeShown();
    const QVector<DesktopActions::Request> opened = DesktopActions::takeRequests();
    if (!failed.isEmpty()) {
        QCOMPARE(shown.size(), failed.size());
        for (int i = 0; i < failed.size(); ++i) {
            QCOMPARE(shown[i].icon, QMessageBox::Critical);
            QCOMPARE(shown[i].title, u"导出学习记录"_s);
            QVERIFY2(shown[i].text.startsWith(
                         u"%1无法保存到文件：\n%2\n\n原因："_s.arg(i == 0 ? u"答题记录"_s : u"模拟考试成绩"_s,
                             QDir::toNativeSeparators(dir.filePath(failed[i])))),
                qPrintable(shown[i].text));
        }
        QVERIFY(opened.isEmpty());
        return;
    }
    if (files.isEmpty()) {
        QVERIFY(shown.isEmpty());
        QVERIFY(opened.isEmpty());
        return;
    }
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, QMessageBox::Question);
    QCOMPARE(shown[0].title, u"导出学习记录"_s);
    QCOMPARE(shown[0].text,
        u"已生成2个文件：\n\n　　%1\n　　%2\n\n保存在文件夹：\n%3\n\n要打开这个文件夹吗？"_s.arg(
            files[0], files[1], QDir::toNativeSeparators(dir.absolutePath())));
    if (button == QMessageBox::Yes) {
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0].kind, DesktopActions::Request::OpenUrl);
        QCOMPARE(opened[0].url, QUrl::fromLocalFile(dir.absolutePath()));
    } else {
        QVERIFY(opened.isEmpty());
    }
}

QTEST_MAIN(tst_StudyRecordCommand)
#include "tst_StudyRecordCommand.moc"
