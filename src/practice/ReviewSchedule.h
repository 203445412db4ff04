#pragma once

#include "data/AnswerRepository.h"
#include "data/QuestionTable.h"
#include "data/WriteResult.h"
#include "memory/MemoryModel.h"

#include <QDateTime>

#include <functional>
#include <optional>

class QuestionStore;

/// Spaced review of the practised questions by a model of the candidate's memory: each
/// attempt updates the question's stability and difficulty, and the question is due again
/// on the first day its predicted recall is below the target.
namespace ReviewSchedule {

/// The moment an answer is given; tests pass a fixed one.
using Clock = std::function<QDateTime()>;
Clock systemClock();

/// The candidate's calendar day of @p moment (local time) as a day number.
qint64 dayOf(const QDateTime& moment);

using Entry = ReviewEntry;

/// The model's weights and the recall, 0 to 1, below which a question is due.
struct Model
{
    MemoryParameters parameters = MemoryParameters::defaults();
    double target = MemoryModel::DefaultTargetRecall;
    /// The day number of the exam, 0 when none is set: a question that would fall below the
    /// target on that very day is due the day before.
    qint64 examDay = 0;
};
/// The model of this candidate: the weights fitted to their attempts when kept in @p store,
/// else the published ones, and the target and exam day of the settings.
Model currentModel(QuestionStore& store);

/// Where a question stands after an attempt on @p day. An entry without memory (written
/// by the fixed intervals of older programs) starts afresh.
Entry next(const Model& model, const std::optional<Entry>& current, bool right, qint64 day);

/// Applies an attempt to the stored entry of question @p key of tk, within the caller's
/// transaction.
WriteResult apply(QuestionStore& store, const QuestionKey& key, bool right, qint64 day, const Model& model);

/// The stored entry of question @p key, if it was practised.
std::optional<Entry> entry(QuestionStore& store, const QuestionKey& key);

/// How many questions of tk are due on or before @p day, no more than the daily cap.
int dueCount(QuestionStore& store, qint64 day);

/// Whether the schedule must be built again from the attempts: it holds entries of the
/// fixed intervals, or attempts that never reached it.
bool needsRebuild(QuestionStore& store);
/// Builds the whole schedule again by playing every attempt through @p model.
WriteResult rebuild(QuestionStore& store, const Model& model);

} // namespace ReviewSchedule
