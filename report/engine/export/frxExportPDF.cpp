#include "report/engine/export/frxExportPDF.h"

#include <memory>

#include "platform/rtl/SaveSeam.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/sys/ShellApi.h"
#include "report/engine/export/frxExportDialogs.h"
#include "report/engine/model/frxOptions.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/objects/frxView.h"
#include "report/engine/pdf/frxPDFFile.h"
#include "report/engine/pdf/frxPDFPageContent.h"

TfrxPDFExport::TfrxPDFExport(TComponent* AOwner) : TfrxCustomExportFilter(AOwner) {}

Integer TfrxPDFExport::ShowSettingsDialog()
{
  auto dialog = std::make_unique<TfrxPDFExportDialog>(nullptr);
  dialog->OpenCB->SetChecked(OpenAfterExport);
  dialog->CompressedCB->SetChecked(Compressed);
  dialog->EmbeddedCB->SetChecked(EmbeddedFonts);
  Integer result = dialog->ShowModal();
  if (result != mrOk) return result;
  dialog->StorePageRange(this);
  OpenAfterExport = dialog->OpenCB->GetChecked();
  Compressed = dialog->CompressedCB->GetChecked();
  EmbeddedFonts = dialog->EmbeddedCB->GetChecked();
  return dialog->AskFileName(FileName) ? result : static_cast<Integer>(mrCancel);
}

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

PELTO_DEFINE_CLASS(TfrxPDFExport)
PELTO_PUBLISH(TfrxPDFExport, p)
{
  p.Property("Compressed", &ThisClass::Compressed, &ThisClass::Compressed).Default(true);
  p.Property("EmbeddedFonts", &ThisClass::EmbeddedFonts, &ThisClass::EmbeddedFonts).Default(false);
  p.Property("FileName", &ThisClass::FileName, &ThisClass::FileName);
  p.Property("OpenAfterExport", &ThisClass::OpenAfterExport, &ThisClass::OpenAfterExport).Default(false);
}
