#pragma once

#include "data/QuestionType.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVector>

#include <array>

class QuestionStore;

/// How the candidate's practice went over time, from the answer history and the graded
/// mock exams: answers per day, accuracy per week (overall and per question type) and
/// the exam scores in the order they were taken. Days and weeks are local.
namespace ProgressHistory {

struct Tally
{
    int answers = 0;
    int right = 0;
    /// Right among answered in percent; 0 when nothing was answered.
    double accuracy() const { return answers == 0 ? 0.0 : 100.0 * right / answers; }
};

struct Day
{
    QDate date;
    Tally tally;
};

struct Week
{
    QDate monday;
    Tally tally;
    std::array<Tally, QuestionType::SlotCount> byType {};
};

struct ExamScore
{
    QDateTime finished;
    int score = 0;
    int fullScore = 0;
};

struct Result
{
    bool ok = false;
    QString error;
    /// The last days up to today, oldest first, every day present (zero when idle).
    QVector<Day> days;
    /// Every week with an answer, oldest first.
    QVector<Week> weeks;
    QVector<ExamScore> exams;

    bool hasAnswers() const { return !weeks.isEmpty(); }
};

/// Reads the history of @p store as of @p today, keeping @p dayCount days of daily
/// counts. A bank without the history tables (older, opened read-only) has none.
Result compute(QuestionStore& store, const QDate& today, int dayCount = 30);

} // namespace ProgressHistory
