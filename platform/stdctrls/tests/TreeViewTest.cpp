// Tree views on a headless form: nodes kept before and across windows, the order of the add
// and insert calls, the events of selection, expansion, editing, deletion and dragging, sorting.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/commctrl/tree/TreeView.h"
#include "platform/forms/controls/Messages.h"
#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/comctrls/TreeView.h"
#include "platform/stdctrls/tests/StdCtrlsTestUtil.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace {

// The nodes as "a(b,c),d", from the objects.
std::string TreeShapeOfNodes(TTreeNode* First)
{
  std::string out;
  for (TTreeNode* n = First; n; n = n->GetNextSibling()) {
    if (!out.empty()) out += ",";
    out += n->GetText();
    if (n->GetHasChildren()) out += "(" + TreeShapeOfNodes(n->GetFirstChild()) + ")";
  }
  return out;
}

// The same, from the window's items.
std::string TreeShapeOfWindow(HWND Tree, HTREEITEM First)
{
  std::string out;
  for (HTREEITEM h = First; h;
       h = reinterpret_cast<HTREEITEM>(Windows::SendMessage(Tree, TVM_GETNEXTITEM, TVGN_NEXT, LPARAM(h)))) {
    char text[64] = {};
    TVITEM item;
    item.mask = TVIF_TEXT;
    item.hItem = h;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    Windows::SendMessage(Tree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
    if (!out.empty()) out += ",";
    out += text;
    auto child = reinterpret_cast<HTREEITEM>(Windows::SendMessage(Tree, TVM_GETNEXTITEM, TVGN_CHILD, LPARAM(h)));
    if (child) out += "(" + TreeShapeOfWindow(Tree, child) + ")";
  }
  return out;
}

class TreeViewsTest : public FormsTest {
protected:
  void SetUp() override
  {
    FormsTest::SetUp();
    StdCtrls::Initialize();
    Form = MakeForm(400, 300);
    Tree = new TTreeView(Owner.get());
    Tree->SetParent(Form);
    Tree->SetBounds(10, 10, 250, 250);
    Tree->OnChanging = [this](TObject*, TTreeNode* N, bool& Allow) {
      Log.push_back("changing " + Name(N));
      Allow = !Refuse || Refuse != N;
    };
    Tree->OnChange = [this](TObject*, TTreeNode* N) { Log.push_back("change " + Name(N)); };
    Tree->OnExpanding = [this](TObject*, TTreeNode* N, bool& Allow) {
      Log.push_back("expanding " + Name(N));
      Allow = !Refuse || Refuse != N;
    };
    Tree->OnExpanded = [this](TObject*, TTreeNode* N) { Log.push_back("expanded " + Name(N)); };
    Tree->OnCollapsing = [this](TObject*, TTreeNode* N, bool& Allow) {
      Log.push_back("collapsing " + Name(N));
      Allow = !Refuse || Refuse != N;
    };
    Tree->OnCollapsed = [this](TObject*, TTreeNode* N) { Log.push_back("collapsed " + Name(N)); };
    Tree->OnDeletion = [this](TObject*, TTreeNode* N) { Log.push_back("deletion " + Name(N)); };
  }
  static std::string Name(TTreeNode* N) { return N ? std::string(N->GetText()) : "nil"; }
  // 合同管理(采购,销售(内销,外销)),往来单位(客户),退出系统
  void Build()
  {
    TTreeNodes* items = Tree->GetItems();
    Contracts = items->Add(nullptr, "合同管理");
    Buy = items->AddChild(Contracts, "采购");
    Sell = items->AddChild(Contracts, "销售");
    items->AddChild(Sell, "内销");
    items->AddChild(Sell, "外销");
    Parties = items->Add(nullptr, "往来单位");
    items->AddChild(Parties, "客户");
    items->Add(nullptr, "退出系统");
  }
  void ClickAt(POINT Client, bool Double = false)
  {
    ClickClient(Tree, Client, Double ? 2 : 1);
    Pump();
  }
  POINT LabelOf(TTreeNode* N)
  {
    RECT r = N->DisplayRect(true);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  TForm* Form = nullptr;
  TTreeView* Tree = nullptr;
  TTreeNode *Contracts = nullptr, *Buy = nullptr, *Sell = nullptr, *Parties = nullptr;
  TTreeNode* Refuse = nullptr;
  std::vector<std::string> Log;
};

}  // namespace

TEST_F(TreeViewsTest, NodesLiveBeforeAndAcrossWindows)
{
  Build();
  // A pointer that needs more than 32 bits survives as node data.
  void* wide = reinterpret_cast<void*>(std::uintptr_t(0x12345678ABCDull));
  Sell->SetData(wide);
  Sell->SetImageIndex(13);
  Sell->SetSelectedIndex(26);
  Contracts->SetExpanded(true);
  EXPECT_FALSE(Tree->HandleAllocated());
  EXPECT_EQ(Tree->GetItems()->GetCount(), 8);
  EXPECT_EQ(Name(Tree->GetItems()->GetItem(4)), "外销");
  EXPECT_EQ(Sell->GetAbsoluteIndex(), 2);
  EXPECT_EQ(Tree->GetItems()->GetItem(2)->GetLevel(), 1);
  EXPECT_THROW(Tree->GetItems()->GetItem(8), EListError);
  EXPECT_THROW(Contracts->GetItem(2), EListError);

  Form->Show();
  HWND h = Tree->GetHandle();
  const std::string shape = "合同管理(采购,销售(内销,外销)),往来单位(客户),退出系统";
  EXPECT_EQ(TreeShapeOfWindow(h, Tree->GetItems()->GetFirstNode()->GetItemId()), shape);
  EXPECT_EQ(Windows::SendMessage(h, TVM_GETCOUNT, 0, 0), 8);
  Log.clear();
  Sell->SetSelected(true);
  EXPECT_EQ(Log, (std::vector<std::string>{"changing 销售", "change 销售"}));

  Log.clear();
  Tree->RecreateWnd();
  EXPECT_TRUE(Log.empty()) << "making the window again is no change";
  EXPECT_EQ(TreeShapeOfNodes(Tree->GetItems()->GetFirstNode()), shape);
  EXPECT_EQ(Tree->GetSelected(), Sell);
  EXPECT_TRUE(Contracts->GetExpanded());
  EXPECT_EQ(Tree->GetItems()->GetNode(Sell->GetItemId()), Sell);
  TVITEM item;
  item.mask = TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  item.hItem = Sell->GetItemId();
  Windows::SendMessage(Tree->GetHandle(), TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.iImage, 13);
  EXPECT_EQ(item.iSelectedImage, 26);
  EXPECT_EQ(static_cast<TTreeNode*>(reinterpret_cast<TTreeNode*>(item.lParam))->GetData(), wide);
}

TEST_F(TreeViewsTest, AddAndInsertPlaceNodesAsTheClassicCallsDo)
{
  struct Case {
    const char* what;
    std::function<void(TTreeNodes*, TTreeNode* a, TTreeNode* b)> act;
    const char* shape;  // starting from "a(a1),b"
  };
  const Case cases[] = {
      {"Add after the sibling's last sibling", [](TTreeNodes* n, TTreeNode* a, TTreeNode*) { n->Add(a, "x"); },
       "a(a1),b,x"},
      {"AddFirst before the first", [](TTreeNodes* n, TTreeNode*, TTreeNode* b) { n->AddFirst(b, "x"); }, "x,a(a1),b"},
      {"AddChild at the end", [](TTreeNodes* n, TTreeNode* a, TTreeNode*) { n->AddChild(a, "x"); }, "a(a1,x),b"},
      {"AddChildFirst at the front", [](TTreeNodes* n, TTreeNode* a, TTreeNode*) { n->AddChildFirst(a, "x"); },
       "a(x,a1),b"},
      {"AddChild to a leaf", [](TTreeNodes* n, TTreeNode*, TTreeNode* b) { n->AddChild(b, "x"); }, "a(a1),b(x)"},
      {"Insert just before", [](TTreeNodes* n, TTreeNode*, TTreeNode* b) { n->Insert(b, "x"); }, "a(a1),x,b"},
      {"Insert before a child", [](TTreeNodes* n, TTreeNode* a, TTreeNode*) { n->Insert(a->GetFirstChild(), "x"); },
       "a(x,a1),b"},
      {"Insert with no sibling appends", [](TTreeNodes* n, TTreeNode*, TTreeNode*) { n->Insert(nullptr, "x"); },
       "a(a1),b,x"},
      {"Delete a branch", [](TTreeNodes* n, TTreeNode* a, TTreeNode*) { n->Delete(a); }, "b"},
      {"DeleteChildren", [](TTreeNodes*, TTreeNode* a, TTreeNode*) { a->DeleteChildren(); }, "a,b"},
      {"Clear", [](TTreeNodes* n, TTreeNode*, TTreeNode*) { n->Clear(); }, ""},
  };
  for (bool windowed : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (windowed ? " (window)" : " (no window)"));
      TTreeNodes* items = Tree->GetItems();
      items->Clear();
      TTreeNode* a = items->Add(nullptr, "a");
      items->AddChild(a, "a1");
      TTreeNode* b = items->Add(nullptr, "b");
      if (windowed) Form->Show();
      c.act(items, a, b);
      EXPECT_EQ(TreeShapeOfNodes(items->GetFirstNode()), c.shape);
      int count = 0;
      for (TTreeNode* n = items->GetFirstNode(); n; n = n->GetNext()) {
        EXPECT_EQ(n->GetAbsoluteIndex(), count);
        EXPECT_EQ(items->GetItem(count), n);
        ++count;
      }
      EXPECT_EQ(items->GetCount(), count);
      if (windowed) {
        HWND h = Tree->GetHandle();
        EXPECT_EQ(Windows::SendMessage(h, TVM_GETCOUNT, 0, 0), count);
        auto first = reinterpret_cast<HTREEITEM>(Windows::SendMessage(h, TVM_GETNEXTITEM, TVGN_ROOT, 0));
        EXPECT_EQ(TreeShapeOfWindow(h, first), c.shape);
      }
    }
  }
}

