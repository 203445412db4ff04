#include "progress/ui/ForecastPage.h"

#include "controls/MessageBox.h"
#include "data/ForecastRepository.h"
#include "data/Settings.h"
#include "forecast/PassCalibration.h"

#include <QDateTime>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

QString percentText(double share)
{
    return QString::number(std::lround(share * 100)) + u'%';
}

QString pointsText(double points)
{
    return QString::number(points, 'f', 1);
}

} // namespace

ForecastPage::ForecastPage(QuestionStore& store, const std::optional<BankOutlook>& outlook,
    const QString& readError, QWidget* parent)
    : QWidget(parent)
    , m_outlook(outlook)
    , m_plan(PaperPlan::fromSettings())
    , m_expectedScore(new QLabel)
    , m_passChance(new QLabel)
    , m_passPercent(new QSpinBox)
    , m_calibration(new QLabel)
    , m_exams(new QTableWidget)
{
    setObjectName(QStringLiteral("forecastTab"));
    m_expectedScore->setObjectName(QStringLiteral("expectedScore"));
    m_passChance->setObjectName(QStringLiteral("passChance"));
    QFont large = font();
    large.setPointSizeF(large.pointSizeF() * 1.4);
    large.setBold(true);
    m_expectedScore->setFont(large);
    m_passChance->setFont(large);

    m_passPercent->setObjectName(QStringLiteral("passPercent"));
    m_passPercent->setRange(1, 100);
    m_passPercent->setSuffix(QStringLiteral("%"));
    m_passPercent->setValue(Settings::passPercent());
    m_passPercent->setToolTip(QStringLiteral("及格所需的分数占满分的比例"));

    auto* paper = new QLabel(paperText(m_plan));
    paper->setObjectName(QStringLiteral("paper"));
    paper->setWordWrap(true);
    auto* basis
        = new QLabel(QStringLiteral("做过的题按记忆模型估计今天答对的可能，没做过的题按您在各章节、各题型"
                                    "第一次作答的正确率估计；区间内的得分有八成把握。"));
    basis->setWordWrap(true);
    basis->setObjectName(QStringLiteral("basis"));
    if (!m_outlook)
        basis->setText(QStringLiteral("无法读取题库：%1。").arg(readError));

    auto* form = new QFormLayout;
    form->addRow(m_expectedScore);
    form->addRow(m_passChance);
    auto* line = new QLabel(QStringLiteral("及格线"));
    line->setBuddy(m_passPercent);
    auto* lineRow = new QHBoxLayout;
    lineRow->addWidget(m_passPercent);
    lineRow->addStretch();
    form->addRow(line, lineRow);
    form->addRow(paper);
    form->addRow(basis);

    m_calibration->setObjectName(QStringLiteral("calibration"));
    m_calibration->setWordWrap(true);
    m_exams->setObjectName(QStringLiteral("examForecasts"));
    m_exams->setColumnCount(5);
    m_exams->setHorizontalHeaderLabels({ QStringLiteral("交卷时间"), QStringLiteral("考前预计"),
        QStringLiteral("及格概率"), QStringLiteral("本次得分"), QStringLiteral("结果") });
    m_exams->verticalHeader()->hide();
    m_exams->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_exams->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(8);
    layout->addWidget(m_calibration);
    layout->addWidget(m_exams, 1);

    showForecast();
    showOwnExams(store);
    connect(m_passPercent, &QSpinBox::valueChanged, this, &ForecastPage::passLineChanged);
}

QString ForecastPage::scoreText(const ScoreForecast& f)
{
    if (f.fullScore == 0)
        return QStringLiteral("预计得分：题库中没有可以按“模拟考试设置”组卷计分的试题");
    return QStringLiteral("预计得分：%1 分（%2～%3 分，满分 %4 分）")
        .arg(pointsText(f.expected))
        .arg(f.low)
        .arg(f.high)
        .arg(f.fullScore);
}

QString ForecastPage::passText(const ScoreForecast& f)
{
    if (f.fullScore == 0)
        return QStringLiteral("及格概率：—");
    return QStringLiteral("及格概率：%1（及格线 %2 分）").arg(percentText(f.passChance)).arg(f.passLine);
}

