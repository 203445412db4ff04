#include "exam/ui/ExamRun.h"
#include "exam/ui/GradingCommands.h"

#include "catalogue/QuestionFilters.h"
#include "controls/MessageBox.h"
#include "data/QuestionStore.h"
#include "exam/ExamSession.h"
#include "exam/ui/ExamSidePanel.h"
#include "practice/ui/PracticePanel.h"
#include "session/StudySession.h"

#include <QLocale>
#include <QTime>
#include <QToolButton>

ExamRun::ExamRun(ExamSession& exam, QuestionStore& store, StudySession& session, PracticePanel* panel,
    QWidget* welcome, QToolButton* favourites, QWidget* window)
    : QObject(window)
    , m_exam(exam)
    , m_store(store)
    , m_session(session)
    , m_panel(panel)
    , m_side(new ExamSidePanel(panel))
    , m_welcome(welcome)
    , m_favourites(favourites)
    , m_window(window)
{
    connect(m_side, &ExamSidePanel::wallClockTicked, this, &ExamRun::Timer2_Timer);
    connect(m_side, &ExamSidePanel::examClockTicked, this, &ExamRun::Timer3_Timer);
    connect(m_side, &ExamSidePanel::endClicked, this, &ExamRun::XPButton2_Click);
    connect(m_side, &ExamSidePanel::answersClicked, this, &ExamRun::XPButton3_Click);
    connect(m_side, &ExamSidePanel::rangeChosen, this, [this](const QString& range) {
        m_panel->setExamRange(range);
        m_panel->ExamFilter();
    });
}

void ExamRun::showSidePanel(bool exam)
{
    m_panel->showExamControls(exam);
    m_side->setVisible(exam);
    m_panel->setVisible(exam);
    m_welcome->setVisible(!exam);
    if (exam)
        m_side->raise();
}

void ExamRun::begin(const QString& examTime)
{
    showSidePanel(true);
    m_clock.start(examTime);
    m_side->showUsedTime(m_clock.usedText());
    m_side->startClocks();
    Timer2_Timer();
    m_side->showExamTime(m_clock.examTimeText());
    // A range left from the last exam would not match the whole paper listed now.
    m_panel->setExamRange(m_side->resetRange());
    m_panel->hideNumberColumns();
    kscx();
}

void ExamRun::kscx()
{
    m_panel->ResetQuestionList();
    // No range and no types: the whole paper, by type and sj.
    const QuestionFilters::Selection paper = QuestionFilters::exam(QString(), QString());
    RowSet rows = QuestionListRepository::read(m_store, paper);
    if (rows.atEnd()) {
        MessageBox::notice(m_window, QStringLiteral("请点击右侧<查看答案>按钮即可显示试题！"));
        return;
    }
    m_panel->FillQuestionList(rows);
}

void ExamRun::Timer2_Timer()
{
    m_side->showTime(QLocale::system().toString(QTime::currentTime(), QLocale::ShortFormat));
}

void ExamRun::Timer3_Timer()
{
    if (!m_exam.isRunning())
        return;
    const bool timeUp = m_clock.tick();
    m_side->showUsedTime(m_clock.usedText());
    if (!timeUp)
        return;
    MessageBox::information(
        m_window, QStringLiteral("信息提示"), QStringLiteral("本次考试时间已到，请你查看考试成绩！"));
    XPButton2_Click();
}

void ExamRun::XPButton2_Click()
{
    if (!m_exam.isRunning())
        return;
    m_side->stopClocks();
    m_panel->leaveQuestion();
    m_favourites->setEnabled(false);
    showSidePanel(false);
    gradeAndShowReport();
    m_exam.end();
}

void ExamRun::XPButton3_Click()
{
    m_panel->setAnswerColumnsShown(m_side->toggleAnswersCaption());
}

void ExamRun::gradeAndShowReport()
{
    // Modal: the exam is ended only after the report has been closed.
    GradingCommands::showExamReport(m_window, m_store, m_session);
}
