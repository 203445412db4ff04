#include "MainWindowDriver.h"
#include "Named.h"
#include "SearchBanks.h"
#include "TestEnvironment.h"
#include "WindowTest.h"

#include "catalogue/ui/QuestionListView.h"
#include "controls/MessageBox.h"
#include "practice/ui/AnswerPanel.h"
#include "practice/ui/PracticePanel.h"
#include "shell/ui/WelcomePanel.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString Title = u"当前题库中包含关键字的试题"_s;
const QString First = u"证券基础/金融市场/第一节"_s;
const QString Second = u"证券基础/金融市场/第二节"_s;
const QString NoSection = u"证券基础/金融市场/?"_s;

} // namespace

// The practice command "查找试题" in the real main window: the hits of the whole bank in
// the question list, captioned with their section paths.
class tst_FindQuestions : public WindowTest
{
    Q_OBJECT

public:
    tst_FindQuestions()
        : WindowTest(SearchBanks::searchBank)
    { }

private slots:
    void init();
    void hitsListedWithTheirSectionPaths_data();
    void hitsListedWithTheirSectionPaths();
    void noHitsKeepsTheList();
    void cancelChangesNothing_data();
    void cancelChangesNothing();
    void questionAtTheListPositionIsShown_data();
    void questionAtTheListPositionIsShown();
    void answeringFromTheResultStoresInTheBank();

private:
    // Opens the dialog with cmd(6) and hands it to @p work; false when it did not open.
    bool search(const std::function<void(QDialog*)>& work);
    // Searches for @p keyword in the stems and options.
    void searchKeyword(const QString& keyword);
    QStringList hits() const;
};

void tst_FindQuestions::init()
{
    WindowTest::init();
    QVERIFY(m_w->clickNode(u"第一节"_s));
    QCOMPARE(m_w->column(QuestionListModel::QuestionNo), (QStringList { u"4"_s, u"1"_s, u"2"_s, u"3"_s }));
}

bool tst_FindQuestions::search(const std::function<void(QDialog*)>& work)
{
    return MainWindowDriver::runModal([this] { QVERIFY(m_w->click(u"cmd_6"_s)); }, work);
}

void tst_FindQuestions::searchKeyword(const QString& keyword)
{
    QVERIFY(search([&keyword](QDialog* dialog) {
        MainWindowDriver::type(dialog->findChild<QLineEdit*>(u"Text1"_s), keyword);
        MainWindowDriver::click(dialog->findChild<QCheckBox*>(u"Check2"_s));
        MainWindowDriver::click(dialog->findChild<QWidget*>(u"XPButton1"_s));
    }));
}

QStringList tst_FindQuestions::hits() const
{
    QStringList rows;
    const QStringList codes = m_w->column(QuestionListModel::Code);
    const QStringList numbers = m_w->column(QuestionListModel::QuestionNo);
    const QStringList texts = m_w->rowTexts();
    for (int i = 0; i < texts.size(); ++i)
        rows << texts[i] + u' ' + codes.value(i) + u'/' + numbers.value(i);
    return rows;
}

void tst_FindQuestions::hitsListedWithTheirSectionPaths_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("keyword in stems and options")
        << u"Option1"_s
        << QStringList { First + u" K0101/1"_s, First + u" K0101/2"_s, Second + u" K0102/6"_s,
               NoSection + u" K0199/7"_s };
    QTest::newRow("done") << u"Option2"_s
                          << QStringList { First + u" K0101/1"_s, First + u" K0101/2"_s,
                                 Second + u" K0102/5"_s, Second + u" K0102/6"_s, NoSection + u" K0199/7"_s };
    QTest::newRow("wrong") << u"Option3"_s
                           << QStringList { First + u" K0101/2"_s, Second + u" K0102/5"_s,
                                  Second + u" K0102/6"_s };
}

