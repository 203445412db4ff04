#include "richtext/RtfParser.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextImageFormat>

#include <limits>
#include <string_view>
#include <tuple>
#include <unordered_map>

namespace {

constexpr int MaxGroupDepth = 1024;
constexpr int MaxUnicodeSkip = 16;
constexpr int MaxIndentTwips = 31680;
constexpr int MaxHalfPoints = 3276;
constexpr int MaxColors = 0x10000;
constexpr int MaxFontNameBytes = 256;
constexpr qint64 MaxImagePixels = 4096LL * 4096;
// Compressed pictures decode to far more than their bytes; all of a document's together
// get a fixed allowance and sixteen pixels per input byte.
constexpr qint64 ImagePixelAllowance = 4 * 1024 * 1024;
constexpr qint64 ImagePixelsPerByte = 16;
constexpr double MaxImageExtent = 8192;
constexpr double TwipsPerPixel = 15;
constexpr size_t MaxFieldDepth = 16;
constexpr size_t MaxNumberings = 256;
constexpr int MaxNumber = 32767;
constexpr qsizetype MaxNumberTextBytes = 32;
constexpr int NoteLookahead = 32;
constexpr char32_t PrivateSymbolBase = 0xf000;
// No font a document names: control word parameters stop short of the int minimum.
constexpr int NoRunFont = std::numeric_limits<int>::min();

} // namespace

