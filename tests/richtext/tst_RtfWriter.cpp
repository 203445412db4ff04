#include "richtext/RichText.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QDebug>
#include <QImage>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextTable>

using namespace Qt::StringLiterals;

using Build = void (*)(QTextCursor&);

Q_DECLARE_METATYPE(QTextCharFormat)
Q_DECLARE_METATYPE(QTextBlockFormat)
Q_DECLARE_METATYPE(Build)

class tst_RtfWriter final : public QObject
{
    Q_OBJECT

private slots:
    void charFormatRoundTrip_data();
    void charFormatRoundTrip();
    void blockFormatRoundTrip_data();
    void blockFormatRoundTrip();
    void textRoundTrip_data();
    void textRoundTrip();
    void sevenBitWithGbkFallback();
    void tableRoundTrip();
    void pictureRoundTrip();
    void emptyDocument();
    void documentRoundTrip_data();
    void documentRoundTrip();
};

namespace {

QTextDocument* readBack(const QTextDocument& doc, QObject* parent)
{
    auto* copy = new QTextDocument(parent);
    RtfReader::read(RtfWriter::write(doc), copy);
    return copy;
}

/// The fragment whose text is @p text.
QTextFragment fragment(const QTextDocument& doc, const QString& text)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text() == text)
                return it.fragment();
        }
    }
    return {};
}

QString describe(const QTextFormat& format)
{
    QString text;
    QDebug debug(&text);
    const QMap<int, QVariant> properties = format.properties();
    for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
        // Pictures are compared by their size; their names and bytes are the reader's own.
        if (format.isImageFormat() && it.key() != QTextFormat::ImageWidth
            && it.key() != QTextFormat::ImageHeight && it.key() != QTextFormat::ObjectType)
            continue;
        debug << it.key() << it.value();
    }
    return text;
}

/// Every block in reading order with its table cell, format and runs.
QStringList describe(const QTextDocument& doc)
{
    QStringList lines;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QString line;
        if (const QTextTable* table = QTextCursor(block).currentTable()) {
            const QTextTableCell cell = table->cellAt(block.position());
            line += u"cell %1,%2 "_s.arg(cell.row()).arg(cell.column());
        }
        line += u"block "_s + describe(block.blockFormat());
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it)
            line += u" | "_s + it.fragment().text() + u" "_s + describe(it.fragment().charFormat());
        lines.append(line);
    }
    return lines;
}

void mixedQuestion(QTextCursor& cursor)
{
    QTextCharFormat heading;
    heading.setFontFamilies({ u"黑体"_s });
    heading.setFontPointSize(14);
    QTextCharFormat blue;
    blue.setForeground(QColor(0, 0, 255));
    blue.setFontWeight(QFont::Bold);
    QTextCharFormat super;
    super.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    super.setFontPointSize(8);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    QTextBlockFormat indented;
    indented.setLeftMargin(40);
    indented.setRightMargin(20);
    cursor.setBlockFormat(centred);
    cursor.insertText(u"模拟考试试卷"_s, heading);
    cursor.insertBlock(indented);
    cursor.insertText(u"1、面积为 10"_s, QTextCharFormat());
    cursor.insertText(u"3"_s, super);
    cursor.insertText(u" 平方米的说法"_s, QTextCharFormat());
    cursor.insertText(u"正确"_s, blue);
    cursor.insertText(u"的是（　　）。\u2028A．甲\tB．乙"_s, QTextCharFormat());
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(u"末段"_s, QTextCharFormat());
}

void tableFirst(QTextCursor& cursor)
{
    QTextTable* table = cursor.insertTable(1, 2);
    table->cellAt(0, 1).firstCursorPosition().insertText(u"右"_s);
    cursor.setPosition(table->lastPosition() + 1);
    cursor.insertText(u"表后"_s);
}

