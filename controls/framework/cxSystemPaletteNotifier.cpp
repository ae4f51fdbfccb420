#include "controls/framework/cxSystemPaletteNotifier.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/win/window/Windows.h"
#include "platform/rtl/Guards.h"

namespace {

const char* const ListenerClassName = "TcxSystemPaletteChangedListener";

LRESULT ListenerWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
  if (Msg == WM_SYSCOLORCHANGE) {
    TScopeExit undo([&] { Windows::DefWindowProc(Wnd, Msg, WParam, LParam); });
    cxSystemPaletteNotifier::SystemColorsChanged();
    undo.Dismiss();
  }
  return Windows::DefWindowProc(Wnd, Msg, WParam, LParam);
}

// One per program while any notifier exists.
struct TcxSystemPaletteChangedListener {
  std::vector<TcxSystemPaletteChangedNotifier*> Primary, Ordinary;
  int RefCount = 0;
  HWND Window = nullptr;

  TcxSystemPaletteChangedListener()
  {
    WNDCLASSEXA info;
    if (!Windows::GetClassInfoEx(nullptr, ListenerClassName, &info)) {
      WNDCLASSEXA wc;
      wc.lpfnWndProc = ListenerWndProc;
      wc.lpszClassName = ListenerClassName;
      Windows::RegisterClassEx(&wc);
    }
    // Top-level, so that broadcasts reach it; never shown.
    Window = Windows::CreateWindowEx(WS_EX_TOOLWINDOW, ListenerClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                     nullptr, nullptr);
  }
  ~TcxSystemPaletteChangedListener()
  {
    if (Window) Windows::DestroyWindow(Window);  // a handle gone stale meanwhile is no error
    Windows::UnregisterClass(ListenerClassName, nullptr);
  }
};
// Freed with the last notifier, never by a static destructor (the order of those is unknown).
TcxSystemPaletteChangedListener* Listener = nullptr;

bool Listed(const std::vector<TcxSystemPaletteChangedNotifier*>& list, TcxSystemPaletteChangedNotifier* n)
{
  return std::find(list.begin(), list.end(), n) != list.end();
}

}  // namespace

TcxSystemPaletteChangedNotifier::TcxSystemPaletteChangedNotifier(bool AIsPrimary) : FIsPrimary(AIsPrimary)
{
  if (!Listener) Listener = new TcxSystemPaletteChangedListener;
  ++Listener->RefCount;
  (FIsPrimary ? Listener->Primary : Listener->Ordinary).push_back(this);
}

TcxSystemPaletteChangedNotifier::~TcxSystemPaletteChangedNotifier()
{
  auto& list = FIsPrimary ? Listener->Primary : Listener->Ordinary;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  if (--Listener->RefCount == 0) {
    delete Listener;
    Listener = nullptr;
  }
}

void TcxSystemPaletteChangedNotifier::NotifyPaletteChange()
{
  if (OnSystemPaletteChanged) OnSystemPaletteChanged();
}

void cxSystemPaletteNotifier::SystemColorsChanged()
{
  if (!Listener) return;
  // Copies: a notifier may free itself or others while being told.
  for (auto* list : {&Listener->Primary, &Listener->Ordinary}) {
    auto snapshot = *list;
    for (auto* n : snapshot) {
      if (!Listener) return;
      if (Listed(*list, n)) n->NotifyPaletteChange();
    }
  }
}

bool cxSystemPaletteNotifier::ListenerExists() { return Listener != nullptr; }

HWND cxSystemPaletteNotifier::ListenerWindow() { return Listener ? Listener->Window : nullptr; }