// The control words the parser knows, shared with its member functions.
namespace RtfWords {

enum class Word
{
    Unknown,
    // document
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    Deff,
    Uc,
    U,
    Bin,
    // destinations
    FontTable,
    ColorTable,
    SkipDestination,
    Pict,
    ShpPict,
    ShapeInstructions,
    ShapeText,
    Upr,
    Ud,
    // font and colour tables
    F,
    FCharset,
    Cpg,
    Red,
    Green,
    Blue,
    // characters
    Plain,
    Fs,
    B,
    I,
    Ul,
    UlNone,
    UlDotted,
    UlDash,
    UlWave,
    Strike,
    V,
    Cf,
    Cb,
    Super,
    Sub,
    NoSuperSub,
    Up,
    Dn,
    Loch,
    Hich,
    Dbch,
    Af,
    Ab,
    Ai,
    // paragraphs
    Par,
    Line,
    Tab,
    Pard,
    Li,
    Ri,
    Fi,
    Sb,
    Sa,
    Ql,
    Qc,
    Qr,
    Qj,
    Intbl,
    Itap,
    // tables
    Trowd,
    Cellx,
    Cell,
    Row,
    NestCell,
    NestRow,
    // pictures
    PngBlip,
    JpegBlip,
    OtherBlip,
    PicWGoal,
    PicHGoal,
    PicScaleX,
    PicScaleY,
    // paragraph numbers
    NumberText,
    Pn,
    PnLevel,
    PnBody,
    PnBullet,
    PnContinue,
    PnStyle,
    PnStart,
    PnFont,
    PnBefore,
    PnAfter,
    // fields
    Field,
    FieldInstruction,
    FormField,
    FormFieldEntry,
    FormFieldResult,
    FormFieldDefault,
    // footnotes
    FootnoteMark,
    FootnoteStyle,
    EndnoteStyle,
    FootnoteStart,
    EndnoteStart,
    // characters by name
    Character,
};

struct WordInfo
{
    Word word;
    /// The character of a Word::Character, the RtfNumbering::Style of a numbering style.
    char16_t value = 0;
};

inline constexpr char16_t style(RtfNumbering::Style s)
{
    return static_cast<char16_t>(s);
}

inline const std::unordered_map<std::string_view, WordInfo>& words()
{
    static const std::unordered_map<std::string_view, WordInfo> table = {
        { "ansi", { Word::Ansi } },
        { "mac", { Word::Mac } },
        { "pc", { Word::Pc } },
        { "pca", { Word::Pca } },
        { "ansicpg", { Word::AnsiCpg } },
        { "deff", { Word::Deff } },
        { "uc", { Word::Uc } },
        { "u", { Word::U } },
        { "bin", { Word::Bin } },
        { "fonttbl", { Word::FontTable } },
        { "colortbl", { Word::ColorTable } },
        { "pict", { Word::Pict } },
        { "shppict", { Word::ShpPict } },
        { "shpinst", { Word::ShapeInstructions } },
        { "shptxt", { Word::ShapeText } },
        { "shprslt", { Word::SkipDestination } },
        { "upr", { Word::Upr } },
        { "ud", { Word::Ud } },
        { "stylesheet", { Word::SkipDestination } },
        { "info", { Word::SkipDestination } },
        { "header", { Word::SkipDestination } },
        { "headerl", { Word::SkipDestination } },
        { "headerr", { Word::SkipDestination } },
        { "headerf", { Word::SkipDestination } },
        { "footer", { Word::SkipDestination } },
        { "footerl", { Word::SkipDestination } },
        { "footerr", { Word::SkipDestination } },
        { "footerf", { Word::SkipDestination } },
        { "footnote", { Word::SkipDestination } },
        { "annotation", { Word::SkipDestination } },
        { "listtable", { Word::SkipDestination } },
        { "listoverridetable", { Word::SkipDestination } },
        { "revtbl", { Word::SkipDestination } },
        { "rsidtbl", { Word::SkipDestination } },
        { "filetbl", { Word::SkipDestination } },
        { "pgdsctbl", { Word::SkipDestination } },
        { "xe", { Word::SkipDestination } },
        { "tc", { Word::SkipDestination } },
        { "txe", { Word::SkipDestination } },
        { "nonshppict", { Word::SkipDestination } },
        { "nonesttables", { Word::SkipDestination } },
        { "datastore", { Word::SkipDestination } },
        { "xmlnstbl", { Word::SkipDestination } },
        { "xmlopen", { Word::SkipDestination } },
        { "xmlclose", { Word::SkipDestination } },
        { "xmlattrname", { Word::SkipDestination } },
        { "xmlattrvalue", { Word::SkipDestination } },
        { "factoidname", { Word::SkipDestination } },
        { "themedata", { Word::SkipDestination } },
        { "colorschememapping", { Word::SkipDestination } },
        { "latentstyles", { Word::SkipDestination } },
        { "mmathPr", { Word::SkipDestination } },
        { "wgrffmtfilter", { Word::SkipDestination } },
        { "listpicture", { Word::SkipDestination } },
        { "pnseclvl", { Word::SkipDestination } },
        { "docvar", { Word::SkipDestination } },
        { "userprops", { Word::SkipDestination } },
        { "defchp", { Word::SkipDestination } },
        { "defpap", { Word::SkipDestination } },
        { "pgptbl", { Word::SkipDestination } },
        { "protusertbl", { Word::SkipDestination } },
        { "panose", { Word::SkipDestination } },
        { "falt", { Word::SkipDestination } },
        { "sp", { Word::SkipDestination } },
        { "htmltag", { Word::SkipDestination } },
        { "mhtmltag", { Word::SkipDestination } },
        { "datafield", { Word::SkipDestination } },
        { "ffname", { Word::SkipDestination } },
        { "ffdeftext", { Word::SkipDestination } },
        { "ffhelptext", { Word::SkipDestination } },
        { "ffstattext", { Word::SkipDestination } },
        { "ffentrymcr", { Word::SkipDestination } },
        { "ffexitmcr", { Word::SkipDestination } },
        { "field", { Word::Field } },
        { "fldinst", { Word::FieldInstruction } },
        { "formfield", { Word::FormField } },
        { "ffl", { Word::FormFieldEntry } },
        { "ffres", { Word::FormFieldResult } },
        { "ffdefres", { Word::FormFieldDefault } },
        { "listtext", { Word::NumberText } },
        { "pntext", { Word::NumberText } },
        { "pn", { Word::Pn } },
        { "pnlvl", { Word::PnLevel } },
        { "pnlvlbody", { Word::PnBody } },
        { "pnlvlblt", { Word::PnBullet } },
        { "pnlvlcont", { Word::PnContinue } },
        { "pndec", { Word::PnStyle, style(RtfNumbering::Style::Decimal) } },
        { "pncard", { Word::PnStyle, style(RtfNumbering::Style::Decimal) } },
        { "pnucltr", { Word::PnStyle, style(RtfNumbering::Style::UpperLetter) } },
        { "pnlcltr", { Word::PnStyle, style(RtfNumbering::Style::LowerLetter) } },
        { "pnucrm", { Word::PnStyle, style(RtfNumbering::Style::UpperRoman) } },
        { "pnlcrm", { Word::PnStyle, style(RtfNumbering::Style::LowerRoman) } },
        { "pnord", { Word::PnStyle, style(RtfNumbering::Style::Ordinal) } },
        { "pnordt", { Word::PnStyle, style(RtfNumbering::Style::Ordinal) } },
        { "pnstart", { Word::PnStart } },
        { "pnf", { Word::PnFont } },
        { "pntxtb", { Word::PnBefore } },
        { "pntxta", { Word::PnAfter } },
        { "chftn", { Word::FootnoteMark } },
        { "ftnnar", { Word::FootnoteStyle, style(RtfNumbering::Style::Decimal) } },
        { "ftnnalc", { Word::FootnoteStyle, style(RtfNumbering::Style::LowerLetter) } },
        { "ftnnauc", { Word::FootnoteStyle, style(RtfNumbering::Style::UpperLetter) } },
        { "ftnnrlc", { Word::FootnoteStyle, style(RtfNumbering::Style::LowerRoman) } },
        { "ftnnruc", { Word::FootnoteStyle, style(RtfNumbering::Style::UpperRoman) } },
        { "ftnnchi", { Word::FootnoteStyle, style(RtfNumbering::Style::Chicago) } },
        { "aftnnar", { Word::EndnoteStyle, style(RtfNumbering::Style::Decimal) } },
        { "aftnnalc", { Word::EndnoteStyle, style(RtfNumbering::Style::LowerLetter) } },
        { "aftnnauc", { Word::EndnoteStyle, style(RtfNumbering::Style::UpperLetter) } },
        { "aftnnrlc", { Word::EndnoteStyle, style(RtfNumbering::Style::LowerRoman) } },
        { "aftnnruc", { Word::EndnoteStyle, style(RtfNumbering::Style::UpperRoman) } },
        { "aftnnchi", { Word::EndnoteStyle, style(RtfNumbering::Style::Chicago) } },
        { "ftnstart", { Word::FootnoteStart } },
        { "aftnstart", { Word::EndnoteStart } },
        { "objdata", { Word::SkipDestination } },
        { "objclass", { Word::SkipDestination } },
        { "ftnsep", { Word::SkipDestination } },
        { "ftnsepc", { Word::SkipDestination } },
        { "aftnsep", { Word::SkipDestination } },
        { "aftnsepc", { Word::SkipDestination } },
        { "atnid", { Word::SkipDestination } },
        { "atnauthor", { Word::SkipDestination } },
        { "atndate", { Word::SkipDestination } },
        { "atnref", { Word::SkipDestination } },
        { "generator", { Word::SkipDestination } },
        { "bkmkstart", { Word::SkipDestination } },
        { "bkmkend", { Word::SkipDestination } },
        { "f", { Word::F } },
        { "fcharset", { Word::FCharset } },
        { "cpg", { Word::Cpg } },
        { "red", { Word::Red } },
        { "green", { Word::Green } },
        { "blue", { Word::Blue } },
        { "plain", { Word::Plain } },
        { "fs", { Word::Fs } },
        { "b", { Word::B } },
        { "i", { Word::I } },
        { "ul", { Word::Ul } },
        { "ulnone", { Word::UlNone } },
        { "uldb", { Word::Ul } },
        { "ulth", { Word::Ul } },
        { "ulw", { Word::Ul } },
        { "uld", { Word::UlDotted } },
        { "ulthd", { Word::UlDotted } },
        { "uldash", { Word::UlDash } },
        { "uldashd", { Word::UlDash } },
        { "uldashdd", { Word::UlDash } },
        { "ulldash", { Word::UlDash } },
        { "ulthdash", { Word::UlDash } },
        { "ulwave", { Word::UlWave } },
        { "ulhwave", { Word::UlWave } },
        { "ululdbwave", { Word::UlWave } },
        { "strike", { Word::Strike } },
        { "striked", { Word::Strike } },
        { "v", { Word::V } },
        { "cf", { Word::Cf } },
        { "cb", { Word::Cb } },
        { "highlight", { Word::Cb } },
        { "chcbpat", { Word::Cb } },
        { "super", { Word::Super } },
        { "sub", { Word::Sub } },
        { "nosupersub", { Word::NoSuperSub } },
        { "up", { Word::Up } },
        { "dn", { Word::Dn } },
        { "loch", { Word::Loch } },
        { "hich", { Word::Hich } },
        { "dbch", { Word::Dbch } },
        { "af", { Word::Af } },
        { "ab", { Word::Ab } },
        { "ai", { Word::Ai } },
        { "par", { Word::Par } },
        { "sect", { Word::Par } },
        { "page", { Word::Par } },
        { "column", { Word::Par } },
        { "line", { Word::Line } },
        { "tab", { Word::Tab } },
        { "pard", { Word::Pard } },
        { "li", { Word::Li } },
        { "lin", { Word::Li } },
        { "ri", { Word::Ri } },
        { "rin", { Word::Ri } },
        { "fi", { Word::Fi } },
        { "sb", { Word::Sb } },
        { "sa", { Word::Sa } },
        { "ql", { Word::Ql } },
        { "qc", { Word::Qc } },
        { "qr", { Word::Qr } },
        { "qj", { Word::Qj } },
        { "qd", { Word::Qj } },
        { "intbl", { Word::Intbl } },
        { "itap", { Word::Itap } },
        { "trowd", { Word::Trowd } },
        { "cellx", { Word::Cellx } },
        { "cell", { Word::Cell } },
        { "row", { Word::Row } },
        { "nestcell", { Word::NestCell } },
        { "nestrow", { Word::NestRow } },
        { "pngblip", { Word::PngBlip } },
        { "jpegblip", { Word::JpegBlip } },
        { "emfblip", { Word::OtherBlip } },
        { "wmetafile", { Word::OtherBlip } },
        { "macpict", { Word::OtherBlip } },
        { "pmmetafile", { Word::OtherBlip } },
        { "dibitmap", { Word::OtherBlip } },
        { "wbitmap", { Word::OtherBlip } },
        { "picwgoal", { Word::PicWGoal } },
        { "pichgoal", { Word::PicHGoal } },
        { "picscalex", { Word::PicScaleX } },
        { "picscaley", { Word::PicScaleY } },
        { "emdash", { Word::Character, 0x2014 } },
        { "endash", { Word::Character, 0x2013 } },
        { "bullet", { Word::Character, 0x2022 } },
        { "lquote", { Word::Character, 0x2018 } },
        { "rquote", { Word::Character, 0x2019 } },
        { "ldblquote", { Word::Character, 0x201c } },
        { "rdblquote", { Word::Character, 0x201d } },
        { "emspace", { Word::Character, 0x2003 } },
        { "enspace", { Word::Character, 0x2002 } },
        { "qmspace", { Word::Character, 0x2005 } },
        { "zwj", { Word::Character, 0x200d } },
        { "zwnj", { Word::Character, 0x200c } },
        { "zwbo", { Word::Character, 0x200b } },
        { "ltrmark", { Word::Character, 0x200e } },
        { "rtlmark", { Word::Character, 0x200f } },
    };
    return table;
}

} // namespace RtfWords

