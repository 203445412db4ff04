#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

/// Comma- or tab-separated text as spreadsheets write it: a field in double quotes may
/// hold the separator, line breaks and doubled quotes ("").
namespace DelimitedText {

struct Record
{
    int line = 0; ///< the physical line of the file the record starts on, 1-based
    QStringList fields;
};

struct Table
{
    QChar separator; ///< a tab when the first line holds one, else a comma
    QVector<Record> records;
    /// The starting line of a record whose quoted field never closes; 0 when none. The
    /// records before it are read, nothing after it.
    int unterminatedAt = 0;
};

/// Splits @p text into records. Line breaks are \n, \r\n or \r; inside a quoted field
/// each becomes \n. A blank line is a record of one empty field.
Table parse(const QString& text);

/// @p fields as one comma-separated record as RFC 4180 writes it: a field holding a comma,
/// a double quote, CR or LF is put in double quotes with its quotes doubled; CR LF ends it.
QString record(const QStringList& fields);

} // namespace DelimitedText
