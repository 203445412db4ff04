#pragma once

#include <QString>

#include <array>
#include <limits>

/// Numbers as word processors write them for paragraph numbering (\pn) and footnote marks,
/// and the counters of the numbered paragraphs that a document leaves to the reader.
class RtfNumbering final
{
public:
    enum class Style : quint8
    {
        Decimal,
        UpperLetter,
        LowerLetter,
        UpperRoman,
        LowerRoman,
        Ordinal,
        Chicago
    };

    /// Most levels of a multi-level paragraph numbering; level 0 numbers plain paragraphs.
    static constexpr int Levels = 10;

    RtfNumbering() { clear(); }

    /// @p value written in @p style: "1", "c", "IV", "2nd", or the footnote marks "*", "†",
    /// "‡", "§" that double after the fourth. Values below 1 and Roman numerals beyond 3999
    /// are written in decimal.
    static QString format(int value, Style style);

    /// The number of the next paragraph at @p level (clamped to the levels), counting from
    /// @p start after any paragraph that was not numbered or numbered at a shallower level.
    int next(int level, int start);

    /// A paragraph without a number: the count starts again.
    void restart()
    {
        if (m_counting)
            clear();
    }

private:
    void clear();

    static constexpr int Unset = std::numeric_limits<int>::min();

    std::array<int, Levels> m_counts;
    bool m_counting = false;
};
