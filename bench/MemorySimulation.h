#pragma once

// Simulated candidates preparing for the exam, to judge the review schedulers by what they
// cost (reviews) and what they bring (true recall on the exam day). A candidate knows the
// truth of its own forgetting; the schedulers see only its attempts.

#include "memory/MemoryFit.h"

#include <QtGlobal>

#include <memory>
#include <string>
#include <vector>

namespace MemorySimulation {

/// Reproducible draws: each is a hash of the candidate's seed and what it is for, so that
/// every scheduler meets the same luck for the same question and attempt.
double draw(quint64 seed, quint64 what, quint64 which);
double normalDraw(quint64 seed, quint64 what, quint64 which);

class Candidate
{
public:
    virtual ~Candidate() = default;
    /// The first attempt at question @p q; true when right.
    virtual bool learn(int q, int day) = 0;
    /// A later attempt, right with the candidate's true recall.
    virtual bool review(int q, int day) = 0;
    virtual double trueRecall(int q, int day) const = 0;
    /// The chance of answering question @p q right before ever studying it.
    virtual double firstChance(int q) const = 0;
};

enum class Law
{
    /// The model's own law, with weights perturbed around the defaults per candidate.
    Model,
    /// Exponential forgetting whose half-life grows by a fixed factor per success on a
    /// later day and shrinks after a lapse.
    HalfLife,
};

/// @p offsets, one per question when given, move the log-odds of knowing it beforehand
/// (harder sections and types).
std::unique_ptr<Candidate> candidate(
    Law law, quint64 seed, int questions, const std::vector<double>& offsets = {});
const char* lawName(Law law);

enum class Scheduler
{
    /// Today's rule: wrong answers enter, 1, 3, 7, 15, 30 days, then leave.
    Ladder,
    /// The same steps for every new question, right or wrong.
    LadderAll,
    /// The model's due list each day.
    ModelDue,
    /// The first day of the model's exam plan, planned again each day.
    ModelPlan,
    /// As ModelPlan, for the questions answered wrong at least once only, as the ladder.
    ModelPlanWrongOnly,
    /// As ModelPlan, with weights fitted to the attempts once there are enough, again weekly.
    ModelPlanFitted,
};

struct Setup
{
    int questions = 2000;
    int newPerDay = 40;
    /// Study days 0 … examDay - 1.
    int examDay = 60;
    int dailyCap = 150;
    /// The due list's target, and the exam plan's target for the exam day.
    double targetRecall = 0.9;
    /// The exam plan's target for the days before.
    double reviewRecall = 0.9;
};

struct Run
{
    int reviews = 0;
    int daysAtCap = 0;
    double examRecall = 0;
    double examShareAt90 = 0;
    int fits = 0;
    std::vector<AttemptHistory> attempts;
};

Run run(Candidate& candidate, Scheduler scheduler, const Setup& setup);

/// The histories cut before @p day.
std::vector<AttemptHistory> before(const std::vector<AttemptHistory>& histories, double day);

/// question,day,right per line, with a header.
bool writeAttempts(const std::string& path, const std::vector<AttemptHistory>& histories);
std::vector<AttemptHistory> readAttempts(const std::string& path);

} // namespace MemorySimulation
