// 100,000 lines drawn on a bitmap's canvas through a script's canvas calls and, in the same run,
// the same lines through TCanvas in C++. Prints both times and their ratio (script / C++).
#include <benchmark/benchmark.h>

#include <time.h>

#include <cstdio>
#include <memory>

#include "platform/forms/graphics/Bitmap.h"
#include "report/script/ScriptModule.h"
#include "report/script/host/fs_ihandles.h"
#include "report/script/interp/fs_iinterpreter.h"
#include "report/script/interp/fs_iscript.h"

namespace {

constexpr int kLines = 100000;

const char* const kScriptLines =
    "var Cv: TCanvas; I: Integer;\r\n"
    "begin\r\n"
    "  for I := 0 to 99999 do begin Cv.MoveTo(I mod 200, 0); Cv.LineTo(199 - I mod 200, 199) end;\r\n"
    "end.";

void CppLines(TCanvas* Cv)
{
  for (int I = 0; I < kLines; ++I) {
    Cv->MoveTo(I % 200, 0);
    Cv->LineTo(199 - I % 200, 199);
  }
}

// Seconds on the monotonic clock (<chrono> does not compile with the CP936 execution charset).
double Now()
{
  timespec T;
  clock_gettime(CLOCK_MONOTONIC, &T);
  return static_cast<double>(T.tv_sec) + static_cast<double>(T.tv_nsec) * 1e-9;
}

void BM_CanvasLinesScriptAndCpp(benchmark::State& State)
{
  ScriptModule::Initialize();
  TBitmap Bitmap;
  Bitmap.SetSize(200, 200);
  TCanvas* Cv = Bitmap.GetCanvas();
  auto S = std::make_unique<TfsScript>(nullptr);
  S->ParentScript = fs_iinterpreter::GetGlobalScript();
  S->SetSyntaxType("DezodiZidede");
  S->GetLines()->SetText(kScriptLines);
  if (!S->Compile()) {
    State.SkipWithError(S->LastError.c_str());
    return;
  }
  S->FindItem("Cv")->SetValue(fs_ihandles::ToVariant(Cv));
  double ScriptTime = 0, CppTime = 0;
  for (auto _ : State) {
    double T0 = Now();
    S->Execute();
    double T1 = Now();
    CppLines(Cv);
    double T2 = Now();
    ScriptTime += T1 - T0;
    CppTime += T2 - T1;
  }
  double N = static_cast<double>(State.iterations());
  State.counters["script_ms"] = ScriptTime / N * 1000;
  State.counters["cpp_ms"] = CppTime / N * 1000;
  State.counters["ratio"] = CppTime > 0 ? ScriptTime / CppTime : 0;
  std::printf("100000 lines: script %.1f ms, C++ %.1f ms, ratio %.1f\n", ScriptTime / N * 1000, CppTime / N * 1000,
              CppTime > 0 ? ScriptTime / CppTime : 0);
  fs_ihandles::Forget(Cv);
}
BENCHMARK(BM_CanvasLinesScriptAndCpp)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
BENCHMARK_MAIN();
