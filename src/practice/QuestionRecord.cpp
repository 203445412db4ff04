#include "practice/QuestionRecord.h"

#include "data/QuestionRepository.h"

std::optional<QuestionRecord> QuestionRecord::read(
    QuestionStore& store, QuestionTable table, const QuestionKey& key)
{
    const std::optional<StoredQuestion> q = QuestionRepository::read(store, table, key);
    if (!q)
        return std::nullopt;
    return QuestionRecord { q->code, q->number, q->type, q->answer, q->given, q->favourite, q->document,
        q->notes, q->picture };
}
