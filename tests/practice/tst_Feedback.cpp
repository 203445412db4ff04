#include "practice/Feedback.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_Feedback : public QObject
{
    Q_OBJECT

private slots:
    void verdicts_data();
    void verdicts();
};

void tst_Feedback::verdicts_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("given");
    QTest::addColumn<int>("verdict");
    QTest::addColumn<QString>("firstLine");

    using V = AnswerRule::Verdict;
    QTest::newRow("right") << u"单选"_s << u"C"_s << QVariant(u"C"_s) << int(V::Right) << u"回答正确！"_s;
    QTest::newRow("wrong") << u"多选"_s << u"ACD"_s << QVariant(u"AC"_s) << int(V::Wrong)
                           << u"回答错误，您的答案是：AC"_s;
    QTest::newRow("all boxes cleared")
        << u"多选"_s << u"ACD"_s << QVariant(u""_s) << int(V::Unanswered) << u"尚未作答"_s;
    QTest::newRow("absent") << u"判断"_s << u"A"_s << QVariant() << int(V::Unanswered) << u"尚未作答"_s;
    QTest::newRow("self-assessed") << u"简答"_s << u"会做"_s << QVariant(u"不会"_s) << int(V::SelfAssessed)
                                   << u"已记录您的自评：不会"_s;
    QTest::newRow("true/false") << u"A4"_s << u"对"_s << QVariant(u"对"_s) << int(V::Right)
                                << u"回答正确！"_s;
}

void tst_Feedback::verdicts()
{
    QFETCH(QString, type);
    QFETCH(QString, key);
    QFETCH(QVariant, given);
    QFETCH(int, verdict);
    QFETCH(QString, firstLine);

    const AnswerRule::Verdict v = AnswerRule::verdict(type, key, given);
    QCOMPARE(int(v), verdict);
    const QStringList lines = Feedback::text(v, key, given.toString(), QString()).split(u'\n');
    QCOMPARE(lines, QStringList({ firstLine, u"标准答案："_s + key, u"注释与笔记：本题暂无注释或笔记"_s }));
    QCOMPARE(Feedback::text(v, key, given.toString(), u"  见教材第三章  "_s).section(u'\n', 2),
        u"注释与笔记：见教材第三章"_s);
}

QTEST_GUILESS_MAIN(tst_Feedback)
#include "tst_Feedback.moc"
