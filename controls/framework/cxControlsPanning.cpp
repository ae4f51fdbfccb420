// Middle-button panning of TcxControl: an anchor picture where the button went down, and the
// content scrolling towards the pointer, faster the further it is, until a click, Escape or the
// release of the middle button after the pointer once left the anchor's zone.
#include <algorithm>
#include <cstdlib>

#include "controls/framework/cxControls.h"
#include "controls/framework/cxControlsResources.h"
#include "platform/rtl/Guards.h"
#include "platform/commctrl/CommCtrl.h"
#include "platform/forms/controls/Controls.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Regions.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

namespace {

constexpr int cxPanningBitmapSize = 29;
constexpr UINT cxPanningInterval = 20;
constexpr int cxPanningMaxSpeed = 12;

bool IsMouseButtonMessage(UINT Msg)
{
  switch (Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: return true;
    default: return false;
  }
}

// The cursor of a direction while panning, or of the bars shown while still.
TCursor PanningCursor(int Direction, bool H, bool V)
{
  switch (Direction) {
    case dirUp: return crcxUpScroll;
    case dirRight: return crcxRightScroll;
    case dirDown: return crcxDownScroll;
    case dirLeft: return crcxLeftScroll;
    default: return H && V ? crcxFullScroll : H ? crcxHorScroll : crcxVerScroll;
  }
}

void ShowPanningCursor(TCursor Cursor) { Windows::SetCursor(Controls::AppLink().CursorHandle(Cursor)); }

class TPanningAnchor {
public:
  TPanningAnchor(HWND Owner, POINT Anchor, int Kind)
  {
    CommCtrl::Initialize();
    const int half = cxPanningBitmapSize / 2;
    FWnd = Windows::CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | SS_BITMAP,
                                   Anchor.x - half, Anchor.y - half, cxPanningBitmapSize, cxPanningBitmapSize, Owner,
                                   nullptr, nullptr, nullptr);
    if (!FWnd) return;
    Windows::SendMessage(FWnd, STM_SETIMAGE, IMAGE_BITMAP,
                         reinterpret_cast<LPARAM>(cxControlsResources::PanningBitmap(Kind)));
    Windows::SetWindowRgn(FWnd, Windows::CreateEllipticRgn(0, 0, cxPanningBitmapSize + 1, cxPanningBitmapSize + 1),
                          FALSE);
    Windows::ShowWindow(FWnd, SW_SHOWNOACTIVATE);
    Windows::UpdateWindow(FWnd);
    HDC dc = Windows::GetWindowDC(FWnd);
    HPEN pen = Windows::CreatePen(PS_SOLID, 1, Windows::GetSysColor(COLOR_WINDOWTEXT));
    HGDIOBJ oldPen = Windows::SelectObject(dc, pen);
    HGDIOBJ oldBrush = Windows::SelectObject(dc, Windows::GetStockObject(NULL_BRUSH));
    Windows::Ellipse(dc, 0, 0, cxPanningBitmapSize, cxPanningBitmapSize);
    Windows::SelectObject(dc, oldBrush);
    Windows::SelectObject(dc, oldPen);
    Windows::DeleteObject(pen);
    Windows::ReleaseDC(FWnd, dc);
  }
  ~TPanningAnchor()
  {
    if (FWnd) Windows::DestroyWindow(FWnd);
  }
  TPanningAnchor(const TPanningAnchor&) = delete;
  TPanningAnchor& operator=(const TPanningAnchor&) = delete;
  HWND Handle() const { return FWnd; }

private:
  HWND FWnd = nullptr;
};

}  // namespace

void TcxControl::StartPanning()
{
  const bool h = IsHScrollBarVisible(), v = IsVScrollBarVisible();
  if ((!h && !v) || FIsPanning || !HandleAllocated()) return;
  TValueGuard panning(FIsPanning, true);
  TcxControl* self = this;
  AddSelfReference(&self);

  POINT anchor;
  Windows::GetCursorPos(&anchor);
  TPanningAnchor anchorWindow(GetHandle(), anchor, h && v ? 2 : h ? 1 : 0);
  // The still zone: the picture's square, stretched over the screen along a hidden bar.
  const int half = cxPanningBitmapSize / 2;
  RECT zone{anchor.x - half, anchor.y - half, anchor.x + half + 1, anchor.y + half + 1};
  if (!h) {
    zone.left = 0;
    zone.right = Windows::GetSystemMetrics(SM_CXVIRTUALSCREEN);
  }
  if (!v) {
    zone.top = 0;
    zone.bottom = Windows::GetSystemMetrics(SM_CYVIRTUALSCREEN);
  }
  UINT_PTR timer = Windows::SetTimer(nullptr, 0, cxPanningInterval, nullptr);
  HWND wnd = GetHandle();
  Windows::SetCapture(wnd);
  int speed = 1, direction = dirNone, ticks = 0;
  bool leftZone = false;
  POINT last = anchor;
  ShowPanningCursor(PanningCursor(dirNone, h, v));

  while (self && Windows::GetCapture() == wnd) {
    MSG msg{};
    BOOL got;
    try {
      got = Windows::GetMessage(&msg, nullptr, 0, 0);
    } catch (const Exception&) {
      break;  // nothing can arrive any more
    }
    if (got == -1) break;
    if (got == 0) {
      Windows::PostQuitMessage(int(msg.wParam));
      break;
    }
    if (msg.message == WM_PAINT && msg.hwnd == anchorWindow.Handle()) {
      Windows::ValidateRect(msg.hwnd, nullptr);
      continue;
    }
    if (IsMouseButtonMessage(msg.message) || msg.message == WM_MOUSEWHEEL) break;
    // The middle button belongs to the panning: its release would end the capture.
    if (msg.message == WM_MBUTTONUP) {
      if (leftZone) break;
      continue;
    }
    if (msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam == timer) {
      if (direction != dirNone && speed > 0 && ++ticks % (cxPanningMaxSpeed + 1 - speed) == 0)
        ScrollByDirection(direction);
      continue;
    }
    Windows::TranslateMessage(&msg);
    Windows::DispatchMessage(&msg);
    if (!self) break;
    if ((msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) && msg.wParam == VK_ESCAPE) break;
    if (msg.message != WM_MOUSEMOVE) continue;
    POINT p;
    Windows::GetCursorPos(&p);
    if (p.x == last.x && p.y == last.y) continue;
    last = p;
    if (Windows::PtInRect(&zone, p)) {
      direction = dirNone;
      speed = 0;
    } else {
      leftZone = true;
      const int dx = p.x - anchor.x, dy = p.y - anchor.y;
      const bool vertical = !h || (v && std::abs(dy) >= std::abs(dx));
      const int distance = vertical ? std::abs(dy) : std::abs(dx);
      direction = vertical ? (dy < 0 ? dirUp : dirDown) : (dx < 0 ? dirLeft : dirRight);
      speed = std::min((distance - half) / 5 + 1, cxPanningMaxSpeed);
    }
    ShowPanningCursor(PanningCursor(direction, h, v));
  }
  if (Windows::GetCapture() == wnd) Windows::ReleaseCapture();
  Windows::KillTimer(nullptr, timer);
  if (self) RemoveSelfReference(&self);
}