using namespace RtfWords;

namespace {

bool isUtf8WithHighBytes(QByteArrayView data)
{
    bool high = false;
    for (const char c : data) {
        if (static_cast<uchar>(c) >= 0x80) {
            high = true;
            break;
        }
    }
    if (!high)
        return false;
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = decoder(data);
    return !decoder.hasError();
}

} // namespace

bool RtfParser::CharState::operator==(const CharState& o) const
{
    return std::tie(font, assocFont, halfPoints, foreground, background, offset, underline, bold, italic,
               strike, hidden, byteMode)
        == std::tie(o.font, o.assocFont, o.halfPoints, o.foreground, o.background, o.offset, o.underline,
            o.bold, o.italic, o.strike, o.hidden, o.byteMode);
}

RtfParser::RtfParser(QByteArrayView data, QTextDocument* doc)
    : m_tokens(data)
    , m_builder(doc, data.size())
    , m_rawUtf8(isUtf8WithHighBytes(data))
    , m_imagePixelBudget(ImagePixelAllowance + data.size() * ImagePixelsPerByte)
{
    m_groups.reserve(64);
    m_groups.emplace_back();
    m_runChars.font = NoRunFont;
}

void RtfParser::parse()
{
    using Kind = RtfTokenizer::Kind;
    while (!m_done) {
        const RtfTokenizer::Token token = m_tokens.next();
        if (token.kind == Kind::End)
            break;
        if (m_skipCount > 0) {
            switch (token.kind) {
            case Kind::GroupStart:
            case Kind::GroupEnd:
                m_skipCount = 0;
                break;
            case Kind::Text: {
                const qsizetype n = std::min<qsizetype>(m_skipCount, token.text.size());
                m_skipCount -= static_cast<int>(n);
                if (n < token.text.size())
                    text(token.text.sliced(n));
                continue;
            }
            case Kind::ControlWord:
                --m_skipCount;
                if (token.text == "bin" && token.hasParam)
                    m_tokens.takeBinary(token.param);
                continue;
            default:
                --m_skipCount;
                continue;
            }
        }
        switch (token.kind) {
        case Kind::End:
            break;
        case Kind::GroupStart:
            pushGroup();
            break;
        case Kind::GroupEnd:
            popGroup();
            break;
        case Kind::ControlWord:
            controlWord(token.text, token.hasParam, token.param);
            break;
        case Kind::ControlSymbol:
            controlSymbol(token.symbol);
            break;
        case Kind::HexByte:
            hexByte(token.symbol);
            break;
        case Kind::Text:
            text(token.text);
            break;
        }
    }
    if (top().destination == Destination::Picture)
        finishPicture();
    flushRun();
    if (m_afterParagraphMark)
        m_builder.finishAfterParagraphMark();
    else
        m_builder.finish(blockFormat(top().para));
}

void RtfParser::pushGroup()
{
    if (m_groups.size() >= MaxGroupDepth) {
        ++m_excessDepth;
        return;
    }
    Group group = top();
    group.unicodeAlternates = false;
    m_groups.push_back(group);
}

