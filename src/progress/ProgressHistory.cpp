#include "progress/ProgressHistory.h"

#include "data/QuestionStore.h"
#include "data/Sqlite.h"

#include <QHash>
#include <QMap>

#include <memory>

namespace ProgressHistory {
namespace {

using Statement = std::unique_ptr<sqlite3_stmt, sqlite::StatementDeleter>;

Statement prepare(QuestionStore& store, const char* sql)
{
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(store.handle(), sql, -1, &raw, nullptr);
    return Statement(raw);
}

bool hasTable(QuestionStore& store, const QString& name)
{
    return store
               .scalar(QStringLiteral("select count(*) from sqlite_master where type='table' and name=?"),
                   { name })
               .toInt()
        > 0;
}

QString text(sqlite3_stmt* stmt, int column)
{
    return QString::fromUtf8(
        reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)), sqlite3_column_bytes(stmt, column));
}

// 代码 compares without Latin case in the bank.
QString questionKey(const QString& code, qint64 number)
{
    return code.toLower() + u'/' + QString::number(number);
}

} // namespace

Result compute(QuestionStore& store, const QDate& today, int dayCount)
{
    Result result;
    const QDate firstDay = today.addDays(1 - qMax(1, dayCount));
    for (QDate d = firstDay; d <= today; d = d.addDays(1))
        result.days.append({ d, {} });
    if (!hasTable(store, QStringLiteral("answer_history"))) {
        result.ok = true;
        return result;
    }

    // The type of each question, in one pass over the list index: a join per history
    // row would look each one up again.
    QHash<QString, QuestionType::TypeSlot> typeOf;
    {
        Statement types = prepare(store, "select 代码, 题号, 题型 from tk");
        int rc = SQLITE_ERROR;
        while (types && (rc = sqlite3_step(types.get())) == SQLITE_ROW) {
            if (const auto slot = QuestionType::slotOf(text(types.get(), 2)))
                typeOf.insert(questionKey(text(types.get(), 0), sqlite3_column_int64(types.get(), 1)), *slot);
        }
        if (rc != SQLITE_DONE) {
            result.error = sqlite::errorText(store.handle());
            return result;
        }
    }

    QMap<QDate, Week> weeks;
    Statement history = prepare(store, "select 代码, 题号, answered_at, is_right from answer_history");
    int rc = SQLITE_ERROR;
    while (history && (rc = sqlite3_step(history.get())) == SQLITE_ROW) {
        const QDate day = QDateTime::fromSecsSinceEpoch(sqlite3_column_int64(history.get(), 2)).date();
        const bool right = sqlite3_column_int(history.get(), 3) != 0;
        const auto add = [right](Tally& tally) {
            ++tally.answers;
            tally.right += right ? 1 : 0;
        };
        if (day >= firstDay && day <= today)
            add(result.days[int(firstDay.daysTo(day))].tally);
        const QDate monday = day.addDays(1 - day.dayOfWeek());
        Week& week = weeks[monday];
        week.monday = monday;
        add(week.tally);
        const auto slot
            = typeOf.constFind(questionKey(text(history.get(), 0), sqlite3_column_int64(history.get(), 1)));
        if (slot != typeOf.constEnd())
            add(week.byType[size_t(*slot)]);
    }
    if (rc != SQLITE_DONE) {
        result.error = sqlite::errorText(store.handle());
        return result;
    }
    result.weeks = QVector<Week>(weeks.begin(), weeks.end());

    if (hasTable(store, QStringLiteral("exam_result"))) {
        Statement exams = prepare(
            store, "select finished_at, score, full_score from exam_result order by finished_at, id");
        while (exams && (rc = sqlite3_step(exams.get())) == SQLITE_ROW) {
            result.exams.append({ QDateTime::fromSecsSinceEpoch(sqlite3_column_int64(exams.get(), 0)),
                sqlite3_column_int(exams.get(), 1), sqlite3_column_int(exams.get(), 2) });
        }
        if (rc != SQLITE_DONE) {
            result.error = sqlite::errorText(store.handle());
            return result;
        }
    }
    result.ok = true;
    return result;
}

} // namespace ProgressHistory
