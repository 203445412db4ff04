#define QTEST_QPA_MOUSE_HANDLING

#include "controls/XPButton.h"
#include "controls/XPButtonTip.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int Disabled = 0;
constexpr int Normal = 1;
constexpr int Hover = 2;
constexpr int Pressed = 3;

// Skins as they show on the button: drawn over the button's grey ground.
QImage skin(int index)
{
    static const char* const names[] = { "disabled", "normal", "hover", "pressed" };
    QImage image(18, 21, QImage::Format_RGB32);
    image.fill(QColor(215, 215, 215));
    QPainter painter(&image);
    painter.drawImage(0, 0, QImage(u":/controls/xpbutton-"_s + QLatin1String(names[index]) + u".png"_s));
    return image;
}

QImage shot(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The face on show, told apart by the second row of the top edge, which every skin draws
// in its own colour; -1 when it matches none.
int faceOf(XPButton* button)
{
    const QRgb seen = shot(button).pixel(button->width() / 2, 1);
    for (int index = Disabled; index <= Pressed; ++index) {
        if (skin(index).pixel(9, 1) == seen)
            return index;
    }
    return -1;
}

QPixmap solid(QSize size, QColor colour)
{
    QPixmap pixmap(size);
    pixmap.fill(colour);
    return pixmap;
}

// Smallest rectangle holding the pixels that pass `test`.
template <typename Test> QRect inkBounds(const QImage& image, Test test)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (test(QColor(image.pixel(x, y))))
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

bool isPicture(const QColor& c)
{
    return c == QColor(255, 0, 255);
}

bool isCaption(const QColor& c)
{
    return c.red() > 120 && c.green() < 90 && c.blue() < 90;
}

int floorDiv(int value, int by)
{
    return value >= 0 ? value / by : -((by - 1 - value) / by);
}

} // namespace

class tst_XPButton final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void nineSlice_data();
    void nineSlice();
    void tinyButtonPaintsCorners();
    void pictureLayout_data();
    void pictureLayout();
    void wideCaptionIsClippedByTheEdges();

    void facesFollowTheMouse();
    void rightPressShowsNoPressedFaceAndNoClick();
    void releaseOutsideRaisesNoClick();
    void mouseSignalsCarryTwips_data();
    void mouseSignalsCarryTwips();
    void enterClicksOnlyAfterALeftClick();
    void spaceClicksWithoutArmingEnter();
    void disabledButtonIgnoresClicksAndEnter();
    void propertyChangeRepaintsNormalFace();
    void focusCueOnlyForKeyboardFocus();

    void designDataReadInOrderIgnoringCase();
    void designDataDefaults();
    void designDataWriteOmitsDefaults_data();
    void designDataWriteOmitsDefaults();
    void designDataRoundTrip();

    void toolTipColoursAndPlacement();
    void toolTipIsReplacedNotAdded();
    void toolTipWrapsAtEightyPixels();

    void accessibleNameAndPress();

private:
    XPButton* addButton(QRect geometry);

    std::unique_ptr<QWidget> m_window;
};

void tst_XPButton::init()
{
    m_window = std::make_unique<QWidget>();
    m_window->resize(320, 200);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void tst_XPButton::cleanup()
{
    m_window.reset();
}

XPButton* tst_XPButton::addButton(QRect geometry)
{
    auto* button = new XPButton(m_window.get());
    button->setGeometry(geometry);
    button->show();
    return button;
}

void tst_XPButton::nineSlice_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("expectedSkin");

    // Sizes whose middle is a whole multiple of the skin's 12 x 15 middle, so every pixel
    // has exactly one source pixel.
    QTest::newRow("skin size, normal") << QSize(18, 21) << 1 << true << Normal;
    QTest::newRow("4x2 middle, hover") << QSize(54, 36) << 2 << true << Hover;
    QTest::newRow("2x3 middle, pressed") << QSize(30, 51) << 3 << true << Pressed;
    QTest::newRow("5x1 middle, disabled") << QSize(66, 21) << 1 << false << Disabled;
}

