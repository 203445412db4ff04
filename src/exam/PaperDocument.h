#pragma once

#include <QByteArray>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

/// A file written into the user's documents folder, or why it was not.
struct DocumentFile
{
    QString path;
    /// Empty when the file was written.
    QString error;

    bool isWritten() const { return error.isEmpty(); }

    /// Writes @p bytes as "<name> <date and time>.<suffix>" in the documents folder, made
    /// when missing, under a name no file has yet; whole or not at all. @p path is where
    /// the file is, or was to be.
    static DocumentFile save(const QString& name, const QString& suffix, const QByteArray& bytes);
    /// The user's documents folder.
    static QString folder();
};

/// The document builder the exam paper is typed into: a new document, a font and size for
/// what is typed next, text, and rich text inserted with its own formatting. It lives in
/// memory; showing it saves it as an RTF file and opens that with the desktop's handler.
class PaperDocument final
{
    Q_DISABLE_COPY_MOVE(PaperDocument)
public:
    /// @p name names the file appshow() writes.
    explicit PaperDocument(QString name);

    /// Starts a new, empty document.
    void filenewdefault();
    /// Writes the document as an RTF file in the documents folder and opens it with the
    /// desktop's default handler; a handler that fails to open it is not reported.
    DocumentFile appshow();
    /// The font of what is typed from now on.
    void Font(const QString& family);
    /// The size in points of what is typed from now on.
    void FontSize(int points);
    /// Types @p text at the insertion point; a line break (CR LF or LF) starts a new paragraph.
    void Insert(const QString& text);
    /// Inserts a stored rich-text document (plain text is read as plain text) with its own
    /// formatting and its closing paragraph mark at the insertion point; an empty one
    /// inserts nothing.
    void InsertFile(const QByteArray& richText);

    const QTextDocument& document() const { return m_doc; }
    /// The document as RTF.
    QByteArray rtf() const;
    /// The document laid out on A4 pages as PDF.
    QByteArray pdf() const;

private:
    QString m_name;
    QTextDocument m_doc;
    QTextCursor m_cursor;
    QTextCharFormat m_format;
};
