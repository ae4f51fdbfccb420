// Dot-matrix pages: snapping of text objects, lines and bands to the character cells, the paper
// snapped to whole cells, the page font and its style flags, the flags in the report file and
// in prepared pages, the registrations, and a small page with Chinese text drawn as a PNG.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "platform/classes/ClassRegistry.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/rtl/Streams.h"
#include "report/engine/ReportEngineModule.h"
#include "report/engine/design/frxDsgnIntf.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/objects/frxDMPClass.h"
#include "report/engine/model/frxPaper.h"
#include "platform/testsupport/PixelCanvas.h"

namespace {

constexpr Extended kEps = 1e-9;

class DotMatrix : public testing::Test {
protected:
  void SetUp() override
  {
    ReportEngineModule::Initialize();
    Report = std::make_unique<TfrxReport>(nullptr);
    Page = new TfrxDMPPage(Report.get());
    Page->SetName("Page1");
    Band = new TfrxMasterData(Page);
    Band->SetName("MasterData1");
    Band->SetTop(17);
    Band->SetHeight(85);
  }
  TfrxDMPMemoView* Memo(const AnsiString& Name, const AnsiString& Text = AnsiString())
  {
    auto* m = new TfrxDMPMemoView(Band);
    m->SetName(Name);
    m->SetText(Text);
    return m;
  }
  static AnsiString Xml(TMemoryStream& s)
  {
    return AnsiString(static_cast<const char*>(s.GetMemory()), static_cast<size_t>(s.GetSize()));
  }
  // The attributes of the element whose Name is Name.
  static AnsiString ElementOf(const AnsiString& Xml, const AnsiString& Name)
  {
    size_t at = Xml.find("Name=\"" + Name + "\"");
    if (at == AnsiString::npos) return AnsiString();
    size_t start = Xml.rfind('<', at), end = Xml.find('>', at);
    return Xml.substr(start, end - start);
  }

  std::unique_ptr<TfrxReport> Report;
  TfrxDMPPage* Page = nullptr;
  TfrxBand* Band = nullptr;
};

}  // namespace

TEST_F(DotMatrix, TextObjectsSnapToTheCharacterCells)
{
  struct Case {
    const char* What;
    TfrxAlign Align;
    void (TfrxComponent::*Set)(Extended);
    Extended (TfrxComponent::*Get)() const;
    Extended Value, Expected;
  } cases[] = {
      {"left rounds to a column", baNone, &TfrxComponent::SetLeft, &TfrxComponent::GetLeft, 100, 96},
      {"left rounds up", baNone, &TfrxComponent::SetLeft, &TfrxComponent::GetLeft, 105, 105.6},
      {"right-aligned left truncates", baRight, &TfrxComponent::SetLeft, &TfrxComponent::GetLeft, 105, 96},
      {"right-aligned left on a column stays", baRight, &TfrxComponent::SetLeft, &TfrxComponent::GetLeft, 105.6, 105.6},
      {"top rounds to a row", baNone, &TfrxComponent::SetTop, &TfrxComponent::GetTop, 30, 34},
      {"height rounds to a row", baNone, &TfrxComponent::SetHeight, &TfrxComponent::GetHeight, 30, 34},
      {"a short height vanishes", baNone, &TfrxComponent::SetHeight, &TfrxComponent::GetHeight, 8, 0},
      {"half a row rounds to even", baNone, &TfrxComponent::SetHeight, &TfrxComponent::GetHeight, 25.5, 34},
      {"width rounds to a column", baNone, &TfrxComponent::SetWidth, &TfrxComponent::GetWidth, 100, 96},
  };
  for (const Case& c : cases) {
    TfrxDMPMemoView m(Band);
    m.Align = c.Align;
    (m.*c.Set)(c.Value);
    EXPECT_NEAR((m.*c.Get)(), c.Expected, 1e-6) << c.What;
  }

  // A line runs through the middle of its cell; its size stays as given.
  TfrxDMPLineView line(Band);
  line.SetBounds(10, 10, 33, 5);
  EXPECT_NEAR(line.GetLeft(), 14.4, kEps);
  EXPECT_NEAR(line.GetTop(), 8.5, kEps);
  EXPECT_EQ(line.GetWidth(), 33);
  EXPECT_EQ(line.GetHeight(), 5);
  line.SetBounds(19.2, 17, 0, 0);  // exactly on a cell boundary
  EXPECT_NEAR(line.GetLeft(), 24, kEps);
  EXPECT_NEAR(line.GetTop(), 25.5, kEps);

  // The restrictions still hold for a designed object.
  TfrxDMPMemoView fixed(Band);
  fixed.SetLeft(96);
  fixed.SetIsDesigning(true);
  fixed.SetRestrictions(TfrxRestrictions{rfDontMove});
  fixed.SetLeft(200);
  EXPECT_NEAR(fixed.GetLeft(), 96, kEps);

  // Measured sizes come in whole rows and columns.
  TfrxDMPMemoView* m = Memo("Measured", "合同\r\n第二行");
  m->SetWidth(192);
  EXPECT_EQ(std::fmod(m->CalcHeight(), 17.0), 0) << m->CalcHeight();
  EXPECT_GE(m->CalcHeight(), 34);
  Extended w = m->CalcWidth();
  EXPECT_NEAR(w / 9.6, std::nearbyint(w / 9.6), 1e-9) << w;
  EXPECT_GT(w, 0);
}

