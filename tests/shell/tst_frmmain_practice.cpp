#include "Fixtures.h"
#include "MainWindowDriver.h"
#include "Named.h"
#include "TestBank.h"
#include "TestEnvironment.h"
#include "WindowTest.h"

#include "catalogue/ui/QuestionListView.h"
#include "controls/MessageBox.h"
#include "controls/XPButton.h"
#include "exam/ExamSession.h"
#include "practice/ui/PracticePanel.h"
#include "practice/ui/PracticeSidePanel.h"
#include "practice/ui/QuestionView.h"
#include "shell/ui/WelcomePanel.h"
#include "shell/ui/frmmain.h"

#include <QHeaderView>
#include <QLCDNumber>
#include <QLabel>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

class tst_frmmain_practice : public WindowTest
{
    Q_OBJECT

public:
    tst_frmmain_practice()
        : WindowTest({}, UnreadBoxes::Fail)
    { }

private slots:
    void examGuardOnlyWarns_data();
    void examGuardOnlyWarns();
    void firstListingThenAnswerLayout_data();
    void firstListingThenAnswerLayout();
    void personalListsHoldFavourites_data();
    void personalListsHoldFavourites();
    void materialAndQuestionSections();
    void upperNodeShowsTheWelcomePicture_data();
    void upperNodeShowsTheWelcomePicture();

private:
    // The catalogue with the material and a few questions in two sections, most of them favourites.
    static void fillBank(TestBank& bank);
};

namespace {

const QString Material = QStringLiteral("第一条 为了规范证券发行和交易行为，制定本法。");

// What a click may change on the right side of the window, for comparing before and after.
QStringList rightSide(const MainWindowDriver& driver)
{
    frmmain& w = driver.window();
    const PracticePanel* p1 = driver.panel();
    const WelcomePanel* p3 = named<WelcomePanel>(&w, u"Picture3"_s);
    const PracticeSidePanel* side = named<PracticeSidePanel>(p1, u"Frame3"_s);
    const StudySession& s = w.session();
    return {
        QString::number(p1->isVisible()),
        QString::number(p3->isVisible()),
        QString::number(named<QLabel>(p3, u"Image2"_s)->isVisible()),
        QString::number(named<QTextEdit>(p3, u"Tex"_s)->isVisible()),
        named<QLabel>(p3, u"bt"_s)->text(),
        named<QLabel>(p1, u"Label2"_s)->text(),
        driver.column(0).join(u','),
        driver.column(QuestionListModel::QuestionNo).join(u','),
        QString::number(named<QuestionListView>(p1, u"ListView1"_s)->columnWidthPx(1)),
        s.sectionCode(),
        s.currentQuestion().number,
        QString::number(s.position()),
        QString::number(side->isVisibleTo(p1)),
        QString::number(named<QTimer>(side, u"Timer1"_s)->isActive()),
        QString::number(named<DigitDisplay>(side, u"dg1"_s)->intValue()),
        QString::number(named<QToolButton>(&w, u"sc"_s)->isEnabled()),
        named<QTextEdit>(driver.panel(), u"Text1"_s)->toPlainText(),
        named<QLabel>(driver.panel(), u"dalab"_s)->text(),
        driver.answerPanelState(),
    };
}

} // namespace

void tst_frmmain_practice::fillBank(TestBank& bank)
{
    Fixtures::favouritesBank(bank, Material);
}

void tst_frmmain_practice::examGuardOnlyWarns_data()
{
    QTest::addColumn<QString>("node");
    for (const QString& node :
        { u"证券基础"_qs, u"金融市场"_qs, u"第二节"_qs, u"证券法"_qs, u"个人做过的题"_qs, u"个人题库"_qs })
        QTest::newRow(qPrintable(node)) << node;
}

void tst_frmmain_practice::examGuardOnlyWarns()
{
    QFETCH(QString, node);
    MainWindowDriver driver(bankPath(), fillBank);
    QVERIFY(driver.clickNode(QStringLiteral("第一节")));
    QVERIFY(driver.showQuestion(3));
    PracticeSidePanel* side = named<PracticeSidePanel>(driver.panel(), u"Frame3"_s);
    named<QTimer>(side, u"Timer1"_s)->start();
    named<DigitDisplay>(side, u"dg1"_s)->display(QStringLiteral("0042"));
    QVERIFY(driver.window().examSession().start([] { return WriteResult::done(); }).isDone());
    const QStringList before = rightSide(driver);

    QVERIFY(driver.clickNode(node));
    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, QMessageBox::Critical);
    QCOMPARE(shown[0].title, QStringLiteral("操作提示"));
    QCOMPARE(shown[0].text, QStringLiteral("注意：您必须单击右下方的[结束考试]按钮后才能进行其他操作！"));
    QCOMPARE(shown[0].buttons, QMessageBox::Ok);
    QCOMPARE(rightSide(driver), before);
}

