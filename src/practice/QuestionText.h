#pragma once

#include <QByteArray>

class QTextDocument;

/// How the question text is presented: the stored document in blue, after two
/// empty lines, indented from both sides.
namespace QuestionText {

/// Left and right indents of the question text, in pixels.
constexpr int LeftIndent = 40;
constexpr int RightIndent = 20;

/// Replaces @p doc with the stored RTF (or plain text) @p document, followed by one line
/// break and preceded by two, in blue whatever colours it carried, indented.
void RenderQuestionText(QTextDocument* doc, const QByteArray& document);

/// Sets the point size of the whole text.
void setFontSize(QTextDocument* doc, int pointSize);

} // namespace QuestionText
