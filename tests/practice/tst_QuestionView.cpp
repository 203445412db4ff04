#include "Fixtures.h"
#include "MainWindowDriver.h"
#include "Named.h"
#include "TestBank.h"
#include "TestEnvironment.h"
#include "WindowTest.h"

#include "controls/MessageBox.h"
#include "practice/ui/AnswerPanel.h"
#include "practice/ui/PracticePanel.h"
#include "practice/ui/PracticeSidePanel.h"
#include "practice/ui/QuestionView.h"
#include "shell/ui/frmct.h"
#include "shell/ui/frmmain.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDirIterator>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

using namespace Qt::StringLiterals;

class tst_QuestionView : public WindowTest
{
    Q_OBJECT

public:
    tst_QuestionView()
        : WindowTest({}, UnreadBoxes::Fail)
    { }

private slots:
    void panelIsPresetFromTheStoredAnswer_data();
    void panelIsPresetFromTheStoredAnswer();
    void typeWithoutPanelShowsNone_data();
    void typeWithoutPanelShowsNone();
    void questionTextIsBlueAfterTwoEmptyLines();
    void emptyListKeepsTheCurrentQuestion();
    void viewerFollowsTheIllustration();
};

namespace {

QByteArray png(const QSize& size, const QColor& colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// "x" for each ticked box or selected option, "." otherwise.
QString marks(const AnswerPanel* answers, bool multiple)
{
    QString m;
    for (int i = 0; i < 5; ++i) {
        const bool on = multiple ? named<QCheckBox>(answers, u"DAN_A_%1"_s, i)->isChecked()
                                 : named<QRadioButton>(answers, u"Option1_%1"_s, i)->isChecked();
        m += QChar(on ? u'x' : u'.');
    }
    return m;
}

} // namespace

void tst_QuestionView::panelIsPresetFromTheStoredAnswer_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QVariant>("given");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("marks"); // DAN_A for Frame2, Option1 for Frame4
    QTest::addColumn<QString>("dalab");

    QTest::newRow("多选 CA") << u"多选"_qs << QVariant(u"CA"_qs) << u"Frame2"_qs << u"x.x.."_qs << u"(CA)"_qs;
    QTest::newRow("多选 A2") << u"多选"_qs << QVariant(u"A2"_qs) << u"Frame2"_qs << u"x...."_qs << u"(A2)"_qs;
    QTest::newRow("不定项 empty") << u"不定项"_qs << QVariant(u""_qs) << u"Frame2"_qs << u"....."_qs
                                  << u"(    )"_qs;
    QTest::newRow("不定项 absent") << u"不定项"_qs << QVariant() << u"Frame2"_qs << u"....."_qs << u"()"_qs;
    QTest::newRow("单选 E") << u"单选"_qs << QVariant(u"E"_qs) << u"Frame4"_qs << u"....x"_qs << u"(E)"_qs;
    QTest::newRow("单选 AB") << u"单选"_qs << QVariant(u"AB"_qs) << u"Frame4"_qs << u"....."_qs << u"(AB)"_qs;
    QTest::newRow("判断 B") << u"判断"_qs << QVariant(u"B"_qs) << u"Frame4"_qs << u".x..."_qs << u"(B)"_qs;
    QTest::newRow("判断 AC") << u"判断"_qs << QVariant(u"AC"_qs) << u"Frame4"_qs << u"....."_qs << u"(AC)"_qs;
    QTest::newRow("计算") << u"计算"_qs << QVariant(u"不会"_qs) << u"Frame8"_qs << QString() << u"(不会)"_qs;
    QTest::newRow("A4") << u"A4"_qs << QVariant(u"对"_qs) << u"Frame9"_qs << QString() << u"(对)"_qs;
}

