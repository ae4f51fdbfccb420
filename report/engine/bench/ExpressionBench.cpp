// Evaluating the expressions of a text object over many records: through the report's cache
// (compiled once per preparation, then only called) beside compiling the same text for every
// record, and the expansion of one text object's brackets per print.
#include <benchmark/benchmark.h>

#include <memory>

#include "report/engine/ReportEngineModule.h"
#include "report/engine/model/frxExpression.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxVariables.h"
#include "report/engine/objects/frxMemoView.h"

namespace {

const char* const kExpression = "IIF(<Amount> > 100, <Amount> * 2, 0) + Length('合同编号')";

std::unique_ptr<TfrxReport> MakeReport()
{
  ReportEngineModule::Initialize();
  frxExpression::Initialize();
  auto r = std::make_unique<TfrxReport>(nullptr);
  r->GetVariables()->SetVariable("Amount", Variant(250));
  r->PrepareScript();
  return r;
}

void BM_CalcThroughTheCache(benchmark::State& state)
{
  auto r = MakeReport();
  for (auto _ : state) benchmark::DoNotOptimize(r->Calc(kExpression));
}
BENCHMARK(BM_CalcThroughTheCache);

void BM_CalcCompilingEachTime(benchmark::State& state)
{
  auto r = MakeReport();
  for (auto _ : state) {
    r->GetExpressionCache()->Clear();
    benchmark::DoNotOptimize(r->Calc(kExpression));
  }
}
BENCHMARK(BM_CalcCompilingEachTime);

void BM_TextObjectFetch(benchmark::State& state)
{
  auto r = MakeReport();
  auto* page = new TfrxReportPage(r.get());
  auto* memo = new TfrxMemoView(page);
  memo->SetText("合同金额: [<Amount> #n%2.2f] 元, 共 [<Amount> div 50] 份");
  for (auto _ : state) {
    memo->SaveBounds();
    memo->FetchData();
    memo->RestoreBounds();
  }
}
BENCHMARK(BM_TextObjectFetch);

}  // namespace

BENCHMARK_MAIN();
