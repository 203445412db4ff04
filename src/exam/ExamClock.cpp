#include "exam/ExamClock.h"

#include "session/Stopwatch.h"

namespace {

QString lastOf(const QString& text, int width)
{
    return text.right(width);
}

} // namespace

void ExamClock::start(const QString& examTime)
{
    m_seconds = 0;
    m_minutes = 0;
    m_usedText = Stopwatch::digits(0, 3);
    m_examTimeText = lastOf(QStringLiteral("000") + examTime, 3);
    m_timeUpTold = false;
}

bool ExamClock::tick()
{
    if (m_seconds == 59) {
        m_seconds = 0;
        ++m_minutes;
        m_usedText = Stopwatch::digits(m_minutes, 3);
    } else {
        ++m_seconds;
    }
    if (m_timeUpTold || m_usedText != m_examTimeText)
        return false;
    m_timeUpTold = true;
    return true;
}
