#include <gtest/gtest.h>

#include <functional>

#include "controls/framework/cxLookAndFeelPainters.h"
#include "controls/framework/cxStyles.h"
#include "controls/framework/cxSystemPaletteNotifier.h"
#include "controls/framework/cxUltraFlatLookAndFeelPainter.h"
#include "controls/framework/cxWinXPLookAndFeelPainter.h"
#include "controls/framework/tests/PaintFixture.h"
#include "platform/gdi/dc/SysColors.h"

namespace {

using P = TcxCustomLookAndFeelPainterClass;
P Std() { return TcxStandardLookAndFeelPainter::Class(); }
P Flat() { return TcxFlatLookAndFeelPainter::Class(); }
P Ultra() { return TcxUltraFlatLookAndFeelPainter::Class(); }

constexpr COLORREF Bg = 0x00FF00FF;  // magenta: never a system colour
COLORREF Hot() { return cxGraphics::GetHotHighlightColor(); }
COLORREF Pressed() { return cxGraphics::GetPressedHighlightColor(); }

struct TPoint {
  int X, Y;
  std::function<COLORREF()> Colour;
};
std::function<COLORREF()> S(TColor c)
{
  return [c] { return Sys(c); };
}

// Paints one part on a magenta 20 x 16 bitmap and checks colours at points.
void CheckPart(const char* Name, const std::function<void(TcxCanvas*)>& Paint, std::initializer_list<TPoint> Points)
{
  TPaintFixture f(20, 16, Bg);
  Paint(f.Canvas.get());
  for (auto& p : Points) EXPECT_EQ(f.At(p.X, p.Y), p.Colour()) << Name << " at " << p.X << "," << p.Y;
}

int CountColour(const TPaintFixture& f, COLORREF c, RECT R)
{
  int n = 0;
  for (int y = R.top; y < R.bottom; ++y)
    for (int x = R.left; x < R.right; ++x) n += f.At(x, y) == c;
  return n;
}

const RECT Box{0, 0, 20, 16};

TEST(Painters, KindsAndMetrics)
{
  EXPECT_EQ(Flat()->GetLookAndFeelKind(), 0);
  EXPECT_EQ(Std()->GetLookAndFeelKind(), 1);
  EXPECT_EQ(Ultra()->GetLookAndFeelKind(), 2);
  EXPECT_EQ(Std()->GetBorderWidth(), 2);
  EXPECT_EQ(Ultra()->GetButtonBorderWidth(cxbsDefault), 2);
  EXPECT_EQ(Std()->GetButtonBorderWidth(cxbsDefault), 3);
  EXPECT_EQ(Std()->GetButtonFocusRect(nullptr, {0, 0, 8, 8}), (RECT{0, 0, 8, 8}));
  EXPECT_EQ(Std()->GetButtonFocusRect(nullptr, {0, 0, 20, 20}), (RECT{4, 4, 16, 16}));
  EXPECT_EQ(Ultra()->GetButtonFocusRect(nullptr, {0, 0, 20, 20}), (RECT{3, 3, 17, 17}));
  EXPECT_EQ(Ultra()->GetButtonGroupBorders(1, 0), (RECT{2, 2, 1, 2}));
  EXPECT_EQ(Ultra()->GetButtonGroupBorders(3, 2), (RECT{1, 2, 2, 2}));
  EXPECT_EQ(Std()->GetButtonGroupBorders(3, 1), (RECT{2, 2, 2, 2}));
  EXPECT_EQ(Std()->GetHeaderHeight(13), 19);
  EXPECT_EQ(Ultra()->GetHeaderBorders(TcxNeighbors{bLeft, bRight}), (TcxBorders{bTop, bRight, bBottom}));
  EXPECT_EQ(Std()->GetSortingMarkAreaSize(), (SIZE{16, 7}));
  EXPECT_EQ(Ultra()->GetSortingMarkSize(), (SIZE{7, 8}));
  EXPECT_EQ(Std()->GetDefaultRowSeparatorColor(), clBtnShadow);
  TPaintFixture f(10, 10);
  int textWidth = f.Canvas->TextWidth("Name");
  EXPECT_EQ(Std()->GetHeaderWidth(f.Canvas.get(), TcxBorders{bLeft, bRight}, "Name", nullptr), textWidth + 6);
  EXPECT_EQ(Std()->GetHeaderWidth(f.Canvas.get(), TcxBorders{bTop}, "Name", nullptr), textWidth + 4);
}

TEST(Painters, ButtonsInEveryState)
{
  auto button = [](P p, TcxButtonState s) { return [p, s](TcxCanvas* c) { p->DrawButton(c, Box, s); }; };
  CheckPart("standard normal", button(Std(), cxbsNormal),
            {{0, 0, S(clBtnHighlight)},
             {19, 15, S(cl3DDkShadow)},
             {19, 0, S(cl3DDkShadow)},
             {1, 1, S(cl3DLight)},
             {18, 14, S(clBtnShadow)},
             {10, 8, S(clBtnFace)}});
  CheckPart("standard default", button(Std(), cxbsDefault),
            {{0, 0, S(clBlack)},
             {19, 15, S(clBlack)},
             {1, 1, S(clBtnHighlight)},
             {18, 14, S(cl3DDkShadow)},
             {2, 2, S(cl3DLight)}});
  CheckPart("standard pressed", button(Std(), cxbsPressed),
            {{0, 0, S(clBlack)},
             {19, 15, S(clBlack)},
             {1, 1, S(clBtnShadow)},
             {18, 14, S(clBtnShadow)},
             {2, 2, S(clBtnFace)}});
  CheckPart("flat normal", button(Flat(), cxbsNormal),
            {{0, 0, S(clBtnHighlight)}, {19, 15, S(clBtnShadow)}, {1, 1, S(clBtnFace)}});
  CheckPart("flat default", button(Flat(), cxbsDefault),
            {{0, 0, S(clBlack)}, {1, 1, S(clBtnHighlight)}, {18, 14, S(clBtnShadow)}});
  CheckPart("flat pressed", button(Flat(), cxbsPressed),
            {{0, 0, S(clBtnShadow)}, {19, 15, S(clBtnHighlight)}, {1, 1, S(clBtnFace)}});
  CheckPart("ultra-flat normal", button(Ultra(), cxbsNormal),
            {{0, 0, S(clBtnText)}, {19, 15, S(clBtnText)}, {1, 1, S(clBtnFace)}});
  CheckPart("ultra-flat default", button(Ultra(), cxbsDefault),
            {{0, 0, S(clWindowFrame)}, {1, 1, S(clWindowFrame)}, {2, 2, S(clBtnFace)}});
  CheckPart("ultra-flat hot", button(Ultra(), cxbsHot), {{0, 0, S(clHighlight)}, {1, 1, Hot}});
  CheckPart("ultra-flat pressed", button(Ultra(), cxbsPressed), {{19, 15, S(clHighlight)}, {1, 1, Pressed}});
  CheckPart("ultra-flat disabled", button(Ultra(), cxbsDisabled), {{0, 0, S(clHighlight)}, {1, 1, S(clBtnFace)}});
  EXPECT_NE(Hot(), Pressed());
}

TEST(Painters, PressedCaptionMovesOnlyWhereTheLookSaysSo)
{
  for (P p : {Std(), Flat(), Ultra()}) {
    RECT ink[2];
    int i = 0;
    for (TcxButtonState s : {cxbsNormal, cxbsPressed}) {
      TPaintFixture f(60, 24);
      f.Canvas->GetFont()->SetHeight(-12);
      p->DrawButtonWithText(f.Canvas.get(), {0, 0, 60, 24}, "Ok", s, false, clWhite, clBlack);
      COLORREF face = 0xFFFFFF;
      ink[i++] = f.BoundsNot(face);
    }
    int shift = p->GetButtonTextPressedShift();
    EXPECT_EQ(ink[1].left - ink[0].left, shift) << p->GetLookAndFeelKind();
    EXPECT_EQ(ink[1].top - ink[0].top, shift) << p->GetLookAndFeelKind();
  }
}

TEST(Painters, UltraFlatSimpleButtonsTouchAndKeepAPixelFree)
{
  TPaintFixture f(20, 16, Bg);
  Ultra()->DrawSimpleButton(f.Canvas.get(), Box, cxbsNormal, 1, 0, clRed);
  EXPECT_EQ(f.At(0, 5), Bg);
  EXPECT_EQ(f.At(19, 5), Bg);
  EXPECT_EQ(f.At(5, 0), Bg);
  EXPECT_EQ(f.At(1, 5), 0x0000FFu);
  EXPECT_EQ(f.At(18, 5), 0x0000FFu);
  EXPECT_EQ(f.At(5, 5), Sys(clBtnFace));
  f.Clear(Bg);
  Ultra()->DrawSimpleButton(f.Canvas.get(), Box, cxbsHot, 3, 1, clRed);  // a middle hot button
  EXPECT_EQ(f.At(0, 5), Sys(clHighlight));
  EXPECT_EQ(f.At(19, 5), Sys(clHighlight));
  EXPECT_EQ(f.At(5, 5), Hot());
}

TEST(Painters, CheckBoxes)
{
  auto box = [](P p, TcxButtonState s, bool checked) {
    return [=](TcxCanvas* c) { p->DrawCheckBox(c, {0, 0, 13, 13}, s, checked); };
  };
  CheckPart("standard", box(Std(), cxbsNormal, false),
            {{0, 0, S(cl3DDkShadow)},
             {12, 12, S(cl3DLight)},
             {1, 1, S(clBtnShadow)},
             {11, 11, S(clBtnHighlight)},
             {6, 6, S(clWindow)},
             {13, 13, [] { return Bg; }}});
  CheckPart("flat", box(Flat(), cxbsNormal, false),
            {{0, 0, S(clBtnShadow)}, {12, 12, S(clBtnHighlight)}, {1, 1, S(clWindow)}, {6, 6, S(clWindow)}});
  CheckPart("ultra-flat pressed", box(Ultra(), cxbsPressed, false),
            {{0, 0, S(clBtnText)}, {1, 1, S(clBtnFace)}, {6, 6, S(clBtnFace)}});
  for (P p : {Std(), Flat(), Ultra()}) {
    TPaintFixture f(13, 13, Bg);
    p->DrawCheckBox(f.Canvas.get(), {0, 0, 13, 13}, cxbsNormal, true);
    EXPECT_GE(CountColour(f, Sys(clBtnText), {2, 2, 11, 11}), 14) << p->GetLookAndFeelKind();
    f.Clear(Bg);
    p->DrawCheckBox(f.Canvas.get(), {0, 0, 13, 13}, cxbsDisabled, true);
    EXPECT_GE(CountColour(f, Sys(clGrayText), {2, 2, 11, 11}), 14) << p->GetLookAndFeelKind();
  }
}

TEST(Painters, RadioButtons)
{
  for (P p : {Std(), Flat(), Ultra()}) {
    TPaintFixture a(16, 16, Bg), b(16, 16, Bg);
    p->DrawRadioButton(a.Canvas.get(), 1, 1, cxbsDefault, true, false, clDefault);
    p->DrawRadioButton(b.Canvas.get(), 1, 1, cxbsNormal, true, false, clDefault);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) ASSERT_EQ(a.At(x, y), b.At(x, y)) << "default looks like normal";
    RECT ink = a.BoundsNot(Bg);
    EXPECT_EQ(ink.left, 1);
    EXPECT_EQ(ink.top, 1);
    int cx = (ink.left + ink.right) / 2, cy = (ink.top + ink.bottom) / 2;
    EXPECT_EQ(a.At(cx, cy), Sys(clBtnText)) << "the dot";
    EXPECT_EQ(a.At(1, 1), Bg) << "corners stay transparent";
    a.Clear(Bg);
    p->DrawRadioButton(a.Canvas.get(), 1, 1, cxbsNormal, false, false, clRed);
    EXPECT_EQ(a.At(1, 1), 0x0000FFu) << "background colour fills the corners";
    EXPECT_EQ(a.At(cx, cy), Sys(clWindow));
  }
  // Without themes the themed painter draws the standard images, also focused at design time.
  {
    TPaintFixture a(16, 16, Bg), b(16, 16, Bg);
    TcxWinXPLookAndFeelPainter::Class()->DrawRadioButton(a.Canvas.get(), 0, 0, cxbsDisabled, true, true, clDefault,
                                                         true);
    Std()->DrawRadioButton(b.Canvas.get(), 0, 0, cxbsDisabled, true, true, clDefault, true);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) ASSERT_EQ(a.At(x, y), b.At(x, y));
  }
  // Ultra-flat: a hot button has a highlight ring and the hot interior.
  TPaintFixture f(16, 16, Bg);
  Ultra()->DrawRadioButton(f.Canvas.get(), 0, 0, cxbsHot, false, false, clDefault);
  RECT ink = f.BoundsNot(Bg);
  int cy = (ink.top + ink.bottom) / 2;
  EXPECT_EQ(f.At(ink.left, cy), Sys(clHighlight));
  EXPECT_EQ(f.At((ink.left + ink.right) / 2, cy), Hot());
  // After a colour change the images are rebuilt.
  int index = COLOR_BTNTEXT;
  COLORREF green = 0x00AA00;
  Windows::SetSysColors(1, &index, &green);
  cxSystemPaletteNotifier::SystemColorsChanged();
  f.Clear(Bg);
  Std()->DrawRadioButton(f.Canvas.get(), 0, 0, cxbsNormal, true, false, clDefault);
  EXPECT_GT(CountColour(f, green, {0, 0, 16, 16}), 0);
  Windows::ResetSysColors();
  cxLookAndFeelPainters::ClearRadioButtonImages();
}

