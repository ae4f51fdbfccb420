// A tree view of 100,000 items under 1,000 parents: inserted with redraw off, every parent
// expanded, then painted page by page from top to bottom; beside the same nodes kept in a plain
// vector, walked into rows and the visible rows' texts drawn straight onto a bitmap. Prints the
// ratio of the two.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/commctrl/bench/RatioReporter.h"
#include "platform/commctrl/tree/TreeView.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

constexpr int kParents = 1000, kChildren = 99, kRowH = 18, kRows = 30, kWidth = 300, kHeight = kRows * kRowH,
              kIndent = 19;

std::string ParentText(int p) { return "部门 " + std::to_string(p); }
std::string ChildText(int p, int c) { return "合同 " + std::to_string(p * 100 + c) + " 付款计划"; }

void BM_TreeViewInsertExpandPage(benchmark::State& state)
{
  Headless::Start(800, 800);
  InitCommonControls();
  HWND tree = nullptr;
  for (auto _ : state) {
    tree = CreateWindowEx(0, WC_TREEVIEW, "", WS_POPUP | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                          0, 0, kWidth, kHeight, nullptr, nullptr, nullptr, nullptr);
    SendMessage(tree, TVM_SETITEMHEIGHT, kRowH, 0);
    SendMessage(tree, WM_SETREDRAW, FALSE, 0);
    std::vector<HTREEITEM> parents;
    parents.reserve(kParents);
    TVINSERTSTRUCT ins;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT;
    for (int p = 0; p < kParents; ++p) {
      std::string text = ParentText(p);
      ins.hParent = TVI_ROOT;
      ins.item.pszText = text.data();
      auto h = reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&ins)));
      parents.push_back(h);
      ins.hParent = h;
      for (int c = 0; c < kChildren; ++c) {
        std::string child = ChildText(p, c);
        ins.item.pszText = child.data();
        SendMessage(tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&ins));
      }
    }
    for (HTREEITEM h : parents) SendMessage(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(h));
    SendMessage(tree, WM_SETREDRAW, TRUE, 0);
    UpdateWindow(tree);
    for (;;) {
      LRESULT top = SendMessage(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0);
      SendMessage(tree, WM_VSCROLL, SB_PAGEDOWN, 0);
      UpdateWindow(tree);
      if (SendMessage(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0) == top) break;
    }
    state.PauseTiming();
    DestroyWindow(tree);
    state.ResumeTiming();
  }
  state.counters["items"] = double(kParents * (kChildren + 1));
}

// The same nodes in a plain vector: inserted, expanded, walked into rows, drawn a page at a time.
struct PlainNode {
  std::string Text;
  int Level = 0;
  int Parent = -1;
  bool Expanded = false;
};

void BM_PlainVectorInsertExpandPage(benchmark::State& state)
{
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(nullptr, kWidth, kHeight);
  HGDIOBJ old = SelectObject(dc, bmp);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  for (auto _ : state) {
    std::vector<PlainNode> nodes;
    nodes.reserve(kParents * (kChildren + 1));
    for (int p = 0; p < kParents; ++p) {
      int parent = int(nodes.size());
      nodes.push_back({ParentText(p), 0, -1, false});
      for (int c = 0; c < kChildren; ++c) nodes.push_back({ChildText(p, c), 1, parent, false});
    }
    for (PlainNode& n : nodes)
      if (n.Level == 0) n.Expanded = true;
    std::vector<int> rows;
    for (int i = 0; i < int(nodes.size()); ++i)
      if (nodes[size_t(i)].Parent < 0 || nodes[size_t(nodes[size_t(i)].Parent)].Expanded) rows.push_back(i);
    for (int top = 0; top < int(rows.size()); top += kRows) {
      RECT all{0, 0, kWidth, kHeight};
      FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      for (int r = top; r < top + kRows && r < int(rows.size()); ++r) {
        const PlainNode& n = nodes[size_t(rows[size_t(r)])];
        TextOut(dc, (n.Level + 1) * kIndent + 2, (r - top) * kRowH + 2, n.Text.c_str(), int(n.Text.size()));
      }
    }
    benchmark::DoNotOptimize(rows.data());
  }
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
}

}  // namespace

BENCHMARK(BM_TreeViewInsertExpandPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainVectorInsertExpandPage)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  double tree = reporter.Times["BM_TreeViewInsertExpandPage"], plain = reporter.Times["BM_PlainVectorInsertExpandPage"];
  if (tree > 0 && plain > 0) std::printf("tree view / plain vector drawn onto a bitmap: %.2fx\n", tree / plain);
  benchmark::Shutdown();
  return 0;
}
