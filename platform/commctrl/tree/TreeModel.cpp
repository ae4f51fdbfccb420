#include "platform/commctrl/tree/TreeModel.h"

#include <algorithm>

#include "platform/rtl/StringUtils.h"

namespace {
constexpr int kRoot = -1, kStale = -2;
}  // namespace

// ---- Handles ------------------------------------------------------------------------------------

// A handle is the slot + 1 in its low half and the slot's generation in its high half.
int TreeModel::SlotOf(HTREEITEM h) const
{
  if (!h || h == TVI_ROOT) return kRoot;
  auto v = std::uint64_t(reinterpret_cast<std::uintptr_t>(h));
  std::uint64_t slot = (v & 0xFFFFFFFFu) - 1;
  if (slot >= FNodes.size()) return kStale;
  const Node& n = FNodes[slot];
  return n.Used && n.Gen == (v >> 32) ? int(slot) : kStale;
}

HTREEITEM TreeModel::HandleOf(int slot) const
{
  if (slot < 0) return nullptr;
  std::uint64_t v = (std::uint64_t(FNodes[size_t(slot)].Gen) << 32) | std::uint64_t(slot + 1);
  return reinterpret_cast<HTREEITEM>(std::uintptr_t(v));
}

TreeModel::Item* TreeModel::At(HTREEITEM h)
{
  int s = SlotOf(h);
  return s >= 0 ? &FNodes[size_t(s)].Data : nullptr;
}

const TreeModel::Item* TreeModel::At(HTREEITEM h) const
{
  int s = SlotOf(h);
  return s >= 0 ? &FNodes[size_t(s)].Data : nullptr;
}

// ---- Links --------------------------------------------------------------------------------------

// Links `slot` under `parent` right after `prev` (-1: first).
void TreeModel::Link(int slot, int parent, int prev)
{
  Node& n = FNodes[size_t(slot)];
  int& first = parent < 0 ? FFirst : FNodes[size_t(parent)].First;
  int& last = parent < 0 ? FLast : FNodes[size_t(parent)].Last;
  n.Parent = parent;
  n.Prev = prev;
  n.Next = prev < 0 ? first : FNodes[size_t(prev)].Next;
  if (prev < 0)
    first = slot;
  else
    FNodes[size_t(prev)].Next = slot;
  if (n.Next < 0)
    last = slot;
  else
    FNodes[size_t(n.Next)].Prev = slot;
}

void TreeModel::Unlink(int slot)
{
  Node& n = FNodes[size_t(slot)];
  int& first = n.Parent < 0 ? FFirst : FNodes[size_t(n.Parent)].First;
  int& last = n.Parent < 0 ? FLast : FNodes[size_t(n.Parent)].Last;
  if (n.Prev < 0)
    first = n.Next;
  else
    FNodes[size_t(n.Prev)].Next = n.Next;
  if (n.Next < 0)
    last = n.Prev;
  else
    FNodes[size_t(n.Next)].Prev = n.Prev;
  n.Parent = n.Prev = n.Next = -1;
}

HTREEITEM TreeModel::Insert(HTREEITEM parent, HTREEITEM after, Item item,
                            const std::function<AnsiString(HTREEITEM)>& text)
{
  int p = SlotOf(parent);
  if (p == kStale) return nullptr;
  int first = p < 0 ? FFirst : FNodes[size_t(p)].First, last = p < 0 ? FLast : FNodes[size_t(p)].Last;
  int prev;
  if (after == TVI_FIRST) {
    prev = -1;
  } else if (after == TVI_LAST || !after) {
    prev = last;
  } else if (after == TVI_SORT) {
    // After the last sibling that does not sort after the new text.
    auto textOf = [&](int s) {
      const Node& n = FNodes[size_t(s)];
      return n.Data.TextCallback && text ? text(HandleOf(s)) : n.Data.Text;
    };
    prev = -1;
    for (int s = first; s >= 0; s = FNodes[size_t(s)].Next) {
      if (SysUtils::AnsiCompareText(textOf(s), item.Text) > 0) break;
      prev = s;
    }
  } else {
    prev = SlotOf(after);
    if (prev < 0 || FNodes[size_t(prev)].Parent != p) return nullptr;
  }
  int slot;
  if (!FFree.empty()) {
    slot = FFree.back();
    FFree.pop_back();
  } else {
    slot = int(FNodes.size());
    FNodes.emplace_back();
  }
  Node& n = FNodes[size_t(slot)];
  n.Used = true;
  ++n.Gen;
  n.Data = std::move(item);
  n.Data.State &= ~(TVIS_SELECTED | TVIS_DROPHILITED);
  n.First = n.Last = -1;
  Link(slot, p, prev);
  // A parent said to have no children shows its button once it has one.
  if (p >= 0 && FNodes[size_t(p)].Data.Children == Kids::No) FNodes[size_t(p)].Data.Children = Kids::Compute;
  ++FCount;
  Touch();
  return HandleOf(slot);
}