TEST_F(DotMatrix, BandsSnapOnlyOnADotMatrixPage)
{
  Band->SetTop(30);
  Band->SetLeft(15);
  Band->SetHeight(40);
  EXPECT_EQ(Band->GetTop(), 34);
  EXPECT_NEAR(Band->GetLeft(), 19.2, kEps);
  EXPECT_EQ(Band->GetHeight(), 34);

  TfrxReportPage plain(nullptr);
  auto* band = new TfrxMasterData(&plain);
  band->SetTop(30);
  band->SetLeft(15);
  band->SetHeight(40);
  EXPECT_EQ(band->GetTop(), 30);
  EXPECT_EQ(band->GetLeft(), 15);
  EXPECT_EQ(band->GetHeight(), 40);
}

TEST_F(DotMatrix, PaperSnapsToWholeCells)
{
  // 210 mm is 82.68 columns: 83 columns, 210.82 mm.
  Page->SetPaperWidth(210);
  EXPECT_NEAR(Page->GetPaperWidth(), 83 * 9.6 / 3.77953, kEps);
  EXPECT_NEAR(Page->GetPaperWidth(), 210.82, 0.01);
  EXPECT_EQ(Page->GetPaperSize(), 256);
  Page->SetPaperHeight(100);  // 22.23 rows: 22
  EXPECT_NEAR(Page->GetPaperHeight(), 22 * 17 / 3.77953, kEps);
  EXPECT_EQ(Page->GetHeight(), 374);

  // A paper of the table keeps its number with both sides snapped; so does a fresh page.
  Page->SetPaperSize(9);
  EXPECT_EQ(Page->GetPaperSize(), 9);
  EXPECT_NEAR(Page->GetPaperWidth(), 83 * 9.6 / 3.77953, kEps);
  EXPECT_NEAR(Page->GetPaperHeight(), 66 * 17 / 3.77953, kEps);
  TfrxDMPPage fresh(nullptr);
  EXPECT_NEAR(fresh.GetPaperWidth(), 83 * 9.6 / 3.77953, kEps);
  EXPECT_NEAR(fresh.GetPaperHeight(), 66 * 17 / 3.77953, kEps);

  // Defaults: one cell of margin, the printer's paper truncated to whole cells.
  {
    TScopedFunction<frxPrinter::TDefaultPaper()> paper(frxPrinter::DefaultPaperService(), [] {
      return frxPrinter::TDefaultPaper{9, 210, 297, false};
    });
    Page->SetDefaults();
  }
  EXPECT_NEAR(Page->LeftMargin, 2.5399983595843927, 1e-12);
  EXPECT_NEAR(Page->RightMargin, 2.5399983595843927, 1e-12);
  EXPECT_NEAR(Page->TopMargin, 4.497913761764029, 1e-12);
  EXPECT_NEAR(Page->BottomMargin, 4.497913761764029, 1e-12);
  EXPECT_NEAR(Page->GetPaperWidth(), 82 * 9.6 / 3.77953, kEps);
  EXPECT_NEAR(Page->GetPaperHeight(), 66 * 17 / 3.77953, kEps);
  EXPECT_EQ(Page->GetPaperSize(), 9);
  EXPECT_EQ(Page->GetWidth(), 787);  // 82 columns of 9.6
}

