#include "platform/rtl/StringUtils.h"
#include "platform/rtl/StrUtils.h"

#include <gtest/gtest.h>

#include <vector>

using namespace SysUtils;
using namespace StrUtils;

namespace {

// Characters whose trail byte looks like ASCII: 乗 = 81 5C ('\'), 亅 = 81 7C ('|'),
// 乕 = 81 5B ('['), 丄 = 81 41 ('A'), 乤 = 81 61 ('a').

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

// ---- Trimming and case --------------------------------------------------------------------

TEST(StringUtilsTest, TrimStripsControlBytesAndSpacesOnly)
{
  struct Case {
    AnsiString in, both, left, right;
  };
  const std::vector<Case> cases = {
      {"", "", "", ""},
      {" \t\r\n", "", "", ""},
      {"\t 合同 \r\n", "合同", "合同 \r\n", "\t 合同"},
      {AnsiString("\0a\0", 3), "a", AnsiString("a\0", 2), AnsiString("\0a", 2)},
      {"\xA1\xA1x\xA1\xA1", "\xA1\xA1x\xA1\xA1", "\xA1\xA1x\xA1\xA1", "\xA1\xA1x\xA1\xA1"},  // ideographic spaces stay
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Trim(c.in), c.both) << c.in;
    EXPECT_EQ(TrimLeft(c.in), c.left) << c.in;
    EXPECT_EQ(TrimRight(c.in), c.right) << c.in;
  }
  EXPECT_EQ(Trim(WideString(u" \t合同 ")), u"合同");
}

TEST(StringUtilsTest, AnsiCaseLeavesTrailBytesAlone)
{
  EXPECT_EQ(AnsiUpperCase("abc乤x合同"), "ABC乤X合同");
  EXPECT_EQ(AnsiLowerCase("ABC丄X"), "abc丄x");
  EXPECT_EQ(AnsiUpperCase("a\x81"), "A\x81");  // lone lead byte at the end
  // The byte-wise forms are for ASCII text: they do fold a letter-like trail byte.
  EXPECT_EQ(UpperCase("乤"), "\x81\x41");
  EXPECT_EQ(WideUpperCase(u"stra\u00DFe \u00E9 \u0436"), u"STRA\u00DFE \u00C9 \u0416");  // ß has no simple upper case
  EXPECT_EQ(WideLowerCase(u"\u00C9\u03A3\U0001F600"), u"\u00E9\u03C3\U0001F600");
}

// ---- Comparison ---------------------------------------------------------------------------

TEST(StringUtilsTest, ComparisonsOrderByCp936Bytes)
{
  struct Case {
    AnsiString a, b;
    int str, text, ansiText;  // signs of CompareStr, CompareText, AnsiCompareText
  };
  const std::vector<Case> cases = {
      {"", "", 0, 0, 0},
      {"", "a", -1, -1, -1},
      {"abc", "ABC", 1, 0, 0},
      {"abc", "ABD", 1, -1, -1},
      {"_", "a", -1, 1, 1},      // case-insensitive forms fold to upper case
      {"阿", "北", -1, -1, -1},  // B0A2 < B1B1: pinyin order
      {"北京", "中国", -1, -1, -1},
      {"z", "阿", -1, -1, -1},  // ASCII before double-byte
      {"乤", "丄", 1, 0, 1},    // 81 61 vs 81 41: trail bytes never folded
      {"a乤", "A丄", 1, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.a + " / " + c.b);
    EXPECT_EQ(Sign(CompareStr(c.a, c.b)), c.str);
    EXPECT_EQ(Sign(AnsiCompareStr(c.a, c.b)), c.str);
    EXPECT_EQ(Sign(CompareText(c.a, c.b)), c.text);
    EXPECT_EQ(Sign(AnsiCompareText(c.a, c.b)), c.ansiText);
    EXPECT_EQ(Sign(AnsiCompareText(c.b, c.a)), -c.ansiText);
    EXPECT_EQ(AnsiSameText(c.a, c.b), c.ansiText == 0);
    EXPECT_EQ(SameText(c.a, c.b), c.text == 0);
  }
  EXPECT_LT(WideCompareStr(u"A", u"a"), 0);
  EXPECT_TRUE(WideSameText(u"\u00C9a", u"\u00E9A"));
  EXPECT_GT(WideCompareText(u"b", u"A"), 0);
}

// ---- Quoting ------------------------------------------------------------------------------

TEST(StringUtilsTest, QuotingDoublesOnlyRealQuoteCharacters)
{
  EXPECT_EQ(QuotedStr("O'Brien"), "'O''Brien'");
  EXPECT_EQ(QuotedStr(""), "''");
  EXPECT_EQ(AnsiQuotedStr("a[乕", '['), "[a[[乕[");  // 乕's trail byte is not a quote

  struct Case {
    AnsiString in;
    char quote;
    AnsiString out;
  };
  const std::vector<Case> dequote = {
      {"'O''Brien'", '\'', "O'Brien"},
      {"''", '\'', ""},
      {"'ab'cd", '\'', "ab"},  // what follows the closing quote is dropped
      {"'abc", '\'', "abc"},   // no closing quote: the rest
      {"abc", '\'', "abc"},    // not quoted: unchanged
      {"", '\'', ""},
      {"[a[[乕[", '[', "a[乕"},
      {"'合\xB1", '\'', "合\xB1"},  // lone lead byte at the end
  };
  for (const auto& c : dequote) EXPECT_EQ(AnsiDequotedStr(c.in, c.quote), c.out) << c.in;
}

