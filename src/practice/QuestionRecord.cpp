#include "practice/QuestionRecord.h"

#include "data/QuestionStore.h"

QString QuestionRecord::CurrentQuestionQuery(QuestionTable table)
{
    return QStringLiteral("select * from ") + tableName(table) + QStringLiteral(" where 代码=? AND 题号=?");
}

std::optional<QuestionRecord> QuestionRecord::read(
    QuestionStore& store, QuestionTable table, const QuestionKey& key)
{
    RowSet row = store.query(CurrentQuestionQuery(table), { key.code, key.number });
    if (!row.isValid() || row.atEnd())
        return std::nullopt;
    QuestionRecord r;
    r.code = row.field(QStringLiteral("代码")).toString();
    r.number = row.field(QStringLiteral("题号")).toString();
    r.type = row.field(QStringLiteral("题型")).toString();
    r.answer = row.field(QStringLiteral("答案")).toString();
    r.given = row.field(QStringLiteral("答题"));
    r.favourite = row.field(QStringLiteral("收藏否")).toInt() == -1;
    r.document = row.field(QStringLiteral("选项")).toString();
    r.notes = row.field(QStringLiteral("zs"));
    r.picture = row.field(QStringLiteral("插图"));
    return r;
}
