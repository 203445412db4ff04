#pragma once

#include <QString>

/// The exam clock: counts the seconds of an exam from its start and says, once, when
/// the minutes used reach the exam time. It is driven by one tick a second.
class ExamClock final
{
public:
    /// Starts from zero; @p examTime is the exam time as typed, in minutes.
    void start(const QString& examTime);

    /// The exam time display: the last three characters of "000" followed by the time.
    QString examTimeText() const { return m_examTimeText; }
    /// The minutes-used display.
    QString usedText() const { return m_usedText; }
    int seconds() const { return m_seconds; }
    int minutes() const { return m_minutes; }

    /// One second passed. True only on the first tick at which the minutes used read
    /// the same as the exam time: the time is up.
    bool tick();

private:
    int m_seconds = 0;
    int m_minutes = 0;
    QString m_examTimeText = QStringLiteral("000");
    QString m_usedText = QStringLiteral("000");
    bool m_timeUpTold = false;
};
