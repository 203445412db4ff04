#include "Fixtures.h"
#include "MainWindowDriver.h"
#include "Named.h"
#include "TestBank.h"
#include "TestEnvironment.h"
#include "WindowTest.h"

#include "catalogue/ui/QuestionListView.h"
#include "controls/MessageBox.h"
#include "data/QuestionType.h"
#include "practice/ui/PracticePanel.h"
#include "practice/ui/PracticeSidePanel.h"
#include "practice/ui/QuestionView.h"
#include "shell/ui/frmmain.h"

#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_QuestionList : public WindowTest
{
    Q_OBJECT

public:
    tst_QuestionList()
        : WindowTest({}, UnreadBoxes::Fail)
    { }

private slots:
    void groupedRowsNumberOn_data();
    void groupedRowsNumberOn();
    void filtersSelect_data();
    void filtersSelect();
};

void tst_QuestionList::groupedRowsNumberOn_data()
{
    // Questions as "题型:答案" in the order of sj. A catalogue listing orders them by type, where
    // the grouped types come first; a selection in the order of sj is what a search lists.
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<bool>("bySection");
    QTest::addColumn<QStringList>("numbers");

    QTest::newRow("grouped at position 2, three letters") << QStringList { u"单选:A"_qs, u"B:ABC"_qs,
        u"单选:B"_qs } << false << QStringList { u"第1题"_qs, u"第2题--第4题"_qs, u"第5题"_qs };
    QTest::newRow("grouped at position 3, one letter")
        << QStringList { u"单选:A"_qs, u"多选:AB"_qs, u"B:C"_qs, u"判断:A"_qs } << false
        << QStringList { u"第1题"_qs, u"第2题"_qs, u"第3题--第3题"_qs, u"第4题"_qs };
    QTest::newRow("section listing, grouped types first")
        << QStringList { u"单选:C"_qs, u"B:D"_qs, u"A4:对错对"_qs, u"A3:AB"_qs } << true
        << QStringList { u"第1题--第2题"_qs, u"第3题--第5题"_qs, u"第6题--第6题"_qs, u"第7题"_qs };
    QTest::newRow("grouped without answer letters counts once") << QStringList { u"单选:A"_qs, u"A3:"_qs,
        u"单选:B"_qs } << false << QStringList { u"第1题"_qs, u"第2题"_qs, u"第3题"_qs };
}

