#include "BankReport.h"
#include "BankSource.h"
#include "BankWriter.h"
#include "Counted.h"
#include "data/QuestionStore.h"
#include "data/ui/BankMessages.h"
#include "practice/QuestionImport.h"
#include "richtext/RichText.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

const char Usage[] = R"(usage:
  vellumore-bank build SOURCE OUTPUT      build a bank from .bank files (a folder or one file)
  vellumore-bank generate OUTPUT [--questions N] [--sections N]
                                          write a synthetic bank for benchmarks
  vellumore-bank list BANK                print a bank's catalogue and counts
  vellumore-bank import BANK FILE         add the questions of a CSV or tab-separated file
                                          (all or none; see the README for its columns)
  vellumore-bank plain-text FILE          print the plain text of an RTF document
)";

int usage(QTextStream& err)
{
    err << Usage;
    return 2;
}

int build(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 2)
        return usage(err);
    BankSourceReader reader;
    if (!reader.read(args[0])) {
        err << "vellumore-bank: " << reader.error() << '\n';
        return 1;
    }
    QString error;
    if (!BankWriter::write(reader.source(), args[1], &error)) {
        err << "vellumore-bank: " << error << '\n';
        return 1;
    }
    const BankSource& s = reader.source();
    out << args[1] << ": " << counted(s.projects.size(), "project") << ", " << counted(s.subjects.size(), "subject")
        << ", " << counted(s.sections.size(), "section") << ", " << counted(s.questions.size(), "question") << '\n';
    return 0;
}

int generate(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.isEmpty())
        return usage(err);
    BankWriter::SyntheticOptions options;
    for (int i = 1; i < args.size(); i += 2) {
        bool ok = i + 1 < args.size();
        const int value = ok ? args[i + 1].toInt(&ok) : 0;
        if (!ok || value <= 0)
            return usage(err);
        if (args[i] == QLatin1String("--questions"))
            options.questions = value;
        else if (args[i] == QLatin1String("--sections"))
            options.sections = value;
        else
            return usage(err);
    }
    QString error;
    if (!BankWriter::writeSynthetic(options, args[0], &error)) {
        err << "vellumore-bank: " << error << '\n';
        return 1;
    }
    out << args[0] << ": " << counted(options.questions, "question") << " in " << counted(options.sections, "section")
        << '\n';
    return 0;
}

int list(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 1)
        return usage(err);
    QuestionStore store;
    if (!store.open(args[0])) {
        err << "vellumore-bank: " << args[0] << ": " << BankMessages::reason(store.failure()) << '\n';
        return 1;
    }
    printBankReport(store, out);
    return 0;
}

// Exit codes: 0 imported, 1 the file was refused, 2 usage, 3 the bank could not be opened or written.
int importQuestions(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 2)
        return usage(err);
    QuestionStore store;
    if (!store.open(args[0])) {
        err << "vellumore-bank: " << args[0] << ": " << BankMessages::reason(store.failure())
            << "; nothing imported\n";
        return 3;
    }
    const QuestionImport::Outcome outcome = QuestionImport::importFile(store, args[1]);
    using Status = QuestionImport::Outcome::Status;
    if (outcome.status == Status::Refused) {
        for (const QuestionImport::Problem& p : outcome.problems) {
            err << args[1] << ':';
            if (p.line > 0)
                err << p.line << ':';
            err << ' ' << p.message << '\n';
        }
        err << "vellumore-bank: " << args[1] << ": " << counted(outcome.problems.size(), "problem")
            << ", nothing imported\n";
        return 1;
    }
    if (outcome.status == Status::Failed) {
        err << "vellumore-bank: " << args[0] << ": " << BankMessages::reason(outcome.failure)
            << "; nothing imported\n";
        return 3;
    }
    out << args[0] << ": " << counted(outcome.total, "question") << " added from " << args[1] << " ("
        << outcome.encoding << ")\n";
    for (const QuestionImport::Added& a : outcome.added) {
        out << "  " << a.code << "  " << a.name << "  " << a.count;
        if (a.first == a.last)
            out << " (number " << a.first << ")\n";
        else
            out << " (numbers " << a.first << "-" << a.last << ")\n";
    }
    return 0;
}

int plainText(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 1)
        return usage(err);
    QFile file(args[0]);
    if (QFileInfo(args[0]).exists() && !QFileInfo(args[0]).isFile()) {
        err << "vellumore-bank: " << args[0] << ": not a file\n"; // a device might never end
        return 1;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        err << "vellumore-bank: " << args[0] << ": " << file.errorString() << '\n';
        return 1;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        err << "vellumore-bank: " << args[0] << ": " << file.errorString() << '\n';
        return 1;
    }
    const QString text = RichText::plainText(bytes);
    out << text;
    if (!text.endsWith(u'\n'))
        out << '\n';
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage(err);
    const QString command = args.takeFirst();
    if (command == QLatin1String("build"))
        return build(args, out, err);
    if (command == QLatin1String("generate"))
        return generate(args, out, err);
    if (command == QLatin1String("list"))
        return list(args, out, err);
    if (command == QLatin1String("import"))
        return importQuestions(args, out, err);
    if (command == QLatin1String("plain-text"))
        return plainText(args, out, err);
    return usage(err);
}
