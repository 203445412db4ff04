#include "exam/QuestionSet.h"

#include "data/QuestionStore.h"

namespace QuestionSet {

RowSet open(QuestionStore& store, QuestionTable table, const QString& sectionCode)
{
    const QString columns = QStringLiteral("select 题型, tg, 答案, 答题, 题干, 选项 from ");
    if (table == QuestionTable::WorkingSet)
        return store.query(columns + QStringLiteral("kstk order by 题型, sj"));
    return store.query(columns + QStringLiteral("tk where 代码=? order by 题型, sj"), { sectionCode });
}

} // namespace QuestionSet
