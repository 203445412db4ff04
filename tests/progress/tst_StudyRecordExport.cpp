#include "TestBank.h"
#include "TestFolders.h"

#include "data/AttemptRepository.h"
#include "data/ExamPaperRepository.h"
#include "progress/StudyRecordExport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// The candidate's record as spreadsheet files, byte for byte, and a file that cannot be
// written told as a failure with nothing left behind.
class tst_StudyRecordExport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void attemptsAndExamsByteForByte();
    void unwritableTargetIsAFailure_data();
    void unwritableTargetIsAFailure();

private:
    std::unique_ptr<TestFolders> m_folders;
    std::unique_ptr<TestBank> m_bank;
};

namespace {

const qint64 Morning = QDateTime(QDate(2026, 3, 14), QTime(9, 5, 7)).toSecsSinceEpoch();

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

void tst_StudyRecordExport::init()
{
    m_bank.reset();
    m_folders = std::make_unique<TestFolders>();
    m_bank = std::make_unique<TestBank>(m_folders->bankPath());
    m_bank->section(u"K0101"_s, u"第一节"_s);
    m_bank->question({ u"K0101"_s, 1, u"单选"_s, u"A"_s }).question({ u"K0101"_s, 2, u"多选"_s, u"ABD"_s });
    QuestionStore& store = m_bank->store();
    QVERIFY(AttemptRepository::record(store, { { u"K0101"_s, u"1"_s }, Morning - 20, Morning, 20, u"B"_s })
                .isDone());
    // An answer typed with a comma, quotes and a line break, as a note in an answer box may be.
    QVERIFY(AttemptRepository::record(
        store, { { u"K0101"_s, u"2"_s }, Morning + 25, Morning + 60, 35, u"A,\"B\"\nD"_s, true, true, 3 })
                .isDone());
    QVERIFY(ExamPaperRepository::recordResult(store, { Morning + 3600, 45, 60, 30, 20, 5, 5 }).isDone());
}

void tst_StudyRecordExport::attemptsAndExamsByteForByte()
{
    const QString attempts = QDir(m_folders->path()).filePath(u"学习记录.csv"_s);
    const QString exams = StudyRecordExport::examResultsPath(attempts);
    QCOMPARE(exams, QDir(m_folders->path()).filePath(u"学习记录（模拟考试）.csv"_s));

    const WriteResult wroteAttempts = StudyRecordExport::writeAttempts(m_bank->store(), attempts);
    QVERIFY(wroteAttempts.isDone());
    QCOMPARE(wroteAttempts.rows(), 2);
    QCOMPARE(contents(attempts),
        QByteArray("\xEF\xBB\xBF")
            + u"时间,章节代码,章节,题号,题型,作答,答案,结果,用时（秒）,来源\r\n"
              "2026-03-14 09:05:07,K0101,第一节,1,单选,B,A,错,20,练习\r\n"
              "2026-03-14 09:06:07,K0101,第一节,2,多选,\"A,\"\"B\"\"\nD\",ABD,对,35,考试\r\n"_s.toUtf8());

    const WriteResult wroteExams = StudyRecordExport::writeExamResults(m_bank->store(), exams);
    QVERIFY(wroteExams.isDone());
    QCOMPARE(wroteExams.rows(), 1);
    QCOMPARE(contents(exams),
        QByteArray("\xEF\xBB\xBF")
            + u"交卷时间,总分,得分,得分率,题数,答对,答错,未答\r\n2026-03-14 10:05:07,60,45,75.0%,30,20,5,5\r\n"_s
                  .toUtf8());
}

void tst_StudyRecordExport::unwritableTargetIsAFailure_data()
{
    QTest::addColumn<bool>("exams");
    QTest::addColumn<QString>("target"); // in the test's folder
    QTest::addColumn<bool>("folder"); // the target is a folder that must stay one
    for (const bool exams : { false, true }) {
        const char* what = exams ? "exam results" : "attempts";
        QTest::addRow("%s, a folder that does not exist", what)
            << exams << u"无此文件夹/学习记录.csv"_s << false;
        QTest::addRow("%s, a folder in the file's place", what) << exams << u"学习记录.csv"_s << true;
    }
}

void tst_StudyRecordExport::unwritableTargetIsAFailure()
{
    QFETCH(bool, exams);
    QFETCH(QString, target);
    QFETCH(bool, folder);
    const QDir dir(m_folders->path());
    const QString path = dir.filePath(target);
    if (folder)
        QVERIFY(dir.mkdir(target));
    const QStringList before = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    const WriteResult result = exams ? StudyRecordExport::writeExamResults(m_bank->store(), path)
                                     : StudyRecordExport::writeAttempts(m_bank->store(), path);
    QVERIFY(result.isFailed());
    QVERIFY(!result.ownReason().isEmpty());
    QCOMPARE(QFileInfo(path).isDir(), folder);
    QCOMPARE(QFileInfo::exists(path), folder);
    QCOMPARE(dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
}

QTEST_GUILESS_MAIN(tst_StudyRecordExport)
#include "tst_StudyRecordExport.moc"
