#include "shell/MainLayout.h"

#include <QTest>

class tst_MainLayout : public QObject
{
    Q_OBJECT

private slots:
    void resizeFollowsTheWindow();
    void dragMovesTheSplitter_data();
    void dragMovesTheSplitter();
    void dragStopsWhereTheFontsNeed_data();
    void dragStopsWhereTheFontsNeed();
    void resizeAfterDragKeepsTheSplitter();
    void negativeWidthsAreSkipped();

private:
    // The program's layout at load, with the borders the panels have in the windows.
    static MainLayout loaded();
};

namespace {

using L = MainLayout;
constexpr QMargins Sunken(2, 2, 2, 2);

int right(const MainLayout& layout, MainLayout::Control c)
{
    return layout[c].rect.x() + layout[c].rect.width();
}

} // namespace

MainLayout tst_MainLayout::loaded()
{
    MainLayout layout;
    for (L::Control c : { L::Picture1, L::Picture3, L::Picture5, L::Picture6 })
        layout[c].border = Sunken;
    layout.applyLoadSteps();
    return layout;
}

void tst_MainLayout::resizeFollowsTheWindow()
{
    MainLayout layout = loaded();
    QCOMPARE(layout[L::TreeView1].rect.x(), 9);
    QCOMPARE(layout[L::Picture2].rect.x(), 239);

    layout.applyResizeRules(1024, 768);
    QCOMPARE(layout[L::toolpic].rect.width(), 1006);
    QCOMPARE(layout[L::Toolbar1].rect.width(), 1006);
    QCOMPARE(layout[L::TreeView1].rect.height(), 768 - 89 - 9);
    QCOMPARE(layout[L::Picture1].rect, QRect(241, 66, 1024 - 241 - 9, 768 - 66 - 9));
    QCOMPARE(layout[L::Picture2].rect.height(), 768 - 66 - 9 - 4);
    QCOMPARE(layout[L::Label1].rect.width(), 239 - 7); // up to the splitter
    const int inner = layout[L::Picture1].rect.width() - 4;
    // The title stops before the top row, whose edit button stands left of the other three.
    QCOMPARE(right(layout, L::cmd_7), layout[L::cmd_5].rect.x() - 2);
    QCOMPARE(right(layout, L::Label2), layout[L::cmd_7].rect.x() - 6);
    QCOMPARE(layout[L::ListView1].rect.width(), inner - 5);
    QCOMPARE(layout[L::Picture5].rect.width(), inner - 93 - 18);
    QCOMPARE(layout[L::Frame3].rect.x(), inner - 93 - 18 + 9);
    QCOMPARE(layout[L::Frame6].rect.topLeft(), layout[L::Frame3].rect.topLeft());
    QCOMPARE(layout[L::Text1].rect.size(), layout[L::Picture5].rect.size() - QSize(4, 4));
    QCOMPARE(layout[L::Picture3].rect, QRect(241, 66, 1024 - 241 - 9, 768 - 66 - 9));
    QCOMPARE(layout[L::Tex].rect.y(), 16 + 9);

    // The top-row buttons: right-aligned 9 pixels inside the panel, 2 pixels apart.
    QCOMPARE(right(layout, L::cmd_4), inner - 9);
    QCOMPARE(layout[L::cmd_4].rect.x() - right(layout, L::cmd_6), 2);
    QCOMPARE(layout[L::cmd_6].rect.x() - right(layout, L::cmd_5), 2);
}

void tst_MainLayout::dragMovesTheSplitter_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("splitter");
    QTest::newRow("to the right") << 100.4 << 339;
    QTest::newRow("rounded to the nearest") << -38.6 << 200;
    QTest::newRow("far left stops at 20") << -600.0 << 20;
    QTest::newRow("beyond the right edge stops at W − 20") << 5000.0 << 1004;
}

