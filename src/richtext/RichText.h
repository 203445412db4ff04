#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

/// Conversions between stored rich text and plain text.
namespace RichText {

/// The plain text of an RTF document (or of plain text, when @p rtfOrPlain is not RTF) as the
/// program reads it: paragraphs joined with '\n', line breaks as '\n', table cells separated
/// by '\t' and rows by '\n', pictures left out, non-breaking spaces as blanks.
QString plainText(const QByteArray& rtfOrPlain);

/// The plain text of @p doc by the same rules.
QString plainText(const QTextDocument& doc);

/// The RTF document of a plain text, one paragraph per line.
QByteArray fromPlainText(const QString& text);

} // namespace RichText
