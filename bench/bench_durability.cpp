// One answer stored durably: the time from the click's store operation to the data
// being on disk, for the journal settings a bank connection can use, side by side on
// the generated 200,000-question bank.

#include "BenchBank.h"

#include "data/QuestionStore.h"
#include "data/ui/BankMessages.h"

#include <QCoreApplication>
#include <QFile>

#include <benchmark/benchmark.h>

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
        state.SkipWithError(qPrintable(BankMessages::reason(store.failure())));
        return;
    }
    // Settings the bank never takes itself: a pragma that answers with a row is read, not written.
    store.scalar(QStringLiteral("PRAGMA journal_mode=%1").arg(QLatin1String(setting.journal)));
    store.scalar(QStringLiteral("PRAGMA synchronous=%1").arg(QLatin1String(setting.synchronous)));

    BenchBank::timeAnswers(state, store);
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
