// The barcode object: its defaults, the size that follows the symbol, and its text taken from
// an expression; drawn on a bitmap.
#include <gtest/gtest.h>

#include <array>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Variants.h"
#include "report/engine/ReportEngineModule.h"
#include "report/engine/design/frxDsgnIntf.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/objects/frxBarcode.h"
#include "report/engine/serialize/frxXMLSerializer.h"
#include "platform/testsupport/PixelCanvas.h"

namespace {

class BarcodeView : public testing::Test {
protected:
  static void SetUpTestSuite() { ReportEngineModule::Initialize(); }
  // Draws V at 1:1 on a fresh canvas; answers the object's bounds afterwards.
  static std::array<Extended, 4> Drawn(TfrxBarCodeView& V)
  {
    TPixelCanvas c(600, 400);
    V.Draw(c.DC, 1, 1, 0, 0);
    return {V.GetLeft(), V.GetTop(), V.GetWidth(), V.GetHeight()};
  }
};

TEST_F(BarcodeView, NewObjectIsCode39OfTheDefaultTextWithItsText)
{
  TfrxBarCodeView v(nullptr);
  EXPECT_EQ(v.BarType, bcCode39);
  EXPECT_EQ(v.Text, "12345678");
  EXPECT_TRUE(v.ShowText);
  EXPECT_EQ(v.GetClassCaption(), "条码对象");
  v.SetBounds(10, 10, 50, 60);
  TPixelCanvas c(400, 200);
  v.Draw(c.DC, 1, 1, 0, 0);
  TfrxBarcode b;
  b.SetTyp(bcCode39);
  b.SetText("12345678");
  EXPECT_DOUBLE_EQ(v.GetWidth(), b.GetWidth());
  EXPECT_NE(c.Ink(RECT{0, 0, 400, 200}).right, 0);
}

TEST_F(BarcodeView, SizeFollowsTheSymbol)
{
  TfrxBarcode ref;
  ref.SetTyp(bcCode39);
  ref.SetText("12345678");
  const Extended w = ref.GetWidth();
  struct Case {
    const char* Name;
    Integer Rotation;
    TfrxHAlign Align;
    Extended Zoom;
    std::array<Extended, 4> Bounds;  // left, top, width, height after drawing
  };
  const Case cases[] = {
      {"left edge stays", 0, haLeft, 1, {100, 20, w, 60}},
      {"right edge stays", 0, haRight, 1, {100 + 50 - w, 20, w, 60}},
      {"centre stays", 0, haCenter, 1, {100 + (50 - w) / 2, 20, w, 60}},
      {"zoom doubles", 0, haLeft, 2, {100, 20, 2 * w, 60}},
      {"zoom 0 is 1", 0, haLeft, 0, {100, 20, w, 60}},
      {"turned: height follows, width stays", 90, haRight, 1, {100, 20, 50, w}},
  };
  for (const Case& k : cases) {
    TfrxBarCodeView v(nullptr);
    v.SetBounds(100, 20, 50, 60);
    v.Rotation = k.Rotation;
    v.HAlign = k.Align;
    v.Zoom = k.Zoom;
    auto got = Drawn(v);
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(got[i], k.Bounds[i], 1e-6) << k.Name << " " << i;
  }
}

TEST_F(BarcodeView, EncoderErrorsReachTheCaller)
{
  TfrxBarCodeView v(nullptr);
  v.BarType = bcCodeEAN13;
  v.Text = "ABC";
  TPixelCanvas c(200, 100);
  EXPECT_THROW(v.Draw(c.DC, 1, 1, 0, 0), Exception);
}

TEST_F(BarcodeView, ExpressionGivesTheTextAndTheTemplateKeepsItsOwn)
{
  TfrxReport r(nullptr);
  auto* page = new TfrxReportPage(&r);
  auto* band = new TfrxReportTitle(page);
  auto* v = new TfrxBarCodeView(band);
  v->Expression = "1000 + 234";
  v->SaveBounds();
  v->FetchData();
  EXPECT_EQ(v->Text, "1234");
  v->RestoreBounds();
  EXPECT_EQ(v->Text, "12345678");
}

TEST_F(BarcodeView, FileFormatAndRegistrations)
{
  TfrxBarCodeView v(nullptr);
  v.BarType = bcCodeEAN128B;
  v.Rotation = 270;
  v.Text = "合同-1";
  TfrxXMLSerializer s(nullptr);
  AnsiString text = s.WriteComponentStr(&v);
  EXPECT_NE(text.find("BarType=\"bcCodeEAN128B\""), AnsiString::npos) << text;
  TfrxReportTitle holder(nullptr);
  auto* back = dynamic_cast<TfrxBarCodeView*>(s.ReadComponentStr(&holder, text));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->BarType, bcCodeEAN128B);
  EXPECT_EQ(back->Rotation, 270);
  EXPECT_EQ(back->Text, "合同-1");

  bool registered = false;
  TfrxObjectCollection* objects = frxDsgnIntf::ObjectRegistry();
  for (int i = 0; i < objects->GetCount(); ++i)
    if (objects->GetItems(i)->ClassRef == TfrxBarCodeView::StaticClass()) registered = true;
  EXPECT_TRUE(registered);
  TfrxReport r(nullptr);
  ASSERT_TRUE(r.PrepareScript());
  EXPECT_EQ(r.Calc("bcCodeEAN13").AsInteger(), static_cast<Integer>(bcCodeEAN13));
}

}  // namespace
