#include "exam/Stopwatch.h"

#include "exam/ExamClock.h"

QString Stopwatch::secondsText() const
{
    return ExamClock::digits(m_seconds, 4);
}

QString Stopwatch::minutesText() const
{
    return ExamClock::digits(m_seconds / 60, 3);
}