TEST_F(TreeViewsTest, SelectionAsksFirstAndARefusalKeepsIt)
{
  Build();
  Form->Show();
  Contracts->Expand(false);
  Log.clear();

  ClickAt(LabelOf(Buy));
  EXPECT_EQ(Tree->GetSelected(), Buy);
  Refuse = Sell;
  ClickAt(LabelOf(Sell));
  EXPECT_EQ(Tree->GetSelected(), Buy);
  Sell->SetSelected(true);
  EXPECT_EQ(Tree->GetSelected(), Buy);
  EXPECT_EQ(Log, (std::vector<std::string>{"changing 采购", "change 采购", "changing 销售", "changing 销售"}));

  // Deleting the selected node moves the selection on, as a change.
  Log.clear();
  Refuse = nullptr;
  Buy->Delete();
  EXPECT_EQ(Tree->GetSelected(), Sell);
  EXPECT_EQ(Log, (std::vector<std::string>{"changing 销售", "change 销售", "deletion 采购"}));
  Log.clear();
  Tree->SetSelected(nullptr);
  EXPECT_EQ(Log, (std::vector<std::string>{"changing nil", "change nil"}));
}

TEST_F(TreeViewsTest, ExpandingAndCollapsingAskFirst)
{
  Build();
  for (bool windowed : {false, true}) {
    SCOPED_TRACE(windowed ? "window" : "no window");
    if (windowed) Form->Show();
    Log.clear();
    Refuse = Parties;
    Parties->Expand(false);
    EXPECT_FALSE(Parties->GetExpanded());
    Refuse = nullptr;
    Contracts->Expand(true);
    EXPECT_TRUE(Sell->GetExpanded());
    Buy->Expand(false);  // no children: nothing happens
    Contracts->Collapse(false);
    EXPECT_FALSE(Contracts->GetExpanded());
    EXPECT_TRUE(Sell->GetExpanded()) << "a collapse leaves the branch below as it was";
    EXPECT_EQ(Log, (std::vector<std::string>{"expanding 往来单位", "expanding 合同管理", "expanded 合同管理",
                                             "expanding 销售", "expanded 销售", "collapsing 合同管理",
                                             "collapsed 合同管理"}));
    Sell->Collapse(false);
  }
  // The user's double click on a label toggles it.
  Log.clear();
  ClickAt(LabelOf(Parties), true);
  EXPECT_TRUE(Parties->GetExpanded());
  EXPECT_NE(std::find(Log.begin(), Log.end(), "expanded 往来单位"), Log.end());
}

