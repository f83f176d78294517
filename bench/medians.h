// SPDX-License-Identifier: GPL-3.0-or-later
// What the benchmark programs share: medians over repetitions unless told
// otherwise, and a reporter that keeps each benchmark's median for the
// closing table.
#pragma once

#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace zam_bench {

// benchmark::Initialize, with 9 repetitions reported as aggregates when the
// command line names no repetitions.
inline void InitializeWithMedians(int argc, char** argv) {
  static std::string reps = "--benchmark_repetitions=9";
  static std::string aggregates = "--benchmark_report_aggregates_only=true";
  std::vector<char*> args(argv, argv + argc);
  bool hasReps = false;
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], "--benchmark_repetitions", 23) == 0) hasReps = true;
  if (!hasReps) {
    args.push_back(reps.data());
    args.push_back(aggregates.data());
  }
  int n = int(args.size());
  benchmark::Initialize(&n, args.data());
}

// Keeps the median of every benchmark, in the order they ran.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> medians;
  std::vector<std::string> order;

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        const std::string name = run.run_name.function_name;
        if (!medians.count(name)) order.push_back(name);
        medians[name] = run.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace zam_bench
