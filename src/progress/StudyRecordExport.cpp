#include "progress/StudyRecordExport.h"

#include "data/AttemptRepository.h"
#include "data/DelimitedText.h"
#include "data/ExamPaperRepository.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <functional>

namespace StudyRecordExport {
namespace {

QString localTime(qint64 secondsUtc)
{
    return QDateTime::fromSecsSinceEpoch(secondsUtc).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// Writes the header and the records @p rows hands to its writer into a temporary file
// that replaces @p path only when everything was read and written.
WriteResult writeTable(const QString& path, const QStringList& header,
    const std::function<bool(const std::function<void(const QStringList&)>&, QString*)>& rows)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return WriteResult::failed(file.errorString());
    bool written = true;
    const auto put = [&](const QByteArray& bytes) { written = written && file.write(bytes) == bytes.size(); };
    // Spreadsheet programs read a file without the mark in the local code page.
    put(QByteArrayLiteral("\xEF\xBB\xBF"));
    put(DelimitedText::record(header).toUtf8());
    int count = 0;
    QString error;
    const bool read = rows(
        [&](const QStringList& fields) {
            put(DelimitedText::record(fields).toUtf8());
            ++count;
        },
        &error);
    if (!read) {
        file.cancelWriting();
        return WriteResult::failed(StoreFailure(StoreFailure::Kind::Other, error));
    }
    if (!written || !file.commit())
        return WriteResult::failed(file.errorString());
    return WriteResult::done(count);
}

} // namespace

WriteResult writeAttempts(QuestionStore& store, const QString& path)
{
    const QStringList header { QStringLiteral("时间"), QStringLiteral("章节代码"), QStringLiteral("章节"),
        QStringLiteral("题号"), QStringLiteral("题型"), QStringLiteral("作答"), QStringLiteral("答案"),
        QStringLiteral("结果"), QStringLiteral("用时（秒）"), QStringLiteral("来源") };
    return writeTable(path, header, [&store](const auto& write, QString* error) {
        return AttemptRepository::eachDetailed(
            store,
            [&write](const AttemptDetail& d) {
                const AttemptRecord& a = d.attempt;
                write({ localTime(a.answeredAt > 0 ? a.answeredAt : a.startedAt), a.key.code, d.sectionName,
                    a.key.number, d.type, a.answer, d.key,
                    a.right ? QStringLiteral("对") : QStringLiteral("错"), QString::number(a.seconds),
                    a.fromExam ? QStringLiteral("考试") : QStringLiteral("练习") });
            },
            error);
    });
}

WriteResult writeExamResults(QuestionStore& store, const QString& path)
{
    const QStringList header { QStringLiteral("交卷时间"), QStringLiteral("总分"), QStringLiteral("得分"),
        QStringLiteral("得分率"), QStringLiteral("题数"), QStringLiteral("答对"), QStringLiteral("答错"),
        QStringLiteral("未答") };
    return writeTable(path, header, [&store](const auto& write, QString* error) {
        return ExamPaperRepository::eachResult(
            store,
            [&write](const ExamResultRow& r) {
                const QString share = r.fullScore > 0
                    ? QString::number(100.0 * double(r.score) / double(r.fullScore), 'f', 1) + u'%'
                    : QString();
                write({ localTime(r.finishedAt), QString::number(r.fullScore), QString::number(r.score),
                    share, QString::number(r.questions), QString::number(r.right), QString::number(r.wrong),
                    QString::number(r.unanswered) });
            },
            error);
    });
}

QString examResultsPath(const QString& attemptsPath)
{
    const QFileInfo attempts(attemptsPath);
    return attempts.dir().filePath(attempts.completeBaseName() + QStringLiteral("（模拟考试）.csv"));
}

} // namespace StudyRecordExport
