// Pictures for people to look at: a control with its own bars and grip, containers in every
// border style cold and hot, one with a shadow, pop-up frames 0 to 3 and the inner list box, in
// the standard, flat, ultra-flat and themed fall-back looks. A few colours are checked too.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>

#include "controls/framework/cxCustomPopupWindow.h"
#include "controls/framework/cxInnerListBox.h"
#include "controls/framework/cxLookAndFeels.h"
#include "controls/framework/tests/ControlTestUtil.h"
#include "controls/framework/tests/PaintFixture.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/forms/Form.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/rtl/FormatText.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/window/Windows.h"

namespace {

class TPicturedControl : public TcxControl {
public:
  using TcxControl::TcxControl;

protected:
  void UpdateScrollBarsParameters() override
  {
    RECT r = GetClientBounds();
    SetScrollBarInfo(sbHorizontal, 0, 399, 1, r.right - r.left, 40, true, true);
    SetScrollBarInfo(sbVertical, 0, 299, 1, r.bottom - r.top, 100, true, true);
  }
  void Paint() override
  {
    TcxControl::Paint();
    TCanvas* c = TCustomControl::GetCanvas();
    c->GetBrush()->SetColor(clWindow);
    c->FillRect(GetClientBounds());
    c->TextOut(6, 6, "合同列表");
  }
};

class TPicturedContainer : public TcxContainer {
public:
  explicit TPicturedContainer(TComponent* AOwner, bool WithList) : TcxContainer(AOwner)
  {
    if (!WithList) return;
    List = new TcxCustomInnerListBox(this);
    List->SetContainer(this);
    List->SetParent(this);
    SetInnerControl(List);
  }
  TcxCustomInnerListBox* List = nullptr;
};

struct FrameworkPicturesTest : cxWindowTest {
  // Copies a window's client pixels into the page.
  void GrabWindow(HWND Wnd, int W, int H, TPaintFixture& Page, int X, int Y)
  {
    Windows::UpdateWindow(Wnd);
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        COLORREF c = Headless::ClientPixel(Wnd, x, y);
        if (c != CLR_INVALID) Windows::SetPixel(Page.DC, X + x, Y + y, c);
      }
  }
  void Grab(TWinControl* C, TPaintFixture& Page, int X, int Y)
  {
    Pump();
    GrabWindow(C->GetHandle(), C->GetWidth(), C->GetHeight(), Page, X, Y);
  }
};

