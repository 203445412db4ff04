#pragma once

#include "data/QuestionTable.h"
#include "data/WriteResult.h"

#include <QString>

class QuestionStore;

/// Notes, corrections and questions of the user's own, written to the question bank
/// tk (also during an exam: the exam keeps its own copy).
namespace QuestionEditor {

/// The list title and search extract of a question: its plain text without leading
/// blanks, cut after 30 characters.
QString extract(const QString& plainText);

/// Replaces the notes of question @p key with the RTF document @p notes.
WriteResult SaveNotes(QuestionStore& store, const QuestionKey& key, const QString& notes);

struct Edits
{
    QString document; ///< 选项, RTF
    QString plainText; ///< the document's plain text, for the extracts
    QString answer; ///< 答案
    QString notes; ///< zs, RTF
    QString type; ///< 题型
    QString stem; ///< 题干, RTF, for new questions only; null leaves it absent
};

/// Writes corrections of question @p key.
WriteResult SaveQuestionEdits(QuestionStore& store, const QuestionKey& key, const Edits& edits);

/// Adds a question of the user's own to the section @p sectionCode, as a favourite,
/// numbered one past the largest number of the section. @p number receives it. A
/// question without stem, without answer or of a type the program does not know is
/// refused with nothing written.
WriteResult AddQuestion(QuestionStore& store, const QString& sectionCode, const Edits& question, int* number);

/// The storing step of AddQuestion, for a caller that holds a transaction of its own
/// (the import adds many questions in one): numbers @p question one past the largest
/// number of the section and inserts it, a favourite when @p favourite. @p order is its
/// ordering key sj; null puts it one past the largest of the bank, which costs a pass
/// over the whole bank. Refuses what AddQuestion refuses. @p number receives the number.
WriteResult insertQuestion(QuestionStore& store, const QString& sectionCode, const Edits& question,
    bool favourite, const QVariant& order, int* number);

/// The largest ordering key sj of the bank, 0 when it holds none.
qint64 lastOrder(QuestionStore& store);

} // namespace QuestionEditor
