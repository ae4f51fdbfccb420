// Printable objects drawn on bitmaps: frames (styles, widths, shadow), backgrounds, shapes and
// lines at the points that matter; and one page with every kind written as a PNG to look at.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/rtl/Streams.h"
#include "report/engine/ReportEngineModule.h"
#include "report/engine/barcode/frxBarcod.h"
#include "report/engine/data/frxDataSet.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/objects/frxMemoView.h"
#include "report/engine/objects/frxPictureView.h"
#include "report/engine/objects/frxView.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/testsupport/PixelCanvas.h"
#include "report/engine/text/frxGraphicUtils.h"

namespace {

template <class V>
std::unique_ptr<V> Make(Extended l, Extended t, Extended w, Extended h)
{
  auto v = std::make_unique<V>(nullptr);
  v->SetLeft(l);
  v->SetTop(t);
  v->SetWidth(w);
  v->SetHeight(h);
  return v;
}

TfrxFrameTypes AllSides() { return TfrxFrameTypes() << ftLeft << ftRight << ftTop << ftBottom; }

}  // namespace

TEST(ViewDraw, FrameSidesBackgroundAndScale)
{
  TPixelCanvas c(100, 100);
  auto v = Make<TfrxView>(10, 10, 30, 20);
  v->Color = kBlue;
  v->GetFrame()->Typ = TfrxFrameTypes() << ftLeft << ftBottom;
  v->Draw(c.DC, 2, 2, 5, 5);  // device box (25,25)-(85,65)
  EXPECT_EQ(v->FX, 25);
  EXPECT_EQ(v->FY1, 65);
  EXPECT_EQ(v->FrameWidthPx, 2);
  EXPECT_EQ(c.At(50, 45), kBlue);   // background inside
  EXPECT_EQ(c.At(25, 45), kBlack);  // left side
  EXPECT_EQ(c.At(50, 65), kBlack);  // bottom side
  EXPECT_EQ(c.At(84, 45), kBlue);   // no right side
  EXPECT_EQ(c.At(50, 25), kBlue);   // no top side
  EXPECT_EQ(c.At(90, 45), kWhite);
}

TEST(ViewDraw, FramesWithoutLinesStillCastTheirShadow)
{
  for (auto blank : {0, 1}) {
    TPixelCanvas c(100, 100);
    auto v = Make<TfrxView>(10, 10, 50, 50);
    v->GetFrame()->Typ = AllSides();
    v->GetFrame()->DropShadow = true;
    v->GetFrame()->ShadowColor = kRed;
    if (blank)
      v->GetFrame()->Width = 0;
    else
      v->GetFrame()->Color = clNone;
    v->Draw(c.DC, 1, 1, 0, 0);
    EXPECT_EQ(v->FX1, 56);            // the shadow stays inside the bounds
    EXPECT_EQ(c.At(10, 30), kWhite);  // no frame line
    EXPECT_EQ(c.At(58, 30), kRed);    // right shadow
    EXPECT_EQ(c.At(30, 58), kRed);    // bottom shadow
    EXPECT_EQ(c.At(58, 11), kWhite);  // starts one shadow width down
  }
}

TEST(ViewDraw, DashedFramesAreDrawnAsParallelOnePixelLines)
{
  TPixelCanvas c(100, 100);
  auto v = Make<TfrxView>(20, 20, 60, 60);
  v->GetFrame()->Typ = TfrxFrameTypes() << ftLeft;
  v->GetFrame()->Style = fsDot;
  v->GetFrame()->Width = 3;
  v->Draw(c.DC, 1, 1, 0, 0);
  // Three dotted columns at x = 19, 20, 21, each with gaps.
  for (int x : {19, 20, 21}) {
    int ink = c.Count({x, 20, x + 1, 80}, kBlack);
    EXPECT_GT(ink, 10) << x;
    EXPECT_LT(ink, 50) << x;
  }
  EXPECT_EQ(c.Count({22, 20, 30, 80}, kBlack), 0);
  EXPECT_EQ(c.Count({10, 20, 19, 80}, kBlack), 0);
}

TEST(ViewDraw, DoubleFrameHasTwoLinesAndTheObjectColourBetween)
{
  TPixelCanvas c(100, 100);
  auto v = Make<TfrxView>(20, 20, 60, 60);
  v->Color = kBlue;
  v->GetFrame()->Typ = AllSides();
  v->GetFrame()->Style = fsDouble;
  v->GetFrame()->Width = 2;
  v->Draw(c.DC, 1, 1, 0, 0);
  // Across the left side at mid height: outer line around x = 18, edge at 20, inner at 22.
  EXPECT_EQ(c.At(18, 50), kBlack);
  EXPECT_EQ(c.At(20, 50), kBlue);
  EXPECT_EQ(c.At(22, 50), kBlack);
  EXPECT_EQ(c.At(50, 50), kBlue);
  EXPECT_EQ(c.At(14, 50), kWhite);
}

