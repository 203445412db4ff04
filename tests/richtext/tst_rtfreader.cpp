#include "richtext/RichText.h"
#include "richtext/RtfReader.h"

#include <QBuffer>
#include <QImage>
#include <QStringEncoder>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

using namespace Qt::StringLiterals;

class tst_RtfReader final : public QObject
{
    Q_OBJECT

private slots:
    void plainText_data();
    void plainText();
    void charFormat_data();
    void charFormat();
    void blockFormat_data();
    void blockFormat();
    void replacesContent();
    void badInput_data();
    void badInput();
    void pictureBudget();
};

namespace {

/// Format of the first fragment whose text is "x".
QTextCharFormat formatOfX(const QTextDocument& doc)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text() == u"x")
                return it.fragment().charFormat();
        }
    }
    return {};
}

QByteArray repeated(const char* piece, int count)
{
    return QByteArray(piece).repeated(count);
}

/// A PNG header that claims an enormous picture.
QByteArray hugePngHex()
{
    const QByteArray header = QByteArray::fromHex("89504e470d0a1a0a0000000d49484452")
        + QByteArray::fromHex("000186a0000186a00802000000") + QByteArray(4, '\0');
    return header.toHex();
}

QByteArray gbk(const char16_t* text)
{
    QStringEncoder encoder("windows-936");
    return encoder(QString::fromUtf16(text));
}

} // namespace

