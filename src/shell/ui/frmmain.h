#pragma once

#include "data/QuestionStore.h"
#include "exam/ExamSession.h"
#include "search/SearchTexts.h"
#include "session/StudySession.h"
#include "shell/MainLayout.h"

#include <QImage>
#include <QThread>
#include <QWidget>

class CatalogueTree;
class ExamRun;
class MainToolbar;
class PracticeCommands;
class PracticePanel;
class QLabel;
class QToolButton;
class Splitter;
class TitleButton;
class QTreeWidgetItem;
class WelcomePanel;
class frmct;

/// frmmain (the main form). The main window: its own painted frame with the title-bar buttons, the toolbar,
/// the catalogue on the left, the splitter, and on the right the practice panel or the welcome panel in the
/// same place.
class frmmain final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmmain)
public:
    /// Runs the load steps; @p bankPath defaults to the user's bank.
    explicit frmmain(const QString& bankPath = QString(), QWidget* parent = nullptr);
    ~frmmain() override;

    StudySession& session() { return m_session; }
    QuestionStore& store() { return m_store; }
    ExamSession& examSession() { return m_exam; }
    /// The exam mode of the window: the exam panel, the paper and the clocks.
    ExamRun* examRun() const { return m_examRun; }
    PracticeCommands* commands() const { return m_commands; }
    /// The frame as last painted by the resize sequence.
    const QImage& paintedFrame() const { return m_frame; }
    /// The illustration viewer, or nullptr before the first illustrated question.
    frmct* illustrationViewer() const { return m_frmct; }

    /// Rewrites the table tree and fills the tree view from it.
    void BuildCatalogue();
    /// Shows in the review node how many questions are due today.
    void refreshReviewCount();
    /// Fits the memory model to the candidate's attempts on a worker thread when they call
    /// for it; the weights are kept, and the schedule built again, once it is done.
    void fitMemoryInBackground();
    /// The fit of the memory model under way, or nullptr.
    QThread* memoryFitting() const { return m_fitting; }
    /// Acts on a click on a catalogue node.
    void OpenCatalogueNode(QTreeWidgetItem* node);

    /// While an exam runs, shows the warning and returns true: the toolbar and the tree
    /// then do nothing else.
    bool refuseDuringExam();
    /// A click on the toolbar button with @p key.
    void Toolbar1_ButtonClick(const QString& key);
    /// The exam settings dialog, modal (the toolbar's mlkc).
    void openExamSettings();
    /// The statistics window, modal, once the user has confirmed (the toolbar's tj).
    void openStatistics();
    /// A move of the splitter with the left button held, @p x being inside the splitter.
    void Picture2_MouseMove(double x);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    /// The candidate's calendar day, as the review schedule counts days.
    qint64 today() const;
    void openBank(const QString& bankPath);
    void buildFrame();
    QFont titleFont() const;
    void buildToolbar();
    void applyResizeRules();
    QWidget* layoutWidget(MainLayout::Control control) const;
    void readLayout();
    void writeLayout();
    void showIllustration(const QVariant& bytes);
    void unload();

    StudySession m_session;
    QuestionStore m_store;
    ExamSession m_exam { m_store, m_session };
    /// The bank's extracts, kept between searches.
    SearchTexts m_searchTexts;
    QImage m_Image1;
    QImage m_frame;
    TitleButton* m_Immin = nullptr;
    TitleButton* m_Imclose = nullptr;
    MainLayout m_layout;
    QWidget* m_toolpic = nullptr;
    MainToolbar* m_Toolbar1 = nullptr;
    QToolButton* m_sc = nullptr;
    QLabel* m_Label1 = nullptr;
    CatalogueTree* m_TreeView1 = nullptr;
    Splitter* m_Picture2 = nullptr;
    PracticePanel* m_Picture1 = nullptr;
    PracticeCommands* m_commands = nullptr;
    ExamRun* m_examRun = nullptr;
    WelcomePanel* m_Picture3 = nullptr;
    frmct* m_frmct = nullptr;
    QThread* m_fitting = nullptr;
    bool m_unloaded = false;
};
