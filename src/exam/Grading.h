#pragma once

#include "data/WriteResult.h"
#include "exam/GradingTally.h"

#include <QString>

class QuestionStore;

/// The two graders. They count by the answer rules the whole program shares: a question
/// is unanswered when 答题 is absent or empty, right when 答题 equals 答案 exactly, and
/// rows of a type outside the six are counted nowhere.
namespace Grading {

struct Outcome
{
    GradingTally tally;
    /// Why the questions could not be read; empty when they were.
    QString readError;
    /// The rebuild of the working set (done for an exam, which rebuilds nothing).
    WriteResult copied = WriteResult::done(0);
};

/// Grades the exam paper in the working set; short answers count once each in their
/// slot and character by character in charTotal and charRight.
Outcome GradeExamPaper(QuestionStore& store);

/// Grades section @p sectionCode of the bank, its short answers by characters in their
/// own slot, then makes the working set a copy of the whole section.
Outcome GradePracticeSection(QuestionStore& store, const QString& sectionCode);

} // namespace Grading
