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

/// Format of the first fragment whose text is "x"; an invalid format when there is none.
QTextCharFormat formatOfX(const QTextDocument& doc)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text() == u"x")
                return it.fragment().charFormat();
        }
    }
    return QTextFormat().toCharFormat();
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

// Rows of plainText by the kind of difference a word processor would show: each holds what
// the document shows on screen, after its last paragraph mark.

void addLostTextRows()
{
    QTest::newRow("lost: cyrillic heading in a charset 204 font") << QByteArray(
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
        "{\\f1\\froman\\fcharset204 Times New Roman CYR;}}\\pard\\qc\\b\\f1\\fs32 "
        "\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2, \\'ec\\'e8\\'f0\\b0\\par\\pard\\f0\\fs20 Body text.\\par}")
                                                                  << u"Привет, мир\nBody text."_s;
    QTest::newRow("lost: subject line with unicode and cp1251 fallbacks")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1251\\uc1{\\fonttbl{\\f0\\fcharset204 Arial;}}\\f0 "
                      "\\u1058\\'d2\\u1077\\'e5\\u1084\\'ec\\u1072\\'e0: \\'ee\\'f2\\'f7\\'b8\\'f2}")
        << u"Тема: отчёт"_s;
    QTest::newRow("lost: cyrillic among associated fonts") << QByteArray(
        "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}"
        "{\\f1\\froman\\fcharset204 Times New Roman Cyr;}{\\f31505\\fnil\\fcharset134 SimSun;}}"
        "{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\f1\\lang1049\\hich\\af1\\dbch\\af31505\\loch\\f1 "
        "\\'c7\\'e0\\'e3\\'ee\\'eb\\'ee\\'e2\\'ee\\'ea} {\\f1\\hich\\af1\\dbch\\af31505\\loch\\f1 "
        "\\'e2\\'f2\\'ee\\'f0\\'ee\\'e9}}") << u"Заголовок второй"_s;
    QTest::newRow("lost: four charsets in one paragraph")
        << QByteArray("{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset204 Arial;}"
                      "{\\f2\\fcharset161 Arial;}{\\f3\\fcharset134 SimSun;}}"
                      "\\f0 caf\\'e9 \\f1 \\'e4\\'e0 \\f2 \\'ed\\'e1\\'e9 \\f3 \\'ca\\'c7}")
        << u"café да ναι 是"_s;
    QTest::newRow("lost: raw cp1251 bytes")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \xcf\xf0\xe8\xe2\xe5\xf2 world}") << u"Привет world"_s;
    QTest::newRow("lost: text box") << QByteArray(
        "{\\rtf1 before {\\shp{\\*\\shpinst\\shpleft0{\\sp{\\sn shapeType}{\\sv 202}}"
        "{\\shptxt \\pard Box text\\par}}{\\shprslt{\\*\\do\\dobxcolumn{\\*\\dptxbxtext"
        "\\pard Box text\\par}}}}after}")
                                    << u"before Box text\nafter"_s;
    QTest::newRow("lost: text after a hidden paragraph mark")
        << QByteArray("{\\rtf1 one{\\v two\\par}three\\par four}") << u"onethree\nfour"_s;
}

