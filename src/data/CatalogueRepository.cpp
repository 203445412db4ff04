#include "data/CatalogueRepository.h"

#include "data/BankTables.h"
#include "data/QuestionStore.h"

namespace CatalogueRepository {
namespace {

namespace T = BankTables::Table;
namespace C = BankTables::Column;

QStringView tableOf(Level level)
{
    switch (level) {
    case Level::Project:
        return T::Projects;
    case Level::Subject:
        return T::Subjects;
    case Level::Section:
        break;
    }
    return T::Sections;
}

QStringView nameOf(Level level)
{
    switch (level) {
    case Level::Project:
        return C::ProjectName;
    case Level::Subject:
        return C::SubjectName;
    case Level::Section:
        break;
    }
    return C::SectionName;
}

TreeRow treeRowAt(const RowSet& rows)
{
    const auto text = [&rows](QStringView column) {
        const QVariant value = rows.field(column.toString());
        return value.isNull() ? QString() : value.toString();
    };
    return { rows.field(C::Level.toString()).toInt(), text(C::ProjectName), text(C::SubjectName),
        text(C::SectionName), text(C::Code) };
}

// The rows of a select of codes and names; none, with the engine's words, when it failed.
QVector<CodeName> codeNames(RowSet rows, QString* error)
{
    if (!rows.isValid()) {
        if (error)
            *error = rows.error();
        return {};
    }
    QVector<CodeName> result;
    result.reserve(rows.rowCount());
    for (; !rows.atEnd(); rows.next())
        result.append({ rows.field(0).toString(), rows.field(1).toString() });
    return result;
}

} // namespace

QVector<CodeName> entries(QuestionStore& store, Level level, bool* ok)
{
    RowSet rows = store.query(
        u"select " % C::Code % u", " % nameOf(level) % u" from " % tableOf(level) % u" order by " % C::Code);
    *ok = *ok && rows.isValid();
    return codeNames(std::move(rows), nullptr);
}

QVector<CodeName> entriesInStoredOrder(QuestionStore& store, Level level, QString* error)
{
    return codeNames(store.query(u"select " % C::Code % u", " % nameOf(level) % u" from " % tableOf(level)
                         % u" order by rowid"),
        error);
}

QVector<CodeName> sectionsBetween(
    QuestionStore& store, const QString& from, const QString& below, QString* error)
{
    static const QString sql = u"select " % C::Code % u", " % C::SectionName % u" from " % T::Sections
        % u" where " % C::Code % u">=? and " % C::Code % u"<? order by " % C::Code;
    return codeNames(store.query(sql, { from, below }), error);
}

WriteResult replaceTree(QuestionStore& store, const QVector<TreeRow>& rows)
{
    if (store.isReadOnly())
        store.write(u"create temp table if not exists " % T::Tree % u" as select * from main." % T::Tree
            % u" where 0");
    QVector<QVariantList> values;
    values.reserve(rows.size());
    for (const TreeRow& row : rows)
        values.append({ row.level, row.project, row.level >= 2 ? QVariant(row.subject) : QVariant(),
            row.level >= 3 ? QVariant(row.section) : QVariant(), row.code });
    return store.writeTransaction(
        [&] {
            const WriteResult cleared = store.write(u"delete from " % T::Tree);
            if (!cleared.isDone())
                return cleared;
            return store.writeEach(u"insert into " % T::Tree % u"(" % C::Level % u", " % C::ProjectName
                    % u", " % C::SubjectName % u", " % C::SectionName % u", " % C::Code
                    % u") values(?,?,?,?,?)",
                values);
        },
        QuestionStore::Writes::TemporaryTables);
}

QVector<TreeRow> tree(QuestionStore& store)
{
    RowSet rows = store.query(u"select " % C::Level % u", " % C::ProjectName % u", " % C::SubjectName % u", "
        % C::SectionName % u", " % C::Code % u" from " % T::Tree % u" order by rowid");
    QVector<TreeRow> result;
    result.reserve(rows.rowCount());
    for (; !rows.atEnd(); rows.next())
        result.append(treeRowAt(rows));
    return result;
}

std::optional<TreeRow> treeRow(QuestionStore& store, int position)
{
    RowSet row
        = store.query(u"select * from " % T::Tree % u" order by rowid limit 1 offset ?", { position - 1 });
    if (!row.isValid() || row.atEnd())
        return std::nullopt;
    return treeRowAt(row);
}

QString materialText(QuestionStore& store, const QString& code)
{
    return store
        .scalar(
            u"select " % C::Text % u" from " % T::Texts % u" where " % C::Code % u"=? order by rowid limit 1",
            { code })
        .toString();
}

QStringList sectionCodes(QuestionStore& store, const QString& name)
{
    QStringList codes;
    RowSet rows = store.query(
        u"select " % C::Code % u" from " % T::Sections % u" where " % C::SectionName % u"=?", { name });
    for (; !rows.atEnd(); rows.next())
        codes << rows.field(0).toString();
    return codes;
}

QString sectionName(QuestionStore& store, const QString& code)
{
    return store
        .scalar(
            u"select " % C::SectionName % u" from " % T::Sections % u" where " % C::Code % u"=?", { code })
        .toString();
}

QStringList sectionNamesWithQuestions(QuestionStore& store, bool* ok)
{
    QStringList names;
    RowSet codes
        = store.query(u"select DISTINCT " % C::Code % u" from " % T::Questions % u" order by " % C::Code);
    if (ok)
        *ok = codes.isValid();
    for (; !codes.atEnd(); codes.next()) {
        RowSet section = store.query(
            u"select " % C::SectionName % u" from " % T::Sections % u" where " % C::Code % u"=?",
            { codes.field(0) });
        if (!section.atEnd())
            names << section.field(0).toString();
    }
    return names;
}

} // namespace CatalogueRepository
