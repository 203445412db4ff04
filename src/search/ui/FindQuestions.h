#pragma once

#include <QString>

#include <functional>

class PracticePanel;
class QuestionStore;
class SearchTexts;
class QWidget;
class StudySession;

/// The practice command "查找试题": asks for a search, lists the hits of the whole bank
/// captioned with their section paths, and shows the question at the list position.
namespace FindQuestions {

/// @p texts keeps the bank's extracts between searches. @p showTitle gives the welcome
/// panel the search's title; @p window parents the dialog and boxes.
void run(QuestionStore& store, SearchTexts& texts, StudySession& session, PracticePanel* panel,
    const std::function<void(const QString&)>& showTitle, QWidget* window);

} // namespace FindQuestions
