#include "progress/ProgressHistory.h"

#include "data/BankSchema.h"
#include "data/BankTables.h"
#include "data/StatisticsRepository.h"

#include <QHash>
#include <QMap>

namespace ProgressHistory {
namespace {

// 代码 compares without Latin case in the bank.
QString questionKey(const QString& code, qint64 number)
{
    return code.toLower() + u'/' + QString::number(number);
}

} // namespace

Result compute(QuestionStore& store, const QDate& today, int dayCount)
{
    namespace T = BankTables::Table;
    Result result;
    const QDate firstDay = today.addDays(1 - qMax(1, dayCount));
    for (QDate d = firstDay; d <= today; d = d.addDays(1))
        result.days.append({ d, {} });
    if (!BankSchema::hasTable(store, T::Attempts.toString())) {
        result.ok = true;
        return result;
    }

    // The type of each question, in one pass: a join per history row would look each one up again.
    QHash<QString, QuestionType::TypeSlot> typeOf;
    const bool typesRead = StatisticsRepository::eachQuestionType(
        store,
        [&typeOf](const QString& code, qint64 number, const QString& type) {
            if (const auto slot = QuestionType::slotOf(type))
                typeOf.insert(questionKey(code, number), *slot);
        },
        &result.error);
    if (!typesRead)
        return result;

    QMap<QDate, Week> weeks;
    const bool historyRead = StatisticsRepository::eachAnswer(
        store,
        [&](const QString& code, qint64 number, qint64 answeredAt, bool right) {
            const QDate day = QDateTime::fromSecsSinceEpoch(answeredAt).date();
            const auto add = [right](Tally& tally) {
                ++tally.answers;
                tally.right += right ? 1 : 0;
            };
            if (day >= firstDay && day <= today)
                add(result.days[int(firstDay.daysTo(day))].tally);
            const QDate monday = day.addDays(1 - day.dayOfWeek());
            Week& week = weeks[monday];
            week.monday = monday;
            add(week.tally);
            const auto slot = typeOf.constFind(questionKey(code, number));
            if (slot != typeOf.constEnd())
                add(week.byType[size_t(*slot)]);
        },
        &result.error);
    if (!historyRead)
        return result;
    result.weeks = QVector<Week>(weeks.begin(), weeks.end());

    if (BankSchema::hasTable(store, T::ExamResults.toString())) {
        QVector<ExamScoreRow> scores;
        if (!StatisticsRepository::examScores(store, &scores, &result.error))
            return result;
        for (const ExamScoreRow& score : scores)
            result.exams.append(
                { QDateTime::fromSecsSinceEpoch(score.finishedAt), score.score, score.fullScore });
    }
    result.ok = true;
    return result;
}

} // namespace ProgressHistory
