// Drives a tree view with random messages (insert, delete, expand, select, sort, label editing,
// keys, clicks, redraw on and off) on live, deleted and made-up handles, and checks after every
// step: the count matches the items the parent was told of, every item is reached once from the
// root with parent, child and sibling links agreeing, the visible walk runs both ways over
// exactly the items whose ancestors are open, and every deleted handle answers failure.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/fuzz/FuzzParent.h"
#include "platform/commctrl/fuzz/FuzzReader.h"
#include "platform/commctrl/tree/TreeView.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

// A text without NULs (which would end it early).
std::string Text(FuzzReader& in, size_t most)
{
  std::string s = in.Bytes(most);
  for (char& c : s)
    if (!c) c = 'x';
  return s;
}

// What the parent knows: the items alive and gone, and how to answer.
struct Book {
  HWND tree = nullptr;
  std::set<HTREEITEM> live, gone;
  std::vector<HTREEITEM> goneOrder;  // in the order they went
  LRESULT refuseSelect = 0, refuseExpand = 0, keepLabel = 1;
  int promised = 1;  // children promised by callback
};
Book* gBook = nullptr;

LRESULT ParentProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg != WM_NOTIFY || !gBook) return DefWindowProc(wnd, msg, wParam, lParam);
  auto* hdr = reinterpret_cast<NMHDR*>(lParam);
  Book& b = *gBook;
  switch (hdr->code) {
    case TVN_DELETEITEM: {
      HTREEITEM h = reinterpret_cast<NMTREEVIEW*>(hdr)->itemOld.hItem;
      TVITEM it;
      it.mask = TVIF_PARAM;
      it.hItem = h;
      // Told once, while the item still answers.
      if (!b.live.erase(h) || !SendMessage(b.tree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&it))) std::abort();
      b.gone.insert(h);
      b.goneOrder.push_back(h);
      return 0;
    }
    case TVN_GETDISPINFO: {
      auto* di = reinterpret_cast<NMTVDISPINFO*>(hdr);
      if ((di->item.mask & TVIF_TEXT) && di->item.pszText && di->item.cchTextMax > 0)
        std::strncpy(di->item.pszText, "回调", size_t(di->item.cchTextMax - 1));
      if (di->item.mask & TVIF_CHILDREN) di->item.cChildren = b.promised;
      return 0;
    }
    case TVN_SELCHANGING: return b.refuseSelect;
    case TVN_ITEMEXPANDING: return b.refuseExpand;
    case TVN_ENDLABELEDIT: return b.keepLabel;
    default: return 0;
  }
}

HWND Parent()
{
  static HWND parent = MakeFuzzParent("TreeFuzzParent", ParentProc);
  return parent;
}

HTREEITEM Rel(HWND t, UINT how, HTREEITEM h)
{
  return reinterpret_cast<HTREEITEM>(SendMessage(t, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(h)));
}

UINT State(HWND t, HTREEITEM h, UINT mask) { return UINT(SendMessage(t, TVM_GETITEMSTATE, WPARAM(h), mask)); }

bool Answers(HWND t, HTREEITEM h)
{
  TVITEM it;
  it.mask = TVIF_PARAM;
  it.hItem = h;
  return SendMessage(t, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&it)) || Rel(t, TVGN_NEXT, h) || Rel(t, TVGN_CHILD, h);
}

