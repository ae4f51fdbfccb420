#include "report/engine/export/frxExportXLS.h"

#include <algorithm>
#include <memory>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/StringUtils.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/sys/ComObj.h"
#include "platform/sys/ExcelAutomation.h"
#include "report/engine/export/frxExportBitmap.h"
#include "report/engine/export/frxExportDialogs.h"
#include "report/engine/export/frxExportMatrix.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/objects/frxMemoView.h"

namespace {

constexpr TColor kNoColor = static_cast<TColor>(0x1FFFFFFF);
constexpr double kPointsPerMm = 72 / 25.4;
constexpr int xlOpenXMLWorkbook = 51;

int HAlignCode(TfrxHAlign a)
{
  switch (a) {
    case haRight: return -4152;
    case haCenter: return -4108;
    case haBlock: return -4130;
    default: return -4131;
  }
}

int VAlignCode(TfrxVAlign a)
{
  switch (a) {
    case vaBottom: return -4107;
    case vaCenter: return -4108;
    default: return -4160;
  }
}

}  // namespace

// ---- TfrxExcel ---------------------------------------------------------------------------------

void TfrxExcel::OpenExcel()
{
  try {
    Excel = ComObj::CreateOleObject("Excel.Application");
    for (const char* flag :
         {"EnableEvents", "EnableAutoComplete", "EnableAnimations", "ScreenUpdating", "Interactive", "DisplayAlerts"})
      Excel.Get("Application").Set(flag, false);
    WorkBook = Excel.Get("WorkBooks").Exec("Add");
    WorkSheet = WorkBook.Get("WorkSheets", {1});
  } catch (const Exception& e) {
    throw EOleException("Cannot start Excel.Application for the export: " + e.Message());
  }
  IsOpened = true;
}

void TfrxExcel::SetVisible(bool Value)
{
  if (!IsOpened) return;
  if (Value) {
    Variant app = Excel.Get("Application");
    app.Set("Interactive", true);
    app.Set("ScreenUpdating", true);
    app.Set("DisplayAlerts", true);
  }
  Excel.Set("Visible", Value);
}

void TfrxExcel::SetPageSetup(TPrinterOrientation Orientation, Extended LeftMargin, Extended RightMargin,
                             Extended TopMargin, Extended BottomMargin)
{
  // The page set-up wants points; the report's margins are millimetres.
  Variant setup = Excel.Get("ActiveSheet").Get("PageSetup");
  setup.Set("LeftMargin", static_cast<double>(LeftMargin * kPointsPerMm));
  setup.Set("RightMargin", static_cast<double>(RightMargin * kPointsPerMm));
  setup.Set("TopMargin", static_cast<double>(TopMargin * kPointsPerMm));
  setup.Set("BottomMargin", static_cast<double>(BottomMargin * kPointsPerMm));
  WorkSheet.Get("PageSetup").Set("Orientation", Orientation == poLandscape ? 2 : 1);
}

AnsiString TfrxExcel::ColumnLetters(Integer N)
{
  AnsiString out;
  while (N > 0) {
    --N;
    out.insert(out.begin(), static_cast<char>('A' + N % 26));
    N /= 26;
  }
  return out;
}

AnsiString TfrxExcel::CellName(Integer Column, Integer Row) { return ColumnLetters(Column) + SysUtils::IntToStr(Row); }

void TfrxExcel::SetRange(Integer Column, Integer Row, Integer Columns, Integer Rows)
{
  if (Columns <= 0 || Rows <= 0) return;
  Range = WorkSheet.Get("Range", {CellName(Column, Row), CellName(Column + Columns - 1, Row + Rows - 1)});
}

void TfrxExcel::MergeRange() { Range.Set("MergeCells", true); }

void TfrxExcel::SetColumnWidth(Integer Column, Extended Width)
{
  WorkSheet.Get("Columns", {Column}).Set("ColumnWidth", static_cast<double>(Width));
}

void TfrxExcel::SetRowHeight(Integer Row, Extended Height)
{
  WorkSheet.Get("Rows", {Row}).Set("RowHeight", std::min(static_cast<double>(Height), 409.0));
}

void TfrxExcel::SetBorders(TfrxFrameTypes FrameTyp)
{
  if (FrameTyp.Contains(ftLeft)) Range.Get("Cells").Get("Borders").Get("Item", {7}).Set("Linestyle", 1);
  if (FrameTyp.Contains(ftRight)) Range.Get("Cells").Get("Borders").Get("Item", {10}).Set("Linestyle", 1);
  if (FrameTyp.Contains(ftTop)) Range.Get("Borders").Get("Item", {8}).Set("Linestyle", 1);
  if (FrameTyp.Contains(ftBottom)) Range.Get("Borders").Get("Item", {9}).Set("Linestyle", 1);
}