void tst_XPButton::nineSlice()
{
    QFETCH(QSize, size);
    QFETCH(int, state);
    QFETCH(bool, enabled);
    QFETCH(int, expectedSkin);

    XPButton* button = addButton(QRect(QPoint(10, 10), size));
    button->setCaption(QString());
    button->setEnabled(enabled);
    button->PrintB(state);

    const QImage face = shot(button);
    const QImage source = skin(expectedSkin);
    const int stretchX = (size.width() - 6) / 12;
    const int stretchY = (size.height() - 6) / 15;
    auto sourceX = [&](int x) {
        return x < 3 ? x : x >= size.width() - 3 ? x - size.width() + 18 : 3 + (x - 3) / stretchX;
    };
    auto sourceY = [&](int y) {
        return y < 3 ? y : y >= size.height() - 3 ? y - size.height() + 21 : 3 + (y - 3) / stretchY;
    };
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            if (face.pixel(x, y) != source.pixel(sourceX(x), sourceY(y)))
                QFAIL(qPrintable(
                    u"pixel %1,%2 is not skin pixel %3,%4"_s.arg(x).arg(y).arg(sourceX(x)).arg(sourceY(y))));
        }
    }
}

void tst_XPButton::tinyButtonPaintsCorners()
{
    // Narrower than two borders: the edges and the middle have no room, the corners overlap.
    XPButton* button = addButton(QRect(10, 10, 5, 4));
    const QImage face = shot(button);
    const QImage source = skin(Normal);
    QCOMPARE(face.pixel(0, 0), source.pixel(0, 0));
    QCOMPARE(face.pixel(4, 3), source.pixel(17, 20));
}

void tst_XPButton::pictureLayout_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("withPicture");
    QTest::addColumn<int>("style");

    QTest::newRow("picture alone, centred") << QString() << true << 0;
    QTest::newRow("caption alone, centred") << u"确定"_s << false << 0;
    QTest::newRow("picture left of caption") << u"确定"_s << true << 0;
    QTest::newRow("picture above caption") << u"确定"_s << true << 1;
    QTest::newRow("other style draws only the face") << u"确定"_s << true << 2;
    QTest::newRow("nothing to draw") << QString() << false << 1;
}

void tst_XPButton::pictureLayout()
{
    QFETCH(QString, caption);
    QFETCH(bool, withPicture);
    QFETCH(int, style);

    const QSize pictureSize = withPicture ? QSize(10, 8) : QSize();
    XPButton* button = addButton(QRect(10, 10, 120, 60));
    button->setForeColor(QColor(255, 0, 0));
    button->setButtonStyle(style);
    button->setCaption(caption);
    if (withPicture)
        button->setPicture(solid(pictureSize, QColor(255, 0, 255)));

    const QImage face = shot(button);
    const QRect picture = inkBounds(face, isPicture);
    const QRect text = inkBounds(face, isCaption);
    const int w = button->width();
    const int h = button->height();
    const int iw = pictureSize.width();
    const int ih = pictureSize.height();
    const QFontMetrics metrics = button->fontMetrics();
    const int tw = metrics.horizontalAdvance(caption);
    const int th = metrics.height();

    QRect expectedPicture;
    QRect textBox;
    if (caption.isEmpty() && withPicture) {
        expectedPicture = QRect(QPoint(floorDiv(w - iw, 2), floorDiv(h - ih, 2)), pictureSize);
    } else if (!caption.isEmpty() && !withPicture) {
        textBox = QRect(floorDiv(w - tw, 2), floorDiv(h - th, 2), tw, th);
    } else if (!caption.isEmpty() && style == 0) {
        const int gap = floorDiv(w - iw - tw, 3);
        expectedPicture = QRect(QPoint(gap, floorDiv(h - ih, 2)), pictureSize);
        textBox = QRect(iw + 2 * gap, floorDiv(h - th, 2), tw, th);
    } else if (!caption.isEmpty() && style == 1) {
        const int gap = floorDiv(h - ih - th, 3);
        expectedPicture = QRect(QPoint(floorDiv(w - iw, 2), gap), pictureSize);
        textBox = QRect(floorDiv(w - tw, 2), ih + 2 * gap, tw, th);
        // Three equal gaps: above the picture, between picture and caption, below the caption.
        QCOMPARE(textBox.top() - expectedPicture.bottom() - 1, gap);
        QVERIFY(h - textBox.bottom() - 1 - gap < 3);
    }

    QCOMPARE(picture, expectedPicture);
    if (textBox.isNull()) {
        QVERIFY(text.isNull());
    } else {
        QVERIFY(!text.isNull());
        QVERIFY2(textBox.contains(text), qPrintable(u"caption ink outside its box"_s));
        QVERIFY(text.left() - textBox.left() <= 3);
    }
}