void tst_frmmain_practice::firstListingThenAnswerLayout_data()
{
    QTest::addColumn<QString>("first");
    QTest::newRow("a personal list first") << u"个人收藏试题"_qs;
    QTest::newRow("a section first") << u"第一节"_qs;
}

void tst_frmmain_practice::firstListingThenAnswerLayout()
{
    QFETCH(QString, first);
    MainWindowDriver driver(bankPath(), fillBank);
    QuestionListView* list = named<QuestionListView>(driver.panel(), u"ListView1"_s);
    auto widthOf
        = [list](int column) { return list->isColumnHidden(column - 1) ? 0 : list->columnWidth(column - 1); };
    auto near = [](int actual, double expected) { return qAbs(actual - expected) <= 1.0; };

    // Nothing to lay out before the first listing creates the columns from the list's width.
    QVERIFY(driver.clickNode(first));
    double W = list->width();
    QVERIFY2(near(widthOf(1), W / 6 + 10), qPrintable(QString::number(widthOf(1))));
    QVERIFY(near(widthOf(2), W / 13));
    QVERIFY(near(widthOf(3), W * 9 / 13));
    for (int c = 4; c <= 7; ++c)
        QCOMPARE(widthOf(c), 0);
    QVERIFY(!list->header()->isHidden());
    QCOMPARE(list->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("题号"));
    QCOMPARE(list->model()->headerData(6, Qt::Horizontal).toString(), QStringLiteral("我的答案"));

    // A personal list once the columns exist: the answers beside the questions.
    QVERIFY(driver.clickNode(QStringLiteral("个人做错的题")));
    W = list->width();
    QVERIFY(near(widthOf(1), W / 7));
    QVERIFY(near(widthOf(2), W / 13));
    QVERIFY(near(widthOf(3), W * 4 / 10));
    QVERIFY(near(widthOf(4), W / 10));
    QVERIFY(near(widthOf(7), W * 1.5 / 10));
    QCOMPARE(widthOf(5), 0);
    QCOMPARE(widthOf(6), 0);
    QCOMPARE(driver.column(QuestionListModel::Answer).join(u','), QStringLiteral("对,B,A"));
    QCOMPARE(driver.column(QuestionListModel::Given).join(u','), QStringLiteral("错,A,B"));

    // A section keeps the answer columns; only column 1 is set again.
    QVERIFY(driver.clickNode(QStringLiteral("第一节")));
    QVERIFY(near(widthOf(1), W / 7));
    QVERIFY(near(widthOf(3), W * 4 / 10));
    QVERIFY(near(widthOf(4), W / 10));
    QVERIFY(near(widthOf(7), W * 1.5 / 10));
}

void tst_frmmain_practice::personalListsHoldFavourites_data()
{
    QTest::addColumn<QString>("node");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("个人收藏试题") << u"个人收藏试题"_qs << u"个人收藏试题"_qs
                                  << QStringList { u"8"_qs, u"7"_qs, u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs,
                                         u"6"_qs };
    // A favourite answered B with key A is in; unanswered, emptied and right ones are not.
    QTest::newRow("个人做错的题") << u"个人做错的题"_qs << u"个人收藏做错的试题"_qs
                                  << QStringList { u"8"_qs, u"7"_qs, u"1"_qs };
    QTest::newRow("个人做过的题") << u"个人做过的题"_qs << u"个人收藏做过的试题"_qs
                                  << QStringList { u"8"_qs, u"7"_qs, u"1"_qs, u"3"_qs, u"6"_qs };
}

void tst_frmmain_practice::personalListsHoldFavourites()
{
    QFETCH(QString, node);
    QFETCH(QString, title);
    QFETCH(QStringList, listed);
    MainWindowDriver driver(bankPath(), fillBank);
    PracticePanel* p1 = driver.panel();
    auto sideShown = [p1] {
        QStringList shown;
        for (QWidget* w : std::initializer_list<QWidget*> { named<PracticeSidePanel>(p1, u"Frame3"_s),
                 named<QGroupBox>(p1, u"Frame1"_s), named<XPButton>(p1, u"cmd_%1"_s, 4),
                 named<XPButton>(p1, u"cmd_%1"_s, 5), named<XPButton>(p1, u"cmd_%1"_s, 6),
                 named<XPButton>(p1, u"cmd_%1"_s, 7) })
            shown << w->objectName() + u'=' + QString::number(w->isVisible());
        return shown.join(u' ');
    };

    QVERIFY(driver.clickNode(QStringLiteral("第二节")));
    QCOMPARE(sideShown(), QStringLiteral("Frame3=1 Frame1=1 cmd_4=1 cmd_5=1 cmd_6=1 cmd_7=1"));

    QVERIFY(driver.clickNode(node));
    QCOMPARE(driver.column(QuestionListModel::QuestionNo), listed);
    QCOMPARE(named<QLabel>(p1, u"Label2"_s)->text(), title);
    QCOMPARE(named<QLabel>(&driver.window(), u"bt"_s)->text(), title);
    QVERIFY(p1->isVisible());
    QVERIFY(!named<WelcomePanel>(&driver.window(), u"Picture3"_s)->isVisible());
    QCOMPARE(sideShown(), QStringLiteral("Frame3=0 Frame1=0 cmd_4=0 cmd_5=0 cmd_6=0 cmd_7=1"));
    // The first row is shown, and with it its section becomes the current one.
    QCOMPARE(driver.window().session().currentQuestion().number, QStringLiteral("8"));
    QCOMPARE(driver.window().session().sectionCode(), QStringLiteral("K0102"));

    QVERIFY(driver.clickNode(QStringLiteral("第一节")));
    QCOMPARE(sideShown(), QStringLiteral("Frame3=1 Frame1=1 cmd_4=1 cmd_5=1 cmd_6=1 cmd_7=1"));
}

