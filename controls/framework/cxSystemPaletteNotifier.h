// Notification of system colour changes, so that colour-dependent caches are rebuilt. Primary
// notifiers (caches of shared images) are told before ordinary ones (look-and-feel objects).
//
// While any notifier exists the program's listener owns a hidden top-level window of the window
// layer (class "TcxSystemPaletteChangedListener"); WM_SYSCOLORCHANGE arriving there runs
// SystemColorsChanged. Every message, that one too, then goes to the default window procedure
// (also when a notifier raises; the exception goes on to the sender or dispatcher).
#pragma once

#include <functional>

#include "platform/rtl/System.h"
#include "platform/win/WinUser.h"

class TcxSystemPaletteChangedNotifier : public TObject {
public:
  // Registers with the program's listener (created with the first notifier, freed with the last).
  explicit TcxSystemPaletteChangedNotifier(bool AIsPrimary = false);
  ~TcxSystemPaletteChangedNotifier() override;
  TcxSystemPaletteChangedNotifier(const TcxSystemPaletteChangedNotifier&) = delete;
  TcxSystemPaletteChangedNotifier& operator=(const TcxSystemPaletteChangedNotifier&) = delete;
  bool GetIsPrimary() const { return FIsPrimary; }
  // Calls OnSystemPaletteChanged when set.
  virtual void NotifyPaletteChange();
  std::function<void()> OnSystemPaletteChanged;

private:
  bool FIsPrimary;
};

namespace cxSystemPaletteNotifier {
constexpr unsigned WM_SYSCOLORCHANGE = 0x15;
// The listener's reaction to WM_SYSCOLORCHANGE: every primary notifier in registration order,
// then every ordinary one. Nothing when no notifier exists.
void SystemColorsChanged();
// True while any notifier exists.
bool ListenerExists();
// The listener's hidden window (owned by the listener); null while no notifier exists.
HWND ListenerWindow();
}  // namespace cxSystemPaletteNotifier
