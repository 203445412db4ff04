#include "data/StatisticsRepository.h"

#include "data/AnswerRule.h"
#include "data/BankTables.h"
#include "data/QuestionStore.h"

namespace StatisticsRepository {
namespace {

namespace T = BankTables::Table;
namespace C = BankTables::Column;

QVector<SectionCount> counts(
    QuestionStore& store, const QString& sql, const QString& from, const QString& below, QString* error)
{
    RowSet rows = store.query(sql, { from, below });
    if (!rows.isValid()) {
        *error = rows.error();
        return {};
    }
    QVector<SectionCount> result;
    result.reserve(rows.rowCount());
    for (; !rows.atEnd(); rows.next())
        result.append({ rows.field(0).toString(), rows.field(1).toLongLong(), rows.field(2).toLongLong() });
    return result;
}

} // namespace

QString questionCountSql()
{
    // The narrow section key holds every question once.
    return u"select " % C::Code % u", count(" % C::Code % u") from " % T::Questions % u" where " % C::Code
        % u">=? and " % C::Code % u"<? group by " % C::Code;
}

QString answeredCountSql()
{
    // Only answered questions are in the partial index this condition names.
    return u"select " % C::Code % u", count(" % C::Code % u"), sum(" % AnswerRule::rightSql() % u") from "
        % T::Questions % u" where " % C::Code % u">=? and " % C::Code % u"<? and " % AnswerRule::answeredSql()
        % u" group by " % C::Code;
}

QVector<SectionCount> questionCounts(
    QuestionStore& store, const QString& from, const QString& below, QString* error)
{
    return counts(store, questionCountSql(), from, below, error);
}

QVector<SectionCount> answeredCounts(
    QuestionStore& store, const QString& from, const QString& below, QString* error)
{
    return counts(store, answeredCountSql(), from, below, error);
}

bool eachQuestionType(QuestionStore& store,
    const std::function<void(const QString& code, qint64 number, const QString& type)>& each, QString* error)
{
    // One pass over the list index: a join per history row would look each one up again.
    static const QString sql
        = u"select " % C::Code % u", " % C::Number % u", " % C::Type % u" from " % T::Questions;
    return store.stream(
        sql, {}, [&each](const StreamedRow& row) { each(row.text(0), row.integer(1), row.text(2)); }, error);
}

bool eachAnswer(QuestionStore& store,
    const std::function<void(const QString& code, qint64 number, qint64 answeredAt, bool right)>& each,
    QString* error)
{
    static const QString sql = u"select " % C::Code % u", " % C::Number % u", " % C::AnsweredAt % u", "
        % C::IsRight % u" from " % T::Attempts;
    return store.stream(
        sql, {},
        [&each](const StreamedRow& row) {
            each(row.text(0), row.integer(1), row.integer(2), row.integer(3) != 0);
        },
        error);
}

bool eachMemory(QuestionStore& store,
    const std::function<void(double stability, double difficulty, qint64 lastDay)>& each, QString* error)
{
    static const QString sql = u"select " % C::Stability % u", " % C::Difficulty % u", " % C::LastDay
        % u" from " % T::ReviewSchedule % u" where " % C::Stability % u" > 0";
    return store.stream(
        sql, {}, [&each](const StreamedRow& row) { each(row.real(0), row.real(1), row.integer(2)); }, error);
}

bool examScores(QuestionStore& store, QVector<ExamScoreRow>* scores, QString* error)
{
    static const QString sql = u"select " % C::FinishedAt % u", " % C::Score % u", " % C::FullScore
        % u" from " % T::ExamResults % u" order by " % C::FinishedAt % u", " % C::Id;
    return store.stream(
        sql, {},
        [scores](const StreamedRow& row) {
            scores->append({ row.integer(0), int(row.integer(1)), int(row.integer(2)) });
        },
        error);
}

} // namespace StatisticsRepository