TEST(ViewDraw, ShapesFillWhereTheirGeometrySays)
{
  struct Case {
    TfrxShapeKind Kind;
    POINT Inside, Outside;
  } cases[] = {
      {skRectangle, {12, 12}, {5, 5}},
      {skEllipse, {50, 50}, {13, 13}},  // a corner of the box is outside the ellipse
      {skRoundRectangle, {50, 12}, {10, 10}},
      {skTriangle, {50, 80}, {15, 15}},  // apex at the top middle
      {skDiamond, {50, 50}, {15, 85}},
  };
  for (auto& k : cases) {
    TPixelCanvas c(100, 100);
    auto s = Make<TfrxShapeView>(10, 10, 80, 80);
    s->Shape = k.Kind;
    s->Color = kRed;
    s->Draw(c.DC, 1, 1, 0, 0);
    EXPECT_EQ(c.At(k.Inside.x, k.Inside.y), kRed) << k.Kind;
    EXPECT_EQ(c.At(k.Outside.x, k.Outside.y), kWhite) << k.Kind;
  }
  TPixelCanvas c(100, 100);
  auto d = Make<TfrxShapeView>(10, 10, 80, 80);
  d->Shape = skDiagonal1;  // bottom-left to top-right
  d->Draw(c.DC, 1, 1, 0, 0);
  EXPECT_EQ(c.At(50, 50), kBlack);
  EXPECT_EQ(c.At(20, 20), kWhite);
  EXPECT_EQ(c.At(80, 20), kBlack);

  // A hatched shape over a colour: both show.
  TPixelCanvas h(100, 100);
  auto hs = Make<TfrxShapeView>(10, 10, 80, 80);
  hs->Color = kRed;
  hs->BrushStyle = bsCross;
  hs->Draw(h.DC, 1, 1, 0, 0);
  EXPECT_GT(h.Count({20, 20, 80, 80}, kRed), 100);
  EXPECT_GT(h.Count({20, 20, 80, 80}, kBlack), 100);
}

TEST(ViewDraw, StraightLinesAreNormalised)
{
  TPixelCanvas c(100, 100);
  auto l = Make<TfrxLineView>(20, 20, 10, 10);
  l->Draw(c.DC, 1, 1, 0, 0);
  EXPECT_EQ(l->GetWidth(), 0);  // the change stays in the object
  EXPECT_TRUE(l->GetFrame()->Typ.Contains(ftLeft));
  EXPECT_EQ(c.At(20, 25), kBlack);
  EXPECT_EQ(c.At(25, 20), kWhite);

  auto h = Make<TfrxLineView>(20, 60, 50, 5);
  h->Draw(c.DC, 1, 1, 0, 0);
  EXPECT_EQ(h->GetHeight(), 0);
  EXPECT_EQ(c.At(40, 60), kBlack);

  auto d = Make<TfrxLineView>(50, 10, 40, 40);
  d->Diagonal = true;
  d->GetFrame()->Width = 3;
  d->Draw(c.DC, 1, 1, 0, 0);
  EXPECT_EQ(d->GetWidth(), 40);
  EXPECT_EQ(c.At(70, 30), kBlack);
  EXPECT_EQ(c.At(70, 29), kBlack);  // three pixels thick
  EXPECT_EQ(c.At(85, 15), kWhite);
}

