#include "data/TextEncoding.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace TextEncoding {
namespace {

// Converts @p bytes from @p encoding to UTF-8 with glibc's iconv, which refuses any
// invalid sequence (Qt 6.4 without ICU has no GBK codec). Returns the offset of the
// first byte that cannot be read, or -1 when all can.
qsizetype convert(const char* encoding, const QByteArray& bytes, QByteArray* utf8)
{
    const qsizetype nul = bytes.indexOf('\0');
    const QByteArray input = nul < 0 ? bytes : bytes.left(nul);
    iconv_t cd = iconv_open("UTF-8", encoding);
    if (cd == iconv_t(-1)) // NOLINT(performance-no-int-to-ptr): iconv_open's own failure value
        return 0;
    utf8->resize(input.size() * 2 + 16);
    char* in = const_cast<char*>(input.constData());
    size_t inLeft = size_t(input.size());
    char* out = utf8->data();
    size_t outLeft = size_t(utf8->size());
    qsizetype bad = -1;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &out, &outLeft) != size_t(-1))
            break;
        if (errno == E2BIG) {
            const qsizetype used = out - utf8->data();
            utf8->resize(utf8->size() * 2);
            out = utf8->data() + used;
            outLeft = size_t(utf8->size() - used);
            continue;
        }
        bad = in - input.constData(); // EILSEQ, or EINVAL: cut off at the end
        break;
    }
    iconv_close(cd);
    utf8->resize(out - utf8->data());
    if (bad < 0 && nul >= 0)
        bad = nul;
    return bad;
}

int lineAt(const QByteArray& bytes, qsizetype offset)
{
    return int(std::count(bytes.constBegin(), bytes.constBegin() + offset, '\n')) + 1;
}

} // namespace

Decoded decode(const QByteArray& bytes)
{
    static const QByteArray Bom("\xEF\xBB\xBF");
    const bool bom = bytes.startsWith(Bom);
    const QByteArray body = bom ? bytes.mid(Bom.size()) : bytes;
    Decoded result;
    QByteArray utf8;
    const qsizetype utf8Bad = convert("UTF-8", body, &utf8);
    if (utf8Bad < 0) {
        result.ok = true;
        result.text = QString::fromUtf8(utf8);
        result.encoding = QStringLiteral("UTF-8");
        return result;
    }
    if (!bom) {
        const qsizetype gbkBad = convert("GB18030", body, &utf8);
        if (gbkBad < 0) {
            result.ok = true;
            result.text = QString::fromUtf8(utf8);
            result.encoding = QStringLiteral("GBK");
            return result;
        }
        result.badLine = lineAt(body, qMax(utf8Bad, gbkBad));
        return result;
    }
    // A byte order mark says UTF-8: the file is read no other way.
    result.badLine = lineAt(body, utf8Bad);
    return result;
}

} // namespace TextEncoding
