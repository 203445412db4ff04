#pragma once

#include "data/WriteResult.h"
#include "memory/MemoryFit.h"

#include <QString>

class QuestionStore;

/// Fitting the memory model to the candidate's own attempts: once they have enough, and
/// again each time they have a fifth more than at the last fit.
namespace MemoryFitting {

constexpr int MinimumAttempts = 1000;

/// Whether the attempts in @p store call for a fit.
bool isDue(QuestionStore& store);

/// Reads every attempt of the bank at @p path through a connection of its own and fits
/// the weights to them: for a worker thread. A result not fitted (too few attempts, or
/// none better than the published weights) carries @p error when the bank could not be read.
FitResult fitBank(const QString& path, QString* error = nullptr);

/// Keeps the weights of @p result, with the attempts they were fitted on, and builds the
/// review schedule again with them.
WriteResult keep(QuestionStore& store, const FitResult& result);

} // namespace MemoryFitting
