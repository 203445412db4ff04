#include "TestFolders.h"

#include "data/Settings.h"
#include "data/sh_diraduvod.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

enum What
{
    ExamMinutes,
    Count,
    Points,
    PointsOffered,
    Feedback,
    ReviewCap,
    UnseenFirst
};

int get(What what, int slot)
{
    switch (what) {
    case ExamMinutes:
        return Settings::examMinutes();
    case Count:
        return Settings::questionCount(slot);
    case Points:
        return Settings::points(slot);
    case PointsOffered:
        return Settings::pointsOffered(slot);
    case Feedback:
        return Settings::feedback() ? 1 : 0;
    case ReviewCap:
        return Settings::reviewCap();
    case UnseenFirst:
        return Settings::unseenFirst() ? 1 : 0;
    }
    return -1;
}

bool set(What what, int slot, int value)
{
    switch (what) {
    case ExamMinutes:
        return Settings::setExamMinutes(value);
    case Count:
        return Settings::setQuestionCount(slot, value);
    case Points:
    case PointsOffered:
        return Settings::setPoints(slot, value);
    case Feedback:
        return Settings::setFeedback(value != 0);
    case ReviewCap:
        return Settings::setReviewCap(value);
    case UnseenFirst:
        return Settings::setUnseenFirst(value != 0);
    }
    return false;
}

QByteArray fileBytes()
{
    QFile f(Settings::path());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class tst_Settings : public QObject
{
    Q_OBJECT

private slots:
    void init() { QFile::remove(Settings::path()); }
    void keys_data();
    void defaultWithoutAFile();
    void defaultWithoutAFile_data() { keys_data(); }
    void roundTripWritesTheKey();
    void roundTripWritesTheKey_data() { keys_data(); }
    void unwritableFileIsReported();
    void unwritableFileIsReported_data() { keys_data(); }
    void sharedPointsKey();
    void outOfRangeIsClamped();
    void reviewPlanSettings();

private:
    TestFolders m_folders;
};

void tst_Settings::keys_data()
{
    QTest::addColumn<int>("what");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("defaultValue");
    QTest::newRow("exam minutes") << int(ExamMinutes) << 0 << u"kscs"_s << u"kssj"_s << 60;
    const char* const counts[] = { "A1TS", "A2TS", "A3TS", "A4TS", "BTS", "XTS" };
    const int countDefaults[] = { 20, 5, 5, 3, 10, 10 };
    const char* const points[] = { "A1DF", "A2DF", "A3DF", "A3DF", "BDF", "XDF" };
    for (int slot = 0; slot < QuestionType::SlotCount; ++slot) {
        QTest::addRow("count %d", slot)
            << int(Count) << slot << u"kscs"_s << QString::fromLatin1(counts[slot]) << countDefaults[slot];
        QTest::addRow("points %d", slot)
            << int(Points) << slot << u"kscs"_s << QString::fromLatin1(points[slot]) << 1;
        // The dialog offers 2 for 多选 where the report counts 1.
        QTest::addRow("points offered %d", slot) << int(PointsOffered) << slot << u"kscs"_s
                                                 << QString::fromLatin1(points[slot]) << (slot == 5 ? 2 : 1);
    }
    QTest::newRow("feedback") << int(Feedback) << 0 << u"practice"_s << u"feedback"_s << 0;
    QTest::newRow("review cap") << int(ReviewCap) << 0 << u"practice"_s << u"reviewcap"_s << 200;
    QTest::newRow("unseen first") << int(UnseenFirst) << 0 << u"kscs"_s << u"unseenfirst"_s << 0;
}

void tst_Settings::defaultWithoutAFile()
{
    QFETCH(int, what);
    QFETCH(int, slot);
    QFETCH(int, defaultValue);
    QCOMPARE(get(What(what), slot), defaultValue);
    QVERIFY(!QFile::exists(Settings::path()));
}

void tst_Settings::roundTripWritesTheKey()
{
    QFETCH(int, what);
    QFETCH(int, slot);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(int, defaultValue);
    const int value = what == Feedback || what == UnseenFirst ? 1 : 37;
    QVERIFY(set(What(what), slot, value));
    QCOMPARE(get(What(what), slot), value);
    QCOMPARE(fileBytes(), u"[%1]\n%2= %3\n"_s.arg(section, key).arg(value).toUtf8());
    QVERIFY(set(What(what), slot, defaultValue));
    QCOMPARE(get(What(what), slot), defaultValue);
    QCOMPARE(sh_diraduvod::GetIniInt(section, key, -1), qint16(defaultValue));
}

void tst_Settings::unwritableFileIsReported()
{
    QFETCH(int, what);
    QFETCH(int, slot);
    QFETCH(int, defaultValue);
    // A folder in the file's place can be neither read nor replaced.
    QVERIFY(QDir().mkpath(Settings::path()));
    const auto cleanup = qScopeGuard([] { QDir().rmdir(Settings::path()); });
    QVERIFY(!set(What(what), slot, defaultValue + 1));
    QCOMPARE(get(What(what), slot), defaultValue);
}

void tst_Settings::sharedPointsKey()
{
    QVERIFY(Settings::setPoints(3, 4));
    QCOMPARE(Settings::points(2), 4);
    QCOMPARE(Settings::points(3), 4);
}

void tst_Settings::outOfRangeIsClamped()
{
    QVERIFY(Settings::setExamMinutes(40000));
    QCOMPARE(Settings::examMinutes(), 32767);
    QCOMPARE(Settings::leadingNumber(u" 3.7 "_s), 3);
    QCOMPARE(Settings::leadingNumber(u"-40000"_s), -32768);
}

void tst_Settings::reviewPlanSettings()
{
    QVERIFY(Settings::examDate().isNull());
    QCOMPARE(Settings::reviewTarget(), 90);
    const QDate exam(2027, 3, 28);
    QVERIFY(Settings::setExamDate(exam));
    QCOMPARE(Settings::examDate(), exam);
    QCOMPARE(fileBytes(), "[practice]\nexamyear= 2027\nexammonth= 3\nexamday= 28\n"_ba);
    QVERIFY(Settings::setReviewTarget(85));
    QCOMPARE(Settings::reviewTarget(), 85);
    // Values a schedule could not work with read as the defaults.
    QVERIFY(Settings::setReviewTarget(50));
    QCOMPARE(Settings::reviewTarget(), 90);
    QVERIFY(Settings::setReviewCap(0));
    QCOMPARE(Settings::reviewCap(), 200);
    QVERIFY(sh_diraduvod::PutIniInt(u"practice"_s, u"exammonth"_s, 13));
    QVERIFY(Settings::examDate().isNull());
}

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_Settings.moc"
