#include "controls/data/DataModule.h"

#include "controls/data/cxDataStorage.h"
#include "platform/classes/ClassRegistry.h"

namespace DataModule {

namespace {
bool Initialized = false;
}

void Initialize()
{
  if (Initialized) return;
  Classes::Initialize();
  cxDataStorage::Initialize();
  Initialized = true;
}

void Finalize()
{
  if (!Initialized) return;
  cxDataStorage::Finalize();
  Initialized = false;
}

}  // namespace DataModule
