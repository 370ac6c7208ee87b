// What the benchmarks' ratio tables read of Google Benchmark's results.
#pragma once

#include <benchmark/benchmark.h>

namespace benchruns {

// A result that stands for its benchmark: a single run, or the median of repetitions (the mean,
// the spread and the individual repetitions are left to the usual table).
inline bool StandsForItsBenchmark(const benchmark::BenchmarkReporter::Run& run) {
  using Run = benchmark::BenchmarkReporter::Run;
  const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
  return (run.run_type == Run::RT_Iteration || median) && run.iterations != 0;
}

} // namespace benchruns
