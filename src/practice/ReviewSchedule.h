#pragma once

#include "data/AnswerRepository.h"
#include "data/QuestionTable.h"
#include "data/WriteResult.h"

#include <QDateTime>

#include <array>
#include <functional>
#include <optional>

class QuestionStore;

/// Spaced review of questions answered wrongly: a wrong answer brings a question back
/// the next day, each right answer on or after its due day moves it to a longer
/// interval, and after the last one it leaves review. A question answered right while
/// not in review never enters it.
namespace ReviewSchedule {

/// The moment an answer is given; tests pass a fixed one.
using Clock = std::function<QDateTime()>;
Clock systemClock();

/// Days until the next review at each stage.
constexpr std::array<int, 5> Intervals { 1, 3, 7, 15, 30 };

/// The candidate's calendar day of @p moment (local time) as a day number.
qint64 dayOf(const QDateTime& moment);

using Entry = ReviewEntry;

/// Where a question stands after an answer on @p day: nullopt when it is not in review.
/// A right answer before the due day leaves the entry as it is.
std::optional<Entry> next(const std::optional<Entry>& current, bool right, qint64 day);

/// Applies an answer to the stored entry of question @p key of tk, within the caller's
/// transaction.
WriteResult apply(QuestionStore& store, const QuestionKey& key, bool right, qint64 day);

/// The stored entry of question @p key, if it is in review.
std::optional<Entry> entry(QuestionStore& store, const QuestionKey& key);

/// How many questions of tk are due on or before @p day.
int dueCount(QuestionStore& store, qint64 day);

} // namespace ReviewSchedule
