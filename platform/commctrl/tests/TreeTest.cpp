// The tree view: its model's handles, relations, rows, sorting and type-ahead as tables; the
// parent's notification sequences for selection by mouse and keys (one refused), children given
// by callback, deletion, sorted insertion, label editing and dragging; hit tests and item
// rectangles; the tree focused and not drawn into a PNG.
#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/commctrl/edit/Edit.h"
#include "platform/commctrl/tests/CtlTest.h"
#include "platform/commctrl/tests/NotifySpy.h"
#include "platform/commctrl/tree/TreeModel.h"
#include "platform/commctrl/tree/TreeView.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/rtl/StringUtils.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

using Seq = std::vector<std::string>;

TreeModel::Item Text(const char* text, LPARAM id = 0)
{
  TreeModel::Item it;
  it.Text = text;
  it.Param = id;
  return it;
}

AnsiString TextOf(const TreeModel& m, HTREEITEM h) { return m.At(h) ? m.At(h)->Text : AnsiString("?"); }

// The texts of the children of `parent`, in order, joined by spaces.
std::string Children(const TreeModel& m, HTREEITEM parent)
{
  std::string out;
  for (HTREEITEM c = m.Child(parent); c; c = m.Next(c)) out += (out.empty() ? "" : " ") + TextOf(m, c);
  return out;
}

std::string RowTexts(const TreeModel& m)
{
  std::string out;
  for (HTREEITEM h : m.Rows()) out += (out.empty() ? "" : " ") + TextOf(m, h);
  return out;
}

}  // namespace

TEST(TreeModel, StaleAndMadeUpHandlesAnswerNoItem)
{
  TreeModel m;
  HTREEITEM a = m.Insert(TVI_ROOT, TVI_LAST, Text("a"));
  HTREEITEM b = m.Insert(a, TVI_LAST, Text("b"));
  ASSERT_TRUE(a && b);
  ASSERT_TRUE(m.Delete(a));
  HTREEITEM c = m.Insert(nullptr, TVI_LAST, Text("c"));  // takes a freed slot
  HTREEITEM madeUp = reinterpret_cast<HTREEITEM>(UINT_PTR(0x12345678));
  for (HTREEITEM h : {a, b, madeUp}) {
    EXPECT_EQ(m.At(h), nullptr);
    EXPECT_FALSE(m.Delete(h));
    EXPECT_EQ(m.Parent(h), nullptr);
    EXPECT_EQ(m.Child(h), nullptr);
    EXPECT_EQ(m.Next(h), nullptr);
    EXPECT_FALSE(m.SetExpanded(h, true));
    EXPECT_EQ(m.RowOf(h), -1);
    EXPECT_EQ(m.Insert(h, TVI_LAST, Text("x")), nullptr) << "no child of a stale parent";
    EXPECT_EQ(m.Insert(nullptr, h, Text("x")), nullptr) << "no place after a stale sibling";
    EXPECT_FALSE(m.SortChildren(h, false, [](HTREEITEM, HTREEITEM) { return false; }));
  }
  EXPECT_NE(c, a);
  EXPECT_NE(c, b);
  EXPECT_EQ(m.Count(), 1);
  EXPECT_EQ(m.Insert(c, m.Root(), Text("x")), nullptr) << "`after` must be a child of the parent";
}

TEST(TreeModel, InsertsFirstLastAfterAndSortedInChineseOrder)
{
  TreeModel m;
  HTREEITEM root = m.Insert(nullptr, TVI_LAST, Text("root"));
  struct Case {
    const char* text;
    HTREEITEM after;
    const char* children;
  } cases[] = {
      {"b", TVI_LAST, "b"},          {"d", TVI_LAST, "b d"},       {"a", TVI_FIRST, "a b d"},
      {"c", TVI_SORT, "a b c d"},    {"B", TVI_SORT, "a b B c d"},  // case ignored: after the equal "b"
      {"e", nullptr, "a b B c d e"},                                // null: last
  };
  for (const Case& k : cases) {
    m.Insert(root, k.after, Text(k.text));
    EXPECT_EQ(Children(m, root), k.children) << k.text;
  }
  HTREEITEM b = m.Next(m.Child(root));
  m.Insert(root, b, Text("after-b"));
  EXPECT_EQ(Children(m, root), "a b after-b B c d e");

  // Chinese texts go in code page order, which is pinyin order for the common characters.
  TreeModel cn;
  std::vector<AnsiString> texts{"合同", "北京", "上海", "abc", "广州", "中国", "Abd", "安徽"};
  for (const AnsiString& t : texts) cn.Insert(nullptr, TVI_SORT, Text(t.c_str()));
  std::vector<AnsiString> want = texts;
  std::stable_sort(want.begin(), want.end(),
                   [](const AnsiString& x, const AnsiString& y) { return SysUtils::AnsiCompareText(x, y) < 0; });
  std::vector<AnsiString> got;
  for (HTREEITEM h = cn.Root(); h; h = cn.Next(h)) got.push_back(cn.At(h)->Text);
  EXPECT_EQ(got, want);
  EXPECT_EQ(got[2], AnsiString("安徽")) << "an before bei";
  EXPECT_EQ(got.back(), AnsiString("中国"));
}

