#include "data/AnswerRepository.h"

#include "data/BankTables.h"
#include "data/QuestionStore.h"
#include "data/StreamedRow.h"

namespace AnswerRepository {
namespace {

namespace T = BankTables::Table;
namespace C = BankTables::Column;
using BankTables::byKey;

QVariant columnOf(QuestionStore& store, QStringView column, QuestionTable table, const QuestionKey& key)
{
    return store.scalar(
        u"select " % column % u" from " % tableName(table) % byKey(), { key.code, key.number });
}

} // namespace

QVariant type(QuestionStore& store, QuestionTable table, const QuestionKey& key)
{
    return columnOf(store, C::Type, table, key);
}

QVariant solution(QuestionStore& store, QuestionTable table, const QuestionKey& key)
{
    return columnOf(store, C::Key, table, key);
}

WriteResult setAnswer(
    QuestionStore& store, QuestionTable table, const QuestionKey& key, const QString& answer)
{
    return store.write(u"update " % tableName(table) % u" set " % C::Given % u"=?" % byKey(),
        { answer, key.code, key.number });
}

WriteResult clearSection(QuestionStore& store, QuestionTable table, const QString& code)
{
    return store.write(
        u"update " % tableName(table) % u" set " % C::Given % u"='' where " % C::Code % u"=?", { code });
}

QVariant bankNumber(QuestionStore& store, const QuestionKey& key)
{
    return store.scalar(u"select " % C::BankNumber % u" from " % T::ExamSources % u" where " % C::Code
            % u"=? and " % C::Number % u"=?",
        { key.code, key.number });
}

std::optional<ReviewEntry> reviewEntry(QuestionStore& store, const QuestionKey& key)
{
    static const QString sql = u"select " % C::Stage % u", " % C::DueDay % u", " % C::Stability % u", "
        % C::Difficulty % u", " % C::LastDay % u", " % C::FirstRight % u" from " % T::ReviewSchedule
        % u" where " % C::Code % u"=? and " % C::Number % u"=?";
    RowSet row = store.query(sql, { key.code, key.number });
    if (!row.isValid() || row.atEnd())
        return std::nullopt;
    return ReviewEntry { row.field(0).toInt(), row.field(1).toLongLong(), row.field(2).toDouble(),
        row.field(3).toDouble(), row.field(4).toLongLong(),
        row.field(5).isNull() ? -1 : row.field(5).toInt() };
}

WriteResult setReviewEntry(QuestionStore& store, const QuestionKey& key, const ReviewEntry& entry)
{
    static const QString sql = u"insert or replace into " % T::ReviewSchedule % u"(" % C::Code % u", "
        % C::Number % u", " % C::Stage % u", " % C::DueDay % u", " % C::Stability % u", " % C::Difficulty
        % u", " % C::LastDay % u", " % C::FirstRight % u") values(?, ?, ?, ?, ?, ?, ?, ?)";
    const auto memory = [&entry](double value) { return entry.hasMemory() ? QVariant(value) : QVariant(); };
    return store.write(sql,
        { key.code, key.number, entry.stage, entry.dueDay, memory(entry.stability), memory(entry.difficulty),
            entry.hasMemory() ? QVariant(entry.lastDay) : QVariant(),
            entry.firstRight < 0 ? QVariant() : QVariant(entry.firstRight) });
}

WriteResult removeReviewEntry(QuestionStore& store, const QuestionKey& key)
{
    static const QString sql
        = u"delete from " % T::ReviewSchedule % u" where " % C::Code % u"=? and " % C::Number % u"=?";
    return store.write(sql, { key.code, key.number });
}

int dueCount(QuestionStore& store, qint64 day, int cap)
{
    // The limit ends the walk of the due index at the cap.
    static const QString sql = u"select count(*) from (select 1 from " % T::ReviewSchedule % u" r join "
        % T::Questions % u" on " % T::Questions % u"." % C::Code % u"=r." % C::Code % u" and " % T::Questions
        % u"." % C::Number % u"=r." % C::Number % u" where r." % C::DueDay % u"<=? limit ?)";
    return store.scalar(sql, { day, cap }).toInt();
}

bool hasEntryWithoutMemory(QuestionStore& store)
{
    static const QString sql
        = u"select exists(select 1 from " % T::ReviewSchedule % u" where " % C::Stability % u" is null)";
    return store.scalar(sql).toInt() != 0;
}

bool hasAttempts(QuestionStore& store)
{
    static const QString sql = u"select exists(select 1 from " % T::Attempts % u")";
    return store.scalar(sql).toInt() != 0;
}

int attemptCount(QuestionStore& store)
{
    static const QString sql = u"select count(*) from " % T::Attempts;
    return store.scalar(sql).toInt();
}

FittedWeights fittedWeights(QuestionStore& store)
{
    static const QString sql = u"select " % C::FittedAttempts % u", " % C::Weights % u", " % C::RecallShift
        % u" from " % T::MemoryWeights % u" order by " % C::Id % u" desc limit 1";
    FittedWeights fitted;
    RowSet row = store.query(sql);
    if (!row.isValid() || row.atEnd())
        return fitted;
    fitted.attempts = row.field(0).toInt();
    fitted.recallShift = row.field(2).toDouble();
    for (const QString& w : row.field(1).toString().split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const double value = w.toDouble(&ok);
        if (!ok)
            return {};
        fitted.weights.append(value);
    }
    return fitted;
}

WriteResult setFittedWeights(QuestionStore& store, const FittedWeights& fitted)
{
    const WriteResult cleared = store.write(u"delete from " % T::MemoryWeights);
    if (!cleared.isDone())
        return cleared;
    QStringList weights;
    for (double w : fitted.weights)
        weights << QString::number(w, 'g', 17);
    static const QString sql = u"insert into " % T::MemoryWeights % u"(" % C::FittedAttempts % u", "
        % C::Weights % u", " % C::RecallShift % u") values(?, ?, ?)";
    return store.write(sql, { fitted.attempts, weights.join(u','), fitted.recallShift });
}

WriteResult setDueDays(QuestionStore& store,
    const std::function<qint64(double stability, double difficulty, qint64 lastDay)>& dueDay)
{
    static const QString read = u"select rowid, " % C::Stability % u", " % C::Difficulty % u", " % C::LastDay
        % u", " % C::DueDay % u" from " % T::ReviewSchedule % u" where " % C::Stability % u" > 0";
    static const QString write = u"update " % T::ReviewSchedule % u" set " % C::DueDay % u"=? where rowid=?";
    QVector<QVariantList> changes;
    QString error;
    if (!store.stream(
            read, {},
            [&](const StreamedRow& row) {
                const qint64 day = dueDay(row.real(1), row.real(2), row.integer(3));
                if (day != row.integer(4))
                    changes.append({ day, row.integer(0) });
            },
            &error))
        return WriteResult::failed(StoreFailure { StoreFailure::Kind::Other, error });
    return store.writeTransaction([&] { return store.writeEach(write, changes); });
}

WriteResult replaceSchedule(QuestionStore& store, const QVector<QPair<QuestionKey, ReviewEntry>>& entries)
{
    const WriteResult cleared = store.write(u"delete from " % T::ReviewSchedule);
    if (!cleared.isDone())
        return cleared;
    for (const auto& [key, entry] : entries) {
        const WriteResult one = setReviewEntry(store, key, entry);
        if (!one.isDone())
            return one;
    }
    return WriteResult::done(int(entries.size()));
}

} // namespace AnswerRepository
