#include "practice/Answers.h"

#include "data/AnswerRepository.h"
#include "data/AnswerRule.h"
#include "data/QuestionStore.h"
#include "data/QuestionType.h"

namespace Answers {

Panel panelFor(const QString& type)
{
    using QuestionType::Kind;
    switch (QuestionType::kindOf(type)) {
    case Kind::MultipleChoice:
    case Kind::Indefinite:
        return Panel::MultipleChoice;
    case Kind::SingleChoice:
    case Kind::Judgement:
        return Panel::SingleChoice;
    case Kind::Calculation:
    case Kind::ShortAnswer:
    case Kind::Comprehensive:
        return Panel::SelfAssessment;
    case Kind::A4:
        return Panel::TrueFalse;
    case Kind::B:
    case Kind::A3:
    case Kind::Other:
        break;
    }
    return Panel::None;
}

QString optionLetter(int index)
{
    return index >= 0 && index < 5 ? QString(QChar(u'A' + index)) : QString();
}

bool judgedOnLeaving(const QString& type)
{
    return panelFor(type) == Panel::MultipleChoice;
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
    std::array<bool, 5> ticks {};
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
    return text.isEmpty() ? QStringLiteral("(    )")
                          : QString(QStringLiteral("(") + text + QStringLiteral(")"));
}

QString entryCaption(const QString& answer)
{
    return QStringLiteral("( ") + answer + QStringLiteral(" )");
}

QuestionKey bankKey(QuestionStore& store, QuestionTable table, const QuestionKey& key)
{
    if (table == QuestionTable::Bank)
        return key;
    // A working set copied from a section keeps tk's numbers and has no entries here.
    const QVariant number = AnswerRepository::bankNumber(store, key);
    return number.isNull() ? key : QuestionKey { key.code, number.toString() };
}

WriteResult StoreAnswer(
    QuestionStore& store, QuestionTable table, const QuestionKey& key, const QString& answer)
{
    if (!key.isValid())
        return WriteResult::nothing(QStringLiteral("当前没有试题"));
    return store.writeTransaction([&] {
        // A grouped row stands for several questions: one entry cannot answer them all.
        const QVariant type = AnswerRepository::type(store, table, key);
        if (!type.isNull() && panelFor(type.toString()) == Panel::None)
            return WriteResult::nothing(QStringLiteral("这道题不在作答区作答"));
        const WriteResult result = AnswerRepository::setAnswer(store, table, key, answer);
        if (result.isDone() && result.rows() == 0)
            return WriteResult::nothing(QStringLiteral("当前试题已不在题库中"));
        return result;
    });
}

WriteResult ClearAnswers(QuestionStore& store, QuestionTable table, const QString& code)
{
    return AnswerRepository::clearSection(store, table, code);
}

} // namespace Answers
