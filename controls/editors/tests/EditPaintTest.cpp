// The editor painting routines at the points where a wrong pixel or size would show: arrow
// sizes, ellipsis dots, the pressed simple button, border widths, mouse areas, accelerator
// characters, check glyph images and grayed marks, the size grip's mirroring and the pop-up's
// window region.
#include <gtest/gtest.h>

#include <memory>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/paint/cxEditPaintUtils.h"
#include "controls/editors/paint/cxEditUtils.h"
#include "controls/framework/FrameworkModule.h"
#include "controls/framework/tests/PaintFixture.h"
#include "platform/forms/controls/ImgList.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/gdi/dc/SysColors.h"

namespace {

struct EditPaint : ::testing::Test {
  void SetUp() override
  {
    FrameworkModule::Initialize();
    EditorsModule::Initialize();
  }
};

// A view info with one button that records the style its frame was asked for.
struct TFrameRecorder : TcxEditPaintViewInfo {
  TFrameRecorder()
  {
    ButtonsInfo.push_back(std::make_unique<TcxEditButtonPaintInfo>());
    ButtonsInfo[0]->Bounds = ButtonsInfo[0]->VisibleBounds = RECT{0, 0, 17, 17};
  }
  void PaintButtonFrame(TcxCanvas*, int, TcxEditButtonStyle Style, const RECT&) override { Asked = Style; }
  TcxEditButtonStyle Asked = btsDefault;
};

TEST_F(EditPaint, ArrowSizes)
{
  struct {
    int Side;
    TcxArrowKind Dir;
    SIZE Want;
  } cases[] = {
      {9, TcxArrowKind::akUp, {5, 3}},   {10, TcxArrowKind::akUp, {5, 3}},   {8, TcxArrowKind::akUp, {3, 2}},
      {9, TcxArrowKind::akLeft, {3, 5}}, {8, TcxArrowKind::akRight, {2, 3}}, {1, TcxArrowKind::akDown, {1, 1}},
  };
  for (auto& c : cases) {
    SIZE got{};
    cxEditUtils::CalculateArrowSize(SIZE{c.Side, c.Side}, c.Dir, got);
    EXPECT_EQ(got.cx, c.Want.cx) << c.Side;
    EXPECT_EQ(got.cy, c.Want.cy) << c.Side;
  }
}

TEST_F(EditPaint, ArrowRowsWidenFromTheTip)
{
  TPaintFixture f(20, 20);
  cxEditUtils::PaintArrows(f.Canvas.get(), 3, RECT{0, 0, 20, 20}, TcxArrowKind::akUp, false, false, clBlack);
  const RECT ink = f.BoundsNot(kWhite);
  EXPECT_EQ(ink.right - ink.left, 5);
  EXPECT_EQ(ink.bottom - ink.top, 3);
  EXPECT_EQ(f.Count(RECT{ink.left, ink.top, ink.right, ink.top + 1}, kBlack, 1), 1) << "the tip";
  EXPECT_EQ(f.Count(RECT{ink.left, ink.bottom - 1, ink.right, ink.bottom}, kBlack, 1), 5) << "the base";
  f.Clear();
  cxEditUtils::PaintArrows(f.Canvas.get(), 3, RECT{0, 0, 20, 20}, TcxArrowKind::akRight, true, true, clBlack);
  const RECT dbl = f.BoundsNot(kWhite);
  EXPECT_EQ(dbl.right - dbl.left, 6) << "two arrows side by side";
  EXPECT_EQ(dbl.left, (20 - 6) / 2 + 1) << "pressed moves one pixel";
}

TEST_F(EditPaint, EllipsisDotsGrowAtTwelvePixels)
{
  for (int width : {11, 12}) {
    TPaintFixture f(20, 20);
    TcxEditPaintViewInfo vi;
    vi.ButtonsInfo.push_back(std::make_unique<TcxEditButtonPaintInfo>());
    vi.ButtonsInfo[0]->Kind = bkEllipsis;
    vi.ButtonsInfo[0]->Bounds = RECT{0, 0, width, 16};
    cxEditUtils::PaintButtonContent(f.Canvas.get(), vi, 0, RECT{0, 0, width, 16}, clBlack, clBtnFace);
    const int d = width >= 12 ? 2 : 1;
    EXPECT_EQ(cxEditUtils::GetEllipsisDotSize(width), d);
    EXPECT_EQ(f.Count(RECT{0, 0, 20, 20}, kBlack, 1), 3 * d * d) << width;
    const RECT ink = f.Ink(RECT{0, 0, width, 16}, Sys(clBtnFace));
    EXPECT_EQ(ink.right - ink.left, 3 * d + 4) << width;
  }
}

TEST_F(EditPaint, SimpleButtonPressedOrHotIsFramedFlat)
{
  struct {
    int State;
    int NativePart;
    TcxEditButtonStyle Want;
  } cases[] = {
      {cxEditButtonPressed, 0, btsFlat},    {cxEditButtonHot, 0, btsFlat},       {cxEditButtonNormal, 0, btsSimple},
      {cxEditButtonDisabled, 0, btsSimple}, {cxEditButtonPressed, 1, btsSimple},
  };
  TPaintFixture f(20, 20);
  for (auto& c : cases) {
    TFrameRecorder vi;
    vi.ButtonsInfo[0]->Style = btsSimple;
    vi.ButtonsInfo[0]->State = c.State;
    vi.ButtonsInfo[0]->NativePart = c.NativePart;
    cxEditUtils::PaintEditButton(f.Canvas.get(), vi, 0);
    EXPECT_EQ(vi.Asked, c.Want) << c.State << "/" << c.NativePart;
  }
}

TEST_F(EditPaint, BorderWidths)
{
  struct {
    bool Inplace, HotTrack, Shadow;
    TcxEditBorderStyle Style;
    RECT Want;
  } cases[] = {
      {false, false, false, ebsSingle, {1, 1, 1, 1}}, {false, true, false, ebsSingle, {2, 2, 2, 2}},
      {false, true, false, ebsNone, {2, 2, 2, 2}},    {false, false, false, ebs3D, {2, 2, 2, 2}},
      {false, false, true, ebsSingle, {1, 1, 4, 4}},  {false, true, true, ebsUltraFlat, {2, 2, 5, 5}},
      {true, true, true, ebsSingle, {1, 0, 2, 0}},
  };
  for (auto& c : cases) {
    const RECT r = cxEditUtils::CalculateBorderWidths(c.Inplace, RECT{1, 0, 2, 0}, false, c.HotTrack, false, c.Style,
                                                      cxEditUtils::EditHasShadow(c.Shadow, false));
    EXPECT_EQ(r.left, c.Want.left);
    EXPECT_EQ(r.top, c.Want.top);
    EXPECT_EQ(r.right, c.Want.right);
    EXPECT_EQ(r.bottom, c.Want.bottom) << int(c.Style) << c.HotTrack << c.Shadow;
  }
  EXPECT_FALSE(cxEditUtils::EditHasShadow(true, true)) << "a themed frame has no shadow";
}

TEST_F(EditPaint, MouseArea)
{
  TcxEditPaintViewInfo vi;
  vi.BorderWidths = RECT{2, 2, 2, 2};
  vi.BorderStyle = TcxContainerBorderStyle(ebs3D);
  vi.Edges = TcxBorders{bLeft, bTop};
  const RECT bounds{10, 10, 110, 31};
  RECT r{};
  vi.EditThemeState = 5;
  EXPECT_EQ(cxEditUtils::GetMouseArea(vi, bounds, r), 0);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.bottom, 31) << "themed: the bounds themselves";
  vi.EditThemeState = 0;
  EXPECT_EQ(cxEditUtils::GetMouseArea(vi, bounds, r), 2);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 10);
  EXPECT_EQ(r.right, 108) << "no right edge: stays inside the border";
  EXPECT_EQ(r.bottom, 29);
}

