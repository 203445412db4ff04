#pragma once

class QuestionStore;
class QWidget;
class StudySession;

/// The grading and export commands as the windows call them: grade, tell what could not be
/// read or written, and show the score report or the documents.
namespace GradingCommands {

/// Grades the exam paper in the working set and shows the score report modally; returns
/// when the report is closed. The caller then ends the exam (ExamSession::end()) and shows
/// the welcome panel. Returns whether an exam was running, that is whether it is the
/// caller's to end.
bool showExamReport(QWidget* parent, QuestionStore& store, StudySession& session);

/// "批阅试题": grades the current section, makes the working set a copy of it and shows
/// the score report modally.
void showPracticeReport(QWidget* parent, QuestionStore& store, StudySession& session);

/// "打印试卷": lets the user choose the paper, its answer key, the paper as PDF or printing,
/// and makes them from the exam paper during an exam, else from the current section.
void exportPaper(QWidget* parent, QuestionStore& store, const StudySession& session);

} // namespace GradingCommands
