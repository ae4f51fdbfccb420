// The inner list box of a container with 100,000 lines, its painted thumb tracked from top to
// bottom in 1,000 steps, beside a plain LISTBOX window tracked the same way. Prints the ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "controls/framework/FrameworkModule.h"
#include "controls/framework/cxInnerListBox.h"
#include "platform/commctrl/CommCtrl.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/forms/Form.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Windows.h"

namespace {

constexpr int kLines = 100000, kSteps = 1000;

std::string Line(int i) { return "合同 " + std::to_string(100000 + i) + " 付款计划"; }

class TBenchContainer : public TcxContainer {
public:
  explicit TBenchContainer(TComponent* AOwner) : TcxContainer(AOwner)
  {
    List = new TcxCustomInnerListBox(this);
    List->SetContainer(this);
    List->SetParent(this);
    SetInnerControl(List);
  }
  TcxCustomInnerListBox* List;
};

struct TDesktop {
  TDesktop()
  {
    Headless::Start(1024, 768);
    Controls::Initialize();
    Forms::InitializeApplication();
    FrameworkModule::Initialize();
    CommCtrl::Initialize();
  }
  ~TDesktop()
  {
    FrameworkModule::Finalize();
    Forms::FinalizeApplication();
  }
};

void BM_InnerListBoxThumbTracking(benchmark::State& state)
{
  TDesktop desktop;
  auto owner = std::make_unique<TComponent>(nullptr);
  auto* form = new TForm(owner.get());
  form->SetBounds(0, 0, 400, 400);
  auto* box = new TBenchContainer(form);
  box->SetParent(form);
  box->SetBounds(10, 10, 300, 300);
  form->Show();
  TStrings* items = box->List->GetItems();
  items->BeginUpdate();
  for (int i = 0; i < kLines; ++i) items->Add(Line(i));
  items->EndUpdate();
  Controls::ProcessMessages();
  TcxScrollBar* bar = box->List->GetVScrollBar();
  const int max = bar->GetMax() - bar->GetPageSize() + 1;
  for (auto _ : state) {
    for (int step = 0; step <= kSteps; ++step) {
      int pos = int((long long)max * step / kSteps);
      bar->OnScroll(bar, scTrack, pos);
      Windows::UpdateWindow(form->GetHandle());
    }
    int end = max;
    bar->OnScroll(bar, scPosition, end);
  }
  if (box->List->GetTopIndex() < kLines - 100) state.SkipWithError("the list did not reach its end");
  owner.reset();
}

void BM_PlainListBoxThumbTracking(benchmark::State& state)
{
  TDesktop desktop;
  HWND lb = Windows::CreateWindowEx(0, "LISTBOX", "", WS_POPUP | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 10, 10,
                                    300, 300, nullptr, nullptr, nullptr, nullptr);
  Windows::SendMessage(lb, WM_SETREDRAW, FALSE, 0);
  for (int i = 0; i < kLines; ++i) {
    std::string s = Line(i);
    Windows::SendMessage(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  }
  Windows::SendMessage(lb, WM_SETREDRAW, TRUE, 0);
  SCROLLINFO si;
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE;
  Windows::GetScrollInfo(lb, SB_VERT, &si);
  const int max = si.nMax - int(si.nPage) + 1;
  for (auto _ : state) {
    for (int step = 0; step <= kSteps; ++step) {
      SCROLLINFO t;
      t.cbSize = sizeof(t);
      t.fMask = SIF_TRACKPOS;
      t.nTrackPos = int((long long)max * step / kSteps);
      Windows::SetScrollInfo(lb, SB_VERT, &t, FALSE);
      Windows::SendMessage(lb, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, WORD(t.nTrackPos)), 0);
      Windows::UpdateWindow(lb);
    }
    Windows::SendMessage(lb, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
  }
  Windows::DestroyWindow(lb);
}

class TRatioReporter : public benchmark::ConsoleReporter {
public:
  std::map<std::string, double> Times;
  void ReportRuns(const std::vector<Run>& runs) override
  {
    for (const Run& r : runs) Times[r.benchmark_name()] = r.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

BENCHMARK(BM_InnerListBoxThumbTracking)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PlainListBoxThumbTracking)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  double a = reporter.Times["BM_InnerListBoxThumbTracking/iterations:3"];
  double b = reporter.Times["BM_PlainListBoxThumbTracking/iterations:3"];
  if (a > 0 && b > 0) std::printf("inner list box / plain LISTBOX, thumb tracking: %.2fx (goal 1.5x)\n", a / b);
  benchmark::Shutdown();
  return 0;
}
