// The program: the desktop back end, the modules, the start-up road on the real windows, and the
// modules' finalizations. Without a display it says so and ends with status 3.
#include <cstdio>
#include <string>

#include "app/Modules.h"
#include "core/DBConfig.h"
#include "core/Startup.h"
#include "core/forms/DBConfigFrm.h"
#include "platform/rtl/Service.h"
#include "platform/win/backend/SdlBackend.h"
#include "ui/AppWindows.h"

int main(int, char**)
{
  std::string error;
  if (!SdlBackend::Start(&error)) {
    // The terminal reads UTF-8.
    std::fprintf(stderr, "%s (%s)\n",
                 reinterpret_cast<const char*>(u8"澜岳合同管理系统: 没有可用的显示, 程序无法启动."), error.c_str());
    return 3;
  }
  int status;
  AppModules::Initialize();
  {
    TScopedFunction<DBConfig::TDialogFactory> dialog(DBConfig::DialogFactoryService(), &TDBConfigFrm::MakeDialog);
    TAppWindows windows;
    status = Startup::Run(windows);
  }
  AppModules::Finalize();
  SdlBackend::Stop();
  return status;
}
