#include "practice/ui/PracticeSidePanel.h"

#include "catalogue/QuestionFilters.h"
#include "controls/DigitDisplay.h"
#include "controls/XPButton.h"
#include "session/Stopwatch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTimer>

namespace {

XPButton* makeButton(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry)
{
    auto* b = new XPButton(name, caption, parent);
    b->setGeometry(geometry);
    return b;
}

} // namespace

PracticeSidePanel::PracticeSidePanel(Stopwatch& stopwatch, QWidget* parent)
    : QGroupBox(parent)
    , m_stopwatch(stopwatch)
    , m_Frame1(new QGroupBox(this))
    , m_Combo1(new QComboBox(this))
    , m_dg1(new DigitDisplay(QStringLiteral("dg1"), 4, this))
    , m_dg2(new DigitDisplay(QStringLiteral("dg2"), 3, this))
    , m_Timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("Frame3"));
    setFlat(true);

    m_Frame1->setObjectName(QStringLiteral("Frame1"));
    m_Frame1->setGeometry(4, 2, 85, 146);
    auto* label13 = new QLabel(QStringLiteral("选择题型"), m_Frame1);
    label13->setObjectName(QStringLiteral("Label13"));
    label13->setGeometry(6, 4, 76, 18);
    const QStringList types = QuestionFilters::filterTypes();
    for (int i = 0; i < 6; ++i) {
        m_Check[i] = new QCheckBox(types[i], m_Frame1);
        m_Check[i]->setObjectName(QStringLiteral("Check%1").arg(i + 1));
        m_Check[i]->setChecked(true);
        m_Check[i]->setGeometry(8, 22 + i * 20, 76, 20);
        connect(m_Check[i], &QCheckBox::clicked, this, &PracticeSidePanel::filterChosen);
    }

    auto* label3 = new QLabel(QStringLiteral("试题范围"), this);
    label3->setObjectName(QStringLiteral("Label3"));
    label3->setGeometry(6, 150, 80, 18);
    m_Combo1->setObjectName(QStringLiteral("Combo1"));
    m_Combo1->addItems({ QStringLiteral("全部题目"), QStringLiteral("已做题目"), QStringLiteral("未做题目"),
        QStringLiteral("做错题目") });
    // After a redo the box names no range: the next refill lists the whole bank.
    m_Combo1->setPlaceholderText(QStringLiteral("请选择范围"));
    // Wide enough for its items and the placeholder beside the arrow; the panel grows with it.
    int widest = fontMetrics().horizontalAdvance(m_Combo1->placeholderText());
    for (int i = 0; i < m_Combo1->count(); ++i)
        widest = qMax(widest, fontMetrics().horizontalAdvance(m_Combo1->itemText(i)));
    const int comboWidth = qMax(85, widest + 28);
    m_Combo1->setGeometry(4, 168, comboWidth, 24);
    resize(qMax(93, comboWidth + 8), height());
    connect(m_Combo1, &QComboBox::activated, this, &PracticeSidePanel::filterChosen);

    const QStringList captions { QStringLiteral("重做试题"), QStringLiteral("查看答案"),
        QStringLiteral("批阅试题"), QStringLiteral("打印试卷") };
    for (int i = 0; i < 4; ++i)
        m_cmd[i]
            = makeButton(this, QStringLiteral("cmd_%1").arg(i), captions[i], QRect(6, 198 + i * 26, 81, 24));
    m_cmd8 = makeButton(this, QStringLiteral("cmd_8"), QStringLiteral("注释与笔记"), QRect(6, 302, 81, 24));
    m_cmdxtsa = makeButton(this, QStringLiteral("cmdxtsa"), QStringLiteral("上一题"), QRect(6, 332, 81, 24));
    m_cmdxtxa = makeButton(this, QStringLiteral("cmdxtxa"), QStringLiteral("下一题"), QRect(6, 358, 81, 24));
    connect(m_cmdxtsa, &XPButton::Click, this, &PracticeSidePanel::previousClicked);
    connect(m_cmdxtxa, &XPButton::Click, this, &PracticeSidePanel::nextClicked);

    m_XPButton1
        = makeButton(this, QStringLiteral("XPButton1"), QStringLiteral("开始计时"), QRect(6, 385, 81, 24));
    m_XPButton1->setMyToolTip(QStringLiteral("启动计时器"));
    connect(m_XPButton1, &XPButton::Click, this, &PracticeSidePanel::XPButton1_Click);
    auto* label10 = new QLabel(QStringLiteral("已用时间"), this);
    label10->setObjectName(QStringLiteral("Label10"));
    auto* label5 = new QLabel(QStringLiteral("分钟"), this);
    label5->setObjectName(QStringLiteral("Label5"));
    // Two rows as tall as the font needs: "已用时间" and the seconds, the minutes and "分钟".
    const int line = qMax(16, label10->sizeHint().height());
    const int caption = label10->sizeHint().width();
    label10->setGeometry(4, 411, caption, line);
    m_dg1->setGeometry(4 + caption + 2, 411 + (line - 16) / 2, 85 - caption - 2, 16);
    m_dg2->setGeometry(24, 413 + line + (line - 16) / 2, 28, 16);
    label5->setGeometry(56, 413 + line, label5->sizeHint().width(), line);
    m_Timer1->setObjectName(QStringLiteral("Timer1"));
    m_Timer1->setInterval(1000);
    connect(m_Timer1, &QTimer::timeout, this, &PracticeSidePanel::Timer1_Timer);
}

QString PracticeSidePanel::TypeFilterText() const
{
    QVector<bool> ticked;
    for (QCheckBox* c : m_Check)
        ticked << c->isChecked();
    return QuestionFilters::TypeFilterText(ticked);
}

void PracticeSidePanel::stopStopwatch()
{
    m_Timer1->stop();
    m_dg1->setText(QStringLiteral("0000"));
}

void PracticeSidePanel::XPButton1_Click()
{
    m_stopwatch.start();
    m_dg1->setText(m_stopwatch.secondsText());
    m_dg2->setText(m_stopwatch.minutesText());
    m_Timer1->start();
}

void PracticeSidePanel::Timer1_Timer()
{
    m_stopwatch.tick();
    m_dg2->setText(m_stopwatch.minutesText());
    m_dg1->setText(m_stopwatch.secondsText());
}

void PracticeSidePanel::showNoRange()
{
    m_Combo1->setCurrentIndex(-1);
}

QString PracticeSidePanel::rangeText() const
{
    return m_Combo1->currentText();
}

void PracticeSidePanel::showTypeBoxes(bool shown)
{
    m_Frame1->setVisible(shown);
}
