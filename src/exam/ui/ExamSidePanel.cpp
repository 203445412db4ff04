#include "exam/ui/ExamSidePanel.h"

#include "controls/DigitDisplay.h"
#include "controls/XPButton.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QTimer>

namespace {

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

QTimer* makeTimer(QObject* parent, const QString& name)
{
    auto* timer = new QTimer(parent);
    timer->setObjectName(name);
    timer->setInterval(1000);
    return timer;
}

} // namespace

ExamSidePanel::ExamSidePanel(QWidget* parent)
    : QGroupBox(parent)
    , m_kssj(new DigitDisplay(QStringLiteral("kssj"), 3, this))
    , m_yysj(new DigitDisplay(QStringLiteral("yysj"), 3, this))
    , m_Combo2(new QComboBox(this))
    , m_XPButton3(new XPButton(QStringLiteral("XPButton3"), QStringLiteral("查看答案"), this))
    , m_XPButton2(new XPButton(QStringLiteral("XPButton2"), QStringLiteral("结束考试"), this))
    , m_Timer2(makeTimer(this, QStringLiteral("Timer2")))
    , m_Timer3(makeTimer(this, QStringLiteral("Timer3")))
{
    setObjectName(QStringLiteral("Frame6"));
    setFlat(true);
    setGeometry(664, 192, 93, 399);

    // Each display stands between its caption above and its unit beside it.
    makeLabel(this, QStringLiteral("Label8_0"), QStringLiteral("考试时间"), QRect(6, 8, 82, 18));
    m_kssj->setGeometry(8, 28, 48, 24);
    makeLabel(this, QStringLiteral("Label9_0"), QStringLiteral("分钟"), QRect(60, 31, 30, 18));
    makeLabel(this, QStringLiteral("Label8_1"), QStringLiteral("已用时间"), QRect(6, 62, 82, 18));
    m_yysj->setGeometry(8, 82, 48, 24);
    makeLabel(this, QStringLiteral("Label9_1"), QStringLiteral("分钟"), QRect(60, 85, 30, 18));

    makeLabel(this, QStringLiteral("Label6"), QStringLiteral("显示范围"), QRect(6, 118, 82, 18));
    m_Combo2->setObjectName(QStringLiteral("Combo2"));
    m_Combo2->addItems(
        { QStringLiteral("全部题目"), QStringLiteral("已做过题"), QStringLiteral("未做过题") });
    m_Combo2->setGeometry(4, 138, 85, 24);
    connect(m_Combo2, &QComboBox::textActivated, this, &ExamSidePanel::rangeChosen);

    auto* picture7 = new QFrame(this);
    picture7->setObjectName(QStringLiteral("Picture7"));
    picture7->setFrameShape(QFrame::Panel);
    picture7->setFrameShadow(QFrame::Sunken);
    picture7->setGeometry(6, 176, 81, 28);
    m_Label7 = makeLabel(picture7, QStringLiteral("Label7"), QString(), QRect(2, 2, 77, 24));
    m_Label7->setAlignment(Qt::AlignCenter);

    m_XPButton3->setGeometry(6, 220, 81, 24);
    m_XPButton2->setGeometry(6, 250, 81, 24);
    connect(m_Timer2, &QTimer::timeout, this, &ExamSidePanel::wallClockTicked);
    connect(m_Timer3, &QTimer::timeout, this, &ExamSidePanel::examClockTicked);
    connect(m_XPButton2, &XPButton::Click, this, &ExamSidePanel::endClicked);
    connect(m_XPButton3, &XPButton::Click, this, &ExamSidePanel::answersClicked);
    hide();
}

void ExamSidePanel::startClocks()
{
    m_Timer2->start();
    m_Timer3->start();
}

void ExamSidePanel::stopClocks()
{
    m_Timer2->stop();
    m_Timer3->stop();
}

void ExamSidePanel::showExamTime(const QString& digits)
{
    m_kssj->setText(digits);
}

void ExamSidePanel::showUsedTime(const QString& digits)
{
    m_yysj->setText(digits);
}

void ExamSidePanel::showTime(const QString& text)
{
    m_Label7->setText(text);
}

QString ExamSidePanel::resetRange()
{
    m_Combo2->setCurrentIndex(0);
    return m_Combo2->currentText();
}

bool ExamSidePanel::toggleAnswersCaption()
{
    const bool show = m_XPButton3->caption() == QStringLiteral("查看答案");
    m_XPButton3->setCaption(show ? QStringLiteral("隐藏答案") : QStringLiteral("查看答案"));
    return show;
}
