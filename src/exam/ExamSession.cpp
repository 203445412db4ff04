#include "exam/ExamSession.h"

#include "data/QuestionStore.h"
#include "forecast/PaperForecast.h"
#include "session/StudySession.h"

#include <QDate>

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
    const WriteResult started = start([&] { return ComposeExamPaper(m_store, request, progress); });
    // Before any answer: the report sets the score beside what was expected. An exam
    // without a forecast is still an exam.
    if (started.isDone())
        PaperForecast::keepForDrawnPaper(m_store, QDate::currentDate().toJulianDay());
    return started;
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
