// The gallery of the control framework on the desktop back end: a painted scroll bar, a control
// with its own bars and grip, containers in every border style (hot-tracking), one with a shadow,
// a container with an inner list box of 100,000 lines, and a button that opens a drop-down. It
// reports on standard output, one flushed line each, so that a script can drive it (the Xvfb test
// does): "ready" with the screen points it clicks, "scroll <code> <position>" from the scroll
// bar, "top <index>" for the list's first visible line on F11, "popup shown" / "popup closed",
// "clicked outside" from the control beside, and "shot" after F12 saved a screenshot to the path
// given as the first argument, before it ends.
#include <cstdio>
#include <string>

#include "controls/framework/FrameworkModule.h"
#include "controls/framework/cxCustomPopupWindow.h"
#include "controls/framework/cxInnerListBox.h"
#include "controls/framework/cxScrollBar.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/forms/Form.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/rtl/FormatText.h"
#include "platform/win/backend/DemoSupport.h"
#include "platform/win/backend/SdlBackend.h"
#include "platform/win/window/Windows.h"

namespace {

std::string gShotPath;

using Demo::Say;

using Demo::At;

// A painted control with a content larger than itself.
class TSheet : public TcxControl {
public:
  using TcxControl::TcxControl;
  int Left = 0, Top = 0;

protected:
  void UpdateScrollBarsParameters() override
  {
    RECT r = GetClientBounds();
    SetScrollBarInfo(sbHorizontal, 0, 599, 10, r.right - r.left, Left, true, true);
    SetScrollBarInfo(sbVertical, 0, 499, 10, r.bottom - r.top, Top, true, true);
  }
  void Scroll(TScrollBarKind Kind, TScrollCode Code, int& Pos) override
  {
    int& v = Kind == sbHorizontal ? Left : Top;
    switch (Code) {
      case scLineUp: v -= 10; break;
      case scLineDown: v += 10; break;
      case scTrack:
      case scPosition: v = Pos; break;
      default: break;
    }
    v = std::max(0, v);
    UpdateScrollBars();
    Invalidate();
  }
  void Paint() override
  {
    TcxControl::Paint();
    TCanvas* c = TCustomControl::GetCanvas();
    RECT r = GetClientBounds();
    c->GetBrush()->SetColor(clWindow);
    c->FillRect(r);
    for (int row = 0; row < 25; ++row)
      c->TextOut(6 - Left, 4 + row * 20 - Top, "合同 " + SysUtils::IntToStr(2000 + row) + "  付款计划  已开票");
  }
};

class TListBoxContainer : public TcxContainer {
public:
  explicit TListBoxContainer(TComponent* AOwner) : TcxContainer(AOwner)
  {
    List = new TcxCustomInnerListBox(this);
    List->SetContainer(this);
    List->SetParent(this);
    SetInnerControl(List);
  }
  TcxCustomInnerListBox* List;
};

class TPlainContainer : public TcxContainer {
public:
  using TcxContainer::TcxContainer;
};

// A button-like painted control that opens the drop-down under itself.
class TDropButton : public TcxControl {
public:
  using TcxControl::TcxControl;
  TcxCustomPopupWindow* DropDown = nullptr;

protected:
  void Paint() override
  {
    RECT r = GetClientRect();
    GetLookAndFeelPainter()->DrawButton(GetCanvas(), r, cxbsNormal);
    TCanvas* c = TCustomControl::GetCanvas();
    c->GetBrush()->SetStyle(bsClear);
    c->TextOut(8, 4, "下拉列表");
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
  {
    TcxControl::MouseDown(Button, Shift, X, Y);
    if (DropDown->IsShown())
      DropDown->ClosePopup(false);
    else
      DropDown->Popup(nullptr);
  }
};

class TClickReporter : public TcxControl {
public:
  using TcxControl::TcxControl;

protected:
  void Paint() override
  {
    TCanvas* c = TCustomControl::GetCanvas();
    c->GetBrush()->SetColor(clInfoBk);
    c->FillRect(GetClientRect());
    c->TextOut(6, 6, "别处");
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
  {
    TcxControl::MouseDown(Button, Shift, X, Y);
    Say("clicked outside");
  }
};

}  // namespace

int main(int argc, char** argv)
{
  gShotPath = argc > 1 ? argv[1] : "framework_gallery.png";
  if (!Demo::StartDesktop()) return 2;
  Forms::InitializeApplication();
  FrameworkModule::Initialize();
  TApplication* app = Forms::Application;
  app->Initialize();
  TForm* form = nullptr;
  app->CreateForm(form);
  form->SetCaption("控件框架");
  form->SetBounds(30, 30, 760, 520);
  form->SetColor(clBtnFace);

  auto* bar = new TcxScrollBar(form);
  bar->SetParent(form);
  bar->SetBounds(20, 20, 200, 17);
  bar->SetScrollParams(0, 100, 0, 10);
  bar->OnScroll = [](TObject*, TScrollCode Code, int& Pos) {
    Say("scroll " + std::to_string(int(Code)) + " " + std::to_string(Pos));
  };

  auto* sheet = new TSheet(form);
  sheet->SetParent(form);
  sheet->SetBounds(20, 50, 240, 160);
  sheet->SetBorderStyle(cxcbsDefault);

  const TcxContainerBorderStyle styles[] = {cbsNone, cbsSingle, cbsThick, cbsFlat, cbs3D, cbsUltraFlat};
  for (int i = 0; i < 6; ++i) {
    auto* box = new TPlainContainer(form);
    box->SetParent(form);
    box->SetBounds(280 + (i % 3) * 100, 20 + (i / 3) * 50, 90, 40);
    box->GetStyle()->SetBorderStyle(styles[i]);
  }
  auto* shadowed = new TPlainContainer(form);
  shadowed->SetParent(form);
  shadowed->SetBounds(280, 120, 90, 40);
  shadowed->GetStyle()->SetBorderStyle(cbsSingle);
  shadowed->GetStyle()->SetShadow(true);

  auto* list = new TListBoxContainer(form);
  list->SetParent(form);
  list->SetBounds(20, 230, 260, 220);
  list->GetStyle()->SetBorderStyle(cbsSingle);
  TStrings* items = list->List->GetItems();
  items->BeginUpdate();
  for (int i = 0; i < 100000; ++i) items->Add("合同 " + SysUtils::IntToStr(100000 + i) + " 付款计划");
  items->EndUpdate();

  auto* button = new TDropButton(form);
  button->SetParent(form);
  button->SetBounds(320, 230, 150, 24);
  auto* dropDown = new TcxCustomPopupWindow(button);
  app->InsertComponent(dropDown);
  dropDown->SetTakeFocus(false);
  dropDown->SetFrameStyle(1);
  dropDown->SetAnchorControl(button);
  dropDown->SetAnchorBounds(RECT{0, 0, 150, 24});
  auto* choices = new TListBoxContainer(dropDown);
  choices->SetParent(dropDown);
  choices->SetBounds(0, 0, 150, 120);
  for (const char* s : {"付款", "收款", "发票", "合同", "投标", "客户", "部门", "操作员", "报表"})
    choices->List->GetItems()->Add(s);
  button->DropDown = dropDown;
  dropDown->OnShowed = [](TObject*) { Say("popup shown"); };
  dropDown->OnClosed = [](TObject*) { Say("popup closed"); };

  auto* outside = new TClickReporter(form);
  outside->SetParent(form);
  outside->SetBounds(560, 400, 150, 50);

  app->OnMessage = [list](MSG& msg, bool& handled) {
    if (msg.message != WM_KEYDOWN) return;
    if (msg.wParam == VK_F11) {
      handled = true;
      Say("top " + std::to_string(list->List->GetTopIndex()));
    } else if (msg.wParam == VK_F12) {
      handled = true;
      Demo::TakeShot(gShotPath);
      Forms::Application->Terminate();
    }
  };
  form->Show();
  Controls::ProcessMessages();
  TcxScrollBar* listBar = list->List->GetVScrollBar();
  RECT thumb = listBar->GetPartRect(sbpThumb);
  RECT arrow = bar->GetPartRect(sbpBottomRightArrow);
  Say("ready arrow " + At(bar, (arrow.left + arrow.right) / 2, 8) + " thumb " +
      At(listBar, 8, (thumb.top + thumb.bottom) / 2) + " bottom " + At(listBar, 8, listBar->GetHeight() - 20) +
      " drop " + At(button, 40, 12) + " outside " + At(outside, 40, 25));
  app->Run();
  FrameworkModule::Finalize();
  Forms::FinalizeApplication();
  SdlBackend::Stop();
  return 0;
}
