#pragma once

#include <QByteArrayView>
#include <QString>

struct sqlite3_stmt;

/// The current row of a select that QuestionStore::stream() reads one row at a time:
/// its values are read in place and last only until the next row.
class StreamedRow final
{
public:
    qint64 integer(int column) const;
    bool isNull(int column) const;
    double real(int column) const;
    QString text(int column) const;
    /// The text's UTF-8 bytes as the engine holds them, without a copy.
    QByteArrayView utf8(int column) const;

private:
    friend class QuestionStore;
    explicit StreamedRow(sqlite3_stmt* statement)
        : m_statement(statement)
    { }

    sqlite3_stmt* m_statement;
};
