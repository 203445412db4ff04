#include "progress/ui/ProgressWindow.h"

#include "controls/MessageBox.h"
#include "controls/XPButton.h"
#include "data/QuestionStore.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QStackedBarSeries>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>

namespace {

QChartView* view(QChart* chart)
{
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto* v = new QChartView(chart);
    v->setRenderHint(QPainter::Antialiasing);
    return v;
}

QValueAxis* countAxis(int largest, const QString& title)
{
    auto* axis = new QValueAxis;
    axis->setRange(0, qMax(5, largest));
    axis->setLabelFormat(QStringLiteral("%d"));
    axis->setTitleText(title);
    axis->applyNiceNumbers();
    return axis;
}

QValueAxis* percentAxis()
{
    auto* axis = new QValueAxis;
    axis->setRange(0, 100);
    axis->setTickCount(6);
    axis->setLabelFormat(QStringLiteral("%d%"));
    return axis;
}

QChartView* dailyChart(const ProgressHistory::Result& result)
{
    auto* right = new QBarSet(QStringLiteral("答对"));
    auto* wrong = new QBarSet(QStringLiteral("答错"));
    right->setColor(QColor(60, 150, 80));
    wrong->setColor(QColor(210, 70, 60));
    QStringList labels;
    int largest = 0;
    for (const ProgressHistory::Day& day : result.days) {
        *right << day.tally.right;
        *wrong << day.tally.answers - day.tally.right;
        largest = qMax(largest, day.tally.answers);
        labels << day.date.toString(QStringLiteral("M/d"));
    }
    auto* series = new QStackedBarSeries;
    series->append(right);
    series->append(wrong);
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("最近%1天每天答题数").arg(result.days.size()));
    chart->addSeries(series);
    auto* across = new QBarCategoryAxis;
    across->append(labels);
    across->setLabelsAngle(-90);
    chart->addAxis(across, Qt::AlignBottom);
    QValueAxis* up = countAxis(largest, QStringLiteral("题数"));
    chart->addAxis(up, Qt::AlignLeft);
    series->attachAxis(across);
    series->attachAxis(up);
    return view(chart);
}

QCategoryAxis* indexAxis(const QStringList& labels)
{
    auto* axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    // Half a step of room at either end keeps the first and last labels inside the chart.
    axis->setRange(-0.5, qMax(0.5, labels.size() - 0.5));
    // Every label on a long history would overlap: about a dozen are shown.
    const int step = qMax(1, int(labels.size()) / 12);
    for (int i = 0; i < labels.size(); i += step)
        axis->append(labels[i], i);
    return axis;
}

QChartView* weeklyChart(const ProgressHistory::Result& result)
{
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("每周正确率（按周一所在日期）"));
    QStringList labels;
    for (const ProgressHistory::Week& week : result.weeks)
        labels << week.monday.toString(QStringLiteral("yyyy/M/d"));
    QCategoryAxis* across = indexAxis(labels);
    QValueAxis* up = percentAxis();
    up->setTitleText(QStringLiteral("正确率"));
    chart->addAxis(across, Qt::AlignBottom);
    chart->addAxis(up, Qt::AlignLeft);

    const auto addLine = [&](const QString& name, auto tallyOf, const QColor& colour, int width) {
        auto* line = new QLineSeries;
        line->setName(name);
        line->setPointsVisible(true);
        QPen pen(colour, width);
        if (width == 1)
            pen.setStyle(Qt::DashLine);
        line->setPen(pen);
        for (int i = 0; i < result.weeks.size(); ++i) {
            const ProgressHistory::Tally& tally = tallyOf(result.weeks[i]);
            if (tally.answers > 0)
                line->append(i, tally.accuracy());
        }
        if (line->count() == 0) {
            delete line;
            return;
        }
        chart->addSeries(line);
        line->attachAxis(across);
        line->attachAxis(up);
    };
    // The overall line leads; the types follow thin and dashed, one colour each.
    addLine(
        QStringLiteral("全部题型"),
        [](const ProgressHistory::Week& w) -> const ProgressHistory::Tally& { return w.tally; },
        QColor(30, 60, 120), 3);
    const QColor typeColours[QuestionType::SlotCount] = { QColor(40, 150, 200), QColor(150, 90, 180),
        QColor(120, 120, 120), QColor(200, 150, 40), QColor(60, 160, 90), QColor(210, 80, 60) };
    for (int slot = 0; slot < QuestionType::SlotCount; ++slot)
        addLine(
            QuestionType::slotName(slot),
            [slot](const ProgressHistory::Week& w) -> const ProgressHistory::Tally& {
                return w.byType[size_t(slot)];
            },
            typeColours[slot], 1);
    return view(chart);
}