TEST_F(FrameworkPicturesTest, EveryPieceInEveryLook)
{
  const std::pair<const char*, std::function<void(TcxLookAndFeel*)>> looks[] = {
      {"standard", [](TcxLookAndFeel* l) { l->SetKind(lfStandard); }},
      {"flat", [](TcxLookAndFeel* l) { l->SetKind(lfFlat); }},
      {"ultra-flat", [](TcxLookAndFeel* l) { l->SetKind(lfUltraFlat); }},
      {"themed fall-back", [](TcxLookAndFeel* l) { l->SetNativeStyle(true); }},
  };
  const TcxContainerBorderStyle styles[] = {cbsNone, cbsSingle, cbsThick, cbsFlat, cbs3D, cbsUltraFlat};
  constexpr int BandH = 250, PageW = 1000;
  const COLORREF paper = Graphics::ColorToRGB(clBtnFace);
  TPaintFixture page(PageW, int(std::size(looks)) * BandH, paper);
  Form->SetBounds(0, 0, 1000, 700);
  Form->SetColor(clBtnFace);

  auto* control = new TPicturedControl(Form);
  control->SetParent(Form);
  control->SetBounds(10, 10, 180, 120);
  control->SetBorderStyle(cxcbsDefault);
  TPicturedContainer* boxes[6];
  for (int i = 0; i < 6; ++i) {
    boxes[i] = new TPicturedContainer(Form, false);
    boxes[i]->SetParent(Form);
    boxes[i]->SetBounds(210 + i * 100, 10, 90, 40);
    boxes[i]->GetStyle()->SetBorderStyle(styles[i]);
  }
  auto* shadowed = new TPicturedContainer(Form, false);
  shadowed->SetParent(Form);
  shadowed->SetBounds(210, 150, 90, 40);
  shadowed->GetStyle()->SetBorderStyle(cbsSingle);
  shadowed->GetStyle()->SetShadow(true);
  auto* listBox = new TPicturedContainer(Form, true);
  listBox->SetParent(Form);
  listBox->SetBounds(820, 10, 160, 110);
  listBox->GetStyle()->SetBorderStyle(cbsSingle);
  for (int i = 0; i < 30; ++i) listBox->List->GetItems()->Add("合同 " + SysUtils::IntToStr(1000 + i));
  Windows::SendMessage(listBox->List->GetHandle(), LB_SETHORIZONTALEXTENT, 400, 0);
  TcxCustomPopupWindow* popups[4];
  for (int f = 0; f < 4; ++f) {
    popups[f] = new TcxCustomPopupWindow(control);
    Owner->InsertComponent(popups[f]);
    popups[f]->SetTakeFocus(false);
    popups[f]->SetFitToControls(false);
    popups[f]->SetFrameStyle(f);
    popups[f]->SetColor(clWindow);
    popups[f]->SetBounds(0, 0, 80, 50);
    popups[f]->SetAnchorBounds(RECT{0, 0, 0, 0});
  }
  Pump();

  for (size_t l = 0; l < std::size(looks); ++l) {
    SCOPED_TRACE(looks[l].first);
    TcxLookAndFeel* root = cxLookAndFeels::RootLookAndFeel();
    root->SetNativeStyle(false);
    looks[l].second(root);
    Click(Form, 500, 600);  // the focus and the mouse away from the pieces
    const int top = int(l) * BandH + 6;
    Grab(control, page, 6, top);
    for (int i = 0; i < 6; ++i) {
      Grab(boxes[i], page, 200 + i * 100, top);  // cold
      MoveTo(boxes[i], 45, 20);
      Wait(20);
      Grab(boxes[i], page, 200 + i * 100, top + 50);  // hot
      EXPECT_EQ(boxes[i]->GetViewInfo()->HotState, 2);
      MoveTo(Form, 500, 600);
      Wait(30);
    }
    Grab(shadowed, page, 200, top + 110);
    Grab(listBox, page, 820, top);
    for (int f = 0; f < 4; ++f) {
      popups[f]->SetAnchorBounds(RECT{300 + f * 100, 160, 300 + f * 100, 160});
      popups[f]->Popup(nullptr);
      Pump();
      Grab(popups[f], page, 320 + f * 100, top + 110);
      // Frame 1 draws a one-pixel line in the window-text colour.
      if (f == 1) EXPECT_EQ(Headless::ClientPixel(popups[f]->GetHandle(), 0, 10), Graphics::ColorToRGB(clWindowText));
      popups[f]->ClosePopup(false);
    }
    // The checks that matter: ultra-flat frames in shadow, the shadow falls right and below.
    EXPECT_EQ(Headless::ClientPixel(boxes[5]->GetHandle(), 1, 20), Graphics::ColorToRGB(clBtnShadow));
    EXPECT_EQ(Headless::ClientPixel(shadowed->GetHandle(), 88, 20), Graphics::ColorToRGB(clBtnShadow));
    for (int i = 0; i < 6; ++i) {
      RECT cell{200 + i * 100, top, 290 + i * 100, top + 90};
      EXPECT_FALSE(cxGraphics::IsRectEmpty(page.Ink(cell, paper))) << i;
    }
  }
  cxLookAndFeels::RootLookAndFeel()->SetNativeStyle(false);
  cxLookAndFeels::RootLookAndFeel()->SetKind(lfUltraFlat);
  auto png = PngFile::SavePng(page.Bmp);
  ASSERT_FALSE(png.empty());
  std::ofstream(std::string(PELTO_TEST_OUTPUT) + "/cx-framework-pieces.png", std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}

}  // namespace
