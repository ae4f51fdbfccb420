#include <gtest/gtest.h>

#include "controls/framework/cxGraphics.h"
#include "controls/framework/tests/PaintFixture.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Regions.h"

namespace {

constexpr COLORREF White = 0xFFFFFF;

TEST(TextFlags, ConvertToWindowsFlags)
{
  struct {
    int Flags;
    unsigned Expected;
  } cases[] = {
      {0, DT_NOPREFIX},
      {tfAlignLeft | tfAlignTop, DT_NOPREFIX},
      {tfAlignRight | tfAlignBottom, DT_NOPREFIX | DT_RIGHT | DT_BOTTOM},
      {tfAlignHCenter | tfAlignVCenter | tfSingleLine, DT_NOPREFIX | DT_CENTER | DT_VCENTER | DT_SINGLELINE},
      {tfWordBreak, DT_NOPREFIX | DT_WORDBREAK | DT_EDITCONTROL},
      {tfShowPrefix | tfEndEllipsis, DT_END_ELLIPSIS},
      {tfNoClip | tfExpandTabs | tfCalcOnly | tfPathEllipsis,
       DT_NOPREFIX | DT_NOCLIP | DT_EXPANDTABS | DT_CALCRECT | DT_PATH_ELLIPSIS},
  };
  for (auto& c : cases) EXPECT_EQ(cxGraphics::ToWindowsTextFlags(c.Flags), c.Expected) << c.Flags;
}

TEST(CxCanvas, FrameRectBandsAndEmptyBorders)
{
  TPaintFixture f(20, 20);
  f.Canvas->FrameRect({2, 2, 12, 12}, clRed, 1, TcxBorders{});
  EXPECT_EQ(f.BoundsNot(White), RECT{});
  f.Canvas->FrameRect({2, 2, 12, 12}, clRed, 2, TcxBorders{bLeft, bBottom});
  EXPECT_EQ(f.At(2, 2), 0x0000FFu);
  EXPECT_EQ(f.At(3, 5), 0x0000FFu);
  EXPECT_EQ(f.At(11, 11), 0x0000FFu);
  EXPECT_EQ(f.At(11, 2), White);  // no right or top band
  EXPECT_EQ(f.At(5, 5), White);
  // clDefault keeps the brush colour that FrameRect set before.
  f.Canvas->FrameRect({14, 0, 20, 6}, clDefault, 1, TcxBorders{bTop});
  EXPECT_EQ(f.At(15, 0), 0x0000FFu);
}

TEST(CxCanvas, EdgesUseTheSystemColoursAndCornersTakeTheSecondColour)
{
  TPaintFixture f(20, 20);
  struct {
    bool Sunken, Outer;
    TColor TL, BR;
  } cases[] = {
      {false, true, cl3DLight, cl3DDkShadow},
      {false, false, clBtnHighlight, clBtnShadow},
      {true, true, clBtnShadow, clBtnHighlight},
      {true, false, cl3DDkShadow, cl3DLight},
  };
  for (auto& c : cases) {
    f.Clear(0x123456);
    f.Canvas->DrawEdge({0, 0, 10, 10}, c.Sunken, c.Outer);
    EXPECT_EQ(f.At(0, 5), Sys(c.TL));
    EXPECT_EQ(f.At(5, 0), Sys(c.TL));
    EXPECT_EQ(f.At(9, 5), Sys(c.BR));
    EXPECT_EQ(f.At(9, 0), Sys(c.BR));  // top-right corner
    EXPECT_EQ(f.At(0, 9), Sys(c.BR));  // bottom-left corner
    EXPECT_EQ(f.At(5, 5), 0x123456u);
  }
}

TEST(CxCanvas, FillRectTilesABitmapFromTheCanvasOrigin)
{
  TPaintFixture f(20, 20);
  TBitmap tile;
  tile.SetSize(4, 4);
  TcxCanvas tc(tile.GetCanvas());
  tc.FillRectColor({0, 0, 4, 4}, clBlue);
  tc.SetPixel(0, 0, clRed);
  f.Canvas->FillRect({3, 3, 13, 13}, &tile);
  EXPECT_EQ(f.At(4, 4), 0x0000FFu);  // (4, 4) is a tile's first pixel
  EXPECT_EQ(f.At(8, 8), 0x0000FFu);
  EXPECT_EQ(f.At(3, 3), 0xFF0000u);
  EXPECT_EQ(f.At(2, 2), White);
  EXPECT_EQ(f.At(13, 13), White);
  f.Clear();
  f.Canvas->FillRect({5, 5, 5, 10}, &tile);
  EXPECT_EQ(f.BoundsNot(White), RECT{});
}

TEST(CxCanvas, InvertAndFocusRectTwiceRestore)
{
  TPaintFixture f(10, 10, 0x336699);
  f.Canvas->InvertRect({0, 0, 5, 5});
  EXPECT_EQ(f.At(1, 1), 0xCC9966u);
  f.Canvas->InvertRect({0, 0, 5, 5});
  EXPECT_EQ(f.At(1, 1), 0x336699u);
  f.Canvas->DrawFocusRect({0, 0, 8, 8});
  EXPECT_NE(f.BoundsNot(0x336699), RECT{});
  f.Canvas->DrawFocusRect({0, 0, 8, 8});
  EXPECT_EQ(f.BoundsNot(0x336699), RECT{});
}

TEST(CxCanvas, DrawTextEmptyChangesNothing)
{
  TPaintFixture f(40, 20);
  f.Canvas->SetBrushStyle(bsClear);
  f.Canvas->DrawText("", {0, 0, 40, 20}, tfSingleLine, false);
  EXPECT_EQ(f.Canvas->GetBrushStyle(), bsClear);
  EXPECT_EQ(f.BoundsNot(White), RECT{});
}

TEST(CxCanvas, SingleLineAlignmentPlacesTheText)
{
  TPaintFixture f(120, 30);
  f.Canvas->SetBrushStyle(bsClear);
  f.Canvas->GetFont()->SetColor(clBlack);
  SIZE s = f.Canvas->TextExtent("Wi");
  ASSERT_GT(s.cx, 0);
  f.Canvas->DrawText("Wi", {0, 0, 120, 30}, tfSingleLine | tfAlignRight | tfAlignBottom);
  RECT ink = f.BoundsNot(White);
  EXPECT_LE(ink.right, 120);
  EXPECT_GE(ink.left, 120 - s.cx);
  EXPECT_GE(ink.top, 30 - s.cy);
  // Wider than its rectangle: drawn from the left and clipped at the right.
  f.Clear();
  AnsiString wide = "WWWWWWWWWWWWWWWWWWWW";
  f.Canvas->DrawText(wide, {10, 0, 30, 30}, tfSingleLine | tfAlignRight);
  ink = f.BoundsNot(White);
  EXPECT_LE(ink.left, 12);
  EXPECT_LE(ink.right, 30);
}

TEST(CxCanvas, MultiLineTextIsCentredAndBottomAlignedByItsMeasuredHeight)
{
  TPaintFixture f(60, 100);
  f.Canvas->SetBrushStyle(bsClear);
  f.Canvas->GetFont()->SetColor(clBlack);
  int lineHeight = f.Canvas->TextHeight("Wg");
  RECT measured{0, 0, 60, 0};
  f.Canvas->CalculateTextRect("Wide words wrap", measured, tfWordBreak);
  int h = measured.bottom - measured.top;
  ASSERT_GE(h, 2 * lineHeight);  // wrapped onto several lines
  f.Canvas->DrawText("Wide words wrap", {0, 0, 60, 100}, tfWordBreak | tfAlignBottom);
  RECT ink = f.BoundsNot(0xFFFFFF);
  EXPECT_GE(ink.top, 100 - h);
  EXPECT_LE(ink.bottom, 100);
  f.Clear();
  f.Canvas->DrawText("Wide words wrap", {0, 0, 60, 100}, tfWordBreak | tfAlignVCenter);
  ink = f.BoundsNot(0xFFFFFF);
  EXPECT_GE(ink.top, (100 - h) / 2);
  EXPECT_LE(ink.bottom, (100 + h) / 2 + 1);
}

TEST(CxCanvas, DisabledTextIsEmbossedAndRestoresState)
{
  TPaintFixture f(60, 30);
  f.Canvas->SetBrushStyle(bsSolid);
  f.Canvas->GetFont()->SetColor(clRed);
  f.Canvas->GetFont()->SetHeight(-16);
  f.Canvas->DrawText("W", {0, 0, 60, 30}, tfSingleLine, false);
  EXPECT_EQ(f.Canvas->GetBrushStyle(), bsSolid);
  EXPECT_EQ(f.Canvas->GetFont()->GetColor(), clRed);
  bool shadow = false;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) {
      shadow = shadow || f.At(x, y) == Sys(clBtnShadow);
      EXPECT_NE(f.At(x, y), 0x0000FFu);
    }
  EXPECT_TRUE(shadow);
}

