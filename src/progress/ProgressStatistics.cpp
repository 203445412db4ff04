#include "progress/ProgressStatistics.h"

#include "data/CatalogueRepository.h"
#include "data/StatisticsRepository.h"

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

Result compute(QuestionStore& store)
{
    Result result;
    const QVector<CodeName> sections
        = CatalogueRepository::sectionsBetween(store, From, Below, &result.error);
    if (!result.error.isEmpty())
        return result;
    const QVector<SectionCount> totals
        = StatisticsRepository::questionCounts(store, From, Below, &result.error);
    if (!result.error.isEmpty())
        return result;
    const QVector<SectionCount> answered
        = StatisticsRepository::answeredCounts(store, From, Below, &result.error);
    if (!result.error.isEmpty())
        return result;

    QHash<QString, Row> bySection;
    for (const SectionCount& total : totals)
        bySection[key(total.code)].total = total.questions;
    // An answer is either right or wrong: the wrong ones are the rest of the answered.
    for (const SectionCount& done : answered) {
        Row& row = bySection[key(done.code)];
        row.done = done.questions;
        row.right = done.right;
        row.wrong = row.done - row.right;
    }

    result.sections.reserve(sections.size());
    for (const CodeName& section : sections) {
        Row row = bySection.value(key(section.code));
        row.code = section.code;
        row.name = section.name;
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