// A page with every kind of object, written out for people to look at.
TEST(ViewDraw, SamplePageAsPng)
{
  ReportEngineModule::Initialize();
  frxPictureView::Initialize();
  TPixelCanvas c(400, 430);
  auto frame = Make<TfrxView>(10, 10, 180, 60);
  frame->Color = RGB(255, 255, 200);
  frame->GetFrame()->Typ = AllSides();
  frame->GetFrame()->Style = fsDouble;
  frame->GetFrame()->Width = 2;
  frame->GetFrame()->DropShadow = true;
  frame->Draw(c.DC, 1, 1, 0, 0);
  TfrxShapeKind kinds[] = {skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiamond, skDiagonal1, skDiagonal2};
  for (int i = 0; i < 7; ++i) {
    auto s = Make<TfrxShapeView>(10 + i * 55, 90, 45, 45);
    s->Shape = kinds[i];
    s->Color = i % 2 ? kBlue : RGB(0, 160, 0);
    s->BrushStyle = i == 1 ? bsDiagCross : bsSolid;
    s->GetFrame()->Width = 2;
    s->Draw(c.DC, 1, 1, 0, 0);
  }
  TfrxFrameStyle styles[] = {fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble};
  for (int i = 0; i < 6; ++i) {
    auto l = Make<TfrxLineView>(10, 150 + i * 8, 180, 1);
    l->GetFrame()->Style = styles[i];
    l->Draw(c.DC, 1, 1, 0, 0);
  }
  TFont font;
  font.SetName("宋体");
  font.SetSize(10);
  TfrxDrawText& t = *frxGraphicUtils::frxDrawText();
  t.Lock();
  t.SetFont(&font);
  t.SetOptions(true, true, 0, false, false);
  t.SetGaps(0, 0, 0);
  RECT r{210, 10, 390, 140};
  t.SetDimensions(1, 1, RECT{0, 0, 180, 130}, r);
  TStringList lines;
  lines.SetText(
      "<b>合同管理</b> report text with <font color=\"#FF0000\">red</font>, <i>italic</i> and "
      "H<sub>2</sub>O, wrapped and justified across the width of the box.");
  t.SetText(&lines);
  t.DrawText(c.DC, haBlock, vaTop);
  t.SetOptions(false, false, 90, false, false);
  RECT up{210, 150, 240, 290};
  t.SetDimensions(1, 1, RECT{0, 0, 30, 140}, up);
  lines.SetText("旋转 90°");
  t.SetText(&lines);
  t.DrawText(c.DC, haLeft, vaTop);
  t.Unlock();

  auto sub = Make<TfrxSubreport>(260, 160, 120, 40);
  sub->SetName("Subreport1");
  sub->Draw(c.DC, 1, 1, 0, 0);

  // The text objects, a picture and a barcode symbol along the bottom.
  auto memo = Make<TfrxMemoView>(10, 300, 185, 50);
  memo->AllowHTMLTags = true;
  memo->SetText("<b>合同编号</b> HT-2026-001\r\n金额 <font color=\"#FF0000\">12,345.00</font> 元");
  memo->GetFont()->SetName("宋体");
  memo->GetFrame()->Typ = AllSides();
  memo->Color = RGB(230, 240, 255);
  memo->Draw(c.DC, 1, 1, 0, 0);
  auto sys = Make<TfrxSysMemoView>(205, 300, 185, 50);
  sys->SetText("第 1 页 / 共 3 页");
  sys->HAlign = haCenter;
  sys->VAlign = vaCenter;
  sys->GetFrame()->Typ = TfrxFrameTypes() << ftTop << ftBottom;
  sys->Draw(c.DC, 1, 1, 0, 0);
  auto picture = Make<TfrxPictureView>(10, 360, 90, 60);
  TBitmap* bmp = picture->GetPicture()->GetBitmap();
  bmp->SetSize(48, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 48; ++x) bmp->GetScanLine(y)[x] = (x * 5) << 16 | (y * 7) << 8 | 0xC0;  // 0x00RRGGBB
  picture->GetFrame()->Typ = AllSides();
  picture->Draw(c.DC, 1, 1, 0, 0);
  TfrxBarcode code;
  code.SetTyp(bcCodeEAN13);
  code.SetText("590123412345");
  code.SetChecksum(true);
  code.DrawInRect(c.DC, RECT{120, 360, 120 + 2 * 95, 420}, true);

  auto png = PngFile::SavePng(c.Bmp);
  ASSERT_FALSE(png.empty());
  auto path = std::filesystem::path(PELTO_TEST_OUTPUT) / "report-objects-page.png";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), png.size());
  EXPECT_GT(std::filesystem::file_size(path), 1000u);
  EXPECT_GT(c.Count({210, 10, 390, 140}, kRed), 3);
  EXPECT_GT(c.Count({10, 300, 195, 350}, kRed), 3);                   // the memo's red amount
  EXPECT_NE(c.Ink({206, 302, 389, 349}).right, 0);                    // the page text
  EXPECT_GT(c.Count({11, 361, 99, 419}, RGB(0x70, 0x70, 0xC0)), 10);  // the picture
  EXPECT_EQ(c.At(120, 380), kBlack);                                  // the first guard bar
}

