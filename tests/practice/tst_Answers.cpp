#include "practice/Answers.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Answers::Panel)

// The answer encodings: what each panel writes into 答题 and how a stored answer is shown.
class tst_Answers : public QObject
{
    Q_OBJECT

private slots:
    void panelFor_data();
    void panelFor();
    void multipleChoiceRoundTrip_data();
    void multipleChoiceRoundTrip();
    void ticksForIgnoresOtherCharacters_data();
    void ticksForIgnoresOtherCharacters();
    void optionFor_data();
    void optionFor();
    void optionLetter_data();
    void optionLetter();
    void captions_data();
    void captions();
};

namespace {

// "x" for a ticked box, "." otherwise, A to E.
QString marks(const std::array<bool, 5>& ticks)
{
    QString m;
    for (const bool on : ticks)
        m += QChar(on ? u'x' : u'.');
    return m;
}

std::array<bool, 5> ticksOf(const QString& marks)
{
    std::array<bool, 5> ticks {};
    for (size_t i = 0; i < ticks.size(); ++i)
        ticks[i] = marks.at(qsizetype(i)) == u'x';
    return ticks;
}

} // namespace

void tst_Answers::panelFor_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<Answers::Panel>("panel");
    using P = Answers::Panel;
    QTest::newRow("多选") << u"多选"_s << P::MultipleChoice;
    QTest::newRow("不定项") << u"不定项"_s << P::MultipleChoice;
    QTest::newRow("单选") << u"单选"_s << P::SingleChoice;
    QTest::newRow("判断") << u"判断"_s << P::SingleChoice;
    QTest::newRow("计算") << u"计算"_s << P::SelfAssessment;
    QTest::newRow("简答") << u"简答"_s << P::SelfAssessment;
    QTest::newRow("综合") << u"综合"_s << P::SelfAssessment;
    QTest::newRow("A4") << u"A4"_s << P::TrueFalse;
    // The other grouped kinds and unknown types leave the panels as they were.
    QTest::newRow("B") << u"B"_s << P::None;
    QTest::newRow("A3") << u"A3"_s << P::None;
    QTest::newRow("a4") << u"a4"_s << P::None;
    QTest::newRow("填空") << u"填空"_s << P::None;
    QTest::newRow("empty") << QString() << P::None;
}

void tst_Answers::panelFor()
{
    QFETCH(QString, type);
    QFETCH(Answers::Panel, panel);
    QCOMPARE(Answers::panelFor(type), panel);
}

void tst_Answers::multipleChoiceRoundTrip_data()
{
    QTest::addColumn<QString>("ticked");
    QTest::addColumn<QString>("stored");
    QTest::newRow("none") << u"....."_s << QString();
    QTest::newRow("A") << u"x...."_s << u"A"_s;
    QTest::newRow("ACD in box order") << u"x.xx."_s << u"ACD"_s;
    QTest::newRow("all") << u"xxxxx"_s << u"ABCDE"_s;
    QTest::newRow("E") << u"....x"_s << u"E"_s;
}

void tst_Answers::multipleChoiceRoundTrip()
{
    QFETCH(QString, ticked);
    QFETCH(QString, stored);
    QCOMPARE(Answers::multipleChoice(ticksOf(ticked)), stored);
    QCOMPARE(marks(Answers::ticksFor(stored)), ticked);
}

void tst_Answers::ticksForIgnoresOtherCharacters_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("ticked");
    QTest::newRow("out of order") << u"CA"_s << u"x.x.."_s;
    QTest::newRow("a digit") << u"A2"_s << u"x...."_s;
    QTest::newRow("lower case") << u"ab"_s << u"....."_s;
    QTest::newRow("past E") << u"FD"_s << u"...x."_s;
    QTest::newRow("repeated") << u"BB"_s << u".x..."_s;
    QTest::newRow("Chinese") << u"会做"_s << u"....."_s;
}

void tst_Answers::ticksForIgnoresOtherCharacters()
{
    QFETCH(QString, given);
    QFETCH(QString, ticked);
    QCOMPARE(marks(Answers::ticksFor(given)), ticked);
}

void tst_Answers::optionFor_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<int>("option");
    QTest::newRow("A") << u"A"_s << 0;
    QTest::newRow("E") << u"E"_s << 4;
    QTest::newRow("two letters") << u"AB"_s << -1;
    QTest::newRow("empty") << QString() << -1;
    QTest::newRow("lower case") << u"a"_s << -1;
    QTest::newRow("past E") << u"F"_s << -1;
    QTest::newRow("对") << u"对"_s << -1;
}

void tst_Answers::optionFor()
{
    QFETCH(QString, given);
    QFETCH(int, option);
    QCOMPARE(Answers::optionFor(given), option);
    if (option >= 0)
        QCOMPARE(Answers::optionLetter(option), given);
}

void tst_Answers::optionLetter_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("letter");
    QTest::newRow("0") << 0 << u"A"_s;
    QTest::newRow("2") << 2 << u"C"_s;
    QTest::newRow("4") << 4 << u"E"_s;
    QTest::newRow("-1") << -1 << QString();
    QTest::newRow("5") << 5 << QString();
}

void tst_Answers::optionLetter()
{
    QFETCH(int, index);
    QFETCH(QString, letter);
    QCOMPARE(Answers::optionLetter(index), letter);
}

void tst_Answers::captions_data()
{
    QTest::addColumn<QVariant>("given");
    QTest::addColumn<QString>("stored"); // storedCaption
    QTest::addColumn<QString>("entered"); // entryCaption
    QTest::newRow("absent") << QVariant() << u"()"_s << u"(  )"_s;
    QTest::newRow("empty") << QVariant(u""_s) << u"(    )"_s << u"(  )"_s;
    QTest::newRow("AC") << QVariant(u"AC"_s) << u"(AC)"_s << u"( AC )"_s;
    QTest::newRow("会做") << QVariant(u"会做"_s) << u"(会做)"_s << u"( 会做 )"_s;
}

void tst_Answers::captions()
{
    QFETCH(QVariant, given);
    QFETCH(QString, stored);
    QFETCH(QString, entered);
    QCOMPARE(Answers::storedCaption(given), stored);
    QCOMPARE(Answers::entryCaption(given.toString()), entered);
}

QTEST_GUILESS_MAIN(tst_Answers)
#include "tst_Answers.moc"
