#include "richtext/RtfDocumentBuilder.h"

#include <QImage>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

QString RtfDocumentBuilder::cleanText(QString text)
{
    qsizetype out = 0;
    const qsizetype size = text.size();
    QChar* chars = text.data();
    for (qsizetype i = 0; i < size; ++i) {
        char16_t c = chars[i].unicode();
        if ((c < 0x20 && c != u'\t') || c == 0x7f)
            continue;
        if ((c >= 0xfdd0 && c <= 0xfdef) || c == 0xfffc || c == 0xfffe || c == 0xffff)
            continue;
        if (c == 0x2029)
            c = 0x2028;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 < size && QChar::isLowSurrogate(chars[i + 1].unicode())) {
                chars[out++] = QChar(c);
                chars[out++] = chars[++i];
                continue;
            }
            c = QChar::ReplacementCharacter;
        } else if (QChar::isLowSurrogate(c)) {
            c = QChar::ReplacementCharacter;
        }
        chars[out++] = QChar(c);
    }
    text.truncate(out);
    return text;
}

RtfDocumentBuilder::RtfDocumentBuilder(QTextDocument* doc, qsizetype inputSize)
    : m_doc(doc)
    , m_cursor(doc)
    , m_cellBudget(1024 + inputSize / 64)
{ }

QString RtfDocumentBuilder::nextImageName()
{
    return QStringLiteral("rtfimage:%1").arg(++m_images);
}

void RtfDocumentBuilder::insertText(const QString& text, const QTextCharFormat& format, bool inTable)
{
    const QString clean = cleanText(text);
    if (clean.isEmpty())
        return;
    place(inTable);
    m_cursor.insertText(clean, format);
}

void RtfDocumentBuilder::insertImage(const QImage& image, const QTextCharFormat& format, bool inTable)
{
    place(inTable);
    QTextImageFormat imageFormat = format.toImageFormat();
    m_doc->addResource(QTextDocument::ImageResource, QUrl(imageFormat.name()), image);
    m_cursor.insertImage(imageFormat);
}

void RtfDocumentBuilder::endParagraph(const QTextBlockFormat& format, bool inTable)
{
    place(inTable);
    m_cursor.setBlockFormat(format);
    m_cursor.insertBlock();
}

void RtfDocumentBuilder::setRowDefinition(int columns)
{
    m_rowColumns = columns;
}

void RtfDocumentBuilder::endCell(const QTextBlockFormat& format)
{
    if (!enterCell()) {
        m_cursor.insertText(QStringLiteral("\t"));
        return;
    }
    const QTextTableCell cell = m_table->cellAt(m_row, m_column);
    // A cell written as "text\par\cell" holds one paragraph, not a trailing empty one.
    if (m_cursor.block().length() == 1 && m_cursor.position() > cell.firstPosition()) {
        m_cursor.deletePreviousChar();
    } else {
        m_cursor.setBlockFormat(format);
    }
    if (m_column + 1 < m_table->columns()) {
        ++m_column;
        m_cursor = m_table->cellAt(m_row, m_column).firstCursorPosition();
    } else {
        m_cellOverflow = true;
    }
}

void RtfDocumentBuilder::endRow()
{
    if (m_table) {
        m_rowDone = true;
        m_cellOverflow = false;
    } else if (m_tablesExhausted) {
        m_cursor.insertBlock();
    }
}

void RtfDocumentBuilder::finish(const QTextBlockFormat& format)
{
    if (m_table)
        leaveTable();
    m_cursor.setBlockFormat(format);
}

void RtfDocumentBuilder::finishAfterParagraphMark()
{
    if (m_table)
        leaveTable();
    if (m_cursor.block().length() == 1 && sameFrameAsPrevious())
        m_cursor.deletePreviousChar();
}

bool RtfDocumentBuilder::sameFrameAsPrevious() const
{
    const QTextBlock previous = m_cursor.block().previous();
    return previous.isValid() && QTextCursor(previous).currentFrame() == m_cursor.currentFrame();
}

void RtfDocumentBuilder::place(bool inTable)
{
    if (inTable)
        enterCell();
    else if (m_table)
        leaveTable();
}

bool RtfDocumentBuilder::enterCell()
{
    if (m_table && m_rowDone && !startRow())
        leaveTable();
    if (!m_table) {
        const int columns = std::clamp(m_rowColumns, 1, MaxColumns);
        if (m_cellBudget < columns) {
            m_tablesExhausted = true;
            return false;
        }
        m_cellBudget -= columns;
        mergeEmptyBlock();
        QTextTableFormat format;
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setCellPadding(2);
        format.setCellSpacing(0);
        m_table = m_cursor.insertTable(1, columns, format);
        m_row = 0;
        m_column = 0;
        m_rowDone = false;
        m_cellOverflow = false;
        m_cursor = m_table->cellAt(0, 0).firstCursorPosition();
    }
    if (m_cellOverflow) {
        m_cellOverflow = false;
        m_cursor.insertText(QStringLiteral("\t"));
    }
    return true;
}

bool RtfDocumentBuilder::startRow()
{
    const int columns = std::clamp(m_rowColumns, 1, MaxColumns);
    if (columns != m_table->columns() || m_cellBudget < columns)
        return false;
    m_cellBudget -= columns;
    m_table->appendRows(1);
    ++m_row;
    m_column = 0;
    m_rowDone = false;
    m_cellOverflow = false;
    m_cursor = m_table->cellAt(m_row, 0).firstCursorPosition();
    return true;
}

void RtfDocumentBuilder::mergeEmptyBlock()
{
    // The paragraph mark before a table row leaves an empty block that no writer meant.
    if (m_cursor.block().length() == 1 && sameFrameAsPrevious())
        m_cursor.deletePreviousChar();
}

void RtfDocumentBuilder::leaveTable()
{
    m_cursor.setPosition(m_table->lastPosition() + 1);
    m_table = nullptr;
}
