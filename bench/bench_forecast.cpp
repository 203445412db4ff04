// The score forecast: first a simulation that checks the predicted pass chance against how
// often simulated candidates pass (printed as tables), then the timings of the forecast and
// of the weak-spot table on the generated 200,000-question bank with 1,000,000 attempts.
//
// The simulation: a bank of 2,000 questions in 20 sections of 100, each section half 单选,
// three tenths 多选 and a fifth 判断; sections and types differ in how likely a candidate
// knows a question beforehand. A candidate studies 40 new questions a day, section after
// section, and does the model's due reviews (at most 150 a day) for a number of days drawn
// between 5 and 60, then sits papers of 40 单选 × 1, 20 多选 × 2 and 20 判断 × 1 points
// drawn from the whole bank, with 60 of 100 to pass. Outcomes come from the candidate's
// true chances: recall by its own law for studied questions, prior knowledge for the rest.
// The forecast sees only the attempts. Candidates of two laws of forgetting: the model's own
// with perturbed weights, and exponential forgetting with growing half-lives.
//
//   bench_forecast                 tables, then timings
//   bench_forecast --tables-only   tables
//   bench_forecast --timings-only  timings

#include "BenchBank.h"
#include "MemorySimulation.h"

#include "data/AttemptRepository.h"
#include "data/ForecastRepository.h"
#include "data/QuestionStore.h"
#include "forecast/PaperForecast.h"
#include "forecast/PassCalibration.h"
#include "forecast/WeakSpots.h"
#include "memory/MemoryFit.h"

#include <QDate>
#include <QFile>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

using namespace MemorySimulation;

