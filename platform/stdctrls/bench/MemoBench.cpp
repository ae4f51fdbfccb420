// A memo taking 1 MB of text through Lines (all at once, and line by line inside BeginUpdate),
// and a list box taking 100,000 lines through Items inside BeginUpdate, each beside the same
// work done with raw messages to the window. Prints the ratios.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/bench/RatioReporter.h"
#include "platform/forms/forms/Form.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/edits/Memo.h"
#include "platform/stdctrls/lists/ListBox.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/queue/Messages.h"

namespace {

constexpr std::size_t kBytes = 1 << 20;

// About 1 MB of contract lines, Chinese and ASCII mixed.
const std::vector<AnsiString>& Lines()
{
  static const std::vector<AnsiString> lines = [] {
    std::vector<AnsiString> out;
    std::size_t total = 0;
    for (int i = 0; total < kBytes; ++i) {
      AnsiString line = "合同 HT-" + std::to_string(100000 + i) + " 甲方按期付款，乙方按期交货。";
      total += line.size() + 2;
      out.push_back(line);
    }
    return out;
  }();
  return lines;
}

const AnsiString& Text()
{
  static const AnsiString text = [] {
    AnsiString t;
    for (const AnsiString& l : Lines()) t += l + "\r\n";
    return t;
  }();
  return text;
}

// A memo on a shown form, with its window made.
struct Host {
  Host()
  {
    Headless::Start(1024, 768);
    StdCtrls::Initialize();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 600, 400);
    Memo = new TMemo(Form);
    Memo->SetParent(Form);
    Memo->SetBounds(10, 10, 500, 300);
    Memo->SetScrollBars(ssBoth);
    Form->Show();
  }
  ~Host() { delete Form; }
  TForm* Form;
  TMemo* Memo;
};

void BM_MemoLinesSetText(benchmark::State& state)
{
  Host host;
  for (auto _ : state) {
    // Emptied first: a text set to what the memo holds changes nothing.
    host.Memo->GetLines()->Clear();
    host.Memo->GetLines()->SetText(Text());
    benchmark::DoNotOptimize(host.Memo->GetLines()->GetCount());
  }
}

void BM_RawSetText(benchmark::State& state)
{
  Host host;
  HWND h = host.Memo->GetHandle();
  for (auto _ : state) {
    Windows::SendMessage(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    Windows::SendMessage(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text().c_str()));
    benchmark::DoNotOptimize(Windows::SendMessage(h, EM_GETLINECOUNT, 0, 0));
  }
}

void BM_MemoLinesAdd(benchmark::State& state)
{
  Host host;
  TStrings* lines = host.Memo->GetLines();
  for (auto _ : state) {
    lines->Clear();
    lines->BeginUpdate();
    for (const AnsiString& l : Lines()) lines->Add(l);
    lines->EndUpdate();
  }
}

void BM_RawAppendLines(benchmark::State& state)
{
  Host host;
  HWND h = host.Memo->GetHandle();
  for (auto _ : state) {
    Windows::SendMessage(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    Windows::SendMessage(h, WM_SETREDRAW, FALSE, 0);
    bool first = true;
    for (const AnsiString& l : Lines()) {
      AnsiString piece = first ? l : "\r\n" + l;
      first = false;
      LRESULT end = Windows::SendMessage(h, WM_GETTEXTLENGTH, 0, 0);
      Windows::SendMessage(h, EM_SETSEL, WPARAM(end), LPARAM(end));
      Windows::SendMessage(h, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(piece.c_str()));
    }
    Windows::SendMessage(h, WM_SETREDRAW, TRUE, 0);
  }
}

constexpr int kListLines = 100000;

void BM_ListBoxItemsAdd(benchmark::State& state)
{
  Host host;
  auto* list = new TListBox(host.Form);
  list->SetParent(host.Form);
  list->SetBounds(10, 10, 300, 300);
  list->GetHandle();
  TStrings* items = list->GetItems();
  for (auto _ : state) {
    items->BeginUpdate();
    items->Clear();
    for (int i = 0; i < kListLines; ++i) items->Add("合同 " + std::to_string(i));
    items->EndUpdate();
  }
}

void BM_RawAddStrings(benchmark::State& state)
{
  Host host;
  auto* list = new TListBox(host.Form);
  list->SetParent(host.Form);
  list->SetBounds(10, 10, 300, 300);
  HWND h = list->GetHandle();
  for (auto _ : state) {
    Windows::SendMessage(h, WM_SETREDRAW, FALSE, 0);
    Windows::SendMessage(h, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < kListLines; ++i) {
      AnsiString line = "合同 " + std::to_string(i);
      Windows::SendMessage(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    Windows::SendMessage(h, WM_SETREDRAW, TRUE, 0);
  }
}

}  // namespace

BENCHMARK(BM_ListBoxItemsAdd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawAddStrings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoLinesSetText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawSetText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoLinesAdd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawAppendLines)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto ratio = [&](const char* what, const char* a, const char* b) {
    double x = reporter.Times[a], y = reporter.Times[b];
    if (x > 0 && y > 0) std::printf("%s: %.2fx\n", what, x / y);
  };
  ratio("1 MB into a memo, Lines.Text / WM_SETTEXT", "BM_MemoLinesSetText", "BM_RawSetText");
  ratio("1 MB line by line, Lines.Add in BeginUpdate / EM_REPLACESEL at the end", "BM_MemoLinesAdd",
        "BM_RawAppendLines");
  ratio("100,000 lines into a list box, Items.Add in BeginUpdate / LB_ADDSTRING", "BM_ListBoxItemsAdd",
        "BM_RawAddStrings");
  benchmark::Shutdown();
  return 0;
}