TEST(Painters, HeadersAndSections)
{
  auto header = [](P p, TcxNeighbors n, TcxBorders b) {
    return [=](TcxCanvas* c) {
      p->DrawHeader(c, Box, Box, n, b, cxbsNormal, taLeftJustify, vaCenter, false, false, "", nullptr, clBlack,
                    clBtnFace);
    };
  };
  CheckPart("standard", header(Std(), {}, cxBordersAll),
            {{0, 0, S(clBtnHighlight)}, {19, 15, S(clBtnShadow)}, {19, 0, S(clBtnShadow)}, {5, 5, S(clBtnFace)}});
  CheckPart("standard with neighbours", header(Std(), TcxNeighbors{bLeft, bRight}, cxBordersAll),
            {{0, 1, S(clBtnFace)},
             {0, 14, S(clBtnFace)},
             {19, 0, S(clBtnHighlight)},
             {19, 1, S(clBtnFace)},
             {19, 5, S(clBtnShadow)}});
  CheckPart("ultra-flat with a left neighbour",
            header(Ultra(), TcxNeighbors{bLeft}, Ultra()->GetHeaderBorders(TcxNeighbors{bLeft})),
            {{0, 5, S(clBtnFace)}, {19, 5, S(clBtnText)}, {5, 0, S(clBtnText)}, {5, 15, S(clBtnText)}});
  CheckPart("ultra-flat without top border", header(Ultra(), {}, TcxBorders{bLeft, bRight, bBottom}),
            {{0, 5, S(clBtnText)}, {5, 0, S(clBtnFace)}, {19, 5, S(clBtnText)}, {5, 15, S(clBtnText)}});
  CheckPart("ultra-flat section",
            [](TcxCanvas* c) {
              Ultra()->DrawHeaderSection(c, Box, Box, {}, cxBordersAll, cxbsNormal, taLeftJustify, vaTop, false, false,
                                         "", nullptr, clBlack, clRed);
            },
            {{0, 0, S(clRed)}, {1, 1, S(clBtnText)}, {18, 14, S(clBtnText)}, {19, 15, S(clRed)}, {5, 5, S(clRed)}});
  // Header text lands in the text rectangle.
  TPaintFixture f(60, 20, Bg);
  Std()->DrawHeader(f.Canvas.get(), {0, 0, 60, 20}, {30, 0, 60, 20}, {}, cxBordersAll, cxbsNormal, taLeftJustify,
                    vaCenter, false, false, "Ab", nullptr, clBlack, clWhite);
  EXPECT_LT(CountColour(f, 0xFFFFFF, {30, 1, 59, 19}), 29 * 18);
  EXPECT_EQ(CountColour(f, 0xFFFFFF, {1, 1, 29, 19}), 28 * 18);
}

