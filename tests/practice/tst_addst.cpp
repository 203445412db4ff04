#include "Fixtures.h"
#include "MainWindowDriver.h"
#include "Named.h"
#include "TestEnvironment.h"
#include "WindowTest.h"

#include "catalogue/ui/QuestionListView.h"
#include "controls/FileDialog.h"
#include "controls/MessageBox.h"
#include "controls/XPButton.h"
#include "practice/ui/PracticeCommands.h"
#include "practice/ui/QuestionView.h"
#include "practice/ui/addst.h"
#include "richtext/RichText.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

using namespace Qt::StringLiterals;

namespace {

const QString Added
    = u"您的试题已添加成功，并同时添加到您目前所在章节和个人收藏夹两个地方，点击主窗口左侧的树目录以刷新修改记录！"_s;

struct Entry
{
    int option = -1; // txopn index, -1 for none
    QString question;
    QString answer;
    QString notes;
};

// Fills the dialog as a user would and clicks "添加"; the dialog's result afterwards.
// @p answerShown receives what the answer box shows once the answer is typed.
int fillAndAdd(QDialog* dialog, const Entry& entry, QString* answerShown = nullptr)
{
    auto* form = qobject_cast<addst*>(dialog);
    if (!form)
        return -1;
    if (entry.option >= 0)
        QTest::mouseClick(named<QRadioButton>(form, u"txopn_%1"_s, entry.option), Qt::LeftButton);
    MainWindowDriver::type(named<QTextEdit>(form, u"t1"_s), entry.question);
    MainWindowDriver::type(named<QLineEdit>(form, u"DAtxt"_s), entry.answer);
    if (answerShown)
        *answerShown = named<QLineEdit>(form, u"DAtxt"_s)->text() + u'|'
            + QString::number(named<QLineEdit>(form, u"DAtxt"_s)->cursorPosition());
    MainWindowDriver::type(named<QTextEdit>(form, u"t2"_s), entry.notes);
    QTest::mouseClick(named<XPButton>(form, u"XPButton1"_s), Qt::LeftButton);
    return form->result();
}

} // namespace

class tst_addst : public WindowTest
{
    Q_OBJECT

public:
    tst_addst()
        : WindowTest(Fixtures::marketBank)
    { }

private slots:

    void opensEmptyAndCancels();
    void addsAQuestion_data();
    void addsAQuestion();
    void addsToAnEmptySection();
    void refusedWithoutASection();
    void editingMenu_data();
    void editingMenu();
    void refusedWhenEmpty_data();
    void refusedWhenEmpty();
    void textKeptVerbatim_data();
    void textKeptVerbatim();
    void importsAFile_data();
    void importsAFile();
};

void tst_addst::opensEmptyAndCancels()
{
    QVERIFY(m_w->clickNode(u"股票"_s));
    const int rows = m_w->count(u"select count(*) from tk"_s);
    int result = -1;
    const bool opened = MainWindowDriver::runModal([this] { QVERIFY(m_w->click(u"cmd_5"_s)); },
        [&result](QDialog* d) {
            auto* form = qobject_cast<addst*>(d);
            QVERIFY(form);
            QCOMPARE(form->windowTitle(), u"用户添加试题"_s);
            QCOMPARE(named<QLineEdit>(form, u"txttx"_s)->text(), u"A1"_s);
            QVERIFY(!named<QLineEdit>(form, u"txttx"_s)->isVisible());
            QStringList shown;
            for (int i = 0; i < 6; ++i) {
                QVERIFY(!named<QRadioButton>(form, u"txopn_%1"_s, i)->isChecked());
                if (named<QRadioButton>(form, u"txopn_%1"_s, i)->isVisible())
                    shown << named<QRadioButton>(form, u"txopn_%1"_s, i)->text();
            }
            QCOMPARE(shown, QStringList({ u"单选"_s, u"不定项"_s, u"判断"_s, u"多选"_s }));
            QVERIFY(named<QTextEdit>(form, u"t1"_s)->document()->isEmpty());
            MainWindowDriver::type(named<QTextEdit>(form, u"t1"_s), u"写了一半的题目"_s);
            MainWindowDriver::type(named<QLineEdit>(form, u"DAtxt"_s), u"c"_s);
            QTest::mouseClick(named<XPButton>(form, u"XPButton2"_s), Qt::LeftButton);
            result = form->result();
        });
    QVERIFY(opened);
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(m_w->count(u"select count(*) from tk"_s), rows);
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void tst_addst::addsAQuestion_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("storedType");
    QTest::newRow("不定项") << 1 << u"不定项"_s;
    QTest::newRow("多选") << 5 << u"多选"_s;
}

