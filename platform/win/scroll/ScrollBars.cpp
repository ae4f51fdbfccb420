#include "platform/win/scroll/ScrollBars.h"

#include <algorithm>

#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
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
  return nullptr;
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

}  // namespace

namespace Windows {

int SetScrollInfo(HWND wnd, int bar, const SCROLLINFO* si, BOOL redraw)
{
  ScrollBarData* b = BarOf(wnd, bar);
  if (!b || !si) return 0;
  if (si->fMask & SIF_RANGE) {
    b->min = si->nMin;
    b->max = si->nMax;
  }
  if (si->fMask & SIF_PAGE) b->page = int(std::min<UINT>(si->nPage, 0x7FFFFFFF));
  if (si->fMask & SIF_POS) b->pos = si->nPos;
  Clamp(*b);
  int pos = b->pos;
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
  for (int b : {SB_HORZ, SB_VERT}) {
    if (bar != SB_BOTH && int(bar) != b) continue;
    ScrollBarData* d = BarOf(wnd, b);
    if (d->arrowsOff != arrows) changed = true;
    d->arrowsOff = arrows;
    d->disabled = arrows == ESB_DISABLE_BOTH;
  }
  if (changed) RedrawFrame(wnd);
  return changed;
}

BOOL GetScrollBarInfo(HWND wnd, LONG idObject, SCROLLBARINFO* out)
{
  WndData* w = WindowData::Get(wnd);
  if (!w || !out || (idObject != OBJID_HSCROLL && idObject != OBJID_VSCROLL)) return FALSE;
  bool vert = idObject == OBJID_VSCROLL;
  ScrollBarData& b = vert ? w->vscroll : w->hscroll;
  *out = SCROLLBARINFO{};
  RECT r = vert ? NonClient::VScrollRect(wnd) : NonClient::HScrollRect(wnd);
  RECT wr = WindowData::ScreenRect(wnd);
  bool shown = w->style & (vert ? WS_VSCROLL : WS_HSCROLL);
  if (!shown) {
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
    thumbTop = arrow + (span > 0 ? int(std::int64_t(room) * (b.pos - b.min) / span) : 0);
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
  bool vert = bar == SB_VERT;
  UINT msg = vert ? WM_VSCROLL : WM_HSCROLL;
  SCROLLBARINFO sbi;
  GetScrollBarInfo(wnd, vert ? OBJID_VSCROLL : OBJID_HSCROLL, &sbi);
  int part = PartAt(sbi, vert, start);
  if (part < 0) return;
  if ((part == SB_LINEUP && (b->arrowsOff & ESB_DISABLE_LTUP)) ||
      (part == SB_LINEDOWN && (b->arrowsOff & ESB_DISABLE_RTDN)))
    return;
  SetCapture(wnd);
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
    SendMessage(wnd, msg, MAKEWPARAM(part, 0), 0);
    SetTimer(wnd, kRepeatTimer, 400, nullptr);
  }
  MSG m;
  while (IsWindow(wnd) && GetCapture() == wnd) {
    if (!GetMessage(&m, nullptr, 0, 0)) {
      PostQuitMessage(int(m.wParam));
      break;
    }
    if (m.message == WM_MOUSEMOVE && m.hwnd == wnd) {
      last = m.pt;
      if (part == SB_THUMBTRACK) {
        int pos = thumbPosAt(m.pt);
        if (ScrollBarData* d = BarOf(wnd, bar)) d->trackPos = pos;
        SendMessage(wnd, msg, MAKEWPARAM(SB_THUMBTRACK, pos), 0);
      }
    } else if (m.message == WM_LBUTTONUP && m.hwnd == wnd) {
      if (part == SB_THUMBTRACK) {
        int pos = thumbPosAt(m.pt);
        SendMessage(wnd, msg, MAKEWPARAM(SB_THUMBPOSITION, pos), 0);
      }
      break;
    } else if (m.message == WM_TIMER && m.hwnd == wnd && m.wParam == kRepeatTimer) {
      // Repeats while the pointer stays on the part pressed.
      SCROLLBARINFO now;
      GetScrollBarInfo(wnd, vert ? OBJID_VSCROLL : OBJID_HSCROLL, &now);
      if (PartAt(now, vert, last) == part) SendMessage(wnd, msg, MAKEWPARAM(part, 0), 0);
      SetTimer(wnd, kRepeatTimer, 50, nullptr);
    } else if (!(m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST)) {
      DispatchMessage(&m);
    }
  }
  if (IsWindow(wnd)) {
    KillTimer(wnd, kRepeatTimer);
    if (GetCapture() == wnd) ReleaseCapture();
    SendMessage(wnd, msg, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
  }
}

}  // namespace ScrollBars
