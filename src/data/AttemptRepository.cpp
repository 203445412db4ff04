#include "data/AttemptRepository.h"

#include "data/BankTables.h"
#include "data/QuestionStore.h"
#include "data/StreamedRow.h"

#include <QStringBuilder>

#include <optional>

namespace AttemptRepository {
namespace {

namespace T = BankTables::Table;
namespace C = BankTables::Column;

const QString Practice = QStringLiteral("practice");
const QString Exam = QStringLiteral("exam");

// The columns read() reads, of the attempt table named a.
QString recordColumns()
{
    return u"a." % C::Code % u", a." % C::Number % u", a." % C::StartedAt % u", a." % C::AnsweredAt % u", a."
        % C::Seconds % u", a." % C::Answer % u", a." % C::IsRight % u", a." % C::Source % u", a." % C::Clicks;
}

void read(const StreamedRow& row, AttemptRecord& a)
{
    a.key = { row.text(0), QString::number(row.integer(1)) };
    a.startedAt = row.integer(2);
    a.answeredAt = row.integer(3);
    a.seconds = int(row.integer(4));
    a.answer = row.text(5);
    a.right = row.integer(6) != 0;
    a.fromExam = row.utf8(7) == "exam";
    a.clicks = int(row.integer(8));
}

} // namespace

QString summaryFill()
{
    // Attempts at questions no longer in the bank have no type and are left out.
    return u"insert into " % T::AttemptSummary % u"(" % C::Code % u", " % C::Type % u", " % C::AttemptCount
        % u", " % C::RightCount % u", " % C::Seconds % u") select q." % C::Code % u", q." % C::Type
        % u", count(*), sum(a." % C::IsRight % u"), sum(a." % C::Seconds % u") from " % T::Attempts
        % u" a join " % T::Questions % u" q on q." % C::Code % u"=a." % C::Code % u" and q." % C::Number
        % u"=a." % C::Number % u" group by q." % C::Code % u" collate nocase, q." % C::Type;
}

namespace {

// The attempt's row alone.
WriteResult insert(QuestionStore& store, const AttemptRecord& a)
{
    static const QString sql = u"insert into " % T::Attempts % u"(" % C::Code % u", " % C::Number % u", "
        % C::StartedAt % u", " % C::AnsweredAt % u", " % C::Seconds % u", " % C::Answer % u", " % C::IsRight
        % u", " % C::Source % u", " % C::Clicks % u") values(?, ?, ?, ?, ?, ?, ?, ?, ?)";
    return store.write(sql,
        { a.key.code, a.key.number, a.startedAt, a.answeredAt, a.seconds, a.answer, a.right ? 1 : 0,
            a.fromExam ? Exam : Practice, a.clicks });
}

} // namespace

WriteResult record(QuestionStore& store, const AttemptRecord& a)
{
    const WriteResult added = insert(store, a);
    if (!added.isDone())
        return added;
    // The summary counts the attempt under the question's type as the bank has it now. The
    // engine has no upsert: the row is made if missing, then added to.
    static const QString make = u"insert or ignore into " % T::AttemptSummary % u"(" % C::Code % u", "
        % C::Type % u", " % C::AttemptCount % u", " % C::RightCount % u", " % C::Seconds % u") select "
        % C::Code % u", " % C::Type % u", 0, 0, 0 from " % T::Questions % u" where " % C::Code % u"=? and "
        % C::Number % u"=?";
    static const QString add = u"update " % T::AttemptSummary % u" set " % C::AttemptCount % u"="
        % C::AttemptCount % u"+1, " % C::RightCount % u"=" % C::RightCount % u"+?, " % C::Seconds % u"="
        % C::Seconds % u"+? where " % C::Code % u"=? and " % C::Type % u"=(select " % C::Type % u" from "
        % T::Questions % u" where " % C::Code % u"=? and " % C::Number % u"=?)";
    const WriteResult made = store.write(make, { a.key.code, a.key.number });
    const WriteResult counted = made.isDone()
        ? store.write(add, { a.right ? 1 : 0, a.seconds, a.key.code, a.key.code, a.key.number })
        : made;
    return counted.isDone() ? added : counted;
}

bool summaryIsCurrent(QuestionStore& store)
{
    static const QString sql = u"select (select count(*) from " % T::Attempts % u") = (select coalesce(sum("
        % C::AttemptCount % u"), 0) from " % T::AttemptSummary % u")";
    return store.scalar(sql).toInt() != 0;
}

WriteResult rebuildSummary(QuestionStore& store)
{
    return store.writeTransaction([&store] {
        const WriteResult cleared = store.write(u"delete from " % T::AttemptSummary);
        return cleared.isDone() ? store.write(summaryFill()) : cleared;
    });
}

bool each(QuestionStore& store, const std::function<void(const AttemptRecord&)>& attempt, QString* error)
{
    static const QString sql = u"select " % recordColumns() % u" from " % T::Attempts % u" a order by a."
        % C::AnsweredAt % u", a." % C::Id;
    AttemptRecord a;
    return store.stream(
        sql, {},
        [&](const StreamedRow& row) {
            read(row, a);
            attempt(a);
        },
        error);
}

bool eachDetailed(
    QuestionStore& store, const std::function<void(const AttemptDetail&)>& attempt, QString* error)
{
    // Each lookup is one seek in a narrow index (smdm's code, tk_review), not a read of the rows.
    const auto ofQuestion = [](QStringView column) -> QString {
        return u", (select t." % column % u" from " % T::Questions % u" t where t." % C::Code % u"=a."
            % C::Code % u" and t." % C::Number % u"=a." % C::Number % u" limit 1)";
    };
    static const QString sql = u"select " % recordColumns() % u", (select s." % C::SectionName % u" from "
        % T::Sections % u" s where s." % C::Code % u"=a." % C::Code % u" limit 1)" % ofQuestion(C::Type)
        % ofQuestion(C::Key) % u" from " % T::Attempts % u" a order by a." % C::AnsweredAt % u", a." % C::Id;
    AttemptDetail d;
    return store.stream(
        sql, {},
        [&](const StreamedRow& row) {
            read(row, d.attempt);
            d.sectionName = row.text(9);
            d.type = row.text(10);
            d.key = row.text(11);
            attempt(d);
        },
        error);
}

WriteResult addFromClicks(QuestionStore& store)
{
    static const QString sql = u"select " % C::Code % u", " % C::Number % u", " % C::AnsweredAt % u", "
        % C::Answer % u", " % C::IsRight % u", " % C::Source % u" from " % T::AnswerHistory % u" order by "
        % C::Id;
    std::optional<AttemptRecord> visit;
    WriteResult failed = WriteResult::done(0);
    int added = 0;
    const auto flush = [&] {
        if (!visit || !failed.isDone())
            return;
        visit->seconds = int(visit->answeredAt - visit->startedAt);
        failed = insert(store, *visit);
        added += failed.isDone() ? 1 : 0;
    };
    QString error;
    const bool read = store.stream(
        sql, {},
        [&](const StreamedRow& row) {
            const QString code = row.text(0);
            const QString number = QString::number(row.integer(1));
            const qint64 at = row.integer(2);
            const bool exam = row.utf8(5) == "exam";
            // 代码 compares without case in the bank.
            const bool sameVisit = visit && visit->key.code.compare(code, Qt::CaseInsensitive) == 0
                && visit->key.number == number && visit->fromExam == exam && at >= visit->answeredAt
                && at - visit->answeredAt <= VisitGapSeconds;
            if (sameVisit) {
                ++visit->clicks;
            } else {
                flush();
                visit = AttemptRecord { { code, number }, at, at, 0, {}, false, exam, 1 };
            }
            visit->answeredAt = at;
            visit->answer = row.text(3);
            visit->right = row.integer(4) != 0;
        },
        &error);
    if (!read)
        return WriteResult::failed(StoreFailure { StoreFailure::Kind::Other, error });
    flush();
    return failed.isDone() ? WriteResult::done(added) : failed;
}

} // namespace AttemptRepository