TEST_F(TreeViewsTest, DeletionReportsChildrenBeforeTheirParent)
{
  Build();
  for (bool windowed : {false, true}) {
    SCOPED_TRACE(windowed ? "window" : "no window");
    if (windowed) Form->Show();
    Log.clear();
    Contracts->Delete();
    EXPECT_EQ(Log, (std::vector<std::string>{"deletion 采购", "deletion 内销", "deletion 外销", "deletion 销售",
                                             "deletion 合同管理"}));
    EXPECT_EQ(Tree->GetItems()->GetCount(), 3);
    Tree->GetItems()->Clear();
    EXPECT_EQ(Tree->GetItems()->GetCount(), 0);
    Build();
  }
  // A tree that goes with its form reports nothing: the handlers' form may be half gone.
  Log.clear();
  delete Tree;
  EXPECT_TRUE(Log.empty());
}

TEST_F(TreeViewsTest, EditingAsksAndTheEditedTextIsTheHandlers)
{
  Build();
  Form->Show();
  Tree->OnEditing = [](TObject*, TTreeNode* N, bool& Allow) { Allow = N->GetText() != "退出系统"; };
  Tree->OnEdited = [](TObject*, TTreeNode*, AnsiString& S) { S = S + "部"; };
  TTreeNode* quit = Tree->GetItems()->GetItem(7);
  EXPECT_FALSE(quit->EditText());
  ASSERT_TRUE(Parties->EditText());
  EXPECT_TRUE(Tree->IsEditing());
  auto edit = reinterpret_cast<HWND>(Windows::SendMessage(Tree->GetHandle(), TVM_GETEDITCONTROL, 0, 0));
  Windows::SetWindowText(edit, "单位");
  Windows::SendMessage(Tree->GetHandle(), TVM_ENDEDITLABELNOW, FALSE, 0);
  EXPECT_EQ(Parties->GetText(), "单位部");
  EXPECT_EQ(TreeShapeOfWindow(Tree->GetHandle(), Contracts->GetItemId()),
            "合同管理(采购,销售(内销,外销)),单位部(客户),退出系统");

  Tree->SetReadOnly(true);
  EXPECT_FALSE(Parties->EditText());
}

