// A tree view taking 100,000 nodes through Items inside BeginUpdate, beside the same items
// inserted with raw TVM_INSERTITEM messages in the same run. Prints the ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "platform/commctrl/bench/RatioReporter.h"
#include "platform/commctrl/tree/TreeView.h"
#include "platform/forms/forms/Form.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/comctrls/TreeView.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/queue/Messages.h"

namespace {

constexpr int kTreeNodes = 100000;
constexpr int kPerBranch = 100;  // a branch of 100 children every 101 nodes

// A tree view on a shown form, with its window made.
struct TreeHost {
  TreeHost()
  {
    Headless::Start(1024, 768);
    StdCtrls::Initialize();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 600, 400);
    Tree = new TTreeView(Form);
    Tree->SetParent(Form);
    Tree->SetBounds(10, 10, 300, 300);
    Form->Show();
    Tree->GetHandle();
  }
  ~TreeHost() { delete Form; }
  TForm* Form;
  TTreeView* Tree;
};

AnsiString NodeText(int i) { return "合同 " + std::to_string(i); }

void BM_TreeNodesAdd(benchmark::State& state)
{
  TreeHost host;
  TTreeNodes* items = host.Tree->GetItems();
  for (auto _ : state) {
    items->BeginUpdate();
    items->Clear();
    TTreeNode* branch = nullptr;
    for (int i = 0; i < kTreeNodes; ++i) {
      if (i % (kPerBranch + 1) == 0)
        branch = items->Add(nullptr, NodeText(i));
      else
        items->AddChild(branch, NodeText(i));
    }
    items->EndUpdate();
    benchmark::DoNotOptimize(items->GetCount());
  }
}

void BM_RawInsertItems(benchmark::State& state)
{
  TreeHost host;
  HWND h = host.Tree->GetHandle();
  for (auto _ : state) {
    Windows::SendMessage(h, WM_SETREDRAW, FALSE, 0);
    Windows::SendMessage(h, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    HTREEITEM branch = nullptr;
    for (int i = 0; i < kTreeNodes; ++i) {
      AnsiString text = NodeText(i);
      TVINSERTSTRUCT ins;
      bool top = i % (kPerBranch + 1) == 0;
      ins.hParent = top ? TVI_ROOT : branch;
      ins.hInsertAfter = TVI_LAST;
      ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
      ins.item.pszText = text.data();
      auto item =
          reinterpret_cast<HTREEITEM>(Windows::SendMessage(h, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&ins)));
      if (top) branch = item;
    }
    Windows::SendMessage(h, WM_SETREDRAW, TRUE, 0);
  }
}

}  // namespace

BENCHMARK(BM_TreeNodesAdd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawInsertItems)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  double nodes = reporter.Times["BM_TreeNodesAdd"], raw = reporter.Times["BM_RawInsertItems"];
  if (nodes > 0 && raw > 0)
    std::printf("100,000 nodes into a tree view, Items.Add in BeginUpdate / TVM_INSERTITEM: %.2fx\n", nodes / raw);
  benchmark::Shutdown();
  return 0;
}