void tst_RtfReader::plainText_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("ascii") << QByteArray("{\\rtf1\\ansi Hello world}") << u"Hello world"_s;
    QTest::newRow("paragraphs") << QByteArray("{\\rtf1 one\\par two\\par\r\nthree}") << u"one\ntwo\nthree"_s;
    QTest::newRow("final paragraph mark") << QByteArray("{\\rtf1 a\\par\r\n}") << u"a"_s;
    QTest::newRow("empty last paragraph") << QByteArray("{\\rtf1 a\\par\\par}") << u"a\n"_s;
    QTest::newRow("final mark after a table")
        << QByteArray("{\\rtf1\\trowd\\cellx100\\intbl a\\cell\\row\\pard b\\par}") << u"a\nb"_s;
    QTest::newRow("line and tab") << QByteArray("{\\rtf1 a\\line b\\tab c}") << u"a\nb\tc"_s;
    QTest::newRow("backslash newline") << QByteArray("{\\rtf1 a\\\nb}") << u"a\nb"_s;
    QTest::newRow("gbk escapes") << QByteArray(
        "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
        "\\f0\\fs18 \\'d6\\'d0\\'ce\\'c4}")
                                 << u"中文"_s;
    QTest::newRow("gbk trail byte written as ascii")
        << QByteArray("{\\rtf1\\ansi\\ansicpg936 \\'81@\\'b0\\'a1}") << u"丂啊"_s;
    QTest::newRow("big5 through charset")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f1\\fcharset136 MingLiU;}}\\f1 \\'a4\\'a4\\'a4\\'e5}")
        << u"中文"_s;
    QTest::newRow("cp1252") << QByteArray("{\\rtf1\\ansi caf\\'e9 \\'80}") << u"café €"_s;
    QTest::newRow("charset 0 beside cp936") << QByteArray(
        "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset134 SimSun;}}"
        "\\f0 caf\\'e9 \\f1 \\'d6\\'d0}") << u"café 中"_s;
    QTest::newRow("double-byte associated font")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f13\\fcharset134 SimSun;}}"
                      "\\f0\\loch\\af0\\hich\\af0\\dbch\\af13 \\'b2\\'e2}")
        << u"测"_s;
    QTest::newRow("unicode uc1") << QByteArray("{\\rtf1 \\u20013?\\u25991?}") << u"中文"_s;
    QTest::newRow("unicode uc2 gbk fallback")
        << QByteArray("{\\rtf1\\uc2 \\u20013\\'d6\\'d0\\u25991\\'ce\\'c4!}") << u"中文!"_s;
    QTest::newRow("unicode uc0") << QByteArray("{\\rtf1\\uc0 \\u20013 x}") << u"中x"_s;
    QTest::newRow("uc is scoped to its group")
        << QByteArray("{\\rtf1\\uc1 {\\uc2 \\u20013\\'d6\\'d0}\\u25991?}") << u"中文"_s;
    QTest::newRow("fallback ends at group end") << QByteArray("{\\rtf1\\uc3 {\\u20013?}ab}") << u"中ab"_s;
    QTest::newRow("fallback counts a control word as one")
        << QByteArray("{\\rtf1\\uc2 \\u20013\\tab x}") << u"中"_s;
    QTest::newRow("negative unicode") << QByteArray("{\\rtf1 \\u-4064?}") << QString(QChar(0xf020));
    QTest::newRow("surrogate pair") << QByteArray("{\\rtf1 \\u-10179?\\u-8704?}") << u"😀"_s;
    QTest::newRow("lone surrogate") << QByteArray("{\\rtf1 a\\u-10179?b}") << u"a\uFFFDb"_s;
    QTest::newRow("utf-8 bytes") << u"{\\rtf1\\ansi 中文，好}"_s.toUtf8() << u"中文，好"_s;
    QTest::newRow("utf-8 bytes beside gbk escapes")
        << u"{\\rtf1\\ansi\\ansicpg936 中\\'ce\\'c4}"_s.toUtf8() << u"中文"_s;
    QTest::newRow("escaped symbols") << QByteArray("{\\rtf1 \\{a\\}\\\\}") << u"{a}\\"_s;
    QTest::newRow("named characters")
        << QByteArray("{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote a\\~b\\_c\\-d}")
        << u"—–•‘’“”a b‑cd"_s;
    QTest::newRow("tables of the header skipped")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}"
                      "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}text}")
        << u"text"_s;
    QTest::newRow("unknown optional destination")
        << QByteArray("{\\rtf1{\\*\\generator Riched20 10.0;}a{\\*\\foo b}c}") << u"ac"_s;
    QTest::newRow("unknown word ignored") << QByteArray("{\\rtf1\\viewkind4\\nouicompat\\foo12 a}") << u"a"_s;
    QTest::newRow("field result") << QByteArray(
        "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}}")
                                  << u"link"_s;
    QTest::newRow("hidden text") << QByteArray("{\\rtf1{\\v hidden}shown}") << u"shown"_s;
    QTest::newRow("binary data skipped") << QByteArray("{\\rtf1 a{\\*\\x\\bin3 }}}}b}") << u"ab"_s;
    QTest::newRow("unicode alternates") << QByteArray("{\\rtf1{\\upr{ansi}{\\*\\ud{uni}}}}") << u"uni"_s;
    QTest::newRow("picture alternatives") << QByteArray(
        "{\\rtf1{\\*\\shppict{\\pict\\wmetafile8 0011}}{\\nonshppict{\\pict\\wmetafile8 0011}}text}")
                                          << u"text"_s;
    QTest::newRow("list text kept") << QByteArray("{\\rtf1{\\listtext 1.\\tab}item}") << u"1.\titem"_s;
    QTest::newRow("after the document") << QByteArray("{\\rtf1 a}b") << u"a"_s;
    QTest::newRow("page and section breaks") << QByteArray("{\\rtf1 a\\page b\\sect c}") << u"a\nb\nc"_s;
    QTest::newRow("table") << QByteArray(
        "{\\rtf1 before\\par\\trowd\\cellx1000\\cellx2000\\pard\\intbl a\\cell b\\cell\\row"
        "\\trowd\\cellx1000\\cellx2000\\pard\\intbl c\\cell d\\cell\\row\\pard after}")
                           << u"before\na\tb\nc\td\nafter"_s;
    QTest::newRow("table cell ending in a paragraph mark") << QByteArray(
        "{\\rtf1\\trowd\\cellx1000\\cellx2000{\\pard\\intbl a\\par}\\cell{\\pard\\intbl b\\par}"
        "\\cell\\intbl\\row}") << u"a\tb"_s;
    QTest::newRow("more cells than declared")
        << QByteArray("{\\rtf1\\trowd\\cellx1000\\pard\\intbl a\\cell b\\cell c\\cell\\row\\pard z}")
        << u"a\tb\tc\nz"_s;
    QTest::newRow("plain-text copy of nested tables") << QByteArray("{\\rtf1 x{\\nonesttables y}}") << u"x"_s;
    QTest::newRow("nested table cells")
        << QByteArray("{\\rtf1\\intbl a\\nestcell b\\nestcell\\nestrow\\cell\\row}") << u"a\tb\t\n"_s;
    QTest::newRow("not rtf: utf-8") << u"第一行\r\n第二行\rthird"_s.toUtf8() << u"第一行\n第二行\nthird"_s;
    QTest::newRow("not rtf: gbk") << gbk(u"中文\n题目") << u"中文\n题目"_s;
    QTest::newRow("not rtf: empty") << QByteArray() << QString();
    QTest::newRow("rtf after blanks and bom") << QByteArray("\xef\xbb\xbf \r\n{\\rtf1 a}") << u"a"_s;
}

void tst_RtfReader::plainText()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(RichText::plainText(rtf), expected);
}

