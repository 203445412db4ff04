#include "controls/ElidedLabel.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

ElidedLabel::ElidedLabel(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

bool ElidedLabel::isElided() const
{
    return fontMetrics().horizontalAdvance(text()) > contentsRect().width();
}

void ElidedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, area.width());
    style()->drawItemText(&painter, area, int(alignment()) | Qt::TextSingleLine, palette(), isEnabled(), shown,
        foregroundRole());
}

void ElidedLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    update();
}

bool ElidedLabel::event(QEvent* event)
{
    // The whole text as the tooltip, only while it is cut.
    if (event->type() == QEvent::ToolTip && !isElided()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::ToolTip && toolTip() != text())
        setToolTip(text());
    return QLabel::event(event);
}
