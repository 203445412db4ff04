#include "richtext/RtfReader.h"

#include "richtext/RtfCodePage.h"
#include "richtext/RtfDocumentBuilder.h"
#include "richtext/RtfParser.h"

#include <QStringDecoder>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace {

/// Empties the document, then fills it through @p fill in one edit without undo history.
template <typename Fill> void replaceContent(QTextDocument* doc, Fill fill)
{
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    doc->clear();
    QTextCursor batch(doc);
    batch.beginEditBlock();
    fill();
    batch.endEditBlock();
    doc->setUndoRedoEnabled(undo);
}

void insertPlainText(const QString& text, QTextDocument* doc, qsizetype inputSize)
{
    RtfDocumentBuilder builder(doc, inputSize);
    const QTextCharFormat chars;
    const QTextBlockFormat block;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i <= size; ++i) {
        if (i < size && text[i] != u'\n' && text[i] != u'\r')
            continue;
        builder.insertText(text.sliced(start, i - start), chars, false);
        if (i == size)
            break;
        if (text[i] == u'\r' && i + 1 < size && text[i + 1] == u'\n')
            ++i;
        builder.endParagraph(block, false);
        start = i + 1;
    }
    builder.finish(block);
}

/// Where the RTF document in @p data starts, or -1 when it holds none.
qsizetype rtfStart(const QByteArray& data)
{
    qsizetype i = data.startsWith("\xef\xbb\xbf") ? 3 : 0;
    while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    return QByteArrayView(data).sliced(i).startsWith("{\\rtf") ? i : -1;
}

} // namespace

bool RtfReader::isRtf(const QByteArray& data)
{
    return rtfStart(data) >= 0;
}

void RtfReader::read(const QByteArray& data, QTextDocument* doc)
{
    if (!doc)
        return;
    const qsizetype start = rtfStart(data);
    if (start < 0) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        QString text = utf8(data);
        if (utf8.hasError()) {
            RtfCodePage codePages;
            text = codePages.decode(RtfCodePage::Gbk, data);
        }
        if (text.startsWith(QChar::ByteOrderMark))
            text.remove(0, 1);
        replaceContent(doc, [&] { insertPlainText(text, doc, data.size()); });
        return;
    }
    replaceContent(doc, [&] {
        RtfParser parser(QByteArrayView(data).sliced(start), doc);
        parser.parse();
    });
}

void RtfReader::readPlainText(const QString& text, QTextDocument* doc)
{
    if (!doc)
        return;
    replaceContent(doc, [&] { insertPlainText(text, doc, text.size()); });
}
