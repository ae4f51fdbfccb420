// TcxSettingsController: one per process, made on first use. It keeps a hidden window while any
// control is registered and, when the system's non-client metrics change (WM_SETTINGCHANGE with
// SPI_SETNONCLIENTMETRICS), tells every registered control with a window through CM_NCSIZECHANGED,
// so their own scroll bars take the new size.
#pragma once

#include <vector>

#include "platform/win/WinUser.h"

class TcxControl;

class TcxSettingsController {
public:
  static TcxSettingsController* Instance();
  // Nothing when there is no instance.
  static void RemoveControlIfAny(TcxControl* AControl);
  static void FreeInstance();

  TcxSettingsController() = default;
  ~TcxSettingsController();
  TcxSettingsController(const TcxSettingsController&) = delete;
  TcxSettingsController& operator=(const TcxSettingsController&) = delete;

  // Adding a listed control again does nothing.
  void AddControl(TcxControl* AControl);
  void RemoveControl(TcxControl* AControl);
  int GetControlCount() const { return int(FList.size()); }
  // Null while no control is registered.
  HWND GetWindow() const { return FWindow; }

private:
  LRESULT WndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  std::vector<TcxControl*> FList;  // borrowed
  HWND FWindow = nullptr;          // owned
};
