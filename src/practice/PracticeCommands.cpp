#include "practice/PracticeCommands.h"

#include "catalogue/QuestionFilters.h"
#include "catalogue/QuestionListView.h"
#include "controls/MessageBox.h"
#include "controls/XPButton.h"
#include "data/AppState.h"
#include "data/QuestionStore.h"
#include "practice/Favourites.h"
#include "practice/PracticePanel.h"
#include "practice/PracticeSidePanel.h"
#include "practice/QuestionEditor.h"
#include "practice/QuestionView.h"
#include "practice/addst.h"
#include "richtext/RichText.h"
#include "richtext/RtfWriter.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QTextEdit>

namespace {

QString rtfOf(const QTextEdit* box)
{
    return QString::fromLatin1(RtfWriter::write(*box->document()));
}

} // namespace

PracticeCommands::PracticeCommands(QuestionStore& store, AppState& state, PracticePanel* panel, QWidget* window)
    : QObject(window)
    , m_store(store)
    , m_state(state)
    , m_panel(panel)
    , m_window(window)
{
    for (int i = 0; i <= 8; ++i) {
        if (XPButton* b = panel->cmd(i))
            connect(b, &XPButton::Click, this, [this, i] { cmdClicked(i); });
    }
    PracticeSidePanel* side = panel->Frame3();
    connect(side->cmdxtsa(), &XPButton::Click, this, &PracticeCommands::PreviousQuestion);
    connect(side->cmdxtxa(), &XPButton::Click, this, &PracticeCommands::NextQuestion);

    QuestionView* view = panel->view();
    connect(view->Command4(), &XPButton::Click, this, &PracticeCommands::SaveNotes);
    connect(view->Command5(), &XPButton::Click, view->Frame10(), &QWidget::hide);
    connect(view->Command6(), &XPButton::Click, this, &PracticeCommands::SaveQuestionEdits);
    connect(view->Command7(), &XPButton::Click, view->Frame11(), &QWidget::hide);
}

void PracticeCommands::setUpFavouritesMenu(QMenu* menu)
{
    const struct
    {
        const char* key;
        const char16_t* caption;
    } items[] = { { "addsc", u"添加到收藏夹" }, { "delsc", u"从收藏夹移除" }, { "clssc", u"清空收藏夹" } };
    for (const auto& item : items) {
        QAction* action = menu->addAction(QString::fromUtf16(item.caption));
        action->setObjectName(QString::fromLatin1(item.key));
        action->setData(QString::fromLatin1(item.key));
        connect(action, &QAction::triggered, this, [this, key = QString::fromLatin1(item.key)] { favouritesChosen(key); });
    }
}

void PracticeCommands::cmdClicked(int index)
{
    switch (index) {
    case 0:
        RedoQuestions();
        break;
    case 1:
        ToggleAnswerColumns();
        break;
    case 4:
        AddToFavourites();
        break;
    case 5:
        openAddDialog();
        break;
    case 7:
        m_panel->view()->Frame11()->show();
        m_panel->view()->Frame11()->raise();
        break;
    case 8:
        m_panel->view()->Frame10()->show();
        m_panel->view()->Frame10()->raise();
        break;
    default:
        // Grading, printing and search arrive with the exam and search windows.
        break;
    }
}

void PracticeCommands::favouritesChosen(const QString& key)
{
    if (key == QLatin1String("addsc"))
        AddToFavourites();
    else if (key == QLatin1String("delsc"))
        RemoveFromFavourites();
    else if (key == QLatin1String("clssc"))
        ClearFavourites();
}

void PracticeCommands::RedoQuestions()
{
    m_panel->Frame3()->Combo1()->setCurrentIndex(-1); // shows "请选择范围"
    m_store.execute(QStringLiteral("update tk set 答题='' where 代码=?"), { m_state.SectionCode });
    m_panel->ListView1()->questions()->clear();
    m_panel->listSelection(QuestionFilters::section(m_state.SectionCode));
}