void adjacentTables(QTextCursor& cursor)
{
    cursor.insertText(u"前"_s);
    QTextTable* first = cursor.insertTable(2, 1);
    first->cellAt(1, 0).firstCursorPosition().insertText(u"一"_s);
    cursor.setPosition(first->lastPosition() + 1);
    QTextTable* second = cursor.insertTable(1, 3);
    second->cellAt(0, 2).firstCursorPosition().insertText(u"二"_s);
}

void blankParagraphs(QTextCursor& cursor)
{
    cursor.insertBlock();
    cursor.insertBlock();
    cursor.insertText(u"中间"_s);
    cursor.insertBlock();
    cursor.insertBlock();
}

/// Adds @p image to the cursor's document as @p name and shows it at @p size.
void insertPicture(QTextCursor& cursor, const QImage& image, const QString& name, QSizeF size)
{
    cursor.document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat picture;
    picture.setName(name);
    picture.setWidth(size.width());
    picture.setHeight(size.height());
    cursor.insertImage(picture);
}

void pictureInCell(QTextCursor& cursor)
{
    QImage image(3, 5, QImage::Format_RGB32);
    image.fill(Qt::red);
    QTextTable* table = cursor.insertTable(1, 1);
    QTextCursor cell = table->cellAt(0, 0).firstCursorPosition();
    cell.insertText(u"图"_s);
    insertPicture(cell, image, u"mem:cell"_s, QSizeF(3, 5));
}

} // namespace

void tst_RtfWriter::documentRoundTrip_data()
{
    QTest::addColumn<Build>("build");
    QTest::newRow("mixed question") << Build(&mixedQuestion);
    QTest::newRow("table first") << Build(&tableFirst);
    QTest::newRow("adjacent tables") << Build(&adjacentTables);
    QTest::newRow("blank paragraphs") << Build(&blankParagraphs);
    QTest::newRow("picture in a cell") << Build(&pictureInCell);
}

void tst_RtfWriter::documentRoundTrip()
{
    QFETCH(Build, build);
    QTextDocument doc;
    QTextCursor cursor(&doc);
    build(cursor);
    const QTextDocument* copy = readBack(doc, this);
    QCOMPARE(describe(*copy), describe(doc));
    // Written again, the copy gives the same document.
    const QTextDocument* second = readBack(*copy, this);
    QCOMPARE(describe(*second), describe(doc));
}

void tst_RtfWriter::charFormatRoundTrip_data()
{
    QTest::addColumn<QTextCharFormat>("format");

    const auto make = [](auto set) {
        QTextCharFormat format;
        set(format);
        return format;
    };
    QTest::newRow("bold") << make([](QTextCharFormat& f) { f.setFontWeight(QFont::Bold); });
    QTest::newRow("italic") << make([](QTextCharFormat& f) { f.setFontItalic(true); });
    QTest::newRow("underline") << make(
        [](QTextCharFormat& f) { f.setUnderlineStyle(QTextCharFormat::SingleUnderline); });
    QTest::newRow("dotted underline")
        << make([](QTextCharFormat& f) { f.setUnderlineStyle(QTextCharFormat::DotLine); });
    QTest::newRow("wave underline") << make(
        [](QTextCharFormat& f) { f.setUnderlineStyle(QTextCharFormat::WaveUnderline); });
    QTest::newRow("strike") << make([](QTextCharFormat& f) { f.setFontStrikeOut(true); });
    QTest::newRow("size") << make([](QTextCharFormat& f) { f.setFontPointSize(10.5); });
    QTest::newRow("colour") << make([](QTextCharFormat& f) { f.setForeground(QColor(0, 0, 255)); });
    QTest::newRow("background") << make([](QTextCharFormat& f) { f.setBackground(QColor(255, 255, 0)); });
    QTest::newRow("super") << make([](QTextCharFormat& f) {
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        f.setFontPointSize(8);
    });
    QTest::newRow("sub") << make(
        [](QTextCharFormat& f) { f.setVerticalAlignment(QTextCharFormat::AlignSubScript); });
    QTest::newRow("chinese font") << make([](QTextCharFormat& f) { f.setFontFamilies({ u"黑体"_s }); });
    QTest::newRow("latin font") << make([](QTextCharFormat& f) { f.setFontFamilies({ u"DejaVu Sans"_s }); });
    QTest::newRow("font name beyond code page 936")
        << make([](QTextCharFormat& f) { f.setFontFamilies({ u"\u00b2 Wingdings"_s }); });
    QTest::newRow("everything") << make([](QTextCharFormat& f) {
        f.setFontFamilies({ u"楷体"_s });
        f.setFontPointSize(16);
        f.setFontWeight(QFont::Bold);
        f.setFontItalic(true);
        f.setUnderlineStyle(QTextCharFormat::SingleUnderline);
        f.setFontStrikeOut(true);
        f.setForeground(QColor(12, 34, 56));
        f.setBackground(QColor(200, 100, 0));
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    });
}

