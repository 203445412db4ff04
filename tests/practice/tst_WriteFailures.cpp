#include "Fixtures.h"
#include "MainWindowDriver.h"
#include "Named.h"
#include "TestEnvironment.h"
#include "WindowTest.h"

#include "controls/FileDialog.h"
#include "controls/MessageBox.h"
#include "controls/XPButton.h"
#include "data/QuestionStore.h"
#include "practice/ui/QuestionView.h"
#include "practice/ui/addst.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

// Every write of the practice road, made to fail in the real window: by a bank opened
// read-only, and by a write lock another connection holds past the busy timeout. The
// user is told what was not stored and why, what was entered stays on screen, and the
// bank is as it was.
class tst_WriteFailures : public WindowTest
{
    Q_OBJECT

public:
    tst_WriteFailures()
        : WindowTest(Fixtures::marketBank)
    { }

private slots:
    void init();
    void failureIsToldAndNothingLost_data();
    void failureIsToldAndNothingLost();
};

namespace {

// One write: what the user does, then what must still be on screen afterwards.
struct Write
{
    std::function<void(MainWindowDriver&)> act;
    std::function<void(MainWindowDriver&)> stillShown;
};

} // namespace

Q_DECLARE_METATYPE(Write)

void tst_WriteFailures::init()
{
    WindowTest::init();
    // A3, 判断, 单选, 多选: the 单选 question 1 is row 3, the favourite 多选 question 2 row 4.
    QVERIFY(m_w->clickNode(u"证券市场的产生与发展"_s));
}

