#pragma once

#include "forecast/PaperForecast.h"

#include <QWidget>

#include <optional>

class QLabel;
class QSpinBox;
class QTableWidget;
class QuestionStore;

/// "预计得分": the score the paper of the mock-exam settings is expected to get today, its
/// interval and the chance to pass, with the pass line to set; and, once the candidate has
/// graded enough mock exams, how their forecasts fared.
class ForecastPage final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ForecastPage)
public:
    ForecastPage(QuestionStore& store, const std::optional<BankOutlook>& outlook, const QString& readError,
        QWidget* parent = nullptr);

    const ScoreForecast& forecast() const { return m_forecast; }

    /// The lines as shown.
    static QString scoreText(const ScoreForecast& forecast);
    static QString passText(const ScoreForecast& forecast);
    static QString paperText(const PaperPlan& plan);

private:
    void passLineChanged();
    void showForecast();
    void showOwnExams(QuestionStore& store);

    const std::optional<BankOutlook>& m_outlook;
    PaperPlan m_plan;
    ScoreForecast m_forecast;
    QLabel* m_expectedScore;
    QLabel* m_passChance;
    QSpinBox* m_passPercent;
    QLabel* m_calibration;
    QTableWidget* m_exams;
};
