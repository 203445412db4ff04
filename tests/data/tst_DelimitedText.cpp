#include "data/DelimitedText.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Records as spreadsheets write them, each with the physical line it starts on. Fields are
// joined with "|" and records with " / " to compare them as one text.
class tst_DelimitedText : public QObject
{
    Q_OBJECT

private slots:
    void splitsRecords_data();
    void splitsRecords();
    void writesRecords_data();
    void writesRecords();
};

void tst_DelimitedText::splitsRecords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("records");
    QTest::addColumn<int>("unterminatedAt");
    QTest::newRow("plain") << u"a,b,c\nd,e,f\n"_s << u"1:a|b|c / 2:d|e|f"_s << 0;
    QTest::newRow("no line break at the end") << u"a,b\nc,d"_s << u"1:a|b / 2:c|d"_s << 0;
    QTest::newRow("empty fields") << u",a,,\n"_s << u"1:|a||"_s << 0;
    QTest::newRow("blank line") << u"a\n\nb\n"_s << u"1:a / 2: / 3:b"_s << 0;
    QTest::newRow("CR LF and lone CR") << u"a,b\r\nc\rd\r\n"_s << u"1:a|b / 2:c / 3:d"_s << 0;
    QTest::newRow("quoted separator and quotes")
        << u"\"a,b\",\"say \"\"hi\"\"\",\"\"\n"_s << u"1:a,b|say \"hi\"|"_s << 0;
    QTest::newRow("line breaks in a quoted field")
        << u"x,\"one\r\ntwo\nthree\",y\nz\n"_s << u"1:x|one\ntwo\nthree|y / 4:z"_s << 0;
    QTest::newRow("quote inside an unquoted field") << u"5\"x,b\n"_s << u"1:5\"x|b"_s << 0;
    QTest::newRow("tab-separated") << u"a\tb,c\t\"d\te\"\n"_s << u"1:a|b,c|d\te"_s << 0;
    QTest::newRow("unterminated quote") << u"a,b\nc,\"d\ne,f\ng\n"_s << u"1:a|b"_s << 2;
}

void tst_DelimitedText::splitsRecords()
{
    QFETCH(QString, text);
    QFETCH(QString, records);
    QFETCH(int, unterminatedAt);
    const DelimitedText::Table table = DelimitedText::parse(text);
    QStringList found;
    for (const auto& r : table.records)
        found << QString::number(r.line) + u':' + r.fields.join(u'|');
    QCOMPARE(found.join(u" / "_s), records);
    QCOMPARE(table.unterminatedAt, unterminatedAt);
}

void tst_DelimitedText::writesRecords_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("record");
    QTest::newRow("plain, empty and Chinese") << QStringList { u"a"_s, u""_s, u"单选"_s } << u"a,,单选\r\n"_s;
    QTest::newRow("comma") << QStringList { u"A,B"_s, u"c"_s } << u"\"A,B\",c\r\n"_s;
    QTest::newRow("quotes") << QStringList { u"say \"hi\""_s } << u"\"say \"\"hi\"\"\"\r\n"_s;
    QTest::newRow("line breaks") << QStringList { u"one\ntwo"_s, u"x\ry"_s }
                                 << u"\"one\ntwo\",\"x\ry\"\r\n"_s;
    QTest::newRow("blanks stay unquoted") << QStringList { u" a b "_s } << u" a b \r\n"_s;
}

void tst_DelimitedText::writesRecords()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, record);
    QCOMPARE(DelimitedText::record(fields), record);
    // What is written reads back, a lone CR inside a field as the line break it is.
    const DelimitedText::Table table = DelimitedText::parse(record);
    QCOMPARE(table.records.size(), 1);
    QCOMPARE(table.records[0].fields, fields.replaceInStrings(u"\r"_s, u"\n"_s));
}

QTEST_GUILESS_MAIN(tst_DelimitedText)
#include "tst_DelimitedText.moc"
