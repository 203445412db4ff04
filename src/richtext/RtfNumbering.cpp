#include "richtext/RtfNumbering.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int MaxRoman = 3999;
constexpr int MaxLetterRepeat = 64;

QString roman(int value)
{
    static const std::array<std::pair<int, const char*>, 13> parts = { {
        { 1000, "m" },
        { 900, "cm" },
        { 500, "d" },
        { 400, "cd" },
        { 100, "c" },
        { 90, "xc" },
        { 50, "l" },
        { 40, "xl" },
        { 10, "x" },
        { 9, "ix" },
        { 5, "v" },
        { 4, "iv" },
        { 1, "i" },
    } };
    QString text;
    for (const auto& [amount, letters] : parts) {
        for (; value >= amount; value -= amount)
            text += QLatin1StringView(letters);
    }
    return text;
}

QString ordinal(int value)
{
    const int lastTwo = value % 100;
    const int last = value % 10;
    const char* suffix = "th";
    if (lastTwo < 11 || lastTwo > 13)
        suffix = last == 1 ? "st" : last == 2 ? "nd" : last == 3 ? "rd" : "th";
    return QString::number(value) + QLatin1StringView(suffix);
}

} // namespace

QString RtfNumbering::format(int value, Style style)
{
    if (value < 1)
        return QString::number(value);
    switch (style) {
    case Style::Decimal:
        break;
    case Style::UpperLetter:
    case Style::LowerLetter: {
        // a .. z, then aa .. zz, then aaa: the letter repeats, as word processors count.
        const char16_t first = style == Style::UpperLetter ? u'A' : u'a';
        const int repeat = std::min(MaxLetterRepeat, (value - 1) / 26 + 1);
        return QString(repeat, QChar(char16_t(first + (value - 1) % 26)));
    }
    case Style::UpperRoman:
    case Style::LowerRoman:
        if (value > MaxRoman)
            break;
        return style == Style::UpperRoman ? roman(value).toUpper() : roman(value);
    case Style::Ordinal:
        return ordinal(value);
    case Style::Chicago: {
        static const char16_t marks[] = { u'*', u'\u2020', u'\u2021', u'\u00a7' };
        const int repeat = std::min(MaxLetterRepeat, (value - 1) / 4 + 1);
        return QString(repeat, QChar(marks[(value - 1) % 4]));
    }
    }
    return QString::number(value);
}

int RtfNumbering::next(int level, int start)
{
    level = std::clamp(level, 0, Levels - 1);
    int& count = m_counts[size_t(level)];
    count = count == Unset ? start : count + (count < std::numeric_limits<int>::max());
    std::fill(m_counts.begin() + level + 1, m_counts.end(), Unset);
    m_counting = true;
    return count;
}

void RtfNumbering::clear()
{
    m_counts.fill(Unset);
    m_counting = false;
}
