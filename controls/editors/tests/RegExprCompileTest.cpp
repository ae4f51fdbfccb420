// Compile errors of regular-expression masks: messages, positions, and the limits that keep a
// mask from looping or exhausting memory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/regexpr/cxRegExpr.h"
#include "platform/rtl/Streams.h"

namespace {

class RegExprCompile : public ::testing::Test {
protected:
  void SetUp() override { EditorsModule::Initialize(); }
  void TearDown() override { EditorsModule::Finalize(); }
};

// The texts of the errors a compile reports; empty when it compiles.
std::vector<std::string> CompileErrors(const AnsiString& mask)
{
  TcxRegExpr expr;
  try {
    expr.Compile(mask);
  } catch (const EcxRegExprError& e) {
    EXPECT_TRUE(e.Message().empty());
    EXPECT_FALSE(expr.IsCompiled());
    std::vector<std::string> texts;
    for (int i = 0; i < e.GetErrors().Count(); ++i) texts.push_back(e.GetErrors().Items(i).Text());
    return texts;
  }
  EXPECT_TRUE(expr.IsCompiled());
  return {};
}

struct TErrorCase {
  const char* Mask;
  std::vector<std::string> Errors;
};

TEST_F(RegExprCompile, ReportsEveryErrorWithItsPosition)
{
  const TErrorCase cases[] = {
      {"", {"The source stream is empty"}},
      {" \t\r\n", {"The source stream is empty"}},
      {"a||b", {"Line1, Char3: The alternative should not be empty"}},
      {"a|", {"The alternative should not be empty"}},
      {"()", {"Line1, Char2: The block should not be empty"}},
      {"(a|)", {"Line1, Char4: The block should not be empty"}},
      {"(a", {"Missing ')'"}},
      {"a)", {"Unnecessary ')'"}},
      {"())(",
       {"Line1, Char2: The block should not be empty", "Line1, Char3: Illegal ')'",
        "The alternative should not be empty"}},
      {"'abc", {"Line1, Char5: Missing ' ' '"}},
      {"[ab", {"Line1, Char4: Missing ']'"}},
      {"a{2", {"Line1, Char4: Missing '}'"}},
      {"a{x}", {"Line1, Char3: Illegal 'x'"}},
      {"a{'}", {"Line1, Char3: Illegal ' ' '"}},
      {"\\x", {"Line1, Char3: Hexadecimal number expected"}},
      {"\\x4g", {"Line1, Char4: Hexadecimal number expected but 'g' found"}},
      {"\\ a", {"Line1, Char1: The space character is not allowed after '\\'"}},
      {"*a", {"Line1, Char1: Illegal quantifier '*'"}},
      {"a|?", {"Line1, Char3: Illegal quantifier '?'"}},
      {"(a?)*", {"Line1, Char5: The '*' quantifier cannot be applied here"}},
      {"(b|a*)+", {"Line1, Char7: The '+' quantifier cannot be applied here"}},
      {"(a)\\2", {"Line1, Char4: Too big reference number"}},
      {"[]", {"Line1, Char2: Can't create empty enumeration"}},
      {"[^]", {"Line1, Char3: Can't create empty enumeration"}},
      {"[a-a]", {"Line1, Char4: The starting character of the subrange must be less than the finishing one"}},
      {"[z-a]", {"Line1, Char4: The starting character of the subrange must be less than the finishing one"}},
      {"[a-c-e]", {"Line1, Char5: Illegal '-'"}},
      {"a{2,1}", {"Line1, Char5: Incorrect parameter quantifier"}},
      {"a{,2}", {"Line1, Char3: Incorrect parameter quantifier"}},
      {"{2}", {"Line1, Char1: Incorrect parameter quantifier"}},
      {"a?{2}", {"Line1, Char5: The parameter quantifier cannot be applied here"}},
      // errors are collected over the whole mask
      {"*a|[]|b)", {"Unnecessary ')'"}},
      {"*a|[]", {"Line1, Char1: Illegal quantifier '*'", "Line1, Char5: Can't create empty enumeration"}},
      // CR LF starts line 2; a bare LF only resets the column
      {"a\r\n||b", {"Line2, Char2: The alternative should not be empty"}},
      {"a\n||b", {"Line1, Char2: The alternative should not be empty"}},
  };
  for (const TErrorCase& c : cases) EXPECT_EQ(CompileErrors(c.Mask), c.Errors) << c.Mask;
}

TEST_F(RegExprCompile, RefusesCountsThatWouldLoopOrExhaustMemory)
{
  const TErrorCase cases[] = {
      {"(a?){2,}", {"Line1, Char8: The parameter quantifier cannot be applied here"}},
      {"(a|b?){0,}", {"Line1, Char10: The parameter quantifier cannot be applied here"}},
      {"a{256}", {"Line1, Char3: Incorrect parameter quantifier"}},
      {"a{1,99999999999999999999}", {"Line1, Char5: Incorrect parameter quantifier"}},
      {"((a{255}){255}){255}",
       {"Line1, Char11: Incorrect parameter quantifier", "Line1, Char17: Incorrect parameter quantifier"}},
      {"(a{255})(\\1\\1\\1\\1\\1\\1\\1\\1\\1\\1)(\\2\\2\\2\\2\\2\\2\\2\\2\\2\\2)(\\3\\3)",
       {"Line1, Char56: Too big reference number"}},
  };
  for (const TErrorCase& c : cases) EXPECT_EQ(CompileErrors(c.Mask), c.Errors) << c.Mask;
  // within the limits these compile
  for (const char* mask : {"(a?){2}", "(a?){0,3}", "a{255}", "(a?)?", "a+*", "a??", "a{0}", "(a{0}){2}"})
    EXPECT_EQ(CompileErrors(mask), std::vector<std::string>()) << mask;
}

TEST_F(RegExprCompile, SourceStreamAndRecompile)
{
  TcxRegExpr expr;
  try {
    expr.Compile(static_cast<TStream*>(nullptr));
    FAIL() << "a missing stream must be refused";
  } catch (const EcxRegExprError& e) {
    ASSERT_EQ(e.GetErrors().Count(), 1);
    EXPECT_EQ(e.GetErrors().Items(0).Text(), "The source stream is not assigned");
  }
  EXPECT_EQ(expr.SourceStream(), nullptr);

  TStringStream source("\\d+");
  source.SetPosition(2);  // the whole stream is read, not only what follows its position
  expr.Compile(&source);
  ASSERT_NE(expr.SourceStream(), nullptr);
  EXPECT_EQ(expr.SourceStream()->GetSize(), 3);

  // a private expression compiled from the source behaves the same
  TcxRegExpr copy;
  copy.Compile(expr.SourceStream());
  char c = '7';
  EXPECT_TRUE(copy.Accept(c));
  copy.Compile(copy.SourceStream());  // and so does recompiling from its own source
  EXPECT_EQ(copy.SourceStream()->GetSize(), 3);

  // a failed recompile leaves nothing compiled, a good one starts afresh
  EXPECT_THROW(expr.Compile("["), EcxRegExprError);
  EXPECT_FALSE(expr.IsCompiled());
  EXPECT_EQ(expr.SourceStream(), nullptr);
  EXPECT_THROW(expr.Restart(), Exception);
  expr.Compile("x");
  EXPECT_EQ(expr.GetErrors().Count(), 0);
  c = 'x';
  EXPECT_TRUE(expr.Accept(c));
  EXPECT_TRUE(expr.IsComplete());
}

TEST_F(RegExprCompile, WalkBeforeCompileRaises)
{
  TcxRegExpr expr;
  char c = 'a';
  AnsiString accepted;
  try {
    expr.Accept(c);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Regular expression is not compiled");
  }
  EXPECT_THROW(expr.AcceptText("a", accepted), Exception);
  EXPECT_THROW(expr.StepBack(), Exception);
  EXPECT_THROW(expr.IsComplete(), Exception);
  EXPECT_THROW(expr.AtStart(), Exception);
}

TEST_F(RegExprCompile, LexemesOfQuotesEscapesAndSets)
{
  TcxRegExpr expr;
  expr.Compile("'a''b' \\x41\\0 [^-a\\d-] {2}/:");
  std::string kinds, values;
  for (int i = 0; i < expr.GetLexems().Count(); ++i) {
    kinds += std::to_string(expr.GetLexems().Items(i).Code) + " ";
    values += expr.GetLexems().Items(i).Value + " ";
  }
  EXPECT_EQ(kinds, "0 0 0 0 0 1 1 1 0 6 0 1 1 2 1 11 12 ");
  EXPECT_EQ(values, "a ' b A 0 [ ^ - a d - ] { 2 } / : ");
}

}  // namespace
