#include "platform/rtl/FormatText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "platform/rtl/Currency.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Variants.h"

using namespace SysUtils;
#include "platform/rtl/tests/RtlTestUtil.h"

namespace {

using RtlTest::RawCurr;

class FormatTextTest : public ::testing::Test {
protected:
  void SetUp() override { ResetFormatSettings(); }
  void TearDown() override { ResetFormatSettings(); }
};

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

}  // namespace

// ---- Format --------------------------------------------------------------------------------------

TEST_F(FormatTextTest, FormatRejectsMissingAndMismatchedArguments)
{
  struct Case {
    const char* fmt;
    std::vector<TVarRec> args;
  };
  const AnsiString text = "x";
  const Case cases[] = {
      {"%d", {}},         // missing
      {"%s %s", {text}},  // second one missing
      {"%d", {1.5}},      // float for an integer
      {"%d", {text}},
      {"%x", {2.5}},
      {"%f", {1}},  // integer for a float
      {"%s", {5}},
      {"%p", {5}},
      {"%k", {5}},   // unknown type
      {"abc%", {}},  // cut off
      {"%5", {5}},
      {"%*d", {text, 5}},   // width argument not an integer
      {"%3:d", {1, 2}},     // index past the end
      {"%99999999d", {1}},  // absurd width
      {"%.99999999s", {text}},
  };
  for (const Case& c : cases) {
    try {
      Format(c.fmt, c.args);
      ADD_FAILURE() << c.fmt;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), AnsiString("Format '") + c.fmt + "' invalid or incompatible with argument");
    }
  }
}

