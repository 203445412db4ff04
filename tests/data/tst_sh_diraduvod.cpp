#include "TestFolders.h"

#include "data/sh_diraduvod.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace sh_diraduvod;

class tst_sh_diraduvod : public QObject
{
    Q_OBJECT

private slots:
    void init() { QFile::remove(IniPath()); }
    void pathIsInTheConfigurationFolder();
    void writtenFormByteForByte();
    void readForm_data();
    void readForm();
    void missingFileSectionOrKeyGivesTheDefault();
    void otherLinesAreKept();

private:
    static void writeIni(const QByteArray& content)
    {
        QDir().mkpath(QFileInfo(IniPath()).absolutePath());
        QFile f(IniPath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    static QByteArray readIni()
    {
        QFile f(IniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    TestFolders m_folders;
};

void tst_sh_diraduvod::pathIsInTheConfigurationFolder()
{
    QCOMPARE(IniPath(), m_folders.path() + QStringLiteral("/config/Vellumore/kscs.ini"));
}

void tst_sh_diraduvod::writtenFormByteForByte()
{
    const QString s = QStringLiteral("kscs");
    // The order of the settings dialog's writes when it closes with its defaults.
    QVERIFY(PutIniInt(s, QStringLiteral("A1TS"), 20));
    PutIniInt(s, QStringLiteral("A2TS"), 5);
    PutIniInt(s, QStringLiteral("A3TS"), 5);
    PutIniInt(s, QStringLiteral("A4TS"), 3);
    PutIniInt(s, QStringLiteral("BTS"), 10);
    PutIniInt(s, QStringLiteral("XTS"), 10);
    PutIniInt(s, QStringLiteral("A1DF"), 1);
    PutIniInt(s, QStringLiteral("XDF"), 2);
    PutIniInt(s, QStringLiteral("kssj"), 60);
    QCOMPARE(readIni(), QByteArray("[kscs]\nA1TS= 20\nA2TS= 5\nA3TS= 5\nA4TS= 3\nBTS= 10\nXTS= 10\n"
                                   "A1DF= 1\nXDF= 2\nkssj= 60\n"));

    // Rewriting a key replaces its line in place; zero and negatives have their own forms.
    PutIniInt(s, QStringLiteral("A2TS"), 0);
    PutIniInt(s, QStringLiteral("kssj"), -15);
    QCOMPARE(readIni(), QByteArray("[kscs]\nA1TS= 20\nA2TS= 0\nA3TS= 5\nA4TS= 3\nBTS= 10\nXTS= 10\n"
                                   "A1DF= 1\nXDF= 2\nkssj=-15\n"));
    QCOMPARE(GetIniInt(s, QStringLiteral("kssj"), 60), qint16(-15));
    QCOMPARE(GetIniInt(s, QStringLiteral("A2DF"), 1), qint16(1));
}

void tst_sh_diraduvod::readForm_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("written form") << QByteArray(" 20") << 20;
    QTest::newRow("two leading blanks") << QByteArray("  45") << 45;
    QTest::newRow("trailing blanks") << QByteArray("45   ") << 45;
    QTest::newRow("no digits") << QByteArray("abc") << 0;
    QTest::newRow("empty") << QByteArray("") << 0;
    QTest::newRow("leading number") << QByteArray("12abc") << 12;
    QTest::newRow("negative") << QByteArray("-7") << -7;
    QTest::newRow("decimal point") << QByteArray("3.9") << 3;
    QTest::newRow("above the range") << QByteArray("40000") << 32767;
    QTest::newRow("below the range") << QByteArray("-40000") << -32768;
    QTest::newRow("very long number") << QByteArray("99999999999999999999999") << 32767;
}

void tst_sh_diraduvod::readForm()
{
    QFETCH(QByteArray, value);
    QFETCH(int, expected);
    writeIni("[kscs]\r\nkssj=" + value + "\r\n");
    QCOMPARE(int(GetIniInt(QStringLiteral("kscs"), QStringLiteral("kssj"), 60)), expected);
}

void tst_sh_diraduvod::missingFileSectionOrKeyGivesTheDefault()
{
    QCOMPARE(GetIniInt(QStringLiteral("kscs"), QStringLiteral("XDF"), 2), qint16(2));
    writeIni("[other]\nXDF= 5\n");
    QCOMPARE(GetIniInt(QStringLiteral("kscs"), QStringLiteral("XDF"), 2), qint16(2));
    writeIni("[KSCS]\nxdf= 5\nA1TS= 9\n");
    QCOMPARE(GetIniInt(QStringLiteral("kscs"), QStringLiteral("XDF"), 2), qint16(5)); // names ignore case
    QCOMPARE(GetIniInt(QStringLiteral("kscs"), QStringLiteral("BDF"), 1), qint16(1));
}

void tst_sh_diraduvod::otherLinesAreKept()
{
    writeIni("; settings\n[view]\nzoom=3\n\n[kscs]\nA1TS= 20\nextra=abc\n\n[tail]\nk=v\n");
    PutIniInt(QStringLiteral("kscs"), QStringLiteral("A1TS"), 25);
    PutIniInt(QStringLiteral("kscs"), QStringLiteral("XDF"), 2);
    QCOMPARE(readIni(), QByteArray("; settings\n[view]\nzoom=3\n\n[kscs]\nA1TS= 25\nextra=abc\nXDF= 2\n\n"
                                   "[tail]\nk=v\n"));
}

QTEST_GUILESS_MAIN(tst_sh_diraduvod)
#include "tst_sh_diraduvod.moc"
