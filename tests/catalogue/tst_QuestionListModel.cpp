#include "TestBank.h"
#include "TestFolders.h"

#include "catalogue/QuestionListModel.h"
#include "data/QuestionListRepository.h"
#include "data/QuestionType.h"
#include "data/RowSet.h"

#include <QAbstractItemModelTester>
#include <QColor>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

// The numbering of the question list and the model the list view shows.
class tst_QuestionListModel : public QObject
{
    Q_OBJECT

private slots:
    void init() { QFile::remove(m_folders.bankPath()); }
    void cleanup() { m_bank.reset(); }
    void appendNumbersOn_data();
    void appendNumbersOn();
    void modelStaysConsistent();
    void extractShownOnOneLine_data();
    void extractShownOnOneLine();

private:
    // A bank with one K0101 question per "题型:答案" (答案 "<null>" for absent), in this
    // order of sj, and the selection of them in that order.
    RowSet selectionOf(const QStringList& questions);

    TestFolders m_folders;
    std::unique_ptr<TestBank> m_bank;
};

RowSet tst_QuestionListModel::selectionOf(const QStringList& questions)
{
    m_bank = std::make_unique<TestBank>(m_folders.bankPath());
    m_bank->section(u"K0101"_s, u"第一节"_s);
    int number = 0;
    for (const QString& q : questions) {
        const QStringList parts = q.split(u':');
        ++number;
        m_bank->question(
            { u"K0101"_s, number, parts[0], parts[1], QString(u"给"_s + QString::number(number)) });
        if (parts[1] == u"<null>"_s)
            m_bank->store().write(u"update tk set 答案=null where 题号=?"_s, { number }).isDone();
    }
    return m_bank->store().query(
        u"select "_s + QuestionListRepository::columns() + u" from tk order by sj"_s);
}

void tst_QuestionListModel::appendNumbersOn_data()
{
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<QStringList>("numbers");

    QTest::newRow("grouped at position 2, three letters") << QStringList { u"单选:A"_s, u"B:ABC"_s,
        u"单选:B"_s } << QStringList { u"第1题"_s, u"第2题--第4题"_s, u"第5题"_s };
    QTest::newRow("grouped at position 3, one letter") << QStringList { u"单选:A"_s, u"多选:AB"_s, u"B:C"_s,
        u"判断:A"_s } << QStringList { u"第1题"_s, u"第2题"_s, u"第3题--第3题"_s, u"第4题"_s };
    QTest::newRow("groups in a row") << QStringList { u"A4:对错对"_s, u"A3:AB"_s, u"单选:C"_s }
                                     << QStringList { u"第1题--第3题"_s, u"第4题--第5题"_s, u"第6题"_s };
    QTest::newRow("grouped with an empty answer counts once") << QStringList { u"单选:A"_s, u"A3:"_s,
        u"单选:B"_s } << QStringList { u"第1题"_s, u"第2题"_s, u"第3题"_s };
    QTest::newRow("grouped with an absent answer counts once") << QStringList { u"单选:A"_s, u"B:<null>"_s,
        u"单选:B"_s, u"A3:AB"_s } << QStringList { u"第1题"_s, u"第2题"_s, u"第3题"_s, u"第4题--第5题"_s };
}

void tst_QuestionListModel::appendNumbersOn()
{
    QFETCH(QStringList, questions);
    QFETCH(QStringList, numbers);
    RowSet selection = selectionOf(questions);
    QuestionListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);

    model.append(selection);

    QCOMPARE(model.rowCount(), questions.size());
    for (int row = 0; row < model.rowCount(); ++row) {
        const QString type = questions[row].section(u':', 0, 0);
        const QString answer = questions[row].section(u':', 1);
        const QuestionListModel::Row r = model.row(row);
        QCOMPARE(r.text, numbers[row]);
        QCOMPARE(r.type, type);
        QCOMPARE(r.answer, answer == u"<null>"_s ? QString() : answer);
        // A grouped row names its kind in place of the extract of its text.
        QCOMPARE(r.title,
            QuestionType::isGrouped(type) ? u"此题为"_s + type + u"型题"_s : u"第%1题的题目"_s.arg(row + 1));
        QCOMPARE(r.questionNo, QString::number(row + 1));
        QCOMPARE(r.code, u"K0101"_s);
        QCOMPARE(r.given, u"给"_s + QString::number(row + 1));
    }
}

void tst_QuestionListModel::modelStaysConsistent()
{
    QuestionListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.columnCount(), 7);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), u"题号"_s);
    QCOMPARE(model.headerData(6, Qt::Horizontal).toString(), u"我的答案"_s);

    RowSet first = selectionOf({ u"单选:A"_s, u"B:AB"_s, u"多选:CD"_s });
    model.append(first);
    RowSet empty
        = m_bank->store().query(u"select "_s + QuestionListRepository::columns() + u" from tk where 0"_s);
    model.append(empty);
    QCOMPARE(model.rowCount(), 3);
    const QModelIndex cell = model.index(1, QuestionListModel::Title);
    QCOMPARE(model.data(cell).toString(), u"此题为B型题"_s);
    QCOMPARE(model.data(cell, Qt::ToolTipRole), model.data(cell));
    QCOMPARE(model.data(cell, Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));

    model.setSubItem(1, QuestionListModel::Given, u"AB"_s);
    QCOMPARE(model.subItem(1, QuestionListModel::Given), u"AB"_s);
    model.setSubItem(3, QuestionListModel::Given, u"past the end"_s);
    model.setSubItem(0, QuestionListModel::ColumnCount, u"no such column"_s);
    QCOMPARE(model.subItem(3, QuestionListModel::Given), QString());

    // Removing a row leaves the numbers of the others as they were listed.
    model.removeRow(0);
    model.removeRow(5);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.subItem(0, QuestionListModel::Number), u"第2题--第3题"_s);
    QCOMPARE(model.subItem(1, QuestionListModel::Number), u"第4题"_s);

    model.clear();
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.row(0).text, QString());
    RowSet again
        = m_bank->store().query(u"select "_s + QuestionListRepository::columns() + u" from tk order by sj"_s);
    model.append(again);
    QCOMPARE(model.rowCount(), 3);
}

void tst_QuestionListModel::extractShownOnOneLine_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("no break") << u"股息率通常事"_s << u"股息率通常事"_s;
    QTest::newRow("LF and CR LF") << u"A．股息率\n通常事\r\nB．市盈率"_s << u"A．股息率 通常事 B．市盈率"_s;
    QTest::newRow("CR, paragraph and line separators") << u"甲\r乙\u2029丙\u2028丁"_s << u"甲 乙 丙 丁"_s;
    QTest::newRow("two breaks stay two blanks") << u"甲\n\n乙"_s << u"甲  乙"_s;
}

void tst_QuestionListModel::extractShownOnOneLine()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QuestionListModel model;
    RowSet rows = selectionOf({ u"单选:A"_s });
    model.append(rows);
    model.setSubItem(0, QuestionListModel::Title, stored);
    const QModelIndex cell = model.index(0, QuestionListModel::Title);
    QCOMPARE(model.data(cell).toString(), shown);
    QCOMPARE(model.subItem(0, QuestionListModel::Title), stored);
}

QTEST_GUILESS_MAIN(tst_QuestionListModel)
#include "tst_QuestionListModel.moc"
