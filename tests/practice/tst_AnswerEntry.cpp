#include "Fixtures.h"
#include "MainWindowDriver.h"
#include "Named.h"
#include "TestBank.h"
#include "TestEnvironment.h"
#include "WindowTest.h"

#include "catalogue/ui/QuestionListView.h"
#include "controls/MessageBox.h"
#include "exam/ExamSession.h"
#include "practice/ui/AnswerPanel.h"
#include "practice/ui/PracticePanel.h"
#include "practice/ui/QuestionView.h"
#include "shell/ui/frmmain.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>

using namespace Qt::StringLiterals;

class tst_AnswerEntry : public WindowTest
{
    Q_OBJECT

public:
    tst_AnswerEntry()
        : WindowTest({}, UnreadBoxes::Fail)
    { }

private slots:
    void entryIsEncodedAndStored_data();
    void entryIsEncodedAndStored();
    void entryWithoutQuestionIsRefused_data();
    void entryWithoutQuestionIsRefused();
    void answerSurvivesRestart();

private:
    // Acts on an answer control: "C3=不会" chooses an item, "key:C" presses a key with the
    // focus in the list, any other name clicks the control.
    static void enter(MainWindowDriver& driver, const QString& step);
};

void tst_AnswerEntry::enter(MainWindowDriver& driver, const QString& step)
{
    if (step.startsWith(QStringLiteral("C3="))) {
        QVERIFY(MainWindowDriver::chooseItem(named<QComboBox>(driver.answers(), u"C3"_s), step.mid(3)));
        return;
    }
    if (step.startsWith(QStringLiteral("key:"))) {
        const char16_t c = step.at(4).unicode();
        const Qt::Key key
            = c >= u'A' && c <= u'E' ? Qt::Key(Qt::Key_A + (c - u'A')) : Qt::Key(Qt::Key_1 + (c - u'1'));
        QWidget* list = driver.list();
        list->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), list);
        QTest::keyClick(list, key);
        return;
    }
    auto* button = driver.answers()->findChild<QAbstractButton*>(step);
    QVERIFY2(button, qPrintable(step));
    QVERIFY2(button->isVisible() && button->isEnabled(), qPrintable(step));
    MainWindowDriver::click(button);
}

void tst_AnswerEntry::entryIsEncodedAndStored_data()
{
    QTest::addColumn<bool>("exam");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("stored"); // 答题 after each step
    QTest::addColumn<QString>("dalab");

    for (const bool exam : { false, true }) {
        const char* table = exam ? "kstk" : "tk";
        auto row
            = [&](const char* name) -> QTestData& { return QTest::addRow("%s, %s", table, name) << exam; };
        row("多选 D, A, C, then all cleared")
            << u"多选"_qs
            << QStringList { u"DAN_A_3"_qs, u"DAN_A_0"_qs, u"DAN_A_2"_qs, u"DAN_A_0"_qs, u"DAN_A_2"_qs,
                   u"DAN_A_3"_qs }
            << QStringList { u"D"_qs, u"AD"_qs, u"ACD"_qs, u"CD"_qs, u"D"_qs, u""_qs } << u"(  )"_qs;
        row("不定项 E") << u"不定项"_qs << QStringList { u"DAN_A_4"_qs } << QStringList { u"E"_qs }
                        << u"( E )"_qs;
        row("单选 C, then E") << u"单选"_qs << QStringList { u"Option1_2"_qs, u"Option1_4"_qs }
                              << QStringList { u"C"_qs, u"E"_qs } << u"( E )"_qs;
        row("判断 B") << u"判断"_qs << QStringList { u"Option1_1"_qs } << QStringList { u"B"_qs }
                      << u"( B )"_qs;
        row("计算 会做, 不会, 会做") << u"计算"_qs
                                     << QStringList { u"C3=会做"_qs, u"C3=不会"_qs, u"C3=会做"_qs }
                                     << QStringList { u"会做"_qs, u"不会"_qs, u"会做"_qs } << u"( 会做 )"_qs;
        row("A4 对, then 错") << u"A4"_qs << QStringList { u"Option2"_qs, u"Option3"_qs }
                              << QStringList { u"对"_qs, u"错"_qs } << u"( 错 )"_qs;

        // The keys A to E and 1 to 5 store what the clicks store.
        row("多选 keys D, A, C, 1, 3, 4")
            << u"多选"_qs
            << QStringList { u"key:D"_qs, u"key:A"_qs, u"key:C"_qs, u"key:1"_qs, u"key:3"_qs, u"key:4"_qs }
            << QStringList { u"D"_qs, u"AD"_qs, u"ACD"_qs, u"CD"_qs, u"D"_qs, u""_qs } << u"(  )"_qs;
        row("单选 keys C, then 5") << u"单选"_qs << QStringList { u"key:C"_qs, u"key:5"_qs }
                                   << QStringList { u"C"_qs, u"E"_qs } << u"( E )"_qs;
        row("判断 key 2") << u"判断"_qs << QStringList { u"key:2"_qs } << QStringList { u"B"_qs }
                          << u"( B )"_qs;
        row("计算 keys 1, B, A") << u"计算"_qs << QStringList { u"key:1"_qs, u"key:B"_qs, u"key:A"_qs }
                                 << QStringList { u"会做"_qs, u"不会"_qs, u"会做"_qs } << u"( 会做 )"_qs;
        row("A4 keys A, then 2") << u"A4"_qs << QStringList { u"key:A"_qs, u"key:2"_qs }
                                 << QStringList { u"对"_qs, u"错"_qs } << u"( 错 )"_qs;
    }
}

