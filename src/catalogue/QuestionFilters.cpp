#include "catalogue/QuestionFilters.h"

#include "catalogue/QuestionListModel.h"
#include "data/AnswerRule.h"
#include "data/QuestionType.h"

#include <QVector>

namespace QuestionFilters {
namespace {

// The type name must occur in the joined type text; nothing matches an empty text.
const QString TypeCondition = QStringLiteral("(?<>'' and instr(lower(?),lower(题型))<>0)");
const QString Answered = AnswerRule::answeredSql();
const QString NotAnswered = AnswerRule::unansweredSql();
const QString Wrong = AnswerRule::wrongSql();
const QString Order = QStringLiteral(" order by 题型,sj");

Selection from(const QString& table, const QStringList& conditions, const QVariantList& params)
{
    QString sql
        = QStringLiteral("select ") + QuestionListModel::selectColumns() + QStringLiteral(" from ") + table;
    if (!conditions.isEmpty())
        sql += QStringLiteral(" where ") + conditions.join(QStringLiteral(" and "));
    return { sql + Order, params };
}

// The questions due by a day, with the columns a listing reads. The due keys are taken in
// key order, so that their look-ups in tk_review walk its pages forward and read each page
// once; the rows themselves, spread over the whole bank, are never read.
const QString DueRows = QStringLiteral(
    "(select t.代码, t.题号, t.题型, t.sj, t.答案, t.答题, t.tg "
    "from (select 代码, 题号 from review_schedule where due_day<=? order by 代码, 题号) r "
    "cross join tk t on t.代码=r.代码 and t.题号=r.题号)");

// The practice filter's choices within one scope, whose first value is @p value.
Selection filtered(const QString& table, const QStringList& scope, const QVariant& value, const QString& choice,
                   const QString& types)
{
    const QVariantList params { value, types, types };
    if (choice == QStringLiteral("全部题目"))
        return from(table, scope + QStringList { TypeCondition }, params);
    if (choice == QStringLiteral("已做题目"))
        return from(table, scope + QStringList { Answered, TypeCondition }, params);
    if (choice == QStringLiteral("未做题目"))
        return from(table, scope + QStringList { NotAnswered, TypeCondition }, params);
    if (choice == QStringLiteral("做错题目"))
        return from(table, scope + QStringList { Wrong, TypeCondition }, params);
    return {};
}

} // namespace

QStringList filterTypes()
{
    QStringList types;
    for (const QString& name : QuestionType::slotNames())
        types << name;
    return types;
}

QString TypeFilterText(const QVector<bool>& ticked)
{
    const QStringList types = filterTypes();
    QString text;
    for (int i = 0; i < types.size() && i < ticked.size(); ++i) {
        if (ticked[i])
            text += types[i];
    }
    return text;
}

Selection section(const QString& code)
{
    return from(QStringLiteral("tk"), { QStringLiteral("代码=?") }, { code });
}

bool isPersonalList(const QString& nodeText)
{
    return nodeText == QStringLiteral("个人收藏试题") || nodeText == QStringLiteral("个人做错的题")
        || nodeText == QStringLiteral("个人做过的题");
}

Selection personal(const QString& nodeText, QString* title)
{
    const QString favourite = QStringLiteral("收藏否=-1");
    if (nodeText == QStringLiteral("个人收藏试题")) {
        *title = QStringLiteral("个人收藏试题");
        return from(QStringLiteral("tk"), { favourite }, {});
    }
    if (nodeText == QStringLiteral("个人做错的题")) {
        *title = QStringLiteral("个人收藏做错的试题");
        return from(QStringLiteral("tk"), { favourite, Wrong }, {});
    }
    if (nodeText == QStringLiteral("个人做过的题")) {
        *title = QStringLiteral("个人收藏做过的试题");
        return from(QStringLiteral("tk"), { favourite, Answered }, {});
    }
    return {};
}

Selection practice(const QString& choice, const QString& types, const QString& code)
{
    const Selection selection = filtered(QStringLiteral("tk"), { QStringLiteral("代码=?") }, code, choice, types);
    return selection.sql.isEmpty() ? from(QStringLiteral("tk"), {}, {}) : selection;
}

Selection review(qint64 day)
{
    return from(DueRows, {}, { day });
}

Selection reviewFilter(const QString& choice, const QString& types, qint64 day)
{
    const Selection selection = filtered(DueRows, {}, day, choice, types);
    return selection.sql.isEmpty() ? review(day) : selection;
}

Selection exam(const QString& choice, const QString& types)
{
    const QVariantList params { types, types };
    if (choice == QStringLiteral("全部题目"))
        return from(QStringLiteral("kstk"), { TypeCondition }, params);
    if (choice == QStringLiteral("已做过题"))
        return from(QStringLiteral("kstk"), { Answered, TypeCondition }, params);
    if (choice == QStringLiteral("未做过题"))
        return from(QStringLiteral("kstk"), { NotAnswered, TypeCondition }, params);
    return from(QStringLiteral("kstk"), {}, {});
}

} // namespace QuestionFilters