TEST(TreeModel, DeletionGoesChildrenFirstAndRowsFollowExpansion)
{
  TreeModel m;
  HTREEITEM a = m.Insert(nullptr, TVI_LAST, Text("a"));
  HTREEITEM a1 = m.Insert(a, TVI_LAST, Text("a1"));
  m.Insert(a1, TVI_LAST, Text("a1x"));
  m.Insert(a, TVI_LAST, Text("a2"));
  HTREEITEM b = m.Insert(nullptr, TVI_LAST, Text("b"));
  m.Insert(b, TVI_LAST, Text("b1"));
  EXPECT_EQ(RowTexts(m), "a b");
  struct Case {
    HTREEITEM item;
    bool expand;
    const char* rows;
  } cases[] = {
      {a, true, "a a1 a2 b"},        {a1, true, "a a1 a1x a2 b"}, {a, false, "a b"},
      {a, true, "a a1 a1x a2 b"},  // a1 stayed open
      {b, true, "a a1 a1x a2 b b1"},
  };
  for (const Case& k : cases) {
    m.SetExpanded(k.item, k.expand);
    EXPECT_EQ(RowTexts(m), k.rows);
  }
  EXPECT_EQ(m.RowOf(a1), 1);
  EXPECT_EQ(TextOf(m, m.NextVisible(a1)), "a1x");
  EXPECT_EQ(TextOf(m, m.PrevVisible(b)), "a2");
  EXPECT_EQ(TextOf(m, m.LastVisible()), "b1");
  EXPECT_EQ(m.Level(m.Child(a1)), 2);
  EXPECT_TRUE(m.At(a)->State & TVIS_EXPANDEDONCE);

  m.SetCaret(a1);
  std::vector<std::string> gone;
  ASSERT_TRUE(m.Delete(a, [&](HTREEITEM h) {
    ASSERT_TRUE(m.At(h)) << "still answers while it is told";
    gone.push_back(m.At(h)->Text);
  }));
  EXPECT_EQ(gone, (std::vector<std::string>{"a1x", "a1", "a2", "a"}));
  EXPECT_EQ(m.Caret(), nullptr);
  EXPECT_EQ(RowTexts(m), "b b1");
  EXPECT_EQ(m.Count(), 2);
  m.Delete(TVI_ROOT);
  EXPECT_EQ(m.Count(), 0);
  EXPECT_EQ(m.Root(), nullptr);
}

TEST(TreeModel, SortsByTextOrByCallbackAndTypesAheadByCharacter)
{
  TreeModel m;
  HTREEITEM top = m.Insert(nullptr, TVI_LAST, Text("部门", 0));
  int id = 1;
  for (const char* t : {"销售部", "财务部", "办公室", "采购部"}) {
    HTREEITEM h = m.Insert(top, TVI_LAST, Text(t, id++));
    m.Insert(h, TVI_LAST, Text("z", 10));
    m.Insert(h, TVI_LAST, Text("y", 11));
  }
  auto byText = [&](HTREEITEM x, HTREEITEM y) { return SysUtils::AnsiCompareText(m.At(x)->Text, m.At(y)->Text) < 0; };
  m.SortChildren(top, false, byText);
  EXPECT_EQ(Children(m, top), "办公室 财务部 采购部 销售部");
  EXPECT_EQ(Children(m, m.Child(top)), "z y") << "not recursive";
  m.SortChildren(top, true, byText);
  EXPECT_EQ(Children(m, m.Child(top)), "y z");
  m.SortChildren(top, false, [&](HTREEITEM x, HTREEITEM y) { return m.At(x)->Param > m.At(y)->Param; });
  EXPECT_EQ(Children(m, top), "采购部 办公室 财务部 销售部");

  m.SetExpanded(top, true);
  m.SetCaret(top);
  auto text = [&](HTREEITEM h) { return m.At(h)->Text; };
  const AnsiString cai = "采", xiao = "销";
  struct Case {
    AnsiString typed;
    DWORD time;
    const char* found;  // null: nothing found (or a lead byte waits) and the caret stays
  } cases[] = {
      {cai.substr(0, 1), 1000, nullptr},
      {cai.substr(1), 1000, "采购部"},
      {xiao, 1100, nullptr},   // "采销" starts nothing
      {xiao, 3000, "销售部"},  // after a pause: a new search
      {"Z", 5000, nullptr},
  };
  for (const Case& k : cases) {
    HTREEITEM found = nullptr;
    for (char c : k.typed) found = m.TypeChar(c, k.time, text);
    EXPECT_EQ(found ? std::string(TextOf(m, found)) : "none", k.found ? k.found : "none") << k.time;
    if (found) m.SetCaret(found);
  }
  EXPECT_EQ(m.Typed(), AnsiString("Z"));
}

// ==== The window ================================================================================

