#include "PracticeWindow.h"

#include "catalogue/CatalogueTree.h"
#include "catalogue/QuestionListView.h"
#include "controls/MessageBox.h"
#include "exam/WorkingSet.h"
#include "practice/PracticePanel.h"
#include "practice/QuestionView.h"
#include "richtext/RichText.h"

#include <QApplication>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

void fillStandardBank(TestBank& bank)
{
    using Q = TestBank::Question;
    bank.project(u"K"_s, u"证券市场基础知识"_s)
        .subject(u"K01"_s, u"证券市场概述"_s)
        .section(u"K0101"_s, u"证券市场的产生与发展"_s)
        .section(u"K0102"_s, u"股票"_s)
        .section(u"K0103"_s, u"债券"_s)
        .project(u"W"_s, u"个人专区"_s)
        .subject(u"W01"_s, u"收藏"_s)
        .section(u"W0101"_s, u"个人收藏试题"_s);
    bank.question(Q(u"K0101"_s, 1, u"单选"_s, u"A"_s, u"B"_s, false, u"证券市场最早出现在哪个国家？"_s))
        .question(Q(u"K0101"_s, 2, u"多选"_s, u"ABD"_s, u"AB"_s, true, u"下列属于有价证券的有哪些？"_s))
        .question(Q(u"K0101"_s, 3, u"判断"_s, u"A"_s, u"A"_s, false, u"股票是一种有价证券。"_s))
        .question(Q(u"K0101"_s, 4, u"A3"_s, u"AB"_s, u"AB"_s, false, u"阅读下面的材料，回答两个问题。"_s))
        .question(Q(u"K0102"_s, 1, u"单选"_s, u"B"_s, u"B"_s, false, u"股票的基本特征不包括哪一项？"_s))
        .question(Q(u"K0102"_s, 2, u"单选"_s, u"C"_s, QVariant(), false, u"普通股股东享有哪项权利？"_s))
        .question(Q(u"K0102"_s, 5, u"单选"_s, u"D"_s, u"A"_s, false, u"优先股的股息通常如何确定？"_s));
}

bool isShown(const QWidget* w)
{
    return w && w->isVisible() && w->isEnabled();
}

} // namespace

PracticeWindow::PracticeWindow(const std::function<void(TestBank&)>& extra)
{
    const QString path = m_env.path() + u"/bank.db"_s;
    {
        TestBank bank(path);
        fillStandardBank(bank);
        if (extra)
            extra(bank);
    }
    m_window = std::make_unique<frmmain>(path);
    m_window->show();
    m_window->activateWindow();
    if (!QTest::qWaitForWindowActive(m_window.get()))
        qWarning("the main window did not become active");
}

PracticeWindow::~PracticeWindow() = default;

QuestionView* PracticeWindow::view() const
{
    return m_window->Picture1()->view();
}

QuestionListView* PracticeWindow::list() const
{
    return m_window->Picture1()->ListView1();
}

bool PracticeWindow::openNode(const QString& text)
{
    CatalogueTree* tree = m_window->TreeView1();
    tree->expandAll();
    const QList<QTreeWidgetItem*> items = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    if (items.size() != 1)
        return false;
    tree->scrollToItem(items.first());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(items.first()).center());
    return true;
}

bool PracticeWindow::click(const QString& name)
{
    QWidget* w = child(name);
    if (!isShown(w))
        return false;
    QTest::mouseClick(w, Qt::LeftButton);
    return true;
}

bool PracticeWindow::clickRow(int row)
{
    QuestionListView* view = list();
    const QModelIndex index = view->model() ? view->model()->index(row - 1, 0) : QModelIndex();
    if (!index.isValid())
        return false;
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    return true;
}

bool PracticeWindow::chooseFavourites(const QString& key)
{
    QToolButton* sc = m_window->favouritesButton();
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

bool PracticeWindow::runModal(const std::function<void()>& trigger, const std::function<void(QDialog*)>& work)
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

void PracticeWindow::type(QWidget* box, const QString& text)
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

void PracticeWindow::clearBox(QWidget* box)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
}

void PracticeWindow::checkOneBox(QMessageBox::Icon icon, const QString& title, const QString& text)
{
    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, icon);
    QCOMPARE(shown[0].title, title);
    QCOMPARE(shown[0].text, text);
    QCOMPARE(shown[0].buttons, QMessageBox::Ok);
}

QStringList PracticeWindow::rowTexts() const
{
    QStringList texts;
    const QuestionListModel* model = list()->questions();
    for (int r = 0; r < model->rowCount(); ++r)
        texts << model->subItem(r, QuestionListModel::Number);
    return texts;
}

QString PracticeWindow::shownQuestion() const
{
    QString text = RichText::plainText(*view()->Text1()->document());
    while (text.startsWith(u'\n'))
        text.remove(0, 1);
    while (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

QString PracticeWindow::shownPosition() const
{
    return view()->Text2()->text();
}

QVariant PracticeWindow::field(const QString& table, const QString& code, int number, const QString& column)
{
    return m_window->store().scalar(u"select "_s + column + u" from "_s + table + u" where 代码=? and 题号=?"_s,
                                    { code, number });
}

QString PracticeWindow::plainField(const QString& table, const QString& code, int number, const QString& column)
{
    return RichText::plainText(field(table, code, number, column).toString().toUtf8());
}

int PracticeWindow::count(const QString& sql, const QVariantList& params)
{
    return m_window->store().scalar(sql, params).toInt();
}

bool PracticeWindow::copyToWorkingSet()
{
    QuestionStore& store = m_window->store();
    return WorkingSet::copyFromBank(store).isDone();
}

void PracticeWindow::startExam()
{
    state().ExamRunning = true;
    m_window->Picture1()->ExamFilter();
}

QVector<PracticeWindow::NamedText> PracticeWindow::awkwardTexts()
{
    return {
        { "quotes", u"他说：\"别买'垃圾股'\"，O'Neil 也这么说"_s },
        { "backslashes", u"路径 C:\\证券\\new\\ 和 \\\\server"_s },
        { "control words", u"\\par 不是换段，{\\b x} 也不加粗，\\u8212? 不是破折号"_s },
        { "braces", u"{ 左括号 }} 右括号 {{ 不成对 }"_s },
        { "emoji", u"上涨📈下跌📉 🐂🐻 👍🏽"_s },
        { "two paragraphs", u"第一段 A\n第二段 B"_s },
    };
}
