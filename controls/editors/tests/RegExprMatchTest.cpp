// Walking compiled masks one character at a time: forward, back, with case folding and with
// completion of fixed characters.
#include <gtest/gtest.h>

#include <string>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/regexpr/cxRegExpr.h"
#include "platform/rtl/FormatSettings.h"

namespace {

class RegExprMatch : public ::testing::Test {
protected:
  void SetUp() override
  {
    EditorsModule::Initialize();
    SysUtils::ResetFormatSettings();
  }
  void TearDown() override
  {
    SysUtils::ResetFormatSettings();
    EditorsModule::Finalize();
  }
};

// Feeds text to a fresh compile of mask: "+" marks each taken character, followed by "$" when
// the text so far is a whole match; "!" marks the first refused one, where the walk stops.
std::string Walk(const AnsiString& mask, const AnsiString& text)
{
  TcxRegExpr expr;
  expr.Compile(mask);
  std::string trace;
  for (char c : text) {
    if (!expr.Accept(c)) return trace + "!";
    trace += expr.IsComplete() ? "+$" : "+";
  }
  return trace;
}

struct TWalkCase {
  const char* Mask;
  const char* Text;
  const char* Trace;
};

TEST_F(RegExprMatch, AcceptsCharacterByCharacter)
{
  SysUtils::DateSeparator = '.';
  SysUtils::TimeSeparator = '#';
  const TWalkCase cases[] = {
      {"\\d\\d/\\d\\d", "12.05", "+++++$"},
      {"\\d\\d/\\d\\d", "12/", "++!"},
      {"\\d\\d:\\d\\d", "12#05", "+++++$"},
      {"'a b'", "a b", "+++$"},
      {"a b", "ab", "++$"},
      {"a b", "a ", "+!"},
      {"a|ab", "a", "+$"},
      {"a|ab", "ab", "+$+$"},
      {"a|ab", "ac", "+$!"},
      {"(a|b)\\1", "ab", "++$"},
      {"(a|b)\\1", "ba", "++$"},
      {"(a|b)\\1", "bb", "++$"},
      {"(a\\1)", "aa", "++$"},         // a reference inside its own group copies what came before it
      {"(a|b){2}\\1", "abb", "+++$"},  // a counted group stays referable as written
      {"a{2}", "a", "+"},
      {"a{2}", "aaa", "++$!"},
      {"a{2,}", "aaaaa", "++$+$+$+$"},
      {"a{2,4}", "aaaaa", "++$+$+$!"},
      {"a{0}b", "b", "+$"},
      {"(a?){2}b", "aab", "+++$"},
      {"(a?){2}b", "b", "+$"},
      {"(ab){2,3}", "ababab", "++++$++$"},
      {"[^0-9]", "x", "+$"},
      {"[^0-9]", "5", "!"},
      {"[a-]", "-", "+$"},
      {"[a-]", "a", "+$"},
      {"[\\d-z]", "e", "+$"},  // a class letter starts a range as itself
      {"[\\dx]+", "1x2", "+$+$+$"},
      {"[/]", ".", "+$"},
      {"\\w\\W\\s\\S", "_.\tA", "++++$"},
      {"\\s", "\v", "!"},
      {"\\x41\\t.", "A\t\xC4", "+++$"},
      {"[\\x80-\\xFE]", "\xB0", "+$"},
      {"a+*b", "aaab", "++++$"},
      {"ab?", "a", "+$"},
      {"a(b?)", "a", "+"},  // completeness looks at the last item's own quantifier only
      {"(a|b)*c", "abbac", "+++++$"},
  };
  for (const TWalkCase& c : cases) EXPECT_EQ(Walk(c.Mask, c.Text), c.Trace) << c.Mask << " on " << c.Text;
}

TEST_F(RegExprMatch, CaseInsensitiveTakesThePatternsCase)
{
  TcxRegExpr expr;
  expr.SetCaseInsensitive(true);
  expr.Compile("abc");
  char c = 'A';
  EXPECT_TRUE(expr.Accept(c));
  EXPECT_EQ(c, 'a');
  AnsiString accepted;
  expr.Restart();
  expr.AcceptText("AxBC", accepted);
  EXPECT_EQ(accepted, "ABC");  // as typed; the refused x is skipped
  EXPECT_TRUE(expr.IsComplete());

  expr.SetCaseInsensitive(false);
  expr.Restart();
  c = 'A';
  EXPECT_FALSE(expr.Accept(c));
  EXPECT_TRUE(expr.AtStart());
}

// Mirrors an editor's text: typed characters plus the literals completion adds or removes.
struct TTyping {
  TcxRegExpr Expr;
  std::string Text;
  std::string Events;

