#include <gtest/gtest.h>

#include <string>

#include "controls/editors/mask/cxStandardMask.h"
#include "platform/rtl/FormatSettings.h"

namespace {

class StandardMask : public ::testing::Test {
protected:
  void SetUp() override { SysUtils::ResetFormatSettings(); }
  void TearDown() override { SysUtils::ResetFormatSettings(); }
};

struct TShapeCase {
  const char* Mask;
  const char* Template;
  const char* EmptyText;
  bool SaveLiterals;
  bool Leading;
};

TEST_F(StandardMask, ParsesPlacesLiteralsAndTheEnding)
{
  const TShapeCase cases[] = {
      {"(999)000;0;_", "(___)___", "      ", false, false},
      {"!999;0;*", "***", "   ", false, true},
      {"999;1", "___", "   ", true, false},
      {"\\;0", ";_", "; ", true, false},  // an escaped ';' is a literal
      {"a;1", "_", " ", true, false},
      {"a;1;", "_;1;", " ;1;", true, false},  // not one of the two endings: literals
      {"0;0x", "_;_x", " ; x", true, false},
      {"0\\", "_", " ", true, false},  // a trailing backslash is ignored
      {"<>L<l>C", "___", "   ", true, false},
      {"_ #", "_ _", "_  ", true, false},  // '_' and a blank are literals
      {"", "", "", true, false},
  };
  TcxStandardMask mask;
  for (const TShapeCase& c : cases) {
    mask.SetMask(c.Mask);
    EXPECT_EQ(mask.Template(), c.Template) << c.Mask;
    EXPECT_EQ(mask.EmptyText(), c.EmptyText) << c.Mask;
    EXPECT_EQ(mask.GetSaveLiterals(), c.SaveLiterals) << c.Mask;
    EXPECT_EQ(mask.GetLeading(), c.Leading) << c.Mask;
    EXPECT_EQ(mask.GetMask(), c.Mask);
  }
}

TEST_F(StandardMask, SeparatorsAreFixedWhenTheMaskIsSet)
{
  SysUtils::DateSeparator = '.';
  SysUtils::TimeSeparator = '#';
  TcxStandardMask mask;
  mask.SetMask("00/00:00");
  SysUtils::DateSeparator = '-';
  EXPECT_EQ(mask.Template(), "__.__#__");
  AnsiString text = "12.05#30";
  EXPECT_TRUE(mask.IsValid(text));
}

struct TFillCase {
  const char* Mask;
  const char* Text;
  bool AdjustCase;
  const char* Filled;
};

TEST_F(StandardMask, FillsRawTextIntoTheTemplate)
{
  const TFillCase cases[] = {
      {">LL-0000", "ab-1234", true, "AB-1234"},
      {">LL-0000", "ab1234", true, "AB-1234"},
      {">LL-0000", "ab-1234", false, "ab-1234"},
      {"(999)", "123", true, "(123)"},
      {"(999)", "(123)", true, "(123)"},
      {"000", "1_3", true, "1_3"},
      {"000", "1 3", true, "1_3"},
      {"000", "1x2y3z4", true, "123"},  // what fits nowhere is dropped
      {"!999;0;*", "1*2", true, "1*2"},
      {"<LL", "AbC", true, "ab"},
      {"x-y", "abc", true, "x-y"},  // a mask of literals only
      {"C\\0", "\xB0\xA1", true,
       "\xB0"
       "0"},  // bytes above 127 fit only any-character places
      {"L", "\xB0", true, "_"},
  };
  TcxStandardMask mask;
  for (const TFillCase& c : cases) {
    mask.SetMask(c.Mask);
    AnsiString text = c.Text;
    mask.Fill(text, c.AdjustCase);
    EXPECT_EQ(text, c.Filled) << c.Mask << " with " << c.Text;
  }
}

TEST_F(StandardMask, ToValueDropsBlanksAndUnsavedLiterals)
{
  TcxStandardMask mask;
  mask.SetMask("(999)000;0;_");
  AnsiString text = "(12_)456";
  mask.ToValue(text);
  EXPECT_EQ(text, "12 456");
  mask.SetMask("(999)000;1;_");
  text = "(12_)456";
  mask.ToValue(text);
  EXPECT_EQ(text, "(12 )456");
  text = "(1";  // only the positions both have
  mask.ToValue(text);
  EXPECT_EQ(text, "(1");
}

struct TValidCase {
  const char* Mask;
  const char* Text;
  bool Valid;
  const char* After;
};

TEST_F(StandardMask, ValidatesEveryPosition)
{
  const TValidCase cases[] = {
      {">LL-0000", "AB-12_4", false, nullptr},   // a required digit left blank
      {">LL-0000", "ab-1234", true, "AB-1234"},  // the case rule rewrites the text
      {">LL-0000", "AB-1234-", false, nullptr},
      {">LL-0000", "AB+1234", false, nullptr},
      {"999", "1__", true, "1__"},
      {"999", "1  ", true, "1  "},
      {"000", "1__", false, nullptr},
      {"#", "_", true, "_"},
      {"#", "-", true, "-"},
      {"x-y", "x-y", true, "x-y"},
      {"x-y", "x-z", false, nullptr},
      {"a;1", "x", true, "x"},
      {"L", "\xB0", false, nullptr},
  };
  TcxStandardMask mask;
  for (const TValidCase& c : cases) {
    mask.SetMask(c.Mask);
    AnsiString text = c.Text;
    EXPECT_EQ(mask.IsValid(text), c.Valid) << c.Mask << " with " << c.Text;
    if (c.After) {
      EXPECT_EQ(text, c.After) << c.Mask;
    }
  }
}

}  // namespace
