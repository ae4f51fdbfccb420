// Shared by the dataset benchmarks: the console reporter that also keeps each benchmark's time
// per iteration, so a run can print how two of its benchmarks compare. The processor time is
// kept beside the real time: on a loaded machine it is the steadier of the two.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
  std::map<std::string, double> Times, CpuTimes;
  void ReportRuns(const std::vector<Run>& runs) override
  {
    for (const Run& r : runs) {
      Times[r.benchmark_name()] = r.GetAdjustedRealTime();
      CpuTimes[r.benchmark_name()] = r.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  // A benchmark's time, or the mean of its repetitions; 0 when it did not run.
  double Time(const std::string& name) const { return Find(Times, name); }
  double CpuTime(const std::string& name) const { return Find(CpuTimes, name); }
  // Prints "Label: 1.23x real time, 1.10x processor time (goal 1.5x)" for benchmarks A and B.
  void PrintRatio(const char* Label, const std::string& A, const std::string& B, double Goal) const
  {
    if (Time(A) > 0 && Time(B) > 0)
      std::printf("%s: %.2fx real time, %.2fx processor time (goal %.1fx)\n", Label, Time(A) / Time(B),
                  CpuTime(A) / CpuTime(B), Goal);
  }

private:
  static double Find(const std::map<std::string, double>& In, const std::string& name)
  {
    for (const std::string& key : {name + "_mean", name}) {
      const auto it = In.find(key);
      if (it != In.end()) return it->second;
    }
    return 0;
  }
};
