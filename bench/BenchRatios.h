#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

// The console reporter that also keeps each benchmark's real and CPU time, so that a program can
// print ratios of benchmarks measured in the same run. On a busy machine the CPU time of a
// one-thread benchmark is the steadier figure.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      times_[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // Prints "ratio a / b: real r, cpu c" for each pair whose both sides ran.
  void PrintRatios(const std::vector<std::pair<std::string, std::string>>& pairs) const {
    for (const auto& [a, b] : pairs) {
      const auto ta = times_.find(a), tb = times_.find(b);
      if (ta == times_.end() || tb == times_.end()) continue;
      std::printf("ratio %s / %s: real %.3f, cpu %.3f\n", a.c_str(), b.c_str(),
                  ta->second.first / tb->second.first, ta->second.second / tb->second.second);
    }
  }

 private:
  std::map<std::string, std::pair<double, double>> times_;
};
