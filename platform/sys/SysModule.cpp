#include "platform/sys/SysModule.h"

#include "platform/sys/ComObj.h"
#include "platform/sys/Locale.h"

namespace SysModule {

void Initialize()
{
  Locale::Initialize();
  ComObj::Initialize();
}

void Finalize()
{
  ComObj::Finalize();
  Locale::Finalize();
}

}  // namespace SysModule
