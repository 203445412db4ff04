#include "controls/XPButtonTip.h"

#include <QEvent>

XPButtonTip::XPButtonTip(const QString& text, QWidget* target)
    : QLabel(target, Qt::ToolTip | Qt::BypassGraphicsProxyWidget)
    , m_target(target)
{
    setTextFormat(Qt::PlainText);
    setText(text);
    setWordWrap(true);
    setMargin(2);
    setIndent(0);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(255, 255, 0));
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMaximumWidth(MaximumWidth);
    const int frame = 2 * (frameWidth() + margin());
    const int tipWidth = qMin(fontMetrics().size(0, text).width() + frame, MaximumWidth);
    resize(tipWidth, heightForWidth(tipWidth));
    m_expiry.setSingleShot(true);
    m_expiry.setInterval(ShownMilliseconds);
    connect(&m_expiry, &QTimer::timeout, this, &QWidget::hide);
    target->installEventFilter(this);
}

void XPButtonTip::showUnderTarget()
{
    show();
    // Placed once shown, when the size of any window frame is known.
    const QPoint below = m_target->mapToGlobal(QPoint(0, m_target->height()));
    move(below.x() + (m_target->width() - frameGeometry().width()) / 2, below.y() + 1);
    m_expiry.start();
}

bool XPButtonTip::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_target) {
        switch (event->type()) {
        case QEvent::ToolTip:
            showUnderTarget();
            return true;
        case QEvent::Leave:
        case QEvent::Hide:
        case QEvent::MouseButtonPress:
        case QEvent::KeyPress:
        case QEvent::WindowDeactivate:
            hide();
            break;
        default:
            break;
        }
    }
    return QLabel::eventFilter(watched, event);
}
