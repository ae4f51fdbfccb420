// The Excel export: the pages laid out by the export matrix, written into a new workbook through
// the "Excel.Application" automation object (which writes .xlsx files): every object a cell or a
// merged range with a named style ("S" and its number), pictures placed as PNG, row heights,
// column widths, page breaks and the first page's set-up. Saved as an Open XML workbook through
// the save seam; "Open Excel after export" shows the saved workbook with the desktop.
#pragma once

#include <memory>

#include "platform/rtl/Variants.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxPlugins.h"
#include "report/engine/objects/frxView.h"

class TfrxIEMatrix;

// The automation calls of the export.
class TfrxExcel {
public:
  TfrxExcel() = default;
  TfrxExcel(const TfrxExcel&) = delete;
  TfrxExcel& operator=(const TfrxExcel&) = delete;

  // Starts the application with one workbook. Raises EOleException when it cannot be started.
  void OpenExcel();
  void SetVisible(bool Value);
  // Margins in millimetres (the report page's), set in points.
  void SetPageSetup(TPrinterOrientation Orientation, Extended LeftMargin, Extended RightMargin, Extended TopMargin,
                    Extended BottomMargin);
  // 1 A .. 26 Z, 27 AA .. 702 ZZ, 703 AAA ...
  static AnsiString ColumnLetters(Integer N);
  static AnsiString CellName(Integer Column, Integer Row);
  // Only when both counts are above 0.
  void SetRange(Integer Column, Integer Row, Integer Columns, Integer Rows);
  void MergeRange();
  void SetColumnWidth(Integer Column, Extended Width);
  // At most 409 points.
  void SetRowHeight(Integer Row, Extended Height);
  void SetBorders(TfrxFrameTypes FrameTyp);
  // The range gets the PNG picture Png of Width x Height pixels.
  void PastePicture(const std::string& Png, int Width, int Height);

  Variant Excel, WorkBook, WorkSheet, Range;
  bool IsOpened = false;
};

class TfrxXLSExport : public TfrxCustomExportFilter {
  PELTO_DECLARE_CLASS(TfrxXLSExport, TfrxCustomExportFilter)
public:
  explicit TfrxXLSExport(TComponent* AOwner);
  ~TfrxXLSExport() override;

  AnsiString GetFilterCaption() const override;
  // Shows the settings dialog; after OK takes the settings back and asks for the file. Answers
  // the dialog's modal result, mrCancel when the file was not chosen.
  Integer ShowSettingsDialog() override;
  // False for an empty FileName. Raises EOleException when the workbook cannot be started.
  bool BeginExport() override;
  void BeginPage(TfrxReportPage* Page, Integer Index) override;
  void ExportObject(TfrxComponent* Obj) override;
  void EndPage(TfrxReportPage* Page, Integer Index) override;
  // Fills and saves the workbook as FileName with its extension made ".xlsx" (FileName then
  // names the file written). Raises EOleException naming the file when it cannot be saved, the
  // previous file then unchanged.
  void EndExport() override;

  // Carriage returns and characters 1 deleted, then trailing line feeds.
  static AnsiString CleanText(const AnsiString& Text);

  bool ExportStyles = true;
  bool ExportPictures = true;
  AnsiString FileName;
  bool MergeCells = true;
  bool OpenExcelAfterExport = false;
  bool ShowProgress = true;
  bool Wysiwyg = true;

  PELTO_PUBLISHED(p);

private:
  void ExportToExcel();

  std::unique_ptr<TfrxIEMatrix> FMatrix;
  std::unique_ptr<TfrxExcel> FExcel;
  bool FFirstPage = true;
  TPrinterOrientation FOrientation = poPortrait;
  Extended FLeftMargin = 0, FRightMargin = 0, FTopMargin = 0, FBottomMargin = 0;
};