void tst_addst::addsAQuestion()
{
    QFETCH(int, option);
    QFETCH(QString, storedType);
    QVERIFY(m_w->clickNode(u"股票"_s));
    const QuestionListModel::Row firstBefore = m_w->list()->questions()->row(0);
    const Entry entry { option,
        u"  关于证券发行的说法，正确的有哪些？A. 公开发行 B. 非公开发行 C. 其他 D. 以上都对"_s, u"abd"_s,
        u"我自己出的题"_s };
    const QString extract = entry.question.mid(2, 30);

    int result = -1;
    QString answerShown;
    QVERIFY(MainWindowDriver::runModal([this] { QVERIFY(m_w->click(u"cmd_5"_s)); },
        [&](QDialog* d) { result = fillAndAdd(d, entry, &answerShown); }));
    QCOMPARE(answerShown, u"ABD|3"_s);
    QCOMPARE(result, int(QDialog::Accepted));
    MainWindowDriver::checkOneBox(QMessageBox::NoIcon, u"Vellumore"_s, Added);

    // One past the section's largest number (1, 2 and 5), not past its count.
    QCOMPARE(m_w->count(u"select count(*) from tk where 代码='K0102'"_s), 4);
    const auto stored = [this](const QString& column) { return m_w->field(u"tk"_s, u"K0102"_s, 6, column); };
    QCOMPARE(stored(u"题型"_s).toString(), storedType);
    QCOMPARE(stored(u"答案"_s).toString(), u"ABD"_s);
    QCOMPARE(stored(u"收藏否"_s).toInt(), -1);
    QCOMPARE(stored(u"tg"_s).toString(), extract);
    QCOMPARE(stored(u"xx"_s).toString(), extract);
    QVERIFY(stored(u"答题"_s).isNull());
    QCOMPARE(m_w->plainField(u"tk"_s, u"K0102"_s, 6, u"选项"_s), entry.question);
    QCOMPARE(m_w->plainField(u"tk"_s, u"K0102"_s, 6, u"zs"_s), entry.notes);

    // Row 1 stands for the new question; its number and its answer given stay.
    const QuestionListModel::Row first = m_w->list()->questions()->row(0);
    QCOMPARE(first.text, firstBefore.text);
    QCOMPARE(first.given, firstBefore.given);
    QCOMPARE(first.type, storedType);
    QCOMPARE(first.title, extract);
    QCOMPARE(first.answer, u"ABD"_s);
    QCOMPARE(first.questionNo, u"6"_s);
    QCOMPARE(first.code, u"K0102"_s);
    QCOMPARE(m_w->list()->rowCount(), 3);

    QVERIFY(m_w->clickRow(2));
    QVERIFY(m_w->clickRow(1));
    QCOMPARE(m_w->session().currentQuestion().number, u"6"_s);
    QCOMPARE(m_w->shownQuestion(), entry.question);
    QCOMPARE(RichText::plainText(*named<QTextEdit>(m_w->panel(), u"text3"_s)->document()), entry.notes);
}

void tst_addst::addsToAnEmptySection()
{
    QVERIFY(m_w->clickNode(u"债券"_s));
    int result = -1;
    QVERIFY(MainWindowDriver::runModal([this] { QVERIFY(m_w->click(u"cmd_5"_s)); },
        [&result](QDialog* d) {
            result = fillAndAdd(d, { 0, u"债券的票面要素"_s, u"a"_s, {} });
        }));
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(MessageBox::takeShown().size(), 1);
    QCOMPARE(m_w->field(u"tk"_s, u"K0103"_s, 1, u"题型"_s).toString(), u"单选"_s);
    QCOMPARE(m_w->list()->rowCount(), 0);
}

void tst_addst::refusedWithoutASection()
{
    // Before any section is opened the practice panel is not on screen; its command is run as a click would.
    QVERIFY(m_w->session().sectionCode().isEmpty());
    const int rows = m_w->count(u"select count(*) from tk"_s);
    bool stayedOpen = false;
    QVERIFY(MainWindowDriver::runModal([this] { m_w->window().commands()->cmdClicked(5); },
        [&stayedOpen](QDialog* d) {
            fillAndAdd(d, { 4, u"没有章节的题目"_s, u"a"_s, u"笔记"_s });
            stayedOpen = d->isVisible();
        }));
    QVERIFY(stayedOpen);
    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, QMessageBox::Warning);
    QVERIFY(!shown[0].text.isEmpty());
    QCOMPARE(m_w->count(u"select count(*) from tk"_s), rows);
}

