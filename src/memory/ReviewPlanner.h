#pragma once

#include "memory/MemoryModel.h"

#include <QtGlobal>

#include <vector>

/// A practised question as the planner sees it: the model's state and the day number of
/// its last attempt.
struct QuestionMemory
{
    MemoryState state;
    qint64 lastDay = 0;
};

/// Reviews day by day until the exam, assuming each one succeeds, and what the model then
/// predicts for the exam day. Questions are indices into the list planned for.
struct ExamPlan
{
    qint64 firstDay = 0;
    /// The questions to review on each day from firstDay to the day before the exam.
    std::vector<std::vector<int>> days;
    /// Mean predicted recall on the exam day over all questions planned for.
    double meanRecall = 0;
    /// The share of them predicted at or above the target recall on the exam day.
    double shareAtTarget = 0;

    int reviews() const;
};

/// When to review which practised question.
namespace ReviewPlanner {

constexpr int DefaultDailyCap = 200;

struct PlanOptions
{
    /// What every question should be recalled with on the exam day.
    double examRecall = MemoryModel::DefaultTargetRecall;
    /// Below this a question is due in the days before. Lower spaces the reviews further
    /// apart, each one steadying the memory more, at more risk of a lapse; the exam-day
    /// target still holds.
    double reviewRecall = MemoryModel::DefaultTargetRecall;
    int dailyCap = DefaultDailyCap;
};

/// The first day the predicted recall of @p question is below @p targetRecall; the day
/// before @p examDay (when given) if that first day is the exam day itself, so that the
/// question is at or above the target on the day that counts.
qint64 dueDay(const QuestionMemory& question, double targetRecall = MemoryModel::DefaultTargetRecall,
    qint64 examDay = 0);

/// The questions whose predicted recall on @p today is below @p targetRecall, lowest
/// first, at most @p dailyCap of them.
std::vector<int> dueToday(const std::vector<QuestionMemory>& questions, qint64 today,
    double targetRecall = MemoryModel::DefaultTargetRecall, int dailyCap = DefaultDailyCap);

/// The reviews from @p today to the day before @p examDay, at most options.dailyCap a day,
/// such that as far as the cap allows every question is predicted at or above
/// options.examRecall on the exam day. A question is reviewed on the first day its recall
/// would be below options.reviewRecall; one that would not be due before the exam but
/// would be below options.examRecall on the day is reviewed the day before. What a day
/// cannot take is moved to earlier days with room, the most urgent (lowest recall) first,
/// and only what cannot move earlier waits a day.
ExamPlan examPlan(const MemoryParameters& parameters, const std::vector<QuestionMemory>& questions,
    qint64 today, qint64 examDay, const PlanOptions& options = {});

} // namespace ReviewPlanner
