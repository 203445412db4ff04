#pragma once

#include "progress/ProgressStatistics.h"

#include <QChartView>

class QScatterSeries;

/// The statistics at a glance: one point per worked section, its completion across and
/// its accuracy up, the whole bank as a larger point and the chosen section marked.
class ProgressChart final : public QChartView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProgressChart)
public:
    explicit ProgressChart(QWidget* parent = nullptr);

    void setStatistics(const ProgressStatistics::Result& result);
    /// Marks one section; a null pointer marks none.
    void markSection(const ProgressStatistics::Row* row);

private:
    static QPointF pointOf(const ProgressStatistics::Row& row);

    QScatterSeries* m_sections;
    QScatterSeries* m_bank;
    QScatterSeries* m_marked;
};