void TfrxExcel::PastePicture(const std::string& Png, int Width, int Height)
{
  // The automation object's picture seam hands it the picture: the user's clipboard stays as
  // it was.
  TScopedFunction<ExcelAutomation::TClipboardPicture> picture(ExcelAutomation::ClipboardPictureService(),
                                                              [&](std::string& Data, int& W, int& H) {
                                                                Data = Png;
                                                                W = Width;
                                                                H = Height;
                                                                return true;
                                                              });
  Range.Exec("PasteSpecial", {Variant(), Variant(), Variant(), Variant()});
}

// ---- TfrxXLSExport -----------------------------------------------------------------------------

TfrxXLSExport::TfrxXLSExport(TComponent* AOwner) : TfrxCustomExportFilter(AOwner) {}

TfrxXLSExport::~TfrxXLSExport() = default;

Integer TfrxXLSExport::ShowSettingsDialog()
{
  auto dialog = std::make_unique<TfrxXLSExportDialog>(nullptr);
  dialog->StylesCB->SetChecked(ExportStyles);
  dialog->PicturesCB->SetChecked(ExportPictures);
  dialog->MergeCB->SetChecked(MergeCells);
  dialog->WCB->SetChecked(Wysiwyg);
  dialog->OpenExcelCB->SetChecked(OpenExcelAfterExport);
  Integer result = dialog->ShowModal();
  if (result != mrOk) return result;
  dialog->StorePageRange(this);
  ExportStyles = dialog->StylesCB->GetChecked();
  ExportPictures = dialog->PicturesCB->GetChecked();
  MergeCells = dialog->MergeCB->GetChecked();
  Wysiwyg = dialog->WCB->GetChecked();
  OpenExcelAfterExport = dialog->OpenExcelCB->GetChecked();
  return dialog->AskFileName(FileName) ? result : static_cast<Integer>(mrCancel);
}

AnsiString TfrxXLSExport::GetFilterCaption() const { return frxRes::Get("XlsOLEexport"); }

