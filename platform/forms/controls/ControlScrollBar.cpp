#include "platform/forms/controls/ControlScrollBar.h"

#include <algorithm>

#include "platform/forms/controls/ScrollingWinControl.h"
#include "platform/win/scroll/ScrollBars.h"

TControlScrollBar::TControlScrollBar(TScrollingWinControl* AControl, TScrollBarKind AKind)
    : FControl(AControl), FKind(AKind)
{}

TPersistent* TControlScrollBar::GetOwner() { return FControl; }

void TControlScrollBar::Assign(TPersistent* Source)
{
  auto* src = dynamic_cast<TControlScrollBar*>(Source);
  if (!src) return TPersistent::Assign(Source);
  FIncrement = src->FIncrement;
  FMargin = src->FMargin;
  FTracking = src->FTracking;
  FVisible = src->FVisible;
  SetRange(src->FRange);
  SetPosition(src->FPosition);
}

int TControlScrollBar::ControlSize() const
{
  RECT r = FControl->TWinControl::GetClientRect();
  return FKind == sbHorizontal ? r.right - r.left : r.bottom - r.top;
}

int TControlScrollBar::MaxPosition() const { return std::max(FRange - ControlSize(), 0); }

int TControlScrollBar::ScrollPos() const { return IsScrollBarVisible() ? FPosition : 0; }

bool TControlScrollBar::IsScrollBarVisible() const { return FVisible && FRange > ControlSize(); }

void TControlScrollBar::SetPosition(int Value)
{
  Value = std::clamp(Value, 0, MaxPosition());
  if (Value == FPosition) return;
  int delta = FPosition - Value;
  FPosition = Value;
  if (FKind == sbHorizontal)
    FControl->ScrollBy(delta, 0);
  else
    FControl->ScrollBy(0, delta);
  Update();
}

void TControlScrollBar::SetRange(int Value)
{
  FControl->FAutoScroll = false;
  SetAutoRange(Value);
}

void TControlScrollBar::SetAutoRange(int Value)
{
  Value = std::max(Value, 0);
  if (Value == FRange) return;
  FRange = Value;
  // A shorter range pulls the content back.
  if (FPosition > MaxPosition()) SetPosition(MaxPosition());
  Update();
}

void TControlScrollBar::SetVisible(bool Value)
{
  if (Value == FVisible) return;
  FVisible = Value;
  FControl->UpdateScrollBars();
}

void TControlScrollBar::Update()
{
  if (!FControl->HandleAllocated()) return;
  int bar = FKind == sbHorizontal ? SB_HORZ : SB_VERT;
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  if (FVisible && FRange > ControlSize()) {
    si.nMin = 0;
    si.nMax = FRange - 1;
    si.nPage = UINT(ControlSize() + 1);
    si.nPos = FPosition;
  } else {
    si.nMax = 0;  // no bar
  }
  Windows::SetScrollInfo(FControl->GetHandle(), bar, &si, TRUE);
}

void TControlScrollBar::ScrollMessage(const TMessage& Message)
{
  int page = ControlSize() * 9 / 10;
  switch (int(LOWORD(Message.WParam))) {
    case SB_LINEUP: SetPosition(FPosition - FIncrement); break;
    case SB_LINEDOWN: SetPosition(FPosition + FIncrement); break;
    case SB_PAGEUP: SetPosition(FPosition - page); break;
    case SB_PAGEDOWN: SetPosition(FPosition + page); break;
    case SB_THUMBTRACK:
      if (FTracking) SetPosition(int(HIWORD(Message.WParam)));
      break;
    case SB_THUMBPOSITION: SetPosition(int(HIWORD(Message.WParam))); break;
    case SB_TOP: SetPosition(0); break;
    case SB_BOTTOM: SetPosition(MaxPosition()); break;
    default: break;
  }
}
