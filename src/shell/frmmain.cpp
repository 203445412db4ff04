#include "shell/frmmain.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueTree.h"
#include "catalogue/NodeAction.h"
#include "catalogue/QuestionListView.h"
#include "controls/MessageBox.h"
#include "controls/XPButton.h"
#include "data/BankLocation.h"
#include "practice/AnswerPanel.h"
#include "practice/PracticeCommands.h"
#include "practice/PracticePanel.h"
#include "practice/PracticeSidePanel.h"
#include "practice/QuestionView.h"
#include "shell/WelcomePanel.h"
#include "shell/frmct.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

namespace {

// The design size of the client area, used when the window is restored.
constexpr QSize DesignSize(1011, 727);

const QString ExamWarning = QStringLiteral("注意：您必须单击右下方的[结束考试]按钮后才能进行其他操作！");

int innerWidth(const QWidget* w)
{
    return w->contentsRect().width();
}

int innerHeight(const QWidget* w)
{
    return w->contentsRect().height();
}

// Layout setters that leave the control as it was when a computed size is negative.
void setLeft(QWidget* w, int left)
{
    w->move(left, w->y());
}

void setTop(QWidget* w, int top)
{
    w->move(w->x(), top);
}

void setWidth(QWidget* w, int width)
{
    if (width >= 0)
        w->resize(width, w->height());
}

void setHeight(QWidget* w, int height)
{
    if (height >= 0)
        w->resize(w->width(), height);
}

} // namespace

frmmain::frmmain(const QString& bankPath, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(QStringLiteral("Vellumore"));

    // Load steps, in their fixed order; a failing step never stops the next one.
    m_state = AppState {};

    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    resize(DesignSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        move(avail.left() + (avail.width() - width()) / 2, avail.top() + (avail.height() - height()) / 2);
    }

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

    m_Picture2 = new QFrame(this);
    m_Picture2->setObjectName(QStringLiteral("Picture2"));
    m_Picture2->setGeometry(0, 68, 2, 480);
    m_Picture2->setStyleSheet(QStringLiteral("background: #c8d4e4;"));

    m_Picture1 = new PracticePanel(m_store, m_state, this);
    m_Picture1->hide();
    connect(m_Picture1, &PracticePanel::questionShown, this, [this] { m_sc->setEnabled(true); });
    connect(m_Picture1, &PracticePanel::illustrationChanged, this, &frmmain::showIllustration);
    connect(m_Picture1, &PracticePanel::noCurrentQuestion, this, [this] {
        MessageBox::critical(this, QStringLiteral("错误"), QStringLiteral("操作错误，因为当前没有试题！"));
    });
    connect(m_Picture1, &PracticePanel::writeFailed, this,
        [this](const QString& title, const QString& message) { MessageBox::critical(this, title, message); });

    m_Picture3 = new WelcomePanel(this);

    m_commands = new PracticeCommands(m_store, m_state, m_Picture1, this);
    m_commands->setUpFavouritesMenu(m_sc->menu());
    m_commands->installKeys(this);

    // The layout's load steps.
    m_Picture3->Tex()->hide();
    m_Picture3->bt()->hide();
    m_TreeView1->move(9, m_TreeView1->y());
    m_Picture2->move(m_TreeView1->width() + 9, m_Picture2->y());

    openBank(bankPath.isEmpty() ? BankLocation::bankPath() : bankPath);
    BuildCatalogue();
    applyResizeRules();
}

frmmain::~frmmain()
{
    unload();
}

void frmmain::buildToolbar()
{
    m_toolpic = new QWidget(this);
    m_toolpic->setObjectName(QStringLiteral("toolpic"));
    m_toolpic->setGeometry(8, 28, 622, 39);
    m_Toolbar1 = new QToolBar(m_toolpic);
    m_Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    m_Toolbar1->setGeometry(0, 0, 792, 38);
    m_Toolbar1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    m_sc = new QToolButton(m_Toolbar1);
    m_sc->setObjectName(QStringLiteral("sc"));
    m_sc->setText(QStringLiteral("收藏夹"));
    m_sc->setToolTip(QStringLiteral("收藏夹"));
    m_sc->setPopupMode(QToolButton::InstantPopup);
    m_sc->setMenu(new QMenu(m_sc));
    m_Toolbar1->addWidget(m_sc);
}

