#pragma once

#include "data/QuestionTable.h"

#include <QString>
#include <QtGlobal>

/// Program-wide state shared by the windows for the whole run.
struct AppState
{
    /// 代码 of the current section or question.
    QString SectionCode;
    /// 题号 of the current question.
    QString QuestionNo;
    /// 1-based row of the current question in the list, 0 before any. 32-bit: a list
    /// may hold far more than 32,767 rows.
    qint32 ListPosition = 0;
    /// Point size of the question text.
    qint16 FontSize = 12;
    /// While set, answers and the question view use the working set kstk. Only the
    /// exam session sets and clears it.
    bool ExamRunning = false;
    /// The last search statement.
    QString SearchSql;

    /// The current question's key (empty before any question was shown).
    QuestionKey currentQuestion() const { return { SectionCode, QuestionNo }; }
};
