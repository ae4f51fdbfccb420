#include "report/engine/model/frxPlugins.h"

#include "report/engine/design/frxDsgnIntf.h"
#include "report/engine/model/frxReport.h"

bool TfrxCustomEngine::GetDoublePass() const { return FReport && FReport->GetEngineOptions()->DoublePass; }

void TfrxCustomEngine::StopReport()
{
  if (FReport) FReport->SetTerminated(true);
}

TfrxCustomEngine* TfrxCustomOutline::GetEngine() const { return FPreviewPages ? FPreviewPages->Engine : nullptr; }

TfrxCustomPreviewPages::~TfrxCustomPreviewPages() = default;

TfrxCustomExportFilter::TfrxCustomExportFilter(TComponent* AOwner) : TComponent(AOwner)
{
  frxDsgnIntf::ExportFilterRegistry()->Register(this);
}

TfrxCustomExportFilter::~TfrxCustomExportFilter()
{
  if (auto* r = frxDsgnIntf::ExportFilterRegistryIfAny()) r->Unregister(this);
}
