#include "MainWindowDriver.h"
#include "Named.h"
#include "TestBank.h"
#include "TestEnvironment.h"
#include "WindowTest.h"

#include "catalogue/ui/QuestionListView.h"
#include "data/sh_diraduvod.h"
#include "practice/ui/PracticePanel.h"
#include "practice/ui/QuestionView.h"

#include <QCheckBox>
#include <QColor>
#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <QTextEdit>

#include <memory>

using namespace Qt::StringLiterals;

// The feedback the candidate may ask for while practising: off by default and then
// nothing of it shows; on, every stored answer is judged at once and the list colours
// its rows.
class tst_FeedbackMode : public WindowTest
{
    Q_OBJECT

private slots:
    void verdictShownOnRequest_data();
    void verdictShownOnRequest();
    void rememberedBetweenRuns();

private:
    /// Opens the window on the feedback bank, made the first time.
    std::unique_ptr<MainWindowDriver> open();
};

namespace {

// K0101 "第一节": 1 单选 A, 2 多选 AC, neither answered.
void feedbackBank(TestBank& bank)
{
    bank.project(u"K"_s, u"金融市场"_s).subject(u"K01"_s, u"体系"_s).section(u"K0101"_s, u"第一节"_s);
    TestBank::Question single(u"K0101"_s, 1, u"单选"_s, u"A"_s);
    TestBank::Question multiple(u"K0101"_s, 2, u"多选"_s, u"AC"_s);
    bank.question(single).question(multiple);
}

QColor rowColour(MainWindowDriver& w, int row)
{
    const auto* model = w.list()->questions();
    return model->data(model->index(row - 1, 0), Qt::ForegroundRole).value<QColor>();
}

} // namespace

std::unique_ptr<MainWindowDriver> tst_FeedbackMode::open()
{
    const bool made = QFileInfo::exists(m_env->bankPath());
    auto w = made ? std::make_unique<MainWindowDriver>(m_env->bankPath())
                  : std::make_unique<MainWindowDriver>(m_env->bankPath(), feedbackBank);
    if (!w->clickNode(u"第一节"_s))
        return nullptr;
    return w;
}

void tst_FeedbackMode::verdictShownOnRequest_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("verdict"); // first line shown; empty when nothing is shown
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QColor>("leftColour"); // the row's colour once another question is shown

    // "Enter" presses Enter in the list.
    const QColor red(255, 0, 0), green(0, 128, 0), black(0, 0, 0);
    QTest::newRow("off, wrong") << false << 1 << QStringList { u"Option1_1"_s } << QString() << red << red;
    QTest::newRow("off, right") << false << 1 << QStringList { u"Option1_0"_s } << QString() << red << red;
    QTest::newRow("on, right") << true << 1 << QStringList { u"Option1_0"_s } << u"回答正确！"_s << green
                               << green;
    QTest::newRow("on, wrong") << true << 1 << QStringList { u"Option1_1"_s } << u"回答错误，您的答案是：B"_s
                               << red << red;
    // Ticking A before C is not a wrong answer: several letters are judged on Enter or on leaving.
    QTest::newRow("on, several letters, not yet judged")
        << true << 2 << QStringList { u"DAN_A_0"_s, u"DAN_A_2"_s } << QString() << black << green;
    QTest::newRow("on, several letters, Enter")
        << true << 2 << QStringList { u"DAN_A_0"_s, u"DAN_A_2"_s, u"Enter"_s } << u"回答正确！"_s << green
        << green;
    QTest::newRow("on, several letters, one missing, Enter")
        << true << 2 << QStringList { u"DAN_A_0"_s, u"Enter"_s } << u"回答错误，您的答案是：A"_s << red
        << red;
    QTest::newRow("on, unanswered") << true << 2 << QStringList { u"DAN_A_0"_s, u"DAN_A_0"_s, u"Enter"_s }
                                    << u"尚未作答"_s << black << black;
    QTest::newRow("off, Enter shows nothing")
        << false << 2 << QStringList { u"DAN_A_0"_s, u"DAN_A_2"_s, u"Enter"_s } << QString() << red << red;
}

void tst_FeedbackMode::verdictShownOnRequest()
{
    QFETCH(bool, on);
    QFETCH(int, row);
    QFETCH(QStringList, clicks);
    QFETCH(QString, verdict);
    QFETCH(QColor, colour);
    QFETCH(QColor, leftColour);

    const auto w = open();
    QVERIFY(w);
    auto* box = w->child<QCheckBox>(u"chkFeedback"_s);
    QVERIFY(box && box->isVisible());
    QVERIFY(!box->isChecked()); // off for a new user
    if (on)
        MainWindowDriver::click(box);
    QVERIFY(w->clickRow(row));
    QLabel* feedback = named<QLabel>(w->panel(), u"feedback"_s);
    QVERIFY(!feedback->isVisible()); // nothing before an answer
    for (const QString& name : clicks) {
        if (name == u"Enter"_s) {
            w->list()->setFocus();
            QTest::keyClick(w->list(), Qt::Key_Return);
        } else {
            QVERIFY(w->click(name));
        }
    }

    QCOMPARE(feedback->isVisible(), !verdict.isEmpty());
    if (!verdict.isEmpty()) {
        QCOMPARE(feedback->text().section(u'\n', 0, 0), verdict);
        QVERIFY(feedback->text().contains(u"标准答案："_s));
        QVERIFY(feedback->geometry().top()
            >= named<QTextEdit>(w->panel(), u"Text1"_s)->geometry().bottom()); // under the question
    }
    QCOMPARE(rowColour(*w, row), colour);
    // Another question starts without a verdict.
    QVERIFY(w->clickRow(row == 1 ? 2 : 1));
    QVERIFY(!feedback->isVisible());
    QCOMPARE(rowColour(*w, row), leftColour);
}

void tst_FeedbackMode::rememberedBetweenRuns()
{
    {
        const auto w = open();
        QVERIFY(w);
        MainWindowDriver::click(w->child<QCheckBox>(u"chkFeedback"_s));
    }
    QCOMPARE(sh_diraduvod::GetIniInt(u"practice"_s, u"feedback"_s, 0), qint16(1));
    {
        const auto w = open();
        QVERIFY(w);
        auto* box = w->child<QCheckBox>(u"chkFeedback"_s);
        QVERIFY(box->isChecked());
        QCOMPARE(rowColour(*w, 1), QColor(0, 0, 0)); // not yet done
        MainWindowDriver::click(box);
    }
    QCOMPARE(sh_diraduvod::GetIniInt(u"practice"_s, u"feedback"_s, 1), qint16(0));
}

QTEST_MAIN(tst_FeedbackMode)
#include "tst_FeedbackMode.moc"
