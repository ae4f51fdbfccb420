#include "platform/stdctrls/panels/ScrollBar.h"

#include <algorithm>

#include "platform/commctrl/CommCtrl.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Metrics.h"

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner)
{
  ControlStyle = TControlStyle{csFramed, csDoubleClicks, csOpaque};
  SetBounds(0, 0, 121, Windows::GetSystemMetrics(SM_CYHSCROLL));
  SetTabStop(true);
}

void TScrollBar::CreateParams(TCreateParams& Params)
{
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "SCROLLBAR");
  Params.Style |= FKind == sbHorizontal ? SBS_HORZ : SBS_VERT;
}

void TScrollBar::CreateWnd()
{
  TWinControl::CreateWnd();
  UpdateWindow();
}

void TScrollBar::UpdateWindow()
{
  if (!HandleAllocated()) return;
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = FMin;
  si.nMax = FMax;
  si.nPage = UINT(FPageSize);
  si.nPos = FPosition;
  Windows::SetScrollInfo(GetHandle(), SB_CTL, &si, TRUE);
}

void TScrollBar::SetKind(TScrollBarKind Value)
{
  if (Value == FKind) return;
  FKind = Value;
  if (!GetComponentState().Contains(csLoading)) SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
  if (HandleAllocated()) RecreateWnd();
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax)
{
  if (AMax < AMin || AMax - AMin + 1 < FPageSize) throw EInvalidOperation("Scroll bar property out of range");
  APosition = std::clamp(APosition, AMin, AMax);
  bool moved = APosition != FPosition;
  FMin = AMin;
  FMax = AMax;
  FPosition = APosition;
  UpdateWindow();
  if (moved) Change();
}

void TScrollBar::SetPageSize(int Value)
{
  if (Value == FPageSize) return;
  if (Value < 0 || Value > FMax - FMin + 1) throw EInvalidOperation("Scroll bar property out of range");
  FPageSize = Value;
  UpdateWindow();
}

void TScrollBar::Change()
{
  if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos)
{
  if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::DoScroll(TMessage& Message)
{
  int code = LOWORD(Message.WParam);
  if (code > SB_ENDSCROLL) return;
  int pos = FPosition;
  // With a page the thumb cannot pass the last page.
  int last = FPageSize > 0 ? std::max(FMin, FMax - FPageSize + 1) : FMax;
  switch (code) {
    case SB_LINEUP: pos -= FSmallChange; break;
    case SB_LINEDOWN: pos += FSmallChange; break;
    case SB_PAGEUP: pos -= FLargeChange; break;
    case SB_PAGEDOWN: pos += FLargeChange; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      // The 32-bit track position, not the 16 bits of the message.
      SCROLLINFO si;
      si.fMask = SIF_TRACKPOS;
      pos = Windows::GetScrollInfo(GetHandle(), SB_CTL, &si) ? si.nTrackPos : int(HIWORD(Message.WParam));
      break;
    }
    case SB_TOP: pos = FMin; break;
    case SB_BOTTOM: pos = last; break;
    default: break;
  }
  if (code != SB_ENDSCROLL) pos = std::clamp(pos, FMin, last);
  Scroll(TScrollCode(code), pos);
  SetPosition(pos);
}

void TScrollBar::Dispatch(TMessage& Message)
{
  switch (Message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
      DoScroll(Message);
      Message.Result = 0;
      return;
    default: TWinControl::Dispatch(Message);
  }
}