void tst_QuestionList::groupedRowsNumberOn()
{
    QFETCH(QStringList, questions);
    QFETCH(bool, bySection);
    QFETCH(QStringList, numbers);
    MainWindowDriver driver(bankPath(), [&questions](TestBank& bank) {
        Fixtures::practiceCatalogue(bank);
        int number = 0;
        for (const QString& q : questions) {
            const QStringList parts = q.split(u':');
            bank.question({ QStringLiteral("K0101"), ++number, parts[0], parts[1] });
        }
    });
    PracticePanel* panel = driver.panel();
    if (bySection) {
        QVERIFY(driver.clickNode(QStringLiteral("第一节")));
    } else {
        panel->ResetQuestionList();
        panel->listSelection(
            { QStringLiteral("select * from tk where 代码=? order by sj"), { u"K0101"_qs } });
    }
    QCOMPARE(driver.column(QuestionListModel::Number), numbers);

    const QuestionListModel* model = named<QuestionListView>(panel, u"ListView1"_s)->questions();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QString type = model->subItem(row, QuestionListModel::Type);
        const QString title = QuestionType::isGrouped(type)
            ? QStringLiteral("此题为") + type + QStringLiteral("型题")
            : QStringLiteral("第%1题的题目").arg(model->subItem(row, QuestionListModel::QuestionNo));
        QCOMPARE(model->subItem(row, QuestionListModel::Title), title);
        QCOMPARE(model->data(model->index(row, 0), Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
    }
    // The first row is shown; the position label counts list rows, not numbered questions.
    QCOMPARE(driver.window().session().position(), 1);
    QCOMPARE(named<QLineEdit>(driver.panel(), u"Text2"_s)->text(), QStringLiteral("第1题"));
}

void tst_QuestionList::filtersSelect_data()
{
    QTest::addColumn<QString>("untick"); // type boxes to clear, by number
    QTest::addColumn<QString>("range"); // the Combo1 item; empty: a text that is none of them
    QTest::addColumn<QStringList>("listed"); // 题号 of the listed rows, in list order

    QTest::newRow("全部题目") << QString() << u"全部题目"_qs
                              << QStringList { u"10"_qs, u"5"_qs, u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs,
                                     u"9"_qs };
    QTest::newRow("已做题目") << QString() << u"已做题目"_qs
                              << QStringList { u"5"_qs, u"3"_qs, u"4"_qs, u"9"_qs };
    QTest::newRow("未做题目: absent and empty")
        << QString() << u"未做题目"_qs << QStringList { u"10"_qs, u"1"_qs, u"2"_qs };
    QTest::newRow("做错题目") << QString() << u"做错题目"_qs << QStringList { u"5"_qs, u"4"_qs };
    QTest::newRow("no type box ticked") << u"123456"_qs << u"全部题目"_qs << QStringList();
    QTest::newRow("no type box ticked, 做错题目") << u"123456"_qs << u"做错题目"_qs << QStringList();
    QTest::newRow("单选 and 多选 only")
        << u"2345"_qs << u"全部题目"_qs << QStringList { u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs };
    QTest::newRow("单选 and 多选 only, 已做题目")
        << u"2345"_qs << u"已做题目"_qs << QStringList { u"3"_qs, u"4"_qs };
    QTest::newRow("a range that is none of the items: the whole bank")
        << u"2345"_qs << QString()
        << QStringList { u"7"_qs, u"8"_qs, u"10"_qs, u"5"_qs, u"1"_qs, u"2"_qs, u"3"_qs, u"11"_qs, u"4"_qs,
               u"9"_qs, u"6"_qs };
}

void tst_QuestionList::filtersSelect()
{
    QFETCH(QString, untick);
    QFETCH(QString, range);
    QFETCH(QStringList, listed);
    MainWindowDriver driver(bankPath(), Fixtures::answeredBank);
    QVERIFY(driver.clickNode(QStringLiteral("第一节")));
    // The catalogue listing shows every type of the section, ordered by type and sj.
    QCOMPARE(driver.column(QuestionListModel::QuestionNo),
        QStringList(
            { u"7"_qs, u"8"_qs, u"10"_qs, u"5"_qs, u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs, u"9"_qs, u"6"_qs }));

    PracticeSidePanel* side = named<PracticeSidePanel>(driver.panel(), u"Frame3"_s);
    for (const QChar box : untick) {
        QCheckBox* check = named<QCheckBox>(side, u"Check%1"_s, box.digitValue());
        MainWindowDriver::click(check);
        QVERIFY(!check->isChecked());
    }
    QComboBox* combo = named<QComboBox>(side, u"Combo1"_s);
    if (range.isEmpty()) {
        // The state a redo leaves: the box shows a prompt instead of an item. A click on a
        // type box then filters by that text.
        combo->setPlaceholderText(QStringLiteral("请选择范围"));
        combo->setCurrentIndex(-1);
        MainWindowDriver::click(named<QCheckBox>(side, u"Check%1"_s, 6));
        MainWindowDriver::click(named<QCheckBox>(side, u"Check%1"_s, 6));
    } else {
        QVERIFY(MainWindowDriver::chooseItem(combo, range));
    }

    QCOMPARE(driver.column(QuestionListModel::QuestionNo), listed);
    const StudySession& state = driver.window().session();
    if (!listed.isEmpty()) {
        QCOMPARE(state.position(), 1);
        QCOMPARE(state.currentQuestion().number, listed.first());
    }
    // Filtering never writes an answer.
    QCOMPARE(driver.allStored(QStringLiteral("tk")),
        QStringList({ u"<null>"_qs, u""_qs, u"A"_qs, u"B"_qs, u"A"_qs, u"不会"_qs, u"错"_qs, u"<null>"_qs,
            u"会做"_qs, u""_qs, u"C"_qs }));
}

QTEST_MAIN(tst_QuestionList)
#include "tst_QuestionList.moc"
