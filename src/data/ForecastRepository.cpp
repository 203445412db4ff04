#include "data/ForecastRepository.h"

#include "data/BankTables.h"
#include "data/QuestionStore.h"
#include "data/RowSet.h"
#include "data/StreamedRow.h"

#include <QStringBuilder>

#include <algorithm>
#include <vector>

namespace ForecastRepository {
namespace {

namespace T = BankTables::Table;
namespace C = BankTables::Column;

void hand(
    const StreamedRow& row, ForecastQuestion& q, const std::function<void(const ForecastQuestion&)>& each)
{
    q.code = row.utf8(0);
    q.type = row.utf8(1);
    q.keyLength = int(row.integer(2));
    q.scheduled = !row.isNull(3);
    q.practised = !row.isNull(3) && row.real(3) > 0;
    q.stability = q.practised ? row.real(3) : 0.0;
    q.lastDay = q.practised ? row.integer(4) : 0;
    q.firstRight = row.isNull(5) ? -1 : int(row.integer(5));
    each(q);
}

// As the engine's NOCASE: ASCII letters folded, then the bytes, the shorter first.
int nocaseCompare(QByteArrayView a, QByteArrayView b)
{
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(fold(a[i])), y = static_cast<unsigned char>(fold(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

QString memoryColumns()
{
    return u", r." % C::Stability % u", r." % C::LastDay % u", r." % C::FirstRight;
}

} // namespace

bool eachQuestion(
    QuestionStore& store, const std::function<void(const ForecastQuestion&)>& each, QString* error)
{
    // Two scans in key order merged here: probing the schedule once per question would cost
    // twice as much as reading both.
    struct Memory
    {
        qsizetype codeAt;
        qsizetype codeSize;
        qint64 number;
        double stability;
        std::optional<qint64> lastDay;
        int firstRight;
    };
    QByteArray codes;
    std::vector<Memory> memory;
    static const QString count = u"select count(*) from " % T::ReviewSchedule;
    const qsizetype rows = store.scalar(count).toLongLong();
    memory.reserve(size_t(rows));
    codes.reserve(rows * 6);
    static const QString schedule = u"select " % C::Code % u", " % C::Number % u", " % C::Stability % u", "
        % C::LastDay % u", " % C::FirstRight % u" from " % T::ReviewSchedule % u" order by " % C::Code % u", "
        % C::Number;
    const bool readSchedule = store.stream(
        schedule, {},
        [&](const StreamedRow& row) {
            const QByteArrayView code = row.utf8(0);
            memory.push_back({ codes.size(), code.size(), row.integer(1), row.isNull(2) ? 0.0 : row.real(2),
                row.isNull(3) ? std::optional<qint64>() : row.integer(3),
                row.isNull(4) ? -1 : int(row.integer(4)) });
            codes.append(code);
        },
        error);
    if (!readSchedule)
        return false;
    const auto codeOf
        = [&codes](const Memory& m) { return QByteArrayView(codes.constData() + m.codeAt, m.codeSize); };

    static const QString questions = u"select " % C::Code % u", " % C::Number % u", " % C::Type
        % u", rowid from " % T::Questions % u" order by " % C::Code % u", " % C::Number;
    size_t next = 0;
    ForecastQuestion q;
    return store.stream(
        questions, {},
        [&](const StreamedRow& row) {
            q.code = row.utf8(0);
            q.type = row.utf8(2);
            q.rowid = row.integer(3);
            const qint64 number = row.integer(1);
            q.number = number;
            int order = 1;
            while (next < memory.size()) {
                order = nocaseCompare(codeOf(memory[next]), q.code);
                if (order == 0)
                    order = memory[next].number < number ? -1 : memory[next].number > number ? 1 : 0;
                if (order >= 0)
                    break;
                ++next;
            }
            const bool found = next < memory.size() && order == 0;
            q.scheduled = found;
            q.scheduledDay = found ? memory[next].lastDay : std::nullopt;
            q.practised = found && memory[next].stability > 0 && memory[next].lastDay.has_value();
            q.stability = q.practised ? memory[next].stability : 0.0;
            q.lastDay = q.practised ? *memory[next].lastDay : 0;
            q.firstRight = found ? memory[next].firstRight : -1;
            each(q);
        },
        error);
}

bool keyCharacters(
    QuestionStore& store, const QString& type, qint64* questions, qint64* characters, QString* error)
{
    static const QString sql = u"select count(*), coalesce(sum(length(" % C::Key % u")), 0) from "
        % T::Questions % u" where " % C::Type % u"=?";
    RowSet row = store.query(sql, { type });
    if (!row.isValid() || row.atEnd()) {
        *error = row.error();
        return false;
    }
    *questions = row.field(0).toLongLong();
    *characters = row.field(1).toLongLong();
    return true;
}

bool eachPaperQuestion(
    QuestionStore& store, const std::function<void(const ForecastQuestion&)>& each, QString* error)
{
    static const QString sql = u"select k." % C::Code % u", k." % C::Type % u", length(k." % C::Key % u")"
        % memoryColumns() % u" from " % T::WorkingSet % u" k left join " % T::ExamSources % u" s on s."
        % C::Code % u"=k." % C::Code % u" and s." % C::Number % u"=k." % C::Number % u" left join "
        % T::ReviewSchedule % u" r on r." % C::Code % u"=k." % C::Code % u" and r." % C::Number % u"=s."
        % C::BankNumber;
    ForecastQuestion q;
    return store.stream(
        sql, {}, [&](const StreamedRow& row) { hand(row, q, each); }, error);
}

bool attemptSummary(QuestionStore& store, QVector<AttemptSummaryRow>* rows, QString* error)
{
    static const QString sql = u"select " % C::Code % u", " % C::Type % u", " % C::AttemptCount % u", "
        % C::RightCount % u", " % C::Seconds % u" from " % T::AttemptSummary;
    return store.stream(
        sql, {},
        [rows](const StreamedRow& row) {
            rows->append({ row.text(0), row.text(1), row.integer(2), row.integer(3), row.integer(4) });
        },
        error);
}

WriteResult keepPaperForecast(QuestionStore& store, const PaperForecastRow& f)
{
    return store.writeTransaction([&] {
        const WriteResult cleared
            = store.write(u"delete from " % T::ExamForecasts % u" where " % C::ResultId % u" is null");
        if (!cleared.isDone())
            return cleared;
        static const QString sql = u"insert into " % T::ExamForecasts % u"(" % C::Expected % u", " % C::Low
            % u", " % C::High % u", " % C::PassLine % u", " % C::PassChance % u") values(?, ?, ?, ?, ?)";
        return store.write(sql, { f.expected, f.low, f.high, f.passLine, f.passChance });
    });
}

WriteResult attachPaperForecast(QuestionStore& store)
{
    static const QString sql = u"update " % T::ExamForecasts % u" set " % C::ResultId % u"=(select max("
        % C::Id % u") from " % T::ExamResults % u") where " % C::ResultId % u" is null";
    return store.write(sql);
}

bool lastExamForecast(QuestionStore& store, PaperForecastRow* forecast)
{
    static const QString sql = u"select " % C::Expected % u", " % C::Low % u", " % C::High % u", "
        % C::PassLine % u", " % C::PassChance % u" from " % T::ExamForecasts % u" where " % C::ResultId
        % u"=(select max(" % C::Id % u") from " % T::ExamResults % u")";
    RowSet row = store.query(sql);
    if (!row.isValid() || row.atEnd())
        return false;
    *forecast = { row.field(0).toDouble(), row.field(1).toInt(), row.field(2).toInt(), row.field(3).toInt(),
        row.field(4).toDouble() };
    return true;
}

bool forecastedExams(QuestionStore& store, QVector<ForecastedExam>* exams, QString* error)
{
    static const QString sql = u"select e." % C::FinishedAt % u", e." % C::Score % u", e." % C::FullScore
        % u", f." % C::Expected % u", f." % C::Low % u", f." % C::High % u", f." % C::PassLine % u", f."
        % C::PassChance % u" from " % T::ExamForecasts % u" f join " % T::ExamResults % u" e on e." % C::Id
        % u"=f." % C::ResultId % u" order by e." % C::FinishedAt % u", e." % C::Id;
    return store.stream(
        sql, {},
        [exams](const StreamedRow& row) {
            exams->append({ row.integer(0), int(row.integer(1)), int(row.integer(2)),
                { row.real(3), int(row.integer(4)), int(row.integer(5)), int(row.integer(6)),
                    row.real(7) } });
        },
        error);
}

} // namespace ForecastRepository
