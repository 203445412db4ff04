#include "exam/ExamResult.h"

#include "data/ExamPaperRepository.h"

namespace ExamResult {

Row fromTally(const GradingTally& tally, const ScoreReport::Points& points, const QDateTime& finished)
{
    Row row;
    row.finishedAt = finished.toSecsSinceEpoch();
    const ScoreReport::Totals totals = ScoreReport::totals(tally, points);
    row.score = totals.scored;
    row.fullScore = totals.total;
    for (int slot = 0; slot < QuestionType::SlotCount; ++slot) {
        row.questions += tally.total[size_t(slot)];
        row.right += tally.right[size_t(slot)];
        row.unanswered += tally.unanswered[size_t(slot)];
        row.wrong += tally.wrong(slot);
    }
    return row;
}

WriteResult record(QuestionStore& store, const Row& row)
{
    return ExamPaperRepository::recordResult(store, row);
}

} // namespace ExamResult
