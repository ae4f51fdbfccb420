// The model under a LISTBOX window: its items (text, data, height), the selection of the three
// kinds (single, multiple, extended) with caret and anchor, the top index and the type-ahead
// search. No window here: the window procedure turns messages into these calls and paints what
// the model holds, and tests drive it directly.
//
// Indexes are 0-based; a call with an index outside the list answers LB_ERR (-1) and changes
// nothing. In a virtual list (no data) only the count, heights and selection are kept: texts
// and item data are the owner's.
#pragma once

#include <functional>
#include <vector>

#include "platform/commctrl/common/TypeAhead.h"
#include "platform/rtl/System.h"
#include "platform/win/WinUser.h"

class ListBoxModel {
public:
  enum class SelMode { Single, Multiple, Extended, None };

  struct Options {
    SelMode selMode = SelMode::Single;
    bool variableHeight = false;  // one height per item (LBS_OWNERDRAWVARIABLE)
    bool noData = false;          // a virtual list: count only (LBS_NODATA)
  };

  ListBoxModel();
  explicit ListBoxModel(Options options);

  const Options& GetOptions() const { return FOptions; }
  int Count() const { return FCount; }
  bool Valid(int index) const { return index >= 0 && index < FCount; }

  // ---- Items ----------------------------------------------------------------------------------
  // Inserts before `index` (-1 or Count(): at the end); answers the new item's index or LB_ERR.
  // The selection, caret, anchor and top index move with the items they stand on.
  int Insert(int index, const AnsiString& text, LPARAM data = 0);
  // Where a new item goes in a sorted list: after the items `compare` orders before or equal
  // to it. `compare(i)` answers the new item compared with item i (< 0, 0, > 0).
  int SortedPosition(const std::function<int(int)>& compare) const;
  // Answers the count left, or LB_ERR.
  int Delete(int index);
  void Reset();
  // A virtual list's count; the selection is cleared. LB_ERR for a list that holds data.
  int SetCount(int count);

  const AnsiString& Text(int index) const;
  LPARAM Data(int index) const;
  bool SetData(int index, LPARAM data);

  // ---- Heights --------------------------------------------------------------------------------
  int DefaultHeight() const { return FItemHeight; }
  void SetDefaultHeight(int h);
  int Height(int index) const;
  bool SetHeight(int index, int h);

  // ---- Selection ------------------------------------------------------------------------------
  // Single selection: the selected item or -1. Multiple: the caret item when it is selected.
  int CurSel() const;
  // Single selection only: -1 clears. Answers false for an index outside the list (the
  // selection is then cleared, as -1 would).
  bool SetCurSel(int index);
  bool IsSelected(int index) const;
  // Multi-selection lists; index -1 means every item.
  bool SetSel(bool select, int index);
  // Selects or clears first..last (either order), keeping the rest.
  bool SelRange(bool select, int first, int last);
  int SelCount() const;
  std::vector<int> SelItems() const;
  int Caret() const { return FCaret; }
  bool SetCaret(int index);
  int Anchor() const { return FAnchor; }
  bool SetAnchor(int index);

  // The selection a click or a move key makes: `shift` extends from the anchor, `ctrl` toggles
  // (or, with shift, adds the range). Answers whether the selection changed.
  bool ClickSelect(int index, bool shift, bool ctrl);
  // The caret moves without selecting (Ctrl + arrows in an extended list, arrows in a
  // multiple-selection list).
  void MoveCaret(int index) { SetCaret(index); }
  // Space in a multi-selection list: toggles the caret item (extended: Ctrl+Space toggles,
  // Space selects it alone). Answers whether the selection changed.
  bool ToggleCaret();

  // ---- Scrolling ------------------------------------------------------------------------------
  int TopIndex() const { return FTop; }
  // Clamped to 0 .. Count() - 1; answers whether it moved.
  bool SetTopIndex(int index);
  // The whole rows that fit in `height` pixels from the top index (at least 1).
  int RowsFrom(int top, int height) const;
  // The smallest top index whose rows from it up to the end fill `height`.
  int LastTop(int height) const;
  // Moves the top index the least so that `index` shows whole in `height` pixels.
  bool EnsureVisible(int index, int height);

  // ---- Searching ------------------------------------------------------------------------------
  // The first item after `start` (wrapping; -1: from the top) whose text begins with `prefix`
  // (ASCII case ignored, character by character) or, with `exact`, equals it. LB_ERR if none.
  int Find(int start, const AnsiString& prefix, bool exact) const;
  // The first item after `start` whose data equals `data` (lists without strings).
  int FindData(int start, LPARAM data) const;
  // A typed character (CP936: a double-byte character comes as its lead and its trail byte, the
  // lead waiting for the trail). Characters within `kTypeAheadMs` of each other make one
  // prefix; the same character again steps to the next item that starts with it. Answers the
  // item found, or LB_ERR (also while a lead byte waits).
  static constexpr DWORD kTypeAheadMs = TypeAhead::kDelayMs;
  int TypeChar(char c, DWORD time);
  const AnsiString& TypedPrefix() const { return FTyped.Typed(); }

private:
  void ClearSel();
  void Shift(int from, int by);

  Options FOptions;
  int FCount = 0;
  std::vector<AnsiString> FText;  // empty in a virtual list
  std::vector<LPARAM> FData;      // empty in a virtual list
  std::vector<int> FHeights;      // variable heights only
  std::vector<bool> FSel;         // multi-selection lists only
  int FItemHeight = 16;
  int FCurSel = -1;  // single selection
  int FCaret = -1, FAnchor = -1, FTop = 0;
  TypeAhead FTyped;
};
