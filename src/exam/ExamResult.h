#pragma once

#include "data/ExamPaperRepository.h"
#include "data/WriteResult.h"
#include "exam/GradingTally.h"
#include "exam/ScoreReport.h"

#include <QDateTime>

class QuestionStore;

/// The record of a graded exam kept in exam_result, one row per grading.
namespace ExamResult {

using Row = ExamResultRow;

/// The row for a grading: the score report's totals and the counts over the six type slots.
Row fromTally(const GradingTally& tally, const ScoreReport::Points& points, const QDateTime& finished);

/// Appends @p row to exam_result.
WriteResult record(QuestionStore& store, const Row& row);

} // namespace ExamResult