void tst_RtfReader::charFormat_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("property");
    QTest::addColumn<QVariant>("expected");

    const QByteArray head
        = "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"
          "{\\f1\\fswiss Arial{\\*\\panose 020b0604020202020204};}}"
          "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue255;}";
    const QVariant unset;
    QTest::newRow("bold") << head + "{\\b x}}" << int(QTextFormat::FontWeight) << QVariant(int(QFont::Bold));
    QTest::newRow("bold off") << head + "\\b{\\b0 x}}" << int(QTextFormat::FontWeight) << unset;
    QTest::newRow("plain") << head + "\\b\\i\\fs40{\\plain x}}" << int(QTextFormat::FontWeight) << unset;
    QTest::newRow("group restores") << head + "{\\b a}x}" << int(QTextFormat::FontWeight) << unset;
    QTest::newRow("italic") << head + "\\i x}" << int(QTextFormat::FontItalic) << QVariant(true);
    QTest::newRow("underline") << head + "\\ul x}" << int(QTextFormat::TextUnderlineStyle)
                               << QVariant(int(QTextCharFormat::SingleUnderline));
    QTest::newRow("underline none") << head + "\\ul\\ulnone x}" << int(QTextFormat::TextUnderlineStyle)
                                    << unset;
    QTest::newRow("underline wave") << head + "\\ulwave x}" << int(QTextFormat::TextUnderlineStyle)
                                    << QVariant(int(QTextCharFormat::WaveUnderline));
    QTest::newRow("strike") << head + "\\strike x}" << int(QTextFormat::FontStrikeOut) << QVariant(true);
    QTest::newRow("size") << head + "\\fs21 x}" << int(QTextFormat::FontPointSize) << QVariant(10.5);
    QTest::newRow("enormous size") << head + "\\fs99999999999 x}" << int(QTextFormat::FontPointSize)
                                   << QVariant(1638.0);
    QTest::newRow("colour") << head + "\\cf1 x}" << int(QTextFormat::ForegroundBrush)
                            << QVariant(QBrush(QColor(255, 0, 0)));
    QTest::newRow("colour auto") << head + "\\cf0 x}" << int(QTextFormat::ForegroundBrush) << unset;
    QTest::newRow("colour out of table") << head + "\\cf9 x}" << int(QTextFormat::ForegroundBrush) << unset;
    QTest::newRow("highlight") << head + "\\highlight2 x}" << int(QTextFormat::BackgroundBrush)
                               << QVariant(QBrush(QColor(0, 128, 255)));
    QTest::newRow("background") << head + "\\cb1 x}" << int(QTextFormat::BackgroundBrush)
                                << QVariant(QBrush(QColor(255, 0, 0)));
    QTest::newRow("super") << head + "\\super x}" << int(QTextFormat::TextVerticalAlignment)
                           << QVariant(int(QTextCharFormat::AlignSuperScript));
    QTest::newRow("sub") << head + "\\sub x}" << int(QTextFormat::TextVerticalAlignment)
                         << QVariant(int(QTextCharFormat::AlignSubScript));
    QTest::newRow("up") << head + "\\up6 x}" << int(QTextFormat::TextVerticalAlignment)
                        << QVariant(int(QTextCharFormat::AlignSuperScript));
    QTest::newRow("dn") << head + "\\dn2 x}" << int(QTextFormat::TextVerticalAlignment)
                        << QVariant(int(QTextCharFormat::AlignSubScript));
    QTest::newRow("up0") << head + "\\up6\\up0 x}" << int(QTextFormat::TextVerticalAlignment) << unset;
    QTest::newRow("nosupersub") << head + "\\sub\\nosupersub x}" << int(QTextFormat::TextVerticalAlignment)
                                << unset;
    QTest::newRow("gbk font name") << head + "\\f0 x}" << int(QTextFormat::FontFamilies)
                                   << QVariant(QStringList { u"宋体"_s });
    QTest::newRow("font name beside panose")
        << head + "\\f1 x}" << int(QTextFormat::FontFamilies) << QVariant(QStringList { u"Arial"_s });
}

void tst_RtfReader::charFormat()
{
    QFETCH(QByteArray, rtf);
    QFETCH(int, property);
    QFETCH(QVariant, expected);
    QTextDocument doc;
    RtfReader::read(rtf, &doc);
    const QTextCharFormat format = formatOfX(doc);
    QVERIFY(format.isValid());
    QCOMPARE(format.property(property), expected);
}