void RtfParser::popGroup()
{
    if (m_excessDepth > 0) {
        --m_excessDepth;
        return;
    }
    // The document's own group stays, so that its last paragraph keeps its properties.
    if (m_groups.size() <= 2) {
        m_done = true;
        return;
    }
    const Destination closing = top().destination;
    m_groups.pop_back();
    const Destination outer = top().destination;
    if (closing == Destination::FontTable && (outer != Destination::FontTable || !m_fontNameBytes.isEmpty()))
        finishFontEntry();
    if (closing == Destination::Picture && outer != Destination::Picture)
        finishPicture();
    if (closing == Destination::Numbering && outer != Destination::Numbering)
        finishNumbering();
    if (!m_fields.empty() && m_groups.size() < m_fields.back().depth())
        closeField();
}

void RtfParser::controlWord(QByteArrayView name, bool hasParam, int param)
{
    const auto& table = words();
    const auto it = table.find(std::string_view(name.data(), static_cast<size_t>(name.size())));
    const WordInfo info = it == table.end() ? WordInfo { Word::Unknown } : it->second;
    // Document and destination words first; inside the tables, the picture and the numbering
    // groups the words describe those, the rest are character and paragraph properties or text.
    if (documentWord(info, hasParam, param) || destinationWord(info, param)
        || propertyWord(info, hasParam, param))
        return;
    textWord(info);
}

bool RtfParser::documentWord(const WordInfo& info, bool hasParam, int param)
{
    Group& g = top();

    switch (info.word) {
    case Word::Unknown:
        return true;
    case Word::Ansi:
        m_ansiCodePage = RtfCodePage::Western;
        return true;
    case Word::Mac:
        m_ansiCodePage = 10000;
        return true;
    case Word::Pc:
        m_ansiCodePage = 437;
        return true;
    case Word::Pca:
        m_ansiCodePage = 850;
        return true;
    case Word::AnsiCpg:
        if (hasParam && param > 0)
            m_ansiCodePage = param;
        return true;
    case Word::Deff:
        m_defaultFont = param;
        return true;
    case Word::Uc:
        g.unicodeSkip = std::clamp(param, 0, MaxUnicodeSkip);
        return true;
    case Word::U:
        if (hasParam)
            unicodeChar(param);
        return true;
    case Word::Bin:
        binary(hasParam ? param : 0);
        return true;
    case Word::FontTable:
        g.destination = Destination::FontTable;
        m_fontEntry = -1;
        return true;
    case Word::ColorTable:
        g.destination = Destination::ColorTable;
        m_colors.clear();
        m_red = m_green = m_blue = -1;
        return true;
    case Word::SkipDestination:
        g.destination = Destination::Skip;
        return true;
    case Word::Pict:
        if (g.destination == Destination::Text) {
            g.destination = Destination::Picture;
            m_picture = Picture();
        } else {
            g.destination = Destination::Skip;
        }
        return true;
    case Word::ShpPict:
        return true;
    case Word::ShapeInstructions:
        g.destination = g.destination == Destination::Text ? Destination::Shape : Destination::Skip;
        return true;
    case Word::ShapeText:
        // A text box: its text shows where the shape is anchored. The shape's result (\shprslt)
        // is the same box for older readers.
        if (g.destination == Destination::Shape)
            g.destination = Destination::Text;
        return true;
    case Word::Upr:
        g.unicodeAlternates = g.destination == Destination::Text;
        g.destination = Destination::Skip;
        return true;
    case Word::Ud:
        if (m_groups.size() >= 2 && m_groups[m_groups.size() - 2].unicodeAlternates)
            g.destination = Destination::Text;
        return true;
    case Word::NumberText:
        // A paragraph's number is written once as text; a second form of it (\pntext beside
        // \listtext) is a copy for older readers.
        if (g.destination == Destination::Text && m_numberTextSeen)
            g.destination = Destination::Skip;
        m_numberTextSeen = m_numberTextSeen || g.destination == Destination::Text;
        return true;
    case Word::Pn:
        if (g.destination == Destination::Text) {
            g.destination = Destination::Numbering;
            m_numberingDraft = Numbering();
        } else {
            g.destination = Destination::Skip;
        }
        return true;
    case Word::Field:
        if (g.destination == Destination::Text && m_fields.size() < MaxFieldDepth)
            m_fields.emplace_back(m_groups.size(), outputSize());
        return true;
    case Word::FieldInstruction:
        g.destination = g.destination == Destination::Text && !m_fields.empty()
                && m_fields.back().depth() < m_groups.size()
            ? Destination::FieldInstruction
            : Destination::Skip;
        return true;
    case Word::FormField:
        if (g.destination != Destination::FieldInstruction)
            g.destination = Destination::Skip;
        return true;
    case Word::FormFieldEntry:
        if (g.destination == Destination::FieldInstruction) {
            g.destination = Destination::FormFieldEntry;
            m_fields.back().startEntry();
        } else {
            g.destination = Destination::Skip;
        }
        return true;
    case Word::FormFieldResult:
    case Word::FormFieldDefault:
        if (g.destination == Destination::FieldInstruction) {
            RtfField& field = m_fields.back();
            if (info.word == Word::FormFieldResult)
                field.setResult(param);
            else
                field.setDefaultResult(param);
        }
        return true;
    case Word::FootnoteStyle:
        m_footnoteStyle = static_cast<RtfNumbering::Style>(info.value);
        return true;
    case Word::EndnoteStyle:
        m_endnoteStyle = static_cast<RtfNumbering::Style>(info.value);
        return true;
    case Word::FootnoteStart:
        m_footnoteStart = std::clamp(param, 0, MaxNumber);
        return true;
    case Word::EndnoteStart:
        m_endnoteStart = std::clamp(param, 0, MaxNumber);
        return true;
    default:
        break;
    }
    return false;
}

