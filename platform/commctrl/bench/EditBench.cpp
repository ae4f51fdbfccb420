// Typing 1,000 characters into the middle of a multi-line EDIT holding 1 MB of CP936 text and
// paging through it, against the same inserts on a std::string plus measuring the same visible
// lines with platform/gdi, in the same run; the ratio of the two is printed at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/edit/Edit.h"
#include "platform/commctrl/edit/EditModel.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"
#include "platform/commctrl/bench/RatioReporter.h"

using namespace Windows;

namespace {

constexpr int Typed = 1000, Pages = 40, Width = 480, Height = 320;

// About 1 MB of contract clauses: Chinese and ASCII mixed, lines of 40 to 80 bytes.
const std::string& BigText()
{
  static std::string text = [] {
    std::string t;
    t.reserve(1 << 20);
    for (int i = 0; t.size() < (1u << 20); ++i) {
      t += "第" + std::to_string(i) + "条 合同金额 " + std::to_string(i * 37 % 100000) + " 元，付款方式 ";
      t += (i % 3) ? "bank transfer\r\n" : "分期付款，每期不少于总额的百分之十\r\n";
    }
    return t;
  }();
  return text;
}

// What is typed: ASCII letters and Chinese characters in turn.
const std::string& TypedBytes()
{
  static std::string bytes = [] {
    std::string b;
    for (int i = 0; i < Typed; ++i) b += (i % 2) ? std::string("合") : std::string(1, char('a' + i % 26));
    return b;
  }();
  return bytes;
}

LRESULT ParentProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProc(wnd, msg, wParam, lParam); }

HWND MakeEdit()
{
  Headless::Start(1024, 768);
  CommCtrl::Initialize();
  WNDCLASSEXA wc;
  wc.lpfnWndProc = ParentProc;
  wc.lpszClassName = "EditBenchParent";
  RegisterClassEx(&wc);
  HWND parent = CreateWindowEx(0, "EditBenchParent", "", WS_POPUP | WS_VISIBLE, 0, 0, Width + 20, Height + 20, nullptr,
                               nullptr, nullptr, nullptr);
  HWND e = CreateWindowEx(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL, 0, 0, Width,
                          Height, parent, reinterpret_cast<HMENU>(1), nullptr, nullptr);
  SendMessage(e, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  SendMessage(e, EM_LIMITTEXT, 0, 0);
  return e;
}

void BM_EditTypeAndPage(benchmark::State& state)
{
  HWND e = MakeEdit();
  for (auto _ : state) {
    state.PauseTiming();
    SetWindowText(e, BigText().c_str());
    int middle = int(BigText().size() / 2);
    SendMessage(e, EM_SETSEL, middle, middle);
    UpdateWindow(e);
    state.ResumeTiming();
    for (unsigned char c : TypedBytes()) SendMessage(e, WM_CHAR, c, 0);
    for (int i = 0; i < Pages; ++i) {
      SendMessage(e, WM_KEYDOWN, VK_NEXT, 0);
      UpdateWindow(e);
    }
  }
  benchmark::DoNotOptimize(SendMessage(e, WM_GETTEXTLENGTH, 0, 0));
  if (SendMessage(e, WM_GETTEXTLENGTH, 0, 0) != LRESULT(BigText().size() + TypedBytes().size()))
    state.SkipWithError("typed text lost");
}

void BM_StringInsertAndMeasure(benchmark::State& state)
{
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SIZE sz;
  GetTextExtentPoint32(dc, "Zg", 2, &sz);
  int lineHeight = std::max<int>(sz.cy, 1), visible = Height / lineHeight;
  for (auto _ : state) {
    state.PauseTiming();
    std::string text = BigText();
    size_t at = text.size() / 2;
    state.ResumeTiming();
    for (int i = 0; i < Typed; ++i) {
      std::string ch = (i % 2) ? std::string("合") : std::string(1, char('a' + i % 26));
      text.insert(at, ch);
      at += ch.size();
    }
    // The visible lines of each page, measured.
    size_t pos = at - at % 4096;
    for (int page = 0; page < Pages; ++page)
      for (int l = 0; l < visible && pos < text.size(); ++l) {
        size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        GetTextExtentPoint32(dc, text.data() + pos, int(end - pos), &sz);
        benchmark::DoNotOptimize(sz);
        pos = end + 2;
      }
  }
  DeleteDC(dc);
}

}  // namespace

BENCHMARK(BM_EditTypeAndPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StringInsertAndMeasure)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  double edit = reporter.Times["BM_EditTypeAndPage"], plain = reporter.Times["BM_StringInsertAndMeasure"];
  if (edit > 0 && plain > 0)
    std::printf("EDIT typing and paging / std::string inserts and measuring: %.2fx\n", edit / plain);
  benchmark::Shutdown();
  return 0;
}
