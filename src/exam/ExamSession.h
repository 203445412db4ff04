#pragma once

#include "data/QuestionTable.h"
#include "data/WriteResult.h"
#include "exam/ComposeExamPaper.h"

#include <functional>

class QuestionStore;
class StudySession;

/// A mock exam from its start to its end. It is the one place that sets and clears
/// the session's exam mode; while it runs, the questions live in the working set.
class ExamSession final
{
    Q_DISABLE_COPY_MOVE(ExamSession)
public:
    ExamSession(QuestionStore& store, StudySession& session);

    /// Makes the paper with @p makePaper inside one transaction and starts the exam.
    /// When the paper cannot be made, nothing changes and no exam starts.
    WriteResult start(const std::function<WriteResult()>& makePaper);
    /// Draws a random paper for @p request (ComposeExamPaper) and starts the exam on it.
    WriteResult startPaper(const ExamPaperRequest& request, const ComposeProgress& progress = {});
    /// Ends the exam; the working set stays for the grading.
    void end();

    bool isRunning() const;
    /// The table the exam's questions live in while it runs, else the bank.
    QuestionTable table() const;

private:
    QuestionStore& m_store;
    StudySession& m_session;
};