bool RtfParser::destinationWord(const WordInfo& info, int param)
{
    Group& g = top();

    // Words inside the tables and the picture and numbering groups describe those; the rest
    // pass through to the character and paragraph properties below.
    if (g.destination != Destination::Text) {
        if (g.destination >= Destination::Numbering && g.destination <= Destination::NumberingAfter) {
            Numbering& n = m_numberingDraft;
            switch (info.word) {
            case Word::PnLevel:
                n.level = std::clamp(param, 0, RtfNumbering::Levels - 1);
                break;
            case Word::PnBody:
                n.level = 0;
                break;
            case Word::PnBullet:
                n.bullet = true;
                break;
            case Word::PnContinue:
                n.continuation = true;
                break;
            case Word::PnStyle:
                n.style = static_cast<RtfNumbering::Style>(info.value);
                break;
            case Word::PnStart:
                n.start = std::clamp(param, 0, MaxNumber);
                break;
            case Word::PnFont:
                n.font = param;
                break;
            case Word::PnBefore:
                g.destination = Destination::NumberingBefore;
                break;
            case Word::PnAfter:
                g.destination = Destination::NumberingAfter;
                break;
            default:
                break;
            }
            return true;
        }

        if (g.destination == Destination::FontTable) {
            if (info.word == Word::F) {
                if (!m_fontNameBytes.isEmpty() || !m_fontName.isEmpty())
                    finishFontEntry();
                m_fontEntry = param;
                m_fonts[m_fontEntry] = Font();
            } else if (info.word == Word::FCharset && m_fontEntry >= 0) {
                const int cp = RtfCodePage::fromCharset(param);
                if (m_fonts[m_fontEntry].codePage == 0)
                    m_fonts[m_fontEntry].codePage = cp;
            } else if (info.word == Word::Cpg && m_fontEntry >= 0 && param > 0) {
                m_fonts[m_fontEntry].codePage = param;
            }
            return true;
        }
        if (g.destination == Destination::ColorTable) {
            const int value = std::clamp(param, 0, 255);
            if (info.word == Word::Red)
                m_red = value;
            else if (info.word == Word::Green)
                m_green = value;
            else if (info.word == Word::Blue)
                m_blue = value;
            return true;
        }
        if (g.destination == Destination::Picture) {
            switch (info.word) {
            case Word::PngBlip:
                m_picture.kind = PictureKind::Png;
                break;
            case Word::JpegBlip:
                m_picture.kind = PictureKind::Jpeg;
                break;
            case Word::OtherBlip:
                m_picture.kind = PictureKind::Other;
                break;
            case Word::PicWGoal:
                m_picture.goalWidth = std::max(0, param);
                break;
            case Word::PicHGoal:
                m_picture.goalHeight = std::max(0, param);
                break;
            case Word::PicScaleX:
                m_picture.scaleX = std::clamp(param, 1, 1000);
                break;
            case Word::PicScaleY:
                m_picture.scaleY = std::clamp(param, 1, 1000);
                break;
            default:
                break;
            }
            return true;
        }
    }

    return false;
}

bool RtfParser::propertyWord(const WordInfo& info, bool hasParam, int param)
{
    Group& g = top();
    const bool on = !hasParam || param != 0;
    CharState& c = g.chars;
    ParaState& p = g.para;

    switch (info.word) {
    case Word::F:
        c.font = param;
        // After \dbch a font is the double-byte text's, as word processors write East Asian runs
        // (\loch\af0\hich\af0\dbch\f13).
        if (c.byteMode == ByteMode::Double)
            c.assocFont = param;
        return true;
    case Word::Plain:
        c = CharState();
        return true;
    case Word::Fs:
        c.halfPoints = hasParam ? std::clamp(param, 0, MaxHalfPoints) : 0;
        return true;
    case Word::B:
        c.bold = on;
        return true;
    case Word::I:
        c.italic = on;
        return true;
    case Word::Ul:
        c.underline = on ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline;
        return true;
    case Word::UlNone:
        c.underline = QTextCharFormat::NoUnderline;
        return true;
    case Word::UlDotted:
        c.underline = on ? QTextCharFormat::DotLine : QTextCharFormat::NoUnderline;
        return true;
    case Word::UlDash:
        c.underline = on ? QTextCharFormat::DashUnderline : QTextCharFormat::NoUnderline;
        return true;
    case Word::UlWave:
        c.underline = on ? QTextCharFormat::WaveUnderline : QTextCharFormat::NoUnderline;
        return true;
    case Word::Strike:
        c.strike = on;
        return true;
    case Word::V:
        c.hidden = on;
        return true;
    case Word::Cf:
        c.foreground = std::max(0, param);
        return true;
    case Word::Cb:
        c.background = std::max(0, param);
        return true;
    case Word::Super:
        c.offset = 1;
        return true;
    case Word::Sub:
        c.offset = -1;
        return true;
    case Word::NoSuperSub:
        c.offset = 0;
        return true;
    case Word::Up:
        c.offset = (hasParam && param == 0) ? 0 : 1;
        return true;
    case Word::Dn:
        c.offset = (hasParam && param == 0) ? 0 : -1;
        return true;
    case Word::Loch:
        c.byteMode = ByteMode::Low;
        return true;
    case Word::Hich:
        c.byteMode = ByteMode::High;
        return true;
    case Word::Dbch:
        c.byteMode = ByteMode::Double;
        return true;
    case Word::Af:
        c.assocFont = param;
        return true;
    case Word::Ab:
        // Associated properties describe double-byte text only after \dbch.
        if (c.byteMode == ByteMode::Double)
            c.bold = on;
        return true;
    case Word::Ai:
        if (c.byteMode == ByteMode::Double)
            c.italic = on;
        return true;
    case Word::Pard:
        p = ParaState();
        return true;
    case Word::Li:
        p.left = std::clamp(param, -MaxIndentTwips, MaxIndentTwips);
        return true;
    case Word::Ri:
        p.right = std::clamp(param, -MaxIndentTwips, MaxIndentTwips);
        return true;
    case Word::Fi:
        p.first = std::clamp(param, -MaxIndentTwips, MaxIndentTwips);
        return true;
    case Word::Sb:
        p.before = std::clamp(param, 0, MaxIndentTwips);
        return true;
    case Word::Sa:
        p.after = std::clamp(param, 0, MaxIndentTwips);
        return true;
    case Word::Ql:
        p.alignment = Qt::AlignLeft;
        return true;
    case Word::Qc:
        p.alignment = Qt::AlignHCenter;
        return true;
    case Word::Qr:
        p.alignment = Qt::AlignRight;
        return true;
    case Word::Qj:
        p.alignment = Qt::AlignJustify;
        return true;
    case Word::Intbl:
        p.inTable = true;
        return true;
    case Word::Itap:
        p.inTable = param > 0;
        return true;
    case Word::Trowd:
        m_rowCells = 0;
        return true;
    case Word::Cellx:
        m_rowCells = std::min(m_rowCells + 1, RtfDocumentBuilder::MaxColumns);
        return true;
    default:
        break;
    }
    return false;
}

