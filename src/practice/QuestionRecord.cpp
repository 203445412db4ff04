#include "practice/QuestionRecord.h"

#include "data/AppState.h"
#include "data/QuestionStore.h"

QString QuestionRecord::table(const AppState& state)
{
    return state.ExamRunning ? QStringLiteral("kstk") : QStringLiteral("tk");
}

namespace {

QString questionQuery(const QString& table, const AppState& state, QVariantList* params)
{
    *params = { state.SectionCode, state.QuestionNo };
    return QStringLiteral("select * from ") + table + QStringLiteral(" where 代码=? AND 题号=?");
}

} // namespace

QString QuestionRecord::CurrentQuestionQuery(const AppState& state, QVariantList* params)
{
    return questionQuery(table(state), state, params);
}

QString QuestionRecord::BankQuestionQuery(const AppState& state, QVariantList* params)
{
    return questionQuery(QStringLiteral("tk"), state, params);
}

std::optional<QuestionRecord> QuestionRecord::current(QuestionStore& store, const AppState& state)
{
    QVariantList params;
    const QString sql = CurrentQuestionQuery(state, &params);
    RowSet row = store.query(sql, params);
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
