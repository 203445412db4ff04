#include "session/StudySession.h"

StudySession::StudySession(QObject* parent)
    : QObject(parent)
{ }

void StudySession::enterSection(const QString& code)
{
    m_sectionCode = code;
}

bool StudySession::showRow(int row)
{
    if (row < 1 || row > m_list.rowCount())
        return false;
    m_position = row;
    m_questionNo = m_list.subItem(row - 1, QuestionListModel::QuestionNo);
    m_sectionCode = m_list.subItem(row - 1, QuestionListModel::Code);
    return true;
}

void StudySession::setExamRunning(bool running)
{
    if (m_examRunning == running)
        return;
    m_examRunning = running;
    emit examRunningChanged(running);
}