void tst_QuestionView::panelIsPresetFromTheStoredAnswer()
{
    QFETCH(QString, type);
    QFETCH(QVariant, given);
    QFETCH(QString, panel);
    QFETCH(QString, marks);
    QFETCH(QString, dalab);
    MainWindowDriver driver(bankPath(), [&](TestBank& bank) {
        Fixtures::practiceCatalogue(bank);
        // The first question, shown by the listing, leaves every mark of its panel set.
        const QString primer = panel == QLatin1String("Frame4") ? u"D"_qs : u"ABCDE"_qs;
        bank.question({ u"K0101"_qs, 1, type, u"A"_qs, primer })
            .question({ u"K0101"_qs, 2, type, u"B"_qs, given });
    });
    QVERIFY(driver.clickNode(QStringLiteral("第一节")));
    const AnswerPanel* answers = driver.answers();
    const bool multiple = panel == QLatin1String("Frame2");
    if (!marks.isEmpty())
        QCOMPARE(::marks(answers, multiple), multiple ? u"xxxxx"_qs : u"...x."_qs);

    QVERIFY(driver.showQuestion(2));
    for (const QGroupBox* frame :
        { named<QGroupBox>(answers, u"Frame2"_s), named<QGroupBox>(answers, u"Frame4"_s),
            named<QGroupBox>(answers, u"Frame8"_s), named<QGroupBox>(answers, u"Frame9"_s) }) {
        const bool chosen = frame->objectName() == panel;
        QCOMPARE(frame->isVisible(), chosen);
        QCOMPARE(frame->isEnabled(), chosen);
    }
    if (!marks.isEmpty())
        QCOMPARE(::marks(answers, multiple), marks);
    if (panel == QLatin1String("Frame4")) {
        for (int i = 0; i < 5; ++i)
            QVERIFY(named<QRadioButton>(answers, u"Option1_%1"_s, i)->isVisible()
                && named<QRadioButton>(answers, u"Option1_%1"_s, i)->isEnabled());
    }

    const PracticePanel* view = driver.panel();
    QCOMPARE(named<QLabel>(view, u"dalab"_s)->text(), dalab);
    QCOMPARE(named<QLineEdit>(view, u"Text2"_s)->text(), QStringLiteral("第2题"));
    QCOMPARE(named<QLineEdit>(view, u"Text5"_s)->text(), QStringLiteral("B"));
    QCOMPARE(named<QLineEdit>(view, u"Text7"_s)->text(), type);
    QCOMPARE(named<QTextEdit>(view, u"text3"_s)->toPlainText(), QStringLiteral("本题暂无注释或笔记"));
    QCOMPARE(named<QTextEdit>(view, u"text6"_s)->toPlainText(), QStringLiteral("本题暂无注释或笔记"));
    const StudySession& state = driver.window().session();
    QCOMPARE(state.position(), 2);
    QCOMPARE(state.currentQuestion().number, QStringLiteral("2"));
    QCOMPARE(state.sectionCode(), QStringLiteral("K0101"));
    // Presetting is display only.
    QCOMPARE(driver.field(u"tk"_qs, u"K0101"_qs, 2, u"答题"_qs), given);
}

void tst_QuestionView::typeWithoutPanelShowsNone_data()
{
    // A panel left from the question before would take an entry for this one.
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("without");
    QTest::newRow("unknown type after 多选 AC") << u"多选"_qs << u"AC"_qs << u"填空"_qs;
    QTest::newRow("unknown type after 单选 E") << u"单选"_qs << u"E"_qs << u"填空"_qs;
    QTest::newRow("B after 单选 E") << u"单选"_qs << u"E"_qs << u"B"_qs;
    QTest::newRow("A3 after 自评") << u"简答"_qs << u"会做"_qs << u"A3"_qs;
}

