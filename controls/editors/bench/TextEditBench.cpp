// Lookup completion of the text editor beside a plain loop, in the same iteration: 100,000
// lookup items, typed prefixes that complete early, late and not at all. The "ratio" counter is
// ours / the loop's; the goal is within 1.5.
#include <benchmark/benchmark.h>

#include <time.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/textedit/cxTextEdit.h"
#include "controls/framework/FrameworkModule.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/controls/Controls.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"
#include "platform/win/backend/Headless.h"

namespace {

constexpr int kLookupItems = 100000;

double LookupBenchSeconds()
{
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct TLookupBenchDesk {
  std::unique_ptr<TcxTextEdit> Edit;
  std::vector<AnsiString> Prefixes;
  TLookupBenchDesk()
  {
    Headless::Start(640, 480);
    Controls::Initialize();
    Forms::InitializeApplication();
    FrameworkModule::Initialize();
    EditorsModule::Initialize();
    Edit = std::make_unique<TcxTextEdit>(nullptr);
    TStringList* items = Edit->GetTextProperties()->GetLookupItems();
    items->BeginUpdate();
    for (int i = 0; i < kLookupItems; ++i)
      items->Add(AnsiString(i % 2 ? "合同-" : "Contract-") + AnsiString(std::to_string(100000 + i)) + " 客户");
    items->EndUpdate();
    // Early, late and missing completions, in either case.
    for (int i : {0, 3, 1001, 50001, 99998, 99999})
      Prefixes.push_back(AnsiString(i % 2 ? "合同-" : "contract-") + AnsiString(std::to_string(100000 + i)));
    Prefixes.push_back("合同-9");
    Prefixes.push_back("nothing");
  }
};

TLookupBenchDesk& LookupDesk()
{
  static TLookupBenchDesk desk;  // lives for the run
  return desk;
}

void BM_LookupCompletion(benchmark::State& state)
{
  TLookupBenchDesk& d = LookupDesk();
  TcxCustomTextEditLookupData* data = d.Edit->GetLookupData();
  TStringList* items = d.Edit->GetTextProperties()->GetLookupItems();
  double ours = 0, peer = 0;
  int iterations = 0;
  for (auto _ : state) {
    const double t0 = LookupBenchSeconds();
    for (const AnsiString& p : d.Prefixes) {
      AnsiString text = p, tail;
      benchmark::DoNotOptimize(data->Locate(text, tail, false));
    }
    const double t1 = LookupBenchSeconds();
    // The plain loop: the first item whose start equals the prefix without regard to case.
    for (const AnsiString& p : d.Prefixes) {
      int found = -1;
      for (int i = 0; i < items->GetCount() && found < 0; ++i)
        if (SysUtils::AnsiSameText(items->GetStrings(i).substr(0, p.size()), p)) found = i;
      benchmark::DoNotOptimize(found);
    }
    const double t2 = LookupBenchSeconds();
    ours += t1 - t0;
    peer += t2 - t1;
    ++iterations;
    state.SetIterationTime(t1 - t0);
  }
  state.counters["locate_ms"] = ours * 1000 / iterations;
  state.counters["loop_ms"] = peer * 1000 / iterations;
  state.counters["ratio"] = ours / peer;
}
BENCHMARK(BM_LookupCompletion)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
