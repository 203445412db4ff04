#include "data/Settings.h"

#include "data/sh_diraduvod.h"

#include <algorithm>
#include <limits>

namespace {

const QString ExamSection = QStringLiteral("kscs"); // 考试参数: the mock exam's settings
const QString PracticeSection = QStringLiteral("practice");

const QString ExamMinutesKey = QStringLiteral("kssj"); // 考试时间: a mock exam's minutes
constexpr int DefaultExamMinutes = 60;

// By slot; the letters are not the A3, A4 and B question types.
const char* const CountKeys[QuestionType::SlotCount] = {
    "A1TS", // 题数: questions of 单选 in a paper
    "A2TS", // 题数 of 不定项
    "A3TS", // 题数 of 简答
    "A4TS", // 题数 of 综合
    "BTS", // 题数 of 判断
    "XTS", // 题数 of 多选
};
constexpr int DefaultCounts[QuestionType::SlotCount] = { 20, 5, 5, 3, 10, 10 };

const char* const PointsKeys[QuestionType::SlotCount] = {
    "A1DF", // 得分: points one 单选 question is worth
    "A2DF", // 得分 of 不定项
    "A3DF", // 得分 of 简答
    "A3DF", // 综合 has no key of its own and reads 简答's
    "BDF", // 得分 of 判断
    "XDF", // 得分 of 多选
};
constexpr int DefaultPoints = 1;
constexpr QuestionType::TypeSlot MultipleChoiceSlot = 5;
constexpr int DefaultMultipleChoicePointsOffered = 2;

const QString UnseenFirstKey = QStringLiteral("unseenfirst"); // 1 when papers draw the unanswered first
constexpr bool DefaultUnseenFirst = false;

const QString FeedbackKey = QStringLiteral("feedback"); // 1 when practice shows the verdict at once
constexpr bool DefaultFeedback = false;
const QString ReviewCapKey = QStringLiteral("reviewcap"); // questions "今日复习" lists a day
constexpr int DefaultReviewCap = 200;
const QString ReviewTargetKey = QStringLiteral("reviewtarget"); // recall in percent
constexpr int DefaultReviewTarget = 90;
// The file holds small whole numbers: the exam day is kept as its year, month and day.
const QString ExamYearKey = QStringLiteral("examyear");
const QString ExamMonthKey = QStringLiteral("exammonth");
const QString ExamDayKey = QStringLiteral("examday");
const QString PassPercentKey = QStringLiteral("passpercent"); // the pass line in percent of the full score
constexpr int DefaultPassPercent = 60;

qint16 clamped(int value)
{
    return qint16(
        std::clamp<int>(value, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()));
}

int get(const QString& section, const QString& key, int defaultValue)
{
    return sh_diraduvod::GetIniInt(section, key, clamped(defaultValue));
}

bool put(const QString& section, const QString& key, int value)
{
    return sh_diraduvod::PutIniInt(section, key, clamped(value));
}

bool validSlot(QuestionType::TypeSlot slot)
{
    return slot >= 0 && slot < QuestionType::SlotCount;
}

} // namespace

QString Settings::path()
{
    return sh_diraduvod::IniPath();
}

int Settings::examMinutes()
{
    return get(ExamSection, ExamMinutesKey, DefaultExamMinutes);
}

bool Settings::setExamMinutes(int minutes)
{
    return put(ExamSection, ExamMinutesKey, minutes);
}

int Settings::questionCount(QuestionType::TypeSlot slot)
{
    Q_ASSERT(validSlot(slot));
    return get(ExamSection, QLatin1String(CountKeys[slot]), DefaultCounts[slot]);
}

bool Settings::setQuestionCount(QuestionType::TypeSlot slot, int count)
{
    Q_ASSERT(validSlot(slot));
    return put(ExamSection, QLatin1String(CountKeys[slot]), count);
}

int Settings::points(QuestionType::TypeSlot slot)
{
    Q_ASSERT(validSlot(slot));
    return get(ExamSection, QLatin1String(PointsKeys[slot]), DefaultPoints);
}

int Settings::pointsOffered(QuestionType::TypeSlot slot)
{
    Q_ASSERT(validSlot(slot));
    const int defaultValue = slot == MultipleChoiceSlot ? DefaultMultipleChoicePointsOffered : DefaultPoints;
    return get(ExamSection, QLatin1String(PointsKeys[slot]), defaultValue);
}

bool Settings::setPoints(QuestionType::TypeSlot slot, int points)
{
    Q_ASSERT(validSlot(slot));
    return put(ExamSection, QLatin1String(PointsKeys[slot]), points);
}

bool Settings::unseenFirst()
{
    return get(ExamSection, UnseenFirstKey, DefaultUnseenFirst ? 1 : 0) != 0;
}

bool Settings::setUnseenFirst(bool on)
{
    return put(ExamSection, UnseenFirstKey, on ? 1 : 0);
}

bool Settings::feedback()
{
    return get(PracticeSection, FeedbackKey, DefaultFeedback ? 1 : 0) != 0;
}

bool Settings::setFeedback(bool on)
{
    return put(PracticeSection, FeedbackKey, on ? 1 : 0);
}

int Settings::reviewCap()
{
    const int cap = get(PracticeSection, ReviewCapKey, DefaultReviewCap);
    return cap > 0 ? cap : DefaultReviewCap;
}

bool Settings::setReviewCap(int questions)
{
    return put(PracticeSection, ReviewCapKey, questions);
}

QDate Settings::examDate()
{
    const QDate date(get(PracticeSection, ExamYearKey, 0), get(PracticeSection, ExamMonthKey, 0),
        get(PracticeSection, ExamDayKey, 0));
    return date.isValid() ? date : QDate();
}

bool Settings::setExamDate(const QDate& date)
{
    return put(PracticeSection, ExamYearKey, date.year()) && put(PracticeSection, ExamMonthKey, date.month())
        && put(PracticeSection, ExamDayKey, date.day());
}

int Settings::reviewTarget()
{
    // Outside this range the schedule would review all the time or almost never.
    const int target = get(PracticeSection, ReviewTargetKey, DefaultReviewTarget);
    return target >= 70 && target <= 97 ? target : DefaultReviewTarget;
}

bool Settings::setReviewTarget(int percent)
{
    return put(PracticeSection, ReviewTargetKey, percent);
}

int Settings::passPercent()
{
    const int percent = get(PracticeSection, PassPercentKey, DefaultPassPercent);
    return percent >= 1 && percent <= 100 ? percent : DefaultPassPercent;
}

bool Settings::setPassPercent(int percent)
{
    return put(PracticeSection, PassPercentKey, percent);
}

int Settings::leadingNumber(const QString& text)
{
    return sh_diraduvod::ParseIniInt(text.toUtf8());
}