void tst_RtfReader::blockFormat_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("property");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("centre") << QByteArray("{\\rtf1\\qc x}") << int(QTextFormat::BlockAlignment)
                            << QVariant(int(Qt::AlignHCenter));
    QTest::newRow("right") << QByteArray("{\\rtf1\\qr x}") << int(QTextFormat::BlockAlignment)
                           << QVariant(int(Qt::AlignRight));
    QTest::newRow("justify") << QByteArray("{\\rtf1\\qj x}") << int(QTextFormat::BlockAlignment)
                             << QVariant(int(Qt::AlignJustify));
    QTest::newRow("left") << QByteArray("{\\rtf1\\qc\\ql x}") << int(QTextFormat::BlockAlignment)
                          << QVariant();
    QTest::newRow("left indent") << QByteArray("{\\rtf1\\li600 x}") << int(QTextFormat::BlockLeftMargin)
                                 << QVariant(40.0);
    QTest::newRow("right indent") << QByteArray("{\\rtf1\\ri300 x}") << int(QTextFormat::BlockRightMargin)
                                  << QVariant(20.0);
    QTest::newRow("first line") << QByteArray("{\\rtf1\\fi-150 x}") << int(QTextFormat::TextIndent)
                                << QVariant(-10.0);
    QTest::newRow("space before") << QByteArray("{\\rtf1\\sb150 x}") << int(QTextFormat::BlockTopMargin)
                                  << QVariant(10.0);
    QTest::newRow("pard resets") << QByteArray("{\\rtf1\\li600\\pard x}") << int(QTextFormat::BlockLeftMargin)
                                 << QVariant();
    QTest::newRow("paragraph mark decides")
        << QByteArray("{\\rtf1 a\\par x\\qc\\par b}") << int(QTextFormat::BlockAlignment)
        << QVariant(int(Qt::AlignHCenter));
    QTest::newRow("enormous indent") << QByteArray("{\\rtf1\\li-99999999999 x}")
                                     << int(QTextFormat::BlockLeftMargin) << QVariant(-2112.0);
}

void tst_RtfReader::blockFormat()
{
    QFETCH(QByteArray, rtf);
    QFETCH(int, property);
    QFETCH(QVariant, expected);
    QTextDocument doc;
    RtfReader::read(rtf, &doc);
    QTextBlock block = doc.begin();
    while (block.isValid() && block.text() != u"x")
        block = block.next();
    QVERIFY(block.isValid());
    QCOMPARE(block.blockFormat().property(property), expected);
}

void tst_RtfReader::replacesContent()
{
    QTextDocument doc;
    doc.setPlainText(u"old text"_s);
    doc.addResource(QTextDocument::ImageResource, QUrl(u"old"_s), QImage(2, 2, QImage::Format_RGB32));
    RtfReader::read(QByteArray("{\\rtf1 new}"), &doc);
    QCOMPARE(doc.toPlainText(), u"new"_s);
    QVERIFY(!doc.resource(QTextDocument::ImageResource, QUrl(u"old"_s)).isValid());
    QVERIFY(!doc.isUndoAvailable());
    RtfReader::read(QByteArray("{\\rtf1 x}"), nullptr);
}

