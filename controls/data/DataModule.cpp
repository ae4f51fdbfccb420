#include "controls/data/DataModule.h"

#include "controls/data/cxDBDataAdapters.h"
#include "controls/data/cxDBFilter.h"
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
  cxDBFilter::Initialize();
  cxDBData::InitializeAdapters();
  Initialized = true;
}

void Finalize()
{
  if (!Initialized) return;
  cxDBData::FinalizeAdapters();
  cxDBFilter::Finalize();
  cxDataStorage::Finalize();
  Initialized = false;
}

}  // namespace DataModule
