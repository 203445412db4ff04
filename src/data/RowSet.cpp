#include "data/RowSet.h"

#include "data/Sqlite.h"

#include <memory>

using Statement = std::unique_ptr<sqlite3_stmt, sqlite::StatementDeleter>;

bool RowSet::atEnd() const
{
    if (!m_valid)
        return true;
    if (m_adding)
        return false;
    return m_pos >= rowCount();
}

int RowSet::rowCount() const
{
    return m_updatable ? m_keys.size() : m_rows.size();
}

void RowSet::next()
{
    if (!m_valid)
        return;
    commit();
    if (m_pos < rowCount())
        ++m_pos;
}

void RowSet::first()
{
    if (!m_valid)
        return;
    commit();
    m_pos = 0;
}

int RowSet::position() const
{
    return atEnd() ? 0 : m_pos + 1;
}

bool RowSet::setPosition(int position)
{
    if (!m_valid)
        return false;
    commit();
    if (position < 1 || position > rowCount())
        return false;
    m_pos = position - 1;
    return true;
}

int RowSet::columnIndex(const QString& name) const
{
    if (const auto it = m_exact.constFind(name); it != m_exact.constEnd())
        return *it;
    return m_index.value(name.toLower(), -1);
}

bool RowSet::hasField(const QString& name) const
{
    return columnIndex(name) >= 0;
}

bool RowSet::loadCurrent() const
{
    if (m_adding)
        return true;
    if (m_loaded == m_pos)
        return true;
    m_current.clear();
    m_loaded = -1;
    if (m_pos < 0 || m_pos >= m_keys.size())
        return false;
    const QByteArray sql = (QStringLiteral("select * from ") + m_table + QStringLiteral(" where rowid=?")).toUtf8();
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.constData(), -1, &raw, nullptr) != SQLITE_OK)
        return false;
    Statement stmt(raw);
    sqlite3_bind_int64(raw, 1, m_keys[m_pos]);
    if (sqlite3_step(raw) != SQLITE_ROW)
        return false;
    const int n = sqlite3_column_count(raw);
    m_current.resize(n);
    for (int c = 0; c < n; ++c)
        m_current[c] = sqlite::columnValue(raw, c);
    m_loaded = m_pos;
    return true;
}

QVariant RowSet::field(const QString& name) const
{
    return field(columnIndex(name));
}

QVariant RowSet::field(int c) const
{
    if (c < 0 || c >= m_names.size() || atEnd())
        return QVariant();
    if (!m_updatable)
        return m_rows[m_pos].value(c);
    if (auto it = m_pending.constFind(c); it != m_pending.constEnd())
        return *it;
    if (!loadCurrent())
        return QVariant();
    return m_current.value(c);
}

bool RowSet::setField(const QString& name, const QVariant& value)
{
    const int c = columnIndex(name);
    if (!m_updatable || c < 0 || atEnd())
        return false;
    m_pending.insert(c, value);
    return true;
}

bool RowSet::appendChunk(const QString& name, const QString& text)
{
    return setField(name, QString(field(name).toString() + text));
}

bool RowSet::addNew()
{
    if (!m_updatable)
        return false;
    commit();
    m_adding = true;
    m_pending.clear();
    return true;
}

bool RowSet::commit()
{
    if (!m_updatable || (!m_adding && m_pending.isEmpty()))
        return true;

    QStringList columns;
    QVariantList values;
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it) {
        columns << m_names[it.key()];
        values << it.value();
    }
    QString sql;
    if (m_adding) {
        sql = QStringLiteral("insert into ") + m_table + QStringLiteral("(") + columns.join(u',')
            + QStringLiteral(") values(") + QStringList(columns.size(), QStringLiteral("?")).join(u',')
            + QStringLiteral(")");
        if (columns.isEmpty())
            sql = QStringLiteral("insert into ") + m_table + QStringLiteral(" default values");
    } else {
        sql = QStringLiteral("update ") + m_table + QStringLiteral(" set ") + columns.join(QStringLiteral("=?,"))
            + QStringLiteral("=? where rowid=?");
        values << m_keys.value(m_pos);
    }
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(m_db, utf8.constData(), -1, &raw, nullptr);
    Statement stmt(raw);
    if (rc == SQLITE_OK)
        rc = sqlite::bindAll(raw, values);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(raw);
    m_pending.clear();
    const bool wasAdding = std::exchange(m_adding, false);
    if (rc != SQLITE_DONE) {
        m_error = sqlite::errorText(m_db);
        return false;
    }
    if (wasAdding) {
        m_keys.append(sqlite3_last_insert_rowid(m_db));
        m_pos = m_keys.size() - 1;
    }
    m_loaded = -1;
    return true;
}
