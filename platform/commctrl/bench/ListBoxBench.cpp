// A 1,000-item owner-drawn LISTBOX painted page by page (the owner draws each row), beside the
// same rows drawn straight onto a bitmap. Prints the ratio of the two.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "platform/commctrl/CommCtrl.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"
#include "platform/commctrl/bench/RatioReporter.h"

using namespace Windows;

namespace {

constexpr int kItems = 1000, kRowH = 18, kWidth = 300, kRows = 20, kHeight = kRows * kRowH;

std::string RowText(int i) { return "合同 " + std::to_string(10000 + i) + " 付款计划"; }

// The one row drawing both sides share.
void DrawRow(HDC dc, const RECT& r, int i, bool selected)
{
  HBRUSH b = CreateSolidBrush(selected ? RGB(10, 36, 106) : (i % 2 ? RGB(255, 255, 255) : RGB(240, 244, 250)));
  FillRect(dc, &r, b);
  DeleteObject(b);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, selected ? RGB(255, 255, 255) : RGB(0, 0, 0));
  std::string t = RowText(i);
  TextOut(dc, r.left + 2, r.top + 2, t.c_str(), int(t.size()));
}

LRESULT OwnerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_DRAWITEM) {
    auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    DrawRow(di->hDC, di->rcItem, int(di->itemID), di->itemState & ODS_SELECTED);
    return TRUE;
  }
  if (msg == WM_MEASUREITEM) {
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kRowH;
    return TRUE;
  }
  return DefWindowProc(wnd, msg, wParam, lParam);
}

void BM_OwnerDrawnListBoxPages(benchmark::State& state)
{
  Headless::Start(800, 600);
  CommCtrl::Initialize();
  WNDCLASSEXA wc;
  wc.lpfnWndProc = OwnerProc;
  wc.lpszClassName = "BenchOwner";
  RegisterClassEx(&wc);
  HWND owner = CreateWindowEx(0, "BenchOwner", "", WS_POPUP | WS_VISIBLE, 0, 0, kWidth + 40, kHeight + 10, nullptr,
                              nullptr, nullptr, nullptr);
  HWND lb = CreateWindowEx(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_NODATA, 0, 0,
                           kWidth + 17, kHeight, owner, nullptr, nullptr, nullptr);
  SendMessage(lb, LB_SETCOUNT, kItems, 0);
  SendMessage(lb, LB_SETCURSEL, 5, 0);
  UpdateWindow(owner);
  for (auto _ : state) {
    for (int top = 0; top < kItems; top += kRows) {
      SendMessage(lb, LB_SETTOPINDEX, WPARAM(top), 0);
      InvalidateRect(lb, nullptr, TRUE);
      UpdateWindow(lb);
    }
  }
  DestroyWindow(owner);
}

void BM_RowsOntoABitmap(benchmark::State& state)
{
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(nullptr, kWidth, kHeight);
  HGDIOBJ old = SelectObject(dc, bmp);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  for (auto _ : state) {
    for (int top = 0; top < kItems; top += kRows) {
      RECT all{0, 0, kWidth, kHeight};
      FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      for (int i = top; i < top + kRows && i < kItems; ++i) {
        RECT r{0, (i - top) * kRowH, kWidth, (i - top + 1) * kRowH};
        DrawRow(dc, r, i, i == 5);
      }
    }
  }
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
}

}  // namespace

BENCHMARK(BM_OwnerDrawnListBoxPages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RowsOntoABitmap)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  double list = reporter.Times["BM_OwnerDrawnListBoxPages"], plain = reporter.Times["BM_RowsOntoABitmap"];
  if (list > 0 && plain > 0)
    std::printf("owner-drawn LISTBOX pages / rows straight onto a bitmap: %.2fx\n", list / plain);
  benchmark::Shutdown();
  return 0;
}