TEST_F(DotMatrix, FontFollowsTheStyleFlags)
{
  TfrxDMPMemoView* follows = Memo("Follows");
  TfrxDMPMemoView* own = Memo("Own");
  own->SetFontStyle(TfrxDMPFontStyles{fsxItalic, fsxCondensed});
  auto* line = new TfrxDMPLineView(Band);

  EXPECT_EQ(Page->GetFont()->GetName(), "Courier New");
  EXPECT_EQ(Page->GetFont()->GetSize(), 12);
  EXPECT_EQ(follows->GetFont()->GetName(), "Courier New");
  EXPECT_TRUE(follows->GetParentFont());
  EXPECT_EQ(follows->GapX, 0);
  EXPECT_EQ(follows->GapY, 0);
  EXPECT_EQ(follows->LineSpacing, 1);
  EXPECT_EQ(follows->CharSpacing, 0);
  EXPECT_FALSE(own->GetParentFont());
  EXPECT_EQ(own->GetFont()->GetStyle(), TFontStyles{fsItalic});  // the printer-only flag draws nothing

  // Bold on the page reaches every object that follows the parent font, flags and all.
  Page->SetFontStyle(TfrxDMPFontStyles{fsxBold});
  EXPECT_EQ(Page->GetFont()->GetStyle(), TFontStyles{fsBold});
  EXPECT_EQ(Band->GetFont()->GetStyle(), TFontStyles{fsBold});
  EXPECT_EQ(follows->GetFont()->GetStyle(), TFontStyles{fsBold});
  EXPECT_EQ(follows->GetFontStyle(), TfrxDMPFontStyles{fsxBold});
  EXPECT_TRUE(follows->GetParentFont());
  EXPECT_EQ(line->GetFontStyle(), TfrxDMPFontStyles{fsxBold});
  EXPECT_EQ(own->GetFont()->GetStyle(), TFontStyles{fsItalic});
  EXPECT_EQ(own->GetFontStyle(), (TfrxDMPFontStyles{fsxItalic, fsxCondensed}));

  // A new object on the page starts with the page's flags; taking the parent font again
  // brings them back after its own.
  TfrxDMPMemoView* later = Memo("Later");
  EXPECT_EQ(later->GetFontStyle(), TfrxDMPFontStyles{fsxBold});
  EXPECT_EQ(later->GetFont()->GetStyle(), TFontStyles{fsBold});
  own->SetParentFont(true);
  EXPECT_EQ(own->GetFontStyle(), TfrxDMPFontStyles{fsxBold});
  EXPECT_EQ(own->GetFont()->GetStyle(), TFontStyles{fsBold});
  line->SetFontStyle(TfrxDMPFontStyles{fsxWide});
  EXPECT_FALSE(line->GetParentFont());
}

