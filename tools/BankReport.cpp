#include "BankReport.h"
#include "Counted.h"

#include "catalogue/Catalogue.h"
#include "data/QuestionStore.h"

#include <QHash>

void printBankReport(QuestionStore& store, QTextStream& out)
{
    QHash<QString, qlonglong> perSection;
    RowSet counts = store.query(QStringLiteral("select 代码, count(*) as n from tk group by 代码"));
    for (; !counts.atEnd(); counts.next())
        perSection.insert(counts.field(QStringLiteral("代码")).toString().toUpper(),
                          counts.field(QStringLiteral("n")).toLongLong());

    // The catalogue as the program shows it, without rewriting the bank's tree table.
    RowSet projects = store.query(QStringLiteral("select 代码, 项目 from xmdm order by 代码"));
    RowSet subjects = store.query(QStringLiteral("select 代码, 科目 from kmdm order by 代码"));
    RowSet sections = store.query(QStringLiteral("select 代码, 细目 from smdm order by 代码"));
    qlonglong listed = 0;
    for (; !projects.atEnd(); projects.next()) {
        const QString p = projects.field(QStringLiteral("代码")).toString();
        out << p << "  " << projects.field(QStringLiteral("项目")).toString() << '\n';
        for (subjects.first(); !subjects.atEnd(); subjects.next()) {
            const QString s = subjects.field(QStringLiteral("代码")).toString();
            if (s.left(1).compare(p, Qt::CaseInsensitive) != 0)
                continue;
            out << "  " << s << "  " << subjects.field(QStringLiteral("科目")).toString() << '\n';
            for (sections.first(); !sections.atEnd(); sections.next()) {
                const QString c = sections.field(QStringLiteral("代码")).toString();
                if (c.left(3).compare(s, Qt::CaseInsensitive) != 0)
                    continue;
                const qlonglong n = perSection.value(c.toUpper());
                listed += n;
                out << "    " << c << "  " << sections.field(QStringLiteral("细目")).toString();
                if (c.at(0) < u'K')
                    out << "  (text material)";
                else
                    out << "  " << counted(n, "question");
                out << '\n';
            }
        }
    }

    out << '\n' << "questions by type:\n";
    RowSet types = store.query(QStringLiteral("select 题型, count(*) as n from tk group by 题型 order by 题型"));
    qlonglong total = 0;
    for (; !types.atEnd(); types.next()) {
        total += types.field(QStringLiteral("n")).toLongLong();
        out << "  " << types.field(QStringLiteral("题型")).toString() << "  " << types.field(QStringLiteral("n")).toLongLong()
            << '\n';
    }
    out << "total: " << counted(total, "question");
    if (listed != total)
        out << " (" << total - listed << " in sections missing from the catalogue)";
    out << ", " << counted(store.scalar(QStringLiteral("select count(*) from tk where 收藏否=-1")).toLongLong(), "favourite")
        << ", " << store.scalar(QStringLiteral("select count(*) from tk where 插图 is not null")).toLongLong()
        << " illustrated, " << counted(store.scalar(QStringLiteral("select count(*) from wz")).toLongLong(), "text material")
        << '\n';
}
