#pragma once

#include "exam/GradingTally.h"
#include "exam/ScoreReport.h"

#include <QDialog>
#include <QVector>

class QLabel;
class QTreeWidget;
class XPButton;

/// cjtj (成绩统计, score statistics). The score report "成绩统计": the summary per type and the total line,
/// or on request every question with the user's answer beside the key.
class cjtj final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(cjtj)
public:
    /// @p forecastLine, when not empty, sets the score beside what the paper was expected to get.
    cjtj(const GradingTally& tally, const ScoreReport::Points& points,
        const QVector<ScoreReport::DetailRow>& detail, QWidget* parent = nullptr,
        const QString& forecastLine = QString());

    /// Switches between the summary and the detail.
    void cmdmx_Click();

private:
    QTreeWidget* makeList(const QString& name, const QStringList& columns);

    QTreeWidget* m_ListView1;
    QTreeWidget* m_ListView2;
    QLabel* m_fslab;
    XPButton* m_cmdmx;
    XPButton* m_XPButton1;
};
