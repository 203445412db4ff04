#include "exam/ExamSettings.h"

#include "data/sh_diraduvod.h"

namespace {

const QString Section = QStringLiteral("kscs");

// The keys by slot; slot 3 has no points key of its own.
const char* const CountKeys[QuestionType::SlotCount] = { "A1TS", "A2TS", "A3TS", "A4TS", "BTS", "XTS" };
const char* const PointsKeys[QuestionType::SlotCount] = { "A1DF", "A2DF", nullptr, nullptr, "BDF", "XDF" };
constexpr int CountDefaults[QuestionType::SlotCount] = { 20, 5, 5, 3, 10, 10 };
constexpr int PointsDefaults[QuestionType::SlotCount] = { 1, 1, 0, 0, 1, 2 };
constexpr int TimeDefault = 60;

QString key(const char* name)
{
    return QString::fromLatin1(name);
}

int get(const char* name, int defaultValue)
{
    return sh_diraduvod::GetIniInt(Section, key(name), qint16(defaultValue));
}

// Only a valid value is written: anything else would be clipped or misread next time.
bool put(const char* name, const QString& text, int min, int max, bool* anyWritten)
{
    const std::optional<int> value = ExamSettings::wholeNumber(text, min, max);
    if (!value)
        return true;
    *anyWritten = true;
    return sh_diraduvod::PutIniInt(Section, key(name), qint16(*value));
}

} // namespace

QString ExamSettings::variablePoints()
{
    return QStringLiteral("不固定");
}

bool ExamSettings::hasPoints(QuestionType::TypeSlot slot)
{
    return PointsKeys[slot] != nullptr;
}

ExamSettings ExamSettings::load()
{
    ExamSettings s;
    for (int slot = 0; slot < QuestionType::SlotCount; ++slot) {
        s.counts[size_t(slot)] = QString::number(get(CountKeys[slot], CountDefaults[slot]));
        s.points[size_t(slot)] = hasPoints(slot)
            ? QString::number(get(PointsKeys[slot], PointsDefaults[slot]))
            : variablePoints();
    }
    s.time = QString::number(get("kssj", TimeDefault));
    return s;
}

bool ExamSettings::save() const
{
    bool ok = true;
    bool anyWritten = false;
    for (int slot = 0; slot < QuestionType::SlotCount; ++slot)
        ok = put(CountKeys[slot], counts[size_t(slot)], 0, MaxCount, &anyWritten) && ok;
    // The other points keys are only read: 不定项 and 判断 keep what the file holds.
    ok = put("A1DF", points[0], MinPoints, MaxPoints, &anyWritten) && ok;
    ok = put("XDF", points[5], MinPoints, MaxPoints, &anyWritten) && ok;
    ok = put("kssj", time, MinTime, MaxTime, &anyWritten) && ok;
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
