#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "controls/data/filter/cxLike.h"

using namespace cxLike;

namespace {

bool Like(const AnsiString& text, const AnsiString& pattern, char escape = '\0')
{
  return MatchPattern(text.data(), static_cast<int>(text.size()), pattern.data(), static_cast<int>(pattern.size()), '%',
                      '_', escape);
}

TEST(Like, Cases)
{
  struct Case {
    const char* text;
    const char* pattern;
    bool match;
  };
  const std::vector<Case> cases = {
      {"abc", "a%", true},
      {"abc", "a_c", true},
      {"ac", "a_c", false},
      {"abc", "%", true},
      {"", "%", true},
      {"", "%a", false},
      {"abc", "%b%", true},
      {"aXc", "a[_]c", false},
      {"abc", "abc", true},
      {"abc", "ab", false},
      {"ab", "abc", false},
      {"", "", true},
      {"a", "", false},
      {"abc", "%c", true},
      {"abc", "%%", true},
      {"ab", "ab%%", true},
      {"ab", "ab%", true},
      {"", "%%", true},
      {"abc", "_%_", true},
      {"a", "_%_", false},
      {"ABC", "abc", false},
      {"合同", "合_", true},
      {"合同", "__", true},
      {"合同", "___", false},
      {"合同号", "%同%", true},
      {"mississippi", "%sip%", true},
      {"mississippi", "m%s%s%p%x", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LikeMatches(c.text, c.pattern, '%', '_'), c.match) << c.text << " LIKE " << c.pattern;
}

TEST(Like, EscapeCharacter)
{
  EXPECT_TRUE(Like("a%", "a\\%", '\\'));
  EXPECT_FALSE(Like("ab", "a\\%", '\\'));
  EXPECT_FALSE(Like("a", "a\\%", '\\'));
  EXPECT_TRUE(Like("a_", "a\\_", '\\'));
  EXPECT_FALSE(Like("ab", "a\\_", '\\'));
  EXPECT_TRUE(Like("a\\", "a\\\\", '\\'));
  EXPECT_TRUE(Like("a", "a\\", '\\'));  // a trailing escape is ignored
}

// A double-byte character whose trail byte is 0x5C ('\\') or 0x5F ('_') is one literal character.
TEST(Like, TrailBytesAreNeverWildcardsOrEscapes)
{
  const AnsiString underscoreTrail = "\x81\x5F";  // trail byte looks like '_'
  const AnsiString backslashTrail = "\x81\x5C";   // trail byte looks like '\'
  EXPECT_FALSE(
      Like("\x81"
           "A",
           underscoreTrail));
  EXPECT_TRUE(Like(underscoreTrail, underscoreTrail));
  EXPECT_TRUE(Like(backslashTrail + "yx", backslashTrail + "%x", '\\'));
}

// Reference: the plain recursive definition, memoised.
bool Reference(const std::string& t, const std::string& p)
{
  std::vector<std::vector<int>> memo(t.size() + 1, std::vector<int>(p.size() + 1, -1));
  std::function<bool(size_t, size_t)> go = [&](size_t i, size_t j) -> bool {
    int& m = memo[i][j];
    if (m >= 0) return m;
    bool r;
    if (j == p.size())
      r = i == t.size();
    else if (p[j] == '%')
      r = go(i, j + 1) || (i < t.size() && go(i + 1, j));
    else
      r = i < t.size() && (p[j] == '_' || p[j] == t[i]) && go(i + 1, j + 1);
    return (m = r);
  };
  return go(0, 0);
}

TEST(Like, AgreesWithTheReferenceOnRandomInput)
{
  std::mt19937 rng(7);
  const char textChars[] = "ab";
  const char patternChars[] = "ab%_";
  for (int n = 0; n < 20000; ++n) {
    std::string t, p;
    for (int i = static_cast<int>(rng() % 8); i > 0; --i) t += textChars[rng() % 2];
    for (int i = static_cast<int>(rng() % 8); i > 0; --i) p += patternChars[rng() % 4];
    ASSERT_EQ(Like(t, p), Reference(t, p)) << t << " LIKE " << p;
  }
}

TEST(Like, ManyWildcardsOverALongTextFinish)
{
  const AnsiString text(20000, 'a');
  EXPECT_FALSE(Like(text, "%a%a%a%a%a%a%a%a%a%a%b"));
  EXPECT_TRUE(Like(text + "b", "%a%a%a%a%a%a%a%a%a%a%b"));
}

TEST(Like, StripAndCollapse)
{
  struct Case {
    const char* in;
    int result;
    const char* out;
  };
  const std::vector<Case> cases = {
      {"%", 0, "%"},  {"%%abc%%", 3, "abc"}, {"abc%", 1, "abc"}, {"%abc", 2, "abc"}, {"abc", 0, "abc"},
      {"%%", 0, "%"}, {"a%%b", 0, "a%b"},    {"", 0, ""},        {"%a", 2, "a"},
  };
  for (const auto& c : cases) {
    AnsiString p = c.in;
    EXPECT_EQ(StripOuterWildcards(p, '%'), c.result) << c.in;
    EXPECT_EQ(p, c.out) << c.in;
  }
  AnsiString p = "\x81___";  // a trail byte that looks like the wildcard starts no run
  CollapseWildcardRuns(p, '_');
  EXPECT_EQ(p, "\x81__");
  p = "\x81_";
  EXPECT_EQ(StripOuterWildcards(p, '_'), 0);
}

}  // namespace
