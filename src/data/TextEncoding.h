#pragma once

#include <QByteArray>
#include <QString>

/// Decoding text files whose encoding is not declared: UTF-8 (with or without a byte
/// order mark) or GBK, the encoding Chinese Windows programs save "ANSI" text in.
namespace TextEncoding {

struct Decoded
{
    bool ok = false;
    QString text;
    QString encoding; ///< "UTF-8" or "GBK"; empty when neither fits
    /// When neither fits: the 1-based line holding the first byte that neither reads,
    /// judged by the encoding that read further.
    int badLine = 0;
};

/// Decodes @p bytes as UTF-8 when they are valid UTF-8 (a leading byte order mark is
/// dropped), else as GBK (read as GB18030, its superset). A NUL byte fits neither.
Decoded decode(const QByteArray& bytes);

} // namespace TextEncoding
