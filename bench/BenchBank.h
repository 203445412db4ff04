#pragma once

#include <QString>

/// The generated banks the benchmarks run on, made once and kept between runs in
/// $VELLUMORE_BENCH_DIR (default: the system's temporary folder).
namespace BenchBank {

/// A synthetic bank of 200,000 questions in 2,000 sections.
QString large();

/// A copy of large() without the indexes the store adds, as a bank made by hand would be.
QString largeWithoutIndexes();

} // namespace BenchBank