void RtfParser::textWord(const WordInfo& info)
{
    Group& g = top();
    ParaState& p = g.para;

    if (g.destination != Destination::Text)
        return;
    switch (info.word) {
    case Word::Par:
        endParagraph();
        return;
    case Word::Line:
    case Word::NestRow:
        appendChar(QChar::LineSeparator);
        return;
    case Word::Tab:
    case Word::NestCell:
        appendChar(u'\t');
        return;
    case Word::Character:
        appendChar(info.value);
        return;
    case Word::FootnoteMark:
        appendText(footnoteMark());
        return;
    case Word::Cell:
        flushRun();
        m_builder.setRowDefinition(m_rowCells);
        m_builder.endCell(blockFormat(p));
        m_afterParagraphMark = false;
        paragraphEnded();
        return;
    case Word::Row:
        flushRun();
        m_builder.endRow();
        m_afterParagraphMark = false;
        paragraphEnded();
        return;
    default:
        return;
    }
}

void RtfParser::controlSymbol(char symbol)
{
    Group& g = top();
    switch (symbol) {
    case '*':
        if (g.destination != Destination::Skip) {
            const RtfTokenizer::Token next = m_tokens.next();
            // Of the optional destinations only these hold text we show or read; they decide
            // for themselves where they are skipped after all.
            bool known = false;
            if (next.kind == RtfTokenizer::Kind::ControlWord) {
                const auto& table = words();
                const auto it
                    = table.find(std::string_view(next.text.data(), static_cast<size_t>(next.text.size())));
                if (it != table.end()) {
                    switch (it->second.word) {
                    case Word::ShpPict:
                    case Word::ShapeInstructions:
                    case Word::Ud:
                    case Word::Pn:
                    case Word::FieldInstruction:
                    case Word::FormField:
                    case Word::FormFieldEntry:
                        known = true;
                        break;
                    default:
                        break;
                    }
                }
                if (known)
                    controlWord(next.text, next.hasParam, next.param);
            }
            if (!known)
                g.destination = Destination::Skip;
        }
        return;
    case '\n':
        if (g.destination == Destination::Text)
            endParagraph();
        return;
    case '~':
        if (g.destination == Destination::Text)
            appendChar(QChar::Nbsp);
        return;
    case '_':
        if (g.destination == Destination::Text)
            appendChar(0x2011);
        return;
    default:
        return;
    }
}

void RtfParser::text(QByteArrayView bytes)
{
    switch (top().destination) {
    case Destination::Text: {
        if (!m_rawUtf8) {
            appendBytes(bytes, currentCodePage());
            return;
        }
        // Raw bytes above 0x7f are UTF-8 here; \'xx bytes keep the font's code page.
        qsizetype start = 0;
        while (start < bytes.size()) {
            qsizetype end = start;
            const bool high = static_cast<uchar>(bytes[start]) >= 0x80;
            while (end < bytes.size() && (static_cast<uchar>(bytes[end]) >= 0x80) == high)
                ++end;
            const int codePage = high ? RtfCodePage::Utf8 : currentCodePage();
            // A symbol font's bytes are glyphs: they never join the UTF-8 before them.
            if (codePage < 0)
                decodePending();
            appendBytes(bytes.sliced(start, end - start), codePage);
            start = end;
        }
        return;
    }
    case Destination::FieldInstruction:
        m_fields.back().appendInstruction(bytes);
        return;
    case Destination::FormFieldEntry:
        m_fields.back().appendEntry(m_codePages.decode(m_ansiCodePage, bytes));
        return;
    case Destination::NumberingBefore:
    case Destination::NumberingAfter: {
        QByteArray& target = top().destination == Destination::NumberingBefore ? m_numberingDraft.beforeBytes
                                                                               : m_numberingDraft.afterBytes;
        target.append(bytes.first(std::min(bytes.size(), MaxNumberTextBytes - target.size())));
        return;
    }
    case Destination::FontTable:
        fontTableText(bytes);
        return;
    case Destination::ColorTable:
        colorTableText(bytes);
        return;
    case Destination::Picture:
        pictureText(bytes);
        return;
    case Destination::Numbering:
    case Destination::Shape:
    case Destination::Skip:
        return;
    }
}

void RtfParser::hexByte(char byte)
{
    const Destination destination = top().destination;
    if (destination == Destination::Text) {
        appendBytes(QByteArrayView(&byte, 1), currentCodePage());
        return;
    }
    switch (destination) {
    case Destination::FieldInstruction:
    case Destination::FormFieldEntry:
    case Destination::NumberingBefore:
    case Destination::NumberingAfter:
        text(QByteArrayView(&byte, 1));
        return;
    case Destination::FontTable:
        if (m_fontNameBytes.size() < MaxFontNameBytes)
            m_fontNameBytes.append(byte);
        return;
    default:
        return;
    }
}

void RtfParser::unicodeChar(int value)
{
    m_skipCount = top().unicodeSkip;
    char32_t code = value < 0 ? static_cast<char32_t>(value + 0x10000) : static_cast<char32_t>(value);
    if (value < -0x8000 || code > 0x10ffff)
        code = QChar::ReplacementCharacter;
    const Destination destination = top().destination;
    if (destination == Destination::Text) {
        if (code - PrivateSymbolBase <= 0xff)
            code = symbolCharacter(code);
        if (code <= 0xffff) {
            appendChar(static_cast<char16_t>(code));
            return;
        }
    }
    char16_t units[2];
    int count = 1;
    if (code > 0xffff) {
        units[0] = QChar::highSurrogate(code);
        units[1] = QChar::lowSurrogate(code);
        count = 2;
    } else {
        units[0] = static_cast<char16_t>(code);
    }
    for (int i = 0; i < count; ++i) {
        if (destination == Destination::Text) {
            appendChar(units[i]);
        } else if (destination == Destination::FontTable && m_fontName.size() < MaxFontNameBytes) {
            if (!m_fontNameBytes.isEmpty()) {
                m_fontName += m_codePages.decode(fontCodePage(m_fontEntry), m_fontNameBytes);
                m_fontNameBytes.clear();
            }
            m_fontName += QChar(units[i]);
        } else if (destination == Destination::FormFieldEntry) {
            m_fields.back().appendEntry(QString(QChar(units[i])));
        }
    }
}

