// The application's windows as the start-up road sees them: the data module, the main window,
// its login, its company and tip commands, the desktop and the message loop.
#pragma once

#include "core/Startup.h"

class TmainFrm;
class TPubFrm;

class TAppWindows : public IAppWindows {
public:
  void CreateForms() override;
  bool LoginAndOpenDesktop() override;
  void ShowMainForm() override;
  void CompanyCommand() override;
  void TipCommand() override;
  void FreeDesktop() override;
  void CloseMainForm() override;
  void RunMessageLoop() override;

  TmainFrm* MainForm() const { return FMain; }

private:
  TPubFrm* FPub = nullptr;    // owned by the application
  TmainFrm* FMain = nullptr;  // owned by the application
};
