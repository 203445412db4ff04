// The memory model and its review scheduling: first a simulation of candidates preparing
// for the exam (printed as tables), then the timings of the model's work at the scale of
// the large bank.
//
// The simulation: a bank of 2,000 questions, 40 new ones a day, the exam on day 60, at most
// 150 reviews a day. Each day the candidate does the reviews the scheduler asks for, then
// the new questions; every outcome is drawn from the candidate's true recall. Candidates of
// two kinds: forgetting by the model's own law with weights perturbed around the defaults,
// and by another law (exponential forgetting whose half-life grows by a fixed factor per
// success), so that the model is not judged on its own assumptions alone.
//
//   bench_memory                  tables, then timings
//   bench_memory --write-sample   also writes the sample candidate's attempts to bench/data

#include "MemorySimulation.h"

#include "memory/MemoryFit.h"
#include "memory/ReviewPlanner.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace MemorySimulation;

namespace {

constexpr int CandidatesPerLaw = 10;
constexpr quint64 SampleSeed = 20240917;
constexpr int HeldOutFrom = 48; // the last 20 % of the 60 days

struct Row
{
    const char* name;
    Scheduler scheduler;
    double target;
    double reviewRecall;
};

const Row Rows[] = {
    { "ladder, wrong answers (today's rule)", Scheduler::Ladder, 0, 0 },
    { "ladder, every new question", Scheduler::LadderAll, 0, 0 },
    { "model plan, wrong answers, defaults", Scheduler::ModelPlanWrongOnly, 0.9, 0.9 },
    { "model plan, wrong answers, defaults", Scheduler::ModelPlanWrongOnly, 0.9, 0.7 },
    { "model due list, defaults", Scheduler::ModelDue, 0.9, 0 },
    { "model plan, defaults", Scheduler::ModelPlan, 0.9, 0.9 },
    { "model plan, defaults", Scheduler::ModelPlan, 0.9, 0.8 },
    { "model plan, defaults", Scheduler::ModelPlan, 0.9, 0.7 },
    { "model plan, fitted", Scheduler::ModelPlanFitted, 0.9, 0.9 },
    { "model plan, fitted", Scheduler::ModelPlanFitted, 0.9, 0.8 },
    { "model plan, fitted", Scheduler::ModelPlanFitted, 0.9, 0.7 },
    { "model plan, fitted", Scheduler::ModelPlanFitted, 0.85, 0.7 },
    { "model plan, fitted", Scheduler::ModelPlanFitted, 0.8, 0.7 },
};

quint64 candidateSeed(Law law, int k)
{
    return (law == Law::Model ? 1000 : 2000) + quint64(k);
}

struct Mean
{
    double reviews = 0;
    double recall = 0;
    double shareAt90 = 0;
    double daysAtCap = 0;
    double fits = 0;
};

Mean meanOver(Law law, const Row& row, int cap)
{
    Mean mean;
    Setup setup;
    setup.dailyCap = cap;
    if (row.target > 0)
        setup.targetRecall = row.target;
    if (row.reviewRecall > 0)
        setup.reviewRecall = row.reviewRecall;
    for (int k = 0; k < CandidatesPerLaw; ++k) {
        const auto who = candidate(law, candidateSeed(law, k), setup.questions);
        const Run result = run(*who, row.scheduler, setup);
        mean.reviews += result.reviews;
        mean.recall += result.examRecall;
        mean.shareAt90 += result.examShareAt90;
        mean.daysAtCap += result.daysAtCap;
        mean.fits += result.fits;
    }
    mean.reviews /= CandidatesPerLaw;
    mean.recall /= CandidatesPerLaw;
    mean.shareAt90 /= CandidatesPerLaw;
    mean.daysAtCap /= CandidatesPerLaw;
    mean.fits /= CandidatesPerLaw;
    return mean;
}

void printSchedulers(Law law, int cap)
{
    std::printf(
        "\n%s, at most %d reviews a day, mean of %d candidates\n", lawName(law), cap, CandidatesPerLaw);
    std::printf("%-37s %6s %6s %8s %9s %9s %8s %8s %6s %5s\n", "scheduler", "exam", "review", "reviews",
        "vs ladder", "vs all", "recall", ">= 90 %", "capped", "fits");
    double ladder = 0;
    double ladderAll = 0;
    for (const Row& row : Rows) {
        const Mean mean = meanOver(law, row, cap);
        if (row.scheduler == Scheduler::Ladder)
            ladder = mean.reviews;
        if (row.scheduler == Scheduler::LadderAll)
            ladderAll = mean.reviews;
        char target[16] = "-";
        char review[16] = "-";
        if (row.target > 0)
            std::snprintf(target, sizeof target, "%.2f", row.target);
        if (row.reviewRecall > 0)
            std::snprintf(review, sizeof review, "%.2f", row.reviewRecall);
        std::printf("%-37s %6s %6s %8.0f %+8.0f%% %+8.0f%% %8.3f %8.3f %6.1f %5.1f\n", row.name, target,
            review, mean.reviews, 100 * (mean.reviews / ladder - 1),
            ladderAll > 0 ? 100 * (mean.reviews / ladderAll - 1) : 0.0, mean.recall, mean.shareAt90,
            mean.daysAtCap, mean.fits);
    }
}

// Log-loss and calibration summed over several candidates' held-out reviews.
struct Pooled
{
    double lossSum = 0;
    int reviews = 0;
    std::vector<CalibrationBin> bins;

