#include "practice/QuestionEditor.h"

#include "data/QuestionStore.h"
#include "data/QuestionType.h"

namespace QuestionEditor {
namespace {

const QString NoQuestion = QStringLiteral("当前没有试题，请先在左侧目录中选择一个章节并显示一道试题");

// One row of tk must change; none means the question is gone.
WriteResult updateQuestion(
    QuestionStore& store, const QuestionKey& key, const QString& sql, QVariantList params)
{
    if (!key.isValid())
        return WriteResult::nothing(NoQuestion);
    params << key.code << key.number;
    const WriteResult result = store.write(sql, params);
    if (result.isDone() && result.rows() == 0)
        return WriteResult::nothing(QStringLiteral("当前试题已不在题库中"));
    return result;
}

// Why a question cannot be added; empty when it can.
QString refusal(const QString& sectionCode, const Edits& question)
{
    if (sectionCode.isEmpty())
        return QStringLiteral("当前没有章节，请先在左侧目录中选择一个章节");
    // A type the program does not know gets no answer panel, no filter and no exam.
    if (QuestionType::kindOf(question.type) == QuestionType::Kind::Other)
        return QStringLiteral("没有选择题型，请先选择试题的题型");
    // An empty question could never be answered, and nothing could remove it again.
    if (question.plainText.trimmed().isEmpty())
        return QStringLiteral("题干与选项是空的，请先输入试题的内容");
    if (question.answer.trimmed().isEmpty())
        return QStringLiteral("标准答案是空的，请先输入标准答案");
    return {};
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

WriteResult SaveNotes(QuestionStore& store, const QuestionKey& key, const QString& notes)
{
    return updateQuestion(
        store, key, QStringLiteral("update tk set zs=? where 代码=? AND 题号=?"), { notes });
}

WriteResult SaveQuestionEdits(QuestionStore& store, const QuestionKey& key, const Edits& edits)
{
    const QString head = extract(edits.plainText);
    return updateQuestion(store, key,
        QStringLiteral("update tk set 选项=?, 答案=?, xx=?, tg=?, zs=?, 题型=? where 代码=? AND 题号=?"),
        { edits.document, edits.answer, head, head, edits.notes, edits.type });
}

WriteResult AddQuestion(QuestionStore& store, const QString& sectionCode, const Edits& question, int* number)
{
    const QString refused = refusal(sectionCode, question);
    if (!refused.isEmpty())
        return WriteResult::nothing(refused);
    int next = 0;
    const WriteResult result = store.writeTransaction(
        [&] { return insertQuestion(store, sectionCode, question, true, QVariant(), &next); });
    if (result.isDone())
        *number = next;
    return result;
}

WriteResult insertQuestion(QuestionStore& store, const QString& sectionCode, const Edits& question,
    bool favourite, const QVariant& order, int* number)
{
    const QString refused = refusal(sectionCode, question);
    if (!refused.isEmpty())
        return WriteResult::nothing(refused);
    const QString head = extract(question.plainText);
    // One past the largest number: a count could repeat a number left by a gap.
    const int next
        = store.scalar(QStringLiteral("select ifnull(max(题号),0)+1 from tk where 代码=?"), { sectionCode })
              .toInt();
    // Qt 6 binds a null QString as '', not as NULL.
    const auto orNull = [](const QString& text) { return text.isNull() ? QVariant() : QVariant(text); };
    const QVariantList values { sectionCode, next, question.type, question.answer, favourite ? -1 : 0, head,
        head, question.document, orNull(question.stem), orNull(question.notes) };
    const WriteResult result = order.isNull()
        ? store.write(
            QStringLiteral("insert into tk(代码, 题号, 题型, 答案, 收藏否, sj, tg, xx, 选项, 题干, zs) "
                           "values(?,?,?,?,?,(select ifnull(max(sj),0)+1 from tk),?,?,?,?,?)"),
            values)
        : store.write(
            QStringLiteral("insert into tk(代码, 题号, 题型, 答案, 收藏否, tg, xx, 选项, 题干, zs, sj) "
                           "values(?,?,?,?,?,?,?,?,?,?,?)"),
            values + QVariantList { order });
    if (result.isDone())
        *number = next;
    return result;
}

qint64 lastOrder(QuestionStore& store)
{
    return store.scalar(QStringLiteral("select ifnull(max(sj),0) from tk")).toLongLong();
}

} // namespace QuestionEditor
