#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QVector>

class RowSet;

/// The rows of the question list: one row per question row of the bank, numbered
/// for display (a grouped row stands for as many questions as its answer has
/// characters). Column 0 is the row's text; columns 1 to 6 are its sub-items
/// 题型, title, 答案, 题号, 代码 and 答题.
class QuestionListModel final : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        Number,
        Type,
        Title,
        Answer,
        QuestionNo,
        Code,
        Given,
        ColumnCount
    };

    struct Row
    {
        QString text;
        QString type;
        QString title;
        QString answer;
        QString questionNo;
        QString code;
        QString given;
    };

    explicit QuestionListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// Colours the rows right, wrong or not yet done instead of all red.
    void setVerdictColours(bool on);

    void clear();
    /// Appends one row per row of @p selection (read from its current row to its end),
    /// numbered from 1 with grouped rows counted by the characters of their answer.
    void append(RowSet& selection);

    /// The row at the 0-based @p row; a default row when there is none.
    Row row(int row) const { return m_rows.value(row); }
    /// The sub-item (1 to 6) or text (0) of a row, as the other windows read them.
    QString subItem(int row, int column) const;
    void setSubItem(int row, int column, const QString& value);
    void removeRow(int row);

private:
    QColor verdictColour(int row) const;

    QVector<Row> m_rows;
    bool m_verdictColours = false;
};
