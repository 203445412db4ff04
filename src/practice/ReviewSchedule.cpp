#include "practice/ReviewSchedule.h"

#include "data/QuestionStore.h"

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
    RowSet row = store.query(
        QStringLiteral("select stage, due_day from review_schedule where 代码=? and 题号=?"), { key.code, key.number });
    if (!row.isValid() || row.atEnd())
        return std::nullopt;
    return Entry { row.field(0).toInt(), row.field(1).toLongLong() };
}

WriteResult apply(QuestionStore& store, const QuestionKey& key, bool right, qint64 day)
{
    const std::optional<Entry> current = entry(store, key);
    const std::optional<Entry> after = next(current, right, day);
    if (after == current)
        return WriteResult::done(0);
    if (!after)
        return store.write(
            QStringLiteral("delete from review_schedule where 代码=? and 题号=?"), { key.code, key.number });
    return store.write(QStringLiteral("insert or replace into review_schedule(代码, 题号, stage, due_day) "
                                      "values(?, ?, ?, ?)"),
        { key.code, key.number, after->stage, after->dueDay });
}

int dueCount(QuestionStore& store, qint64 day)
{
    return store
        .scalar(QStringLiteral("select count(*) from review_schedule r join tk on tk.代码=r.代码 and tk.题号=r.题号 "
                               "where r.due_day<=?"),
            { day })
        .toInt();
}

} // namespace ReviewSchedule