TEST_F(FormatTextTest, FormatIntegers)
{
  EXPECT_EQ(Format("%d", {42}), "42");
  EXPECT_EQ(Format("%d", {-42}), "-42");
  EXPECT_EQ(Format("%5d%5d", {3, 10}), "    3   10");
  EXPECT_EQ(Format("%-5d|", {3}), "3    |");
  EXPECT_EQ(Format("%4.4d", {12}), "0012");
  EXPECT_EQ(Format("%4.4d", {-5}), "-0005");
  EXPECT_EQ(Format("%3d%3d%3d", {255, 0, 128}), "255  0128");
  EXPECT_EQ(Format("%d", {std::numeric_limits<Int64>::min()}), "-9223372036854775808");
  EXPECT_EQ(Format("%d", {std::numeric_limits<UInt64>::max()}), "18446744073709551615");
  EXPECT_EQ(Format("%d %d", {short{-3}, static_cast<unsigned char>(200)}), "-3 200");
  EXPECT_EQ(Format("%u", {-1}), "4294967295");
  EXPECT_EQ(Format("%x", {255}), "FF");
  EXPECT_EQ(Format("%.4X", {255}), "00FF");
  EXPECT_EQ(Format("%x", {-1}), "FFFFFFFF");
  EXPECT_EQ(Format("%x", {Int64{-1}}), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(Format("%p", {nullptr}), "0000000000000000");
}

TEST_F(FormatTextTest, FormatFloats)
{
  struct Case {
    const char* fmt;
    double value;
    const char* expected;
  };
  const Case cases[] = {
      {"%f", 12345.678, "12345.68"},
      {"%.4f", 1.5, "1.5000"},
      {"%9.2f", 0.01, "     0.01"},
      {"%2.2f", 2.5, "2.50"},
      {"%.2f", 1.005, "1.01"},  // rounds the value as written, half away from zero
      {"%.0f", 0.5, "1"},
      {"%.0f", -2.5, "-3"},
      {"%.2f", -0.001, "0.00"},  // no "-0.00"
      {"%.4f", 210.0 / 25.4, "8.2677"},
      {"%e", 1234.5, "1.23450000000000E+003"},
      {"%.3e", -1234.5, "-1.23E+003"},
      {"%.3e", 0.0, "0.00E+000"},
      {"%.17e", 0.1, "1.0000000000000001E-001"},
      {"%g", 0.5, "0.5"},
      {"%g", 1e20, "1E20"},
      {"%g", 1.0 / 3, "0.333333333333333"},
      {"%.2g", 0.3333, "0.33"},
      {"%.2g", 1.0, "1"},
      {"%n", 1234567.891, "1,234,567.89"},
      {"%.0n", 1234.5, "1,235"},
      {"%n", -1234.5, "-1,234.50"},
      {"%m", 1234.5, "￥1,234.50"},
      {"%m", -1234.5, "￥-1,234.50"},
      {"%.0m", 7.0, "￥7"},
      {"%f", kNaN, "NAN"},
      {"%f", -kInf, "-INF"},
  };
  for (const Case& c : cases) EXPECT_EQ(Format(c.fmt, {c.value}), c.expected) << c.fmt;
  EXPECT_EQ(Format("%.2g %.2g %.2g", {1.0, 0.5, 128.0 / 255}), "1 0.5 0.5");
  EXPECT_EQ(Format("%f", {RawCurr(123456789)}), "12345.68");
  EXPECT_EQ(Format("%.4m", {RawCurr(-5)}), "￥-0.0005");
  EXPECT_EQ(Format("%f", {TDateTime(1.5)}), "1.50");
  EXPECT_EQ(Format("%f", {2.5f}), "2.50");
}

TEST_F(FormatTextTest, FormatFloatsFollowTheDecimalSeparator)
{
  DecimalSeparator = ',';
  ThousandSeparator = '.';
  EXPECT_EQ(Format("%2.2f", {3.14159}), "3,14");
  EXPECT_EQ(Format("%n", {1234.5}), "1.234,50");
}

TEST_F(FormatTextTest, FormatStrings)
{
  const AnsiString name = "客户";
  const WideString wide = u"合同";
  EXPECT_EQ(Format("数据集 %s 未连接至数据库", {name}), "数据集 客户 未连接至数据库");
  EXPECT_EQ(Format("%s", {wide}), "合同");
  EXPECT_EQ(Format("%s", {u"金额"}), "金额");
  EXPECT_EQ(Format("%s%s", {'a', u'合'}), "a合");
  EXPECT_EQ(Format("%5s|%-5s|", {"ab", "cd"}), "   ab|cd   |");
  EXPECT_EQ(Format("%s", {static_cast<const char*>(nullptr)}), "");
  // A precision cuts by bytes but never halves a double-byte character.
  EXPECT_EQ(Format("%.3s|", {"合同"}), "合|");
  EXPECT_EQ(Format("%.1s|", {"合同"}), "|");
  EXPECT_EQ(Format("%.4s|", {"合同"}), "合同|");
  EXPECT_EQ(Format("%.2s|", {"a合"}), "a|");
  EXPECT_EQ(Format("%.0s|", {"abc"}), "|");
  EXPECT_EQ(Format("%s and HtCode like '%%%s%%'", {" 1=1", "A-01"}), " 1=1 and HtCode like '%A-01%'");
  EXPECT_EQ(Format("%s and HtFund>=%f", {" 1=1", 12345.678}), " 1=1 and HtFund>=12345.68");
  EXPECT_EQ(Format("%s Version %d.%d Build %d.%s", {"Linux", 5, 1, 2600, "SP3"}), "Linux Version 5.1 Build 2600.SP3");
  EXPECT_EQ(Format("\"%s\" 不是有效的数字.", {"1a"}), "\"1a\" 不是有效的数字.");
}

TEST_F(FormatTextTest, FormatIndexesAndStarArguments)
{
  EXPECT_EQ(Format("%1:s %0:s %s", {"a", "b"}), "b a b");
  EXPECT_EQ(Format("%*d", {5, 42}), "   42");
  EXPECT_EQ(Format("%-*d|", {4, 7}), "7   |");
  EXPECT_EQ(Format("%*d|", {-4, 7}), "7   |");
  EXPECT_EQ(Format("%.*s|", {-1, "abc"}), "abc|");
  EXPECT_EQ(Format("%.*f", {1, 2.25}), "2.3");
  EXPECT_EQ(Format("%*.*f", {6, 1, 2.25}), "   2.3");
  EXPECT_EQ(Format("%s%f; %s%f", {"%", 50.0, "%", 25.0}), "%50.00; %25.00");
  EXPECT_EQ(Format("100%%", {}), "100%");
  std::vector<TVarRec> args;
  const AnsiString caption = "澜岳合同管理系统";
  const AnsiString version = "单机版";
  args.emplace_back(caption);
  args.emplace_back(version);
  EXPECT_EQ(Format("%s - %s", args), "澜岳合同管理系统 - 单机版");
}

TEST_F(FormatTextTest, FormatConvertsVariants)
{
  const Variant text("abc");
  const Variant seven(7);
  const Variant half(2.5);
  const Variant money(RawCurr(15000));
  EXPECT_EQ(Format("%s %d %.1f %s", {text, seven, half, half}), "abc 7 2.5 2.5");
  EXPECT_EQ(Format("%m", {money}), "￥1.50");
  EXPECT_EQ(Format("%s", {seven}), "7");
  EXPECT_THROW(Format("%d", {half}), EConvertError);
  EXPECT_THROW(Format("%d", {text}), EConvertError);  // the variant cannot convert
  EXPECT_THROW(Format("%f", {text}), EConvertError);
}

// ---- Numbers to text -----------------------------------------------------------------------------

TEST_F(FormatTextTest, IntToStrAndIntToHex)
{
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-2147483647 - 1), "-2147483648");
  EXPECT_EQ(IntToStr(std::numeric_limits<Int64>::min()), "-9223372036854775808");
  EXPECT_EQ(UIntToStr(std::numeric_limits<UInt64>::max()), "18446744073709551615");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(0, 0), "0");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
  EXPECT_EQ(IntToHex(Int64{-1}, 2), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(IntToHex(static_cast<Word>(0xABC), 2), "ABC");
}

