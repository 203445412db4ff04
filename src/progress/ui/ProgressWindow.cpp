#include "progress/ui/ProgressWindow.h"

#include "controls/MessageBox.h"
#include "controls/XPButton.h"
#include "data/AnswerRepository.h"
#include "data/QuestionStore.h"
#include "data/Settings.h"
#include "data/ui/BankMessages.h"
#include "progress/ui/ForecastPage.h"
#include "progress/ui/StudyRecordCommand.h"
#include "progress/ui/WeakSpotsPage.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QSpinBox>
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

QChartView* planChart(const ReviewPlan::Result& plan, const QDate& today, int cap)
{
    auto* reviews = new QBarSet(QStringLiteral("复习题数"));
    reviews->setColor(QColor(40, 110, 180));
    QStringList labels;
    int largest = 0;
    for (int i = 0; i < plan.reviewsPerDay.size(); ++i) {
        *reviews << plan.reviewsPerDay[i];
        largest = qMax(largest, plan.reviewsPerDay[i]);
        labels << today.addDays(i).toString(QStringLiteral("M/d"));
    }
    auto* series = new QBarSeries;
    series->append(reviews);
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("到考试前每天要复习的题数（每天最多%1题）").arg(cap));
    chart->addSeries(series);
    // Months to the exam: a label on every day would not fit, the index axis shows a dozen.
    QCategoryAxis* across = indexAxis(labels);
    chart->addAxis(across, Qt::AlignBottom);
    QValueAxis* up = countAxis(largest, QString());
    chart->addAxis(up, Qt::AlignLeft);
    series->attachAxis(across);
    series->attachAxis(up);
    chart->legend()->hide();
    return view(chart);
}

QString percent(double share)
{
    return QString::number(qRound(share * 1000) / 10.0) + u'%';
}

} // namespace

QString ProgressWindow::noExamDateText()
{
    return QStringLiteral("请在上方设置考试日期。\n\n设置后，这里会按天列出到考试前每天要复习多少题，"
                          "以及考试当天预计能记住多少。");
}

