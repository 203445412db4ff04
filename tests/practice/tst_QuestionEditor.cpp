#include "Fixtures.h"
#include "MainWindowDriver.h"
#include "Named.h"
#include "TestEnvironment.h"
#include "WindowTest.h"

#include "catalogue/ui/QuestionListView.h"
#include "controls/MessageBox.h"
#include "practice/ui/QuestionView.h"
#include "richtext/RichText.h"
#include "richtext/RtfReader.h"

#include <QLineEdit>
#include <QTest>
#include <QTextEdit>

using namespace Qt::StringLiterals;

namespace {

QString plain(const QTextEdit* box)
{
    return RichText::plainText(*box->document());
}

// The notes and the edit panel: the button that opens it, its rich-text box, its save
// button and the field of tk that box is saved to.
struct Panel
{
    QString open, box, save, column;
};

Panel panel(const QString& name)
{
    if (name == u"notes"_s)
        return { u"cmd_8"_s, u"text3"_s, u"Command4"_s, u"zs"_s };
    return { u"cmd_7"_s, u"text4"_s, u"Command6"_s, u"选项"_s };
}

const char* const Panels[] = { "notes", "edits" };

} // namespace

class tst_QuestionEditor : public WindowTest
{
    Q_OBJECT

public:
    tst_QuestionEditor()
        : WindowTest(Fixtures::marketBank)
    { }

private slots:

    void notesSavedWithoutTyping();
    void savesDuringAnExamWriteTheBankOnly_data();
    void savesDuringAnExamWriteTheBankOnly();
    void editsWriteTheExtracts_data();
    void editsWriteTheExtracts();
    void savesRefusedWithoutAQuestion_data();
    void savesRefusedWithoutAQuestion();
    void textKeptVerbatim_data();
    void textKeptVerbatim();

private:
    static void checkOneNotice(const QString& text);
};

void tst_QuestionEditor::checkOneNotice(const QString& text)
{
    MainWindowDriver::checkOneBox(QMessageBox::NoIcon, u"Vellumore"_s, text);
}

void tst_QuestionEditor::notesSavedWithoutTyping()
{
    QVERIFY(m_w->clickNode(u"股票"_s));
    QVERIFY(m_w->field(u"tk"_s, u"K0102"_s, 1, u"zs"_s).isNull());
    QVERIFY(m_w->click(u"cmd_8"_s));
    QCOMPARE(plain(named<QTextEdit>(m_w->panel(), u"text3"_s)), u"本题暂无注释或笔记"_s);

    QVERIFY(m_w->click(u"Command4"_s));

    checkOneNotice(u"添加或修改成功！"_s);
    const QByteArray stored = m_w->field(u"tk"_s, u"K0102"_s, 1, u"zs"_s).toString().toUtf8();
    QVERIFY(RtfReader::isRtf(stored));
    QCOMPARE(RichText::plainText(stored), u"本题暂无注释或笔记"_s);
}

void tst_QuestionEditor::savesDuringAnExamWriteTheBankOnly_data()
{
    QTest::addColumn<QString>("panelName");
    for (const char* name : Panels)
        QTest::newRow(name) << QString::fromLatin1(name);
}

void tst_QuestionEditor::savesDuringAnExamWriteTheBankOnly()
{
    QFETCH(QString, panelName);
    const Panel p = panel(panelName);
    QVERIFY(m_w->clickNode(u"证券市场的产生与发展"_s));
    QVERIFY(m_w->startExam());
    // The exam's copy differs from the bank, so the panels show which one they read.
    QVERIFY(m_w->window()
                .store()
                .write(u"update kstk set 答案='BA', zs=? where 代码='K0101' and 题号=3"_s,
                    { QString::fromLatin1(RichText::fromPlainText(u"考试前的注释"_s)) })
                .isDone());
    // The paper lists the A3 group first, then the 判断 question 3.
    QVERIFY(m_w->clickRow(2));
    QCOMPARE(m_w->session().currentQuestion().number, u"3"_s);
    QCOMPARE(named<QLineEdit>(m_w->panel(), u"Text5"_s)->text(), u"BA"_s);
    QCOMPARE(plain(named<QTextEdit>(m_w->panel(), u"text3"_s)), u"考试前的注释"_s);
    const QVariant examCopy = m_w->field(u"kstk"_s, u"K0101"_s, 3, p.column);

    QVERIFY(m_w->click(p.open));
    QWidget* box = m_w->child(p.box);
    MainWindowDriver::clearBox(box);
    MainWindowDriver::type(box, u"考试中改写的内容"_s);
    QVERIFY(m_w->click(p.save));

    QCOMPARE(MessageBox::takeShown().size(), 1);
    QCOMPARE(m_w->plainField(u"tk"_s, u"K0101"_s, 3, p.column), u"考试中改写的内容"_s);
    QCOMPARE(m_w->field(u"kstk"_s, u"K0101"_s, 3, p.column), examCopy);
}

void tst_QuestionEditor::editsWriteTheExtracts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("extract");
    const QString fifty
        = u"证券投资基金是一种利益共享、风险共担的集合投资方式，它通过发行基金份额集中投资者的资金，"
          u"由基金托管人托管，由基金管理人管理和运用资金。"_s.left(50);
    QCOMPARE(fifty.size(), 50);
    QTest::newRow("50 characters after blanks") << u"   "_s + fifty << fifty.left(30);
    QTest::newRow("full-width blanks") << u"\u3000\u3000"_s + fifty << fifty.left(30);
    QTest::newRow("short text") << u"  短题目 "_s << u"短题目 "_s;
    // A character outside the basic plane is one character, never cut in half.
    const QString upTo29 = u"股"_s.repeated(29);
    QTest::newRow("emoji as the 30th character") << upTo29 + u"📈后面的字"_s << upTo29 + u"📈"_s;
}