TEST(StringUtilsTest, ExtractQuotedStrAdvancesPastTheClosingQuote)
{
  const char* text = "'a''b'rest";
  const char* p = text;
  EXPECT_EQ(AnsiExtractQuotedStr(p, '\''), "a'b");
  EXPECT_STREQ(p, "rest");
  EXPECT_EQ(AnsiExtractQuotedStr(p, '\''), "");  // not at a quote: nothing read
  EXPECT_STREQ(p, "rest");
  const char* null = nullptr;
  EXPECT_EQ(AnsiExtractQuotedStr(null, '\''), "");
  // A bounded buffer is never read past its end.
  const char buf[] = {'"', 'a', '\xB1'};
  const char* q = buf;
  EXPECT_EQ(AnsiExtractQuotedStr(q, buf + sizeof buf, '"'), "a\xB1");
  EXPECT_EQ(q, buf + sizeof buf);
}

// ---- Searching ----------------------------------------------------------------------------

TEST(StringUtilsTest, AnsiPosMatchesOnlyWholeCharacters)
{
  struct Case {
    AnsiString sub, s;
    int pos;
  };
  const std::vector<Case> cases = {
      {"同", "合同", 3},      {"\xCF\xCD", "合同", 0},  // the tail of 合 and the head of 同
      {"A", "丄A", 3},                                  // 丄's trail byte is an 'A'
      {"\\", "乗", 0},        {"\xBA", "合同", 0},      // a lone lead byte would end inside 合
      {"a\xB1", "xa\xB1", 2},                           // ...unless the text ends there too
      {"", "abc", 0},         {"abcd", "abc", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(AnsiPos(c.sub, c.s), c.pos) << c.sub << " in " << c.s;

  const char* path = "乗\\x\\";
  EXPECT_EQ(AnsiStrScan(path, '\\'), path + 2);
  EXPECT_EQ(AnsiStrRScan(path, '\\'), path + 4);
  EXPECT_EQ(AnsiStrScan("乗", '\\'), nullptr);
  const char* mixed = "a\\乗";
  EXPECT_EQ(AnsiStrRScan(mixed, '\\'), mixed + 1);
  const char* s = "丄A";
  EXPECT_EQ(AnsiStrPos(s, "A"), s + 2);
  EXPECT_EQ(AnsiStrPos(s, "B"), nullptr);
  EXPECT_EQ(AnsiStrPos(s, ""), nullptr);
}

TEST(StringUtilsTest, DelimitersSkipTrailBytes)
{
  const AnsiString path = "C:\\目录\\乗";  // 乗 ends in a '\'-looking byte
  EXPECT_EQ(LastDelimiter("\\", path), 8);
  EXPECT_EQ(LastDelimiter("\\:", "乗"), 0);
  EXPECT_EQ(LastDelimiter(".\\", "a.b亅"), 2);
  EXPECT_EQ(LastDelimiter("x", ""), 0);
  EXPECT_TRUE(IsDelimiter("\\", path, 3));
  EXPECT_FALSE(IsDelimiter("\\", path, 10));  // trail of 乗
  EXPECT_FALSE(IsDelimiter("\\", path, 0));
  EXPECT_FALSE(IsDelimiter("\\", path, 99));
}

// ---- Replacing ----------------------------------------------------------------------------

TEST(StringUtilsTest, StringReplaceIsCharacterAware)
{
  struct Case {
    AnsiString s, from, to;
    TReplaceFlags flags;
    AnsiString out;
  };
  const std::vector<Case> cases = {
      {"a|亅|b", "|", "/", rfReplaceAll, "a/亅/b"},
      {"a|b|c", "|", "/", 0, "a/b|c"},
      {"abcABC乤", "c", "x", rfReplaceAll | rfIgnoreCase, "abxABx乤"},
      {"乤a", "A", "-", rfReplaceAll | rfIgnoreCase, "乤-"},
      {"合同", "\xCF\xCD", "X", rfReplaceAll, "合同"},
      {"aa", "a", "aa", rfReplaceAll, "aaaa"},  // replaced text is not searched again
      {"abc", "", "x", rfReplaceAll, "abc"},
      {"合同合同", "合同", "", rfReplaceAll, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StringReplace(c.s, c.from, c.to, c.flags), c.out) << c.s;
  }
  EXPECT_EQ(AnsiReplaceStr("x乗x", "x", "\\"), "\\乗\\");
  EXPECT_EQ(AnsiReplaceText("Ab丄ab", "AB", "#"), "#丄#");
}

// ---- Line breaks and identifiers ----------------------------------------------------------

TEST(StringUtilsTest, AdjustLineBreaks)
{
  EXPECT_EQ(AdjustLineBreaks("a\rb\nc\r\nd\n\re"), "a\r\nb\r\nc\r\nd\r\ne");
  EXPECT_EQ(AdjustLineBreaks("\n\n\r\r"), "\r\n\r\n\r\n");
  EXPECT_EQ(AdjustLineBreaks("合\r\n同\r", tlbsLF), "合\n同\n");
  EXPECT_EQ(AdjustLineBreaks(""), "");
}

TEST(StringUtilsTest, IsValidIdent)
{
  struct Case {
    AnsiString s;
    bool plain, dotted;
  };
  const std::vector<Case> cases = {
      {"Edit1", true, true},  {"_x", true, true},           {"1x", false, false}, {"", false, false},
      {"a b", false, false},  {"Form1.Edit1", false, true}, {"a.", false, false}, {".a", false, false},
      {"a..b", false, false}, {"合同", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsValidIdent(c.s), c.plain) << c.s;
    EXPECT_EQ(IsValidIdent(c.s, true), c.dotted) << c.s;
  }
}

// ---- StrUtils -----------------------------------------------------------------------------

TEST(StrUtilsTest, PartsOfTextByBytesAndByCharacters)
{
  EXPECT_EQ(LeftStr("abcdef", 2), "ab");
  EXPECT_EQ(LeftStr("abc", -1), "");
  EXPECT_EQ(RightStr("abcdef", 2), "ef");
  EXPECT_EQ(RightStr("abc", 10), "abc");
  EXPECT_EQ(MidStr("abcdef", 0, 2), "ab");
  EXPECT_EQ(MidStr("abcdef", 5, 10), "ef");

  EXPECT_EQ(AnsiLeftStr("合同abc", 2), "合同");
  EXPECT_EQ(AnsiRightStr("a合同", 1), "同");
  EXPECT_EQ(AnsiRightStr("a合同", 9), "a合同");
  EXPECT_EQ(AnsiMidStr("a合同b", 2, 2), "合同");
  EXPECT_EQ(AnsiMidStr("a合同b", 5, 1), "");
  EXPECT_EQ(AnsiMidStr("a\xB1", 2, 1), "\xB1");  // lone lead byte: a character of its own

  EXPECT_EQ(ReverseString("ab合同"), "同合ba");
  EXPECT_EQ(ReverseString("x\xB1"), "\xB1x");
  EXPECT_EQ(DupeString("ab", 3), "ababab");
  EXPECT_EQ(DupeString("ab", 0), "");
}

TEST(StrUtilsTest, PosEx)
{
  struct Case {
    AnsiString sub, s;
    int offset, pos;
  };
  const std::vector<Case> cases = {
      {"a", "abca", 1, 1}, {"a", "abca", 2, 4}, {"a", "abca", 5, 0},
      {"a", "abca", 0, 0}, {"", "abc", 1, 0},   {"ca", "abca", 4, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(PosEx(c.sub, c.s, c.offset), c.pos) << c.offset;
}

TEST(StrUtilsTest, PredicatesCompareWholeCharacters)
{
  EXPECT_TRUE(AnsiContainsText("合同ABC", "bc"));
  EXPECT_FALSE(AnsiContainsText("丄", "a"));
  EXPECT_FALSE(AnsiContainsStr("abc", ""));
  EXPECT_TRUE(AnsiContainsStr("合同", "同"));

  struct Case {
    AnsiString sub, text;
    bool startsStr, startsText, endsStr, endsText;
  };
  const std::vector<Case> cases = {
      {"", "abc", true, true, true, true},         {"ab", "abc", true, true, false, false},
      {"AB", "abc", false, true, false, false},    {"BC", "abc", false, false, false, true},
      {"A", "丄", false, false, false, false},  // 'A' is 丄's trail byte
      {"\\", "乗", false, false, false, false},    {"\x81", "丄", false, false, false, false},  // would cut 丄
      {"合", "合同", true, true, false, false},    {"同", "合同", false, false, true, true},
      {"abcd", "abc", false, false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sub + " / " + c.text);
    EXPECT_EQ(AnsiStartsStr(c.sub, c.text), c.startsStr);
    EXPECT_EQ(AnsiStartsText(c.sub, c.text), c.startsText);
    EXPECT_EQ(AnsiEndsStr(c.sub, c.text), c.endsStr);
    EXPECT_EQ(AnsiEndsText(c.sub, c.text), c.endsText);
  }

  EXPECT_EQ(AnsiIndexStr("b", {"a", "b", "b"}), 1);
  EXPECT_EQ(AnsiIndexStr("B", {"a", "b"}), -1);
  EXPECT_EQ(AnsiIndexText("B", {"a", "b"}), 1);
  EXPECT_EQ(AnsiIndexText("乤", std::vector<AnsiString>{"丄"}), -1);
  EXPECT_TRUE(AnsiMatchText("合同", {"合同"}));
  EXPECT_FALSE(AnsiMatchStr("x", {}));
  EXPECT_EQ(IfThen(true, "a", "b"), "a");
  EXPECT_EQ(IfThen(false, "a"), "");
}