void addHiddenTextRows()
{
    QTest::newRow("hidden: data store")
        << QByteArray("{\\rtf1 a{\\*\\datastore 01050000020000001800000057006f00}b{\\datastore 0105}c}")
        << u"abc"_s;
    QTest::newRow("hidden: xml namespace table")
        << QByteArray("{\\rtf1{\\*\\xmlnstbl{\\xmlns1 http://schemas.example.com/office/word/2003/wordml}}a"
                      "{\\xmlnstbl{\\xmlns1 http://schemas.example.com/office/word/2003/wordml}}b}")
        << u"ab"_s;
    QTest::newRow("hidden: smart tag names")
        << QByteArray("{\\rtf1{\\*\\xmlopen\\xmlns2{\\factoidname place}}Paris{\\*\\xmlclose}}")
        << u"Paris"_s;
    QTest::newRow("hidden: font table without groups")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss Helvetica;\\f1\\fmodern Courier;}\\f0 text}")
        << u"text"_s;
    QTest::newRow("hidden: font names with panose and alternates") << QByteArray(
        "{\\rtf1{\\fonttbl{\\f0\\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}"
        "Times New Roman{\\*\\falt Times};}{\\f1\\fswiss{\\panose 020b0604020202020204}Arial"
        "{\\falt Helvetica};}}\\f0 a\\f1 b}") << u"ab"_s;
    QTest::newRow("hidden: unicode font names")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fnil\\fcharset134 \\u23435?\\u20307?;}"
                      "{\\f1\\fnil{\\upr{\\'cb\\'ce;}{\\*\\ud{\\u23435 ;}}}}}\\f0 x\\f1 y}")
        << u"xy"_s;
    QTest::newRow("hidden: latent style names") << QByteArray(
        "{\\rtf1{\\*\\latentstyles\\lsdstimax376{\\lsdlockedexcept \\lsdqformat1 Normal;heading 1;}}"
        "a{\\latentstyles{\\lsdlockedexcept Title;}}b}")
                                                << u"ab"_s;
    QTest::newRow("hidden: text switched off and on") << QByteArray("{\\rtf1 a\\v hidden\\v0 b}") << u"ab"_s;
    QTest::newRow("hidden: plain ends hidden text") << QByteArray("{\\rtf1 a\\v h\\plain b}") << u"ab"_s;
    QTest::newRow("hidden: field instruction in a group of its own") << QByteArray(
        "{\\rtf1{\\field{\\*\\fldinst{\\rtlch HYPERLINK \"http://x.example/\"}}{\\fldrslt{\\ul link}}}}")
                                                                     << u"link"_s;
    QTest::newRow("hidden: field instruction without star")
        << QByteArray("{\\rtf1 page {\\field{\\fldinst PAGE}{\\fldrslt 1}}}") << u"page 1"_s;
    QTest::newRow("hidden: field inside an instruction") << QByteArray(
        "{\\rtf1{\\field{\\*\\fldinst IF {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}} = 1 \"yes\"}"
        "{\\fldrslt yes}}}") << u"yes"_s;
    QTest::newRow("hidden: annotation") << QByteArray(
        "{\\rtf1 a{\\*\\atnid X}{\\*\\atnauthor Y}\\chatn{\\*\\annotation{\\*\\atnref 1}note}b}")
                                        << u"ab"_s;
    QTest::newRow("hidden: form field settings") << QByteArray(
        "{\\rtf1{\\field{\\*\\fldinst FORMTEXT {\\*\\datafield 8001}{\\*\\formfield{\\fftype0"
        "{\\*\\ffname Name1}{\\*\\ffdeftext Default}{\\*\\ffhelptext Help}}}}{\\fldrslt Typed}}}")
                                                 << u"Typed"_s;
}

void addSymbolRows()
{
    const QByteArray fonts = "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}"
                             "{\\f1\\fnil\\fcharset2 Symbol;}{\\f2\\fnil\\fcharset2 Wingdings;}"
                             "{\\f3\\fnil\\fcharset0 Zapf Dingbats;}{\\f4\\fnil\\fcharset2 Marlett;}}";
    QTest::newRow("symbol: bullet of a list under code page 936") << fonts
            + "\\pard{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}"
              "\\f0 \\'d6\\'d0\\par}" << u"•\t中"_s;
    QTest::newRow("symbol: wingdings bullets")
        << fonts + "{\\f2 \\'a7 \\'6c \\'6e \\'fc \\'d8 \\'76 \\'71 \\'9f}}" << u"▪ ● ■ ✓ ➢ ❖ ❑ •"_s;
    QTest::newRow("symbol: zapf dingbats") << fonts + "{\\f3 3 4 l n u v \\'a8}}" << u"✓ ✔ ● ■ ◆ ❖ ♣"_s;
    QTest::newRow("symbol: greek and mathematics") << fonts + "{\\f1 a b p \\'b3 \\'a5}}" << u"α β π ≥ ∞"_s;
    QTest::newRow("symbol: private-use characters")
        << fonts + "{\\f1\\u-3913 ?}{\\f2\\u61692 ?}{\\f0\\u61623 ?}}" << u"•✓\uF0B7"_s;
    QTest::newRow("symbol: font name with control characters")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fnil Wing\\'00d\\tab\\'09ings;}}\\f0 \\'fc}") << u"✓"_s;
    QTest::newRow("symbol: unicode bullet kept") << fonts + "{\\f1\\u8226 ?}}" << u"•"_s;
    QTest::newRow("symbol: glyph without a character") << fonts + "{\\f2 \\'ff}}" << u"\uF0FF"_s;
    QTest::newRow("symbol: other symbol fonts never join double-byte text")
        << fonts + "\\f4 \\'b7\\f0 \\'d6\\'d0}" << u"·中"_s;
    QTest::newRow("symbol: field") << fonts
            + "{\\field{\\*\\fldinst SYMBOL 183 \\\\f \"Symbol\" \\\\s 10}{\\fldrslt }}"
              "{\\field{\\*\\fldinst SYMBOL 0xFC \\\\f Wingdings}{\\fldrslt}}"
              "{\\field{\\*\\fldinst SYMBOL 169 \\\\f \"Arial\"}{\\fldrslt}}"
              "{\\field{\\*\\fldinst SYMBOL 8364 \\\\u}{\\fldrslt}}}"
                                   << u"•✓©€"_s;
    QTest::newRow("symbol: field result shown once")
        << fonts + "{\\field{\\*\\fldinst SYMBOL 183 \\\\f \"Symbol\"}{\\fldrslt\\f1 \\'b7}}}" << u"•"_s;
}