void tst_AnswerEntry::entryIsEncodedAndStored()
{
    QFETCH(bool, exam);
    QFETCH(QString, type);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, stored);
    QFETCH(QString, dalab);
    MainWindowDriver driver(bankPath(), [&](TestBank& bank) {
        Fixtures::practiceCatalogue(bank);
        bank.question({ u"K0101"_qs, 1, type, u"A"_qs, u"B"_qs })
            .question({ u"K0101"_qs, 2, type, u"A"_qs, QVariant(), false, u"所问之题"_qs })
            .question({ u"K0102"_qs, 2, type, u"A"_qs });
    });
    QVERIFY(driver.clickNode(QStringLiteral("第一节")));
    if (exam)
        QVERIFY(driver.startExam());
    const QString table = exam ? QStringLiteral("kstk") : QStringLiteral("tk");
    const QString other = exam ? QStringLiteral("tk") : QStringLiteral("kstk");
    const QStringList otherBefore = exam ? driver.allStored(other) : QStringList();
    QVERIFY(driver.showQuestion(2));
    QCOMPARE(named<QLabel>(driver.panel(), u"dalab"_s)->text(), QStringLiteral("()"));

    for (int i = 0; i < steps.size(); ++i) {
        enter(driver, steps[i]);
        QCOMPARE(driver.field(table, u"K0101"_qs, 2, u"答题"_qs), QVariant(stored[i]));
    }
    QCOMPARE(named<QLabel>(driver.panel(), u"dalab"_s)->text(), dalab);
    QCOMPARE(driver.allStored(table), QStringList({ u"B"_qs, stored.last(), u"<null>"_qs }));
    QCOMPARE(driver.allStored(other), otherBefore);
    // A multiple-choice entry draws the question again; no entry loses it.
    QVERIFY(named<QTextEdit>(driver.panel(), u"Text1"_s)
                ->toPlainText()
                .startsWith(QStringLiteral("\n\n所问之题")));

    // Shown again, the question is read from the table of the exam state at that moment.
    driver.window().examSession().end();
    QVERIFY(driver.showQuestion(2));
    const QString caption = exam  ? QStringLiteral("()")
        : stored.last().isEmpty() ? QStringLiteral("(    )")
                                  : QStringLiteral("(") + stored.last() + QStringLiteral(")");
    QCOMPARE(named<QLabel>(driver.panel(), u"dalab"_s)->text(), caption);
}

