#include "report/engine/export/ExportModule.h"

#include "platform/sys/SysModule.h"
#include "report/engine/ReportEngineModule.h"
#include "report/engine/export/frxrcExports.h"

namespace ExportModule {

void Initialize()
{
  ReportEngineModule::Initialize();
  SysModule::Initialize();
  frxrcExports::Initialize();
}

}  // namespace ExportModule