void addListNumberRows()
{
    QTest::newRow("list: list text") << QByteArray(
        "{\\rtf1{\\listtext\\pard\\plain 1.\\tab}One\\par{\\listtext\\pard\\plain 2.\\tab}Two\\par}")
                                     << u"1.\tOne\n2.\tTwo"_s;
    QTest::newRow("list: list text as written")
        << QByteArray("{\\rtf1{\\listtext ii.\\tab}x\\par{\\listtext 1.4.\\tab}y}") << u"ii.\tx\n1.4.\ty"_s;
    QTest::newRow("list: list text beside its pn copy")
        << QByteArray("{\\rtf1{\\listtext\\pard\\plain\\f0 1.\\tab}\\pard\\ls1 One"
                      "{\\*\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta .}}\\par}")
        << u"1.\tOne"_s;
    QTest::newRow("list: pn text beside pn") << QByteArray(
        "{\\rtf1\\pard{\\pntext\\f0 1.\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\pndec"
        "{\\pntxta.}}\\fi-360\\li720 One\\par{\\pntext\\f0 2.\\tab}Two\\par}")
                                             << u"1.\tOne\n2.\tTwo"_s;
    QTest::newRow("list: pn text beside list text")
        << QByteArray("{\\rtf1{\\listtext 1.\\tab}{\\pntext 1.\\tab}One}") << u"1.\tOne"_s;
    QTest::newRow("list: pn alone numbers its paragraphs") << QByteArray(
        "{\\rtf1\\pard{\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta .}}One\\par Two\\par Three\\par"
        "\\pard After}") << u"1.\tOne\n2.\tTwo\n3.\tThree\nAfter"_s;
    QTest::newRow("list: pn lower roman")
        << QByteArray("{\\rtf1\\pard{\\*\\pn\\pnlvlbody\\pnlcrm\\pnstart1{\\pntxta .}}One\\par Two}")
        << u"i.\tOne\nii.\tTwo"_s;
    QTest::newRow("list: pn letters between texts")
        << QByteArray("{\\rtf1\\pard{\\*\\pn\\pnlvlbody\\pnucltr\\pnstart3{\\pntxtb (}{\\pntxta )}}One}")
        << u"(C)\tOne"_s;
    QTest::newRow("list: pn levels") << QByteArray(
        "{\\rtf1\\pard{\\*\\pn\\pnlvl1\\pndec{\\pntxta .}}A\\par\\pard{\\*\\pn\\pnlvl2\\pnlcltr"
        "{\\pntxta )}}B\\par\\pard{\\*\\pn\\pnlvl2\\pnlcltr{\\pntxta )}}C\\par"
        "\\pard{\\*\\pn\\pnlvl1\\pndec{\\pntxta .}}D}")
                                     << u"1.\tA\na)\tB\nb)\tC\n2.\tD"_s;
    QTest::newRow("list: pn bullet in a symbol font") << QByteArray(
        "{\\rtf1{\\fonttbl{\\f1\\fcharset2 Symbol;}}\\pard{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'b7}}"
        "Item}") << u"•\tItem"_s;
    QTest::newRow("list: pn continuation paragraph") << QByteArray(
        "{\\rtf1\\pard{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}One\\par\\pard{\\*\\pn\\pnlvlcont}more"
        "\\par\\pard{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}Two}")
                                                     << u"1.\tOne\nmore\n2.\tTwo"_s;
    QTest::newRow("list: pn restarts after a plain paragraph") << QByteArray(
        "{\\rtf1\\pard{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}A\\par\\pard plain\\par"
        "\\pard{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}B}") << u"1.\tA\nplain\n1.\tB"_s;
    QTest::newRow("list: section numbering is no paragraph number")
        << QByteArray("{\\rtf1{\\*\\pnseclvl1\\pnucrm\\pnstart1\\pnindent720\\pnhang{\\pntxta .}}text}")
        << u"text"_s;
}

