#include "platform/stdctrls/comctrls/StatusBar.h"

#include <vector>

#include "platform/commctrl/init/InitCommonControls.h"
#include "platform/commctrl/statusbar/StatusBar.h"
#include "platform/win/queue/Messages.h"

// ==== TStatusPanel ==============================================================================

void TStatusPanel::Assign(TPersistent* Source)
{
  if (auto* other = dynamic_cast<TStatusPanel*>(Source)) {
    FText = other->FText;
    FWidth = other->FWidth;
    FAlignment = other->FAlignment;
    FBevel = other->FBevel;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(Source);
}

void TStatusPanel::SetText(const AnsiString& Value)
{
  if (FText == Value) return;
  FText = Value;
  Changed(false);
}

void TStatusPanel::SetWidth(int Value)
{
  if (FWidth == Value) return;
  FWidth = Value;
  Changed(true);
}

void TStatusPanel::SetAlignment(TAlignment Value)
{
  if (FAlignment == Value) return;
  FAlignment = Value;
  Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel Value)
{
  if (FBevel == Value) return;
  FBevel = Value;
  Changed(false);
}

// ==== TStatusPanels =============================================================================

TStatusPanels::TStatusPanels(TStatusBar* AStatusBar) : TCollection(TStatusPanel::StaticClass()), FStatusBar(AStatusBar)
{}

TPersistent* TStatusPanels::GetOwner() { return FStatusBar; }

void TStatusPanels::Update(TCollectionItem*) { FStatusBar->UpdatePanels(); }

// ==== TStatusBar ================================================================================

TStatusBar::TStatusBar(TComponent* AOwner) : TWinControl(AOwner), FPanels(std::make_unique<TStatusPanels>(this))
{
  ControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
  SetBounds(0, 0, 150, 19);
  SetColor(clBtnFace);
  SetAlign(alBottom);
}

TStatusBar::~TStatusBar() = default;

LRESULT TStatusBar::Send(UINT Msg, WPARAM W, LPARAM L) { return Windows::SendMessage(GetHandle(), Msg, W, L); }

void TStatusBar::CreateParams(TCreateParams& Params)
{
  TWinControl::CreateParams(Params);
  Windows::InitCommonControls();
  CreateSubClass(Params, STATUSCLASSNAME);
  // Where the bar sits is the control's business (Align), not the window's.
  Params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE;
  if (FSizeGrip) Params.Style |= SBARS_SIZEGRIP;
}

void TStatusBar::CreateWnd()
{
  TWinControl::CreateWnd();
  UpdatePanels();
}

void TStatusBar::UpdatePanels()
{
  if (!HandleAllocated()) return;
  if (FSimplePanel) {
    Send(SB_SIMPLE, TRUE);
    Send(SB_SETTEXT, SB_SIMPLEID, reinterpret_cast<LPARAM>(FSimpleText.c_str()));
    return;
  }
  Send(SB_SIMPLE, FALSE);
  int count = FPanels->GetCount();
  if (count == 0) {
    // One empty part across the bar.
    int edge = -1;
    Send(SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&edge));
    Send(SB_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    return;
  }
  std::vector<int> edges(std::size_t(count), -1);
  int right = 0;
  for (int i = 0; i < count - 1; ++i) {
    right += FPanels->GetItems(i)->GetWidth();
    edges[std::size_t(i)] = right;
  }
  Send(SB_SETPARTS, WPARAM(count), reinterpret_cast<LPARAM>(edges.data()));
  for (int i = 0; i < count; ++i) {
    TStatusPanel* panel = FPanels->GetItems(i);
    // A tab centres what follows it, two right-align it.
    AnsiString text = panel->GetAlignment() == taCenter         ? "\t" + panel->GetText()
                      : panel->GetAlignment() == taRightJustify ? "\t\t" + panel->GetText()
                                                                : panel->GetText();
    WPARAM flags = panel->GetBevel() == pbNone ? SBT_NOBORDERS : panel->GetBevel() == pbRaised ? SBT_POPOUT : 0;
    Send(SB_SETTEXT, WPARAM(i) | flags, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

void TStatusBar::SetSimplePanel(bool Value)
{
  if (FSimplePanel == Value) return;
  FSimplePanel = Value;
  UpdatePanels();
}

void TStatusBar::SetSimpleText(const AnsiString& Value)
{
  if (FSimpleText == Value) return;
  FSimpleText = Value;
  if (FSimplePanel && HandleAllocated()) Send(SB_SETTEXT, SB_SIMPLEID, reinterpret_cast<LPARAM>(FSimpleText.c_str()));
}

void TStatusBar::SetSizeGrip(bool Value)
{
  if (FSizeGrip == Value) return;
  FSizeGrip = Value;
  RecreateWnd();
}

RECT TStatusBar::PanelRect(int Index)
{
  RECT r{};
  if (HandleAllocated()) Send(SB_GETRECT, WPARAM(Index), reinterpret_cast<LPARAM>(&r));
  return r;
}
