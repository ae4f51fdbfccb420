#include "platform/commctrl/tooltips/ToolTips.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/commctrl/common/ControlUtil.h"
#include "platform/commctrl/tooltips/ToolTipsModel.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SavedDC.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

// Timers: the delay before a tip shows, its life, and the watch that the pointer is still over
// the tool.
constexpr UINT_PTR ShowTimer = 1, PopTimer = 2, WatchTimer = 3;
constexpr UINT WatchEvery = 100;
// The classic limit of a tip's text when the caller gives no buffer size.
constexpr int TextMax = 80;
// Padding between the frame and the text, and how far below the pointer's hot spot a tip
// shows (clear of the arrow cursor).
constexpr int PadX = 3, PadY = 1, BelowPointer = 20;
constexpr const char* SubclassProp = "PeltoToolTipsSubclass";

struct Key {
  HWND Wnd = nullptr;
  UINT_PTR Id = 0;
  explicit operator bool() const { return Wnd != nullptr; }
  bool operator==(const Key&) const = default;
};

struct TipState {
  ToolTipsModel Model;
  HFONT Font = nullptr;
  bool Active = true;
  Key Current;              // the tool the pointer is over
  bool Shown = false;       // its tip is up
  bool Suppressed = false;  // popped by a click or by time: no tip until the pointer leaves it
  bool RecentlyShown = false;
  int MaxWidth = -1;
  COLORREF Back = CLR_DEFAULT, Fore = CLR_DEFAULT;
  RECT Margin{0, 0, 0, 0};
  AnsiString Text;  // of the tip up
};

TipState* StateOf(HWND wnd) { return ControlUtil::StateOf<TipState>(wnd); }
DWORD Style(HWND wnd) { return DWORD(GetWindowLongPtr(wnd, GWL_STYLE)); }

const ToolTipsModel::Tool* ToolOf(TipState* s, Key k) { return s->Model.At(s->Model.Find(k.Wnd, k.Id)); }

// ---- Subclassing the tools' windows ----------------------------------------------------------
// A window with TTF_SUBCLASS tools of one or more tool tips relays its mouse messages to each.
struct Subclass {
  WNDPROC Old = nullptr;
  std::vector<HWND> Tips;
};

LRESULT SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  auto* sc = reinterpret_cast<Subclass*>(GetProp(wnd, SubclassProp));
  if (!sc) return DefWindowProc(wnd, msg, wParam, lParam);
  WNDPROC old = sc->Old;
  if (msg == WM_NCDESTROY) {
    std::unique_ptr<Subclass> gone(sc);
    RemoveProp(wnd, SubclassProp);
    SetWindowLongPtr(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    return CallWindowProc(old, wnd, msg, wParam, lParam);
  }
  if (msg == WM_MOUSEMOVE) {
    TRACKMOUSEEVENT tme{sizeof(TRACKMOUSEEVENT), TME_LEAVE, wnd, 0};
    TrackMouseEvent(&tme);
  }
  std::vector<HWND> tips = sc->Tips;  // a tip may go while it handles the message
  for (HWND tip : tips) ToolTips::Relay(tip, wnd, msg, wParam, lParam);
  return CallWindowProc(old, wnd, msg, wParam, lParam);
}

void Hook(HWND target, HWND tip)
{
  if (!IsWindow(target)) return;
  auto* sc = reinterpret_cast<Subclass*>(GetProp(target, SubclassProp));
  if (!sc) {
    auto made = std::make_unique<Subclass>();
    made->Old = reinterpret_cast<WNDPROC>(GetWindowLongPtr(target, GWLP_WNDPROC));
    sc = made.release();
    SetProp(target, SubclassProp, reinterpret_cast<HANDLE>(sc));
    SetWindowLongPtr(target, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc));
  }
  if (std::find(sc->Tips.begin(), sc->Tips.end(), tip) == sc->Tips.end()) sc->Tips.push_back(tip);
}

