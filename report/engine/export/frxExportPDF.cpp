#include "report/engine/export/frxExportPDF.h"

#include "platform/rtl/SaveSeam.h"
#include "platform/sys/ShellApi.h"
#include "report/engine/model/frxOptions.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/objects/frxView.h"
#include "report/engine/pdf/frxPDFFile.h"
#include "report/engine/pdf/frxPDFPageContent.h"

TfrxPDFExport::TfrxPDFExport(TComponent* AOwner) : TfrxCustomExportFilter(AOwner) {}

TfrxPDFExport::~TfrxPDFExport() = default;

AnsiString TfrxPDFExport::GetFilterCaption() const { return frxRes::Get("PDFexport"); }

bool TfrxPDFExport::BeginExport()
{
  if (FileName.empty()) return false;
  FPDF = std::make_unique<TfrxPDFFile>();
  FPDF->SetCompressed(Compressed);
  FPDF->SetEmbeddedFonts(EmbeddedFonts);
  FPage = nullptr;
  return true;
}

void TfrxPDFExport::BeginPage(TfrxReportPage* Page, Integer Index)
{
  FPage = FPDF->AddPage(Page->GetWidth(), Page->GetHeight(), Page->LeftMargin, Page->TopMargin);
}

void TfrxPDFExport::ExportObject(TfrxComponent* Obj)
{
  auto* view = dynamic_cast<TfrxView*>(Obj);
  if (!view || !FPage || view->GetName() == "_pagebackground") return;
  frxPDFPageContent::AddObject(FPage, view);
}

void TfrxPDFExport::EndExport()
{
  std::unique_ptr<TfrxPDFFile> pdf = std::move(FPDF);
  FPage = nullptr;
  if (!pdf) return;
  if (Report) pdf->SetTitle(Report->GetReportOptions()->Name);
  SaveSeam::SaveStream(FileName, [&pdf](TStream* Stream) { pdf->SaveToStream(Stream); });
  if (OpenAfterExport) ShellApi::ShellOpen(FileName);
}
