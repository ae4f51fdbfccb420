#include "report/script/ScriptModule.h"

#include "report/script/grammars/fs_ibasic.h"
#include "report/script/grammars/fs_icpp.h"
#include "report/script/grammars/fs_ijs.h"
#include "report/script/grammars/fs_ipascal.h"
#include "report/script/interp/fs_iinterpreter.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/lib/fs_idialogsrtti.h"
#include "report/script/lib/fs_iformsrtti.h"
#include "report/script/lib/fs_igraphicsrtti.h"
#include "report/script/tools/fs_itools.h"

namespace ScriptModule {

namespace {
bool Initialized = false;

// The graphics, forms and dialogs libraries stand on the classes library, which the global
// script holds from its creation; a global script made again gets them again.
void RegisterLibraries()
{
  TfsScript* G = fs_iinterpreter::GetGlobalScript();
  if (!G || G->FindLocalItem("TCommonDialog")) return;
  fs_igraphicsrtti::Register(G);
  fs_iformsrtti::Register(G);
  fs_idialogsrtti::Register(G);
}

void UnregisterLibraries()
{
  if (TfsScript* G = fs_iinterpreter::GetGlobalScript()) {
    fs_idialogsrtti::Unregister(G);
    fs_iformsrtti::Unregister(G);
    fs_igraphicsrtti::Unregister(G);
  }
}
}  // namespace

void Initialize()
{
  if (Initialized) {
    RegisterLibraries();
    return;
  }
  fs_itools::Initialize();
  // The registration order is the order of the language list the designer shows.
  fs_ijs::Initialize();
  fs_ibasic::Initialize();
  fs_icpp::Initialize();
  fs_ipascal::Initialize();
  fs_iinterpreter::Initialize();
  RegisterLibraries();
  Initialized = true;
}

void Finalize()
{
  if (!Initialized) return;
  UnregisterLibraries();
  fs_iinterpreter::Finalize();
  fs_itools::Finalize();
  Initialized = false;
}

}  // namespace ScriptModule