void tst_addst::editingMenu_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<double>("size");
    QTest::addColumn<int>("alignment");
    QTest::newRow("superscript") << u"ms"_s << 8.0 << int(QTextCharFormat::AlignSuperScript);
    QTest::newRow("subscript") << u"ma"_s << 8.0 << int(QTextCharFormat::AlignSubScript);
    QTest::newRow("plain again") << u"md"_s << 12.0 << int(QTextCharFormat::AlignNormal);
}

void tst_addst::editingMenu()
{
    QFETCH(QString, key);
    QFETCH(double, size);
    QFETCH(int, alignment);
    addst dialog(m_w->window().store(), m_w->session(), &m_w->window());
    QStringList items;
    for (QAction* a : named<QMenu>(&dialog, u"menu1"_s)->actions())
        items << a->objectName() + u'=' + a->text();
    QCOMPARE(items,
        QStringList({ u"mcopy=复制"_s, u"mcut=剪切"_s, u"mpast=粘贴"_s, u"ms=设置上标"_s, u"ma=设置下标"_s,
            u"md=取消上下标"_s }));
    QTextEdit* box = named<QTextEdit>(&dialog, u"t1"_s);
    box->setPlainText(u"x2 上标"_s);
    QTextCursor cursor(box->document());
    cursor.setPosition(1);
    cursor.setPosition(2, QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
    addst::applyMenuItem(box, key);
    QVERIFY(!box->textCursor().hasSelection());
    QTextCursor at(box->document());
    at.setPosition(2);
    QCOMPARE(at.charFormat().fontPointSize(), size);
    QCOMPARE(int(at.charFormat().verticalAlignment()), alignment);

    // Cut and paste move the selection through the clipboard.
    cursor.setPosition(0);
    cursor.setPosition(1, QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
    addst::applyMenuItem(box, u"mcut"_s);
    QCOMPARE(box->toPlainText(), u"2 上标"_s);
    box->moveCursor(QTextCursor::End);
    addst::applyMenuItem(box, u"mpast"_s);
    QCOMPARE(box->toPlainText(), u"2 上标x"_s);
}

void tst_addst::refusedWhenEmpty_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("message");
    const QString noStem = u"题干与选项是空的，请先输入试题的内容。"_s;
    const QString noAnswer = u"标准答案是空的，请先输入标准答案。"_s;
    const QString noType = u"没有选择题型，请先选择试题的题型。"_s;
    QTest::newRow("nothing typed") << 0 << QString() << QString() << noStem;
    QTest::newRow("blank stem") << 0 << u"   "_s << u"a"_s << noStem;
    QTest::newRow("no answer") << 0 << u"股票的特征有哪些？"_s << QString() << noAnswer;
    QTest::newRow("blank answer") << 0 << u"股票的特征有哪些？"_s << u"  "_s << noAnswer;
    // The hidden type box starts as "A1", a type without panel, filter or exam.
    QTest::newRow("no type chosen") << -1 << u"股票的特征有哪些？"_s << u"a"_s << noType;
}

void tst_addst::refusedWhenEmpty()
{
    QFETCH(int, option);
    QFETCH(QString, question);
    QFETCH(QString, answer);
    QFETCH(QString, message);
    QVERIFY(m_w->clickNode(u"股票"_s));
    const int rows = m_w->count(u"select count(*) from tk"_s);
    bool stayedOpen = false;
    QVERIFY(MainWindowDriver::runModal([this] { QVERIFY(m_w->click(u"cmd_5"_s)); },
        [&](QDialog* d) {
            fillAndAdd(d, { option, question, answer, u"笔记"_s });
            stayedOpen = d->isVisible();
        }));
    QVERIFY(stayedOpen);
    MainWindowDriver::checkOneBox(QMessageBox::Warning, u"无法添加试题"_s, message);
    QCOMPARE(m_w->count(u"select count(*) from tk"_s), rows);
}

void tst_addst::textKeptVerbatim_data()
{
    QTest::addColumn<QString>("text");
    for (const auto& t : Fixtures::awkwardTexts())
        QTest::newRow(t.name) << t.text;
}

void tst_addst::textKeptVerbatim()
{
    QFETCH(QString, text);
    QVERIFY(m_w->clickNode(u"股票"_s));
    QVERIFY(MainWindowDriver::runModal([this] { QVERIFY(m_w->click(u"cmd_5"_s)); },
        [&text](QDialog* d) {
            fillAndAdd(d, { 0, text, u"a"_s, text });
        }));
    QCOMPARE(MessageBox::takeShown().size(), 1);

    QCOMPARE(m_w->plainField(u"tk"_s, u"K0102"_s, 6, u"选项"_s), text);
    QCOMPARE(m_w->plainField(u"tk"_s, u"K0102"_s, 6, u"zs"_s), text);
    QVERIFY(m_w->clickRow(1));
    QCOMPARE(m_w->shownQuestion(), text);
    QCOMPARE(RichText::plainText(*named<QTextEdit>(m_w->panel(), u"text3"_s)->document()), text);
    QCOMPARE(RichText::plainText(*named<QTextEdit>(m_w->panel(), u"text4"_s)->document()), text);
}

void tst_addst::importsAFile_data()
{
    QTest::addColumn<QString>("file"); // null: the file dialog is cancelled
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("added");
    QTest::newRow("imported")
        << Fixtures::importText() << int(QMessageBox::Information) << u"导入完成"_s
        << u"已从“questions.csv”向题库添加3道试题：\n\nK0101 证券市场的产生与发展：1道\n"
           u"　　单选　下列说法中，\"正确\"的是（    ）。 A．甲 B．乙 C．\n"
           u"K0102 股票：2道\n　　多选　证券的种类有（    ）。 A．股票 B．债券 C．基金\n"
           u"　　判断　国债的信用风险低于公司债券。 A．正确 B．错误\n\n点击主窗口左侧的树目录以刷新修改记录！"_s
        << 3;
    QTest::newRow("refused")
        << Fixtures::importText() + u"K0103,单选,题干,甲|乙,A,\nK0999,单选,题干,甲|乙,A,\n"_s
        << int(QMessageBox::Warning) << u"无法导入"_s
        << u"“questions.csv”中有1处问题，没有导入任何试题：\n\n第10行：章节代码“K0999”不在题库的目录中"
           u"\n\n请改正文件后再导入。"_s
        << 0;
    QTest::newRow("cancelled") << QString() << -1 << QString() << QString() << 0;
}

void tst_addst::importsAFile()
{
    QFETCH(QString, file);
    QFETCH(int, icon);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(int, added);
    QVERIFY(m_w->clickNode(u"股票"_s));
    const int rows = m_w->count(u"select count(*) from tk"_s);
    if (!file.isNull()) {
        const QString path = QDir(m_env->path()).filePath(u"questions.csv"_s);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.write(file.toUtf8()) > 0);
        f.close();
        FileDialog::queueAnswer(path);
    }

    bool stayedAsTyped = false;
    QVERIFY(MainWindowDriver::runModal([this] { QVERIFY(m_w->click(u"cmd_5"_s)); },
        [&](QDialog* d) {
            auto* form = qobject_cast<addst*>(d);
            QVERIFY(form);
            QCOMPARE(named<XPButton>(form, u"XPButton3"_s)->objectName(), u"XPButton3"_s);
            QTest::mouseClick(named<QRadioButton>(form, u"txopn_%1"_s, 5), Qt::LeftButton);
            MainWindowDriver::type(named<QTextEdit>(form, u"t1"_s), u"写了一半的题目"_s);
            QTest::mouseClick(named<XPButton>(form, u"XPButton3"_s), Qt::LeftButton);
            // The import leaves the dialog and what was typed in it alone.
            stayedAsTyped = form->isVisible()
                && named<QTextEdit>(form, u"t1"_s)->toPlainText() == u"写了一半的题目"_s
                && named<QLineEdit>(form, u"txttx"_s)->text() == u"多选"_s;
        }));
    QVERIFY(stayedAsTyped);

    const auto dialogs = FileDialog::takeShown();
    QCOMPARE(dialogs.size(), 1);
    QCOMPARE(dialogs[0].caption, u"导入试题"_s);
    QCOMPARE(dialogs[0].filter, u"试题表格 (*.csv *.tsv *.txt);;所有文件 (*)"_s);
    if (icon < 0)
        QVERIFY(MessageBox::takeShown().isEmpty());
    else
        MainWindowDriver::checkOneBox(QMessageBox::Icon(icon), title, text);
    QCOMPARE(m_w->count(u"select count(*) from tk"_s), rows + added);
    if (added > 0) {
        QCOMPARE(m_w->field(u"tk"_s, u"K0102"_s, 7, u"题型"_s).toString(), u"判断"_s);
        QCOMPARE(m_w->field(u"tk"_s, u"K0102"_s, 7, u"收藏否"_s).toInt(), 0);
    }
}

QTEST_MAIN(tst_addst)
#include "tst_addst.moc"