void tst_XPButton::wideCaptionIsClippedByTheEdges()
{
    const QString caption = u"一句比按钮宽得多的标题"_s;
    XPButton* narrow = addButton(QRect(10, 10, 30, 30));
    XPButton* wide = addButton(QRect(10, 50, 300, 30));
    for (XPButton* button : { narrow, wide }) {
        button->setForeColor(QColor(255, 0, 0));
        button->setCaption(caption);
    }
    const int tw = narrow->fontMetrics().horizontalAdvance(caption);
    QVERIFY(tw > narrow->width() && tw < wide->width());

    // The narrow button shows the middle of the caption as the wide one draws it in full,
    // so the caption starts left of the button's edge and runs past the right one.
    const QImage clipped = shot(narrow);
    const QImage full = shot(wide);
    const int offset = floorDiv(wide->width() - tw, 2) - floorDiv(narrow->width() - tw, 2);
    int ink = 0;
    for (int y = 0; y < clipped.height(); ++y) {
        for (int x = 3; x < narrow->width() - 3; ++x) {
            const bool shown = isCaption(QColor(clipped.pixel(x, y)));
            QCOMPARE(shown, isCaption(QColor(full.pixel(x + offset, y))));
            ink += shown ? 1 : 0;
        }
    }
    QVERIFY(ink > 0);
    // Nothing of the caption spills onto the window around the button.
    const QImage around = shot(m_window.get());
    QVERIFY(!isCaption(QColor(around.pixel(9, 25))));
    QVERIFY(!isCaption(QColor(around.pixel(40, 25))));
}

void tst_XPButton::facesFollowTheMouse()
{
    XPButton* button = addButton(QRect(40, 40, 120, 40));
    QCOMPARE(faceOf(button), Normal);

    QTest::mouseMove(button, QPoint(30, 20));
    QCOMPARE(faceOf(button), Hover);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(30, 20));
    QCOMPARE(faceOf(button), Pressed);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(30, 20));
    QCOMPARE(faceOf(button), Normal);
    QTest::mouseMove(button, QPoint(31, 20));
    QCOMPARE(faceOf(button), Hover);
    QTest::mouseMove(button, QPoint(32, 21));
    QCOMPARE(faceOf(button), Hover);
    QTest::mouseMove(m_window.get(), QPoint(5, 5));
    QCOMPARE(faceOf(button), Normal);
    QTest::mouseMove(button, QPoint(60, 20));
    QCOMPARE(faceOf(button), Hover);
}

void tst_XPButton::rightPressShowsNoPressedFaceAndNoClick()
{
    XPButton* button = addButton(QRect(40, 40, 120, 40));
    QSignalSpy clicks(button, &XPButton::Click);
    QSignalSpy downs(button, &XPButton::MouseDown);
    QSignalSpy ups(button, &XPButton::MouseUp);

    QTest::mouseMove(button, QPoint(30, 20));
    QTest::mousePress(button, Qt::RightButton, {}, QPoint(30, 20));
    QCOMPARE(faceOf(button), Hover);
    QTest::mouseRelease(button, Qt::RightButton, {}, QPoint(30, 20));
    QCOMPARE(faceOf(button), Normal);

    QCOMPARE(clicks.count(), 0);
    QCOMPARE(downs.count(), 1);
    QCOMPARE(downs.first().at(0).value<qint16>(), XPButton::RightButton);
    QCOMPARE(ups.count(), 1);
    QCOMPARE(ups.first().at(0).value<qint16>(), XPButton::RightButton);

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(30, 20));
    QCOMPARE(clicks.count(), 1);
}