    void add(const Evaluation& evaluation)
    {
        lossSum += evaluation.logLoss * evaluation.reviews;
        reviews += evaluation.reviews;
        if (bins.empty()) {
            bins = evaluation.calibration;
            for (CalibrationBin& bin : bins)
                bin = { bin.low, bin.high, 0, 0, 0 };
        }
        // Sums here; means once all are in (bin()).
        for (size_t b = 0; b < bins.size(); ++b) {
            const CalibrationBin& added = evaluation.calibration[b];
            bins[b].count += added.count;
            bins[b].meanPredicted += added.meanPredicted * added.count;
            bins[b].observedRate += added.observedRate * added.count;
        }
    }

    CalibrationBin bin(size_t b) const
    {
        CalibrationBin mean = bins[b];
        if (mean.count > 0) {
            mean.meanPredicted /= mean.count;
            mean.observedRate /= mean.count;
        }
        return mean;
    }

    double logLoss() const { return reviews > 0 ? lossSum / reviews : 0; }
};

// The share of right answers among the reviews of @p evaluation.
double rightRate(const Evaluation& evaluation)
{
    double right = 0;
    for (const CalibrationBin& bin : evaluation.calibration)
        right += bin.observedRate * bin.count;
    return evaluation.reviews > 0 ? right / evaluation.reviews : 0.5;
}

// The log-loss on the held-out reviews of always predicting the training reviews' success rate.
double constantLoss(const std::vector<AttemptHistory>& training, const std::vector<AttemptHistory>& all)
{
    const double rate
        = std::clamp(rightRate(MemoryFit::evaluate(MemoryParameters::defaults(), training)), 1e-4, 1 - 1e-4);
    const Evaluation held = MemoryFit::evaluate(MemoryParameters::defaults(), all, HeldOutFrom);
    const double right = rightRate(held);
    return -(right * std::log(rate) + (1 - right) * std::log(1 - rate));
}

struct HeldOut
{
    Pooled defaults;
    Pooled fitted;
    double constantSum = 0;
    int candidates = 0;
    int fittedCount = 0;

