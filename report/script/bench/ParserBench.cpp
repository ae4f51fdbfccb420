// Speed of the first compiler pass: loading a language and parsing a program of each language.
#include <benchmark/benchmark.h>

#include "report/script/ScriptModule.h"
#include "report/script/parser/fs_iilparser.h"

namespace {

struct TProgram {
  const char* Lang;
  const char* Text;
};

const TProgram Programs[] = {
    {"DezodiZidede",
     "function Fib(n: Integer): Integer;\r\nbegin\r\n  if n < 2 then Result := n\r\n"
     "  else Result := Fib(n - 1) + Fib(n - 2);\r\nend;\r\n\r\nvar s: String; i: Integer;\r\n"
     "begin\r\n  s := '';\r\n  for i := 1 to 1000 do s := s + 'x';\r\n  Fib(27);\r\nend."},
    {"Z++Ivover",
     "int Fib(int n)\r\n{\r\n  if (n < 2) return n;\r\n  return Fib(n - 1) + Fib(n - 2);\r\n}\r\n\r\n"
     "string s;\r\nint i;\r\n{\r\n  s = \"\";\r\n  for (i = 1; i <= 1000; i++) s = s + \"x\";\r\n  Fib(27);\r\n}"},
    {"ZuzezAvorev",
     "Function Fib(n)\r\n  If n < 2 Then Return n\r\n  Return Fib(n - 1) + Fib(n - 2)\r\nEnd Function\r\n\r\n"
     "Dim s = \"\", i\r\nFor i = 1 To 1000\r\n  s = s & \"x\"\r\nNext\r\nFib(27)\r\n"},
    {"JScript",
     "function Fib(n) {\r\n  if (n < 2) return n;\r\n  return Fib(n - 1) + Fib(n - 2);\r\n}\r\n\r\n"
     "var s = \"\", i;\r\nfor (i = 1; i <= 1000; i++) s = s + \"x\";\r\nFib(27);\r\n"},
};

void BM_LoadLanguage(benchmark::State& State)
{
  ScriptModule::Initialize();
  const TProgram& P = Programs[State.range(0)];
  for (auto _ : State) {
    TfsILParser Parser;
    Parser.LoadLanguage(P.Lang);
  }
  State.SetLabel(P.Lang);
}
BENCHMARK(BM_LoadLanguage)->DenseRange(0, 3);

void BM_BuildIntermediate(benchmark::State& State)
{
  ScriptModule::Initialize();
  const TProgram& P = Programs[State.range(0)];
  TfsILParser Parser;
  Parser.LoadLanguage(P.Lang);
  for (auto _ : State) {
    if (!Parser.BuildIntermediate(P.Text)) State.SkipWithError(Parser.GetLastError().c_str());
  }
  State.SetLabel(P.Lang);
}
BENCHMARK(BM_BuildIntermediate)->DenseRange(0, 3);

}  // namespace

BENCHMARK_MAIN();
