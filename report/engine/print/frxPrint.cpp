// Printing the prepared pages: the page list, odd or even pages, reverse order, copies with or
// without collation, each page with its own paper, orientation, bin and duplex.
#include <algorithm>
#include <cmath>

#include "platform/rtl/Conversions.h"
#include "platform/rtl/StringList.h"
#include "report/engine/model/frxOptions.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxUtils.h"
#include "report/engine/prepared/frxPreviewPages.h"
#include "report/engine/print/frxPrintDialog.h"
#include "report/engine/print/frxPrinter.h"

namespace frxPrintDialog {

namespace {
TPrintDialogProc& Installed()
{
  static TPrintDialogProc proc;
  return proc;
}
}  // namespace

const TPrintDialogProc& Current() { return Installed(); }

TScopedPrintDialog::TScopedPrintDialog(TPrintDialogProc Proc) : FPrevious(std::move(Installed()))
{
  Installed() = std::move(Proc);
}

TScopedPrintDialog::~TScopedPrintDialog() { Installed() = std::move(FPrevious); }

}  // namespace frxPrintDialog

void TfrxReport::SelectPrinter()
{
  TfrxPrinters* printers = frxPrinter::GetPrinters();
  Integer i = printers->IndexOf(FPrintOptions->Printer);
  if (i >= 0) printers->SetPrinterIndex(i);
}

bool TfrxPreviewPages::Print()
{
  TfrxReport* report = GetReport();
  TfrxPrintOptions* opts = report->GetPrintOptions();
  TfrxPrintSettings settings;
  settings.Copies = opts->Copies;
  settings.Collate = opts->Collate;
  settings.PageNumbers = opts->PageNumbers;
  settings.PrintPages = static_cast<Integer>(opts->PrintPages);
  report->SelectPrinter();
  if (opts->ShowDialog && frxPrintDialog::Current())
    if (!frxPrintDialog::Current()(report, settings)) return false;
  if (report->OnPrintReport) report->OnPrintReport(report);

  TStringList list;
  frxUtils::ParsePageNumbers(settings.PageNumbers, &list, GetCount());
  std::vector<Integer> wanted;
  for (Integer i = 0; i < list.GetCount(); ++i) wanted.push_back(SysUtils::StrToInt(list[i]));
  auto selected = [&](Integer Index) {
    Integer number = Index + 1;
    if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), number) == wanted.end()) return false;
    if (settings.PrintPages == 1 && number % 2 == 0) return false;
    if (settings.PrintPages == 2 && number % 2 == 1) return false;
    return true;
  };

  TfrxCustomPrinter* printer = frxPrinter::GetPrinters()->GetCurrentPrinter();
  if (!printer) return false;
  report->ProgressStart(2);
  printer->Title = report->GetReportOptions()->Name.empty() ? report->GetFileName() : report->GetReportOptions()->Name;
  Integer copies = std::max<Integer>(settings.Copies, 1);
  bool begun = false, aborted = false;

  auto printPage = [&](Integer Index, Integer PageCopies) {
    TfrxReportPage* page = GetPage(Index);
    if (!page) return;
    if (!begun) {
      printer->BeginDoc();
      begun = true;
    }
    printer->SetPrintParams(
        page->GetPaperSize(), page->GetOrientation() == poLandscape, static_cast<Integer>(page->Duplex) + 1, PageCopies,
        Index == 0 ? page->Bin : page->BinOtherPages, page->GetPaperHeight(), page->GetPaperWidth());
    printer->BeginPage();
    if (HDC dc = printer->GetCanvas()) {
      Extended sx = printer->DPI.x / 96.0, sy = printer->DPI.y / 96.0;
      DrawPage(Index, dc, sx, sy, -printer->LeftMargin * printer->DPI.x / 25.4,
               -printer->TopMargin * printer->DPI.y / 25.4);
    }
    report->Progress(2, Index + 1);
    printer->EndPage();
    ClearCache();
  };
  auto walk = [&](Integer PageCopies) {
    Integer n = GetCount();
    for (Integer k = 0; k < n; ++k) {
      Integer i = settings.Reverse ? n - 1 - k : k;
      if (!selected(i)) continue;
      if (report->GetTerminated()) {
        if (begun) printer->Abort();
        aborted = true;
        return;
      }
      printPage(i, PageCopies);
    }
  };

  if (settings.Collate) {
    for (Integer c = 0; c < copies && !aborted; ++c) {
      if (report->GetTerminated()) {
        if (begun) printer->Abort();
        aborted = true;
        break;
      }
      walk(1);
    }
  } else {
    walk(copies);
  }
  if (begun && !aborted) printer->EndDoc();
  report->ProgressStop(2);
  return true;
}
