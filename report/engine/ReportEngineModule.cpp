#include "report/engine/ReportEngineModule.h"

#include "platform/classes/ClassRegistry.h"
#include "report/engine/design/frxDsgnIntf.h"
#include "report/engine/model/frxClass.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/model/frxrcClass.h"

namespace ReportEngineModule {

namespace {
bool Initialized = false;
}

void Initialize()
{
  if (Initialized) return;
  Classes::Initialize();
  frxrcClass::Initialize();
  frxClass::Initialize();
  frxDsgnIntf::Initialize();
  Initialized = true;
}

void Finalize()
{
  if (!Initialized) return;
  frxDsgnIntf::Finalize();
  frxrcClass::Finalize();
  frxRes::Finalize();
  Initialized = false;
}

}  // namespace ReportEngineModule
