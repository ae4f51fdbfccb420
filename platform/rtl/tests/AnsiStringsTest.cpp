#include "platform/rtl/AnsiStrings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace System;

namespace {

// Trail bytes that look like ASCII: 乗 = 81 5C ('\'), 亅 = 81 7C ('|'), 乕 = 81 5B ('['),
// 丄 = 81 41 ('A'), 乤 = 81 61 ('a').
const AnsiString kBackslashTrail = "乗";
const AnsiString kPipeTrail = "亅";

// u8 literals are char8_t in C++20; the routines take UTF-8 in std::string.
std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

std::string Hex(const AnsiString& s)
{
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : s) {
    out += digits[c >> 4];
    out += digits[c & 15];
    out += ' ';
  }
  return out;
}

}  // namespace

TEST(AnsiStringsTest, LiteralsAreCp936Bytes)
{
  EXPECT_EQ(Hex("合同"), "BA CF CD AC ");
  EXPECT_EQ(Hex(kBackslashTrail), "81 5C ");
  EXPECT_EQ(Hex("€"), "80 ");
  // The compiler's conversion of the narrow literal against ours of the wide one.
  EXPECT_EQ(AnsiToWide("澜岳合同管理系统：金额￥12.50·—①Ωж€"), u"澜岳合同管理系统：金额￥12.50·—①Ωж€");
}

// ---- CP936 -> UTF-16 ---------------------------------------------------------------------

TEST(AnsiStringsTest, MalformedCp936DecodesWithoutReadingPastTheEnd)
{
  struct Case {
    AnsiString in;
    WideString out;
  };
  const std::vector<Case> cases = {
      {"", u""},
      {"\x81", u"\uFFFD"},  // lone lead byte at the end
      {"ab\xB1", u"ab\uFFFD"},
      {"\xB1\x30x", u"\uFFFD0x"},     // lead + non-trail: the ASCII byte survives
      {"\xB1\x7F", u"\uFFFD\x7F"},    // 0x7F is no trail
      {"\xB1\xFF", u"\uFFFD\uFFFD"},  // nor is 0xFF
      {"\xA1\x40z", u"\uFFFDz"},      // a well-formed pair naming no character: one U+FFFD
      {"\xFF", u"\uFFFD"},
      {"\x80", u"\u20AC"},
      {AnsiString("a\0b", 3), WideString(u"a\0b", 3)},
      {"合同\xB1", u"合同\uFFFD"},
  };
  for (const auto& c : cases) EXPECT_EQ(AnsiToWide(c.in), c.out) << Hex(c.in);
}

TEST(AnsiStringsTest, EveryCp936CharacterRoundTrips)
{
  int mapped = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      AnsiString a{static_cast<char>(lead), static_cast<char>(trail)};
      WideString w = AnsiToWide(a);
      if (w.size() != 1 || w[0] == 0xFFFD) continue;  // 0x7F is no trail: two characters
      ++mapped;
      ASSERT_EQ(WideToAnsi(w), a) << Hex(a);
      ASSERT_EQ(Utf8ToAnsi(AnsiToUtf8(a)), a) << Hex(a);
    }
  }
  EXPECT_EQ(mapped, 21791);  // GBK's double-byte characters
  EXPECT_EQ(WideToAnsi(u"\u20AC"), "\x80");
}

TEST(AnsiStringsTest, EveryBmpCharacterEncodesToItselfOrQuestionMark)
{
  // Checks the encode table against the decode table from the other side.
  for (char32_t u = 1; u <= 0xFFFF; ++u) {
    if (u >= 0xD800 && u <= 0xDFFF) continue;
    WideString w(1, static_cast<char16_t>(u));
    AnsiString a = WideToAnsi(w);
    if (a == "?" && u != u'?') continue;
    ASSERT_EQ(AnsiToWide(a), w) << std::hex << static_cast<unsigned>(u);
  }
}

// ---- UTF-16 -> CP936 ---------------------------------------------------------------------

