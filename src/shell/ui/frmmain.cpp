#include "shell/ui/frmmain.h"

#include "catalogue/Catalogue.h"
#include "catalogue/NodeAction.h"
#include "catalogue/ui/CatalogueTree.h"
#include "catalogue/ui/QuestionListView.h"
#include "controls/MessageBox.h"
#include "controls/XPButton.h"
#include "data/AttemptRepository.h"
#include "data/BankLocation.h"
#include "data/ui/BankMessages.h"
#include "desktop/DesktopActions.h"
#include "exam/ui/ExamRun.h"
#include "exam/ui/ExamSidePanel.h"
#include "exam/ui/GradingCommands.h"
#include "exam/ui/mlks.h"
#include "practice/MemoryFitting.h"
#include "practice/ReviewSchedule.h"
#include "practice/ui/AnswerPanel.h"
#include "practice/ui/PracticeCommands.h"
#include "practice/ui/PracticePanel.h"
#include "practice/ui/PracticeSidePanel.h"
#include "practice/ui/QuestionView.h"
#include "progress/ui/frmtj.h"
#include "search/ui/FindQuestions.h"
#include "shell/FramePainter.h"
#include "shell/ShellArt.h"
#include "shell/ToolbarCommand.h"
#include "shell/ui/HelpWindow.h"
#include "shell/ui/MainToolbar.h"
#include "shell/ui/Splitter.h"
#include "shell/ui/TitleButton.h"
#include "shell/ui/WelcomePanel.h"
#include "shell/ui/frmct.h"

#include <QCheckBox>
#include <QLineEdit>

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QTextEdit>
#include <QToolButton>
#include <QWindow>

namespace {

// The design size of the client area, used when the window is restored.
constexpr QSize DesignSize(1011, 727);

const QString ExamWarning = QStringLiteral("注意：您必须单击右下方的[结束考试]按钮后才能进行其他操作！");

// The platforms that draw windows nowhere on a screen cannot cut their shape.
bool hasShapedWindows()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

} // namespace

