#pragma once

#include "progress/ProgressStatistics.h"

#include <QDialog>

class ProgressChart;
class QProgressBar;
class QTreeWidget;
class QuestionStore;
class XPButton;

/// frmtj (统计, statistics). The statistics window "统计分析": one row per question section with its counts
/// and accuracy, the sums in a last row, and a chart beside them. Every activation counts again from the
/// bank; it writes nothing.
class frmtj final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmtj)
public:
    explicit frmtj(QuestionStore& store, QWidget* parent = nullptr);

    /// Clears the list and counts again.
    void run();

    /// The section the candidate chose to practise from the weak spots; empty when none.
    QString sectionToPractise() const { return m_sectionToPractise; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void sortBy(int column);
    void applySort();

    QuestionStore& m_store;
    QTreeWidget* m_ListView1;
    QProgressBar* m_jd;
    XPButton* m_XPButton1;
    ProgressChart* m_chart;
    ProgressStatistics::Result m_result;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    bool m_running = false;
    QString m_sectionToPractise;
};
