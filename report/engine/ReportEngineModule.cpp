#include "report/engine/ReportEngineModule.h"

#include "platform/classes/ClassRegistry.h"
#include "report/engine/data/frxDBSet.h"
#include "report/engine/design/frxDsgnIntf.h"
#include "report/engine/model/frxClass.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/model/frxrcClass.h"
#include "report/engine/objects/frxBarcode.h"
#include "report/engine/objects/frxDMPClass.h"
#include "report/engine/objects/frxMemoView.h"
#include "report/engine/objects/frxPictureView.h"
#include "report/engine/objects/frxView.h"
#include "report/engine/print/frxPrinter.h"
#include "report/engine/run/frxEngine.h"
#include "report/engine/script/frxClassRTTI.h"
#include "report/engine/text/frxGraphicUtils.h"

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
  frxDBSet::Initialize();
  frxGraphicUtils::Initialize();
  frxView::Initialize();
  frxMemoView::Initialize();
  frxPictureView::Initialize();
  frxDsgnIntf::Initialize();
  frxDMPClass::Initialize();
  frxBarcode::Initialize();
  frxEngine::Initialize();
  frxClassRTTI::Initialize();
  Initialized = true;
}

void Finalize()
{
  if (!Initialized) return;
  frxClassRTTI::Finalize();
  frxPrinter::Finalize();
  frxDsgnIntf::Finalize();
  frxGraphicUtils::Finalize();
  frxrcClass::Finalize();
  frxRes::Finalize();
  Initialized = false;
}

}  // namespace ReportEngineModule