frmmain::frmmain(const QString& bankPath, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(QStringLiteral("Vellumore"));
    setWindowFlags(windowFlags() | Qt::Window | Qt::FramelessWindowHint);

    // Load steps, in their fixed order; a failing step never stops the next one.

    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    resize(DesignSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        move(avail.left() + (avail.width() - width()) / 2, avail.top() + (avail.height() - height()) / 2);
    }

    buildFrame();
    buildToolbar();
    m_Label1 = new QLabel(QStringLiteral("目录索引"), this);
    m_Label1->setObjectName(QStringLiteral("Label1"));
    m_Label1->setGeometry(7, 67, 92, 21);
    m_TreeView1 = new CatalogueTree(this);
    m_TreeView1->setObjectName(QStringLiteral("TreeView1"));
    m_TreeView1->setGeometry(9, 89, 230, 640);
    connect(m_TreeView1, &QTreeWidget::itemClicked, this,
        [this](QTreeWidgetItem* item) { OpenCatalogueNode(item); });
    // Enter on a node opens it too, for those who move through the tree by keyboard.
    connect(m_TreeView1, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (QGuiApplication::mouseButtons() == Qt::NoButton)
            OpenCatalogueNode(item);
    });

    m_Picture2 = new Splitter(this);
    m_Picture2->setGeometry(m_layout[MainLayout::Picture2].rect);
    connect(m_Picture2, &Splitter::dragged, this, &frmmain::Picture2_MouseMove);

    m_Picture1 = new PracticePanel(m_store, m_session, this);
    m_Picture1->hide();
    connect(m_Picture1, &PracticePanel::questionShown, this, [this] { m_sc->setEnabled(true); });
    connect(m_Picture1, &PracticePanel::attemptRecorded, this, &frmmain::refreshReviewCount);
    connect(m_Picture1, &PracticePanel::illustrationChanged, this, &frmmain::showIllustration);
    connect(m_Picture1, &PracticePanel::noCurrentQuestion, this, [this] {
        MessageBox::critical(this, QStringLiteral("错误"), QStringLiteral("操作错误，因为当前没有试题！"));
    });
    connect(m_Picture1, &PracticePanel::writeFailed, this,
        [this](const QString& title, const QString& message) { MessageBox::critical(this, title, message); });

    m_Picture3 = new WelcomePanel(this);

    m_commands = new PracticeCommands(m_store, m_session, m_Picture1, this);
    m_commands->setUpFavouritesMenu(m_sc->menu());
    m_commands->installKeys(this);
    connect(m_commands, &PracticeCommands::gradeRequested, this,
        [this] { GradingCommands::showPracticeReport(this, m_store, m_session); });
    connect(m_commands, &PracticeCommands::paperExportRequested, this,
        [this] { GradingCommands::exportPaper(this, m_store, m_session); });
    connect(m_commands, &PracticeCommands::findRequested, this, [this] {
        FindQuestions::run(
            m_store, m_searchTexts, m_session, m_Picture1,
            [this](const QString& title) { m_Picture3->setTitle(title); }, this);
    });
    // F1 asks for help as the toolbar's "帮助" does, with the same refusal during an exam.
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] { Toolbar1_ButtonClick(QStringLiteral("bz")); });
    m_examRun = new ExamRun(m_exam, m_store, m_session, m_Picture1, m_Picture3, m_sc, this);

    // The layout's load steps.
    m_Picture3->hideWelcomeText();
    readLayout();
    m_layout.applyLoadSteps();
    writeLayout();
    // The fonts decide how far the splitter goes: the tree's caption and the panel's rows stay whole.
    m_layout.setSplitterLimits(
        m_Label1->x() + m_Label1->sizeHint().width() + 2, m_Picture1->minimumLayoutWidth());

    openBank(bankPath.isEmpty() ? BankLocation::bankPath() : bankPath);
    BuildCatalogue();
    applyResizeRules();
}

frmmain::~frmmain()
{
    unload();
    // The fit reads through its own connection; its result has nowhere to go now.
    if (m_fitting)
        m_fitting->wait();
}

void frmmain::buildFrame()
{
    m_Image1 = ShellArt::skin();
    // Hover and background moves arrive without a button held.
    setMouseTracking(true);
    m_Immin = new TitleButton(
        QStringLiteral("Immin"), QStringLiteral("最小化"), ShellArt::minimiseHover(), QImage(), this);
    m_Imclose = new TitleButton(QStringLiteral("Imclose"), QStringLiteral("关闭"), ShellArt::closeHover(),
        ShellArt::closePressed(), this);
    connect(m_Immin, &TitleButton::clicked, this, &QWidget::showMinimized);
    connect(m_Imclose, &TitleButton::clicked, this, &QWidget::close);
}

void frmmain::buildToolbar()
{
    m_toolpic = new QWidget(this);
    m_toolpic->setObjectName(QStringLiteral("toolpic"));
    m_toolpic->setGeometry(m_layout[MainLayout::toolpic].rect);
    m_Toolbar1 = new MainToolbar([this](const QString& key) { Toolbar1_ButtonClick(key); }, m_toolpic);
    m_Toolbar1->setGeometry(m_layout[MainLayout::Toolbar1].rect);
    m_sc = m_Toolbar1->button(QStringLiteral("sc"));
}

bool frmmain::refuseDuringExam()
{
    if (!m_session.isExamRunning())
        return false;
    MessageBox::critical(this, QStringLiteral("操作提示"), ExamWarning);
    return true;
}

