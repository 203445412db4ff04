#pragma once

#include <QString>
#include <QVariant>

/// When a stored answer (答题) counts as given and when it is right. The list
/// filters, the graders, the search and the statistics all judge by these, in C++
/// or through the matching SQL conditions.
namespace AnswerRule {

/// Given: neither absent nor the empty text.
bool isAnswered(const QVariant& given);
/// Given and equal to the key (答案) character for character, Latin case included.
bool isRight(const QString& key, const QVariant& given);
/// Given and not right.
bool isWrong(const QString& key, const QVariant& given);

/// What the candidate sees of an answer: right, wrong, not given, or self-assessed
/// (the types answered "会做"/"不会" have no right or wrong of their own).
enum class Verdict
{
    Right,
    Wrong,
    Unanswered,
    SelfAssessed
};
/// The verdict on answer @p given to a question of @p type with key @p key.
Verdict verdict(const QString& type, const QString& key, const QVariant& given);

/// SQL conditions over the columns 答题 and 答案 of the row, with the same meaning.
QString answeredSql();
QString unansweredSql();
QString rightSql();
QString wrongSql();

} // namespace AnswerRule