// `from`: the first of the gone handles to check (older ones were checked after earlier steps;
// a few of them are checked again each time, in turn, in case a reused slot revived one).
void Check(const Book& b, size_t from, size_t step)
{
  HWND t = b.tree;
  if (SendMessage(t, TVM_GETCOUNT, 0, 0) != LRESULT(b.live.size())) std::abort();
  // Every item once from the root, links agreeing; the items with open ancestors in order.
  std::set<HTREEITEM> seen;
  std::vector<HTREEITEM> visible;
  std::vector<std::pair<HTREEITEM, bool>> todo;  // item, whether its ancestors are open
  std::vector<HTREEITEM> level;
  for (HTREEITEM c = Rel(t, TVGN_ROOT, nullptr); c; c = Rel(t, TVGN_NEXT, c)) level.push_back(c);
  for (auto i = level.rbegin(); i != level.rend(); ++i) todo.emplace_back(*i, true);
  while (!todo.empty()) {
    auto [h, shown] = todo.back();
    todo.pop_back();
    if (!b.live.count(h) || !seen.insert(h).second) std::abort();
    if (shown) visible.push_back(h);
    HTREEITEM prev = nullptr;
    std::vector<HTREEITEM> kids;
    for (HTREEITEM c = Rel(t, TVGN_CHILD, h); c; c = Rel(t, TVGN_NEXT, c)) {
      if (Rel(t, TVGN_PARENT, c) != h || Rel(t, TVGN_PREVIOUS, c) != prev) std::abort();
      if (kids.size() > b.live.size()) std::abort();  // a loop
      kids.push_back(c);
      prev = c;
    }
    bool open = shown && State(t, h, TVIS_EXPANDED);
    for (auto i = kids.rbegin(); i != kids.rend(); ++i) todo.emplace_back(*i, open);
  }
  if (seen.size() != b.live.size()) std::abort();
  // The visible walk both ways.
  HTREEITEM h = visible.empty() ? nullptr : visible.front();
  for (size_t i = 0; i < visible.size(); ++i, h = Rel(t, TVGN_NEXTVISIBLE, h))
    if (h != visible[i]) std::abort();
  if (h) std::abort();
  h = visible.empty() ? nullptr : visible.back();
  if (Rel(t, TVGN_LASTVISIBLE, nullptr) != h) std::abort();
  for (size_t i = visible.size(); i-- > 0; h = Rel(t, TVGN_PREVIOUSVISIBLE, h))
    if (h != visible[i]) std::abort();
  for (UINT how : {TVGN_CARET, TVGN_DROPHILITE, TVGN_FIRSTVISIBLE}) {
    HTREEITEM m = Rel(t, how, nullptr);
    if (m && !b.live.count(m)) std::abort();
  }
  for (size_t i = from; i < b.goneOrder.size(); ++i)
    if (Answers(t, b.goneOrder[i])) std::abort();
  for (size_t k = 0; k < 8 && from > 0; ++k)
    if (Answers(t, b.goneOrder[(step * 8 + k) % from])) std::abort();
}

