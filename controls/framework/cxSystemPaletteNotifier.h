// Notification of system colour changes, so that colour-dependent caches are rebuilt. Primary
// notifiers (caches of shared images) are told before ordinary ones (look-and-feel objects).
//
// The hidden window that receives WM_SYSCOLORCHANGE belongs to the window layer; until it is
// wired, the window layer (or a test) calls cxSystemPaletteNotifier::SystemColorsChanged.
#pragma once

#include <functional>

#include "platform/rtl/System.h"

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
}  // namespace cxSystemPaletteNotifier
