#pragma once

#include "data/QuestionTable.h"
#include "data/WriteResult.h"

#include <QPair>
#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>
#include <optional>

class QuestionStore;

/// Where a question stands in the review schedule: its memory, the day of its last
/// attempt and the day it is due again. Rows written by the fixed intervals of older
/// programs have a stage and a due day but no memory (stability 0).
struct ReviewEntry
{
    int stage = 0;
    qint64 dueDay = 0;
    double stability = 0;
    double difficulty = 0;
    qint64 lastDay = 0;
    /// Whether the first attempt at the question was right: 1 or 0, -1 when not known
    /// (rows of older programs).
    int firstRight = -1;
    bool hasMemory() const { return stability > 0; }
    bool operator==(const ReviewEntry& o) const
    {
        return stage == o.stage && dueDay == o.dueDay && stability == o.stability
            && difficulty == o.difficulty && lastDay == o.lastDay && firstRight == o.firstRight;
    }
};

/// The candidate's answers: 答题 of tk and kstk and the review schedule, kept under a
/// question's key in tk.
namespace AnswerRepository {

/// 题型 of question @p key of @p table; null when there is no such question.
QVariant type(QuestionStore& store, QuestionTable table, const QuestionKey& key);
/// 答案 (the key) of question @p key of @p table; null when there is no such question.
QVariant solution(QuestionStore& store, QuestionTable table, const QuestionKey& key);

/// Writes @p answer into 答题 of question @p key; Done with no row when it is not there.
WriteResult setAnswer(
    QuestionStore& store, QuestionTable table, const QuestionKey& key, const QString& answer);
/// Sets 答题 of every question of section @p code to the empty text.
WriteResult clearSection(QuestionStore& store, QuestionTable table, const QString& code);

/// The number in tk of the exam paper's question @p key of kstk; null when the paper was
/// copied with tk's numbers.
QVariant bankNumber(QuestionStore& store, const QuestionKey& key);

/// The review entry of question @p key of tk, if it is in review.
std::optional<ReviewEntry> reviewEntry(QuestionStore& store, const QuestionKey& key);
/// Puts question @p key in review at @p entry, or moves it there.
WriteResult setReviewEntry(QuestionStore& store, const QuestionKey& key, const ReviewEntry& entry);
/// Takes question @p key out of review.
WriteResult removeReviewEntry(QuestionStore& store, const QuestionKey& key);
/// How many questions of tk are due on or before @p day, counting no further than @p cap.
int dueCount(QuestionStore& store, qint64 day, int cap);
/// Whether some entry of the schedule has no memory yet (written by the fixed intervals).
bool hasEntryWithoutMemory(QuestionStore& store);
/// Whether any attempt was recorded.
bool hasAttempts(QuestionStore& store);
/// How many attempts were recorded.
int attemptCount(QuestionStore& store);

/// The memory model's weights fitted to the candidate, and how many attempts they were
/// fitted on; no weights when none were kept.
struct FittedWeights
{
    int attempts = 0;
    QVector<double> weights;
    /// How far the recall predictions lean for this candidate, on the log-odds scale.
    double recallShift = 0;
};
FittedWeights fittedWeights(QuestionStore& store);
/// Keeps @p fitted in place of the weights kept before, within the caller's transaction.
WriteResult setFittedWeights(QuestionStore& store, const FittedWeights& fitted);
/// Sets the due day of every entry with memory to @p dueDay of its stability,
/// difficulty and last day, within one transaction.
WriteResult setDueDays(QuestionStore& store,
    const std::function<qint64(double stability, double difficulty, qint64 lastDay)>& dueDay);
/// Replaces the whole schedule by @p entries, within the caller's transaction.
WriteResult replaceSchedule(QuestionStore& store, const QVector<QPair<QuestionKey, ReviewEntry>>& entries);

} // namespace AnswerRepository
