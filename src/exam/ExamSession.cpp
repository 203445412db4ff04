#include "exam/ExamSession.h"

#include "data/AppState.h"
#include "data/QuestionStore.h"

ExamSession::ExamSession(QuestionStore& store, AppState& state)
    : m_store(store)
    , m_state(state)
{ }

WriteResult ExamSession::start(const std::function<WriteResult()>& makePaper)
{
    const WriteResult made = m_store.writeTransaction(makePaper);
    if (made.isDone())
        m_state.ExamRunning = true;
    return made;
}

WriteResult ExamSession::startPaper(const ExamPaperRequest& request, const ComposeProgress& progress)
{
    return start([&] { return ComposeExamPaper(m_store, request, progress); });
}

void ExamSession::end()
{
    m_state.ExamRunning = false;
}

bool ExamSession::isRunning() const
{
    return m_state.ExamRunning;
}

QuestionTable ExamSession::table() const
{
    return m_state.ExamRunning ? QuestionTable::WorkingSet : QuestionTable::Bank;
}