void frmmain::Toolbar1_ButtonClick(const QString& key)
{
    if (refuseDuringExam())
        return;
    const ToolbarCommand command = ToolbarCommand::forKey(key);
    // The two questions have no icon and the title "提示"; @p go is the answer that proceeds.
    const auto asked = [this](const QString& text, MessageBox::Button go, MessageBox::Button stop) {
        return MessageBox::show(this, QMessageBox::NoIcon, QStringLiteral("提示"), text, go | stop, go) == go;
    };
    switch (command.kind) {
    case ToolbarCommand::None:
        break;
    case ToolbarCommand::ExamSettings:
        openExamSettings();
        break;
    case ToolbarCommand::Statistics:
        if (asked(QStringLiteral("统计分析可能会需要几分钟时间，您确定要运行该功能吗？"), QMessageBox::Ok,
                QMessageBox::Cancel))
            openStatistics();
        break;
    case ToolbarCommand::UpdatePage:
        if (asked(QStringLiteral("您的软件版本为V7.2,您要查看是否有更新版本吗？"), QMessageBox::Yes,
                QMessageBox::No))
            DesktopActions::openUrl(command.page);
        break;
    case ToolbarCommand::Page:
        DesktopActions::openUrl(command.page);
        break;
    case ToolbarCommand::Help:
        HelpWindow::showGuide(this);
        break;
    case ToolbarCommand::Calculator:
        DesktopActions::startCalculator();
        break;
    }
}

void frmmain::openExamSettings()
{
    mlks dialog(m_exam, m_store.path(), this);
    if (dialog.exec() == QDialog::Accepted)
        m_examRun->begin(dialog.examTime());
}

void frmmain::openStatistics()
{
    frmtj window(m_store, this);
    window.exec();
    // The review plan there may have moved the target or the cap.
    refreshReviewCount();
    if (QTreeWidgetItem* section = m_TreeView1->itemByCode(window.sectionToPractise())) {
        m_TreeView1->setCurrentItem(section);
        OpenCatalogueNode(section);
    }
}

void frmmain::openBank(const QString& bankPath)
{
    const QString file = QDir::toNativeSeparators(bankPath);
    const QString untouched = QStringLiteral("\n\n程序将以空目录继续运行；题库文件没有被改动。");
    QString reason;
    const bool isUserBank = bankPath == BankLocation::bankPath();
    if (isUserBank && !BankLocation::ensureBank(&reason)) {
        MessageBox::critical(this, QStringLiteral("无法打开题库"), reason + untouched);
        return;
    }
    if (m_store.open(bankPath))
        return;
    // A bank that cannot be written can still be browsed; each later write failure is told
    // where it happens, this once why none can succeed.
    if (m_store.openError() == QuestionStore::OpenError::NotWritable) {
        const QString why = BankMessages::reason(m_store.failure());
        if (m_store.open(bankPath, QuestionStore::Mode::ReadOnly)) {
            MessageBox::warning(this, QStringLiteral("题库只能读取"),
                QStringLiteral(
                    "题库文件“%1”不能写入：%2。\n\n您可以浏览试题，但答题、收藏、笔记和考试记录都不能保存。")
                    .arg(file, why));
            return;
        }
    }
    MessageBox::critical(this, QStringLiteral("无法打开题库"),
        QStringLiteral("无法打开题库文件“%1”：%2。").arg(file, BankMessages::reason(m_store.failure()))
            + untouched);
}

void frmmain::BuildCatalogue()
{
    if (!m_store.isOpen())
        return;
    // The catalogue table is rebuilt at every start.
    StoreFailure failure;
    if (!Catalogue::rewriteTree(m_store, &failure))
        MessageBox::critical(this, QStringLiteral("无法更新目录"),
            QStringLiteral("无法在题库文件“%1”中更新目录：%2。\n\n目录按题库中上次保存的内容显示。")
                .arg(QDir::toNativeSeparators(m_store.path()), BankMessages::reason(failure)));
    m_TreeView1->setNodes(Catalogue::readNodes(m_store));
    // Once after an upgrade: the attempts of an older bank take their place in the memory model.
    if (!m_store.isReadOnly() && ReviewSchedule::needsRebuild(m_store)) {
        const WriteResult rebuilt = ReviewSchedule::rebuild(m_store, ReviewSchedule::currentModel(m_store));
        if (rebuilt.isFailed())
            MessageBox::critical(this, QStringLiteral("无法更新复习计划"),
                BankMessages::notStored(QStringLiteral("按答题记录重新安排的复习计划"), rebuilt));
    }
    // An older program adds attempts without counting them per section and type.
    if (!m_store.isReadOnly() && !AttemptRepository::summaryIsCurrent(m_store)) {
        const WriteResult counted = AttemptRepository::rebuildSummary(m_store);
        if (counted.isFailed())
            MessageBox::critical(this, QStringLiteral("无法更新答题统计"),
                BankMessages::notStored(QStringLiteral("按章节和题型汇总的答题记录"), counted));
    }
    refreshReviewCount();
    fitMemoryInBackground();
}

