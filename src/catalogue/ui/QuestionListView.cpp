#include "catalogue/ui/QuestionListView.h"

#include <QHeaderView>
#include <QKeyEvent>

#include <cmath>

QuestionListView::QuestionListView(QuestionListModel* model, QWidget* parent)
    : QTreeView(parent)
    , m_model(model)
{
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideRight);
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(0);
    // The list has no columns until the first reset creates them.
    header()->hide();

    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit rowChosen(index.row() + 1);
    });
    connect(this, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit rowChosen(index.row() + 1);
    });
}

void QuestionListView::keyPressEvent(QKeyEvent* event)
{
    // Moving through the list with the keyboard shows each question, as a click does.
    const int before = currentIndex().row();
    QTreeView::keyPressEvent(event);
    const QModelIndex now = currentIndex();
    if (now.isValid() && now.row() != before)
        emit rowChosen(now.row() + 1);
}

void QuestionListView::followRow(int row)
{
    const QModelIndex index = m_model->index(row - 1, 0);
    if (!index.isValid())
        return;
    setCurrentIndex(index);
    scrollTo(index);
}

void QuestionListView::ResetQuestionList()
{
    m_model->clear();
    if (m_hasColumns)
        return;
    setModel(m_model);
    header()->show();
    m_hasColumns = true;
    const double w = width();
    setColumnWidthPx(1, w / 6 + 10);
    setColumnWidthPx(2, w / 13);
    setColumnWidthPx(3, w * 9 / 13);
    for (int c = 4; c <= 7; ++c)
        setColumnWidthPx(c, 0);
}

void QuestionListView::appendRows(RowSet& selection)
{
    m_model->append(selection);
}

void QuestionListView::setColumnWidthPx(int column, double width)
{
    if (!m_hasColumns || column < 1 || column > QuestionListModel::ColumnCount)
        return;
    const int px = int(std::lround(width));
    setColumnHidden(column - 1, px <= 0);
    if (px > 0)
        setColumnWidth(column - 1, px);
}

double QuestionListView::columnWidthPx(int column) const
{
    if (!m_hasColumns || isColumnHidden(column - 1))
        return 0;
    return columnWidth(column - 1);
}

void QuestionListView::applyQuestionLayout()
{
    const double w = width();
    setColumnWidthPx(3, w * 9 / 13);
    setColumnWidthPx(4, 0);
    setColumnWidthPx(7, 0);
}

void QuestionListView::applyAnswerLayout()
{
    const double w = width();
    setColumnWidthPx(3, w * 4 / 10);
    setColumnWidthPx(4, w / 10);
    setColumnWidthPx(7, w * 1.5 / 10);
}
