#include "practice/Answers.h"

#include "data/AppState.h"
#include "data/QuestionStore.h"
#include "practice/QuestionRecord.h"

namespace Answers {

Panel panelFor(const QString& type)
{
    if (type == QStringLiteral("多选") || type == QStringLiteral("不定项"))
        return Panel::MultipleChoice;
    if (type == QStringLiteral("单选") || type == QStringLiteral("判断"))
        return Panel::SingleChoice;
    if (type == QStringLiteral("计算") || type == QStringLiteral("简答") || type == QStringLiteral("综合"))
        return Panel::SelfAssessment;
    if (type == QLatin1String("A4"))
        return Panel::TrueFalse;
    return Panel::None;
}

QString optionLetter(int index)
{
    return index >= 0 && index < 5 ? QString(QChar(u'A' + index)) : QString();
}

QString multipleChoice(const std::array<bool, 5>& ticked)
{
    QString answer;
    for (int i = 0; i < 5; ++i) {
        if (ticked[size_t(i)])
            answer += optionLetter(i);
    }
    return answer;
}

std::array<bool, 5> ticksFor(const QString& given)
{
    std::array<bool, 5> ticks{};
    for (const QChar c : given) {
        if (c >= u'A' && c <= u'E')
            ticks[size_t(c.unicode() - u'A')] = true;
    }
    return ticks;
}

int optionFor(const QString& given)
{
    return given.size() == 1 && given[0] >= u'A' && given[0] <= u'E' ? given[0].unicode() - u'A' : -1;
}

QString storedCaption(const QVariant& given)
{
    if (given.isNull())
        return QStringLiteral("()");
    const QString text = given.toString();
    return text.isEmpty() ? QStringLiteral("(    )") : QString(QStringLiteral("(") + text + QStringLiteral(")"));
}

QString entryCaption(const QString& answer)
{
    return QStringLiteral("( ") + answer + QStringLiteral(" )");
}

bool StoreAnswer(QuestionStore& store, const AppState& state, const QString& answer)
{
    QVariantList params;
    RowSet row = store.query(QuestionRecord::CurrentQuestionQuery(state, &params), params,
                             QuestionStore::Access::Updatable);
    if (!row.isValid() || row.atEnd())
        return false;
    return row.setField(QStringLiteral("答题"), answer) && row.commit();
}

} // namespace Answers