namespace {

constexpr int Sections = 20;
constexpr int PerSection = 100;
constexpr int Questions = Sections * PerSection;
constexpr int CandidatesPerLaw = 1000;
constexpr int PapersPerCandidate = 10;
constexpr int PassPercent = 60;
constexpr quint64 SectionTrait = 101;

int slotOf(int q)
{
    const int k = q % 10;
    return k < 5 ? 0 : k < 8 ? 5 : 4; // 单选, 多选, 判断
}

double typeOffset(int slot)
{
    return slot == 5 ? -0.8 : slot == 4 ? 0.5 : 0.0;
}

PaperPlan simulatedPlan()
{
    PaperPlan plan;
    plan.counts[0] = 40;
    plan.counts[5] = 20;
    plan.counts[4] = 20;
    plan.points.fill(1);
    plan.points[5] = 2;
    return plan;
}

// The uncertainties the tables are printed for: none, and the program's.
const std::array<double, 2> Uncertainties { 0.0, PaperForecast::ModelUncertainty };

struct Sitting
{
    std::array<double, 2> planChance {}; // the forecast of the settings' paper
    std::array<double, 2> paperChance {}; // the forecast of the paper as drawn
    bool passed = false;
};

// One candidate: studies, is forecast, sits the papers.
std::vector<Sitting> sit(Law law, quint64 seed)
{
    std::vector<double> offsets(Questions);
    std::vector<double> section(Sections);
    for (int s = 0; s < Sections; ++s)
        section[size_t(s)] = 0.6 * normalDraw(seed, SectionTrait, quint64(s));
    for (int q = 0; q < Questions; ++q)
        offsets[size_t(q)] = section[size_t(q / PerSection)] + typeOffset(slotOf(q));
    const auto who = candidate(law, seed, Questions, offsets);

    Setup setup;
    setup.questions = Questions;
    setup.examDay = 5 + int(draw(seed, SectionTrait + 1, 0) * 56);
    const Run run = MemorySimulation::run(*who, Scheduler::ModelDue, setup);
    const int day = setup.examDay;

    // What the program would know: each studied question's memory replayed from its
    // attempts by the weights fitted to them (the published ones below 1,000 attempts),
    // and its first outcome.
    const FitResult fit = MemoryFit::fit(run.attempts);
    const MemoryParameters parameters = fit.fitted ? fit.parameters : MemoryParameters::defaults();
    // And, as the program keeps it beside the weights, how far their recall leans.
    const double shift = fit.fitted ? fit.recallShift : 0.0;
    const auto leaned = [shift](double p) {
        return shift == 0 || p <= 0 || p >= 1 ? p : 1 / (1 + (1 - p) / p * std::exp(-shift));
    };
    std::vector<double> predicted(Questions, -1);
    QVector<BankOutlook::Cell> cells;
    QVector<AbilityModel::Cell> firsts;
    for (int s = 0; s < Sections; ++s) {
        for (int slot : { 0, 5, 4 }) {
            BankOutlook::Cell cell;
            cell.section = QStringLiteral("K%1").arg(s, 4, 10, QLatin1Char('0'));
            cell.slot = slot;
            AbilityModel::Cell first { cell.section, slot, 0, 0 };
            for (int q = s * PerSection; q < (s + 1) * PerSection; ++q) {
                if (slotOf(q) != slot)
                    continue;
                ++cell.questions;
                if (size_t(q) >= run.attempts.size())
                    continue;
                const AttemptHistory& history = run.attempts[size_t(q)];
                const MemoryState state = MemoryFit::replay(parameters, history);
                const double last = history.back().day;
                predicted[size_t(q)] = leaned(MemoryModel::recall(state, day - last));
                cell.practised.append({ predicted[size_t(q)], qint64(last) });
                ++first.attempts;
                first.right += history.front().right() ? 1 : 0;
            }
            cells.append(cell);
            firsts.append(first);
        }
    }
    const BankOutlook outlook = BankOutlook::of(cells, AbilityModel::fit(firsts), day);
    const PaperPlan plan = simulatedPlan();
    std::array<double, 2> planChance {};
    for (size_t u = 0; u < Uncertainties.size(); ++u)
        planChance[u] = PaperForecast::ofPlan(outlook, plan, PassPercent, Uncertainties[u]).passChance;
    for (int q = 0; q < Questions; ++q) {
        if (predicted[size_t(q)] < 0)
            predicted[size_t(q)] = outlook.ability().chance(
                QStringLiteral("K%1").arg(q / PerSection, 4, 10, QLatin1Char('0')), slotOf(q));
    }

    std::vector<Sitting> sittings;
    std::mt19937_64 random(seed ^ 0x5eed);
    std::array<std::vector<int>, QuestionType::SlotCount> pools;
    for (int q = 0; q < Questions; ++q)
        pools[size_t(slotOf(q))].push_back(q);
    for (int paper = 0; paper < PapersPerCandidate; ++paper) {
        QVector<PaperForecast::DrawnQuestion> drawn;
        int score = 0;
        for (int slot = 0; slot < QuestionType::SlotCount; ++slot) {
            std::vector<int>& pool = pools[size_t(slot)];
            const int n = std::min<int>(plan.counts[size_t(slot)], int(pool.size()));
            for (int i = 0; i < n; ++i) {
                std::swap(pool[size_t(i)], pool[size_t(i) + random() % (pool.size() - size_t(i))]);
                const int q = pool[size_t(i)];
                const bool studied = size_t(q) < run.attempts.size();
                const double truth = studied ? who->trueRecall(q, day) : who->firstChance(q);
                if (std::uniform_real_distribution<double>(0, 1)(random) < truth)
                    score += plan.points[size_t(slot)];
                drawn.append({ slot, predicted[size_t(q)], 1 });
            }
        }
        Sitting sitting { planChance, {}, false };
        for (size_t u = 0; u < Uncertainties.size(); ++u) {
            const ScoreForecast f = PaperForecast::ofQuestions(drawn, plan, PassPercent, Uncertainties[u]);
            sitting.paperChance[u] = f.passChance;
            sitting.passed = score >= f.passLine;
        }
        sittings.push_back(sitting);
    }
    return sittings;
}

void printTable(const char* title, const QVector<PassCalibration::Paper>& papers)
{
    const QVector<PassCalibration::Decile> deciles = PassCalibration::deciles(papers);
    std::printf("\n%s (%lld papers)\n", title, static_cast<long long>(papers.size()));
    std::printf("| predicted pass chance | papers | mean predicted | passed | gap (points) |\n");
    std::printf("|---|---|---|---|---|\n");
    for (const PassCalibration::Decile& d : deciles) {
        if (d.papers == 0) {
            std::printf("| %d–%d %% | 0 | | | |\n", d.from, d.to);
            continue;
        }
        std::printf("| %d–%d %% | %d | %.1f %% | %.1f %% | %.1f |\n", d.from, d.to, d.papers,
            100 * d.meanChance, 100 * d.passedShare(), 100 * (d.passedShare() - d.meanChance));
    }
    std::printf("largest gap over deciles of 50 papers or more: %.1f points\n",
        PassCalibration::largestGap(deciles, 50));
}

void printTables()
{
    for (Law law : { Law::Model, Law::HalfLife }) {
        std::vector<Sitting> sittings;
        for (int k = 0; k < CandidatesPerLaw; ++k) {
            const std::vector<Sitting> more
                = sit(law, 7000 + quint64(k) * 7919 + (law == Law::Model ? 0 : 1));
            sittings.insert(sittings.end(), more.begin(), more.end());
        }
        std::printf(
            "\n## %s: %d candidates, %d papers each\n", lawName(law), CandidatesPerLaw, PapersPerCandidate);
        for (size_t u = 0; u < Uncertainties.size(); ++u) {
            QVector<PassCalibration::Paper> byPlan, byPaper;
            for (const Sitting& s : sittings) {
                byPlan.append({ s.planChance[u], s.passed });
                byPaper.append({ s.paperChance[u], s.passed });
            }
            std::printf("\n### uncertainty %.2f on the log-odds scale%s\n", Uncertainties[u],
                u == 0 ? " (none)" : " (the program's)");
            printTable("the settings' paper, forecast before it is drawn (学习进度)", byPlan);
            printTable("the paper as drawn, forecast before it is answered (考前预计)", byPaper);
        }
    }
    std::fflush(stdout);
}

// Runs @p work on each iteration with the bank as the forecast reads it today.
template <typename Work> void withOutlook(benchmark::State& state, Work work)
{
    QuestionStore store;
    if (!store.open(BenchBank::allPractised())) {
        state.SkipWithError("cannot open the bank");
        return;
    }
    const qint64 today = QDate::currentDate().toJulianDay();
    for (auto _ : state) {
        QString error;
        const std::optional<BankOutlook> outlook = BankOutlook::read(store, today, &error);
        if (!outlook || !work(store, *outlook, &error)) {
            state.SkipWithError(error.toStdString().c_str());
            return;
        }
    }
}

void ForecastOfThePlan(benchmark::State& state)
{
    withOutlook(state, [&state](QuestionStore&, const BankOutlook& outlook, QString*) {
        const ScoreForecast f = PaperForecast::ofPlan(outlook, PaperPlan::fromSettings(), 60);
        state.counters["expected"] = f.expected;
        state.counters["pass"] = f.passChance;
        return true;
    });
}

void WeakSpotTable(benchmark::State& state)
{
    withOutlook(state, [&state](QuestionStore& store, const BankOutlook& outlook, QString* error) {
        QVector<AttemptSummaryRow> attempts;
        if (!ForecastRepository::attemptSummary(store, &attempts, error))
            return false;
        const QVector<WeakSpots::Section> sections
            = WeakSpots::bySection(outlook, PaperPlan::fromSettings(), attempts, 0.9);
        const WeakSpots::Paces paces = WeakSpots::paces(attempts);
        state.counters["sections"] = double(sections.size());
        state.counters["paces"] = double(paces.slowButRight.size() + paces.fastButWrong.size());
        return true;
    });
}

BENCHMARK(ForecastOfThePlan)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(WeakSpotTable)->Unit(benchmark::kMillisecond)->MinTime(2);

} // namespace

int main(int argc, char** argv)
{
    bool tablesOnly = false, timingsOnly = false;
    for (int i = 1; i < argc; ++i) {
        tablesOnly = tablesOnly || std::strcmp(argv[i], "--tables-only") == 0;
        timingsOnly = timingsOnly || std::strcmp(argv[i], "--timings-only") == 0;
    }
    if (!timingsOnly)
        printTables();
    if (tablesOnly)
        return 0;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
