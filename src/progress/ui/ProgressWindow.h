#pragma once

#include "progress/ProgressHistory.h"

#include <QDialog>

class QStackedWidget;
class QTabWidget;
class QuestionStore;

/// "学习进度": charts of answers per day, accuracy per week (overall and per question
/// type) and the mock-exam scores in order. Each chart without data says how to get it.
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

private:
    QWidget* page(QWidget* chart, const QString& empty, bool hasData);

    ProgressHistory::Result m_result;
    QTabWidget* m_tabs;
};
