#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <map>

/// Windows code pages as RTF names them (\ansicpgN, \cpgN, \fcharsetN): byte decoding for the
/// reader and the code-page 936 fallback bytes for the writer.
class RtfCodePage final
{
    Q_DISABLE_COPY_MOVE(RtfCodePage)
public:
    static constexpr int Utf8 = 65001;
    static constexpr int Gbk = 936;
    static constexpr int Western = 1252;

    RtfCodePage() = default;

    /// Code page of a font charset; 0 when the charset means "the document's code page".
    static int fromCharset(int charset);

    /// Decodes @p bytes in @p codePage; unknown code pages fall back to 1252. A byte sequence
    /// that the code page cannot decode becomes U+FFFD; nothing is carried over between calls.
    QString decode(int codePage, QByteArrayView bytes);

    /// The two bytes of @p c in code page 936, or 0 when it has none there.
    static quint16 gbkBytes(char16_t c);

private:
    QStringDecoder* decoderFor(int codePage);

    std::map<int, QStringDecoder> m_decoders;
};