TEST_F(EditPaint, RemoveAccelChars)
{
  struct {
    const char* In;
    const char* Want;
  } cases[] = {
      {"", ""}, {"&Save", "Save"}, {"a&&b", "a&b"}, {"end&", "end_"}, {"&", "_"}, {"&&&x", "&x"}, {"合同&A", "合同A"},
  };
  for (auto& c : cases) EXPECT_EQ(cxEditUtils::RemoveAccelChars(c.In), AnsiString(c.Want)) << c.In;
}

TEST_F(EditPaint, CheckGlyphImageNeverPastTheImages)
{
  struct {
    TcxCheckBoxState State;
    TcxCheckMarkState Mark;
    int Count, Want;
  } cases[] = {
      {cbsChecked, cmsPressed, 6, 4}, {cbsChecked, cmsPressed, 5, 4}, {cbsChecked, cmsPressed, 4, 1},
      {cbsChecked, cmsPressed, 3, 1}, {cbsGrayed, cmsNormal, 3, 2},   {cbsChecked, cmsPressed, 2, 1},
      {cbsGrayed, cmsNormal, 2, 0},   {cbsGrayed, cmsPressed, 1, 0},  {cbsChecked, cmsHot, 1, 0},
  };
  for (auto& c : cases)
    EXPECT_EQ(cxEditUtils::GetCheckGlyphIndex(c.State, c.Mark, c.Count), c.Want)
        << int(c.State) << "/" << int(c.Mark) << "/" << c.Count;
}

