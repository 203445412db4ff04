#pragma once

#include "forecast/PaperForecast.h"
#include "progress/ProgressHistory.h"
#include "progress/ReviewPlan.h"

#include <QDialog>

class QDateEdit;
class QLabel;
class QSpinBox;
class QStackedWidget;
class QTabWidget;
class QuestionStore;

/// "学习进度": charts of answers per day, accuracy per week (overall and per question
/// type), the mock-exam scores in order, the review plan to the exam day with its
/// settings, the expected score with the pass chance, and the weak spots. Each chart
/// without data says how to get it.
class ProgressWindow final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProgressWindow)
public:
    explicit ProgressWindow(
        QuestionStore& store, QWidget* parent = nullptr, const QDate& today = QDate::currentDate());

    const ProgressHistory::Result& result() const { return m_result; }

    /// The text shown in place of a chart without data; empty when the chart shows.
    QString emptyText(int tab) const;

    static QString noAnswersText();
    static QString noExamsText();
    static QString noExamDateText();
    static QString nothingPractisedText();

    const ReviewPlan::Result& plan() const { return m_plan; }
    /// The line under the plan's chart.
    QString planSummary() const;

signals:
    /// A weak spot's "练习": the window closes, and the candidate wants section @p code.
    void practiseRequested(const QString& code);

private:
    QWidget* page(QWidget* chart, const QString& empty, bool hasData);
    QWidget* planTab();
    /// Reads the settings of the plan's controls, saves them, and draws the plan again.
    void planChanged();
    void showPlan();

    QuestionStore& m_store;
    QDate m_today;
    ReviewPlan::Result m_plan;
    QDateEdit* m_examDate = nullptr;
    QSpinBox* m_reviewCap = nullptr;
    QSpinBox* m_reviewTarget = nullptr;
    QStackedWidget* m_planPage = nullptr;
    QLabel* m_planSummary = nullptr;

    ProgressHistory::Result m_result;
    // The forecast and the weak spots read the bank once.
    QString m_outlookError;
    std::optional<BankOutlook> m_outlook;
    QTabWidget* m_tabs;
};
