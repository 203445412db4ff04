#include "memory/MemoryModel.h"

#include "memory/MemoryFormulas.h"

#include <algorithm>
#include <cmath>

namespace {

int number(Grade grade)
{
    return int(grade);
}

} // namespace

Grade gradeOf(bool right)
{
    return right ? Grade::Good : Grade::Again;
}

Grade gradeOf(bool right, double seconds, double medianSeconds)
{
    if (!right)
        return Grade::Again;
    if (medianSeconds <= 0 || seconds <= 0)
        return Grade::Good;
    if (seconds > 2 * medianSeconds)
        return Grade::Hard;
    if (seconds < medianSeconds / 2)
        return Grade::Easy;
    return Grade::Good;
}

MemoryParameters MemoryParameters::defaults()
{
    return { { 0.40255, 1.18385, 3.173, 15.69105, 7.1949, 0.5345, 1.4604, 0.0046, 1.54575, 0.1192, 1.01925,
        1.9395, 0.11, 0.29605, 2.2698, 0.2315, 2.9898, 0.51655, 0.6621 } };
}

// Wide enough for any learner the published defaults were fitted on, narrow enough that a
// noisy fit cannot make a formula degenerate (a growth that shrinks, a difficulty that
// never moves).
MemoryParameters MemoryParameters::lowest()
{
    return { { 0.01, 0.01, 0.01, 0.01, 1, 0.001, 0.001, 0.001, 0, 0, 0.001, 0.001, 0.001, 0.001, 0, 0, 1, 0,
        0 } };
}

MemoryParameters MemoryParameters::highest()
{
    return { { 100, 100, 100, 100, 10, 4, 4, 0.75, 4.5, 0.8, 3.5, 5, 0.25, 0.9, 4, 1, 6, 2, 2 } };
}

MemoryParameters MemoryParameters::fromWeights(const double* weights, size_t count)
{
    if (count != size_t(Count))
        return defaults();
    MemoryParameters p;
    std::copy(weights, weights + count, p.w.begin());
    return p.clamped();
}

MemoryParameters MemoryParameters::clamped() const
{
    const MemoryParameters low = lowest();
    const MemoryParameters high = highest();
    MemoryParameters result = *this;
    for (size_t i = 0; i < result.w.size(); ++i)
        result.w[i] = std::clamp(result.w[i], low.w[i], high.w[i]);
    return result;
}

namespace MemoryModel {

MemoryState first(const MemoryParameters& parameters, Grade grade)
{
    const auto state = MemoryFormulas::firstState(parameters.w, number(grade));
    return { state.stability, state.difficulty };
}

MemoryState next(
    const MemoryParameters& parameters, const MemoryState& state, double elapsedDays, Grade grade)
{
    const auto after = MemoryFormulas::nextState(
        parameters.w, { state.stability, state.difficulty }, std::max(0.0, elapsedDays), number(grade));
    return { after.stability, after.difficulty };
}

double recall(const MemoryState& state, double elapsedDays)
{
    return MemoryFormulas::recall(state.stability, std::max(0.0, elapsedDays));
}

double intervalDays(const MemoryState& state, double targetRecall)
{
    using MemoryFormulas::Decay;
    using MemoryFormulas::Factor;
    return state.stability / Factor * (std::pow(targetRecall, 1.0 / Decay) - 1.0);
}

} // namespace MemoryModel
