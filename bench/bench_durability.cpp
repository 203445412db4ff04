// One answer stored durably: the time from the click's store operation to the data
// being on disk, for the journal settings a bank connection can use, side by side on
// the generated 200,000-question bank.

#include "BenchBank.h"

#include "data/QuestionStore.h"
#include "practice/Answers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

struct Setting
{
    const char* journal;
    const char* synchronous;
};

constexpr Setting Settings[] = { { "delete", "full" }, { "wal", "full" }, { "wal", "normal" } };

void StoreOneAnswer(benchmark::State& state)
{
    const Setting& setting = Settings[state.range(0)];
    state.SetLabel(std::string(setting.journal) + "/" + setting.synchronous);
    // A copy of its own: the journal settings change the file, and other benchmarks share it.
    const QString path = BenchBank::large() + QStringLiteral("-durability");
    if (!QFile::exists(path) && !QFile::copy(BenchBank::large(), path)) {
        state.SkipWithError("cannot copy the bank");
        return;
    }
    QuestionStore store;
    if (!store.open(path)) {
        state.SkipWithError(qPrintable(store.lastError()));
        return;
    }
    store.execute(QStringLiteral("PRAGMA journal_mode=%1").arg(QLatin1String(setting.journal)));
    store.execute(QStringLiteral("PRAGMA synchronous=%1").arg(QLatin1String(setting.synchronous)));

    // Questions spread over the bank, as a candidate moving through sections.
    RowSet keys = store.query(QStringLiteral("select 代码, 题号 from tk where rowid % 997 = 0 limit 400"));
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
            state.SkipWithError(qPrintable(result.reason()));
        ++i;
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
}

} // namespace

BENCHMARK(StoreOneAnswer)->DenseRange(0, 2)->Iterations(400)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
