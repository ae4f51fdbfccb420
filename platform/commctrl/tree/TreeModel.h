// A tree view's nodes apart from its window: the items with their texts, images, states and
// values, their places (parent, children, siblings), which are expanded, the rows they show as
// (the visible-row walk), sorting and the type-ahead search text. The window procedure turns
// messages into these calls, sends the notifications and paints the rows.
//
// Items are reached by HTREEITEM handles from a checked table: a handle names a slot and the
// slot's generation, so a handle of a deleted item (or any made-up value) is answered as no item
// (null, false) and is never mistaken for a later item in the same slot. Null and TVI_ROOT
// stand for the invisible root wherever a parent is asked for.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/commctrl/common/TypeAhead.h"
#include "platform/commctrl/tree/TreeView.h"
#include "platform/rtl/AnsiStrings.h"

class TreeModel {
public:
  // Whether an item shows a button: by its children, always, never, or asked of the parent
  // window each time (I_CHILDRENCALLBACK).
  enum class Kids { Compute, Yes, No, Callback };

  struct Item {
    AnsiString Text;
    bool TextCallback = false;  // LPSTR_TEXTCALLBACK: the parent gives the text each time
    int Image = 0, SelectedImage = 0;
    UINT State = 0;  // TVIS_ bits; TVIS_EXPANDED and TVIS_EXPANDEDONCE are kept by Expand
    LPARAM Param = 0;
    Kids Children = Kids::Compute;
    int Width = -1;  // the label's measured width; -1 until the window measures it
  };

  TreeModel() = default;
  TreeModel(const TreeModel&) = delete;
  TreeModel& operator=(const TreeModel&) = delete;

  // ---- Items -----------------------------------------------------------------------------------
  // The item behind a handle; null for a stale, null or made-up handle.
  Item* At(HTREEITEM h);
  const Item* At(HTREEITEM h) const;
  bool Valid(HTREEITEM h) const { return At(h) != nullptr; }
  int Count() const { return FCount; }

  // Inserts `item` under `parent` (null or TVI_ROOT: at the top) after `after`: TVI_FIRST,
  // TVI_LAST, TVI_SORT (before the first sibling whose text `less` does not put before it), or
  // a child of `parent`. Null for a stale parent, or an `after` that is neither a flag nor a
  // child of `parent`. `text` gives an item's text for sorting (callback texts included).
  HTREEITEM Insert(HTREEITEM parent, HTREEITEM after, Item item,
                   const std::function<AnsiString(HTREEITEM)>& text = nullptr);
  // Deletes an item and everything below it (TVI_ROOT or null: every item). `deleting` is
  // called for each item, descendants before their parent, while its handle still answers;
  // afterwards the handles answer no item. False for a stale handle.
  bool Delete(HTREEITEM h, const std::function<void(HTREEITEM)>& deleting = nullptr);

  // ---- Relations -------------------------------------------------------------------------------
  // Null where there is none (and for a stale handle).
  HTREEITEM Parent(HTREEITEM h) const;
  HTREEITEM Child(HTREEITEM h) const;  // the first child; null or TVI_ROOT: the first root item
  HTREEITEM LastChild(HTREEITEM h) const;
  HTREEITEM Next(HTREEITEM h) const;
  HTREEITEM Prev(HTREEITEM h) const;
  HTREEITEM Root() const { return Child(nullptr); }
  bool HasChildren(HTREEITEM h) const { return Child(h) != nullptr; }
  // Depth below the root: 0 for a root item, -1 for a stale handle.
  int Level(HTREEITEM h) const;
  // Whether `h` is `ancestor` or lies below it.
  bool IsWithin(HTREEITEM h, HTREEITEM ancestor) const;

  // ---- Expansion and rows ----------------------------------------------------------------------
  bool Expanded(HTREEITEM h) const;
  // Sets the item's expanded state; answers whether it changed. The first expansion sets
  // TVIS_EXPANDEDONCE; `reset` (a collapse with TVE_COLLAPSERESET) clears it.
  bool SetExpanded(HTREEITEM h, bool expanded, bool reset = false);
  // Whether every ancestor is expanded, so that the item shows as a row.
  bool Visible(HTREEITEM h) const;
  // The rows top to bottom: every visible item in tree order.
  const std::vector<HTREEITEM>& Rows() const;
  int RowCount() const { return int(Rows().size()); }
  // The row of a visible item, -1 for one that is not.
  int RowOf(HTREEITEM h) const;
  HTREEITEM AtRow(int row) const;
  // The visible item after / before a visible item (null at the ends or for a hidden item).
  HTREEITEM NextVisible(HTREEITEM h) const;
  HTREEITEM PrevVisible(HTREEITEM h) const;
  HTREEITEM LastVisible() const;

  // ---- Sorting ---------------------------------------------------------------------------------
  // Orders the children of `parent` (null or TVI_ROOT: the root items) by `less`, keeping equal
  // items in their order; `recurse` sorts every level below too. False for a stale parent.
  bool SortChildren(HTREEITEM parent, bool recurse, const std::function<bool(HTREEITEM, HTREEITEM)>& less);

  // ---- Selection marks -------------------------------------------------------------------------
  // The caret (selected) item, the drop target and the first visible row's item; null when none.
  // Each setter keeps TVIS_SELECTED / TVIS_DROPHILITED of the items in step.
  HTREEITEM Caret() const { return Valid(FCaret) ? FCaret : nullptr; }
  void SetCaret(HTREEITEM h);
  HTREEITEM DropHilite() const { return Valid(FDrop) ? FDrop : nullptr; }
  void SetDropHilite(HTREEITEM h);

  // ---- Type-ahead ------------------------------------------------------------------------------
  // A typed byte: the visible row the search finds (from the caret on, wrapping), whose text
  // (by `text`) begins with the typed prefix, ASCII case ignored; null while a lead byte waits
  // or when nothing matches.
  HTREEITEM TypeChar(char c, DWORD time, const std::function<AnsiString(HTREEITEM)>& text);
  const AnsiString& Typed() const { return FTyped.Typed(); }

private:
  struct Node {
    Item Data;
    std::uint32_t Gen = 0;  // the slot's generation; bumped when its item goes
    bool Used = false;
    int Parent = -1, First = -1, Last = -1, Next = -1, Prev = -1;
  };
  // Slot of a handle (null and TVI_ROOT: -1, the root); -2 for a stale handle.
  int SlotOf(HTREEITEM h) const;
  HTREEITEM HandleOf(int slot) const;
  void Link(int slot, int parent, int prev);
  void Unlink(int slot);
  void Free(int slot, const std::function<void(HTREEITEM)>& deleting);
  void SortLevel(int parent, bool recurse, const std::function<bool(HTREEITEM, HTREEITEM)>& less);
  void Touch() { FRowsDirty = true; }

  std::vector<Node> FNodes;
  std::vector<int> FFree;
  int FFirst = -1, FLast = -1;  // the root items
  int FCount = 0;
  HTREEITEM FCaret = nullptr, FDrop = nullptr;
  TypeAhead FTyped;
  // The rows, rebuilt when asked for after a change; FRowOf maps a slot to its row (-1: hidden).
  mutable std::vector<HTREEITEM> FRows;
  mutable std::vector<int> FRowOf;
  mutable bool FRowsDirty = true;
};
