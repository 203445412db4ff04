#pragma once

// The one place that includes SQLCipher's header, so that the codec API is always declared.
#ifndef SQLITE_HAS_CODEC
#define SQLITE_HAS_CODEC
#endif
#include <sqlcipher/sqlite3.h>

#include <QString>
#include <QVariant>

namespace sqlite {

/// Binds values to the numbered parameters of a statement: a null QVariant as NULL,
/// byte arrays as blobs, integral and boolean values as integers, the rest as text.
int bindAll(sqlite3_stmt* stmt, const QVariantList& params);

/// The value of a result column as a QVariant (NULL stays a null QVariant).
QVariant columnValue(sqlite3_stmt* stmt, int column);

/// The connection's last error message.
QString errorText(sqlite3* db);

/// Finalizes a statement when it goes out of scope.
struct StatementDeleter
{
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};

} // namespace sqlite
