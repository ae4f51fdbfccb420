#include "platform/win/paint/Painting.h"

#include <algorithm>
#include <unordered_map>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/draw/Regions.h"
#include "platform/win/backend/Backend.h"
#include "platform/win/caret/Carets.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/WindowData.h"
#include "platform/win/window/Windows.h"

namespace Painting {
namespace {

struct DcInfo {
  HWND wnd;
  HWND top;
};

struct State {
  std::unordered_map<HWND, Surface> surfaces;
  std::unordered_map<HDC, DcInfo> dcs;
};

State& S()
{
  static State s;
  return s;
}

RECT Offset(RECT r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

// The window's rectangle (or client rectangle) in its top-level window's coordinates.
RECT InTop(HWND h, bool client)
{
  HWND top = WindowData::TopLevelOf(h);
  RECT t = WindowData::ScreenRect(top);
  RECT r = WindowData::ScreenRect(h);
  if (client) {
    WndData* w = WindowData::Get(h);
    r = Offset(w->client, r.left, r.top);
  }
  return Offset(r, -t.left, -t.top);
}

// Intersects `rgn` with the window's shape (its rectangle and window region).
void IntersectShape(HRGN rgn, HWND h, bool client)
{
  RECT r = InTop(h, client);
  HRGN s = Windows::CreateRectRgnIndirect(&r);
  if (WndData* w = WindowData::Get(h); w && w->windowRgn) {
    RECT wr = InTop(h, false);
    HRGN shape = Windows::CreateRectRgn(0, 0, 0, 0);
    Windows::CombineRgn(shape, w->windowRgn, nullptr, RGN_COPY);
    Windows::OffsetRgn(shape, wr.left, wr.top);
    Windows::CombineRgn(s, s, shape, RGN_AND);
    Windows::DeleteObject(shape);
  }
  Windows::CombineRgn(rgn, rgn, s, RGN_AND);
  Windows::DeleteObject(s);
}

void SubtractShape(HRGN rgn, HWND h)
{
  HRGN s = Windows::CreateRectRgn(-100000, -100000, 100000, 100000);
  IntersectShape(s, h, false);
  Windows::CombineRgn(rgn, rgn, s, RGN_DIFF);
  Windows::DeleteObject(s);
}

bool Pending(WndData* w)
{
  if (w->ncPaintNeeded || w->internalPaint) return true;
  if (!w->update) return false;
  RECT b;
  return Windows::GetRgnBox(w->update, &b) != NULLREGION;
}

HWND FindPaint(HWND h)
{
  WndData* w = WindowData::Get(h);
  if (!w || !(w->style & WS_VISIBLE)) return nullptr;
  if (Pending(w)) return h;
  for (HWND c : w->children) {
    if (HWND p = FindPaint(c)) return p;
  }
  return nullptr;
}

HDC MakeDC(HWND wnd, bool window, bool clipChildren, HRGN extra, DWORD extraMode)
{
  HWND top = WindowData::TopLevelOf(wnd);
  auto it = S().surfaces.find(top);
  if (it == S().surfaces.end() || it->second.width <= 0 || it->second.height <= 0) return nullptr;
  Surface& sf = it->second;
  RECT r = InTop(wnd, !window);
  int px = std::clamp<int>(r.left, 0, sf.width - 1), py = std::clamp<int>(r.top, 0, sf.height - 1);
  HDC dc = Windows::CreateBufferDC(sf.pixels.data() + size_t(py) * size_t(sf.width) + size_t(px), sf.width - px,
                                   sf.height - py, std::ptrdiff_t(sf.width) * 4);
  if (!dc) return nullptr;
  Windows::SetViewportOrgEx(dc, r.left - px, r.top - py, nullptr);
  HRGN vis = VisibleRegion(wnd, !window, clipChildren);
  if (extra) {
    // `extra` comes in the window's own coordinates.
    HRGN e = Windows::CreateRectRgn(0, 0, 0, 0);
    Windows::CombineRgn(e, extra, nullptr, RGN_COPY);
    Windows::OffsetRgn(e, r.left, r.top);
    Windows::CombineRgn(vis, vis, e, extraMode);
    Windows::DeleteObject(e);
  }
  Windows::OffsetRgn(vis, -px, -py);
  Windows::SetSystemClipRgn(dc, vis);
  Windows::DeleteObject(vis);
  S().dcs[dc] = {wnd, top};
  return dc;
}

void AddUpdate(WndData* w, HRGN rgnClient, bool erase)
{
  RECT c{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
  HRGN clip = Windows::CreateRectRgnIndirect(&c);
  Windows::CombineRgn(clip, clip, rgnClient, RGN_AND);
  RECT b;
  if (Windows::GetRgnBox(clip, &b) != NULLREGION) {
    if (!w->update) w->update = Windows::CreateRectRgn(0, 0, 0, 0);
    Windows::CombineRgn(w->update, w->update, clip, RGN_OR);
    if (erase) w->eraseNeeded = true;
  }
  Windows::DeleteObject(clip);
}

void Redraw(HWND h, HRGN rgnClient, UINT flags)
{
  WndData* w = WindowData::Get(h);
  if (!w || !(w->style & WS_VISIBLE) || w->redrawOff) return;
  if (flags & RDW_INVALIDATE) {
    AddUpdate(w, rgnClient, flags & RDW_ERASE);
    if (flags & RDW_FRAME) w->ncPaintNeeded = true;
  }
  if (flags & RDW_INTERNALPAINT) w->internalPaint = true;
  if (flags & RDW_NOINTERNALPAINT) w->internalPaint = false;
  if ((flags & RDW_VALIDATE) && w->update) {
    Windows::CombineRgn(w->update, w->update, rgnClient, RGN_DIFF);
    if (flags & RDW_NOFRAME) w->ncPaintNeeded = false;
    if (flags & RDW_NOERASE) w->eraseNeeded = false;
  }
  bool children = (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(w->style & WS_CLIPCHILDREN));
  if (!children) return;
  for (HWND c : w->children) {
    WndData* d = WindowData::Get(c);
    if (!(d->style & WS_VISIBLE)) continue;
    // The child's window rectangle in this client's coordinates; the part it covers.
    RECT cr = d->rect;
    HRGN part = Windows::CreateRectRgnIndirect(&cr);
    Windows::CombineRgn(part, part, rgnClient, RGN_AND);
    RECT b;
    if (Windows::GetRgnBox(part, &b) != NULLREGION) {
      UINT f = flags;
      if ((flags & RDW_INVALIDATE) && !(flags & RDW_NOFRAME)) {
        RECT cc = Offset(d->client, cr.left, cr.top);
        HRGN inClient = Windows::CreateRectRgnIndirect(&cc);
        HRGN nc = Windows::CreateRectRgn(0, 0, 0, 0);
        Windows::CombineRgn(nc, part, inClient, RGN_DIFF);
        if (Windows::GetRgnBox(nc, &b) != NULLREGION) f |= RDW_FRAME;
        Windows::DeleteObject(nc);
        Windows::DeleteObject(inClient);
      }
      Windows::OffsetRgn(part, -(cr.left + d->client.left), -(cr.top + d->client.top));
      Redraw(c, part, f);
    }
    Windows::DeleteObject(part);
  }
}

}  // namespace

const Surface* SurfaceOf(HWND top)
{
  auto it = S().surfaces.find(top);
  return it == S().surfaces.end() ? nullptr : &it->second;
}

void SurfaceResized(HWND top)
{
  WndData* w = WindowData::Get(top);
  if (!w || w->parent) return;
  int cx = std::max(0, w->rect.right - w->rect.left), cy = std::max(0, w->rect.bottom - w->rect.top);
  Surface& s = S().surfaces[top];
  if (s.width == cx && s.height == cy) return;
  // DCs onto the old pixels must not outlive them.
  for (auto it = S().dcs.begin(); it != S().dcs.end();) {
    if (it->second.top == top) {
      Windows::DeleteDC(it->first);
      it = S().dcs.erase(it);
    } else {
      ++it;
    }
  }
  Surface n;
  n.width = cx;
  n.height = cy;
  n.pixels.assign(size_t(cx) * size_t(cy), 0x00FFFFFF);
  for (int y = 0; y < std::min(cy, s.height); ++y)
    std::copy_n(s.pixels.begin() + std::ptrdiff_t(y) * s.width, std::min(cx, s.width),
                n.pixels.begin() + std::ptrdiff_t(y) * cx);
  s = std::move(n);
}

void SurfaceGone(HWND top)
{
  for (auto it = S().dcs.begin(); it != S().dcs.end();) {
    if (it->second.top == top) {
      Windows::DeleteDC(it->first);
      it = S().dcs.erase(it);
    } else {
      ++it;
    }
  }
  S().surfaces.erase(top);
}

HWND NextPaintWindow(HWND within)
{
  if (within) return FindPaint(within);
  for (HWND t : WindowData::TopLevel()) {
    if (HWND p = FindPaint(t)) return p;
  }
  return nullptr;
}

HRGN VisibleRegion(HWND wnd, bool clientOnly, bool clipChildren)
{
  HRGN rgn = Windows::CreateRectRgn(0, 0, 0, 0);
  WndData* w = WindowData::Get(wnd);
  if (!w || !WindowData::IsVisibleChain(wnd)) return rgn;
  RECT r = InTop(wnd, clientOnly);
  Windows::SetRectRgn(rgn, r.left, r.top, r.right, r.bottom);
  IntersectShape(rgn, wnd, clientOnly);
  for (WndData* c = w; c->parent; c = WindowData::Get(c->parent)) {
    IntersectShape(rgn, c->parent, true);
    if (c->style & WS_CLIPSIBLINGS) {
      WndData* p = WindowData::Get(c->parent);
      for (HWND s : p->children) {
        if (s == c->handle) break;
        if (WindowData::Get(s)->style & WS_VISIBLE) SubtractShape(rgn, s);
      }
    }
  }
  if (clipChildren) {
    for (HWND ch : w->children) {
      if (WindowData::Get(ch)->style & WS_VISIBLE) SubtractShape(rgn, ch);
    }
  }
  return rgn;
}

void Reset()
{
  for (auto& [dc, info] : S().dcs) Windows::DeleteDC(dc);
  S().dcs.clear();
  S().surfaces.clear();
}

}  // namespace Painting

namespace Windows {

BOOL RedrawWindow(HWND wnd, const RECT* r, HRGN rgn, UINT flags)
{
  WndData* w = WindowData::Get(wnd);
  if (!w) return FALSE;
  HRGN area;
  if (rgn) {
    area = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(area, rgn, nullptr, RGN_COPY);
  } else if (r) {
    area = CreateRectRgnIndirect(r);
  } else {
    area = CreateRectRgn(0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top);
  }
  Painting::Redraw(wnd, area, flags);
  DeleteObject(area);
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) UpdateWindow(wnd);
  return TRUE;
}

BOOL InvalidateRect(HWND wnd, const RECT* r, BOOL erase)
{
  return RedrawWindow(wnd, r, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND wnd, HRGN rgn, BOOL erase)
{
  return RedrawWindow(wnd, nullptr, rgn, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND wnd, const RECT* r) { return RedrawWindow(wnd, r, nullptr, RDW_VALIDATE | RDW_NOCHILDREN); }

BOOL ValidateRgn(HWND wnd, HRGN rgn) { return RedrawWindow(wnd, nullptr, rgn, RDW_VALIDATE | RDW_NOCHILDREN); }

BOOL GetUpdateRect(HWND wnd, RECT* out, BOOL)
{
  WndData* w = WindowData::Get(wnd);
  if (!w) return FALSE;
  RECT b{};
  int kind = w->update ? GetRgnBox(w->update, &b) : NULLREGION;
  if (out) *out = kind == NULLREGION ? RECT{} : b;
  return kind != NULLREGION;
}

int GetUpdateRgn(HWND wnd, HRGN rgn, BOOL)
{
  WndData* w = WindowData::Get(wnd);
  if (!w || !rgn) return ERROR;
  if (!w->update) return SetRectRgn(rgn, 0, 0, 0, 0) ? NULLREGION : ERROR;
  return CombineRgn(rgn, w->update, nullptr, RGN_COPY);
}

BOOL UpdateWindow(HWND wnd)
{
  WindowData::Ptr w = WindowData::Find(wnd);
  if (!w) return FALSE;
  if (Painting::Pending(w.get()) && (w->style & WS_VISIBLE)) SendMessage(wnd, WM_PAINT, 0, 0);
  if (!WindowData::Get(wnd)) return TRUE;
  auto kids = w->children;
  for (HWND c : kids) UpdateWindow(c);
  return TRUE;
}

HDC BeginPaint(HWND wnd, PAINTSTRUCT* ps)
{
  WindowData::Ptr w = WindowData::Find(wnd);
  if (!w || !ps) return nullptr;
  if (w->ncPaintNeeded) {
    w->ncPaintNeeded = false;
    SendMessage(wnd, WM_NCPAINT, 1, 0);
    if (!WindowData::Get(wnd)) return nullptr;
  }
  if (Carets::Owner() == wnd) HideCaret(wnd);
  HRGN upd = w->update;
  w->update = nullptr;
  w->internalPaint = false;
  bool erase = w->eraseNeeded;
  w->eraseNeeded = false;
  if (!upd) upd = CreateRectRgn(0, 0, 0, 0);
  RECT box{};
  GetRgnBox(upd, &box);
  // The update region is in client coordinates, which are the DC's own.
  HDC dc = Painting::MakeDC(wnd, false, w->style & WS_CLIPCHILDREN, upd, RGN_AND);
  DeleteObject(upd);
  *ps = PAINTSTRUCT{};
  ps->hdc = dc;
  ps->rcPaint = box;
  ps->fErase = TRUE;
  if (dc && erase) ps->fErase = SendMessage(wnd, WM_ERASEBKGND, WPARAM(dc), 0) ? FALSE : TRUE;
  return dc;
}

BOOL EndPaint(HWND wnd, const PAINTSTRUCT* ps)
{
  if (!ps || !ps->hdc) return FALSE;
  ReleaseDC(wnd, ps->hdc);
  if (Carets::Owner() == wnd) ShowCaret(wnd);
  return TRUE;
}

HDC GetDC(HWND wnd) { return GetDCEx(wnd, nullptr, 0); }

HDC GetDCEx(HWND wnd, HRGN clip, DWORD flags)
{
  WndData* w = WindowData::Get(wnd);
  if (!w) return nullptr;
  bool clipChildren = (flags & DCX_CLIPCHILDREN) || (w->style & WS_CLIPCHILDREN);
  DWORD mode = (flags & DCX_EXCLUDERGN) ? RGN_DIFF : RGN_AND;
  // The region is in the DC's own coordinates: the client's, or the window's with DCX_WINDOW.
  HRGN extra = (flags & (DCX_EXCLUDERGN | DCX_INTERSECTRGN)) ? clip : nullptr;
  return Painting::MakeDC(wnd, flags & DCX_WINDOW, clipChildren, extra, mode);
}

HDC GetWindowDC(HWND wnd) { return GetDCEx(wnd, nullptr, DCX_WINDOW); }

int ReleaseDC(HWND, HDC dc)
{
  auto it = Painting::S().dcs.find(dc);
  if (it == Painting::S().dcs.end()) return 0;
  HWND top = it->second.top;
  Painting::S().dcs.erase(it);
  DeleteDC(dc);
  Backend::Current().Present(top);
  return 1;
}

int ScrollWindowEx(HWND wnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, RECT* updateRect,
                   UINT flags)
{
  WindowData::Ptr w = WindowData::Find(wnd);
  if (!w) return ERROR;
  RECT client;
  GetClientRect(wnd, &client);
  RECT src = scroll ? *scroll : client;
  RECT lim = clip ? *clip : client;
  IntersectRect(&lim, &lim, &client);
  HRGN uncovered = CreateRectRgnIndirect(&src);
  RECT moved = Painting::Offset(src, dx, dy);
  HRGN movedRgn = CreateRectRgnIndirect(&moved);
  HRGN limRgn = CreateRectRgnIndirect(&lim);
  CombineRgn(movedRgn, movedRgn, limRgn, RGN_AND);
  CombineRgn(uncovered, uncovered, limRgn, RGN_AND);
  if (HDC dc = GetDCEx(wnd, limRgn, DCX_INTERSECTRGN | DCX_CLIPCHILDREN)) {
    BitBlt(dc, src.left + dx, src.top + dy, src.right - src.left, src.bottom - src.top, dc, src.left, src.top, SRCCOPY);
    ReleaseDC(wnd, dc);
  }
  CombineRgn(uncovered, uncovered, movedRgn, RGN_DIFF);
  // What was invalid moves with the pixels.
  if (w->update) {
    HRGN inside = CreateRectRgnIndirect(&src);
    HRGN part = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(part, w->update, inside, RGN_AND);
    CombineRgn(w->update, w->update, part, RGN_DIFF);
    OffsetRgn(part, dx, dy);
    CombineRgn(part, part, limRgn, RGN_AND);
    CombineRgn(w->update, w->update, part, RGN_OR);
    DeleteObject(part);
    DeleteObject(inside);
  }
  if (flags & SW_SCROLLCHILDREN) {
    for (HWND c : std::vector<HWND>(w->children)) {
      WndData* d = WindowData::Get(c);
      if (!d) continue;
      RECT cr = d->rect;
      SetWindowPos(c, nullptr, cr.left + dx, cr.top + dy, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
  }
  if (update) CombineRgn(update, uncovered, nullptr, RGN_COPY);
  RECT box{};
  int kind = GetRgnBox(uncovered, &box);
  if (updateRect) *updateRect = box;
  if (flags & (SW_INVALIDATE | SW_ERASE)) {
    RedrawWindow(
        wnd, nullptr, uncovered,
        RDW_INVALIDATE | ((flags & SW_ERASE) ? RDW_ERASE : 0) | ((flags & SW_SCROLLCHILDREN) ? RDW_ALLCHILDREN : 0));
  }
  DeleteObject(uncovered);
  DeleteObject(movedRgn);
  DeleteObject(limRgn);
  return kind;
}

BOOL ScrollWindow(HWND wnd, int dx, int dy, const RECT* scroll, const RECT* clip)
{
  return ScrollWindowEx(wnd, dx, dy, scroll, clip, nullptr, nullptr,
                        SW_INVALIDATE | SW_ERASE | (scroll ? 0 : SW_SCROLLCHILDREN)) != ERROR;
}

}  // namespace Windows
