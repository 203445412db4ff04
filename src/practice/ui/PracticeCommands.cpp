#include "practice/ui/PracticeCommands.h"

#include "catalogue/QuestionFilters.h"
#include "controls/MessageBox.h"
#include "controls/XPButton.h"
#include "data/QuestionStore.h"
#include "data/ui/BankMessages.h"
#include "practice/Answers.h"
#include "practice/Favourites.h"
#include "practice/QuestionEditor.h"
#include "practice/ui/PracticePanel.h"
#include "practice/ui/addst.h"
#include "session/StudySession.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QTextEdit>
#include <QTreeWidget>

PracticeCommands::PracticeCommands(
    QuestionStore& store, StudySession& session, PracticePanel* panel, QWidget* window)
    : QObject(window)
    , m_store(store)
    , m_session(session)
    , m_panel(panel)
    , m_window(window)
{
    connect(panel, &PracticePanel::commandClicked, this, &PracticeCommands::cmdClicked);
    connect(panel, &PracticePanel::previousClicked, this, &PracticeCommands::PreviousQuestion);
    connect(panel, &PracticePanel::nextClicked, this, &PracticeCommands::NextQuestion);
    connect(panel, &PracticePanel::saveNotesRequested, this, &PracticeCommands::SaveNotes);
    connect(panel, &PracticePanel::saveEditsRequested, this, &PracticeCommands::SaveQuestionEdits);
}

namespace {

// Widgets that use plain keys for themselves.
bool ownsPlainKeys(const QWidget* focus)
{
    return qobject_cast<const QLineEdit*>(focus) || qobject_cast<const QTextEdit*>(focus)
        || qobject_cast<const QAbstractSlider*>(focus) || qobject_cast<const QAbstractSpinBox*>(focus)
        || qobject_cast<const QComboBox*>(focus) || qobject_cast<const QTreeWidget*>(focus);
}

// Enter also presses the focused button.
bool ownsEnter(const QWidget* focus)
{
    return ownsPlainKeys(focus) || qobject_cast<const QAbstractButton*>(focus)
        || qobject_cast<const XPButton*>(focus);
}

} // namespace

void PracticeCommands::addKey(QWidget* window, const QKeySequence& key, const std::function<void()>& action,
    bool (*ownsKey)(const QWidget*))
{
    if (!ownsKey)
        ownsKey = ownsPlainKeys;
    auto* shortcut = new QShortcut(key, window);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this, shortcut, key, action, ownsKey] {
        QWidget* focus = QApplication::focusWidget();
        if (m_panel->isVisible() && !ownsKey(focus)) {
            action();
            return;
        }
        // A tree, combo or slider takes no shortcut override: hand it its key, with the
        // shortcut off meanwhile, since a key sent by hand looks for shortcuts first.
        if (focus) {
            shortcut->setEnabled(false);
            const int code = key[0].key();
            const QString text = code < 0x80 ? QString(QChar(code)).toLower() : QString();
            QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
            QCoreApplication::sendEvent(focus, &press);
            shortcut->setEnabled(true);
        }
    });
}

void PracticeCommands::installKeys(QWidget* window)
{
    addKey(window, QKeySequence(Qt::Key_Left), [this] { PreviousQuestion(); });
    addKey(window, QKeySequence(Qt::Key_Right), [this] { NextQuestion(); });
    for (const Qt::Key enter : { Qt::Key_Return, Qt::Key_Enter })
        addKey(
            window, QKeySequence(enter), [this] { m_panel->judgeAnswer(); }, ownsEnter);
    for (int i = 0; i < 5; ++i) {
        const auto choose = [this, i] { m_panel->chooseOption(i); };
        addKey(window, QKeySequence(Qt::Key(Qt::Key_A + i)), choose);
        addKey(window, QKeySequence(Qt::Key(Qt::Key_1 + i)), choose);
    }
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
        connect(action, &QAction::triggered, this,
            [this, key = QString::fromLatin1(item.key)] { favouritesChosen(key); });
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
    case 2:
        emit gradeRequested();
        break;
    case 3:
        emit paperExportRequested();
        break;
    case 4:
        AddToFavourites();
        break;
    case 5:
        openAddDialog();
        break;
    case 6:
        emit findRequested();
        break;
    case 7:
        m_panel->openEditPanel();
        break;
    case 8:
        m_panel->openNotesPanel();
        break;
    default:
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
    // Redo belongs to practice: it clears the section's answers in the bank.
    const WriteResult result = Answers::ClearAnswers(m_store, QuestionTable::Bank, m_session.sectionCode());
    if (result.isFailed()) {
        MessageBox::critical(m_window, QStringLiteral("操作失败"),
            BankMessages::notStored(QStringLiteral("清除本节答案的操作"), result));
        return;
    }
    m_panel->showNoRange();
    m_panel->clearList();
    m_panel->listSelection(QuestionFilters::section(m_session.sectionCode()));
}

