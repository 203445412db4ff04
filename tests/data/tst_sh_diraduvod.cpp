#include "TestFolders.h"

#include "data/sh_diraduvod.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
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
    void badFileGivesValuesOrDefaults_data();
    void badFileGivesValuesOrDefaults();
    void unreadableFileIsNotOverwritten();

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

void tst_sh_diraduvod::badFileGivesValuesOrDefaults_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("kssj"); // read with the default 60
    const QByteArray nul("\0", 1);
    QTest::newRow("NUL bytes before the section") << nul + nul + "\n[kscs]\nkssj= 45\n" << 45;
    QTest::newRow("NUL byte in the value") << "[kscs]\nkssj= 4" + nul + "5\n" << 4;
    QTest::newRow("NUL byte in the key") << "[kscs]\nks" + nul + "sj= 45\n" << 60;
    QTest::newRow("only NUL bytes") << QByteArray(4096, '\0') << 60;
    QTest::newRow("invalid UTF-8 around the key")
        << QByteArray("\xff\xfe\n[kscs]\n\xc3\x28=1\nkssj= 45\n\xed\xa0\x80\n") << 45;
    QTest::newRow("invalid UTF-8 in the section name") << QByteArray("[ks\xff"
                                                                     "cs]\nkssj= 45\n")
                                                       << 60;
    QTest::newRow("line of 100000 characters before the key") << "[kscs]\n" + QByteArray(100000, 'x')
            + "\nkssj= 45\n" << 45;
    QTest::newRow("value of 100000 digits") << "[kscs]\nkssj= " + QByteArray(100000, '9') + "\n" << 32767;
    QTest::newRow("value of 100000 minus digits") << "[kscs]\nkssj=-" + QByteArray(100000, '7') + "\n"
                                                  << -32768;
    QTest::newRow("number beyond 64 bits") << QByteArray("[kscs]\nkssj= 18446744073709551617\n") << 32767;
    QTest::newRow("no line end at the end of the file") << QByteArray("[kscs]\nkssj= 45") << 45;
    QTest::newRow("carriage returns only") << QByteArray("[kscs]\rkssj= 45\r") << 60;
    QTest::newRow("section bracket never closed") << QByteArray("[kscs\nkssj= 45\n") << 60;
}

void tst_sh_diraduvod::badFileGivesValuesOrDefaults()
{
    QFETCH(QByteArray, content);
    QFETCH(int, kssj);
    writeIni(content);
    QCOMPARE(int(GetIniInt(QStringLiteral("kscs"), QStringLiteral("kssj"), 60)), kssj);
    // A write changes its own line and nothing else, odd bytes and all.
    QVERIFY(PutIniInt(QStringLiteral("kscs"), QStringLiteral("A1TS"), 25));
    QCOMPARE(GetIniInt(QStringLiteral("kscs"), QStringLiteral("A1TS"), 20), qint16(25));
    QCOMPARE(int(GetIniInt(QStringLiteral("kscs"), QStringLiteral("kssj"), 60)), kssj);
    const QByteArray after = readIni();
    QVERIFY(after.size() >= content.size());
    QByteArray without = after;
    without.replace("A1TS= 25\n", "");
    without.replace("[kscs]\n", "");
    QByteArray original = content;
    original.replace("[kscs]\n", "");
    if (!original.endsWith('\n') && !original.isEmpty())
        original += '\n'; // the last line gets its end
    QCOMPARE(without, original);
}

void tst_sh_diraduvod::unreadableFileIsNotOverwritten()
{
    // A folder where the file should be: nothing read, nothing written over it.
    QDir().mkpath(IniPath());
    const auto cleanup = qScopeGuard([] { QDir().rmdir(IniPath()); });
    QCOMPARE(GetIniInt(QStringLiteral("kscs"), QStringLiteral("kssj"), 60), qint16(60));
    QVERIFY(!PutIniInt(QStringLiteral("kscs"), QStringLiteral("kssj"), 45));
    QVERIFY(QFileInfo(IniPath()).isDir());
}

QTEST_GUILESS_MAIN(tst_sh_diraduvod)
#include "tst_sh_diraduvod.moc"
