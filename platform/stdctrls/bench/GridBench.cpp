// A string grid of 20 columns scrolled page by page and painted, with 1,000 rows and with
// 1,000,000, beside drawing the same visible cells (fill, text, lines) straight onto a bitmap.
// Prints the ratios: the grid against the bitmap, and a page of the big grid against a page of
// the small one (the same when nothing walks every row).
#include <benchmark/benchmark.h>

#include <string>

#include "platform/commctrl/bench/RatioReporter.h"
#include "platform/forms/forms/Form.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/grids/DrawGrid.h"
#include "platform/win/backend/Headless.h"

namespace {

constexpr int kBenchCols = 20;
constexpr int kFilledRows = 1000;
constexpr int kWidth = 640, kHeight = 400, kColWidth = 64, kRowHeight = 24;

AnsiString CellText(int c, int r)
{
  return c == 1 ? "合同 HT-" + std::to_string(100000 + r) : std::to_string(r * kBenchCols + c);
}

struct GridHost {
  explicit GridHost(int Rows)
  {
    Headless::Start(1024, 768);
    StdCtrls::Initialize();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, kWidth + 40, kHeight + 60);
    Grid = new TStringGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(10, 10, kWidth, kHeight);
    Grid->SetColCount(kBenchCols);
    Grid->SetRowCount(Rows);
    for (int r = 0; r < kFilledRows; ++r)
      for (int c = 0; c < kBenchCols; ++c) Grid->SetCells(c, r, CellText(c, r));
    Form->Show();
    Grid->Update();
  }
  ~GridHost() { delete Form; }
  TForm* Form;
  TStringGrid* Grid;
};

// One page down (back to the top past the filled rows), then the grid paints it.
void GridPages(benchmark::State& state)
{
  GridHost host(int(state.range(0)));
  TStringGrid* g = host.Grid;
  int page = g->GetVisibleRowCount();
  int top = 1;
  for (auto _ : state) {
    top += page;
    if (top + page >= kFilledRows) top = 1;
    g->SetTopRow(top);
    g->Update();
    benchmark::DoNotOptimize(g->GetTopRow());
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_StringGridPage1k(benchmark::State& state) { GridPages(state); }
void BM_StringGridPage1M(benchmark::State& state) { GridPages(state); }

// The cells a page shows, drawn by hand: the fixed row and column, then the scrolling cells, each
// filled, written and closed by its lines.
void BM_BitmapPage(benchmark::State& state)
{
  Headless::Start(1024, 768);
  TBitmap bmp;
  bmp.SetSize(kWidth - 4, kHeight - 4);
  TCanvas* c = bmp.GetCanvas();
  c->GetFont()->SetName("宋体");
  int cols = (kWidth - 4) / (kColWidth + 1) + 1, rows = (kHeight - 4) / (kRowHeight + 1) + 1;
  int top = 1;
  for (auto _ : state) {
    top += rows - 2;
    if (top + rows >= kFilledRows) top = 1;
    for (int r = 0; r < rows; ++r)
      for (int col = 0; col < cols; ++col) {
        int row = r == 0 ? 0 : top + r - 1;
        RECT cell{col * (kColWidth + 1), r * (kRowHeight + 1), col * (kColWidth + 1) + kColWidth,
                  r * (kRowHeight + 1) + kRowHeight};
        c->GetBrush()->SetColor(r == 0 || col == 0 ? clBtnFace : clWindow);
        c->FillRect(cell);
        c->TextRect(cell, cell.left + 2, cell.top + 2, CellText(col, row));
        c->GetBrush()->SetColor(clSilver);
        c->FillRect(RECT{cell.right, cell.top, cell.right + 1, cell.bottom + 1});
        c->FillRect(RECT{cell.left, cell.bottom, cell.right, cell.bottom + 1});
      }
    benchmark::DoNotOptimize(top);
  }
  state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_StringGridPage1k)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StringGridPage1M)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BitmapPage)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatio("a page of a 1,000 x 20 string grid / the same cells drawn on a bitmap",
                      "BM_StringGridPage1k/1000", "BM_BitmapPage");
  reporter.PrintRatio("a page with 1,000,000 rows / a page with 1,000 rows", "BM_StringGridPage1M/1000000",
                      "BM_StringGridPage1k/1000");
  benchmark::Shutdown();
  return 0;
}
