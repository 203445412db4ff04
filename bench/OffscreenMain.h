#pragma once

#include <functional>

/// The main of a benchmark that shows windows: an offscreen application named as the
/// program, the registered benchmarks, then @p beforeExit while the application lives.
/// Returns 1, naming them, when message boxes were asked for: a benchmark has nobody to answer.
int runOffscreenBenchmarks(int argc, char** argv, const std::function<void()>& beforeExit = {});