void tst_XPButton::releaseOutsideRaisesNoClick()
{
    XPButton* button = addButton(QRect(40, 40, 120, 40));
    QSignalSpy clicks(button, &XPButton::Click);

    QTest::mouseMove(button, QPoint(30, 20));
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(30, 20));
    QTest::mouseMove(button, QPoint(-20, 20));
    QCOMPARE(faceOf(button), Normal);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-20, 20));
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(faceOf(button), Normal);
}

void tst_XPButton::mouseSignalsCarryTwips_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("buttonCode");
    QTest::addColumn<int>("shiftCode");

    QTest::newRow("left") << Qt::LeftButton << Qt::KeyboardModifiers() << 1 << 0;
    QTest::newRow("right with shift")
        << Qt::RightButton << Qt::KeyboardModifiers(Qt::ShiftModifier) << 2 << 1;
    QTest::newRow("middle with ctrl and alt")
        << Qt::MiddleButton << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::AltModifier) << 4 << 6;
}

void tst_XPButton::mouseSignalsCarryTwips()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, buttonCode);
    QFETCH(int, shiftCode);

    XPButton* target = addButton(QRect(40, 40, 120, 40));
    QSignalSpy downs(target, &XPButton::MouseDown);
    QSignalSpy ups(target, &XPButton::MouseUp);
    QSignalSpy moves(target, &XPButton::MouseMove);

    QTest::mouseMove(target, QPoint(7, 9));
    QVERIFY(!moves.isEmpty());
    QCOMPARE(moves.last(), (QList<QVariant> { qint16(0), qint16(0), 105.0f, 135.0f }));

    QTest::mousePress(target, button, modifiers, QPoint(10, 5));
    QTest::mouseRelease(target, button, modifiers, QPoint(11, 6));
    QCOMPARE(downs.count(), 1);
    QCOMPARE(downs.first(), (QList<QVariant> { qint16(buttonCode), qint16(shiftCode), 150.0f, 75.0f }));
    QCOMPARE(ups.count(), 1);
    QCOMPARE(ups.first(), (QList<QVariant> { qint16(buttonCode), qint16(shiftCode), 165.0f, 90.0f }));
}

void tst_XPButton::enterClicksOnlyAfterALeftClick()
{
    XPButton* button = addButton(QRect(40, 40, 120, 40));
    button->setFocus();
    QSignalSpy clicks(button, &XPButton::Click);

    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(button, Qt::Key_Enter);
    QCOMPARE(clicks.count(), 0);

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(30, 20));
    QCOMPARE(clicks.count(), 1);
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(button, Qt::Key_Enter);
    QTest::keyClick(button, Qt::Key_Return);
    QCOMPARE(clicks.count(), 4);

    // A press with any other button disarms Enter again.
    QTest::mouseClick(button, Qt::RightButton, {}, QPoint(30, 20));
    QTest::keyClick(button, Qt::Key_Return);
    QCOMPARE(clicks.count(), 4);
}

void tst_XPButton::spaceClicksWithoutArmingEnter()
{
    XPButton* button = addButton(QRect(40, 40, 120, 40));
    button->setFocus();
    QSignalSpy clicks(button, &XPButton::Click);

    QTest::keyPress(button, Qt::Key_Space);
    QCOMPARE(faceOf(button), Pressed);
    QCOMPARE(clicks.count(), 0);
    QTest::keyRelease(button, Qt::Key_Space);
    QCOMPARE(faceOf(button), Normal);
    QCOMPARE(clicks.count(), 1);

    QTest::keyClick(button, Qt::Key_Return);
    QCOMPARE(clicks.count(), 1);
}

