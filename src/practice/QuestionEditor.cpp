#include "practice/QuestionEditor.h"

#include "data/QuestionRepository.h"
#include "data/QuestionStore.h"
#include "data/QuestionType.h"

#include <functional>

namespace QuestionEditor {
namespace {

const QString NoQuestion = QStringLiteral("当前没有试题，请先在左侧目录中选择一个章节并显示一道试题");

// One row of tk must change; none means the question is gone.
WriteResult updateQuestion(const QuestionKey& key, const std::function<WriteResult()>& write)
{
    if (!key.isValid())
        return WriteResult::nothing(NoQuestion);
    const WriteResult result = write();
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
    return updateQuestion(key, [&] { return QuestionRepository::setNotes(store, key, notes); });
}

WriteResult SaveQuestionEdits(QuestionStore& store, const QuestionKey& key, const Edits& edits)
{
    const QuestionChanges changes { edits.document, edits.answer, extract(edits.plainText), edits.notes,
        edits.type };
    return updateQuestion(key, [&] { return QuestionRepository::change(store, key, changes); });
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
    const int next = QuestionRepository::nextNumber(store, sectionCode);
    const WriteResult result = QuestionRepository::insert(store,
        { sectionCode, next, question.type, question.answer, favourite, extract(question.plainText),
            question.document, question.stem, question.notes, order });
    if (result.isDone())
        *number = next;
    return result;
}

qint64 lastOrder(QuestionStore& store)
{
    return QuestionRepository::lastOrder(store);
}

} // namespace QuestionEditor
