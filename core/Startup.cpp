#include "core/Startup.h"

#include <memory>

#include "core/cnst.h"
#include "core/Company.h"
#include "core/Database.h"
#include "core/DBConfig.h"
#include "core/KeyValue.h"
#include "core/Operator.h"
#include "core/forms/Splash.h"
#include "core/qxLib.h"
#include "core/qxProj.h"
#include "platform/forms/app/Application.h"
#include "platform/rtl/Exceptions.h"

namespace Startup {
namespace {

// The options and the company record; false (after one message) when they can't be read.
bool LoadSettings()
{
  try {
    cnst::LoadOptions();
    qxProj::Company->Load();
    return true;
  } catch (const EAbort&) {
    // The query layer has shown its box already.
  } catch (const Exception& E) {
    qxLib::ShowInfo(E.Message());
  }
  return false;
}

}  // namespace

int Run(IAppWindows& Windows, const AnsiString& ProgramDir)
{
  TApplication* App = Forms::Application;
  App->Initialize();
  App->SetTitle(Title);
  App->SetHelpFile(HelpFile);
  App->ProcessMessages();

  qxProj::ProductName = Title;
  qxProj::ProductVersion = Version;
  qxProj::ProductCode = Code;

  // The splash lives until the windows are made; nothing else refers to it.
  std::unique_ptr<TSplashFrm> Splash = std::make_unique<TSplashFrm>(App, ProgramDir);
  Splash->Show();
  Splash->ShowHint("正在连接数据库,请稍候...");
  AnsiString ProgramPath = ProgramDir.empty() ? AnsiString() : ProgramDir + "/pelto";
  if (!ConnectOrConfigure(ProgramPath)) return ecNotConnected;

  // Windows made on half-loaded options would show wrong captions and save wrong numbers: a
  // failure here ends the program, disconnected.
  if (!LoadSettings()) {
    Database::GlobalDB->SetConnected(false);
    return ecLoadFailed;
  }
  Splash->ShowHint("数据库连接成功,请稍候...");

  Windows.CreateForms();
  Splash.reset();

  if (!Windows.LoginAndOpenDesktop()) {
    Windows.FreeDesktop();
    Windows.CloseMainForm();
    return ecOk;
  }
  Windows.ShowMainForm();
  if (qxProj::CurrentOperator->HasRight(10000) && !qxProj::Company->IsFilled()) Windows.CompanyCommand();
  if (qxProj::KeyValues->GetDailyTipPrompt()) Windows.TipCommand();
  Windows.RunMessageLoop();
  return ecOk;
}

}  // namespace Startup
