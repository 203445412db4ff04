#pragma once

#include "data/QuestionType.h"

#include <QDate>
#include <QString>

/// The program's settings by meaning, each with its default, kept in kscs.ini.
/// Nothing is cached: every call reads or writes the file. A setter returns false when
/// the file could not be written; the file then keeps its previous value.
class Settings final
{
public:
    Settings() = delete;

    /// Where the settings are kept, for telling the user.
    static QString path();

    /// Minutes a mock exam lasts.
    static int examMinutes();
    [[nodiscard]] static bool setExamMinutes(int minutes);

    /// Questions of a slot's type in a mock exam paper.
    static int questionCount(QuestionType::TypeSlot slot);
    [[nodiscard]] static bool setQuestionCount(QuestionType::TypeSlot slot, int count);

    /// Points per question of a slot as the score report counts them; 简答 and 综合
    /// share one value.
    static int points(QuestionType::TypeSlot slot);
    /// The same value as the exam settings dialog offers it: there 多选 starts at 2,
    /// while the report counts 1 until a value is written.
    static int pointsOffered(QuestionType::TypeSlot slot);
    [[nodiscard]] static bool setPoints(QuestionType::TypeSlot slot, int points);

    /// Whether a mock-exam paper draws the questions never answered first.
    static bool unseenFirst();
    [[nodiscard]] static bool setUnseenFirst(bool on);

    /// Whether practice shows the verdict at once.
    static bool feedback();
    [[nodiscard]] static bool setFeedback(bool on);

    /// The most questions "今日复习" lists a day.
    static int reviewCap();
    [[nodiscard]] static bool setReviewCap(int questions);
    /// The predicted recall, in percent, below which a practised question is due again.
    static int reviewTarget();
    [[nodiscard]] static bool setReviewTarget(int percent);
    /// The day of the candidate's exam; null until it is set.
    static QDate examDate();
    [[nodiscard]] static bool setExamDate(const QDate& date);
    /// The pass line of a paper, in percent of its full score.
    static int passPercent();
    [[nodiscard]] static bool setPassPercent(int percent);
    /// What @p text would read as if it were a value in the file: its leading whole
    /// number (0 without one), clamped to -32768..32767. Values written outside that
    /// range are clamped the same way.
    static int leadingNumber(const QString& text);
};
