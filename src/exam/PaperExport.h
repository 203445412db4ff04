#pragma once

#include "data/QuestionTable.h"
#include "exam/PaperDocument.h"

#include <QString>

class QuestionStore;
class RowSet;

/// The exam paper and its answer key as documents: every question of a set with its
/// number, stem and options, numbered as the question list numbers them.
namespace PaperExport {

/// Types the paper of @p rows into @p doc: the title, then each question.
void writePaper(PaperDocument& doc, RowSet& rows);
/// Types the answer key of @p rows into @p doc: each question's number and answer, a
/// grouped row's answer letter by letter under its own numbers.
void writeAnswerKey(PaperDocument& doc, RowSet& rows);

/// What is exported: the exam paper in the working set during an exam, else the whole
/// section @p sectionCode of the bank.
struct Source
{
    QuestionTable table = QuestionTable::Bank;
    QString sectionCode;
};

enum class Kind
{
    Paper,
    AnswerKey,
    PaperPdf
};

/// Writes the paper, its answer key or the paper as PDF into the documents folder and
/// opens it with the desktop's handler. The file, or why the questions could not be read
/// (no path) or the file not written (its path).
DocumentFile ExportExamPaper(QuestionStore& store, const Source& source, Kind kind = Kind::Paper);

/// The paper or key of @p source typed into @p doc; why the questions could not be read,
/// empty when they were.
QString buildDocument(PaperDocument& doc, QuestionStore& store, const Source& source, Kind kind);

/// The name of the document of @p kind, which also names its file.
QString documentName(Kind kind);

} // namespace PaperExport
