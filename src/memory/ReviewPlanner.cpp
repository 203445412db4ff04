#include "memory/ReviewPlanner.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace {

constexpr int NotDue = -1;

// The first whole number of days after the last attempt at which recall is below the target,
// found on the curve itself so that it agrees with dueToday() to the last bit.
qint64 daysUntilBelow(const MemoryState& state, double target)
{
    const double interval = MemoryModel::intervalDays(state, target);
    if (!(interval < 1e9))
        return qint64(1e9);
    qint64 days = std::max<qint64>(0, qint64(std::floor(interval)));
    while (days > 0 && MemoryModel::recall(state, double(days - 1)) < target)
        --days;
    while (MemoryModel::recall(state, double(days)) >= target)
        ++days;
    return days;
}

// Sorts @p questions by their recall on @p day, lowest first (the lower index on a tie), and
// keeps the first @p keep of them; the rest go to @p rest when given.
void keepMostUrgent(std::vector<int>& questions, const std::vector<QuestionMemory>& memory, qint64 day,
    size_t keep, std::vector<int>* rest = nullptr)
{
    // Recall falls as elapsed days over stability grow: ranking by that ratio, highest
    // first, is ranking by recall without computing the curve for a long backlog every day.
    std::vector<std::pair<double, int>> ranked;
    ranked.reserve(questions.size());
    for (int q : questions) {
        const QuestionMemory& question = memory[size_t(q)];
        ranked.emplace_back(-double(day - question.lastDay) / question.state.stability, q);
    }
    keep = std::min(keep, ranked.size());
    std::nth_element(ranked.begin(), ranked.begin() + std::ptrdiff_t(keep), ranked.end());
    std::sort(ranked.begin(), ranked.begin() + std::ptrdiff_t(keep));
    questions.clear();
    for (size_t k = 0; k < ranked.size(); ++k) {
        if (k < keep)
            questions.push_back(ranked[k].second);
        else if (rest)
            rest->push_back(ranked[k].second);
    }
}

class Planner
{
public:
    Planner(const MemoryParameters& parameters, std::vector<QuestionMemory> questions, qint64 today,
        qint64 examDay, const ReviewPlanner::PlanOptions& options)
        : m_parameters(parameters)
        , m_memory(std::move(questions))
        , m_today(today)
        , m_exam(examDay)
        , m_examRecall(options.examRecall)
        , m_reviewRecall(options.reviewRecall)
        , m_cap(size_t(std::max(0, options.dailyCap)))
        , m_days(int(std::max<qint64>(0, examDay - today)))
        , m_due(m_memory.size(), NotDue)
        , m_stamp(m_memory.size(), 0)
        , m_buckets(size_t(m_days))
        , m_load(size_t(m_days) + 1, 0)
    { }

    ExamPlan run()
    {
        ExamPlan plan;
        plan.firstDay = m_today;
        plan.days.resize(size_t(m_days));
        for (int q = 0; q < int(m_memory.size()); ++q)
            schedule(q, dueIndex(q, 0));
        // What a day cannot take waits for the next, outside the buckets: a long backlog
        // would otherwise be filed again every day.
        std::vector<int> waiting;
        for (int i = 0; i < m_days; ++i) {
            const qint64 day = m_today + i;
            std::vector<int>& reviews = plan.days[size_t(i)];
            reviews = stillDue(i);
            m_buckets[size_t(i)].clear();
            reviews.insert(reviews.end(), waiting.begin(), waiting.end());
            waiting.clear();
            keepMostUrgent(reviews, m_memory, day, m_cap, &waiting);
            if (i + 1 < m_days)
                m_load[size_t(i) + 1] += waiting.size();
            if (reviews.size() < m_cap)
                pullForward(i, std::min(m_cap - reviews.size(), carryInto(i)), reviews);
            for (int q : reviews) {
                QuestionMemory& memory = m_memory[size_t(q)];
                memory.state = MemoryModel::next(
                    m_parameters, memory.state, double(day - memory.lastDay), Grade::Good);
                memory.lastDay = day;
                schedule(q, dueIndex(q, i + 1));
            }
        }
        summarise(plan);
        return plan;
    }

private:
    // The day index from @p from on of question @p q's next review, or NotDue.
    int dueIndex(int q, int from) const
    {
        const qint64 earliest = m_today + from;
        if (earliest >= m_exam)
            return NotDue;
        const QuestionMemory& memory = m_memory[size_t(q)];
        const qint64 due = std::max(earliest, memory.lastDay + daysUntilBelow(memory.state, m_reviewRecall));
        if (due < m_exam)
            return int(due - m_today);
        // Not due before the exam, but below its target on the day: as late as can be.
        if (MemoryModel::recall(memory.state, double(m_exam - memory.lastDay)) < m_examRecall)
            return int(m_exam - 1 - m_today);
        return NotDue;
    }

