#include "controls/DigitDisplay.h"

DigitDisplay::DigitDisplay(const QString& objectName, int digits, QWidget* parent)
    : QLCDNumber(digits, parent)
{
    setObjectName(objectName);
    setSegmentStyle(QLCDNumber::Flat);
    setFrameShape(QFrame::Box);
    setText(QString(digits, QLatin1Char('0')));
}

void DigitDisplay::setText(const QString& text)
{
    m_text = text;
    display(text);
    setAccessibleName(text);
}
