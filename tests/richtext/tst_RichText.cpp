#include "richtext/RichText.h"
#include "richtext/RtfReader.h"

#include <cctype>

#include <QFile>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace Qt::StringLiterals;

class tst_RichText final : public QObject
{
    Q_OBJECT

private slots:
    void fromPlainText_data();
    void fromPlainText();
    void storedAsText();
    void documentPlainText();
    void fixturePlainText_data();
    void fixturePlainText();
    void fixtureFormat_data();
    void fixtureFormat();
    void truncatedFixture_data();
    void truncatedFixture();
};

namespace {

QByteArray fixture(const QString& name)
{
    QFile file(QStringLiteral(VELLUMORE_RICHTEXT_FIXTURES "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// The fragment whose text is @p text, else the first that contains it; the first picture
/// when @p text is empty.
QTextFragment findFragment(const QTextDocument& doc, const QString& text)
{
    QTextFragment containing;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (text.isEmpty() ? fragment.charFormat().isImageFormat() : fragment.text() == text)
                return fragment;
            if (!text.isEmpty() && !containing.isValid() && fragment.text().contains(text))
                containing = fragment;
        }
    }
    return containing;
}

const QString SampleHead = u"证券市场基础知识\n"
                           u"1、下列关于股票的说法，正确的是（　　）。\n"
                           u"A. 股票是一种有价证券\n"
                           u"B. 面积单位是m2，水的化学式是H2O\n"_s;

} // namespace

void tst_RichText::fromPlainText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("plain");

    QTest::newRow("default note") << u"本题暂无注释或笔记"_s << u"本题暂无注释或笔记"_s;
    QTest::newRow("crlf lines") << u"一\r\n二\r三\n"_s << u"一\n二\n三\n"_s;
    QTest::newRow("leading blanks kept") << u"  　题目"_s << u"  　题目"_s;
    QTest::newRow("control characters dropped") << u"a\u0001b\u0000c\u007fd"_s << u"abcd"_s;
    const QString longNote = QString(200000, u'笔') + u"\n"_s + QString(50000, u'x');
    QTest::newRow("note of 250000 characters") << longNote << longNote;
}

void tst_RichText::fromPlainText()
{
    QFETCH(QString, text);
    QFETCH(QString, plain);
    const QByteArray rtf = RichText::fromPlainText(text);
    QVERIFY(RtfReader::isRtf(rtf));
    QCOMPARE(RichText::plainText(rtf), plain);
}

void tst_RichText::storedAsText()
{
    // The bank hands documents over as QString; both conversions back must read alike.
    const QString stored = QString::fromLatin1(RichText::fromPlainText(u"证券投资基金"_s));
    QCOMPARE(RichText::plainText(stored.toLatin1()), u"证券投资基金"_s);
    QCOMPARE(RichText::plainText(stored.toUtf8()), u"证券投资基金"_s);
    const QString utf8Rtf = u"{\\rtf1\\ansi\\ansicpg936 证券{\\b 投资}基金}"_s;
    QCOMPARE(RichText::plainText(utf8Rtf.toUtf8()), u"证券投资基金"_s);
}

void tst_RichText::documentPlainText()
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText(u"a"_s);
    cursor.insertText(QString(QChar::LineSeparator));
    cursor.insertText(u"b\u00a0c"_s);
    cursor.insertBlock();
    cursor.insertText(u"d"_s);
    QCOMPARE(RichText::plainText(doc), u"a\nb c\nd"_s);
}

void tst_RichText::fixturePlainText_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");

    QTest::newRow("rich-edit question") << u"richedit-question.rtf"_s
                                        << u"1、下列关于证券投资基金的说法，正确的是（　　）。\n"
                                           u"A．基金份额持有人享有收益权\n"
                                           u"B．某公式：x2 + y1\n"
                                           u"C．€100 ①\n"
                                           u"代码\t名称\n"
                                           u"600000\t浦发银行\n"
                                           u"图示：\n"
                                           u"D．以上都对"_s;
    QTest::newRow("rich-edit big5") << u"richedit-big5.rtf"_s << u"證券投資基金\n繁體中文測試"_s;
    QTest::newRow("libreoffice") << u"libreoffice.rtf"_s
                                 << SampleHead
            + u"C. 红色选项 Red option\n代码\t名称\n600000\t浦发银行\n图示：\nD. 以上都对"_s;
    QTest::newRow("pandoc") << u"pandoc.rtf"_s
                            << SampleHead + u"代码\t名称\n600000\t浦发银行\n\n\nD. 以上都对"_s;
    QString abiword
        = SampleHead + u"C. 红色选项 Red option\n代码\t名称\n600000\t浦发银行\n\n图示：\nD. 以上都对\n\n\n"_s;
    abiword.replace(u"（　　）"_s, u"（ ）"_s);
    QTest::newRow("abiword") << u"abiword.rtf"_s << abiword;
}

void tst_RichText::fixturePlainText()
{
    QFETCH(QString, file);
    QFETCH(QString, expected);
    const QByteArray rtf = fixture(file);
    QVERIFY(!rtf.isEmpty());
    QCOMPARE(RichText::plainText(rtf), expected);
}

