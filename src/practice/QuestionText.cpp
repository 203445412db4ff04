#include "practice/QuestionText.h"

#include "richtext/RtfReader.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace QuestionText {

void RenderQuestionText(QTextDocument* doc, const QByteArray& document)
{
    RtfReader::read(document, doc);

    QTextCursor cursor(doc);
    cursor.movePosition(QTextCursor::Start);
    cursor.insertBlock();

    cursor.select(QTextCursor::Document);
    QTextCharFormat blue;
    blue.setForeground(QColor(0, 0, 255));
    cursor.mergeCharFormat(blue);

    cursor.movePosition(QTextCursor::Start);
    cursor.insertBlock();

    cursor.select(QTextCursor::Document);
    QTextBlockFormat indents;
    indents.setLeftMargin(LeftIndent);
    indents.setRightMargin(RightIndent);
    cursor.mergeBlockFormat(indents);
}

void setFontSize(QTextDocument* doc, int pointSize)
{
    QTextCursor cursor(doc);
    cursor.select(QTextCursor::Document);
    QTextCharFormat size;
    size.setFontPointSize(pointSize);
    cursor.mergeCharFormat(size);
}

} // namespace QuestionText
