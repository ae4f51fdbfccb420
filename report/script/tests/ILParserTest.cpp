#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"
#include "report/script/ScriptModule.h"
#include "report/script/parser/fs_iilparser.h"
#include "report/script/xml/fs_xml.h"

namespace {

class ScriptILParser : public ::testing::Test {
protected:
  void SetUp() override { ScriptModule::Initialize(); }
};

// The intermediate tree, one element a line: two blanks a level, the name, the attributes.
AnsiString Dump(const TfsXMLItem* I, int Depth = 0)
{
  AnsiString S = AnsiString(2 * Depth, ' ') + I->GetName();
  if (!I->GetText().empty()) S += " " + I->GetText();
  S += "\n";
  for (Integer K = 0; K < I->GetCount(); ++K) S += Dump(I->GetItems(K), Depth + 1);
  return S;
}

struct TResult {
  bool Ok;
  AnsiString Tree;   // the dump on success
  AnsiString Error;  // "message at pos" on failure
};

TResult Parse(const AnsiString& Lang, const AnsiString& Text, const std::map<AnsiString, AnsiString>& Units = {})
{
  TfsILParser P;
  P.OnGetUnit = [&](TfsScript*, const AnsiString& Name, AnsiString& UnitText) {
    auto It = Units.find(Name);
    if (It != Units.end()) UnitText = It->second;
  };
  P.LoadLanguage(Lang);
  TResult R;
  R.Ok = P.BuildIntermediate(Text);
  if (R.Ok)
    R.Tree = Dump(P.GetIntermediate()->GetRoot());
  else
    R.Error = P.GetLastError() + " at " + P.GetLastErrorPos() +
              (P.GetLastErrorUnit().empty() ? "" : " in " + P.GetLastErrorUnit());
  return R;
}

TEST_F(ScriptILParser, WorkedExampleOfADeclarationAndAnAssignment)
{
  TResult R = Parse("DezodiZidede", "var i: Integer; begin i := i + 1 end.");
  ASSERT_TRUE(R.Ok) << R.Error;
  EXPECT_EQ(R.Tree,
            "program\n"
            "  var pos=\"1:5\"\n"
            "    ident text=\"i\" pos=\"1:6\"\n"
            "    type text=\"Integer\" pos=\"1:15\"\n"
            "  compoundstmt pos=\"1:17\"\n"
            "    assignstmt pos=\"1:23\"\n"
            "      dsgn pos=\"1:23\"\n"
            "        node text=\"i\" pos=\"1:24\"\n"
            "      expr pos=\"1:28\" pos1=\"1:33\"\n"
            "        dsgn pos=\"1:28\"\n"
            "          node text=\"i\" pos=\"1:29\"\n"
            "        op text=\"+\" pos=\"1:31\"\n"
            "        number text=\"1\" pos=\"1:33\"\n"
            "  types\n");
}

TEST_F(ScriptILParser, WorkedExampleOfAMainBlock)
{
  TResult R = Parse("DezodiZidede", "begin x := 1 end.");
  ASSERT_TRUE(R.Ok) << R.Error;
  EXPECT_EQ(R.Tree,
            "program\n"
            "  compoundstmt pos=\"1:1\"\n"
            "    assignstmt pos=\"1:7\"\n"
            "      dsgn pos=\"1:7\"\n"
            "        node text=\"x\" pos=\"1:8\"\n"
            "      expr pos=\"1:12\" pos1=\"1:13\"\n"
            "        number text=\"1\" pos=\"1:13\"\n"
            "  types\n");
}

// Checks one property of a parse: the error ("" for success) and text the dump must hold.
struct TCase {
  const char* Lang;
  const char* Text;
  const char* Error;  // "message at pos", or "" when the text must compile
  const char* Holds;  // a piece of the dump, or ""
};

void RunCases(const std::vector<TCase>& Cases)
{
  for (const TCase& C : Cases) {
    TResult R = Parse(C.Lang, C.Text);
    if (*C.Error) {
      EXPECT_FALSE(R.Ok) << C.Lang << ": " << C.Text;
      EXPECT_EQ(R.Error, C.Error) << C.Lang << ": " << C.Text;
    } else {
      EXPECT_TRUE(R.Ok) << C.Lang << ": " << C.Text << " -> " << R.Error;
      EXPECT_NE(R.Tree.find(C.Holds), AnsiString::npos) << C.Lang << ": " << C.Text << "\n" << R.Tree;
    }
  }
}

TEST_F(ScriptILParser, SyntaxErrorsReportTheFirstFailureWhereItWasExpected)
{
  RunCases({
      {"DezodiZidede", "begin x := 1 end", "'.' expected at 1:17", ""},
      {"DezodiZidede", "begin x := 1", "';' expected at 1:13", ""},
      {"DezodiZidede", "begin case x of 1: y; 2: z.", "'END' expected at 1:27", ""},
      {"DezodiZidede", "begin try x finally y", "'END' expected at 1:22", ""},
      {"DezodiZidede", "begin a : = 1 end.", "'=' expected at 1:11", ""},
      {"DezodiZidede", "begin goto x end.", "';' expected at 1:7", ""},
      {"DezodiZidede", "var goto: Integer; begin end.", "Identifier expected at 1:5", ""},
      {"DezodiZidede", "begin if x then end.", "", "thenstmt"},
      {"DezodiZidede", "", "'BEGIN' expected at 1:1", ""},
      {"DezodiZidede", "begin x := 'a'#99999999999 end.", "'99999999999' is not a valid integer value at 1:12", ""},
      {"Z++Ivover", "{ a + = 1; }", "';' expected at 1:5", ""},  // a call of a, then a stray "+"
      {"Z++Ivover", "{ a = 1 }", "';' expected at 1:9", ""},
      {"Z++Ivover", "#include a.cpp\n{}", "Identifier expected at 1:10", ""},
      {"ZuzezAvorev", "Select Case x\r\nCase 1\r\nEnd Select\r\n", "':' expected at 2:7", ""},
      {"ZuzezAvorev", "If x Then\r\ny = 1\r\nEndIf\r\n", "'END' expected at 3:1", ""},
      {"ZuzezAvorev", "For i = 1 To 2\r\nNext i\r\n", "End of line expected at 2:6", ""},
      {"JScript", "if x) y = 1;", "'(' expected at 1:4", ""},
  });
}

TEST_F(ScriptILParser, TextTheProgramDoesNotReadIsAnError)
{
  RunCases({
      {"DezodiZidede", "begin end. x", "Statement expected at 1:12", ""},
      {"DezodiZidede", "begin end.  // trailing comment\r\n", "", "compoundstmt"},
      {"Z++Ivover", "{ } }", "Statement expected at 1:5", ""},
      {"ZuzezAvorev", "x = 1\r\n123\r\ny = 2\r\n", "Statement expected at 2:1", ""},
      {"ZuzezAvorev", "123", "Statement expected at 1:1", ""},
      {"ZuzezAvorev", "x = 1\r\n\r\n", "", "assignstmt"},
      {"JScript", "x = 1;; y = 2;", "Statement expected at 1:7", ""},
      {"JScript", "", "", "compoundstmt"},
  });
}

TEST_F(ScriptILParser, GrammarEdgeCases)
{
  RunCases({
      // Statements are separated, not terminated.
      {"DezodiZidede", "begin ; ; end.", "", "compoundstmt"},
      // A failed name after the comma carries term: the list ends without error.
      {"DezodiZidede", "var a, : Integer; begin end.", "",
       "  var pos=\"1:5\"\n    ident text=\"a\" pos=\"1:6\"\n    type"},
      {"DezodiZidede", "var a, b: Integer = 0; begin end.", "",
       "ident text=\"b\" pos=\"1:9\"\n    type text=\"Integer\" pos=\"1:18\"\n    init"},
      {"DezodiZidede", "begin a.begin := 1 end.", "", "node text=\"begin\""},
      {"DezodiZidede", "begin x := y in [1, 3..5] end.", "",
       "set pos=\"1:18\"\n          expr pos=\"1:18\" pos1=\"1:19\"\n            number text=\"1\" pos=\"1:19\"\n"
       "          expr pos=\"1:21\" pos1=\"1:22\"\n            number text=\"3\" pos=\"1:22\"\n"
       "          range text=\".\" pos=\"1:23\"\n          expr pos=\"1:24\" pos1=\"1:25\"\n"},
      {"DezodiZidede", "begin x := (1) end.", "",
       "op text=\"(\" pos=\"1:13\"\n        expr pos=\"1:13\" pos1=\"1:14\"\n          number text=\"1\" "
       "pos=\"1:14\"\n        op text=\")\" pos=\"1:15\""},
      {"DezodiZidede", "begin x := a >= b end.", "", "op text=\"&#62;=\""},
      {"DezodiZidede", "begin x := <Customer.\"Name\"> end.", "",
       "dsgn pos=\"1:28\"\n          node text=\"Get\" pos=\"1:28\"\n          expr pos=\"1:28\"\n"
       "            string text=\"'Customer.&#34;Name&#34;'\" pos=\"1:28\""},
      {"DezodiZidede", "begin case x of 1: a; ! : b end.", "'END' expected at 1:23", ""},
      {"DezodiZidede", "begin for i := 9 downto 1 do ; end.", "", "downto text=\"downto\""},
      {"Z++Ivover", "int a = 1, b[3]; { }", "",
       "var pos=\"1:1\"\n    type text=\"int\" pos=\"1:4\"\n    ident text=\"a\" pos=\"1:6\"\n    init"},
      {"Z++Ivover", "{ m[1][2] = 0; }", "", "node text=\"[\""},
      {"Z++Ivover", "{ a &&= 1; }", "';' expected at 1:5", ""},
      {"Z++Ivover", "{ i++; x += 2; }", "", "modificator text=\"+\""},
      {"Z++Ivover", "{ do x(); while (y); }", "", "inverse"},
      {"ZuzezAvorev", "remaining = 1\r\nx = 2\r\n", "", "node text=\"x\""},
      {"ZuzezAvorev", "x = 1 + _\r\n  2\r\n", "", "number text=\"2\" pos=\"2:4\""},
      {"ZuzezAvorev", "Set x = New TStringList\r\n", "", "new pos=\"1:9\""},
      {"ZuzezAvorev", "If a Then b = 1 : c = 2\r\n", "", "thenstmt"},
      {"ZuzezAvorev", "x = \"a\" & \"b\"\r\n", "", "op text=\"strcat\""},
      {"JScript", "for (i = 0; i < 10; i++) s();", "", "cppforstmt"},
      {"JScript", "x = 5;", "", "assignstmt"},
  });
}

TEST_F(ScriptILParser, ReferenceLikeLiteralTextIsKept)
{
  TfsILParser P;
  P.LoadLanguage("DezodiZidede");
  ASSERT_TRUE(P.BuildIntermediate("begin s := '&#65;<>\"' end."));
  TfsXMLItem* Expr = P.GetIntermediate()->GetRoot()->GetItems(0)->GetItems(0)->GetItems(1);
  EXPECT_EQ(Expr->GetItems(0)->Prop("text"), "'&#65;<>\"'");
}

TEST_F(ScriptILParser, LanguageDirectiveOnTheFirstLine)
{
  RunCases({
      {"DezodiZidede", "#language JScript\r\nx = 1;", "", "assignstmt pos=\"2:1\""},
      {"DezodiZidede", "#LANGUAGE JScript\nx = 1;", "", "assignstmt pos=\"2:1\""},
      {"DezodiZidede", "\r\n#language JScript\r\nx = 1;", "'BEGIN' expected at 2:1", ""},
      {"DezodiZidede", "#language JScript", "", "compoundstmt"},
  });
  TfsILParser P;
  P.LoadLanguage("DezodiZidede");
  EXPECT_THROW(P.BuildIntermediate("#language Lua\r\n"), Exception);
}

TEST_F(ScriptILParser, UsedUnitsAreIncludedOnceInReverseOrder)
{
  std::map<AnsiString, AnsiString> Units = {
      {"a.pas", "uses 'b.pas'; procedure A; begin end; begin end."},
      {"b.pas", "uses 'a.pas'; procedure B; begin end; begin end."},
      {"bad.pas", "procedure P; begin x := end; begin end."},
  };
  TResult R = Parse("DezodiZidede", "uses 'a.pas', 'b.pas'; begin end.", Units);
  ASSERT_TRUE(R.Ok) << R.Error;
  // b.pas first (the clause is read backwards); a.pas comes in through b.pas's own clause.
  std::size_t B = R.Tree.find("uses unit=\"b.pas\"");
  std::size_t A = R.Tree.find("uses unit=\"a.pas\"");
  ASSERT_NE(B, AnsiString::npos);
  ASSERT_NE(A, AnsiString::npos);
  EXPECT_LT(B, A);
  EXPECT_EQ(R.Tree.find("uses unit=\"a.pas\"", A + 1), AnsiString::npos);
  EXPECT_EQ(R.Tree.find("uses unit=\"b.pas\"", B + 1), AnsiString::npos);
  EXPECT_NE(R.Tree.find("name text=\"B\""), AnsiString::npos);

  R = Parse("DezodiZidede", "uses 'bad.pas'; begin end.", Units);
  EXPECT_EQ(R.Error, "Expression expected at  in bad.pas");

  TfsILParser P;
  P.LoadLanguage("DezodiZidede");
  EXPECT_THROW(P.BuildIntermediate("uses 'no such unit.pas'; begin end."), EFOpenError);

  // A unit's intermediate form may come from the host instead.
  P.OnGetUnit = [](TfsScript*, const AnsiString&, AnsiString& Text) { Text = "begin end."; };
  P.OnGetILUnit = [](TfsScript*, const AnsiString& Name, AnsiString& Text) {
    if (Name == "c.pas") Text = "<program><procedure pos=\"1:1\"/></program>";
  };
  ASSERT_TRUE(P.BuildIntermediate("uses 'c.pas', 'd.pas'; begin end."));
  const TfsXMLItem* Root = P.GetIntermediate()->GetRoot();
  EXPECT_EQ(Dump(Root->GetItems(0)), "uses unit=\"d.pas\"\n  program\n    compoundstmt pos=\"1:1\"\n    types\n");
  EXPECT_EQ(Dump(Root->GetItems(1)), "uses unit=\"c.pas\"\n  program\n    procedure pos=\"1:1\"\n");
}

TEST_F(ScriptILParser, DeepNestingEndsInACompileError)
{
  for (const char* Lang : {"DezodiZidede", "JScript"}) {
    AnsiString Open(20000, '(');
    TResult R = Parse(Lang, std::string(Lang) == "JScript" ? "x = " + Open : "begin x := " + Open + " end.");
    EXPECT_FALSE(R.Ok);
    EXPECT_EQ(R.Error.substr(0, 28), "Program is nested too deeply") << Lang;
  }
  // Units imported deep down are walked on top of the same stack.
  std::map<AnsiString, AnsiString> Units;
  AnsiString Deep = AnsiString(200, '{') + "import \"a\", \"b\", \"c\", \"d\";" + AnsiString(200, '}');
  for (const char* U : {"a", "b", "c", "d"}) Units[U] = Deep;
  TResult Nested = Parse("JScript", Deep, Units);
  EXPECT_FALSE(Nested.Ok);
  EXPECT_EQ(Nested.Error.substr(0, 28), "Program is nested too deeply");
  // Moderate nesting still compiles.
  TResult R = Parse("DezodiZidede", "begin x := " + AnsiString(60, '(') + "1" + AnsiString(60, ')') + " end.");
  EXPECT_TRUE(R.Ok) << R.Error;
}

// Every conformance program of every language compiles.
TEST_F(ScriptILParser, ConformanceProgramsCompile)
{
  namespace fs = std::filesystem;
  int Count = 0;
  for (const char* Lang : {"DezodiZidede", "Z++Ivover", "ZuzezAvorev", "JScript"}) {
    fs::path Dir = fs::path(PELTO_SOURCE_DIR) / "report/script/tests" / Lang;
    for (const auto& Entry : fs::directory_iterator(Dir)) {
      std::ifstream In(Entry.path(), std::ios::binary);
      std::stringstream Buf;
      Buf << In.rdbuf();
      TStringList Lines;  // the line ends a script's Lines give
      Lines.SetText(System::Utf8ToAnsi(Buf.str()));
      TResult R = Parse(Lang, Lines.GetText());
      EXPECT_TRUE(R.Ok) << Entry.path() << ": " << R.Error;
      ++Count;
    }
  }
  EXPECT_GE(Count, 28);
}

}  // namespace