TEST_F(TreeViewsTest, SortingOrdersEveryLevelAndKeepsEqualsInPlace)
{
  struct Case {
    const char* what;
    std::function<void(TTreeView*)> sort;
    const char* shape;
  };
  auto byDataDescending = [](LPARAM A, LPARAM B, LPARAM) {
    auto a = reinterpret_cast<std::intptr_t>(reinterpret_cast<TTreeNode*>(A)->GetData());
    auto b = reinterpret_cast<std::intptr_t>(reinterpret_cast<TTreeNode*>(B)->GetData());
    return int(b - a);
  };
  const Case cases[] = {
      // GB2312 keeps its common characters in pinyin order: 采 < 销, 合 < 往 < 退.
      {"AlphaSort, every level", [](TTreeView* t) { t->AlphaSort(); }, "b(x,y),b,合同(采,销),退出,往来"},
      {"AlphaSort, top level only", [](TTreeView* t) { t->AlphaSort(false); }, "b(y,x),b,合同(销,采),退出,往来"},
      {"one node's children", [](TTreeView* t) { t->GetItems()->GetItem(1)->AlphaSort(); },
       "退出,合同(采,销),往来,b(y,x),b"},
      {"CustomSort by data", [&](TTreeView* t) { t->CustomSort(byDataDescending, 0); },
       "b,b(x,y),往来,合同(采,销),退出"},
      {"OnCompare replaces the text order",
       [](TTreeView* t) {
         t->OnCompare = [](TObject*, TTreeNode* A, TTreeNode* B, int, int& R) {
           R = int(A->GetText().size()) - int(B->GetText().size());
         };
         t->AlphaSort();
         t->OnCompare = nullptr;
       },
       "b(y,x),b,退出,合同(销,采),往来"},
  };
  for (bool windowed : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (windowed ? " (window)" : " (no window)"));
      TTreeNodes* items = Tree->GetItems();
      items->Clear();
      int data = 0;
      auto add = [&](TTreeNode* parent, const char* s) {
        return items->AddChildObject(parent, s, reinterpret_cast<void*>(std::intptr_t(++data)));
      };
      add(nullptr, "退出");
      TTreeNode* contracts = add(nullptr, "合同");
      add(contracts, "销");
      add(contracts, "采");
      add(nullptr, "往来");
      TTreeNode* b1 = add(nullptr, "b");
      add(b1, "y");
      add(b1, "x");
      add(nullptr, "b");
      if (windowed) Form->Show();
      c.sort(Tree);
      EXPECT_EQ(TreeShapeOfNodes(items->GetFirstNode()), c.shape);
      EXPECT_EQ(items->GetItem(1)->GetAbsoluteIndex(), 1);
      if (windowed) {
        HWND h = Tree->GetHandle();
        auto first = reinterpret_cast<HTREEITEM>(Windows::SendMessage(h, TVM_GETNEXTITEM, TVGN_ROOT, 0));
        EXPECT_EQ(TreeShapeOfWindow(h, first), c.shape);
      }
    }
  }
}