    void schedule(int q, int due)
    {
        ++m_stamp[size_t(q)];
        m_due[size_t(q)] = due;
        if (due == NotDue)
            return;
        m_buckets[size_t(due)].emplace_back(q, m_stamp[size_t(q)]);
        ++m_load[size_t(due)];
    }

    void unschedule(int q)
    {
        ++m_stamp[size_t(q)];
        --m_load[size_t(m_due[size_t(q)])];
        m_due[size_t(q)] = NotDue;
    }

    // The questions whose review falls on day @p i; an entry of its bucket is stale once its
    // question has been scheduled again.
    std::vector<int> stillDue(int i) const
    {
        std::vector<int> due;
        for (const auto& [q, stamp] : m_buckets[size_t(i)])
            if (m_stamp[size_t(q)] == stamp && m_due[size_t(q)] == i)
                due.push_back(q);
        return due;
    }

    // How many of the reviews due after day @p i the days up to the exam cannot take.
    size_t carryInto(int i) const
    {
        size_t carry = 0;
        for (int j = m_days - 1; j > i; --j)
            carry = m_load[size_t(j)] + carry > m_cap ? m_load[size_t(j)] + carry - m_cap : 0;
        return carry;
    }

    void pullForward(int i, size_t count, std::vector<int>& reviews)
    {
        const qint64 day = m_today + i;
        for (int j = i + 1; j < m_days && count > 0; ++j) {
            std::vector<int> due = stillDue(j);
            keepMostUrgent(due, m_memory, day, count);
            for (int q : due)
                unschedule(q);
            count -= due.size();
            reviews.insert(reviews.end(), due.begin(), due.end());
        }
    }

    void summarise(ExamPlan& plan) const
    {
        if (m_memory.empty())
            return;
        double sum = 0;
        int atTarget = 0;
        for (const QuestionMemory& memory : m_memory) {
            const double recall = MemoryModel::recall(memory.state, double(m_exam - memory.lastDay));
            sum += recall;
            atTarget += recall >= m_examRecall - 1e-12 ? 1 : 0;
        }
        plan.meanRecall = sum / double(m_memory.size());
        plan.shareAtTarget = double(atTarget) / double(m_memory.size());
    }

    const MemoryParameters& m_parameters;
    std::vector<QuestionMemory> m_memory;
    const qint64 m_today;
    const qint64 m_exam;
    const double m_examRecall;
    const double m_reviewRecall;
    const size_t m_cap;
    const int m_days;
    std::vector<int> m_due;
    std::vector<quint32> m_stamp;
    std::vector<std::vector<std::pair<int, quint32>>> m_buckets;
    std::vector<size_t> m_load;
};

} // namespace

int ExamPlan::reviews() const
{
    return std::accumulate(days.begin(), days.end(), 0,
        [](int sum, const std::vector<int>& day) { return sum + int(day.size()); });
}

namespace ReviewPlanner {

qint64 dueDay(const QuestionMemory& question, double targetRecall, qint64 examDay)
{
    const qint64 due = question.lastDay + daysUntilBelow(question.state, targetRecall);
    return due == examDay && examDay - 1 > question.lastDay ? examDay - 1 : due;
}

std::vector<int> dueToday(
    const std::vector<QuestionMemory>& questions, qint64 today, double targetRecall, int dailyCap)
{
    std::vector<int> due;
    for (int q = 0; q < int(questions.size()); ++q) {
        const QuestionMemory& memory = questions[size_t(q)];
        if (MemoryModel::recall(memory.state, double(today - memory.lastDay)) < targetRecall)
            due.push_back(q);
    }
    keepMostUrgent(due, questions, today, size_t(std::max(0, dailyCap)));
    return due;
}

ExamPlan examPlan(const MemoryParameters& parameters, const std::vector<QuestionMemory>& questions,
    qint64 today, qint64 examDay, const PlanOptions& options)
{
    return Planner(parameters, questions, today, examDay, options).run();
}

} // namespace ReviewPlanner
