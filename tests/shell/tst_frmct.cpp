#include "Named.h"
#define QTEST_QPA_MOUSE_HANDLING

#include "shell/ui/ShellResources.h"
#include "shell/ui/frmct.h"

#include <QBuffer>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QPoint Start(0, 48);

// A plain picture with a black block in its top-left corner, so that a picture shown the
// wrong way round or not at all is told apart.
QImage pattern(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QPainter(&image).fillRect(0, 0, 12, 12, Qt::black);
    return image;
}

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        qFatal("cannot encode the test picture as %s", format);
    return bytes;
}

// Qt reads GIF but cannot write it: a 1 × 1 picture written out by hand.
QByteArray tinyGif()
{
    static const unsigned char gif[] = { 'G', 'I', 'F', '8', '9', 'a', 0x01, 0x00, 0x01, 0x00, 0x80, 0x00,
        0x00, 0xff, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00,
        0x02, 0x02, 0x44, 0x01, 0x00, 0x3b };
    return QByteArray(reinterpret_cast<const char*>(gif), sizeof gif);
}

bool near(QColor seen, QColor wanted)
{
    const int tolerance = 16; // JPEG is lossy
    return qAbs(seen.red() - wanted.red()) <= tolerance && qAbs(seen.green() - wanted.green()) <= tolerance
        && qAbs(seen.blue() - wanted.blue()) <= tolerance;
}

QColor shownAt(const frmct& viewer, QPoint inPicture)
{
    return named<QLabel>(&viewer, u"Image1"_s)->pixmap().toImage().pixelColor(inPicture);
}

QStringList listing(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

class tst_frmct : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loadsAsDesigned();
    void buttonsAtDesignPlaces_data();
    void buttonsAtDesignPlaces();
    void showsWithoutTakingFocus();
    void showsEncodedPicture_data();
    void showsEncodedPicture();
    void stepsCancelOut_data();
    void stepsCancelOut();
    void noLimitOnShifting();
    void buttonsStayAbovePicture();
    void anotherPictureKeepsPosition();
    void bytesThatAreNoPicture_data();
    void bytesThatAreNoPicture();
    void writesNoFile();
    void closeAndShowAgain();
    void welcomePictureIsBuiltIn();

private:
    QPushButton* button(const QString& name) const;
    void showViewer();
    void click(const QString& name, int times = 1);

    std::unique_ptr<frmct> m_viewer;
};

void tst_frmct::init()
{
    m_viewer = std::make_unique<frmct>();
}

void tst_frmct::cleanup()
{
    m_viewer.reset();
}

QPushButton* tst_frmct::button(const QString& name) const
{
    return m_viewer->findChild<QPushButton*>(name);
}

void tst_frmct::showViewer()
{
    m_viewer->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_viewer.get()));
}

void tst_frmct::click(const QString& name, int times)
{
    QPushButton* target = button(name);
    QVERIFY2(target, qPrintable(name));
    for (int i = 0; i < times; ++i)
        QTest::mouseClick(target, Qt::LeftButton);
}

void tst_frmct::loadsAsDesigned()
{
    QCOMPARE(m_viewer->objectName(), u"frmct"_s);
    QCOMPARE(m_viewer->windowTitle(), u"本题插图"_s);
    QVERIFY(m_viewer->isWindow());
    QVERIFY(m_viewer->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(named<QLabel>(m_viewer, u"Image1"_s)->objectName(), u"Image1"_s);
    QCOMPARE(named<QLabel>(m_viewer, u"Image1"_s)->geometry(), QRect(Start, QSize(625, 601)));
    QCOMPARE(m_viewer->picturePosition(), Start);

    showViewer();
    QCOMPARE(m_viewer->frameGeometry().size(), QSize(700, 600));
    QCOMPARE(m_viewer->frameGeometry().topLeft(), m_viewer->screen()->availableGeometry().topLeft());
    // Sizable: the user may make it smaller or larger.
    QVERIFY(m_viewer->minimumSize().width() < 700 && m_viewer->maximumSize().width() > 700);
}

void tst_frmct::buttonsAtDesignPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("rect");

    QTest::newRow("up") << u"Command1"_s << u"向上翻看"_s << QRect(112, 8, 65, 25);
    QTest::newRow("down") << u"Command2"_s << u"向下翻看"_s << QRect(224, 8, 65, 25);
    QTest::newRow("left") << u"Command3"_s << u"向左移动"_s << QRect(336, 8, 73, 25);
    QTest::newRow("right") << u"Command4"_s << u"向右移动"_s << QRect(448, 8, 81, 25);
}

void tst_frmct::buttonsAtDesignPlaces()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, rect);

    QPushButton* found = button(name);
    QVERIFY(found);
    QCOMPARE(found->text(), caption);
    QCOMPARE(found->geometry(), rect);
}

