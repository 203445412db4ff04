#include "SearchBanks.h"

#include "TestBank.h"

#include "data/RowSet.h"
#include "data/ui/BankMessages.h"

using namespace Qt::StringLiterals;
using Q = TestBank::Question;

namespace SearchBanks {
namespace {

void add(TestBank& bank, const QString& code, int number, const QString& type, const QString& key,
    const QVariant& given, const QString& stem, const QString& options)
{
    bank.question(Q(code, number, type, key, given, false, stem));
    if (!bank.store()
             .write(u"update tk set xx=? where 代码=? and 题号=?"_s, { options, code, number })
             .isDone())
        qFatal("cannot set the option extract: %s", qPrintable(BankMessages::reason(bank.store().failure())));
}

} // namespace

void searchBank(TestBank& bank)
{
    bank.project(u"K"_s, u"证券基础"_s)
        .subject(u"K01"_s, u"金融市场"_s)
        .section(u"K0101"_s, u"第一节"_s)
        .section(u"K0102"_s, u"第二节"_s)
        .subject(u"L01"_s, u"分析方法"_s);
    add(bank, u"K0101"_s, 1, u"单选"_s, u"A"_s, u"A"_s, u"证券市场的主体"_s, u"A．投资者 B．发行人"_s);
    add(bank, u"K0101"_s, 2, u"单选"_s, u"B"_s, u"C"_s, u"股票的收益"_s, u"A．股息 B．证券"_s);
    add(bank, u"K0101"_s, 3, u"多选"_s, u"AB"_s, QVariant(), u"Investor's rights"_s,
        u"A．100% 保本 B．50_50"_s);
    add(bank, u"K0101"_s, 4, u"判断"_s, u"A"_s, u""_s, u"债券_利率"_s, u"A．对 B．错"_s);
    add(bank, u"K0102"_s, 5, u"单选"_s, u"C"_s, u"c"_s, u"路径 C:\\data 的含义"_s, u"A．市场 B．基金"_s);
    add(bank, u"K0102"_s, 6, u"单选"_s, u"D"_s, u"A"_s, u"基金的说法"_s, u"A．证券投资 B．股票"_s);
    add(bank, u"K0199"_s, 7, u"单选"_s, u"A"_s, u"A"_s, u"证券交易所"_s, u"A．上交所"_s);
    add(bank, u"L0101"_s, 8, u"单选"_s, u"B"_s, QVariant(), u"技术分析"_s, u"A．K线"_s);
}

void statisticsBank(TestBank& bank)
{
    bank.project(u"J"_s, u"阅读材料"_s)
        .project(u"K"_s, u"证券基础"_s)
        .project(u"V"_s, u"综合练习"_s)
        .project(u"W"_s, u"个人"_s)
        .section(u"V0101"_s, u"最后一节"_s)
        .section(u"K0102"_s, u"第二节"_s)
        .section(u"W0101"_s, u"个人收藏试题"_s)
        .section(u"K0103"_s, u"第三节"_s)
        .section(u"J0101"_s, u"证券法"_s)
        .section(u"K0101"_s, u"第一节"_s);
    const QString single = u"单选"_s;
    bank.question(Q(u"J0101"_s, 1, single, u"A"_s, u"A"_s));
    int n = 0;
    const struct
    {
        const char16_t* key;
        QVariant given;
    } first[]
        = { { u"A", u"A"_s }, { u"B", u"B"_s }, { u"A", u"a"_s }, { u"A", QVariant() }, { u"A", u""_s } };
    for (const auto& q : first)
        bank.question(Q(u"K0101"_s, ++n, single, QString::fromUtf16(q.key), q.given));
    n = 0;
    bank.question(Q(u"K0102"_s, ++n, single, u"B"_s, u"B"_s));
    for (int i = 0; i < 6; ++i)
        bank.question(Q(u"K0102"_s, ++n, single, u"B"_s, u"D"_s));
    bank.question(Q(u"K0102"_s, ++n, u"简答"_s, u""_s, u""_s));
    bank.question(Q(u"V0101"_s, 1, single, u"C"_s, u"C"_s));
    bank.question(Q(u"W0101"_s, 1, single, u"C"_s, u"A"_s));
    bank.question(Q(u"K0199"_s, 1, single, u"C"_s, u"C"_s));
}

QString listed(QuestionStore& store, const QuestionFilters::Selection& selection)
{
    RowSet rows = store.query(selection.sql, selection.params);
    if (!rows.isValid())
        return u"error: "_s + rows.error();
    QStringList hits;
    for (; !rows.atEnd(); rows.next())
        hits << rows.field(u"代码"_s).toString() + u'/' + rows.field(u"题号"_s).toString();
    return hits.join(u' ');
}

} // namespace SearchBanks
