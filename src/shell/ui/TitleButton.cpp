#include "shell/ui/TitleButton.h"

#include <QMouseEvent>
#include <QPainter>

using namespace Qt::StringLiterals;

TitleButton::TitleButton(
    const QString& name, const QString& toolTip, const QImage& hover, const QImage& pressed, QWidget* parent)
    : QWidget(parent)
    , m_hover(hover)
    , m_pressed(pressed)
{
    setObjectName(name);
    setToolTip(toolTip);
    setAccessibleName(toolTip);
    setFixedSize(17, 16);
    // Hover needs moves without a button held.
    setMouseTracking(true);
}

void TitleButton::setOverlay(const QImage* overlay)
{
    m_overlay = overlay && !overlay->isNull() ? overlay : nullptr;
    update();
}

void TitleButton::clearHover()
{
    if (m_tag.isEmpty())
        return;
    setOverlay(nullptr);
    m_tag.clear();
}

void TitleButton::paintEvent(QPaintEvent*)
{
    if (!m_overlay)
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, *m_overlay);
}

void TitleButton::mouseMoveEvent(QMouseEvent*)
{
    if (!m_tag.isEmpty())
        return;
    setOverlay(&m_hover);
    m_tag = u"1"_s;
}

void TitleButton::mousePressEvent(QMouseEvent*)
{
    setOverlay(&m_pressed);
}

void TitleButton::mouseReleaseEvent(QMouseEvent* event)
{
    setOverlay(nullptr);
    m_tag.clear();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