bool TreeModel::Delete(HTREEITEM h, const std::function<void(HTREEITEM)>& deleting)
{
  int s = SlotOf(h);
  if (s == kStale) return false;
  if (s == kRoot) {
    while (FFirst >= 0) Delete(HandleOf(FFirst), deleting);
    return true;
  }
  // Descendants before their parent, each while the tree is still whole.
  auto postOrder = [this](int top) {
    std::vector<HTREEITEM> out;
    auto deepest = [this](int n) {
      while (FNodes[size_t(n)].First >= 0) n = FNodes[size_t(n)].First;
      return n;
    };
    int n = deepest(top);
    for (;;) {
      out.push_back(HandleOf(n));
      if (n == top) break;
      n = FNodes[size_t(n)].Next >= 0 ? deepest(FNodes[size_t(n)].Next) : FNodes[size_t(n)].Parent;
    }
    return out;
  };
  if (deleting)
    for (HTREEITEM d : postOrder(s))
      if (Valid(d)) deleting(d);
  // The callbacks may have changed the tree: free what lies below the item now.
  s = SlotOf(h);
  if (s < 0) return true;
  std::vector<HTREEITEM> gone = postOrder(s);
  Unlink(s);
  for (HTREEITEM d : gone) {
    int k = SlotOf(d);
    Node& n = FNodes[size_t(k)];
    n.Used = false;
    n.Data = Item();
    n.Parent = n.First = n.Last = n.Next = n.Prev = -1;
    FFree.push_back(k);
    --FCount;
  }
  Touch();
  return true;
}

// ---- Relations ----------------------------------------------------------------------------------

HTREEITEM TreeModel::Parent(HTREEITEM h) const
{
  int s = SlotOf(h);
  return s >= 0 ? HandleOf(FNodes[size_t(s)].Parent) : nullptr;
}

HTREEITEM TreeModel::Child(HTREEITEM h) const
{
  int s = SlotOf(h);
  if (s == kStale) return nullptr;
  return HandleOf(s == kRoot ? FFirst : FNodes[size_t(s)].First);
}

HTREEITEM TreeModel::LastChild(HTREEITEM h) const
{
  int s = SlotOf(h);
  if (s == kStale) return nullptr;
  return HandleOf(s == kRoot ? FLast : FNodes[size_t(s)].Last);
}

HTREEITEM TreeModel::Next(HTREEITEM h) const
{
  int s = SlotOf(h);
  return s >= 0 ? HandleOf(FNodes[size_t(s)].Next) : nullptr;
}

HTREEITEM TreeModel::Prev(HTREEITEM h) const
{
  int s = SlotOf(h);
  return s >= 0 ? HandleOf(FNodes[size_t(s)].Prev) : nullptr;
}

int TreeModel::Level(HTREEITEM h) const
{
  int s = SlotOf(h);
  if (s < 0) return -1;
  int level = 0;
  for (int p = FNodes[size_t(s)].Parent; p >= 0; p = FNodes[size_t(p)].Parent) ++level;
  return level;
}

bool TreeModel::IsWithin(HTREEITEM h, HTREEITEM ancestor) const
{
  int s = SlotOf(h), a = SlotOf(ancestor);
  if (s < 0 || a == kStale) return false;
  if (a == kRoot) return true;
  for (; s >= 0; s = FNodes[size_t(s)].Parent)
    if (s == a) return true;
  return false;
}

// ---- Expansion and rows -------------------------------------------------------------------------

bool TreeModel::Expanded(HTREEITEM h) const
{
  const Item* it = At(h);
  return it && (it->State & TVIS_EXPANDED);
}

bool TreeModel::SetExpanded(HTREEITEM h, bool expanded, bool reset)
{
  Item* it = At(h);
  if (!it) return false;
  bool was = it->State & TVIS_EXPANDED;
  if (expanded)
    it->State |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
  else
    it->State &= ~TVIS_EXPANDED;
  if (reset) it->State &= ~TVIS_EXPANDEDONCE;
  if (was != expanded) Touch();
  return was != expanded;
}

