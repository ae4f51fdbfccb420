// The edit mask without a window: parsing, the three forms of a text and validation, as
// tables through one checking function each.
#include <gtest/gtest.h>

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Guards.h"
#include "platform/stdctrls/edits/MaskUtils.h"

using MaskUtils::FormatMaskText;
using MaskUtils::TEditMask;

namespace {

struct MaskCase {
  const char* Mask;
  const char* In;
  const char* Out;
};

class MaskUtilsTest : public ::testing::Test {
protected:
  // A fixed locale: "-" between date parts, ":" between time parts.
  TValueGuard<char> FDate{SysUtils::DateSeparator, '-'};
  TValueGuard<char> FTime{SysUtils::TimeSeparator, ':'};
};

void CheckTable(const std::vector<MaskCase>& cases, AnsiString (*Run)(const char*, const char*))
{
  for (const MaskCase& c : cases) EXPECT_EQ(Run(c.Mask, c.In), AnsiString(c.Out)) << c.Mask << " / " << c.In;
}

}  // namespace

TEST_F(MaskUtilsTest, MalformedMasksStillParse)
{
  // A "\" at the end escapes nothing; directives alone mask nothing; odd fields are ignored.
  EXPECT_EQ(TEditMask("99\\").Count(), 2);
  EXPECT_FALSE(TEditMask("!><").IsMasked());
  EXPECT_FALSE(TEditMask(";0;_").IsMasked());
  EXPECT_EQ(TEditMask("999;").Blank(), '_');
  EXPECT_TRUE(TEditMask("999;x").SaveLiterals());
  // A blank that would join the next character, or show nothing, gives way to "_".
  EXPECT_EQ(TEditMask(AnsiString("999;1;\xB0")).Blank(), '_');
  EXPECT_EQ(TEditMask(AnsiString("999;1;\t")).Blank(), '_');
  // A lead byte without a trail byte (at the end, or before a byte no trail can be) is left out,
  // as the window would drop it; the ";" after it still ends the mask.
  EXPECT_EQ(TEditMask(AnsiString("9\xB0")).Count(), 1);
  TEditMask broken(AnsiString("9\xB0;0"));
  EXPECT_EQ(broken.Count(), 1);
  EXPECT_FALSE(broken.SaveLiterals());
  // Nor does a lone lead byte fill a place.
  AnsiString lone("\xB0");
  EXPECT_FALSE(TEditMask("C").Accepts(0, lone));
  EXPECT_EQ(FormatMaskText("CC;0", AnsiString("a\xB0")), "a ");
}

TEST_F(MaskUtilsTest, FieldsSetSavingAndTheBlank)
{
  TEditMask none("999;0;*"), keep("(999);1"), plain("999");
  EXPECT_FALSE(none.SaveLiterals());
  EXPECT_EQ(none.Blank(), '*');
  EXPECT_TRUE(keep.SaveLiterals());
  EXPECT_EQ(keep.Blank(), '_');
  EXPECT_TRUE(plain.SaveLiterals());
  // "\;" is a literal; the mask part ends at the first free ";".
  TEditMask escaped("\\;0;0");
  ASSERT_EQ(escaped.Count(), 2);
  EXPECT_TRUE(escaped.Item(0).Literal);
  EXPECT_EQ(escaped.Item(0).Char, ";");
  EXPECT_FALSE(escaped.SaveLiterals());
}

TEST_F(MaskUtilsTest, FormatMaskTextLaysValuesOut)
{
  CheckTable(
      {
          {"!\\(999\\)000-0000;0;_", "4085551212", "(408)555-1212"},
          {"000-0000;0", "555", "555-    "},
          {"!999;0", "5", "  5"},
          {"(999)000;1;_", "(408)555", "(408)555"},
          {"99/99/9999;1; ", "", "  -  -    "},
          {"!99:99;0;_", "930", " 9:30"},
          {"999;0;*", "12", "12 "},
          {"_000;0", "123", " 123"},
          {"\\;0;0", "5", ";5"},
          {"", "abc", "abc"},
          // Chinese literals and input: one character per position.
          {"0000年99月99日;0;_", "20090305", "2009年03月05日"},
          {"CC-999;0", "合同1", "合同-1  "},
          {"合同号:0000;1;_", "合同号:12", "合同号:12  "},
      },
      [](const char* m, const char* v) { return FormatMaskText(m, v); });
}

