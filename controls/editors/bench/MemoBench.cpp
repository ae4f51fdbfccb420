// A memo editor beside a plain multi-line EDIT window in the same iteration: 100,000 lines are
// loaded, then scrolled a page at a time 200 times and dragged by the thumb to the middle and
// the end; the memo through its painted bar (which keeps the bar in step with the window), the
// EDIT window by WM_VSCROLL. The "ratio" counter is memo / EDIT; the goal is within 1.5.
#include <benchmark/benchmark.h>

#include <time.h>

#include <string>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/memo/cxMemo.h"
#include "controls/framework/FrameworkModule.h"
#include "controls/framework/cxScrollBar.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/forms/Form.h"
#include "platform/rtl/StringList.h"
#include "platform/stdctrls/edits/Memo.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Windows.h"

namespace {

constexpr int kMemoBenchLines = 100000;

double MemoBenchSeconds()
{
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

const AnsiString& MemoBenchText()
{
  static const AnsiString text = [] {
    AnsiString t;
    for (int i = 0; i < kMemoBenchLines; ++i)
      t += "合同 HT-" + std::to_string(100000 + i) + " 甲方按期付款 payment\r\n";
    return t;
  }();
  return text;
}

struct TMemoBenchHost {
  TMemoBenchHost()
  {
    Headless::Start(1024, 768);
    Forms::InitializeApplication();
    FrameworkModule::Initialize();
    EditorsModule::Initialize();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 800, 400);
    Memo = new TcxMemo(Form);
    Memo->SetParent(Form);
    Memo->SetBounds(10, 10, 360, 300);
    Memo->GetActiveProperties()->SetScrollBars(ssVertical);
    Plain = new TMemo(Form);
    Plain->SetParent(Form);
    Plain->SetBounds(400, 10, 360, 300);
    Plain->SetScrollBars(ssVertical);
    Form->Show();
    Controls::ProcessMessages();
  }
  ~TMemoBenchHost() { delete Form; }
  TForm* Form;
  TcxMemo* Memo;
  TMemo* Plain;
};

void ScrollMemoBar(TcxMemo* AMemo, TScrollCode ACode, int APos)
{
  TcxScrollBar* bar = AMemo->GetVScrollBar();
  int pos = APos;
  bar->OnScroll(bar, ACode, pos);
}

void BM_MemoLoadAndScroll(benchmark::State& state)
{
  TMemoBenchHost host;
  double memoTime = 0, plainTime = 0;
  HWND plain = host.Plain->GetHandle();
  for (auto _ : state) {
    double t0 = MemoBenchSeconds();
    host.Memo->GetLines()->SetText(MemoBenchText());
    Controls::ProcessMessages();
    for (int i = 0; i < 200; ++i) ScrollMemoBar(host.Memo, scPageDown, 0);
    ScrollMemoBar(host.Memo, scTrack, kMemoBenchLines / 2);
    ScrollMemoBar(host.Memo, scPosition, kMemoBenchLines / 2);
    ScrollMemoBar(host.Memo, scBottom, 0);
    Controls::ProcessMessages();
    double t1 = MemoBenchSeconds();
    host.Plain->SetText(MemoBenchText());
    Controls::ProcessMessages();
    for (int i = 0; i < 200; ++i) Windows::SendMessage(plain, WM_VSCROLL, SB_PAGEDOWN, 0);
    SCROLLINFO si;
    si.cbSize = sizeof(si);
    si.fMask = SIF_TRACKPOS;
    si.nTrackPos = kMemoBenchLines / 2;
    Windows::SetScrollInfo(plain, SB_VERT, &si, FALSE);
    Windows::SendMessage(plain, WM_VSCROLL, SB_THUMBTRACK, 0);
    Windows::SendMessage(plain, WM_VSCROLL, SB_THUMBPOSITION, 0);
    Windows::SendMessage(plain, WM_VSCROLL, SB_BOTTOM, 0);
    Controls::ProcessMessages();
    double t2 = MemoBenchSeconds();
    memoTime += t1 - t0;
    plainTime += t2 - t1;
    benchmark::DoNotOptimize(host.Memo->GetVScrollBar()->GetPosition());
  }
  state.counters["memo_ms"] = benchmark::Counter(memoTime * 1000 / double(state.iterations()));
  state.counters["edit_ms"] = benchmark::Counter(plainTime * 1000 / double(state.iterations()));
  state.counters["ratio"] = plainTime > 0 ? memoTime / plainTime : 0;
}

}  // namespace

BENCHMARK(BM_MemoLoadAndScroll)->Unit(benchmark::kMillisecond)->Iterations(3);
