#pragma once

#include "catalogue/QuestionFilters.h"
#include "data/QuestionTable.h"
#include "practice/AttemptRecorder.h"
#include "practice/QuestionEditor.h"

#include <QFrame>

#include <optional>

class AnswerPanel;
class QCheckBox;
class PracticeSidePanel;
class QLabel;
class QSlider;
class QuestionListView;
class QuestionStore;
class RowSet;
class QuestionView;
class XPButton;
class StudySession;

/// The practice panel Picture1: the question list, the current question with its
/// answer panel, and the side panel. It lists selections, shows questions and
/// stores answers; what lies outside it (the viewer window, the toolbar) it asks
/// for through its signals.
class PracticePanel final : public QFrame
{
    Q_OBJECT
public:
    PracticePanel(QuestionStore& store, StudySession& session, QWidget* parent = nullptr);

    /// The title over the list (Label2): the section's path, the search, the exam.
    void setTitle(const QString& title);

    void ResetQuestionList();
    /// Lists an open selection after the rows already listed, then shows the first row.
    void FillQuestionList(RowSet& selection);
    /// Opens a selection read-only and lists it; one that cannot be opened lists nothing.
    void listSelection(const QuestionFilters::Selection& selection);
    /// Lists the questions due for review on or before @p day; the practice filter then
    /// works over them until the next catalogue node.
    void listReview(qint64 day);
    void PracticeFilter();
    void ExamFilter();
    /// The range of the exam list ("全部题目", "已做过题", "未做过题") that ExamFilter lists.
    void setExamRange(const QString& range) { m_examRange = range; }
    /// "查看答案" / "隐藏答案" of cmd(1): re-runs the filter and shows or hides the answer columns.
    void toggleAnswerColumns();
    /// Re-runs the filter of the current mode, then shows the answer columns or hides them.
    void setAnswerColumnsShown(bool shown);
    /// The answer columns at once, without filtering (the personal lists).
    void showAnswerColumns();
    /// Lists an open selection with @p captions in place of the row numbers (the search hits
    /// with their section paths), the list's columns set up first when there are none.
    void listCaptioned(RowSet& rows, const QStringList& captions);
    /// The practice side panel and the top buttons give way to the exam's, or come back.
    void showExamControls(bool exam);
    /// The exam lists no question numbers (columns 4 and 7).
    void hideNumberColumns();
    /// The choice panel's option @p index (0 for A or 1), as a click on it.
    void chooseOption(int index);
    void openEditPanel();
    void openNotesPanel();
    /// The notes panel's document and the edit panel's fields, as the candidate left them.
    QString notesDocument() const;
    QuestionEditor::Edits edits() const;
    /// Empties the question area (no question is current).
    void clearQuestion();
    /// The side panel's range box shows no range.
    void showNoRange();
    /// Keeps an open notes or edit panel beside the question text after a resize.
    void placeSidePanels();

    /// Shows the list row at the 1-based @p row (0 or past the end: only empties the text).
    void ShowQuestion(int row);
    /// The candidate leaves the current question (another list, the window closes, the
    /// exam ends): the answer they settled on becomes its attempt.
    void leaveQuestion();
    /// Enter: with feedback on, judges the answer given so far (choices of several
    /// letters are judged only now or on leaving) and settles it as the attempt.
    void judgeAnswer();

    /// The table the listed questions live in: the working set while an exam runs.
    QuestionTable table() const;

    /// Readies the panel for a catalogue node: stops the stopwatch, disables the choice
    /// panels, sizes the question area, and shows the side panel and the top buttons
    /// only with @p withSidePanel (personal lists have neither).
    void prepareForNode(bool withSidePanel);
    /// The narrowest the panel may be with its controls side by side: the answer row
    /// (a choice panel, the echo, the position number, the side panel) and the top row
    /// (a title and the four buttons).
    int minimumLayoutWidth() const;
    /// Readies the panel for an exam or back for practice: an exam shows no verdict, key
    /// or note, so the feedback box and the list's verdict colours stand aside meanwhile.
    void setExamMode(bool exam);

    /// Shows the list row at the 1-based @p row with its position text.
    void showListRow(int row);
    int listRowCount() const;
    /// Removes the list row at the 1-based @p row.
    void removeListRow(int row);
    /// Removes every row of the list; the columns stay.
    void clearList();
    /// Puts new values into the first row until the list is refreshed.
    void replaceFirstRow(const QString& type, const QString& title, const QString& answer,
        const QString& number, const QString& code);

signals:
    /// cmd(0) to cmd(8) was clicked.
    void commandClicked(int index);
    void previousClicked();
    void nextClicked();
    /// The notes or edit panel's "保存" was clicked.
    void saveNotesRequested();
    void saveEditsRequested();
    /// A question was shown: the favourites commands apply to it.
    void questionShown();
    /// The current question's illustration (a null QVariant when it has none).
    void illustrationChanged(const QVariant& bytes);
    /// An entry could not be stored because no question is current.
    void noCurrentQuestion();
    /// An answer was stored.
    void answerStored();
    /// An attempt was recorded: the history and the review schedule have changed.
    void attemptRecorded();
    /// A write failed; @p message says what was not stored and why.
    void writeFailed(const QString& title, const QString& message);

private:
    XPButton* cmd(int index) const;
    void storeEntry(const QString& answer, bool redraw);
    void showFeedback(const QString& answer);
    void setFeedbackOn(bool on);
    /// Feedback is on and no exam runs.
    bool feedbackShown() const;
    /// Reports the outcome of recording an attempt.
    void attemptWritten(const WriteResult& result);

    QuestionStore& m_store;
    StudySession& m_session;
    QLabel* m_Label2;
    QuestionListView* m_list;
    XPButton* m_cmd[4];
    QuestionView* m_view;
    QSlider* m_zh1;
    AnswerPanel* m_answers;
    PracticeSidePanel* m_side;
    QString m_examRange = QStringLiteral("全部题目");
    QCheckBox* m_feedback;
    AttemptRecorder m_attempts;
    /// The day of the review listing shown, or none.
    std::optional<qint64> m_reviewDay;
};
