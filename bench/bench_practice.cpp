// Listing questions: from the filter choice or node click to the numbered list and
// the first question shown, in an offscreen main window, beside the statements as
// first written run on a bank without our indexes.

#include "BenchBank.h"
#include "OffscreenMain.h"

#include "catalogue/QuestionFilters.h"
#include "catalogue/QuestionListModel.h"
#include "catalogue/ui/QuestionListView.h"
#include "data/QuestionStore.h"
#include "data/ui/BankMessages.h"
#include "practice/ui/PracticePanel.h"
#include "practice/ui/PracticeSidePanel.h"
#include "shell/ui/frmmain.h"

#include <QApplication>
#include <QComboBox>
#include <QStandardPaths>
#include <QTreeWidgetItem>

#include <benchmark/benchmark.h>

#include <memory>
#include <utility>

namespace {

constexpr int WholeBankQuestions = 100000;
constexpr int WholeBankSections = 1000;

// One main window at a time, as in the program: a main window that goes closes every
// other window, and another main window would ask whether to quit.
std::pair<QString, std::unique_ptr<frmmain>>& window()
{
    static std::pair<QString, std::unique_ptr<frmmain>> open;
    return open;
}

frmmain& windowOn(const QString& bank)
{
    auto& [openBank, w] = window();
    if (!w || openBank != bank) {
        w.reset();
        w = std::make_unique<frmmain>(bank);
        openBank = bank;
        w->resize(1280, 900);
        w->show();
        QApplication::processEvents();
    }
    return *w;
}

// The literal statements read row by row with every field, and numbered.
void readLiteral(benchmark::State& state, const QString& bank, const QString& sql)
{
    QuestionStore store;
    if (!store.open(bank)) {
        state.SkipWithError(qPrintable(BankMessages::reason(store.failure())));
        return;
    }
    for (auto _ : state) {
        RowSet rows = store.query(sql);
        QuestionListModel model;
        model.append(rows);
        state.counters["rows"] = model.rowCount();
    }
}

void ListWholeBank(benchmark::State& state)
{
    frmmain& w = windowOn(BenchBank::synthetic(WholeBankQuestions, WholeBankSections));
    PracticePanel* panel = w.findChild<PracticePanel*>(QStringLiteral("Picture1"));
    panel->show();
    panel->ResetQuestionList();
    // A range that is none of the box's items lists every question of the bank.
    panel->findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(-1);
    for (auto _ : state) {
        panel->PracticeFilter();
        QApplication::processEvents();
        state.counters["rows"] = panel->findChild<QuestionListView*>(QStringLiteral("ListView1"))->rowCount();
    }
}

void ListWholeBank_Literal(benchmark::State& state)
{
    readLiteral(state, BenchBank::withoutIndexes(WholeBankQuestions, WholeBankSections),
        QStringLiteral("select * from tk order by 题型,sj  "));
}

void ListFavourites(benchmark::State& state)
{
    frmmain& w = windowOn(BenchBank::large());
    QTreeWidgetItem node(QStringList { QStringLiteral("个人收藏试题") });
    for (auto _ : state) {
        w.OpenCatalogueNode(&node);
        QApplication::processEvents();
        state.counters["rows"] = w.session().list().rowCount();
    }
}

void ListFavourites_Literal(benchmark::State& state)
{
    readLiteral(state, BenchBank::largeWithoutIndexes(),
        QStringLiteral("select * from tk where 收藏否=-1 order by 题型,sj"));
}

void ListSection(benchmark::State& state)
{
    frmmain& w = windowOn(BenchBank::large());
    PracticePanel* panel = w.findChild<PracticePanel*>(QStringLiteral("Picture1"));
    w.session().enterSection(QStringLiteral("K0101"));
    panel->findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(0);
    for (auto _ : state) {
        panel->PracticeFilter();
        QApplication::processEvents();
        state.counters["rows"] = panel->findChild<QuestionListView*>(QStringLiteral("ListView1"))->rowCount();
    }
}

} // namespace

BENCHMARK(ListWholeBank)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ListWholeBank_Literal)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(ListFavourites)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(ListFavourites_Literal)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(ListSection)->Unit(benchmark::kMillisecond)->Iterations(20);

int main(int argc, char** argv)
{
    return runOffscreenBenchmarks(argc, argv, [] { window().second.reset(); });
}
