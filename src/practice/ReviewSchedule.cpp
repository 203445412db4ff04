#include "practice/ReviewSchedule.h"

#include "data/AnswerRepository.h"

namespace ReviewSchedule {

Clock systemClock()
{
    return [] { return QDateTime::currentDateTime(); };
}

qint64 dayOf(const QDateTime& moment)
{
    return moment.toLocalTime().date().toJulianDay();
}

std::optional<Entry> next(const std::optional<Entry>& current, bool right, qint64 day)
{
    if (!right)
        return Entry { 0, day + Intervals[0] };
    if (!current || day < current->dueDay)
        return current;
    const int stage = current->stage + 1;
    if (stage >= int(Intervals.size()))
        return std::nullopt;
    return Entry { stage, day + Intervals[size_t(stage)] };
}

std::optional<Entry> entry(QuestionStore& store, const QuestionKey& key)
{
    return AnswerRepository::reviewEntry(store, key);
}

WriteResult apply(QuestionStore& store, const QuestionKey& key, bool right, qint64 day)
{
    const std::optional<Entry> current = entry(store, key);
    const std::optional<Entry> after = next(current, right, day);
    if (after == current)
        return WriteResult::done(0);
    if (!after)
        return AnswerRepository::removeReviewEntry(store, key);
    return AnswerRepository::setReviewEntry(store, key, *after);
}

int dueCount(QuestionStore& store, qint64 day)
{
    return AnswerRepository::dueCount(store, day);
}

} // namespace ReviewSchedule
