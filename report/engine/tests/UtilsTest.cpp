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
#include "report/engine/model/frxReport.h"
#include "report/engine/data/frxDataSet.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/gdi/WinTypes.h"
#include "platform/sys/AppPaths.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

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
  MessageSeam::TScopedMessageBox box([&](const AnsiString& t, const AnsiString& c, unsigned f) {
    text = t;
    caption = c;
    flags = f;
    return IDOK;
  });
  frxUtils::ShowErrorBox("boom");
  EXPECT_EQ(text, "boom");
  EXPECT_EQ(caption, "错误");
  EXPECT_EQ(flags & MB_ICONERROR, MB_ICONERROR);
}

namespace {

// Window-layer classes, known to the search only by their class names.
class TCustomFrame : public TComponent {
  PELTO_CLASS(TCustomFrame, TComponent)
public:
  explicit TCustomFrame(TComponent* AOwner) : TComponent(AOwner) {}
};
class TDataModule : public TComponent {
  PELTO_CLASS(TDataModule, TComponent)
public:
  explicit TDataModule(TComponent* AOwner) : TComponent(AOwner) {}
};
class TDataModuleForm : public TComponent {
  PELTO_CLASS(TDataModuleForm, TComponent)
public:
  explicit TDataModuleForm(TComponent* AOwner) : TComponent(AOwner) {}
};

template <class T>
T* Named(T* c, const char* name)
{
  c->SetName(name);
  return c;
}

}  // namespace

TEST(FrxUtils, GetComponentListSearchesTheReportThenTheApplication)
{
  // A form holding the report, a frame on it, a data module, and a form of data modules.
  TComponent form(nullptr), dm(nullptr), other(nullptr);
  form.SetName("Form1");
  dm.SetName("DM");
  TDataModuleForm dmForm(nullptr);
  dmForm.SetName("DMForm");
  auto* report = Named(new TfrxReport(&form), "Report1");
  Named(new TfrxUserDataSet(report), "Own");
  auto* skip = Named(new TfrxUserDataSet(report), "Skipped");
  Named(new TComponent(report), "NotADataSet");
  Named(new TfrxUserDataSet(&form), "Users");
  auto* frame = Named(new TCustomFrame(&form), "Frame1");
  Named(new TfrxUserDataSet(frame), "FrameSet");
  Named(new TfrxUserDataSet(&dm), "Orders");
  auto* module = Named(new TDataModule(&dmForm), "Mod");
  Named(new TfrxUserDataSet(module), "Inner");
  Named(new TfrxUserDataSet(&other), "Elsewhere");  // a custom form of another class
  std::vector<TComponent*> globals{&form, &dm, &dmForm};
  Classes::RegisterFindGlobalComponentProc("UtilsTest", [&](const AnsiString& n) -> TComponent* {
    for (TComponent* g : globals)
      if (g->GetName() == n) return g;
    return nullptr;
  });

  TStringList l;
  frxUtils::GetComponentList(report, TfrxDataSet::StaticClass(), &l, skip);
  EXPECT_EQ(Joined(l), "Own");
  l.Add("stale");
  {
    TScopedFunction<frxUtils::TApplicationContainers()> containers(frxUtils::ApplicationContainersService(), [&] {
      return frxUtils::TApplicationContainers{{&form}, {&dm}, {&other, &dmForm}};
    });
    frxUtils::GetComponentList(report, TfrxDataSet::StaticClass(), &l, skip);
  }
  Classes::UnregisterFindGlobalComponentProc("UtilsTest");
  EXPECT_EQ(Joined(l), "Own|Users|Form1.Frame1.FrameSet|DM.Orders|DMForm.Mod.Inner");
  EXPECT_EQ(l.GetObjects(3), dm.FindComponent("Orders"));
}

