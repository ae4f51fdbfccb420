#include "platform/commctrl/tests/NotifySpy.h"

#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {
NotifySpy* gSpy = nullptr;
}

void NotifySpy::Install(HWND parent, std::function<std::string(const NMHDR*)> describe)
{
  Seen.clear();
  Answer = nullptr;
  FDescribe = std::move(describe);
  gSpy = this;
  FOld = reinterpret_cast<WNDPROC>(SetWindowLongPtr(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
}

LRESULT NotifySpy::Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  NotifySpy* s = gSpy;
  if (msg == WM_NOTIFY) {
    auto* nm = reinterpret_cast<const NMHDR*>(lParam);
    std::string text = s->FDescribe ? s->FDescribe(nm) : std::to_string(int(nm->code));
    if (!text.empty()) s->Seen.push_back(text);
    return s->Answer ? s->Answer(nm) : 0;
  }
  if (msg == WM_VSCROLL || msg == WM_HSCROLL) {
    s->Seen.push_back(std::string(msg == WM_VSCROLL ? "vscroll " : "hscroll ") + std::to_string(LOWORD(wParam)) + " " +
                      std::to_string(short(HIWORD(wParam))));
    return 0;
  }
  return CallWindowProc(s->FOld, wnd, msg, wParam, lParam);
}