TEST(Painters, SortingMarksAreOutlinedTriangles)
{
  TPaintFixture f(16, 16, Bg);
  Std()->PaintSortingMark(f.Canvas.get(), {0, 0, 16, 16}, true);
  int light = CountColour(f, Sys(clBtnHighlight), {0, 0, 16, 16});
  int dark = CountColour(f, Sys(clBtnShadow), {0, 0, 16, 16});
  EXPECT_GT(light, 0);
  EXPECT_GT(dark, 0);
  RECT ink = f.BoundsNot(Bg);
  EXPECT_EQ(ink.bottom - ink.top, 7);
  // Ascending, 8 x 7 in (0, 0, 16, 16): tip at (7, 4) dark and (8, 4) light, base light.
  EXPECT_EQ(ink, (RECT{4, 4, 12, 11}));
  EXPECT_EQ(f.At(7, 4), Sys(clBtnShadow));
  EXPECT_EQ(f.At(8, 4), Sys(clBtnHighlight));
  EXPECT_EQ(f.At(8, 10), Sys(clBtnHighlight));
  f.Clear(Bg);
  Ultra()->PaintSortingMark(f.Canvas.get(), {0, 0, 16, 16}, false);
  EXPECT_EQ(CountColour(f, Sys(clBtnHighlight), {0, 0, 16, 16}), 0);
  EXPECT_EQ(f.BoundsNot(Bg).bottom - f.BoundsNot(Bg).top, 8);
}

