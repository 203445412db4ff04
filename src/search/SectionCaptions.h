#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class QuestionStore;
class RowSet;

/// The catalogue paths "项目/科目/细目" of question sections, read in one pass over
/// the three catalogue tables and then looked up per row without another statement.
class SectionCaptions final
{
public:
    /// Reads xmdm, kmdm and smdm; false with the reason when one cannot be read.
    bool load(QuestionStore& store, QString* error = nullptr);

    /// The path of the section @p code (代码): the project by its first character, the
    /// subject by its first three, the section by its first five. A part without a
    /// catalogue entry shows as "?".
    QString caption(const QString& code) const;

    /// The caption of every row of @p rows by its 代码, from its current row to its end.
    QStringList captions(RowSet& rows) const;

private:
    QHash<QString, QString> m_projects;
    QHash<QString, QString> m_subjects;
    QHash<QString, QString> m_sections;
};
