#include "Fixtures.h"
#include "MainWindowDriver.h"
#include "TestEnvironment.h"
#include "WindowTest.h"

#include "catalogue/ui/QuestionListView.h"
#include "controls/MessageBox.h"

#include <QComboBox>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Favourites : public WindowTest
{
    Q_OBJECT

public:
    tst_Favourites()
        : WindowTest(Fixtures::marketBank)
    { }

private slots:

    void addTwice_data();
    void addTwice();
    void addDuringAnExamMarksTheBank();
    void removeDropsTheRow_data();
    void removeDropsTheRow();
    void clearEmptiesEverything_data();
    void clearEmptiesEverything();

private:
    // The practice button "收藏试题" or an item of the toolbar's favourites menu.
    bool trigger(const QString& how);
    static void checkOneInformation(const QString& text);
};

bool tst_Favourites::trigger(const QString& how)
{
    return how.startsWith(u"cmd_"_s) ? m_w->click(how) : m_w->chooseFavourites(how);
}

void tst_Favourites::checkOneInformation(const QString& text)
{
    MainWindowDriver::checkOneBox(QMessageBox::Information, u"信息提示"_s, text);
}

void tst_Favourites::addTwice_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("practice button") << u"cmd_4"_s;
    QTest::newRow("toolbar menu") << u"addsc"_s;
}

void tst_Favourites::addTwice()
{
    QFETCH(QString, how);
    QVERIFY(m_w->clickNode(u"股票"_s));
    QVERIFY(m_w->clickRow(2));
    QCOMPARE(m_w->field(u"tk"_s, u"K0102"_s, 2, u"收藏否"_s).toInt(), 0);

    QVERIFY(trigger(how));
    checkOneInformation(u"本题你已成功收藏！"_s);
    QCOMPARE(m_w->field(u"tk"_s, u"K0102"_s, 2, u"收藏否"_s).toInt(), -1);

    QVERIFY(trigger(how));
    checkOneInformation(u"注意：本题目你已做过收藏！"_s);
    QCOMPARE(m_w->field(u"tk"_s, u"K0102"_s, 2, u"收藏否"_s).toInt(), -1);
    QCOMPARE(m_w->count(u"select count(*) from tk where 收藏否=-1"_s), 2);
}

void tst_Favourites::addDuringAnExamMarksTheBank()
{
    QVERIFY(m_w->clickNode(u"股票"_s));
    QVERIFY(m_w->startExam());
    QCOMPARE(m_w->list()->rowCount(), 7);
    // The range box lists the paper through the exam filter; the A3 group is not among its types.
    QVERIFY(MainWindowDriver::chooseItem(m_w->child<QComboBox>(u"Combo1"_s), u"全部题目"_s));
    QCOMPARE(m_w->list()->rowCount(), 6);
    QCOMPARE(m_w->session().currentQuestion().number, u"3"_s);
    QCOMPARE(m_w->session().sectionCode(), u"K0101"_s);

    QVERIFY(m_w->chooseFavourites(u"addsc"_s));

    checkOneInformation(u"本题你已成功收藏！"_s);
    QCOMPARE(m_w->field(u"tk"_s, u"K0101"_s, 3, u"收藏否"_s).toInt(), -1);
    QCOMPARE(m_w->field(u"kstk"_s, u"K0101"_s, 3, u"收藏否"_s).toInt(), 0);
}

void tst_Favourites::removeDropsTheRow_data()
{
    QTest::addColumn<QString>("node");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("wasFavourite");
    QTest::addColumn<QStringList>("rowsAfter");
    QTest::addColumn<int>("shownNumber"); // 0: nothing shown
    QTest::addColumn<int>("positionAfter");

    QTest::newRow("a favourite in the middle of a section")
        << u"股票"_s << 2 << u"K0102"_s << 2 << true << QStringList { u"第1题"_s, u"第3题"_s } << 5 << 2;
    QTest::newRow("first row, never a favourite")
        << u"股票"_s << 1 << u"K0102"_s << 1 << false << QStringList { u"第2题"_s, u"第3题"_s } << 2 << 1;
    QTest::newRow("last row: the one before it is shown")
        << u"股票"_s << 3 << u"K0102"_s << 5 << false << QStringList { u"第1题"_s, u"第2题"_s } << 2 << 2;
    QTest::newRow("only row of the favourites list")
        << u"个人收藏试题"_s << 1 << u"K0101"_s << 2 << true << QStringList() << 0 << 1;
}

void tst_Favourites::removeDropsTheRow()
{
    QFETCH(QString, node);
    QFETCH(int, row);
    QFETCH(QString, code);
    QFETCH(int, number);
    QFETCH(bool, wasFavourite);
    QFETCH(QStringList, rowsAfter);
    QFETCH(int, shownNumber);
    QFETCH(int, positionAfter);
    if (wasFavourite && code == u"K0102"_s)
        QVERIFY(m_w->window()
                    .store()
                    .write(u"update tk set 收藏否=-1 where 代码=? and 题号=?"_s, { code, number })
                    .isDone());
    QVERIFY(m_w->clickNode(node));
    QVERIFY(m_w->clickRow(row));
    QCOMPARE(m_w->session().currentQuestion().number, QString::number(number));
    QCOMPARE(m_w->field(u"tk"_s, code, number, u"收藏否"_s).toInt(), wasFavourite ? -1 : 0);

    QVERIFY(m_w->chooseFavourites(u"delsc"_s));

    QCOMPARE(m_w->field(u"tk"_s, code, number, u"收藏否"_s).toInt(), 0);
    QCOMPARE(m_w->count(u"select count(*) from tk where 代码=? and 题号=?"_s, { code, number }), 1);
    QCOMPARE(m_w->rowTexts(), rowsAfter);
    if (shownNumber == 0) {
        QCOMPARE(m_w->shownQuestion(), QString());
    } else {
        QCOMPARE(m_w->session().position(), positionAfter);
        QCOMPARE(m_w->shownPosition(), u"第%1题"_s.arg(positionAfter));
        QCOMPARE(m_w->session().currentQuestion().number, QString::number(shownNumber));
        QCOMPARE(m_w->shownQuestion(), m_w->plainField(u"tk"_s, code, shownNumber, u"选项"_s));
    }
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void tst_Favourites::clearEmptiesEverything_data()
{
    QTest::addColumn<QString>("node");
    QTest::newRow("from the favourites list") << u"个人收藏试题"_s;
    QTest::newRow("from a section's list") << u"股票"_s;
}

void tst_Favourites::clearEmptiesEverything()
{
    QFETCH(QString, node);
    QVERIFY(
        m_w->window().store().write(u"update tk set 收藏否=-1 where 代码='K0102' and 题号<>2"_s).isDone());
    QVERIFY(m_w->clickNode(node));
    QCOMPARE(m_w->list()->rowCount(), 3);
    QVERIFY(!m_w->shownQuestion().isEmpty());

    QVERIFY(m_w->chooseFavourites(u"clssc"_s));

    QCOMPARE(m_w->count(u"select count(*) from tk where 收藏否<>0"_s), 0);
    QCOMPARE(m_w->count(u"select count(*) from tk"_s), 7);
    QCOMPARE(m_w->list()->rowCount(), 0);
    QCOMPARE(m_w->shownQuestion(), QString());
    QVERIFY(MessageBox::takeShown().isEmpty());
}

QTEST_MAIN(tst_Favourites)
#include "tst_Favourites.moc"