void tst_RtfReader::badInput_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("extra closing braces") << QByteArray("{\\rtf1 a}}}}}b") << u"a"_s;
    QTest::newRow("unclosed groups") << QByteArray("{\\rtf1 a{\\b b{{{c") << u"abc"_s;
    QTest::newRow("unclosed font table") << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial") << QString();
    QTest::newRow("cut in an escape") << QByteArray("{\\rtf1 a\\'4") << u"a"_s;
    QTest::newRow("cut after a backslash") << QByteArray("{\\rtf1 a\\") << u"a"_s;
    QTest::newRow("cut in a double-byte pair")
        << QByteArray("{\\rtf1\\ansicpg936 \\'d6\\'d0\\'ce") << u"中"_s;
    QTest::newRow("cut in a picture") << QByteArray("{\\rtf1 a{\\pict\\pngblip 89504e47") << u"a"_s;
    QTest::newRow("cut in a table") << QByteArray("{\\rtf1\\trowd\\cellx1\\cellx2\\intbl a\\cell b")
                                    << u"a\tb"_s;
    QTest::newRow("deep nesting") << "{\\rtf1 " + repeated("{", 100000) + "x" + repeated("}", 100000) + "y}"
                                  << u"xy"_s;
    QTest::newRow("deep nesting unclosed") << "{\\rtf1 a" + repeated("{\\b", 1000000) << u"a"_s;
    QTest::newRow("enormous font size") << QByteArray("{\\rtf1\\fs99999999999999999999 a}") << u"a"_s;
    QTest::newRow("enormous unicode") << QByteArray("{\\rtf1\\u99999999999?a}") << u"\uFFFDa"_s;
    QTest::newRow("below the unicode range") << QByteArray("{\\rtf1\\u-40000?a}") << u"\uFFFDa"_s;
    QTest::newRow("enormous fallback")
        << QByteArray("{\\rtf1\\uc2147483647\\u20013 abcdefghijklmnopqrstuvwxyz}") << u"中qrstuvwxyz"_s;
    QTest::newRow("enormous binary") << QByteArray("{\\rtf1 a\\bin999999999999 xyz}") << u"a"_s;
    QTest::newRow("negative binary") << QByteArray("{\\rtf1 a\\bin-5 x}") << u"ax"_s;
    QTest::newRow("enormous control word")
        << "{\\rtf1 a\\" + repeated("x", 100000) + "99999999999999999999 b}" << u"ab"_s;
    QTest::newRow("enormous colour index")
        << QByteArray("{\\rtf1\\cf2147483647\\highlight99999999999 a}") << u"a"_s;
    QTest::newRow("enormous picture scale")
        << QByteArray("{\\rtf1{\\pict\\pngblip\\picscalex99999999\\picwgoal99999999 00}a}") << u"a"_s;
    QTest::newRow("picture claiming a huge size")
        << "{\\rtf1 a{\\pict\\pngblip " + hugePngHex() + "}b}" << u"ab"_s;
    QTest::newRow("nul and control bytes")
        << QByteArray("{\\rtf1 a\\u0?\\u1?\\u-1?\\u-2?b\0c\x01}", 31) << u"abc"_s;
    QTest::newRow("binary noise") << QByteArray("{\\rtf1 \xff\xfe\x00\x80\x81{\\\x90}\\\xa0", 18)
                                  << u"ÿþ€\u0081"_s;
    QByteArray codePages = "{\\rtf1 ";
    for (int cp = 100001; cp <= 120000; ++cp)
        codePages += "\\ansicpg" + QByteArray::number(cp) + " \\'e9";
    QTest::newRow("code page flood") << codePages + "}" << QString(20000, u'é');
    QTest::newRow("font table flood")
        << "{\\rtf1{\\fonttbl{\\f1 " + repeated("a", 1000000) + ";}}\\f1 x}" << u"x"_s;
    QTest::newRow("colour table flood") << "{\\rtf1{\\colortbl" + repeated(";", 1000000) + "}x}" << u"x"_s;
    QTest::newRow("cell definitions flood") << "{\\rtf1\\trowd" + repeated("\\cellx1", 100000)
            + "\\intbl a\\cell\\row}" << u"a"_s + QString(63, u'\t');
    QTest::newRow("rows flood") << "{\\rtf1\\trowd" + repeated("\\cellx1", 64) + "\\intbl"
            + repeated("\\cell\\row", 100000)
            + "}" << QString();
}

void tst_RtfReader::badInput()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QTextDocument doc;
    RtfReader::read(rtf, &doc);
    const QString plain = RichText::plainText(doc);
    if (expected.isEmpty())
        QVERIFY(plain.trimmed().isEmpty());
    else
        QCOMPARE(plain, expected);
    // No more characters than bytes; a paragraph costs four bytes ("\\par"), and table cells
    // beyond a fixed allowance sixty-four.
    QVERIFY(doc.characterCount() <= rtf.size() + 2);
    QVERIFY(doc.blockCount() <= 1100 + rtf.size() / 4 + rtf.size() / 64);
}

void tst_RtfReader::pictureBudget()
{
    // A plain 2000 x 2000 PNG packs four million pixels into a few kilobytes.
    QImage image(2000, 2000, QImage::Format_RGB32);
    image.fill(Qt::white);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(image.save(&buffer, "PNG"));
    const QByteArray picture = "{\\pict\\pngblip " + png.toHex() + "}";
    const QByteArray rtf = "{\\rtf1 " + picture.repeated(50) + "}";
    QTextDocument doc;
    RtfReader::read(rtf, &doc);
    qint64 pictures = 0;
    for (QTextBlock::iterator it = doc.begin().begin(); !it.atEnd(); ++it)
        pictures += it.fragment().charFormat().isImageFormat() ? it.fragment().length() : 0;
    // Four million pixels for any document, and sixteen more for each byte.
    QVERIFY(pictures >= 1);
    QVERIFY2(
        pictures * 2000 * 2000 <= 4 * 1024 * 1024 + rtf.size() * 16, qPrintable(QString::number(pictures)));
}

QTEST_MAIN(tst_RtfReader)
#include "tst_rtfreader.moc"