TEST_F(DotMatrix, TheReportFileKeepsTheFlagsAsANumber)
{
  Page->SetFontStyle(TfrxDMPFontStyles{fsxBold});
  TfrxDMPMemoView* plain = Memo("Plain", "随页面字体");
  TfrxDMPMemoView* bu = Memo("BoldUnder", "粗体下划线");
  bu->SetFontStyle(TfrxDMPFontStyles{fsxBold, fsxUnderline});
  TfrxDMPMemoView* all = Memo("All", "全部");
  all->SetFontStyle(TfrxDMPFontStyles::FromMask(0x1FF));
  TfrxDMPMemoView* right = Memo("Right", "右");
  right->Align = baRight;
  right->SetLeft(105);  // 96
  auto* line = new TfrxDMPLineView(Band);
  line->SetName("Line1");
  line->SetFontStyle(TfrxDMPFontStyles{fsxWide});

  TMemoryStream s;
  Report->SaveToStream(&s);
  AnsiString xml = Xml(s);
  EXPECT_NE(ElementOf(xml, "Page1").find(" FontStyle=\"1\""), AnsiString::npos) << ElementOf(xml, "Page1");
  EXPECT_NE(ElementOf(xml, "BoldUnder").find(" FontStyle=\"5\""), AnsiString::npos) << ElementOf(xml, "BoldUnder");
  EXPECT_NE(ElementOf(xml, "BoldUnder").find(" ParentFont=\"False\""), AnsiString::npos);
  EXPECT_NE(ElementOf(xml, "All").find(" FontStyle=\"511\""), AnsiString::npos);
  EXPECT_NE(ElementOf(xml, "Line1").find(" FontStyle=\"64\""), AnsiString::npos) << ElementOf(xml, "Line1");
  EXPECT_EQ(ElementOf(xml, "Plain").find("FontStyle"), AnsiString::npos) << ElementOf(xml, "Plain");
  EXPECT_EQ(ElementOf(xml, "Plain").find("Font."), AnsiString::npos);
  EXPECT_NE(ElementOf(xml, "Plain").find("<TfrxDMPMemoView"), AnsiString::npos);

  TfrxReport copy(nullptr);
  s.SetPosition(0);
  copy.LoadFromStream(&s);
  EXPECT_EQ(copy.GetErrors()->GetCount(), 0) << copy.GetErrors()->GetText();
  auto* page = dynamic_cast<TfrxDMPPage*>(copy.FindObject("Page1"));
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->GetFontStyle(), TfrxDMPFontStyles{fsxBold});
  auto* bu2 = dynamic_cast<TfrxDMPMemoView*>(copy.FindObject("BoldUnder"));
  ASSERT_NE(bu2, nullptr);
  EXPECT_EQ(bu2->GetFontStyle().Mask(), 5u);
  EXPECT_EQ(bu2->GetFont()->GetName(), "Courier New");
  EXPECT_EQ(bu2->GetFont()->GetStyle(), (TFontStyles{fsBold, fsUnderline}));
  EXPECT_EQ(bu2->GetText(), "粗体下划线");
  EXPECT_EQ(dynamic_cast<TfrxDMPMemoView*>(copy.FindObject("All"))->GetFontStyle().Mask(), 511u);
  auto* plain2 = dynamic_cast<TfrxDMPMemoView*>(copy.FindObject("Plain"));
  EXPECT_TRUE(plain2->GetParentFont());
  EXPECT_EQ(plain2->GetFontStyle(), TfrxDMPFontStyles{fsxBold});
  EXPECT_EQ(plain2->GetFont()->GetStyle(), TFontStyles{fsBold});
  EXPECT_NEAR(copy.FindObject("Right")->GetLeft(), 96, kEps);  // a stored column does not drift
  EXPECT_EQ(dynamic_cast<TfrxDMPLineView*>(copy.FindObject("Line1"))->GetFontStyle().Mask(), 64u);

  // Only the nine flags are kept from a file.
  TMemoryStream one;
  bu->SaveToStream(&one);
  AnsiString text = Xml(one);
  size_t at = text.find("FontStyle=\"5\"");
  ASSERT_NE(at, AnsiString::npos);
  text.replace(at, 13, "FontStyle=\"65535\"");
  TMemoryStream bad;
  bad.Write(text.data(), static_cast<Int64>(text.size()));
  bad.SetPosition(0);
  TfrxDMPMemoView x(nullptr);
  x.LoadFromStream(&bad);
  EXPECT_EQ(x.GetFontStyle().Mask(), 511u);

  // Prepared pages write the flags after the text object's own differences.
  TfrxDMPMemoView reference(nullptr);
  AnsiString diff = bu->WriteDiff(&reference);
  EXPECT_NE(diff.find(" x=\""), AnsiString::npos);
  EXPECT_EQ(diff.substr(diff.size() - 14), " FontStyle=\"5\"") << diff;
  EXPECT_EQ(plain->WriteDiff(plain).find("FontStyle"), AnsiString::npos);
  TfrxDMPLineView lineReference(nullptr);
  EXPECT_NE(line->WriteDiff(&lineReference).find(" FontStyle=\"64\""), AnsiString::npos);
}

