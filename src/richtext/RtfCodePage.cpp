#include "richtext/RtfCodePage.h"

#include <QStringEncoder>

#include <array>
#include <memory>

namespace {

const char* codecName(int codePage)
{
    switch (codePage) {
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 874:
        return "windows-874";
    case 932:
        return "windows-932";
    case 936:
        return "windows-936";
    case 949:
        return "windows-949";
    case 950:
        return "windows-950";
    case 1250:
        return "windows-1250";
    case 1251:
        return "windows-1251";
    case 1252:
        return "windows-1252";
    case 1253:
        return "windows-1253";
    case 1254:
        return "windows-1254";
    case 1255:
        return "windows-1255";
    case 1256:
        return "windows-1256";
    case 1257:
        return "windows-1257";
    case 1258:
        return "windows-1258";
    case 10000:
        return "macintosh";
    case 54936:
        return "GB18030";
    case RtfCodePage::Utf8:
        return "UTF-8";
    default:
        return nullptr;
    }
}

using GbkTable = std::array<quint16, 0x10000>;

std::unique_ptr<GbkTable> buildGbkTable()
{
    auto table = std::make_unique<GbkTable>();
    table->fill(0);
    QStringDecoder decoder(codecName(RtfCodePage::Gbk), QStringConverter::Flag::Stateless);
    char pair[2];
    for (int lead = 0x81; lead <= 0xfe; ++lead) {
        for (int trail = 0x40; trail <= 0xfe; ++trail) {
            if (trail == 0x7f)
                continue;
            pair[0] = static_cast<char>(lead);
            pair[1] = static_cast<char>(trail);
            const QString s = decoder(QByteArrayView(pair, 2));
            if (s.size() == 1 && s[0] != QChar::ReplacementCharacter && (*table)[s[0].unicode()] == 0)
                (*table)[s[0].unicode()] = static_cast<quint16>(lead << 8 | trail);
        }
    }
    return table;
}

} // namespace

int RtfCodePage::fromCharset(int charset)
{
    switch (charset) {
    case 0:
    case 2: // a symbol font's bytes are glyph positions: never half of a double-byte character
        return Western;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return Gbk;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    default:
        return 0;
    }
}

QStringDecoder* RtfCodePage::decoderFor(int codePage)
{
    // Unknown numbers share one decoder, however many a document names.
    const char* name = codecName(codePage);
    if (!name) {
        codePage = Western;
        name = codecName(Western);
    }
    auto it = m_decoders.find(codePage);
    if (it != m_decoders.end())
        return &it->second;
    QStringDecoder decoder(name, QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringConverter::Latin1, QStringConverter::Flag::Stateless);
    return &m_decoders.emplace(codePage, std::move(decoder)).first->second;
}

QString RtfCodePage::decode(int codePage, QByteArrayView bytes)
{
    if (codePage == Utf8)
        return QString::fromUtf8(bytes);
    bool ascii = true;
    for (const char b : bytes) {
        if (static_cast<uchar>(b) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return QString::fromLatin1(bytes);
    return decoderFor(codePage)->decode(bytes);
}

quint16 RtfCodePage::gbkBytes(char16_t c)
{
    static const std::unique_ptr<GbkTable> table = buildGbkTable();
    return (*table)[c];
}
