#pragma once

#include <QStringView>

/// The symbol fonts whose byte codes word processors show as Unicode characters: Symbol,
/// Wingdings and Zapf Dingbats. Their text means the glyph at a byte position, not a letter
/// of any code page.
class RtfSymbolFont final
{
public:
    enum class Kind : quint8
    {
        None,
        Symbol,
        Wingdings,
        Dingbats
    };

    RtfSymbolFont() = delete;

    /// The symbol font a font name stands for; None for every other font.
    static Kind forName(QStringView name);

    /// The character that @p code shows in @p kind: a byte, or the private-use character
    /// U+F020..U+F0FF through which Windows reaches a symbol font's bytes. A glyph that no
    /// Unicode character matches stays in that private-use range; for None, and for codes
    /// outside both ranges, @p code itself.
    static char32_t toUnicode(Kind kind, char32_t code);
};