void PracticeCommands::ToggleAnswerColumns()
{
    if (m_state.ExamRunning)
        m_panel->ExamFilter();
    else
        m_panel->PracticeFilter();
    XPButton* button = m_panel->cmd(1);
    QuestionListView* list = m_panel->ListView1();
    if (button->caption() == QStringLiteral("查看答案")) {
        button->setCaption(QStringLiteral("隐藏答案"));
        list->applyAnswerLayout();
    } else {
        button->setCaption(QStringLiteral("查看答案"));
        list->applyQuestionLayout();
    }
}

void PracticeCommands::showRow(int row)
{
    QuestionListView* list = m_panel->ListView1();
    m_panel->view()->Text2()->setText(list->questions()->subItem(row - 1, 0));
    m_panel->ShowQuestion(row);
}

void PracticeCommands::PreviousQuestion()
{
    const int rows = m_panel->ListView1()->rowCount();
    if (rows == 0)
        return; // nothing listed: nothing to move to
    m_state.ListPosition = qBound(1, m_state.ListPosition - 1, rows);
    showRow(m_state.ListPosition);
}

void PracticeCommands::NextQuestion()
{
    const int rows = m_panel->ListView1()->rowCount();
    if (rows == 0)
        return;
    m_state.ListPosition = qBound(1, m_state.ListPosition + 1, rows);
    showRow(m_state.ListPosition);
}

void PracticeCommands::AddToFavourites()
{
    if (Favourites::AddToFavourites(m_store, m_state) == Favourites::AddResult::Added)
        MessageBox::information(m_window, QStringLiteral("信息提示"), QStringLiteral("本题你已成功收藏！"));
    else
        MessageBox::information(m_window, QStringLiteral("信息提示"), QStringLiteral("注意：本题目你已做过收藏！"));
}

void PracticeCommands::RemoveFromFavourites()
{
    Favourites::RemoveFromFavourites(m_store, m_state);
    QuestionListView* list = m_panel->ListView1();
    list->questions()->removeRow(m_state.ListPosition - 1);
    const int rows = list->rowCount();
    if (rows == 0) {
        m_panel->view()->clearQuestion();
        return;
    }
    // After the last row the one before it moves up into view.
    showRow(qMin(m_state.ListPosition, rows));
}

void PracticeCommands::ClearFavourites()
{
    Favourites::ClearFavourites(m_store);
    m_panel->ListView1()->questions()->clear();
    m_panel->view()->clearQuestion();
}

void PracticeCommands::SaveNotes()
{
    const QuestionEditor::Refusal why = QuestionEditor::SaveNotes(m_store, m_state, rtfOf(m_panel->view()->text3()));
    if (why.isEmpty())
        MessageBox::notice(m_window, QStringLiteral("添加或修改成功！"));
    else
        MessageBox::warning(m_window, QStringLiteral("无法保存"), why);
}

void PracticeCommands::SaveQuestionEdits()
{
    QuestionView* view = m_panel->view();
    QuestionEditor::Edits edits;
    edits.document = rtfOf(view->text4());
    edits.plainText = RichText::plainText(*view->text4()->document());
    edits.answer = view->Text5()->text();
    edits.notes = rtfOf(view->text6());
    edits.type = view->Text7()->text();
    const QuestionEditor::Refusal why = QuestionEditor::SaveQuestionEdits(m_store, m_state, edits);
    if (why.isEmpty())
        MessageBox::notice(m_window, QStringLiteral("试题修改成功，点击左侧树目录以刷新修改记录！"));
    else
        MessageBox::warning(m_window, QStringLiteral("无法保存"), why);
}

void PracticeCommands::openAddDialog()
{
    addst dialog(m_store, m_state, m_window);
    connect(&dialog, &addst::questionAdded, this,
            [this](const QString& type, const QString& title, const QString& answer, const QString& number,
                   const QString& code) {
                // Row 1 stands for the new question until the list is refreshed.
                QuestionListModel* model = m_panel->ListView1()->questions();
                if (model->rowCount() == 0)
                    return;
                model->setSubItem(0, QuestionListModel::Type, type);
                model->setSubItem(0, QuestionListModel::Title, title);
                model->setSubItem(0, QuestionListModel::Answer, answer);
                model->setSubItem(0, QuestionListModel::QuestionNo, number);
                model->setSubItem(0, QuestionListModel::Code, code);
            });
    dialog.exec();
}