void tst_QuestionView::typeWithoutPanelShowsNone()
{
    QFETCH(QString, type);
    QFETCH(QString, given);
    QFETCH(QString, without);
    MainWindowDriver driver(bankPath(), [&](TestBank& bank) {
        Fixtures::practiceCatalogue(bank);
        bank.question({ u"K0101"_qs, 1, without, u"沪深"_qs, u"上海"_qs })
            .question({ u"K0101"_qs, 2, type, u"A"_qs, given });
    });
    QVERIFY(driver.clickNode(QStringLiteral("第一节")));
    QVERIFY(driver.showQuestion(2));
    QVERIFY(!driver.answerPanelState().startsWith(u"Frame2:-- Frame4:-- Frame8:-- Frame9:--"_qs));

    QVERIFY(driver.showQuestion(1));
    QVERIFY2(driver.answerPanelState().startsWith(u"Frame2:-- Frame4:-- Frame8:-- Frame9:--"_qs),
        qPrintable(driver.answerPanelState()));
    QCOMPARE(driver.window().session().currentQuestion().number, QStringLiteral("1"));
    QCOMPARE(named<QLabel>(driver.panel(), u"dalab"_s)->text(), QStringLiteral("(上海)"));
}

void tst_QuestionView::questionTextIsBlueAfterTwoEmptyLines()
{
    MainWindowDriver driver(bankPath(), [&](TestBank& bank) {
        Fixtures::practiceCatalogue(bank);
        const QString rtf
            = QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 "
                             "Arial;}}{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}"
                             "\\f0\\fs36\\cf1 Red stem\\par\\cf2 A. green option\\par}");
        bank.question({ u"K0101"_qs, 1, u"单选"_qs, u"A"_qs, QVariant(), false, rtf })
            .question({ u"K0101"_qs, 2, u"单选"_qs, u"A"_qs, QVariant(), false, u"plain second"_qs });
    });
    QVERIFY(driver.clickNode(QStringLiteral("第一节")));
    QTextEdit* text1 = named<QTextEdit>(driver.panel(), u"Text1"_s);

    auto checkText = [&](const QString& firstLine, qreal pointSize) {
        const QTextDocument* doc = text1->document();
        QVERIFY2(doc->toPlainText().startsWith(QStringLiteral("\n\n") + firstLine),
            qPrintable(doc->toPlainText()));
        int fragments = 0;
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
            QCOMPARE(block.blockFormat().leftMargin(), 40.0);
            QCOMPARE(block.blockFormat().rightMargin(), 20.0);
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                QCOMPARE(format.foreground().color(), QColor(0, 0, 255));
                QCOMPARE(format.fontPointSize(), pointSize);
                ++fragments;
            }
        }
        QVERIFY(fragments > 0);
        QCOMPARE(text1->textCursor().position(), 0);
    };
    checkText(QStringLiteral("Red stem"), 12);
    QVERIFY(text1->toPlainText().contains(QStringLiteral("A. green option")));

    // The zoom slider's last step: the text grows at once, and the next question keeps the size.
    QSlider* zh1 = named<QSlider>(driver.panel(), u"zh1"_s);
    QTest::keyClick(zh1, Qt::Key_End);
    QCOMPARE(driver.window().session().fontSize(), 20);
    const QTextDocument* doc = text1->document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            QCOMPARE(it.fragment().charFormat().fontPointSize(), 20.0);
    }
    QVERIFY(driver.showQuestion(2));
    checkText(QStringLiteral("plain second"), 20);
}

void tst_QuestionView::emptyListKeepsTheCurrentQuestion()
{
    MainWindowDriver driver(bankPath(), [&](TestBank& bank) {
        Fixtures::practiceCatalogue(bank);
        bank.question({ u"K0101"_qs, 1, u"多选"_qs, u"AB"_qs })
            .question({ u"K0101"_qs, 2, u"多选"_qs, u"AB"_qs, u"BD"_qs })
            .question({ u"K0101"_qs, 3, u"多选"_qs, u"AB"_qs });
    });
    QVERIFY(driver.clickNode(QStringLiteral("第一节")));
    PracticeSidePanel* side = named<PracticeSidePanel>(driver.panel(), u"Frame3"_s);
    for (int box = 1; box <= 5; ++box)
        MainWindowDriver::click(named<QCheckBox>(side, u"Check%1"_s, box));
    QCOMPARE(driver.column(0).size(), 3);
    QVERIFY(driver.showQuestion(2));
    const QString panels = driver.answerPanelState();
    const QString label = named<QLineEdit>(driver.panel(), u"Text2"_s)->text();
    QVERIFY(!named<QTextEdit>(driver.panel(), u"Text1"_s)->toPlainText().isEmpty());

    // The last ticked type box cleared: the filter lists nothing.
    MainWindowDriver::click(named<QCheckBox>(side, u"Check%1"_s, 6));
    QCOMPARE(driver.column(0), QStringList());

    QVERIFY(named<QTextEdit>(driver.panel(), u"Text1"_s)->toPlainText().isEmpty());
    const StudySession& state = driver.window().session();
    QCOMPARE(state.position(), 2);
    QCOMPARE(state.currentQuestion().number, QStringLiteral("2"));
    QCOMPARE(state.sectionCode(), QStringLiteral("K0101"));
    QCOMPARE(named<QLineEdit>(driver.panel(), u"Text2"_s)->text(), label);
    QCOMPARE(named<QLabel>(driver.panel(), u"dalab"_s)->text(), QStringLiteral("(BD)"));
    QCOMPARE(driver.answerPanelState(), panels);
}

