#include "TestBank.h"
#include "data/ui/BankMessages.h"

#include <QTest>

TestBank::TestBank(const QString& path)
    : m_path(path)
{
    if (!m_store.create(path))
        qFatal("cannot create test bank %s: %s", qPrintable(path),
            qPrintable(BankMessages::reason(m_store.failure())));
}

namespace {

void run(QuestionStore& store, const QString& sql, const QVariantList& params)
{
    const WriteResult result = store.write(sql, params);
    if (!result.isDone())
        qFatal("test bank statement failed: %s", qPrintable(BankMessages::reason(result)));
}

} // namespace

TestBank& TestBank::project(const QString& code, const QString& name)
{
    run(m_store, QStringLiteral("insert into xmdm(代码, 项目) values(?,?)"), { code, name });
    return *this;
}

TestBank& TestBank::subject(const QString& code, const QString& name)
{
    run(m_store, QStringLiteral("insert into kmdm(代码, 科目) values(?,?)"), { code, name });
    return *this;
}

TestBank& TestBank::section(const QString& code, const QString& name)
{
    run(m_store, QStringLiteral("insert into smdm(代码, 细目) values(?,?)"), { code, name });
    return *this;
}

TestBank& TestBank::material(const QString& code, const QString& text)
{
    run(m_store, QStringLiteral("insert into wz(代码, 文字) values(?,?)"), { code, text });
    return *this;
}

TestBank& TestBank::question(const Question& q)
{
    ++m_sj;
    const QString text = q.text.isEmpty() ? QStringLiteral("第%1题的题目").arg(q.number) : q.text;
    run(m_store,
        QStringLiteral("insert into tk(代码, 题号, 题型, 答案, 答题, 收藏否, sj, tg, xx, 选项, 题干, 插图) "
                       "values(?,?,?,?,?,?,?,?,?,?,?,?)"),
        { q.section, q.number, q.type, q.answer, q.given, q.favourite ? -1 : 0, q.sj.isNull() ? QVariant(m_sj) : q.sj,
          text.left(30), text.left(30), text, text, q.image.isEmpty() ? QVariant() : QVariant(q.image) });
    return *this;
}
