#include "progress/ProgressStatistics.h"

#include "data/AnswerRule.h"
#include "data/QuestionStore.h"

#include <QHash>

namespace ProgressStatistics {
namespace {

// The question projects run from K up to but not including W. A code's first character
// is in that range exactly when the whole code is: comparing whole codes lets the
// counting read an index range.
const QString From = QStringLiteral("K");
const QString Below = QStringLiteral("W");

QString key(const QString& code)
{
    return code.toLower();
}

} // namespace

qint64 Row::ratePermille() const
{
    return done == 0 ? 0 : 1000 * right / done;
}

QString Row::rate() const
{
    const qint64 permille = ratePermille();
    const QString whole = QString::number(permille / 10);
    return (permille % 10 == 0 ? whole : whole + u'.' + QString::number(permille % 10)) + u'%';
}

double Row::completionPercent() const
{
    return total == 0 ? 0.0 : 100.0 * double(done) / double(total);
}

QString totalSql()
{
    // The narrow section key holds every question once.
    return QStringLiteral("select 代码, count(代码) from tk where 代码>=? and 代码<? group by 代码");
}

QString answeredSql()
{
    // Only answered questions are in the partial index this condition names.
    return QStringLiteral("select 代码, count(代码), sum(%1) from tk where 代码>=? and 代码<? and %2 "
                          "group by 代码")
        .arg(AnswerRule::rightSql(), AnswerRule::answeredSql());
}

Result compute(QuestionStore& store)
{
    Result result;
    RowSet sections
        = store.query(QStringLiteral("select 代码, 细目 from smdm where 代码>=? and 代码<? order by 代码"),
            { From, Below });
    RowSet totals = store.query(totalSql(), { From, Below });
    RowSet answered = store.query(answeredSql(), { From, Below });
    for (const RowSet* rows : { &sections, &totals, &answered }) {
        if (!rows->isValid()) {
            result.error = rows->error();
            return result;
        }
    }

    QHash<QString, Row> bySection;
    for (; !totals.atEnd(); totals.next())
        bySection[key(totals.field(0).toString())].total = totals.field(1).toLongLong();
    // An answer is either right or wrong: the wrong ones are the rest of the answered.
    for (; !answered.atEnd(); answered.next()) {
        Row& row = bySection[key(answered.field(0).toString())];
        row.done = answered.field(1).toLongLong();
        row.right = answered.field(2).toLongLong();
        row.wrong = row.done - row.right;
    }

    result.sections.reserve(sections.rowCount());
    for (; !sections.atEnd(); sections.next()) {
        Row row = bySection.value(key(sections.field(0).toString()));
        row.code = sections.field(0).toString();
        row.name = sections.field(1).toString();
        result.totals.total += row.total;
        result.totals.done += row.done;
        result.totals.right += row.right;
        result.totals.wrong += row.wrong;
        result.sections.append(row);
    }
    result.totals.name = QStringLiteral("合计");
    result.ok = true;
    return result;
}

} // namespace ProgressStatistics
