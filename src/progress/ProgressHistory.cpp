#include "progress/ProgressHistory.h"

#include "data/BankSchema.h"
#include "data/BankTables.h"
#include "data/StatisticsRepository.h"

#include <QDateTime>
#include <QHash>
#include <QMap>

namespace ProgressHistory {
namespace {

// Questions by section and number; 代码 compares without Latin case in the bank. Sections
// are few: each gets a small number, and a question is that and its number in one word.
class QuestionKeys
{
public:
    quint64 key(const QString& code, qint64 number)
    {
        if (code != m_lastCode) {
            m_lastCode = code;
            const QString folded = code.toLower();
            auto it = m_sections.constFind(folded);
            if (it == m_sections.constEnd())
                it = m_sections.insert(folded, quint64(m_sections.size()));
            m_lastSection = *it;
        }
        return (m_lastSection << 32) ^ quint64(quint32(number));
    }

private:
    QHash<QString, quint64> m_sections;
    QString m_lastCode;
    quint64 m_lastSection = 0;
};

// The candidate's calendar day of a moment: the zone's offset is looked up once per quarter
// of an hour, where zones change it, instead of once per attempt.
class LocalDays
{
public:
    QDate dayOf(qint64 secs)
    {
        const qint64 quarter = secs >= 0 ? secs / 900 : (secs - 899) / 900;
        auto it = m_offsets.constFind(quarter);
        if (it == m_offsets.constEnd())
            it = m_offsets.insert(quarter, QDateTime::fromSecsSinceEpoch(quarter * 900).offsetFromUtc());
        const qint64 local = secs + *it;
        const qint64 days = local >= 0 ? local / 86400 : (local - 86399) / 86400;
        return QDate::fromJulianDay(UnixEpochJulianDay + days);
    }

private:
    static constexpr qint64 UnixEpochJulianDay = 2440588;
    QHash<qint64, int> m_offsets;
};

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
    QuestionKeys keys;
    QHash<quint64, QuestionType::TypeSlot> typeOf;
    const bool typesRead = StatisticsRepository::eachQuestionType(
        store,
        [&](const QString& code, qint64 number, const QString& type) {
            if (const auto slot = QuestionType::slotOf(type))
                typeOf.insert(keys.key(code, number), *slot);
        },
        &result.error);
    if (!typesRead)
        return result;

    QMap<QDate, Week> weeks;
    LocalDays days;
    QDate lastMonday;
    Week* week = nullptr;
    const bool historyRead = StatisticsRepository::eachAnswer(
        store,
        [&](const QString& code, qint64 number, qint64 answeredAt, bool right) {
            const QDate day = days.dayOf(answeredAt);
            const auto add = [right](Tally& tally) {
                ++tally.answers;
                tally.right += right ? 1 : 0;
            };
            if (day >= firstDay && day <= today)
                add(result.days[int(firstDay.daysTo(day))].tally);
            const QDate monday = day.addDays(1 - day.dayOfWeek());
            if (!week || monday != lastMonday) {
                week = &weeks[monday];
                week->monday = monday;
                lastMonday = monday;
            }
            add(week->tally);
            const auto slot = typeOf.constFind(keys.key(code, number));
            if (slot != typeOf.constEnd())
                add(week->byType[size_t(*slot)]);
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
