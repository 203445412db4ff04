#pragma once

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QList>
#include <QString>

class QTextBlock;
class QTextCharFormat;
class QTextDocument;
class QTextFrame;
class QTextTable;
class QTextTableCell;

/// Writes a QTextDocument as 7-bit RTF that this program's reader, word processors and the
/// Windows rich-edit control read back alike: paragraphs with alignment and indents,
/// fonts, sizes, colours, bold, italic, underline, strike-out, super- and subscript, tables
/// and PNG or JPEG pictures. Text outside ASCII is written as \uN with the code-page 936
/// bytes as fallback ("??" where that code page has no such character).
class RtfWriter final
{
    Q_DISABLE_COPY_MOVE(RtfWriter)
public:
    /// The RTF document of @p doc.
    static QByteArray write(const QTextDocument& doc);

private:
    explicit RtfWriter(const QTextDocument& doc);

    QByteArray document();
    void writeFrame(const QTextFrame* frame);
    void writeTable(const QTextTable* table);
    void writeCell(const QTextTableCell& cell);
    void writeBlock(const QTextBlock& block, bool inTable);
    void writeCharFormat(const QTextCharFormat& format);
    void writeText(const QString& text);
    void writeImage(const QTextCharFormat& format);
    void word(const char* name, int param);

    int fontIndex(const QString& family);
    int colorIndex(const QColor& color);

    const QTextDocument& m_doc;
    QByteArray m_body;
    QList<QString> m_fonts;
    QHash<QString, int> m_fontIndexes;
    QList<QRgb> m_colors;
    QHash<QRgb, int> m_colorIndexes;
};
