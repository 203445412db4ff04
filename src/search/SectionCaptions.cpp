#include "search/SectionCaptions.h"

#include "data/BankTables.h"
#include "data/CatalogueRepository.h"
#include "data/RowSet.h"

namespace {

// The codes compare without regard to Latin case, as the catalogue columns do.
QString key(const QString& code)
{
    return code.toLower();
}

bool readNames(
    QuestionStore& store, CatalogueRepository::Level level, QHash<QString, QString>* names, QString* error)
{
    names->clear();
    QString failure;
    const QVector<CodeName> entries = CatalogueRepository::entriesInStoredOrder(store, level, &failure);
    if (!failure.isEmpty()) {
        if (error)
            *error = failure;
        return false;
    }
    for (const CodeName& entry : entries) {
        // The first entry of a code wins, as a look-up reads the first row it finds.
        const QString code = key(entry.code);
        if (!names->contains(code))
            names->insert(code, entry.name);
    }
    return true;
}

} // namespace

bool SectionCaptions::load(QuestionStore& store, QString* error)
{
    using CatalogueRepository::Level;
    return readNames(store, Level::Project, &m_projects, error)
        && readNames(store, Level::Subject, &m_subjects, error)
        && readNames(store, Level::Section, &m_sections, error);
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
    const int column = rows.fieldIndex(BankTables::Column::Code.toString());
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
