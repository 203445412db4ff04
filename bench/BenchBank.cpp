#include "BenchBank.h"

#include "BankWriter.h"
#include "data/QuestionStore.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace BenchBank {
namespace {

QString folder()
{
    const QByteArray env = qgetenv("VELLUMORE_BENCH_DIR");
    const QString dir = env.isEmpty() ? QDir::tempPath() + QStringLiteral("/vellumore-bench") : QString::fromLocal8Bit(env);
    QDir().mkpath(dir);
    return dir;
}

[[noreturn]] void die(const QString& message)
{
    std::fprintf(stderr, "bench: %s\n", qPrintable(message));
    std::exit(1);
}

} // namespace

QString synthetic(int questions, int sections)
{
    const QString path = folder() + QStringLiteral("/bank-%1-%2.db").arg(questions).arg(sections);
    if (!QFile::exists(path)) {
        std::fprintf(stderr, "bench: generating %s (once)\n", qPrintable(path));
        BankWriter::SyntheticOptions options;
        options.questions = questions;
        options.sections = sections;
        QString error;
        if (!BankWriter::writeSynthetic(options, path, &error))
            die(error);
    }
    return path;
}

QString withoutIndexes(int questions, int sections)
{
    const QString path = folder() + QStringLiteral("/bank-%1-%2-noindex.db").arg(questions).arg(sections);
    if (QFile::exists(path))
        return path;
    const QString part = path + QStringLiteral(".part");
    QFile::remove(part);
    if (!QFile::copy(synthetic(questions, sections), part))
        die(QStringLiteral("cannot copy the bank"));
    {
        QuestionStore store;
        if (!store.open(part))
            die(store.lastError());
        RowSet indexes = store.query(QStringLiteral("select name from sqlite_master where type='index'"));
        for (; !indexes.atEnd(); indexes.next())
            store.execute(QStringLiteral("drop index ") + indexes.field(QStringLiteral("name")).toString());
        store.execute(QStringLiteral("vacuum"));
    }
    QFile::rename(part, path);
    return path;
}

} // namespace BenchBank
