#include <gtest/gtest.h>

#include <memory>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Variants.h"
#include "report/script/ScriptModule.h"
#include "report/script/interp/fs_iinterpreter.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/tests/ScriptTestSupport.h"
#include "report/script/parser/fs_iconst.h"

namespace {

class Calls : public ::testing::Test {
protected:
  void SetUp() override { ScriptModule::Initialize(); }

  static std::unique_ptr<TfsScript> Make(const AnsiString& Lang, const AnsiString& Text)
  {
    return MakeScript(Lang, Text);
  }
  // Compiles and runs; the message of a compile error or run-time exception, "" when it ran.
  static AnsiString Run(TfsScript& S)
  {
    if (!S.Compile()) return S.LastError + " at " + S.LastErrorPos;
    try {
      S.Execute();
    } catch (const Exception& E) {
      return "run: " + E.Message();
    }
    return "";
  }
  static AnsiString Run(const AnsiString& Lang, const AnsiString& Text)
  {
    auto S = Make(Lang, Text);
    return Run(*S);
  }
};

TEST_F(Calls, OmittedArgumentsTakeTheDeclaredDefaultEveryCall)
{
  auto S = Make("DezodiZidede",
                "var Log: String;\r\n"
                "function F(a: Integer; b: Variant = 7; c: String = 'x'): String;\r\n"
                "begin\r\n"
                "  Result := IntToStr(a) + '/' + IntToStr(b) + c;\r\n"
                "  b := 100; c := 'changed';\r\n"
                "end;\r\n"
                "begin\r\n"
                "  Log := F(1, 2, 'y') + ' ' + F(3) + ' ' + F(4, 5) + ' ' + F(6);\r\n"
                "end.");
  ASSERT_EQ(Run(*S), "");
  EXPECT_EQ(Variants::VarToStr(S->FindItem("Log")->GetValue()), "1/2y 3/7x 4/5x 6/7x");

  // A call from the host that leaves parameters out sees the defaults too, not the values of
  // the call before.
  EXPECT_EQ(Variants::VarToStr(S->CallFunction("F", Variants::VarArrayOf({Variant(8), Variant(9), Variant("z")}))),
            "8/9z");
  EXPECT_EQ(Variants::VarToStr(S->CallFunction("F", Variants::VarArrayOf({Variant(1)}))), "1/7x");
  // A required parameter left out by the host is refused rather than run with a stale value.
  EXPECT_THROW(S->CallFunction("F", Variants::VarArrayOf(std::vector<Variant>{})), Exception);
}

TEST_F(Calls, MacroFunctionsGetTheTextOfGivenArgumentsAndTheDefaultOfOmittedOnes)
{
  auto S = Make("DezodiZidede",
                "var Log: String;\r\n"
                "begin\r\n"
                "  Log := Quote(1 + 2, 2 * 3) + ' ' + Quote(Log) + ' ' + Quote(Log + 'q');\r\n"
                "end.");
  S->AddMethod(
      "macrofunction Quote(a: Variant; b: Variant = 7): String",
      [](TObject*, const void*, const AnsiString&, Variant& P) {
        return Variant("[" + Variants::VarToStr(Variants::VarArrayGet(P, {0})) + "|" +
                       Variants::VarToStr(Variants::VarArrayGet(P, {1})) + "]");
      },
      "ctOther");
  ASSERT_EQ(Run(*S), "");
  EXPECT_EQ(Variants::VarToStr(S->FindItem("Log")->GetValue()), "[1 + 2|2 * 3] [Log|7] [Log + 'q'|7]");
}

TEST_F(Calls, CompileTimeCodeThatDoesNotEndIsACompileError)
{
  struct Case {
    const char* Lang;
    const char* Text;
  } Cases[] = {
      {"DezodiZidede", "function F: Integer; begin while true do ; end;\r\nconst C = F();\r\nbegin end."},
      {"DezodiZidede",
       "function F: Integer; begin repeat until false; end;\r\nvar a: array[0..F()] of Integer;\r\nbegin end."},
      // An except part inside the endless code cannot swallow the error for good.
      {"DezodiZidede",
       "function F: Integer; begin while true do try while true do ; except end; end;\r\n"
       "const C = F() + 1;\r\nbegin end."},
      {"DezodiZidede",
       "function G(n: Integer): Integer; begin Result := 0; if n < 40 then Result := G(n + 1) + G(n + 1); end;\r\n"
       "const C = G(0);\r\nbegin end."},
      {"Z++Ivover", "int f() { while (1) {} return 1; }\r\n#define C f()\r\n{ }"},
  };
  for (const Case& C : Cases) {
    auto S = Make(C.Lang, C.Text);
    EXPECT_FALSE(S->Compile()) << C.Text;
    EXPECT_EQ(S->LastError, fs_iconst::SEvalTooLong) << C.Text;
    // Code run later is not cut short.
    EXPECT_EQ(fs_iitems::EvalBudget, -1);
  }
  // Bounded compile-time code still gives its value.
  auto S = Make(
      "DezodiZidede",
      "function F: Integer; var i: Integer; begin Result := 0; for i := 1 to 1000 do Result := Result + i; end;\r\n"
      "const C = F();\r\nvar V: Integer;\r\nbegin V := C end.");
  ASSERT_EQ(Run(*S), "");
  EXPECT_EQ(S->FindItem("V")->GetValue().AsInteger(), 500500);
}

}  // namespace
