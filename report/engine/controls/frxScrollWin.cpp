#include "report/engine/controls/frxScrollWin.h"

#include "platform/forms/controls/Messages.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/win/scroll/ScrollBars.h"

namespace frxScrollWin {

int ClampPosition(int Value, int Range, int Page)
{
  if (Value > Range - Page) Value = Range - Page;
  if (Value < 0) Value = 0;
  return Value;
}

int ScrollCodePosition(int Code, int Position, int TrackPos, int Range, int SmallChange, int LargeChange, bool& Handled)
{
  Handled = true;
  switch (Code) {
    case SB_LINEUP: return Position - SmallChange;
    case SB_LINEDOWN: return Position + SmallChange;
    case SB_PAGEUP: return Position - LargeChange;
    case SB_PAGEDOWN: return Position + LargeChange;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: return TrackPos;
    case SB_TOP: return 0;
    case SB_BOTTOM: return Range;
    default: Handled = false; return Position;
  }
}

}  // namespace frxScrollWin

TfrxScrollWin::TfrxScrollWin(TComponent* AOwner) : TCustomControl(AOwner) {}

void TfrxScrollWin::CreateParams(TCreateParams& Params)
{
  TCustomControl::CreateParams(Params);
  Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.Style |= WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN;
}

void TfrxScrollWin::CreateWnd()
{
  TCustomControl::CreateWnd();
  UpdateScrollBar(SB_HORZ);
  UpdateScrollBar(SB_VERT);
}

void TfrxScrollWin::UpdateScrollBar(int Bar)
{
  if (!HandleAllocated()) return;
  bool horz = Bar == SB_HORZ;
  int range = horz ? FHorzRange : FVertRange;
  int page = horz ? FHorzPage : FVertPage;
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  si.nMin = 0;
  si.nMax = range < page ? 0 : range;
  si.nPage = UINT(page < 0 ? 0 : page);
  si.nPos = horz ? FHorzPosition : FVertPosition;
  si.nTrackPos = si.nPos;
  Windows::SetScrollInfo(GetHandle(), Bar, &si, TRUE);
}

void TfrxScrollWin::SetHorzRange(int Value)
{
  FHorzRange = Value;
  UpdateScrollBar(SB_HORZ);
}

void TfrxScrollWin::SetHorzPage(int Value)
{
  FHorzPage = Value;
  UpdateScrollBar(SB_HORZ);
}

void TfrxScrollWin::SetVertRange(int Value)
{
  FVertRange = Value;
  UpdateScrollBar(SB_VERT);
}

void TfrxScrollWin::SetVertPage(int Value)
{
  FVertPage = Value;
  UpdateScrollBar(SB_VERT);
}

void TfrxScrollWin::SetHorzPosition(int Value)
{
  Value = frxScrollWin::ClampPosition(Value, FHorzRange, FHorzPage);
  if (Value == FHorzPosition) return;
  FHorzPosition = Value;
  UpdateScrollBar(SB_HORZ);
  HorzScrolled();
}

void TfrxScrollWin::SetVertPosition(int Value)
{
  Value = frxScrollWin::ClampPosition(Value, FVertRange, FVertPage);
  if (Value == FVertPosition) return;
  FVertPosition = Value;
  UpdateScrollBar(SB_VERT);
  VertScrolled();
}

void TfrxScrollWin::WMScroll(TMessage& Message, int Bar)
{
  bool horz = Bar == SB_HORZ;
  int code = LOWORD(Message.WParam);
  int track = HIWORD(Message.WParam);
  // The bar's track position holds all 32 bits; the message only 16.
  SCROLLINFO si;
  si.fMask = SIF_TRACKPOS;
  if (HandleAllocated() && Windows::GetScrollInfo(GetHandle(), Bar, &si)) track = si.nTrackPos;
  bool handled = false;
  int pos = frxScrollWin::ScrollCodePosition(code, horz ? FHorzPosition : FVertPosition, track,
                                             horz ? FHorzRange : FVertRange, SmallChange, LargeChange, handled);
  if (handled) {
    if (horz)
      SetHorzPosition(pos);
    else
      SetVertPosition(pos);
  }
  Message.Result = 0;
}

void TfrxScrollWin::Dispatch(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_HSCROLL:
      if (Message.LParam == 0) return WMScroll(Message, SB_HORZ);
      break;
    case WM_VSCROLL:
      if (Message.LParam == 0) return WMScroll(Message, SB_VERT);
      break;
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS; return;
    case WM_ERASEBKGND: Message.Result = 1; return;  // Paint fills the whole client area
    default: break;
  }
  TCustomControl::Dispatch(Message);
}

void TfrxScrollWin::Paint()
{
  TCanvas* canvas = GetCanvas();
  canvas->GetBrush()->SetColor(GetColor());
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->FillRect(GetClientRect());
}

PELTO_DEFINE_CLASS(TfrxScrollWin)