namespace {

class TreeTest : public CtlTest {
public:
  void SetUp() override
  {
    CtlTest::SetUp();
    InitCommonControls();
    Spy.Install(Parent, [this](const NMHDR* h) { return Describe(h); });
    Spy.Answer = [this](const NMHDR* h) -> LRESULT { return OnNotify ? OnNotify(h) : 0; };
  }
  // Items carry their number in lParam; notifications are told by those numbers.
  std::string Id(const TVITEM& it) const { return it.hItem ? std::to_string(it.lParam) : "-"; }
  std::string Describe(const NMHDR* h) const
  {
    auto* tv = reinterpret_cast<const NMTREEVIEW*>(h);
    auto* di = reinterpret_cast<const NMTVDISPINFO*>(h);
    const char* how[] = {"unknown", "mouse", "key"};
    switch (h->code) {
      case TVN_SELCHANGING: return "changing " + Id(tv->itemOld) + ">" + Id(tv->itemNew) + " " + how[tv->action];
      case TVN_SELCHANGED: return "changed " + Id(tv->itemOld) + ">" + Id(tv->itemNew) + " " + how[tv->action];
      case TVN_ITEMEXPANDING:
        return std::string(tv->action == TVE_EXPAND ? "expanding " : "collapsing ") + Id(tv->itemNew);
      case TVN_ITEMEXPANDED:
        return std::string(tv->action == TVE_EXPAND ? "expanded " : "collapsed ") + Id(tv->itemNew);
      case TVN_DELETEITEM: return "delete " + Id(tv->itemOld);
      case TVN_GETDISPINFO:
        return (di->item.mask & TVIF_CHILDREN) ? "children? " + std::to_string(di->item.lParam) : std::string();
      case TVN_BEGINLABELEDIT: return "begin edit " + Id(di->item);
      case TVN_ENDLABELEDIT:
        return "end edit " + Id(di->item) + " " + (di->item.pszText ? std::string(di->item.pszText) : "(cancelled)");
      case TVN_BEGINDRAG: return "drag " + Id(tv->itemNew);
      case TVN_BEGINRDRAG: return "rdrag " + Id(tv->itemNew);
      case TVN_KEYDOWN: return "key " + std::to_string(reinterpret_cast<const NMTVKEYDOWN*>(h)->wVKey);
      case NM_CLICK: return "click";
      case NM_DBLCLK: return "dblclick";
      case NM_RCLICK: return "rclick";
      default: return {};
    }
  }
  HWND Tree(DWORD style, int x = 10, int y = 10, int w = 200, int h = 160)
  {
    return Make(WC_TREEVIEW, "", style, x, y, w, h, 70, WS_EX_CLIENTEDGE);
  }
  HTREEITEM Add(HWND t, HTREEITEM parent, const char* text, LPARAM id, HTREEITEM after = TVI_LAST)
  {
    TVINSERTSTRUCT ins;
    ins.hParent = parent;
    ins.hInsertAfter = after;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM;
    ins.item.pszText = const_cast<char*>(text);
    ins.item.lParam = id;
    return reinterpret_cast<HTREEITEM>(SendMessage(t, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&ins)));
  }
  HTREEITEM Next(HWND t, UINT how, HTREEITEM h = nullptr)
  {
    return reinterpret_cast<HTREEITEM>(SendMessage(t, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(h)));
  }
  LPARAM IdOf(HWND t, HTREEITEM h)
  {
    TVITEM it;
    it.mask = TVIF_PARAM;
    it.hItem = h;
    return SendMessage(t, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&it)) ? it.lParam : -1;
  }
  std::string TextOf(HWND t, HTREEITEM h)
  {
    char buf[64];
    TVITEM it;
    it.mask = TVIF_TEXT;
    it.hItem = h;
    it.pszText = buf;
    it.cchTextMax = int(sizeof buf);
    return SendMessage(t, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&it)) ? std::string(buf) : "?";
  }
  RECT ItemRect(HWND t, HTREEITEM h, bool textOnly = true)
  {
    RECT r{};
    std::memcpy(static_cast<void*>(&r), &h, sizeof h);
    if (!SendMessage(t, TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(&r))) return RECT{-1, -1, -1, -1};
    return r;
  }
  void ClickItem(HWND t, HTREEITEM h)
  {
    RECT r = ItemRect(t, h);
    Click(t, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  bool Expand(HWND t, HTREEITEM h, UINT how = TVE_EXPAND)
  {
    return SendMessage(t, TVM_EXPAND, how, reinterpret_cast<LPARAM>(h)) != 0;
  }
  // A department tree: 1 总部 { 2 办公室, 3 财务部 { 4 会计科, 5 出纳科 }, 6 销售部 }, 7 分公司.
  struct Depts {
    HTREEITEM head, office, finance, accounts, cashier, sales, branch;
  };
  Depts Fill(HWND t)
  {
    Depts d;
    d.head = Add(t, TVI_ROOT, "总部", 1);
    d.office = Add(t, d.head, "办公室", 2);
    d.finance = Add(t, d.head, "财务部", 3);
    d.accounts = Add(t, d.finance, "会计科", 4);
    d.cashier = Add(t, d.finance, "出纳科", 5);
    d.sales = Add(t, d.head, "销售部", 6);
    d.branch = Add(t, TVI_ROOT, "分公司", 7);
    return d;
  }
  NotifySpy Spy;
  std::function<LRESULT(const NMHDR*)> OnNotify;
};

}  // namespace

TEST_F(TreeTest, SelectionByMouseAndKeysAsksTheParentWhichMayRefuse)
{
  HWND t = Tree(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS);
  Depts d = Fill(t);
  Expand(t, d.head);
  LRESULT refuse = 0;
  OnNotify = [&](const NMHDR* h) { return h->code == TVN_SELCHANGING ? refuse : 0; };
  Spy.Seen.clear();
  struct Case {
    const char* what;
    std::function<void()> act;
    LRESULT refuse;
    Seq seen;
    LPARAM caret;
  } cases[] = {
      {"click", [&] { ClickItem(t, d.office); }, 0, Seq{"changing ->2 mouse", "changed ->2 mouse", "click"}, 2},
      {"click the selected item", [&] { ClickItem(t, d.office); }, 0, Seq{"click"}, 2},
      {"refused click", [&] { ClickItem(t, d.branch); }, 1, Seq{"changing 2>7 mouse", "click"}, 2},
      {"down", [&] { Key(VK_DOWN); }, 0, Seq{"key 40", "changing 2>3 key", "changed 2>3 key"}, 3},
      {"refused down", [&] { Key(VK_DOWN); }, 1, Seq{"key 40", "changing 3>6 key"}, 3},
      {"right expands", [&] { Key(VK_RIGHT); }, 0, Seq{"key 39", "expanding 3", "expanded 3"}, 3},
      {"right again steps in", [&] { Key(VK_RIGHT); }, 0, Seq{"key 39", "changing 3>4 key", "changed 3>4 key"}, 4},
      {"left goes to the parent", [&] { Key(VK_LEFT); }, 0, Seq{"key 37", "changing 4>3 key", "changed 4>3 key"}, 3},
      {"left collapses", [&] { Key(VK_LEFT); }, 0, Seq{"key 37", "collapsing 3", "collapsed 3"}, 3},
      {"end", [&] { Key(VK_END); }, 0, Seq{"key 35", "changing 3>7 key", "changed 3>7 key"}, 7},
      {"home", [&] { Key(VK_HOME); }, 0, Seq{"key 36", "changing 7>1 key", "changed 7>1 key"}, 1},
      {"up at the top", [&] { Key(VK_UP); }, 0, Seq{"key 38"}, 1},
      {"by message", [&] { SendMessage(t, TVM_SELECTITEM, TVGN_CARET, LPARAM(d.sales)); }, 0,
       Seq{"changing 1>6 unknown", "changed 1>6 unknown"}, 6},
      {"typed character",
       [&] {
         InputQueue::Text("财");
         Pump();
       },
       0, Seq{"changing 6>3 key", "changed 6>3 key"}, 3},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    Headless::AdvanceTime(2000);  // no double click with the case before
    Spy.Seen.clear();
    refuse = k.refuse;
    k.act();
    EXPECT_EQ(Spy.Seen, k.seen);
    EXPECT_EQ(IdOf(t, Next(t, TVGN_CARET)), k.caret);
  }
  EXPECT_EQ(GetFocus(), t);
  EXPECT_EQ(SendMessage(t, TVM_GETITEMSTATE, WPARAM(d.finance), TVIS_SELECTED), LRESULT(TVIS_SELECTED));
  EXPECT_EQ(SendMessage(t, TVM_GETITEMSTATE, WPARAM(d.sales), TVIS_SELECTED), 0);

  // Collapsing the parent of the selection moves the selection up to it.
  Expand(t, d.finance);
  SendMessage(t, TVM_SELECTITEM, TVGN_CARET, LPARAM(d.cashier));
  Spy.Seen.clear();
  Expand(t, d.finance, TVE_COLLAPSE);
  EXPECT_EQ(Spy.Seen, (Seq{"collapsing 3", "changing 5>3 unknown", "changed 5>3 unknown", "collapsed 3"}));
}

