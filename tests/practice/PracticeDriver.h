#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

class AnswerPanel;
class PracticePanel;
class QAbstractButton;
class QComboBox;
class QuestionView;
class TestBank;
class frmmain;

/// The main window on a fixture bank, shown offscreen and driven as a user drives it:
/// mouse clicks on catalogue nodes, list rows and answer controls, keys on combo boxes.
class PracticeDriver final
{
    Q_DISABLE_COPY_MOVE(PracticeDriver)
public:
    /// Opens and shows the window on the bank at @p bankPath.
    explicit PracticeDriver(const QString& bankPath);
    ~PracticeDriver();

    /// Adds the catalogue the practice tests share: the material section J0101 "证券法"
    /// (with @p materialText), the question sections K0101 "第一节", K0102 "第二节" and
    /// the empty K0103 "第三节", and the personal nodes under W01.
    static void addCatalogue(TestBank& bank, const QString& materialText = QString());

    frmmain& window() const { return *m_window; }
    PracticePanel* panel() const;
    QuestionView* view() const;
    AnswerPanel* answers() const;

    /// Clicks the catalogue node with @p text; false when there is none.
    bool clickNode(const QString& text);
    /// Clicks the 1-based row of the question list; false when there is none.
    bool clickRow(int row);
    /// Clicks the list row of question @p number of @p code (the first such row).
    bool showQuestion(int number, const QString& code = QStringLiteral("K0101"));

    /// Clicks a check box, option or push button the way a mouse does.
    static void click(QAbstractButton* button);
    /// Chooses the item @p text of a combo box with the arrow keys (also when it is already
    /// shown); false when the box has no such item.
    static bool chooseItem(QComboBox* box, const QString& text);

    /// The texts of one list column (0 the display number, 4 the 题号, …), top to bottom.
    QStringList column(int column) const;
    /// 答题 of a question in @p table: a null QVariant when absent.
    QVariant stored(const QString& table, int number, const QString& code = QStringLiteral("K0101")) const;
    /// Every 答题 of @p table, in a fixed order, absent ones as "<null>".
    QStringList allStored(const QString& table) const;

    /// Visibility, enabled state and marks of the four answer panels, for comparing.
    QString answerPanelState() const;

    /// Copies tk into a new working set kstk and starts the exam state.
    bool startExamOnWholeBank();

private:
    std::unique_ptr<frmmain> m_window;
};
