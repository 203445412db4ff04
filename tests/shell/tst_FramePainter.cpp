#include "shell/FramePainter.h"
#include "shell/ShellArt.h"

#include <QGuiApplication>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_FramePainter : public QObject
{
    Q_OBJECT

private slots:
    void outlineCutsTheCorners_data();
    void outlineCutsTheCorners();
    void titleIsRedOverAWhiteRim_data();
    void titleIsRedOverAWhiteRim();
    void tinyWindowStillPaints_data();
    void tinyWindowStillPaints();
};

void tst_FramePainter::outlineCutsTheCorners_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("design") << QSize(1011, 727);
    QTest::newRow("1024 × 768 maximised") << QSize(1024, 768);
    QTest::newRow("1920 × 1080 maximised") << QSize(1920, 1080);
    QTest::newRow("small") << QSize(120, 90);
}

void tst_FramePainter::outlineCutsTheCorners()
{
    QFETCH(QSize, size);
    const int W = size.width();
    const int H = size.height();
    const QRegion outline = FramePainter::outline(W, H);

    // The top-right ellipse reaches one pixel past the window, which clips it.
    QCOMPARE(outline.intersected(QRect(0, 0, W, H)).boundingRect(), QRect(0, 0, W, H));
    // Three large corners: about 26 pixels of curve cut away, the middle of each side kept.
    for (const QPoint& corner : { QPoint(0, 0), QPoint(W - 1, 0), QPoint(0, H - 1) }) {
        QVERIFY2(!outline.contains(corner), qPrintable(u"corner %1,%2"_s.arg(corner.x()).arg(corner.y())));
        const QPoint inward(corner.x() == 0 ? 5 : W - 6, corner.y() == 0 ? 5 : H - 6);
        QVERIFY(!outline.contains(inward));
    }
    QVERIFY(outline.contains(QPoint(26, 0)));
    QVERIFY(outline.contains(QPoint(0, 26)));
    QVERIFY(outline.contains(QPoint(W - 24, 0)));
    QVERIFY(outline.contains(QPoint(0, H - 27)));
    QVERIFY(outline.contains(QPoint(W / 2, 0)));
    QVERIFY(outline.contains(QPoint(W / 2, H - 1)));
    QVERIFY(outline.contains(QPoint(0, H / 2)));
    QVERIFY(outline.contains(QPoint(W - 1, H / 2)));

    // The bottom-right corner is the small one: a few pixels only.
    QVERIFY(!outline.contains(QPoint(W - 1, H - 1)));
    QVERIFY(outline.contains(QPoint(W - 7, H - 1)));
    QVERIFY(outline.contains(QPoint(W - 1, H - 7)));
    QVERIFY(outline.contains(QPoint(W - 4, H - 4)));
}

void tst_FramePainter::titleIsRedOverAWhiteRim_data()
{
    QTest::addColumn<int>("pixelSize");
    QTest::newRow("the window's 12 pixels") << 12;
    QTest::newRow("a larger desktop font") << 20;
}

void tst_FramePainter::titleIsRedOverAWhiteRim()
{
    QFETCH(int, pixelSize);
    QFont font = QGuiApplication::font();
    font.setPixelSize(pixelSize);
    const QImage frame = FramePainter::render(ShellArt::skin(), 1024, 768, font);
    const QRgb red = qRgb(255, 0, 0);
    const QRgb white = qRgb(255, 255, 255);

    int redColumns = 0;
    int rimmed = 0;
    for (int x = 15; x < 300; ++x) {
        int top = -1, bottom = -1;
        for (int y = 0; y < 40; ++y) {
            if (frame.pixel(x, y) == red) {
                top = top < 0 ? y : top;
                bottom = y;
            }
        }
        if (top < 0)
            continue;
        ++redColumns;
        if (frame.pixel(x, top - 1) == white)
            ++rimmed;
        // Whole in the band: the toolbar covers everything from y 28 down.
        QVERIFY2(top > 2 && bottom < 28, qPrintable(u"column %1: %2 to %3"_s.arg(x).arg(top).arg(bottom)));
    }
    QVERIFY2(redColumns > 40, "the title is printed in red");
    QCOMPARE(rimmed, redColumns);
    // Neither colour is anywhere left of the title's start.
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 15; ++x)
            QVERIFY(frame.pixel(x, y) != red);
}

void tst_FramePainter::tinyWindowStillPaints_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("minimised") << QSize(0, 0);
    QTest::newRow("one pixel") << QSize(1, 1);
    QTest::newRow("narrower than the corners") << QSize(30, 200);
}

void tst_FramePainter::tinyWindowStillPaints()
{
    QFETCH(QSize, size);
    const QImage frame = FramePainter::render(ShellArt::skin(), size.width(), size.height(), QGuiApplication::font());
    QVERIFY(!frame.isNull());
    QCOMPARE(frame.size(), size.expandedTo(QSize(1, 1)));
}

QTEST_MAIN(tst_FramePainter)
#include "tst_FramePainter.moc"
