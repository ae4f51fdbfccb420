// Host member access from scripts: a method call and a property read on a string list, typed
// (bound when compiled) and through a Variant (bound when run).
#include <benchmark/benchmark.h>

#include <memory>

#include "report/script/ScriptModule.h"
#include "report/script/interp/fs_iinterpreter.h"
#include "report/script/interp/fs_iscript.h"

namespace {

const char* Typed =
    "var sl: TStringList; i, n: Integer;\r\n"
    "begin\r\n  sl := TStringList.Create;\r\n  for i := 1 to 20000 do begin sl.Add('x'); n := sl.Count end;\r\n"
    "  sl.Free;\r\nend.";
const char* Late =
    "var sl = new TStringList, i, n;\r\n"
    "for (i = 1; i <= 20000; i++) { sl.Add(\"x\"); n = sl.Count; }\r\nsl.Free();\r\n";

void Run(benchmark::State& State, const char* Lang, const char* Text)
{
  ScriptModule::Initialize();
  auto S = std::make_unique<TfsScript>(nullptr);
  S->ParentScript = fs_iinterpreter::GetGlobalScript();
  S->SetSyntaxType(Lang);
  S->GetLines()->SetText(Text);
  if (!S->Compile()) {
    State.SkipWithError(S->LastError.c_str());
    return;
  }
  for (auto _ : State) S->Execute();
}

void BM_HostCallTyped(benchmark::State& State) { Run(State, "DezodiZidede", Typed); }
void BM_HostCallLate(benchmark::State& State) { Run(State, "JScript", Late); }
BENCHMARK(BM_HostCallTyped)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostCallLate)->Unit(benchmark::kMillisecond);

}  // namespace
