// Opening the bank and building the catalogue at start-up.

#include "BenchBank.h"

#include "catalogue/Catalogue.h"
#include "data/QuestionStore.h"
#include "data/ui/BankMessages.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

void OpenAndBuildCatalogue(benchmark::State& state)
{
    const QString path = BenchBank::large();
    for (auto _ : state) {
        QuestionStore store;
        if (!store.open(path))
            state.SkipWithError(qPrintable(BankMessages::reason(store.failure())));
        Catalogue::rewriteTree(store);
        const auto nodes = Catalogue::readNodes(store);
        benchmark::DoNotOptimize(nodes.size());
        state.counters["nodes"] = double(nodes.size());
    }
}

// The statement sequence as first written: one select per project and per subject,
// each tree row appended and committed on its own, on a bank without our indexes.
void OpenAndBuildCatalogue_Literal(benchmark::State& state)
{
    const QString path = BenchBank::largeWithoutIndexes();
    for (auto _ : state) {
        QuestionStore store;
        if (!store.open(path))
            state.SkipWithError(qPrintable(BankMessages::reason(store.failure())));
        store.write(QStringLiteral("delete from tree"));
        // Each row is its own statement and its own commit, as a row set appending rows does.
        auto append = [&store](int flg, const QVariant& p, const QVariant& s, const QVariant& c,
                          const QVariant& code) {
            store.write(QStringLiteral("insert into tree(flg, 项目, 科目, 细目, 代码) values(?,?,?,?,?)"),
                { flg, p, s, c, code });
        };
        for (RowSet xm = store.query(QStringLiteral("select * from xmdm order by 代码 ")); !xm.atEnd(); xm.next()) {
            const QVariant project = xm.field(QStringLiteral("项目"));
            append(1, project, {}, {}, xm.field(QStringLiteral("代码")));
            RowSet km = store.query(
                QStringLiteral("select * from kmdm where substr(代码,1,1)=? collate nocase order by 代码 "),
                { xm.field(QStringLiteral("代码")) });
            for (; !km.atEnd(); km.next()) {
                const QVariant subject = km.field(QStringLiteral("科目"));
                append(2, project, subject, {}, km.field(QStringLiteral("代码")));
                RowSet sm = store.query(
                    QStringLiteral("select * from smdm where substr(代码,1,3)=? collate nocase order by 代码"),
                    { km.field(QStringLiteral("代码")) });
                for (; !sm.atEnd(); sm.next())
                    append(3, project, subject, sm.field(QStringLiteral("细目")), sm.field(QStringLiteral("代码")));
            }
        }
        int nodes = 0;
        for (RowSet all = store.query(QStringLiteral("select * from tree order by rowid")); !all.atEnd(); all.next())
            ++nodes;
        state.counters["nodes"] = nodes;
    }
}

} // namespace

BENCHMARK(OpenAndBuildCatalogue)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(OpenAndBuildCatalogue_Literal)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