void tst_frmct::showsWithoutTakingFocus()
{
    showViewer();
    // The offscreen platform activates every window it shows, so what is checked is the
    // request handed to the platform; window systems honour it and the main window stays active.
    QVERIFY(m_viewer->windowHandle()->property("_q_showWithoutActivating").toBool());
    QVERIFY(m_viewer->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
}

void tst_frmct::showsEncodedPicture_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QColor>("colour");

    const QSize large(900, 750);
    QTest::newRow("png") << encoded(pattern(large, Qt::darkCyan), "PNG") << large << QColor(Qt::darkCyan);
    QTest::newRow("jpeg") << encoded(pattern(large, QColor(200, 120, 40)), "JPEG") << large
                          << QColor(200, 120, 40);
    QTest::newRow("bmp, small") << encoded(pattern(QSize(40, 30), Qt::yellow), "BMP") << QSize(40, 30)
                                << QColor(Qt::yellow);
    QTest::newRow("gif") << tinyGif() << QSize(1, 1) << QColor(255, 0, 0);
}

void tst_frmct::showsEncodedPicture()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, size);
    QFETCH(QColor, colour);

    showViewer();
    QVERIFY(m_viewer->setPictureData(bytes));
    QCOMPARE(named<QLabel>(m_viewer, u"Image1"_s)->size(), size);
    QCOMPARE(m_viewer->picturePosition(), Start);
    const QPoint farCorner(size.width() - 1, size.height() - 1);
    QVERIFY2(near(shownAt(*m_viewer, farCorner), colour), qPrintable(shownAt(*m_viewer, farCorner).name()));
    if (size.width() > 12)
        QVERIFY(near(shownAt(*m_viewer, QPoint(3, 3)), Qt::black));

    // What the user sees: the picture's far corner drawn at its place in the window.
    const QImage shot = m_viewer->grab().toImage();
    const QPoint inWindow = Start + QPoint(qMin(farCorner.x(), 600), qMin(farCorner.y(), 500));
    const QPoint inPicture = inWindow - Start;
    QVERIFY(near(shot.pixelColor(inWindow), shownAt(*m_viewer, inPicture)));
}

void tst_frmct::stepsCancelOut_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QList<QPoint>>("positions");

    // A step of 500 or 100 twips is 33⅓ or 6⅔ pixels: each place is the nearest pixel.
    QTest::newRow("up twice, down twice") << QStringList { u"Command1"_s, u"Command1"_s, u"Command2"_s,
        u"Command2"_s } << QList<QPoint> { { 0, 15 }, { 0, -19 }, { 0, 15 }, Start };
    QTest::newRow("down twice, up twice") << QStringList { u"Command2"_s, u"Command2"_s, u"Command1"_s,
        u"Command1"_s } << QList<QPoint> { { 0, 81 }, { 0, 115 }, { 0, 81 }, Start };
    QTest::newRow("left twice, right twice") << QStringList { u"Command3"_s, u"Command3"_s, u"Command4"_s,
        u"Command4"_s } << QList<QPoint> { { -7, 48 }, { -13, 48 }, { -7, 48 }, Start };
    QTest::newRow("right twice, left twice") << QStringList { u"Command4"_s, u"Command4"_s, u"Command3"_s,
        u"Command3"_s } << QList<QPoint> { { 7, 48 }, { 13, 48 }, { 7, 48 }, Start };
    QTest::newRow("diagonal and back") << QStringList { u"Command1"_s, u"Command4"_s, u"Command2"_s,
        u"Command3"_s } << QList<QPoint> { { 0, 15 }, { 7, 15 }, { 7, 48 }, Start };
}

void tst_frmct::stepsCancelOut()
{
    QFETCH(QStringList, clicks);
    QFETCH(QList<QPoint>, positions);

    showViewer();
    QVERIFY(m_viewer->setPictureData(encoded(pattern(QSize(1200, 1500), Qt::gray), "PNG")));
    for (int i = 0; i < clicks.size(); ++i) {
        click(clicks.at(i));
        QCOMPARE(m_viewer->picturePosition(), positions.at(i));
        QCOMPARE(named<QLabel>(m_viewer, u"Image1"_s)->pos(), positions.at(i));
    }
}

void tst_frmct::noLimitOnShifting()
{
    showViewer();
    QVERIFY(m_viewer->setPictureData(encoded(pattern(QSize(300, 200), Qt::blue), "PNG")));
    click(u"Command1"_s, 12);
    click(u"Command3"_s, 50);
    const QRect shifted = named<QLabel>(m_viewer, u"Image1"_s)->geometry();
    QVERIFY2(shifted.bottom() < 0 && shifted.right() < 0, "the picture is out of sight");
    click(u"Command2"_s, 12);
    click(u"Command4"_s, 50);
    QCOMPARE(m_viewer->picturePosition(), Start);
}

void tst_frmct::buttonsStayAbovePicture()
{
    showViewer();
    QVERIFY(m_viewer->setPictureData(encoded(pattern(QSize(800, 800), Qt::green), "PNG")));
    click(u"Command1"_s, 2);
    for (const QString& name : { u"Command1"_s, u"Command2"_s, u"Command3"_s, u"Command4"_s }) {
        QPushButton* target = button(name);
        QVERIFY(named<QLabel>(m_viewer, u"Image1"_s)->geometry().intersects(target->geometry()));
        QCOMPARE(m_viewer->childAt(target->geometry().center()), target);
    }
}

