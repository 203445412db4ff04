#pragma once

#include "practice/QuestionEditor.h"

#include <QByteArray>
#include <QString>
#include <QVector>

class QuestionStore;

/// Adds questions from a comma- or tab-separated file to the bank, all or none. Each
/// record holds six columns: section code, type, stem, options, answer and note (the
/// note may be left out); a first record beginning "章节代码" or "section" is a header.
namespace QuestionImport {

/// Something in the file that keeps it from being imported.
struct Problem
{
    int line = 0; ///< the physical line a record starts on; 0 for the file as a whole
    QString message;
};

/// A checked record, ready to be stored.
struct Question
{
    int line = 0;
    QString section; ///< the code as the catalogue spells it
    QuestionEditor::Edits content;
};

/// What a file holds: its questions when every record is sound, else the problems.
struct Batch
{
    QString encoding; ///< "UTF-8" or "GBK"
    QVector<Question> questions;
    QVector<Problem> problems;
};

/// Decodes and checks @p bytes against the catalogue of @p store; writes nothing.
Batch read(QuestionStore& store, const QByteArray& bytes);

struct Added
{
    QString code;
    QString name;
    int count = 0;
    int first = 0; ///< the numbers the section's new questions got
    int last = 0;
    /// Each new question as the list shows it: its type and its title, on one line.
    QStringList questions;
};

struct Outcome
{
    enum class Status
    {
        Imported,
        Refused, ///< the file cannot be read or has problems: nothing written
        Failed ///< the bank refused the write: nothing written
    };
    Status status = Status::Refused;
    QString encoding;
    QVector<Problem> problems; ///< Refused
    WriteResult failure = WriteResult::done(0); ///< Failed: the write that was refused
    int total = 0; ///< questions in the file (Imported and Failed)
    QVector<Added> added; ///< Imported: per section, in the order the file names them

    /// The message for the user about the import of @p fileName, in Chinese; the window
    /// words why a failed import was refused (@p failureReason).
    QString message(const QString& fileName, const QString& failureReason = QString()) const;
};

/// Reads the file at @p path and stores its questions in one transaction: every one or,
/// on any problem or failure, none. Imported questions are not marked as favourites.
Outcome importFile(QuestionStore& store, const QString& path);

} // namespace QuestionImport
