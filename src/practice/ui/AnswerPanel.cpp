#include "practice/ui/AnswerPanel.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>

namespace {

QGroupBox* makePanel(QWidget* parent, const char* name)
{
    auto* box = new QGroupBox(QStringLiteral("请选择正确答案"), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(0, 0, 356, 84);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(12, 4, 12, 6);
    row->setSpacing(14);
    return box;
}

} // namespace

AnswerPanel::AnswerPanel(QWidget* parent)
    : QFrame(parent)
    , m_Frame2(makePanel(this, "Frame2"))
    , m_Frame4(makePanel(this, "Frame4"))
    , m_Frame8(makePanel(this, "Frame8"))
    , m_Frame9(makePanel(this, "Frame9"))
    , m_optionGroup(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("Picture9"));

    for (int i = 0; i < 5; ++i) {
        m_DAN_A[i] = new QCheckBox(Answers::optionLetter(i), m_Frame2);
        m_DAN_A[i]->setObjectName(QStringLiteral("DAN_A_%1").arg(i));
        m_Frame2->layout()->addWidget(m_DAN_A[i]);
        connect(m_DAN_A[i], &QCheckBox::clicked, this, [this] {
            std::array<bool, 5> ticked {};
            for (int b = 0; b < 5; ++b)
                ticked[size_t(b)] = m_DAN_A[b]->isChecked();
            emit multipleChoiceEntered(Answers::multipleChoice(ticked));
        });

        m_Option1[i] = new QRadioButton(Answers::optionLetter(i), m_Frame4);
        m_Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        m_optionGroup->addButton(m_Option1[i], i);
        m_Frame4->layout()->addWidget(m_Option1[i]);
    }
    static_cast<QHBoxLayout*>(m_Frame2->layout())->addStretch();
    static_cast<QHBoxLayout*>(m_Frame4->layout())->addStretch();
    connect(m_optionGroup, &QButtonGroup::idClicked, this,
        [this](int id) { emit singleChoiceEntered(Answers::optionLetter(id)); });
    // "E" appears with the first single-choice question.
    m_Option1[4]->setVisible(false);
    m_Option1[4]->setEnabled(false);

    auto* label12 = new QLabel(QStringLiteral("这道题您是否会做？"), m_Frame8);
    label12->setObjectName(QStringLiteral("Label12"));
    m_C3 = new QComboBox(m_Frame8);
    m_C3->setObjectName(QStringLiteral("C3"));
    m_C3->addItems({ QStringLiteral("会做"), QStringLiteral("不会") });
    m_C3->setPlaceholderText(QStringLiteral("请选择"));
    m_C3->setCurrentIndex(-1);
    m_C3->setMinimumWidth(90);
    m_Frame8->layout()->addWidget(label12);
    m_Frame8->layout()->addWidget(m_C3);
    static_cast<QHBoxLayout*>(m_Frame8->layout())->addStretch();
    connect(m_C3, &QComboBox::activated, this, [this] { emit selfAssessmentEntered(m_C3->currentText()); });

    auto* label14 = new QLabel(QStringLiteral("请判断正确与否"), m_Frame9);
    label14->setObjectName(QStringLiteral("Label14"));
    m_Option2 = new QRadioButton(QStringLiteral("对"), m_Frame9);
    m_Option2->setObjectName(QStringLiteral("Option2"));
    m_Option3 = new QRadioButton(QStringLiteral("错"), m_Frame9);
    m_Option3->setObjectName(QStringLiteral("Option3"));
    m_Frame9->layout()->addWidget(label14);
    m_Frame9->layout()->addWidget(m_Option2);
    m_Frame9->layout()->addWidget(m_Option3);
    static_cast<QHBoxLayout*>(m_Frame9->layout())->addStretch();
    connect(m_Option2, &QRadioButton::clicked, this, [this] { emit trueFalseEntered(QStringLiteral("对")); });
    connect(m_Option3, &QRadioButton::clicked, this, [this] { emit trueFalseEntered(QStringLiteral("错")); });

    // As wide as their choices and title need, at most the design's 356 pixels: the
    // narrower they are, the further the splitter may go before the echo beside them.
    // Measured with "E" shown, as the first single-choice question shows it.
    m_Option1[4]->setVisible(true);
    for (QGroupBox* panel : { m_Frame2, m_Frame4, m_Frame8, m_Frame9 }) {
        const int title = panel->fontMetrics().horizontalAdvance(panel->title()) + 24;
        panel->resize(qMin(356, qMax(panel->sizeHint().width(), title)), panel->height());
    }
    m_Option1[4]->setVisible(false);
    m_Frame2->hide();
    m_Frame8->hide();
    m_Frame9->hide();
}

void AnswerPanel::showOnly(QGroupBox* panel)
{
    for (QGroupBox* p : { m_Frame2, m_Frame4, m_Frame8, m_Frame9 }) {
        p->setVisible(p == panel);
        p->setEnabled(p == panel);
    }
}

void AnswerPanel::clearOptions()
{
    // An exclusive group never lets its last selected button go.
    m_optionGroup->setExclusive(false);
    for (QRadioButton* o : m_Option1)
        o->setChecked(false);
    m_optionGroup->setExclusive(true);
}

void AnswerPanel::preset(const QString& type, const QString& given)
{
    switch (Answers::panelFor(type)) {
    case Answers::Panel::MultipleChoice: {
        showOnly(m_Frame2);
        for (QRadioButton* o : m_Option1) {
            o->setVisible(false);
            o->setEnabled(false);
        }
        const auto ticks = Answers::ticksFor(given);
        for (int i = 0; i < 5; ++i)
            m_DAN_A[i]->setChecked(ticks[size_t(i)]);
        break;
    }
    case Answers::Panel::SingleChoice: {
        clearOptions();
        for (QCheckBox* b : m_DAN_A)
            b->setChecked(false);
        if (const int option = Answers::optionFor(given); option >= 0)
            m_Option1[option]->setChecked(true);
        showOnly(m_Frame4);
        for (QRadioButton* o : m_Option1) {
            o->setVisible(true);
            o->setEnabled(true);
        }
        break;
    }
    case Answers::Panel::SelfAssessment:
        showOnly(m_Frame8);
        break;
    case Answers::Panel::TrueFalse:
        showOnly(m_Frame9);
        break;
    case Answers::Panel::None:
        // The panel of the question before would take entries for this one.
        showOnly(nullptr);
        break;
    }
}

void AnswerPanel::disableChoicePanels()
{
    m_Frame2->setEnabled(false);
    m_Frame4->setEnabled(false);
}

bool AnswerPanel::chooseByIndex(int index)
{
    auto takes = [](const QWidget* w) { return w->isVisibleTo(w->window()) && w->isEnabled(); };
    auto press = [&takes](QAbstractButton* b) {
        if (!takes(b))
            return false;
        b->click();
        return true;
    };
    if (index < 0 || index >= 5)
        return false;
    if (takes(m_Frame2))
        return press(m_DAN_A[index]);
    if (takes(m_Frame4))
        return press(m_Option1[index]);
    if (takes(m_Frame9) && index < 2)
        return press(index == 0 ? m_Option2 : m_Option3);
    if (takes(m_Frame8) && index < m_C3->count()) {
        m_C3->setCurrentIndex(index);
        emit selfAssessmentEntered(m_C3->currentText());
        return true;
    }
    return false;
}

int AnswerPanel::widestPanel() const
{
    int widest = 0;
    for (const QWidget* box : { m_Frame2, m_Frame4, m_Frame8, m_Frame9 })
        widest = qMax(widest, box->width());
    return widest;
}
