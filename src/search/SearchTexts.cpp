#include "search/SearchTexts.h"

#include "data/QuestionStore.h"
#include "data/SearchTextRepository.h"

#include <algorithm>
#include <cstring>

namespace {

// SQLite's lower() folds only Latin letters; so does this, on UTF-8 bytes, where no
// byte of a multi-byte character falls in the ASCII range.
void foldLatin(char* bytes, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i) {
        if (bytes[i] >= 'A' && bytes[i] <= 'Z')
            bytes[i] = char(bytes[i] - 'A' + 'a');
    }
}

qint64 revisionOf(QuestionStore& store)
{
    // Other connections' commits show in data_version, this one's in textRevision.
    return qint64(store.textRevision()) * 1000003 + SearchTextRepository::dataVersion(store);
}

} // namespace

void SearchTexts::Column::append(const char* bytes, int size)
{
    starts.push_back(quint32(text.size()));
    if (size > 0) {
        const qsizetype at = text.size();
        text.append(bytes, size);
        foldLatin(text.data() + at, size);
    }
    text.append('\0');
}

void SearchTexts::Column::findRows(const QByteArray& needle, std::vector<char>& hit) const
{
    const char* const begin = text.constData();
    const char* const end = begin + text.size();
    const char* from = begin;
    while (from < end) {
        const auto* at = static_cast<const char*>(memmem(from, size_t(end - from), needle.constData(),
            size_t(needle.size())));
        if (!at)
            break;
        const auto row = std::upper_bound(starts.begin(), starts.end(), quint32(at - begin)) - starts.begin() - 1;
        // An empty text holds nothing, not even the empty keyword.
        if (!needle.isEmpty() || *at != '\0')
            hit[size_t(row)] = 1;
        // One hit is enough: go on from the next row.
        from = size_t(row + 1) < starts.size() ? begin + starts[size_t(row + 1)] : end;
    }
}

bool SearchTexts::refresh(QuestionStore& store, QString* error)
{
    const qint64 revision = revisionOf(store);
    if (store.path() == m_path && revision == m_revision)
        return true;
    *this = SearchTexts();

    const bool read = SearchTextRepository::eachExtract(
        store,
        [this](qint64 rowid, QByteArrayView stem, QByteArrayView options) {
            m_rowids.push_back(rowid);
            m_stems.append(stem.data(), int(stem.size()));
            m_options.append(options.data(), int(options.size()));
        },
        error);
    if (!read) {
        *this = SearchTexts();
        return false;
    }
    m_path = store.path();
    m_revision = revision;
    return true;
}

std::vector<qint64> SearchTexts::find(const QString& keyword, bool inStem, bool inOptions) const
{
    QByteArray needle = keyword.toUtf8();
    foldLatin(needle.data(), needle.size());
    std::vector<char> hit(m_rowids.size(), 0);
    if (!needle.contains('\0')) {
        if (inStem)
            m_stems.findRows(needle, hit);
        if (inOptions)
            m_options.findRows(needle, hit);
    }
    std::vector<qint64> rowids;
    for (size_t i = 0; i < hit.size(); ++i) {
        if (hit[i])
            rowids.push_back(m_rowids[i]);
    }
    std::sort(rowids.begin(), rowids.end());
    return rowids;
}
