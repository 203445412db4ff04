#include "catalogue/QuestionFilters.h"

#include "data/Settings.h"

#include "data/QuestionType.h"

#include <QVector>

#include <optional>

namespace QuestionFilters {
namespace {

using Answers = QuestionListRepository::Answers;

// The practice filter's choices; none for any other text.
std::optional<Answers> practiceChoice(const QString& choice)
{
    if (choice == QStringLiteral("全部题目"))
        return Answers::All;
    if (choice == QStringLiteral("已做题目"))
        return Answers::Answered;
    if (choice == QStringLiteral("未做题目"))
        return Answers::Unanswered;
    if (choice == QStringLiteral("做错题目"))
        return Answers::Wrong;
    return std::nullopt;
}

} // namespace

QStringList filterTypes()
{
    QStringList types;
    for (const QString& name : QuestionType::slotNames())
        types << name;
    return types;
}

QString TypeFilterText(const QVector<bool>& ticked)
{
    const QStringList types = filterTypes();
    QString text;
    for (int i = 0; i < types.size() && i < ticked.size(); ++i) {
        if (ticked[i])
            text += types[i];
    }
    return text;
}

Selection section(const QString& code)
{
    return QuestionListRepository::section(code);
}

bool isPersonalList(const QString& nodeText)
{
    return nodeText == QStringLiteral("个人收藏试题") || nodeText == QStringLiteral("个人做错的题")
        || nodeText == QStringLiteral("个人做过的题");
}

Selection personal(const QString& nodeText, QString* title)
{
    if (nodeText == QStringLiteral("个人收藏试题")) {
        *title = QStringLiteral("个人收藏试题");
        return QuestionListRepository::favourites(Answers::All);
    }
    if (nodeText == QStringLiteral("个人做错的题")) {
        *title = QStringLiteral("个人收藏做错的试题");
        return QuestionListRepository::favourites(Answers::Wrong);
    }
    if (nodeText == QStringLiteral("个人做过的题")) {
        *title = QStringLiteral("个人收藏做过的试题");
        return QuestionListRepository::favourites(Answers::Answered);
    }
    return {};
}

Selection practice(const QString& choice, const QString& types, const QString& code)
{
    const std::optional<Answers> answers = practiceChoice(choice);
    return answers ? QuestionListRepository::section(code, *answers, types) : QuestionListRepository::bank();
}

Selection review(qint64 day)
{
    return QuestionListRepository::due(day, Settings::reviewCap());
}

Selection reviewFilter(const QString& choice, const QString& types, qint64 day)
{
    const std::optional<Answers> answers = practiceChoice(choice);
    return answers ? QuestionListRepository::due(day, Settings::reviewCap(), *answers, types) : review(day);
}

Selection exam(const QString& choice, const QString& types)
{
    if (choice == QStringLiteral("全部题目"))
        return QuestionListRepository::paper(Answers::All, types);
    if (choice == QStringLiteral("已做过题"))
        return QuestionListRepository::paper(Answers::Answered, types);
    if (choice == QStringLiteral("未做过题"))
        return QuestionListRepository::paper(Answers::Unanswered, types);
    return QuestionListRepository::paper();
}

} // namespace QuestionFilters
