#include "Fixtures.h"
#include "MainWindowDriver.h"
#include "Named.h"
#include "TestEnvironment.h"
#include "WindowTest.h"

#include "catalogue/ui/QuestionListView.h"
#include "controls/MessageBox.h"
#include "controls/XPButton.h"
#include "data/QuestionStore.h"
#include "exam/WorkingSet.h"
#include "practice/ui/QuestionView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QTextEdit>

#include <cmath>

using namespace Qt::StringLiterals;

class tst_PracticeCommands : public WindowTest
{
    Q_OBJECT

public:
    tst_PracticeCommands()
        : WindowTest(Fixtures::marketBank)
    { }

private slots:
    void init();

    void redoClearsTheWholeSection();
    void answerColumnsToggle();
    void previousAndNext_data();
    void previousAndNext();
    void previousAndNextOnAnEmptyList_data();
    void previousAndNextOnAnEmptyList();
    void arrowKeys_data();
    void arrowKeys();
    void panelsOpenAndHide_data();
    void panelsOpenAndHide();
    void groupedRowTakesNoEntry_data();
    void groupedRowTakesNoEntry();
    void leavingSettlesTheAttempt_data();
    void leavingSettlesTheAttempt();
};

void tst_PracticeCommands::init()
{
    WindowTest::init();
    QVERIFY(m_w->window().isActiveWindow());
}

