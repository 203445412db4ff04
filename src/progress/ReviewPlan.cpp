#include "progress/ReviewPlan.h"

#include "data/AnswerRepository.h"
#include "data/StatisticsRepository.h"
#include "memory/ReviewPlanner.h"

#include <numeric>

namespace ReviewPlan {

int Result::reviews() const
{
    return std::accumulate(reviewsPerDay.begin(), reviewsPerDay.end(), 0);
}

Result compute(QuestionStore& store, const QDate& today, const QDate& examDay, double target, int cap,
    const MemoryParameters& parameters)
{
    Result result;
    std::vector<QuestionMemory> questions;
    if (!StatisticsRepository::eachMemory(
            store,
            [&questions](double stability, double difficulty, qint64 lastDay) {
                questions.push_back({ { stability, difficulty }, lastDay });
            },
            &result.error))
        return result;
    result.practised = int(questions.size());
    result.ok = true;
    if (questions.empty() || !examDay.isValid() || examDay <= today)
        return result;
    ReviewPlanner::PlanOptions options;
    options.examRecall = target;
    options.reviewRecall = target;
    options.dailyCap = cap;
    const ExamPlan plan
        = ReviewPlanner::examPlan(parameters, questions, today.toJulianDay(), examDay.toJulianDay(), options);
    for (const std::vector<int>& day : plan.days)
        result.reviewsPerDay.append(int(day.size()));
    result.reviewsPerDay.resize(int(today.daysTo(examDay)));
    result.meanRecall = plan.meanRecall;
    result.shareAtTarget = plan.shareAtTarget;
    return result;
}

WriteResult retarget(QuestionStore& store, double target, const QDate& examDay)
{
    const qint64 exam = examDay.isValid() ? examDay.toJulianDay() : 0;
    return AnswerRepository::setDueDays(
        store, [target, exam](double stability, double difficulty, qint64 lastDay) {
            return ReviewPlanner::dueDay({ { stability, difficulty }, lastDay }, target, exam);
        });
}

} // namespace ReviewPlan
