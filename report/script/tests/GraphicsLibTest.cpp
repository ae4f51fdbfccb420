// Drawing from scripts: shapes, Chinese text, StretchDraw and Pixels on a bitmap's canvas, sizes
// through TGraphic, font styles as sets, a metafile recorded through a metafile canvas, and the
// reference device of a metafile canvas.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/graphics/Metafile.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "report/script/host/fs_ihandles.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/tests/UiScriptTestUtil.h"

namespace {

const char* const kDrawing = R"(
var B, Small: TBitmap; MF: TMetafile; MC: TMetafileCanvas; Cv: TCanvas; Style, Red: Integer;
begin
  B := TBitmap.Create;
  B.Width := 240;
  B.Height := 160;
  Cv := B.Canvas;
  Cv.Pen.Color := clWhite;
  Cv.Brush.Color := clWhite;
  Cv.Rectangle(0, 0, 240, 160);
  Cv.Pen.Color := clBlue;
  Cv.MoveTo(0, 2);
  Cv.LineTo(240, 2);
  Cv.Pen.Color := clRed;
  Cv.Brush.Color := clRed;
  Cv.Rectangle(10, 10, 50, 40);
  Cv.Pen.Color := clLime;
  Cv.Brush.Color := clLime;
  Cv.Ellipse(60, 10, 100, 40);
  Cv.Pen.Color := clBlack;
  Cv.Brush.Color := clYellow;
  Cv.RoundRect(110, 10, 150, 40, 12, 12);
  Cv.Font.Name := '宋体';
  Cv.Font.Size := 14;
  Cv.Font.Color := clNavy;
  Cv.Font.Style := fsBold + fsItalic;
  Style := Cv.Font.Style;
  Cv.Brush.Style := bsClear;
  Cv.TextOut(10, 50, '合同管理');

  Small := TBitmap.Create;
  Small.Width := 2;
  Small.Height := 2;
  Small.Canvas.Pixels[0, 0] := clFuchsia;
  Small.Canvas.Pixels[1, 0] := clFuchsia;
  Small.Canvas.Pixels[0, 1] := clFuchsia;
  Small.Canvas.Pixels[1, 1] := clFuchsia;
  Cv.StretchDraw(0, 100, 100, 150, Small);
  Small.Free;

  MF := TMetafile.Create;
  MF.Width := 40;
  MF.Height := 30;
  MC := TMetafileCanvas.Create(MF, 0);
  MC.Pen.Color := clTeal;
  MC.Brush.Color := clTeal;
  MC.Rectangle(0, 0, 40, 30);
  MC.Free;
  Cv.Draw(180, 100, MF);
  MF.Free;

  Cv.Pixels[230, 150] := clRed;
  Red := Cv.Pixels[230, 150];
end.
)";

class GraphicsLibTest : public UiScriptTest {};

TEST_F(GraphicsLibTest, AScriptDrawsShapesTextAndPicturesOnABitmap)
{
  TfsScript* S = Compile("DezodiZidede", kDrawing);
  ASSERT_NO_THROW(S->Execute());
  auto* B = dynamic_cast<TBitmap*>(ObjectOf(S, "B"));
  ASSERT_TRUE(B);
  EXPECT_EQ(B->GetWidth(), 240) << "Width through TGraphic resizes the bitmap";
  EXPECT_EQ(B->GetHeight(), 160);
  SaveBitmapPng(B, "script_drawing.png");
  TCanvas* Cv = B->GetCanvas();
  struct Point {
    int X, Y;
    TColor Want;
    const char* What;
  } Points[] = {
      {120, 2, clBlue, "line"},
      {30, 25, clRed, "rectangle"},
      {80, 25, clLime, "ellipse centre"},
      {61, 11, clWhite, "outside the ellipse's curve"},
      {130, 25, clYellow, "rounded rectangle"},
      {110, 10, clWhite, "the rounded corner"},
      {0, 100, clFuchsia, "StretchDraw top-left"},
      {99, 149, clFuchsia, "StretchDraw bottom-right"},
      {100, 149, clWhite, "right of the stretched rectangle"},
      {99, 150, clWhite, "below the stretched rectangle"},
      {200, 115, clTeal, "metafile played back"},
      {230, 150, clRed, "Pixels"},
  };
  for (const Point& P : Points) EXPECT_EQ(Cv->GetPixels(P.X, P.Y), P.Want) << P.What;
  int Navy = 0;
  for (int Y = 50; Y < 80; ++Y)
    for (int X = 10; X < 120; ++X) Navy += Cv->GetPixels(X, Y) == clNavy;
  EXPECT_GT(Navy, 40) << "Chinese text in the font's colour";
  EXPECT_EQ(ValueOf(S, "Style").AsInteger(), 3) << "fsBold + fsItalic";
  EXPECT_EQ(Cv->GetFont()->GetStyle(), (TFontStyles{fsBold, fsItalic}));
  EXPECT_EQ(ValueOf(S, "Red").AsInteger(), clRed);
  fs_ihandles::Released(B);
  delete B;
}

TEST_F(GraphicsLibTest, TheReferenceDeviceIsTheScreenOrALiveDeviceContext)
{
  HDC DC = Windows::CreateCompatibleDC(nullptr);
  TfsScript* S = Compile("DezodiZidede", R"(
var MF: TMetafile; MC: TMetafileCanvas; Device: Variant;
procedure Paint;
begin
  MC := TMetafileCanvas.Create(MF, Device);
  MC.Rectangle(0, 0, 10, 10);
  MC.Free;
end;
begin
  MF := TMetafile.Create;
end.)");
  S->Execute();
  auto* MF = dynamic_cast<TMetafile*>(ObjectOf(S, "MF"));
  ASSERT_TRUE(MF);
  S->FindItem("Device")->SetValue(Variant(static_cast<Int64>(reinterpret_cast<std::uintptr_t>(DC))));
  EXPECT_NO_THROW(S->CallFunction("Paint", Variant::Null()));
  EXPECT_FALSE(MF->GetEmpty());
  Windows::DeleteDC(DC);
  // The same number once the context is gone, and numbers that never were one.
  for (Int64 Device : {static_cast<Int64>(reinterpret_cast<std::uintptr_t>(DC)), Int64(1), Int64(12345)}) {
    S->FindItem("Device")->SetValue(Variant(Device));
    EXPECT_THROW(S->CallFunction("Paint", Variant::Null()), Exception) << Device;
  }
  S->FindItem("Device")->SetValue(Variant(0));
  EXPECT_NO_THROW(S->CallFunction("Paint", Variant::Null())) << "0: the screen";
  fs_ihandles::Released(MF);
  delete MF;
}

}  // namespace
