#pragma once

#include "data/WriteResult.h"
#include "exam/GradingTally.h"
#include "exam/ScoreReport.h"

#include <QDateTime>

class QuestionStore;

/// The record of a graded exam kept in exam_result, one row per grading.
namespace ExamResult {

struct Row
{
    qint64 finishedAt = 0; ///< UTC seconds
    qint64 score = 0;
    qint64 fullScore = 0;
    qint64 questions = 0;
    qint64 right = 0;
    qint64 wrong = 0;
    qint64 unanswered = 0;
};

/// The row for a grading: the score report's totals and the counts over the six type slots.
Row fromTally(const GradingTally& tally, const ScoreReport::Points& points, const QDateTime& finished);

/// Appends @p row to exam_result.
WriteResult record(QuestionStore& store, const Row& row);

} // namespace ExamResult