void tst_RtfWriter::charFormatRoundTrip()
{
    QFETCH(QTextCharFormat, format);
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText(u"前 "_s);
    cursor.insertText(u"格式 x{}\\"_s, format);
    cursor.insertText(u" 后"_s, QTextCharFormat());

    const QTextDocument* copy = readBack(doc, this);
    QCOMPARE(copy->toPlainText(), doc.toPlainText());
    const QTextFragment read = fragment(*copy, u"格式 x{}\\"_s);
    QVERIFY(read.isValid());
    const QMap<int, QVariant> expected = format.properties();
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(read.charFormat().property(it.key()), it.value());
    QCOMPARE(read.charFormat().properties().keys(), expected.keys());
    QCOMPARE(fragment(*copy, u" 后"_s).charFormat().properties().size(), 0);
}

void tst_RtfWriter::blockFormatRoundTrip_data()
{
    QTest::addColumn<QTextBlockFormat>("format");

    const auto make = [](auto set) {
        QTextBlockFormat format;
        set(format);
        return format;
    };
    QTest::newRow("centre") << make([](QTextBlockFormat& f) { f.setAlignment(Qt::AlignHCenter); });
    QTest::newRow("right") << make([](QTextBlockFormat& f) { f.setAlignment(Qt::AlignRight); });
    QTest::newRow("justify") << make([](QTextBlockFormat& f) { f.setAlignment(Qt::AlignJustify); });
    QTest::newRow("indents") << make([](QTextBlockFormat& f) {
        f.setLeftMargin(40);
        f.setRightMargin(20);
        f.setTextIndent(-12);
    });
    QTest::newRow("spacing") << make([](QTextBlockFormat& f) {
        f.setTopMargin(6);
        f.setBottomMargin(8);
    });
}

void tst_RtfWriter::blockFormatRoundTrip()
{
    QFETCH(QTextBlockFormat, format);
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText(u"第一段"_s);
    cursor.insertBlock(format);
    cursor.insertText(u"第二段"_s);
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(u"第三段"_s);

    const QTextDocument* copy = readBack(doc, this);
    QCOMPARE(copy->blockCount(), 3);
    QCOMPARE(copy->begin().blockFormat().properties().size(), 0);
    QCOMPARE(copy->begin().next().blockFormat().properties(), format.properties());
    QCOMPARE(copy->lastBlock().blockFormat().properties().size(), 0);
}

void tst_RtfWriter::textRoundTrip_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("ascii") << u"Hello, world."_s;
    QTest::newRow("chinese") << u"证券市场基础知识：下列说法正确的是（　　）。"_s;
    QTest::newRow("paragraphs") << u"第一段\n\n第三段\n"_s;
    QTest::newRow("rtf specials") << u"{braces} \\back\\slash\\ \\par"_s;
    QTest::newRow("tabs") << u"A.\t选项一\tB.\t选项二"_s;
    QTest::newRow("outside gbk") << u"emoji 😀 and ₿ and ﬁ"_s;
    QTest::newRow("latin-1") << u"café naïve ©"_s;
    QTest::newRow("digits after unicode") << u"中1文2"_s;
    QTest::newRow("empty") << QString();
}

