#pragma once

#include "data/WriteResult.h"
#include "memory/MemoryModel.h"

#include <QDate>
#include <QString>
#include <QVector>

class QuestionStore;

/// "复习计划": the reviews from today until the exam day under the daily cap, and what the
/// memory model then predicts for the practised questions on that day.
namespace ReviewPlan {

struct Result
{
    bool ok = false;
    QString error;
    /// Questions in the review schedule.
    int practised = 0;
    /// Reviews on each day from today to the day before the exam.
    QVector<int> reviewsPerDay;
    /// Mean predicted recall of the practised questions on the exam day.
    double meanRecall = 0;
    /// The share of them predicted at or above the target on the exam day.
    double shareAtTarget = 0;

    int reviews() const;
};

/// The plan to @p examDay (after @p today) for recall @p target with at most @p cap
/// reviews a day.
Result compute(QuestionStore& store, const QDate& today, const QDate& examDay, double target, int cap,
    const MemoryParameters& parameters = MemoryParameters::defaults());

/// Moves the due day of every practised question to the first day its recall is below
/// @p target, or the day before @p examDay when that first day is the exam day.
WriteResult retarget(QuestionStore& store, double target, const QDate& examDay);

} // namespace ReviewPlan
