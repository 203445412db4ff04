#include "data/DelimitedText.h"

namespace DelimitedText {

Table parse(const QString& text)
{
    Table table;
    const qsizetype firstBreak = text.indexOf(QLatin1Char('\n'));
    table.separator = QStringView(text).left(firstBreak < 0 ? text.size() : firstBreak).contains(u'\t')
        ? QLatin1Char('\t')
        : QLatin1Char(',');

    int line = 1;
    Record record { 1, {} };
    QString field;
    bool quoted = false; // inside a quoted field
    bool fieldStarted = false; // a character of the current field has been read
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        const bool lineBreak = c == u'\n' || c == u'\r';
        if (lineBreak && c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < n && text.at(i + 1) == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else if (lineBreak) {
                field += u'\n';
                ++line;
            } else {
                field += c;
            }
            continue;
        }
        if (c == u'"' && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
        } else if (c == table.separator) {
            record.fields << field;
            field.clear();
            fieldStarted = false;
        } else if (lineBreak) {
            record.fields << field;
            table.records << record;
            ++line;
            record = Record { line, {} };
            field.clear();
            fieldStarted = false;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted) {
        table.unterminatedAt = record.line;
        return table;
    }
    // The last line needs no line break after it.
    if (fieldStarted || !record.fields.isEmpty()) {
        record.fields << field;
        table.records << record;
    }
    return table;
}

QString record(const QStringList& fields)
{
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += u',';
        const QString& field = fields[i];
        const bool quote = field.contains(u',') || field.contains(u'"') || field.contains(u'\r')
            || field.contains(u'\n');
        if (quote)
            line += u'"' + QString(field).replace(u'"', QStringLiteral("\"\"")) + u'"';
        else
            line += field;
    }
    return line + QStringLiteral("\r\n");
}

} // namespace DelimitedText