void tst_XPButton::disabledButtonIgnoresClicksAndEnter()
{
    XPButton* button = addButton(QRect(40, 40, 120, 40));
    button->setFocus();
    QSignalSpy clicks(button, &XPButton::Click);
    QSignalSpy downs(button, &XPButton::MouseDown);
    // Armed for Enter before it is disabled.
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(30, 20));
    QCOMPARE(clicks.count(), 1);

    button->readProperties({ { u"Caption"_s, u"确定"_s } });
    QVERIFY(!button->isEnabled());
    clicks.clear();
    downs.clear();

    QTest::mouseMove(button, QPoint(40, 20));
    QCOMPARE(faceOf(button), Disabled);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(40, 20));
    QCOMPARE(faceOf(button), Disabled);
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(button, Qt::Key_Space);
    button->click();
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(downs.count(), 0);
}

void tst_XPButton::propertyChangeRepaintsNormalFace()
{
    XPButton* button = addButton(QRect(40, 40, 120, 40));
    QTest::mouseMove(button, QPoint(30, 20));
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(30, 20));
    QCOMPARE(faceOf(button), Pressed);
    button->setButtonStyle(1);
    QCOMPARE(faceOf(button), Normal);

    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(30, 20));
    QTest::mouseMove(button, QPoint(31, 20));
    QCOMPARE(faceOf(button), Hover);
    button->setForeColor(Qt::blue);
    QCOMPARE(faceOf(button), Normal);
}

void tst_XPButton::focusCueOnlyForKeyboardFocus()
{
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    XPButton* first = addButton(QRect(40, 40, 120, 40));
    XPButton* second = addButton(QRect(40, 100, 120, 40));
    first->setForeColor(QColor(255, 0, 0));
    second->setForeColor(QColor(255, 0, 0));
    // The dotted cue runs along the inside of the skin's border.
    auto cueShown = [](XPButton* button) {
        const QImage face = shot(button);
        return !inkBounds(face.copy(0, 3, face.width(), 1), isCaption).isNull();
    };

    first->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(first, Qt::Key_Tab);
    QVERIFY(second->hasFocus());
    QVERIFY(cueShown(second));
    QVERIFY(!cueShown(first));

    QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(30, 20));
    QVERIFY(first->hasFocus());
    QVERIFY(!cueShown(first));
    QVERIFY(!cueShown(second));
}

void tst_XPButton::designDataReadInOrderIgnoringCase()
{
    XPButton* button = addButton(QRect(40, 40, 120, 40));
    button->setEnabled(false);
    QSignalSpy changes(button, &XPButton::propertyChanged);
    QFont bold = m_window->font();
    bold.setBold(true);

    button->readProperties({
        { u"mytooltip"_s, u"提示"_s },
        { u"FORECOLOR"_s, QColor(0, 0, 255) },
        { u"picture"_s, solid(QSize(4, 4), Qt::magenta) },
        { u"fOnT"_s, bold },
        { u"caption"_s, u"收藏试题"_s },
        { u"ENABLED"_s, true },
        { u"style"_s, 1 },
    });

    QStringList order;
    for (const auto& change : changes)
        order << change.at(0).toString();
    QCOMPARE(order,
        (QStringList { u"Style"_s, u"Enabled"_s, u"Caption"_s, u"Font"_s, u"Picture"_s, u"ForeColor"_s,
            u"MyToolTip"_s }));
    QCOMPARE(button->buttonStyle(), 1);
    QVERIFY(button->isEnabled());
    QCOMPARE(button->caption(), u"收藏试题"_s);
    QCOMPARE(button->font(), bold);
    QCOMPARE(button->picture().size(), QSize(4, 4));
    QCOMPARE(button->foreColor(), QColor(0, 0, 255));
    QCOMPARE(button->myToolTip(), u"提示"_s);
}

