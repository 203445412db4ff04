#include "BankSource.h"

#include "practice/QuestionEditor.h"
#include "richtext/RichText.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// The same plain text after the trip through rich text (whose plain text shows a no-break
// space as a blank), or the two texts on stderr and an abort.
void checkRoundTrip(const QString& text)
{
    const QString back = RichText::plainText(RichText::fromPlainText(text));
    if (back == QString(text).replace(QChar::Nbsp, u' '))
        return;
    std::fprintf(
        stderr, "round trip changed the text:\n[%s]\n[%s]\n", qUtf8Printable(text), qUtf8Printable(back));
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

// Any input is read or refused with a message naming the file; what is read becomes rich
// text whose plain text is the source text, as the bank tool stores it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // A folder that does not exist: image lines can only name absent files.
    const QString file = QStringLiteral("/nonexistent-vellumore-fuzz/input.bank");
    BankSourceReader reader;
    if (!reader.readText(input, file)) {
        if (!reader.error().startsWith(file + u':'))
            std::abort();
        return 0;
    }
    const BankSource& source = reader.source();
    for (const auto& q : source.questions) {
        if (q.answer.contains(QChar(0)) || q.text.contains(QChar(0)))
            std::abort();
        QuestionEditor::extract(q.text);
        checkRoundTrip(q.text);
    }
    for (const auto& m : source.materials)
        checkRoundTrip(m.text);
    return 0;
}
