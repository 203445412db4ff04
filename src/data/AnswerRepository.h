#pragma once

#include "data/QuestionTable.h"
#include "data/WriteResult.h"

#include <QString>
#include <QVariant>

#include <optional>

class QuestionStore;

/// Where a question stands in the review schedule.
struct ReviewEntry
{
    int stage = 0;
    qint64 dueDay = 0;
    bool operator==(const ReviewEntry& other) const { return stage == other.stage && dueDay == other.dueDay; }
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
/// How many questions of tk are due on or before @p day.
int dueCount(QuestionStore& store, qint64 day);

} // namespace AnswerRepository
