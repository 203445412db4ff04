// Search and statistics on the generated 200,000-question bank in 2,000 sections: the
// program's statements beside the sequences first written for them (three catalogue
// look-ups per hit; four counting statements per section), in the same run and bank.

#include "BenchBank.h"
#include "OffscreenMain.h"

#include "data/QuestionStore.h"
#include "data/ui/BankMessages.h"
#include "progress/ProgressStatistics.h"
#include "progress/ui/frmtj.h"
#include "search/QuestionSearch.h"
#include "search/SearchTexts.h"
#include "search/SectionCaptions.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QuestionStore& store()
{
    static std::unique_ptr<QuestionStore> open;
    if (!open) {
        open = std::make_unique<QuestionStore>();
        if (!open->open(BenchBank::large()))
            qFatal("cannot open the bench bank: %s", qPrintable(BankMessages::reason(open->failure())));
    }
    return *open;
}

SearchTexts& heldTexts()
{
    static SearchTexts texts;
    return texts;
}

// The keyword in the stem extracts (the dialog's default) or in both extracts, with the
// section path of every hit: the texts held since an earlier search, the hits listed.
void Search(benchmark::State& state, const char16_t* keyword, bool inOptions)
{
    const QString word = QString::fromUtf16(keyword);
    if (!heldTexts().refresh(store()))
        qFatal("cannot load the extracts");
    for (auto _ : state) {
        heldTexts().refresh(store());
        const QuestionFilters::Selection selection = QuestionSearch::hitsSelection(
            heldTexts().find(word, true, inOptions), heldTexts().questionCount());
        RowSet rows = store().query(selection.sql, selection.params);
        SectionCaptions captions;
        captions.load(store());
        const QStringList texts = captions.captions(rows);
        state.counters["rows"] = double(texts.size());
    }
}

// The first search after the bank was opened or its texts changed: the extracts are read.
void Search_Load(benchmark::State& state)
{
    for (auto _ : state) {
        SearchTexts texts;
        if (!texts.refresh(store()))
            qFatal("cannot load the extracts");
        state.counters["questions"] = double(texts.questionCount());
    }
}

// The statement alone, matching in SQL (the way taken before the texts were held).
void Search_Statement(benchmark::State& state, const char16_t* keyword)
{
    QuestionSearch::Request request;
    request.keyword = QString::fromUtf16(keyword);
    request.inOptions = true;
    for (auto _ : state) {
        const QuestionFilters::Selection selection = QuestionSearch::selection(request);
        RowSet rows = store().query(selection.sql, selection.params);
        state.counters["rows"] = double(rows.rowCount());
    }
}

void Search_Literal(benchmark::State& state, const char16_t* keyword)
{
    const QString word = QString::fromUtf16(keyword);
    const QString contains = QStringLiteral("(%1<>'' and instr(lower(%1),lower(?))<>0)");
    const QString sql = QStringLiteral("select * from tk where ") + contains.arg(QStringLiteral("tg"))
        + QStringLiteral(" or ") + contains.arg(QStringLiteral("xx"));
    for (auto _ : state) {
        RowSet rows = store().query(sql, { word, word });
        QStringList texts;
        for (; !rows.atEnd(); rows.next()) {
            const QString code = rows.field(QStringLiteral("代码")).toString();
            RowSet project
                = store().query(QStringLiteral("select * from xmdm where 代码= ?"), { code.left(1) });
            RowSet subject
                = store().query(QStringLiteral("select * from kmdm where 代码= ?"), { code.left(3) });
            RowSet section
                = store().query(QStringLiteral("select * from smdm where 代码= ?"), { code.left(5) });
            texts << project.field(QStringLiteral("项目")).toString() + u'/'
                    + subject.field(QStringLiteral("科目")).toString() + u'/'
                    + section.field(QStringLiteral("细目")).toString();
        }
        state.counters["rows"] = double(texts.size());
    }
}

void Statistics(benchmark::State& state)
{
    for (auto _ : state) {
        const ProgressStatistics::Result result = ProgressStatistics::compute(store());
        state.counters["sections"] = double(result.sections.size());
    }
}

// The range starts at 'K' here, not 'K ': both runs count the same 2,000 sections.
void Statistics_Literal(benchmark::State& state)
{
    const QString count = QStringLiteral("select count(代码) as 题数 from tk where 代码=?");
    const QString endings[] = { QString(), QStringLiteral(" and 答题<>''"), QStringLiteral(" and 答案=答题"),
        QStringLiteral(" and 答题<>'' and 答案<>答题") };
    for (auto _ : state) {
        RowSet sections
            = store().query(QStringLiteral("select * from smdm where substr(代码,1,1)>= 'K' collate "
                                           "nocase and substr(代码,1,1)<'W' collate nocase order by 代码"));
        qint64 sum = 0;
        for (; !sections.atEnd(); sections.next()) {
            const QString code = sections.field(QStringLiteral("代码")).toString();
            for (const QString& ending : endings)
                sum += store().query(count + ending, { code }).field(QStringLiteral("题数")).toLongLong();
        }
        state.counters["sections"] = double(sections.rowCount());
        benchmark::DoNotOptimize(sum);
    }
}

// The whole run of the window: counting, the table with its totals, the chart.
void StatisticsWindow(benchmark::State& state)
{
    frmtj window(store());
    for (auto _ : state)
        window.run();
}

} // namespace

BENCHMARK_CAPTURE(Search, stems_common_word, u"衍生品", false)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(Search, stems_rare_phrase, u"信息披露风险收益", false)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK_CAPTURE(Search, both_common_word, u"衍生品", true)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(Search, both_rare_phrase, u"信息披露风险收益", true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK(Search_Load)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(Search_Statement, both_rare_phrase, u"信息披露风险收益")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(Search_Literal, both_common_word, u"衍生品")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(Search_Literal, both_rare_phrase, u"信息披露风险收益")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(Statistics)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(Statistics_Literal)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(StatisticsWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv)
{
    return runOffscreenBenchmarks(argc, argv);
}
