#pragma once

#include "data/QuestionTable.h"
#include "data/WriteResult.h"
#include "practice/ReviewSchedule.h"

#include <QString>
#include <QVariant>

#include <array>

class QuestionStore;

/// The answer panels, the encodings written into 答题 and the captions that echo them.
namespace Answers {

enum class Panel
{
    None,
    MultipleChoice,
    SingleChoice,
    SelfAssessment,
    TrueFalse
};

/// The panel a question type gets; None for grouped and unknown types, which take no entry.
Panel panelFor(const QString& type);

/// Whether an answer of @p type is judged only when the candidate leaves it or presses
/// Enter: a choice of several letters is not settled by its first tick.
bool judgedOnLeaving(const QString& type);

/// The ticked letters in box order A to E ("ACD"); the empty text when none is ticked.
QString multipleChoice(const std::array<bool, 5>& ticked);
/// The boxes a stored answer ticks: each of the letters A to E it holds; others ignored.
std::array<bool, 5> ticksFor(const QString& given);
/// The letter of option @p index (0 "A" to 4 "E").
QString optionLetter(int index);
/// The option a stored answer selects: 0 to 4 for exactly "A" to "E", otherwise -1.
int optionFor(const QString& given);

/// The caption of a stored answer: "(    )" for the empty text, "()" when absent, "(AC)".
QString storedCaption(const QVariant& given);
/// The caption echoing a new entry: "( AC )".
QString entryCaption(const QString& answer);

/// Writes @p answer into 答题 of question @p key of @p table. Nothing to write when there
/// is no such question or its type takes no entry. The attempt it may become is the
/// AttemptRecorder's.
WriteResult StoreAnswer(
    QuestionStore& store, QuestionTable table, const QuestionKey& key, const QString& answer);

/// The key in tk of question @p key of @p table.
QuestionKey bankKey(QuestionStore& store, QuestionTable table, const QuestionKey& key);

/// Clears every answer of section @p code of @p table to the empty text (a redo). The
/// history and the review schedule stay.
WriteResult ClearAnswers(QuestionStore& store, QuestionTable table, const QString& code);

} // namespace Answers
