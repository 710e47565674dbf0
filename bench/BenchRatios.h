#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

// The console reporter that also keeps each benchmark's real time, so that a program can print
// ratios of benchmarks measured in the same run.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) times_[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }

  // Prints "label: a / b = ratio" for each pair whose both sides ran.
  void PrintRatios(const std::vector<std::pair<std::string, std::string>>& pairs) const {
    for (const auto& [a, b] : pairs) {
      const auto ta = times_.find(a), tb = times_.find(b);
      if (ta == times_.end() || tb == times_.end() || tb->second == 0) continue;
      std::printf("ratio %s / %s = %.3f\n", a.c_str(), b.c_str(), ta->second / tb->second);
    }
  }

 private:
  std::map<std::string, double> times_;
};
