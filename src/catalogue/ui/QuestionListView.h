#pragma once

#include "catalogue/QuestionListModel.h"

#include <QTreeView>

class RowSet;

/// The question list ListView1: seven columns, created by the first reset from the
/// list's width at that moment and never removed; columns of width 0 are hidden.
class QuestionListView final : public QTreeView
{
    Q_OBJECT
public:
    /// Shows @p model, which outlives the view.
    explicit QuestionListView(QuestionListModel* model, QWidget* parent = nullptr);

    QuestionListModel* questions() const { return m_model; }
    /// True once the first reset has created the columns.
    bool hasColumns() const { return m_hasColumns; }

    /// Removes every row; the first call creates the columns.
    void ResetQuestionList();
    /// Appends the rows of an open selection, numbered for display.
    void appendRows(RowSet& selection);
    int rowCount() const { return m_model->rowCount(); }
    /// Highlights the 1-based @p row and scrolls it into view, without choosing it.
    void followRow(int row);

    /// Column widths by the 1-based column numbers of the list; nothing before the
    /// columns exist. A width of 0 hides the column.
    void setColumnWidthPx(int column, double width);
    double columnWidthPx(int column) const;
    /// Column 3 wide, the answers hidden.
    void applyQuestionLayout();
    /// Columns 3, 4 and 7 for reading the answers beside the questions.
    void applyAnswerLayout();

signals:
    /// A row was chosen by a click or the keyboard (1-based).
    void rowChosen(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QuestionListModel* m_model;
    bool m_hasColumns = false;
};
