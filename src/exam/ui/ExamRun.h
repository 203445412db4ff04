#pragma once

#include "exam/ExamClock.h"

#include <QObject>

class ExamSession;
class ExamSidePanel;
class PracticePanel;
class QToolButton;
class QuestionStore;
class QWidget;
class StudySession;

/// The main window in exam mode: the exam side panel in place of the practice one,
/// the paper in the list, the exam clock and the wall clock, and the way back when
/// the exam ends.
class ExamRun final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ExamRun)
public:
    /// @p welcome is the panel shown after the exam; @p favourites the toolbar button
    /// that stays disabled until a question is shown again; @p window owns the messages.
    ExamRun(ExamSession& exam, QuestionStore& store, StudySession& session, PracticePanel* panel,
        QWidget* welcome, QToolButton* favourites, QWidget* window);

    /// Turns the window into the exam on the paper just composed; @p examTime in minutes.
    void begin(const QString& examTime);
    /// Lists the paper and shows its first question; an empty paper is told.
    void kscx();

    /// The wall clock's second.
    void Timer2_Timer();
    /// The exam clock's second: the minutes used, and the end when the time is up.
    void Timer3_Timer();
    /// "结束考试", or the time is up: back to practice.
    void XPButton2_Click();
    /// "查看答案" / "隐藏答案".
    void XPButton3_Click();

    const ExamClock& clock() const { return m_clock; }
    /// The exam side panel, placed over the practice side panel Frame3.
    ExamSidePanel* Frame6() const { return m_side; }

private:
    void showSidePanel(bool exam);
    void gradeAndShowReport();

    ExamSession& m_exam;
    QuestionStore& m_store;
    StudySession& m_session;
    PracticePanel* m_panel;
    ExamSidePanel* m_side;
    QWidget* m_welcome;
    QToolButton* m_favourites;
    QWidget* m_window;
    ExamClock m_clock;
};
