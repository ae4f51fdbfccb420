// Format and FormatFloat against the C library on the same values, in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "platform/rtl/Conversions.h"
#include "platform/rtl/FormatText.h"

namespace {

const AnsiString kName = "合同金额";
constexpr int kCount = 1234;
constexpr double kAmount = 98765.4321;

void BM_Format(benchmark::State& state)
{
  for (auto _ : state) {
    AnsiString s = SysUtils::Format("%s: %d, %.2f", {kName, kCount, kAmount});
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_Format);

void BM_Format_snprintf(benchmark::State& state)
{
  char buf[128];
  for (auto _ : state) {
    int n = std::snprintf(buf, sizeof buf, "%s: %d, %.2f", kName.c_str(), kCount, kAmount);
    AnsiString s(buf, n);
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_Format_snprintf);

void BM_FormatFloat(benchmark::State& state)
{
  for (auto _ : state) {
    AnsiString s = SysUtils::FormatFloat("#,##0.00", kAmount);
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_FormatFloat);

// The nearest C library form (no thousand separators).
void BM_FormatFloat_snprintf(benchmark::State& state)
{
  char buf[64];
  for (auto _ : state) {
    int n = std::snprintf(buf, sizeof buf, "%.2f", kAmount);
    AnsiString s(buf, n);
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_FormatFloat_snprintf);

void BM_FloatToStr(benchmark::State& state)
{
  for (auto _ : state) {
    AnsiString s = SysUtils::FloatToStr(kAmount);
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_FloatToStr);

void BM_FloatToStr_snprintf(benchmark::State& state)
{
  char buf[64];
  for (auto _ : state) {
    int n = std::snprintf(buf, sizeof buf, "%.15g", kAmount);
    AnsiString s(buf, n);
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_FloatToStr_snprintf);

void BM_FormatDateTime(benchmark::State& state)
{
  const TDateTime v = 39877.58829;
  for (auto _ : state) {
    AnsiString s = SysUtils::FormatDateTime("yyyy-mm-dd hh:nn:ss", v);
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_FormatDateTime);

}  // namespace
