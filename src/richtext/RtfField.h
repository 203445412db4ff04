#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class RtfCodePage;

/// A field (\field) while the reader is inside it: its instruction and the settings of a form
/// field, from which word processors compute what a field with an empty result shows.
class RtfField final
{
public:
    /// A field opened in the group at @p depth when the text read so far had @p outputBefore
    /// characters.
    RtfField(size_t depth, qint64 outputBefore)
        : m_depth(depth)
        , m_outputBefore(outputBefore)
    { }

    size_t depth() const { return m_depth; }
    qint64 outputBefore() const { return m_outputBefore; }

    void appendInstruction(QByteArrayView bytes);
    /// \ffres: the chosen entry or the check box's state; 25 means none was chosen.
    void setResult(int value) { m_result = value; }
    /// \ffdefres: the entry or state shown when none was chosen.
    void setDefaultResult(int value) { m_defaultResult = value; }
    /// Opens the next entry of a drop-down form field (\ffl).
    void startEntry();
    void appendEntry(const QString& text);

    /// What the field shows when its result holds no text: the character of a SYMBOL field,
    /// a check box as ☐ or ☒, a drop-down form field's chosen entry; empty otherwise.
    /// Single bytes decode in @p ansiCodePage.
    QString emptyResultText(RtfCodePage& codePages, int ansiCodePage) const;

private:
    QString symbolText(RtfCodePage& codePages, int ansiCodePage) const;

    size_t m_depth;
    qint64 m_outputBefore;
    QByteArray m_instruction;
    QStringList m_entries;
    int m_result = NoResult;
    int m_defaultResult = 0;

    static constexpr int NoResult = 25;
};
