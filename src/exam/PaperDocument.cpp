#include "exam/PaperDocument.h"

#include "desktop/DesktopActions.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextDocumentFragment>
#include <QUrl>

QString DocumentFile::folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

DocumentFile DocumentFile::save(const QString& name, const QString& suffix, const QByteArray& bytes)
{
    const QDir dir(folder());
    const QString stem
        = name + u' ' + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    QString path = dir.filePath(stem + u'.' + suffix);
    // Two papers in the same second get their own files.
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(stem + QStringLiteral(" (%1).").arg(n) + suffix);
    if (!dir.mkpath(QStringLiteral(".")))
        return { path, QStringLiteral("无法创建文件夹 %1").arg(QDir::toNativeSeparators(dir.path())) };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return { path, file.errorString() };
    return { path, QString() };
}

PaperDocument::PaperDocument(QString name)
    : m_name(std::move(name))
    , m_cursor(&m_doc)
{ }

void PaperDocument::filenewdefault()
{
    m_doc.clear();
    m_cursor = QTextCursor(&m_doc);
    m_format = QTextCharFormat();
}

DocumentFile PaperDocument::appshow()
{
    const DocumentFile file = DocumentFile::save(m_name, QStringLiteral("rtf"), rtf());
    if (file.isWritten())
        DesktopActions::openUrl(QUrl::fromLocalFile(file.path));
    return file;
}

void PaperDocument::Font(const QString& family)
{
    m_format.setFontFamilies({ family });
}

void PaperDocument::FontSize(int points)
{
    m_format.setFontPointSize(points);
}

void PaperDocument::Insert(const QString& text)
{
    // A cursor takes CR and LF each for a paragraph of its own.
    m_cursor.insertText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), m_format);
}

void PaperDocument::InsertFile(const QByteArray& richText)
{
    if (richText.isEmpty())
        return;
    QTextDocument inserted;
    RtfReader::read(richText, &inserted);
    if (inserted.isEmpty())
        return;
    m_cursor.insertFragment(QTextDocumentFragment(&inserted));
    // A stored document ends with its paragraph mark, as a file inserted by a word processor does.
    m_cursor.insertBlock();
}

QByteArray PaperDocument::rtf() const
{
    return RtfWriter::write(m_doc);
}

QByteArray PaperDocument::pdf() const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(m_name);
        writer.setCreator(QStringLiteral("Vellumore"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(300);
        std::unique_ptr<QTextDocument> layout(m_doc.clone());
        layout->print(&writer);
    }
    return bytes;
}
