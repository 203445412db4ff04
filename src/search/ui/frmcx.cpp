#include "search/ui/frmcx.h"

#include "controls/MessageBox.h"
#include "controls/XPButton.h"
#include "search/QuestionSearch.h"
#include "session/StudySession.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

frmcx::frmcx(StudySession& session, QWidget* parent)
    : QDialog(parent)
    , m_session(session)
    , m_Frame1(new QGroupBox(QStringLiteral("范围"), this))
    , m_Text1(new QLineEdit(m_Frame1))
    , m_Check1(new QCheckBox(QStringLiteral("按题干文字查找"), m_Frame1))
    , m_Check2(new QCheckBox(QStringLiteral("按选项文字查找"), m_Frame1))
    , m_XPButton1(new XPButton(QStringLiteral("XPButton1"), QStringLiteral("确定"), this))
    , m_XPButton2(new XPButton(QStringLiteral("XPButton2"), QStringLiteral("取消"), this))
{
    setObjectName(QStringLiteral("frmcx"));
    setWindowTitle(QStringLiteral("试题查询"));
    setModal(true);
    setFixedSize(420, 200);

    const char16_t* const captions[] = { u"按关键字查找", u"找做过的题", u"找做错的题" };
    for (int i = 0; i < 3; ++i) {
        m_Option[i] = new QRadioButton(QString::fromUtf16(captions[i]), this);
        m_Option[i]->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        m_Option[i]->setGeometry(16 + i * 132, 12, 126, 24);
    }
    m_Option[0]->setChecked(true);

    m_Frame1->setObjectName(QStringLiteral("Frame1"));
    m_Frame1->setGeometry(12, 44, 396, 104);
    auto* label = new QLabel(QStringLiteral("关键字："), m_Frame1);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(14, 28, 64, 24);
    m_Text1->setObjectName(QStringLiteral("Text1"));
    m_Text1->setGeometry(80, 28, 300, 24);
    m_Check1->setObjectName(QStringLiteral("Check1"));
    m_Check1->setGeometry(14, 66, 170, 24);
    m_Check1->setChecked(true);
    m_Check2->setObjectName(QStringLiteral("Check2"));
    m_Check2->setGeometry(200, 66, 170, 24);

    m_XPButton1->setGeometry(232, 160, 81, 26);
    m_XPButton1->setEnabled(false);
    m_XPButton2->setGeometry(326, 160, 81, 26);
    m_XPButton2->setEnabled(true);

    connect(m_Option[0], &QRadioButton::clicked, this, [this] {
        m_Frame1->setEnabled(true);
        m_XPButton1->setEnabled(false);
    });
    for (int i : { 1, 2 }) {
        connect(m_Option[i], &QRadioButton::clicked, this, [this] {
            m_Frame1->setEnabled(false);
            m_XPButton1->setEnabled(true);
        });
    }
    connect(m_Text1, &QLineEdit::textChanged, this,
        [this](const QString& text) { m_XPButton1->setEnabled(!text.isEmpty()); });
    connect(m_XPButton1, &XPButton::Click, this, &frmcx::XPButton1_Click);
    connect(m_XPButton2, &XPButton::Click, this, &QDialog::reject);
    m_Text1->setFocus();
}

void frmcx::XPButton1_Click()
{
    QuestionSearch::Request request;
    request.mode = m_Option[1]->isChecked() ? QuestionSearch::Mode::Done
        : m_Option[2]->isChecked()          ? QuestionSearch::Mode::Wrong
                                            : QuestionSearch::Mode::Keyword;
    request.keyword = m_Text1->text();
    request.inStem = m_Check1->isChecked();
    request.inOptions = m_Check2->isChecked();
    const QuestionFilters::Selection selection = QuestionSearch::selection(request);
    if (selection.sql.isEmpty()) {
        MessageBox::critical(this, QStringLiteral("提示"), QStringLiteral("请指定查询范围"));
        m_Text1->setFocus();
        return;
    }
    m_selection = selection;
    m_request = request;
    accept();
}

void frmcx::done(int result)
{
    // Escape and the window's close button count as "取消".
    if (result != QDialog::Accepted)
        m_selection = {};
    m_session.setSearchStatement(m_selection.sql);
    QDialog::done(result);
}
