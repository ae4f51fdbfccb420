// The RTF export: the pages laid out by the export matrix, written as table rows, one per grid
// row, with a section per report page; text cells with their fill, borders, alignment, font and
// text (code page 936, double-byte characters as \'hh\'hh), pictures as Windows metafiles in
// hexadecimal. The file is written through the save seam.
#pragma once

#include <memory>

#include "platform/forms/graphics/Colors.h"
#include "platform/rtl/StringList.h"
#include "report/engine/model/frxPlugins.h"

class TfrxIEMatrix;
class TfrxIEMObject;

class TfrxRTFExport : public TfrxCustomExportFilter {
  PELTO_DECLARE_CLASS(TfrxRTFExport, TfrxCustomExportFilter)
public:
  explicit TfrxRTFExport(TComponent* AOwner);
  ~TfrxRTFExport() override;

  AnsiString GetFilterCaption() const override;
  // Shows the settings dialog; after OK takes the settings back and asks for the file. Answers
  // the dialog's modal result, mrCancel when the file was not chosen.
  Integer ShowSettingsDialog() override;
  // False for an empty FileName.
  bool BeginExport() override;
  void BeginPage(TfrxReportPage* Page, Integer Index) override;
  void ExportObject(TfrxComponent* Obj) override;
  void EndPage(TfrxReportPage* Page, Integer Index) override;
  // Writes the file (replacing it only when complete); raises EFCreateError naming it when it
  // cannot be written, the previous file then unchanged.
  void EndExport() override;

  bool ExportPageBreaks = true;
  bool ExportPictures = true;
  AnsiString FileName;
  bool OpenAfterExport = false;
  bool ShowProgress = true;
  bool Wysiwyg = true;  // fine grid (0.5 pixels) rather than a coarse one (10)

  PELTO_PUBLISHED(p);

private:
  void WriteDocument(TStream* Stream);
  Integer ColorNumber(TColor Color);
  Integer FontNumber(const AnsiString& Name);
  AnsiString TextCell(TfrxIEMObject* Obj, Integer RowHeight);
  AnsiString PictureCell(TfrxIEMObject* Obj);

  std::unique_ptr<TfrxIEMatrix> FMatrix;
  TStringList FFonts, FColors;
  Integer FPageCount = 0;
  bool FFirstPage = true;
};

namespace frxExportRTF {
// Text as RTF: "\", "{" and "}" escaped where they are characters of their own (never as the
// trail byte of a double-byte character), every byte above 127 as \'hh, each line break (CR LF,
// CR or LF) as \line and CR LF.
AnsiString EscapeText(const AnsiString& Text);
}  // namespace frxExportRTF
