#include "data/QuestionListRepository.h"

#include "data/AnswerRule.h"
#include "data/BankTables.h"
#include "data/QuestionStore.h"

namespace QuestionListRepository {
namespace {

namespace T = BankTables::Table;
namespace C = BankTables::Column;

// The type name must occur in the joined type text; nothing matches an empty text.
QString typeCondition()
{
    return u"(?<>'' and instr(lower(?),lower(" % C::Type % u"))<>0)";
}

QString condition(Answers answers)
{
    switch (answers) {
    case Answers::All:
        break;
    case Answers::Answered:
        return AnswerRule::answeredSql();
    case Answers::Unanswered:
        return AnswerRule::unansweredSql();
    case Answers::Wrong:
        return AnswerRule::wrongSql();
    }
    return {};
}

QuestionListing from(const QString& table, const QStringList& conditions, const QVariantList& params)
{
    QString sql = u"select " % columns() % u" from " % table;
    if (!conditions.isEmpty())
        sql += u" where " % conditions.join(QStringLiteral(" and "));
    return { sql % u" order by " % C::Type % u"," % C::Order, params };
}

// The questions due by a day, with the columns a listing reads and their urgency: how
// many times its stability has passed since the last attempt, which orders them as their
// predicted recall does. Bound: the day, the day again, the cap. The most urgent keys are
// then taken in key order, so that their look-ups in tk_review walk its pages forward and
// read each page once; the rows themselves, spread over the whole bank, are never read.
QString dueRows()
{
    return u"(select t." % C::Code % u", t." % C::Number % u", t." % C::Type % u", t." % C::Order % u", t."
        % C::Key % u", t." % C::Given % u", t." % C::StemExtract % u", r.urgency from (select * from (select "
        % C::Code % u", " % C::Number % u", (? - " % C::LastDay % u") / " % C::Stability
        % u" as urgency from " % T::ReviewSchedule % u" where " % C::DueDay
        % u"<=? order by urgency desc limit ?) order by " % C::Code % u", " % C::Number % u") r "
        % u"cross join " % T::Questions % u" t on t." % C::Code % u"=r." % C::Code % u" and t." % C::Number
        % u"=r." % C::Number % u")";
}

// A filter within one scope, whose first bound value is @p value (none when null).
QuestionListing filtered(
    const QString& table, QStringList scope, const QVariant& value, Answers answers, const QString& types)
{
    QVariantList params { types, types };
    if (!value.isNull())
        params.prepend(value);
    const QString answered = condition(answers);
    if (!answered.isEmpty())
        scope << answered;
    return from(table, scope << typeCondition(), params);
}

QString sectionCondition()
{
    return C::Code % u"=?";
}

// Latin case is ignored, and an empty text holds nothing. instr takes the keyword as
// plain text, so quotes, % and _ are found as themselves.
QString contains(QStringView column)
{
    return u"(" % column % u"<>'' and instr(lower(" % column % u"),lower(?))<>0)";
}

// @p table is "tk", or "tk not indexed" when the condition reads a column that no index
// holds: one pass over the table then beats a lookup of every row from the list index.
QuestionListing search(const QString& table, const QString& condition, const QVariantList& params)
{
    // A hit list grouped by section reads better beside its section paths than the
    // table's storage order, which SQLite does not promise anyway.
    return { u"select " % columns() % u" from " % table % u" where " % condition % u" order by " % C::Code
            % u"," % C::Type % u"," % C::Order,
        params };
}

} // namespace

QString columns()
{
    return C::Type % u", " % C::StemExtract % u", " % C::Key % u", " % C::Number % u", " % C::Code % u", "
        % C::Given;
}

QuestionListing section(const QString& code)
{
    return from(T::Questions.toString(), { sectionCondition() }, { code });
}

QuestionListing section(const QString& code, Answers answers, const QString& types)
{
    return filtered(T::Questions.toString(), { sectionCondition() }, code, answers, types);
}

QuestionListing bank()
{
    return from(T::Questions.toString(), {}, {});
}

QuestionListing favourites(Answers answers)
{
    QStringList conditions { C::Favourite % u"=-1" };
    const QString answered = condition(answers);
    if (!answered.isEmpty())
        conditions << answered;
    return from(T::Questions.toString(), conditions, {});
}

QuestionListing due(qint64 day, int cap)
{
    return { u"select " % columns() % u" from " % dueRows() % u" order by urgency desc, " % C::Type % u","
            % C::Order,
        { day, day, cap } };
}

QuestionListing due(qint64 day, int cap, Answers answers, const QString& types)
{
    QuestionListing listing = filtered(dueRows(), {}, QVariant(), answers, types);
    listing.params = QVariantList { day, day, cap } + listing.params;
    return listing;
}

QuestionListing paper()
{
    return from(T::WorkingSet.toString(), {}, {});
}

QuestionListing paper(Answers answers, const QString& types)
{
    return filtered(T::WorkingSet.toString(), {}, QVariant(), answers, types);
}

QuestionListing searchAnswers(Answers answers)
{
    return search(T::Questions.toString(), condition(answers), {});
}

QuestionListing searchKeyword(const QString& keyword, bool inStem, bool inOptions)
{
    // The stem extract tg is in the list index; the option extract xx only in the table.
    const QString wholeTable = T::Questions % u" not indexed";
    if (inStem && inOptions)
        return search(wholeTable, contains(C::StemExtract) % u" or " % contains(C::OptionsExtract),
            { keyword, keyword });
    if (inStem)
        return search(T::Questions.toString(), contains(C::StemExtract), { keyword });
    if (inOptions)
        return search(wholeTable, contains(C::OptionsExtract), { keyword });
    return {};
}

QuestionListing searchHits(const std::vector<qint64>& rowids, int bankSize)
{
    // The rowids are our own integers, never the user's text.
    QString list;
    list.reserve(int(rowids.size()) * 8);
    for (const qint64 id : rowids) {
        if (!list.isEmpty())
            list += u',';
        list += QString::number(id);
    }
    // A few hits are cheapest looked up one by one; many are cheaper picked out of the
    // list index in its own order than looked up in the wide table.
    const bool few = qint64(rowids.size()) * 50 <= bankSize;
    return search(few ? T::Questions.toString() : T::Questions % u" indexed by " % T::Questions % u"_list",
        u"rowid in (" % list % u')', {});
}

RowSet read(QuestionStore& store, const QuestionListing& listing)
{
    return store.query(listing.sql, listing.params);
}

RowSet questionSet(QuestionStore& store, QuestionTable table, const QString& sectionCode)
{
    const QString columns = u"select " % C::Type % u", " % C::StemExtract % u", " % C::Key % u", " % C::Given
        % u", " % C::Stem % u", " % C::Document % u" from ";
    const QString order = u" order by " % C::Type % u", " % C::Order;
    if (table == QuestionTable::WorkingSet)
        return store.query(columns % T::WorkingSet % order);
    return store.query(columns % T::Questions % u" where " % C::Code % u"=?" % order, { sectionCode });
}

} // namespace QuestionListRepository
