#pragma once

#include "practice/ui/PracticePanel.h"
#include "shell/ui/frmmain.h"

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>

class AnswerPanel;
class QComboBox;
class QDialog;
class QuestionListView;
class QWidget;
class TestBank;

/// The real main window on a bank in a test's temporary folder, shown offscreen and
/// driven as a user drives it: mouse clicks on catalogue nodes, list rows and controls,
/// keys on combo boxes and text boxes.
class MainWindowDriver final
{
    Q_DISABLE_COPY_MOVE(MainWindowDriver)
public:
    /// Opens the window on the bank at @p bankPath and waits until it is active. With
    /// @p fill, the bank is first created there and filled (see Fixtures).
    explicit MainWindowDriver(const QString& bankPath, const std::function<void(TestBank&)>& fill = {});
    ~MainWindowDriver();

    frmmain& window() const { return *m_window; }
    StudySession& session() const { return m_window->session(); }
    PracticePanel* panel() const;
    AnswerPanel* answers() const;
    QuestionListView* list() const;

    /// The control named @p name, or nullptr.
    template <typename T = QWidget> T* child(const QString& name) const;

    /// Clicks the catalogue node with the text @p text; false unless exactly one has it.
    bool clickNode(const QString& text);
    /// Clicks the list row at the 1-based @p row; false when there is none.
    bool clickRow(int row);
    /// Clicks the list row of question @p number of @p code (the first such row).
    bool showQuestion(int number, const QString& code = QStringLiteral("K0101"));
    /// Clicks the control named @p name; false when it is not shown or disabled.
    bool click(const QString& name);
    /// Clicks @p widget the way a mouse does: a button on its caption, anything else in its middle.
    static void click(QWidget* widget);
    /// Chooses the item @p text of a combo box with the arrow keys (also when it is already
    /// shown); false when the box has no such item.
    static bool chooseItem(QComboBox* box, const QString& text);
    /// Opens the favourites menu of the toolbar and clicks the item keyed @p key.
    bool chooseFavourites(const QString& key);

    /// Runs @p trigger, which should open a modal dialog, and hands that dialog to @p work
    /// from inside its event loop. Whatever @p work leaves open is rejected, so a failed
    /// check in it cannot hang the test. False when no modal dialog opened.
    static bool runModal(const std::function<void()>& trigger, const std::function<void(QDialog*)>& work);

    /// Types @p text into @p box: ASCII as key presses, a line break as Return, everything
    /// else committed by the input method, as Chinese and emoji arrive.
    static void type(QWidget* box, const QString& text);
    /// Selects everything in @p box and deletes it with the keyboard.
    static void clearBox(QWidget* box);

    /// Checks that exactly one message box was shown since the last look, with an OK button.
    static void checkOneBox(QMessageBox::Icon icon, const QString& title, const QString& text);

    /// The texts of one list column (QuestionListModel::Column), top to bottom.
    QStringList column(int column) const;
    /// The texts (display numbers) of the listed rows.
    QStringList rowTexts() const;
    /// The question shown, as plain text, without the blank lines around it.
    QString shownQuestion() const;
    /// The display position of the question shown ("第3题").
    QString shownPosition() const;
    /// Visibility, enabled state and marks of the four answer panels, for comparing.
    QString answerPanelState() const;

    /// One field of one question of @p table ("tk" or "kstk"); a null QVariant when absent.
    QVariant field(const QString& table, const QString& code, int number, const QString& column) const;
    /// The plain text of an RTF field.
    QString plainField(const QString& table, const QString& code, int number, const QString& column) const;
    /// Every 答题 of @p table, in a fixed order, absent ones as "<null>".
    QStringList allStored(const QString& table) const;
    /// The number a counting statement gives.
    int count(const QString& sql, const QVariantList& params = {}) const;

    /// Starts an exam on the whole bank: copies tk into a new working set kstk, sets the
    /// exam running and lists the whole paper, every type included.
    bool startExam();

private:
    std::unique_ptr<frmmain> m_window;
};

template <typename T> T* MainWindowDriver::child(const QString& name) const
{
    return m_window->findChild<T*>(name);
}
