#include "richtext/RichText.h"
#include "richtext/RtfReader.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

using namespace Qt::StringLiterals;

class tst_RichText final : public QObject
{
    Q_OBJECT

private slots:
    void fromPlainText_data();
    void fromPlainText();
    void storedAsText();
    void documentPlainText();
};

void tst_RichText::fromPlainText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("plain");

    QTest::newRow("default note") << u"本题暂无注释或笔记"_s << u"本题暂无注释或笔记"_s;
    QTest::newRow("crlf lines") << u"一\r\n二\r三\n"_s << u"一\n二\n三\n"_s;
    QTest::newRow("leading blanks kept") << u"  　题目"_s << u"  　题目"_s;
    QTest::newRow("control characters dropped") << u"a\u0001b\u0000c\u007fd"_s << u"abcd"_s;
}

void tst_RichText::fromPlainText()
{
    QFETCH(QString, text);
    QFETCH(QString, plain);
    const QByteArray rtf = RichText::fromPlainText(text);
    QVERIFY(RtfReader::isRtf(rtf));
    QCOMPARE(RichText::plainText(rtf), plain);
}

void tst_RichText::storedAsText()
{
    // The bank hands documents over as QString; both conversions back must read alike.
    const QString stored = QString::fromLatin1(RichText::fromPlainText(u"证券投资基金"_s));
    QCOMPARE(RichText::plainText(stored.toLatin1()), u"证券投资基金"_s);
    QCOMPARE(RichText::plainText(stored.toUtf8()), u"证券投资基金"_s);
    const QString utf8Rtf = u"{\\rtf1\\ansi\\ansicpg936 证券{\\b 投资}基金}"_s;
    QCOMPARE(RichText::plainText(utf8Rtf.toUtf8()), u"证券投资基金"_s);
}

void tst_RichText::documentPlainText()
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText(u"a"_s);
    cursor.insertText(QString(QChar::LineSeparator));
    cursor.insertText(u"b\u00a0c"_s);
    cursor.insertBlock();
    cursor.insertText(u"d"_s);
    QCOMPARE(RichText::plainText(doc), u"a\nb c\nd"_s);
}

QTEST_MAIN(tst_RichText)
#include "tst_richtext.moc"
