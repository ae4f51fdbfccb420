// A maximised MDI child's system-menu box and buttons in its frame's menu bar.
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Icons.h"
#include "platform/win/menu/MenuData.h"
#include "platform/win/menu/Menus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/CaptionButtons.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/NonClient.h"
#include "platform/win/window/WindowData.h"
#include "platform/win/window/Windows.h"

namespace Menus {
namespace {

bool Shown(HWND frame)
{
  auto it = T().mdiChild.find(frame);
  return it != T().mdiChild.end() && Windows::IsWindow(it->second) && BarHeight(frame) > 0;
}

WPARAM CommandOf(LRESULT part)
{
  return part == HTMINBUTTON ? SC_MINIMIZE : part == HTMAXBUTTON ? SC_RESTORE : SC_CLOSE;
}

// The child's system menu: what a maximised child can do.
HMENU SystemMenu(HWND child)
{
  HMENU m = Windows::CreatePopupMenu();
  WndData* w = WindowData::Get(child);
  UINT noMin = (w && (w->style & WS_MINIMIZEBOX)) ? 0 : MF_GRAYED;
  UINT noClose = (w && (w->cls->wc.style & CS_NOCLOSE)) ? MF_GRAYED : 0;
  Windows::AppendMenu(m, MF_STRING, SC_RESTORE, "还原(&R)");
  Windows::AppendMenu(m, MF_STRING | MF_GRAYED, SC_MOVE, "移动(&M)");
  Windows::AppendMenu(m, MF_STRING | MF_GRAYED, SC_SIZE, "大小(&S)");
  Windows::AppendMenu(m, MF_STRING | noMin, SC_MINIMIZE, "最小化(&N)");
  Windows::AppendMenu(m, MF_STRING | MF_GRAYED, SC_MAXIMIZE, "最大化(&X)");
  Windows::AppendMenu(m, MF_SEPARATOR, 0, nullptr);
  Windows::AppendMenu(m, MF_STRING | noClose, SC_CLOSE, "关闭(&C)\tCtrl+F4");
  return m;
}

}  // namespace

void SetMdiChild(HWND frame, HWND child)
{
  if (!WindowData::Get(frame)) return;
  if (MdiChild(frame) == child) return;
  if (child)
    T().mdiChild[frame] = child;
  else
    T().mdiChild.erase(frame);
  if (T().decorFrame == frame) T().decorPressed = 0;
  Windows::DrawMenuBar(frame);
}

HWND MdiChild(HWND frame)
{
  auto it = T().mdiChild.find(frame);
  return it == T().mdiChild.end() ? nullptr : it->second;
}

int MdiDecorIndent(HWND frame) { return Shown(frame) ? Windows::GetSystemMetrics(SM_CXSMICON) + 6 : 0; }

RECT MdiDecorRect(HWND frame, LRESULT part)
{
  if (!Shown(frame)) return {};
  RECT bar = NonClient::MenuBarRect(frame);
  if (part == HTSYSMENU) return {bar.left, bar.top, bar.left + MdiDecorIndent(frame), bar.bottom};
  int bw = Windows::GetSystemMetrics(SM_CXSIZE) - 2;
  RECT close{bar.right - 2 - bw, bar.top + 2, bar.right - 2, bar.bottom - 2};
  if (part == HTCLOSE) return close;
  RECT restore{close.left - 2 - bw, close.top, close.left - 2, close.bottom};
  if (part == HTMAXBUTTON) return restore;
  if (part == HTMINBUTTON) return {restore.left - bw, close.top, restore.left, close.bottom};
  return {};
}

LRESULT MdiDecorAt(HWND frame, POINT screen)
{
  RECT wr = WindowData::ScreenRect(frame);
  POINT p{screen.x - wr.left, screen.y - wr.top};
  for (LRESULT part : {HTSYSMENU, HTMINBUTTON, HTMAXBUTTON, HTCLOSE}) {
    RECT r = MdiDecorRect(frame, part);
    if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return part;
  }
  return HTNOWHERE;
}

void PaintMdiDecor(HWND frame, HDC dc)
{
  if (!Shown(frame)) return;
  HWND child = MdiChild(frame);
  RECT box = MdiDecorRect(frame, HTSYSMENU);
  int sz = Windows::GetSystemMetrics(SM_CXSMICON);
  RECT icon{box.left + 3, (box.top + box.bottom - sz) / 2, box.left + 3 + sz, (box.top + box.bottom + sz) / 2};
  WndData* w = WindowData::Get(child);
  HICON hi = w ? (w->cls->wc.hIconSm ? w->cls->wc.hIconSm : w->cls->wc.hIcon) : nullptr;
  if (!hi || !Windows::DrawIconEx(dc, icon.left, icon.top, hi, sz, sz, 0, nullptr, DI_NORMAL)) {
    // No icon: a small window picture.
    Windows::FillRect(dc, &icon, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    RECT title{icon.left, icon.top, icon.right, icon.top + 4};
    Windows::FillRect(dc, &title, reinterpret_cast<HBRUSH>(COLOR_ACTIVECAPTION + 1));
    Windows::FrameRect(dc, &icon, reinterpret_cast<HBRUSH>(COLOR_WINDOWFRAME + 1));
  }
  bool pressedHere = T().decorFrame == frame;
  for (LRESULT part : {HTMINBUTTON, HTMAXBUTTON, HTCLOSE}) {
    RECT r = MdiDecorRect(frame, part);
    UINT glyph = part == HTMINBUTTON ? DFCS_CAPTIONMIN : part == HTMAXBUTTON ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONCLOSE;
    if (part == HTMINBUTTON && w && !(w->style & WS_MINIMIZEBOX)) glyph |= DFCS_INACTIVE;
    if (part == HTCLOSE && w && (w->cls->wc.style & CS_NOCLOSE)) glyph |= DFCS_INACTIVE;
    if (pressedHere && T().decorPressed == part) glyph |= DFCS_PUSHED;
    Windows::DrawFrameControl(dc, &r, DFC_CAPTION, glyph);
  }
}

void ClickMdiDecor(HWND frame, LRESULT part)
{
  HWND child = MdiChild(frame);
  if (!Shown(frame) || part == HTNOWHERE) return;
  if (part == HTSYSMENU) {
    HMENU sys = SystemMenu(child);
    RECT box = MdiDecorRect(frame, HTSYSMENU);
    RECT wr = WindowData::ScreenRect(frame);
    UINT_PTR id = UINT_PTR(Windows::TrackPopupMenu(sys, TPM_RETURNCMD | TPM_NONOTIFY, wr.left + box.left,
                                                   wr.top + box.bottom, 0, frame, nullptr));
    Windows::DestroyMenu(sys);
    if (id && Windows::IsWindow(child)) Windows::SendMessage(child, WM_SYSCOMMAND, id, 0);
    return;
  }
  WndData* w = WindowData::Get(child);
  if (!w || (part == HTMINBUTTON && !(w->style & WS_MINIMIZEBOX)) ||
      (part == HTCLOSE && (w->cls->wc.style & CS_NOCLOSE)))
    return;
  bool up = CaptionButtons::TrackPress(
      frame, [&](POINT screen) { return MdiDecorAt(frame, screen) == part; },
      [&](bool down) {
        T().decorFrame = down ? frame : nullptr;
        T().decorPressed = down ? part : 0;
        RepaintBar(frame);
      });
  if (up && Windows::IsWindow(child) && MdiChild(frame) == child)
    Windows::SendMessage(child, WM_SYSCOMMAND, CommandOf(part), 0);
}

}  // namespace Menus
