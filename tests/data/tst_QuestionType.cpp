#include "data/QuestionType.h"

#include <QTest>

class tst_QuestionType : public QObject
{
    Q_OBJECT

private slots:
    void namesAndKinds_data();
    void namesAndKinds();
    void slotsKeepTheSettingsOrder();
};

void tst_QuestionType::namesAndKinds_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("slot"); // -1: none
    QTest::addColumn<bool>("grouped");

    const struct
    {
        const char16_t* name;
        int slot;
        bool grouped;
    } rows[] = { { u"单选", 0, false }, { u"不定项", 1, false }, { u"简答", 2, false }, { u"综合", 3, false },
                 { u"判断", 4, false }, { u"多选", 5, false },   { u"计算", -1, false }, { u"A4", -1, true },
                 { u"B", -1, true },    { u"A3", -1, true },     { u"b", -1, false },    { u"", -1, false },
                 { u"单选 ", -1, false } };
    for (const auto& row : rows) {
        const QString name = QString::fromUtf16(row.name);
        QTest::newRow(qPrintable(name.isEmpty() ? QStringLiteral("<empty>") : name))
            << name << row.slot << row.grouped;
    }
}

void tst_QuestionType::namesAndKinds()
{
    QFETCH(QString, name);
    QFETCH(int, slot);
    QFETCH(bool, grouped);

    QCOMPARE(QuestionType::slotOf(name).value_or(-1), slot);
    QCOMPARE(QuestionType::isGrouped(name), grouped);
    const QuestionType::Kind kind = QuestionType::kindOf(name);
    // A known name comes back from its kind; any other is Other and has no name.
    QCOMPARE(QuestionType::name(kind), kind == QuestionType::Kind::Other ? QString() : name);
    if (slot >= 0)
        QCOMPARE(QuestionType::slotName(slot), name);
}

void tst_QuestionType::slotsKeepTheSettingsOrder()
{
    const auto names = QuestionType::slotNames();
    QStringList joined;
    for (const QString& n : names)
        joined << n;
    QCOMPARE(joined.join(u','), QStringLiteral("单选,不定项,简答,综合,判断,多选"));
    QVERIFY(QuestionType::slotName(-1).isEmpty());
    QVERIFY(QuestionType::slotName(QuestionType::SlotCount).isEmpty());
}

QTEST_GUILESS_MAIN(tst_QuestionType)
#include "tst_QuestionType.moc"
