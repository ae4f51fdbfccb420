// The record model on 1,000,000 records: sorting on a text and a float item, grouping with
// group sums, and filtering by a criteria tree, each timed beside std::stable_sort or a plain
// loop over the same values in the same iteration. The "ratio" counter is controller / plain;
// the goal is at most 1.5.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <time.h>

#include "controls/data/DataModule.h"
#include "controls/data/controller/cxCustomData.h"
#include "controls/data/filter/cxDataFilter.h"
#include "controls/data/controller/cxDataSummary.h"

namespace {

constexpr int RecordCount = 1000000;

class TBenchItem : public TObject {};

struct TData {
  std::vector<std::string> Texts;
  std::vector<double> Floats;
  TBenchItem TextItem, FloatItem;
  std::unique_ptr<TcxCustomDataController> C;

  TData()
  {
    DataModule::Initialize();
    std::mt19937 rng(42);
    C = std::make_unique<TcxCustomDataController>();
    C->AddItem(&TextItem);
    C->AddItem(&FloatItem);
    C->ChangeValueTypeClass(0, TcxStringValueType::Class());
    C->ChangeValueTypeClass(1, TcxFloatValueType::Class());
    C->BeginUpdate();
    C->SetRecordCount(RecordCount);
    for (int r = 0; r < RecordCount; ++r) {
      std::string t(1, static_cast<char>('a' + rng() % 26));
      t += std::to_string(rng() % 1000);
      const double f = static_cast<double>(rng() % 1000000) / 100;
      Texts.push_back(t);
      Floats.push_back(f);
      C->SetValue(r, 0, AnsiString(t));
      C->SetValue(r, 1, f);
    }
    C->EndUpdate();
  }
};

TData& Data()
{
  static TData data;
  return data;
}

// <chrono> cannot be compiled with the 8-bit execution character set; the monotonic clock can.
struct Clock {
  static double now()
  {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
  }
};

double Seconds(double a, double b) { return b - a; }

void Report(benchmark::State& state, double controller, double plain, int iterations)
{
  state.counters["controller_ms"] = controller * 1000 / iterations;
  state.counters["plain_ms"] = plain * 1000 / iterations;
  state.counters["ratio"] = controller / plain;
}

template <class T>
void SortBench(benchmark::State& state, int AItem, const std::vector<T>& AValues)
{
  TData& d = Data();
  double controller = 0, plain = 0;
  int n = 0;
  for (auto _ : state) {
    d.C->ClearSorting(false);
    auto t0 = Clock::now();
    d.C->SetItemSortOrder(AItem, soAscending);
    auto t1 = Clock::now();
    std::vector<T> copy = AValues;
    auto t2 = Clock::now();
    std::stable_sort(copy.begin(), copy.end());
    auto t3 = Clock::now();
    benchmark::DoNotOptimize(copy.data());
    controller += Seconds(t0, t1);
    plain += Seconds(t2, t3);
    state.SetIterationTime(Seconds(t0, t1));
    ++n;
  }
  d.C->ClearSorting(false);
  Report(state, controller, plain, n);
}

void BM_SortText(benchmark::State& state) { SortBench(state, 0, Data().Texts); }
void BM_SortFloat(benchmark::State& state) { SortBench(state, 1, Data().Floats); }

// Group by the text's first letter stand-in: the text item itself has ~26,000 distinct values.
void BM_GroupAndSum(benchmark::State& state)
{
  TData& d = Data();
  auto* items = d.C->GetSummary()->GetDefaultGroupSummaryItems();
  items->Add(&d.FloatItem, spGroup, skSum);
  double controller = 0, plain = 0;
  int n = 0;
  for (auto _ : state) {
    auto t0 = Clock::now();
    d.C->ChangeGroupIndex(0, 0);
    auto t1 = Clock::now();
    std::vector<std::pair<std::string, double>> copy(d.Texts.size());
    for (size_t i = 0; i < copy.size(); ++i) copy[i] = {d.Texts[i], d.Floats[i]};
    auto t2 = Clock::now();
    std::stable_sort(copy.begin(), copy.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<double> sums;
    for (size_t i = 0; i < copy.size(); ++i) {
      if (i == 0 || copy[i].first != copy[i - 1].first) sums.push_back(0);
      sums.back() += copy[i].second;
    }
    auto t3 = Clock::now();
    benchmark::DoNotOptimize(sums.data());
    controller += Seconds(t0, t1);
    plain += Seconds(t2, t3);
    state.SetIterationTime(Seconds(t0, t1));
    ++n;
    d.C->ChangeGroupIndex(0, -1);
  }
  items->Clear();
  Report(state, controller, plain, n);
}

// (float > 5000 AND text LIKE 'a%') OR float < 100
void BM_FilterByCriteria(benchmark::State& state)
{
  TData& d = Data();
  TcxDataFilterCriteria* f = d.C->GetFilter();
  f->BeginUpdate();
  auto* root = f->GetRoot();
  root->SetBoolOperatorKind(fbkOr);
  auto* both = root->AddItemList(fbkAnd);
  f->AddItem(both, &d.FloatItem, fokGreater, 5000.0, "");
  f->AddItem(both, &d.TextItem, fokLike, "a%", "");
  f->AddItem(root, &d.FloatItem, fokLess, 100.0, "");
  f->EndUpdate();
  double controller = 0, plain = 0;
  int n = 0;
  for (auto _ : state) {
    auto t0 = Clock::now();
    f->SetActive(true);
    auto t1 = Clock::now();
    std::vector<int> kept;
    for (int r = 0; r < RecordCount; ++r) {
      const double v = d.Floats[static_cast<size_t>(r)];
      if ((v > 5000 && d.Texts[static_cast<size_t>(r)][0] == 'a') || v < 100) kept.push_back(r);
    }
    auto t2 = Clock::now();
    if (static_cast<int>(kept.size()) != d.C->GetRowCount()) state.SkipWithError("filter results differ");
    benchmark::DoNotOptimize(kept.data());
    controller += Seconds(t0, t1);
    plain += Seconds(t1, t2);
    state.SetIterationTime(Seconds(t0, t1));
    ++n;
    f->SetActive(false);
  }
  f->Clear();
  Report(state, controller, plain, n);
}

BENCHMARK(BM_SortText)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SortFloat)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GroupAndSum)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FilterByCriteria)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
