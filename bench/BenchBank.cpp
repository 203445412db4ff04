#include "BenchBank.h"

#include "BankWriter.h"
#include "data/QuestionStore.h"
#include "data/ui/BankMessages.h"
#include "practice/Answers.h"

#include <QElapsedTimer>

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace BenchBank {
namespace {

QString folder()
{
    const QByteArray env = qgetenv("VELLUMORE_BENCH_DIR");
    const QString dir
        = env.isEmpty() ? QDir::tempPath() + QStringLiteral("/vellumore-bench") : QString::fromLocal8Bit(env);
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
            die(BankMessages::reason(store.failure()));
        RowSet indexes = store.query(QStringLiteral("select name from sqlite_master where type='index'"));
        for (; !indexes.atEnd(); indexes.next())
            store.write(QStringLiteral("drop index ") + indexes.field(QStringLiteral("name")).toString())
                .isDone();
        store.write(QStringLiteral("vacuum")).isDone();
    }
    QFile::rename(part, path);
    return path;
}

void timeAnswers(benchmark::State& state, QuestionStore& store)
{
    // Questions spread over the bank, as a candidate moving through sections; grouped rows
    // take no answer.
    RowSet keys = store.query(QStringLiteral("select 代码, 题号 from tk where rowid % 997 = 0 and 题型 in "
                                             "('单选', '多选', '判断', '不定项') limit 400"));
    std::vector<QuestionKey> questions;
    for (; !keys.atEnd(); keys.next())
        questions.push_back({ keys.field(0).toString(), keys.field(1).toString() });

    std::vector<double> ms;
    size_t i = 0;
    const QString answers[] = { QStringLiteral("A"), QStringLiteral("B") };
    for (auto _ : state) {
        const QuestionKey& key = questions[i % questions.size()];
        QElapsedTimer timer;
        timer.start();
        const WriteResult result
            = Answers::StoreAnswer(store, QuestionTable::Bank, key, answers[(i / questions.size()) % 2]);
        ms.push_back(timer.nsecsElapsed() / 1e6);
        if (!result.isDone())
            state.SkipWithError(qPrintable(BankMessages::reason(result)));
        ++i;
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
}

} // namespace BenchBank