TEST(Painters, FootersAndPanels)
{
  auto panel = [](P p) {
    return [p](TcxCanvas* c) { p->DrawPanel(c, Box, "", taLeftJustify, vaTop, false, nullptr, clBlack, clRed); };
  };
  CheckPart("standard", panel(Std()), {{0, 0, S(clBtnShadow)}, {19, 15, S(clBtnHighlight)}, {1, 1, S(clRed)}});
  CheckPart("flat", panel(Flat()), {{0, 0, S(clBtnShadow)}, {19, 15, S(clBtnHighlight)}, {1, 1, S(clRed)}});
  CheckPart("ultra-flat", panel(Ultra()), {{0, 0, S(clBtnShadow)}, {19, 15, S(clBtnShadow)}, {1, 1, S(clRed)}});
  CheckPart("standard sunken edge", [](TcxCanvas* c) { Std()->DrawSunkenEdge(c, Box); },
            {{0, 0, S(clBtnHighlight)}, {19, 15, S(clBtnShadow)}, {5, 5, [] { return Bg; }}});
  CheckPart("ultra-flat sunken edge", [](TcxCanvas* c) { Ultra()->DrawSunkenEdge(c, Box); },
            {{0, 0, [] { return Bg; }}, {19, 5, S(clBtnShadow)}, {5, 15, S(clBtnShadow)}});
  CheckPart("ultra-flat fill", [](TcxCanvas* c) { Ultra()->FillPanel(c, Box); }, {{5, 5, S(clBtnShadow)}});
}

