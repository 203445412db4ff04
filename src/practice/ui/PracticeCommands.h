#pragma once

#include "data/WriteResult.h"

#include <QObject>

#include <functional>

class PracticePanel;
class QKeySequence;
class QMenu;
class QuestionStore;
class QWidget;
class StudySession;

/// The commands of the practice panel: redo, the answer columns, grading, the exam paper,
/// previous and next, the favourites, the notes and edit panels and the add-question dialog.
class PracticeCommands final : public QObject
{
    Q_OBJECT
public:
    /// @p window is the parent of the dialogs and message boxes.
    PracticeCommands(QuestionStore& store, StudySession& session, PracticePanel* panel, QWidget* window);

    /// Keys anywhere in @p window, except where the focus uses them itself (a text box,
    /// a combo, a slider, the catalogue): Left and Right step through the questions;
    /// A to E and 1 to 5 choose or toggle the current question's options, 1 and 2 the
    /// self-assessment and true/false choices, as clicks do.
    void installKeys(QWidget* window);

    /// Fills the favourites menu of the toolbar button with its keyed items.
    void setUpFavouritesMenu(QMenu* menu);

    /// Dispatches a click on cmd(index).
    void cmdClicked(int index);
    /// Dispatches a favourites menu item by its key ("addsc", "delsc", "clssc").
    void favouritesChosen(const QString& key);

    void RedoQuestions();
    void ToggleAnswerColumns();
    void PreviousQuestion();
    void NextQuestion();
    void AddToFavourites();
    void RemoveFromFavourites();
    void ClearFavourites();
    void SaveNotes();
    void SaveQuestionEdits();
    void openAddDialog();

signals:
    /// "批阅试题", "打印试卷" and "查找试题": the grading and the search are not practice's own.
    void gradeRequested();
    void paperExportRequested();
    void findRequested();

private:
    void addKey(QWidget* window, const QKeySequence& key, const std::function<void()>& action,
        bool (*ownsKey)(const QWidget* focus) = nullptr);
    void showSaveOutcome(const WriteResult& result, const QString& what, const QString& done);

    QuestionStore& m_store;
    StudySession& m_session;
    PracticePanel* m_panel;
    QWidget* m_window;
};