void tst_RtfWriter::textRoundTrip()
{
    QFETCH(QString, text);
    QCOMPARE(RichText::plainText(RichText::fromPlainText(text)), text);
}

void tst_RtfWriter::sevenBitWithGbkFallback()
{
    const QByteArray rtf = RichText::fromPlainText(u"中😀"_s);
    for (const char c : rtf)
        QVERIFY2(static_cast<uchar>(c) < 0x80, rtf.constData());
    QVERIFY(rtf.contains("\\uc2"));
    QVERIFY(rtf.contains("\\u20013\\'d6\\'d0"));
    QVERIFY(rtf.contains("\\u-10179??\\u-8704??"));
    QVERIFY(rtf.contains("\\fcharset134 \\'cb\\'ce\\'cc\\'e5;"));
}

void tst_RtfWriter::tableRoundTrip()
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText(u"表前"_s);
    QTextTable* table = cursor.insertTable(2, 3);
    const QStringList cells = { u"甲"_s, u"乙"_s, u"丙"_s, u"丁"_s, u""_s, u"己"_s };
    for (int i = 0; i < cells.size(); ++i) {
        QTextCursor cell = table->cellAt(i / 3, i % 3).firstCursorPosition();
        cell.insertText(cells[i]);
    }
    table->cellAt(1, 2).lastCursorPosition().insertBlock();
    table->cellAt(1, 2).lastCursorPosition().insertText(u"第二段"_s);
    table->cellAt(0, 0).lastCursorPosition().insertBlock();
    cursor.setPosition(table->lastPosition() + 1);
    cursor.insertText(u"表后"_s);

    const QTextDocument* copy = readBack(doc, this);
    QCOMPARE(RichText::plainText(*copy), u"表前\n甲\n\t乙\t丙\n丁\t\t己\n第二段\n表后"_s);
    QCOMPARE(RichText::plainText(*copy), RichText::plainText(doc));
    QTextCursor find(const_cast<QTextDocument*>(copy));
    find.movePosition(QTextCursor::NextBlock);
    const QTextTable* readTable = find.currentTable();
    QVERIFY(readTable);
    QCOMPARE(readTable->rows(), 2);
    QCOMPARE(readTable->columns(), 3);
}

void tst_RtfWriter::pictureRoundTrip()
{
    QImage image(6, 4, QImage::Format_ARGB32);
    image.fill(QColor(10, 200, 30));
    image.setPixelColor(0, 0, QColor(255, 0, 0));
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText(u"图："_s);
    insertPicture(cursor, image, u"mem:pic"_s, QSizeF(12, 8));
    cursor.insertText(u"。"_s);

    const QByteArray rtf = RtfWriter::write(doc);
    QVERIFY(rtf.contains("\\pngblip"));
    QTextDocument copy;
    RtfReader::read(rtf, &copy);
    QCOMPARE(RichText::plainText(copy), u"图：。"_s);
    QTextBlock::iterator it = copy.begin().begin();
    ++it;
    const QTextImageFormat read = it.fragment().charFormat().toImageFormat();
    QVERIFY(read.isValid());
    QCOMPARE(read.width(), 12.0);
    QCOMPARE(read.height(), 8.0);
    const QImage readImage = copy.resource(QTextDocument::ImageResource, QUrl(read.name())).value<QImage>();
    QCOMPARE(readImage.size(), image.size());
    QCOMPARE(readImage.pixelColor(0, 0), QColor(255, 0, 0));
    QCOMPARE(readImage.pixelColor(5, 3), QColor(10, 200, 30));

    // A picture read from RTF is written back with the bytes it came with.
    QCOMPARE(RtfWriter::write(copy), rtf);
}

void tst_RtfWriter::emptyDocument()
{
    const QTextDocument doc;
    QTextDocument copy;
    copy.setPlainText(u"x"_s);
    RtfReader::read(RtfWriter::write(doc), &copy);
    QVERIFY(copy.isEmpty());
    QCOMPARE(copy.blockCount(), 1);
}

QTEST_MAIN(tst_RtfWriter)
#include "tst_RtfWriter.moc"
