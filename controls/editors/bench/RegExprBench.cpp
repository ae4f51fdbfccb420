// The date editor's mask: compiling it, and typing a date into it one key at a time (as the
// editor does, with and without completion), against std::regex matching the finished text
// once as the peer.
#include <benchmark/benchmark.h>

// libstdc++'s regex trips this warning in its own code at -O1
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <regex>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/formats/cxDateUtils.h"
#include "controls/editors/regexpr/cxRegExpr.h"

namespace {

const AnsiString& DateMask()
{
  static const AnsiString mask = [] {
    EditorsModule::Initialize();
    return cxDateUtils::GetDateRegExprMask(true);
  }();
  return mask;
}

void BM_CompileDateMask(benchmark::State& state)
{
  for (auto _ : state) {
    TcxRegExpr expr;
    expr.Compile(DateMask());
    benchmark::DoNotOptimize(expr.IsCompiled());
  }
}
BENCHMARK(BM_CompileDateMask);

void BM_TypeDate(benchmark::State& state)
{
  TcxRegExpr expr;
  expr.SetLiteralCompletion(state.range(0) != 0);
  expr.Compile(DateMask());
  const AnsiString text = "2024-12-31";
  for (auto _ : state) {
    expr.Restart();
    for (char c : text) {
      char ch = c;
      benchmark::DoNotOptimize(expr.Accept(ch));
    }
    benchmark::DoNotOptimize(expr.IsComplete());
  }
}
BENCHMARK(BM_TypeDate)->Arg(0)->Arg(1);

void BM_StdRegexDatePeer(benchmark::State& state)
{
  const std::regex date("\\d\\d\\d\\d-(0?[1-9]|1[012])-([012]?[1-9]|[123]0|31)");
  const std::string text = "2024-12-31";
  for (auto _ : state) benchmark::DoNotOptimize(std::regex_match(text, date));
}
BENCHMARK(BM_StdRegexDatePeer);

}  // namespace
