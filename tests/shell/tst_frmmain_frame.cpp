#include "Named.h"
#include "ShellFixture.h"
#include "WindowTest.h"

#include "catalogue/ui/CatalogueTree.h"
#include "controls/MessageBox.h"
#include "practice/ui/PracticePanel.h"
#include "shell/FramePainter.h"
#include "shell/ShellArt.h"
#include "shell/ui/Splitter.h"
#include "shell/ui/TitleButton.h"
#include "shell/ui/frmmain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A window that counts the requests to close it and may refuse them.
class OtherWindow final : public QWidget
{
public:
    explicit OtherWindow(bool refuse)
        : m_refuse(refuse)
    { }
    int closeRequests = 0;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        ++closeRequests;
        event->setAccepted(!m_refuse);
    }

private:
    bool m_refuse;
};

void moveOver(QWidget* widget, QPoint pos, Qt::MouseButtons buttons = Qt::NoButton)
{
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

class tst_frmmain_frame : public WindowTest
{
    Q_OBJECT

public:
    tst_frmmain_frame()
        : WindowTest(oneProject)
    { }

private slots:
    void init();
    void ownFrameFollowsTheSize_data();
    void ownFrameFollowsTheSize();
    void hoverStaysUntilBareBackground();
    void titleButtonsMinimiseAndClose();
    void splitterDragsWithTheLeftButtonAlone_data();
    void splitterDragsWithTheLeftButtonAlone();
    void yesClosesEveryOtherWindow_data();
    void yesClosesEveryOtherWindow();
};

void tst_frmmain_frame::init()
{
    WindowTest::init();
    QVERIFY(QTest::qWaitForWindowExposed(&m_w->window()));
}

void tst_frmmain_frame::ownFrameFollowsTheSize_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("1024 × 768") << QSize(1024, 768);
    QTest::newRow("1920 × 1080") << QSize(1920, 1080);
    QTest::newRow("tiny") << QSize(40, 30);
}

void tst_frmmain_frame::ownFrameFollowsTheSize()
{
    QFETCH(QSize, size);
    QVERIFY(m_w->window().windowFlags() & Qt::FramelessWindowHint);
    m_w->window().resize(size);
    const int W = size.width();
    const int H = size.height();
    QCOMPARE(named<TitleButton>(&m_w->window(), u"Immin"_s)->pos(), QPoint(W - 54, 8));
    QCOMPARE(named<TitleButton>(&m_w->window(), u"Imclose"_s)->pos(), QPoint(W - 31, 8));
    QCOMPARE(named<TitleButton>(&m_w->window(), u"Immin"_s)->toolTip(), u"最小化"_s);
    QCOMPARE(named<TitleButton>(&m_w->window(), u"Imclose"_s)->toolTip(), u"关闭"_s);

    // Here no shape can be cut: the outline shows in the painting, the corners outside it.
    const QImage& frame = m_w->window().paintedFrame();
    QCOMPARE(frame.size(), size);
    const QRegion outline = FramePainter::outline(W, H);
    const QRgb outside = ShellArt::outsideColour().rgb();
    if (W < 104 || H < 104)
        return; // the corners' curves overlap: only the painting itself is asked for
    for (const QPoint& p : { QPoint(0, 0), QPoint(W - 1, 0), QPoint(0, H - 1), QPoint(W - 1, H - 1) }) {
        QVERIFY(!outline.contains(p));
        QCOMPARE(frame.pixel(p), outside);
    }
    QVERIFY(frame.pixel(W / 2, H / 2) != outside);
}

void tst_frmmain_frame::hoverStaysUntilBareBackground()
{
    TitleButton* minimise = named<TitleButton>(&m_w->window(), u"Immin"_s);
    TitleButton* close = named<TitleButton>(&m_w->window(), u"Imclose"_s);
    QCOMPARE(close->tag(), QString());

    moveOver(close, QPoint(8, 8));
    QCOMPARE(close->tag(), u"1"_s);
    // Straight onto the other button: both keep their hover image.
    moveOver(minimise, QPoint(8, 8));
    QCOMPARE(minimise->tag(), u"1"_s);
    QCOMPARE(close->tag(), u"1"_s);
    // A child control is not bare background.
    moveOver(named<CatalogueTree>(&m_w->window(), u"TreeView1"_s)->viewport(), QPoint(5, 5));
    QCOMPARE(close->tag(), u"1"_s);

    moveOver(&m_w->window(), QPoint(m_w->window().width() / 2, 12));
    QCOMPARE(minimise->tag(), QString());
    QCOMPARE(close->tag(), QString());
}

