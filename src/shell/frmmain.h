#pragma once

#include "data/AppState.h"
#include "data/QuestionStore.h"
#include "exam/ExamSession.h"

#include <QWidget>

class CatalogueTree;
class PracticeCommands;
class PracticePanel;
class QFrame;
class QLabel;
class QToolBar;
class QToolButton;
class QTreeWidgetItem;
class WelcomePanel;
class frmct;

/// The main window: the toolbar, the catalogue on the left, and on the right the
/// practice panel or the welcome panel in the same place.
class frmmain final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmmain)
public:
    /// Runs the load steps; @p bankPath defaults to the user's bank.
    explicit frmmain(const QString& bankPath = QString(), QWidget* parent = nullptr);
    ~frmmain() override;

    AppState& state() { return m_state; }
    QuestionStore& store() { return m_store; }
    ExamSession& examSession() { return m_exam; }
    CatalogueTree* TreeView1() const { return m_TreeView1; }
    PracticePanel* Picture1() const { return m_Picture1; }
    PracticeCommands* commands() const { return m_commands; }
    WelcomePanel* Picture3() const { return m_Picture3; }
    QToolButton* favouritesButton() const { return m_sc; }
    /// The illustration viewer, or nullptr before the first illustrated question.
    frmct* illustrationViewer() const { return m_frmct; }

    /// Rewrites the table tree and fills the tree view from it.
    void BuildCatalogue();
    /// Acts on a click on a catalogue node.
    void OpenCatalogueNode(QTreeWidgetItem* node);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void openBank(const QString& bankPath);
    void buildToolbar();
    void applyResizeRules();
    void showIllustration(const QVariant& bytes);
    void unload();

    AppState m_state;
    QuestionStore m_store;
    ExamSession m_exam { m_store, m_state };
    QWidget* m_toolpic = nullptr;
    QToolBar* m_Toolbar1 = nullptr;
    QToolButton* m_sc = nullptr;
    QLabel* m_Label1 = nullptr;
    CatalogueTree* m_TreeView1 = nullptr;
    QFrame* m_Picture2 = nullptr;
    PracticePanel* m_Picture1 = nullptr;
    PracticeCommands* m_commands = nullptr;
    WelcomePanel* m_Picture3 = nullptr;
    frmct* m_frmct = nullptr;
    bool m_unloaded = false;
};