void tst_PracticeCommands::redoClearsTheWholeSection()
{
    // A paper left by an earlier exam: the redo must leave it alone.
    QVERIFY(WorkingSet::copyFromBank(m_w->window().store()).isDone());
    QVERIFY(m_w->clickNode(u"证券市场的产生与发展"_s));
    // Only 单选 ticked: the list shows one of the section's four questions.
    for (int box = 2; box <= 6; ++box)
        QVERIFY(m_w->click(u"Check%1"_s.arg(box)));
    QCOMPARE(m_w->rowTexts(), QStringList { u"第1题"_s });

    QVERIFY(m_w->click(u"cmd_0"_s));

    const QString section = u"select count(*) from %1 where 代码='K0101' and 答题%2"_s;
    QCOMPARE(m_w->count(section.arg(u"tk"_s, u"=''"_s)), 4);
    QCOMPARE(m_w->count(section.arg(u"kstk"_s, u"<>''"_s)), 4);
    QCOMPARE(m_w->field(u"tk"_s, u"K0102"_s, 1, u"答题"_s).toString(), u"B"_s);
    QVERIFY(m_w->field(u"tk"_s, u"K0102"_s, 2, u"答题"_s).isNull());
    QCOMPARE(m_w->field(u"tk"_s, u"K0101"_s, 2, u"收藏否"_s).toInt(), -1);

    auto* combo = m_w->child<QComboBox>(u"Combo1"_s);
    QCOMPARE(combo->currentIndex(), -1);
    QCOMPARE(combo->placeholderText(), u"请选择范围"_s);

    QCOMPARE(m_w->rowTexts(), QStringList({ u"第1题--第2题"_s, u"第3题"_s, u"第4题"_s, u"第5题"_s }));
    const QuestionListModel* model = m_w->list()->questions();
    for (int r = 0; r < model->rowCount(); ++r) {
        QCOMPARE(model->subItem(r, QuestionListModel::Given), QString());
        QCOMPARE(model->data(model->index(r, 0), Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
    }
    QCOMPARE(model->subItem(0, QuestionListModel::Title), u"此题为A3型题"_s);
    QCOMPARE(m_w->session().position(), 1);
    QCOMPARE(m_w->session().currentQuestion().number, u"4"_s);
    QCOMPARE(m_w->shownPosition(), u"第1题"_s);
    QCOMPARE(m_w->shownQuestion(), u"阅读下面的材料，回答两个问题。"_s);
    QCOMPARE(named<QLabel>(m_w->panel(), u"dalab"_s)->text(), u"(    )"_s);
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void tst_PracticeCommands::answerColumnsToggle()
{
    QVERIFY(m_w->clickNode(u"股票"_s));
    QVERIFY(m_w->clickRow(3));
    QCOMPARE(m_w->session().position(), 3);
    QuestionListView* list = m_w->list();
    auto* button = m_w->child<XPButton>(u"cmd_1"_s);
    const double W = list->width();
    const auto px = [](double w) { return double(std::lround(w)); };

    QVERIFY(m_w->click(u"cmd_1"_s));
    QCOMPARE(button->caption(), u"隐藏答案"_s);
    QCOMPARE(list->columnWidthPx(3), px(W * 4 / 10));
    QCOMPARE(list->columnWidthPx(4), px(W / 10));
    QCOMPARE(list->columnWidthPx(7), px(W * 1.5 / 10));
    // The list is listed again and its first row becomes the current question.
    QCOMPARE(list->rowCount(), 3);
    QCOMPARE(m_w->session().position(), 1);
    QCOMPARE(m_w->shownPosition(), u"第1题"_s);

    QVERIFY(m_w->click(u"cmd_1"_s));
    QCOMPARE(button->caption(), u"查看答案"_s);
    QCOMPARE(list->columnWidthPx(3), px(W * 9 / 13));
    QCOMPARE(list->columnWidthPx(4), 0.0);
    QCOMPARE(list->columnWidthPx(7), 0.0);
    QVERIFY(list->isColumnHidden(3));
    QVERIFY(list->isColumnHidden(6));
}

void tst_PracticeCommands::previousAndNext_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("to");
    QTest::newRow("previous on row 1 stays") << 1 << u"cmdxtsa"_s << 1;
    QTest::newRow("next on the last row stays") << 4 << u"cmdxtxa"_s << 4;
    QTest::newRow("previous") << 3 << u"cmdxtsa"_s << 2;
    QTest::newRow("next") << 2 << u"cmdxtxa"_s << 3;
}

void tst_PracticeCommands::previousAndNext()
{
    QFETCH(int, from);
    QFETCH(QString, button);
    QFETCH(int, to);
    QVERIFY(m_w->clickNode(u"证券市场的产生与发展"_s));
    QVERIFY(m_w->clickRow(from));

    QVERIFY(m_w->click(button));

    const QuestionListModel* model = m_w->list()->questions();
    QCOMPARE(m_w->session().position(), to);
    QCOMPARE(m_w->shownPosition(), u"第%1题"_s.arg(to));
    QCOMPARE(m_w->session().currentQuestion().number, model->subItem(to - 1, QuestionListModel::QuestionNo));
    QCOMPARE(m_w->shownQuestion(),
        m_w->plainField(u"tk"_s, u"K0101"_s, m_w->session().currentQuestion().number.toInt(), u"选项"_s));
    // The highlight follows the question shown.
    QCOMPARE(m_w->list()->currentIndex().row(), to - 1);
}

void tst_PracticeCommands::previousAndNextOnAnEmptyList_data()
{
    QTest::addColumn<QString>("node");
    QTest::addColumn<QString>("menuItem");
    QTest::newRow("section without questions") << u"债券"_s << QString();
    QTest::newRow("favourites cleared") << u"证券市场的产生与发展"_s << u"clssc"_s;
}

void tst_PracticeCommands::previousAndNextOnAnEmptyList()
{
    QFETCH(QString, node);
    QFETCH(QString, menuItem);
    QVERIFY(m_w->clickNode(node));
    if (!menuItem.isEmpty())
        QVERIFY(m_w->chooseFavourites(menuItem));
    QCOMPARE(m_w->list()->rowCount(), 0);
    const int position = m_w->session().position();

    for (const QString& button : { u"cmdxtsa"_s, u"cmdxtxa"_s, u"cmdxtxa"_s, u"cmdxtsa"_s })
        QVERIFY(m_w->click(button));

    QCOMPARE(m_w->session().position(), position);
    QCOMPARE(m_w->list()->rowCount(), 0);
    QCOMPARE(m_w->shownQuestion(), QString());
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void tst_PracticeCommands::arrowKeys_data()
{
    QTest::addColumn<QString>("panelButton");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("steps");
    QTest::newRow("in the list") << QString() << u"ListView1"_s << true;
    QTest::newRow("in the notes") << u"cmd_8"_s << u"text3"_s << false;
    QTest::newRow("in the answer box") << u"cmd_7"_s << u"Text5"_s << false;
    QTest::newRow("in the catalogue") << QString() << u"TreeView1"_s << false;
}

void tst_PracticeCommands::arrowKeys()
{
    QFETCH(QString, panelButton);
    QFETCH(QString, focus);
    QFETCH(bool, steps);
    QVERIFY(m_w->clickNode(u"证券市场的产生与发展"_s));
    QVERIFY(m_w->clickRow(2));
    if (!panelButton.isEmpty())
        QVERIFY(m_w->click(panelButton));
    QWidget* target = m_w->child(focus);
    QVERIFY(target);
    target->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), target);

    QTest::keyClick(target, Qt::Key_Right);
    QCOMPARE(m_w->session().position(), steps ? 3 : 2);
    QTest::keyClick(target, Qt::Key_Left);
    QTest::keyClick(target, Qt::Key_Left);
    QCOMPARE(m_w->session().position(), steps ? 1 : 2);
    QCOMPARE(m_w->shownPosition(), u"第%1题"_s.arg(m_w->session().position()));
}

void tst_PracticeCommands::panelsOpenAndHide_data()
{
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("hide");
    QTest::addColumn<QString>("other");
    QTest::newRow("notes") << u"cmd_8"_s << u"Frame10"_s << u"Command5"_s << u"Frame11"_s;
    QTest::newRow("edits") << u"cmd_7"_s << u"Frame11"_s << u"Command7"_s << u"Frame10"_s;
}

void tst_PracticeCommands::panelsOpenAndHide()
{
    QFETCH(QString, open);
    QFETCH(QString, panel);
    QFETCH(QString, hide);
    QFETCH(QString, other);
    QVERIFY(m_w->clickNode(u"股票"_s));
    auto* frame = m_w->child<QGroupBox>(panel);
    QVERIFY(frame);
    QVERIFY(!frame->isVisible());

    QVERIFY(m_w->click(open));
    QVERIFY(frame->isVisible());
    QVERIFY(!m_w->child(other)->isVisible());
    // The question text makes room for the panel beside it, also after another catalogue
    // click and at other window sizes.
    const QWidget* text = named<QTextEdit>(m_w->panel(), u"Text1"_s);
    auto besidePanel = [text, frame] {
        return text->mapToGlobal(QPoint(text->width(), 0)).x() <= frame->mapToGlobal(QPoint(0, 0)).x();
    };
    QVERIFY(besidePanel());
    QVERIFY(m_w->clickNode(u"证券市场的产生与发展"_s));
    QVERIFY(frame->isVisible());
    QVERIFY(besidePanel());
    for (const QSize size : { QSize(1024, 768), QSize(1366, 768), QSize(1920, 1080) }) {
        m_w->window().showNormal();
        m_w->window().resize(size);
        QTRY_COMPARE(m_w->window().size(), size);
        QVERIFY2(besidePanel(), qPrintable(u"%1×%2"_s.arg(size.width()).arg(size.height())));
    }

    QVERIFY(m_w->click(hide));
    QVERIFY(!frame->isVisible());
    QCOMPARE(named<QTextEdit>(m_w->panel(), u"Text1"_s)->width(),
        named<QFrame>(m_w->panel(), u"Picture5"_s)->contentsRect().width());
}

void tst_PracticeCommands::groupedRowTakesNoEntry_data()
{
    // Each way of coming back to row 1, the A3 row, after a single-choice question was shown.
    QTest::addColumn<QString>("command");
    QTest::newRow("a click on the row") << u"row"_s;
    QTest::newRow("上一题") << u"cmdxtsa"_s;
    QTest::newRow("重做试题") << u"cmd_0"_s;
    QTest::newRow("the catalogue node again") << u"node"_s;
}

void tst_PracticeCommands::groupedRowTakesNoEntry()
{
    QFETCH(QString, command);
    const QString section = u"证券市场的产生与发展"_s;
    QVERIFY(m_w->clickNode(section));
    QVERIFY(m_w->clickRow(command == u"cmdxtsa"_s ? 2 : 3));
    QVERIFY(m_w->click(u"Option1_0"_s)); // a choice panel was in use

    if (command == u"row"_s)
        QVERIFY(m_w->clickRow(1));
    else if (command == u"node"_s)
        QVERIFY(m_w->clickNode(section));
    else
        QVERIFY(m_w->click(command));
    QCOMPARE(m_w->session().currentQuestion().number, u"4"_s);
    QCOMPARE(m_w->shownPosition(), u"第1题"_s);
    const QVariant given = m_w->field(u"tk"_s, u"K0101"_s, 4, u"答题"_s); // a redo cleared it
    const int attempts = m_w->count(u"select count(*) from attempt"_s); // the row left has its own

    for (const char* panel : { "Frame2", "Frame4", "Frame8", "Frame9" })
        QVERIFY2(!m_w->child<QGroupBox>(QString::fromLatin1(panel))->isVisible(), panel);
    // Neither a key nor a click on a hidden option stores a letter against the key "AB".
    // (The filters list only the six types with panels, so they never reach this row.)
    m_w->list()->setFocus();
    for (Qt::Key key : { Qt::Key_A, Qt::Key_B, Qt::Key_1, Qt::Key_2 })
        QTest::keyClick(m_w->list(), key);
    m_w->child<QAbstractButton>(u"Option1_0"_s)->click();
    m_w->child<QAbstractButton>(u"DAN_A_0"_s)->click();
    QCOMPARE(m_w->field(u"tk"_s, u"K0101"_s, 4, u"答题"_s), given);
    QCOMPARE(m_w->count(u"select count(*) from attempt"_s), attempts);
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void tst_PracticeCommands::leavingSettlesTheAttempt_data()
{
    QTest::addColumn<QString>("how");
    for (const char* how : { "another row", "下一题", "上一题", "right arrow", "another node", "a filter",
             "查看答案", "closing the window" })
        QTest::newRow(how) << QString::fromUtf8(how);
}

void tst_PracticeCommands::leavingSettlesTheAttempt()
{
    QFETCH(QString, how);
    QVERIFY(m_w->clickNode(u"股票"_s));
    QVERIFY(m_w->clickRow(2));
    QVERIFY(m_w->click(u"Option1_0"_s));
    QVERIFY(m_w->click(u"Option1_2"_s));
    QCOMPARE(m_w->count(u"select count(*) from attempt"_s), 0);

    if (how == u"another row"_s) {
        QVERIFY(m_w->clickRow(1));
    } else if (how == u"下一题"_s) {
        QVERIFY(m_w->click(u"cmdxtxa"_s));
    } else if (how == u"上一题"_s) {
        QVERIFY(m_w->click(u"cmdxtsa"_s));
    } else if (how == u"right arrow"_s) {
        m_w->list()->setFocus();
        QTest::keyClick(m_w->list(), Qt::Key_Right);
    } else if (how == u"another node"_s) {
        QVERIFY(m_w->clickNode(u"证券市场的产生与发展"_s));
    } else if (how == u"a filter"_s) {
        QVERIFY(MainWindowDriver::chooseItem(m_w->child<QComboBox>(u"Combo1"_s), u"全部题目"_s));
    } else if (how == u"查看答案"_s) {
        QVERIFY(m_w->click(u"cmd_1"_s));
    } else {
        MessageBox::queueAnswer(QMessageBox::Yes);
        QVERIFY(m_w->window().close());
    }
    QuestionStore store;
    QVERIFY(store.open(bankPath(), QuestionStore::Mode::ReadOnly));
    QCOMPARE(store
                 .scalar(u"select group_concat(代码 || '/' || 题号 || ':' || answer || '/' || is_right || "
                         u"'/' || clicks) "
                         "from attempt"_s)
                 .toString(),
        u"K0102/2:C/1/2"_s);
}

QTEST_MAIN(tst_PracticeCommands)
#include "tst_PracticeCommands.moc"
