#include "richtext/RtfTokenizer.h"

#include <limits>

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

RtfTokenizer::Token RtfTokenizer::next()
{
    const qsizetype size = m_data.size();
    Token token;
    while (m_pos < size && (m_data[m_pos] == '\r' || m_data[m_pos] == '\n'))
        ++m_pos;
    if (m_pos >= size)
        return token;

    const char c = m_data[m_pos];
    if (c == '{') {
        ++m_pos;
        token.kind = Kind::GroupStart;
        return token;
    }
    if (c == '}') {
        ++m_pos;
        token.kind = Kind::GroupEnd;
        return token;
    }
    if (c != '\\') {
        const qsizetype start = m_pos;
        while (m_pos < size) {
            const char t = m_data[m_pos];
            if (t == '\\' || t == '{' || t == '}' || t == '\r' || t == '\n')
                break;
            ++m_pos;
        }
        token.kind = Kind::Text;
        token.text = m_data.sliced(start, m_pos - start);
        return token;
    }

    ++m_pos;
    if (m_pos >= size) {
        token.kind = Kind::ControlSymbol;
        token.symbol = '\\';
        return token;
    }
    const char s = m_data[m_pos];
    if (isLetter(s)) {
        const qsizetype start = m_pos;
        while (m_pos < size && isLetter(m_data[m_pos]))
            ++m_pos;
        token.kind = Kind::ControlWord;
        token.text = m_data.sliced(start, m_pos - start);
        bool negative = false;
        if (m_pos + 1 < size && m_data[m_pos] == '-' && isDigit(m_data[m_pos + 1])) {
            negative = true;
            ++m_pos;
        }
        if (m_pos < size && isDigit(m_data[m_pos])) {
            constexpr qint64 limit = std::numeric_limits<int>::max();
            qint64 value = 0;
            while (m_pos < size && isDigit(m_data[m_pos])) {
                value = std::min(limit, value * 10 + (m_data[m_pos] - '0'));
                ++m_pos;
            }
            token.hasParam = true;
            token.param = static_cast<int>(negative ? -value : value);
        }
        if (m_pos < size && m_data[m_pos] == ' ')
            ++m_pos;
        return token;
    }

    ++m_pos;
    if (s == '\'') {
        const int high = m_pos < size ? hexValue(m_data[m_pos]) : -1;
        const int low = m_pos + 1 < size ? hexValue(m_data[m_pos + 1]) : -1;
        if (high >= 0 && low >= 0) {
            m_pos += 2;
            token.kind = Kind::HexByte;
            token.symbol = static_cast<char>(high * 16 + low);
            return token;
        }
        // A broken escape takes its one hex digit with it.
        if (high >= 0)
            ++m_pos;
        token.kind = Kind::ControlSymbol;
        token.symbol = '\'';
        return token;
    }
    if (s == '\\' || s == '{' || s == '}') {
        token.kind = Kind::Text;
        token.text = m_data.sliced(m_pos - 1, 1);
        return token;
    }
    token.kind = Kind::ControlSymbol;
    token.symbol = (s == '\r' || s == '\n') ? '\n' : s;
    return token;
}

QByteArrayView RtfTokenizer::takeBinary(qint64 count)
{
    const qsizetype available = m_data.size() - m_pos;
    const qsizetype n = count <= 0 ? 0 : static_cast<qsizetype>(std::min<qint64>(count, available));
    const QByteArrayView bytes = m_data.sliced(m_pos, n);
    m_pos += n;
    return bytes;
}
