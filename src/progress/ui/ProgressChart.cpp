#include "progress/ui/ProgressChart.h"

#include <QChart>
#include <QLegendMarker>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>

namespace {

QValueAxis* percentAxis(const QString& title)
{
    auto* axis = new QValueAxis;
    axis->setRange(0, 100);
    axis->setTickCount(6);
    axis->setLabelFormat(QStringLiteral("%d%"));
    axis->setTitleText(title);
    return axis;
}

QScatterSeries* series(const QString& name, const QColor& colour, qreal size)
{
    auto* s = new QScatterSeries;
    s->setName(name);
    s->setColor(colour);
    s->setBorderColor(colour.darker(130));
    s->setMarkerSize(size);
    return s;
}

} // namespace

ProgressChart::ProgressChart(QWidget* parent)
    : QChartView(parent)
    , m_sections(series(QStringLiteral("细目"), QColor(70, 130, 200, 170), 8))
    , m_bank(series(QStringLiteral("全部"), QColor(230, 120, 20), 14))
    , m_marked(series(QStringLiteral("选中的细目"), QColor(200, 30, 30), 12))
{
    setObjectName(QStringLiteral("chart"));
    setRenderHint(QPainter::Antialiasing);
    auto* chart = new QChart;
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->legend()->setAlignment(Qt::AlignBottom);
    QValueAxis* across = percentAxis(QStringLiteral("完成率（已做题数/题量）"));
    QValueAxis* up = percentAxis(QStringLiteral("准确率（做对/已做）"));
    chart->addAxis(across, Qt::AlignBottom);
    chart->addAxis(up, Qt::AlignLeft);
    for (QScatterSeries* s : { m_sections, m_bank, m_marked }) {
        chart->addSeries(s);
        s->attachAxis(across);
        s->attachAxis(up);
    }
    connect(m_sections, &QScatterSeries::hovered, this, [this](const QPointF& point, bool state) {
        if (state)
            QToolTip::showText(QCursor::pos(),
                QStringLiteral("完成率 %1%，准确率 %2%").arg(point.x(), 0, 'f', 1).arg(point.y(), 0, 'f', 1),
                this);
        else
            QToolTip::hideText();
    });
    setChart(chart);
}

QPointF ProgressChart::pointOf(const ProgressStatistics::Row& row)
{
    return { row.completionPercent(), double(row.ratePermille()) / 10 };
}

void ProgressChart::setStatistics(const ProgressStatistics::Result& result)
{
    QList<QPointF> points;
    int notStarted = 0;
    for (const ProgressStatistics::Row& row : result.sections) {
        // A section nobody has worked has no accuracy to place.
        if (row.done == 0)
            ++notStarted;
        else
            points.append(pointOf(row));
    }
    m_sections->replace(points);
    m_bank->replace(result.totals.done == 0 ? QList<QPointF>() : QList<QPointF> { pointOf(result.totals) });
    m_marked->clear();
    chart()->setTitle(QStringLiteral("各细目的完成率与准确率（每点一个细目；%1个细目未做）").arg(notStarted));
}

void ProgressChart::markSection(const ProgressStatistics::Row* row)
{
    m_marked->clear();
    if (row && row->done > 0)
        m_marked->append(pointOf(*row));
}
