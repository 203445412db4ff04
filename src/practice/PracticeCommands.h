#pragma once

#include "data/WriteResult.h"

#include <QObject>

class PracticePanel;
class QMenu;
class QuestionStore;
class QWidget;
struct AppState;

/// The commands of the practice panel: redo, the answer columns, previous and next,
/// the favourites, the notes and edit panels and the add-question dialog.
class PracticeCommands final : public QObject
{
    Q_OBJECT
public:
    /// @p window is the parent of the dialogs and message boxes.
    PracticeCommands(QuestionStore& store, AppState& state, PracticePanel* panel, QWidget* window);

    /// Left and right step through the questions anywhere in @p window, except where
    /// the focus uses them to move a cursor, a value or a tree node.
    void installArrowKeys(QWidget* window);

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

private:
    void showSaveOutcome(const WriteResult& result, const QString& what, const QString& done);

    QuestionStore& m_store;
    AppState& m_state;
    PracticePanel* m_panel;
    QWidget* m_window;
};
