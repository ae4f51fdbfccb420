#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"
#include "report/script/parser/fs_iparser.h"

namespace {

TEST(ScriptLexer, SkipsWhiteSpaceAndComments)
{
  struct Case {
    const char* Text;
    const char* Word;  // what GetWord reads after the skip
  } Cases[] = {
      {" {brace} (* star *) // line\n x", "x"},
      {"{ unterminated x", ""},
      {"(*) x *) y", "y"},
      {"/", ""},  // a marker in the last character is no comment
  };
  for (const Case& C : Cases) {
    TfsParser P;
    P.SetText(C.Text);
    EXPECT_EQ(P.GetWord(), C.Word) << C.Text;
    EXPECT_LE(P.GetPosition(), P.GetSize() + 1);
  }
  TfsParser P;
  P.SetText("x//");
  P.SetPosition(2);
  P.SkipSpaces();
  EXPECT_EQ(P.GetPosition(), 4);  // "//" at the end: skipped as a comment to the end
}

TEST(ScriptLexer, LineCommentMarkerMatchesInsideWords)
{
  TfsParser P;
  P.SetCommentLine2("rem");
  P.SetText("remaining\nREMx");
  EXPECT_EQ(P.GetWord(), "REMx");
}

TEST(ScriptLexer, LineEndsAndContinuationWhenLinesMatter)
{
  TfsParser P;
  P.SetSkipEOL(false);
  P.SetSkipChar("_");
  P.SetText("a \r\n\r\nb\nc _ \r\n d _ x");
  EXPECT_EQ(P.GetWord(), "a");
  P.SkipSpaces();
  EXPECT_EQ(P.GetPosition(), 3);  // stops at the carriage return
  EXPECT_TRUE(P.GetEOL());
  EXPECT_EQ(P.GetPosition(), 7);  // "\r\n\r\n" at once
  EXPECT_EQ(P.GetWord(), "b");
  EXPECT_EQ(P.GetWord(), "c");  // a bare line feed is white space
  EXPECT_FALSE(P.GetEOL());     // "_" continues the line
  EXPECT_EQ(P.GetWord(), "d");
  EXPECT_EQ(P.GetWord(), "x");  // a "_" with no line end behind it just vanishes

  // A long run of continuation marks must not recurse.
  TfsParser Q;
  Q.SetSkipEOL(false);
  Q.SetSkipChar("_");
  Q.SetText(AnsiString(200000, '_') + "\r\nz");
  EXPECT_EQ(Q.GetWord(), "z");
}

TEST(ScriptLexer, WordsIdentsAndKeywords)
{
  TfsParser P;
  P.AddKeyword("begin");
  P.SetText("Begin begin2 9x _a");
  EXPECT_EQ(P.GetIdent(), "");
  EXPECT_EQ(P.GetPosition(), 6);  // the keyword stays consumed
  P.SetPosition(1);
  EXPECT_EQ(P.GetWord(), "Begin");
  EXPECT_EQ(P.GetIdent(), "begin2");
  EXPECT_EQ(P.GetWord(), "");  // a digit starts no word
  EXPECT_TRUE(P.IsKeyword("BEGIN"));
  P.SetIdentChars("ab");
  P.SetText("abc");
  EXPECT_EQ(P.GetWord(), "ab");
}

TEST(ScriptLexer, Numbers)
{
  struct Case {
    const char* Hex;
    const char* Text;
    const char* Number;
    int After;  // position after reading
  } Cases[] = {
      {"$", "1..5", "1", 2},    {"$", "1.5e3", "1.5e3", 6}, {"$", "2e", "2", 2},
      {"$", "2e+x", "2", 2},    {"$", "$ff", "$ff", 4},     {"$", "x", "", 1},
      {"0x", "0x1F", "$1F", 5}, {"0x", "0", "0", 2},        {"$", "1.e", "1", 2},
  };
  for (const Case& C : Cases) {
    TfsParser P;
    P.SetHexSequence(C.Hex);
    P.SetText(C.Text);
    EXPECT_EQ(P.GetNumber(), C.Number) << C.Text;
    EXPECT_EQ(P.GetPosition(), C.After) << C.Text;
  }
}

TEST(ScriptLexer, Strings)
{
  struct Case {
    const char* Quotes;
    const char* Text;
    const char* Result;
  } Cases[] = {
      {"'", "'it''s'#13#10'x'", "'it's\r\nx'"},
      {"'", "#$41#66", "'AB'"},
      {"'", "'合同'", "'合同'"},
      {"'", "'open\n'", ""},
      {"\"", "\"a\\tb\\\"\\n\\x41\\x\"", "'atb\"\nA'"},
      {"\"", "\"a\"\"b\"", "'ab'"},  // doubling is no escape here: two pieces
      {"\"", "\"x\\\n\"", ""},
      {"'", "#", ""},
  };
  for (const Case& C : Cases) {
    TfsParser P;
    P.SetStringQuotes(C.Quotes);
    P.SetText(C.Text);
    EXPECT_EQ(P.GetString(), C.Result) << C.Text;
    if (*C.Result == 0) {
      EXPECT_EQ(P.GetPosition(), 1) << C.Text;
    }
  }
  TfsParser P;
  P.SetText("#99999999999");
  EXPECT_THROW(P.GetString(), EConvertError);
}

TEST(ScriptLexer, PunctuationAndReportBrackets)
{
  TfsParser P;
  P.SetText(" +a");
  EXPECT_EQ(P.GetChar(), "");  // no skipping
  P.SetPosition(2);
  EXPECT_EQ(P.GetChar(), "+");
  EXPECT_EQ(P.GetChar(), "");

  struct Case {
    const char* Text;  // starts just behind the "<"
    const char* Result;
    int After;
  } Cases[] = {
      {"a<b>c>d", "a<b>c", 6},
      {"'>'\">\"x>", "'>'\">\"x", 8},
      {"ab\ncd>", "", 1},
      {"abc", "abc", 4},
  };
  for (const Case& C : Cases) {
    P.SetText(C.Text);
    EXPECT_EQ(P.GetFRString(), C.Result) << C.Text;
    EXPECT_EQ(P.GetPosition(), C.After) << C.Text;
  }
}

TEST(ScriptLexer, PositionTexts)
{
  TfsParser P;
  P.SetText("ab\n\tc\n");
  EXPECT_EQ(P.GetXYPosition(), "1:1");
  P.SetPosition(3);
  EXPECT_EQ(P.GetXYPosition(), "1:3");  // a line feed belongs to the line it ends
  P.SetPosition(4);
  EXPECT_EQ(P.GetXYPosition(), "2:1");
  P.SetPosition(5);
  EXPECT_EQ(P.GetXYPosition(), "2:2");
  EXPECT_EQ(P.PointToPosition(2, 2), 5);
  EXPECT_EQ(P.PointToPosition(1, 4), -1);
  EXPECT_EQ(P.PointToPosition(1, 0), -1);
}

TEST(ScriptLexer, SetDefaultsKeepsTheSecondLineComment)
{
  TfsParser P;
  P.SetCommentLine2("rem");
  P.SetHexSequence("0x");
  P.AddKeyword("if");
  P.SetDefaults();
  EXPECT_EQ(P.GetCommentLine2(), "rem");
  EXPECT_EQ(P.GetHexSequence(), "$");
  EXPECT_EQ(P.GetKeywords()->GetCount(), 0);
  EXPECT_EQ(P.GetCommentBlock2(), "(*,*)");
}

}  // namespace