TEST(CxCanvas, ClipRegionDefaultAndCombine)
{
  TPaintFixture f(20, 20);
  std::unique_ptr<TcxRegion> none(f.Canvas->GetClipRegion());
  RECT box;
  Windows::GetRgnBox(none->GetHandle(), &box);
  EXPECT_EQ(box, (RECT{0, 0, 107374182, 107374182}));
  f.Canvas->SetClipRegion(new TcxRegion(0, 0, 10, 10), rcmCopy);
  f.Canvas->SetClipRegion(new TcxRegion(5, 5, 20, 20), rcmIntersect);
  f.Canvas->FillRectColor({0, 0, 20, 20}, clBlack);
  EXPECT_EQ(f.BoundsNot(White), (RECT{5, 5, 10, 10}));
  f.Canvas->ExcludeFromClip({5, 5, 7, 7});
  EXPECT_FALSE(f.Canvas->RectVisible({5, 5, 7, 7}));
  EXPECT_TRUE(f.Canvas->RectVisible({8, 8, 9, 9}));
}

TEST(CxCanvas, GlyphsKeepTheirTransparentColourOut)
{
  TBitmap glyph;
  glyph.SetSize(4, 4);
  TcxCanvas g(glyph.GetCanvas());
  g.FillRectColor({0, 0, 4, 4}, clLime);  // bottom-left pixel: the transparent colour
  g.FillRectColor({1, 1, 3, 3}, clBlack);
  TPaintFixture f(10, 10, 0x123456);
  f.Canvas->DrawGlyph(2, 2, glyph);
  EXPECT_EQ(f.At(2, 2), 0x123456u);
  EXPECT_EQ(f.At(3, 3), 0u);
  f.Canvas->DrawGlyph(6, 6, glyph, true, clRed);
  EXPECT_EQ(f.At(6, 6), 0x0000FFu);
  f.Clear(0x123456);
  f.Canvas->DrawGlyph(2, 2, glyph, false);
  EXPECT_EQ(f.At(3, 3), Sys(clBtnShadow));
  EXPECT_EQ(f.At(2, 2), 0x123456u);
}

