#include "richtext/RtfField.h"

#include "richtext/RtfCodePage.h"
#include "richtext/RtfSymbolFont.h"

namespace {

constexpr qsizetype MaxInstructionBytes = 256;
constexpr qsizetype MaxEntries = 64;
constexpr qsizetype MaxEntryChars = 256;
constexpr char32_t MaxSymbolCode = 0x10ffff;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

/// The switch argument after "\x" in @p instruction: a quoted text or one word.
QByteArray switchArgument(QByteArrayView instruction, char name)
{
    const QByteArray key = QByteArray("\\") + name;
    qsizetype i = QByteArrayView(instruction).indexOf(key);
    if (i < 0)
        return {};
    i += key.size();
    while (i < instruction.size() && isBlank(instruction[i]))
        ++i;
    if (i < instruction.size() && instruction[i] == '"') {
        const qsizetype end = instruction.indexOf('"', i + 1);
        return instruction.sliced(i + 1, (end < 0 ? instruction.size() : end) - i - 1).toByteArray();
    }
    qsizetype end = i;
    while (end < instruction.size() && !isBlank(instruction[end]) && instruction[end] != '\\')
        ++end;
    return instruction.sliced(i, end - i).toByteArray();
}

/// Code page of a single byte that a field names: a double-byte code page has no character
/// for a byte above 0x7f, so such a byte is Western.
int singleByteCodePage(int codePage)
{
    const bool doubleByte
        = codePage == 932 || codePage == RtfCodePage::Gbk || codePage == 949 || codePage == 950;
    return doubleByte ? RtfCodePage::Western : codePage;
}

bool hasSwitch(QByteArrayView instruction, char name)
{
    const QByteArray key = QByteArray("\\") + name;
    for (qsizetype i = instruction.indexOf(key); i >= 0; i = instruction.indexOf(key, i + 1)) {
        const qsizetype after = i + key.size();
        if (after == instruction.size() || isBlank(instruction[after]))
            return true;
    }
    return false;
}

} // namespace

void RtfField::appendInstruction(QByteArrayView bytes)
{
    m_instruction.append(bytes.first(std::min(bytes.size(), MaxInstructionBytes - m_instruction.size())));
}

void RtfField::startEntry()
{
    if (m_entries.size() < MaxEntries)
        m_entries.append(QString());
}

void RtfField::appendEntry(const QString& text)
{
    if (!m_entries.isEmpty() && m_entries.last().size() < MaxEntryChars)
        m_entries.last() += text;
}

QString RtfField::emptyResultText(RtfCodePage& codePages, int ansiCodePage) const
{
    const QByteArray instruction = m_instruction.trimmed();
    qsizetype wordEnd = 0;
    while (wordEnd < instruction.size() && !isBlank(instruction[wordEnd]))
        ++wordEnd;
    const QByteArray keyword = instruction.first(wordEnd).toUpper();
    const int chosen = m_result != NoResult ? m_result : m_defaultResult;
    if (keyword == "FORMCHECKBOX")
        return QString(QChar(chosen ? 0x2612 : 0x2610));
    if (keyword == "FORMDROPDOWN")
        return chosen >= 0 && chosen < m_entries.size() ? m_entries[chosen].trimmed() : QString();
    if (keyword == "SYMBOL")
        return symbolText(codePages, ansiCodePage);
    return {};
}

QString RtfField::symbolText(RtfCodePage& codePages, int ansiCodePage) const
{
    const QByteArrayView rest = QByteArrayView(m_instruction).trimmed().sliced(6).trimmed();
    qsizetype digits = 0;
    while (digits < rest.size() && !isBlank(rest[digits]) && rest[digits] != '\\')
        ++digits;
    bool ok = false;
    const qlonglong value = rest.first(digits).toLongLong(&ok, 0);
    if (!ok || value <= 0 || value > MaxSymbolCode)
        return {};
    auto code = static_cast<char32_t>(value);
    const auto font = RtfSymbolFont::forName(QString::fromLatin1(switchArgument(rest, 'f')));
    if (font != RtfSymbolFont::Kind::None) {
        code = RtfSymbolFont::toUnicode(font, code);
    } else if (!hasSwitch(rest, 'u')) {
        // Without \u the number is a character of the ANSI code page, or with \j of Shift-JIS.
        const bool shiftJis = hasSwitch(rest, 'j');
        if (code <= 0xff || (shiftJis && code <= 0xffff)) {
            QByteArray bytes;
            if (code > 0xff)
                bytes.append(static_cast<char>(code >> 8));
            bytes.append(static_cast<char>(code & 0xff));
            return codePages.decode(shiftJis ? 932 : singleByteCodePage(ansiCodePage), bytes);
        }
    }
    return QString::fromUcs4(&code, 1);
}
