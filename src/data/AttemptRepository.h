#pragma once

#include "data/QuestionTable.h"
#include "data/WriteResult.h"

#include <QString>

#include <functional>

class QuestionStore;

/// One attempt at a question: the answer the candidate settled on in one visit of it.
struct AttemptRecord
{
    QuestionKey key; ///< in tk, also for an exam paper's question
    qint64 startedAt = 0; ///< when the visit began, UTC seconds
    qint64 answeredAt = 0; ///< when the attempt was settled, UTC seconds
    int seconds = 0; ///< time spent on the question
    QString answer;
    bool right = false;
    bool fromExam = false;
    int clicks = 1; ///< how many times the answer changed before it settled
};

/// An attempt with what the bank holds of its question, for the candidate's own record.
struct AttemptDetail
{
    AttemptRecord attempt;
    QString sectionName; ///< the section's 细目; empty when the catalogue has none
    QString type; ///< empty, as the key, when the question is no longer in the bank
    QString key; ///< the right answer
};

/// The attempts table: what the history, the review and the progress count.
namespace AttemptRepository {

/// Clicks of one question further apart than this belonged to two visits.
constexpr qint64 VisitGapSeconds = 600;

/// Adds @p attempt, and counts it in the summary per section and type.
WriteResult record(QuestionStore& store, const AttemptRecord& attempt);

/// The statement that fills the empty summary from the attempts.
QString summaryFill();
/// Whether the summary counts every attempt (an older program adds attempts without it).
bool summaryIsCurrent(QuestionStore& store);
/// Counts the summary afresh from the attempts.
WriteResult rebuildSummary(QuestionStore& store);

/// Every attempt in the order they were settled; false with @p error when they cannot be read.
bool each(
    QuestionStore& store, const std::function<void(const AttemptRecord&)>& attempt, QString* error = nullptr);

/// Every attempt as each() hands it, with its question's section name, type and key; one
/// row at a time, so that a long history is never held whole.
bool eachDetailed(
    QuestionStore& store, const std::function<void(const AttemptDetail&)>& attempt, QString* error = nullptr);

/// Turns the rows of the click history into attempts, within the caller's transaction:
/// consecutive rows of one question and source, no more than VisitGapSeconds apart, were
/// one visit, and its last row is the answer settled on.
WriteResult addFromClicks(QuestionStore& store);

} // namespace AttemptRepository