char32_t RtfParser::symbolCharacter(char32_t code) const
{
    // A symbol font's glyphs come as private-use characters; other fonts' are themselves.
    const auto it = m_fonts.find(currentFontId());
    return it == m_fonts.end() ? code : RtfSymbolFont::toUnicode(it->second.symbol, code);
}

void RtfParser::binary(int length)
{
    const QByteArrayView bytes = m_tokens.takeBinary(length);
    if (top().destination == Destination::Picture)
        m_picture.data.append(bytes);
}

bool RtfParser::syncRun()
{
    const Group& g = top();
    if (g.chars == m_runChars && g.para.inTable == m_runInTable)
        return !g.chars.hidden;
    flushRun();
    m_runChars = g.chars;
    m_runInTable = g.para.inTable;
    if (g.chars.hidden)
        return false;
    if (!m_paragraphStarted)
        startParagraph();
    return true;
}

void RtfParser::appendBytes(QByteArrayView bytes, int codePage)
{
    if (!syncRun())
        return;
    if (!m_pendingBytes.isEmpty() && codePage != m_pendingCodePage) {
        bool ascii = true;
        for (const char b : bytes)
            ascii = ascii && static_cast<uchar>(b) < 0x80;
        // ASCII joins whatever went before: it may be the trail byte of a double-byte character.
        if (!ascii)
            decodePending();
    }
    if (m_pendingBytes.isEmpty())
        m_pendingCodePage = codePage;
    m_pendingBytes.append(bytes);
}

void RtfParser::appendChar(char16_t c)
{
    if (!syncRun())
        return;
    decodePending();
    m_pendingText.append(QChar(c));
}

void RtfParser::appendText(const QString& text)
{
    if (text.isEmpty() || !syncRun())
        return;
    decodePending();
    m_pendingText.append(text);
}

void RtfParser::decodePending()
{
    if (m_pendingBytes.isEmpty())
        return;
    m_pendingText += decodeBytes(m_pendingCodePage, m_pendingBytes);
    m_pendingBytes.clear();
}

QString RtfParser::decodeBytes(int codePage, QByteArrayView bytes)
{
    if (codePage >= 0)
        return m_codePages.decode(codePage, bytes);
    const auto font = static_cast<RtfSymbolFont::Kind>(-codePage);
    QString text;
    for (const char b : bytes) {
        const char32_t c = RtfSymbolFont::toUnicode(font, static_cast<uchar>(b));
        text += QString::fromUcs4(&c, 1);
    }
    return text;
}

void RtfParser::flushRun()
{
    decodePending();
    if (m_pendingText.isEmpty())
        return;
    m_builder.setRowDefinition(m_rowCells);
    m_builder.insertText(m_pendingText, charFormat(m_runChars), m_runInTable);
    m_pendingText.clear();
    m_afterParagraphMark = false;
}

void RtfParser::startParagraph()
{
    m_paragraphStarted = true;
    const int index = top().para.numbering;
    if (index < 0 || m_numberTextSeen)
        return;
    const Numbering& n = m_numberings[static_cast<size_t>(index)];
    if (n.continuation)
        return;
    QString number;
    if (n.bullet)
        number = n.before.isEmpty() ? QStringLiteral("\u2022") : n.before;
    else
        number
            = n.before + RtfNumbering::format(m_paragraphNumbers.next(n.level, n.start), n.style) + n.after;
    appendText(number + u'\t');
}

void RtfParser::endParagraph()
{
    // A hidden paragraph mark joins its paragraph to the next, as word processors show it.
    if (top().chars.hidden)
        return;
    if (!m_paragraphStarted)
        startParagraph();
    flushRun();
    m_builder.setRowDefinition(m_rowCells);
    m_builder.endParagraph(blockFormat(top().para), top().para.inTable);
    m_afterParagraphMark = true;
    paragraphEnded();
}

void RtfParser::paragraphEnded()
{
    if (top().para.numbering < 0)
        m_paragraphNumbers.restart();
    m_paragraphStarted = false;
    m_numberTextSeen = false;
    // The next content of any format passes the run change in syncRun(), which starts the
    // paragraph; the common case of an unchanged format stays one comparison.
    m_runChars.font = NoRunFont;
}

void RtfParser::finishNumbering()
{
    Numbering n = std::move(m_numberingDraft);
    m_numberingDraft = Numbering();
    const int codePage = fontCodePage(n.font);
    n.before = RtfDocumentBuilder::cleanText(decodeBytes(codePage, n.beforeBytes));
    n.after = RtfDocumentBuilder::cleanText(decodeBytes(codePage, n.afterBytes));
    if (m_numberings.size() >= MaxNumberings)
        m_numberings.pop_back();
    m_numberings.push_back(std::move(n));
    top().para.numbering = static_cast<int>(m_numberings.size() - 1);
}

void RtfParser::closeField()
{
    const RtfField field = std::move(m_fields.back());
    m_fields.pop_back();
    if (top().destination == Destination::Text && outputSize() == field.outputBefore())
        appendText(field.emptyResultText(m_codePages, m_ansiCodePage));
}

qint64 RtfParser::outputSize() const
{
    return m_builder.position() + m_pendingText.size() + m_pendingBytes.size();
}

QString RtfParser::footnoteMark()
{
    const bool endnote = nextNoteIsEndnote();
    int& count = endnote ? m_endnotes : m_footnotes;
    count = std::min(count + 1, MaxNumber);
    const int start = endnote ? m_endnoteStart : m_footnoteStart;
    return RtfNumbering::format(start + count - 1, endnote ? m_endnoteStyle : m_footnoteStyle);
}

bool RtfParser::nextNoteIsEndnote() const
{
    // The mark comes before its note, and only the note says whether it is an endnote (\ftnalt).
    RtfTokenizer ahead(m_tokens.rest());
    bool inNote = false;
    for (int i = 0; i < NoteLookahead; ++i) {
        const RtfTokenizer::Token token = ahead.next();
        if (token.kind == RtfTokenizer::Kind::End || (inNote && token.kind == RtfTokenizer::Kind::Text))
            return false;
        if (token.kind != RtfTokenizer::Kind::ControlWord)
            continue;
        if (token.text == "footnote")
            inNote = true;
        else if (inNote && token.text == "ftnalt")
            return true;
    }
    return false;
}

