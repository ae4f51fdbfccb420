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

PELTO_DEFINE_CLASS(TfrxCustomEngine)
PELTO_PUBLISH(TfrxCustomEngine, p)
{
  p.Property("CurColumn", &ThisClass::CurColumn, &ThisClass::CurColumn);
  p.Property("CurVColumn", &ThisClass::CurVColumn, &ThisClass::CurVColumn);
  p.Property("CurX", &ThisClass::CurX, &ThisClass::CurX);
  p.Property("CurY", &ThisClass::CurY, &ThisClass::CurY);
  p.Property("DoublePass", &ThisClass::GetDoublePass, nullptr);
  p.Property("FinalPass", &ThisClass::FinalPass, &ThisClass::FinalPass);
  p.Property("PageHeight", &ThisClass::PageHeight, &ThisClass::PageHeight);
  p.Property("PageWidth", &ThisClass::PageWidth, &ThisClass::PageWidth);
  p.Property("StartDate", &ThisClass::StartDate, &ThisClass::StartDate);
  p.Property("StartTime", &ThisClass::StartTime, &ThisClass::StartTime);
  p.Property("TotalPages", &ThisClass::TotalPages, &ThisClass::TotalPages);
}

PELTO_DEFINE_CLASS(TfrxCustomOutline)

PELTO_DEFINE_CLASS(TfrxCustomExportFilter)
PELTO_PUBLISH(TfrxCustomExportFilter, p)
{
  p.Property("ShowDialog", &ThisClass::ShowDialog, &ThisClass::ShowDialog).Default(true);
}

PELTO_DEFINE_CLASS(TfrxCustomWizard)