TEST_F(DotMatrix, ClassesAreRegistered)
{
  // Other suites free and recreate the registries; the unit's start-up fills them again, once.
  frxDMPClass::Initialize();
  frxDMPClass::Initialize();
  EXPECT_EQ(Classes::GetClass("TfrxDMPPage"), TfrxDMPPage::StaticClass());
  TfrxObjectCollection* objects = frxDsgnIntf::ObjectRegistry();
  auto find = [&](TClass c) -> TfrxObjectItem* {
    for (int i = 0; i < objects->GetCount(); ++i)
      if (objects->GetItems(i)->ClassRef == c) return objects->GetItems(i);
    return nullptr;
  };
  TfrxObjectItem* memo = find(TfrxDMPMemoView::StaticClass());
  TfrxObjectItem* line = find(TfrxDMPLineView::StaticClass());
  int entries = 0;
  for (int i = 0; i < objects->GetCount(); ++i)
    entries += objects->GetItems(i)->ClassRef == TfrxDMPMemoView::StaticClass();
  EXPECT_EQ(entries, 1);
  ASSERT_NE(memo, nullptr);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(memo->ButtonImageIndex, 2);
  EXPECT_EQ(line->ButtonImageIndex, 5);
  EXPECT_EQ(memo->Flags, 0);
  EXPECT_TRUE(memo->ButtonHint.empty());
  EXPECT_TRUE(memo->CategoryName.empty());
  EXPECT_FALSE(memo->ButtonBmp);
  EXPECT_EQ(Memo("M1")->GetClassCaption(), "点阵文本对象");
  EXPECT_EQ(TfrxDMPLineView(nullptr).GetClassCaption(), "点阵线对象");
}

TEST_F(DotMatrix, SmallPageWithChineseTextAsPNG)
{
  TPixelCanvas c(420, 200);
  TfrxDMPMemoView* title = Memo("Title", "合同编号: HT-2026-001");
  title->SetBounds(96, 0, 288, 17);
  title->SetFontStyle(TfrxDMPFontStyles{fsxBold, fsxUnderline});
  TfrxDMPMemoView* boxed = Memo("Boxed", "甲方: 澜岳科技有限公司\r\n金额: 12,345.00 元");
  boxed->SetBounds(96, 34, 288, 34);
  boxed->GetFrame()->Typ = TfrxFrameTypes{ftLeft, ftRight, ftTop, ftBottom};
  auto* line = new TfrxDMPLineView(Band);
  line->SetBounds(96, 85, 288, 0);
  for (TfrxComponent* o : Band->GetObjects()) static_cast<TfrxView*>(o)->Draw(c.DC, 1, 1, 0, 0);

  auto png = PngFile::SavePng(c.Bmp);
  ASSERT_FALSE(png.empty());
  auto path = std::filesystem::path(PELTO_TEST_OUTPUT) / "report-dot-matrix-page.png";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), png.size());

  // The frame lies half a cell outside the boxed text: the band starts at 17, the box at 51.
  RECT frame = c.Ink({80, 40, 400, 95});
  EXPECT_EQ(frame.left, 91);
  EXPECT_EQ(frame.top, 42);  // 42.5, halves to even
  EXPECT_NE(c.At(91, 70), RGB(255, 255, 255));
  EXPECT_EQ(c.At(93, 70), RGB(255, 255, 255));  // inside the frame, left of the first column
  // The title's text starts at its first column: no gap.
  RECT title_ink = c.Ink({80, 17, 400, 34});
  EXPECT_GE(title_ink.left, 96);
  EXPECT_LE(title_ink.left, 98);
  // The line runs through the middle of its row: 17 + 85 + 8.5.
  EXPECT_NE(c.Ink({100, 105, 380, 115}).right, 0);
}