TEST(AnsiStringsTest, CharactersOutsideCp936BecomeQuestionMarks)
{
  struct Case {
    WideString in;
    AnsiString out;
  };
  const std::vector<Case> cases = {
      {u"合同abc", "合同abc"},
      {u"한국", "??"},
      {u"x\U0001F600y", "x?y"},  // a surrogate pair is one character
      {u"\xD800x", "?x"},        // unpaired high surrogate
      {u"x\xDC00", "x?"},        // unpaired low surrogate
      {u"\xD800", "?"},
      {u"\u00B7\u2014", "\xA1\xA4\xA1\xAA"},  // the code page's own choices for · and —
      {WideString(u"\0", 1), AnsiString("\0", 1)},
  };
  for (const auto& c : cases) EXPECT_EQ(WideToAnsi(c.in), c.out) << Hex(c.out);
}

// ---- UTF-8 ---------------------------------------------------------------------------------

TEST(AnsiStringsTest, Utf8RoundTripsIncludingSurrogatePairs)
{
  const std::string utf8 = U8(u8"合同 No.7 \U0001F600 €");
  const WideString wide = Utf8ToWide(utf8);
  EXPECT_EQ(wide, u"合同 No.7 \U0001F600 €");
  EXPECT_EQ(wide.size(), 12u);  // the emoji takes two units
  EXPECT_EQ(WideToUtf8(wide), utf8);
  EXPECT_EQ(AnsiToUtf8("合同€"), U8(u8"合同€"));
  EXPECT_EQ(Utf8ToAnsi(U8(u8"合同 \U0001F600 \uD55C")), "合同 ? ?");
  EXPECT_EQ(WideToUtf8(u"a\xD800"
                       u"b"),
            U8(u8"a\uFFFDb"));
}

