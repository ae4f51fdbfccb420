// Text scanning, number text and page lists of the report library, and its text registry.
#include <gtest/gtest.h>

#include "platform/classes/Component.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/MessageSeam.h"
#include "platform/rtl/StringList.h"
#include "platform/classes/ClassRegistry.h"
#include "report/engine/ReportEngineModule.h"
#include "report/engine/design/frxDsgnIntf.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/model/frxUtils.h"
#include "report/engine/model/frxrcClass.h"

namespace {

AnsiString Joined(const TStringList& l)
{
  AnsiString r;
  for (Integer i = 0; i < l.GetCount(); ++i) r += (i ? "|" : "") + l[i];
  return r;
}

}  // namespace

TEST(FrxUtils, FindBracketedSkipsQuotesNestingAndDoubleByteTrails)
{
  struct {
    const char* text;
    int start;
    const char* result;
    int newStart, stop;
  } cases[] = {
      {"a [b] c", 1, "b", 3, 5},
      {"[x + ']' + \"]\"]", 1, "x + ']' + \"]\"", 1, 15},
      {"[[a]b] [c]", 1, "[a]b", 1, 6},
      {"[a] [c]", 4, "c", 5, 7},
      // The trail byte of 榛 is ']' in code page 936: not a closing bracket.
      {"[\xe9\x5d]", 1, "\xe9\x5d", 1, 4},
      {"[open", 1, "", 1, 1},
      {"none", 1, "", 1, 1},
      {"", 1, "", 1, 1},
      {"<%a%>", 1, "a", 1, 5},
  };
  for (auto& c : cases) {
    int start = c.start, stop = -1;
    bool twoChar = c.text[0] == '<';
    AnsiString r = frxUtils::FindBracketed(c.text, twoChar ? "<%" : "[", twoChar ? "%>" : "]", start, stop);
    EXPECT_EQ(r, c.result) << c.text;
    EXPECT_EQ(start, c.newStart) << c.text;
    EXPECT_EQ(stop, c.stop) << c.text;
  }
}

TEST(FrxUtils, SplitStringKeepsEmptyPiecesButNoTrailingOne)
{
  TStringList l;
  frxUtils::SplitString("a;;b", &l, ";");
  EXPECT_EQ(Joined(l), "a||b");
  EXPECT_EQ(l.GetCount(), 3);
  frxUtils::SplitString("a;b;", &l, ";");
  EXPECT_EQ(l.GetCount(), 2);
  frxUtils::SplitString("", &l, ";");
  EXPECT_EQ(l.GetCount(), 0);
  // A separator that is the trail byte of a double-byte character does not split.
  frxUtils::SplitString("\x81\x7c|x", &l, "|");
  EXPECT_EQ(l.GetCount(), 2);
  EXPECT_EQ(l[0], "\x81\x7c");
}

TEST(FrxUtils, NumberTexts)
{
  EXPECT_EQ(frxUtils::FloatToStrTwoDecimals(2), "2");
  EXPECT_EQ(frxUtils::FloatToStrTwoDecimals(2.5), "2.50");
  EXPECT_DOUBLE_EQ(static_cast<double>(frxUtils::StrToFloatAnySep(" 1,5 ")), 1.5);
  EXPECT_DOUBLE_EQ(static_cast<double>(frxUtils::StrToFloatAnySep("-2.25")), -2.25);
  char old = SysUtils::DecimalSeparator;
  SysUtils::DecimalSeparator = ',';
  EXPECT_DOUBLE_EQ(static_cast<double>(frxUtils::StrToFloatAnySep("3.75")), 3.75);
  SysUtils::DecimalSeparator = old;
  EXPECT_THROW(frxUtils::StrToFloatAnySep("abc"), EConvertError);
}

TEST(FrxUtils, ParsePageNumbers)
{
  TStringList l;
  frxUtils::ParsePageNumbers(" 1 , 3-5 ,8", &l, 10);
  EXPECT_EQ(Joined(l), "1|3|4|5|8");
  frxUtils::ParsePageNumbers("5-", &l, 7);
  EXPECT_EQ(Joined(l), "5|6|7");
  frxUtils::ParsePageNumbers("5-3", &l, 7);
  EXPECT_EQ(l.GetCount(), 0);
  frxUtils::ParsePageNumbers("  ", &l, 7);
  EXPECT_EQ(l.GetCount(), 0);
  EXPECT_THROW(frxUtils::ParsePageNumbers("1,x", &l, 7), EConvertError);
  EXPECT_THROW(frxUtils::ParsePageNumbers("1,,2", &l, 7), EConvertError);
}

