#pragma once

#include <QTextCursor>

class QImage;
class QTextCharFormat;
class QTextBlockFormat;
class QTextDocument;
class QTextTable;

/// Puts the reader's runs, paragraphs, table cells and pictures into a QTextDocument.
/// Tables are built lazily, one row at a time as content arrives, within a cell budget that
/// grows with the input size, so that no input makes the document larger than it warrants.
class RtfDocumentBuilder final
{
    Q_DISABLE_COPY_MOVE(RtfDocumentBuilder)
public:
    /// Most columns a table gets; cells beyond it share the last cell, separated by tabs.
    static constexpr int MaxColumns = 64;

    RtfDocumentBuilder(QTextDocument* doc, qsizetype inputSize);

    /// @p text without the characters that would break the document's structure or mean
    /// nothing on screen: control characters but the tab, non-characters, frame markers and
    /// unpaired surrogates.
    static QString cleanText(QString text);

    void insertText(const QString& text, const QTextCharFormat& format, bool inTable);
    void insertImage(const QImage& image, const QTextCharFormat& format, bool inTable);
    void endParagraph(const QTextBlockFormat& format, bool inTable);
    /// Number of cells the next table row declares (\cellx); 0 when it declares none.
    void setRowDefinition(int columns);
    void endCell(const QTextBlockFormat& format);
    void endRow();
    /// Gives the last paragraph its format.
    void finish(const QTextBlockFormat& format);
    /// Ends a document whose last paragraph mark closed its last paragraph: the mark opens
    /// no empty paragraph of its own, as in every word processor.
    void finishAfterParagraphMark();

    /// Where the next text goes in the document.
    int position() const { return m_cursor.position(); }

    /// The resource name of the next picture, unique within the document.
    QString nextImageName();

private:
    void place(bool inTable);
    bool enterCell();
    void leaveTable();
    void mergeEmptyBlock();
    bool sameFrameAsPrevious() const;
    bool startRow();

    QTextDocument* m_doc;
    QTextCursor m_cursor;
    QTextTable* m_table = nullptr;
    qint64 m_cellBudget;
    int m_row = 0;
    int m_column = 0;
    int m_rowColumns = 0;
    int m_images = 0;
    bool m_rowDone = false;
    bool m_cellOverflow = false;
    bool m_tablesExhausted = false;
};
