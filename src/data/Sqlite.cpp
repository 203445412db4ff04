#include "data/Sqlite.h"

#include "data/StreamedRow.h"

namespace sqlite {

int bindAll(sqlite3_stmt* stmt, const QVariantList& params)
{
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& v = params[i];
        const int index = i + 1;
        int rc = SQLITE_OK;
        if (v.isNull()) {
            rc = sqlite3_bind_null(stmt, index);
        } else {
            switch (v.typeId()) {
            case QMetaType::QByteArray: {
                const QByteArray bytes = v.toByteArray();
                rc = sqlite3_bind_blob64(
                    stmt, index, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
                break;
            }
            case QMetaType::Bool:
                rc = sqlite3_bind_int64(stmt, index, v.toBool() ? -1 : 0);
                break;
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::Short:
            case QMetaType::UShort:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Long:
            case QMetaType::ULong:
                rc = sqlite3_bind_int64(stmt, index, v.toLongLong());
                break;
            case QMetaType::Double:
                rc = sqlite3_bind_double(stmt, index, v.toDouble());
                break;
            default: {
                const QByteArray utf8 = v.toString().toUtf8();
                rc = sqlite3_bind_text64(stmt, index, utf8.constData(), sqlite3_uint64(utf8.size()),
                    SQLITE_TRANSIENT, SQLITE_UTF8);
                break;
            }
            }
        }
        if (rc != SQLITE_OK)
            return rc;
    }
    return SQLITE_OK;
}

QVariant columnValue(sqlite3_stmt* stmt, int column)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, column));
    case SQLITE_BLOB: {
        const void* data = sqlite3_column_blob(stmt, column);
        const int size = sqlite3_column_bytes(stmt, column);
        return QVariant(QByteArray(static_cast<const char*>(data), size));
    }
    case SQLITE_TEXT: {
        const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        const int size = sqlite3_column_bytes(stmt, column);
        return QVariant(QString::fromUtf8(data, size));
    }
    default:
        return QVariant();
    }
}

QString errorText(sqlite3* db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("no connection");
}

} // namespace sqlite

qint64 StreamedRow::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

bool StreamedRow::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

double StreamedRow::real(int column) const
{
    return sqlite3_column_double(m_statement, column);
}

QByteArrayView StreamedRow::utf8(int column) const
{
    // The text first: the byte count is of the text it was converted to.
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return QByteArrayView(bytes, sqlite3_column_bytes(m_statement, column));
}

QString StreamedRow::text(int column) const
{
    const QByteArrayView bytes = utf8(column);
    return QString::fromUtf8(bytes.data(), bytes.size());
}
