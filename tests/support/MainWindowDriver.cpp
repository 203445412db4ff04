#include "MainWindowDriver.h"
#include "Named.h"

#include "Fixtures.h"
#include "TestBank.h"

#include "catalogue/QuestionFilters.h"
#include "catalogue/ui/CatalogueTree.h"
#include "catalogue/ui/QuestionListView.h"
#include "controls/MessageBox.h"
#include "exam/ExamSession.h"
#include "exam/WorkingSet.h"
#include "practice/ui/AnswerPanel.h"
#include "practice/ui/PracticePanel.h"
#include "practice/ui/QuestionView.h"
#include "richtext/RichText.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

bool isShown(const QWidget* w)
{
    return w && w->isVisible() && w->isEnabled();
}

} // namespace

MainWindowDriver::MainWindowDriver(const QString& bankPath, const std::function<void(TestBank&)>& fill)
{
    if (fill) {
        TestBank bank(bankPath);
        fill(bank);
    }
    m_window = std::make_unique<frmmain>(bankPath);
    m_window->show();
    m_window->activateWindow();
    if (!QTest::qWaitForWindowActive(m_window.get()))
        qWarning("the main window did not become active");
}

MainWindowDriver::~MainWindowDriver() = default;

PracticePanel* MainWindowDriver::panel() const
{
    return named<PracticePanel>(m_window.get(), u"Picture1"_s);
}

AnswerPanel* MainWindowDriver::answers() const
{
    return named<AnswerPanel>(panel(), u"Picture9"_s);
}

QuestionListView* MainWindowDriver::list() const
{
    return named<QuestionListView>(panel(), u"ListView1"_s);
}

bool MainWindowDriver::clickNode(const QString& text)
{
    CatalogueTree* tree = named<CatalogueTree>(m_window.get(), u"TreeView1"_s);
    tree->expandAll();
    const QList<QTreeWidgetItem*> items = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    if (items.size() != 1)
        return false;
    tree->scrollToItem(items.first());
    const QRect rect = tree->visualItemRect(items.first());
    if (!rect.isValid())
        return false;
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
    return true;
}

bool MainWindowDriver::clickRow(int row)
{
    QuestionListView* view = list();
    if (row < 1 || row > view->rowCount())
        return false;
    const QModelIndex index = view->model()->index(row - 1, 0);
    view->scrollTo(index);
    const QRect rect = view->visualRect(index);
    if (!rect.isValid())
        return false;
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    return true;
}

bool MainWindowDriver::showQuestion(int number, const QString& code)
{
    const QStringList numbers = column(QuestionListModel::QuestionNo);
    const QStringList codes = column(QuestionListModel::Code);
    for (int i = 0; i < numbers.size(); ++i) {
        if (numbers[i] == QString::number(number) && codes[i] == code)
            return clickRow(i + 1);
    }
    return false;
}

bool MainWindowDriver::click(const QString& name)
{
    QWidget* w = child(name);
    if (!isShown(w))
        return false;
    click(w);
    return true;
}

void MainWindowDriver::click(QWidget* widget)
{
    // A check box or option takes clicks on its mark and caption only: the middle of its
    // own size hint, not of a wider widget.
    const QSize hint = qobject_cast<QAbstractButton*>(widget) ? widget->sizeHint().boundedTo(widget->size())
                                                              : widget->size();
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(hint.width() / 2, widget->height() / 2));
}

bool MainWindowDriver::chooseItem(QComboBox* box, const QString& text)
{
    const int target = box->findText(text);
    if (target < 0)
        return false;
    // Choosing the item already shown: away and back, as a keyboard user would.
    if (box->currentIndex() == target)
        QTest::keyClick(box, target + 1 < box->count() ? Qt::Key_Down : Qt::Key_Up);
    while (box->currentIndex() < target)
        QTest::keyClick(box, Qt::Key_Down);
    while (box->currentIndex() > target)
        QTest::keyClick(box, Qt::Key_Up);
    return box->currentIndex() == target;
}

bool MainWindowDriver::chooseFavourites(const QString& key)
{
    QToolButton* sc = named<QToolButton>(m_window.get(), u"sc"_s);
    if (!isShown(sc))
        return false;
    bool chosen = false;
    // The button pops its menu up on the press and waits in the menu's own loop.
    QTimer::singleShot(0, qApp, [&chosen, key] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        if (auto* item = menu->findChild<QAction*>(key); item && item->isEnabled()) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
            chosen = true;
        }
        if (menu->isVisible())
            menu->close();
    });
    QTest::mouseClick(sc, Qt::LeftButton);
    QCoreApplication::processEvents();
    return chosen;
}

