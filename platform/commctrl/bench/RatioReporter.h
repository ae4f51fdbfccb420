// Shared by this module's benchmarks: the console reporter that also keeps each benchmark's time
// per iteration, so a run can print how two of its benchmarks compare.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
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
  // Prints "What: A/Bx" when both ran.
  void PrintRatio(const char* What, const char* A, const char* B)
  {
    double x = Times[A], y = Times[B];
    if (x > 0 && y > 0) std::printf("%s: %.2fx\n", What, x / y);
  }
};