TEST_F(MaskUtilsTest, EditTextsAndStoredValues)
{
  // EmptyText: literals and the blank character.
  CheckTable({{"(999)000;0;_", "", "(___)___"},
              {"!99/99/9999;1; ", "", "  -  -    "},
              {"LL年;0;*", "", "**年"},
              {">LL-0000;1;_", "ab-12", "ab-12__"}},
             [](const char* m, const char* v) {
               TEditMask mask(m);
               return mask.Format(v, mask.Blank());
             });
  // Value: blanks become spaces; literals only when saved.
  CheckTable({{"(999)000;0;_", "(12_)345", "12 345"},
              {"(999)000;1;_", "(12_)345", "(12 )345"},
              {"0000年99月;0;_", "2009年3_月", "20093 "},
              {"0000年99月;1;_", "2009年3_月", "2009年3 月"}},
             [](const char* m, const char* v) { return TEditMask(m).Value(v); });
}

TEST_F(MaskUtilsTest, ValidationFindsTheFirstFailingPlace)
{
  struct Case {
    const char* Mask;
    const char* Text;
    int Bad;
  } cases[] = {
      {">LL-0000;1;_", "AB-1234", -1},
      {">LL-0000;1;_", "ab-1234", -1},  // the case mark fixes the letters
      {">LL-0000;1;_", "AB-12_4", 5},   // a required digit left blank
      {">LL-0000;1;_", "A1-1234", 1},   // a digit where a letter must be
      {">LL-0000;1;_", "AB+1234", 2},   // a literal changed
      {"999;1;_", "1__", -1},           // optional places may stay blank
      {"999;1;_", "1234", 3},           // a character too many
      {"LL;1;_", "合A", -1},            // a double-byte character is a letter
      {"00;1;_", "合1", 0},             // but no digit
      {"CC;1;_", "合 ", 1},             // "C" needs a character, a blank is none
      {"#9;1;_", "-5", -1},
      {"a;1", "_", -1},
      {"0000年99月;1;_", "2009年12月", -1},
      {"0000年99月;1;_", "2009-12月", 4},
  };
  for (const Case& c : cases) EXPECT_EQ(TEditMask(c.Mask).FirstInvalid(c.Text), c.Bad) << c.Mask << " / " << c.Text;
}

TEST_F(MaskUtilsTest, CaseMarksChangeAsciiLettersOnly)
{
  struct Case {
    const char* Mask;
    const char* In;
    const char* Out;
  } cases[] = {{">l", "x", "X"}, {"<L", "Q", "q"}, {"<>L", "Q", "Q"}, {">L<L", "ab", "Ab"}, {">C", "合", "合"}};
  for (const Case& c : cases) {
    TEditMask mask(c.Mask);
    AnsiString out;
    int place = 0;
    for (const AnsiString& ch : MaskUtils::SplitChars(c.In)) {
      AnsiString copy = ch;
      ASSERT_TRUE(mask.Accepts(place++, copy)) << c.Mask;
      out += copy;
    }
    EXPECT_EQ(out, AnsiString(c.Out)) << c.Mask;
  }
}

TEST_F(MaskUtilsTest, SeparatorsAreTakenWhenTheMaskIsParsed)
{
  TEditMask mask("00/00");
  SysUtils::DateSeparator = '.';
  EXPECT_EQ(mask.EmptyText(), "__-__");
  EXPECT_EQ(TEditMask("00/00").EmptyText(), "__.__");
}