QString ForecastPage::paperText(const PaperPlan& plan)
{
    QStringList parts;
    for (int slot : { 0, 5, 4, 1, 2 }) {
        const int count = plan.counts[size_t(slot)];
        if (count <= 0)
            continue;
        const QString type = QuestionType::slotName(slot);
        parts << (PaperPlan::scoring(slot) == PaperPlan::Scoring::ByCharacters
                ? QStringLiteral("%1 %2 题（按字计分）").arg(type).arg(count)
                : QStringLiteral("%1 %2 题×%3 分").arg(type).arg(count).arg(plan.points[size_t(slot)]));
    }
    QString text
        = QStringLiteral("试卷按“模拟考试设置”从全部章节抽取：%1").arg(parts.join(QStringLiteral("、")));
    if (plan.unseenFirst)
        text += QStringLiteral("，优先抽取没做过的题");
    return text + QStringLiteral("。");
}

void ForecastPage::passLineChanged()
{
    if (!Settings::setPassPercent(m_passPercent->value()))
        MessageBox::critical(this, QStringLiteral("设置没有保存"),
            QStringLiteral("及格线没有保存到设置文件“%1”，下次启动时将恢复原来的设置。")
                .arg(Settings::path()));
    showForecast();
}

void ForecastPage::showForecast()
{
    m_forecast
        = m_outlook ? PaperForecast::ofPlan(*m_outlook, m_plan, m_passPercent->value()) : ScoreForecast();
    m_expectedScore->setText(scoreText(m_forecast));
    m_passChance->setText(passText(m_forecast));
}

void ForecastPage::showOwnExams(QuestionStore& store)
{
    QVector<ForecastedExam> exams;
    QString error;
    if (!ForecastRepository::forecastedExams(store, &exams, &error)) {
        m_calibration->setText(QStringLiteral("无法读取模拟考试记录：%1。").arg(error));
        m_exams->hide();
        return;
    }
    m_exams->setRowCount(int(exams.size()));
    QVector<PassCalibration::Paper> papers;
    for (int i = 0; i < exams.size(); ++i) {
        const ForecastedExam& e = exams[i];
        const bool passed = e.score >= e.forecast.passLine;
        papers.append({ e.forecast.passChance, passed });
        const QStringList cells {
            QDateTime::fromSecsSinceEpoch(e.finishedAt).toString(QStringLiteral("yyyy-MM-dd HH:mm")),
            QStringLiteral("%1 分（%2～%3）")
                .arg(pointsText(e.forecast.expected))
                .arg(e.forecast.low)
                .arg(e.forecast.high),
            percentText(e.forecast.passChance), QStringLiteral("%1 / %2").arg(e.score).arg(e.fullScore),
            passed ? QStringLiteral("及格") : QStringLiteral("未及格")
        };
        for (int c = 0; c < cells.size(); ++c)
            m_exams->setItem(i, c, new QTableWidgetItem(cells[c]));
    }
    if (exams.size() < PassCalibration::OwnPapersNeeded) {
        m_calibration->setText(
            QStringLiteral("考满 %1 次模拟考试后，这里会比较考前预计的及格概率和实际及格的次数"
                           "（已有 %2 次）。")
                .arg(PassCalibration::OwnPapersNeeded)
                .arg(exams.size()));
        return;
    }
    QStringList lines;
    for (const PassCalibration::Decile& d : PassCalibration::deciles(papers)) {
        if (d.papers == 0)
            continue;
        lines << QStringLiteral("预计及格概率 %1%～%2%：%3 次，平均预计 %4，实际及格 %5 次（%6）")
                     .arg(d.from)
                     .arg(d.to)
                     .arg(d.papers)
                     .arg(percentText(d.meanChance))
                     .arg(d.passed)
                     .arg(percentText(d.passedShare()));
    }
    m_calibration->setText(QStringLiteral("考前预计与实际结果：\n") + lines.join(u'\n'));
}
