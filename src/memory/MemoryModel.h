#pragma once

#include <array>
#include <cstddef>

/// How an attempt went, in the four grades of the memory model. Our attempts are right or
/// wrong; the time spent may refine a right one into Hard or Easy (gradeOf()).
enum class Grade
{
    Again = 1,
    Hard = 2,
    Good = 3,
    Easy = 4,
};

/// Wrong is Again, right is Good.
Grade gradeOf(bool right);

/// As gradeOf(bool), but a right answer that took more than twice the candidate's median
/// time is Hard, and one that took less than half of it is Easy. Without a median (zero or
/// less) or a time, a right answer is Good.
Grade gradeOf(bool right, double seconds, double medianSeconds);

/// The 19 weights of the memory model (FSRS-5).
struct MemoryParameters
{
    static constexpr int Count = 19;
    std::array<double, Count> w {};

    /// The published FSRS-5 defaults, fitted by the model's authors on many learners' reviews.
    static MemoryParameters defaults();
    /// The range the fit keeps each weight in.
    static MemoryParameters lowest();
    static MemoryParameters highest();
    MemoryParameters clamped() const;
    /// Weights kept elsewhere, clamped to the range; the defaults unless there are Count of them.
    static MemoryParameters fromWeights(const double* weights, std::size_t count);

    bool operator==(const MemoryParameters& other) const { return w == other.w; }
    bool operator!=(const MemoryParameters& other) const { return w != other.w; }
};

/// What the model knows of one question: stability, the days until recall falls to 90 %,
/// and difficulty, from 1 to 10.
struct MemoryState
{
    double stability = 0;
    double difficulty = 0;
};

namespace MemoryModel {

constexpr double DefaultTargetRecall = 0.9;

/// The state after the first attempt at a question.
MemoryState first(const MemoryParameters& parameters, Grade grade);

/// The state after an attempt @p elapsedDays after the previous one; less than a day
/// (a second visit the same day) counts as the same day.
MemoryState next(
    const MemoryParameters& parameters, const MemoryState& state, double elapsedDays, Grade grade);

/// The probability of recalling the question @p elapsedDays after the last attempt.
double recall(const MemoryState& state, double elapsedDays);

/// The days after the last attempt until recall falls to @p targetRecall (0 < target < 1).
double intervalDays(const MemoryState& state, double targetRecall = DefaultTargetRecall);

} // namespace MemoryModel