void tst_AnswerEntry::entryWithoutQuestionIsRefused_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("step");
    QTest::newRow("single choice") << u"单选"_qs << u"Option1_2"_qs;
    QTest::newRow("multiple choice") << u"多选"_qs << u"DAN_A_1"_qs;
    QTest::newRow("self-assessment") << u"简答"_qs << u"C3=会做"_qs;
    QTest::newRow("true/false") << u"A4"_qs << u"Option3"_qs;
}

void tst_AnswerEntry::entryWithoutQuestionIsRefused()
{
    QFETCH(QString, type);
    QFETCH(QString, step);
    MainWindowDriver driver(bankPath(), [&](TestBank& bank) {
        Fixtures::practiceCatalogue(bank);
        bank.question({ u"K0101"_qs, 1, type, u"A"_qs })
            .question({ u"K0101"_qs, 2, type, u"A"_qs, u""_qs })
            .question({ u"K0102"_qs, 1, type, u"A"_qs, u"B"_qs });
    });
    const QStringList before = driver.allStored(QStringLiteral("tk"));
    // A section without questions: the practice panel shows, no question ever did. The panel
    // of the type is put up as a question of that type would.
    QVERIFY(driver.clickNode(QStringLiteral("第三节")));
    QVERIFY(driver.panel()->isVisible());
    QCOMPARE(driver.window().session().position(), 0);
    driver.answers()->preset(type, QString());
    const QString dalab = named<QLabel>(driver.panel(), u"dalab"_s)->text();

    enter(driver, step);
    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, QMessageBox::Critical);
    QCOMPARE(shown[0].title, QStringLiteral("错误"));
    QCOMPARE(shown[0].text, QStringLiteral("操作错误，因为当前没有试题！"));
    QCOMPARE(driver.allStored(QStringLiteral("tk")), before);
    QCOMPARE(named<QLabel>(driver.panel(), u"dalab"_s)->text(), dalab);
}

void tst_AnswerEntry::answerSurvivesRestart()
{
    {
        MainWindowDriver driver(bankPath(), [](TestBank& bank) {
            Fixtures::practiceCatalogue(bank);
            bank.question({ u"K0101"_qs, 1, u"多选"_qs, u"ABD"_qs })
                .question({ u"K0101"_qs, 2, u"单选"_qs, u"C"_qs });
        });
        QVERIFY(driver.clickNode(QStringLiteral("第一节")));
        QVERIFY(driver.showQuestion(1));
        enter(driver, QStringLiteral("DAN_A_3"));
        enter(driver, QStringLiteral("DAN_A_1"));
        QVERIFY(driver.showQuestion(2));
        enter(driver, QStringLiteral("Option1_4"));

        MessageBox::queueAnswer(QMessageBox::Yes);
        QVERIFY(driver.window().close());
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("您是否真的要退出Vellumore？"));
    }

    MainWindowDriver driver(bankPath());
    QVERIFY(driver.clickNode(QStringLiteral("第一节")));
    // 单选 lists before 多选: the listing shows question 2 first.
    QCOMPARE(driver.window().session().currentQuestion().number, QStringLiteral("2"));
    const AnswerPanel* answers = driver.answers();
    QVERIFY(named<QGroupBox>(answers, u"Frame4"_s)->isVisible());
    QVERIFY(named<QRadioButton>(answers, u"Option1_%1"_s, 4)->isChecked());
    QCOMPARE(named<QLabel>(driver.panel(), u"dalab"_s)->text(), QStringLiteral("(E)"));

    QVERIFY(driver.showQuestion(1));
    QVERIFY(named<QGroupBox>(answers, u"Frame2"_s)->isVisible());
    for (int i = 0; i < 5; ++i)
        QCOMPARE(named<QCheckBox>(answers, u"DAN_A_%1"_s, i)->isChecked(), i == 1 || i == 3);
    QCOMPARE(named<QLabel>(driver.panel(), u"dalab"_s)->text(), QStringLiteral("(BD)"));
}

QTEST_MAIN(tst_AnswerEntry)
#include "tst_AnswerEntry.moc"
