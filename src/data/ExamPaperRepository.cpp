#include "data/ExamPaperRepository.h"

#include "data/BankSchema.h"
#include "data/BankTables.h"
#include "data/ForecastRepository.h"
#include "data/QuestionStore.h"
#include "data/StreamedRow.h"

#include <QStringList>

namespace ExamPaperRepository {
namespace {

namespace T = BankTables::Table;
namespace C = BankTables::Column;

// A paper's copy: every column of tk but its number, its answer and its mark.
QString copyStatement()
{
    QStringList targets = BankSchema::questionColumns();
    QStringList sources;
    for (const QString& column : targets) {
        if (column == C::Number)
            sources << QStringLiteral("?");
        else if (column == C::Given)
            sources << QStringLiteral("''");
        else if (column == C::Favourite)
            sources << QStringLiteral("-1");
        else
            sources << column;
    }
    return u"insert into " % T::WorkingSet % u"(" % targets.join(QLatin1Char(',')) % u") select "
        % sources.join(QLatin1Char(',')) % u" from " % T::Questions % u" where rowid=?";
}

} // namespace

std::optional<std::pair<qint64, qint64>> rowidRange(QuestionStore& store)
{
    // Two subqueries: min and max together in one select would scan the whole table.
    static const QString sql = u"select (select min(rowid) from " % T::Questions
        % u"), (select max(rowid) from " % T::Questions % u")";
    RowSet bounds = store.query(sql);
    if (bounds.atEnd() || bounds.field(0).isNull())
        return std::nullopt;
    return std::pair { bounds.field(0).toLongLong(), bounds.field(1).toLongLong() };
}

std::optional<PaperCandidate> candidateAt(QuestionStore& store, qint64 rowid)
{
    static const QString sql
        = u"select " % C::Type % u", " % C::Code % u" from " % T::Questions % u" where rowid=?";
    RowSet row = store.query(sql, { rowid });
    if (row.atEnd())
        return std::nullopt;
    return PaperCandidate { rowid, row.field(0).toString(), row.field(1).toString() };
}

QVector<PaperCandidate> candidatesOfType(QuestionStore& store, const QString& type)
{
    static const QString sql
        = u"select rowid, " % C::Code % u" from " % T::Questions % u" where " % C::Type % u"=?";
    RowSet rows = store.query(sql, { type });
    QVector<PaperCandidate> candidates;
    candidates.reserve(rows.rowCount());
    for (; !rows.atEnd(); rows.next())
        candidates.append({ rows.field(0).toLongLong(), QString(), rows.field(1).toString() });
    return candidates;
}

// Each attempt writes a review row in its transaction, and the upgrade gave one to every
// question answered before: the schedule alone tells.
bool wasAnswered(QuestionStore& store, qint64 rowid)
{
    static const QString sql = u"select exists(select 1 from " % T::ReviewSchedule % u" r where r." % C::Code
        % u"=t." % C::Code % u" and r." % C::Number % u"=t." % C::Number % u") from " % T::Questions
        % u" t where t.rowid=?";
    return store.scalar(sql, { rowid }).toBool();
}

bool eachCandidateUse(
    QuestionStore& store, const QStringList& types, const std::function<void(const PaperCandidateUse&)>& each)
{
    if (types.isEmpty())
        return true;
    std::array<QByteArray, QuestionType::SlotCount> wanted;
    for (const QString& type : types) {
        if (const std::optional<QuestionType::TypeSlot> slot = QuestionType::slotOf(type))
            wanted[size_t(*slot)] = type.toUtf8();
    }
    // Every attempt puts its question in the schedule, in the same transaction.
    PaperCandidateUse c;
    QString error;
    return ForecastRepository::eachQuestion(
        store,
        [&](const ForecastQuestion& q) {
            const auto slot = std::find_if(wanted.cbegin(), wanted.cend(),
                [&q](const QByteArray& name) { return !name.isEmpty() && q.type == name; });
            if (slot == wanted.cend())
                return;
            c.rowid = q.rowid;
            c.slot = QuestionType::TypeSlot(slot - wanted.cbegin());
            c.code = q.code;
            c.lastDay = q.scheduledDay;
            c.answered = q.scheduled;
            each(c);
        },
        &error);
}

WriteResult recreateWorkingSet(QuestionStore& store)
{
    // The bank numbers of the paper before belong to its rows only.
    WriteResult result = store.write(u"delete from " % T::ExamSources);
    if (result.isDone())
        result = store.write(u"drop table if exists " % T::WorkingSet);
    for (const QString& statement : BankSchema::questionTableStatements(T::WorkingSet.toString())) {
        if (!result.isDone())
            break;
        result = store.write(statement);
    }
    return result;
}

WriteResult copyToWorkingSet(QuestionStore& store, const QString& sectionCode)
{
    const QString copy = u"insert into " % T::WorkingSet % u" select * from " % T::Questions;
    if (sectionCode.isNull())
        return store.write(copy);
    return store.write(copy % u" where " % C::Code % u"=?", { sectionCode });
}

WriteResult addToPaper(QuestionStore& store, qint64 rowid, int number)
{
    static const QString copy = copyStatement();
    static const QString source = u"insert into " % T::ExamSources % u"(" % C::Code % u", " % C::Number
        % u", " % C::BankNumber % u") select " % C::Code % u", ?, " % C::Number % u" from " % T::Questions
        % u" where rowid=?";
    const WriteResult copied = store.write(copy, { number, rowid });
    return copied.isDone() ? store.write(source, { number, rowid }) : copied;
}

WriteResult recordResult(QuestionStore& store, const ExamResultRow& row)
{
    static const QString sql = u"insert into " % T::ExamResults % u"(" % C::FinishedAt % u", " % C::Score
        % u", " % C::FullScore % u", " % C::QuestionCount % u", " % C::RightCount % u", " % C::WrongCount
        % u", " % C::UnansweredCount % u") values(?, ?, ?, ?, ?, ?, ?)";
    return store.write(sql,
        { row.finishedAt, row.score, row.fullScore, row.questions, row.right, row.wrong, row.unanswered });
}

bool eachResult(QuestionStore& store, const std::function<void(const ExamResultRow&)>& each, QString* error)
{
    static const QString sql = u"select " % C::FinishedAt % u", " % C::Score % u", " % C::FullScore % u", "
        % C::QuestionCount % u", " % C::RightCount % u", " % C::WrongCount % u", " % C::UnansweredCount
        % u" from " % T::ExamResults % u" order by " % C::FinishedAt % u", " % C::Id;
    return store.stream(
        sql, {},
        [&each](const StreamedRow& row) {
            each({ row.integer(0), row.integer(1), row.integer(2), row.integer(3), row.integer(4),
                row.integer(5), row.integer(6) });
        },
        error);
}

} // namespace ExamPaperRepository
