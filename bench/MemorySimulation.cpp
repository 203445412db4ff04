#include "MemorySimulation.h"

#include "memory/ReviewPlanner.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <optional>
#include <sstream>

namespace MemorySimulation {

namespace {

// The fixed intervals the program reviewed by before the memory model: a wrong answer
// brings a question back the next day, each right answer on or after its due day moves it
// to the next interval, after the last it leaves review, and a right answer while not in
// review never enters it.
struct LadderEntry
{
    int stage = 0;
    qint64 dueDay = 0;
};
constexpr std::array<int, 5> LadderIntervals { 1, 3, 7, 15, 30 };

std::optional<LadderEntry> ladderNext(const std::optional<LadderEntry>& current, bool right, qint64 day)
{
    if (!right)
        return LadderEntry { 0, day + LadderIntervals[0] };
    if (!current || day < current->dueDay)
        return current;
    const int stage = current->stage + 1;
    if (stage >= int(LadderIntervals.size()))
        return std::nullopt;
    return LadderEntry { stage, day + LadderIntervals[size_t(stage)] };
}

quint64 mix(quint64 x)
{
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

// What a draw is for.
enum : quint64
{
    Outcome = 1,
    Knowledge,
    HalfLife,
    Growth,
    Weight,
    CandidateTrait,
};

double logistic(double x)
{
    return 1 / (1 + std::exp(-x));
}

// Shared by both laws: how likely the candidate already knows a question before studying
// it, when it last tried each question, and the draws of the outcomes.
class Attempts
{
public:
    Attempts(quint64 seed, int questions, const std::vector<double>& offsets)
        : m_seed(seed)
        , m_known(size_t(questions))
        , m_last(size_t(questions), 0)
        , m_count(size_t(questions), 0)
    {
        const double candidate = 0.45 + 0.3 * draw(seed, CandidateTrait, 0);
        const double logit = std::log(candidate / (1 - candidate));
        for (int q = 0; q < questions; ++q) {
            const double offset = size_t(q) < offsets.size() ? offsets[size_t(q)] : 0.0;
            m_known[size_t(q)] = logistic(logit + offset + normalDraw(seed, Knowledge, quint64(q)));
        }
    }

    // The first attempt at @p q, right when the candidate already knew it.
    bool first(int q, int day) { return attempt(q, day, m_known[size_t(q)]); }
    // A later attempt, right with @p recall.
    bool attempt(int q, int day, double recall)
    {
        const quint64 which = (quint64(q) << 20) | quint64(m_count[size_t(q)]++);
        m_last[size_t(q)] = day;
        return draw(m_seed, Outcome, which) < recall;
    }
    double elapsed(int q, int day) const { return day - m_last[size_t(q)]; }
    double known(int q) const { return m_known[size_t(q)]; }

private:
    quint64 m_seed;
    std::vector<double> m_known;
    std::vector<int> m_last;
    std::vector<int> m_count;
};

class ModelCandidate : public Candidate
{
public:
    ModelCandidate(quint64 seed, int questions, const std::vector<double>& offsets)
        : m_attempts(seed, questions, offsets)
        , m_state(size_t(questions))
    {
        m_parameters = MemoryParameters::defaults();
        for (size_t i = 0; i < m_parameters.w.size(); ++i)
            m_parameters.w[i] *= std::exp(0.25 * normalDraw(seed, Weight, i));
        m_parameters = m_parameters.clamped();
    }

    bool learn(int q, int day) override
    {
        const bool right = m_attempts.first(q, day);
        m_state[size_t(q)] = MemoryModel::first(m_parameters, gradeOf(right));
        return right;
    }

    bool review(int q, int day) override
    {
        const double elapsed = m_attempts.elapsed(q, day);
        const bool right = m_attempts.attempt(q, day, trueRecall(q, day));
        m_state[size_t(q)] = MemoryModel::next(m_parameters, m_state[size_t(q)], elapsed, gradeOf(right));
        return right;
    }

    double trueRecall(int q, int day) const override
    {
        return MemoryModel::recall(m_state[size_t(q)], m_attempts.elapsed(q, day));
    }
    double firstChance(int q) const override { return m_attempts.known(q); }

private:
    Attempts m_attempts;
    MemoryParameters m_parameters;
    std::vector<MemoryState> m_state;
};

// R(t) = 2^(-t/h). The first study sets h to the question's own half-life (twice that when
// the candidate already knew it); each success a day or more after the last attempt
// multiplies it by the question's growth factor; a lapse cuts it to 30 %, not below half the
// first one.
class HalfLifeCandidate : public Candidate
{
public:
    HalfLifeCandidate(quint64 seed, int questions, const std::vector<double>& offsets)
        : m_attempts(seed, questions, offsets)
        , m_first(size_t(questions))
        , m_growth(size_t(questions))
        , m_halfLife(size_t(questions), 0)
    {
        const double firstHalfLife = 2 + 3 * draw(seed, CandidateTrait, 1);
        const double growth = 1.6 + draw(seed, CandidateTrait, 2);
        for (int q = 0; q < questions; ++q) {
            m_first[size_t(q)] = firstHalfLife * std::exp(0.5 * normalDraw(seed, HalfLife, quint64(q)));
            m_growth[size_t(q)] = 1 + (growth - 1) * std::exp(0.3 * normalDraw(seed, Growth, quint64(q)));
        }
    }

    bool learn(int q, int day) override
    {
        const bool right = m_attempts.first(q, day);
        m_halfLife[size_t(q)] = m_first[size_t(q)] * (right ? 2 : 1);
        return right;
    }

    bool review(int q, int day) override
    {
        const double elapsed = m_attempts.elapsed(q, day);
        const bool right = m_attempts.attempt(q, day, trueRecall(q, day));
        double& halfLife = m_halfLife[size_t(q)];
        if (!right)
            halfLife = std::max(0.5 * m_first[size_t(q)], 0.3 * halfLife);
        else if (elapsed >= 1)
            halfLife *= m_growth[size_t(q)];
        return right;
    }

    double trueRecall(int q, int day) const override
    {
        return std::exp2(-m_attempts.elapsed(q, day) / m_halfLife[size_t(q)]);
    }
    double firstChance(int q) const override { return m_attempts.known(q); }

private:
    Attempts m_attempts;
    std::vector<double> m_first;
    std::vector<double> m_growth;
    std::vector<double> m_halfLife;
};

// What a scheduler keeps per question and how it picks the day's reviews.
class Schedule
{
public:
    Schedule(Scheduler kind, const Setup& setup)
        : m_kind(kind)
        , m_setup(setup)
        , m_parameters(MemoryParameters::defaults())
    { }

    std::vector<int> reviewsOn(int day) const
    {
        if (m_kind == Scheduler::Ladder || m_kind == Scheduler::LadderAll)
            return ladderDue(day);
        if (m_kind == Scheduler::ModelDue)
            return ReviewPlanner::dueToday(m_memory, day, m_setup.targetRecall, m_setup.dailyCap);
        // The plan sees the questions in review only; its indices map back through these.
        std::vector<int> planned;
        std::vector<QuestionMemory> memory;
        for (int q = 0; q < int(m_memory.size()); ++q)
            if (m_inReview[size_t(q)]) {
                planned.push_back(q);
                memory.push_back(m_memory[size_t(q)]);
            }
        ReviewPlanner::PlanOptions options;
        options.examRecall = m_setup.targetRecall;
        options.reviewRecall = m_setup.reviewRecall;
        options.dailyCap = m_setup.dailyCap;
        const ExamPlan plan = ReviewPlanner::examPlan(m_parameters, memory, day, m_setup.examDay, options);
        std::vector<int> reviews;
        if (!plan.days.empty())
            for (int k : plan.days.front())
                reviews.push_back(planned[size_t(k)]);
        return reviews;
    }

    void learnt(int day, bool right)
    {
        m_ladder.push_back(m_kind == Scheduler::LadderAll ? LadderEntry { 0, day + 1 }
                                                          : ladderNext(std::nullopt, right, day));
        m_memory.push_back({ MemoryModel::first(m_parameters, gradeOf(right)), day });
        m_inReview.push_back(m_kind != Scheduler::ModelPlanWrongOnly || !right);
    }

    void reviewed(int q, int day, bool right)
    {
        m_ladder[size_t(q)] = ladderNext(m_ladder[size_t(q)], right, day);
        QuestionMemory& memory = m_memory[size_t(q)];
        memory.state
            = MemoryModel::next(m_parameters, memory.state, double(day - memory.lastDay), gradeOf(right));
        memory.lastDay = day;
        m_inReview[size_t(q)] = m_inReview[size_t(q)] || !right;
    }

    // Refits when the attempts first reach the threshold, then weekly.
    bool refit(int day, const std::vector<AttemptHistory>& attempts)
    {
        if (m_kind != Scheduler::ModelPlanFitted || (m_lastFit >= 0 && day - m_lastFit < 7))
            return false;
        const FitResult result = MemoryFit::fit(attempts);
        if (!result.fitted)
            return false;
        m_lastFit = day;
        m_parameters = result.parameters;
        for (size_t q = 0; q < m_memory.size(); ++q)
            m_memory[q].state = MemoryFit::replay(m_parameters, attempts[q]);
        return true;
    }

private:
    std::vector<int> ladderDue(int day) const
    {
        std::vector<std::pair<qint64, int>> due;
        for (int q = 0; q < int(m_ladder.size()); ++q)
            if (m_ladder[size_t(q)] && m_ladder[size_t(q)]->dueDay <= day)
                due.emplace_back(m_ladder[size_t(q)]->dueDay, q);
        std::sort(due.begin(), due.end());
        due.resize(std::min(due.size(), size_t(m_setup.dailyCap)));
        std::vector<int> questions;
        questions.reserve(due.size());
        for (const auto& entry : due)
            questions.push_back(entry.second);
        return questions;
    }

    Scheduler m_kind;
    Setup m_setup;
    MemoryParameters m_parameters;
    std::vector<std::optional<LadderEntry>> m_ladder;
    std::vector<QuestionMemory> m_memory;
    std::vector<bool> m_inReview;
    int m_lastFit = -1;
};

} // namespace

double draw(quint64 seed, quint64 what, quint64 which)
{
    return double(mix(mix(mix(seed) ^ what) ^ which) >> 11) * 0x1.0p-53;
}

double normalDraw(quint64 seed, quint64 what, quint64 which)
{
    const double u = std::max(draw(seed, what, which * 2), 1e-300);
    const double v = draw(seed, what, which * 2 + 1);
    return std::sqrt(-2 * std::log(u)) * std::cos(2 * 3.14159265358979323846 * v);
}

std::unique_ptr<Candidate> candidate(Law law, quint64 seed, int questions, const std::vector<double>& offsets)
{
    if (law == Law::Model)
        return std::make_unique<ModelCandidate>(seed, questions, offsets);
    return std::make_unique<HalfLifeCandidate>(seed, questions, offsets);
}

const char* lawName(Law law)
{
    return law == Law::Model ? "model law" : "half-life law";
}

Run run(Candidate& candidate, Scheduler scheduler, const Setup& setup)
{
    Run result;
    Schedule schedule(scheduler, setup);
    int introduced = 0;
    for (int day = 0; day < setup.examDay; ++day) {
        const std::vector<int> reviews = schedule.reviewsOn(day);
        result.daysAtCap += int(reviews.size()) >= setup.dailyCap ? 1 : 0;
        for (int q : reviews) {
            const bool right = candidate.review(q, day);
            result.attempts[size_t(q)].emplace_back(day, right);
            schedule.reviewed(q, day, right);
        }
        result.reviews += int(reviews.size());
        for (int k = 0; k < setup.newPerDay && introduced < setup.questions; ++k, ++introduced) {
            const bool right = candidate.learn(introduced, day);
            result.attempts.push_back({ Attempt(day, right) });
            schedule.learnt(day, right);
        }
        result.fits += schedule.refit(day, result.attempts) ? 1 : 0;
    }
    for (int q = 0; q < introduced; ++q) {
        const double recall = candidate.trueRecall(q, setup.examDay);
        result.examRecall += recall;
        result.examShareAt90 += recall >= 0.9 ? 1 : 0;
    }
    if (introduced > 0) {
        result.examRecall /= introduced;
        result.examShareAt90 /= introduced;
    }
    return result;
}

std::vector<AttemptHistory> before(const std::vector<AttemptHistory>& histories, double day)
{
    std::vector<AttemptHistory> cut;
    for (const AttemptHistory& history : histories) {
        AttemptHistory kept;
        for (const Attempt& attempt : history)
            if (attempt.day < day)
                kept.push_back(attempt);
        if (!kept.empty())
            cut.push_back(kept);
    }
    return cut;
}

bool writeAttempts(const std::string& path, const std::vector<AttemptHistory>& histories)
{
    std::ofstream out(path);
    out << "question,day,right\n";
    for (size_t q = 0; q < histories.size(); ++q)
        for (const Attempt& attempt : histories[q])
            out << q << ',' << attempt.day << ',' << (attempt.right() ? 1 : 0) << '\n';
    return bool(out);
}

std::vector<AttemptHistory> readAttempts(const std::string& path)
{
    std::ifstream in(path);
    std::vector<AttemptHistory> histories;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        size_t q = 0;
        double day = 0;
        int right = 0;
        char comma = 0;
        if (!(fields >> q >> comma >> day >> comma >> right))
            continue;
        if (histories.size() <= q)
            histories.resize(q + 1);
        histories[q].emplace_back(day, right != 0);
    }
    return histories;
}

} // namespace MemorySimulation