    void add(const std::vector<AttemptHistory>& attempts)
    {
        const std::vector<AttemptHistory> training = before(attempts, HeldOutFrom);
        const FitResult fit = MemoryFit::fit(training);
        defaults.add(MemoryFit::evaluate(MemoryParameters::defaults(), attempts, HeldOutFrom));
        fitted.add(MemoryFit::evaluate(fit.parameters, attempts, HeldOutFrom));
        constantSum += constantLoss(training, attempts);
        ++candidates;
        fittedCount += fit.fitted ? 1 : 0;
    }
};

void printHeldOut(const char* title, const HeldOut& held)
{
    std::printf(
        "\n%s: %d held-out reviews (days %d-59), fitted on days 0-%d (%d of %d candidates had enough)\n",
        title, held.defaults.reviews, HeldOutFrom, HeldOutFrom - 1, held.fittedCount, held.candidates);
    std::printf("  log-loss: defaults %.4f, fitted %.4f, constant rate %.4f\n", held.defaults.logLoss(),
        held.fitted.logLoss(), held.constantSum / std::max(1, held.candidates));
    std::printf(
        "  %-11s %7s %9s %9s   %7s %9s %9s\n", "predicted", "n", "mean", "observed", "n", "mean", "observed");
    std::printf("  %-11s %27s   %27s\n", "", "(defaults)", "(fitted)");
    for (size_t b = 0; b < held.defaults.bins.size(); ++b) {
        const CalibrationBin d = held.defaults.bin(b);
        const CalibrationBin f = held.fitted.bin(b);
        if (d.count == 0 && f.count == 0)
            continue;
        std::printf("  %.1f - %.1f   %7d %9.3f %9.3f   %7d %9.3f %9.3f\n", d.low, d.high, d.count,
            d.meanPredicted, d.observedRate, f.count, f.meanPredicted, f.observedRate);
    }
}

void printPredictions(Law law)
{
    HeldOut plan;
    HeldOut ladder;
    Setup setup;
    for (int k = 0; k < CandidatesPerLaw; ++k) {
        const auto forPlan = candidate(law, candidateSeed(law, k), setup.questions);
        plan.add(run(*forPlan, Scheduler::ModelPlan, setup).attempts);
        const auto forLadder = candidate(law, candidateSeed(law, k), setup.questions);
        ladder.add(run(*forLadder, Scheduler::LadderAll, setup).attempts);
    }
    printHeldOut((std::string(lawName(law)) + ", attempts scheduled by the model's plan").c_str(), plan);
    printHeldOut(
        (std::string(lawName(law)) + ", attempts spaced by the ladder (every question)").c_str(), ladder);
}

void printSample(bool write)
{
    const std::string path = VELLUMORE_SAMPLE_CANDIDATE;
    if (write) {
        Setup setup;
        const auto sample = candidate(Law::HalfLife, SampleSeed, setup.questions);
        writeAttempts(path, run(*sample, Scheduler::ModelPlan, setup).attempts);
    }
    const std::vector<AttemptHistory> attempts = readAttempts(path);
    if (attempts.empty()) {
        std::printf("\nsample candidate: %s not found (write it with --write-sample)\n", path.c_str());
        return;
    }
    HeldOut held;
    held.add(attempts);
    printHeldOut("sample candidate (half-life law, bench/data/sample-candidate.csv)", held);
}

// States of 200,000 practised questions, last seen over the past two months.
std::vector<QuestionMemory> largeBank(qint64 today)
{
    std::vector<QuestionMemory> questions;
    for (int q = 0; q < 200000; ++q) {
        const double stability = std::exp(std::log(10.0) + 1.2 * normalDraw(7, 1, quint64(q)));
        const double difficulty = 1 + 9 * draw(7, 2, quint64(q));
        questions.push_back({ { std::clamp(stability, 0.1, 3000.0), difficulty },
            today - qint64(60 * draw(7, 3, quint64(q))) });
    }
    return questions;
}

void RecallAndInterval(benchmark::State& state)
{
    const std::vector<QuestionMemory> questions = largeBank(0);
    for (auto _ : state) {
        double sum = 0;
        for (const QuestionMemory& q : questions)
            sum += MemoryModel::recall(q.state, double(-q.lastDay)) + MemoryModel::intervalDays(q.state, 0.9);
        benchmark::DoNotOptimize(sum);
    }
    state.counters["states"] = double(questions.size());
}
BENCHMARK(RecallAndInterval)->Unit(benchmark::kMillisecond);

void DueToday(benchmark::State& state)
{
    const std::vector<QuestionMemory> questions = largeBank(1000);
    std::vector<int> due;
    for (auto _ : state) {
        due = ReviewPlanner::dueToday(questions, 1000, 0.9, 200);
        benchmark::DoNotOptimize(due.data());
    }
    state.counters["questions"] = double(questions.size());
}
BENCHMARK(DueToday)->Unit(benchmark::kMillisecond);

// Sixty days to the exam; a cap the plan stays under, and one it overflows.
void ExamPlanFor(benchmark::State& state)
{
    const std::vector<QuestionMemory> questions = largeBank(1000);
    ExamPlan plan;
    for (auto _ : state) {
        ReviewPlanner::PlanOptions options;
        options.dailyCap = int(state.range(0));
        plan = ReviewPlanner::examPlan(MemoryParameters::defaults(), questions, 1000, 1060, options);
        benchmark::DoNotOptimize(plan.days.data());
    }
    state.counters["questions"] = double(questions.size());
    state.counters["reviews"] = plan.reviews();
    state.counters["atTarget"] = plan.shareAtTarget;
}
BENCHMARK(ExamPlanFor)->Arg(20000)->Arg(2000)->Unit(benchmark::kMillisecond);

// 1,000,000 attempts of one candidate of the model's law: 150,000 questions of 3 to 10
// attempts each, spaced to aim at recall between 60 and 95 %.
std::vector<AttemptHistory> millionAttempts()
{
    const auto who = candidate(Law::Model, 99, 150000);
    std::vector<AttemptHistory> histories;
    int total = 0;
    for (int q = 0; q < 150000 && total < 1000000; ++q) {
        int day = int(60 * draw(99, 10, quint64(q)));
        AttemptHistory history { Attempt(day, who->learn(q, day)) };
        const int attempts = 3 + int(8 * draw(99, 11, quint64(q)));
        for (int k = 1; k < attempts && total + k < 1000000; ++k) {
            const double aim = 0.6 + 0.35 * draw(99, 12, (quint64(q) << 4) | quint64(k));
            double gap = 1;
            while (who->trueRecall(q, day + int(gap) + 1) > aim && gap < 400)
                gap = std::ceil(gap * 1.3);
            day += int(gap);
            history.emplace_back(day, who->review(q, day));
        }
        total += int(history.size());
        histories.push_back(history);
    }
    return histories;
}

void Fit(benchmark::State& state)
{
    static const std::vector<AttemptHistory> histories = millionAttempts();
    FitResult result;
    for (auto _ : state) {
        result = MemoryFit::fit(histories);
        benchmark::DoNotOptimize(result.parameters.w.data());
    }
    int attempts = 0;
    for (const AttemptHistory& history : histories)
        attempts += int(history.size());
    state.counters["attempts"] = attempts;
    state.counters["reviewsUsed"] = result.reviewsUsed;
    state.counters["lossBefore"] = result.logLossBefore;
    state.counters["lossAfter"] = result.logLossAfter;
}
BENCHMARK(Fit)->Unit(benchmark::kSecond)->Iterations(2);

} // namespace

