// The program's start-up and shut-down road: the product texts, the splash while connecting, the
// connection loop, the options and the company record, the windows, the login and the message
// loop. It reaches the application's windows only through IAppWindows, so that it runs on fake
// windows in tests; app/ gives it the real ones.
#pragma once

#include "platform/rtl/System.h"

// What the road uses of the application's windows.
class IAppWindows {
public:
  virtual ~IAppWindows() = default;
  // Makes the shared data module, then the main window (which becomes the application's main
  // form).
  virtual void CreateForms() = 0;
  // The main window's login: true when it ended with OK (the operator is then loaded and the
  // desktop made or refreshed).
  virtual bool LoginAndOpenDesktop() = 0;
  virtual void ShowMainForm() = 0;
  // The main window's company command (right 10000, then the company dialog).
  virtual void CompanyCommand() = 0;
  // The main window's tip of the day.
  virtual void TipCommand() = 0;
  // Frees the desktop form (nothing when there is none).
  virtual void FreeDesktop() = 0;
  // Closes the main window, which runs its close handling.
  virtual void CloseMainForm() = 0;
  // Runs the application's message loop until the main window closes.
  virtual void RunMessageLoop() = 0;
};

namespace Startup {

inline constexpr const char* Title = "澜岳合同管理系统";
inline constexpr const char* Version = "单机版 1.21.111231";
inline constexpr const char* Code = "PELTO121";
inline constexpr const char* HelpFile = "pelto.chm";

// How the road ended.
enum TExitCode : int {
  ecOk = 0,            // the program ran (or the login was cancelled)
  ecNotConnected = 1,  // the connection dialog was cancelled
  ecLoadFailed = 2,    // the options or the company record could not be read
};

// Runs the road from the application object's set-up to the end of the message loop and answers
// the exit status. ProgramDir places cfg.ini, the database and splash.jpg (the program's folder
// when empty). The units (qxProj, the window modules) must be initialized.
int Run(IAppWindows& Windows, const AnsiString& ProgramDir = AnsiString());

}  // namespace Startup
