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

/// The questions whose predicted recall on @p today is below @p targetRecall, lowest
/// first, at most @p dailyCap of them.
std::vector<int> dueToday(const std::vector<QuestionMemory>& questions, qint64 today,
    double targetRecall = MemoryModel::DefaultTargetRecall, int dailyCap = DefaultDailyCap);

/// The reviews from @p today to the day before @p examDay, at most @p dailyCap a day, such
/// that as far as the cap allows every question is predicted at or above @p targetRecall
/// on the exam day. A question is reviewed on the first day its recall would be below the
/// target; one that would stay above until the exam but fall below on the day itself is
/// reviewed the day before. What a day cannot take is moved to earlier days with room, the
/// most urgent (lowest recall) first, and only what cannot move earlier waits a day.
ExamPlan examPlan(const MemoryParameters& parameters, const std::vector<QuestionMemory>& questions,
    qint64 today, qint64 examDay, double targetRecall = MemoryModel::DefaultTargetRecall,
    int dailyCap = DefaultDailyCap);

} // namespace ReviewPlanner