void frmmain::fitMemoryInBackground()
{
    if (m_fitting || !m_store.isOpen() || m_store.isReadOnly() || !MemoryFitting::isDue(m_store))
        return;
    const QString path = m_store.path();
    m_fitting = QThread::create([this, path] {
        const FitResult result = MemoryFitting::fitBank(path);
        // Queued to this window: dropped if it is gone by then.
        QMetaObject::invokeMethod(
            this,
            [this, result] {
                if (!m_store.isOpen() || result.attempts == 0)
                    return;
                const WriteResult kept = MemoryFitting::keep(m_store, result);
                if (kept.isFailed())
                    MessageBox::critical(this, QStringLiteral("无法更新复习计划"),
                        BankMessages::notStored(QStringLiteral("按您的答题记录调整的记忆模型"), kept));
                refreshReviewCount();
            },
            Qt::QueuedConnection);
    });
    m_fitting->setObjectName(QStringLiteral("memoryFitting"));
    connect(m_fitting, &QThread::finished, this, [this] {
        m_fitting->deleteLater();
        m_fitting = nullptr;
    });
    m_fitting->start(QThread::LowPriority);
}

void frmmain::refreshReviewCount()
{
    m_TreeView1->setReviewCount(ReviewSchedule::dueCount(m_store, today()));
}

qint64 frmmain::today() const
{
    return ReviewSchedule::dayOf(QDateTime::currentDateTime());
}

void frmmain::OpenCatalogueNode(QTreeWidgetItem* node)
{
    if (!node)
        return;
    if (refuseDuringExam())
        return;
    PracticePanel* p1 = m_Picture1;
    const NodeAction action = m_TreeView1->isReviewNode(node)
        ? NodeAction::forReview(today())
        : NodeAction::forNode(m_store, node->text(0), m_TreeView1->nodeIndex(node));
    m_sc->setEnabled(false);
    p1->prepareForNode(!action.personal);

    switch (action.kind) {
    case NodeAction::Kind::ExamRoom:
        openExamSettings();
        break;
    case NodeAction::Kind::PersonalList:
    case NodeAction::Kind::ReviewList:
    case NodeAction::Kind::QuestionSection:
        if (action.kind == NodeAction::Kind::PersonalList)
            p1->showAnswerColumns();
        else if (action.kind == NodeAction::Kind::QuestionSection)
            m_session.enterSection(action.code);
        p1->show();
        m_Picture3->hide();
        m_Picture3->setTitle(action.title);
        p1->setTitle(action.title);
        p1->ResetQuestionList();
        if (action.kind == NodeAction::Kind::ReviewList) {
            refreshReviewCount();
            p1->listReview(today());
        } else {
            p1->listSelection(action.selection);
        }
        break;
    case NodeAction::Kind::Material:
        if (!action.code.isEmpty())
            m_session.enterSection(action.code);
        m_Picture3->show();
        p1->hide();
        m_Picture3->showMaterial(action.title, action.document);
        break;
    case NodeAction::Kind::Welcome:
        m_Picture3->show();
        p1->hide();
        m_Picture3->showPicture();
        break;
    }
}

