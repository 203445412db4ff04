#include "data/RowSet.h"

bool RowSet::atEnd() const
{
    return !m_valid || m_pos >= rowCount();
}

int RowSet::rowCount() const
{
    return m_rows.size();
}

void RowSet::next()
{
    if (m_valid && m_pos < rowCount())
        ++m_pos;
}

void RowSet::first()
{
    m_pos = 0;
}

int RowSet::position() const
{
    return atEnd() ? 0 : m_pos + 1;
}

bool RowSet::setPosition(int position)
{
    if (!m_valid || position < 1 || position > rowCount())
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

QVariant RowSet::field(const QString& name) const
{
    return field(columnIndex(name));
}

QVariant RowSet::field(int c) const
{
    if (c < 0 || c >= m_names.size() || atEnd())
        return QVariant();
    return m_rows[m_pos].value(c);
}
