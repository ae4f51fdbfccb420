// Preparing a 1,000-page list beside exporting it to PDF, in the same run: prints both times and
// their ratio, and the exported file's size beside the size of the file the PDF printer writes
// for the same pages.
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "platform/rtl/StringList.h"
#include "platform/sys/WinSpool.h"
#include "report/engine/export/ExportModule.h"
#include "report/engine/export/frxExportPDF.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/model/frxOptions.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/objects/frxMemoView.h"
#include "report/engine/prepared/frxPreviewPages.h"
#include "report/engine/print/frxPrinter.h"

namespace {

// <chrono> does not build with the CP936 execution character set.
double Seconds()
{
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

long long FileSize(const std::string& Name)
{
  struct stat st {};
  return ::stat(Name.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}

constexpr Integer kRows = 52 * 1000;  // 52 rows of 20 pixels fill an A4 page with 10 mm margins

std::unique_ptr<TfrxReport> MakeList()
{
  ExportModule::Initialize();
  auto r = std::make_unique<TfrxReport>(nullptr);
  r->GetEngineOptions()->SilentMode = true;
  auto* page = new TfrxReportPage(r.get());
  page->SetName("Page1");
  page->SetPaperSize(9);
  page->LeftMargin = page->RightMargin = page->TopMargin = page->BottomMargin = 10;
  auto* band = new TfrxMasterData(page);
  band->SetName("Rows");
  band->SetHeight(20);
  band->SetRowCount(kRows);
  auto* memo = new TfrxMemoView(band);
  memo->SetName("Row");
  memo->SetBounds(0, 0, 400, 18);
  memo->SetText("第 [Line#] 行 row [Line#], 合计 [<Line#> * 2]");
  memo->GetFrame()->Typ = TfrxFrameTypes{ftBottom};
  return r;
}

void BM_PrepareAndExportThousandPagesToPdf(benchmark::State& state)
{
  auto r = MakeList();
  std::string base = "/tmp/pelto-pdf-bench-" + std::to_string(::getpid());
  std::string exported = base + "-export.pdf", printed = base + "-printer.pdf";
  double prepareSeconds = 0, exportSeconds = 0;
  for (auto _ : state) {
    double t0 = Seconds();
    if (!r->PrepareReport()) state.SkipWithError(r->GetErrors()->GetText().c_str());
    double t1 = Seconds();
    TfrxPDFExport pdf(nullptr);
    pdf.ShowDialog = false;
    pdf.FileName = exported;
    r->GetPreviewPages()->Export(&pdf);
    double t2 = Seconds();
    prepareSeconds += t1 - t0;
    exportSeconds += t2 - t1;
  }
  // The same pages through the PDF printer, for the sizes.
  frxPrinter::TScopedPrinters scoped(std::make_unique<TfrxPrinters>(
      [] { return std::vector<AnsiString>{WinSpool::PdfPrinterName}; }, WinSpool::PdfPrinterName));
  frxPrinter::GetPrinters()->GetCurrentPrinter()->FileName = printed;
  r->GetPrintOptions()->ShowDialog = false;
  static_cast<TfrxPreviewPages*>(r->GetPreviewPages())->Print();
  double n = static_cast<double>(state.iterations());
  Integer pages = r->GetPreviewPages()->GetCount();
  long long exportBytes = FileSize(exported), printBytes = FileSize(printed);
  state.counters["pages"] = pages;
  state.counters["prepare_s"] = prepareSeconds / n;
  state.counters["export_s"] = exportSeconds / n;
  state.counters["ratio"] = prepareSeconds > 0 ? exportSeconds / prepareSeconds : 0;
  state.counters["export_bytes"] = static_cast<double>(exportBytes);
  state.counters["printer_bytes"] = static_cast<double>(printBytes);
  std::printf(
      "%d pages: prepare %.3f s, export to PDF %.3f s, ratio %.2f; PDF export %lld bytes, PDF printer %lld bytes\n",
      pages, prepareSeconds / n, exportSeconds / n, prepareSeconds > 0 ? exportSeconds / prepareSeconds : 0.0,
      exportBytes, printBytes);
  ::unlink(exported.c_str());
  ::unlink(printed.c_str());
}
BENCHMARK(BM_PrepareAndExportThousandPagesToPdf)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
