#include "search/QuestionSearch.h"

#include "catalogue/QuestionListModel.h"
#include "data/AnswerRule.h"

namespace QuestionSearch {
namespace {

// Latin case is ignored, and an empty text holds nothing. instr takes the keyword as
// plain text, so quotes, % and _ are found as themselves.
QString contains(const QString& column)
{
    return QStringLiteral("(%1<>'' and instr(lower(%1),lower(?))<>0)").arg(column);
}

// @p table is "tk", or "tk not indexed" when the condition reads a column that no index
// holds: one pass over the table then beats a lookup of every row from the list index.
QuestionFilters::Selection from(const QString& table, const QString& condition, const QVariantList& params)
{
    // A hit list grouped by section reads better beside its section paths than the
    // table's storage order, which SQLite does not promise anyway.
    return { QStringLiteral("select ") + QuestionListModel::selectColumns() + QStringLiteral(" from ") + table
            + QStringLiteral(" where ") + condition + QStringLiteral(" order by 代码,题型,sj"),
        params };
}

} // namespace

QuestionFilters::Selection selection(const Request& request)
{
    switch (request.mode) {
    case Mode::Done:
        return from(QStringLiteral("tk"), AnswerRule::answeredSql(), {});
    case Mode::Wrong:
        return from(QStringLiteral("tk"), AnswerRule::wrongSql(), {});
    case Mode::Keyword:
        break;
    }
    // The stem extract tg is in the list index; the option extract xx only in the table.
    const QString wholeTable = QStringLiteral("tk not indexed");
    if (request.inStem && request.inOptions)
        return from(wholeTable,
            contains(QStringLiteral("tg")) + QStringLiteral(" or ") + contains(QStringLiteral("xx")),
            { request.keyword, request.keyword });
    if (request.inStem)
        return from(QStringLiteral("tk"), contains(QStringLiteral("tg")), { request.keyword });
    if (request.inOptions)
        return from(wholeTable, contains(QStringLiteral("xx")), { request.keyword });
    return {};
}

QuestionFilters::Selection hitsSelection(const std::vector<qint64>& rowids, int bankSize)
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
    return from(few ? QStringLiteral("tk") : QStringLiteral("tk indexed by tk_list"),
        QStringLiteral("rowid in (") + list + u')', {});
}

QString title()
{
    return QStringLiteral("当前题库中包含关键字的试题");
}

} // namespace QuestionSearch