TEST_F(EditPaint, TwoImageGlyphGrayedDrawsAnImageOfTheGlyph)
{
  TBitmap glyph;
  glyph.SetSize(26, 13);
  glyph.GetCanvas()->GetBrush()->SetColor(TColor(0x00FF00));
  glyph.GetCanvas()->FillRect(RECT{0, 0, 13, 13});
  glyph.GetCanvas()->GetBrush()->SetColor(TColor(0x0000FF));
  glyph.GetCanvas()->FillRect(RECT{13, 0, 26, 13});
  glyph.GetCanvas()->GetBrush()->SetColor(clWhite);
  glyph.GetCanvas()->FillRect(RECT{0, 12, 26, 13});  // the transparent colour at the bottom left
  TPaintFixture f(13, 13);
  cxEditUtils::PaintCheck(f.Canvas.get(), RECT{0, 0, 13, 13}, cbsGrayed, cmsNormal, &glyph, 2, ebsSingle, false,
                          clBlack, clWhite, true, false, false, nssGrayedChecked);
  EXPECT_EQ(f.At(6, 6), kGreen) << "image 0, the grayed index wrapped into the glyph";
}

TEST_F(EditPaint, GrayedCheckFollowsNullStyle)
{
  TBitmap* mask = cxEditUtils::CheckMarkMask();
  ASSERT_NE(mask, nullptr);
  int black = 0;
  for (int y = 0; y < mask->GetHeight(); ++y)
    for (int x = 0; x < mask->GetWidth(); ++x) black += (mask->GetScanLine(y)[x] & 0xFFFFFF) == 0;
  EXPECT_GT(black, 5) << "the mark's pixels";
  const COLORREF text = Sys(clBtnText), shadow = Sys(clBtnShadow);
  struct {
    TcxCheckBoxNullValueShowingStyle Null;
    COLORREF Face;
    bool Mark;
  } cases[] = {
      {nssUnchecked, Sys(clWindow), false},
      {nssInactive, Sys(clBtnFace), false},
      {nssGrayedChecked, Sys(clWindow), true},
  };
  for (auto& c : cases) {
    TPaintFixture f(13, 13);
    cxEditUtils::PaintCheck(f.Canvas.get(), RECT{0, 0, 13, 13}, cbsGrayed, cmsNormal, nullptr, 0, ebsUltraFlat, false,
                            clBtnShadow, clWindow, true, false, false, c.Null);
    EXPECT_EQ(f.At(2, 2), c.Face) << int(c.Null);
    EXPECT_EQ(f.Count(RECT{2, 2, 11, 11}, shadow, 1) > 0, c.Mark) << int(c.Null);
    EXPECT_EQ(f.Count(RECT{2, 2, 11, 11}, text, 1), 0) << "a grayed mark is never in the text colour";
  }
  TPaintFixture checked(13, 13);
  cxEditUtils::PaintCheck(checked.Canvas.get(), RECT{0, 0, 13, 13}, cbsChecked, cmsNormal, nullptr, 0, ebsUltraFlat,
                          false, clBtnShadow, clWindow, true, false, false, nssUnchecked);
  EXPECT_GT(checked.Count(RECT{2, 2, 11, 11}, text, 1), 5);
}

