#include "report/script/ScriptModule.h"

#include "report/script/grammars/fs_ibasic.h"
#include "report/script/grammars/fs_icpp.h"
#include "report/script/grammars/fs_ijs.h"
#include "report/script/grammars/fs_ipascal.h"
#include "report/script/interp/fs_iinterpreter.h"
#include "report/script/tools/fs_itools.h"

namespace ScriptModule {

namespace {
bool Initialized = false;
}

void Initialize()
{
  if (Initialized) return;
  fs_itools::Initialize();
  // The registration order is the order of the language list the designer shows.
  fs_ijs::Initialize();
  fs_ibasic::Initialize();
  fs_icpp::Initialize();
  fs_ipascal::Initialize();
  fs_iinterpreter::Initialize();
  Initialized = true;
}

void Finalize()
{
  if (!Initialized) return;
  fs_iinterpreter::Finalize();
  fs_itools::Finalize();
  Initialized = false;
}

}  // namespace ScriptModule
