// The image export: every exported page drawn into a bitmap as the preview draws it, cut down to
// its objects with CropImages, and saved as one picture file per page ("name.1.jpg", ...).
#pragma once

#include <memory>

#include "report/engine/model/frxPlugins.h"

class TfrxExportBitmap;

class TfrxCustomImageExport : public TfrxCustomExportFilter {
  PELTO_DECLARE_CLASS(TfrxCustomImageExport, TfrxCustomExportFilter)
public:
  explicit TfrxCustomImageExport(TComponent* AOwner);
  ~TfrxCustomImageExport() override;

  // Shows the settings dialog; after OK takes the settings back and asks for the file. Answers
  // the dialog's modal result, mrCancel when the file was not chosen.
  Integer ShowSettingsDialog() override;
  // Clears CurPage and the page counter; false without a file name.
  bool BeginExport() override;
  void BeginPage(TfrxReportPage* Page, Integer Index) override;
  void ExportObject(TfrxComponent* Obj) override;
  // Crops and saves the page; raises EFCreateError naming the file when it cannot be written.
  void EndPage(TfrxReportPage* Page, Integer Index) override;

  bool CropImages = true;
  Integer JPEGQuality = 90;
  bool Monochrome = false;
  // The output file name; each page's file is made from it.
  AnsiString FileName;

protected:
  // Writes the finished page bitmap.
  virtual void SaveImage(const TfrxExportBitmap& Bitmap) = 0;
  Integer FPageCount = 0;

private:
  std::unique_ptr<TfrxExportBitmap> FBitmap;
  int FCropLeft = 0, FCropTop = 0, FCropRight = 0, FCropBottom = 0;
};

class TfrxJPEGExport : public TfrxCustomImageExport {
  PELTO_DECLARE_CLASS(TfrxJPEGExport, TfrxCustomImageExport)
public:
  explicit TfrxJPEGExport(TComponent* AOwner) : TfrxCustomImageExport(AOwner) {}

  AnsiString GetFilterCaption() const override;
  // The file of the page being exported: FileName with its extension replaced by ".N.jpg".
  AnsiString PageFileName() const;

  PELTO_PUBLISHED(p);

protected:
  void SaveImage(const TfrxExportBitmap& Bitmap) override;
};
