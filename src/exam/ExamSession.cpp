#include "exam/ExamSession.h"

#include "data/QuestionStore.h"
#include "session/StudySession.h"

ExamSession::ExamSession(QuestionStore& store, StudySession& session)
    : m_store(store)
    , m_session(session)
{ }

WriteResult ExamSession::start(const std::function<WriteResult()>& makePaper)
{
    const WriteResult made = m_store.writeTransaction(makePaper);
    if (made.isDone())
        m_session.setExamRunning(true);
    return made;
}

WriteResult ExamSession::startPaper(const ExamPaperRequest& request, const ComposeProgress& progress)
{
    return start([&] { return ComposeExamPaper(m_store, request, progress); });
}

void ExamSession::end()
{
    m_session.setExamRunning(false);
}

bool ExamSession::isRunning() const
{
    return m_session.isExamRunning();
}

QuestionTable ExamSession::table() const
{
    return m_session.table();
}