void tst_XPButton::designDataDefaults()
{
    XPButton* button = addButton(QRect(40, 40, 120, 40));
    button->setButtonStyle(1);
    button->setCaption(u"确定"_s);
    QFont big = button->font();
    big.setPointSize(big.pointSize() + 6);
    button->setFont(big);
    button->setPicture(solid(QSize(4, 4), Qt::magenta));
    button->setForeColor(Qt::red);
    button->setMyToolTip(u"提示"_s);

    button->readProperties({});

    QCOMPARE(button->buttonStyle(), 0);
    QVERIFY(!button->isEnabled());
    QCOMPARE(button->caption(), u"0"_s);
    QCOMPARE(button->font(), m_window->font());
    QVERIFY(button->picture().isNull());
    QCOMPARE(button->foreColor(), button->palette().color(QPalette::ButtonText));
    QCOMPARE(button->myToolTip(), QString());
    QVERIFY(button->findChildren<XPButtonTip*>().isEmpty());
    QCOMPARE(faceOf(button), Disabled);
}

void tst_XPButton::designDataWriteOmitsDefaults_data()
{
    QTest::addColumn<QVariantMap>("data");
    QTest::addColumn<QStringList>("written");

    QTest::newRow("all defaults") << QVariantMap {} << QStringList { u"Enabled"_s };
    QTest::newRow("enabled, rest default")
        << QVariantMap { { u"Enabled"_s, true } } << QStringList { u"Enabled"_s };
    QTest::newRow("style") << QVariantMap { { u"Style"_s, 1 } } << QStringList { u"Enabled"_s, u"Style"_s };
    QTest::newRow("caption") << QVariantMap { { u"Caption"_s, u"关闭"_s } }
                             << QStringList { u"Caption"_s, u"Enabled"_s };
    QTest::newRow("empty caption is not the default")
        << QVariantMap { { u"Caption"_s, QString() } } << QStringList { u"Caption"_s, u"Enabled"_s };
    QTest::newRow("font as text") << QVariantMap {
        { u"Font"_s, u"Noto Sans CJK SC,20,-1,5,700,0,0,0,0,0"_s }
    } << QStringList { u"Enabled"_s, u"Font"_s };
    QTest::newRow("picture") << QVariantMap { { u"Picture"_s, QImage(3, 3, QImage::Format_RGB32) } }
                             << QStringList { u"Enabled"_s, u"Picture"_s };
    QTest::newRow("colour by name") << QVariantMap { { u"ForeColor"_s, u"#ff0000"_s } }
                                    << QStringList { u"Enabled"_s, u"ForeColor"_s };
    QTest::newRow("tool tip") << QVariantMap { { u"MyToolTip"_s, u"启动计时器"_s } }
                              << QStringList { u"Enabled"_s, u"MyToolTip"_s };
}

void tst_XPButton::designDataWriteOmitsDefaults()
{
    QFETCH(QVariantMap, data);
    QFETCH(QStringList, written);

    XPButton* button = addButton(QRect(40, 40, 120, 40));
    button->readProperties(data);
    QCOMPARE(button->writeProperties().keys(), written);
}

void tst_XPButton::designDataRoundTrip()
{
    XPButton* button = addButton(QRect(40, 40, 120, 40));
    QFont font = m_window->font();
    font.setItalic(true);
    button->setButtonStyle(1);
    button->setCaption(u"开始考试"_s);
    button->setFont(font);
    button->setPicture(solid(QSize(6, 5), Qt::magenta));
    button->setForeColor(QColor(0, 128, 0));
    button->setMyToolTip(u"提示"_s);
    button->setEnabled(false);

    const QVariantMap data = button->writeProperties();
    QCOMPARE(data.value(u"Enabled"_s), QVariant(false));

    XPButton* copy = addButton(QRect(40, 100, 120, 40));
    copy->readProperties(data);
    QCOMPARE(copy->writeProperties().keys(), data.keys());
    QCOMPARE(shot(copy), shot(button));
}