void tst_QuestionEditor::editsWriteTheExtracts()
{
    QFETCH(QString, text);
    QFETCH(QString, extract);
    QVERIFY(m_w->clickNode(u"股票"_s));
    QVERIFY(m_w->click(u"cmd_7"_s));
    const PracticePanel* view = m_w->panel();
    MainWindowDriver::clearBox(named<QTextEdit>(view, u"text4"_s));
    MainWindowDriver::type(named<QTextEdit>(view, u"text4"_s), text);
    MainWindowDriver::clearBox(named<QLineEdit>(view, u"Text5"_s));
    MainWindowDriver::type(named<QLineEdit>(view, u"Text5"_s), u"ABC"_s);
    MainWindowDriver::clearBox(named<QLineEdit>(view, u"Text7"_s));
    MainWindowDriver::type(named<QLineEdit>(view, u"Text7"_s), u"多选"_s);

    QVERIFY(m_w->click(u"Command6"_s));

    checkOneNotice(u"试题修改成功，点击左侧树目录以刷新修改记录！"_s);
    const auto stored = [this](const QString& column) { return m_w->field(u"tk"_s, u"K0102"_s, 1, column); };
    QCOMPARE(stored(u"tg"_s).toString(), extract);
    QCOMPARE(stored(u"xx"_s).toString(), extract);
    QCOMPARE(m_w->plainField(u"tk"_s, u"K0102"_s, 1, u"选项"_s), text);
    QCOMPARE(stored(u"答案"_s).toString(), u"ABC"_s);
    QCOMPARE(stored(u"题型"_s).toString(), u"多选"_s);
    QCOMPARE(RichText::plainText(stored(u"zs"_s).toString().toUtf8()), u"本题暂无注释或笔记"_s);
    // The list keeps what it listed until the tree is clicked again.
    QCOMPARE(m_w->list()->questions()->subItem(0, QuestionListModel::Type), u"单选"_s);
}

void tst_QuestionEditor::savesRefusedWithoutAQuestion_data()
{
    QTest::addColumn<QString>("panelName");
    QTest::addColumn<bool>("deleteShown");
    QTest::addColumn<QString>("node");
    for (const char* name : Panels) {
        QTest::addRow("%s, empty section", name) << QString::fromLatin1(name) << false << u"债券"_s;
        QTest::addRow("%s, question deleted", name) << QString::fromLatin1(name) << true << u"股票"_s;
    }
}

void tst_QuestionEditor::savesRefusedWithoutAQuestion()
{
    QFETCH(QString, panelName);
    QFETCH(bool, deleteShown);
    QFETCH(QString, node);
    const Panel p = panel(panelName);
    QVERIFY(m_w->clickNode(node));
    if (deleteShown)
        QVERIFY(m_w->window().store().write(u"delete from tk where 代码='K0102' and 题号=1"_s).isDone());
    const int rows = m_w->count(u"select count(*) from tk"_s);
    const int changes = m_w->count(u"select total_changes()"_s);
    QVERIFY(m_w->click(p.open));
    MainWindowDriver::type(m_w->child(p.box), u"没有题目也想写点什么"_s);

    QVERIFY(m_w->click(p.save));

    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, QMessageBox::Warning);
    QVERIFY(!shown[0].text.isEmpty());
    QCOMPARE(m_w->count(u"select count(*) from tk"_s), rows);
    QCOMPARE(m_w->count(u"select total_changes()"_s), changes);
}

void tst_QuestionEditor::textKeptVerbatim_data()
{
    QTest::addColumn<QString>("panelName");
    QTest::addColumn<QString>("text");
    for (const char* name : Panels) {
        for (const auto& t : Fixtures::awkwardTexts())
            QTest::addRow("%s, %s", name, t.name) << QString::fromLatin1(name) << t.text;
    }
}

void tst_QuestionEditor::textKeptVerbatim()
{
    QFETCH(QString, panelName);
    QFETCH(QString, text);
    const Panel p = panel(panelName);
    QVERIFY(m_w->clickNode(u"股票"_s));
    QVERIFY(m_w->click(p.open));
    auto* edit = m_w->child<QTextEdit>(p.box);
    MainWindowDriver::clearBox(edit);
    MainWindowDriver::type(edit, text);
    QCOMPARE(plain(edit), text);
    QVERIFY(m_w->click(p.save));
    QCOMPARE(MessageBox::takeShown().size(), 1);

    // Away and back: the box is filled again from the bank.
    QVERIFY(m_w->clickRow(2));
    QVERIFY(plain(edit) != text);
    QVERIFY(m_w->clickRow(1));

    QCOMPARE(m_w->plainField(u"tk"_s, u"K0102"_s, 1, p.column), text);
    QCOMPARE(plain(edit), text);
    if (p.column == u"选项"_s)
        QCOMPARE(m_w->shownQuestion(), text);
}

QTEST_MAIN(tst_QuestionEditor)
#include "tst_QuestionEditor.moc"