TEST_F(TreeTest, ExpandingANodeWhoseChildrenComeByCallback)
{
  HWND t = Tree(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT);
  TVINSERTSTRUCT ins;
  ins.hParent = TVI_ROOT;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
  ins.item.pszText = const_cast<char*>("报表");
  ins.item.lParam = 1;
  ins.item.cChildren = I_CHILDRENCALLBACK;
  auto folder = reinterpret_cast<HTREEITEM>(SendMessage(t, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&ins)));
  ASSERT_TRUE(folder);
  TVITEM it;
  it.mask = TVIF_CHILDREN;
  it.hItem = folder;
  SendMessage(t, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&it));
  EXPECT_EQ(it.cChildren, I_CHILDRENCALLBACK);

  int promised = 1;
  OnNotify = [&](const NMHDR* h) -> LRESULT {
    if (h->code == TVN_GETDISPINFO) {
      auto* di = const_cast<NMTVDISPINFO*>(reinterpret_cast<const NMTVDISPINFO*>(h));
      if (di->item.mask & TVIF_CHILDREN) di->item.cChildren = promised;
    }
    if (h->code == TVN_ITEMEXPANDING) {
      auto* tv = reinterpret_cast<const NMTREEVIEW*>(h);
      if (tv->action == TVE_EXPAND && !Next(t, TVGN_CHILD, tv->itemNew.hItem))
        for (int i = 0; i < 3; ++i) Add(t, tv->itemNew.hItem, "合同报表", 10 + i);
    }
    return 0;
  };
  Spy.Seen.clear();
  RECT r = ItemRect(t, folder);
  int buttonX = r.left - 3 - SendMessage(t, TVM_GETINDENT, 0, 0) / 2;
  Click(t, buttonX, (r.top + r.bottom) / 2);
  // The parent is asked whether there are children before it is told of the expansion.
  auto told = [&] {
    Seq out;
    for (const std::string& x : Spy.Seen)
      if (out.empty() || out.back() != x) out.push_back(x);
    return out;
  };
  EXPECT_EQ(told(), (Seq{"children? 1", "expanding 1", "expanded 1"}));
  EXPECT_EQ(SendMessage(t, TVM_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessage(t, TVM_GETITEMSTATE, WPARAM(folder), TVIS_EXPANDED), LRESULT(TVIS_EXPANDED));
  EXPECT_EQ(IdOf(t, Next(t, TVGN_NEXTVISIBLE, folder)), 10);

  // Collapsing with reset drops the children, so the next expansion asks again.
  Spy.Seen.clear();
  EXPECT_TRUE(Expand(t, folder, TVE_COLLAPSE | TVE_COLLAPSERESET));
  EXPECT_EQ(Spy.Seen, (Seq{"collapsing 1", "delete 10", "delete 11", "delete 12", "collapsed 1"}));
  EXPECT_EQ(SendMessage(t, TVM_GETITEMSTATE, WPARAM(folder), TVIS_EXPANDEDONCE), 0);
  promised = 0;
  Spy.Seen.clear();
  EXPECT_FALSE(Expand(t, folder)) << "no children promised: nothing to expand";
  EXPECT_EQ(told(), (Seq{"children? 1"}));
}

