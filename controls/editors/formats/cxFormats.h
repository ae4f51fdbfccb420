// TcxFormatController: the formats the editors derive from the locale (currency display format,
// first day of the week, the date editor's formats and input masks), recomputed when the user
// changes the regional settings, with the listeners told.
//
// While it has listeners the controller owns a hidden top-level window of the window layer
// (class "TcxFormatControllerWindow"); a WM_SETTINGCHANGE sent or broadcast to it goes to
// HandleSettingChange, every other message to the default window procedure. The locale is
// platform/sys's Locale unit unless a hook stands in for it.
//
// One controller per program (GetFormatController). UI thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Service.h"
#include "platform/rtl/System.h"
#include "platform/win/WinUser.h"

// Told after the formats were recomputed. Not owned by the controller: remove a listener before
// it is destroyed.
class IcxFormatChangeListener {
public:
  virtual ~IcxFormatChangeListener() = default;
  virtual void FormatChanged() = 0;
};

class TcxFormatController;

// What the controller needs from the application layer, and stand-ins for the locale (tests).
// Every member may be empty.
struct TcxFormatControllerHooks {
  // Whether the application follows changes of the regional settings (default: yes).
  std::function<bool()> UpdateFormatSettings;
  // Re-reads the locale into the format settings (default: Locale::ApplyLocale).
  std::function<void()> ReadLocaleFormatSettings;
  // The locale's first day of the week as the system gives it: "0" Monday .. "6" Sunday
  // (default: Locale::GetLocaleInfo(LOCALE_IFIRSTDAYOFWEEK)).
  std::function<AnsiString()> LocaleFirstDayOfWeek;
  // The application's handler for an exception raised while a message is handled; without
  // one the exception goes on to the caller.
  std::function<void(const Exception& E)> HandleException;
};

class TcxFormatController : public TObject {
public:
  // Computes the formats; the first controller created becomes the program's one.
  TcxFormatController();
  ~TcxFormatController() override;
  TcxFormatController(const TcxFormatController&) = delete;
  TcxFormatController& operator=(const TcxFormatController&) = delete;

  // Adds a listener not yet in the list (the hidden window is created for the first one).
  virtual void AddListener(IcxFormatChangeListener* AListener);
  // Removes it (the window is released with the last one). Not an error when it is missing.
  virtual void RemoveListener(IcxFormatChangeListener* AListener);
  int ListenerCount() const { return static_cast<int>(FListeners.size()); }
  bool HasWindow() const { return FWindow != nullptr; }
  // The hidden window (owned by the controller); null while there are no listeners, or when
  // the window layer could not create it.
  HWND GetWindow() const { return FWindow; }

  // WM_SETTINGCHANGE as the hidden window receives it. For a zero word parameter with the
  // section "intl", when the application follows the regional settings: re-reads the locale,
  // recomputes the formats and tells every listener; true when handled so (message result 0).
  // Anything else is false and left to the default window procedure.
  virtual bool HandleSettingChange(std::uintptr_t AWParam, const AnsiString& ASection);

  // Recomputes every value whose Assigned flag is off.
  void UpdateFormats();

  const AnsiString& GetCurrencyFormat() const { return FCurrencyFormat; }
  void SetCurrencyFormat(const AnsiString& Value);  // also sets the Assigned flag
  bool GetCurrencyFormatAssigned() const { return FCurrencyFormatAssigned; }
  void SetCurrencyFormatAssigned(bool Value) { FCurrencyFormatAssigned = Value; }

  Byte GetStartOfWeek() const { return FStartOfWeek; }  // 0 Sunday .. 6 Saturday
  void SetStartOfWeek(Byte Value);
  bool GetStartOfWeekAssigned() const { return FStartOfWeekAssigned; }
  void SetStartOfWeekAssigned(bool Value) { FStartOfWeekAssigned = Value; }

  const AnsiString& GetStandardDateEditMask() const { return FStandardDateEditMask; }
  void SetStandardDateEditMask(const AnsiString& Value);
  bool GetStandardDateEditMaskAssigned() const { return FStandardDateEditMaskAssigned; }
  void SetStandardDateEditMaskAssigned(bool Value) { FStandardDateEditMaskAssigned = Value; }

  const AnsiString& GetRegExprDateEditMask() const { return FRegExprDateEditMask; }
  void SetRegExprDateEditMask(const AnsiString& Value);
  bool GetRegExprDateEditMaskAssigned() const { return FRegExprDateEditMaskAssigned; }
  void SetRegExprDateEditMaskAssigned(bool Value) { FRegExprDateEditMaskAssigned = Value; }

  // Always derived from the locale.
  const AnsiString& GetLocaleStandardDateEditMask() const { return FLocaleStandardDateEditMask; }
  const AnsiString& GetDateEditFormat() const { return FDateEditFormat; }
  const AnsiString& GetMaskedDateEditFormat() const { return FMaskedDateEditFormat; }

  // Dates are parsed and formatted with the program's format settings instead of the
  // system's date routines.
  bool GetUseDateFormatSettings() const { return FUseDateFormatSettings; }
  void SetUseDateFormatSettings(bool Value) { FUseDateFormatSettings = Value; }

private:
  bool FCurrencyFormatAssigned = false;
  bool FRegExprDateEditMaskAssigned = false;
  bool FStandardDateEditMaskAssigned = false;
  bool FStartOfWeekAssigned = false;
  AnsiString FCurrencyFormat;
  AnsiString FDateEditFormat;
  AnsiString FLocaleStandardDateEditMask;
  std::vector<IcxFormatChangeListener*> FListeners;
  AnsiString FMaskedDateEditFormat;
  AnsiString FRegExprDateEditMask;
  AnsiString FStandardDateEditMask;
  Byte FStartOfWeek = 0;
  bool FUseDateFormatSettings = false;
  HWND FWindow = nullptr;
  void AllocateWindow();
  void ReleaseWindow();
};

namespace cxFormats {

// The program's controller, created on first use (owned by the unit; freed by Finalize).
TcxFormatController* GetFormatController();
// The controller when it exists, else null (a listener leaving after Finalize makes none).
TcxFormatController* FindFormatController();

// The hooks of the application layer and the locale stand-ins (by default all empty).
TService<TcxFormatControllerHooks>& FormatControllerHooks();

// Installs hooks for its lifetime and puts the previous ones back.
class TScopedFormatControllerHooks : public TScopedService<TcxFormatControllerHooks> {
public:
  explicit TScopedFormatControllerHooks(const TcxFormatControllerHooks& AHooks)
      : TScopedService<TcxFormatControllerHooks>(FormatControllerHooks(),
                                                 std::make_unique<TcxFormatControllerHooks>(AHooks))
  {}
};

void Initialize();
// Frees the controller GetFormatController created (with its window), puts the default hooks
// back and unregisters the window class.
void Finalize();

}  // namespace cxFormats