TEST(Painters, ContentBackgroundHandlerDecides)
{
  TPaintFixture f(20, 16, Bg);
  bool asked = false;
  Std()->DrawContent(f.Canvas.get(), Box, Box, taLeftJustify, vaTop, false, false, "", nullptr, clBlack, clRed,
                     [&](TcxCanvas*, const RECT&) { return asked = true; });
  EXPECT_TRUE(asked);
  EXPECT_EQ(f.BoundsNot(Bg), RECT{});
  Std()->DrawContent(f.Canvas.get(), Box, Box, taLeftJustify, vaTop, false, false, "", nullptr, clBlack, clRed,
                     [&](TcxCanvas*, const RECT&) { return false; });
  EXPECT_EQ(f.At(10, 10), 0x0000FFu);
}

TEST(Painters, IndicatorItems)
{
  for (P p : {Std(), Flat(), Ultra()}) {
    TPaintFixture f(12, 18, Bg);
    p->DrawIndicatorItem(f.Canvas.get(), {0, 0, 12, 18}, iikArrow, clBtnFace);
    EXPECT_GT(CountColour(f, 0, {2, 2, 10, 16}), 5) << p->GetLookAndFeelKind();
    EXPECT_EQ(f.At(1, 2), Sys(clBtnFace));
    f.Clear(Bg);
    p->DrawIndicatorItem(f.Canvas.get(), {0, 0, 12, 18}, iikNone, clBtnFace);
    EXPECT_EQ(CountColour(f, 0, {2, 2, 10, 16}), 0);
  }
  CheckPart("standard indicator border", [](TcxCanvas* c) { Std()->DrawIndicatorItem(c, Box, iikEdit, clBtnFace); },
            {{0, 0, S(clBtnHighlight)}, {19, 15, S(clBtnShadow)}});
}

