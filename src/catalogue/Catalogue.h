#pragma once

#include <QString>
#include <QVector>

class QuestionStore;
struct StoreFailure;

/// One node of the catalogue tree, in the order of the table tree.
struct CatalogueNode
{
    int level = 0;     ///< flg: 1 project, 2 subject, 3 section
    QString key;       ///< "k" + p, "kk" + s, "kkk" + c
    QString parentKey; ///< empty for a project
    QString text;      ///< 项目, 科目 or 细目
    int image = 0;     ///< 1, 2 or 3
    QString code;      ///< 代码 of the project, subject or section
};

/// The three-level catalogue of projects, subjects and sections.
namespace Catalogue {

/// Rewrites the table tree from xmdm, kmdm and smdm, depth first: each project,
/// then each of its subjects followed by the subject's sections, siblings in the
/// order of their codes. A subject whose code does not begin with a project's
/// code, and a section whose code does not begin with a subject's, are left out.
/// @p failure receives why it could not.
bool rewriteTree(QuestionStore& store, StoreFailure* failure = nullptr);

/// The nodes described by the rows of tree, in row order, with their keys. Rows
/// of an unknown level give no node.
QVector<CatalogueNode> readNodes(QuestionStore& store);

} // namespace Catalogue
