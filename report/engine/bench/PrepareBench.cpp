// Preparing a 1,000-page list (52 rows a page, each row a text object with two expressions)
// beside formatting the same values into the same strings in a plain loop, in the same run;
// prints both times and their ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <time.h>

#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringList.h"
#include "report/engine/ReportEngineModule.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/model/frxOptions.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/objects/frxMemoView.h"
#include "report/engine/prepared/frxPreviewPages.h"

namespace {

// <chrono> does not build with the CP936 execution character set.
double Seconds()
{
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

constexpr Integer kRows = 52 * 1000;  // 52 rows of 20 pixels fill an A4 page with 10 mm margins

std::unique_ptr<TfrxReport> MakeList()
{
  ReportEngineModule::Initialize();
  auto r = std::make_unique<TfrxReport>(nullptr);
  r->GetEngineOptions()->SilentMode = true;
  r->GetEngineOptions()->RestoreAfterRun = false;
  auto* page = new TfrxReportPage(r.get());
  page->SetName("Page1");
  page->SetPaperSize(9);
  page->LeftMargin = page->RightMargin = page->TopMargin = page->BottomMargin = 10;
  auto* band = new TfrxMasterData(page);
  band->SetName("Rows");
  band->SetHeight(20);
  band->SetRowCount(kRows);
  auto* memo = new TfrxMemoView(band);
  memo->SetName("Row");
  memo->SetBounds(0, 0, 400, 18);
  memo->SetText("第 [Line#] 行, 合计 [<Line#> * 2]");
  return r;
}

void BM_PrepareThousandPagesBesidePlainFormatting(benchmark::State& state)
{
  auto r = MakeList();
  double engineSeconds = 0, plainSeconds = 0;
  for (auto _ : state) {
    double t0 = Seconds();
    if (!r->PrepareReport()) state.SkipWithError(r->GetErrors()->GetText().c_str());
    double t1 = Seconds();
    std::size_t bytes = 0;
    for (Integer i = 1; i <= kRows; ++i) {
      AnsiString s = "第 " + SysUtils::IntToStr(i) + " 行, 合计 " + SysUtils::IntToStr(i * 2);
      bytes += s.size();
    }
    benchmark::DoNotOptimize(bytes);
    double t2 = Seconds();
    engineSeconds += t1 - t0;
    plainSeconds += t2 - t1;
  }
  Integer pages = r->GetPreviewPages()->GetCount();
  state.counters["pages"] = pages;
  state.counters["engine_s"] = engineSeconds / static_cast<double>(state.iterations());
  state.counters["plain_s"] = plainSeconds / static_cast<double>(state.iterations());
  state.counters["ratio"] = plainSeconds > 0 ? engineSeconds / plainSeconds : 0;
  std::printf("prepare %d pages: %.3f s; plain formatting: %.4f s; ratio %.0f\n", pages,
              engineSeconds / static_cast<double>(state.iterations()),
              plainSeconds / static_cast<double>(state.iterations()),
              plainSeconds > 0 ? engineSeconds / plainSeconds : 0.0);
}
BENCHMARK(BM_PrepareThousandPagesBesidePlainFormatting)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