TEST(ViewDraw, ShapesAndLinesRoundTripThroughTheReportFile)
{
  ReportEngineModule::Initialize();
  TfrxReport report(nullptr);
  auto* page = new TfrxReportPage(&report);
  page->SetName("Page1");
  auto* s = new TfrxShapeView(page);
  s->SetName("Shape1");
  s->SetBounds(10, 20, 30, 40);
  s->Shape = skDiamond;
  s->Color = kBlue;
  s->BrushStyle = bsCross;
  s->GetFrame()->Typ = TfrxFrameTypes() << ftLeft << ftBottom;
  s->GetFrame()->Style = fsDashDot;
  s->GetFrame()->Width = 2.5;
  auto* l = new TfrxLineView(page);
  l->SetName("Line1");
  l->Diagonal = true;
  l->GetFrame()->DropShadow = true;
  TMemoryStream stream;
  report.SaveToStream(&stream);
  stream.SetPosition(0);
  // The views share the platform's brush styles and keep their names in the file.
  AnsiString file(static_cast<const char*>(stream.GetMemory()), static_cast<size_t>(stream.GetSize()));
  EXPECT_NE(file.find("BrushStyle=\"bsCross\""), AnsiString::npos);
  TBrush brush;
  brush.SetStyle(s->BrushStyle);
  EXPECT_EQ(brush.GetStyle(), bsCross);

  TfrxReport copy(nullptr);
  copy.LoadFromStream(&stream);
  EXPECT_EQ(copy.GetErrors()->GetCount(), 0);
  auto* s2 = dynamic_cast<TfrxShapeView*>(copy.FindObject("Shape1"));
  auto* l2 = dynamic_cast<TfrxLineView*>(copy.FindObject("Line1"));
  ASSERT_TRUE(s2 && l2);
  EXPECT_EQ(s2->Shape, skDiamond);
  EXPECT_EQ(s2->Color, static_cast<TColor>(kBlue));
  EXPECT_EQ(s2->BrushStyle, bsCross);
  EXPECT_EQ(s2->GetFrame()->Typ, s->GetFrame()->Typ);
  EXPECT_EQ(s2->GetFrame()->Style, fsDashDot);
  EXPECT_EQ(s2->GetFrame()->Width, 2.5);
  EXPECT_EQ(s2->GetTop(), 20);
  EXPECT_TRUE(l2->Diagonal);
  EXPECT_TRUE(l2->GetFrame()->DropShadow);
  EXPECT_EQ(s2->GetClassCaption(), "形状对象");
}

TEST(ViewDraw, DataBindingAndSubreportLinks)
{
  ReportEngineModule::Initialize();
  TfrxReport report(nullptr);
  auto* page = new TfrxReportPage(&report);
  auto* v = new TfrxView(page);
  auto* ds = new TfrxUserDataSet(&report);
  ds->SetUserName("Orders");
  v->SetDataSetName("orders");
  EXPECT_EQ(v->GetDataSet(), ds);
  EXPECT_EQ(v->GetDataSetName(), "Orders");
  EXPECT_FALSE(v->IsDataField());
  v->DataField = "Amount";
  EXPECT_TRUE(v->IsDataField());
  delete ds;
  EXPECT_EQ(v->GetDataSet(), nullptr);
  EXPECT_EQ(v->GetDataSetName(), "orders");  // the stored name stays

  auto* page2 = new TfrxReportPage(&report);
  {
    TfrxSubreport sub(page);
    sub.SetName("Sub1");
    sub.SetPage(page2);
    EXPECT_EQ(page2->Subreport, &sub);
    EXPECT_TRUE(sub.GetFrame()->Typ.Contains(ftBottom));
    EXPECT_EQ(sub.GetClassCaption(), "子报表对象");

    sub.SetBounds(0, 0, 80, 30);
    TPixelCanvas c(100, 50);
    sub.Draw(c.DC, 1, 1, 0, 0);
    EXPECT_EQ(c.At(40, 25), RGB(192, 192, 192));
    EXPECT_EQ(c.At(0, 15), kBlack);
    EXPECT_GT(c.Count({2, 2, 40, 15}, kBlack), 5);  // its name
  }
  EXPECT_EQ(page2->Subreport, nullptr);
  TfrxSubreport sub2(nullptr);
  sub2.SetPage(page2);
  delete page2;
  EXPECT_EQ(sub2.GetPage(), nullptr);
}

TEST(ViewDraw, DifferenceTextNamesOnlyWhatChanged)
{
  TfrxShapeView ref(nullptr), s(nullptr);
  EXPECT_EQ(s.WriteDiff(&ref), "");
  s.Color = kRed;
  s.GetFrame()->Typ = TfrxFrameTypes() << ftLeft << ftTop;
  s.GetFrame()->Width = 1.5;
  s.TagStr = "a<b";
  s.Shape = skEllipse;
  s.Printable = false;
  EXPECT_EQ(s.WriteDiff(&ref),
            " Color=\"255\" Frame.Typ=\"5\" Frame.Width=\"1.5\" Printable=\"False\""
            " TagStr=\"a&#60;b\" Shape=\"2\"");
}