void Unhook(HWND target, HWND tip)
{
  auto* sc = reinterpret_cast<Subclass*>(GetProp(target, SubclassProp));
  if (!sc) return;
  std::erase(sc->Tips, tip);
  // Put the window's procedure back unless someone subclassed it after us.
  if (sc->Tips.empty() && GetWindowLongPtr(target, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SubclassProc)) {
    SetWindowLongPtr(target, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(sc->Old));
    RemoveProp(target, SubclassProp);
    delete sc;
  }
}

// ---- Showing and hiding ---------------------------------------------------------------------

LRESULT NotifyTool(HWND tip, const ToolTipsModel::Tool& t, NMHDR* hdr, UINT code)
{
  hdr->hwndFrom = tip;
  hdr->idFrom = t.Id;
  hdr->code = code;
  if (!IsWindow(t.Wnd)) return 0;
  return SendMessage(t.Wnd, WM_NOTIFY, WPARAM(t.Id), reinterpret_cast<LPARAM>(hdr));
}

// The tool's text, asked of its window for a callback tool.
AnsiString TextOf(HWND tip, TipState* s, Key k)
{
  const ToolTipsModel::Tool* t = ToolOf(s, k);
  if (!t) return {};
  if (!t->Callback) return t->Text;
  NMTTDISPINFO di;
  di.uFlags = t->Flags;
  di.lParam = t->Param;
  NotifyTool(tip, *t, &di.hdr, TTN_GETDISPINFO);
  di.szText[sizeof(di.szText) - 1] = 0;
  AnsiString text = (di.lpszText && di.lpszText != LPSTR_TEXTCALLBACK && std::uintptr_t(di.lpszText) > 0xFFFF)
                        ? AnsiString(di.lpszText)
                        : AnsiString(di.szText);
  // The answer may have changed the tools.
  ToolTipsModel::Tool* again = s->Model.At(s->Model.Find(k.Wnd, k.Id));
  if (again && (di.uFlags & TTF_DI_SETITEM)) {
    again->Text = text;
    again->Callback = false;
  }
  return text;
}

UINT TextFormat(HWND wnd, const TipState* s)
{
  UINT f = DT_LEFT | DT_EXPANDTABS | ((Style(wnd) & TTS_NOPREFIX) ? DT_NOPREFIX : 0);
  return f | (s->MaxWidth >= 0 ? DT_WORDBREAK : DT_SINGLELINE);
}

// The tip's client size for its text.
SIZE Measure(HWND wnd, const TipState* s)
{
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, ControlUtil::FontOr(s->Font));
  RECT r{0, 0, s->MaxWidth >= 0 ? s->MaxWidth : 0, 0};
  DrawText(dc, s->Text.c_str(), int(s->Text.size()), &r, TextFormat(wnd, s) | DT_CALCRECT);
  SelectObject(dc, old);
  DeleteDC(dc);
  return {r.right - r.left + 2 * (1 + PadX) + s->Margin.left + s->Margin.right,
          r.bottom - r.top + 2 * (1 + PadY) + s->Margin.top + s->Margin.bottom};
}

// Where the tip goes: below the pointer, or centred below the tool with TTF_CENTERTIP; above
// when there is no room below, and inside the work area.
POINT Place(const ToolTipsModel::Tool& t, SIZE size)
{
  POINT cursor;
  GetCursorPos(&cursor);
  POINT at{cursor.x, cursor.y + BelowPointer};
  int above = cursor.y - size.cy;
  if (t.Flags & TTF_CENTERTIP) {
    RECT r = t.Rect;
    if (t.Flags & TTF_IDISHWND) GetClientRect(t.Target(), &r);
    POINT pts[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MapWindowPoints(t.Target(), nullptr, pts, 2);
    at = {(pts[0].x + pts[1].x - size.cx) / 2, pts[1].y};
    above = pts[0].y - size.cy;
  }
  RECT work;
  if (!SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0))
    work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (at.y + size.cy > work.bottom) at.y = std::max(int(work.top), above);
  at.x = std::max(int(work.left), std::min(int(at.x), int(work.right) - int(size.cx)));
  return at;
}

