// What the benchmarks' ratio tables read of Google Benchmark's results.
#pragma once

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

namespace benchruns {

// The command line with defaults for a shared machine added, each overridable: repetitions in
// random interleaving, so that a ratio compares medians of runs taken side by side rather than
// runs a drifting machine took minutes apart.
class SharedMachineArguments {
public:
  SharedMachineArguments(int argc, char** argv, int repetitions = 5)
      : mArgs(argv, argv + argc),
        mRepetitions("--benchmark_repetitions=" + std::to_string(repetitions)) {
    AddUnlessGiven(argc, argv, mRepetitions);
    AddUnlessGiven(argc, argv, mInterleave);
    AddUnlessGiven(argc, argv, mAggregates);
    mCount = static_cast<int>(mArgs.size());
  }
  int* Count() { return &mCount; }
  char** Values() { return mArgs.data(); }

private:
  void AddUnlessGiven(int argc, char** argv, std::string& flag) {
    const size_t name = flag.find('=');
    for (int i = 1; i < argc; ++i) {
      if (std::strncmp(argv[i], flag.c_str(), name) == 0) {
        return;
      }
    }
    mArgs.push_back(flag.data());
  }

  std::vector<char*> mArgs;
  std::string mRepetitions;
  std::string mInterleave = "--benchmark_enable_random_interleaving=true";
  std::string mAggregates = "--benchmark_report_aggregates_only=true";
  int mCount = 0;
};

// A result that stands for its benchmark: a single run, or the median of repetitions (the mean,
// the spread and the individual repetitions are left to the usual table).
inline bool StandsForItsBenchmark(const benchmark::BenchmarkReporter::Run& run) {
  using Run = benchmark::BenchmarkReporter::Run;
  const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
  return (run.run_type == Run::RT_Iteration || median) && run.iterations != 0;
}

} // namespace benchruns