TEST_F(EditPaint, SizeGripIsMirroredPerCorner)
{
  const int n = 24;
  std::unique_ptr<TPaintFixture> grips[4];
  for (int corner = 0; corner < 4; ++corner) {
    grips[corner] = std::make_unique<TPaintFixture>(n, n);
    cxEditUtils::PaintSizeGrip(grips[corner]->Canvas.get(), RECT{0, 0, n, n}, corner, false);
  }
  const COLORREF face = Sys(clBtnFace);
  ASSERT_GT(grips[3]->CountNot(face), 4) << "the grip has lines";
  const RECT ink = grips[3]->BoundsNot(face);
  EXPECT_GE(ink.left, n / 2) << "bottom-right grip sits in its corner";
  EXPECT_GE(ink.top, n / 2);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const COLORREF br = grips[3]->At(x, y);
      ASSERT_EQ(grips[2]->At(n - 1 - x, y), br) << "bottom-left at " << x << "," << y;
      ASSERT_EQ(grips[1]->At(x, n - 1 - y), br) << "top-right at " << x << "," << y;
      ASSERT_EQ(grips[0]->At(n - 1 - x, n - 1 - y), br) << "top-left at " << x << "," << y;
    }
}

TEST_F(EditPaint, PopupRegionLeavesOutTheShadowOverItsEditor)
{
  TcxEditPopupPaintInfo vi;
  vi.Bounds = RECT{0, 0, 200, 120};
  vi.Shadow = true;
  const RECT owner{10, 120, 90, 141};
  struct {
    int Corner;
    bool Native;
    bool HasRegion;
    RECT Excluded;
  } cases[] = {
      {0, false, true, {10, 117, 87, 120}},
      {1, false, true, {10, 117, 87, 120}},
      {2, false, true, {}},
      {3, false, true, {}},
      {0, true, false, {}},
  };
  for (auto& c : cases) {
    vi.SizeGripCorner = c.Corner;
    vi.NativeStyle = c.Native;
    RECT r{}, ex{};
    EXPECT_EQ(cxEditUtils::CalculatePopupWindowRegion(vi, owner, r, ex), c.HasRegion);
    if (c.HasRegion) {
      EXPECT_EQ(r.right, 197);
      EXPECT_EQ(r.bottom, 117);
    }
    EXPECT_EQ(ex.left, c.Excluded.left) << c.Corner;
    EXPECT_EQ(ex.top, c.Excluded.top) << c.Corner;
    EXPECT_EQ(ex.right, c.Excluded.right) << c.Corner;
    EXPECT_EQ(ex.bottom, c.Excluded.bottom) << c.Corner;
  }
}

TEST_F(EditPaint, HotLightColourIsSystemColour26OnThisPlatform)
{
  EXPECT_EQ(cxEditUtils::GetHotLightColor(), TColor(Windows::GetSysColor(COLOR_HOTLIGHT)));
}

}  // namespace

