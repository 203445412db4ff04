#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

class QuestionStore;

/// The stem and option extracts (tg, xx) of every question of tk, held in memory so
/// that a keyword search scans a few megabytes of text instead of decrypting the bank.
/// Latin case is ignored, as the search statement's lower() does; any other character,
/// quotes, % and _ included, is matched as itself.
class SearchTexts final
{
public:
    /// Loads the extracts unless what is held is still the bank's; false with the reason
    /// when they cannot be read (what was held is then dropped).
    bool refresh(QuestionStore& store, QString* error = nullptr);

    /// The rowids of the questions whose chosen extracts contain @p keyword, ascending.
    std::vector<qint64> find(const QString& keyword, bool inStem, bool inOptions) const;

    int questionCount() const { return int(m_rowids.size()); }

private:
    // Every row's text followed by a NUL, so that no match runs from one row into the next.
    struct Column
    {
        QByteArray text;
        std::vector<quint32> starts;
        void append(const char* bytes, int size);
        void findRows(const QByteArray& needle, std::vector<char>& hit) const;
    };

    std::vector<qint64> m_rowids;
    Column m_stems;
    Column m_options;
    QString m_path;
    qint64 m_revision = -1;
};
