#include "controls/XPButton.h"

#include "controls/XPButtonAccessible.h"
#include "controls/XPButtonTip.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

// Outside any namespace: the resource initialiser is declared where it is called.
static void initXPButtonResources()
{
    Q_INIT_RESOURCE(xpbutton);
}

namespace {

// Each skin keeps a border of this many pixels at its size; only its middle is stretched.
constexpr int SkinBorder = 3;
constexpr int SkinWidth = 18;
constexpr int SkinHeight = 21;

QColor background()
{
    return QColor(215, 215, 215);
}

int floorHalf(int value)
{
    return value >= 0 ? value / 2 : -((1 - value) / 2);
}

int floorThird(int value)
{
    return value >= 0 ? value / 3 : -((2 - value) / 3);
}

qint16 buttonCode(Qt::MouseButtons buttons)
{
    qint16 code = 0;
    if (buttons & Qt::LeftButton)
        code |= XPButton::LeftButton;
    if (buttons & Qt::RightButton)
        code |= XPButton::RightButton;
    if (buttons & Qt::MiddleButton)
        code |= XPButton::MiddleButton;
    return code;
}

qint16 shiftCode(Qt::KeyboardModifiers modifiers)
{
    qint16 code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= XPButton::ShiftMask;
    if (modifiers & Qt::ControlModifier)
        code |= XPButton::CtrlMask;
    if (modifiers & Qt::AltModifier)
        code |= XPButton::AltMask;
    return code;
}

QVariant lookUp(const QVariantMap& data, QLatin1String key)
{
    for (auto it = data.cbegin(); it != data.cend(); ++it) {
        if (it.key().compare(key, Qt::CaseInsensitive) == 0)
            return it.value();
    }
    return {};
}

QPixmap toPixmap(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return QPixmap(value.toString());
    case QMetaType::QByteArray: {
        QPixmap pixmap;
        pixmap.loadFromData(value.toByteArray());
        return pixmap;
    }
    default:
        return value.value<QPixmap>();
    }
}

QFont toFont(const QVariant& value)
{
    if (value.typeId() == QMetaType::QString) {
        QFont font;
        if (font.fromString(value.toString()))
            return font;
        return {};
    }
    return value.value<QFont>();
}

void announce(QObject* button, QAccessible::Event change)
{
    QAccessibleEvent event(button, change);
    QAccessible::updateAccessibility(&event);
}

} // namespace

XPButton::XPButton(const QString& objectName, const QString& caption, QWidget* parent)
    : XPButton(parent)
{
    setObjectName(objectName);
    setCaption(caption);
}

XPButton::XPButton(QWidget* parent)
    : QWidget(parent)
{
    static const bool registered = [] {
        initXPButtonResources();
        QAccessible::installFactory(&XPButtonAccessible::create);
        return true;
    }();
    Q_UNUSED(registered)

    const QLatin1String faces[] = { QLatin1String("disabled"), QLatin1String("normal"),
        QLatin1String("hover"), QLatin1String("pressed") };
    for (std::size_t i = 0; i < m_skins.size(); ++i)
        m_skins[i] = QPixmap(u":/controls/xpbutton-" + faces[i] + u".png");

    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    PrintB(NormalState);
}

XPButton::~XPButton() = default;

void XPButton::setPicture(const QPixmap& picture)
{
    if (picture.cacheKey() == m_picture.cacheKey())
        return;
    m_picture = picture;
    updateGeometry();
    changed(QStringLiteral("Picture"));
}

void XPButton::setButtonStyle(int style)
{
    if (style == m_style)
        return;
    m_style = style;
    updateGeometry();
    changed(QStringLiteral("Style"));
}

QColor XPButton::foreColor() const
{
    return m_foreColor.isValid() ? m_foreColor : palette().color(QPalette::ButtonText);
}

void XPButton::setForeColor(const QColor& color)
{
    if (color == m_foreColor)
        return;
    m_foreColor = color;
    changed(QStringLiteral("ForeColor"));
}

void XPButton::setCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    updateGeometry();
    changed(QStringLiteral("Caption"));
    announce(this, QAccessible::NameChanged);
}

void XPButton::setMyToolTip(const QString& text)
{
    if (text == m_myToolTip)
        return;
    m_myToolTip = text;
    AssignToolTip(this, text);
    emit propertyChanged(QStringLiteral("MyToolTip"));
    announce(this, QAccessible::DescriptionChanged);
    if (m_caption.isEmpty())
        announce(this, QAccessible::NameChanged);
}

