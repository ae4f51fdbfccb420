#include "platform/forms/controls/ScrollingWinControl.h"

#include <algorithm>

#include "platform/rtl/Guards.h"
#include "platform/win/paint/Painting.h"

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner) : TWinControl(AOwner)
{
  FHorzScrollBar = std::make_unique<TControlScrollBar>(this, sbHorizontal);
  FVertScrollBar = std::make_unique<TControlScrollBar>(this, sbVertical);
}

TScrollingWinControl::~TScrollingWinControl() = default;

void TScrollingWinControl::SetAutoScroll(bool Value)
{
  if (Value == FAutoScroll) return;
  FAutoScroll = Value;
  if (Value)
    UpdateScrollBars();
  else {
    FHorzScrollBar->SetAutoRange(0);
    FVertScrollBar->SetAutoRange(0);
  }
}

void TScrollingWinControl::EnableAutoRange()
{
  if (FAutoRangeCount > 0 && --FAutoRangeCount == 0) UpdateScrollBars();
}

void TScrollingWinControl::CreateWnd()
{
  TWinControl::CreateWnd();
  FHorzScrollBar->Update();
  FVertScrollBar->Update();
}

void TScrollingWinControl::AdjustClientRect(RECT& Rect)
{
  // The aligned children share the content, which moves with the bars.
  Rect.left -= FHorzScrollBar->ScrollPos();
  Rect.top -= FVertScrollBar->ScrollPos();
  Rect.right = std::max<LONG>(Rect.right, Rect.left + FHorzScrollBar->GetRange());
  Rect.bottom = std::max<LONG>(Rect.bottom, Rect.top + FVertScrollBar->GetRange());
}

void TScrollingWinControl::CalcAutoRange()
{
  if (!FAutoScroll || FAutoRangeCount > 0) return;
  int right = 0, bottom = 0;
  int dx = FHorzScrollBar->ScrollPos(), dy = FVertScrollBar->ScrollPos();
  for (int i = 0; i < GetControlCount(); ++i) {
    TControl* c = GetControl(i);
    if (!c->GetVisible()) continue;
    // A control that follows the right or bottom edge moves with the client and needs no room.
    TAnchors a = c->GetAnchors();
    TAlign al = c->GetAlign();
    if (al == alLeft || (al == alNone && (a * TAnchors{akLeft, akRight}) == TAnchors{akLeft}))
      right = std::max(right, c->GetLeft() + c->GetWidth() + dx);
    if (al == alTop || (al == alNone && (a * TAnchors{akTop, akBottom}) == TAnchors{akTop}))
      bottom = std::max(bottom, c->GetTop() + c->GetHeight() + dy);
  }
  FHorzScrollBar->SetAutoRange(right);
  FVertScrollBar->SetAutoRange(bottom);
}

void TScrollingWinControl::UpdateScrollBars()
{
  if (FUpdatingScrollBars) return;
  TValueGuard busy(FUpdatingScrollBars, true);
  CalcAutoRange();
  // Showing one bar narrows the client, which may call for the other.
  FHorzScrollBar->Update();
  FVertScrollBar->Update();
  FHorzScrollBar->Update();
}

void TScrollingWinControl::AlignControls(TControl* AControl, RECT& Rect)
{
  TWinControl::AlignControls(AControl, Rect);
  UpdateScrollBars();
}

void TScrollingWinControl::ScrollBy(int DeltaX, int DeltaY)
{
  if (DeltaX == 0 && DeltaY == 0) return;
  DisableAlign();
  TScopeExit enable([this] { EnableAlign(); });
  ControlState.Exclude(csAlignmentNeeded);
  TValueGuard aligning(FInAlign, true);
  for (int i = 0; i < GetControlCount(); ++i) {
    TControl* c = GetControl(i);
    c->SetBounds(c->GetLeft() + DeltaX, c->GetTop() + DeltaY, c->GetWidth(), c->GetHeight());
  }
  Invalidate();
}

void TScrollingWinControl::ScrollInView(TControl* AControl)
{
  if (!AControl || !ContainsControl(AControl)) return;
  POINT origin = ScreenToClient(AControl->ClientToScreen(POINT{0, 0}));
  RECT client = TWinControl::GetClientRect();
  auto bring = [](TControlScrollBar* bar, int start, int size, int visible) {
    int margin = bar->GetMargin();
    if (start - margin < 0)
      bar->SetPosition(bar->GetPosition() + start - margin);
    else if (start + size + margin > visible)
      bar->SetPosition(bar->GetPosition() + std::min(start - margin, start + size + margin - visible));
  };
  bring(FHorzScrollBar.get(), origin.x, AControl->GetWidth(), client.right);
  bring(FVertScrollBar.get(), origin.y, AControl->GetHeight(), client.bottom);
}

void TScrollingWinControl::Dispatch(TMessage& Message)
{
  // Only the container's own bars (lParam null); bar controls inside are reflected as usual.
  if ((Message.Msg == WM_HSCROLL || Message.Msg == WM_VSCROLL) && Message.LParam == 0) {
    (Message.Msg == WM_HSCROLL ? FHorzScrollBar : FVertScrollBar)->ScrollMessage(Message);
    Message.Result = 0;
    return;
  }
  TWinControl::Dispatch(Message);
}
