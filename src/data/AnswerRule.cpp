#include "data/AnswerRule.h"

#include "data/QuestionType.h"

namespace AnswerRule {

bool isAnswered(const QVariant& given)
{
    return !given.isNull() && !given.toString().isEmpty();
}

bool isRight(const QString& key, const QVariant& given)
{
    return isAnswered(given) && given.toString() == key;
}

bool isWrong(const QString& key, const QVariant& given)
{
    return isAnswered(given) && given.toString() != key;
}

Verdict verdict(const QString& type, const QString& key, const QVariant& given)
{
    if (!isAnswered(given))
        return Verdict::Unanswered;
    if (QuestionType::isSelfAssessed(type))
        return Verdict::SelfAssessed;
    return isRight(key, given) ? Verdict::Right : Verdict::Wrong;
}

// The columns compare without regard to Latin case; the rule counts case, so the
// comparisons name the binary collation.
QString answeredSql()
{
    return QStringLiteral("ifnull(答题,'')<>''");
}

QString unansweredSql()
{
    return QStringLiteral("ifnull(答题,'')=''");
}

QString rightSql()
{
    return QStringLiteral("(ifnull(答题,'')<>'' and 答题=答案 collate binary)");
}

QString wrongSql()
{
    return QStringLiteral("(ifnull(答题,'')<>'' and ifnull(答案,'')<>答题 collate binary)");
}

} // namespace AnswerRule
