#pragma once

#include "data/WriteResult.h"

#include <QByteArrayView>
#include <QString>
#include <QVector>

#include <functional>
#include <optional>

class QuestionStore;

/// One question as the score forecast reads it. The texts last only during the call.
struct ForecastQuestion
{
    qint64 rowid = 0; ///< in tk; 0 for a paper's question
    QByteArrayView code;
    qint64 number = 0;
    QByteArrayView type;
    /// Whether the review schedule has a row for it, and that row's last day when it has one.
    bool scheduled = false;
    std::optional<qint64> scheduledDay;
    /// The characters of the key: a short answer scores one point for each.
    int keyLength = 0;
    /// Whether the question has a memory in the review schedule, and that memory.
    bool practised = false;
    double stability = 0;
    qint64 lastDay = 0;
    /// 1 or 0 for the first attempt, -1 when not known.
    int firstRight = -1;
};

/// The attempts of one section at questions of one type.
struct AttemptSummaryRow
{
    QString code;
    QString type;
    qint64 attempts = 0;
    qint64 right = 0;
    qint64 seconds = 0;
};

/// What was predicted of a paper before it was answered.
struct PaperForecastRow
{
    double expected = 0;
    int low = 0;
    int high = 0;
    int passLine = 0;
    double passChance = 0;
};

/// A graded exam with the forecast of its paper.
struct ForecastedExam
{
    qint64 finishedAt = 0; ///< UTC seconds
    int score = 0;
    int fullScore = 0;
    PaperForecastRow forecast;
};

/// What the score forecast reads: the questions with their memory, the attempts per
/// section and type, and the forecasts of the exams.
namespace ForecastRepository {

/// Every question of tk, in the order of their keys; keyLength is not read.
bool eachQuestion(
    QuestionStore& store, const std::function<void(const ForecastQuestion&)>& each, QString* error);
/// How many questions of type @p type tk holds and the characters of their keys.
bool keyCharacters(
    QuestionStore& store, const QString& type, qint64* questions, qint64* characters, QString* error);
/// Every question of the exam paper in kstk, with the memory of its original in tk.
bool eachPaperQuestion(
    QuestionStore& store, const std::function<void(const ForecastQuestion&)>& each, QString* error);

bool attemptSummary(QuestionStore& store, QVector<AttemptSummaryRow>* rows, QString* error);

/// Keeps the forecast of the paper just drawn, in place of one whose paper was never graded.
WriteResult keepPaperForecast(QuestionStore& store, const PaperForecastRow& forecast);
/// Joins the kept forecast to the exam result recorded last, within the caller's transaction.
WriteResult attachPaperForecast(QuestionStore& store);
/// The forecast of the exam result recorded last, if its paper had one.
bool lastExamForecast(QuestionStore& store, PaperForecastRow* forecast);
/// The graded exams that had a forecast, oldest first.
bool forecastedExams(QuestionStore& store, QVector<ForecastedExam>* exams, QString* error);

} // namespace ForecastRepository
