#pragma once

#include <QString>

/// The practice stopwatch: total seconds and whole minutes since it was started,
/// one tick a second. The displays wrap after 9999 seconds and 999 minutes.
class Stopwatch final
{
public:
    void start() { m_seconds = 0; }
    void tick() { ++m_seconds; }

    int seconds() const { return m_seconds; }
    /// Four digits of total seconds ("0075").
    QString secondsText() const;
    /// Three digits of whole minutes ("001").
    QString minutesText() const;

    /// The last @p width characters of as many zeros followed by @p value: what a digit
    /// display of that width shows ("0075", "001").
    static QString digits(int value, int width);

private:
    int m_seconds = 0;
};
