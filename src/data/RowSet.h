#pragma once

#include <QHash>
#include <QSharedPointer>
#include <QString>
#include <QVariant>
#include <QVector>

struct sqlite3;

/// A row set over one statement, in the manner of a keyset cursor: the rows are
/// fixed when it opens, moved through one at a time, and (when updatable) changed
/// in place. Moving to another row or appending a row commits the pending changes.
///
/// Read-only sets hold the selected values. Updatable sets hold only the rowids of
/// the selected rows of their one table and read a row when it becomes current, so
/// a large selection costs little until it is walked.
class RowSet final
{
public:
    RowSet() = default;

    bool isValid() const { return m_valid; }
    QString error() const { return m_error; }
    bool isUpdatable() const { return m_updatable; }

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

    // Updatable sets only.
    bool setField(const QString& name, const QVariant& value);
    /// Appends text to a long-text field of the current row.
    bool appendChunk(const QString& name, const QString& text);
    /// Starts a new row; it becomes the current row and is written by the next commit or move.
    bool addNew();
    /// Writes the pending changes of the current row.
    bool commit();

private:
    friend class QuestionStore;

    bool loadCurrent() const;
    int columnIndex(const QString& name) const;

    bool m_valid = false;
    bool m_updatable = false;
    QString m_error;
    QStringList m_names;
    QHash<QString, int> m_exact; // name as the statement gave it -> column
    QHash<QString, int> m_index; // lower-cased name -> column

    // read-only
    QVector<QVector<QVariant>> m_rows;

    // updatable
    sqlite3* m_db = nullptr;
    QString m_table;
    QVector<qint64> m_keys;
    mutable QVector<QVariant> m_current;
    mutable int m_loaded = -1;
    QHash<int, QVariant> m_pending;
    bool m_adding = false;

    int m_pos = 0; // 0-based index of the current row
};
