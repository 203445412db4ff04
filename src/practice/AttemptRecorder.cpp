#include "practice/AttemptRecorder.h"

#include "data/AnswerRepository.h"
#include "data/AnswerRule.h"
#include "data/AttemptRepository.h"
#include "data/QuestionStore.h"
#include "practice/Answers.h"

AttemptRecorder::AttemptRecorder(QuestionStore& store, ReviewSchedule::Clock clock)
    : m_store(store)
    , m_clock(std::move(clock))
{ }

WriteResult AttemptRecorder::enter(QuestionTable table, const QuestionKey& key)
{
    if (m_visiting && m_table == table && m_key.code.compare(key.code, Qt::CaseInsensitive) == 0
        && m_key.number == key.number)
        return WriteResult::done(0);
    const WriteResult left = leave();
    m_visiting = key.isValid();
    m_settled = false;
    m_table = table;
    m_key = key;
    m_enteredAt = m_clock();
    m_answer.clear();
    m_clicks = 0;
    return left;
}

void AttemptRecorder::answered(const QString& answer)
{
    if (!m_visiting || m_settled)
        return;
    m_answer = answer;
    ++m_clicks;
}

WriteResult AttemptRecorder::settle()
{
    if (!hasOpenAnswer())
        return WriteResult::done(0);
    const QDateTime now = m_clock();
    const WriteResult result = m_store.writeTransaction([&] {
        const QVariant solution = AnswerRepository::solution(m_store, m_table, m_key);
        if (solution.isNull())
            return WriteResult::done(0); // the question has gone meanwhile
        AttemptRecord a;
        a.key = Answers::bankKey(m_store, m_table, m_key);
        a.startedAt = m_enteredAt.toSecsSinceEpoch();
        a.answeredAt = now.toSecsSinceEpoch();
        a.seconds = int(qBound(qint64(0), a.answeredAt - a.startedAt, qint64(MaxSeconds)));
        a.answer = m_answer;
        a.right = AnswerRule::isRight(solution.toString(), m_answer);
        a.fromExam = m_table == QuestionTable::WorkingSet;
        a.clicks = qMax(1, m_clicks);
        const WriteResult recorded = AttemptRepository::record(m_store, a);
        if (!recorded.isDone())
            return recorded;
        const WriteResult moved = ReviewSchedule::apply(
            m_store, a.key, a.right, ReviewSchedule::dayOf(now), ReviewSchedule::currentModel(m_store));
        return moved.isDone() ? WriteResult::done(1) : moved;
    });
    // A failed write leaves the attempt open: leaving the question tries again.
    m_settled = result.isDone();
    return result;
}

WriteResult AttemptRecorder::leave()
{
    const WriteResult result = settle();
    m_visiting = false;
    m_answer.clear();
    return result;
}