void tst_XPButton::toolTipColoursAndPlacement()
{
    XPButton* button = addButton(QRect(40, 40, 120, 40));
    button->setMyToolTip(u"启动"_s);
    const QList<XPButtonTip*> tips = button->findChildren<XPButtonTip*>();
    QCOMPARE(tips.size(), 1);
    XPButtonTip* tip = tips.first();
    QVERIFY(!tip->isVisible());

    const QPoint centre = button->rect().center();
    QHelpEvent help(QEvent::ToolTip, centre, button->mapToGlobal(centre));
    QApplication::sendEvent(button, &help);
    QVERIFY(tip->isVisible());
    QCOMPARE(tip->text(), u"启动"_s);
    QVERIFY(tip->width() <= 80);

    const QRect under = button->rect().translated(button->mapToGlobal(QPoint(0, 0)));
    const QRect shown = tip->frameGeometry();
    QVERIFY(shown.top() > under.bottom());
    QVERIFY(qAbs((shown.left() + shown.right()) - (under.left() + under.right())) <= 1);

    const QImage painted = shot(tip);
    QCOMPARE(QColor(painted.pixel(tip->width() - 3, tip->height() / 2)), QColor(255, 255, 0));
    QCOMPARE(QColor(painted.pixel(0, 0)), QColor(Qt::black));
    QVERIFY(!inkBounds(painted.copy(2, 2, tip->width() - 4, tip->height() - 4), [](const QColor& c) {
        return c == Qt::black;
    }).isNull());

    QTest::mouseMove(m_window.get(), QPoint(5, 5));
    QTest::mouseMove(button, QPoint(10, 10));
    QTest::mouseMove(m_window.get(), QPoint(5, 5));
    QVERIFY(!tip->isVisible());
}

void tst_XPButton::toolTipIsReplacedNotAdded()
{
    XPButton* button = addButton(QRect(40, 40, 120, 40));
    button->setMyToolTip(u"旧的提示"_s);
    button->hide();
    button->show();
    button->setMyToolTip(u"新的提示"_s);

    const QList<XPButtonTip*> tips = button->findChildren<XPButtonTip*>();
    QCOMPARE(tips.size(), 1);
    QCOMPARE(tips.first()->text(), u"新的提示"_s);

    button->setMyToolTip(QString());
    QVERIFY(button->findChildren<XPButtonTip*>().isEmpty());
}

void tst_XPButton::toolTipWrapsAtEightyPixels()
{
    XPButton* button = addButton(QRect(40, 40, 40, 20));
    button->setMyToolTip(u"单击此按钮后开始计算本次练习所用的时间"_s);
    XPButtonTip* tip = button->findChild<XPButtonTip*>();
    QVERIFY(tip);
    tip->showUnderTarget();
    QCOMPARE(tip->width(), 80);
    QVERIFY(tip->height() > 2 * tip->fontMetrics().height());
    // Still centred although wider than the button.
    const QRect under = button->rect().translated(button->mapToGlobal(QPoint(0, 0)));
    const QRect shown = tip->frameGeometry();
    QVERIFY(shown.left() < under.left());
    QVERIFY(qAbs((shown.left() + shown.right()) - (under.left() + under.right())) <= 1);
}

void tst_XPButton::accessibleNameAndPress()
{
    XPButton* button = addButton(QRect(40, 40, 120, 40));
    button->setCaption(u"收藏试题"_s);
    QSignalSpy clicks(button, &XPButton::Click);

    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(button);
    QVERIFY(face);
    QCOMPARE(face->role(), QAccessible::Button);
    QCOMPARE(face->text(QAccessible::Name), u"收藏试题"_s);

    button->setMyToolTip(u"把当前试题加入收藏夹"_s);
    QCOMPARE(face->text(QAccessible::Name), u"收藏试题"_s);
    QCOMPARE(face->text(QAccessible::Description), u"把当前试题加入收藏夹"_s);
    button->setCaption(QString());
    QCOMPARE(face->text(QAccessible::Name), u"把当前试题加入收藏夹"_s);

    QAccessibleActionInterface* actions = face->actionInterface();
    QVERIFY(actions);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(clicks.count(), 1);

    button->setEnabled(false);
    QVERIFY(face->state().disabled);
    QVERIFY(!actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(clicks.count(), 1);
}

QTEST_MAIN(tst_XPButton)
#include "tst_XPButton.moc"