void frmmain::openBank(const QString& bankPath)
{
    QString reason;
    const bool isUserBank = bankPath == BankLocation::bankPath();
    if ((isUserBank && !BankLocation::ensureBank(&reason)) || (reason.isEmpty() && !m_store.open(bankPath))) {
        if (reason.isEmpty())
            reason = QStringLiteral("无法打开题库文件“%1”：%2。")
                         .arg(QDir::toNativeSeparators(bankPath), m_store.lastError());
        MessageBox::critical(this, QStringLiteral("无法打开题库"),
            reason + QStringLiteral("\n\n程序将以空目录继续运行；题库文件没有被改动。"));
    }
}

void frmmain::BuildCatalogue()
{
    if (!m_store.isOpen())
        return;
    Catalogue::rewriteTree(m_store);
    m_TreeView1->setNodes(Catalogue::readNodes(m_store));
}

void frmmain::OpenCatalogueNode(QTreeWidgetItem* node)
{
    if (!node)
        return;
    if (m_state.ExamRunning) {
        MessageBox::critical(this, QStringLiteral("操作提示"), ExamWarning);
        return;
    }
    PracticePanel* p1 = m_Picture1;
    const NodeAction action = NodeAction::forNode(m_store, node->text(0), m_TreeView1->nodeIndex(node));
    m_sc->setEnabled(false);
    p1->prepareForNode(!action.personal);

    switch (action.kind) {
    case NodeAction::Kind::ExamRoom:
        // The exam settings window opens here once the mock exam is built.
        break;
    case NodeAction::Kind::PersonalList:
    case NodeAction::Kind::QuestionSection:
        if (action.kind == NodeAction::Kind::PersonalList)
            p1->ListView1()->applyAnswerLayout();
        else
            m_state.SectionCode = action.code;
        p1->show();
        m_Picture3->hide();
        m_Picture3->bt()->setText(action.title);
        p1->Label2()->setText(action.title);
        p1->ResetQuestionList();
        p1->listSelection(action.selection);
        break;
    case NodeAction::Kind::Material:
        if (!action.code.isEmpty())
            m_state.SectionCode = action.code;
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
    applyResizeRules();
}

void frmmain::applyResizeRules()
{
    if (!m_Picture1)
        return;
    const int W = width();
    const int H = height();
    PracticePanel* p1 = m_Picture1;
    WelcomePanel* p3 = m_Picture3;
    QuestionView* view = p1->view();
    PracticeSidePanel* side = p1->Frame3();
    QFrame* p5 = view->Picture5();

    setWidth(m_toolpic, W - 18);
    setWidth(m_Toolbar1, innerWidth(m_toolpic));
    setHeight(m_TreeView1, H - m_TreeView1->y() - 9);
    setHeight(p1, H - p1->y() - 9);
    setHeight(m_Picture2, innerHeight(p1));
    setLeft(p1, m_Picture2->x() + m_Picture2->width());
    setWidth(p1, W - p1->x() - 9);
    setWidth(p1->Label2(), innerWidth(p1));
    setWidth(m_Label1, m_Picture2->x());
    setWidth(p1->ListView1(), innerWidth(p1) - 5);
    setWidth(p5, innerWidth(p1) - side->width() - 18);
    setLeft(side, p5->width() + 9);
    setWidth(view->Text1(), innerWidth(p5));
    setWidth(view->textxx(), innerWidth(p5));
    setHeight(view->Text1(), innerHeight(p5));
    setLeft(p1->zh1(), p5->x());
    setWidth(p1->zh1(), innerWidth(p5));
    setTop(side, p5->y());
    setTop(p3, p1->y());
    setLeft(p3, p1->x());
    setWidth(p3, W - p3->x() - 9);
    setHeight(p3, H - p3->y() - 9);
    setWidth(p3->Image2(), innerWidth(p3));
    setHeight(p3->Image2(), innerHeight(p3));
    setWidth(p3->bt(), innerWidth(p3));
    setWidth(p3->Tex(), innerWidth(p3));
    setTop(p3->Tex(), p3->bt()->height() + 9);
    setHeight(p3->Tex(), innerHeight(p1) - p3->bt()->height() - 9);
    setLeft(p1->cmd(4), innerWidth(p1) - p1->cmd(4)->width() - 9);
    setLeft(p1->cmd(6), p1->cmd(4)->x() - p1->cmd(6)->width() - 2);
    setLeft(p1->cmd(5), p1->cmd(6)->x() - p1->cmd(5)->width() - 2);
    view->placeSidePanels();
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
    m_store.close();
    // Other windows close without asking again, the most recent first.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        QWidget* w = *it;
        if (w != this && w->isVisible() && !w->close())
            break;
    }
}