const int kKeys[] = {VK_UP,   VK_DOWN, VK_LEFT, VK_RIGHT,    VK_HOME,     VK_END,   VK_PRIOR,
                     VK_NEXT, VK_ADD,  VK_BACK, VK_SUBTRACT, VK_MULTIPLY, VK_RETURN};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
  HWND parent = Parent();
  FuzzReader in{data, size};
  std::uint8_t mode = in.Byte();
  DWORD style = WS_CHILD | WS_VISIBLE | TVS_EDITLABELS;
  if (mode & 1) style |= TVS_HASBUTTONS;
  if (mode & 2) style |= TVS_HASLINES;
  if (mode & 4) style |= TVS_LINESATROOT;
  if (mode & 8) style |= TVS_FULLROWSELECT;
  if (mode & 16) style |= TVS_SHOWSELALWAYS;
  Book book;
  gBook = &book;
  book.tree = CreateWindowEx(WS_EX_CLIENTEDGE, WC_TREEVIEW, "", style, 5, 5, 160 + (mode >> 5) * 20, 120, parent,
                             reinterpret_cast<HMENU>(1), nullptr, nullptr);
  HWND t = book.tree;
  SetFocus(t);
  // A handle from the input: a live one, a gone one, the root, or a made-up value.
  auto pick = [&]() -> HTREEITEM {
    std::uint8_t k = in.Byte();
    const std::set<HTREEITEM>& from = (k & 0xC0) == 0xC0 ? book.gone : book.live;
    if ((k & 0x3F) == 0x3F) return (k & 0x40) ? TVI_ROOT : reinterpret_cast<HTREEITEM>(UINT_PTR(k) << 20 | 7);
    if (from.empty()) return nullptr;
    auto i = from.begin();
    std::advance(i, (k & 0x3F) % from.size());
    return *i;
  };
  for (size_t step = 0; !in.Empty(); ++step) {
    size_t goneBefore = book.goneOrder.size();
    switch (in.Byte() % 16) {
      case 0:
      case 1: {
        if (book.live.size() >= 150) break;
        TVINSERTSTRUCT ins;
        ins.hParent = pick();
        std::uint8_t k = in.Byte();
        ins.hInsertAfter = k % 5 == 0 ? TVI_FIRST : k % 5 == 1 ? TVI_LAST : k % 5 == 2 ? TVI_SORT : pick();
        ins.item.mask = TVIF_TEXT | TVIF_PARAM | ((k & 8) ? TVIF_CHILDREN : 0);
        std::string text = Text(in, 6);
        ins.item.pszText = (k & 16) ? LPSTR_TEXTCALLBACK : text.data();
        ins.item.cChildren = (k & 32) ? I_CHILDRENCALLBACK : (k >> 6) & 1;
        auto h = reinterpret_cast<HTREEITEM>(SendMessage(t, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&ins)));
        if (h) {
          if (book.live.count(h) || book.gone.count(h)) std::abort();  // handles are never reused
          book.live.insert(h);
        }
        break;
      }
      case 2: {
        HTREEITEM h = pick();
        BOOL ok = BOOL(SendMessage(t, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(h)));
        if (!ok && (!h || h == TVI_ROOT || book.live.count(h))) std::abort();
        break;
      }
      case 3: {
        static const UINT how[] = {TVE_EXPAND, TVE_COLLAPSE, TVE_TOGGLE, TVE_COLLAPSE | TVE_COLLAPSERESET};
        SendMessage(t, TVM_EXPAND, how[in.Byte() % 4], reinterpret_cast<LPARAM>(pick()));
        break;
      }
      case 4: {
        static const UINT how[] = {TVGN_CARET, TVGN_DROPHILITE, TVGN_FIRSTVISIBLE};
        SendMessage(t, TVM_SELECTITEM, how[in.Byte() % 3], reinterpret_cast<LPARAM>(pick()));
        break;
      }
      case 5: {
        std::uint8_t k = in.Byte();
        if (k & 1) {
          SendMessage(t, TVM_SORTCHILDREN, k & 2, reinterpret_cast<LPARAM>(pick()));
        } else {
          TVSORTCB cb;
          cb.hParent = pick();
          cb.lpfnCompare = [](LPARAM a, LPARAM b, LPARAM) { return int(a & 3) - int(b & 3); };
          SendMessage(t, TVM_SORTCHILDRENCB, k & 2, reinterpret_cast<LPARAM>(&cb));
        }
        break;
      }
      case 6: {
        HWND edit = reinterpret_cast<HWND>(SendMessage(t, TVM_EDITLABEL, 0, reinterpret_cast<LPARAM>(pick())));
        if (!edit) break;
        std::string typed = Text(in, 4);
        SetWindowText(edit, typed.c_str());
        std::uint8_t k = in.Byte();
        if (k % 3 == 0)
          SendMessage(edit, WM_KEYDOWN, k & 4 ? VK_ESCAPE : VK_RETURN, 0);
        else if (k % 3 == 1)
          SendMessage(t, TVM_ENDEDITLABELNOW, k & 4, 0);
        break;  // else left open for a later step to end
      }
      case 7: SendMessage(t, WM_KEYDOWN, WPARAM(kKeys[in.Byte() % std::size(kKeys)]), 0); break;
      case 8: SendMessage(t, WM_CHAR, WPARAM(in.Byte()), 0); break;
      case 9: {
        int x = in.Byte() % 200, y = in.Byte() % 130;
        static const UINT down[] = {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN};
        std::uint8_t k = in.Byte() % 3;
        SendMessage(t, down[k], 0, MAKELPARAM(x, y));
        if (in.Byte() & 1) SendMessage(t, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 10, y + 10));
        SendMessage(t, k == 2 ? WM_RBUTTONUP : WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        break;
      }
      case 10: SendMessage(t, WM_SETREDRAW, in.Byte() & 1, 0); break;
      case 11: SendMessage(t, (in.Byte() & 1) ? WM_VSCROLL : WM_HSCROLL, in.Byte() % 8, 0); break;
      case 12: {
        TVITEM it;
        it.hItem = pick();
        std::uint8_t k = in.Byte();
        std::string text = Text(in, 6);
        it.mask = TVIF_TEXT | TVIF_STATE | TVIF_CHILDREN;
        it.pszText = (k & 1) ? LPSTR_TEXTCALLBACK : text.data();
        it.state = UINT(k) << 4;
        it.stateMask = 0xFFFF;
        it.cChildren = (k & 2) ? I_CHILDRENCALLBACK : (k >> 2) & 1;
        SendMessage(t, TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&it));
        break;
      }
      case 13: {
        RECT r{};
        HTREEITEM h = pick();
        std::memcpy(static_cast<void*>(&r), &h, sizeof h);
        SendMessage(t, TVM_GETITEMRECT, in.Byte() & 1, reinterpret_cast<LPARAM>(&r));
        TVHITTESTINFO hit;
        hit.pt = POINT{in.Byte() - 20, in.Byte() - 20};
        HTREEITEM at = reinterpret_cast<HTREEITEM>(SendMessage(t, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (at && !book.live.count(at)) std::abort();
        break;
      }
      case 14: {
        std::uint8_t k = in.Byte();
        book.refuseSelect = k & 1;
        book.refuseExpand = (k >> 1) & 1;
        book.keepLabel = (k >> 2) & 1;
        book.promised = (k >> 3) & 1;
        break;
      }
      case 15: {
        // Paint now, callbacks and all.
        InvalidateRect(t, nullptr, FALSE);
        UpdateWindow(t);
        break;
      }
    }
    Check(book, goneBefore, step);
  }
  Check(book, 0, 0);
  SendMessage(t, WM_SETREDRAW, TRUE, 0);
  DestroyWindow(t);
  if (!book.live.empty()) std::abort();  // every item told of when the window goes
  gBook = nullptr;
  return 0;
}
