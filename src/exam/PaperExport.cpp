#include "exam/PaperExport.h"

#include "catalogue/QuestionNumbering.h"
#include "data/BankTables.h"
#include "data/QuestionType.h"
#include "data/RowSet.h"
#include "desktop/DesktopActions.h"
#include "exam/QuestionSet.h"
#include "richtext/RichText.h"

#include <QUrl>

namespace PaperExport {
namespace {

const QString LineBreak = QStringLiteral("\r\n");

QString paperTitle()
{
    return QStringLiteral("          模拟考试试卷");
}

QString keyTitle()
{
    return QStringLiteral("          模拟考试试卷答案");
}

void writeTitle(PaperDocument& doc, const QString& title)
{
    doc.Font(QStringLiteral("黑体"));
    doc.FontSize(14);
    doc.Insert(title + LineBreak + LineBreak);
}

void bodyFont(PaperDocument& doc)
{
    doc.Font(QStringLiteral("宋体"));
    doc.FontSize(12);
}

QByteArray richText(const QVariant& field)
{
    return field.typeId() == QMetaType::QByteArray ? field.toByteArray() : field.toString().toUtf8();
}

// Banks often keep the whole question in the stem field as well: the paper prints it once.
bool repeatedIn(const QByteArray& stem, const QByteArray& whole)
{
    const QString text = RichText::plainText(stem).trimmed();
    return !text.isEmpty() && RichText::plainText(whole).trimmed().startsWith(text);
}

// Walks the rows with their question numbers.
template <typename Visit> void eachNumbered(RowSet& rows, Visit visit)
{
    if (!rows.isValid())
        return;
    const int fType = rows.fieldIndex(BankTables::Column::Type.toString()),
              fKey = rows.fieldIndex(BankTables::Column::Key.toString());
    int offset = 0;
    for (rows.first(); !rows.atEnd(); rows.next()) {
        const QString type = rows.field(fType).toString();
        const QString key = rows.field(fKey).toString();
        visit(QuestionNumbering::range(rows.position(), type, key, &offset), type, key);
    }
}

} // namespace

void writePaper(PaperDocument& doc, RowSet& rows)
{
    doc.filenewdefault();
    writeTitle(doc, paperTitle());
    const int fStem = rows.fieldIndex(BankTables::Column::Stem.toString()),
              fOptions = rows.fieldIndex(BankTables::Column::Document.toString());
    eachNumbered(rows, [&](const QuestionNumbering::Range& n, const QString& type, const QString&) {
        bodyFont(doc);
        if (n.grouped)
            doc.Insert(QString::number(n.first) + QStringLiteral("题--") + QString::number(n.last)
                + QStringLiteral("题、") + type + QStringLiteral("型题 ") + LineBreak);
        else
            doc.Insert(QString::number(n.first) + QStringLiteral("、 "));
        const QByteArray stem = richText(rows.field(fStem)), whole = richText(rows.field(fOptions));
        if (!repeatedIn(stem, whole))
            doc.InsertFile(stem);
        doc.InsertFile(whole);
        bodyFont(doc);
        doc.Insert(LineBreak);
    });
}

void writeAnswerKey(PaperDocument& doc, RowSet& rows)
{
    doc.filenewdefault();
    writeTitle(doc, keyTitle());
    bodyFont(doc);
    eachNumbered(rows, [&](const QuestionNumbering::Range& n, const QString&, const QString& key) {
        if (!n.grouped) {
            doc.Insert(QString::number(n.first) + QStringLiteral("、 ") + key + LineBreak);
            return;
        }
        for (int number = n.first; number <= n.last; ++number)
            doc.Insert(
                QString::number(number) + QStringLiteral("、 ") + key.at(number - n.first) + LineBreak);
    });
}

QString buildDocument(PaperDocument& doc, QuestionStore& store, const Source& source, Kind kind)
{
    RowSet rows = QuestionSet::open(store, source.table, source.sectionCode);
    if (!rows.isValid())
        return rows.error();
    if (kind == Kind::AnswerKey)
        writeAnswerKey(doc, rows);
    else
        writePaper(doc, rows);
    return {};
}

QString documentName(Kind kind)
{
    return kind == Kind::AnswerKey ? QStringLiteral("模拟考试试卷答案") : QStringLiteral("模拟考试试卷");
}

DocumentFile ExportExamPaper(QuestionStore& store, const Source& source, Kind kind)
{
    PaperDocument doc(documentName(kind));
    const QString unread = buildDocument(doc, store, source, kind);
    if (!unread.isEmpty())
        return { QString(), unread };
    if (kind != Kind::PaperPdf) {
        // Shown once typed: the file it writes is the finished paper.
        return doc.appshow();
    }
    const DocumentFile file = DocumentFile::save(documentName(kind), QStringLiteral("pdf"), doc.pdf());
    if (file.isWritten())
        DesktopActions::openUrl(QUrl::fromLocalFile(file.path));
    return file;
}

} // namespace PaperExport
