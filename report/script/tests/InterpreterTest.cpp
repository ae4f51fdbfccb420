#include <gtest/gtest.h>

#include <memory>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MessageSeam.h"
#include "report/script/ScriptModule.h"
#include "report/script/interp/fs_iinterpreter.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/tests/ScriptTestSupport.h"
#include "report/script/interp/fs_istatements.h"
#include "report/script/lib/fs_isysrtti.h"

namespace {

class Interpreter : public ::testing::Test {
protected:
  void SetUp() override { ScriptModule::Initialize(); }

  static std::unique_ptr<TfsScript> Make(const AnsiString& Lang, const AnsiString& Text)
  {
    return MakeScript(Lang, Text);
  }
  // Compiles and runs; the message of a compile error or run-time exception, "" when it ran.
  static AnsiString Run(const AnsiString& Lang, const AnsiString& Text)
  {
    auto S = Make(Lang, Text);
    if (!S->Compile()) return S->LastError + " at " + S->LastErrorPos;
    try {
      S->Execute();
    } catch (const Exception& E) {
      return "run: " + E.Message();
    }
    return "";
  }
  static Variant Eval(const AnsiString& Expr)
  {
    auto S = Make("DezodiZidede", "begin end.");
    EXPECT_TRUE(S->Compile());
    return S->Evaluate(Expr);
  }
};

TEST_F(Interpreter, ExpressionsFollowPriorityAndIntegerMode)
{
  struct Case {
    const char* Expr;
    const char* Text;  // the value's text
  } Cases[] = {
      {"1 + 2 * 3", "7"},
      {"(1 + 2) * 3", "9"},
      {"2 - 1 - 1", "0"},
      {"-(2 + 3) * 2", "-10"},
      {"7 div 2", "3"},
      {"7 / 2", "3.5"},
      {"7 mod 3", "1"},
      {"2147483647 + 1", "-2147483648"},
      {"12345678901 + 1", "12345678902"},
      {"not (1 = 2)", "True"},
      {"(1 < 2) = True", "True"},
      {"'ab' + 'c'", "abc"},
      {"4 in [1, 3..5]", "True"},
      {"2 in [1, 3..5]", "False"},
      {"6 in [1, 3..5]", "False"},
      {"1 shl 4", "16"},
      {"IntToStr(2 * 21) + '!'", "42!"},
  };
  for (const Case& C : Cases) EXPECT_EQ(Variants::VarToStr(Eval(C.Expr)), C.Text) << C.Expr;
  // A text that does not compile gives the compiler's message, not an exception.
  EXPECT_EQ(Variants::VarToStr(Eval("1 +")), "';' expected");
}

TEST_F(Interpreter, UntypedIntegersFollowTheVariantRules)
{
  // Untyped operands take a shortcut for two plain integers; its results must be the Variant
  // operators' own: a sum leaving 32 bits widens instead of wrapping.
  struct Case {
    const char* A;
    const char* Op;
    const char* B;
    const char* Text;
    TVarType Type;
  } Cases[] = {
      {"2147483647", "+", "1", "2147483648", varInt64},
      {"-2147483647", "-", "2", "-2147483649", varInt64},
      {"65536", "*", "65536", "4294967296", varInt64},
      {"6", "*", "7", "42", varInteger},
      {"3", "-", "5", "-2", varInteger},
      {"2", "<", "3", "True", varBoolean},
      {"3", "<=", "2", "False", varBoolean},
      {"4", "==", "4", "True", varBoolean},
      {"4", "!=", "4", "False", varBoolean},
      {"2", "+", "1.5", "3.5", varDouble},
  };
  // Runs Text and checks the value it leaves in r.
  auto Check = [&](const AnsiString& Text, const char* Expected, TVarType Type) {
    auto S = Make("JScript", Text);
    ASSERT_TRUE(S->Compile()) << S->LastError << " in " << Text;
    S->Execute();
    Variant V = S->FindItem("r")->GetValue();
    EXPECT_EQ(Variants::VarToStr(V), Expected) << Text;
    EXPECT_EQ(V.VarType(), Type) << Text;
  };
  for (const Case& C : Cases)
    Check(AnsiString("var a, b, r;\r\na = ") + C.A + ";\r\nb = " + C.B + ";\r\nr = a " + C.Op + " b;\r\n", C.Text,
          C.Type);
  // A widened result feeds the next operator as the Int64 it is.
  struct Nested {
    const char* Expr;
    const char* Text;
    TVarType Type;
  } More[] = {
      {"(a + b) * 2", "4294967296", varInt64},
      {"a + b > a", "True", varBoolean},
      {"a * 0 + b", "1", varInteger},
      {"a + b - b", "2147483647", varInt64},
  };
  for (const Nested& C : More)
    Check(AnsiString("var a = 2147483647, b = 1, r;\r\nr = ") + C.Expr + ";\r\n", C.Text, C.Type);
}

TEST_F(Interpreter, ParametersReadAndWrittenInTheBodyKeepEachActivation)
{
  EXPECT_EQ(Run("DezodiZidede",
                "var k: Integer;\r\n"
                "function S(n: Integer): Integer;\r\n"
                "begin\r\n"
                "  if n = 0 then Result := 0\r\n"
                "  else begin Result := S(n - 1); n := n * 2; Result := Result + n end;\r\n"
                "end;\r\n"
                "procedure Twice(var v: Integer); begin v := v * 2 end;\r\n"
                "begin\r\n"
                "  if S(3) <> 12 then RaiseException('sum ' + IntToStr(S(3)));\r\n"
                "  k := 5; Twice(k);\r\n"
                "  if k <> 10 then RaiseException('var parameter ' + IntToStr(k));\r\n"
                "end."),
            "");
}

TEST_F(Interpreter, BooleanOperandsShortCircuitVariantOperandsDoNot)
{
  EXPECT_EQ(Run("DezodiZidede",
                "var n: Integer;\r\n"
                "function F: Boolean; begin n := n + 1; Result := True end;\r\n"
                "var v: Variant;\r\n"
                "begin\r\n"
                "  n := 0;\r\n"
                "  if False and F then n := 100;\r\n"
                "  if True or F then n := n + 10;\r\n"
                "  if n <> 10 then RaiseException('boolean evaluated F');\r\n"
                "  v := False;\r\n"
                "  if v and F then n := 100;\r\n"
                "  if n <> 11 then RaiseException('variant skipped F');\r\n"
                "end."),
            "");
}

TEST_F(Interpreter, LeftOperandIsReadBeforeTheRightSideRuns)
{
  EXPECT_EQ(
      Run("DezodiZidede",
          "var n, m: Integer;\r\n"
          "function F: Integer; begin n := 100; Result := 1 end;\r\n"
          "function Fact(k: Integer): Integer; begin if k <= 1 then Result := 1 else Result := k * Fact(k - 1) end;\r\n"
          "begin\r\n"
          "  n := 1; m := n + F;\r\n"
          "  if m <> 2 then RaiseException('left side changed: ' + IntToStr(m));\r\n"
          "  if Fact(5) <> 120 then RaiseException('recursion');\r\n"
          "end."),
      "");
}

TEST_F(Interpreter, RecursiveCallsKeepEachActivationsLocals)
{
  // A recursive call hands a value back through a var parameter into one of the caller's own
  // locals; and a recursive call that raises leaves the caller's locals as they were.
  EXPECT_EQ(Run("DezodiZidede",
                "procedure Count(n: Integer; var c: Integer);\r\n"
                "var sub: Integer;\r\n"
                "begin\r\n"
                "  if n = 0 then c := 1\r\n"
                "  else begin sub := 0; Count(n - 1, sub); c := sub + 1 end;\r\n"
                "end;\r\n"
                "function Depth(n: Integer): Integer;\r\n"
                "var mine: Integer;\r\n"
                "begin\r\n"
                "  mine := n * 10;\r\n"
                "  if n = 0 then RaiseException('bottom');\r\n"
                "  try Depth(n - 1) except end;\r\n"
                "  Result := mine + n;\r\n"
                "end;\r\n"
                "function Path(n: Integer): String;\r\n"
                "var s: String;\r\n"
                "begin\r\n"
                "  s := IntToStr(n);\r\n"
                "  if n > 0 then Result := s + Path(n - 1) + s else Result := s;\r\n"
                "end;\r\n"
                "function Half(n: Integer): Extended; begin if n = 0 then Result := 0 else Result := 0.5 + Half(n - 1) "
                "end;\r\n"
                "function Big(n: Integer): Variant; begin if n = 0 then Result := 2147483647 else Result := Big(n - 1) "
                "+ 1 end;\r\n"
                "var total: Integer;\r\n"
                "begin\r\n"
                "  total := 0; Count(3, total);\r\n"
                "  if total <> 4 then RaiseException('var parameter ' + IntToStr(total));\r\n"
                "  if Depth(2) <> 22 then RaiseException('locals after a raise ' + IntToStr(Depth(2)));\r\n"
                "  if Path(3) <> '3210123' then RaiseException('string locals ' + Path(3));\r\n"
                "  if Half(3) <> 1.5 then RaiseException('float results');\r\n"
                "  if Big(2) + 1 <> 2147483650 then RaiseException('wide results');\r\n"
                "end."),
            "");
  // The same in an untyped language, where every value goes through the Variant shortcuts.
  EXPECT_EQ(Run("JScript",
                "function Path(n) { var s = \"<\" + IntToStr(n); if (n > 0) return s + Path(n - 1) + s; return s; }\r\n"
                "function Big(n) { if (n == 0) return 2147483647; return Big(n - 1) + 1; }\r\n"
                "if (Path(2) != \"<2<1<0<1<2\") RaiseException(\"strings \" + Path(2));\r\n"
                "if (Big(2) * 2 != 4294967298) RaiseException(\"wide results\");\r\n"),
            "");
}

TEST_F(Interpreter, InPlaceUpdatesKeepTheOperandOrder)
{
  EXPECT_EQ(Run("DezodiZidede",
                "var i: Integer; x: Extended; s, t: String; v: Variant;\r\n"
                "begin\r\n"
                "  i := 5; i := i + 1; i := 2 * i; i := 20 - i; i := i - 1;\r\n"
                "  if i <> 7 then RaiseException('integer ' + IntToStr(i));\r\n"
                "  x := 3; x := x / 2;\r\n"
                "  if x <> 1.5 then RaiseException('divide');\r\n"
                "  s := 'b'; t := 'a'; s := t + s; s := s + 'c';\r\n"
                "  if s <> 'abc' then RaiseException('string ' + s);\r\n"
                "  v := 'y'; v := 'x' + v;\r\n"
                "  if v <> 'xy' then RaiseException('variant ' + v);\r\n"
                "end."),
            "");
}

TEST_F(Interpreter, CompileErrorsNameTheFaultAndItsPlace)
{
  struct Case {
    const char* Lang;
    const char* Text;
    const char* Error;
  } Cases[] = {
      {"DezodiZidede", "var i: Integer; begin i := 'a' end.", "Incompatible types: 'Integer', 'String' at 1:23"},
      {"DezodiZidede", "procedure P; var a, a: Integer; begin end; begin end.", "Identifier redeclared: 'a' at 1:22"},
      {"DezodiZidede", "begin x := 1 end.", "Undeclared identifier: 'x' at 1:8"},
      {"DezodiZidede", "var s: String; begin for s := 1 to 3 do end.",
       "For loop variable must be numeric variable at 1:27"},
      {"DezodiZidede", "procedure P(a: Integer); begin for a := 1 to 3 do end; begin end.",
       "For loop variable must be numeric variable at 1:37"},
      {"DezodiZidede", "procedure P(a, b: Integer); begin end; begin P(1) end.",
       "Not enough actual parameters at 1:47"},
      {"DezodiZidede", "procedure P(a: Integer); begin end; begin P(1, 2) end.", "Too many actual parameters at 1:44"},
      {"DezodiZidede", "const c = 1; begin c := 2 end.", "Left side cannot be assigned to at 1:20"},
      {"DezodiZidede", "var b: Boolean; begin b := b < True end.", "Incompatible types at 1:31"},
      {"DezodiZidede", "var s: String; begin s := s - 'a' end.", "Incompatible types at 1:30"},
      {"DezodiZidede", "var t: TNoSuchType; begin end.", "Unknown type: 'TNoSuchType' at 1:19"},
      {"DezodiZidede", "var a: array[0..99999, 0..99999] of Integer; begin end.", "Array is too large at 1:32"},
      {"JScript", "var a[-5];", "Invalid argument at 1:9"},
  };
  for (const Case& C : Cases) EXPECT_EQ(Run(C.Lang, C.Text), C.Error) << C.Text;
}

TEST_F(Interpreter, DeclarationsThatCompile)
{
  // Calls may come before the declaration; a local may hide a global.
  EXPECT_EQ(Run("DezodiZidede",
                "var a: Integer;\r\n"
                "procedure Q; begin P end;\r\n"
                "procedure P; var a: String; begin a := 'local' end;\r\n"
                "begin a := 1; Q; if a <> 1 then RaiseException('hidden') end."),
            "");
  // Type aliases hold inside function bodies too.
  EXPECT_EQ(Run("Z++Ivover", "int f(int n) { int k = n * 2; return k; }\r\n{ if (f(4) != 8) RaiseException(\"f\"); }"),
            "");
  // A function without a declared type returns what it assigns.
  EXPECT_EQ(Run("JScript", "function f() { return \"x\" + \"1\"; }\r\nif (f() != \"x1\") RaiseException(\"f\");"), "");
  EXPECT_EQ(Run("ZuzezAvorev",
                "Function F(a)\r\n  Return a & \"!\"\r\nEnd Function\r\nIf F(\"a\") <> \"a!\" Then "
                "RaiseException(\"f\")\r\n"),
            "");
  // Omitted parameters take their defaults.
  EXPECT_EQ(Run("DezodiZidede",
                "function P(a: Integer; b: Integer = 5): Integer; begin Result := a + b end;\r\n"
                "begin if P(1) <> 6 then RaiseException('default') end."),
            "");
}

TEST_F(Interpreter, IndexesAndArgumentCountsAreCheckedAtRunTime)
{
  struct Case {
    const char* Lang;
    const char* Text;
    const char* Error;
  } Cases[] = {
      {"DezodiZidede", "var s: String; c: String; begin s := 'abc'; c := s[4] end.",
       "run: String index out of range (4)"},
      {"DezodiZidede", "var s: String; begin s := 'abc'; s[0] := 'x' end.", "run: String index out of range (0)"},
      {"JScript", "var s = \"abc\"; var c = s[9];", "run: String index out of range (9)"},
      {"DezodiZidede", "var a: array[1..3] of Integer; begin a[4] := 1 end.",
       "run: Variant or safe array index out of bounds"},
      {"JScript", "var a[2]; a[-1] = 0;", "run: Variant or safe array index out of bounds"},
      {"DezodiZidede", "var v: Variant; begin v := VarArrayCreate([0, 1], varVariant); v[2] := 0 end.",
       "run: Variant or safe array index out of bounds"},
  };
  for (const Case& C : Cases) EXPECT_EQ(Run(C.Lang, C.Text), C.Error) << C.Text;

  auto S = Make("DezodiZidede", "function F(a: Integer): Integer; begin Result := a * 2 end; begin end.");
  ASSERT_TRUE(S->Compile());
  EXPECT_EQ(S->CallFunction("F", Variants::VarArrayOf({Variant(21)})).AsInteger(), 42);
  EXPECT_THROW(S->CallFunction("F", Variants::VarArrayOf({Variant(1), Variant(2)})), Exception);
}

TEST_F(Interpreter, RunawayRecursionIsAScriptError)
{
  EXPECT_EQ(Run("DezodiZidede", "function F(n: Integer): Integer; begin Result := F(n + 1) end; begin F(0) end."),
            "run: Stack overflow");
  // Deep but bounded recursion runs, and the program can go on after the error.
  EXPECT_EQ(Run("DezodiZidede",
                "var Depth: Integer;\r\n"
                "function D(n: Integer): Integer; begin if n = 0 then Result := 0 else Result := D(n - 1) + 1 end;\r\n"
                "procedure Forever; begin Forever end;\r\n"
                "begin\r\n"
                "  if D(900) <> 900 then RaiseException('depth');\r\n"
                "  try Forever except Depth := D(10) end;\r\n"
                "  if Depth <> 10 then RaiseException('after');\r\n"
                "end."),
            "");
}

TEST_F(Interpreter, LoopsAndFlags)
{
  EXPECT_EQ(
      Run("DezodiZidede",
          "var i, n: Integer; s: String;\r\n"
          "function G: Integer; begin Result := 0; try Result := 1; exit; finally Result := 2 end; Result := 3 end;\r\n"
          "begin\r\n"
          "  i := 7; for i := 1 to 0 do RaiseException('empty range ran');\r\n"
          "  if i <> 7 then RaiseException('empty range moved i');\r\n"
          "  n := 0; for i := 3 downto 1 do n := n + 1;\r\n"
          "  if (n <> 3) or (i <> 1) then RaiseException('downto');\r\n"
          "  n := 0; while n < 10 do begin n := n + 1; if n < 5 then continue; break end;\r\n"
          "  if n <> 5 then RaiseException('continue/break');\r\n"
          "  if G <> 2 then RaiseException('exit through finally');\r\n"
          "  case 2 of 1..3: s := 'first'; 2: s := 'second' else s := 'else' end;\r\n"
          "  if s <> 'first' then RaiseException('case');\r\n"
          "  n := 0; repeat n := n + 1; until True;\r\n"
          "  if n <> 1 then RaiseException('repeat');\r\n"
          "end."),
      "");
  EXPECT_EQ(Run("ZuzezAvorev",
                "Dim i, s\r\ns = \"\"\r\nFor i = 1 To 2 Step 0.5\r\n  s = s & i & \";\"\r\nNext\r\n"
                "If s <> \"1;1.5;2;\" Then RaiseException(s)\r\n"),
            "");
  EXPECT_EQ(Run("Z++Ivover", "int n; { n = 0; do { n++; } while (n < 0); if (n != 1) RaiseException(\"do\"); }"), "");
}

TEST_F(Interpreter, ExceptionsEndAtExceptAndPassThroughFinally)
{
  EXPECT_EQ(Run("DezodiZidede", "begin try StrToInt('x') finally end end."), "run: 'x' is not a valid integer value");
  EXPECT_EQ(Run("DezodiZidede",
                "var s: String; begin try RaiseException('a') except s := 'caught' end; "
                "if s <> 'caught' then RaiseException('lost') end."),
            "");
}

TEST_F(Interpreter, TerminateFromTheRunLineHandler)
{
  auto S = Make("DezodiZidede", "var n: Integer;\r\nbegin\r\n  n := 1;\r\n  n := 2;\r\n  n := 3;\r\nend.");
  ASSERT_TRUE(S->Compile());
  AnsiString Lines;
  S->OnRunLine = [&](TfsScript* Sender, const AnsiString& Unit, const AnsiString& Pos) {
    Lines += Pos.substr(0, Pos.find(':')) + ",";
    if (Pos.rfind("4:", 0) == 0) Sender->Terminate();
  };
  S->Execute();
  EXPECT_EQ(Lines, "3,4,");
  EXPECT_EQ(S->FindLocalItem("n")->GetValue().AsInteger(), 1);
  EXPECT_FALSE(S->StopRequested);
  EXPECT_TRUE(S->HasCodeOnLine(5, ""));
  EXPECT_FALSE(S->HasCodeOnLine(2, ""));
  EXPECT_FALSE(S->HasCodeOnLine(3, "OtherUnit"));
}

TEST_F(Interpreter, RegistryScopesAndCalls)
{
  TfsScript* G = fs_iinterpreter::GetGlobalScript();
  auto S = Make("DezodiZidede",
                "procedure Swap(a: Integer; var b: Integer); var t: Integer; begin t := a; a := b; b := t end;\r\n"
                "function Local: Integer; var k: Integer; begin k := 5; Result := StrToInt(Evaluate_k) end;\r\n"
                "begin end.");
  EXPECT_NE(S->FindItem("IntToStr"), nullptr);
  EXPECT_EQ(S->FindLocalItem("IntToStr"), nullptr);
  S->AddConst("Pi", "Extended", Variant(3.0));  // the parent chain holds it: nothing happens
  EXPECT_EQ(S->FindLocalItem("Pi"), nullptr);
  // A rejected duplicate is not entered (and is freed), the present entry stays.
  auto* V = new TfsVariable("dup", ikInteger, "");
  EXPECT_TRUE(S->RegisterItem("dup", V));
  EXPECT_FALSE(S->RegisterItem("DUP", new TfsVariable("DUP", ikString, "")));
  EXPECT_EQ(S->FindLocalItem("dup"), V);
  EXPECT_EQ(G->FindItem("True")->GetValue().AsBoolean(), true);

  // "Evaluate_k" is no name: the script does not compile; lines refer to the program now.
  EXPECT_FALSE(S->Compile());
  S->Clear();
  EXPECT_EQ(S->FindLocalItem("__StringHelper"), nullptr);
  S->GetLines()->SetText(
      "procedure Swap(a: Integer; var b: Integer); var t: Integer; begin t := a; a := b; b := t end;\r\n"
      "begin end.");
  ASSERT_TRUE(S->Compile()) << S->LastError;
  Variant P = Variants::VarArrayOf({Variant(1), Variant(2)});
  EXPECT_TRUE(S->CallFunctionVarParams("Swap", P).IsNull());
  EXPECT_EQ(Variants::VarArrayGet(P, {1}).AsInteger(), 1);
  EXPECT_TRUE(S->CallFunction("Nothing", P).IsNull());
  EXPECT_TRUE(S->CallFunction("dup", P).IsNull());
}

TEST_F(Interpreter, EvaluateSeesTheLocalsOfTheRunningProcedure)
{
  auto S = Make("DezodiZidede", "procedure P; var k: Integer; begin k := 5; Probe end; begin P end.");
  int Calls = 0;
  Variant Seen;
  S->AddMethod("procedure Probe", [&](TObject*, const void*, const AnsiString&, Variant&) {
    ++Calls;
    Seen = S->Evaluate("k * 2");
    return Variant(0);
  });
  ASSERT_TRUE(S->Compile()) << S->LastError;
  S->Execute();
  EXPECT_EQ(Calls, 1);
  EXPECT_EQ(Seen.AsInteger(), 10);
}

TEST_F(Interpreter, SystemLibrary)
{
  struct Case {
    const char* Expr;
    const char* Text;
  } Cases[] = {
      {"Copy('abcdef', 2, 3)", "bcd"},
      {"Copy('abcdef', 9, 3)", ""},
      {"Pos('cd', 'abcdef')", "3"},
      {"Round(2.5)", "2"},
      {"Round(3.5)", "4"},
      {"Trunc(-2.7)", "-2"},
      {"Int(2.7)", "2"},
      {"VarType(Int(2.7)) = varDouble", "True"},
      {"DaysInMonth(2000, 2)", "29"},
      {"DaysInMonth(1900, 2)", "28"},
      {"NameCase('hello BIG world')", "Hello Big World"},
      {"Length(VarArrayCreate([0, 4], varVariant))", "5"},
      {"Length(1234)", "4"},
      {"Format('%d %s', [7, 'x'])", "7 x"},
      {"Format('%d', [12345678901])", "12345678901"},
      {"Length(Format('%s', [StringOfChars]))", "300"},
      {"Uppercase('abc')", "ABC"},
      {"Chr(65) + IntToStr(Ord('a'))", "A97"},
      {"ValidInt('12') and not ValidInt('1x')", "True"},
      {"FormatMaskText('000-000;0;_', '12345')", "123-45_"},
      {"Copy('abc', -5, 2) + Copy('abc', 2, 2000000000) + Copy('abc', 1, -1)", "abbc"},
  };
  TfsScript* G = fs_iinterpreter::GetGlobalScript();
  G->AddConst("StringOfChars", "String", Variant(AnsiString(300, 'z')));
  for (const Case& C : Cases) EXPECT_EQ(Variants::VarToStr(Eval(C.Expr)), C.Text) << C.Expr;
  EXPECT_EQ(Run("DezodiZidede",
                "var i: Integer; s: String; y, m, d: Word;\r\n"
                "begin\r\n"
                "  i := 1; Inc(i); Inc(i, 5); Dec(i);\r\n"
                "  if i <> 6 then RaiseException('inc');\r\n"
                "  s := 'abcdef'; Delete(s, 2, 2); Insert('XY', s, 1);\r\n"
                "  if s <> 'XYadef' then RaiseException(s);\r\n"
                "  DecodeDate(EncodeDate(2024, 2, 29), y, m, d);\r\n"
                "  if (y <> 2024) or (m <> 2) or (d <> 29) then RaiseException('date');\r\n"
                "end."),
            "");

  EXPECT_EQ(Run("DezodiZidede", "var i: Integer; begin i := Round(1e300) end."),
            "run: Invalid floating point operation");
  EXPECT_EQ(Run("DezodiZidede",
                "var s: String; begin s := 'abc'; Delete(s, 9, 1); Delete(s, 2, 99); Insert('x', s, 99);"
                " if s <> 'ax' then RaiseException(s) end."),
            "");

  AnsiString Shown;
  MessageSeam::TScopedMessageBox box([&](const AnsiString& Text, const AnsiString&, unsigned) {
    Shown = Text;
    return IDOK;
  });
  EXPECT_EQ(Run("DezodiZidede", "begin ShowMessage(42) end."), "");
  EXPECT_EQ(Shown, "42");
  EXPECT_EQ(Run("DezodiZidede", "var v: Variant; begin v := CreateOleObject('Nothing.Here') end."),
            "run: Invalid class string");
}

TEST_F(Interpreter, GlobalScriptEndsWithTheInterpreter)
{
  fs_iinterpreter::Finalize();
  EXPECT_EQ(fs_iinterpreter::GetGlobalScript(), nullptr);
  fs_iinterpreter::Initialize();
  ASSERT_NE(fs_iinterpreter::GetGlobalScript(), nullptr);
  EXPECT_NE(fs_iinterpreter::GetGlobalScript()->FindItem("Format"), nullptr);
}

}  // namespace