TEST(Painters, ScrollBarParts)
{
  auto part = [](P p, bool horz, int partNo, TcxButtonState s) {
    return [=](TcxCanvas* c) { p->DrawScrollBarPart(c, horz, Box, partNo, s); };
  };
  CheckPart("standard thumb", part(Std(), false, cxsbpThumb, cxbsNormal),
            {{0, 0, S(clBtnFace)},
             {19, 15, S(cl3DDkShadow)},
             {1, 1, S(clBtnHighlight)},
             {18, 14, S(clBtnShadow)},
             {5, 5, S(clBtnFace)}});
  CheckPart("standard pressed arrow", part(Std(), false, cxsbpLineUp, cxbsPressed),
            {{0, 0, S(clBtnShadow)}, {19, 15, S(clBtnShadow)}, {1, 1, S(clBtnFace)}});
  CheckPart("standard track", part(Std(), false, cxsbpPageUp, cxbsNormal),
            {{0, 0, S(clBtnFace)}, {1, 0, S(clBtnHighlight)}, {1, 1, S(clBtnFace)}});
  CheckPart("pressed track", part(Flat(), true, cxsbpPageDown, cxbsPressed),
            {{0, 0, S(clBlack)}, {1, 0, S(cl3DDkShadow)}});
  CheckPart("flat arrow", part(Flat(), true, cxsbpLineDown, cxbsHot),
            {{0, 0, S(clBtnHighlight)}, {19, 15, S(clBtnShadow)}, {2, 2, S(clBtnFace)}});
  CheckPart("ultra-flat hot arrow", part(Ultra(), true, cxsbpLineDown, cxbsHot), {{0, 0, S(clHighlight)}, {2, 2, Hot}});
  for (P p : {Std(), Flat(), Ultra()}) {
    TPaintFixture f(20, 16, Bg);
    p->DrawScrollBarPart(f.Canvas.get(), false, Box, cxsbpThumb, cxbsDisabled);
    p->DrawScrollBarPart(f.Canvas.get(), false, {5, 5, 5, 10}, cxsbpLineUp, cxbsNormal);
    EXPECT_EQ(f.BoundsNot(Bg), RECT{}) << "disabled thumb and empty rectangle draw nothing";
    p->DrawScrollBarPart(f.Canvas.get(), false, Box, cxsbpLineDown, cxbsNormal);
    EXPECT_GT(CountColour(f, Sys(clBtnText), {2, 2, 18, 14}), 3) << "the arrow";
  }
}

TEST(Painters, TabSidesAndStrips)
{
  CheckPart(
      "standard top side",
      [](TcxCanvas* c) {
        Std()->DrawTabSide(c, {0, 0, 20, 2}, bTop, cxBordersAll, false);
      },
      {{0, 0, [] { return Bg; }}, {0, 1, S(clBtnHighlight)}, {1, 0, S(clBtnHighlight)}, {19, 1, S(clBtnHighlight)}});
  CheckPart("standard right side",
            [](TcxCanvas* c) {
              Std()->DrawTabSide(c, {18, 0, 20, 16}, bRight, TcxBorders{bTop}, false);
            },
            {{19, 1, [] { return Bg; }}, {19, 2, S(clBtnShadow)}, {19, 15, S(clBtnShadow)}});
  CheckPart("standard vertical bottom side",
            [](TcxCanvas* c) {
              Std()->DrawTabSide(c, {0, 14, 20, 16}, bBottom, TcxBorders{bLeft}, true);
            },
            {{0, 15, [] { return Bg; }}, {1, 15, S(clBtnShadow)}});
  CheckPart("ultra-flat right side",
            [](TcxCanvas* c) {
              Ultra()->DrawTabSide(c, {19, 0, 20, 16}, bRight, cxBordersAll, false);
            },
            {{19, 0, S(clBtnText)}, {19, 14, S(clBtnText)}, {19, 15, [] { return Bg; }}});
  CheckPart("ultra-flat left side",
            [](TcxCanvas* c) {
              Ultra()->DrawTabSide(c, {0, 0, 1, 16}, bLeft, cxBordersAll, false);
            },
            {{0, 15, S(clBtnShadow)}});
  CheckPart("ultra-flat strip", [](TcxCanvas* c) { Ultra()->DrawTabStrip(c, Box, false, TcxBorders{bTop}); },
            {{5, 0, S(clBtnShadow)}, {5, 15, [] { return Bg; }}});
  CheckPart("standard strip", [](TcxCanvas* c) { Std()->DrawTabStrip(c, Box, false, cxBordersAll); },
            {{5, 0, S(clBtnHighlight)}, {19, 5, S(clBtnShadow)}});
}

