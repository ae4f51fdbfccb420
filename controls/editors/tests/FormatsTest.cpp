#include <gtest/gtest.h>

#include <string>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/formats/cxDateUtils.h"
#include "controls/editors/formats/cxFormats.h"
#include "controls/editors/regexpr/cxRegExpr.h"
#include "platform/rtl/FormatSettings.h"

namespace {

class Formats : public ::testing::Test {
protected:
  void SetUp() override
  {
    SysUtils::ResetFormatSettings();
    EditorsModule::Initialize();
  }
  void TearDown() override
  {
    EditorsModule::Finalize();
    SysUtils::ResetFormatSettings();
  }
};

// Walks text through a compiled mask: whether every character is taken and the end complete.
bool MaskMatches(const AnsiString& mask, const AnsiString& text)
{
  TcxRegExpr expr;
  expr.Compile(mask);
  for (char c : text)
    if (!expr.Accept(c)) return false;
  return expr.IsComplete();
}

TEST_F(Formats, DerivedFromTheFixedLocale)
{
  TcxFormatController* controller = cxFormats::GetFormatController();
  EXPECT_EQ(controller->GetCurrencyFormat(), "￥,0.00;￥-,0.00");
  EXPECT_EQ(controller->GetStartOfWeek(), 0);  // Sunday
  EXPECT_EQ(controller->GetDateEditFormat(), "yyyy-mm-dd");
  EXPECT_EQ(controller->GetMaskedDateEditFormat(), "yyyy-mm-dd");
  EXPECT_EQ(controller->GetStandardDateEditMask(), "!9999-99-99;1; ");
  EXPECT_EQ(controller->GetLocaleStandardDateEditMask(), "!9999-99-99;1; ");

  const AnsiString mask = controller->GetRegExprDateEditMask();
  const AnsiString start = "(\\d\\d\\d\\d'-'((0?[1-9]|1[012])|('一月'|'二月'|'三月'|";
  EXPECT_EQ(mask.substr(0, start.size()), start);
  for (const char* text : {"2024-3-05", "2024-12-31", "2024-二月-1", "today+3", "eom-12", "tomorrow+1"})
    EXPECT_TRUE(MaskMatches(mask, text)) << text;
  for (const char* text : {"2024-13-01", "2024-1-32", "today"}) EXPECT_FALSE(MaskMatches(mask, text)) << text;
  EXPECT_EQ(cxDateUtils::GetDateRegExprMask(false), mask.substr(1, mask.find(")|((") - 1));
}

struct TDateFormatCase {
  const char* ShortDateFormat;
  char Separator;
  const char* DateEditFormat;
  const char* Masked;
  const char* StandardMask;
  const char* Typed;  // a text the regular-expression mask takes, or "" when it is empty
};

TEST_F(Formats, DateFormatsAndMasks)
{
  const TDateFormatCase cases[] = {
      {"d/M/yy", '/', "dd/MM/yy", "dd/MM/yy", "!99/99/99;1; ", "1/12/03"},
      {"dd.MMMM.yyyy", '.', "dd.MMMM.yyyy", "dd.MMM.yyyy", "!99.lll.9999;1; ", "31.一月.2003"},
      {"m/d/yyyy", '/', "mm/dd/yyyy", "mm/dd/yyyy", "!99/99/9999;1; ", "02/29/2024"},
      {"ggyyyy/m/d", '/', "ggyyyy/mm/dd", "ggyyyy/mm/dd", "", ""},
      {"yyyy年m月d日", '-', "yyyy年mm月dd日", "yyyy年mm月dd日",
       "!9999\\\xC4\\\xEA"
       "99\\\xD4\\\xC2"
       "99\\\xC8\\\xD5;1; ",
       "2024-1-2"},
  };
  for (const TDateFormatCase& c : cases) {
    SysUtils::ShortDateFormat = c.ShortDateFormat;
    SysUtils::DateSeparator = c.Separator;
    TcxFormatController* controller = cxFormats::GetFormatController();
    controller->UpdateFormats();
    EXPECT_EQ(controller->GetDateEditFormat(), c.DateEditFormat) << c.ShortDateFormat;
    EXPECT_EQ(controller->GetMaskedDateEditFormat(), c.Masked) << c.ShortDateFormat;
    EXPECT_EQ(controller->GetStandardDateEditMask(), c.StandardMask) << c.ShortDateFormat;
    const AnsiString mask = controller->GetRegExprDateEditMask();
    if (*c.Typed) {
      EXPECT_TRUE(MaskMatches(mask, c.Typed)) << c.ShortDateFormat;
    } else {
      EXPECT_EQ(mask, "") << c.ShortDateFormat;
    }
  }
}

struct TCurrencyCase {
  const char* Symbol;
  Byte Positive;
  Byte Negative;
  Byte Decimals;
  const char* Format;
};

TEST_F(Formats, CurrencyFormatFollowsThePatterns)
{
  const TCurrencyCase cases[] = {
      {"kr.", 3, 8, 2, ",0.00 kr'.';-,0.00 kr'.'"},
      {"$", 0, 0, 2, "$,0.00;($,0.00)"},
      {"$", 1, 15, 0, ",0.$;(,0. $)"},
      {"$", 2, 12, 1, "$ ,0.0;$ -,0.0"},
      {"$", 9, 13, 1, ";,0.0- $"},  // an unknown positive pattern leaves its section empty
      {"", 0, 1, 2, ";-,0.00"},
  };
  for (const TCurrencyCase& c : cases) {
    SysUtils::CurrencyString = c.Symbol;
    SysUtils::CurrencyFormat = c.Positive;
    SysUtils::NegCurrFormat = c.Negative;
    SysUtils::CurrencyDecimals = c.Decimals;
    TcxFormatController* controller = cxFormats::GetFormatController();
    controller->UpdateFormats();
    EXPECT_EQ(controller->GetCurrencyFormat(), c.Format) << c.Symbol << int(c.Negative);
  }
}

TEST_F(Formats, AssignedValuesSurviveRecomputing)
{
  TcxFormatController* controller = cxFormats::GetFormatController();
  controller->SetCurrencyFormat("0.00");
  controller->SetStartOfWeek(3);
  controller->SetStandardDateEditMask("!00");
  controller->SetRegExprDateEditMask("\\d");
  SysUtils::ShortDateFormat = "d/m/yy";
  controller->UpdateFormats();
  EXPECT_EQ(controller->GetCurrencyFormat(), "0.00");
  EXPECT_EQ(controller->GetStartOfWeek(), 3);
  EXPECT_EQ(controller->GetStandardDateEditMask(), "!00");
  EXPECT_EQ(controller->GetRegExprDateEditMask(), "\\d");
  EXPECT_EQ(controller->GetLocaleStandardDateEditMask(), "!99/99/99;1; ");  // always recomputed
  controller->SetStandardDateEditMaskAssigned(false);
  controller->UpdateFormats();
  EXPECT_EQ(controller->GetStandardDateEditMask(), "!99/99/99;1; ");
}

TEST_F(Formats, StartOfWeekFromTheLocale)
{
  const std::pair<const char*, int> cases[] = {{"0", 1}, {"5", 6}, {"6", 0}, {"", 1}, {"x", 1}};
  for (const auto& [locale, start] : cases) {
    TcxFormatControllerHooks hooks;
    const AnsiString value = locale;
    hooks.LocaleFirstDayOfWeek = [value] { return value; };
    cxFormats::TScopedFormatControllerHooks scope(hooks);
    cxFormats::GetFormatController()->UpdateFormats();
    EXPECT_EQ(cxFormats::GetFormatController()->GetStartOfWeek(), start) << locale;
  }
}

struct TListener : IcxFormatChangeListener {
  int Calls = 0;
  std::function<void()> OnChanged;
  void FormatChanged() override
  {
    ++Calls;
    if (OnChanged) OnChanged();
  }
};

TEST_F(Formats, SettingChangeTellsEveryListener)
{
  int reads = 0;
  bool follow = true;
  std::string handled;
  TcxFormatControllerHooks hooks;
  hooks.UpdateFormatSettings = [&] { return follow; };
  hooks.ReadLocaleFormatSettings = [&] {
    ++reads;
    SysUtils::ShortDateFormat = "d/m/yy";
  };
  hooks.HandleException = [&](const Exception& e) { handled = e.Message(); };
  cxFormats::TScopedFormatControllerHooks scope(hooks);

  TcxFormatController* controller = cxFormats::GetFormatController();
  TListener a, b;
  controller->AddListener(&a);
  controller->AddListener(&b);
  controller->AddListener(&a);
  EXPECT_EQ(controller->ListenerCount(), 2);
  EXPECT_TRUE(controller->HasWindow());

  EXPECT_FALSE(controller->HandleSettingChange(1, "intl"));
  EXPECT_FALSE(controller->HandleSettingChange(0, "Environment"));
  follow = false;
  EXPECT_FALSE(controller->HandleSettingChange(0, "intl"));
  follow = true;
  EXPECT_EQ(reads, 0);

  EXPECT_TRUE(controller->HandleSettingChange(0, "intl"));
  EXPECT_EQ(reads, 1);
  EXPECT_EQ(a.Calls, 1);
  EXPECT_EQ(b.Calls, 1);
  EXPECT_EQ(controller->GetDateEditFormat(), "dd/mm/yy");

  // a listener that leaves while being told, and one that fails
  a.OnChanged = [&] { controller->RemoveListener(&a); };
  b.OnChanged = [] { throw Exception("listener failed"); };
  EXPECT_TRUE(controller->HandleSettingChange(0, "intl"));
  EXPECT_EQ(handled, "listener failed");
  EXPECT_EQ(controller->ListenerCount(), 1);

  controller->RemoveListener(&b);
  controller->RemoveListener(&b);
  EXPECT_FALSE(controller->HasWindow());
}

}  // namespace