bool TreeModel::Visible(HTREEITEM h) const
{
  int s = SlotOf(h);
  if (s < 0) return false;
  for (int p = FNodes[size_t(s)].Parent; p >= 0; p = FNodes[size_t(p)].Parent)
    if (!(FNodes[size_t(p)].Data.State & TVIS_EXPANDED)) return false;
  return true;
}

const std::vector<HTREEITEM>& TreeModel::Rows() const
{
  if (!FRowsDirty) return FRows;
  FRows.clear();
  FRowOf.assign(FNodes.size(), -1);
  int n = FFirst;
  while (n >= 0) {
    const Node& node = FNodes[size_t(n)];
    FRowOf[size_t(n)] = int(FRows.size());
    FRows.push_back(HandleOf(n));
    if ((node.Data.State & TVIS_EXPANDED) && node.First >= 0) {
      n = node.First;
      continue;
    }
    while (n >= 0 && FNodes[size_t(n)].Next < 0) n = FNodes[size_t(n)].Parent;
    if (n >= 0) n = FNodes[size_t(n)].Next;
  }
  FRowsDirty = false;
  return FRows;
}

int TreeModel::RowOf(HTREEITEM h) const
{
  int s = SlotOf(h);
  if (s < 0) return -1;
  Rows();
  return FRowOf[size_t(s)];
}

HTREEITEM TreeModel::AtRow(int row) const
{
  const auto& rows = Rows();
  return row >= 0 && row < int(rows.size()) ? rows[size_t(row)] : nullptr;
}

HTREEITEM TreeModel::NextVisible(HTREEITEM h) const
{
  int r = RowOf(h);
  return r < 0 ? nullptr : AtRow(r + 1);
}

HTREEITEM TreeModel::PrevVisible(HTREEITEM h) const
{
  int r = RowOf(h);
  return r < 0 ? nullptr : AtRow(r - 1);
}

HTREEITEM TreeModel::LastVisible() const { return AtRow(RowCount() - 1); }

// ---- Sorting ------------------------------------------------------------------------------------

void TreeModel::SortLevel(int parent, bool recurse, const std::function<bool(HTREEITEM, HTREEITEM)>& less)
{
  std::vector<int> todo{parent};
  while (!todo.empty()) {
    int p = todo.back();
    todo.pop_back();
    std::vector<int> kids;
    for (int s = p < 0 ? FFirst : FNodes[size_t(p)].First; s >= 0; s = FNodes[size_t(s)].Next) kids.push_back(s);
    std::stable_sort(kids.begin(), kids.end(), [&](int a, int b) { return less(HandleOf(a), HandleOf(b)); });
    for (int k : kids) Unlink(k);
    int prev = -1;
    for (int k : kids) {
      Link(k, p, prev);
      prev = k;
      if (recurse && FNodes[size_t(k)].First >= 0) todo.push_back(k);
    }
  }
}

bool TreeModel::SortChildren(HTREEITEM parent, bool recurse, const std::function<bool(HTREEITEM, HTREEITEM)>& less)
{
  int p = SlotOf(parent);
  if (p == kStale) return false;
  SortLevel(p, recurse, less);
  Touch();
  return true;
}

// ---- Selection marks ----------------------------------------------------------------------------

void TreeModel::SetCaret(HTREEITEM h)
{
  if (Item* old = At(FCaret)) old->State &= ~TVIS_SELECTED;
  FCaret = Valid(h) ? h : nullptr;
  if (Item* it = At(FCaret)) it->State |= TVIS_SELECTED;
}

void TreeModel::SetDropHilite(HTREEITEM h)
{
  if (Item* old = At(FDrop)) old->State &= ~TVIS_DROPHILITED;
  FDrop = Valid(h) ? h : nullptr;
  if (Item* it = At(FDrop)) it->State |= TVIS_DROPHILITED;
}

// ---- Type-ahead ---------------------------------------------------------------------------------

HTREEITEM TreeModel::TypeChar(char c, DWORD time, const std::function<AnsiString(HTREEITEM)>& text)
{
  // A copy: a parent giving a text may change the tree.
  const std::vector<HTREEITEM> rows = Rows();
  int found = FTyped.Find(c, time, RowOf(Caret()), int(rows.size()), [&](int i, const AnsiString& prefix) {
    return TypeAhead::Matches(text(rows[size_t(i)]), prefix, false);
  });
  return found >= 0 && Valid(rows[size_t(found)]) ? rows[size_t(found)] : nullptr;
}
