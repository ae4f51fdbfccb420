// The PDF export filter: every exported page becomes one PDF page of the report page's size, its
// objects (not the page background) drawn by frxPDFPageContent; the document is written in one
// go at the end, through the save seam.
#pragma once

#include <memory>

#include "report/engine/model/frxPlugins.h"

class TfrxPDFFile;
class TfrxPDFPage;

class TfrxPDFExport : public TfrxCustomExportFilter {
  PELTO_DECLARE_CLASS(TfrxPDFExport, TfrxCustomExportFilter)
public:
  explicit TfrxPDFExport(TComponent* AOwner);
  ~TfrxPDFExport() override;

  AnsiString GetFilterCaption() const override;
  // Shows the settings dialog; after OK takes the settings back and asks for the file. Answers
  // the dialog's modal result, mrCancel when the file was not chosen.
  Integer ShowSettingsDialog() override;
  // False for an empty FileName.
  bool BeginExport() override;
  void BeginPage(TfrxReportPage* Page, Integer Index) override;
  void ExportObject(TfrxComponent* Obj) override;
  // Writes the file (replacing it only when complete); raises EFCreateError naming it when it
  // cannot be written, the previous file then unchanged.
  void EndExport() override;

  bool Compressed = true;
  bool EmbeddedFonts = false;
  AnsiString FileName;
  bool OpenAfterExport = false;

  PELTO_PUBLISHED(p);

private:
  std::unique_ptr<TfrxPDFFile> FPDF;
  TfrxPDFPage* FPage = nullptr;
};