TEST(FrxUtils, GetTempFileMakesANewFileInTheFolder)
{
  char made[] = "/tmp/frxutilsXXXXXX";
  ASSERT_NE(mkdtemp(made), nullptr);
  const AnsiString dir = made;
  struct {
    AnsiString Dir;
    AnsiString Folder;  // where the file must be
  } const cases[] = {
      {dir, dir + "/"},
      {dir + "/", dir + "/"},
      {"", AppPaths::TempDir()},
  };
  AnsiString previous;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Dir);
    AnsiString name = frxUtils::GetTempFile(c.Dir);
    EXPECT_EQ(name.substr(0, c.Folder.size() + 2), c.Folder + "fr");
    EXPECT_EQ(access(name.c_str(), F_OK), 0);
    EXPECT_NE(name, previous);
    previous = name;
    std::remove(name.c_str());
  }
  EXPECT_THROW(frxUtils::GetTempFile(dir + "/missing"), EInOutError);
  rmdir(made);
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

TEST(FrxUtils, DrawBitmapAndDrawGraphicStretchIntoTheRectangle)
{
  // A 2 x 2 picture: red, green / blue, white; drawn at 4x into a grey target at (10, 10).
  TBitmap pic;
  pic.SetPixelFormat(pf24bit);
  pic.SetSize(2, 2);
  pic.GetScanLine(0)[0] = 0xFF0000;
  pic.GetScanLine(0)[1] = 0x00FF00;
  pic.GetScanLine(1)[0] = 0x0000FF;
  pic.GetScanLine(1)[1] = 0xFFFFFF;
  struct {
    const char* What;
    void (*Draw)(TCanvas*, const RECT&, TBitmap*);
  } const cases[] = {
      {"bitmap", [](TCanvas* c, const RECT& r, TBitmap* b) { frxUtils::DrawBitmap(c, r, b); }},
      {"graphic", [](TCanvas* c, const RECT& r, TBitmap* b) { frxUtils::DrawGraphic(c, r, b); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    TBitmap target;
    target.SetSize(30, 30);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 30; ++x) target.GetScanLine(y)[x] = 0x808080;
    c.Draw(target.GetCanvas(), RECT{10, 10, 18, 18}, &pic);
    TBitmap empty;
    c.Draw(target.GetCanvas(), RECT{0, 0, 30, 30}, &empty);  // draws nothing
    struct {
      int X, Y;
      std::uint32_t Pixel;
    } const at[] = {
        {11, 11, 0xFF0000}, {16, 11, 0x00FF00}, {11, 16, 0x0000FF}, {16, 16, 0xFFFFFF},
        {9, 9, 0x808080},   {18, 18, 0x808080}, {25, 12, 0x808080},
    };
    for (const auto& p : at) EXPECT_EQ(target.GetScanLine(p.Y)[p.X] & 0xFFFFFF, p.Pixel) << p.X << "," << p.Y;
  }
}

TEST(FrxUtils, DrawTransparentBitmapLeavesOutTheTransparentColour)
{
  // The bottom-left pixel's colour (magenta) is the transparent one.
  TBitmap pic;
  pic.SetSize(2, 2);
  pic.GetScanLine(0)[0] = 0xFF0000;
  pic.GetScanLine(0)[1] = 0xFF00FF;
  pic.GetScanLine(1)[0] = 0xFF00FF;
  pic.GetScanLine(1)[1] = 0x00FF00;
  TBitmap target;
  target.SetSize(6, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) target.GetScanLine(y)[x] = 0x808080;
  frxUtils::DrawTransparentBitmap(target.GetCanvas(), 3, 2, &pic);
  struct {
    int X, Y;
    std::uint32_t Pixel;
  } const at[] = {
      {3, 2, 0xFF0000}, {4, 2, 0x808080}, {3, 3, 0x808080}, {4, 3, 0x00FF00}, {2, 2, 0x808080},
  };
  for (const auto& p : at) EXPECT_EQ(target.GetScanLine(p.Y)[p.X] & 0xFFFFFF, p.Pixel) << p.X << "," << p.Y;
  EXPECT_FALSE(pic.GetTransparent());
}