void tst_MainLayout::dragMovesTheSplitter()
{
    QFETCH(double, x);
    QFETCH(int, splitter);
    const int W = 1024;
    MainLayout layout = loaded();
    layout.applyResizeRules(W, 768);
    const MainLayout before = layout;

    layout.applySplitterDrag(W, x);
    QCOMPARE(layout[L::Picture2].rect.x(), splitter);
    QCOMPARE(layout[L::TreeView1].rect.width(), splitter - 9);
    QCOMPARE(layout[L::Label1].rect.width(), splitter - 9);
    QCOMPARE(layout[L::Picture1].rect.x(), splitter + 2);
    QCOMPARE(layout[L::Picture3].rect.x(), splitter + 2);

    // A width that would be negative is not set: the control keeps the one it had.
    const auto widthOr = [&before](int width, L::Control c) { return width >= 0 ? width : before[c].rect.width(); };
    const int p1 = W - (splitter + 2) - 9;
    QCOMPARE(layout[L::Picture1].rect.width(), p1);
    // Inside the panels' borders, as after a resize.
    QCOMPARE(layout[L::ListView1].rect.width(), widthOr(p1 - 4 - 5, L::ListView1));
    QCOMPARE(layout[L::bt].rect.width(), widthOr(p1 - 4, L::bt));
    QCOMPARE(layout[L::Picture5].rect.width(), widthOr(p1 - 93 - 18, L::Picture5));
    const int area = layout[L::Picture5].rect.width() - 4;
    QCOMPARE(layout[L::Text1].rect.width(), area);
    QCOMPARE(layout[L::zh1].rect.width(), area);
    QCOMPARE(layout[L::Picture9].rect.width(), area);
    QCOMPARE(layout[L::Frame3].rect.x(), area + 9);
    QCOMPARE(layout[L::Frame6].rect.x(), area + 9);
    // The echo, the position number beside it, then the side panel.
    QCOMPARE(layout[L::Picture6].rect.x(), area + 9 - 6 - 86 - 6 - 198);
    QCOMPARE(layout[L::Text2].rect.x(), right(layout, L::Picture6) + 6);
    QCOMPARE(layout[L::chkFeedback].rect.topLeft(), layout[L::Picture6].rect.bottomLeft() + QPoint(0, 5));

    // After a drag the top-row buttons stand 4 pixels apart.
    QCOMPARE(right(layout, L::cmd_4), p1 - 4 - 9);
    QCOMPARE(layout[L::cmd_4].rect.x() - right(layout, L::cmd_6), 4);
    QCOMPARE(layout[L::cmd_6].rect.x() - right(layout, L::cmd_5), 4);
    QCOMPARE(layout[L::cmd_5].rect.x() - right(layout, L::cmd_7), 4);
    QCOMPARE(layout[L::Label2].rect.width(), widthOr(layout[L::cmd_7].rect.x() - 6 - 4, L::Label2));
}

void tst_MainLayout::dragStopsWhereTheFontsNeed_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("splitter");
    // The tree's caption needs the splitter at 57 at least; the panel 700 pixels.
    QTest::newRow("far left stops at the caption") << -600.0 << 57;
    QTest::newRow("far right stops at the panel's width") << 5000.0 << 1024 - 9 - 2 - 700;
    QTest::newRow("in between: where it is dragged") << 40.0 << 279;
}

void tst_MainLayout::dragStopsWhereTheFontsNeed()
{
    QFETCH(double, x);
    QFETCH(int, splitter);
    MainLayout layout = loaded();
    layout.setSplitterLimits(57, 700);
    layout.applyResizeRules(1024, 768);
    layout.applySplitterDrag(1024, x);
    QCOMPARE(layout[L::Picture2].rect.x(), splitter);
    QCOMPARE(layout[L::Label1].rect.width(), splitter - 9);
    QVERIFY(layout[L::Picture1].rect.width() >= 700);
}

void tst_MainLayout::resizeAfterDragKeepsTheSplitter()
{
    MainLayout layout = loaded();
    layout.applyResizeRules(1920, 1080);
    layout.applySplitterDrag(1920, 161);
    QCOMPARE(layout[L::Picture2].rect.x(), 400);

    layout.applyResizeRules(1024, 768);
    QCOMPARE(layout[L::Picture2].rect.x(), 400);
    QCOMPARE(layout[L::TreeView1].rect.width(), 391);
    QCOMPARE(layout[L::Label1].rect.width(), 400 - 7);
    QCOMPARE(layout[L::Picture1].rect.x(), 402);
    QCOMPARE(layout[L::Picture1].rect.width(), 1024 - 402 - 9);
    // The resize rules bring the buttons back to 2 pixels apart.
    QCOMPARE(layout[L::cmd_4].rect.x() - right(layout, L::cmd_6), 2);
}

void tst_MainLayout::negativeWidthsAreSkipped()
{
    MainLayout layout = loaded();
    layout.applyResizeRules(1024, 768);
    const MainLayout before = layout;

    // A window narrower than the tree: the panel widths would be negative.
    layout.applyResizeRules(200, 60);
    QCOMPARE(layout[L::Picture1].rect.width(), before[L::Picture1].rect.width());
    QCOMPARE(layout[L::Picture1].rect.height(), before[L::Picture1].rect.height());
    QCOMPARE(layout[L::TreeView1].rect.height(), before[L::TreeView1].rect.height());
    QCOMPARE(layout[L::Picture3].rect.width(), before[L::Picture3].rect.width());
    // The rules that still make sense have run.
    QCOMPARE(layout[L::toolpic].rect.width(), 182);
    QCOMPARE(layout[L::Toolbar1].rect.width(), 182);
    QCOMPARE(layout[L::Label1].rect.width(), 239 - 7);
    QCOMPARE(right(layout, L::cmd_4), layout[L::Picture1].rect.width() - 4 - 9);
}

QTEST_MAIN(tst_MainLayout)
#include "tst_MainLayout.moc"
