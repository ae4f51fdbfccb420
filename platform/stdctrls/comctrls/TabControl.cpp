#include "platform/stdctrls/comctrls/TabControl.h"

#include <algorithm>

#include "platform/commctrl/tab/Tab.h"
#include "platform/forms/controls/Messages.h"
#include "platform/rtl/StringList.h"
#include "platform/win/queue/Messages.h"

// ==== TCustomTabControl =========================================================================

TCustomTabControl::TCustomTabControl(TComponent* AOwner) : TWinControl(AOwner)
{
  ControlStyle = TControlStyle{csAcceptsControls, csDoubleClicks, csOpaque};
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
}

TCustomTabControl::~TCustomTabControl() = default;

LRESULT TCustomTabControl::Send(UINT Msg, WPARAM W, LPARAM L) { return Windows::SendMessage(GetHandle(), Msg, W, L); }

void TCustomTabControl::CreateParams(TCreateParams& Params)
{
  TWinControl::CreateParams(Params);
  Windows::InitCommonControls();
  CreateSubClass(Params, WC_TABCONTROL);
  Params.Style |= WS_CLIPCHILDREN;
  if (FMultiLine) Params.Style |= TCS_MULTILINE;
  if (FStyle != tsTabs) Params.Style |= TCS_BUTTONS;
  if (FStyle == tsFlatButtons) Params.Style |= TCS_FLATBUTTONS;
}

void TCustomTabControl::CreateWnd()
{
  TWinControl::CreateWnd();
  UpdateTabs();
}

void TCustomTabControl::SetWindowTabs(const std::vector<AnsiString>& Texts, int Selected)
{
  if (!HandleAllocated()) return;
  Send(TCM_DELETEALLITEMS);
  for (std::size_t i = 0; i < Texts.size(); ++i) {
    TCITEM item;
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(Texts[i].c_str());
    Send(TCM_INSERTITEM, WPARAM(i), reinterpret_cast<LPARAM>(&item));
  }
  Send(TCM_SETCURSEL, WPARAM(Selected));
  // Another row of tabs changes the page area.
  Realign();
  Invalidate();
}

int TCustomTabControl::WindowTabIndex() { return HandleAllocated() ? int(Send(TCM_GETCURSEL)) : -1; }

void TCustomTabControl::SetWindowTabIndex(int Index)
{
  if (HandleAllocated()) Send(TCM_SETCURSEL, WPARAM(Index));
}

void TCustomTabControl::SetStyleFlag(bool& Flag, bool Value)
{
  if (Flag == Value) return;
  Flag = Value;
  RecreateWnd();
}

void TCustomTabControl::SetStyle(TTabStyle Value)
{
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

int TCustomTabControl::IndexOfTabAt(int X, int Y)
{
  if (!HandleAllocated()) return -1;
  TCHITTESTINFO hit;
  hit.pt = POINT{X, Y};
  return int(Send(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

RECT TCustomTabControl::TabRect(int Index)
{
  RECT r{};
  if (HandleAllocated()) Send(TCM_GETITEMRECT, WPARAM(Index), reinterpret_cast<LPARAM>(&r));
  return r;
}

RECT TCustomTabControl::GetDisplayRect()
{
  RECT r = GetClientRect();
  AdjustClientRect(r);
  return r;
}

void TCustomTabControl::AdjustClientRect(RECT& Rect)
{
  TWinControl::AdjustClientRect(Rect);
  if (HandleAllocated()) Send(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&Rect));
}

bool TCustomTabControl::CanChange()
{
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TCustomTabControl::Change()
{
  if (OnChange) OnChange(this);
}

void TCustomTabControl::Dispatch(TMessage& Message)
{
  switch (Message.Msg) {
    case CN_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
      Message.Result = 0;
      if (!hdr) return;
      if (hdr->code == TCN_SELCHANGING) {
        Message.Result = !CanChange();
        return;
      }
      if (hdr->code == TCN_SELCHANGE) {
        TabChanged(WindowTabIndex());
        Change();
        return;
      }
      break;
    }
    case WM_SIZE:
      TWinControl::Dispatch(Message);
      // The rows of tabs, and with them the page area, follow the width.
      Realign();
      return;
    default: break;
  }
  TWinControl::Dispatch(Message);
}

// ==== TTabControl ===============================================================================

TTabControl::TTabControl(TComponent* AOwner) : TCustomTabControl(AOwner), FTabs(std::make_unique<TStringList>())
{
  FTabs->OnChange = [this](TObject*) { TabsChanged(); };
}

TTabControl::~TTabControl() { FTabs->OnChange = nullptr; }

TStrings* TTabControl::GetTabs() const { return FTabs.get(); }

void TTabControl::SetTabs(TStrings* Value) { FTabs->Assign(Value); }

std::vector<AnsiString> TTabControl::TabTexts()
{
  std::vector<AnsiString> out;
  for (int i = 0; i < FTabs->GetCount(); ++i) out.push_back((*FTabs)[i]);
  return out;
}

void TTabControl::TabsChanged()
{
  FTabIndex = std::min(FTabIndex, FTabs->GetCount() - 1);
  UpdateTabs();
}

int TTabControl::GetTabIndex() { return FTabIndex; }

void TTabControl::SetTabIndex(int Value)
{
  if (Value < -1 || Value >= FTabs->GetCount()) Value = -1;
  FTabIndex = Value;
  SetWindowTabIndex(Value);
}
