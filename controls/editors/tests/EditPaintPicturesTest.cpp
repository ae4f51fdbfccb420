// Pictures for people to look at: editor frames in every border style, hot state and button
// style; then per look (standard, flat, ultra-flat, themed fall-back) buttons of every kind
// normal, hot, pressed and disabled, check marks in every state, spin buttons in their three
// positions and pop-up borders with the grip in each corner. A few pixels are checked as well.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/paint/cxEditTextUtils.h"
#include "controls/editors/paint/cxEditUtils.h"
#include "controls/framework/FrameworkModule.h"
#include "controls/framework/tests/PaintFixture.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/SavedDC.h"
#include "platform/testsupport/ScreenPicture.h"

namespace {

constexpr int kPicEditW = 104, kPicEditH = 21;

struct TPictureLook {
  const char* Name;
  TcxEditBorderStyle Border;
  TcxEditButtonStyle Buttons;
  TcxEditPopupBorderStyle Popup;
  bool Native;
};

constexpr TPictureLook kPictureLooks[] = {
    {"standard", ebs3D, bts3D, epbsFrame3D, false},
    {"flat", ebsFlat, btsFlat, epbsFlat, false},
    {"ultraflat", ebsUltraFlat, btsUltraFlat, epbsSingle, false},
    {"themed-fallback", ebs3D, bts3D, epbsFrame3D, true},
};

// An editor's view info laid out as the editors lay it out: border, one or two buttons at the
// right, the client rectangle left of them.
template <class TViewInfo = TcxEditPaintViewInfo>
std::unique_ptr<TViewInfo> MakePictureEditor(RECT Bounds, TcxEditBorderStyle Style, bool Hot, int Buttons,
                                             TcxEditButtonStyle ButtonStyle, int State, TcxEditButtonKind Kind,
                                             bool Native = false)
{
  auto vi = std::make_unique<TViewInfo>();
  vi->Bounds = Bounds;
  const TcxEditBorderStyle effective = Style == ebsUltraFlat ? ebsSingle : Style;
  vi->BorderStyle = TcxContainerBorderStyle(effective);
  vi->BorderWidths = cxEditUtils::CalculateBorderWidths(false, RECT{}, false, Hot, false, effective, false);
  vi->BorderRect = RECT{Bounds.left + vi->BorderWidths.left, Bounds.top + vi->BorderWidths.top,
                        Bounds.right - vi->BorderWidths.right, Bounds.bottom - vi->BorderWidths.bottom};
  vi->FrameRect = vi->BorderRect;
  vi->BorderColor = Style == ebsUltraFlat ? (Hot ? clHighlight : clBtnShadow) : clWindowFrame;
  vi->BackgroundColor = clWindow;
  vi->NativeStyle = Native;
  int right = vi->BorderRect.right;
  for (int i = 0; i < Buttons; ++i) {
    auto b = std::make_unique<TcxEditButtonPaintInfo>();
    b->Style = ButtonStyle;
    b->State = State;
    b->Kind = i == 0 ? Kind : bkEllipsis;
    b->NativeStyle = Native;
    b->DropDownArrowOnly = Buttons == 1 && Kind == bkDown;
    const int w = cxEditUtils::GetButtonWidth(nullptr, *b);
    b->Bounds = b->VisibleBounds = RECT{right - w, vi->BorderRect.top, right, vi->BorderRect.bottom};
    b->RightEdge = i == 0;
    b->LeftEdge = i == Buttons - 1;
    cxEditUtils::CalculateButtonThemeInfo(*b);
    right -= w;
    vi->ButtonsInfo.push_back(std::move(b));
  }
  vi->ClientRect = RECT{vi->BorderRect.left, vi->BorderRect.top, right, vi->BorderRect.bottom};
  return vi;
}

// Spin buttons: their own frames and arrows in place of the shared ones.
struct TSpinPictureViewInfo : TcxEditPaintViewInfo {
  TcxSpinEditButtonsPosition Position = sbpVert;
  void PaintButtonFrame(TcxCanvas* C, int Index, TcxEditButtonStyle Style, const RECT& R) override
  {
    cxEditUtils::PaintSpinButton(C, *this, Index, Style, R, Position, Arrow(Index));
  }
  void PaintButtonContent(TcxCanvas* C, int Index, const RECT& R, TColor Content, TColor Face) override
  {
    cxEditUtils::PaintSpinButtonContent(C, *this, Index, R, Content, Face, Position, Arrow(Index));
  }
  int Arrow(int Index) const
  {
    const RECT& b = ButtonsInfo[Index]->Bounds;
    SIZE a{};
    cxEditUtils::CalculateArrowSize(SIZE{b.right - b.left - 4, b.bottom - b.top - 2}, TcxArrowKind::akUp, a);
    return a.cy;
  }
};

void PaintPictureEditor(TcxCanvas* C, TcxEditPaintViewInfo& VI, const char* Text)
{
  VI.Paint(C);
  RECT r = VI.ClientRect;
  cxTextOut(C, Text, r, cxEditTextUtils::etfSingleLine | cxEditTextUtils::etfAlignVCenter, 0, 1, 1);
}

void SaveEditPicture(const TPixelCanvas& Page, const std::string& Name)
{
  WritePng(Page, std::string(PELTO_TEST_OUTPUT) + "/" + Name);
}

struct EditPaintPictures : ::testing::Test {
  void SetUp() override
  {
    FrameworkModule::Initialize();
    EditorsModule::Initialize();
  }
};

TEST_F(EditPaintPictures, FramesInEveryBorderStyleHotStateAndButtonStyle)
{
  const TcxEditBorderStyle borders[] = {ebsNone, ebsSingle, ebsThick, ebsFlat, ebs3D, ebsUltraFlat};
  const TcxEditButtonStyle buttons[] = {bts3D, btsFlat, btsSimple, btsHotFlat, btsUltraFlat};
  TPaintFixture page(8 + 5 * (kPicEditW + 8), 8 + 12 * (kPicEditH + 6), Sys(clBtnFace));
  page.Canvas->GetFont()->SetName("宋体");
  page.Canvas->GetFont()->SetHeight(-12);
  for (int b = 0; b < 6; ++b)
    for (int hot = 0; hot < 2; ++hot)
      for (int s = 0; s < 5; ++s) {
        const int x = 8 + s * (kPicEditW + 8), y = 8 + (b * 2 + hot) * (kPicEditH + 6);
        auto vi = MakePictureEditor(RECT{x, y, x + kPicEditW, y + kPicEditH}, borders[b], hot != 0, 1, buttons[s],
                                    hot ? cxEditButtonHot : cxEditButtonNormal, bkDown);
        PaintPictureEditor(page.Canvas.get(), *vi, "合同编号");
      }
  SaveEditPicture(page, "cx-edit-frames.png");
  // A single border is one pixel of the border colour; a 3-D one starts in the shadow colour.
  const int y1 = 8 + 2 * (kPicEditH + 6);
  EXPECT_EQ(page.At(8, y1 + 10), Sys(clWindowFrame));
  EXPECT_EQ(page.At(9, y1 + 10), Sys(clWindow));
  const int y3d = 8 + 8 * (kPicEditH + 6);
  EXPECT_EQ(page.At(8, y3d + 10), Sys(clBtnShadow));
  const int yUltraHot = 8 + 11 * (kPicEditH + 6);
  EXPECT_EQ(page.At(9, yUltraHot + 10), Sys(clHighlight)) << "a hot ultra-flat border, inside the hot-track band";
  EXPECT_EQ(page.At(8, yUltraHot + 10), Sys(clBtnFace)) << "the band is not painted";
}

TEST_F(EditPaintPictures, ButtonsChecksSpinsAndPopupsPerLook)
{
  const int states[] = {cxEditButtonNormal, cxEditButtonHot, cxEditButtonPressed, cxEditButtonDisabled};
  const TcxEditButtonKind kinds[] = {bkDown, bkEllipsis, bkGlyph};
  const TcxCheckBoxState checks[] = {cbsUnchecked, cbsChecked, cbsGrayed};
  const TcxCheckMarkState marks[] = {cmsNormal, cmsHot, cmsPressed, cmsDisabled};
  const TcxSpinEditButtonsPosition positions[] = {sbpVert, sbpHorzRight, sbpHorzLeftRight};
  TBitmap glyph;
  glyph.SetSize(10, 10);
  glyph.GetCanvas()->GetBrush()->SetColor(clFuchsia);
  glyph.GetCanvas()->FillRect(RECT{0, 0, 10, 10});
  glyph.GetCanvas()->GetBrush()->SetColor(clGreen);
  glyph.GetCanvas()->FillRect(RECT{2, 2, 8, 8});
  for (const TPictureLook& look : kPictureLooks) {
    TPaintFixture page(600, 470, Sys(clBtnFace));
    TcxCanvas* c = page.Canvas.get();
    c->GetFont()->SetName("宋体");
    c->GetFont()->SetHeight(-12);
    // Buttons: one row per kind, one column per state.
    for (int k = 0; k < 3; ++k)
      for (int s = 0; s < 4; ++s) {
        const int x = 8 + s * (kPicEditW + 8), y = 8 + k * (kPicEditH + 6);
        auto vi = MakePictureEditor(RECT{x, y, x + kPicEditW, y + kPicEditH}, look.Border, s == 1, k == 1 ? 2 : 1,
                                    look.Buttons, states[s], kinds[k], look.Native);
        if (kinds[k] == bkGlyph) vi->ButtonsInfo[0]->Glyph = &glyph;
        PaintPictureEditor(c, *vi, "状态");
      }
    // Check marks: rows per state (grayed once per null style), columns per mark state.
    const int checkTop = 100;
    int row = 0;
    for (TcxCheckBoxState st : checks)
      for (int ns = 0; ns < (st == cbsGrayed ? 3 : 1); ++ns, ++row)
        for (int m = 0; m < 4; ++m) {
          const int x = 8 + m * 24, y = checkTop + row * 20;
          cxEditUtils::PaintCheck(c, RECT{x, y, x + 17, y + 17}, st, marks[m], nullptr, 0, look.Border, look.Native,
                                  clBtnShadow, clWindow, true, false, m == 0, TcxCheckBoxNullValueShowingStyle(ns));
        }
    // Spin buttons: one editor per position, normal, then the first pressed and the second hot.
    const int spinTop = checkTop + 5 * 20 + 10;
    for (int p = 0; p < 3; ++p)
      for (int v = 0; v < 3; ++v) {
        const int x = 130 + v * (kPicEditW + 8), y = spinTop + p * (kPicEditH + 6);
        auto vi = MakePictureEditor<TSpinPictureViewInfo>(RECT{x, y, x + kPicEditW, y + kPicEditH}, look.Border, false,
                                                          2, look.Buttons, cxEditButtonNormal, bkDown, look.Native);
        vi->Position = positions[p];
        auto& b0 = *vi->ButtonsInfo[1];  // the left one of the pair
        auto& b1 = *vi->ButtonsInfo[0];
        const RECT area{b0.Bounds.left, b0.Bounds.top, b1.Bounds.right, b1.Bounds.bottom};
        if (positions[p] == sbpVert) {
          const int mid = (area.top + area.bottom) / 2;
          b0.Bounds = b0.VisibleBounds = RECT{area.left, mid, area.right, area.bottom};
          b1.Bounds = b1.VisibleBounds = RECT{area.left, area.top, area.right, mid};
          vi->ClientRect.right = area.left;
        } else if (positions[p] == sbpHorzLeftRight) {
          const int w = b0.Bounds.right - b0.Bounds.left;
          b0.Bounds = b0.VisibleBounds = RECT{vi->BorderRect.left, area.top, vi->BorderRect.left + w, area.bottom};
          b0.LeftAlignment = true;
          vi->ClientRect.left = b0.Bounds.right;
          vi->ClientRect.right = b1.Bounds.left;
        }
        std::swap(vi->ButtonsInfo[0], vi->ButtonsInfo[1]);  // button 0 first
        if (v == 1) vi->ButtonsInfo[0]->State = cxEditButtonPressed;
        if (v == 2) {
          vi->ButtonsInfo[0]->State = cxEditButtonDisabled;
          vi->ButtonsInfo[1]->State = cxEditButtonHot;
        }
        vi->Paint(c);
        RECT tr = vi->ClientRect;
        cxTextOut(c, "123", tr, cxEditTextUtils::etfSingleLine | cxEditTextUtils::etfAlignVCenter, 0, 1, 1);
      }
    // Pop-ups with the system panel and the grip in each corner.
    const int popupTop = spinTop + 3 * (kPicEditH + 6) + 10;
    for (int corner = 0; corner < 4; ++corner) {
      TcxEditPopupPaintInfo pv;
      pv.Bounds = RECT{0, 0, 130, 90};
      pv.BorderStyle = look.Popup;
      pv.ClientEdge = true;
      pv.CloseButton = true;
      pv.Shadow = true;
      pv.Sizeable = true;
      pv.SysPanel = true;
      pv.SizeGripCorner = corner;
      pv.CloseButtonLookAndFeelKind =
          look.Border == ebsFlat ? lfFlat : (look.Border == ebs3D ? lfStandard : lfUltraFlat);
      cxEditUtils::CalculatePopupLayout(pv);
      TSavedDC saved(page.DC);
      Windows::SetViewportOrgEx(page.DC, 8 + corner * 145, popupTop, nullptr);
      cxEditUtils::PaintPopupWindowViewInfo(c, pv);
    }
    SaveEditPicture(page, std::string("cx-edit-paint-") + look.Name + ".png");
    EXPECT_NE(page.CountNot(Sys(clBtnFace)), 0) << look.Name;
    // The pressed button's face: ultra-flat in its pressed colour, the others in the button face.
    const int px = 8 + 2 * (kPicEditW + 8) + kPicEditW - 5;
    EXPECT_NE(page.At(px, 8 + 10), Sys(clWindow)) << look.Name;
  }
}

}  // namespace
