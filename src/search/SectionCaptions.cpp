#include "search/SectionCaptions.h"

#include "data/QuestionStore.h"

namespace {

// The codes compare without regard to Latin case, as the catalogue columns do.
QString key(const QString& code)
{
    return code.toLower();
}

bool readNames(QuestionStore& store, const QString& table, const QString& nameColumn,
    QHash<QString, QString>* names, QString* error)
{
    names->clear();
    RowSet rows
        = store.query(QStringLiteral("select 代码, %1 from %2 order by rowid").arg(nameColumn, table));
    if (!rows.isValid()) {
        if (error)
            *error = rows.error();
        return false;
    }
    for (; !rows.atEnd(); rows.next()) {
        // The first entry of a code wins, as a look-up reads the first row it finds.
        const QString code = key(rows.field(0).toString());
        if (!names->contains(code))
            names->insert(code, rows.field(1).toString());
    }
    return true;
}

} // namespace

bool SectionCaptions::load(QuestionStore& store, QString* error)
{
    return readNames(store, QStringLiteral("xmdm"), QStringLiteral("项目"), &m_projects, error)
        && readNames(store, QStringLiteral("kmdm"), QStringLiteral("科目"), &m_subjects, error)
        && readNames(store, QStringLiteral("smdm"), QStringLiteral("细目"), &m_sections, error);
}

QString SectionCaptions::caption(const QString& code) const
{
    const QString k = key(code);
    const QString missing = QStringLiteral("?");
    return m_projects.value(k.left(1), missing) + u'/' + m_subjects.value(k.left(3), missing) + u'/'
        + m_sections.value(k.left(5), missing);
}

QStringList SectionCaptions::captions(RowSet& rows) const
{
    QStringList texts;
    texts.reserve(rows.rowCount());
    const int column = rows.fieldIndex(QStringLiteral("代码"));
    QString code, text;
    for (; !rows.atEnd(); rows.next()) {
        // Hits come section by section: one caption, shared, per run of a code.
        const QString next = rows.field(column).toString();
        if (texts.isEmpty() || next != code) {
            code = next;
            text = caption(code);
        }
        texts << text;
    }
    return texts;
}
