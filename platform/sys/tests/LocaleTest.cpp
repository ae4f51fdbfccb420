#include <gtest/gtest.h>

#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/sys/Locale.h"

namespace {

class LocaleTest : public ::testing::Test {
protected:
  void TearDown() override
  {
    Locale::Finalize();
    SysUtils::ResetFormatSettings();
  }
};

TEST_F(LocaleTest, InitializeAppliesTheChineseFormatsToTheRunTimeLibrary)
{
  SysUtils::ShortDateFormat = "dd/mm/yy";
  SysUtils::DecimalSeparator = ',';
  Locale::Initialize();
  EXPECT_EQ(SysUtils::ShortDateFormat, "yyyy-mm-dd");
  EXPECT_EQ(SysUtils::LongDateFormat, "yyyy-mm-dd hh:nn:ss");
  EXPECT_EQ(SysUtils::DecimalSeparator, '.');
  EXPECT_EQ(SysUtils::DateSeparator, '-');
  EXPECT_EQ(SysUtils::TimeSeparator, ':');
  EXPECT_EQ(SysUtils::CurrencyString, "￥");
  EXPECT_EQ(SysUtils::LongDayNames[0], "星期日");
  EXPECT_EQ(SysUtils::DateToStr(SysUtils::EncodeDate(2009, 3, 5)), "2009-03-05");
}

TEST_F(LocaleTest, AnswersLocaleValuesWithSundayAsFirstDayOfWeek)
{
  EXPECT_EQ(Locale::LocaleFirstDayOfWeek(), 6);
  EXPECT_EQ(Locale::GetLocaleInfo(Locale::LOCALE_IFIRSTDAYOFWEEK), "6");
  EXPECT_EQ(Locale::GetLocaleInfo(Locale::LOCALE_SSHORTDATE), "yyyy-mm-dd");
  EXPECT_EQ(Locale::GetLocaleInfo(Locale::LOCALE_SDECIMAL), ".");
  EXPECT_EQ(Locale::GetLocaleInfo(0x7777), "");
}

}  // namespace
