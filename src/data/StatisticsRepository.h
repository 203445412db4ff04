#pragma once

#include <QString>
#include <QVector>

#include <functional>

class QuestionStore;

/// Questions counted per section.
struct SectionCount
{
    QString code;
    qint64 questions = 0;
    /// Right among them (answered counts only).
    qint64 right = 0;
};

/// A graded exam's score.
struct ExamScoreRow
{
    qint64 finishedAt = 0; ///< UTC seconds
    int score = 0;
    int fullScore = 0;
};

/// What the progress windows count: questions and answers per section, and the passes
/// over the answer history.
namespace StatisticsRepository {

/// The questions of every section in that range.
QVector<SectionCount> questionCounts(
    QuestionStore& store, const QString& from, const QString& below, QString* error);
/// The answered questions of every section in that range, and the right ones among them.
QVector<SectionCount> answeredCounts(
    QuestionStore& store, const QString& from, const QString& below, QString* error);
/// The statements behind the two counts, to check how SQLite answers them.
QString questionCountSql();
QString answeredCountSql();

/// Hands every question of tk to @p each: its code, number and type. False, with the
/// engine's words in @p error, when they cannot all be read.
bool eachQuestionType(QuestionStore& store,
    const std::function<void(const QString& code, qint64 number, const QString& type)>& each, QString* error);
/// Hands every attempt to @p each: the question's key in tk, when it was settled (UTC
/// seconds) and whether it was right.
bool eachAnswer(QuestionStore& store,
    const std::function<void(const QString& code, qint64 number, qint64 answeredAt, bool right)>& each,
    QString* error);
/// Hands the memory of every question in the review schedule to @p each: its stability,
/// difficulty and the day number of its last attempt. Rows without memory are passed over.
bool eachMemory(QuestionStore& store,
    const std::function<void(double stability, double difficulty, qint64 lastDay)>& each, QString* error);
/// The scores of the graded exams in the order they were taken.
bool examScores(QuestionStore& store, QVector<ExamScoreRow>* scores, QString* error);

} // namespace StatisticsRepository
