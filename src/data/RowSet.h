#pragma once

#include <QHash>
#include <QString>
#include <QVariant>
#include <QVector>

/// The rows of one select statement, read when it opens and moved through one at a
/// time. Writes do not go through row sets: they are the store's own operations.
class RowSet final
{
public:
    RowSet() = default;

    bool isValid() const { return m_valid; }
    QString error() const { return m_error; }

    /// True past the last row (and for an empty set).
    bool atEnd() const;
    void next();
    void first();
    /// 1-based position of the current row; 0 when there is none.
    int position() const;
    /// Makes the row at the 1-based position current; false when there is none.
    bool setPosition(int position);
    int rowCount() const;

    /// The current row's value of a field, matched without regard to case; a null
    /// QVariant when the value is absent, the field unknown or there is no current row.
    QVariant field(const QString& name) const;
    /// The current row's value of the field at @p column (see fieldIndex()).
    QVariant field(int column) const;
    /// The column of a field, matched without regard to case; -1 when unknown.
    int fieldIndex(const QString& name) const { return columnIndex(name); }
    bool hasField(const QString& name) const;
    QStringList fieldNames() const { return m_names; }

private:
    friend class QuestionStore;

    int columnIndex(const QString& name) const;

    bool m_valid = false;
    QString m_error;
    QStringList m_names;
    QHash<QString, int> m_exact; // name as the statement gave it -> column
    QHash<QString, int> m_index; // lower-cased name -> column
    QVector<QVector<QVariant>> m_rows;
    int m_pos = 0; // 0-based index of the current row
};