TEST_F(FormatTextTest, FloatToStrGeneralForm)
{
  struct Case {
    double value;
    const char* expected;
  };
  const Case cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {1.5, "1.5"},
      {-1.5, "-1.5"},
      {0.1, "0.1"},
      {100, "100"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {123456789012345.0, "123456789012345"},
      {1e15, "1E15"},
      {1.5e20, "1.5E20"},
      {0.0001, "0.0001"},
      {0.00001, "1E-5"},
      {-1.25e-10, "-1.25E-10"},
      {2.675, "2.675"},
      {0.1 + 0.2, "0.3"},
      {1e308 * 10, "INF"},
      {-1e308 * 10, "-INF"},
      {kNaN, "NAN"},
  };
  for (const Case& c : cases) EXPECT_EQ(FloatToStr(c.value), c.expected) << c.value;
  DecimalSeparator = ',';
  EXPECT_EQ(FloatToStr(1.5), "1,5");
}

TEST_F(FormatTextTest, FloatToStrFFormats)
{
  EXPECT_EQ(FloatToStrF(1234.5, ffExponent, 4, 2), "1.235E+03");
  EXPECT_EQ(FloatToStrF(-0.00012, ffExponent, 2, 0), "-1.2E-4");
  EXPECT_EQ(FloatToStrF(1234.567, ffFixed, 15, 2), "1234.57");
  EXPECT_EQ(FloatToStrF(1234.567, ffFixed, 15, 0), "1235");
  EXPECT_EQ(FloatToStrF(0.5, ffFixed, 15, 0), "1");
  EXPECT_EQ(FloatToStrF(1e20, ffFixed, 15, 2), "1E20");  // more digits than the precision
  EXPECT_EQ(FloatToStrF(1234.567, ffNumber, 15, 2), "1,234.57");
  EXPECT_EQ(FloatToStrF(999.999, ffNumber, 15, 2), "1,000.00");
  EXPECT_EQ(FloatToStrF(-1234567.5, ffNumber, 15, 0), "-1,234,568");
  EXPECT_EQ(FloatToStrF(1234.567, ffCurrency, 15, 2), "￥1,234.57");
  EXPECT_EQ(FloatToStrF(123.456, ffGeneral, 4, 0), "123.5");
  EXPECT_EQ(FloatToStrF(12345.6, ffGeneral, 4, 0), "1.235E4");
}

TEST_F(FormatTextTest, CurrencyLayoutsFollowTheLocale)
{
  const char* negative[16] = {"(￥1.50)", "-￥1.50",  "￥-1.50",   "￥1.50-",  "(1.50￥)", "-1.50￥",
                              "1.50-￥",  "1.50￥-",  "-1.50 ￥",  "-￥ 1.50", "1.50 ￥-", "￥ 1.50-",
                              "￥ -1.50", "1.50- ￥", "(￥ 1.50)", "(1.50 ￥)"};
  for (int i = 0; i < 16; ++i) {
    NegCurrFormat = static_cast<Byte>(i);
    EXPECT_EQ(FloatToStrF(-1.5, ffCurrency, 15, 2), negative[i]) << i;
  }
  const char* positive[4] = {"￥1.50", "1.50￥", "￥ 1.50", "1.50 ￥"};
  for (int i = 0; i < 4; ++i) {
    CurrencyFormat = static_cast<Byte>(i);
    EXPECT_EQ(FloatToStrF(1.5, ffCurrency, 15, 2), positive[i]) << i;
  }
}