TEST(CxCanvas, WorksWithTheWrappedCanvasFontAndBrush)
{
  TcxScreenCanvas screen;
  TFont plain, big;
  big.SetHeight(-24);
  int plainHeight = screen.GetFontHeight(&plain);
  EXPECT_GT(plainHeight, 0);
  EXPECT_GT(screen.GetFontHeight(&big), plainHeight);
  EXPECT_EQ(screen.GetFont()->GetHeight(), -24);  // the font stays assigned
  TBitmap b;
  b.SetSize(4, 4);
  b.GetCanvas()->GetBrush()->SetColor(clRed);
  TcxCanvas c(b.GetCanvas());
  c.FillRect({0, 0, 4, 4});
  EXPECT_EQ(b.GetScanLine(2)[2], 0xFF0000u);  // 0x00RRGGBB
}

TEST(CxRegion, EmptyCombineOffset)
{
  std::unique_ptr<TcxRegion> r(TcxRegion::CreateEmpty());
  EXPECT_TRUE(r->IsEmpty());
  r->Combine(new TcxRegion(0, 0, 4, 4), rcmAdd);
  r->Offset(2, 1);
  RECT box;
  Windows::GetRgnBox(r->GetHandle(), &box);
  EXPECT_EQ(box, (RECT{2, 1, 6, 5}));
  r->Combine(new TcxRegion(0, 0, 100, 100), rcmSubtract);
  EXPECT_TRUE(r->IsEmpty());
}

TEST(HighlightColours, BlendAndBlackOrWhiteFace)
{
  COLORREF face = Sys(clBtnFace), high = Sys(clHighlight), win = Sys(clWindow);
  auto blend = [&](int a, int b, int c, int shift) {
    auto md = [](int x, int y) { return int((x * y * 2 + (x * y >= 0 ? 100 : -100)) / 200); };
    int v = md((face >> shift) & 0xFF, a) + md((high >> shift) & 0xFF, b) + md((win >> shift) & 0xFF, c);
    return COLORREF(std::clamp(v, 0, 255)) << shift;
  };
  COLORREF hot = blend(-2, 30, 72, 0) | blend(-2, 30, 72, 8) | blend(-2, 30, 72, 16);
  EXPECT_EQ(cxGraphics::GetHotHighlightColor(), hot);
  EXPECT_NE(cxGraphics::GetHotHighlightColor(), cxGraphics::GetPressedHighlightColor());
  for (COLORREF extreme : {COLORREF(0), COLORREF(0xFFFFFF)}) {
    int index = COLOR_BTNFACE;
    Windows::SetSysColors(1, &index, &extreme);
    EXPECT_EQ(cxGraphics::GetHotHighlightColor(), high);
    EXPECT_EQ(cxGraphics::GetPressedHighlightColor(), high);
  }
  Windows::ResetSysColors();
}

}  // namespace
