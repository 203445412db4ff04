#include "richtext/RichText.h"
#include "richtext/RtfCodePage.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype DocumentBytes = 100 * 1024;

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "bench_richtext";
    static char* argv[] = { name, nullptr };
    if (!QGuiApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static QGuiApplication app(argc, argv);
    }
}

QByteArray richEditStyle(const QTextDocument& doc);

/// Questions of mixed Chinese and Latin text with bold, colour, sizes and superscripts,
/// until @p encode makes 100 KB of RTF of them.
void fillQuestions(QTextDocument& doc, QByteArray (*encode)(const QTextDocument&) = &RtfWriter::write)
{
    QTextCursor cursor(&doc);
    QTextCharFormat plain;
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(QColor(0, 0, 255));
    QTextCharFormat super;
    super.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    super.setFontPointSize(8);
    QTextCharFormat heading;
    heading.setFontFamilies({ u"黑体"_s });
    heading.setFontPointSize(14);
    for (int n = 1; encode(doc).size() < DocumentBytes; ++n) {
        for (int i = 0; i < 10; ++i) {
            cursor.insertText(QString::number(n * 10 + i) + u"、"_s, heading);
            cursor.insertText(u"根据《证券法》的规定，下列关于证券发行的说法中，"_s, plain);
            cursor.insertText(u"正确的是"_s, bold);
            cursor.insertText(u"（　　）。面积为 10"_s, plain);
            cursor.insertText(u"3"_s, super);
            cursor.insertText(u" m, {ratio} = 5%"_s, plain);
            for (const char16_t letter : { u'A', u'B', u'C', u'D' }) {
                cursor.insertBlock();
                cursor.insertText(
                    QString(QChar(letter)) + u"．公开发行证券必须符合法律、行政法规规定的条件"_s, plain);
            }
            cursor.insertBlock();
        }
    }
}

/// The same text as the rich-edit control writes it: GBK byte pairs, no \uN.
QByteArray richEditStyle(const QTextDocument& doc)
{
    QByteArray out
        = "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
          "{\\colortbl ;\\red0\\green0\\blue255;}\\viewkind4\\uc1\\pard\\f0\\fs24 ";
    const QString text = doc.toPlainText();
    int run = 0;
    for (const QChar ch : text) {
        if (ch == u'\n') {
            out.append("\\par\r\n");
        } else if (ch.unicode() < 0x80) {
            out.append(static_cast<char>(ch.unicode()));
        } else if (const quint16 gbk = RtfCodePage::gbkBytes(ch.unicode())) {
            out.append("\\'" + QByteArray::number(gbk >> 8, 16) + "\\'" + QByteArray::number(gbk & 0xff, 16));
        }
        if (++run % 40 == 0)
            out.append(run % 80 == 0 ? "\\cf0\\b0 " : "\\cf1\\b ");
    }
    out.append("}");
    return out;
}

void BM_WriteRtf(benchmark::State& state)
{
    ensureApplication();
    QTextDocument doc;
    fillQuestions(doc);
    qsizetype size = 0;
    for (auto _ : state) {
        const QByteArray rtf = RtfWriter::write(doc);
        size = rtf.size();
        benchmark::DoNotOptimize(rtf.data());
    }
    state.counters["rtf_bytes"] = static_cast<double>(size);
    state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_WriteRtf)->Unit(benchmark::kMillisecond);

void BM_ReadRtf(benchmark::State& state)
{
    ensureApplication();
    QTextDocument source;
    fillQuestions(source);
    const QByteArray rtf = RtfWriter::write(source);
    QTextDocument doc;
    for (auto _ : state)
        RtfReader::read(rtf, &doc);
    state.counters["rtf_bytes"] = static_cast<double>(rtf.size());
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(BM_ReadRtf)->Unit(benchmark::kMillisecond);

void BM_ReadRichEditRtf(benchmark::State& state)
{
    ensureApplication();
    QTextDocument source;
    fillQuestions(source, &richEditStyle);
    const QByteArray rtf = richEditStyle(source);
    QTextDocument doc;
    for (auto _ : state)
        RtfReader::read(rtf, &doc);
    state.counters["rtf_bytes"] = static_cast<double>(rtf.size());
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(BM_ReadRichEditRtf)->Unit(benchmark::kMillisecond);

void BM_PlainText(benchmark::State& state)
{
    ensureApplication();
    QTextDocument source;
    fillQuestions(source);
    const QByteArray rtf = RtfWriter::write(source);
    for (auto _ : state) {
        const QString text = RichText::plainText(rtf);
        benchmark::DoNotOptimize(text.constData());
    }
    state.counters["rtf_bytes"] = static_cast<double>(rtf.size());
}
BENCHMARK(BM_PlainText)->Unit(benchmark::kMillisecond);

} // namespace
