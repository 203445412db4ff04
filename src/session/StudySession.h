#pragma once

#include "catalogue/QuestionListModel.h"
#include "data/QuestionTable.h"
#include "session/Stopwatch.h"

#include <QObject>
#include <QString>

/// What the windows share for the whole run: the section the candidate is in, the listed
/// questions with their numbering, the current question, practice or exam, the last search,
/// the question text's size and the practice stopwatch. Windows ask it and follow its signals
/// instead of one another.
class StudySession final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StudySession)
public:
    explicit StudySession(QObject* parent = nullptr);

    /// 代码 of the section opened last, or of the current question.
    QString sectionCode() const { return m_sectionCode; }
    /// A catalogue node was opened (or a question added) in section @p code.
    void enterSection(const QString& code);

    /// The listed questions, numbered for display.
    QuestionListModel& list() { return m_list; }
    const QuestionListModel& list() const { return m_list; }

    /// The current question (empty before any question was shown).
    QuestionKey currentQuestion() const { return { m_sectionCode, m_questionNo }; }
    /// 1-based list row of the current question, 0 before any. 32-bit: a list may hold far
    /// more than 32,767 rows.
    qint32 position() const { return m_position; }
    /// Makes the list row at 1-based @p row current; false (and nothing changes) when the
    /// list has no such row.
    bool showRow(int row);

    /// While an exam runs, answers and the question view use the working set kstk.
    bool isExamRunning() const { return m_examRunning; }
    /// Only the exam session starts and ends an exam.
    void setExamRunning(bool running);
    /// The table the listed questions live in: the working set while an exam runs.
    QuestionTable table() const { return m_examRunning ? QuestionTable::WorkingSet : QuestionTable::Bank; }

    /// The statement of the last search that was asked for; empty when it was cancelled.
    QString searchStatement() const { return m_searchStatement; }
    void setSearchStatement(const QString& sql) { m_searchStatement = sql; }

    /// Point size of the question text.
    int fontSize() const { return m_fontSize; }
    void setFontSize(int points) { m_fontSize = points; }

    Stopwatch& stopwatch() { return m_stopwatch; }

signals:
    void examRunningChanged(bool running);

private:
    QuestionListModel m_list;
    QString m_sectionCode;
    QString m_questionNo;
    qint32 m_position = 0;
    bool m_examRunning = false;
    QString m_searchStatement;
    int m_fontSize = 12;
    Stopwatch m_stopwatch;
};