int RtfParser::fontCodePage(int font) const
{
    const auto it = m_fonts.find(font);
    if (it == m_fonts.end() || it->second.codePage == 0)
        return m_ansiCodePage;
    return it->second.codePage;
}

int RtfParser::currentCodePage() const
{
    return fontCodePage(currentFontId());
}

QTextCharFormat RtfParser::charFormat(const CharState& c) const
{
    QTextCharFormat format;
    if (c.font >= 0) {
        // Text read in a symbol font is Unicode now: that font would show other glyphs for it.
        const auto it = m_fonts.find(c.font);
        if (it != m_fonts.end() && !it->second.name.isEmpty()
            && it->second.symbol == RtfSymbolFont::Kind::None)
            format.setFontFamilies({ it->second.name });
    }
    if (c.halfPoints > 0)
        format.setFontPointSize(c.halfPoints / 2.0);
    if (c.bold)
        format.setFontWeight(QFont::Bold);
    if (c.italic)
        format.setFontItalic(true);
    if (c.underline != QTextCharFormat::NoUnderline)
        format.setUnderlineStyle(static_cast<QTextCharFormat::UnderlineStyle>(c.underline));
    if (c.strike)
        format.setFontStrikeOut(true);
    if (c.foreground > 0 && static_cast<size_t>(c.foreground) < m_colors.size()
        && m_colors[c.foreground].isValid())
        format.setForeground(m_colors[c.foreground]);
    if (c.background > 0 && static_cast<size_t>(c.background) < m_colors.size()
        && m_colors[c.background].isValid())
        format.setBackground(m_colors[c.background]);
    if (c.offset > 0)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (c.offset < 0)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    return format;
}

QTextBlockFormat RtfParser::blockFormat(const ParaState& p) const
{
    QTextBlockFormat format;
    if (p.alignment != Qt::AlignLeft)
        format.setAlignment(p.alignment);
    if (p.left != 0)
        format.setLeftMargin(p.left / TwipsPerPixel);
    if (p.right != 0)
        format.setRightMargin(p.right / TwipsPerPixel);
    if (p.first != 0)
        format.setTextIndent(p.first / TwipsPerPixel);
    if (p.before != 0)
        format.setTopMargin(p.before / TwipsPerPixel);
    if (p.after != 0)
        format.setBottomMargin(p.after / TwipsPerPixel);
    return format;
}

void RtfParser::fontTableText(QByteArrayView bytes)
{
    for (const char b : bytes) {
        if (b == ';') {
            finishFontEntry();
        } else if (m_fontEntry >= 0 && m_fontNameBytes.size() < MaxFontNameBytes) {
            m_fontNameBytes.append(b);
        }
    }
}

void RtfParser::finishFontEntry()
{
    if (m_fontEntry >= 0) {
        QString name = m_fontName + m_codePages.decode(fontCodePage(m_fontEntry), m_fontNameBytes);
        Font& font = m_fonts[m_fontEntry];
        if (font.name.isEmpty()) {
            // A name holds no control character, the tab included, however the table wrote it.
            font.name = RtfDocumentBuilder::cleanText(name).remove(u'\t').trimmed();
            font.symbol = RtfSymbolFont::forName(font.name);
            if (font.symbol != RtfSymbolFont::Kind::None)
                font.codePage = symbolCodePage(font.symbol);
        }
    }
    m_fontNameBytes.clear();
    m_fontName.clear();
    m_fontEntry = -1;
}

void RtfParser::colorTableText(QByteArrayView bytes)
{
    for (const char b : bytes) {
        if (b != ';' || m_colors.size() >= MaxColors)
            continue;
        if (m_red < 0 && m_green < 0 && m_blue < 0)
            m_colors.emplace_back();
        else
            m_colors.emplace_back(std::max(0, m_red), std::max(0, m_green), std::max(0, m_blue));
        m_red = m_green = m_blue = -1;
    }
}

void RtfParser::pictureText(QByteArrayView bytes)
{
    if (m_picture.kind == PictureKind::Other)
        return;
    for (const char b : bytes) {
        int value;
        if (b >= '0' && b <= '9')
            value = b - '0';
        else if (b >= 'a' && b <= 'f')
            value = b - 'a' + 10;
        else if (b >= 'A' && b <= 'F')
            value = b - 'A' + 10;
        else
            continue;
        if (m_picture.nibble < 0) {
            m_picture.nibble = value;
        } else {
            m_picture.data.append(static_cast<char>(m_picture.nibble << 4 | value));
            m_picture.nibble = -1;
        }
    }
}

void RtfParser::finishPicture()
{
    Picture picture = std::move(m_picture);
    m_picture = Picture();
    if ((picture.kind != PictureKind::Png && picture.kind != PictureKind::Jpeg) || picture.data.isEmpty())
        return;
    QBuffer buffer(&picture.data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, picture.kind == PictureKind::Png ? "png" : "jpeg");
    const QSize size = reader.size();
    const qint64 pixels = qint64(size.width()) * size.height();
    if (!size.isValid() || pixels > MaxImagePixels || pixels > m_imagePixelBudget)
        return;
    m_imagePixelBudget -= pixels;
    const QImage image = reader.read();
    if (image.isNull())
        return;

    double width = picture.goalWidth > 0 ? picture.goalWidth / TwipsPerPixel : image.width();
    double height = picture.goalHeight > 0 ? picture.goalHeight / TwipsPerPixel : image.height();
    width = std::clamp(width * picture.scaleX / 100.0, 1.0, MaxImageExtent);
    height = std::clamp(height * picture.scaleY / 100.0, 1.0, MaxImageExtent);

    if (!syncRun())
        return;
    flushRun();
    QTextImageFormat format;
    format.merge(charFormat(m_runChars));
    format.setName(m_builder.nextImageName());
    format.setWidth(width);
    format.setHeight(height);
    format.setProperty(ImageDataProperty, picture.data);
    format.setProperty(ImageKindProperty,
        picture.kind == PictureKind::Png ? QByteArrayLiteral("png") : QByteArrayLiteral("jpeg"));
    m_builder.setRowDefinition(m_rowCells);
    m_builder.insertImage(image, format, m_runInTable);
    m_afterParagraphMark = false;
}