  explicit TTyping(const AnsiString& mask)
  {
    Expr.OnLiteralAdded = [this](TcxRegExpr* sender, char ch) {
      EXPECT_EQ(sender, &Expr);
      Text += ch;
      Events += std::string("+") + ch;
    };
    Expr.OnLiteralRemoved = [this](TcxRegExpr*) {
      Text.pop_back();
      Events += "-";
    };
    Expr.SetLiteralCompletion(true);
    Expr.Compile(mask);
  }
  bool Type(char ch)
  {
    std::string before = Text;
    Text.clear();
    if (!Expr.Accept(ch)) {
      Text = before;
      return false;
    }
    // completion reported its literals after the character itself
    Text = before + ch + Text;
    return true;
  }
  bool Back()
  {
    if (!Expr.StepBack()) return false;
    Text.pop_back();
    return true;
  }
};

TEST_F(RegExprMatch, CompletionAddsAndTakesBackFixedCharacters)
{
  TTyping t("\\d\\d'-'\\d\\d");
  EXPECT_EQ(t.Text, "");
  EXPECT_TRUE(t.Type('1'));
  EXPECT_TRUE(t.Type('2'));
  EXPECT_EQ(t.Text, "12-");
  EXPECT_EQ(t.Events, "+-");
  EXPECT_FALSE(t.Type('-'));  // the dash is already there
  EXPECT_TRUE(t.Back());
  EXPECT_EQ(t.Text, "1");
  EXPECT_EQ(t.Events, "+--");
  EXPECT_TRUE(t.Back());
  EXPECT_FALSE(t.Back());
  EXPECT_TRUE(t.Expr.AtStart());
}

TEST_F(RegExprMatch, CompletionStopsAtChoicesAndCompleteText)
{
  {
    TTyping t("(\\d\\d)?'-'");  // the start offers a digit or the dash: nothing to complete
    EXPECT_EQ(t.Events, "");
    EXPECT_TRUE(t.Expr.AtStart());
  }
  {
    TTyping t("'ab'|'ac'");  // a is forced, then a choice
    EXPECT_EQ(t.Text, "a");
  }
  {
    TTyping t("'x'('y')?");  // after x the text may end: y is not forced
    EXPECT_EQ(t.Text, "x");
  }
  {
    SysUtils::TimeSeparator = '.';
    TTyping t("\\d\\d:\\d\\d");
    t.Type('0');
    t.Type('9');
    EXPECT_EQ(t.Text, "09.");
  }
}

TEST_F(RegExprMatch, CompletionEndsOnALoopOfFixedCharacters)
{
  // After 2* the mask asks for no comma at all, so the text can never end: completion adds one
  // round of the loop and stops instead of adding 2s for ever.
  TTyping t("2*,{0}");
  EXPECT_EQ(t.Events, "+2");
  EXPECT_TRUE(t.Type('2'));
  EXPECT_EQ(t.Text, "22");
}

TEST_F(RegExprMatch, CompletionAtCompileAndRestart)
{
  TTyping t("'+'\\d+");
  EXPECT_EQ(t.Events, "++");
  EXPECT_FALSE(t.Expr.AtStart());
  t.Expr.Restart();
  EXPECT_TRUE(t.Expr.AtStart());
  EXPECT_EQ(t.Events, "++");  // Restart reports nothing
  EXPECT_FALSE(t.Expr.StepBack());
  t.Expr.SetLiteralCompletion(true);  // switching it on runs completion again
  EXPECT_EQ(t.Events, "++++");
  EXPECT_FALSE(t.Expr.AtStart());
}

TEST_F(RegExprMatch, WithoutCompletionEveryStepIsOneCharacter)
{
  TcxRegExpr expr;
  expr.Compile("\\d\\d'-'\\d\\d");
  AnsiString accepted;
  expr.AcceptText("12-3", accepted);
  EXPECT_EQ(accepted, "12-3");
  EXPECT_FALSE(expr.IsComplete());
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(expr.StepBack());
  EXPECT_FALSE(expr.StepBack());
  EXPECT_TRUE(expr.AtStart());
}

}  // namespace
