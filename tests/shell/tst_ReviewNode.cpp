#include "Fixtures.h"
#include "MainWindowDriver.h"
#include "Named.h"
#include "TestBank.h"
#include "TestEnvironment.h"
#include "WindowTest.h"

#include "catalogue/QuestionListModel.h"
#include "catalogue/ui/CatalogueTree.h"
#include "controls/MessageBox.h"
#include "practice/ReviewSchedule.h"
#include "practice/ui/AnswerPanel.h"
#include "practice/ui/PracticePanel.h"
#include "practice/ui/PracticeSidePanel.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QTest>

using namespace Qt::StringLiterals;

// The review node among the personal nodes of the real main window: its count, its
// listing with the practice filter, and the count after an answer.
class tst_ReviewNode : public WindowTest
{
    Q_OBJECT

public:
    tst_ReviewNode()
        : WindowTest(&tst_ReviewNode::fillBank, UnreadBoxes::Fail)
    { }

private slots:
    void nodeSitsWithThePersonalNodes();
    void listsAndFiltersTheDueQuestions();
    void answerRefreshesTheCount();

private:
    static void fillBank(TestBank& bank);
};

void tst_ReviewNode::fillBank(TestBank& bank)
{
    // answeredBank: 3 单选 A answered "A", 4 多选 AB answered "B", 5 判断 B answered "A".
    Fixtures::answeredBank(bank);
    const qint64 today = ReviewSchedule::dayOf(QDateTime::currentDateTime());
    // Number, due day, stability, last attempt: 3 is the most urgent, three stabilities past.
    const QList<QVariantList> entries { { 3, today - 1, 1.0, today - 3 }, { 4, today, 2.0, today - 2 },
        { 5, today + 2, 5.0, today - 3 } };
    for (const QVariantList& e : entries)
        QVERIFY(bank.store()
                    .write(u"insert into review_schedule(代码, 题号, stage, due_day, stability, difficulty, "
                           u"last_day) "
                           "values('K0101', ?, 0, ?, ?, 5, ?)"_s,
                        e)
                    .isDone());
}

void tst_ReviewNode::nodeSitsWithThePersonalNodes()
{
    CatalogueTree* tree = named<CatalogueTree>(&m_w->window(), u"TreeView1"_s);
    QTreeWidgetItem* review = tree->reviewNode();
    QVERIFY(review);
    QCOMPARE(review->text(0), u"今日复习（2）"_s);
    QTreeWidgetItem* favourites
        = tree->findItems(u"个人收藏试题"_s, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    QVERIFY(favourites);
    QCOMPARE(review->parent(), favourites->parent());
    QCOMPARE(review->parent()->indexOfChild(review), review->parent()->indexOfChild(favourites) + 1);
    // It has no row of tree and takes no index: every node keeps its row.
    QCOMPARE(tree->nodeIndex(review), 0);
    QCOMPARE(tree->nodeCount(), m_w->count(u"select count(*) from tree"_s));
    QCOMPARE(m_w->count(u"select count(*) from tree where 细目 like '今日复习%'"_s), 0);
    for (int i = 1; i <= tree->nodeCount(); ++i)
        QCOMPARE(tree->nodeIndex(tree->itemAt(i)), i);
}

void tst_ReviewNode::listsAndFiltersTheDueQuestions()
{
    QVERIFY(m_w->clickNode(u"今日复习（2）"_s));
    QCOMPARE(named<QLabel>(m_w->panel(), u"Label2"_s)->text(), u"今日复习"_s);
    QCOMPARE(m_w->column(QuestionListModel::QuestionNo), (QStringList { u"3"_s, u"4"_s }));
    QCOMPARE(m_w->session().currentQuestion().number, u"3"_s);
    // The practice filter works over the due questions, not over a section.
    PracticeSidePanel* side = named<PracticeSidePanel>(m_w->panel(), u"Frame3"_s);
    QVERIFY(side->isVisible());
    QVERIFY(MainWindowDriver::chooseItem(named<QComboBox>(side, u"Combo1"_s), u"做错题目"_s));
    QCOMPARE(m_w->column(QuestionListModel::QuestionNo), QStringList { u"4"_s });
    QVERIFY(MainWindowDriver::chooseItem(named<QComboBox>(side, u"Combo1"_s), u"全部题目"_s));
    QCOMPARE(m_w->column(QuestionListModel::QuestionNo), (QStringList { u"3"_s, u"4"_s }));
    // A section node lists its section again, with the same filter.
    QVERIFY(m_w->clickNode(u"第一节"_s));
    QVERIFY(MainWindowDriver::chooseItem(named<QComboBox>(side, u"Combo1"_s), u"做错题目"_s));
    QVERIFY(m_w->column(QuestionListModel::QuestionNo).size() > 1);
}

void tst_ReviewNode::answerRefreshesTheCount()
{
    QVERIFY(m_w->clickNode(u"今日复习（2）"_s));
    QVERIFY(m_w->showQuestion(3));
    auto* right = m_w->answers()->findChild<QAbstractButton*>(u"Option1_0"_s);
    QVERIFY(right && right->isVisible() && right->isEnabled());
    MainWindowDriver::click(right);
    QCOMPARE(m_w->field(u"tk"_s, u"K0101"_s, 3, u"答题"_s).toString(), u"A"_s);
    auto* node = named<CatalogueTree>(&m_w->window(), u"TreeView1"_s)->reviewNode();
    // The answer counts once the candidate moves on.
    QCOMPARE(node->text(0), u"今日复习（2）"_s);
    QVERIFY(m_w->showQuestion(4));
    // Right when due: a longer interval, no longer due today.
    QCOMPARE(node->text(0), u"今日复习（1）"_s);
    const qint64 today = ReviewSchedule::dayOf(QDateTime::currentDateTime());
    QVERIFY(m_w->count(u"select due_day - ? from review_schedule where 题号=3"_s, { today }) > 1);
    QCOMPARE(
        m_w->count(u"select count(*) from attempt where 题号=3 and is_right=1 and source='practice'"_s), 1);

    // Wrong now: forgotten, due tomorrow.
    auto* c = m_w->answers()->findChild<QAbstractButton*>(u"DAN_A_2"_s);
    QVERIFY(c && c->isVisible() && c->isEnabled());
    MainWindowDriver::click(c);
    QCOMPARE(m_w->field(u"tk"_s, u"K0101"_s, 4, u"答题"_s).toString(), u"BC"_s);
    QVERIFY(m_w->showQuestion(3));
    QCOMPARE(m_w->count(u"select due_day - ? from review_schedule where 题号=4"_s, { today }), 1);
    QCOMPARE(node->text(0), u"今日复习（0）"_s);
}

QTEST_MAIN(tst_ReviewNode)
#include "tst_ReviewNode.moc"
