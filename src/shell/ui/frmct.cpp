#include "shell/ui/frmct.h"

#include "shell/ui/ShellResources.h"

#include <QBuffer>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

constexpr int TwipsPerPixel = 15;
const QSize OuterSizeOnLoad(700, 600);
const QPoint PictureStartTwips(0, 720);
const QSize PictureDesignSizeTwips(9375, 9015);

QRect fromTwips(int left, int top, int width, int height)
{
    return QRect(left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel, height / TwipsPerPixel);
}

int twipsToPixels(int twips)
{
    return qRound(double(twips) / TwipsPerPixel);
}

} // namespace

frmct::frmct(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
    , m_positionTwips(PictureStartTwips)
{
    initShellResources();
    setObjectName(u"frmct"_s);
    setWindowTitle(u"本题插图"_s);
    // The user keeps working in the main window while the picture follows the question.
    setAttribute(Qt::WA_ShowWithoutActivating);
    resize(OuterSizeOnLoad);

    // Created first so that it lies beneath the buttons however far it is shifted.
    m_Image1 = new QLabel(this);
    m_Image1->setObjectName(u"Image1"_s);
    m_Image1->setAccessibleName(windowTitle());
    m_Image1->resize(PictureDesignSizeTwips / TwipsPerPixel);
    placePicture();

    struct ButtonDesign
    {
        const char16_t* name;
        const char16_t* caption;
        QRect rect;
        int dxTwips;
        int dyTwips;
    };
    const ButtonDesign buttons[] = {
        { u"Command1", u"向上翻看", fromTwips(1680, 120, 975, 375), 0, -VerticalStepTwips },
        { u"Command2", u"向下翻看", fromTwips(3360, 120, 975, 375), 0, VerticalStepTwips },
        { u"Command3", u"向左移动", fromTwips(5040, 120, 1095, 375), -HorizontalStepTwips, 0 },
        { u"Command4", u"向右移动", fromTwips(6720, 120, 1215, 375), HorizontalStepTwips, 0 },
    };
    for (const ButtonDesign& design : buttons) {
        auto* button = new QPushButton(QString::fromUtf16(design.caption), this);
        button->setObjectName(QString::fromUtf16(design.name));
        button->setGeometry(design.rect);
        const int dx = design.dxTwips;
        const int dy = design.dyTwips;
        connect(button, &QPushButton::clicked, this, [this, dx, dy] { shiftPicture(dx, dy); });
    }
}

bool frmct::setPictureData(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    m_Image1->setPixmap(QPixmap::fromImage(image));
    m_Image1->resize(image.size());
    return true;
}

QPoint frmct::picturePosition() const
{
    return m_Image1->pos();
}

void frmct::showEvent(QShowEvent* event)
{
    if (!m_placed) {
        m_placed = true;
        placeOnFirstShow();
    }
    QWidget::showEvent(event);
}

void frmct::shiftPicture(int dxTwips, int dyTwips)
{
    m_positionTwips += QPoint(dxTwips, dyTwips);
    placePicture();
}

void frmct::placePicture()
{
    m_Image1->move(twipsToPixels(m_positionTwips.x()), twipsToPixels(m_positionTwips.y()));
}

void frmct::placeOnFirstShow()
{
    // The window is created but not yet mapped here: the frame known now is all there is to go by.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    resize(OuterSizeOnLoad.shrunkBy(frame));
    const QScreen* where = screen();
    move(where ? where->availableGeometry().topLeft() : QPoint(0, 0));
}