void XPButton::readProperties(const QVariantMap& data)
{
    const QVariant style = lookUp(data, QLatin1String("Style"));
    setButtonStyle(style.isValid() ? style.toInt() : PictureLeft);
    setEnabled(lookUp(data, QLatin1String("Enabled")).toBool());
    const QVariant caption = lookUp(data, QLatin1String("Caption"));
    setCaption(caption.isValid() ? caption.toString() : QStringLiteral("0"));
    const QVariant font = lookUp(data, QLatin1String("Font"));
    setFont(font.isValid() ? toFont(font) : QFont());
    setPicture(toPixmap(lookUp(data, QLatin1String("Picture"))));
    setForeColor(lookUp(data, QLatin1String("ForeColor")).value<QColor>());
    setMyToolTip(lookUp(data, QLatin1String("MyToolTip")).toString());
}

QVariantMap XPButton::writeProperties() const
{
    QVariantMap data;
    if (m_style != PictureLeft)
        data.insert(QStringLiteral("Style"), m_style);
    data.insert(QStringLiteral("Enabled"), !testAttribute(Qt::WA_ForceDisabled));
    if (m_caption != u"0")
        data.insert(QStringLiteral("Caption"), m_caption);
    if (font() != holdingWindowFont())
        data.insert(QStringLiteral("Font"), font());
    if (!m_picture.isNull())
        data.insert(QStringLiteral("Picture"), m_picture);
    if (foreColor() != palette().color(QPalette::ButtonText))
        data.insert(QStringLiteral("ForeColor"), foreColor());
    if (!m_myToolTip.isEmpty())
        data.insert(QStringLiteral("MyToolTip"), m_myToolTip);
    return data;
}

void XPButton::PrintB(int state)
{
    if (width() <= 0 || height() <= 0) {
        m_face = QPixmap();
        update();
        return;
    }
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (m_face.size() != pixels || m_face.devicePixelRatio() != ratio) {
        m_face = QPixmap(pixels);
        m_face.setDevicePixelRatio(ratio);
    }
    m_face.fill(background());

    const int index = state == NormalState ? (isEnabled() ? 1 : 0) : state;
    if (index >= 0 && index < int(m_skins.size())) {
        const int w = width();
        const int h = height();
        const int b = SkinBorder;
        const int sw = SkinWidth;
        const int sh = SkinHeight;
        const struct
        {
            QRect target;
            QRect source;
        } slices[] = {
            { { 0, 0, b, b }, { 0, 0, b, b } },
            { { w - b, 0, b, b }, { sw - b, 0, b, b } },
            { { w - b, h - b, b, b }, { sw - b, sh - b, b, b } },
            { { 0, h - b, b, b }, { 0, sh - b, b, b } },
            { { b, 0, w - 2 * b, b }, { b, 0, sw - 2 * b, b } },
            { { w - b, b, b, h - 2 * b }, { sw - b, b, b, sh - 2 * b } },
            { { 0, b, b, h - 2 * b }, { 0, b, b, sh - 2 * b } },
            { { b, h - b, w - 2 * b, b }, { b, sh - b, sw - 2 * b, b } },
            { { b, b, w - 2 * b, h - 2 * b }, { b, b, sw - 2 * b, sh - 2 * b } },
        };
        QPainter painter(&m_face);
        for (const auto& slice : slices) {
            if (!slice.target.isEmpty())
                painter.drawPixmap(slice.target, m_skins[std::size_t(index)], slice.source);
        }
    }
    SetText(m_caption);
    update();
}

void XPButton::SetText(const QString& caption)
{
    const bool hasPicture = !m_picture.isNull();
    if (m_face.isNull() || (caption.isEmpty() && !hasPicture))
        return;

    QPainter painter(&m_face);
    const int w = width();
    const int h = height();
    const QSize icon = hasPicture ? m_picture.deviceIndependentSize().toSize() : QSize();
    if (caption.isEmpty()) {
        painter.drawPixmap(floorHalf(w - icon.width()), floorHalf(h - icon.height()), m_picture);
        return;
    }

    painter.setFont(font());
    const QFontMetrics metrics = painter.fontMetrics();
    const int tw = metrics.horizontalAdvance(caption);
    const int th = metrics.height();
    QPoint textAt;
    if (!hasPicture) {
        textAt = { floorHalf(w - tw), floorHalf(h - th) };
    } else if (m_style == PictureLeft) {
        const int gap = floorThird(w - icon.width() - tw);
        painter.drawPixmap(gap, floorHalf(h - icon.height()), m_picture);
        textAt = { icon.width() + 2 * gap, floorHalf(h - th) };
    } else if (m_style == PictureAbove) {
        const int gap = floorThird(h - icon.height() - th);
        painter.drawPixmap(floorHalf(w - icon.width()), gap, m_picture);
        textAt = { floorHalf(w - tw), icon.height() + 2 * gap };
    } else {
        return;
    }
    painter.setPen(foreColor());
    painter.drawText(textAt + QPoint(0, metrics.ascent()), caption);
}