bool MainWindowDriver::runModal(
    const std::function<void()>& trigger, const std::function<void(QDialog*)>& work)
{
    bool seen = false;
    QTimer::singleShot(0, qApp, [&seen, &work] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        work(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    trigger();
    // A trigger that opened nothing leaves the timer pending: run it before `seen` goes.
    QCoreApplication::processEvents();
    return seen;
}

void MainWindowDriver::type(QWidget* box, const QString& text)
{
    box->setFocus();
    const auto isAscii = [](QChar c) { return c.unicode() < 0x80; };
    for (qsizetype i = 0; i < text.size();) {
        if (text.at(i) == u'\n') {
            QTest::keyClick(box, Qt::Key_Return);
            ++i;
            continue;
        }
        const bool ascii = isAscii(text.at(i));
        qsizetype end = i;
        while (end < text.size() && text.at(end) != u'\n' && isAscii(text.at(end)) == ascii)
            ++end;
        const QString run = text.mid(i, end - i);
        if (ascii) {
            QTest::keyClicks(box, run);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(run);
            QApplication::sendEvent(box, &commit);
        }
        i = end;
    }
}

void MainWindowDriver::clearBox(QWidget* box)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
}

void MainWindowDriver::checkOneBox(QMessageBox::Icon icon, const QString& title, const QString& text)
{
    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, icon);
    QCOMPARE(shown[0].title, title);
    QCOMPARE(shown[0].text, text);
    QCOMPARE(shown[0].buttons, QMessageBox::Ok);
}

QStringList MainWindowDriver::column(int column) const
{
    const QuestionListModel* model = list()->questions();
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->subItem(row, column);
    return texts;
}

QStringList MainWindowDriver::rowTexts() const
{
    return column(QuestionListModel::Number);
}

QString MainWindowDriver::shownQuestion() const
{
    QString text = RichText::plainText(*named<QTextEdit>(panel(), u"Text1"_s)->document());
    while (text.startsWith(u'\n'))
        text.remove(0, 1);
    while (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

QString MainWindowDriver::shownPosition() const
{
    return named<QLineEdit>(panel(), u"Text2"_s)->text();
}

QString MainWindowDriver::answerPanelState() const
{
    const AnswerPanel* a = answers();
    auto flags = [](const QWidget* w) -> QString {
        return QString(QChar(w->isVisibleTo(w->parentWidget()) ? u'v' : u'-'))
            + QChar(w->isEnabled() ? u'e' : u'-');
    };
    QString state;
    for (const QGroupBox* frame : { named<QGroupBox>(a, u"Frame2"_s), named<QGroupBox>(a, u"Frame4"_s),
             named<QGroupBox>(a, u"Frame8"_s), named<QGroupBox>(a, u"Frame9"_s) })
        state += frame->objectName() + u':' + flags(frame) + u' ';
    state += u"DAN_A:"_s;
    for (int i = 0; i < 5; ++i)
        state += QChar(named<QCheckBox>(a, u"DAN_A_%1"_s, i)->isChecked() ? u'x' : u'.');
    state += u" Option1:"_s;
    for (int i = 0; i < 5; ++i)
        state += QChar(named<QRadioButton>(a, u"Option1_%1"_s, i)->isChecked() ? u'x' : u'.')
            + flags(named<QRadioButton>(a, u"Option1_%1"_s, i));
    state += u" C3:"_s + named<QComboBox>(a, u"C3"_s)->currentText();
    state += u" Option2:"_s + QChar(named<QRadioButton>(a, u"Option2"_s)->isChecked() ? u'x' : u'.');
    state += u" Option3:"_s + QChar(named<QRadioButton>(a, u"Option3"_s)->isChecked() ? u'x' : u'.');
    return state;
}

QVariant MainWindowDriver::field(
    const QString& table, const QString& code, int number, const QString& column) const
{
    return m_window->store().scalar(
        u"select "_s + column + u" from "_s + table + u" where 代码=? and 题号=?"_s, { code, number });
}

QString MainWindowDriver::plainField(
    const QString& table, const QString& code, int number, const QString& column) const
{
    return RichText::plainText(field(table, code, number, column).toString().toUtf8());
}

QStringList MainWindowDriver::allStored(const QString& table) const
{
    QStringList values;
    RowSet rows = m_window->store().query(u"select 答题 from "_s + table + u" order by 代码, 题号"_s);
    for (; rows.isValid() && !rows.atEnd(); rows.next()) {
        const QVariant v = rows.field(u"答题"_s);
        values << (v.isNull() ? u"<null>"_s : v.toString());
    }
    return values;
}

int MainWindowDriver::count(const QString& sql, const QVariantList& params) const
{
    return m_window->store().scalar(sql, params).toInt();
}

bool MainWindowDriver::startExam()
{
    // The paper is the whole bank: every question, in the exam session's own transaction.
    QuestionStore& store = m_window->store();
    if (!m_window->examSession().start([&store] { return WorkingSet::fillFromBank(store); }).isDone())
        return false;
    // A choice that is none of the exam range's items lists the whole paper, every type included.
    panel()->ResetQuestionList();
    panel()->listSelection(QuestionFilters::exam(QString(), QString()));
    return true;
}