void tst_frmct::anotherPictureKeepsPosition()
{
    showViewer();
    QVERIFY(m_viewer->setPictureData(encoded(pattern(QSize(1000, 900), Qt::red), "PNG")));
    click(u"Command1"_s, 3);
    click(u"Command4"_s, 2);
    const QPoint shifted = m_viewer->picturePosition();
    QCOMPARE(shifted, QPoint(13, -52));

    QVERIFY(m_viewer->setPictureData(encoded(pattern(QSize(500, 350), Qt::magenta), "JPEG")));
    QCOMPARE(m_viewer->picturePosition(), shifted);
    QCOMPARE(named<QLabel>(m_viewer, u"Image1"_s)->size(), QSize(500, 350));
    QVERIFY(near(shownAt(*m_viewer, QPoint(499, 349)), Qt::magenta));

    // The steps go on from the kept place.
    click(u"Command2"_s, 3);
    click(u"Command3"_s, 2);
    QCOMPARE(m_viewer->picturePosition(), Start);
}

void tst_frmct::bytesThatAreNoPicture_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray png = encoded(pattern(QSize(64, 64), Qt::white), "PNG");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("text") << QByteArray("this is no picture");
    QTest::newRow("png signature only") << png.left(8);
    QTest::newRow("png cut in its header") << png.left(20);
    QTest::newRow("png with its data zeroed") << png.left(33) + QByteArray(png.size() - 33, '\0');
    QTest::newRow("gif without its picture") << tinyGif().left(13);
}

void tst_frmct::bytesThatAreNoPicture()
{
    QFETCH(QByteArray, bytes);

    showViewer();
    QVERIFY(m_viewer->setPictureData(encoded(pattern(QSize(321, 123), Qt::cyan), "PNG")));
    click(u"Command2"_s);
    const QPoint before = m_viewer->picturePosition();
    const qint64 shownKey = named<QLabel>(m_viewer, u"Image1"_s)->pixmap().cacheKey();

    QVERIFY(!m_viewer->setPictureData(bytes));
    QCOMPARE(named<QLabel>(m_viewer, u"Image1"_s)->size(), QSize(321, 123));
    QCOMPARE(named<QLabel>(m_viewer, u"Image1"_s)->pixmap().cacheKey(), shownKey);
    QCOMPARE(m_viewer->picturePosition(), before);
    QVERIFY(m_viewer->isVisible());
}

void tst_frmct::writesNoFile()
{
    QTemporaryDir working;
    QVERIFY(working.isValid());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(working.path()));
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QStringList programFiles = listing(programFolder);

    showViewer();
    const bool png = m_viewer->setPictureData(encoded(pattern(QSize(200, 100), Qt::red), "PNG"));
    const bool jpeg = m_viewer->setPictureData(encoded(pattern(QSize(100, 200), Qt::blue), "JPEG"));
    const bool junk = m_viewer->setPictureData(QByteArray("junk"));
    QVERIFY(QDir::setCurrent(previous));

    QVERIFY(png && jpeg && !junk);
    QCOMPARE(listing(working.path()), QStringList());
    QCOMPARE(listing(programFolder), programFiles);
    QVERIFY(!QFileInfo::exists(programFolder + u"/ct"_s));
}

void tst_frmct::closeAndShowAgain()
{
    showViewer();
    QVERIFY(m_viewer->setPictureData(encoded(pattern(QSize(640, 480), Qt::darkGreen), "PNG")));
    click(u"Command2"_s);
    click(u"Command3"_s);
    const QPoint shifted = m_viewer->picturePosition();
    m_viewer->resize(500, 400);

    QVERIFY(m_viewer->close());
    QVERIFY(!m_viewer->isVisible());

    showViewer();
    QVERIFY(m_viewer->isVisible());
    QCOMPARE(m_viewer->picturePosition(), shifted);
    QCOMPARE(named<QLabel>(m_viewer, u"Image1"_s)->size(), QSize(640, 480));
    QCOMPARE(m_viewer->size(), QSize(500, 400));

    // Still answering its buttons, and filled again like the first time.
    click(u"Command1"_s);
    click(u"Command4"_s);
    QCOMPARE(m_viewer->picturePosition(), Start);
    QVERIFY(m_viewer->setPictureData(encoded(pattern(QSize(20, 10), Qt::white), "BMP")));
    QCOMPARE(named<QLabel>(m_viewer, u"Image1"_s)->size(), QSize(20, 10));
}

void tst_frmct::welcomePictureIsBuiltIn()
{
    initShellResources();
    initShellResources();
    const QPixmap welcome(u":/shell/welcome.png"_s);
    QVERIFY(!welcome.isNull());
    QCOMPARE(welcome.size(), QSize(800, 600));
}

QTEST_MAIN(tst_frmct)
#include "tst_frmct.moc"
