#include "exam/ui/GradingCommands.h"

#include "controls/MessageBox.h"
#include "data/ForecastRepository.h"
#include "data/QuestionStore.h"
#include "data/ui/BankMessages.h"
#include "exam/ExamResult.h"
#include "exam/Grading.h"
#include "exam/ScoreReport.h"
#include "exam/ui/PaperExportDialog.h"
#include "exam/ui/cjtj.h"
#include "session/StudySession.h"

#include <cmath>

namespace GradingCommands {
namespace {

bool tellUnread(QWidget* parent, const Grading::Outcome& outcome)
{
    if (outcome.readError.isEmpty())
        return false;
    MessageBox::critical(parent, QStringLiteral("批阅失败"),
        QStringLiteral("无法读取试题，成绩没有统计。\n\n原因：%1。").arg(outcome.readError));
    return true;
}

void openReport(QWidget* parent, QuestionStore& store, const StudySession& session, const GradingTally& tally,
    const QString& forecastLine = QString())
{
    GradingTally::program() = tally;
    const QuestionTable table = session.table();
    cjtj report(GradingTally::program(), ScoreReport::readPoints(),
        ScoreReport::detailRows(store, table, session.sectionCode()), parent, forecastLine);
    report.exec();
}

// The score beside what was expected of the paper before it was answered.
QString forecastLine(QuestionStore& store, qint64 score)
{
    PaperForecastRow f;
    if (!ForecastRepository::lastExamForecast(store, &f))
        return {};
    return QStringLiteral("本次得分 %1 / 考前预计 %2（%3～%4 分，及格线 %5 分，及格概率 %6%）")
        .arg(score)
        .arg(f.expected, 0, 'f', 1)
        .arg(f.low)
        .arg(f.high)
        .arg(f.passLine)
        .arg(std::lround(f.passChance * 100));
}

} // namespace

bool showExamReport(QWidget* parent, QuestionStore& store, StudySession& session)
{
    const Grading::Outcome outcome = Grading::GradeExamPaper(store);
    if (!tellUnread(parent, outcome)) {
        const ExamResult::Row row = ExamResult::fromTally(
            outcome.tally, ScoreReport::readPoints(), QDateTime::currentDateTimeUtc());
        const WriteResult kept = store.writeTransaction([&] {
            const WriteResult recorded = ExamResult::record(store, row);
            return recorded.isDone() ? ForecastRepository::attachPaperForecast(store) : recorded;
        });
        if (!kept.isDone())
            MessageBox::warning(parent, QStringLiteral("结束考试"),
                QStringLiteral("成绩已统计，但没有记入考试记录。\n\n原因：%1。")
                    .arg(BankMessages::reason(kept)));
        openReport(parent, store, session, outcome.tally,
            kept.isDone() ? forecastLine(store, row.score) : QString());
    }
    return session.isExamRunning();
}

void showPracticeReport(QWidget* parent, QuestionStore& store, StudySession& session)
{
    const Grading::Outcome outcome = Grading::GradePracticeSection(store, session.sectionCode());
    if (tellUnread(parent, outcome))
        return;
    if (!outcome.copied.isDone()) {
        // The grades stand; only the copy the exam paper starts from is stale.
        MessageBox::warning(parent, QStringLiteral("批阅试题"),
            QStringLiteral("成绩已统计，但本节试题没有复制到考试工作区。\n\n原因：%1。")
                .arg(BankMessages::reason(outcome.copied)));
    }
    openReport(parent, store, session, outcome.tally);
}

void exportPaper(QWidget* parent, QuestionStore& store, const StudySession& session)
{
    PaperExport::Source source;
    source.table = session.table();
    source.sectionCode = session.sectionCode();
    PaperExportDialog dialog(store, source, parent);
    dialog.exec();
}

} // namespace GradingCommands
