#pragma once

// The formulas of the memory model, written once over the number type so that scheduling
// (plain doubles) and fitting (numbers that carry their derivatives) cannot drift apart.
// They are those of FSRS-5 as its authors publish them: 19 weights, the power forgetting
// curve with DECAY = -0.5 and FACTOR = 19/81, difficulty with linear damping and mean
// reversion towards the initial difficulty of Easy, and the short-term stability rule for
// reviews on the same day.

#include <array>
#include <cmath>

namespace MemoryFormulas {

constexpr int WeightCount = 19;
constexpr double Decay = -0.5;
constexpr double Factor = 19.0 / 81.0;
constexpr double MinStability = 0.01;
constexpr double MaxStability = 36500.0;
constexpr double MinDifficulty = 1.0;
constexpr double MaxDifficulty = 10.0;

// Grades as the published formulas number them.
constexpr int Again = 1;
constexpr int Hard = 2;
constexpr int Good = 3;
constexpr int Easy = 4;

inline double valueOf(double x)
{
    return x;
}

// A clamped value carries no derivative: the bound does not move with the weights.
template <typename T> T clampTo(const T& x, double low, double high)
{
    if (valueOf(x) < low)
        return T(low);
    if (valueOf(x) > high)
        return T(high);
    return x;
}

template <typename T> T smaller(const T& a, const T& b)
{
    return valueOf(b) < valueOf(a) ? b : a;
}

template <typename T> using Weights = std::array<T, WeightCount>;

template <typename T> T recall(const T& stability, double elapsedDays)
{
    using std::pow;
    return pow(1.0 + Factor * elapsedDays / stability, Decay);
}

template <typename T> T initialStability(const Weights<T>& w, int grade)
{
    return clampTo(w[size_t(grade - 1)], MinStability, MaxStability);
}

template <typename T> T initialDifficulty(const Weights<T>& w, int grade)
{
    using std::exp;
    return clampTo(w[4] - exp(w[5] * double(grade - 1)) + 1.0, MinDifficulty, MaxDifficulty);
}

template <typename T> T nextDifficulty(const Weights<T>& w, const T& difficulty, int grade)
{
    const T delta = -w[6] * double(grade - 3);
    // Damped so that difficulty approaches 10 without sticking there.
    const T damped = difficulty + delta * (10.0 - difficulty) / 9.0;
    const T reverted = w[7] * initialDifficulty(w, Easy) + (1.0 - w[7]) * damped;
    return clampTo(reverted, MinDifficulty, MaxDifficulty);
}

template <typename T>
T stabilityAfterRecall(
    const Weights<T>& w, const T& difficulty, const T& stability, const T& recalled, int grade)
{
    using std::exp;
    using std::pow;
    T growth
        = exp(w[8]) * (11.0 - difficulty) * pow(stability, -w[9]) * (exp(w[10] * (1.0 - recalled)) - 1.0);
    if (grade == Hard)
        growth = growth * w[15];
    else if (grade == Easy)
        growth = growth * w[16];
    return stability * (growth + 1.0);
}

template <typename T>
T stabilityAfterLapse(const Weights<T>& w, const T& difficulty, const T& stability, const T& recalled)
{
    using std::exp;
    using std::pow;
    const T relearnt = w[11] * pow(difficulty, -w[12]) * (pow(stability + 1.0, w[13]) - 1.0)
        * exp(w[14] * (1.0 - recalled));
    // A lapse never leaves a memory steadier than a failed same-day review would.
    return smaller(relearnt, stability / exp(w[17] * w[18]));
}

template <typename T> T stabilitySameDay(const Weights<T>& w, const T& stability, int grade)
{
    using std::exp;
    return stability * exp(w[17] * (double(grade - 3) + w[18]));
}

template <typename T> struct State
{
    T stability;
    T difficulty;
};

template <typename T> State<T> firstState(const Weights<T>& w, int grade)
{
    return { initialStability(w, grade), initialDifficulty(w, grade) };
}

// Reviews less than a day apart count as the same day: the forgetting curve has no time to
// act, so only the short-term rule applies.
template <typename T>
State<T> nextState(const Weights<T>& w, const State<T>& state, double elapsedDays, int grade)
{
    T stability;
    if (elapsedDays < 1.0) {
        stability = stabilitySameDay(w, state.stability, grade);
    } else {
        const T recalled = recall(state.stability, elapsedDays);
        stability = grade == Again
            ? stabilityAfterLapse(w, state.difficulty, state.stability, recalled)
            : stabilityAfterRecall(w, state.difficulty, state.stability, recalled, grade);
    }
    return { clampTo(stability, MinStability, MaxStability), nextDifficulty(w, state.difficulty, grade) };
}

} // namespace MemoryFormulas
