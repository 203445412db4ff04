#include "session/Stopwatch.h"

QString Stopwatch::digits(int value, int width)
{
    const QString padded = QString(width, QLatin1Char('0')) + QString::number(value);
    return padded.right(width);
}

QString Stopwatch::secondsText() const
{
    return digits(m_seconds, 4);
}

QString Stopwatch::minutesText() const
{
    return digits(m_seconds / 60, 3);
}