void tst_frmmain_practice::materialAndQuestionSections()
{
    MainWindowDriver driver(bankPath(), fillBank);
    PracticePanel* p1 = driver.panel();
    WelcomePanel* p3 = named<WelcomePanel>(&driver.window(), u"Picture3"_s);
    const StudySession& state = driver.window().session();

    QVERIFY(driver.clickNode(QStringLiteral("证券法")));
    QVERIFY(p3->isVisible());
    QVERIFY(!p1->isVisible());
    QVERIFY(!named<QLabel>(p3, u"Image2"_s)->isVisible());
    QVERIFY(named<QTextEdit>(p3, u"Tex"_s)->isVisible());
    QVERIFY(named<QLabel>(p3, u"bt"_s)->isVisible());
    QCOMPARE(named<QLabel>(p3, u"bt"_s)->text(), QStringLiteral("阅读材料→法规原文→证券法"));
    QCOMPARE(named<QTextEdit>(p3, u"Tex"_s)->toPlainText(), Material);
    QCOMPARE(state.sectionCode(), QStringLiteral("J0101"));

    QVERIFY(driver.clickNode(QStringLiteral("第一节")));
    QVERIFY(p1->isVisible());
    QVERIFY(!p3->isVisible());
    QCOMPARE(named<QLabel>(p1, u"Label2"_s)->text(), QStringLiteral("证券基础→金融市场→第一节"));
    QCOMPARE(named<QLabel>(p3, u"bt"_s)->text(), named<QLabel>(p1, u"Label2"_s)->text());
    QCOMPARE(driver.column(QuestionListModel::QuestionNo).join(u','), QStringLiteral("1,2,3,4,5,6"));
    QCOMPARE(state.sectionCode(), QStringLiteral("K0101"));
    QCOMPARE(state.currentQuestion().number, QStringLiteral("1"));
}

void tst_frmmain_practice::upperNodeShowsTheWelcomePicture_data()
{
    QTest::addColumn<QString>("node");
    QTest::addColumn<bool>("sidePanel");
    QTest::newRow("a project") << u"证券基础"_qs << true;
    QTest::newRow("a subject") << u"金融市场"_qs << true;
    // Named like a personal node but none of the three: the side panel goes, the row decides.
    QTest::newRow("a subject named 个人…") << u"个人题库"_qs << false;
}

void tst_frmmain_practice::upperNodeShowsTheWelcomePicture()
{
    QFETCH(QString, node);
    QFETCH(bool, sidePanel);
    MainWindowDriver driver(bankPath(), fillBank);
    PracticePanel* p1 = driver.panel();
    WelcomePanel* p3 = named<WelcomePanel>(&driver.window(), u"Picture3"_s);
    QVERIFY(driver.clickNode(QStringLiteral("第一节")));
    QVERIFY(driver.showQuestion(4));
    const QStringList rows = driver.column(0);
    const QString text = named<QTextEdit>(driver.panel(), u"Text1"_s)->toPlainText();
    QVERIFY(driver.clickNode(QStringLiteral("证券法")));

    QVERIFY(driver.clickNode(node));
    QVERIFY(p3->isVisible());
    QVERIFY(named<QLabel>(p3, u"Image2"_s)->isVisible());
    QVERIFY(!named<QLabel>(p3, u"Image2"_s)->pixmap().isNull());
    QVERIFY(!named<QTextEdit>(p3, u"Tex"_s)->isVisible());
    QVERIFY(!named<QLabel>(p3, u"bt"_s)->isVisible());
    QVERIFY(!p1->isVisible());
    QCOMPARE(named<PracticeSidePanel>(p1, u"Frame3"_s)->isVisibleTo(p1), sidePanel);
    // The list and the question stay behind the picture.
    QCOMPARE(driver.column(0), rows);
    QCOMPARE(named<QTextEdit>(driver.panel(), u"Text1"_s)->toPlainText(), text);
    QCOMPARE(driver.window().session().currentQuestion().number, QStringLiteral("4"));
    QCOMPARE(driver.window().session().sectionCode(), QStringLiteral("J0101"));
}

QTEST_MAIN(tst_frmmain_practice)
#include "tst_frmmain_practice.moc"
