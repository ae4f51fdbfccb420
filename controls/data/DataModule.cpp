#include "controls/data/DataModule.h"

#include "controls/data/db/cxDBDataAdapters.h"
#include "controls/data/db/cxDBFilter.h"
#include "controls/data/storage/cxDataStorage.h"
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