void addCodePageRows()
{
    QTest::newRow("code page: shift-jis through charset 128") << QByteArray(
        "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f1\\fnil\\fcharset128 MS Mincho;}}"
        "\\f1 \\'93\\'fa\\'96\\'7b\\'8c\\'ea}") << u"日本語"_s;
    QTest::newRow("code page: shift-jis through ansicpg932")
        << QByteArray("{\\rtf1\\ansi\\ansicpg932 \\'93\\'fa\\'96\\'7b}") << u"日本"_s;
    QTest::newRow("code page: shift-jis trail bytes as text")
        << QByteArray("{\\rtf1\\ansi\\ansicpg932 \\'83\\\\\\'83t\\'83g \\'83A \\'95\\'5c}")
        << u"ソフト ア 表"_s;
    QTest::newRow("code page: shift-jis pair across a line break")
        << QByteArray("{\\rtf1\\ansi\\ansicpg932 \\'93\r\n\\'fa}") << u"日"_s;
    QTest::newRow("code page: shift-jis behind unicode")
        << QByteArray("{\\rtf1\\ansi\\ansicpg932\\uc2 \\u26085\\'93\\'fa\\u26412\\'96\\'7b}") << u"日本"_s;
    QTest::newRow("code page: shift-jis in word's font modes")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset128 MS Gothic;}}"
                      "\\f0 a {\\hich\\af1\\dbch\\af1\\loch\\f1 \\'93\\'fa} b}")
        << u"a 日 b"_s;
    QTest::newRow("code page: double-byte font named after dbch") << QByteArray(
        "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}"
        "{\\f31\\fnil\\fcharset128 MS Mincho;}}{\\loch\\af0\\hich\\af0\\dbch\\f31 \\'93\\'fa}"
        "{\\hich\\af0\\dbch\\af31\\loch\\f0 abc}}") << u"日abc"_s;
    QTest::newRow("code page: korean through charset 129")
        << QByteArray("{\\rtf1{\\fonttbl{\\f1\\fcharset129 Gulim;}}\\f1 \\'c7\\'d1\\'b1\\'b9\\'be\\'ee}")
        << u"한국어"_s;
    QTest::newRow("code page: gbk through charset 134")
        << QByteArray("{\\rtf1{\\fonttbl{\\f1\\fcharset134 SimSun;}}\\f1 \\'d6\\'d0\\'ce\\'c4}") << u"中文"_s;
    QTest::newRow("code page: big5 through ansicpg950")
        << QByteArray("{\\rtf1\\ansi\\ansicpg950 \\'a4\\'a4\\'a4\\'e5}") << u"中文"_s;
    QTest::newRow("code page: thai through charset 222")
        << QByteArray("{\\rtf1{\\fonttbl{\\f1\\fcharset222 Tahoma;}}\\f1 \\'ca\\'c7\\'d1\\'ca\\'b4\\'d5}")
        << u"สวัสดี"_s;
    QTest::newRow("code page: central european through charset 238")
        << QByteArray("{\\rtf1{\\fonttbl{\\f1\\fcharset238 Arial CE;}}\\f1 \\'a3\\'f3d\\'9f}") << u"Łódź"_s;
    QTest::newRow("code page: greek through charset 161")
        << QByteArray("{\\rtf1{\\fonttbl{\\f1\\fcharset161 Arial Greek;}}\\f1 \\'c3\\'e5\\'e9\\'e1}")
        << u"Γεια"_s;
    QTest::newRow("code page: turkish through charset 162")
        << QByteArray("{\\rtf1{\\fonttbl{\\f1\\fcharset162 Arial TUR;}}\\f1 \\'f0\\'fd\\'fe}") << u"ğış"_s;
    QTest::newRow("code page: hebrew through charset 177")
        << QByteArray("{\\rtf1{\\fonttbl{\\f1\\fcharset177 David;}}\\f1 \\'f9\\'ec\\'e5\\'ed}") << u"שלום"_s;
    QTest::newRow("code page: arabic through charset 178")
        << QByteArray("{\\rtf1{\\fonttbl{\\f1\\fcharset178 Arial;}}\\f1 \\'d3\\'e1\\'c7\\'e3}") << u"سلام"_s;
    QTest::newRow("code page: baltic through charset 186")
        << QByteArray("{\\rtf1{\\fonttbl{\\f1\\fcharset186 Arial Baltic;}}\\f1 \\'e0\\'e8\\'eb}") << u"ąčė"_s;
    QTest::newRow("code page: cyrillic through charset 204")
        << QByteArray("{\\rtf1{\\fonttbl{\\f1\\fcharset204 Arial CYR;}}\\f1 \\'c4\\'e0}") << u"Да"_s;
    QTest::newRow("code page: charset of the font over ansicpg") << QByteArray(
        "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Arial;}{\\f1\\fcharset161 Arial;}}"
        "\\f0 \\'c4\\'e0 \\f1 \\'c3\\'e5}") << u"Да Γε"_s;
}

