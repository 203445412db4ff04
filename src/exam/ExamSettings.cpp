#include "exam/ExamSettings.h"

#include "data/Settings.h"

namespace {

// Only a valid value is written: anything else would be clipped or misread next time.
template <typename Write> bool putValid(const QString& text, int min, int max, Write write)
{
    const std::optional<int> value = ExamSettings::wholeNumber(text, min, max);
    return !value || write(*value);
}

} // namespace

QString ExamSettings::variablePoints()
{
    return QStringLiteral("不固定");
}

bool ExamSettings::hasPoints(QuestionType::TypeSlot slot)
{
    return !QuestionType::isSelfAssessed(QuestionType::slotName(slot));
}

ExamSettings ExamSettings::load()
{
    ExamSettings s;
    for (int slot = 0; slot < QuestionType::SlotCount; ++slot) {
        s.counts[size_t(slot)] = QString::number(Settings::questionCount(slot));
        s.points[size_t(slot)]
            = hasPoints(slot) ? QString::number(Settings::pointsOffered(slot)) : variablePoints();
    }
    s.time = QString::number(Settings::examMinutes());
    return s;
}

bool ExamSettings::save() const
{
    bool ok = true;
    for (int slot = 0; slot < QuestionType::SlotCount; ++slot)
        ok = putValid(counts[size_t(slot)], 0, MaxCount, [slot](int count) {
            return Settings::setQuestionCount(slot, count);
        }) && ok;
    // The other points are only read: 不定项 and 判断 keep what the file holds.
    for (int slot : { 0, 5 })
        ok = putValid(points[size_t(slot)], MinPoints, MaxPoints, [slot](int value) {
            return Settings::setPoints(slot, value);
        }) && ok;
    ok = putValid(time, MinTime, MaxTime, Settings::setExamMinutes) && ok;
    return ok;
}

std::optional<ExamSettings::Refusal> ExamSettings::check() const
{
    // The shown boxes in their order; the hidden 简答 and 综合 counts cannot be corrected there.
    for (int slot : { 0, 5, 4, 1 }) {
        const QString type = QuestionType::slotName(slot);
        if (!wholeNumber(counts[size_t(slot)], 0, MaxCount))
            return Refusal { QStringLiteral("ts_%1").arg(slot),
                QStringLiteral("“%1”的题数必须是 0 到 %2 之间的整数，请重新输入。").arg(type).arg(MaxCount) };
        if (!wholeNumber(points[size_t(slot)], MinPoints, MaxPoints))
            return Refusal { QStringLiteral("df_%1").arg(slot),
                QStringLiteral("“%1”的每小题配分必须是 %2 到 %3 之间的整数，请重新输入。")
                    .arg(type)
                    .arg(MinPoints)
                    .arg(MaxPoints) };
    }
    if (!wholeNumber(time, MinTime, MaxTime))
        return Refusal {
            QStringLiteral("sj"),
            QStringLiteral("考试时间必须是 %1 到 %2 分钟之间的整数，请重新输入。").arg(MinTime).arg(MaxTime)
        };
    return std::nullopt;
}

std::optional<int> ExamSettings::wholeNumber(const QString& text, int min, int max)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 9)
        return std::nullopt;
    for (const QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    const int value = t.toInt();
    if (value < min || value > max)
        return std::nullopt;
    return value;
}