TEST_F(TreeTest, DeletingAParentTellsOfEveryDescendantAndItsHandlesFail)
{
  HWND t = Tree(TVS_HASBUTTONS | TVS_HASLINES);
  Depts d = Fill(t);
  Expand(t, d.head);
  Expand(t, d.finance);
  SendMessage(t, TVM_SELECTITEM, TVGN_CARET, LPARAM(d.cashier));
  std::vector<LPARAM> askedDuringDelete;
  OnNotify = [&](const NMHDR* h) -> LRESULT {
    if (h->code == TVN_DELETEITEM)
      askedDuringDelete.push_back(IdOf(t, reinterpret_cast<const NMTREEVIEW*>(h)->itemOld.hItem));
    return 0;
  };
  Spy.Seen.clear();
  EXPECT_TRUE(SendMessage(t, TVM_DELETEITEM, 0, LPARAM(d.head)));
  EXPECT_EQ(Spy.Seen, (Seq{"changing 5>7 unknown", "changed 5>7 unknown", "delete 2", "delete 4", "delete 5",
                           "delete 3", "delete 6", "delete 1"}));
  EXPECT_EQ(askedDuringDelete, (std::vector<LPARAM>{2, 4, 5, 3, 6, 1})) << "each handle answers while it is told";
  EXPECT_EQ(SendMessage(t, TVM_GETCOUNT, 0, 0), 1);
  for (HTREEITEM h : {d.head, d.office, d.finance, d.accounts, d.cashier, d.sales}) {
    EXPECT_EQ(IdOf(t, h), -1);
    EXPECT_FALSE(Expand(t, h));
    EXPECT_FALSE(SendMessage(t, TVM_DELETEITEM, 0, LPARAM(h)));
    EXPECT_FALSE(SendMessage(t, TVM_SELECTITEM, TVGN_CARET, LPARAM(h)));
    EXPECT_FALSE(SendMessage(t, TVM_ENSUREVISIBLE, 0, LPARAM(h)));
    EXPECT_EQ(SendMessage(t, TVM_EDITLABEL, 0, LPARAM(h)), 0);
    EXPECT_EQ(Next(t, TVGN_NEXT, h), nullptr);
    EXPECT_EQ(Next(t, TVGN_CHILD, h), nullptr);
    EXPECT_EQ(ItemRect(t, h).left, -1);
    TVINSERTSTRUCT ins;
    ins.hParent = h;
    EXPECT_EQ(SendMessage(t, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&ins)), 0);
  }
  EXPECT_EQ(IdOf(t, Next(t, TVGN_CARET)), 7);
  Spy.Seen.clear();
  DestroyWindow(t);
  EXPECT_EQ(Spy.Seen, (Seq{"delete 7"})) << "the last items are told of when the window goes";
}

TEST_F(TreeTest, RelationsRowsAndHitTests)
{
  HWND t = Tree(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 10, 10, 200, 80);
  Depts d = Fill(t);
  Expand(t, d.head);
  Expand(t, d.finance);
  struct Case {
    UINT how;
    HTREEITEM from;
    LPARAM want;  // -1: none
  } cases[] = {
      {TVGN_ROOT, nullptr, 1},
      {TVGN_NEXT, d.head, 7},
      {TVGN_NEXT, d.branch, -1},
      {TVGN_PREVIOUS, d.sales, 3},
      {TVGN_PREVIOUS, d.office, -1},
      {TVGN_PARENT, d.cashier, 3},
      {TVGN_PARENT, d.head, -1},
      {TVGN_CHILD, d.finance, 4},
      {TVGN_CHILD, TVI_ROOT, 1},
      {TVGN_CHILD, d.office, -1},
      {TVGN_NEXTVISIBLE, d.finance, 4},
      {TVGN_NEXTVISIBLE, d.cashier, 6},
      {TVGN_PREVIOUSVISIBLE, d.sales, 5},
      {TVGN_LASTVISIBLE, nullptr, 7},
      {TVGN_FIRSTVISIBLE, nullptr, 1},
      {TVGN_CARET, nullptr, -1},
      {TVGN_DROPHILITE, nullptr, -1},
  };
  for (const Case& k : cases) {
    HTREEITEM h = Next(t, k.how, k.from);
    EXPECT_EQ(h ? IdOf(t, h) : -1, k.want) << "relation " << k.how << " of " << (k.from ? IdOf(t, k.from) : 0);
  }
  Expand(t, d.finance, TVE_COLLAPSE);
  EXPECT_EQ(Next(t, TVGN_NEXTVISIBLE, d.accounts), nullptr) << "a hidden item has no visible neighbour";
  EXPECT_EQ(ItemRect(t, d.accounts).left, -1) << "nor a rectangle";

  // Rows of the height the font needs; the label starts one indent further per level.
  int height = int(SendMessage(t, TVM_GETITEMHEIGHT, 0, 0)), indent = int(SendMessage(t, TVM_GETINDENT, 0, 0));
  RECT head = ItemRect(t, d.head), office = ItemRect(t, d.office), line = ItemRect(t, d.office, false);
  EXPECT_EQ(office.top, height);
  EXPECT_EQ(office.left - head.left, indent);
  EXPECT_EQ(line.left, 0);
  EXPECT_GT(line.right, office.right);

  SendMessage(t, TVM_SETITEMHEIGHT, 16, 0);
  Expand(t, d.head, TVE_COLLAPSE);  // two rows: 总部, 分公司
  head = ItemRect(t, d.head);
  RECT branch = ItemRect(t, d.branch);
  EXPECT_EQ(branch.top, 16);
  struct Hit {
    POINT pt;
    UINT flags;
    LPARAM item;
  } hits[] = {
      {{branch.left + 3, branch.top + 2}, TVHT_ONITEMLABEL, 7},
      {{branch.right + 5, branch.top + 2}, TVHT_ONITEMRIGHT, 7},
      {{head.left - indent / 2 - 1, 8}, TVHT_ONITEMBUTTON, 1},
      {{1, branch.top + 2}, TVHT_ONITEMINDENT, 7},
      {{branch.left + 3, -4}, TVHT_ABOVE, -1},
      {{branch.left + 3, 50}, TVHT_NOWHERE, -1},
      {{branch.left + 3, 76}, TVHT_BELOW, -1},
      {{-3, 5}, TVHT_TOLEFT, -1},
  };
  for (const Hit& k : hits) {
    TVHITTESTINFO info;
    info.pt = k.pt;
    HTREEITEM h = reinterpret_cast<HTREEITEM>(SendMessage(t, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(info.flags, k.flags) << k.pt.x << "," << k.pt.y;
    EXPECT_EQ(h ? IdOf(t, h) : -1, k.item) << k.pt.x << "," << k.pt.y;
  }
}

TEST_F(TreeTest, SortedInsertionAndSortingOrderChineseTexts)
{
  HWND t = Tree(TVS_HASBUTTONS);
  std::vector<std::string> texts{"销售部", "办公室", "财务部", "Admin", "采购部", "仓库", "abc"};
  LPARAM id = 1;
  for (const std::string& s : texts) Add(t, TVI_ROOT, s.c_str(), id++, TVI_SORT);
  std::vector<std::string> want = texts;
  std::stable_sort(want.begin(), want.end(),
                   [](const std::string& a, const std::string& b) { return SysUtils::AnsiCompareText(a, b) < 0; });
  auto order = [&] {
    std::vector<std::string> got;
    for (HTREEITEM h = Next(t, TVGN_ROOT); h; h = Next(t, TVGN_NEXT, h)) got.push_back(TextOf(t, h));
    return got;
  };
  EXPECT_EQ(order(), want);
  EXPECT_EQ(order().front(), "abc");
  EXPECT_EQ(order()[2], "办公室");

  // By callback: the reverse of the insertion order, then by text again.
  TVSORTCB cb;
  cb.hParent = TVI_ROOT;
  cb.lpfnCompare = [](LPARAM a, LPARAM b, LPARAM sign) { return int(sign * (a - b)); };
  cb.lParam = -1;
  EXPECT_TRUE(SendMessage(t, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&cb)));
  std::vector<std::string> reversed(texts.rbegin(), texts.rend());
  EXPECT_EQ(order(), reversed);
  EXPECT_TRUE(SendMessage(t, TVM_SORTCHILDREN, 0, LPARAM(TVI_ROOT)));
  EXPECT_EQ(order(), want);
  cb.lpfnCompare = nullptr;
  EXPECT_FALSE(SendMessage(t, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&cb)));
}

