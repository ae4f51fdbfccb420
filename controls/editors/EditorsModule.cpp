#include "controls/editors/EditorsModule.h"

#include "controls/editors/cxEditConsts.h"
#include "controls/editors/cxResourceStrings.h"
#include "controls/editors/formats/cxFormats.h"

namespace EditorsModule {

namespace {
bool Initialized = false;
}

void Initialize()
{
  if (Initialized) return;
  cxResourceStrings::Initialize();
  cxEditConsts::Initialize();
  cxFormats::Initialize();
  Initialized = true;
}

void Finalize()
{
  if (!Initialized) return;
  cxFormats::Finalize();
  cxEditConsts::Finalize();
  cxResourceStrings::Finalize();
  Initialized = false;
}

}  // namespace EditorsModule
