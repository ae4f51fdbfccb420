#include "platform/win/window/CaptionButtons.h"

#include <unordered_map>

#include "platform/gdi/draw/Edges.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/NonClient.h"
#include "platform/win/window/WindowData.h"
#include "platform/win/window/Windows.h"

namespace CaptionButtons {
namespace {

std::unordered_map<HWND, LRESULT>& PressedMap()
{
  static std::unordered_map<HWND, LRESULT> m;
  return m;
}

bool HasSizeBoxes(WndData* w)
{
  return (w->style & WS_SYSMENU) && (w->style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) && !(w->exStyle & WS_EX_TOOLWINDOW);
}

bool Contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

}  // namespace

RECT Rect(HWND wnd, LRESULT hit)
{
  WndData* w = WindowData::Get(wnd);
  RECT close = NonClient::CloseButtonRect(wnd);
  if (!w || close.right <= close.left) return {};
  if (hit == HTCLOSE) return close;
  if (!HasSizeBoxes(w)) return {};
  int bw = close.right - close.left;
  RECT max{close.left - 2 - bw, close.top, close.left - 2, close.bottom};
  if (hit == HTMAXBUTTON) return max;
  if (hit == HTMINBUTTON) return {max.left - bw, max.top, max.left, max.bottom};
  return {};
}

bool Enabled(HWND wnd, LRESULT hit)
{
  WndData* w = WindowData::Get(wnd);
  RECT r = Rect(wnd, hit);
  if (!w || r.right <= r.left) return false;
  if (hit == HTCLOSE) return !(w->cls->wc.style & CS_NOCLOSE);
  return (w->style & (hit == HTMAXBUTTON ? WS_MAXIMIZEBOX : WS_MINIMIZEBOX)) != 0;
}

WPARAM Command(HWND wnd, LRESULT hit)
{
  if (hit == HTCLOSE) return SC_CLOSE;
  if (hit == HTMAXBUTTON) return Windows::IsZoomed(wnd) ? SC_RESTORE : SC_MAXIMIZE;
  if (hit == HTMINBUTTON) return Windows::IsIconic(wnd) ? SC_RESTORE : SC_MINIMIZE;
  return 0;
}

LRESULT Pressed(HWND wnd)
{
  auto it = PressedMap().find(wnd);
  return it == PressedMap().end() ? HTNOWHERE : it->second;
}

void Paint(HWND wnd, HDC dc)
{
  for (LRESULT hit : {HTMINBUTTON, HTMAXBUTTON, HTCLOSE}) {
    RECT r = Rect(wnd, hit);
    if (r.right <= r.left) continue;
    UINT glyph = DFCS_CAPTIONCLOSE;
    if (hit == HTMAXBUTTON) glyph = Windows::IsZoomed(wnd) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX;
    if (hit == HTMINBUTTON) glyph = Windows::IsIconic(wnd) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN;
    if (!Enabled(wnd, hit)) glyph |= DFCS_INACTIVE;
    if (Pressed(wnd) == hit) glyph |= DFCS_PUSHED;
    Windows::DrawFrameControl(dc, &r, DFC_CAPTION, glyph);
  }
}

bool TrackPress(HWND wnd, const std::function<bool(POINT)>& inside, const std::function<void(bool)>& show)
{
  using namespace Windows;
  if (!IsWindow(wnd)) return false;
  SetCapture(wnd);
  bool over = true, released = false;
  show(true);
  MSG m;
  while (IsWindow(wnd) && GetCapture() == wnd) {
    if (!GetMessage(&m, nullptr, 0, 0)) {
      PostQuitMessage(int(m.wParam));
      break;
    }
    if (m.message == WM_MOUSEMOVE && m.hwnd == wnd) {
      bool now = inside(m.pt);
      if (now != over) show(over = now);
    } else if (m.message == WM_LBUTTONUP && m.hwnd == wnd) {
      released = inside(m.pt);
      break;
    } else if (m.message == WM_KEYDOWN && m.wParam == WPARAM(VK_ESCAPE)) {
      break;
    } else if (!(m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST) &&
               !(m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST)) {
      DispatchMessage(&m);
    }
  }
  bool kept = IsWindow(wnd) && GetCapture() == wnd;
  if (kept) ReleaseCapture();
  if (IsWindow(wnd)) show(false);
  return released && kept;
}

void Click(HWND wnd, LRESULT hit)
{
  if (!Enabled(wnd, hit)) return;
  auto repaint = [wnd] {
    if (HDC dc = Windows::GetWindowDC(wnd)) {
      Paint(wnd, dc);
      Windows::ReleaseDC(wnd, dc);
    }
  };
  POINT last{};
  bool up = TrackPress(
      wnd,
      [&](POINT screen) {
        last = screen;
        RECT sr = WindowData::ScreenRect(wnd);
        return Contains(Rect(wnd, hit), {screen.x - sr.left, screen.y - sr.top});
      },
      [&](bool down) {
        if (down)
          PressedMap()[wnd] = hit;
        else
          PressedMap().erase(wnd);
        repaint();
      });
  if (up && Windows::IsWindow(wnd))
    Windows::SendMessage(wnd, WM_SYSCOMMAND, Command(wnd, hit), MAKELPARAM(last.x, last.y));
}

void WindowGone(HWND wnd) { PressedMap().erase(wnd); }

}  // namespace CaptionButtons
