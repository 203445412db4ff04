#include "Fixtures.h"

#include "TestBank.h"

#include "data/QuestionStore.h"

#include <QStringList>

#include <iconv.h>

using namespace Qt::StringLiterals;
using Q = TestBank::Question;

namespace Fixtures {

void practiceCatalogue(TestBank& bank, const QString& materialText)
{
    bank.project(u"J"_s, u"阅读材料"_s)
        .subject(u"J01"_s, u"法规原文"_s)
        .section(u"J0101"_s, u"证券法"_s)
        .project(u"K"_s, u"证券基础"_s)
        .subject(u"K01"_s, u"金融市场"_s)
        .section(u"K0101"_s, u"第一节"_s)
        .section(u"K0102"_s, u"第二节"_s)
        .section(u"K0103"_s, u"第三节"_s)
        .project(u"W"_s, u"个人"_s)
        .subject(u"W01"_s, u"个人题库"_s)
        .section(u"W0101"_s, u"个人收藏试题"_s)
        .section(u"W0102"_s, u"个人做错的题"_s)
        .section(u"W0103"_s, u"个人做过的题"_s);
    if (!materialText.isNull())
        bank.material(u"J0101"_s, materialText);
}

void marketBank(TestBank& bank)
{
    bank.project(u"K"_s, u"证券市场基础知识"_s)
        .subject(u"K01"_s, u"证券市场概述"_s)
        .section(u"K0101"_s, u"证券市场的产生与发展"_s)
        .section(u"K0102"_s, u"股票"_s)
        .section(u"K0103"_s, u"债券"_s)
        .project(u"W"_s, u"个人专区"_s)
        .subject(u"W01"_s, u"收藏"_s)
        .section(u"W0101"_s, u"个人收藏试题"_s);
    bank.question(Q(u"K0101"_s, 1, u"单选"_s, u"A"_s, u"B"_s, false, u"证券市场最早出现在哪个国家？"_s))
        .question(Q(u"K0101"_s, 2, u"多选"_s, u"ABD"_s, u"AB"_s, true, u"下列属于有价证券的有哪些？"_s))
        .question(Q(u"K0101"_s, 3, u"判断"_s, u"A"_s, u"A"_s, false, u"股票是一种有价证券。"_s))
        .question(Q(u"K0101"_s, 4, u"A3"_s, u"AB"_s, u"AB"_s, false, u"阅读下面的材料，回答两个问题。"_s))
        .question(Q(u"K0102"_s, 1, u"单选"_s, u"B"_s, u"B"_s, false, u"股票的基本特征不包括哪一项？"_s))
        .question(Q(u"K0102"_s, 2, u"单选"_s, u"C"_s, QVariant(), false, u"普通股股东享有哪项权利？"_s))
        .question(Q(u"K0102"_s, 5, u"单选"_s, u"D"_s, u"A"_s, false, u"优先股的股息通常如何确定？"_s));
}

void answeredBank(TestBank& bank)
{
    practiceCatalogue(bank);
    const QString k = u"K0101"_s;
    bank.question(Q(k, 1, u"单选"_s, u"A"_s, QVariant()))
        .question(Q(k, 2, u"单选"_s, u"A"_s, u""_s))
        .question(Q(k, 3, u"单选"_s, u"A"_s, u"A"_s))
        .question(Q(k, 4, u"多选"_s, u"AB"_s, u"B"_s))
        .question(Q(k, 5, u"判断"_s, u"B"_s, u"A"_s))
        .question(Q(k, 6, u"计算"_s, u"会做"_s, u"不会"_s))
        .question(Q(k, 7, u"A4"_s, u"对"_s, u"错"_s))
        .question(Q(k, 8, u"B"_s, u"AB"_s, QVariant()))
        .question(Q(k, 9, u"简答"_s, u"会做"_s, u"会做"_s))
        .question(Q(k, 10, u"不定项"_s, u"ACD"_s, u""_s))
        .question(Q(u"K0102"_s, 11, u"单选"_s, u"B"_s, u"C"_s));
}

void favouritesBank(TestBank& bank, const QString& materialText)
{
    practiceCatalogue(bank, materialText);
    const QString k1 = u"K0101"_s;
    const QString k2 = u"K0102"_s;
    bank.question(Q(k1, 1, u"单选"_s, u"A"_s, u"B"_s, true))
        .question(Q(k1, 2, u"单选"_s, u"A"_s, QVariant(), true))
        .question(Q(k1, 3, u"单选"_s, u"A"_s, u"A"_s, true))
        .question(Q(k1, 4, u"单选"_s, u"A"_s, u""_s, true))
        .question(Q(k1, 5, u"单选"_s, u"A"_s, u"B"_s, false))
        .question(Q(k1, 6, u"多选"_s, u"AB"_s, u"AB"_s, true))
        .question(Q(k2, 7, u"判断"_s, u"B"_s, u"A"_s, true))
        .question(Q(k2, 8, u"A4"_s, u"对"_s, u"错"_s, true));
}

void importBank(TestBank& bank)
{
    practiceCatalogue(bank);
    bank.question(Q(u"K0101"_s, 1, u"单选"_s, u"A"_s))
        .question(Q(u"K0101"_s, 5, u"多选"_s, u"AB"_s, u"AB"_s, true));
}

QString importText(QChar separator, const QString& lineBreak)
{
    const QStringList lines {
        u"章节代码,题型,题干,选项,答案,注释"_s,
        u"K0101,单选,\"下列说法中，\"\"正确\"\"的是（    ）。\",甲|B．乙|丙|D. 丁,c,\"第一行笔记"_s,
        u"第二行笔记\""_s,
        u"k0102,多选,证券的种类有（    ）。,\"股票"_s,
        u"债券"_s,
        u"基金\",CA,"_s,
        QString(),
        u"K0102,判断,国债的信用风险低于公司债券。,,A"_s,
    };
    QString text = lines.join(lineBreak) + lineBreak;
    return text.replace(u',', separator);
}

QByteArray gbk(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray out(utf8.size() * 2 + 16, '\0');
    iconv_t cd = iconv_open("GBK", "UTF-8");
    char* in = const_cast<char*>(utf8.constData());
    size_t inLeft = size_t(utf8.size());
    char* to = out.data();
    size_t outLeft = size_t(out.size());
    const size_t converted = iconv(cd, &in, &inLeft, &to, &outLeft);
    iconv_close(cd);
    if (converted == size_t(-1))
        qFatal("cannot write %s in GBK", qPrintable(text));
    out.resize(to - out.data());
    return out;
}

QString questionTable(QuestionStore& store)
{
    return store
        .scalar(u"select count(*)||':'||ifnull(group_concat(r, ';'),'') from (select "
                u"代码||'/'||题号||'/'||题型||'/'||"
                u"ifnull(答案,'<null>')||'/'||ifnull(答题,'<null>')||'/'||收藏否||'/'||ifnull(sj,'')||'/'||"
                u"ifnull(tg,'')||'/'||ifnull(xx,'')||'/'||ifnull(选项,'')||'/'||ifnull(题干,'')||'/'||"
                u"ifnull(zs,'') as r from tk order by 代码, 题号)"_s)
        .toString();
}

QVector<NamedText> awkwardTexts()
{
    return {
        { "quotes", u"他说：\"别买'垃圾股'\"，O'Neil 也这么说"_s },
        { "backslashes", u"路径 C:\\证券\\new\\ 和 \\\\server"_s },
        { "control words", u"\\par 不是换段，{\\b x} 也不加粗，\\u8212? 不是破折号"_s },
        { "braces", u"{ 左括号 }} 右括号 {{ 不成对 }"_s },
        { "emoji", u"上涨📈下跌📉 🐂🐻 👍🏽"_s },
        { "two paragraphs", u"第一段 A\n第二段 B"_s },
    };
}

} // namespace Fixtures
