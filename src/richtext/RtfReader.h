#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

/// Reads RTF documents as the Windows rich-edit control, word processors and this program
/// write them. Input that is not RTF is taken as plain text. Truncated, unbalanced or hostile
/// input yields the text it holds; reading never hangs and never builds a document larger
/// than the input warrants.
class RtfReader final
{
public:
    RtfReader() = delete;

    /// Reads RTF (or plain text, when the bytes are not RTF) into @p doc, replacing its
    /// content and resources. Bytes above 0x7f outside \'xx escapes are UTF-8 when the whole
    /// input is valid UTF-8, so a document held in a QString may be passed as toUtf8() (or
    /// toLatin1() when it is 7-bit). Plain text is taken as UTF-8 when it is valid UTF-8,
    /// otherwise as code page 936.
    static void read(const QByteArray& data, QTextDocument* doc);

    /// Replaces the content of @p doc with @p text, one paragraph per line (LF, CR LF or CR).
    static void readPlainText(const QString& text, QTextDocument* doc);

    /// Whether @p data starts, after blanks and a byte-order mark, as an RTF document.
    static bool isRtf(const QByteArray& data);
};
