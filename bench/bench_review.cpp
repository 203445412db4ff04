// The daily review on the generated 200,000-question bank with 1,000,000 rows of answer
// history: from the click on the review node to the listed questions and the first one
// shown, the count in its caption, one answer stored with its history row, and the
// progress window's history over all of it.

#include "BenchBank.h"
#include "OffscreenMain.h"

#include "catalogue/ui/CatalogueTree.h"
#include "catalogue/ui/QuestionListView.h"
#include "data/QuestionStore.h"
#include "practice/AttemptRecorder.h"
#include "practice/MemoryFitting.h"
#include "practice/ReviewSchedule.h"
#include "practice/ui/PracticePanel.h"
#include "progress/ProgressHistory.h"
#include "shell/ui/frmmain.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

qint64 today()
{
    return ReviewSchedule::dayOf(QDateTime::currentDateTime());
}

void ListReview(benchmark::State& state)
{
    const QString bank = BenchBank::withHistory();
    if (bank.isEmpty()) {
        state.SkipWithError("cannot prepare the bank");
        return;
    }
    frmmain w(bank);
    w.resize(1280, 900);
    w.show();
    QApplication::processEvents();
    QTreeWidgetItem* node = w.findChild<CatalogueTree*>(QStringLiteral("TreeView1"))->reviewNode();
    if (!node) {
        state.SkipWithError("no review node");
        return;
    }
    for (auto _ : state) {
        w.OpenCatalogueNode(node);
        QApplication::processEvents();
        state.counters["rows"] = w.session().list().rowCount();
    }
    state.SetLabel(node->text(0).toStdString());
}

// The first listing after the bank is opened, for the sets of two days: every page it
// reads comes from the file and is decrypted, none is in the connection's cache yet.
void ListReviewFirst(benchmark::State& state)
{
    const QString bank = BenchBank::withHistory();
    const qint64 day = today() - state.range(0);
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<frmmain>(bank);
        w->resize(1280, 900);
        w->show();
        QApplication::processEvents();
        PracticePanel* panel = w->findChild<PracticePanel*>(QStringLiteral("Picture1"));
        panel->show();
        panel->ResetQuestionList();
        state.ResumeTiming();
        panel->listReview(day);
        QApplication::processEvents();
        state.PauseTiming();
        state.counters["rows"] = panel->findChild<QuestionListView*>(QStringLiteral("ListView1"))->rowCount();
        w.reset();
        state.ResumeTiming();
    }
}

// The listing alone for review sets of other sizes: due days spread evenly over forty-one
// days, so the listing of an earlier day holds fewer questions.
void ListReviewOfDay(benchmark::State& state)
{
    const QString bank = BenchBank::withHistory();
    frmmain w(bank);
    w.resize(1280, 900);
    w.show();
    QApplication::processEvents();
    PracticePanel* panel = w.findChild<PracticePanel*>(QStringLiteral("Picture1"));
    panel->show();
    const qint64 day = today() - state.range(0);
    for (auto _ : state) {
        panel->ResetQuestionList();
        panel->listReview(day);
        QApplication::processEvents();
        state.counters["rows"] = panel->findChild<QuestionListView*>(QStringLiteral("ListView1"))->rowCount();
    }
}

void CountDue(benchmark::State& state)
{
    QuestionStore store;
    if (!store.open(BenchBank::withHistory())) {
        state.SkipWithError("cannot open the bank");
        return;
    }
    for (auto _ : state)
        state.counters["due"] = ReviewSchedule::dueCount(store, today());
}

// The progress window's history: every question's type and every one of the history rows,
// streamed once each.
void History(benchmark::State& state)
{
    QuestionStore store;
    if (!store.open(BenchBank::withHistory())) {
        state.SkipWithError("cannot open the bank");
        return;
    }
    for (auto _ : state) {
        const ProgressHistory::Result result = ProgressHistory::compute(store, QDate::currentDate());
        state.counters["weeks"] = double(result.weeks.size());
    }
}

// As bench_durability's answer: the click's own write.
void StoreAnswerWithHistory(benchmark::State& state)
{
    QuestionStore store;
    if (!store.open(BenchBank::withHistory())) {
        state.SkipWithError("cannot open the bank");
        return;
    }
    BenchBank::timeAnswers(state, store);
}

// Leaving a question: its attempt and its memory in the schedule, in one commit.
void RecordAttempt(benchmark::State& state)
{
    QuestionStore store;
    if (!store.open(BenchBank::withHistory())) {
        state.SkipWithError("cannot open the bank");
        return;
    }
    const qint64 last = store.scalar(QStringLiteral("select max(rowid) from tk")).toLongLong();
    AttemptRecorder visit(store);
    qint64 i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        RowSet row = store.query(
            QStringLiteral("select 代码, 题号 from tk where rowid=?"), { 1 + (i++ * 104729) % last });
        visit.enter(QuestionTable::Bank, { row.field(0).toString(), row.field(1).toString() });
        visit.answered(QStringLiteral("A"));
        state.ResumeTiming();
        if (!visit.leave().isDone()) {
            state.SkipWithError("attempt not recorded");
            return;
        }
    }
}

// The fit at start: every attempt read through its own connection, then the weights fitted.
void FitBank(benchmark::State& state)
{
    const QString bank = BenchBank::withHistory();
    for (auto _ : state) {
        const FitResult result = MemoryFitting::fitBank(bank);
        state.counters["attempts"] = result.attempts;
        state.counters["reviews_used"] = result.reviewsUsed;
    }
}

} // namespace

BENCHMARK(ListReview)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(ListReviewFirst)->Arg(8)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ListReviewOfDay)->Arg(10)->Arg(8)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(CountDue)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(History)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(StoreAnswerWithHistory)->Unit(benchmark::kMillisecond)->Iterations(400);
BENCHMARK(RecordAttempt)->Unit(benchmark::kMillisecond)->Iterations(400);
BENCHMARK(FitBank)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    return runOffscreenBenchmarks(argc, argv);
}