int main(int argc, char** argv)
{
    bool writeSample = false;
    bool simulate = true;
    std::vector<int> caps { 150, 400 };
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--write-sample") == 0)
            writeSample = true;
        else if (std::strcmp(argv[i], "--no-simulation") == 0)
            simulate = false;
        else if (std::strcmp(argv[i], "--cap") == 0 && i + 1 < argc)
            caps = { std::atoi(argv[++i]) };
        else
            rest.push_back(argv[i]);
    }
    int count = int(rest.size());
    std::printf(
        "Review schedulers, simulated: 2,000 questions, 40 new a day, exam on day 60, at most 150 "
        "reviews a day.\nreviews: reviews done over the 60 days (the first attempts of new questions, "
        "2,000 for every scheduler, not counted);\nrecall: mean true recall on the exam day over all "
        "2,000 questions; >= 90 %%: share of them at 90 %% or more;\ncapped: days the cap was reached; "
        "fits: refits of the weights.\n");
    for (int cap : caps)
        for (Law law : { Law::Model, Law::HalfLife })
            if (simulate)
                printSchedulers(law, cap);
    for (Law law : { Law::Model, Law::HalfLife })
        if (simulate)
            printPredictions(law);
    if (simulate || writeSample)
        printSample(writeSample);
    std::printf("\n");
    std::fflush(stdout);
    benchmark::Initialize(&count, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