void frmmain::showIllustration(const QVariant& bytes)
{
    if (bytes.isNull()) {
        if (m_frmct)
            m_frmct->close();
        return;
    }
    if (!m_frmct)
        m_frmct = new frmct(this);
    // A picture that cannot be decoded is not shown: the viewer would keep another question's.
    if (!m_frmct->setPictureData(bytes.toByteArray())) {
        m_frmct->close();
        return;
    }
    m_frmct->show();
}

void frmmain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Each step stands alone: one that cannot be carried out at this size never stops the next.
    const int W = width();
    const int H = height();
    m_Immin->move(FramePainter::minimiseButtonPos(W));
    m_Imclose->move(FramePainter::closeButtonPos(W));
    m_frame = FramePainter::render(m_Image1, W, H, titleFont());
    update();
    // Where the platform cannot cut a window's shape, the painted outline is what shows.
    if (hasShapedWindows())
        setMask(FramePainter::outline(W, H));
    applyResizeRules();
}

QFont frmmain::titleFont() const
{
    // Small enough for the title band above the toolbar.
    QFont f = font();
    f.setPixelSize(12);
    return f;
}

void frmmain::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_frame);
}

void frmmain::mousePressEvent(QMouseEvent* event)
{
    // Only the bare background drags; a press that a child passed on does not.
    if (event->button() != Qt::LeftButton || childAt(event->position().toPoint()))
        return;
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    if (QWindow* window = windowHandle())
        window->startSystemMove();
}

void frmmain::mouseMoveEvent(QMouseEvent* event)
{
    if (childAt(event->position().toPoint()))
        return;
    m_Imclose->clearHover();
    m_Immin->clearHover();
}

QWidget* frmmain::layoutWidget(MainLayout::Control control) const
{
    // By name, as the layout rules name them; the dialogs this window owns are windows of
    // their own and may reuse a name.
    const QList<QWidget*> named = findChildren<QWidget*>(MainLayout::name(control));
    for (QWidget* w : named) {
        if (w->window() == this)
            return w;
    }
    return nullptr;
}

void frmmain::readLayout()
{
    for (int c = 0; c < MainLayout::ControlCount; ++c) {
        const auto control = MainLayout::Control(c);
        if (const QWidget* w = layoutWidget(control)) {
            const QRect inner = w->contentsRect();
            m_layout[control] = { w->geometry(),
                QMargins(inner.left(), inner.top(), w->width() - inner.right() - 1,
                    w->height() - inner.bottom() - 1) };
        }
    }
}

void frmmain::writeLayout()
{
    for (int c = 0; c < MainLayout::ControlCount; ++c) {
        const auto control = MainLayout::Control(c);
        if (QWidget* w = layoutWidget(control); w && w->geometry() != m_layout[control].rect)
            w->setGeometry(m_layout[control].rect);
    }
    m_Picture1->placeSidePanels();
}

void frmmain::applyResizeRules()
{
    if (!m_Picture1)
        return;
    readLayout();
    m_layout.applyResizeRules(width(), height());
    writeLayout();
}

void frmmain::Picture2_MouseMove(double x)
{
    readLayout();
    m_layout.applySplitterDrag(width(), x);
    writeLayout();
}

void frmmain::closeEvent(QCloseEvent* event)
{
    if (m_unloaded) {
        event->accept();
        return;
    }
    const auto answer = MessageBox::question(
        this, QStringLiteral("操作提示"), QStringLiteral("您是否真的要退出Vellumore？"));
    if (answer != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    unload();
    event->accept();
}

void frmmain::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_Picture1->leaveQuestion();
    m_store.close();
    // Other windows close without asking again, hidden ones too, from the most recently
    // opened; the window system's list keeps that order. Closing one may delete another.
    QHash<QWindow*, QPointer<QWidget>> widgets;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowHandle())
            widgets.insert(w->windowHandle(), w);
    const QWindowList windows = QGuiApplication::topLevelWindows();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        QWidget* w = widgets.value(*it);
        if (w && w != this && !w->close())
            break;
    }
}
