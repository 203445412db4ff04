#pragma once

#include "TestBank.h"
#include "TestEnvironment.h"

#include "shell/frmmain.h"

#include <QMessageBox>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>

class QDialog;
class QuestionListView;
class QuestionView;
class QWidget;

/// The real main window, shown offscreen, over a small encrypted bank in a temporary
/// folder, and the moves a user makes on it.
///
/// The bank: project K / subject K01 with the sections
/// - "证券市场的产生与发展" (K0101): 1 单选 "A" answered "B"; 2 多选 "ABD" answered "AB",
///   a favourite; 3 判断 "A" answered "A"; 4 A3 "AB" answered "AB". Listed as A3, 判断,
///   单选, 多选: "第1题--第2题", "第3题", "第4题", "第5题".
/// - "股票" (K0102): 单选 questions numbered 1, 2 and 5 (a gap), answered "B", not at all, "A".
/// - "债券" (K0103): no questions.
/// and the named entry "个人收藏试题" (W0101).
class PracticeWindow final
{
    Q_DISABLE_COPY_MOVE(PracticeWindow)
public:
    /// @p extra adds rows to the bank before the window opens it.
    explicit PracticeWindow(const std::function<void(TestBank&)>& extra = {});
    ~PracticeWindow();

    frmmain& window() { return *m_window; }
    AppState& state() { return m_window->state(); }
    QuestionView* view() const;
    QuestionListView* list() const;

    /// The control named @p name, or nullptr.
    template<typename T = QWidget>
    T* child(const QString& name) const;

    /// Clicks the catalogue node with the text @p text; false when there is no such node.
    bool openNode(const QString& text);
    /// Clicks the control named @p name in its middle; false when it is not shown.
    bool click(const QString& name);
    /// Clicks the list row at the 1-based @p row.
    bool clickRow(int row);
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

    /// The texts (display numbers) of the listed rows.
    QStringList rowTexts() const;
    /// The question shown, as plain text, without the blank lines around it.
    QString shownQuestion() const;
    /// The display position of the question shown ("第3题").
    QString shownPosition() const;

    /// One field of one question of @p table ("tk" or "kstk").
    QVariant field(const QString& table, const QString& code, int number, const QString& column);
    /// The plain text of an RTF field.
    QString plainField(const QString& table, const QString& code, int number, const QString& column);
    int count(const QString& sql, const QVariantList& params = {});

    /// Copies the bank into the working set kstk.
    bool copyToWorkingSet();
    /// Sets the exam running and lists the working set, as the start of a mock exam does.
    void startExam();

    struct NamedText
    {
        const char* name;
        QString text;
    };
    /// Texts that must come back exactly as typed: quotes, backslashes, RTF control
    /// words, braces, Chinese and emoji.
    static QVector<NamedText> awkwardTexts();

private:
    TestEnvironment m_env;
    std::unique_ptr<frmmain> m_window;
};

template<typename T>
T* PracticeWindow::child(const QString& name) const
{
    return m_window->findChild<T*>(name);
}