namespace {

// A stand-alone single-border editor without buttons over a white page.
std::unique_ptr<TcxEditPaintViewInfo> PlainPaintEditor(RECT Bounds)
{
  auto vi = std::make_unique<TcxEditPaintViewInfo>();
  vi->Bounds = Bounds;
  vi->BorderStyle = TcxContainerBorderStyle(ebsSingle);
  vi->BorderColor = clBlack;
  vi->BackgroundColor = clWindow;
  vi->BorderRect = vi->ClientRect = RECT{Bounds.left + 1, Bounds.top + 1, Bounds.right - 1, Bounds.bottom - 1};
  vi->TextColor = clBlack;
  return vi;
}

TEST_F(EditPaint, TextEditorSelectedLookFocusAndInnerEdit)
{
  struct {
    bool Selected, Focused, Shown, InnerVisible;
    bool WantHighlight, WantText, WantFocusDots;
  } cases[] = {
      {false, false, false, false, false, true, false}, {true, false, false, false, true, true, false},
      {false, true, false, false, false, true, true},   {false, true, true, false, false, true, false},
      {false, false, true, true, false, false, false},
  };
  for (auto& k : cases) {
    TPaintFixture f(100, 24, kWhite);
    auto vi = PlainPaintEditor(RECT{0, 0, 100, 24});
    vi->Focused = k.Focused;
    TcxTextPaintInfo t;
    t.Text = "WWW";
    t.TextRect = RECT{4, 3, 96, 21};
    t.TextFlags = cxEditTextUtils::etfSingleLine;
    t.SelectedLook = k.Selected;
    t.EditWindowShown = k.Shown;
    t.InnerEditVisible = k.InnerVisible;
    cxEditUtils::PaintTextEditViewInfo(f.Canvas.get(), *vi, t);
    const RECT inner{3, 3, 97, 21};
    EXPECT_EQ(f.Count(inner, Sys(clHighlight), 1) > 100, k.WantHighlight) << k.Selected << k.Focused << k.Shown;
    const COLORREF ink = k.Selected ? Sys(clHighlightText) : kBlack;
    EXPECT_EQ(f.Count(RECT{4, 3, 60, 21}, ink, 80) > 10, k.WantText) << k.Selected << k.Focused << k.Shown;
    // The focus rectangle dots the ring just inside the client frame.
    int dots = 0;
    for (int y = 3; y < 21; ++y) dots += f.At(2, y) != f.At(3, 12);
    EXPECT_EQ(dots > 3, k.WantFocusDots) << k.Selected << k.Focused << k.Shown;
  }
}

TEST_F(EditPaint, CheckThemeStatesAndCheckBoxViewInfo)
{
  struct {
    TcxCheckBoxState State;
    TcxCheckMarkState Mark;
    TcxCheckBoxNullValueShowingStyle Null;
    int Want;
  } states[] = {
      {cbsUnchecked, cmsNormal, nssGrayedChecked, 1}, {cbsChecked, cmsPressed, nssGrayedChecked, 7},
      {cbsGrayed, cmsHot, nssUnchecked, 2},           {cbsGrayed, cmsPressed, nssInactive, 4},
      {cbsGrayed, cmsDisabled, nssGrayedChecked, 12},
  };
  for (auto& k : states) EXPECT_EQ(cxEditUtils::GetCheckThemeState(k.State, k.Mark, k.Null), k.Want);

  TPaintFixture f(120, 24, kWhite);
  auto vi = PlainPaintEditor(RECT{0, 0, 120, 24});
  vi->Focused = true;
  TcxCheckBoxPaintInfo cb;
  cb.CheckRect = RECT{4, 5, 17, 18};
  cb.CaptionRect = RECT{22, 2, 118, 22};
  cb.Caption = "合同";
  cb.TextFlags = tfSingleLine | tfAlignVCenter;
  cb.State = cbsChecked;
  cb.CheckBorderStyle = ebsUltraFlat;
  cxEditUtils::CalculateCheckBoxMarkInfo(f.Canvas.get(), *vi, cb, true);
  EXPECT_EQ(cb.ThemedCheckState, 0) << "no theme library: classic";
  EXPECT_EQ(cb.FocusRect.left, 21);
  EXPECT_LT(cb.FocusRect.right, 80) << "around the measured caption";
  cxEditUtils::PaintCheckBoxViewInfo(f.Canvas.get(), *vi, cb);
  EXPECT_GT(f.Count(RECT{6, 7, 15, 16}, Sys(clBtnText), 1), 5) << "the mark";
  EXPECT_EQ(f.At(4, 10), Sys(clWindow)) << "the opaque band outside a one-pixel border";
  EXPECT_EQ(f.At(5, 10), Sys(clHighlight)) << "the ultra-flat check frame of a focused box";
  EXPECT_GT(f.Count(cb.CaptionRect, kBlack, 80), 10) << "the caption";
}

TEST_F(EditPaint, SpinSeparatorOnlyOverThemedButtons)
{
  for (int native : {0, 1}) {
    TPaintFixture f(100, 24, kWhite);
    auto vi = PlainPaintEditor(RECT{0, 0, 100, 24});
    vi->BackgroundColor = TColor(0x0000FF);
    vi->ButtonsInfo.push_back(std::make_unique<TcxEditButtonPaintInfo>());
    vi->ButtonsInfo[0]->NativePart = native;
    vi->ButtonsInfo[0]->Bounds = vi->ButtonsInfo[0]->VisibleBounds = RECT{80, 1, 99, 23};
    vi->ClientRect.right = 80;
    TcxTextPaintInfo t;
    cxEditUtils::PaintSpinEditViewInfo(f.Canvas.get(), *vi, t, sbpVert, POINT{80, 12}, POINT{98, 12});
    EXPECT_EQ(f.Count(RECT{80, 12, 99, 13}, kRed, 1) == 19, native == 1) << native;
  }
}

}  // namespace

