// A form with 300 child controls (aligned panels and anchored boxes) made, shown and resized 100
// times, beside 300 plain child windows made with CreateWindowEx and moved with SetWindowPos to
// the same places. Prints the ratio of the two.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "platform/commctrl/bench/RatioReporter.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/CustomControl.h"
#include "platform/forms/forms/Form.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {
constexpr int kControls = 300, kResizes = 100;

// Where control i of the layout sits in a client area of w x h: the first 20 stack at the top,
// the next 20 at the left, the rest are anchored to the right and bottom edges in a grid.
RECT Place(int i, int w, int h)
{
  if (i < 20) return RECT{0, i * 10, w, i * 10 + 10};
  if (i < 40) return RECT{(i - 20) * 8, 200, (i - 20) * 8 + 8, h};
  int k = i - 40, col = k % 26, row = k / 26;
  int right = w - col * 12, bottom = h - row * 12;
  return RECT{right - 10, bottom - 10, right, bottom};
}

int WidthAt(int step) { return 500 + (step % 10) * 20; }
int HeightAt(int step) { return 400 + (step % 7) * 15; }

void BM_FormWith300ControlsResized(benchmark::State& state)
{
  Headless::Start(1024, 768);
  Controls::Initialize();
  for (auto _ : state) {
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 500, 400);
    for (int i = 0; i < kControls; ++i) {
      auto* c = new TCustomControl(form.get());
      c->SetParent(form.get());
      RECT r = Place(i, 500, 400);
      c->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
      if (i < 20)
        c->SetAlign(alTop);
      else if (i < 40)
        c->SetAlign(alLeft);
      else
        c->SetAnchors(TAnchors{akRight, akBottom});
    }
    form->Show();
    for (int step = 1; step <= kResizes; ++step) form->SetBounds(0, 0, WidthAt(step), HeightAt(step));
    benchmark::DoNotOptimize(form->GetControlCount());
  }
  Headless::Start(1024, 768);
}

void BM_Plain300WindowsMoved(benchmark::State& state)
{
  Headless::Start(1024, 768);
  WNDCLASSEXA wc;
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "BenchPlain";
  RegisterClassEx(&wc);
  for (auto _ : state) {
    HWND top = CreateWindowEx(0, "BenchPlain", "", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 500, 400, nullptr, nullptr,
                              nullptr, nullptr);
    std::vector<HWND> children(kControls);
    for (int i = 0; i < kControls; ++i) {
      RECT r = Place(i, 500, 400);
      children[std::size_t(i)] =
          CreateWindowEx(0, "BenchPlain", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, r.left, r.top, r.right - r.left,
                         r.bottom - r.top, top, nullptr, nullptr, nullptr);
    }
    ShowWindow(top, SW_SHOW);
    for (int step = 1; step <= kResizes; ++step) {
      int w = WidthAt(step), h = HeightAt(step);
      SetWindowPos(top, nullptr, 0, 0, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
      for (int i = 0; i < kControls; ++i) {
        RECT r = Place(i, w, h);
        SetWindowPos(children[std::size_t(i)], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      }
    }
    DestroyWindow(top);
  }
  Headless::Start(1024, 768);
}
}  // namespace

BENCHMARK(BM_FormWith300ControlsResized)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Plain300WindowsMoved)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  double form = reporter.Times["BM_FormWith300ControlsResized"], plain = reporter.Times["BM_Plain300WindowsMoved"];
  if (form > 0 && plain > 0)
    std::printf("form with 300 controls, aligned and anchored / 300 plain windows moved: %.2fx\n", form / plain);
  benchmark::Shutdown();
  return 0;
}
