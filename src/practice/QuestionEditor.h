#pragma once

#include <QString>

class QuestionStore;
struct AppState;

/// Notes, corrections and questions of the user's own, written to the question bank
/// tk (also during an exam: the exam keeps its own copy).
namespace QuestionEditor {

/// The list title and search extract of a question: its plain text without leading
/// blanks, cut after 30 characters.
QString extract(const QString& plainText);

/// Why a save stored nothing; empty when it succeeded.
using Refusal = QString;

/// Replaces the current question's notes with the RTF document @p notes.
Refusal SaveNotes(QuestionStore& store, const AppState& state, const QString& notes);

struct Edits
{
    QString document;  ///< 选项, RTF
    QString plainText; ///< the document's plain text, for the extracts
    QString answer;    ///< 答案
    QString notes;     ///< zs, RTF
    QString type;      ///< 题型
};

/// Writes corrections of the current question.
Refusal SaveQuestionEdits(QuestionStore& store, const AppState& state, const Edits& edits);

/// Adds a question of the user's own to the section @p sectionCode, as a favourite,
/// numbered one past the largest number of the section. @p number receives it.
Refusal AddQuestion(QuestionStore& store, const QString& sectionCode, const Edits& question, int* number);

} // namespace QuestionEditor