void tst_WriteFailures::failureIsToldAndNothingLost_data()
{
    QTest::addColumn<Write>("write");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("what");

    const Write single { [](MainWindowDriver& w) {
                            QVERIFY(w.clickRow(3));
                            QVERIFY(w.click(u"Option1_2"_s));
                        },
        [](MainWindowDriver& w) {
            QVERIFY(w.child<QRadioButton>(u"Option1_2"_s)->isChecked());
            QCOMPARE(named<QLabel>(w.panel(), u"dalab"_s)->text(), u"(B)"_s); // the stored answer, unchanged
        } };
    const Write multiple { [](MainWindowDriver& w) {
                              QVERIFY(w.clickRow(4));
                              QVERIFY(w.click(u"DAN_A_2"_s));
                          },
        [](MainWindowDriver& w) { QVERIFY(w.child<QCheckBox>(u"DAN_A_2"_s)->isChecked()); } };
    const Write favourite { [](MainWindowDriver& w) {
                               QVERIFY(w.clickRow(3));
                               QVERIFY(w.click(u"cmd_4"_s));
                           },
        {} };
    const Write removal { [](MainWindowDriver& w) {
                             QVERIFY(w.clickRow(4));
                             QVERIFY(w.chooseFavourites(u"delsc"_s));
                         },
        [](MainWindowDriver& w) { QCOMPARE(w.rowTexts().size(), 4); } };
    const Write clearing { [](MainWindowDriver& w) { QVERIFY(w.chooseFavourites(u"clssc"_s)); },
        [](MainWindowDriver& w) { QCOMPARE(w.rowTexts().size(), 4); } };
    const Write redo { [](MainWindowDriver& w) { QVERIFY(w.click(u"cmd_0"_s)); },
        [](MainWindowDriver& w) {
            QCOMPARE(w.rowTexts().size(), 4);
            QCOMPARE(w.child<QComboBox>(u"Combo1"_s)->currentText(), u"全部题目"_s);
        } };
    const Write notes { [](MainWindowDriver& w) {
                           QVERIFY(w.clickRow(3));
                           QVERIFY(w.click(u"cmd_8"_s));
                           auto* box = w.child<QTextEdit>(u"text3"_s);
                           MainWindowDriver::clearBox(box);
                           MainWindowDriver::type(box, u"我的笔记：发行市场"_s);
                           QVERIFY(w.click(u"Command4"_s));
                       },
        [](MainWindowDriver& w) {
            QCOMPARE(w.child<QTextEdit>(u"text3"_s)->toPlainText(), u"我的笔记：发行市场"_s);
        } };
    const Write edits { [](MainWindowDriver& w) {
                           QVERIFY(w.clickRow(3));
                           QVERIFY(w.click(u"cmd_7"_s));
                           auto* box = w.child<QLineEdit>(u"Text5"_s);
                           MainWindowDriver::clearBox(box);
                           MainWindowDriver::type(box, u"D"_s);
                           QVERIFY(w.click(u"Command6"_s));
                       },
        [](MainWindowDriver& w) { QCOMPARE(w.child<QLineEdit>(u"Text5"_s)->text(), u"D"_s); } };
    const Write own {
        [](MainWindowDriver& w) {
            QVERIFY(MainWindowDriver::runModal([&w] { QVERIFY(w.click(u"cmd_5"_s)); },
                [](QDialog* d) {
                    auto* form = qobject_cast<addst*>(d);
                    QVERIFY(form);
                    QTest::mouseClick(named<QRadioButton>(form, u"txopn_%1"_s, 0), Qt::LeftButton);
                    MainWindowDriver::type(named<QTextEdit>(form, u"t1"_s), u"证券发行的方式有哪些？"_s);
                    MainWindowDriver::type(named<QLineEdit>(form, u"DAtxt"_s), u"b"_s);
                    QTest::mouseClick(named<XPButton>(form, u"XPButton1"_s), Qt::LeftButton);
                    // Still open, with everything typed.
                    QVERIFY(form->isVisible());
                    QCOMPARE(named<QTextEdit>(form, u"t1"_s)->toPlainText(), u"证券发行的方式有哪些？"_s);
                    QCOMPARE(named<QLineEdit>(form, u"DAtxt"_s)->text(), u"B"_s);
                }));
        },
        {}
    };
    const Write import { [](MainWindowDriver& w) {
                            const QString path
                                = QFileInfo(w.window().store().path()).dir().filePath(u"import.csv"_s);
                            QFile file(path);
                            QVERIFY(file.open(QIODevice::WriteOnly));
                            QVERIFY(file.write(Fixtures::importText().toUtf8()) > 0);
                            file.close();
                            FileDialog::queueAnswer(path);
                            QVERIFY(MainWindowDriver::runModal([&w] { QVERIFY(w.click(u"cmd_5"_s)); },
                                [](QDialog* d) {
                                    auto* form = qobject_cast<addst*>(d);
                                    QVERIFY(form);
                                    QTest::mouseClick(named<XPButton>(form, u"XPButton3"_s), Qt::LeftButton);
                                    QVERIFY(form->isVisible());
                                }));
                        },
        {} };

    const struct
    {
        const char* name;
        Write write;
        const char16_t* title;
        const char16_t* what;
    } rows[] = { { "single choice", single, u"答案没有保存", u"您的答案“C”没有保存到题库" },
        { "multiple choice", multiple, u"答案没有保存", u"您的答案“ABC”没有保存到题库" },
        { "favourite", favourite, u"收藏失败", u"本题的收藏标记没有保存到题库" },
        { "remove favourite", removal, u"移除失败", u"从收藏夹移除本题的操作没有保存到题库" },
        { "clear favourites", clearing, u"清空失败", u"清空收藏夹的操作没有保存到题库" },
        { "redo", redo, u"操作失败", u"清除本节答案的操作没有保存到题库" },
        { "notes", notes, u"保存失败", u"您的笔记没有保存到题库" },
        { "edits", edits, u"保存失败", u"您对试题的修改没有保存到题库" },
        { "own question", own, u"添加失败", u"您的试题没有保存到题库" },
        { "import", import, u"导入失败", u"“import.csv”中的3道试题没有导入题库，题库保持原样。" } };
    for (const char* how : { "read-only", "locked" }) {
        for (const auto& row : rows)
            QTest::addRow("%s, %s", row.name, how)
                << row.write << QString::fromUtf16(row.title) << QString::fromUtf16(row.what);
    }
}

void tst_WriteFailures::failureIsToldAndNothingLost()
{
    QFETCH(Write, write);
    QFETCH(QString, title);
    QFETCH(QString, what);
    const bool locked = QString::fromLatin1(QTest::currentDataTag()).endsWith(QLatin1String("locked"));

    QuestionStore& store = m_w->window().store();
    QuestionStore other;
    if (locked) {
        QVERIFY(other.open(m_env->bankPath()));
        QVERIFY(other.write(u"begin immediate"_s).isDone());
        store.setBusyTimeout(100);
    } else {
        store.close();
        QVERIFY(store.open(m_env->bankPath(), QuestionStore::Mode::ReadOnly));
    }
    const QString before = Fixtures::questionTable(m_w->window().store());
    MessageBox::takeShown();

    write.act(*m_w);

    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, QMessageBox::Critical);
    QCOMPARE(shown[0].title, title);
    QVERIFY2(shown[0].text.startsWith(what), qPrintable(shown[0].text));
    const QString reason = locked ? u"题库正被另一个程序使用"_s : u"题库文件是只读的"_s;
    QVERIFY2(shown[0].text.contains(reason), qPrintable(shown[0].text));
    if (write.stillShown)
        write.stillShown(*m_w);
    if (locked)
        QVERIFY(other.write(u"rollback"_s).isDone());
    QCOMPARE(Fixtures::questionTable(m_w->window().store()), before);
}

QTEST_MAIN(tst_WriteFailures)
#include "tst_WriteFailures.moc"
