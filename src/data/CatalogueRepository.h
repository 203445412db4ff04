#pragma once

#include "data/WriteResult.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

class QuestionStore;

/// One row of the catalogue tables xmdm, kmdm or smdm.
struct CodeName
{
    QString code;
    QString name;
};

/// One row of tree: a project (level 1), a subject (2) or a section (3), with the names
/// of the entries above it; the names below its level are stored as NULL.
struct TreeRow
{
    int level = 0;
    QString project;
    QString subject;
    QString section;
    QString code;
};

/// The catalogue: projects, subjects and sections by code, the tree built from them and
/// the texts of the text-material sections.
namespace CatalogueRepository {

enum class Level
{
    Project,
    Subject,
    Section
};

/// The entries of one level in the order of their codes; none when they cannot be read
/// (@p ok is then set to false).
QVector<CodeName> entries(QuestionStore& store, Level level, bool* ok);
/// The entries of one level in the order they were stored.
QVector<CodeName> entriesInStoredOrder(QuestionStore& store, Level level, QString* error);

/// The sections whose codes are in [@p from, @p below), by code.
QVector<CodeName> sectionsBetween(
    QuestionStore& store, const QString& from, const QString& below, QString* error);

/// Replaces the rows of tree with @p rows in one transaction. A read-only store gets a
/// temporary tree of its own, which hides the stored one for this connection.
WriteResult replaceTree(QuestionStore& store, const QVector<TreeRow>& rows);
/// The rows of tree in their order.
QVector<TreeRow> tree(QuestionStore& store);
/// The row of tree at the 1-based @p position; none when it cannot be read.
std::optional<TreeRow> treeRow(QuestionStore& store, int position);

/// The text of text-material section @p code; empty when it has none.
QString materialText(QuestionStore& store, const QString& code);

/// The codes of the sections named @p name.
QStringList sectionCodes(QuestionStore& store, const QString& name);
/// The name of section @p code; empty when there is none.
QString sectionName(QuestionStore& store, const QString& code);
/// The names of the sections that hold questions, in the order of their codes; the
/// codes of tk that have no section give none.
QStringList sectionNamesWithQuestions(QuestionStore& store, bool* ok = nullptr);

} // namespace CatalogueRepository
