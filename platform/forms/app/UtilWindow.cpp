#include "platform/forms/app/UtilWindow.h"

#include <map>
#include <memory>

#include "platform/win/window/Windows.h"

namespace {

const char* const kClassName = "TPUtilWindow";

// A window's handler, shared so that a handler running while its window goes stays alive.
std::map<HWND, std::shared_ptr<UtilWindow::THandler>>& Handlers()
{
  static std::map<HWND, std::shared_ptr<UtilWindow::THandler>> handlers;
  return handlers;
}

LRESULT UtilWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  auto it = Handlers().find(wnd);
  if (it == Handlers().end()) {
    if (msg == WM_NCDESTROY) Handlers().erase(wnd);
    return Windows::DefWindowProc(wnd, msg, wParam, lParam);
  }
  std::shared_ptr<UtilWindow::THandler> handler = it->second;
  if (msg == WM_NCDESTROY) Handlers().erase(it);
  if (!*handler) return Windows::DefWindowProc(wnd, msg, wParam, lParam);
  return (*handler)(wnd, msg, wParam, lParam);
}

// The class goes when the window layer is reset; registering again brings it back.
void EnsureClass()
{
  WNDCLASSEXA existing;
  if (Windows::GetClassInfoEx(nullptr, kClassName, &existing)) return;
  WNDCLASSEXA wc;
  wc.lpfnWndProc = UtilWndProc;
  wc.lpszClassName = kClassName;
  Windows::RegisterClassEx(&wc);
}

}  // namespace

namespace UtilWindow {

HWND AllocateHWnd(THandler Handler)
{
  EnsureClass();
  HWND wnd = Windows::CreateWindowEx(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr,
                                     nullptr);
  if (!wnd) return nullptr;
  // Windows of a reset window layer may have left their handler under a reused handle.
  Handlers()[wnd] = std::make_shared<THandler>(std::move(Handler));
  return wnd;
}

void DeallocateHWnd(HWND Wnd)
{
  if (!Wnd) return;
  auto it = Handlers().find(Wnd);
  if (it == Handlers().end()) return;
  Handlers().erase(it);
  if (Windows::IsWindow(Wnd)) Windows::DestroyWindow(Wnd);
}

}  // namespace UtilWindow
