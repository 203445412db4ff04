#pragma once

#include <QString>

namespace benchmark {
class State;
}
class QuestionStore;

/// The generated banks the benchmarks run on, made once and kept between runs in
/// $VELLUMORE_BENCH_DIR (default: the system's temporary folder).
namespace BenchBank {

/// A synthetic bank of @p questions questions in @p sections sections.
QString synthetic(int questions, int sections);

/// A copy of synthetic() without the indexes the store adds, as a bank made by hand would be.
QString withoutIndexes(int questions, int sections);

/// The 200,000-question bank in 2,000 sections.
inline QString large()
{
    return synthetic(200000, 2000);
}
inline QString largeWithoutIndexes()
{
    return withoutIndexes(200000, 2000);
}

/// A copy of large() with 1,000,000 attempts, every question attempted, and a schedule:
/// one question in ten is in review, due over the forty days around today.
QString withHistory();
/// A copy of large() whose 1,000,000 attempts fall on every question, each question in the
/// schedule with its memory and first outcome, as the program keeps them: nothing is unseen.
QString allPractised();

/// Times one answer a benchmark iteration on 400 questions spread over the bank, A and B
/// in turn, and reports the median and the 99th percentile in milliseconds.
void timeAnswers(benchmark::State& state, QuestionStore& store);

} // namespace BenchBank
