// One open theme handle per theme class for the whole program, reopened lazily after a theme
// change, and the notification of theme changes.
//
// While the theme library is loaded (between Initialize and Finalize) a hidden top-level window
// of the window layer, class "TdxThemeChangedEventReceiver", receives WM_THEMECHANGED and runs
// ThemeChangedMessage; every other message goes to the default window procedure.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/rtl/Service.h"
#include "platform/gdi/WinTypes.h"
#include "platform/rtl/System.h"
#include "platform/win/WinUser.h"

// Theme class indexes 0 .. 23.
using TdxThemeClass = int;
constexpr TdxThemeClass totButton = 0, totClock = 1, totComboBox = 2, totEdit = 3, totExplorerBar = 4, totHeader = 5,
                        totListView = 6, totMenu = 7, totPage = 8, totProgress = 9, totRebar = 10, totScrollBar = 11,
                        totSpin = 12, totStartPanel = 13, totStatus = 14, totTab = 15, totTaskBand = 16,
                        totTaskBar = 17, totToolBar = 18, totToolTip = 19, totTrackBar = 20, totTrayNotify = 21,
                        totTreeView = 22, totWindow = 23;
constexpr int dxThemeClassCount = 24;
// A set of theme classes as bits 0 .. 23; higher bits are ignored.
using TdxThemeClasses = std::uint32_t;
constexpr UINT WM_THEMECHANGED = 0x031A;

// Registered while the theme library is loaded; OnThemeChanged runs after every theme change.
class TdxThemeChangedNotificator : public TObject {
public:
  TdxThemeChangedNotificator();
  ~TdxThemeChangedNotificator() override;
  std::function<void()> OnThemeChanged;
};

namespace dxThemeManager {
// True when a theme is active and the library is loaded; with a mask, also when every class in
// it can be opened (from index 0 up; false at the first that cannot).
bool AreThemesAvailable(TdxThemeClasses Mask = 0);
// The handle of a class: an open one when Name is null or equals (ignoring case) the name it was
// opened with; otherwise opened with Name, the remembered name, or the class's default name.
// 0 when themes are not available or the class cannot be opened.
HTHEME OpenTheme(TdxThemeClass Class, const char16_t* Name = nullptr);
// Closes the handle and forgets its name.
void CloseTheme(TdxThemeClass Class);
// Closes every handle; the names stay, so classes reopen under the same names.
void CloseAllThemes();
bool GetThemesActive();
const char16_t* DefaultThemeClassName(TdxThemeClass Class);
// The receiver's reaction to WM_THEMECHANGED: closes the handles, reads whether a theme is
// active, and runs the notificators in registration order. A handler's exception goes to the
// exception handler service (the application's handler once it installs one; by default the
// exception is rethrown) and stops the rest. Answers the message result, 0.
LRESULT ThemeChangedMessage();
// Where a notificator's exception goes; called inside the catch, so the default can rethrow.
TService<std::function<void(const std::exception&)>>& ExceptionHandlerService();
// The receiver's hidden window (owned by the unit); null when the library is not loaded.
HWND GetReceiverWindow();
// After dxUxTheme::Initialize (and after the window layer is up). Idempotent.
void Initialize();
// Frees the receiver (themes count as inactive from then on), closes the handles.
void Finalize();
}  // namespace dxThemeManager
