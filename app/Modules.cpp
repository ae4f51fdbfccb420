#include "app/Modules.h"

#include <vector>

#include "core/cnst.h"
#include "core/qxProj.h"
#include "platform/classes/ClassRegistry.h"
#include "platform/commctrl/CommCtrl.h"
#include "platform/db/DBClasses.h"
#include "platform/db/Provider.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/graphics/GraphicFormats.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/actions/ActnList.h"
#include "platform/stdctrls/dialogs/Dialogs.h"
#include "platform/stdctrls/menus/Menus.h"
#include "platform/sys/SysModule.h"

namespace AppModules {
namespace {

struct TModule {
  void (*Initialize)();
  void (*Finalize)();
};

const TModule Modules[] = {
    {Classes::Initialize, Classes::Finalize},
    {DBProviders::Initialize, DBProviders::Finalize},
    {DBClasses::Initialize, DBClasses::Finalize},
    {Graphics::Initialize, Graphics::Finalize},
    {CommCtrl::Initialize, nullptr},
    {Controls::Initialize, Controls::Finalize},
    {Forms::InitializeApplication, Forms::FinalizeApplication},
    {StdCtrls::Initialize, nullptr},
    {Menus::Initialize, Menus::Finalize},
    {ActnList::Initialize, nullptr},
    {Dialogs::Initialize, Dialogs::Finalize},
    {SysModule::Initialize, SysModule::Finalize},
    {qxProj::Initialize, qxProj::Finalize},
    {nullptr, cnst::Finalize},
};

int Started = 0;  // how many of Modules have been initialized

}  // namespace

void Initialize()
{
  for (; Started < int(std::size(Modules)); ++Started)
    if (Modules[Started].Initialize) Modules[Started].Initialize();
}

void Finalize()
{
  for (; Started > 0; --Started)
    if (Modules[Started - 1].Finalize) Modules[Started - 1].Finalize();
}

}  // namespace AppModules