QChartView* examChart(const ProgressHistory::Result& result)
{
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("历次模拟考试得分（占满分的百分比）"));
    auto* line = new QLineSeries;
    line->setName(QStringLiteral("得分"));
    line->setPointsVisible(true);
    line->setPointLabelsVisible(true);
    line->setPointLabelsFormat(QStringLiteral("@yPoint%"));
    QStringList labels;
    for (int i = 0; i < result.exams.size(); ++i) {
        const ProgressHistory::ExamScore& exam = result.exams[i];
        const double percent = exam.fullScore > 0 ? 100.0 * exam.score / exam.fullScore : 0.0;
        line->append(i, qRound(percent * 10) / 10.0);
        labels << QStringLiteral("第%1次 %2").arg(i + 1).arg(exam.finished.toString(QStringLiteral("M/d")));
    }
    chart->addSeries(line);
    QCategoryAxis* across = indexAxis(labels);
    QValueAxis* up = percentAxis();
    up->setTitleText(QStringLiteral("得分"));
    chart->addAxis(across, Qt::AlignBottom);
    chart->addAxis(up, Qt::AlignLeft);
    line->attachAxis(across);
    line->attachAxis(up);
    chart->legend()->hide();
    return view(chart);
}

} // namespace

QString ProgressWindow::noAnswersText()
{
    return QStringLiteral("还没有答题记录。\n\n在左侧目录中选择一个章节开始做题，"
                          "这里就会显示每天答了多少题和每周的正确率。");
}

QString ProgressWindow::noExamsText()
{
    return QStringLiteral("还没有模拟考试成绩。\n\n点击工具栏上的“模拟考场”参加一次模拟考试，"
                          "交卷评分后，每次的得分会按顺序显示在这里。");
}

ProgressWindow::ProgressWindow(QuestionStore& store, QWidget* parent, const QDate& today)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_result(ProgressHistory::compute(store, today))
    , m_tabs(new QTabWidget(this))
{
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(QStringLiteral("学习进度"));
    setModal(true);
    resize(860, 600);

    m_tabs->setObjectName(QStringLiteral("tabs"));
    const bool answered = m_result.hasAnswers();
    m_tabs->addTab(page(dailyChart(m_result), noAnswersText(), answered), QStringLiteral("每日答题"));
    m_tabs->addTab(page(weeklyChart(m_result), noAnswersText(), answered), QStringLiteral("每周正确率"));
    m_tabs->addTab(
        page(examChart(m_result), noExamsText(), !m_result.exams.isEmpty()), QStringLiteral("模拟考试成绩"));

    auto* close = new XPButton(QStringLiteral("XPButton1"), QStringLiteral("返回"), this);
    close->setFixedSize(100, 24);
    connect(close, &XPButton::Click, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);

    if (!m_result.ok)
        MessageBox::critical(
            parent, QStringLiteral("学习进度"), QStringLiteral("无法读取答题记录：%1。").arg(m_result.error));
}

QWidget* ProgressWindow::page(QWidget* chart, const QString& empty, bool hasData)
{
    auto* stack = new QStackedWidget;
    auto* label = new QLabel(empty);
    label->setObjectName(QStringLiteral("empty"));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setMargin(40);
    stack->addWidget(label);
    stack->addWidget(chart);
    stack->setCurrentIndex(hasData ? 1 : 0);
    return stack;
}

QString ProgressWindow::emptyText(int tab) const
{
    const auto* stack = qobject_cast<const QStackedWidget*>(m_tabs->widget(tab));
    const auto* label = stack ? qobject_cast<const QLabel*>(stack->currentWidget()) : nullptr;
    return label ? label->text() : QString();
}