TEST(AnsiStringsTest, MalformedUtf8BecomesReplacementCharacters)
{
  struct Case {
    std::string in;
    WideString out;
  };
  const std::vector<Case> cases = {
      {"\x80", u"\uFFFD"},                                // stray continuation byte
      {"\xC0\xAF", u"\uFFFD\uFFFD"},                      // overlong '/'
      {"\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},            // overlong NUL
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"\xE5\x90", u"\uFFFD"},                            // truncated at the end
      {"\xE5\x90x", u"\uFFFDx"},                          // truncated before ASCII
      {"\xF0\x9F\x98", u"\uFFFD"},
      {"\xFF", u"\uFFFD"},
      // Several stray bytes inside a longer text: more characters than lead bytes.
      {"ab\x80\x80"
       "cd\xE5\x90\x88\xBF",
       u"ab\uFFFD\uFFFDcd\u5408\uFFFD"},
      {"\xBF\xBF\xBF\xBF\xBF\xBFxyz", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDxyz"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToWide(c.in), c.out) << Hex(c.in);
    EXPECT_EQ(Utf8ToAnsi(c.in), WideToAnsi(c.out)) << Hex(c.in);
  }
}

// ---- Lead bytes ----------------------------------------------------------------------------

TEST(AnsiStringsTest, ByteTypeJudgesFromTheStart)
{
  // "a", 乗 (81 5C), "\", 合 (BA CF), 同 (CD AC), then a lone lead byte at the end.
  const AnsiString s = "a" + kBackslashTrail + "\\合同\xB1";
  const std::vector<TMbcsByteType> expected = {mbSingleByte, mbLeadByte, mbTrailByte, mbSingleByte, mbLeadByte,
                                               mbTrailByte,  mbLeadByte, mbTrailByte, mbLeadByte};
  ASSERT_EQ(s.size(), expected.size());
  for (int i = 1; i <= static_cast<int>(s.size()); ++i) {
    EXPECT_EQ(ByteType(s, i), expected[i - 1]) << i;
    EXPECT_EQ(StrByteType(s.c_str(), i - 1), expected[i - 1]) << i;
  }
  EXPECT_EQ(ByteType(s, 0), mbSingleByte);
  EXPECT_EQ(ByteType(s, 10), mbSingleByte);
  EXPECT_TRUE(IsLeadByte('\x81'));
  EXPECT_TRUE(IsLeadByte('\xFE'));
  EXPECT_FALSE(IsLeadByte('\x80'));
  EXPECT_FALSE(IsLeadByte('\xFF'));
}

TEST(AnsiStringsTest, SteppingForwardAndBackwardVisitsCharacterStarts)
{
  // Runs of lead-range bytes (合同 = BA CF CD AC) are the hard case for stepping backwards.
  const AnsiString s = "x合同" + kPipeTrail + "y\xB1";
  const std::vector<int> starts = {1, 2, 4, 6, 8, 9};
  std::vector<int> forward;
  for (int i = 1; i <= static_cast<int>(s.size()); i = NextCharIndex(s, i)) forward.push_back(i);
  EXPECT_EQ(forward, starts);

  std::vector<int> backward;
  for (int i = PrevCharIndex(s, static_cast<int>(s.size()) + 1); i > 0; i = PrevCharIndex(s, i))
    backward.insert(backward.begin(), i);
  EXPECT_EQ(backward, starts);

  EXPECT_EQ(CharLength(s, 2), 2);
  EXPECT_EQ(CharLength(s, 9), 1);  // lead byte at the end
  EXPECT_EQ(CharLength(s, 0), 1);
  EXPECT_EQ(CharStartIndex(s, 7), 6);  // the '|'-looking trail byte
  EXPECT_EQ(PrevCharIndex(s, 5), 2);   // from inside 同: the character before it
  EXPECT_EQ(PrevCharIndex(s, 1), 0);
  EXPECT_EQ(PrevCharIndex("", 1), 0);
}

// ---- Classic routines ----------------------------------------------------------------------

TEST(AnsiStringsTest, CopyClipsLikeTheClassicRoutine)
{
  struct Case {
    int index, count;
    AnsiString out;
  };
  const std::vector<Case> cases = {
      {1, 3, "abc"}, {0, 2, "ab"}, {-5, 2, "ab"}, {4, 100, "def"},           {6, 1, "f"},
      {7, 1, ""},    {3, 0, ""},   {3, -1, ""},   {1, 2147483647, "abcdef"},
  };
  for (const auto& c : cases) EXPECT_EQ(Copy("abcdef", c.index, c.count), c.out) << c.index;
  // Byte-wise: copying the first byte of a character cuts it (callers check ByteType).
  EXPECT_EQ(Copy("合同", 2, 2), "\xCF\xCD");
  EXPECT_EQ(Copy(WideString(u"合同abc"), 2, 2), u"同a");
}

TEST(AnsiStringsTest, PosDeleteInsert)
{
  EXPECT_EQ(Pos("cd", "abcdcd"), 3);
  EXPECT_EQ(Pos("x", "abc"), 0);
  EXPECT_EQ(Pos("", "abc"), 0);
  EXPECT_EQ(Pos(u"同", u"合同"), 2);

  struct DeleteCase {
    int index, count;
    AnsiString out;
  };
  for (const auto& c : std::vector<DeleteCase>{{2, 2, "adef"},
                                               {5, 10, "abcd"},
                                               {0, 2, "abcdef"},
                                               {7, 1, "abcdef"},
                                               {2, 0, "abcdef"},
                                               {1, 2147483647, ""}}) {
    AnsiString s = "abcdef";
    Delete(s, c.index, c.count);
    EXPECT_EQ(s, c.out) << c.index << "," << c.count;
  }

  struct InsertCase {
    int index;
    AnsiString out;
  };
  for (const auto& c :
       std::vector<InsertCase>{{1, "XYabc"}, {-3, "XYabc"}, {3, "abXYc"}, {4, "abcXY"}, {99, "abcXY"}}) {
    AnsiString s = "abc";
    Insert("XY", s, c.index);
    EXPECT_EQ(s, c.out) << c.index;
  }
  EXPECT_EQ(StringOfChar('-', 3), "---");
  EXPECT_EQ(StringOfChar('-', -1), "");
  EXPECT_EQ(UpCase('q'), 'Q');
  EXPECT_EQ(UpCase('\xE1'), '\xE1');
}
