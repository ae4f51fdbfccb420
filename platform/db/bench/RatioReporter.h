// Shared by this module's benchmarks: the console reporter that also keeps each benchmark's time
// per iteration, so a run can print how two of its benchmarks compare.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
  std::map<std::string, double> Times;
  void ReportRuns(const std::vector<Run>& runs) override
  {
    for (const Run& r : runs) Times[r.benchmark_name()] = r.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  // A benchmark's time, or the mean of its repetitions; 0 when it did not run.
  double Time(const std::string& name) const
  {
    for (const std::string& key : {name + "_mean", name}) {
      const auto it = Times.find(key);
      if (it != Times.end()) return it->second;
    }
    return 0;
  }
};
