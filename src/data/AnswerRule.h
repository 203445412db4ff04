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

/// SQL conditions over the columns 答题 and 答案 of the row, with the same meaning.
QString answeredSql();
QString unansweredSql();
QString rightSql();
QString wrongSql();

} // namespace AnswerRule
