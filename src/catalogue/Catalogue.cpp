#include "catalogue/Catalogue.h"

#include "data/CatalogueRepository.h"
#include "data/QuestionStore.h"

#include <QHash>

namespace Catalogue {
namespace {

// Groups entries (already in code order) by the first `length` characters of their
// code, folded like the bank's text comparisons.
QHash<QString, QVector<CodeName>> byPrefix(const QVector<CodeName>& entries, int length)
{
    QHash<QString, QVector<CodeName>> groups;
    for (const CodeName& e : entries)
        groups[e.code.left(length).toCaseFolded()].append(e);
    return groups;
}

} // namespace

bool rewriteTree(QuestionStore& store, StoreFailure* failure)
{
    using CatalogueRepository::Level;
    bool ok = true;
    const QVector<CodeName> projects = CatalogueRepository::entries(store, Level::Project, &ok);
    const auto subjects = byPrefix(CatalogueRepository::entries(store, Level::Subject, &ok), 1);
    const auto sections = byPrefix(CatalogueRepository::entries(store, Level::Section, &ok), 3);
    if (!ok) {
        if (failure)
            *failure = store.failure();
        return false;
    }

    QVector<TreeRow> rows;
    for (const CodeName& project : projects) {
        rows.append({ 1, project.name, QString(), QString(), project.code });
        // The comparisons below match a whole code against a prefix of the same length,
        // so a code of another length finds nothing, as the bank's statements would.
        for (const CodeName& subject : subjects.value(project.code.toCaseFolded())) {
            rows.append({ 2, project.name, subject.name, QString(), subject.code });
            for (const CodeName& section : sections.value(subject.code.toCaseFolded()))
                rows.append({ 3, project.name, subject.name, section.name, section.code });
        }
    }

    const WriteResult written = CatalogueRepository::replaceTree(store, rows);
    if (!written.isDone() && failure)
        *failure = written.failure();
    return written.isDone();
}

QVector<CatalogueNode> readNodes(QuestionStore& store)
{
    QVector<CatalogueNode> nodes;
    int p = 0;
    int s = 0;
    int c = 0;
    for (const TreeRow& row : CatalogueRepository::tree(store)) {
        CatalogueNode node;
        node.level = row.level;
        node.code = row.code;
        switch (node.level) {
        case 1:
            node.key = QStringLiteral("k") + QString::number(++p);
            node.text = row.project;
            break;
        case 2:
            node.key = QStringLiteral("kk") + QString::number(++s);
            node.parentKey = QStringLiteral("k") + QString::number(p);
            node.text = row.subject;
            break;
        case 3:
            node.key = QStringLiteral("kkk") + QString::number(++c);
            node.parentKey = QStringLiteral("kk") + QString::number(s);
            node.text = row.section;
            break;
        default:
            continue;
        }
        node.image = node.level;
        nodes.append(node);
    }
    return nodes;
}

} // namespace Catalogue