void XPButton::AssignToolTip(QWidget* target, const QString& text)
{
    delete m_tip;
    if (target && !text.isEmpty())
        m_tip = new XPButtonTip(text, target);
}

QSize XPButton::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    QSize content
        = m_caption.isEmpty() ? QSize() : QSize(metrics.horizontalAdvance(m_caption), metrics.height());
    if (!m_picture.isNull()) {
        const QSize icon = m_picture.deviceIndependentSize().toSize();
        if (m_caption.isEmpty())
            content = icon;
        else if (m_style == PictureAbove)
            content = QSize(qMax(icon.width(), content.width()), icon.height() + content.height());
        else
            content = QSize(icon.width() + content.width(), qMax(icon.height(), content.height()));
    }
    return QSize(qMax(75, content.width() + 8 * SkinBorder), qMax(23, content.height() + 4 * SkinBorder));
}

void XPButton::click()
{
    if (isEnabled())
        emit Click();
}

void XPButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_face);
    if (m_focusCue && hasFocus()) {
        painter.setPen(QPen(foreColor(), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(SkinBorder, SkinBorder, -SkinBorder - 1, -SkinBorder - 1));
    }
}

void XPButton::resizeEvent(QResizeEvent*)
{
    PrintB(NormalState);
}

void XPButton::showEvent(QShowEvent*)
{
    AssignToolTip(this, m_myToolTip);
    PrintB(NormalState);
}

void XPButton::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::FontChange:
        updateGeometry();
        changed(QStringLiteral("Font"));
        break;
    case QEvent::EnabledChange:
        if (!isEnabled()) {
            m_hover = false;
            m_spacePressed = false;
        }
        changed(QStringLiteral("Enabled"));
        break;
    case QEvent::PaletteChange:
        PrintB(NormalState);
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void XPButton::mousePressEvent(QMouseEvent* event)
{
    raiseMouseEvent(&XPButton::MouseDown, buttonCode(event->button()), event);
    if (event->button() == Qt::LeftButton) {
        PrintB(PressedState);
        m_leftPress = true;
    } else {
        m_leftPress = false;
    }
}

void XPButton::mouseReleaseEvent(QMouseEvent* event)
{
    raiseMouseEvent(&XPButton::MouseUp, buttonCode(event->button()), event);
    m_hover = false;
    PrintB(NormalState);
    if (m_leftPress && rect().contains(event->position().toPoint()))
        emit Click();
}

void XPButton::mouseMoveEvent(QMouseEvent* event)
{
    raiseMouseEvent(&XPButton::MouseMove, buttonCode(event->buttons()), event);
    const QPointF at = event->position();
    if (at.x() < 0 || at.y() < 0 || at.x() > width() || at.y() > height()) {
        PrintB(NormalState);
        m_hover = false;
    } else if (!m_hover) {
        PrintB(HoverState);
        m_hover = true;
    }
}

// Stands in for the mouse capture that would report the move leaving the button.
void XPButton::leaveEvent(QEvent*)
{
    if (m_hover) {
        m_hover = false;
        PrintB(NormalState);
    }
}

void XPButton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter answers only once the button has been pressed with the left button.
        if (m_leftPress) {
            if (!event->isAutoRepeat())
                emit Click();
            return;
        }
        break;
    case Qt::Key_Space:
        if (!event->isAutoRepeat()) {
            m_spacePressed = true;
            PrintB(PressedState);
        }
        return;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void XPButton::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && m_spacePressed) {
        m_spacePressed = false;
        m_hover = false;
        PrintB(NormalState);
        emit Click();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void XPButton::focusInEvent(QFocusEvent* event)
{
    const Qt::FocusReason reason = event->reason();
    m_focusCue = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason
        || reason == Qt::ShortcutFocusReason;
    update();
    QWidget::focusInEvent(event);
}

void XPButton::focusOutEvent(QFocusEvent* event)
{
    m_focusCue = false;
    if (m_spacePressed) {
        m_spacePressed = false;
        PrintB(NormalState);
    }
    update();
    QWidget::focusOutEvent(event);
}

void XPButton::changed(const QString& name)
{
    PrintB(NormalState);
    emit propertyChanged(name);
}

QFont XPButton::holdingWindowFont() const
{
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}

void XPButton::raiseMouseEvent(
    void (XPButton::*signal)(qint16, qint16, float, float), qint16 button, const QMouseEvent* event)
{
    const QPointF twips = event->position() * TwipsPerPixel;
    emit(this->*signal)(button, shiftCode(event->modifiers()), float(twips.x()), float(twips.y()));
}
