#include "richtext/RichText.h"

#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace {

QString blockText(const QTextBlock& block)
{
    QString text = block.text();
    text.remove(QChar::ObjectReplacementCharacter);
    text.replace(QChar::LineSeparator, u'\n');
    text.replace(QChar::Nbsp, u' ');
    return text;
}

void appendFrame(const QTextFrame* frame, QStringList& lines);

QString cellText(const QTextTableCell& cell)
{
    QStringList lines;
    for (QTextFrame::iterator it = cell.begin(); !it.atEnd(); ++it) {
        if (const QTextFrame* child = it.currentFrame())
            appendFrame(child, lines);
        else
            lines.append(blockText(it.currentBlock()));
    }
    return lines.join(u'\n');
}

void appendTable(const QTextTable* table, QStringList& lines)
{
    for (int row = 0; row < table->rows(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.row() == row && cell.column() == column)
                cells.append(cellText(cell));
        }
        lines.append(cells.join(u'\t'));
    }
}

/// Whether @p it is the empty block that the document keeps before a frame that opens the
/// text or after one that closes it; such blocks hold nothing the writer put there.
bool isFrameFiller(const QTextFrame* frame, QTextFrame::iterator it)
{
    if (it.currentBlock().length() != 1)
        return false;
    QTextFrame::iterator next = it;
    ++next;
    if (it == frame->begin() && !next.atEnd() && next.currentFrame())
        return true;
    return next.atEnd() && it != frame->begin() && (--it).currentFrame();
}

void appendFrame(const QTextFrame* frame, QStringList& lines)
{
    for (QTextFrame::iterator it = frame->begin(); !it.atEnd(); ++it) {
        if (const QTextFrame* child = it.currentFrame()) {
            if (const auto* table = qobject_cast<const QTextTable*>(child))
                appendTable(table, lines);
            else
                appendFrame(child, lines);
        } else if (!isFrameFiller(frame, it)) {
            lines.append(blockText(it.currentBlock()));
        }
    }
}

} // namespace

namespace RichText {

QString plainText(const QByteArray& rtfOrPlain)
{
    QTextDocument doc;
    RtfReader::read(rtfOrPlain, &doc);
    return plainText(doc);
}

QString plainText(const QTextDocument& doc)
{
    QStringList lines;
    appendFrame(doc.rootFrame(), lines);
    return lines.join(u'\n');
}

QByteArray fromPlainText(const QString& text)
{
    QTextDocument doc;
    RtfReader::readPlainText(text, &doc);
    return RtfWriter::write(doc);
}

} // namespace RichText
