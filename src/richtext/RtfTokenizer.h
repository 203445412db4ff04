#pragma once

#include <QByteArrayView>

/// Splits RTF bytes into groups, control words, control symbols, \'xx bytes and text runs.
/// Never reads past the end, and every call to next() consumes at least one byte until End.
class RtfTokenizer final
{
    Q_DISABLE_COPY_MOVE(RtfTokenizer)
public:
    enum class Kind
    {
        End,
        GroupStart,
        GroupEnd,
        ControlWord,
        ControlSymbol,
        HexByte,
        Text
    };

    struct Token
    {
        Kind kind = Kind::End;
        /// Name of a control word, or the text of a run (CR and LF never included).
        QByteArrayView text;
        /// Parameter of a control word, clamped to the int range; 0 when hasParam is false.
        int param = 0;
        bool hasParam = false;
        /// The character of a control symbol or the value of a \'xx byte.
        char symbol = 0;
    };

    explicit RtfTokenizer(QByteArrayView data)
        : m_data(data)
    { }

    /// The next token; Kind::End once the input is used up. A run of text stops at a brace,
    /// a backslash, CR or LF; CR and LF outside control words are skipped.
    Token next();

    /// The input not yet read, for a look ahead with a tokenizer of its own.
    QByteArrayView rest() const { return m_data.sliced(m_pos); }

    /// Takes up to @p count raw bytes (the data of \bin); fewer when the input ends first.
    QByteArrayView takeBinary(qint64 count);

private:
    QByteArrayView m_data;
    qsizetype m_pos = 0;
};
