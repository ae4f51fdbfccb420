// Opening the pop-up of a pop-up edit that holds a list box of 100,000 items (laid out, shown,
// painted, closed) beside showing and painting a plain LISTBOX of the same items, in the same
// iteration. The "ratio" counter is ours / the plain list's; the goal is within 1.5.
#include <benchmark/benchmark.h>

#include <time.h>

#include <memory>
#include <string>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/dropdown/cxPopupEdit.h"
#include "controls/editors/listbox/cxListBox.h"
#include "controls/framework/FrameworkModule.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/forms/Form.h"
#include "platform/stdctrls/lists/ListBox.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/paint/Painting.h"

namespace {

constexpr int kPopupListItems = 100000;

double PopupBenchSeconds()
{
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void FillPopupBenchItems(TStrings* Items)
{
  Items->BeginUpdate();
  for (int i = 0; i < kPopupListItems; ++i)
    Items->Add(AnsiString(i % 2 ? "合同-" : "Contract-") + AnsiString(std::to_string(100000 + i)));
  Items->EndUpdate();
}

struct TPopupBenchDesk {
  std::unique_ptr<TComponent> Owner;
  TForm* Form = nullptr;
  TcxPopupEdit* Edit = nullptr;
  TListBox* Plain = nullptr;
  TPopupBenchDesk()
  {
    Headless::Start(1024, 768);
    Controls::Initialize();
    Forms::InitializeApplication();
    FrameworkModule::Initialize();
    EditorsModule::Initialize();
    Owner = std::make_unique<TComponent>(nullptr);
    Form = new TForm(Owner.get());
    Form->SetBounds(50, 50, 600, 500);
    Form->Show();
    Edit = new TcxPopupEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 200, 21);
    auto* list = new TcxListBox(Form);
    list->SetParent(Form);
    list->SetBounds(300, 10, 250, 200);
    list->SetVisible(false);
    FillPopupBenchItems(list->GetItems());
    Edit->Properties()->SetPopupControl(list);
    Plain = new TListBox(Form);
    Plain->SetParent(Form);
    Plain->SetBounds(10, 250, 250, 200);
    Plain->SetVisible(false);
    FillPopupBenchItems(Plain->GetItems());
    Controls::ProcessMessages();
  }
};

TPopupBenchDesk& PopupDesk()
{
  static TPopupBenchDesk desk;  // lives for the run
  return desk;
}

void BM_PopupListOpen(benchmark::State& state)
{
  TPopupBenchDesk& d = PopupDesk();
  double ours = 0, peer = 0;
  int iterations = 0;
  for (auto _ : state) {
    const double t0 = PopupBenchSeconds();
    d.Edit->SetDroppedDown(true);
    Controls::ProcessMessages();
    Windows::UpdateWindow(d.Edit->GetPopupWindow()->GetHandle());
    d.Edit->SetDroppedDown(false);
    Controls::ProcessMessages();
    const double t1 = PopupBenchSeconds();
    d.Plain->SetVisible(true);
    Controls::ProcessMessages();
    Windows::UpdateWindow(d.Plain->GetHandle());
    d.Plain->SetVisible(false);
    Controls::ProcessMessages();
    const double t2 = PopupBenchSeconds();
    ours += t1 - t0;
    peer += t2 - t1;
    ++iterations;
    state.SetIterationTime(t1 - t0);
  }
  state.counters["popup_ms"] = ours * 1000 / iterations;
  state.counters["listbox_ms"] = peer * 1000 / iterations;
  state.counters["ratio"] = ours / peer;
}
BENCHMARK(BM_PopupListOpen)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
