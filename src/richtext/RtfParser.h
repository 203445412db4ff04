#pragma once

#include "richtext/RtfCodePage.h"
#include "richtext/RtfDocumentBuilder.h"
#include "richtext/RtfField.h"
#include "richtext/RtfNumbering.h"
#include "richtext/RtfSymbolFont.h"
#include "richtext/RtfTokenizer.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QTextFormat>

#include <map>
#include <vector>

class QTextDocument;

/// The reader's state machine: groups, destinations, character and paragraph properties,
/// font and colour tables, Unicode fallbacks, symbol fonts, paragraph numbers, fields, footnote
/// marks and pictures.
namespace RtfWords {
struct WordInfo;
}

class RtfParser final
{
    Q_DISABLE_COPY_MOVE(RtfParser)
public:
    /// Property of a picture's character format holding the bytes it was read from.
    static constexpr int ImageDataProperty = QTextFormat::UserProperty + 0x5210;
    /// Property holding the picture's kind as written in RTF: "png" or "jpeg".
    static constexpr int ImageKindProperty = QTextFormat::UserProperty + 0x5211;

    RtfParser(QByteArrayView data, QTextDocument* doc);

    void parse();

private:
    enum class Destination : quint8
    {
        Text,
        Skip,
        FontTable,
        ColorTable,
        Picture,
        FieldInstruction,
        FormFieldEntry,
        // The three of a \pn group, in this order.
        Numbering,
        NumberingBefore,
        NumberingAfter,
        Shape
    };
    enum class ByteMode : quint8
    {
        Low,
        High,
        Double
    };
    enum class PictureKind : quint8
    {
        None,
        Png,
        Jpeg,
        Other
    };

    struct CharState
    {
        int font = -1;
        int assocFont = -1;
        int halfPoints = 0;
        int foreground = 0;
        int background = 0;
        int offset = 0;
        quint8 underline = 0;
        bool bold = false;
        bool italic = false;
        bool strike = false;
        bool hidden = false;
        ByteMode byteMode = ByteMode::Low;

        bool operator==(const CharState& o) const;
        bool operator!=(const CharState& o) const { return !(*this == o); }
    };

    struct ParaState
    {
        int left = 0;
        int right = 0;
        int first = 0;
        int before = 0;
        int after = 0;
        Qt::Alignment alignment = Qt::AlignLeft;
        bool inTable = false;
        /// Index of the paragraph's \pn numbering in m_numberings; -1 when it has none.
        int numbering = -1;
    };

    struct Group
    {
        CharState chars;
        ParaState para;
        int unicodeSkip = 1;
        Destination destination = Destination::Text;
        bool unicodeAlternates = false;
    };

    struct Font
    {
        QString name;
        int codePage = 0;
        RtfSymbolFont::Kind symbol = RtfSymbolFont::Kind::None;
    };

    /// The code page of a symbol font: below zero, so that the bytes of its text are mapped
    /// instead of decoded.
    static int symbolCodePage(RtfSymbolFont::Kind kind) { return -static_cast<int>(kind); }

    /// A paragraph numbering of the older kind (\pn): what the reader shows when the
    /// paragraph does not carry its number as text (\pntext, \listtext).
    struct Numbering
    {
        int level = 0;
        bool bullet = false;
        bool continuation = false;
        RtfNumbering::Style style = RtfNumbering::Style::Decimal;
        int start = 1;
        int font = -1;
        QByteArray beforeBytes;
        QByteArray afterBytes;
        QString before;
        QString after;
    };

    struct Picture
    {
        QByteArray data;
        PictureKind kind = PictureKind::None;
        int goalWidth = 0;
        int goalHeight = 0;
        int scaleX = 100;
        int scaleY = 100;
        int nibble = -1;
    };

    void pushGroup();
    void popGroup();
    void controlWord(QByteArrayView name, bool hasParam, int param);
    // controlWord's parts; each returns whether the word was its own.
    bool documentWord(const RtfWords::WordInfo& info, bool hasParam, int param);
    bool destinationWord(const RtfWords::WordInfo& info, int param);
    bool propertyWord(const RtfWords::WordInfo& info, bool hasParam, int param);
    void textWord(const RtfWords::WordInfo& info);
    void controlSymbol(char symbol);
    void text(QByteArrayView bytes);
    void hexByte(char byte);
    void unicodeChar(int value);
    char32_t symbolCharacter(char32_t code) const;
    void binary(int length);

    void appendBytes(QByteArrayView bytes, int codePage);
    void appendChar(char16_t c);
    void appendText(const QString& text);
    void decodePending();
    /// @p bytes in @p codePage, or mapped through a symbol font for a code page below zero.
    QString decodeBytes(int codePage, QByteArrayView bytes);
    void flushRun();
    bool syncRun();
    void startParagraph();
    void endParagraph();
    void paragraphEnded();

    void finishNumbering();
    void closeField();
    qint64 outputSize() const;
    QString footnoteMark();
    bool nextNoteIsEndnote() const;

    int currentFontId() const
    {
        const CharState& c = top().chars;
        if (c.byteMode == ByteMode::Double && c.assocFont >= 0)
            return c.assocFont;
        return c.font >= 0 ? c.font : m_defaultFont;
    }
    int currentCodePage() const;
    int fontCodePage(int font) const;
    QTextCharFormat charFormat(const CharState& chars) const;
    QTextBlockFormat blockFormat(const ParaState& para) const;

    void fontTableText(QByteArrayView bytes);
    void finishFontEntry();
    void colorTableText(QByteArrayView bytes);
    void pictureText(QByteArrayView bytes);
    void finishPicture();

    Group& top() { return m_groups.back(); }
    const Group& top() const { return m_groups.back(); }

    RtfTokenizer m_tokens;
    RtfDocumentBuilder m_builder;
    RtfCodePage m_codePages;
    std::vector<Group> m_groups;
    int m_excessDepth = 0;
    int m_skipCount = 0;
    bool m_rawUtf8 = false;
    bool m_done = false;
    bool m_afterParagraphMark = false;

    int m_ansiCodePage = RtfCodePage::Western;
    int m_defaultFont = -1;
    std::map<int, Font> m_fonts;
    int m_fontEntry = -1;
    QByteArray m_fontNameBytes;
    QString m_fontName;
    std::vector<QColor> m_colors;
    int m_red = -1;
    int m_green = -1;
    int m_blue = -1;
    int m_rowCells = 0;

    std::vector<Numbering> m_numberings;
    Numbering m_numberingDraft;
    RtfNumbering m_paragraphNumbers;
    bool m_paragraphStarted = false;
    bool m_numberTextSeen = false;

    std::vector<RtfField> m_fields;

    RtfNumbering::Style m_footnoteStyle = RtfNumbering::Style::Decimal;
    RtfNumbering::Style m_endnoteStyle = RtfNumbering::Style::Decimal;
    int m_footnoteStart = 1;
    int m_endnoteStart = 1;
    int m_footnotes = 0;
    int m_endnotes = 0;

    QByteArray m_pendingBytes;
    int m_pendingCodePage = 0;
    QString m_pendingText;
    CharState m_runChars;
    bool m_runInTable = false;

    Picture m_picture;
    qint64 m_imagePixelBudget;
};