void tst_QuestionView::viewerFollowsTheIllustration()
{
    MainWindowDriver driver(bankPath(), [&](TestBank& bank) {
        Fixtures::practiceCatalogue(bank);
        TestBank::Question first(u"K0101"_qs, 1);
        first.image = png(QSize(900, 800), Qt::darkCyan);
        TestBank::Question second(u"K0101"_qs, 2);
        second.image = png(QSize(120, 90), Qt::yellow);
        bank.question(first).question(second).question({ u"K0101"_qs, 3 });
    });
    frmmain& window = driver.window();
    QVERIFY(!window.illustrationViewer());

    QVERIFY(driver.clickNode(QStringLiteral("第一节")));
    frmct* viewer = window.illustrationViewer();
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->windowTitle(), QStringLiteral("本题插图"));
    QVERIFY(viewer->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(named<QLabel>(viewer, u"Image1"_s)->pixmap().size(), QSize(900, 800));
    const QPoint start = viewer->picturePosition();

    auto press = [viewer](const char* name, int times) {
        auto* button = viewer->findChild<QPushButton*>(QString::fromLatin1(name));
        QVERIFY(button);
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(button, Qt::LeftButton);
    };
    press("Command1", 2); // 向上翻看
    QVERIFY(viewer->picturePosition().y() < start.y());
    QCOMPARE(viewer->picturePosition().x(), start.x());
    press("Command2", 2); // 向下翻看
    QCOMPARE(viewer->picturePosition(), start);
    press("Command3", 3); // 向左移动
    QVERIFY(viewer->picturePosition().x() < start.x());
    press("Command4", 3); // 向右移动
    QCOMPARE(viewer->picturePosition(), start);
    press("Command4", 1);
    const QPoint shifted = viewer->picturePosition();
    QVERIFY(shifted.x() > start.x());

    // Another illustrated question replaces the picture where it was.
    QVERIFY(driver.showQuestion(2));
    QCOMPARE(window.illustrationViewer(), viewer);
    QVERIFY(viewer->isVisible());
    QCOMPARE(named<QLabel>(viewer, u"Image1"_s)->pixmap().size(), QSize(120, 90));
    QCOMPARE(viewer->picturePosition(), shifted);

    QVERIFY(driver.showQuestion(3));
    QVERIFY(!viewer->isVisible());
    QVERIFY(driver.showQuestion(1));
    QVERIFY(viewer->isVisible());
    QCOMPARE(named<QLabel>(viewer, u"Image1"_s)->pixmap().size(), QSize(900, 800));

    // The picture never passes through a file.
    for (const QString& root :
        { QCoreApplication::applicationDirPath(), QDir::currentPath(), m_env->path() }) {
        QDirIterator it(
            root, { QStringLiteral("ct") }, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        QVERIFY2(!it.hasNext(), qPrintable(it.hasNext() ? it.next() : QString()));
    }
}

QTEST_MAIN(tst_QuestionView)
#include "tst_QuestionView.moc"
