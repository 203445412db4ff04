#include "practice/QuestionEditor.h"

#include "data/AppState.h"
#include "data/QuestionStore.h"
#include "practice/QuestionRecord.h"

namespace QuestionEditor {
namespace {

const QString NoQuestion = QStringLiteral("当前没有试题，请先在左侧目录中选择一个章节并显示一道试题。");

Refusal writeFailed(QuestionStore& store)
{
    return QStringLiteral("保存失败：%1").arg(store.lastError());
}

// The current question's row of tk, or a refusal.
Refusal openCurrent(QuestionStore& store, const AppState& state, RowSet* row)
{
    if (state.SectionCode.isEmpty() || state.QuestionNo.isEmpty())
        return NoQuestion;
    QVariantList params;
    *row = store.query(QuestionRecord::BankQuestionQuery(state, &params), params, QuestionStore::Access::Updatable);
    if (!row->isValid())
        return writeFailed(store);
    if (row->atEnd())
        return QStringLiteral("当前试题已不在题库中。");
    return {};
}

Refusal commit(QuestionStore& store, RowSet& row)
{
    return row.commit() ? Refusal() : QStringLiteral("保存失败：%1").arg(row.error().isEmpty() ? store.lastError() : row.error());
}

} // namespace

QString extract(const QString& plainText)
{
    int start = 0;
    while (start < plainText.size() && plainText.at(start).isSpace())
        ++start;
    // Thirty characters, not UTF-16 units: an emoji cut in half would be stored as "?".
    int end = start;
    for (int n = 0; n < 30 && end < plainText.size(); ++n) {
        const bool pair = plainText.at(end).isHighSurrogate() && end + 1 < plainText.size()
            && plainText.at(end + 1).isLowSurrogate();
        end += pair ? 2 : 1;
    }
    return plainText.mid(start, end - start);
}

Refusal SaveNotes(QuestionStore& store, const AppState& state, const QString& notes)
{
    RowSet row;
    if (Refusal why = openCurrent(store, state, &row); !why.isEmpty())
        return why;
    row.setField(QStringLiteral("zs"), notes);
    return commit(store, row);
}

Refusal SaveQuestionEdits(QuestionStore& store, const AppState& state, const Edits& edits)
{
    RowSet row;
    if (Refusal why = openCurrent(store, state, &row); !why.isEmpty())
        return why;
    const QString head = extract(edits.plainText);
    row.setField(QStringLiteral("选项"), edits.document);
    row.setField(QStringLiteral("答案"), edits.answer);
    row.setField(QStringLiteral("xx"), head);
    row.setField(QStringLiteral("tg"), head);
    row.setField(QStringLiteral("zs"), edits.notes);
    row.setField(QStringLiteral("题型"), edits.type);
    return commit(store, row);
}

Refusal AddQuestion(QuestionStore& store, const QString& sectionCode, const Edits& question, int* number)
{
    if (sectionCode.isEmpty())
        return QStringLiteral("当前没有章节，请先在左侧目录中选择一个章节。");
    // One past the largest number: a count could repeat a number left by a gap.
    const int next = store.scalar(QStringLiteral("select ifnull(max(题号),0)+1 from tk where 代码=?"), { sectionCode })
                         .toInt();
    const QString head = extract(question.plainText);
    const bool ok = store.execute(
        QStringLiteral("insert into tk(代码, 题号, 题型, 答案, 收藏否, sj, tg, xx, 选项, zs) "
                       "values(?,?,?,?,-1,(select ifnull(max(sj),0)+1 from tk),?,?,?,?)"),
        { sectionCode, next, question.type, question.answer, head, head, question.document, question.notes });
    if (!ok)
        return writeFailed(store);
    *number = next;
    return {};
}

} // namespace QuestionEditor
