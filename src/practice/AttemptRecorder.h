#pragma once

#include "data/QuestionTable.h"
#include "data/WriteResult.h"
#include "practice/ReviewSchedule.h"

#include <QDateTime>
#include <QString>

class QuestionStore;

/// Turns the clicks of a visit into one attempt. Each click is stored at once (Answers);
/// what the history and the review count is the answer the candidate settled on: the last
/// one when they leave the question, or the one they had when the key was shown to them.
/// Later changes in the same visit store the answer but make no further attempt.
class AttemptRecorder final
{
public:
    explicit AttemptRecorder(
        QuestionStore& store, ReviewSchedule::Clock clock = ReviewSchedule::systemClock());

    /// A question is shown. Showing the one being visited again continues the visit; any
    /// other ends the visit first, as leave() does.
    WriteResult enter(QuestionTable table, const QuestionKey& key);
    /// An answer to the visited question was stored (the empty text when it was cleared).
    void answered(const QString& answer);
    /// The key is shown to the candidate: the answer they have now is the attempt. Done
    /// with one row when an attempt was recorded, none when there was nothing to record.
    WriteResult settle();
    /// The candidate leaves the question: its attempt is recorded unless it was settled.
    WriteResult leave();

    bool isVisiting() const { return m_visiting; }
    /// Whether the visited question has an answer not yet recorded as an attempt.
    bool hasOpenAnswer() const { return m_visiting && !m_settled && !m_answer.isEmpty(); }
    QuestionTable table() const { return m_table; }
    QuestionKey key() const { return m_key; }
    QString answer() const { return m_answer; }

    /// Time in a visit beyond this is counted as this: the candidate was not there.
    static constexpr int MaxSeconds = 15 * 60;

private:
    QuestionStore& m_store;
    ReviewSchedule::Clock m_clock;
    bool m_visiting = false;
    bool m_settled = false;
    QuestionTable m_table = QuestionTable::Bank;
    QuestionKey m_key;
    QDateTime m_enteredAt;
    QString m_answer;
    int m_clicks = 0;
};
