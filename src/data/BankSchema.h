#pragma once

#include <QStringList>

class QuestionStore;

/// The tables of the question bank and the indexes that keep its look-ups off a
/// whole-table scan. The question table stores its short columns before the long
/// texts, so that listings and counts are answered from covering indexes and never
/// decrypt the pages that hold the documents.
namespace BankSchema {

/// Statements that create every table and index of a new bank.
QStringList createStatements();

/// Statements that create the records kept beside the questions: the answer history, the
/// review schedule, the exam results and the bank numbers of an exam paper's questions.
/// An older program opens a bank with them and leaves them alone.
QStringList recordStatements();

/// Statements that create a question table (tk, or the working set kstk) with its indexes.
QStringList questionTableStatements(const QString& table);

/// Statements that bring a bank of @p version to the next version.
QStringList upgradeStatements(int version);

/// Whether @p store holds the table @p name (a bank of an older version, opened read-only,
/// may lack the records).
bool hasTable(QuestionStore& store, const QString& name);

/// The tables a bank must hold that @p store lacks (kstk is optional).
QStringList missingTables(QuestionStore& store);

/// The columns of tk and kstk in their stored order.
QStringList questionColumns();

} // namespace BankSchema