void Hide(HWND wnd, TipState* s)
{
  KillTimer(wnd, PopTimer);
  if (!s->Shown) return;
  s->Shown = false;
  s->RecentlyShown = true;
  ShowWindow(wnd, SW_HIDE);
  if (const ToolTipsModel::Tool* t = ToolOf(s, s->Current)) {
    NMHDR nm;
    NotifyTool(wnd, *t, &nm, TTN_POP);
  }
}

// The pointer left every tool.
void Leave(HWND wnd, TipState* s)
{
  Hide(wnd, s);
  KillTimer(wnd, ShowTimer);
  KillTimer(wnd, WatchTimer);
  s->Current = {};
  s->Suppressed = false;
}

bool MayShow(HWND wnd, const TipState* s, const ToolTipsModel::Tool& t)
{
  if (!s->Active || s->Suppressed) return false;
  if (Style(wnd) & TTS_ALWAYSTIP) return true;
  HWND top = GetAncestor(t.Target(), GA_ROOT);
  return top && GetActiveWindow() == top;
}

void Show(HWND wnd, TipState* s)
{
  const ToolTipsModel::Tool* t = ToolOf(s, s->Current);
  if (!t || !MayShow(wnd, s, *t)) return;
  Key k = s->Current;
  AnsiString text = TextOf(wnd, s, k);
  t = ToolOf(s, k);
  if (!t || !IsWindow(wnd) || text.empty()) return;
  s->Text = std::move(text);
  // The window's text is the tip's, for whoever reads it.
  SetWindowText(wnd, s->Text.c_str());
  SIZE size = Measure(wnd, s);
  SetWindowPos(wnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  NMHDR nm;
  // A tool's window that answers TTN_SHOW with non-zero has placed the tip itself.
  if (!NotifyTool(wnd, *t, &nm, TTN_SHOW)) {
    t = ToolOf(s, k);
    if (!t) return;
    POINT at = Place(*t, size);
    SetWindowPos(wnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(wnd, nullptr, TRUE);
  s->Shown = true;
  SetTimer(wnd, PopTimer, UINT(s->Model.Delay(TTDT_AUTOPOP, int(GetDoubleClickTime()))), nullptr);
}

// The pointer is over `k` (none when empty) after a relayed move.
void Enter(HWND wnd, TipState* s, Key k)
{
  if (k == s->Current) return;
  bool wasUp = s->Shown || s->RecentlyShown;
  Leave(wnd, s);
  if (!k || !s->Active) return;
  s->Current = k;
  int delay = s->Model.Delay(wasUp ? TTDT_RESHOW : TTDT_INITIAL, int(GetDoubleClickTime()));
  SetTimer(wnd, ShowTimer, UINT(std::max(delay, 1)), nullptr);
  SetTimer(wnd, WatchTimer, WatchEvery, nullptr);
}

// The watch: whether the pointer is still over the current tool.
void Watch(HWND wnd, TipState* s)
{
  POINT p;
  GetCursorPos(&p);
  HWND under = WindowFromPoint(p);
  if (under) ScreenToClient(under, &p);
  int hit = s->Model.HitTest(under, p);
  const ToolTipsModel::Tool* t = s->Model.At(hit);
  if (!t || Key{t->Wnd, t->Id} != s->Current) {
    Leave(wnd, s);
    s->RecentlyShown = false;
  }
}

void Relayed(HWND wnd, TipState* s, const MSG& m)
{
  switch (m.message) {
    case WM_MOUSEMOVE: {
      POINT pt{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
      const ToolTipsModel::Tool* t = s->Model.At(s->Model.HitTest(m.hwnd, pt));
      Enter(wnd, s, t ? Key{t->Wnd, t->Id} : Key{});
      if (!t) s->RecentlyShown = false;
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
      Hide(wnd, s);
      KillTimer(wnd, ShowTimer);
      s->Suppressed = true;
      return;
    case WM_MOUSELEAVE:
      Leave(wnd, s);
      s->RecentlyShown = false;
      return;
    default: return;
  }
}

void Paint(HWND wnd, TipState* s, HDC dc)
{
  TSavedDC keep(dc);
  RECT c;
  GetClientRect(wnd, &c);
  COLORREF back = s->Back == CLR_DEFAULT ? GetSysColor(COLOR_INFOBK) : s->Back;
  COLORREF fore = s->Fore == CLR_DEFAULT ? GetSysColor(COLOR_INFOTEXT) : s->Fore;
  CommonControls::FillSolid(dc, c, back);
  HBRUSH frame = CreateSolidBrush(fore);
  FrameRect(dc, &c, frame);
  DeleteObject(frame);
  SelectObject(dc, ControlUtil::FontOr(s->Font));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, fore);
  RECT t{c.left + 1 + PadX + s->Margin.left, c.top + 1 + PadY + s->Margin.top, c.right - 1 - PadX - s->Margin.right,
         c.bottom - 1 - PadY - s->Margin.bottom};
  DrawText(dc, s->Text.c_str(), int(s->Text.size()), &t, TextFormat(wnd, s));
}

void CopyText(const AnsiString& text, char* out, std::size_t room)
{
  if (!out || room == 0 || out == LPSTR_TEXTCALLBACK) return;
  std::size_t n = std::min(text.size(), room - 1);
  std::memcpy(out, text.data(), n);
  out[n] = 0;
}

bool ValidInfo(const TOOLINFO* ti) { return ti && ti->cbSize >= TTTOOLINFO_V1_SIZE; }

void FillInfo(const ToolTipsModel::Tool& t, TOOLINFO* ti)
{
  ti->uFlags = t.Flags;
  ti->hwnd = t.Wnd;
  ti->uId = t.Id;
  ti->rect = t.Rect;
  ti->hinst = nullptr;
  if (t.Callback)
    ti->lpszText = LPSTR_TEXTCALLBACK;
  else
    CopyText(t.Text, ti->lpszText, TextMax);
  if (ti->cbSize > TTTOOLINFO_V1_SIZE) ti->lParam = t.Param;
}

void SetText(ToolTipsModel::Tool& t, const char* text)
{
  t.Callback = text == LPSTR_TEXTCALLBACK;
  // Texts from string resources (small integers) are not supported: they read as empty.
  t.Text = !t.Callback && text && std::uintptr_t(text) > 0xFFFF ? AnsiString(text) : AnsiString();
}

ToolTipsModel::Tool ToolFrom(const TOOLINFO& ti)
{
  ToolTipsModel::Tool t;
  t.Flags = ti.uFlags;
  t.Wnd = ti.hwnd;
  t.Id = ti.uId;
  t.Rect = ti.rect;
  SetText(t, ti.lpszText);
  if (ti.cbSize > TTTOOLINFO_V1_SIZE) t.Param = ti.lParam;
  return t;
}

// Removes tool `k`, its tip and its window's subclass with it.
void DeleteTool(HWND wnd, TipState* s, Key k)
{
  const ToolTipsModel::Tool* t = ToolOf(s, k);
  if (!t) return;
  if (k == s->Current) Leave(wnd, s);
  HWND target = t->Target();
  bool subclassed = t->Flags & TTF_SUBCLASS;
  s->Model.Delete(k.Wnd, k.Id);
  if (subclassed && !s->Model.Uses(target)) Unhook(target, wnd);
}

}  // namespace

namespace ToolTips {

void Relay(HWND tip, HWND from, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (!tip) return;
  bool mouse = (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || msg == WM_MOUSELEAVE;
  if (!mouse) return;
  MSG m{};
  m.hwnd = from;
  m.message = msg;
  m.wParam = wParam;
  m.lParam = lParam;
  SendMessage(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
}

HWND CreateOwned(HWND control)
{
  return CreateWindowEx(0, TOOLTIPS_CLASS, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, control, nullptr, nullptr,
                        nullptr);
}

void DestroyOwned(HWND& tips, bool own)
{
  if (own && IsWindow(tips)) DestroyWindow(tips);
  tips = nullptr;
}

LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_CREATE) {
    ControlUtil::AttachState(wnd, std::make_unique<TipState>());
    // A pop-up of its own: never a caption or frame, never the activation, above the others.
    SetWindowLongPtr(wnd, GWL_STYLE, LONG_PTR((Style(wnd) & ~(WS_CHILD | WS_CAPTION | WS_THICKFRAME)) | WS_POPUP));
    SetWindowLongPtr(wnd, GWL_EXSTYLE,
                     GetWindowLongPtr(wnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST);
    return 0;
  }
  TipState* s = StateOf(wnd);
  if (!s) return DefWindowProc(wnd, msg, wParam, lParam);
  switch (msg) {
    case WM_NCDESTROY: {
      for (int i = 0; i < s->Model.Count(); ++i)
        if (s->Model.At(i)->Flags & TTF_SUBCLASS) Unhook(s->Model.At(i)->Target(), wnd);
      auto gone = ControlUtil::DetachState<TipState>(wnd);
      return DefWindowProc(wnd, msg, wParam, lParam);
    }
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_SETFONT: ControlUtil::SetFontFrom(wnd, s->Font, wParam, lParam); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->Font);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: CommonControls::Paint(wnd, wParam, [&](HDC dc) { Paint(wnd, s, dc); }); return 0;
    case WM_TIMER:
      if (wParam == ShowTimer) {
        KillTimer(wnd, ShowTimer);
        Show(wnd, s);
      } else if (wParam == PopTimer) {
        Hide(wnd, s);
        s->Suppressed = true;
      } else if (wParam == WatchTimer) {
        Watch(wnd, s);
      }
      return 0;

    case TTM_RELAYEVENT:
      if (lParam) Relayed(wnd, s, *reinterpret_cast<const MSG*>(lParam));
      return 0;
    case TTM_ACTIVATE:
      s->Active = wParam != 0;
      if (!s->Active) Leave(wnd, s);
      return 0;
    case TTM_POP: Leave(wnd, s); return 0;
    case TTM_UPDATE:
      if (s->Shown) {
        Hide(wnd, s);
        Show(wnd, s);
      }
      return 0;
    case TTM_ADDTOOL: {
      auto* ti = reinterpret_cast<const TOOLINFO*>(lParam);
      if (!ValidInfo(ti) || !IsWindow(ti->hwnd) || ((ti->uFlags & TTF_IDISHWND) && !IsWindow(HWND(ti->uId))))
        return FALSE;
      ToolTipsModel::Tool t = ToolFrom(*ti);
      HWND target = t.Target();
      bool subclass = t.Flags & TTF_SUBCLASS;
      s->Model.Add(std::move(t));
      if (subclass) Hook(target, wnd);
      return TRUE;
    }
    case TTM_DELTOOL: {
      auto* ti = reinterpret_cast<const TOOLINFO*>(lParam);
      if (ValidInfo(ti)) DeleteTool(wnd, s, Key{ti->hwnd, ti->uId});
      return 0;
    }
    case TTM_NEWTOOLRECT: {
      auto* ti = reinterpret_cast<const TOOLINFO*>(lParam);
      if (!ValidInfo(ti)) return 0;
      if (ToolTipsModel::Tool* t = s->Model.At(s->Model.Find(ti->hwnd, ti->uId))) t->Rect = ti->rect;
      return 0;
    }
    case TTM_SETTOOLINFO: {
      auto* ti = reinterpret_cast<const TOOLINFO*>(lParam);
      if (!ValidInfo(ti)) return 0;
      ToolTipsModel::Tool* t = s->Model.At(s->Model.Find(ti->hwnd, ti->uId));
      if (!t) return 0;
      bool wasHooked = t->Flags & TTF_SUBCLASS;
      HWND target = t->Target();
      *t = ToolFrom(*ti);
      if (wasHooked && !(t->Flags & TTF_SUBCLASS) && !s->Model.Uses(target)) Unhook(target, wnd);
      if (t->Flags & TTF_SUBCLASS) Hook(t->Target(), wnd);
      return 0;
    }
    case TTM_UPDATETIPTEXT: {
      auto* ti = reinterpret_cast<const TOOLINFO*>(lParam);
      if (!ValidInfo(ti)) return 0;
      ToolTipsModel::Tool* t = s->Model.At(s->Model.Find(ti->hwnd, ti->uId));
      if (!t) return 0;
      SetText(*t, ti->lpszText);
      if (s->Shown && Key{ti->hwnd, ti->uId} == s->Current) {
        Hide(wnd, s);
        Show(wnd, s);
      }
      return 0;
    }
    case TTM_GETTOOLINFO: {
      auto* ti = reinterpret_cast<TOOLINFO*>(lParam);
      if (!ValidInfo(ti)) return FALSE;
      const ToolTipsModel::Tool* t = s->Model.At(s->Model.Find(ti->hwnd, ti->uId));
      if (!t) return FALSE;
      FillInfo(*t, ti);
      return TRUE;
    }
    case TTM_ENUMTOOLS: {
      auto* ti = reinterpret_cast<TOOLINFO*>(lParam);
      const ToolTipsModel::Tool* t = s->Model.At(int(wParam));
      if (!ValidInfo(ti) || !t) return FALSE;
      FillInfo(*t, ti);
      return TRUE;
    }
    case TTM_GETCURRENTTOOL: {
      const ToolTipsModel::Tool* t = s->Shown ? ToolOf(s, s->Current) : nullptr;
      auto* ti = reinterpret_cast<TOOLINFO*>(lParam);
      if (!t) return FALSE;
      if (ValidInfo(ti)) FillInfo(*t, ti);
      return TRUE;
    }
    case TTM_GETTEXT: {
      auto* ti = reinterpret_cast<TOOLINFO*>(lParam);
      if (!ValidInfo(ti)) return 0;
      const ToolTipsModel::Tool* t = s->Model.At(s->Model.Find(ti->hwnd, ti->uId));
      CopyText(t && !t->Callback ? t->Text : AnsiString(), ti->lpszText, wParam ? std::size_t(wParam) : TextMax);
      return 0;
    }
    case TTM_GETTOOLCOUNT: return s->Model.Count();
    case TTM_HITTEST: {
      auto* hi = reinterpret_cast<TTHITTESTINFO*>(lParam);
      if (!hi) return FALSE;
      const ToolTipsModel::Tool* t = s->Model.At(s->Model.HitTest(hi->hwnd, hi->pt));
      if (!t) return FALSE;
      if (ValidInfo(&hi->ti)) FillInfo(*t, &hi->ti);
      return TRUE;
    }
    case TTM_SETDELAYTIME: s->Model.SetDelay(wParam, int(short(LOWORD(lParam)))); return 0;
    case TTM_GETDELAYTIME: return s->Model.Delay(wParam, int(GetDoubleClickTime()));
    case TTM_SETMAXTIPWIDTH: return std::exchange(s->MaxWidth, int(lParam) < 0 ? -1 : int(lParam));
    case TTM_GETMAXTIPWIDTH: return s->MaxWidth;
    case TTM_SETTIPBKCOLOR: s->Back = COLORREF(wParam); return 0;
    case TTM_SETTIPTEXTCOLOR: s->Fore = COLORREF(wParam); return 0;
    case TTM_GETTIPBKCOLOR: return s->Back == CLR_DEFAULT ? GetSysColor(COLOR_INFOBK) : s->Back;
    case TTM_GETTIPTEXTCOLOR: return s->Fore == CLR_DEFAULT ? GetSysColor(COLOR_INFOTEXT) : s->Fore;
    case TTM_SETMARGIN:
      if (lParam) s->Margin = *reinterpret_cast<const RECT*>(lParam);
      return 0;
    case TTM_GETMARGIN:
      if (lParam) *reinterpret_cast<RECT*>(lParam) = s->Margin;
      return 0;
    default: return DefWindowProc(wnd, msg, wParam, lParam);
  }
}

void Register() { CommonControls::RegisterControlClass(TOOLTIPS_CLASS, WndProc); }

}  // namespace ToolTips