void PracticeCommands::ToggleAnswerColumns()
{
    m_panel->toggleAnswerColumns();
}

void PracticeCommands::PreviousQuestion()
{
    const int rows = m_panel->listRowCount();
    if (rows == 0)
        return; // nothing listed: nothing to move to
    m_panel->showListRow(qBound(1, m_session.position() - 1, rows));
}

void PracticeCommands::NextQuestion()
{
    const int rows = m_panel->listRowCount();
    if (rows == 0)
        return;
    m_panel->showListRow(qBound(1, m_session.position() + 1, rows));
}

void PracticeCommands::AddToFavourites()
{
    WriteResult failed = WriteResult::done();
    switch (Favourites::AddToFavourites(m_store, m_session.currentQuestion(), &failed)) {
    case Favourites::AddResult::Added:
        MessageBox::information(m_window, QStringLiteral("信息提示"), QStringLiteral("本题你已成功收藏！"));
        break;
    case Favourites::AddResult::AlreadyFavourite:
        MessageBox::information(
            m_window, QStringLiteral("信息提示"), QStringLiteral("注意：本题目你已做过收藏！"));
        break;
    case Favourites::AddResult::Failed:
        MessageBox::critical(m_window, QStringLiteral("收藏失败"),
            BankMessages::notStored(QStringLiteral("本题的收藏标记"), failed));
        break;
    }
}

void PracticeCommands::RemoveFromFavourites()
{
    const WriteResult result = Favourites::RemoveFromFavourites(m_store, m_session.currentQuestion());
    if (result.isFailed()) {
        // The row stays listed: it is still a favourite.
        MessageBox::critical(m_window, QStringLiteral("移除失败"),
            BankMessages::notStored(QStringLiteral("从收藏夹移除本题的操作"), result));
        return;
    }
    m_panel->removeListRow(m_session.position());
    const int rows = m_panel->listRowCount();
    if (rows == 0) {
        m_panel->clearQuestion();
        return;
    }
    // After the last row the one before it moves up into view.
    m_panel->showListRow(qMin(m_session.position(), rows));
}

void PracticeCommands::ClearFavourites()
{
    const WriteResult result = Favourites::ClearFavourites(m_store);
    if (result.isFailed()) {
        MessageBox::critical(m_window, QStringLiteral("清空失败"),
            BankMessages::notStored(QStringLiteral("清空收藏夹的操作"), result));
        return;
    }
    m_panel->clearList();
    m_panel->clearQuestion();
}

void PracticeCommands::showSaveOutcome(const WriteResult& result, const QString& what, const QString& done)
{
    if (result.isDone())
        MessageBox::notice(m_window, done);
    else if (result.isNothing())
        MessageBox::warning(m_window, QStringLiteral("无法保存"), result.ownReason() + QStringLiteral("。"));
    else
        MessageBox::critical(m_window, QStringLiteral("保存失败"), BankMessages::notStored(what, result));
}

void PracticeCommands::SaveNotes()
{
    showSaveOutcome(QuestionEditor::SaveNotes(m_store, m_session.currentQuestion(), m_panel->notesDocument()),
        QStringLiteral("您的笔记"), QStringLiteral("添加或修改成功！"));
}

void PracticeCommands::SaveQuestionEdits()
{
    showSaveOutcome(QuestionEditor::SaveQuestionEdits(m_store, m_session.currentQuestion(), m_panel->edits()),
        QStringLiteral("您对试题的修改"), QStringLiteral("试题修改成功，点击左侧树目录以刷新修改记录！"));
}

void PracticeCommands::openAddDialog()
{
    addst dialog(m_store, m_session, m_window);
    connect(&dialog, &addst::questionAdded, this,
        [this](const QString& type, const QString& title, const QString& answer, const QString& number,
            const QString& code) {
            // Row 1 stands for the new question until the list is refreshed.
            m_panel->replaceFirstRow(type, title, answer, number, code);
        });
    dialog.exec();
}
