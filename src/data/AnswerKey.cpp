#include "data/AnswerKey.h"

#include <algorithm>

namespace AnswerKey {
namespace {

using QuestionType::Kind;

Checked refuse(const QString& key, const QString& kindName, const QString& expected)
{
    return { {}, QStringLiteral("答案“%1”不符合%2题：%3").arg(key, kindName, expected) };
}

} // namespace

Checked check(Kind kind, const QString& key, int optionCount)
{
    const QString trimmed = key.trimmed().toUpper();
    if (trimmed.isEmpty())
        return { {}, QStringLiteral("没有答案") };
    const QString typeName = QuestionType::name(kind);
    const QChar last(u'A' + (optionCount > 0 ? qMin(optionCount, MaxOptions) : MaxOptions) - 1);
    const QString range = QStringLiteral("A～%1").arg(last);
    const auto allLetters = [&](const QString& letters) {
        return std::all_of(letters.begin(), letters.end(), [&](QChar c) { return c >= u'A' && c <= last; });
    };
    const auto distinct = [](const QString& letters) {
        QString sorted = letters;
        std::sort(sorted.begin(), sorted.end());
        return std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end() ? sorted : QString();
    };

    switch (kind) {
    case Kind::SingleChoice:
        if (trimmed.size() != 1 || !allLetters(trimmed))
            return refuse(key, typeName, QStringLiteral("应为一个字母（%1）").arg(range));
        return { trimmed, {} };
    case Kind::Judgement:
        if (trimmed != QLatin1String("A") && trimmed != QLatin1String("B"))
            return refuse(key, typeName, QStringLiteral("应为A（正确）或B（错误）"));
        return { trimmed, {} };
    case Kind::MultipleChoice:
    case Kind::Indefinite: {
        const int least = kind == Kind::MultipleChoice ? 2 : 1;
        const QString sorted = allLetters(trimmed) ? distinct(trimmed) : QString();
        if (sorted.size() < least)
            return refuse(key, typeName,
                QStringLiteral("应为%1个或以上不重复的字母（%2）")
                    .arg(least == 2 ? QStringLiteral("两") : QStringLiteral("一"), range));
        return { sorted, {} };
    }
    case Kind::B:
    case Kind::A3:
        if (!allLetters(trimmed))
            return refuse(key, typeName, QStringLiteral("应为每个小题一个字母（%1）").arg(range));
        return { trimmed, {} };
    case Kind::A4:
        if (!std::all_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c == u'对' || c == u'错'; }))
            return refuse(key, typeName, QStringLiteral("应为每个小题一个“对”或“错”"));
        return { trimmed, {} };
    case Kind::ShortAnswer:
    case Kind::Comprehensive:
    case Kind::Calculation:
        // Assessed by the user; the key is a reference text, kept as written.
        return { key.trimmed(), {} };
    case Kind::Other:
        break;
    }
    return { {}, QStringLiteral("未知的题型") };
}

} // namespace AnswerKey
