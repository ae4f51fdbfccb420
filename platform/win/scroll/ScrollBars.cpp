#include "platform/win/scroll/ScrollBars.h"

#include <algorithm>

#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/queue/TrackingLoop.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/NonClient.h"
#include "platform/win/window/WindowData.h"
#include "platform/win/window/Windows.h"

namespace {

ScrollBarData* BarOf(HWND wnd, int bar)
{
  WndData* w = WindowData::Get(wnd);
  if (!w) return nullptr;
  if (bar == SB_HORZ) return &w->hscroll;
  if (bar == SB_VERT) return &w->vscroll;
  if (bar == SB_CTL && w->ctlBar >= 0) return &w->ctlscroll;
  return nullptr;
}

bool IsVertical(HWND wnd, int bar)
{
  if (bar != SB_CTL) return bar == SB_VERT;
  WndData* w = WindowData::Get(wnd);
  return w && w->ctlBar == SB_VERT;
}

LONG ObjectOf(HWND wnd, int bar)
{
  if (bar == SB_CTL) return OBJID_CLIENT;
  return bar == SB_VERT ? OBJID_VSCROLL : OBJID_HSCROLL;
}

DWORD StyleBit(int bar) { return bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL; }

void Clamp(ScrollBarData& b)
{
  if (b.max < b.min) b.max = b.min;
  b.page = std::clamp(b.page, 0, b.max - b.min + 1);
  int top = b.max - std::max(b.page - 1, 0);
  b.pos = std::clamp(b.pos, b.min, std::max(b.min, top));
}

// Shows or hides a standard bar; answers whether the frame changed.
bool SetShown(HWND wnd, int bar, bool show)
{
  WndData* w = WindowData::Get(wnd);
  DWORD bit = StyleBit(bar);
  if (bool(w->style & bit) == show) return false;
  if (show)
    w->style |= bit;
  else
    w->style &= ~bit;
  Windows::SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                        SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return true;
}

void RedrawFrame(HWND wnd)
{
  Windows::RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

// A standard bar lives in the frame, a control's bar in its client area.
void RedrawBar(HWND wnd, int bar)
{
  if (bar == SB_CTL)
    Windows::InvalidateRect(wnd, nullptr, FALSE);
  else
    RedrawFrame(wnd);
}

}  // namespace

namespace Windows {

int SetScrollInfo(HWND wnd, int bar, const SCROLLINFO* si, BOOL redraw)
{
  ScrollBarData* b = BarOf(wnd, bar);
  if (!b || !si) return 0;
  if (si->fMask == SIF_TRACKPOS) {
    // A bar drawn elsewhere hands its 32-bit thumb position over before SB_THUMBTRACK.
    b->trackPos = si->nTrackPos;
    return b->pos;
  }
  if (si->fMask & SIF_RANGE) {
    b->min = si->nMin;
    b->max = si->nMax;
  }
  if (si->fMask & SIF_PAGE) b->page = int(std::min<UINT>(si->nPage, 0x7FFFFFFF));
  if (si->fMask & SIF_POS) b->pos = si->nPos;
  Clamp(*b);
  int pos = b->pos;
  if (bar == SB_CTL) {
    // A control stays shown; without room to scroll it only greys out when asked to.
    if ((si->fMask & SIF_DISABLENOSCROLL) && (si->fMask & (SIF_RANGE | SIF_PAGE))) {
      bool needed = b->max - b->min + 1 > std::max(b->page, 1) || (b->page == 0 && b->max > b->min);
      b->disabled = !needed;
      b->arrowsOff = needed ? 0 : ESB_DISABLE_BOTH;
    }
    if (redraw) RedrawBar(wnd, bar);
    return pos;
  }
  if (si->fMask & (SIF_RANGE | SIF_PAGE)) {
    // A bar is needed while the range is larger than the page.
    bool needed = b->max - b->min + 1 > std::max(b->page, 1) || (b->page == 0 && b->max > b->min);
    if (si->fMask & SIF_DISABLENOSCROLL) {
      b->disabled = !needed;
      b->arrowsOff = needed ? 0 : ESB_DISABLE_BOTH;
      if (!SetShown(wnd, bar, true) && redraw) RedrawFrame(wnd);
      return pos;
    }
    if (SetShown(wnd, bar, needed)) return pos;
  }
  if (redraw) RedrawFrame(wnd);
  return pos;
}

BOOL GetScrollInfo(HWND wnd, int bar, SCROLLINFO* si)
{
  ScrollBarData* b = BarOf(wnd, bar);
  if (!b || !si || !(si->fMask & SIF_ALL)) return FALSE;
  if (si->fMask & SIF_RANGE) {
    si->nMin = b->min;
    si->nMax = b->max;
  }
  if (si->fMask & SIF_PAGE) si->nPage = UINT(b->page);
  if (si->fMask & SIF_POS) si->nPos = b->pos;
  if (si->fMask & SIF_TRACKPOS) si->nTrackPos = b->trackPos;
  return TRUE;
}

int SetScrollPos(HWND wnd, int bar, int pos, BOOL redraw)
{
  ScrollBarData* b = BarOf(wnd, bar);
  if (!b) return 0;
  int old = b->pos;
  SCROLLINFO si;
  si.fMask = SIF_POS;
  si.nPos = pos;
  SetScrollInfo(wnd, bar, &si, redraw);
  return old;
}

int GetScrollPos(HWND wnd, int bar)
{
  ScrollBarData* b = BarOf(wnd, bar);
  return b ? b->pos : 0;
}

BOOL SetScrollRange(HWND wnd, int bar, int min, int max, BOOL redraw)
{
  if (!BarOf(wnd, bar)) return FALSE;
  SCROLLINFO si;
  si.fMask = SIF_RANGE;
  si.nMin = min;
  si.nMax = max;
  SetScrollInfo(wnd, bar, &si, redraw);
  return TRUE;
}

BOOL GetScrollRange(HWND wnd, int bar, int* min, int* max)
{
  ScrollBarData* b = BarOf(wnd, bar);
  if (!b) return FALSE;
  if (min) *min = b->min;
  if (max) *max = b->max;
  return TRUE;
}

BOOL ShowScrollBar(HWND wnd, int bar, BOOL show)
{
  if (!WindowData::Get(wnd)) return FALSE;
  if (bar == SB_CTL) {
    if (!BarOf(wnd, bar)) return FALSE;
    ShowWindow(wnd, show ? SW_SHOWNA : SW_HIDE);
    return TRUE;
  }
  if (bar == SB_BOTH) {
    SetShown(wnd, SB_HORZ, show);
    SetShown(wnd, SB_VERT, show);
    return TRUE;
  }
  if (!BarOf(wnd, bar)) return FALSE;
  SetShown(wnd, bar, show);
  return TRUE;
}

BOOL EnableScrollBar(HWND wnd, UINT bar, UINT arrows)
{
  if (!WindowData::Get(wnd)) return FALSE;
  bool changed = false;
  for (int b : {SB_HORZ, SB_VERT, SB_CTL}) {
    if ((bar != SB_BOTH || b == SB_CTL) && int(bar) != b) continue;
    ScrollBarData* d = BarOf(wnd, b);
    if (!d) return FALSE;
    if (d->arrowsOff != arrows) changed = true;
    d->arrowsOff = arrows;
    d->disabled = arrows == ESB_DISABLE_BOTH;
  }
  if (changed) RedrawBar(wnd, int(bar) == SB_CTL ? SB_CTL : SB_HORZ);
  return changed;
}

BOOL GetScrollBarInfo(HWND wnd, LONG idObject, SCROLLBARINFO* out)
{
  WndData* w = WindowData::Get(wnd);
  if (!w || !out) return FALSE;
  bool control = idObject == OBJID_CLIENT && w->ctlBar >= 0;
  if (idObject != OBJID_HSCROLL && idObject != OBJID_VSCROLL && !control) return FALSE;
  bool vert = control ? w->ctlBar == SB_VERT : idObject == OBJID_VSCROLL;
  ScrollBarData& b = control ? w->ctlscroll : vert ? w->vscroll : w->hscroll;
  *out = SCROLLBARINFO{};
  RECT r = control ? w->client : vert ? NonClient::VScrollRect(wnd) : NonClient::HScrollRect(wnd);
  RECT wr = WindowData::ScreenRect(wnd);
  bool shown = control ? (w->style & WS_VISIBLE) != 0 : (w->style & (vert ? WS_VSCROLL : WS_HSCROLL)) != 0;
  if (!shown && !control) {
    // A hidden bar reports where it would be, next to the client area.
    RECT c = w->client;
    int t = GetSystemMetrics(vert ? SM_CXVSCROLL : SM_CYHSCROLL);
    r = vert ? RECT{c.right, c.top, c.right + t, c.bottom} : RECT{c.left, c.bottom, c.right, c.bottom + t};
  }
  out->rcScrollBar = {r.left + wr.left, r.top + wr.top, r.right + wr.left, r.bottom + wr.top};
  int length = vert ? r.bottom - r.top : r.right - r.left;
  int arrow = GetSystemMetrics(vert ? SM_CYVSCROLL : SM_CXHSCROLL);
  if (length < 2 * arrow) arrow = length / 2;
  out->dxyLineButton = arrow;
  int track = length - 2 * arrow;
  int range = b.max - b.min + 1;
  int thumb = 0, thumbTop = arrow;
  if (track > 0 && range > 0 && !b.disabled && range > std::max(b.page, 0)) {
    thumb = b.page > 0 ? std::max(GetSystemMetrics(SM_CYVTHUMB) / 2, int(std::int64_t(track) * b.page / range))
                       : GetSystemMetrics(SM_CYVTHUMB);
    thumb = std::min(thumb, track);
    int span = range - std::max(b.page, 1);
    int room = track - thumb;
    // A thumb being dragged shows where it is dragged to.
    int at = b.pressed == SB_THUMBTRACK ? std::clamp(b.trackPos, b.min, b.min + std::max(span, 0)) : b.pos;
    thumbTop = arrow + (span > 0 ? int(std::int64_t(room) * (at - b.min) / span) : 0);
  }
  out->xyThumbTop = thumbTop;
  out->xyThumbBottom = thumbTop + thumb;
  if (!shown) out->rgstate[0] |= STATE_SYSTEM_INVISIBLE;
  if (b.disabled) out->rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
  if (b.arrowsOff & ESB_DISABLE_LTUP) out->rgstate[1] |= STATE_SYSTEM_UNAVAILABLE;
  if (b.arrowsOff & ESB_DISABLE_RTDN) out->rgstate[5] |= STATE_SYSTEM_UNAVAILABLE;
  if (thumb == 0) out->rgstate[3] |= STATE_SYSTEM_INVISIBLE;
  return TRUE;
}

}  // namespace Windows

namespace ScrollBars {
namespace {
constexpr UINT_PTR kRepeatTimer = 0xFFF1;

// The part of the bar under a screen point: SB_LINEUP, SB_PAGEUP, SB_THUMBTRACK, SB_PAGEDOWN,
// SB_LINEDOWN; -1 outside.
int PartAt(const SCROLLBARINFO& sbi, bool vert, POINT p)
{
  const RECT& r = sbi.rcScrollBar;
  if (p.x < r.left || p.x >= r.right || p.y < r.top || p.y >= r.bottom) return -1;
  int along = vert ? p.y - r.top : p.x - r.left;
  int length = vert ? r.bottom - r.top : r.right - r.left;
  if (along < sbi.dxyLineButton) return SB_LINEUP;
  if (along >= length - sbi.dxyLineButton) return SB_LINEDOWN;
  if (sbi.xyThumbBottom > sbi.xyThumbTop) {
    if (along < sbi.xyThumbTop) return SB_PAGEUP;
    if (along >= sbi.xyThumbBottom) return SB_PAGEDOWN;
    return SB_THUMBTRACK;
  }
  return along < length / 2 ? SB_PAGEUP : SB_PAGEDOWN;
}
}  // namespace

void Track(HWND wnd, int bar, POINT start)
{
  using namespace Windows;
  ScrollBarData* b = BarOf(wnd, bar);
  if (!b || b->disabled) return;
  bool vert = IsVertical(wnd, bar);
  UINT msg = vert ? WM_VSCROLL : WM_HSCROLL;
  // A control tells its parent, naming itself; a standard bar tells its own window.
  HWND target = bar == SB_CTL ? GetParent(wnd) : wnd;
  LPARAM ctl = bar == SB_CTL ? reinterpret_cast<LPARAM>(wnd) : 0;
  if (!target) return;
  SCROLLBARINFO sbi;
  GetScrollBarInfo(wnd, ObjectOf(wnd, bar), &sbi);
  int part = PartAt(sbi, vert, start);
  if (part < 0) return;
  if ((part == SB_LINEUP && (b->arrowsOff & ESB_DISABLE_LTUP)) ||
      (part == SB_LINEDOWN && (b->arrowsOff & ESB_DISABLE_RTDN)))
    return;
  SetCapture(wnd);
  b->pressed = part;
  RedrawBar(wnd, bar);
  const int startPos = b->pos;
  const int grab = (vert ? start.y - sbi.rcScrollBar.top : start.x - sbi.rcScrollBar.left) - sbi.xyThumbTop;
  POINT last = start;
  auto thumbPosAt = [&](POINT p) {
    ScrollBarData* d = BarOf(wnd, bar);
    int length = vert ? sbi.rcScrollBar.bottom - sbi.rcScrollBar.top : sbi.rcScrollBar.right - sbi.rcScrollBar.left;
    int thumb = sbi.xyThumbBottom - sbi.xyThumbTop;
    int room = length - 2 * sbi.dxyLineButton - thumb;
    int span = (d->max - d->min + 1) - std::max(d->page, 1);
    if (room <= 0 || span <= 0) return d->min;
    int along = (vert ? p.y - sbi.rcScrollBar.top : p.x - sbi.rcScrollBar.left) - grab - sbi.dxyLineButton;
    along = std::clamp(along, 0, room);
    return d->min + int((std::int64_t(along) * span + room / 2) / room);
  };
  if (part == SB_THUMBTRACK) {
    b->trackPos = startPos;
  } else {
    SendMessage(target, msg, MAKEWPARAM(part, 0), ctl);
    SetTimer(wnd, kRepeatTimer, 400, nullptr);
  }
  MSG m;
  while (IsWindow(wnd) && GetCapture() == wnd) {
    // Nothing can release the button (a test pressed without queueing the release): the
    // repeat timer alone would scroll for ever.
    if (MessageQueue::OnlyOwnTimerLeft(wnd, kRepeatTimer)) break;
    if (!GetMessage(&m, nullptr, 0, 0)) {
      PostQuitMessage(int(m.wParam));
      break;
    }
    if (m.message == WM_MOUSEMOVE && m.hwnd == wnd) {
      last = m.pt;
      if (part == SB_THUMBTRACK) {
        int pos = thumbPosAt(m.pt);
        if (ScrollBarData* d = BarOf(wnd, bar)) d->trackPos = pos;
        RedrawBar(wnd, bar);
        SendMessage(target, msg, MAKEWPARAM(SB_THUMBTRACK, pos), ctl);
      }
    } else if (m.message == WM_LBUTTONUP && m.hwnd == wnd) {
      if (part == SB_THUMBTRACK) {
        int pos = thumbPosAt(m.pt);
        if (ScrollBarData* d = BarOf(wnd, bar)) d->trackPos = pos;
        SendMessage(target, msg, MAKEWPARAM(SB_THUMBPOSITION, pos), ctl);
      }
      break;
    } else if (m.message == WM_TIMER && m.hwnd == wnd && m.wParam == kRepeatTimer) {
      // Repeats while the pointer stays on the part pressed.
      SCROLLBARINFO now;
      GetScrollBarInfo(wnd, ObjectOf(wnd, bar), &now);
      if (PartAt(now, vert, last) == part) SendMessage(target, msg, MAKEWPARAM(part, 0), ctl);
      SetTimer(wnd, kRepeatTimer, 50, nullptr);
    } else if (!(m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST)) {
      DispatchMessage(&m);
    }
  }
  if (IsWindow(wnd)) {
    KillTimer(wnd, kRepeatTimer);
    if (GetCapture() == wnd) ReleaseCapture();
    if (ScrollBarData* d = BarOf(wnd, bar)) d->pressed = -1;
    RedrawBar(wnd, bar);
    if (IsWindow(target)) SendMessage(target, msg, MAKEWPARAM(SB_ENDSCROLL, 0), ctl);
  }
}

void MakeControl(HWND wnd, bool vertical)
{
  WndData* w = WindowData::Get(wnd);
  if (!w) return;
  w->ctlBar = vertical ? SB_VERT : SB_HORZ;
  w->ctlscroll = ScrollBarData{};
  w->ctlscroll.max = 0;
}

void PaintBar(HDC dc, const RECT& bar, bool vert, const SCROLLBARINFO& sbi, int pressed, HBRUSH track)
{
  using namespace Windows;
  FillRect(dc, &bar, track ? track : reinterpret_cast<HBRUSH>(COLOR_SCROLLBAR + 1));
  int a = sbi.dxyLineButton;
  UINT off = (sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) ? DFCS_INACTIVE : 0;
  RECT up = vert ? RECT{bar.left, bar.top, bar.right, bar.top + a} : RECT{bar.left, bar.top, bar.left + a, bar.bottom};
  RECT down = vert ? RECT{bar.left, bar.bottom - a, bar.right, bar.bottom}
                   : RECT{bar.right - a, bar.top, bar.right, bar.bottom};
  // The track between the arrow and the thumb darkens while it is held (a page repeat).
  if (pressed == SB_PAGEUP || pressed == SB_PAGEDOWN) {
    RECT t = vert ? RECT{bar.left, bar.top + a, bar.right, bar.top + sbi.xyThumbTop}
                  : RECT{bar.left + a, bar.top, bar.left + sbi.xyThumbTop, bar.bottom};
    if (pressed == SB_PAGEDOWN)
      t = vert ? RECT{bar.left, bar.top + sbi.xyThumbBottom, bar.right, bar.bottom - a}
               : RECT{bar.left + sbi.xyThumbBottom, bar.top, bar.right - a, bar.bottom};
    FillRect(dc, &t, reinterpret_cast<HBRUSH>(COLOR_3DDKSHADOW + 1));
  }
  DrawFrameControl(dc, &up, DFC_SCROLL,
                   (vert ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) |
                       ((sbi.rgstate[1] & STATE_SYSTEM_UNAVAILABLE) ? DFCS_INACTIVE : off) |
                       (pressed == SB_LINEUP ? DFCS_PUSHED | DFCS_FLAT : 0));
  DrawFrameControl(dc, &down, DFC_SCROLL,
                   (vert ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) |
                       ((sbi.rgstate[5] & STATE_SYSTEM_UNAVAILABLE) ? DFCS_INACTIVE : off) |
                       (pressed == SB_LINEDOWN ? DFCS_PUSHED | DFCS_FLAT : 0));
  if (sbi.xyThumbBottom > sbi.xyThumbTop) {
    RECT thumb = vert ? RECT{bar.left, bar.top + sbi.xyThumbTop, bar.right, bar.top + sbi.xyThumbBottom}
                      : RECT{bar.left + sbi.xyThumbTop, bar.top, bar.left + sbi.xyThumbBottom, bar.bottom};
    FillRect(dc, &thumb, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT);
  }
}

void PaintControl(HWND wnd, HDC dc, HBRUSH track)
{
  WndData* w = WindowData::Get(wnd);
  if (!w || w->ctlBar < 0) return;
  SCROLLBARINFO sbi;
  if (!Windows::GetScrollBarInfo(wnd, OBJID_CLIENT, &sbi)) return;
  RECT r;
  Windows::GetClientRect(wnd, &r);
  PaintBar(dc, r, w->ctlBar == SB_VERT, sbi, w->ctlscroll.pressed, track);
}

}  // namespace ScrollBars