void tst_frmmain_frame::titleButtonsMinimiseAndClose()
{
    MessageBox::queueAnswer(QMessageBox::No);
    QTest::mouseClick(named<TitleButton>(&m_w->window(), u"Imclose"_s), Qt::LeftButton);
    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, u"您是否真的要退出Vellumore？"_s);
    QVERIFY(m_w->window().isVisible());
    QVERIFY(m_w->window().store().isOpen());

    QTest::mouseClick(named<TitleButton>(&m_w->window(), u"Immin"_s), Qt::RightButton);
    QVERIFY(!m_w->window().isMinimized());
    QTest::mouseClick(named<TitleButton>(&m_w->window(), u"Immin"_s), Qt::LeftButton);
    QVERIFY(m_w->window().isMinimized());
    QCOMPARE(named<TitleButton>(&m_w->window(), u"Immin"_s)->tag(), QString());
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void tst_frmmain_frame::splitterDragsWithTheLeftButtonAlone_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("moved");
    QTest::newRow("left button") << int(Qt::LeftButton) << 80;
    QTest::newRow("no button: only the pointer shape") << int(Qt::NoButton) << 0;
    QTest::newRow("right button") << int(Qt::RightButton) << 0;
    QTest::newRow("left and right together") << int(Qt::LeftButton | Qt::RightButton) << 0;
}

void tst_frmmain_frame::splitterDragsWithTheLeftButtonAlone()
{
    QFETCH(int, buttons);
    QFETCH(int, moved);
    m_w->window().resize(1024, 768);
    Splitter* bar = named<Splitter>(&m_w->window(), u"Picture2"_s);
    QCOMPARE(bar->cursor().shape(), Qt::SizeHorCursor);
    const int start = bar->x();
    QCOMPARE(start, 239);

    moveOver(bar, QPoint(80, 20), Qt::MouseButtons(buttons));
    const int pos = start + moved;
    QCOMPARE(bar->x(), pos);
    QCOMPARE(named<CatalogueTree>(&m_w->window(), u"TreeView1"_s)->width(), moved ? pos - 9 : 230);
    QCOMPARE(named<PracticePanel>(&m_w->window(), u"Picture1"_s)->x(), pos + 2);
    QCOMPARE(named<PracticePanel>(&m_w->window(), u"Picture1"_s)->width(), 1024 - pos - 2 - 9);

    // A resize keeps the splitter where it is and places the panels from it.
    m_w->window().resize(900, 700);
    QCOMPARE(bar->x(), pos);
    QCOMPARE(named<PracticePanel>(&m_w->window(), u"Picture1"_s)->x(), pos + 2);
    QCOMPARE(named<PracticePanel>(&m_w->window(), u"Picture1"_s)->width(), 900 - pos - 2 - 9);
}

void tst_frmmain_frame::yesClosesEveryOtherWindow_data()
{
    QTest::addColumn<bool>("newestRefuses");
    QTest::newRow("all close") << false;
    QTest::newRow("the newest refuses: the rest stay") << true;
}

void tst_frmmain_frame::yesClosesEveryOtherWindow()
{
    QFETCH(bool, newestRefuses);
    OtherWindow hidden(false);
    hidden.show();
    hidden.hide();
    OtherWindow shown(false);
    shown.show();
    OtherWindow newest(newestRefuses);
    newest.show();

    MessageBox::queueAnswer(QMessageBox::Yes);
    QVERIFY(m_w->window().close());
    QVERIFY(!m_w->window().store().isOpen());
    QCOMPARE(newest.closeRequests, 1);
    QCOMPARE(shown.closeRequests, newestRefuses ? 0 : 1);
    QCOMPARE(hidden.closeRequests, newestRefuses ? 0 : 1);
    QCOMPARE(shown.isVisible(), newestRefuses);
}

QTEST_MAIN(tst_frmmain_frame)
#include "tst_frmmain_frame.moc"