QString ProgressWindow::nothingPractisedText()
{
    return QStringLiteral("还没有练习过的题目。\n\n做过的每道题都会按记忆规律安排复习，"
                          "这里会显示到考试前每天的复习量。");
}

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
    , m_store(store)
    , m_today(today)
    , m_result(ProgressHistory::compute(store, today))
    , m_outlook(BankOutlook::read(store, today.toJulianDay(), &m_outlookError))
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
    m_tabs->addTab(planTab(), QStringLiteral("复习计划"));
    m_tabs->addTab(new ForecastPage(store, m_outlook, m_outlookError), QStringLiteral("预计得分"));
    auto* weakSpots = new WeakSpotsPage(store, m_outlook);
    m_tabs->addTab(weakSpots, QStringLiteral("薄弱环节"));
    connect(weakSpots, &WeakSpotsPage::practiseRequested, this, [this](const QString& code) {
        accept();
        emit practiseRequested(code);
    });

    auto* close = new XPButton(QStringLiteral("XPButton1"), QStringLiteral("返回"), this);
    close->setFixedSize(100, 24);
    connect(close, &XPButton::Click, this, &QDialog::accept);
    auto* exportRecord = new XPButton(QStringLiteral("exportRecord"), QStringLiteral("导出学习记录"), this);
    exportRecord->setFixedSize(120, 24);
    connect(exportRecord, &XPButton::Click, this, [this] { StudyRecordCommand::run(this, m_store); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(exportRecord);
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

QWidget* ProgressWindow::planTab()
{
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("planTab"));
    m_examDate = new QDateEdit;
    m_examDate->setObjectName(QStringLiteral("examDate"));
    m_examDate->setCalendarPopup(true);
    m_examDate->setDisplayFormat(QStringLiteral("yyyy年M月d日"));
    // Today stands for no exam day: the box reads "未设置" until the candidate picks one.
    m_examDate->setMinimumDate(m_today);
    m_examDate->setSpecialValueText(QStringLiteral("未设置"));
    const QDate examDay = Settings::examDate();
    m_examDate->setDate(examDay.isValid() && examDay > m_today ? examDay : m_today);
    m_reviewCap = new QSpinBox;
    m_reviewCap->setObjectName(QStringLiteral("reviewCap"));
    m_reviewCap->setRange(10, 2000);
    m_reviewCap->setSingleStep(10);
    m_reviewCap->setSuffix(QStringLiteral(" 题"));
    m_reviewCap->setValue(Settings::reviewCap());
    m_reviewTarget = new QSpinBox;
    m_reviewTarget->setObjectName(QStringLiteral("reviewTarget"));
    m_reviewTarget->setRange(70, 97);
    m_reviewTarget->setSuffix(QStringLiteral("%"));
    m_reviewTarget->setValue(Settings::reviewTarget());
    m_reviewTarget->setToolTip(QStringLiteral("预计记住的可能低于这个比例时，题目就会出现在“今日复习”中"));

    auto* settings = new QHBoxLayout;
    const auto add = [settings](const QString& caption, QWidget* box) {
        auto* label = new QLabel(caption);
        label->setBuddy(box);
        settings->addWidget(label);
        settings->addWidget(box);
        settings->addSpacing(16);
    };
    add(QStringLiteral("考试日期"), m_examDate);
    add(QStringLiteral("每日复习上限"), m_reviewCap);
    add(QStringLiteral("目标记忆率"), m_reviewTarget);
    settings->addStretch();

    m_planPage = new QStackedWidget;
    auto* empty = new QLabel;
    empty->setObjectName(QStringLiteral("empty"));
    empty->setAlignment(Qt::AlignCenter);
    empty->setWordWrap(true);
    empty->setMargin(40);
    m_planPage->addWidget(empty);
    m_planSummary = new QLabel;
    m_planSummary->setObjectName(QStringLiteral("planSummary"));
    m_planSummary->setWordWrap(true);

    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(settings);
    layout->addWidget(m_planPage, 1);
    layout->addWidget(m_planSummary);

    showPlan();
    connect(m_examDate, &QDateEdit::dateChanged, this, &ProgressWindow::planChanged);
    connect(m_reviewCap, &QSpinBox::valueChanged, this, &ProgressWindow::planChanged);
    connect(m_reviewTarget, &QSpinBox::valueChanged, this, &ProgressWindow::planChanged);
    return tab;
}

void ProgressWindow::planChanged()
{
    const int target = m_reviewTarget->value();
    const bool dueDaysMove = target != Settings::reviewTarget() || m_examDate->date() != Settings::examDate();
    const bool saved = Settings::setExamDate(m_examDate->date())
        && Settings::setReviewCap(m_reviewCap->value()) && Settings::setReviewTarget(target);
    if (!saved)
        MessageBox::critical(this, QStringLiteral("设置没有保存"),
            QStringLiteral("复习计划的设置没有保存到设置文件“%1”，下次启动时将恢复原来的设置。")
                .arg(Settings::path()));
    if (dueDaysMove) {
        // Today in the box stands for no exam day.
        const QDate exam = m_examDate->date() > m_today ? m_examDate->date() : QDate();
        const WriteResult moved = ReviewPlan::retarget(m_store, target / 100.0, exam);
        if (moved.isFailed())
            MessageBox::critical(this, QStringLiteral("复习计划"),
                BankMessages::notStored(QStringLiteral("按新的设置安排的复习日期"), moved));
    }
    showPlan();
}

void ProgressWindow::showPlan()
{
    const QDate examDay = Settings::examDate();
    const double target = m_reviewTarget->value() / 100.0;
    const QVector<double> fitted = AnswerRepository::fittedWeights(m_store).weights;
    m_plan = ReviewPlan::compute(m_store, m_today, examDay, target, m_reviewCap->value(),
        MemoryParameters::fromWeights(fitted.constData(), size_t(fitted.size())));
    auto* empty = qobject_cast<QLabel*>(m_planPage->widget(0));
    if (m_planPage->count() > 1) {
        QWidget* old = m_planPage->widget(1);
        m_planPage->removeWidget(old);
        old->deleteLater();
    }
    m_planSummary->setText(planSummary());
    if (!m_plan.ok) {
        empty->setText(QStringLiteral("无法读取复习记录：%1。").arg(m_plan.error));
        m_planPage->setCurrentIndex(0);
        return;
    }
    if (m_plan.practised == 0 || !examDay.isValid() || examDay <= m_today) {
        empty->setText(m_plan.practised == 0 ? nothingPractisedText() : noExamDateText());
        m_planPage->setCurrentIndex(0);
        return;
    }
    m_planPage->addWidget(planChart(m_plan, m_today, m_reviewCap->value()));
    m_planPage->setCurrentIndex(1);
}

QString ProgressWindow::planSummary() const
{
    const QDate examDay = Settings::examDate();
    if (!m_plan.ok || m_plan.practised == 0 || !examDay.isValid() || examDay <= m_today)
        return QString();
    return QStringLiteral("已练习 %1 题，距考试还有 %2 天。按此计划共复习 %3 次；考试当天预计平均记住 %4，"
                          "%5 的题目达到目标记忆率。")
        .arg(m_plan.practised)
        .arg(m_today.daysTo(examDay))
        .arg(m_plan.reviews())
        .arg(percent(m_plan.meanRecall), percent(m_plan.shareAtTarget));
}