TEST_F(TreeViewsTest, NodeAtAPointAndDraggingANode)
{
  Build();
  EXPECT_EQ(Tree->GetNodeAt(20, 5), nullptr) << "no window, no rows";
  Form->Show();
  Contracts->Expand(false);
  POINT buy = LabelOf(Buy), parties = LabelOf(Parties);
  EXPECT_EQ(Tree->GetNodeAt(buy.x, buy.y), Buy);
  EXPECT_EQ(Tree->GetNodeAt(200, buy.y), Buy) << "right of the label is still the row";
  EXPECT_EQ(Tree->GetNodeAt(buy.x, 240), nullptr);

  std::vector<std::string> drag;
  Tree->SetDragMode(dmAutomatic);
  Tree->OnStartDrag = [&](TObject*, TDragObject*&) { drag.push_back("start " + Name(Tree->GetDraggedNode())); };
  Tree->OnDragOver = [&](TObject*, TObject* Source, int, int, TDragState, bool& Accept) { Accept = Source == Tree; };
  Tree->OnDragDrop = [&](TObject*, TObject*, int X, int Y) {
    drag.push_back("drop " + Name(Tree->GetDraggedNode()) + " on " + Name(Tree->GetNodeAt(X, Y)) +
                   (Tree->GetDropTarget() ? " marked" : ""));
  };
  POINT from = Tree->ClientToScreen(buy), to = Tree->ClientToScreen(parties);
  InputQueue::MouseMove(from.x, from.y);
  InputQueue::MouseDown(InputQueue::Button::Left, from.x, from.y);
  for (int step = 1; step <= 4; ++step) InputQueue::MouseMove(from.x, from.y + (to.y - from.y) * step / 4);
  Pump();
  EXPECT_EQ(Tree->GetDropTarget(), Parties);
  InputQueue::MouseUp(InputQueue::Button::Left, to.x, to.y);
  Pump();
  EXPECT_EQ(drag, (std::vector<std::string>{"start 采购", "drop 采购 on 往来单位 marked"}));
  EXPECT_EQ(Tree->GetDropTarget(), nullptr);
}

TEST_F(TreeViewsTest, UpdatesAreHeldUntilTheOutermostEnd)
{
  Form->Show();
  TTreeNodes* items = Tree->GetItems();
  items->BeginUpdate();
  items->BeginUpdate();
  for (int i = 0; i < 50; ++i) items->Add(nullptr, "合同 " + std::to_string(i));
  items->EndUpdate();
  EXPECT_EQ(items->GetUpdateCount(), 1);
  items->EndUpdate();
  items->EndUpdate();  // one too many changes nothing
  EXPECT_EQ(items->GetUpdateCount(), 0);
  EXPECT_EQ(Windows::SendMessage(Tree->GetHandle(), TVM_GETCOUNT, 0, 0), 50);
  EXPECT_EQ(Name(items->GetItem(49)), "合同 49");
}