void tst_FindQuestions::hitsListedWithTheirSectionPaths()
{
    QFETCH(QString, option);
    QFETCH(QStringList, listed);
    QVERIFY(search([&option](QDialog* dialog) {
        // A click on the keyword option disables "确定" until the keyword is edited.
        MainWindowDriver::click(dialog->findChild<QRadioButton*>(option));
        if (option == u"Option1"_s) {
            MainWindowDriver::type(dialog->findChild<QLineEdit*>(u"Text1"_s), u"证券"_s);
            MainWindowDriver::click(dialog->findChild<QCheckBox*>(u"Check2"_s));
        }
        MainWindowDriver::click(dialog->findChild<QWidget*>(u"XPButton1"_s));
    }));
    QVERIFY(MessageBox::takeShown().isEmpty());
    QCOMPARE(hits(), listed);
    QCOMPARE(named<QLabel>(m_w->panel(), u"Label2"_s)->text(), Title);
    QCOMPARE(named<QLabel>(&m_w->window(), u"bt"_s)->text(), Title);
    QuestionListView* list = m_w->list();
    QCOMPARE(list->columnWidthPx(1), double(std::lround(list->width() / 3.0)));
    QVERIFY(!m_w->session().searchStatement().isEmpty());
}

void tst_FindQuestions::noHitsKeepsTheList()
{
    const QStringList before = hits();
    searchKeyword(u"不存在的词"_s);
    MainWindowDriver::checkOneBox(
        QMessageBox::Information, u"提示信息"_s, u"对不起，当前题库中没有你想找的题！"_s);
    QCOMPARE(hits(), before);
    // The title has already changed when nothing is found.
    QCOMPARE(named<QLabel>(m_w->panel(), u"Label2"_s)->text(), Title);
}

void tst_FindQuestions::cancelChangesNothing_data()
{
    QTest::addColumn<bool>("searchedBefore");
    QTest::addColumn<bool>("byButton");
    QTest::newRow("取消") << false << true;
    QTest::newRow("closed otherwise") << false << false;
    QTest::newRow("closed otherwise after a search: it is not run again") << true << false;
}

void tst_FindQuestions::cancelChangesNothing()
{
    QFETCH(bool, searchedBefore);
    QFETCH(bool, byButton);
    if (searchedBefore) {
        searchKeyword(u"证券"_s);
        m_w->clickNode(u"第二节"_s);
    }
    const QStringList before = hits();
    const QString title = named<QLabel>(m_w->panel(), u"Label2"_s)->text();
    QVERIFY(search([byButton](QDialog* dialog) {
        MainWindowDriver::type(dialog->findChild<QLineEdit*>(u"Text1"_s), u"证券"_s);
        if (byButton)
            MainWindowDriver::click(dialog->findChild<QWidget*>(u"XPButton2"_s));
    }));
    QCOMPARE(m_w->session().searchStatement(), QString());
    QCOMPARE(hits(), before);
    QCOMPARE(named<QLabel>(m_w->panel(), u"Label2"_s)->text(), title);
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void tst_FindQuestions::questionAtTheListPositionIsShown_data()
{
    QTest::addColumn<int>("rowBefore");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<int>("rowShown");
    QTest::addColumn<QString>("question");
    QTest::newRow("the same position") << 3 << u"证券"_s << 3 << u"K0102/6"_s;
    QTest::newRow("past the end: row 1") << 4 << u"_"_s << 1 << u"K0101/4"_s;
}

void tst_FindQuestions::questionAtTheListPositionIsShown()
{
    QFETCH(int, rowBefore);
    QFETCH(QString, keyword);
    QFETCH(int, rowShown);
    QFETCH(QString, question);
    QVERIFY(m_w->clickRow(rowBefore));
    QCOMPARE(m_w->session().position(), rowBefore);
    searchKeyword(keyword);
    QCOMPARE(m_w->session().position(), rowShown);
    QCOMPARE(m_w->session().sectionCode() + u'/' + m_w->session().currentQuestion().number, question);
    QCOMPARE(m_w->shownPosition(), u"第%1题"_s.arg(rowShown));
    QCOMPARE(m_w->list()->currentIndex().row(), rowShown - 1);
}

void tst_FindQuestions::answeringFromTheResultStoresInTheBank()
{
    searchKeyword(u"证券交易所"_s);
    QCOMPARE(hits(), QStringList { NoSection + u" K0199/7"_s });
    MainWindowDriver::click(named<QRadioButton>(m_w->answers(), u"Option1_%1"_s, 2));
    QCOMPARE(m_w->field(u"tk"_s, u"K0199"_s, 7, u"答题"_s).toString(), u"C"_s);
}

QTEST_MAIN(tst_FindQuestions)
#include "tst_FindQuestions.moc"
