#include "controls/framework/FrameworkModule.h"

#include "controls/framework/cxClasses.h"
#include "controls/framework/cxControls.h"
#include "controls/framework/cxPopupHooks.h"
#include "controls/framework/cxLookAndFeelPainters.h"
#include "controls/framework/cxLookAndFeels.h"
#include "controls/framework/cxStyles.h"
#include "controls/framework/dxThemeManager.h"
#include "controls/framework/dxUxTheme.h"

namespace FrameworkModule {

namespace {
bool Initialized = false;
}

void Initialize()
{
  if (Initialized) return;
  cxClasses::Initialize();
  cxStyles::Initialize();
  dxUxTheme::Initialize();
  dxThemeManager::Initialize();
  cxLookAndFeelPainters::Initialize();
  cxLookAndFeels::Initialize();
  cxControls::Initialize();
  cxContainer::Initialize();
  Initialized = true;
}

void Finalize()
{
  if (!Initialized) return;
  cxContainer::Finalize();
  cxControls::Finalize();
  cxLookAndFeels::Finalize();
  cxLookAndFeelPainters::Finalize();
  dxThemeManager::Finalize();
  dxUxTheme::Finalize();
  cxStyles::Finalize();
  cxClasses::Finalize();
  Initialized = false;
}

}  // namespace FrameworkModule
