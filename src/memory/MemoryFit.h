#pragma once

#include "memory/MemoryModel.h"

#include <QtGlobal>

#include <limits>
#include <vector>

/// One settled attempt at a question: its day (a day number, or a fraction of one) and
/// its grade.
struct Attempt
{
    double day = 0;
    Grade grade = Grade::Good;

    Attempt() = default;
    Attempt(double day, bool right)
        : day(day)
        , grade(gradeOf(right))
    { }
    Attempt(double day, Grade grade)
        : day(day)
        , grade(grade)
    { }
    bool right() const { return grade != Grade::Again; }
};

/// One question's attempts, oldest first.
using AttemptHistory = std::vector<Attempt>;

/// Attempts whose predicted recall fell in [low, high), and how often they were right.
struct CalibrationBin
{
    double low = 0;
    double high = 0;
    int count = 0;
    double meanPredicted = 0;
    double observedRate = 0;
};

/// How well recall was predicted over the reviews of a set of histories: every attempt
/// but a question's first (nothing to predict from) and those on the same day as the one
/// before (the curve predicts certain recall there).
struct Evaluation
{
    int reviews = 0;
    double logLoss = 0;
    std::vector<CalibrationBin> calibration;
};

struct FitOptions
{
    /// Fewer attempts than this leave the defaults.
    int minAttempts = 1000;
    /// Above this many reviews, a random subset of the questions is fitted on.
    int maxReviews = 200000;
    /// Optimiser steps, each on a batch of questions.
    int steps = 300;
    int batchQuestions = 128;
    /// The largest step of a weight, as a share of its scale, at the start.
    double learningRate = 0.05;
    /// How many reviews' worth of evidence it takes to move a weight by its scale: the
    /// pull towards the defaults that keeps small histories close to them.
    double priorReviews = 50;
    quint32 seed = 1;
};

struct FitResult
{
    MemoryParameters parameters = MemoryParameters::defaults();
    /// False when there were too few attempts to fit; parameters are then the defaults.
    bool fitted = false;
    int attempts = 0;
    int reviewsUsed = 0;
    /// How far the result's recall predictions of the candidate's reviews lean, on the
    /// log-odds scale: adding it makes them as often right as the reviews were (0 unfitted).
    double recallShift = 0;
    /// The mean log-loss over the reviews fitted on, with the defaults and with the result.
    double logLossBefore = 0;
    double logLossAfter = 0;
};

/// Fitting the model's weights to one candidate's attempts, and judging a set of weights on
/// attempts it has not seen.
namespace MemoryFit {

/// The weights that best predict each review of @p histories from the attempts before it
/// (the mean log-loss, with a pull towards the defaults), within MemoryParameters' range.
/// Starts from the defaults and keeps them when the fit does not predict better.
FitResult fit(const std::vector<AttemptHistory>& histories, const FitOptions& options = {});

/// The log-loss and the calibration of @p parameters' predictions over the reviews on or
/// after @p fromDay; the attempts before it still shape the state the predictions start
/// from. The calibration has @p bins bins of equal width over [0, 1].
Evaluation evaluate(const MemoryParameters& parameters, const std::vector<AttemptHistory>& histories,
    double fromDay = -std::numeric_limits<double>::infinity(), int bins = 10);

/// The shift, on the log-odds scale, that makes @p parameters' recall predictions of every
/// review in @p histories add up to the reviews answered right (a candidate who forgets
/// faster than the model gets a negative one). 0 without reviews; kept within ±3.
double recallShift(const MemoryParameters& parameters, const std::vector<AttemptHistory>& histories);

/// The state after all of @p history's attempts; stability 0 for an empty history.
MemoryState replay(const MemoryParameters& parameters, const AttemptHistory& history);

} // namespace MemoryFit
