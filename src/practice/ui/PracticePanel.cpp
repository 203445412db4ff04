#include "practice/ui/PracticePanel.h"

#include "catalogue/ui/QuestionListView.h"
#include "controls/ElidedLabel.h"
#include "controls/XPButton.h"
#include "data/QuestionStore.h"
#include "data/Settings.h"
#include "data/ui/BankMessages.h"
#include "practice/Answers.h"
#include "practice/Feedback.h"
#include "practice/QuestionRecord.h"
#include "practice/ui/AnswerPanel.h"
#include "practice/ui/PracticeSidePanel.h"
#include "practice/ui/QuestionView.h"
#include "richtext/RichText.h"
#include "session/StudySession.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTextEdit>

PracticePanel::PracticePanel(QuestionStore& store, StudySession& session, QWidget* parent)
    : QFrame(parent)
    , m_store(store)
    , m_session(session)
    , m_Label2(new ElidedLabel(this))
    , m_list(new QuestionListView(&session.list(), this))
    , m_attempts(store)
{
    setObjectName(QStringLiteral("Picture1"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setGeometry(243, 66, 773, 663);

    m_Label2->setObjectName(QStringLiteral("Label2"));
    m_Label2->setText(QStringLiteral("模拟考试"));
    m_Label2->setGeometry(4, 7, 540, qMax(16, m_Label2->sizeHint().height()));
    m_Label2->clear();
    m_Label2->setStyleSheet(QStringLiteral("font-weight: bold; color: #1f4f8f;"));

    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setGeometry(2, 26, 764, 167);
    connect(m_list, &QuestionListView::rowChosen, this, &PracticePanel::ShowQuestion);

    // The top row: 修改试题, 添加试题, 查找试题, 收藏试题 (cmd 7, 5, 6, 4).
    const struct
    {
        int index;
        const char16_t* caption;
        int left;
    } top[] = { { 7, u"修改试题", 432 }, { 5, u"添加试题", 517 }, { 6, u"查找试题", 599 },
        { 4, u"收藏试题", 681 } };
    for (const auto& b : top) {
        auto* button
            = new XPButton(QStringLiteral("cmd_%1").arg(b.index), QString::fromUtf16(b.caption), this);
        button->setGeometry(b.left, 1, 81, 24);
        m_cmd[b.index - 4] = button;
    }

    m_view = new QuestionView(this);

    m_zh1 = new QSlider(Qt::Horizontal, this);
    m_zh1->setObjectName(QStringLiteral("zh1"));
    m_zh1->setRange(9, 20);
    m_zh1->setSingleStep(1);
    m_zh1->setPageStep(5);
    m_zh1->setValue(session.fontSize());
    m_zh1->setGeometry(5, 526, 654, 30);
    m_zh1->setToolTip(QStringLiteral("字号"));
    connect(m_zh1, &QSlider::valueChanged, this, [this](int size) {
        m_session.setFontSize(size);
        m_view->applyFontSize(size);
    });

    m_answers = new AnswerPanel(this);
    m_answers->setGeometry(6, 566, 656, 90);
    connect(m_answers, &AnswerPanel::multipleChoiceEntered, this,
        [this](const QString& a) { storeEntry(a, true); });
    connect(m_answers, &AnswerPanel::singleChoiceEntered, this,
        [this](const QString& a) { storeEntry(a, false); });
    connect(m_answers, &AnswerPanel::selfAssessmentEntered, this,
        [this](const QString& a) { storeEntry(a, false); });
    connect(
        m_answers, &AnswerPanel::trueFalseEntered, this, [this](const QString& a) { storeEntry(a, false); });
    m_view->placeListNumber(QRect(572, 588, 86, 22));

    m_side = new PracticeSidePanel(session.stopwatch(), this);
    m_side->setGeometry(664, 192, m_side->width(), qMax(446, m_side->childrenRect().bottom() + 3));
    connect(m_side, &PracticeSidePanel::filterChosen, this, [this] {
        if (m_session.isExamRunning())
            ExamFilter();
        else
            PracticeFilter();
    });

    // Off unless the candidate asks: practice then behaves exactly as without it.
    m_feedback = new QCheckBox(QStringLiteral("即时反馈"), this);
    m_feedback->setObjectName(QStringLiteral("chkFeedback"));
    m_feedback->setToolTip(QStringLiteral("选择答案后立即显示对错、标准答案和注释"));
    m_feedback->setGeometry(368, 620, 198, 22);
    m_feedback->setChecked(Settings::feedback());
    m_list->questions()->setVerdictColours(m_feedback->isChecked());
    connect(m_feedback, &QCheckBox::toggled, this, &PracticePanel::setFeedbackOn);
    connect(&m_session, &StudySession::examRunningChanged, this, &PracticePanel::setExamMode);

    m_view->placeSidePanels();
    for (XPButton* b : m_cmd)
        b->raise();

    for (int i = 0; i <= 8; ++i) {
        if (XPButton* b = cmd(i))
            connect(b, &XPButton::Click, this, [this, i] { emit commandClicked(i); });
    }
    connect(m_side, &PracticeSidePanel::previousClicked, this, &PracticePanel::previousClicked);
    connect(m_side, &PracticeSidePanel::nextClicked, this, &PracticePanel::nextClicked);
    connect(m_view, &QuestionView::saveNotesRequested, this, &PracticePanel::saveNotesRequested);
    connect(m_view, &QuestionView::saveEditsRequested, this, &PracticePanel::saveEditsRequested);
}

XPButton* PracticePanel::cmd(int index) const
{
    if (index >= 4 && index <= 7)
        return m_cmd[index - 4];
    if ((index >= 0 && index <= 3) || index == 8)
        return m_side->cmd(index);
    return nullptr;
}

void PracticePanel::ResetQuestionList()
{
    leaveQuestion();
    m_list->ResetQuestionList();
}

void PracticePanel::FillQuestionList(RowSet& selection)
{
    m_list->appendRows(selection);
    if (m_list->rowCount() > 0)
        m_view->showListNumber(m_list->questions()->subItem(0, 0));
    ShowQuestion(1);
}

void PracticePanel::listSelection(const QuestionFilters::Selection& selection)
{
    RowSet rows = QuestionListRepository::read(m_store, selection);
    FillQuestionList(rows);
}

void PracticePanel::listReview(qint64 day)
{
    m_reviewDay = day;
    listSelection(QuestionFilters::review(day));
}

void PracticePanel::PracticeFilter()
{
    const QString choice = m_side->rangeText();
    const QuestionFilters::Selection selection = m_reviewDay
        ? QuestionFilters::reviewFilter(choice, m_side->TypeFilterText(), *m_reviewDay)
        : QuestionFilters::practice(choice, m_side->TypeFilterText(), m_session.sectionCode());
    clearList();
    listSelection(selection);
}

void PracticePanel::ExamFilter()
{
    const QuestionFilters::Selection selection = QuestionFilters::exam(m_examRange, m_side->TypeFilterText());
    clearList();
    listSelection(selection);
}

void PracticePanel::toggleAnswerColumns()
{
    XPButton* button = cmd(1);
    const bool show = button->caption() == QStringLiteral("查看答案");
    setAnswerColumnsShown(show);
    button->setCaption(show ? QStringLiteral("隐藏答案") : QStringLiteral("查看答案"));
}

void PracticePanel::setAnswerColumnsShown(bool shown)
{
    if (m_session.isExamRunning())
        ExamFilter();
    else
        PracticeFilter();
    if (shown)
        m_list->applyAnswerLayout();
    else
        m_list->applyQuestionLayout();
}

void PracticePanel::showAnswerColumns()
{
    m_list->applyAnswerLayout();
}

void PracticePanel::setTitle(const QString& title)
{
    m_Label2->setText(title);
}

void PracticePanel::listCaptioned(RowSet& rows, const QStringList& captions)
{
    if (!m_list->hasColumns())
        m_list->ResetQuestionList();
    clearList();
    m_list->setColumnWidthPx(1, double(m_list->width()) / 3);
    m_list->appendRows(rows);
    for (int row = 0; row < captions.size(); ++row)
        m_session.list().setSubItem(row, QuestionListModel::Number, captions[row]);
}

void PracticePanel::showExamControls(bool exam)
{
    m_side->setVisible(!exam);
    for (int i : { 4, 5, 6 })
        cmd(i)->setVisible(!exam);
    m_Label2->setText(QStringLiteral("模拟考试"));
}

void PracticePanel::hideNumberColumns()
{
    m_list->setColumnWidthPx(4, 0);
    m_list->setColumnWidthPx(7, 0);
}

void PracticePanel::chooseOption(int index)
{
    m_answers->chooseByIndex(index);
}

void PracticePanel::openEditPanel()
{
    m_view->openEditPanel();
}

void PracticePanel::openNotesPanel()
{
    m_view->openNotesPanel();
}

QString PracticePanel::notesDocument() const
{
    return m_view->notesDocument();
}

QuestionEditor::Edits PracticePanel::edits() const
{
    return m_view->edits();
}

void PracticePanel::clearQuestion()
{
    m_view->clearQuestion();
}

void PracticePanel::showNoRange()
{
    m_side->showNoRange();
}

void PracticePanel::placeSidePanels()
{
    m_view->placeSidePanels();
}

void PracticePanel::ShowQuestion(int row)
{
    m_view->clearQuestion();
    if (m_list->rowCount() == 0 || row < 1 || row > m_list->rowCount())
        return;
    emit questionShown();

    m_view->hideFeedback();
    const int leftRow = m_session.position();
    const bool judgeLeft = m_attempts.hasOpenAnswer() && feedbackShown();
    const QString leftAnswer = m_attempts.answer();
    m_session.showRow(row);
    attemptWritten(m_attempts.enter(table(), m_session.currentQuestion()));
    // A choice of several letters is judged when the candidate moves on: its row takes its colour.
    if (judgeLeft && leftRow != row && leftRow >= 1 && leftRow <= m_list->rowCount())
        m_list->questions()->setSubItem(leftRow - 1, QuestionListModel::Given, leftAnswer);
    m_view->setPosition(row);
    m_list->followRow(row);
    const QString type = m_session.list().subItem(row - 1, QuestionListModel::Type);

    const std::optional<QuestionRecord> record
        = QuestionRecord::read(m_store, table(), m_session.currentQuestion());
    if (record) {
        m_view->showRecord(*record);
        emit illustrationChanged(record->picture);
    } else {
        m_view->showNoStoredAnswer();
        emit illustrationChanged(QVariant());
    }
    m_answers->preset(type, record ? record->given.toString() : QString());
    m_view->applyFontSize(m_session.fontSize());
}

void PracticePanel::prepareForNode(bool withSidePanel)
{
    leaveQuestion();
    m_reviewDay.reset();
    // Sizes computed below zero leave a control as it was.
    auto setWidth = [](QWidget* w, int width) {
        if (width >= 0)
            w->resize(width, w->height());
    };
    m_list->setColumnWidthPx(1, double(m_list->width()) / 7);
    m_side->stopStopwatch();
    m_answers->disableChoicePanels();
    const int areaWidth = m_view->fitQuestionArea(contentsRect().width() - m_side->width() - 18);
    m_side->setVisible(withSidePanel);
    m_side->showTypeBoxes(withSidePanel);
    for (int i : { 4, 5, 6 })
        cmd(i)->setVisible(withSidePanel);
    setWidth(m_zh1, areaWidth);
    // An open notes or edit panel keeps the text beside it.
    m_view->placeSidePanels();
}

int PracticePanel::minimumLayoutWidth() const
{
    // Left to right as the layout places them after a splitter drag, with the side panel's margins.
    const int answerRow
        = 6 + m_answers->widestPanel() + 6 + m_view->answerRowWidth() + 6 + m_side->width() + 13;
    int buttons = 0;
    for (const XPButton* b : m_cmd)
        buttons += b->width() + 4;
    const int topRow = m_Label2->x()
        + m_Label2->fontMetrics().horizontalAdvance(QStringLiteral("模拟考试模拟考试")) + 6 + buttons + 9 + 2;
    return qMax(answerRow, topRow);
}

void PracticePanel::setExamMode(bool exam)
{
    m_feedback->setVisible(!exam);
    m_list->questions()->setVerdictColours(!exam && m_feedback->isChecked());
    m_view->hideFeedback();
}

void PracticePanel::showListRow(int row)
{
    m_view->showListNumber(m_list->questions()->subItem(row - 1, QuestionListModel::Number));
    ShowQuestion(row);
}

int PracticePanel::listRowCount() const
{
    return m_list->rowCount();
}

void PracticePanel::removeListRow(int row)
{
    m_list->questions()->removeRow(row - 1);
}

void PracticePanel::clearList()
{
    leaveQuestion();
    m_list->questions()->clear();
}

void PracticePanel::replaceFirstRow(const QString& type, const QString& title, const QString& answer,
    const QString& number, const QString& code)
{
    QuestionListModel* model = m_list->questions();
    if (model->rowCount() == 0)
        return;
    model->setSubItem(0, QuestionListModel::Type, type);
    model->setSubItem(0, QuestionListModel::Title, title);
    model->setSubItem(0, QuestionListModel::Answer, answer);
    model->setSubItem(0, QuestionListModel::QuestionNo, number);
    model->setSubItem(0, QuestionListModel::Code, code);
}

void PracticePanel::showFeedback(const QString& answer)
{
    const std::optional<QuestionRecord> record
        = QuestionRecord::read(m_store, table(), m_session.currentQuestion());
    if (!record)
        return;
    m_list->questions()->setSubItem(m_session.position() - 1, QuestionListModel::Given, answer);
    const AnswerRule::Verdict verdict = AnswerRule::verdict(record->type, record->answer, answer);
    const QString notes = RichText::plainText(record->notes.toString().toUtf8());
    const QColor colour = verdict == AnswerRule::Verdict::Right ? QColor(0, 128, 0)
        : verdict == AnswerRule::Verdict::Wrong                 ? QColor(192, 0, 0)
                                                                : QColor(0, 0, 160);
    m_view->showFeedback(Feedback::text(verdict, record->answer, answer, notes), colour);
}

void PracticePanel::setFeedbackOn(bool on)
{
    m_list->questions()->setVerdictColours(on);
    if (!on)
        m_view->hideFeedback();
    if (!Settings::setFeedback(on))
        emit writeFailed(QStringLiteral("设置没有保存"),
            QStringLiteral("“即时反馈”的选择没有保存到设置文件，下次启动时将恢复原来的选择。"));
}

QuestionTable PracticePanel::table() const
{
    return m_session.table();
}

void PracticePanel::storeEntry(const QString& answer, bool redraw)
{
    const int row = m_session.position() - 1;
    if (row >= 0 && row < m_list->rowCount()
        && Answers::panelFor(m_list->questions()->subItem(row, QuestionListModel::Type))
            == Answers::Panel::None)
        return;
    const WriteResult result = Answers::StoreAnswer(m_store, table(), m_session.currentQuestion(), answer);
    if (result.isNothing()) {
        emit noCurrentQuestion();
        return;
    }
    if (result.isFailed()) {
        // The panel keeps the user's choice; the echo keeps what is stored.
        emit writeFailed(QStringLiteral("答案没有保存"),
            BankMessages::notStored(QStringLiteral("您的答案“%1”").arg(answer), result));
        return;
    }
    emit answerStored();
    m_attempts.answered(answer);
    // One letter is the whole answer: judged at once. Several wait for Enter or leaving.
    const QString type = row >= 0 && row < m_list->rowCount()
        ? m_list->questions()->subItem(row, QuestionListModel::Type)
        : QString();
    if (feedbackShown() && !Answers::judgedOnLeaving(type)) {
        showFeedback(answer);
        attemptWritten(m_attempts.settle());
    }
    if (redraw) {
        if (const auto record = QuestionRecord::read(m_store, table(), m_session.currentQuestion()))
            m_view->renderQuestion(record->document);
    }
    m_view->showEntry(answer);
    m_list->setFocus();
    if (redraw)
        m_view->applyFontSize(m_session.fontSize());
}

bool PracticePanel::feedbackShown() const
{
    return m_feedback->isChecked() && !m_session.isExamRunning();
}

void PracticePanel::leaveQuestion()
{
    attemptWritten(m_attempts.leave());
}

void PracticePanel::judgeAnswer()
{
    if (!feedbackShown() || !m_attempts.isVisiting())
        return;
    showFeedback(m_attempts.answer());
    attemptWritten(m_attempts.settle());
}

void PracticePanel::attemptWritten(const WriteResult& result)
{
    if (result.isFailed())
        emit writeFailed(QStringLiteral("作答记录没有保存"),
            BankMessages::notStored(QStringLiteral("这道题的作答记录"), result));
    else if (result.isDone() && result.rows() > 0)
        emit attemptRecorded();
}
