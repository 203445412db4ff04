// Composing a mock-exam paper on the generated 200,000-question bank (2,000 sections, all
// chosen, the dialog's default counts), beside the statement sequence as first written:
// copy the whole bank, delete what is not wanted, number every row, pick per type. Then on
// the same bank with 1,000,000 attempts, without and with the never answered first.

#include "BenchBank.h"

#include "data/BankSchema.h"
#include "data/QuestionStore.h"
#include "data/QuestionType.h"
#include "data/ui/BankMessages.h"
#include "exam/ComposeExamPaper.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

namespace {

const std::array<QString, QuestionType::SlotCount> DefaultCounts { QStringLiteral("20"), QStringLiteral("5"),
    QStringLiteral("5"), QStringLiteral("3"), QStringLiteral("10"), QStringLiteral("10") };

// A private copy: the papers must not grow the shared bank file.
QString bankCopy(const QString& bank)
{
    static QTemporaryDir dir(BenchBank::large() + QStringLiteral("-exam-XXXXXX"));
    const QString path = dir.filePath(QFileInfo(bank).fileName());
    if (!QFile::exists(path))
        QFile::copy(bank, path);
    return path;
}

bool openStore(benchmark::State& state, QuestionStore& store, const QString& bank = BenchBank::large())
{
    if (store.open(bankCopy(bank)))
        return true;
    state.SkipWithError(qPrintable(BankMessages::reason(store.failure())));
    return false;
}

void compose(benchmark::State& state, QuestionStore& store, const ExamPaperRequest& request)
{
    for (auto _ : state) {
        const WriteResult made = store.writeTransaction([&] { return ComposeExamPaper(store, request); });
        if (!made.isDone())
            state.SkipWithError(qPrintable(BankMessages::reason(made)));
        state.counters["rows"] = made.rows();
    }
}

void ComposePaper(benchmark::State& state)
{
    QuestionStore store;
    if (!openStore(state, store))
        return;
    ExamPaperRequest request;
    request.counts = DefaultCounts;
    compose(state, store, request);
}

// Every question has attempts and one in ten is in the schedule; the others, without a
// schedule row, count as never answered. Argument: the option.
void ComposePaper_History(benchmark::State& state)
{
    QuestionStore store;
    if (!openStore(state, store, BenchBank::withHistory()))
        return;
    ExamPaperRequest request;
    request.counts = DefaultCounts;
    request.unseenFirst = state.range(0) != 0;
    compose(state, store, request);
}

// Every question practised and in the schedule, as the program keeps them: with the never
// answered first, each type is read whole for the least recently practised.
void ComposePaper_AllPractised(benchmark::State& state)
{
    QuestionStore store;
    if (!openStore(state, store, BenchBank::allPractised()))
        return;
    ExamPaperRequest request;
    request.counts = DefaultCounts;
    request.unseenFirst = true;
    compose(state, store, request);
}

// The literal sequence, given one transaction around it (row by row without one would
// commit 200,000 times).
WriteResult literalSequence(QuestionStore& store, const QStringList& deselected,
    const std::array<QString, QuestionType::SlotCount>& counts)
{
    store.write(QStringLiteral("drop table kstk"));
    for (const QString& s : BankSchema::questionTableStatements(QStringLiteral("kstk")))
        store.write(s);
    store.write(QStringLiteral("insert into kstk select * from tk"));
    for (const QString& name : deselected) {
        RowSet codes = store.query(QStringLiteral("select 代码 from smdm where 细目=?"), { name });
        for (; !codes.atEnd(); codes.next())
            store.write(QStringLiteral("delete from kstk where 代码=?"), { codes.field(0) });
    }
    for (int slot = 0; slot < QuestionType::SlotCount; ++slot) {
        if (counts[size_t(slot)] == QStringLiteral("0"))
            store.write(QStringLiteral("delete from kstk where 题型=?"), { QuestionType::slotName(slot) });
    }
    store.write(QStringLiteral("update kstk set 收藏否=0"));
    store.write(QStringLiteral("update kstk set 答题=''"));
    std::mt19937 generator(std::random_device {}());
    std::uniform_real_distribution<double> uniform(0, 1);
    RowSet all = store.query(QStringLiteral("select rowid from kstk order by 题型,tg"));
    for (; !all.atEnd(); all.next())
        store.write(QStringLiteral("update kstk set 题号=? where rowid=?"),
            { int(uniform(generator) * 100000), all.field(0) });
    RowSet types = store.query(
        QStringLiteral("select DISTINCT 题型 from kstk where ifnull(题型,'')<>'' order by 题型"));
    int slot = 0;
    for (; !types.atEnd(); types.next()) {
        const QString type = types.field(0).toString();
        slot = QuestionType::slotOf(type).value_or(slot);
        const int n = paperCount(counts[size_t(slot)]);
        RowSet rows
            = store.query(QStringLiteral("select rowid from kstk where 题型=? order by 题号"), { type });
        for (int j = 1; j <= n && !rows.atEnd(); ++j, rows.next())
            store.write(QStringLiteral("update kstk set 收藏否=-1 where rowid=?"), { rows.field(0) });
    }
    return store.write(QStringLiteral("delete from kstk where 收藏否 <> -1"));
}

void ComposePaper_Literal(benchmark::State& state)
{
    QuestionStore store;
    if (!openStore(state, store))
        return;
    for (auto _ : state) {
        const WriteResult made
            = store.writeTransaction([&] { return literalSequence(store, {}, DefaultCounts); });
        if (!made.isDone())
            state.SkipWithError(qPrintable(BankMessages::reason(made)));
        state.counters["rows"] = store.scalar(QStringLiteral("select count(*) from kstk")).toInt();
    }
}

} // namespace

BENCHMARK(ComposePaper)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(ComposePaper_Literal)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(ComposePaper_History)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(ComposePaper_AllPractised)->Unit(benchmark::kMillisecond)->Iterations(20);