AnsiString TfrxXLSExport::CleanText(const AnsiString& Text)
{
  AnsiString out;
  for (char c : Text)
    if (c != '\r' && c != 1) out += c;
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

bool TfrxXLSExport::BeginExport()
{
  if (FileName.empty()) return false;
  FFirstPage = true;
  FMatrix = std::make_unique<TfrxIEMatrix>();
  FMatrix->ShowProgress = ShowProgress;
  FMatrix->MaxCellHeight = 535.79;
  FMatrix->Inaccuracy = Wysiwyg ? 0.5 : 10;
  FMatrix->RotatedAsImage = true;
  FMatrix->DeleteHTMLTags = true;
  FExcel = std::make_unique<TfrxExcel>();
  FExcel->OpenExcel();
  return true;
}

void TfrxXLSExport::BeginPage(TfrxReportPage* Page, Integer Index)
{
  if (!FFirstPage) return;
  FFirstPage = false;
  FOrientation = Page->GetOrientation();
  FLeftMargin = Page->LeftMargin;
  FRightMargin = Page->RightMargin;
  FTopMargin = Page->TopMargin;
  FBottomMargin = Page->BottomMargin;
}

void TfrxXLSExport::ExportObject(TfrxComponent* Obj)
{
  if (FMatrix) FMatrix->AddExported(Obj, ExportPictures);
}

void TfrxXLSExport::EndPage(TfrxReportPage* Page, Integer Index)
{
  if (FMatrix) FMatrix->AddPage(Page);
}

void TfrxXLSExport::ExportToExcel()
{
  TfrxIEMatrix& m = *FMatrix;
  TfrxExcel& x = *FExcel;
  x.SetPageSetup(FOrientation, FLeftMargin, FRightMargin, FTopMargin, FBottomMargin);

  Integer page = 0;
  for (Integer r = 1; r <= m.GetHeight() - 1; ++r) {
    x.SetRowHeight(r, (m.GetYPos(r) - m.GetYPos(r - 1)) / 1.31);
    if (page < m.PagesCount() && !(m.GetPage(page).PageEnd > m.GetYPos(r))) {
      x.WorkSheet.Get("Rows", {r + 2}).Set("PageBreak", -4135);
      ++page;
    }
  }
  for (Integer c = 1; c <= m.GetWidth() - 1; ++c) x.SetColumnWidth(c, (m.GetXPos(c) - m.GetXPos(c - 1)) / 8);

  Variant styles = x.WorkBook.Get("Styles");
  for (Integer n = 0; n < m.StylesCount(); ++n) {
    TfrxIEMStyle* st = m.GetStyleById(n);
    Variant style = styles.Exec("Add", {"S" + SysUtils::IntToStr(n)});
    Variant font = style.Get("Font");
    TFontStyles fs = st->Font->GetStyle();
    font.Set("Bold", fs.Contains(fsBold) ? -1 : 0);
    font.Set("Italic", fs.Contains(fsItalic) ? -1 : 0);
    font.Set("Underline", fs.Contains(fsUnderline) ? -1 : 0);
    font.Set("Name", st->Font->GetName());
    font.Set("Size", st->Font->GetSize());
    font.Set("Color", static_cast<int>(st->Font->GetColor()));
    // A transparent fill is no fill at all.
    if (st->Color != kNoColor && st->Color != clNone) style.Get("Interior").Set("Color", static_cast<int>(st->Color));
    style.Set("VerticalAlignment", VAlignCode(st->VAlign));
    style.Set("HorizontalAlignment", HAlignCode(st->HAlign));
  }

  Integer h = m.GetHeight(), w = m.GetWidth();
  Variant values =
      Variants::VarArrayCreate({0, std::max<Integer>(h - 1, 0), 0, std::max<Integer>(w - 1, 0)}, varVariant);
  Integer picture = 0;
  for (Integer r = 1; r <= h; ++r)
    for (Integer t = 1; t <= w; ++t) {
      Integer index = m.GetCell(t - 1, r - 1);
      if (index < 0) continue;
      TfrxIEMObject* o = m.GetObjectById(index);
      if (o->Counter != 0) continue;
      o->Counter = 1;
      Integer px, py, dx, dy;
      m.GetObjectPos(index, px, py, dx, dy);
      x.SetRange(t, r, dx, dy);
      if (o->IsText) {
        if (ExportStyles) x.Range.Set("Style", "S" + SysUtils::IntToStr(o->StyleIndex));
        if (MergeCells && (dx > 1 || dy > 1)) {
          x.SetRange(t, r, dx, dy);
          x.MergeRange();
        }
        if (ExportStyles) x.SetBorders(o->Style->FrameTyp);
        Variants::VarArrayPut(values, CleanText(o->Memo->GetText()), {r - 1, t - 1});
      } else if (o->Image) {
        ++picture;
        std::vector<std::uint8_t> png = o->Image->SavePng();
        x.PastePicture(std::string(png.begin(), png.end()), o->Image->GetWidth(), o->Image->GetHeight());
        Variant pic = x.WorkSheet.Get("Pictures", {picture});
        pic.Set("Width", o->Image->GetWidth() / 1.43);
        pic.Set("Height", o->Image->GetHeight() / 1.34);
      }
    }
  if (w > 1 && h > 1) {
    x.SetRange(1, 1, w - 1, h - 1);
    x.Range.Set("Value", values);
  }
  x.WorkSheet.Get("Cells").Set("WrapText", true);
}

void TfrxXLSExport::EndExport()
{
  if (!FMatrix || !FExcel) return;
  TScopeExit release([this] {
    FMatrix.reset();
    FExcel.reset();
  });
  FMatrix->Prepare();
  ExportToExcel();
  FExcel->SetRange(1, 1, 1, 1);
  FExcel->Range.Exec("Select");
  // The workbook is an Open XML one, and its name says so.
  if (!SysUtils::SameText(SysUtils::ExtractFileExt(FileName), ".xlsx"))
    FileName = SysUtils::ChangeFileExt(FileName, ".xlsx");
  if (OpenExcelAfterExport) FExcel->SetVisible(true);
  FExcel->WorkBook.Exec("SaveAs", {FileName, xlOpenXMLWorkbook, Variant(), Variant(), Variant(), Variant(), 1,
                                   Variant(), Variant(), Variant()});
  // Left visible, the application shows the saved workbook with the desktop when it goes.
  if (!OpenExcelAfterExport) FExcel->Excel.Exec("Quit");
}

PELTO_DEFINE_CLASS(TfrxXLSExport)
PELTO_PUBLISH(TfrxXLSExport, p)
{
  p.Property("ExportStyles", &ThisClass::ExportStyles, &ThisClass::ExportStyles).Default(true);
  p.Property("ExportPictures", &ThisClass::ExportPictures, &ThisClass::ExportPictures).Default(true);
  p.Property("FileName", &ThisClass::FileName, &ThisClass::FileName);
  p.Property("MergeCells", &ThisClass::MergeCells, &ThisClass::MergeCells).Default(true);
  p.Property("OpenExcelAfterExport", &ThisClass::OpenExcelAfterExport, &ThisClass::OpenExcelAfterExport).Default(false);
  p.Property("ShowProgress", &ThisClass::ShowProgress, &ThisClass::ShowProgress).Default(true);
  p.Property("Wysiwyg", &ThisClass::Wysiwyg, &ThisClass::Wysiwyg).Default(true);
}