void addNoteAndFormFieldRows()
{
    QTest::newRow("note: footnote marks") << QByteArray(
        "{\\rtf1 Text{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} Note.} more{\\super\\chftn}"
        "{\\footnote{\\super\\chftn} Two.}}")
                                          << u"Text1 more2"_s;
    QTest::newRow("note: endnote mark in roman")
        << QByteArray("{\\rtf1\\aftnnrlc Text{\\super\\chftn}{\\footnote\\ftnalt{\\super\\chftn} End.}}")
        << u"Texti"_s;
    QTest::newRow("note: starred footnote")
        << QByteArray("{\\rtf1 Text{\\super\\chftn}{\\*\\footnote\\chftn\\pard Note.}}") << u"Text1"_s;
    QTest::newRow("note: footnote style and start")
        << QByteArray("{\\rtf1\\ftnnalc\\ftnstart3 a{\\chftn}{\\footnote x}}") << u"ac"_s;
    QTest::newRow("note: chicago marks")
        << QByteArray("{\\rtf1\\ftnnchi a{\\chftn}{\\footnote x} b{\\chftn}{\\footnote y}}") << u"a* b†"_s;
    QTest::newRow("note: footnotes and endnotes count apart") << QByteArray(
        "{\\rtf1\\aftnnrlc a{\\chftn}{\\footnote x} b{\\chftn}{\\footnote\\ftnalt y} "
        "c{\\chftn}{\\footnote z}}") << u"a1 bi c2"_s;
    QTest::newRow("note: mark of the writer's own")
        << QByteArray("{\\rtf1 a{\\super *}{\\footnote\\pard{\\super *} x}}") << u"a*"_s;
    const QByteArray checkBox = "{\\field{\\*\\fldinst{FORMCHECKBOX }{\\*\\formfield{\\fftype1\\fftypetxt0";
    QTest::newRow("form: check boxes")
        << "{\\rtf1 " + checkBox + "\\ffres25\\ffdefres0{\\*\\ffname C1}}}}{\\fldrslt}} " + checkBox
            + "\\ffres1\\ffdefres0}}}{\\fldrslt }} " + checkBox + "\\ffres25\\ffdefres1}}}{\\fldrslt}}}"
        << u"☐ ☒ ☒"_s;
    QTest::newRow("form: drop-down shows the chosen entry")
        << QByteArray("{\\rtf1{\\field{\\*\\fldinst FORMDROPDOWN {\\*\\formfield{\\fftype2\\ffres1\\ffdefres0"
                      "{\\*\\ffname D1}{\\*\\ffl Red}{\\*\\ffl Green}{\\*\\ffl Blue}}}}{\\fldrslt}}}")
        << u"Green"_s;
    QTest::newRow("form: drop-down without a choice") << QByteArray(
        "{\\rtf1{\\field{\\*\\fldinst FORMDROPDOWN {\\*\\formfield{\\fftype2\\ffres25\\ffdefres2"
        "{\\*\\ffl \\'e9t\\'e9}{\\*\\ffl hiver}{\\*\\ffl \\u26149?}}}}{\\fldrslt}}}")
                                                      << u"春"_s;
    QTest::newRow("form: text field placeholder")
        << QByteArray("{\\rtf1 [{\\field{\\*\\fldinst FORMTEXT }{\\fldrslt \\u8194\\'20\\u8194\\'20}}]}")
        << u"[\u2002\u2002]"_s;
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

    addLostTextRows();
    addHiddenTextRows();
    addSymbolRows();
    addListNumberRows();
    addCodePageRows();
    addNoteAndFormFieldRows();
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
    QTest::newRow("symbol font not kept for its unicode text")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fnil\\fcharset2 Wingdings;}}\\f0\\u120 ?}")
        << int(QTextFormat::FontFamilies) << unset;
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
#include "tst_RtfReader.moc"