TEST_F(TreeTest, LabelEditingEndsWithEnterOrEscape)
{
  HWND t = Tree(TVS_HASBUTTONS | TVS_EDITLABELS);
  Depts d = Fill(t);
  LRESULT keep = 1, refuseBegin = 0;
  OnNotify = [&](const NMHDR* h) -> LRESULT {
    if (h->code == TVN_ENDLABELEDIT) return keep;
    if (h->code == TVN_BEGINLABELEDIT) return refuseBegin;
    return 0;
  };
  auto edit = [&](HTREEITEM h) { return reinterpret_cast<HWND>(SendMessage(t, TVM_EDITLABEL, 0, LPARAM(h))); };
  struct Case {
    const char* what;
    LRESULT keep;
    const char* typed;
    int endKey;  // 0: focus moves away
    Seq seen;
    const char* text;
  } cases[] = {
      {"enter keeps", 1, "集团总部", VK_RETURN, Seq{"begin edit 7", "end edit 7 集团总部"}, "集团总部"},
      {"escape drops", 1, "不要", VK_ESCAPE, Seq{"begin edit 7", "end edit 7 (cancelled)"}, "集团总部"},
      {"the parent refuses", 0, "拒绝", VK_RETURN, Seq{"begin edit 7", "end edit 7 拒绝"}, "集团总部"},
      {"losing focus keeps", 1, "分部", 0, Seq{"begin edit 7", "end edit 7 分部"}, "分部"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    keep = k.keep;
    SetFocus(t);
    Spy.Seen.clear();
    HWND e = edit(d.branch);
    ASSERT_TRUE(e);
    EXPECT_EQ(GetFocus(), e);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessage(t, TVM_GETEDITCONTROL, 0, 0)), e);
    EXPECT_EQ(GetWindowText(e), AnsiString(TextOf(t, d.branch))) << "the edit starts with the label";
    InputQueue::Text(k.typed);  // replaces the whole label, which starts selected
    Pump();
    if (k.endKey)
      Key(k.endKey);
    else
      SetFocus(Parent);
    Pump();
    EXPECT_EQ(Spy.Seen, k.seen);
    EXPECT_EQ(TextOf(t, d.branch), k.text);
    EXPECT_EQ(SendMessage(t, TVM_GETEDITCONTROL, 0, 0), 0);
    EXPECT_FALSE(IsWindow(e));
    EXPECT_EQ(Edit::ModelOf(e), nullptr) << "the EDIT freed its own state";
    if (k.endKey) {
      EXPECT_EQ(GetFocus(), t);
    }
  }
  refuseBegin = 1;
  Spy.Seen.clear();
  EXPECT_EQ(edit(d.head), nullptr);
  EXPECT_EQ(Spy.Seen, (Seq{"begin edit 1"}));
  refuseBegin = 0;

  // A second click on the selected label starts editing once the double-click time is over.
  SetFocus(t);
  ClickItem(t, d.head);
  Headless::AdvanceTime(GetDoubleClickTime() + 10);
  Spy.Seen.clear();
  ClickItem(t, d.head);
  EXPECT_EQ(SendMessage(t, TVM_GETEDITCONTROL, 0, 0), 0);
  Headless::AdvanceTime(GetDoubleClickTime() + 10);
  Pump();
  EXPECT_EQ(Spy.Seen, (Seq{"click", "begin edit 1"}));
  EXPECT_TRUE(SendMessage(t, TVM_ENDEDITLABELNOW, TRUE, 0));
  EXPECT_EQ(TextOf(t, d.head), "总部");
}