namespace {

TEST_F(EditPaint, ImageListGlyphOverItsBackground)
{
  TCustomImageList list(nullptr);
  list.SetWidth(8);
  list.SetHeight(8);
  TBitmap image;
  image.SetSize(8, 8);
  image.GetCanvas()->GetBrush()->SetColor(clFuchsia);
  image.GetCanvas()->FillRect(RECT{0, 0, 8, 8});
  image.GetCanvas()->GetBrush()->SetColor(clRed);
  image.GetCanvas()->FillRect(RECT{2, 2, 6, 6});
  ASSERT_EQ(list.AddMasked(&image, clFuchsia), 0);
  TPaintFixture f(20, 20);
  cxEditUtils::DrawImageListGlyph(f.Canvas.get(), &list, 0, RECT{4, 4, 12, 12}, clBlue, true);
  EXPECT_EQ(f.At(7, 7), kRed);
  EXPECT_EQ(f.At(4, 4), kBlue) << "the transparent part shows the background colour";
  EXPECT_EQ(f.At(13, 13), kWhite) << "nothing outside the image";
  cxEditUtils::DrawImageListGlyph(f.Canvas.get(), &list, 1, RECT{0, 0, 8, 8}, clBlue, true);
  EXPECT_EQ(f.At(0, 0), kWhite) << "an index past the list draws nothing";
}

}  // namespace

namespace {

TEST_F(EditPaint, PopupOwnerRect)
{
  struct {
    bool Native, Shadow, Inplace;
    TcxEditBorderStyle Style;
    TcxBorders Edges;
    RECT Want;
  } cases[] = {
      {true, true, false, ebs3D, cxBordersAll, {10, 10, 110, 31}},
      {false, true, true, ebs3D, cxBordersAll, {10, 10, 110, 28}},
      {false, false, false, ebs3D, cxBordersAll, {10, 10, 110, 31}},
      {false, false, false, ebsSingle, cxBordersAll, {11, 11, 109, 30}},
      {false, true, false, ebsSingle, TcxBorders{bLeft, bTop}, {11, 11, 108, 26}},
  };
  for (auto& k : cases) {
    TcxEditPaintViewInfo vi;
    vi.Bounds = RECT{10, 10, 110, 31};
    vi.NativeStyle = k.Native;
    vi.Shadow = k.Shadow;
    vi.IsInplace = k.Inplace;
    vi.BorderStyle = TcxContainerBorderStyle(k.Style);
    vi.Edges = k.Edges;
    RECT r{};
    cxEditUtils::GetPopupOwnerRect(vi, r);
    EXPECT_EQ(r.left, k.Want.left) << int(k.Style);
    EXPECT_EQ(r.top, k.Want.top) << int(k.Style);
    EXPECT_EQ(r.right, k.Want.right) << int(k.Style);
    EXPECT_EQ(r.bottom, k.Want.bottom) << int(k.Style);
  }
}

TEST_F(EditPaint, AButtonWiderThanItsEditorPaintsOnlyItsVisiblePart)
{
  TPaintFixture f(60, 30, kWhite);
  auto vi = PlainPaintEditor(RECT{0, 0, 40, 21});
  auto b = std::make_unique<TcxEditButtonPaintInfo>();
  b->Style = bts3D;
  b->Kind = bkEllipsis;
  b->Bounds = RECT{-10, 1, 39, 20};  // reaches left of the border
  b->VisibleBounds = RECT{1, 1, 39, 20};
  vi->ButtonsInfo.push_back(std::move(b));
  vi->Paint(f.Canvas.get());
  EXPECT_EQ(f.At(0, 10), kBlack) << "the border stays";
  EXPECT_EQ(f.Count(RECT{40, 0, 60, 30}, kWhite, 1), 20 * 30) << "nothing right of the editor";
  EXPECT_EQ(f.At(38, 10), Sys(cl3DDkShadow)) << "the button's right edge";
}

}  // namespace
