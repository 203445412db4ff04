#include "catalogue/QuestionNumbering.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_QuestionNumbering : public QObject
{
    Q_OBJECT
private slots:
    void numberText_data();
    void numberText();
};

void tst_QuestionNumbering::numberText_data()
{
    QTest::addColumn<int>("p");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("offsetAfter");

    QTest::newRow("single") << 1 << u"单选"_s << u"A"_s << 0 << u"第1题"_s << 0;
    QTest::newRow("answer length ignored outside groups")
        << 1 << u"多选"_s << u"ABCD"_s << 0 << u"第1题"_s << 0;
    QTest::newRow("B, three letters") << 2 << u"B"_s << u"ABC"_s << 0 << u"第2题--第4题"_s << 2;
    QTest::newRow("after a group") << 3 << u"单选"_s << u"B"_s << 2 << u"第5题"_s << 2;
    QTest::newRow("A3, one letter") << 3 << u"A3"_s << u"C"_s << 0 << u"第3题--第3题"_s << 0;
    QTest::newRow("A4, two groups before") << 2 << u"A4"_s << u"对错对"_s << 1 << u"第3题--第5题"_s << 3;
    QTest::newRow("grouped without answer counts once") << 2 << u"A3"_s << QString() << 0 << u"第2题"_s << 0;
    QTest::newRow("lower-case b is no group") << 1 << u"b"_s << u"ABC"_s << 0 << u"第1题"_s << 0;
}

void tst_QuestionNumbering::numberText()
{
    QFETCH(int, p);
    QFETCH(QString, type);
    QFETCH(QString, answer);
    QFETCH(int, offset);
    QFETCH(QString, text);
    QFETCH(int, offsetAfter);
    QCOMPARE(QuestionNumbering::text(p, type, answer, &offset), text);
    QCOMPARE(offset, offsetAfter);
}

QTEST_GUILESS_MAIN(tst_QuestionNumbering)
#include "tst_QuestionNumbering.moc"
