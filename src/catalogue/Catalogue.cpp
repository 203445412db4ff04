#include "catalogue/Catalogue.h"

#include "data/QuestionStore.h"

#include <QHash>

namespace Catalogue {
namespace {

struct CodeName
{
    QString code;
    QString name;
};

QVector<CodeName> readTable(QuestionStore& store, const QString& table, const QString& nameField, bool* ok)
{
    RowSet rows = store.query(QStringLiteral("select 代码, ") + nameField + QStringLiteral(" from ") + table
                              + QStringLiteral(" order by 代码"));
    *ok = *ok && rows.isValid();
    QVector<CodeName> result;
    for (; !rows.atEnd(); rows.next())
        result.append({ rows.field(QStringLiteral("代码")).toString(), rows.field(nameField).toString() });
    return result;
}

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

bool rewriteTree(QuestionStore& store, QString* error)
{
    bool ok = true;
    const QVector<CodeName> projects
        = readTable(store, QStringLiteral("xmdm"), QStringLiteral("项目"), &ok);
    const auto subjects = byPrefix(readTable(store, QStringLiteral("kmdm"), QStringLiteral("科目"), &ok), 1);
    const auto sections = byPrefix(readTable(store, QStringLiteral("smdm"), QStringLiteral("细目"), &ok), 3);
    if (!ok) {
        if (error)
            *error = store.lastError();
        return false;
    }

    QVector<QVariantList> rows;
    for (const CodeName& project : projects) {
        rows.append({ 1, project.name, QVariant(), QVariant(), project.code });
        // The comparisons below match a whole code against a prefix of the same length,
        // so a code of another length finds nothing, as the bank's statements would.
        for (const CodeName& subject : subjects.value(project.code.toCaseFolded())) {
            rows.append({ 2, project.name, subject.name, QVariant(), subject.code });
            for (const CodeName& section : sections.value(subject.code.toCaseFolded()))
                rows.append({ 3, project.name, subject.name, section.name, section.code });
        }
    }

    const bool written = store.transaction([&] {
        return store.execute(QStringLiteral("delete from tree"))
            && store.executeBatch(QStringLiteral("insert into tree(flg, 项目, 科目, 细目, 代码) values(?,?,?,?,?)"),
                                  rows);
    });
    if (!written && error)
        *error = store.lastError();
    return written;
}

QVector<CatalogueNode> readNodes(QuestionStore& store)
{
    QVector<CatalogueNode> nodes;
    RowSet rows = store.query(QStringLiteral("select flg, 项目, 科目, 细目, 代码 from tree order by rowid"));
    int p = 0;
    int s = 0;
    int c = 0;
    for (; !rows.atEnd(); rows.next()) {
        CatalogueNode node;
        node.level = rows.field(QStringLiteral("flg")).toInt();
        node.code = rows.field(QStringLiteral("代码")).toString();
        switch (node.level) {
        case 1:
            node.key = QStringLiteral("k") + QString::number(++p);
            node.text = rows.field(QStringLiteral("项目")).toString();
            break;
        case 2:
            node.key = QStringLiteral("kk") + QString::number(++s);
            node.parentKey = QStringLiteral("k") + QString::number(p);
            node.text = rows.field(QStringLiteral("科目")).toString();
            break;
        case 3:
            node.key = QStringLiteral("kkk") + QString::number(++c);
            node.parentKey = QStringLiteral("kk") + QString::number(s);
            node.text = rows.field(QStringLiteral("细目")).toString();
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