TEST_F(FormatTextTest, FormatFloatPictures)
{
  struct Case {
    const char* format;
    double value;
    const char* expected;
  };
  const Case cases[] = {
      {"0", 12.5, "13"},
      {"0", -12.5, "-13"},
      {"0", 2.5, "3"},
      {"0.00", 1.005, "1.01"},
      {"0.00", 2.675, "2.68"},
      {"0.00", -0.001, "0.00"},
      {"0.00", -0.0, "0.00"},
      {"0.0", 0.05, "0.1"},
      {"0.0", 0.95, "1.0"},
      {"000", 7, "007"},
      {"#", 0, ""},
      {"#,##0", 0, "0"},
      {"#,##0.00", 1234567.891, "1,234,567.89"},
      {"#,##0.00", -1234.5, "-1,234.50"},
      {"#,##0.00", 999.999, "1,000.00"},
      {",0.", 1234, "1,234"},
      {"#.##", 0.5, ".5"},
      {".00", 12.5, "12.50"},
      {"0.##", 12.5, "12.5"},
      {"0.##", 12, "12"},
      {"0.##", 12.345, "12.35"},
      {"0.0#", 3, "3.0"},
      {"0.00;(0.00)", -5, "(5.00)"},
      {"0.00;(0.00);'zero'", 0, "zero"},
      {"0.00;(0.00);'zero'", 0.001, "zero"},  // rounds to zero: the zero section
      {"0.00;;'zero'", -2, "-2.00"},          // empty negative section: the first one
      {"0.00E+00", 1234.5, "1.23E+03"},
      {"0.00E-00", 1234.5, "1.23E03"},
      {"0.00e-00", 0.00012345, "1.23e-04"},
      {"00.00E+00", 1234.5, "12.35E+02"},
      {"0.0E+0", 0, "0.0E+0"},
      {"'$'0.00", 5, "$5.00"},
      {"\"单价:\"0.00", 5, "单价:5.00"},
      {"0.00元", 5, "5.00元"},
      {"0丒+", 5, "5丒+"},  // the trail byte of 丒 is 'E'
      {"SUM=0.00;SUM=-0.00", -3, "SUM=-3.00"},
      {"SUM=0.00;SUM=-0.00", 0, "SUM=0.00"},
      {"SUM=0.00;SUM=-0.00", -0.001, "SUM=0.00"},  // rounds to zero: not the negative section
      {"COUNT=0", 5, "COUNT=5"},
      {"￥,0.00;￥-,0.00", -1234.5, "￥-1,234.50"},
      {"￥,0.00;-,0.00 ￥", -1234.5, "-1,234.50 ￥"},
      {",0.00 S/'.'", 5, "5.00 S/."},
      {"0", 1e20, "1E20"},  // 18 digits or more: the general form
      {"#,##0.00", -1e18, "-1E18"},
      {"0", 999999999999999872.0, "1E18"},
      {"0", 1e17, "100000000000000000"},
      {"0.00E+00", 1e20, "1.00E+20"},
      {"", 1.5, "1.5"},
      {"0.00", kNaN, "NAN"},
      {"0.00", kInf, "INF"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatFloat(c.format, c.value), c.expected) << c.format;
  DecimalSeparator = ',';
  ThousandSeparator = ' ';
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1 234,50");
}

TEST_F(FormatTextTest, CurrencyToText)
{
  EXPECT_EQ(CurrToStr(RawCurr(15000)), "1.5");
  EXPECT_EQ(CurrToStr(RawCurr(-1)), "-0.0001");
  EXPECT_EQ(CurrToStr(RawCurr(0)), "0");
  EXPECT_EQ(CurrToStr(RawCurr(std::numeric_limits<Int64>::max())), "922337203685477.5807");
  EXPECT_EQ(CurrToStr(RawCurr(std::numeric_limits<Int64>::min())), "-922337203685477.5808");
  EXPECT_EQ(CurrToStrF(RawCurr(12345678), ffCurrency, 2), "￥1,234.57");
  EXPECT_EQ(CurrToStrF(RawCurr(12345), ffFixed, 4), "1.2345");
  EXPECT_EQ(FormatCurr("#,##0.00", RawCurr(12345678)), "1,234.57");
  EXPECT_EQ(FormatCurr("0.0000", RawCurr(std::numeric_limits<Int64>::min())), "-922337203685477.5808");
  EXPECT_EQ(FormatCurr("", RawCurr(25000)), "2.5");
  // Exact digits: no binary rounding on the way.
  EXPECT_EQ(FormatCurr("0.00", RawCurr(10050)), "1.01");
}

TEST_F(FormatTextTest, FloatToDecimalDigits)
{
  TFloatRec r;
  FloatToDecimal(r, 1234.5678L, 15, 2);
  EXPECT_STREQ(r.Digits, "123457");
  EXPECT_EQ(r.Exponent, 4);
  EXPECT_FALSE(r.Negative);
  FloatToDecimal(r, -0.000995L, 15, 3);
  EXPECT_STREQ(r.Digits, "1");
  EXPECT_EQ(r.Exponent, -2);
  EXPECT_TRUE(r.Negative);
  FloatToDecimal(r, 0.0004L, 15, 3);
  EXPECT_STREQ(r.Digits, "");
}
