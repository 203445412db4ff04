#include "exam/ExamClock.h"
#include "session/Stopwatch.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_ExamClock : public QObject
{
    Q_OBJECT

private slots:
    void timeUpAfterTheExamTime_data();
    void timeUpAfterTheExamTime();
    void timeUpIsToldOnce();
    void aSecondExamStartsAtZero();
    void stopwatchShowsSecondsAndMinutes_data();
    void stopwatchShowsSecondsAndMinutes();
};

// Ticks until the time is up; -1 when it is not up after @p limit ticks.
static int ticksUntilTimeUp(ExamClock& clock, int limit)
{
    for (int tick = 1; tick <= limit; ++tick) {
        if (clock.tick())
            return tick;
    }
    return -1;
}

void tst_ExamClock::timeUpAfterTheExamTime_data()
{
    QTest::addColumn<QString>("examTime");
    QTest::addColumn<QString>("examTimeText");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("usedAtEnd");
    QTest::newRow("60 minutes") << u"60"_s << u"060"_s << 3600 << u"060"_s;
    QTest::newRow("5 minutes") << u"5"_s << u"005"_s << 300 << u"005"_s;
    QTest::newRow("120 minutes") << u"120"_s << u"120"_s << 7200 << u"120"_s;
    QTest::newRow("0: at the first tick") << u"0"_s << u"000"_s << 1 << u"000"_s;
    QTest::newRow("1000: at the first tick") << u"1000"_s << u"000"_s << 1 << u"000"_s;
    QTest::newRow("not a number: never") << u"abc"_s << u"abc"_s << -1 << u"999"_s;
}

void tst_ExamClock::timeUpAfterTheExamTime()
{
    QFETCH(QString, examTime);
    QFETCH(QString, examTimeText);
    QFETCH(int, ticks);
    QFETCH(QString, usedAtEnd);
    ExamClock clock;
    clock.start(examTime);
    QCOMPARE(clock.examTimeText(), examTimeText);
    QCOMPARE(clock.usedText(), u"000"_s);
    QCOMPARE(ticksUntilTimeUp(clock, 999 * 60 + 59), ticks);
    QCOMPARE(clock.usedText(), usedAtEnd);
}

void tst_ExamClock::timeUpIsToldOnce()
{
    ExamClock clock;
    clock.start(u"1"_s);
    for (int tick = 1; tick < 60; ++tick)
        QVERIFY(!clock.tick()); // one second before the time: nothing to tell
    QCOMPARE(clock.usedText(), u"000"_s);
    QVERIFY(clock.tick());
    QCOMPARE(clock.usedText(), u"001"_s);
    // The minutes still read the exam time while the message is open: it is not told again.
    QCOMPARE(ticksUntilTimeUp(clock, 59), -1);
}

void tst_ExamClock::aSecondExamStartsAtZero()
{
    ExamClock clock;
    clock.start(u"60"_s);
    for (int tick = 0; tick < 1234; ++tick)
        clock.tick();
    QCOMPARE(clock.usedText(), u"020"_s);
    clock.start(u"2"_s);
    QCOMPARE(clock.seconds(), 0);
    QCOMPARE(clock.minutes(), 0);
    QCOMPARE(clock.usedText(), u"000"_s);
    QCOMPARE(ticksUntilTimeUp(clock, 200), 120);
}

void tst_ExamClock::stopwatchShowsSecondsAndMinutes_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("seconds");
    QTest::addColumn<QString>("minutes");
    QTest::newRow("started") << 0 << u"0000"_s << u"000"_s;
    QTest::newRow("61 s") << 61 << u"0061"_s << u"001"_s;
    QTest::newRow("75 s: total seconds") << 75 << u"0075"_s << u"001"_s;
    QTest::newRow("9999 s") << 9999 << u"9999"_s << u"166"_s;
    QTest::newRow("10000 s wraps the seconds") << 10000 << u"0000"_s << u"166"_s;
}

void tst_ExamClock::stopwatchShowsSecondsAndMinutes()
{
    QFETCH(int, ticks);
    QFETCH(QString, seconds);
    QFETCH(QString, minutes);
    Stopwatch watch;
    watch.tick(); // a restart forgets what ran before
    watch.start();
    for (int i = 0; i < ticks; ++i)
        watch.tick();
    QCOMPARE(watch.secondsText(), seconds);
    QCOMPARE(watch.minutesText(), minutes);
}

QTEST_GUILESS_MAIN(tst_ExamClock)
#include "tst_ExamClock.moc"