void tst_RichText::fixtureFormat_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("property");
    QTest::addColumn<QVariant>("expected");

    const QVariant bold(static_cast<int>(QFont::Bold));
    const QVariant super(static_cast<int>(QTextCharFormat::AlignSuperScript));
    const QVariant sub(static_cast<int>(QTextCharFormat::AlignSubScript));
    const int weight = QTextFormat::FontWeight;
    const int italic = QTextFormat::FontItalic;
    const int offset = QTextFormat::TextVerticalAlignment;
    const int colour = QTextFormat::ForegroundBrush;
    const int width = QTextFormat::ImageWidth;

    QTest::newRow("rich-edit blue") << u"richedit-question.rtf"_s << u"基金份额"_s << colour
                                    << QVariant(QBrush(QColor(0, 0, 255)));
    QTest::newRow("rich-edit bold") << u"richedit-question.rtf"_s << u"收益权"_s << weight << bold;
    QTest::newRow("rich-edit raised") << u"richedit-question.rtf"_s << u"2"_s << offset << super;
    QTest::newRow("rich-edit lowered") << u"richedit-question.rtf"_s << u"1"_s << offset << sub;
    QTest::newRow("rich-edit size") << u"richedit-question.rtf"_s << u"证券"_s
                                    << int(QTextFormat::FontPointSize) << QVariant(12.0);
    QTest::newRow("rich-edit font") << u"richedit-question.rtf"_s << u"证券"_s
                                    << int(QTextFormat::FontFamilies) << QVariant(QStringList { u"宋体"_s });
    QTest::newRow("rich-edit picture") << u"richedit-question.rtf"_s << QString() << width << QVariant(8.0);
    QTest::newRow("big5 centred") << u"richedit-big5.rtf"_s << u"繁體"_s << -int(QTextFormat::BlockAlignment)
                                  << QVariant(int(Qt::AlignHCenter));
    QTest::newRow("libreoffice bold") << u"libreoffice.rtf"_s << u"证券市场"_s << weight << bold;
    QTest::newRow("libreoffice italic") << u"libreoffice.rtf"_s << u"股票"_s << italic << QVariant(true);
    QTest::newRow("libreoffice super") << u"libreoffice.rtf"_s << u"2"_s << offset << super;
    QTest::newRow("libreoffice red") << u"libreoffice.rtf"_s << u"红色"_s << colour
                                     << QVariant(QBrush(QColor(255, 0, 0)));
    QTest::newRow("libreoffice picture") << u"libreoffice.rtf"_s << QString() << width << QVariant(8.0);
    QTest::newRow("abiword italic") << u"abiword.rtf"_s << u"股票"_s << italic << QVariant(true);
    QTest::newRow("abiword super") << u"abiword.rtf"_s << u"2"_s << offset << super;
    // AbiWord and pandoc give an 8-pixel picture 160 twips, as at 72 dots per inch.
    QTest::newRow("abiword picture") << u"abiword.rtf"_s << QString() << width
                                     << QVariant(159 / 15.0 * 99 / 100.0);
    QTest::newRow("pandoc bold") << u"pandoc.rtf"_s << u"证券市场"_s << weight << bold;
    QTest::newRow("pandoc super") << u"pandoc.rtf"_s << u"2"_s << offset << super;
    QTest::newRow("pandoc picture") << u"pandoc.rtf"_s << QString() << width
                                    << QVariant(160 / 15.0 * 100 / 100.0);
}

void tst_RichText::fixtureFormat()
{
    QFETCH(QString, file);
    QFETCH(QString, text);
    QFETCH(int, property);
    QFETCH(QVariant, expected);
    QTextDocument doc;
    RtfReader::read(fixture(file), &doc);
    const QTextFragment fragment = findFragment(doc, text);
    QVERIFY(fragment.isValid());
    // A negative property names one of the paragraph's.
    const QVariant actual = property < 0
        ? doc.findBlock(fragment.position()).blockFormat().property(-property)
        : fragment.charFormat().property(property);
    QCOMPARE(actual, expected);
}

void tst_RichText::truncatedFixture_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("rich-edit question") << u"richedit-question.rtf"_s;
    QTest::newRow("libreoffice") << u"libreoffice.rtf"_s;
    QTest::newRow("pandoc") << u"pandoc.rtf"_s;
}

void tst_RichText::truncatedFixture()
{
    QFETCH(QString, file);
    const QByteArray rtf = fixture(file);
    const QString full = RichText::plainText(rtf);
    int paragraphs = 0;
    for (qsizetype size = 0; size <= rtf.size(); ++size) {
        const QByteArray cut = rtf.left(size);
        const QString text = RichText::plainText(cut);
        QVERIFY(text.size() <= cut.size());
        // Cut after a paragraph mark outside a table row, the document holds the paragraphs
        // before it.
        const bool afterMark = cut.endsWith("\\par") && (size == rtf.size() || !std::isalpha(rtf[size]))
            && cut.lastIndexOf("\\intbl") <= cut.lastIndexOf("\\row");
        if (afterMark) {
            ++paragraphs;
            QVERIFY2(full.startsWith(text), qPrintable(text));
        }
    }
    QVERIFY(paragraphs > 3);
}

QTEST_MAIN(tst_RichText)
#include "tst_RichText.moc"