TEST_F(TreeTest, DragsClicksAndDoubleClicksTellTheParent)
{
  HWND t = Tree(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT);
  Depts d = Fill(t);
  RECT r = ItemRect(t, d.head);
  POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  auto screen = [&](int dx, int dy) {
    POINT p{at.x + dx, at.y + dy};
    ClientToScreen(t, &p);
    return p;
  };
  auto drag = [&](InputQueue::Button b) {
    POINT p = screen(0, 0), q = screen(12, 12);
    InputQueue::MouseMove(p.x, p.y);
    InputQueue::MouseDown(b, p.x, p.y);
    InputQueue::MouseMove(q.x, q.y);
    InputQueue::MouseUp(b, q.x, q.y);
    Pump();
  };
  LRESULT dblAnswer = 0;
  OnNotify = [&](const NMHDR* h) -> LRESULT { return h->code == NM_DBLCLK ? dblAnswer : 0; };
  struct Case {
    const char* what;
    std::function<void()> act;
    Seq seen;
    bool expanded;
  } cases[] = {
      {"left drag", [&] { drag(InputQueue::Button::Left); }, Seq{"changing ->1 mouse", "changed ->1 mouse", "drag 1"},
       false},
      {"right drag", [&] { drag(InputQueue::Button::Right); }, Seq{"rdrag 1"}, false},
      {"right click",
       [&] {
         POINT p = screen(0, 0);
         InputQueue::MouseDown(InputQueue::Button::Right, p.x, p.y);
         InputQueue::MouseUp(InputQueue::Button::Right, p.x, p.y);
         Pump();
       },
       Seq{"rclick"}, false},
      {"double click toggles",
       [&] {
         Click(t, at.x, at.y);
         Click(t, at.x, at.y);
       },
       Seq{"click", "dblclick", "expanding 1", "expanded 1"}, true},
      {"a handled double click does not",
       [&] {
         dblAnswer = 1;
         Click(t, at.x, at.y);
         Click(t, at.x, at.y);
       },
       Seq{"click", "dblclick"}, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    Headless::AdvanceTime(2000);  // no double click with the case before
    Spy.Seen.clear();
    k.act();
    EXPECT_EQ(Spy.Seen, k.seen);
    EXPECT_EQ(SendMessage(t, TVM_GETITEMSTATE, WPARAM(d.head), TVIS_EXPANDED) != 0, k.expanded);
  }
  SetWindowLongPtr(t, GWL_STYLE, GetWindowLongPtr(t, GWL_STYLE) | TVS_DISABLEDRAGDROP);
  Spy.Seen.clear();
  Headless::AdvanceTime(2000);
  drag(InputQueue::Button::Left);
  EXPECT_EQ(Spy.Seen, (Seq{})) << "no drag, and no click either once the mouse moved away";
}

TEST_F(TreeTest, RedrawOffKeepsThousandsOfItemsCheapAndScrollingFollowsTheCaret)
{
  HWND t = Tree(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 10, 10, 200, 160);
  SendMessage(t, WM_SETREDRAW, FALSE, 0);
  std::vector<HTREEITEM> parents;
  for (int p = 0; p < 50; ++p) {
    HTREEITEM h = Add(t, TVI_ROOT, ("部门" + std::to_string(p)).c_str(), p);
    parents.push_back(h);
    for (int c = 0; c < 40; ++c) Add(t, h, ("员工" + std::to_string(c)).c_str(), 1000 + c);
  }
  for (HTREEITEM h : parents) Expand(t, h);
  SCROLLINFO si;
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  GetScrollInfo(t, SB_VERT, &si);
  EXPECT_EQ(si.nMax, 0) << "no layout while redraw is off";
  SendMessage(t, WM_SETREDRAW, TRUE, 0);
  GetScrollInfo(t, SB_VERT, &si);
  EXPECT_EQ(si.nMax, 50 * 41 - 1);
  int page = int(SendMessage(t, TVM_GETVISIBLECOUNT, 0, 0));
  EXPECT_EQ(int(si.nPage), page);

  SetFocus(t);
  Key(VK_HOME);
  Key(VK_NEXT);
  EXPECT_EQ(SendMessage(t, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0), LPARAM(parents[0]));
  Key(VK_NEXT);
  HTREEITEM caret = Next(t, TVGN_CARET), first = Next(t, TVGN_FIRSTVISIBLE);
  EXPECT_EQ(IdOf(t, caret), 1000 + 2 * (page - 1) - 1);
  EXPECT_EQ(IdOf(t, first), 1000 + 2 * (page - 1) - page) << "the caret's row at the bottom";
  Key(VK_END);
  GetScrollInfo(t, SB_VERT, &si);
  EXPECT_EQ(si.nPos, 50 * 41 - page);
  EXPECT_TRUE(SendMessage(t, TVM_ENSUREVISIBLE, 0, LPARAM(parents[3])));
  EXPECT_EQ(Next(t, TVGN_FIRSTVISIBLE), parents[3]);
  SendMessage(t, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(Next(t, TVGN_FIRSTVISIBLE), Next(t, TVGN_CHILD, parents[3]));
  Key(VK_MULTIPLY);  // expands below the caret: all open already
  EXPECT_EQ(SendMessage(t, TVM_GETCOUNT, 0, 0), 50 * 41);
}

TEST_F(TreeTest, LongLabelsScrollSideways)
{
  HWND t = Tree(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 10, 10, 140, 100);
  HTREEITEM head = Add(t, TVI_ROOT, "总部", 1);
  HTREEITEM longer = Add(t, head, "一个名称很长很长很长很长的部门", 2);
  Expand(t, head);
  Pump();  // painting measures the rows
  RECT c, label = ItemRect(t, longer);
  GetClientRect(t, &c);
  ASSERT_GT(label.right, c.right);
  SCROLLINFO si;
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  GetScrollInfo(t, SB_HORZ, &si);
  EXPECT_EQ(si.nMax, label.right - 1);
  EXPECT_EQ(int(si.nPage), int(c.right));
  int indent = int(SendMessage(t, TVM_GETINDENT, 0, 0));
  SendMessage(t, WM_HSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(ItemRect(t, longer).left, label.left - indent);
  SendMessage(t, WM_HSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(ItemRect(t, longer).right, c.right) << "scrolled to the end of the widest row";
  SendMessage(t, WM_HSCROLL, SB_TOP, 0);
  EXPECT_EQ(ItemRect(t, longer).left, label.left);
}

TEST_F(TreeTest, TheTreeFocusedAndNotIsDrawnClassic)
{
  const COLORREF white = GetSysColor(COLOR_WINDOW), highlight = GetSysColor(COLOR_HIGHLIGHT),
                 face = GetSysColor(COLOR_BTNFACE), shadow = GetSysColor(COLOR_BTNSHADOW),
                 lines = GetSysColor(COLOR_GRAYTEXT);
  DWORD style = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
  HWND focused = Tree(style, 10, 10, 190, 200);
  HWND blurred = Tree(style, 210, 10, 190, 200);
  HWND fullRow = Tree(TVS_HASBUTTONS | TVS_FULLROWSELECT | TVS_SHOWSELALWAYS, 410, 10, 190, 200);
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 0);
  {
    HDC mem = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(nullptr, 32, 16);
    HGDIOBJ old = SelectObject(mem, bmp);
    RECT a{0, 0, 16, 16}, b{16, 0, 32, 16}, hole{4, 4, 12, 12};
    HBRUSH yellow = CreateSolidBrush(RGB(230, 190, 40)), green = CreateSolidBrush(RGB(40, 150, 60)),
           magenta = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(mem, &a, yellow);
    FillRect(mem, &b, green);
    FillRect(mem, &hole, magenta);
    SelectObject(mem, old);
    ImageList_AddMasked(images, bmp, RGB(255, 0, 255));
    for (HGDIOBJ o : {HGDIOBJ(bmp), HGDIOBJ(yellow), HGDIOBJ(green), HGDIOBJ(magenta)}) DeleteObject(o);
    DeleteDC(mem);
  }
  Depts ds[3];
  HWND trees[3] = {focused, blurred, fullRow};
  for (int i = 0; i < 3; ++i) {
    if (i < 2) SendMessage(trees[i], TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    ds[i] = Fill(trees[i]);
    Expand(trees[i], ds[i].head);
    Expand(trees[i], ds[i].finance);
    SendMessage(trees[i], TVM_SELECTITEM, TVGN_CARET, LPARAM(ds[i].accounts));
    TVITEM it;
    it.mask = TVIF_SELECTEDIMAGE | TVIF_IMAGE;
    it.hItem = ds[i].accounts;
    it.iSelectedImage = 1;
    SendMessage(trees[i], TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&it));
  }
  // Parents in bold in the first tree (as the designer's data tree shows them); the third on a
  // background of its own.
  TVITEM bold;
  bold.mask = TVIF_STATE;
  bold.hItem = ds[0].head;
  bold.state = bold.stateMask = TVIS_BOLD;
  SendMessage(focused, TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&bold));
  const COLORREF cream = RGB(255, 250, 220);
  SendMessage(fullRow, TVM_SETBKCOLOR, 0, LPARAM(cream));
  SetFocus(focused);
  Pump();
  SavePng("commctrl_tree");

  RECT sel = ItemRect(focused, ds[0].accounts), other = ItemRect(focused, ds[0].office);
  EXPECT_EQ(Headless::ClientPixel(focused, sel.right - 2, sel.top + 2), highlight) << "focused: the highlight";
  EXPECT_EQ(Headless::ClientPixel(focused, other.right - 2, other.top + 2), white);
  RECT sel2 = ItemRect(blurred, ds[1].accounts);
  EXPECT_EQ(Headless::ClientPixel(blurred, sel2.right - 2, sel2.top + 2), face) << "not focused: shown all the same";
  RECT full = ItemRect(fullRow, ds[2].accounts, false);
  EXPECT_EQ(Headless::ClientPixel(fullRow, full.right - 3, full.top + 3), face) << "across the whole row";

  // The head's button: a shadow-coloured box with a minus, the lines dotted in grey.
  RECT head = ItemRect(focused, ds[0].head);
  int indent = int(SendMessage(focused, TVM_GETINDENT, 0, 0)), icon = 16 + 3;
  int cx = head.left - icon - indent / 2 - 1, cy = (head.top + head.bottom) / 2;
  EXPECT_EQ(Headless::ClientPixel(focused, cx - 4, cy), shadow) << "the button's frame";
  EXPECT_EQ(Headless::ClientPixel(focused, cx, cy), GetSysColor(COLOR_WINDOWTEXT)) << "its minus";
  EXPECT_EQ(Headless::ClientPixel(focused, cx, cy - 2), white) << "no plus on an open node";
  RECT office = ItemRect(focused, ds[0].office);
  int lx = office.left - icon - indent / 2 - 1, ly = (office.top + office.bottom) / 2;
  int dots = 0;
  for (int y = office.top; y < office.bottom; ++y) dots += Headless::ClientPixel(focused, lx, y) == lines;
  EXPECT_GE(dots, (office.bottom - office.top) / 2 - 1) << "every other pixel of the line through the row";
  EXPECT_LE(dots, (office.bottom - office.top) / 2 + 1);
  EXPECT_EQ(Headless::ClientPixel(focused, office.left - icon + 2, ly), RGB(230, 190, 40)) << "the image";
  EXPECT_EQ(Headless::ClientPixel(focused, office.left - icon + 8, ly), white) << "its masked hole";
  EXPECT_EQ(Headless::ClientPixel(focused, sel.left - icon + 2, (sel.top + sel.bottom) / 2), RGB(40, 150, 60))
      << "the selected image";
  RECT boldHead = ItemRect(focused, ds[0].head), plainHead = ItemRect(blurred, ds[1].head);
  EXPECT_GT(boldHead.right - boldHead.left, plainHead.right - plainHead.left) << "a bold label is wider";
  EXPECT_EQ(Headless::ClientPixel(fullRow, 150, 180), cream);
  ImageList_Destroy(images);
}