TEST(FrxUtils, ErrorBoxUsesTheErrorCaption)
{
  frxrcClass::Initialize();
  AnsiString text, caption;
  unsigned flags = 0;
  auto old = MessageSeam::SetHandler([&](const AnsiString& t, const AnsiString& c, unsigned f) {
    text = t;
    caption = c;
    flags = f;
    return IDOK;
  });
  frxUtils::ShowErrorBox("boom");
  MessageSeam::SetHandler(old);
  EXPECT_EQ(text, "boom");
  EXPECT_EQ(caption, "错误");
  EXPECT_EQ(flags & MB_ICONERROR, MB_ICONERROR);
}

TEST(FrxResources, LookupIgnoresCaseAndAnswersMissingKeys)
{
  TfrxResources r;
  r.Add("mbError", "错误");
  EXPECT_EQ(r.Get("MBERROR"), "错误");
  EXPECT_EQ(r.Get("noSuchKey"), "noSuchKey");
  r.Add("MBerror", "新");
  EXPECT_EQ(r.Get("mbError"), "新");
}

namespace {

class TTextHolder : public TComponent {
  PELTO_CLASS(TTextHolder, TComponent)
public:
  using TConstructArg = TComponent*;
  explicit TTextHolder(TComponent* AOwner) : TComponent(AOwner) {}
  AnsiString Caption;
  Integer Count = 0;
  PELTO_PUBLISHED(p)
  {
    p.Property("Caption", &TTextHolder::Caption, &TTextHolder::Caption);
    p.Property("Count", &TTextHolder::Count, &TTextHolder::Count);
  }
};

class TTextForm : public TTextHolder {
  PELTO_CLASS(TTextForm, TTextHolder)
public:
  explicit TTextForm(TComponent* AOwner) : TTextHolder(AOwner) {}
};

}  // namespace

TEST(FrxResources, FormBlocksSetStringPropertiesOfTheFormAndItsComponents)
{
  TfrxResources r;
  TTextForm form(nullptr);
  auto* ok = new TTextHolder(&form);
  ok->SetName("OkB");
  r.ApplyFormTexts(&form);  // no block: nothing
  EXPECT_EQ(form.Caption, "");
  r.Add("TTextForm",
        "Caption=密码\r\nOkB.Caption=确定\r\nMissing.Caption=x\r\nOkB.Count=5\r\nOkB.Nope=1\r\n=bare\r\nnoequals");
  r.ApplyFormTexts(&form);
  EXPECT_EQ(form.Caption, "密码");
  EXPECT_EQ(ok->Caption, "确定");
  EXPECT_EQ(ok->Count, 0);  // not a string property
}

TEST(FrxResources, RunTimeTableIsRegistered)
{
  frxrcClass::Initialize();
  EXPECT_EQ(frxRes::Get("xrCantFindClass"), "未找到类");
  EXPECT_EQ(frxRes::Get("clDSNotExist"), "数据集 \"%s\" 不存在");
  EXPECT_EQ(frxRes::Get("TfrxProgress"), "CancelB.Caption=取消");
}

TEST(ReportEngineModule, StartsAgainAfterFinalize)
{
  ReportEngineModule::Initialize();
  ReportEngineModule::Finalize();
  EXPECT_EQ(frxDsgnIntf::ExportFilterRegistryIfAny(), nullptr);
  EXPECT_EQ(frxRes::Get("mbError"), "mbError");
  ReportEngineModule::Initialize();
  EXPECT_EQ(frxRes::Get("mbError"), "错误");
  EXPECT_NE(Classes::GetClass("TfrxMasterData"), nullptr);
  EXPECT_NE(Classes::GetClass("TfrxReportPage"), nullptr);
  EXPECT_NE(frxDsgnIntf::ExportFilterRegistryIfAny(), nullptr);
}