TEST(Painters, ExpandGlyphsAndMarks)
{
  auto glyph = [](P p, bool expanded) {
    return [=](TcxCanvas* c) { p->DrawExpandGlyph(c, {0, 0, 11, 11}, clDefault, expanded); };
  };
  // Plus: arm a = (9 - 4) div 2 = 2 around the inner centre.
  CheckPart("standard", glyph(Std(), false),
            {{0, 0, S(clBtnHighlight)},
             {10, 10, S(cl3DDkShadow)},
             {9, 5, S(clBtnShadow)},
             {2, 2, S(clBtnFace)},
             {5, 5, S(clBtnText)},
             {5, 3, S(clBtnText)}});
  CheckPart("ultra-flat", glyph(Ultra(), true), {{0, 0, S(clBtnShadow)}, {5, 5, S(clBtnText)}, {5, 3, S(clBtnFace)}});
  CheckPart("flat", glyph(Flat(), false), {{0, 0, S(clBtnHighlight)}, {10, 10, S(clBtnShadow)}, {5, 3, S(clBtnText)}});
  // The glyph's rectangle is excluded from the clip afterwards.
  TPaintFixture f(20, 16, Bg);
  Std()->DrawExpandGlyph(f.Canvas.get(), {0, 0, 11, 11}, clDefault, false);
  EXPECT_FALSE(f.Canvas->RectVisible({2, 2, 4, 4}));

  CheckPart("ultra-flat mark button",
            [](TcxCanvas* c) {
              Ultra()->DrawButtonWithMark(c, {0, 0, 13, 13}, cxbsNormal);
            },
            {{0, 0, S(clBtnText)}, {6, 6, S(clNavy)}, {2, 6, S(clNavy)}});
  CheckPart("group expand glyph",
            [](TcxCanvas* c) {
              Std()->DrawGroupExpandGlyph(c, {0, 0, 15, 15}, true, cxbsNormal);
            },
            {{0, 0, S(clBtnHighlight)}, {14, 14, S(clBtnShadow)}, {7, (15 - 8) / 2, S(clBtnText)}});
}

TEST(Painters, CloseAndDropDownButtons)
{
  for (P p : {Std(), Flat(), Ultra()}) {
    TPaintFixture f(16, 14, Bg);
    p->DrawCloseButton(f.Canvas.get(), {0, 0, 16, 14}, cxbsNormal);
    EXPECT_GE(CountColour(f, Sys(clBtnText), {2, 2, 14, 12}), 20) << p->GetLookAndFeelKind();
  }
  CheckPart("standard drop-down", [](TcxCanvas* c) { Std()->DrawDropDownButton(c, Box, cxbsNormal, true); },
            {{0, 0, S(clBtnHighlight)}, {19, 15, S(clBtnShadow)}, {10, 8, S(clBlue)}, {2, 2, S(clBtnFace)}});
  CheckPart("ultra-flat drop-down", [](TcxCanvas* c) { Ultra()->DrawDropDownButton(c, Box, cxbsHot, false); },
            {{0, 0, S(clHighlight)}, {2, 2, Hot}, {10, 8, S(clBtnText)}});
  // The arrow: width 10 made odd 11, height 6; tip at ((0 + 20) div 2, y + 5).
  TPaintFixture f(20, 16, Bg);
  Std()->DrawDropDownArrow(f.Canvas.get(), Box, clBlack);
  EXPECT_EQ(f.BoundsNot(Bg), (RECT{4, 5, 15, 11}));
}

TEST(Painters, FlatHeaderWithFrameAndArrows)
{
  TcxStyleViewParams vp;
  vp.Color = clBtnFace;
  vp.TextColor = clBlack;
  TPaintFixture f(40, 16, Bg);
  Std()->DrawFlatHeaderWithFrame(f.Canvas.get(), {0, 0, 40, 16}, "", TcxNeighbors{bLeft}, vp,
                                 cxArrowLeft | cxArrowRight, 4);
  EXPECT_EQ(f.At(20, 0), 0u);                   // black frame on top
  EXPECT_NE(f.At(0, 2), 0u);                    // none on the left (neighbour)
  EXPECT_EQ(f.At(39, 8), 0u);                   // right frame
  EXPECT_EQ(f.At(20, 1), Sys(clBtnHighlight));  // the header inside
  EXPECT_GT(CountColour(f, Sys(clWindowText), {1, 3, 8, 14}), 3);
  EXPECT_GT(CountColour(f, Sys(clWindowText), {32, 3, 39, 14}), 3);
}

}  // namespace
