#pragma once

#include "data/ForecastRepository.h"
#include "forecast/PaperForecast.h"

#include <QString>
#include <QVector>

/// Where an hour of practice pays most on the paper, and where the candidate is slow but
/// right or fast but wrong.
namespace WeakSpots {

/// A section ranked by what an hour of practice in it is expected to add to the score.
struct Section
{
    QString code;
    int questions = 0;
    /// The mean chance of answering its questions right today.
    double chance = 0;
    /// How many of its questions a paper is expected to hold.
    double onPaper = 0;
    /// The candidate's seconds per question there (their overall mean when they have none).
    double secondsPerQuestion = 0;
    /// The points an hour of practice is expected to add.
    double gainPerHour = 0;
};

/// Practice is taken to bring a question to @p target recall; an hour covers the questions
/// of lowest chance first. Sections whose questions a paper cannot hold are left out; the
/// best first.
QVector<Section> bySection(const BankOutlook& outlook, const PaperPlan& plan,
    const QVector<AttemptSummaryRow>& attempts, double target);

/// Attempts of one section at questions of one type, set against the candidate's own mean.
struct Pace
{
    QString code;
    QString type;
    qint64 attempts = 0;
    double rightShare = 0;
    double secondsPerQuestion = 0;
};
struct Paces
{
    QVector<Pace> slowButRight;
    QVector<Pace> fastButWrong;
    double rightShare = 0; ///< the candidate's overall
    double secondsPerQuestion = 0;
};
/// With at least MinAttempts attempts: slow but right is at least the overall share right
/// taking half again the mean time; fast but wrong is ten points or more below the share
/// right taking no more than three quarters of the mean time. The most marked first.
Paces paces(const QVector<AttemptSummaryRow>& attempts);
constexpr int MinAttempts = 10;

/// Seconds per question taken when the candidate has no attempt at all.
constexpr double DefaultSeconds = 60;

} // namespace WeakSpots
