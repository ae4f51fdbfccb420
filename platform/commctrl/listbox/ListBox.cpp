// The LISTBOX window procedure.
//
// Sections: state and layout; scroll bars; painting; selection from the user (mouse, keys,
// type-ahead); the LB_ messages; the window procedure.
#include "platform/commctrl/listbox/ListBox.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/common/ControlUtil.h"
#include "platform/gdi/dc/SavedDC.h"
#include "platform/commctrl/listbox/ListBoxModel.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

constexpr UINT_PTR kAutoScrollTimer = 1;

// ==== State and layout ==========================================================================

struct LBState {
  explicit LBState(ListBoxModel::Options o) : model(o) {}
  ListBoxModel model;
  DWORD style = 0;
  HFONT font = nullptr;
  HWND combo = nullptr;  // the combo box this list drops down for
  bool wantV = false, wantH = false;
  bool ownerDraw = false, hasStrings = true, sorted = false, multiColumn = false;
  int columnWidth = 0;
  int horzExtent = 0, horzPos = 0;  // pixels
  std::vector<int> tabs;            // dialog units / 4 as pixels
  bool focused = false;
  bool tracking = false;  // the left button went down on the list and is held
  bool changedWhileTracking = false;
  POINT lastMouse{-1, -1};
  bool updatingScroll = false;
};

LBState* StateOf(HWND wnd) { return ControlUtil::StateOf<LBState>(wnd); }

// Where owner-draw requests and notifications go: the combo's parent for a drop-down.
HWND OwnerOf(HWND wnd, LBState* s) { return s->combo ? GetParent(s->combo) : GetParent(wnd); }

UINT CtlTypeOf(LBState* s) { return s->combo ? ODT_COMBOBOX : ODT_LISTBOX; }

HWND ItemWndOf(HWND wnd, LBState* s) { return s->combo ? s->combo : wnd; }

RECT Client(HWND wnd)
{
  RECT r;
  GetClientRect(wnd, &r);
  return r;
}

int ClientHeight(HWND wnd)
{
  RECT r = Client(wnd);
  return r.bottom - r.top;
}

// Rows per column of a multi-column list.
int RowsPerColumn(HWND wnd, LBState* s) { return std::max(1, ClientHeight(wnd) / s->model.DefaultHeight()); }

int VisibleRows(HWND wnd, LBState* s) { return s->model.RowsFrom(s->model.TopIndex(), ClientHeight(wnd)); }

// The item's rectangle in client coordinates (it may lie outside the client area).
RECT ItemRect(HWND wnd, LBState* s, int index)
{
  RECT c = Client(wnd);
  ListBoxModel& m = s->model;
  if (s->multiColumn) {
    int rows = RowsPerColumn(wnd, s);
    int rel = index - m.TopIndex();
    int col = rel >= 0 ? rel / rows : (rel - rows + 1) / rows;
    int row = rel - col * rows;
    int h = m.DefaultHeight();
    return {col * s->columnWidth, row * h, (col + 1) * s->columnWidth, (row + 1) * h};
  }
  int y = 0;
  if (!m.GetOptions().variableHeight) {
    y = (index - m.TopIndex()) * m.DefaultHeight();
  } else if (index >= m.TopIndex()) {
    for (int i = m.TopIndex(); i < index; ++i) y += m.Height(i);
  } else {
    for (int i = index; i < m.TopIndex(); ++i) y -= m.Height(i);
  }
  int width = std::max<int>(c.right, s->horzExtent);
  return {-s->horzPos, y, width - s->horzPos, y + m.Height(index)};
}

// The item under a client point: the nearest one, with `outside` set when the point is not on
// an item.
int NearestItem(HWND wnd, LBState* s, POINT p, bool* outside)
{
  ListBoxModel& m = s->model;
  *outside = true;
  if (m.Count() == 0) return 0;
  RECT c = Client(wnd);
  int index;
  if (s->multiColumn) {
    int rows = RowsPerColumn(wnd, s);
    int col = p.x >= 0 ? p.x / std::max(1, s->columnWidth) : -1;
    int row = std::clamp<int>(p.y / m.DefaultHeight(), 0, rows - 1);
    index = m.TopIndex() + col * rows + row;
  } else if (p.y < 0) {
    index = m.TopIndex() - 1;
  } else if (!m.GetOptions().variableHeight) {
    index = m.TopIndex() + p.y / m.DefaultHeight();
  } else {
    int y = 0;
    index = m.TopIndex();
    while (index < m.Count() && y + m.Height(index) <= p.y) y += m.Height(index++);
  }
  bool in = index >= 0 && index < m.Count() && p.x >= c.left && p.x < c.right && p.y >= c.top && p.y < c.bottom;
  if (in) {
    RECT r = ItemRect(wnd, s, index);
    in = p.y < r.bottom && p.y >= r.top;
  }
  *outside = !in;
  return std::clamp(index, 0, m.Count() - 1);
}

void Notify(HWND wnd, LBState* s, WORD code)
{
  bool always = code == LBN_ERRSPACE;
  if (s->combo) {
    ControlUtil::Notify(wnd, code, s->combo);
  } else if (always || (s->style & LBS_NOTIFY)) {
    ControlUtil::Notify(wnd, code);
  }
}

bool Redrawing(HWND wnd) { return IsWindowVisible(wnd) && !(GetWindowLongPtr(wnd, GWL_STYLE) & LBS_NOREDRAW); }

void InvalidateItem(HWND wnd, LBState* s, int index)
{
  if (!s->model.Valid(index)) return;
  RECT r = ItemRect(wnd, s, index);
  InvalidateRect(wnd, &r, TRUE);
}

// A fixed-height list without LBS_NOINTEGRALHEIGHT shows whole rows only: its height is cut down.
void FitIntegralHeight(HWND wnd, LBState* s)
{
  if ((s->style & (LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWVARIABLE)) || s->multiColumn || s->combo) return;
  RECT c = Client(wnd), w;
  GetWindowRect(wnd, &w);
  int h = s->model.DefaultHeight();
  int extra = c.bottom % h;
  if (extra == 0 || c.bottom < h) return;
  SetWindowPos(wnd, nullptr, 0, 0, w.right - w.left, w.bottom - w.top - extra,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ==== Scroll bars ===============================================================================

void UpdateScroll(HWND wnd, LBState* s)
{
  if (s->updatingScroll || !(s->wantV || s->wantH)) return;
  s->updatingScroll = true;
  ListBoxModel& m = s->model;
  UINT keep = (s->style & LBS_DISABLENOSCROLL) ? SIF_DISABLENOSCROLL : 0;
  RECT c = Client(wnd);
  if (s->multiColumn) {
    if (s->wantH) {
      int rows = RowsPerColumn(wnd, s);
      SCROLLINFO si;
      si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | keep;
      si.nMin = 0;
      si.nMax = std::max(0, (m.Count() + rows - 1) / rows - 1);
      si.nPage = UINT(std::max<int>(1, c.right / std::max(1, s->columnWidth)));
      si.nPos = m.TopIndex() / rows;
      SetScrollInfo(wnd, SB_HORZ, &si, TRUE);
    }
  } else {
    if (s->wantV) {
      SCROLLINFO si;
      si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | keep;
      si.nMin = 0;
      si.nMax = std::max(0, m.Count() - 1);
      si.nPage = UINT(m.Count() ? VisibleRows(wnd, s) : 0);
      // A list that ends above the bottom needs no bar.
      if (m.Count() && m.LastTop(ClientHeight(wnd)) == 0) si.nPage = UINT(m.Count());
      si.nPos = m.TopIndex();
      SetScrollInfo(wnd, SB_VERT, &si, TRUE);
    }
    if (s->wantH) {
      c = Client(wnd);
      SCROLLINFO si;
      si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | keep;
      si.nMin = 0;
      si.nMax = std::max(0, s->horzExtent - 1);
      si.nPage = UINT(std::max<int>(0, c.right));
      si.nPos = s->horzPos;
      SetScrollInfo(wnd, SB_HORZ, &si, TRUE);
      s->horzPos = GetScrollPos(wnd, SB_HORZ);
    }
  }
  s->updatingScroll = false;
}

void SetTop(HWND wnd, LBState* s, int top)
{
  ListBoxModel& m = s->model;
  if (s->multiColumn) {
    int rows = RowsPerColumn(wnd, s);
    top = std::clamp(top, 0, std::max(0, m.Count() - 1)) / rows * rows;
  } else {
    top = std::clamp(top, 0, m.LastTop(ClientHeight(wnd)));
  }
  if (m.SetTopIndex(top) && Redrawing(wnd)) InvalidateRect(wnd, nullptr, TRUE);
  UpdateScroll(wnd, s);
}

void EnsureVisible(HWND wnd, LBState* s, int index)
{
  ListBoxModel& m = s->model;
  if (!m.Valid(index)) return;
  if (s->multiColumn) {
    int rows = RowsPerColumn(wnd, s);
    int cols = std::max<int>(1, Client(wnd).right / std::max(1, s->columnWidth));
    int top = m.TopIndex();
    if (index < top)
      top = index;
    else if (index >= top + rows * cols)
      top = index - rows * cols + rows;
    SetTop(wnd, s, top);
    return;
  }
  ListBoxModel probe = m;  // the model decides the least move
  probe.EnsureVisible(index, ClientHeight(wnd));
  SetTop(wnd, s, probe.TopIndex());
}

void Scroll(HWND wnd, LBState* s, bool vertical, int code)
{
  ListBoxModel& m = s->model;
  bool byColumns = s->multiColumn;
  if (!vertical && !byColumns) {
    // The horizontal extent scrolls by pixels.
    RECT c = Client(wnd);
    int pos = s->horzPos, line = ControlUtil::FontCell(s->font).cx;
    switch (code) {
      case SB_LINELEFT: pos -= line; break;
      case SB_LINERIGHT: pos += line; break;
      case SB_PAGELEFT: pos -= c.right; break;
      case SB_PAGERIGHT: pos += c.right; break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: {
        SCROLLINFO si;
        si.fMask = SIF_TRACKPOS;
        GetScrollInfo(wnd, SB_HORZ, &si);
        pos = si.nTrackPos;
        break;
      }
      case SB_LEFT: pos = 0; break;
      case SB_RIGHT: pos = s->horzExtent; break;
      default: return;
    }
    pos = std::clamp(pos, 0, std::max(0, s->horzExtent - int(c.right)));
    if (pos != s->horzPos) {
      s->horzPos = pos;
      InvalidateRect(wnd, nullptr, TRUE);
    }
    UpdateScroll(wnd, s);
    return;
  }
  if (vertical == byColumns) return;  // a multi-column list has no vertical scrolling
  int step = byColumns ? RowsPerColumn(wnd, s) : 1;
  int page = byColumns ? step * std::max<int>(1, Client(wnd).right / std::max(1, s->columnWidth))
                       : std::max(1, VisibleRows(wnd, s) - 1);
  int top = m.TopIndex();
  switch (code) {
    case SB_LINEUP: top -= step; break;
    case SB_LINEDOWN: top += step; break;
    case SB_PAGEUP: top -= page; break;
    case SB_PAGEDOWN: top += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The 32-bit track position: the message's 16-bit field would wrap past 65,535 items.
      SCROLLINFO si;
      si.fMask = SIF_TRACKPOS;
      GetScrollInfo(wnd, byColumns ? SB_HORZ : SB_VERT, &si);
      top = si.nTrackPos * step;
      break;
    }
    case SB_TOP: top = 0; break;
    case SB_BOTTOM: top = m.Count(); break;
    default: return;
  }
  SetTop(wnd, s, top);
}

// ==== Painting ==================================================================================

UINT ItemState(HWND wnd, LBState* s, int index)
{
  UINT st = 0;
  if (s->model.IsSelected(index)) st |= ODS_SELECTED;
  if (s->focused && index == s->model.Caret()) st |= ODS_FOCUS;
  if (!IsWindowEnabled(wnd)) st |= ODS_DISABLED;
  return st;
}

void SendDrawItem(HWND wnd, LBState* s, HDC dc, int index, RECT r, UINT action, UINT state)
{
  DRAWITEMSTRUCT di;
  di.CtlType = CtlTypeOf(s);
  di.CtlID = UINT(GetDlgCtrlID(ItemWndOf(wnd, s)));
  di.itemID = UINT(index);
  di.itemAction = action;
  di.itemState = state;
  di.hwndItem = wnd;
  di.hDC = dc;
  di.rcItem = r;
  di.itemData = UINT_PTR(s->model.Data(index));
  TSavedDC keep(dc);
  IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  SendMessage(OwnerOf(wnd, s), WM_DRAWITEM, WPARAM(di.CtlID), reinterpret_cast<LPARAM>(&di));
}

void PaintItem(HWND wnd, LBState* s, HDC dc, int index, HBRUSH back, COLORREF text)
{
  RECT r = ItemRect(wnd, s, index);
  UINT state = ItemState(wnd, s, index);
  if (s->ownerDraw) {
    SendDrawItem(wnd, s, dc, index, r, ODA_DRAWENTIRE, state);
    return;
  }
  bool sel = state & ODS_SELECTED;
  bool enabled = !(state & ODS_DISABLED);
  FillRect(dc, &r, sel ? GetSysColorBrush(COLOR_HIGHLIGHT) : back);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, !enabled ? GetSysColor(COLOR_GRAYTEXT) : sel ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text);
  const AnsiString& t = s->model.Text(index);
  if (s->style & LBS_USETABSTOPS)
    TabbedTextOut(dc, r.left + 2, r.top, t.c_str(), int(t.size()), int(s->tabs.size()),
                  s->tabs.empty() ? nullptr : s->tabs.data(), r.left + 2);
  else
    ExtTextOut(dc, r.left + 2, r.top, ETO_CLIPPED, &r, t.c_str(), int(t.size()), nullptr);
  if (state & ODS_FOCUS) {
    RECT f = r;
    if (!s->multiColumn) f.right = std::min<LONG>(f.right, Client(wnd).right);
    DrawFocusRect(dc, &f);
  }
}

void Paint(HWND wnd, LBState* s, HDC dc, const RECT& clip)
{
  HGDIOBJ oldFont = SelectObject(dc, ControlUtil::FontOr(s->font));
  HBRUSH back = CommCtrl::ControlColor(ItemWndOf(wnd, s), dc, WM_CTLCOLORLISTBOX);
  COLORREF text = GetTextColor(dc);
  ListBoxModel& m = s->model;
  RECT c = Client(wnd);
  int last = m.Count() - 1;
  for (int i = m.TopIndex(); i <= last; ++i) {
    RECT r = ItemRect(wnd, s, i);
    if (r.left >= c.right) break;
    if (!s->multiColumn && r.top >= c.bottom) break;
    RECT hit;
    if (IntersectRect(&hit, &r, &clip)) PaintItem(wnd, s, dc, i, back, text);
  }
  // An empty list still shows where the focus is.
  if (m.Count() == 0 && s->focused) {
    RECT r{0, 0, c.right, m.DefaultHeight()};
    if (s->ownerDraw)
      SendDrawItem(wnd, s, dc, -1, r, ODA_FOCUS, ODS_FOCUS);
    else
      DrawFocusRect(dc, &r);
  }
  SelectObject(dc, oldFont);
}

// ==== Selection from the user ===================================================================

bool MultiSel(LBState* s)
{
  auto k = s->model.GetOptions().selMode;
  return k == ListBoxModel::SelMode::Multiple || k == ListBoxModel::SelMode::Extended;
}

// Repaints after a selection change: the old and new caret and everything selected before
// or after (cheap enough: only visible rows paint).
void SelectionChanged(HWND wnd) { InvalidateRect(wnd, nullptr, TRUE); }

// A click or drag at `index`; answers whether the selection changed.
bool UserSelect(HWND wnd, LBState* s, int index, bool shift, bool ctrl)
{
  if (s->style & LBS_NOSEL) {
    s->model.SetCaret(index);
    SelectionChanged(wnd);
    return false;
  }
  int caret = s->model.Caret();
  bool changed = s->model.ClickSelect(index, shift, ctrl);
  if (changed || caret != index) SelectionChanged(wnd);
  EnsureVisible(wnd, s, index);
  return changed;
}

void MouseDown(HWND wnd, LBState* s, POINT p, WPARAM keys, bool dbl)
{
  if (!s->combo && GetFocus() != wnd) SetFocus(wnd);
  if (!IsWindow(wnd) || !(s = StateOf(wnd))) return;
  bool outside;
  int index = NearestItem(wnd, s, p, &outside);
  if (s->model.Count() == 0 || outside) return;
  bool shift = keys & MK_SHIFT, ctrl = keys & MK_CONTROL;
  auto mode = s->model.GetOptions().selMode;
  s->changedWhileTracking = false;
  if (mode == ListBoxModel::SelMode::Multiple) {
    // A multiple-selection list toggles on the press and does not drag.
    s->changedWhileTracking = UserSelect(wnd, s, index, false, false);
    Notify(wnd, s, LBN_SELCHANGE);
  } else {
    s->changedWhileTracking = UserSelect(wnd, s, index, shift, ctrl);
    s->tracking = true;
    SetCapture(wnd);
  }
  if (dbl) Notify(wnd, s, LBN_DBLCLK);
}

void MouseDrag(HWND wnd, LBState* s, POINT p)
{
  if (!s->tracking || s->model.Count() == 0) return;
  RECT c = Client(wnd);
  bool outside;
  int index = NearestItem(wnd, s, p, &outside);
  // Above or below the list the selection moves one row at a time, with the timer repeating.
  if (!s->multiColumn && (p.y < 0 || p.y >= c.bottom)) {
    int top = s->model.TopIndex();
    index = p.y < 0 ? std::max(0, top - 1) : std::min(s->model.Count() - 1, top + VisibleRows(wnd, s));
    SetTimer(wnd, kAutoScrollTimer, 100, nullptr);
  } else {
    KillTimer(wnd, kAutoScrollTimer);
  }
  if (index == s->model.Caret()) return;
  auto mode = s->model.GetOptions().selMode;
  bool changed = mode == ListBoxModel::SelMode::Extended ? UserSelect(wnd, s, index, true, false)
                                                         : UserSelect(wnd, s, index, false, false);
  s->changedWhileTracking |= changed;
}

void MouseUp(HWND wnd, LBState* s)
{
  if (!s->tracking) return;
  s->tracking = false;
  KillTimer(wnd, kAutoScrollTimer);
  if (GetCapture() == wnd) ReleaseCapture();
  if (s->changedWhileTracking) Notify(wnd, s, LBN_SELCHANGE);
  s->changedWhileTracking = false;
}

// Moves the caret to `index` by a key, selecting as the list's kind and the modifiers say.
void KeyMove(HWND wnd, LBState* s, int index)
{
  ListBoxModel& m = s->model;
  if (m.Count() == 0) return;
  index = std::clamp(index, 0, m.Count() - 1);
  bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  auto mode = m.GetOptions().selMode;
  bool changed = false;
  if (mode == ListBoxModel::SelMode::Multiple || (mode == ListBoxModel::SelMode::Extended && ctrl && !shift) ||
      (s->style & LBS_NOSEL)) {
    m.MoveCaret(index);
    SelectionChanged(wnd);
    EnsureVisible(wnd, s, index);
  } else {
    changed = UserSelect(wnd, s, index, shift && mode == ListBoxModel::SelMode::Extended, false);
  }
  if (changed) Notify(wnd, s, LBN_SELCHANGE);
}

void KeyDown(HWND wnd, LBState* s, int vk)
{
  ListBoxModel& m = s->model;
  int caret = m.Caret() < 0 ? (m.CurSel() < 0 ? -1 : m.CurSel()) : m.Caret();
  int page = s->multiColumn ? RowsPerColumn(wnd, s) : std::max(1, VisibleRows(wnd, s) - 1);
  int col = s->multiColumn ? RowsPerColumn(wnd, s) : 1;
  switch (vk) {
    case VK_UP: KeyMove(wnd, s, caret < 0 ? 0 : caret - 1); break;
    case VK_DOWN: KeyMove(wnd, s, caret + 1); break;
    case VK_LEFT: KeyMove(wnd, s, caret < 0 ? 0 : caret - col); break;
    case VK_RIGHT: KeyMove(wnd, s, caret + col); break;
    case VK_PRIOR: KeyMove(wnd, s, caret < 0 ? 0 : caret - page); break;
    case VK_NEXT: KeyMove(wnd, s, caret + page); break;
    case VK_HOME: KeyMove(wnd, s, 0); break;
    case VK_END: KeyMove(wnd, s, m.Count() - 1); break;
    case VK_SPACE: {
      if (!MultiSel(s) || !m.Valid(m.Caret()) || (s->style & LBS_NOSEL)) break;
      bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
      bool changed = m.GetOptions().selMode == ListBoxModel::SelMode::Multiple || (ctrl && !shift)
                         ? m.ToggleCaret()
                         : m.ClickSelect(m.Caret(), shift, ctrl);
      SelectionChanged(wnd);
      if (changed) Notify(wnd, s, LBN_SELCHANGE);
      break;
    }
    default: break;
  }
}

void TypeChar(HWND wnd, LBState* s, char c)
{
  // Items the owner draws without strings have no text to search.
  if (s->ownerDraw && !s->hasStrings) return;
  if (BYTE(c) < 0x20) return;  // control characters search nothing
  int found = s->model.TypeChar(c, GetMessageTime());
  if (found < 0) return;
  if (s->model.GetOptions().selMode == ListBoxModel::SelMode::Multiple) {
    s->model.MoveCaret(found);
    SelectionChanged(wnd);
    EnsureVisible(wnd, s, found);
    return;
  }
  if (UserSelect(wnd, s, found, false, false)) Notify(wnd, s, LBN_SELCHANGE);
}

// ==== Items =====================================================================================

void Measure(HWND wnd, LBState* s, int index)
{
  if (!(s->style & LBS_OWNERDRAWVARIABLE)) return;
  MEASUREITEMSTRUCT mi;
  mi.CtlType = CtlTypeOf(s);
  mi.CtlID = UINT(GetDlgCtrlID(ItemWndOf(wnd, s)));
  mi.itemID = UINT(index);
  mi.itemWidth = UINT(Client(wnd).right);
  mi.itemHeight = UINT(s->model.DefaultHeight());
  mi.itemData = UINT_PTR(s->model.Data(index));
  SendMessage(OwnerOf(wnd, s), WM_MEASUREITEM, WPARAM(mi.CtlID), reinterpret_cast<LPARAM>(&mi));
  s->model.SetHeight(index, int(mi.itemHeight));
}

// The new item compared with item i: by text in a list with strings, else by the owner.
int CompareNew(HWND wnd, LBState* s, const AnsiString& text, LPARAM data, int i)
{
  if (s->hasStrings) return SysUtils::AnsiCompareText(text, s->model.Text(i));
  COMPAREITEMSTRUCT ci;
  ci.CtlType = CtlTypeOf(s);
  ci.CtlID = UINT(GetDlgCtrlID(ItemWndOf(wnd, s)));
  ci.hwndItem = ItemWndOf(wnd, s);
  ci.itemID1 = UINT(-1);
  ci.itemData1 = UINT_PTR(data);
  ci.itemID2 = UINT(i);
  ci.itemData2 = UINT_PTR(s->model.Data(i));
  ci.dwLocaleId = 0x0804;
  return int(SendMessage(OwnerOf(wnd, s), WM_COMPAREITEM, WPARAM(ci.CtlID), reinterpret_cast<LPARAM>(&ci)));
}

void SendDeleteItem(HWND wnd, LBState* s, int index)
{
  LPARAM data = s->model.Data(index);
  if (!s->ownerDraw && !data) return;
  DELETEITEMSTRUCT di;
  di.CtlType = CtlTypeOf(s);
  di.CtlID = UINT(GetDlgCtrlID(ItemWndOf(wnd, s)));
  di.itemID = UINT(index);
  di.hwndItem = wnd;
  di.itemData = UINT_PTR(data);
  SendMessage(OwnerOf(wnd, s), WM_DELETEITEM, WPARAM(di.CtlID), reinterpret_cast<LPARAM>(&di));
}

LRESULT AddItem(HWND wnd, LBState* s, int index, LPARAM lParam, bool sortedAdd)
{
  if (s->model.GetOptions().noData) return LB_ERR;
  AnsiString text;
  LPARAM data = 0;
  if (s->hasStrings) {
    text = lParam ? reinterpret_cast<const char*>(lParam) : "";
  } else {
    data = lParam;  // the owner's item: its data is all there is
  }
  if (sortedAdd && s->sorted) index = s->model.SortedPosition([&](int i) { return CompareNew(wnd, s, text, data, i); });
  int at = s->model.Insert(index, text, data);
  if (at < 0) return LB_ERR;
  Measure(wnd, s, at);
  if (Redrawing(wnd)) InvalidateRect(wnd, nullptr, TRUE);
  UpdateScroll(wnd, s);
  return at;
}

LRESULT DeleteItem(HWND wnd, LBState* s, int index)
{
  if (!s->model.Valid(index)) return LB_ERR;
  SendDeleteItem(wnd, s, index);
  if (!(s = StateOf(wnd))) return LB_ERR;
  LRESULT left = s->model.Delete(index);
  SetTop(wnd, s, s->model.TopIndex());
  if (Redrawing(wnd)) InvalidateRect(wnd, nullptr, TRUE);
  UpdateScroll(wnd, s);
  return left;
}

void ResetContent(HWND wnd, LBState* s)
{
  for (int i = s->model.Count() - 1; i >= 0 && !s->model.GetOptions().noData; --i) SendDeleteItem(wnd, s, i);
  s->model.Reset();
  s->horzPos = 0;
  if (Redrawing(wnd)) InvalidateRect(wnd, nullptr, TRUE);
  UpdateScroll(wnd, s);
}

// Copies an item's text (or, without strings, its data) into a caller's buffer.
LRESULT GetText(LBState* s, int index, char* buffer)
{
  if (!s->model.Valid(index)) return LB_ERR;
  if (!s->hasStrings) {
    LPARAM data = s->model.Data(index);
    if (buffer) std::memcpy(buffer, &data, sizeof data);
    return sizeof data;
  }
  const AnsiString& t = s->model.Text(index);
  if (buffer) {
    std::memcpy(buffer, t.data(), t.size());
    buffer[t.size()] = 0;
  }
  return LRESULT(t.size());
}

LRESULT Find(LBState* s, int start, LPARAM lParam, bool exact)
{
  if (!s->hasStrings) return s->model.FindData(start, lParam);
  return s->model.Find(start, lParam ? reinterpret_cast<const char*>(lParam) : "", exact);
}

// ==== Creation ==================================================================================

LRESULT Create(HWND wnd, const CREATESTRUCTA* cs)
{
  DWORD style = DWORD(cs->style);
  ListBoxModel::Options o;
  if (style & LBS_EXTENDEDSEL)
    o.selMode = ListBoxModel::SelMode::Extended;
  else if (style & LBS_MULTIPLESEL)
    o.selMode = ListBoxModel::SelMode::Multiple;
  bool ownerDraw = style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE);
  o.variableHeight = (style & LBS_OWNERDRAWVARIABLE) && !(style & LBS_MULTICOLUMN);
  // A virtual list needs fixed owner-drawn rows and no sorting or strings.
  o.noData = (style & LBS_NODATA) && (style & LBS_OWNERDRAWFIXED) && !(style & (LBS_SORT | LBS_HASSTRINGS));
  auto s = std::make_unique<LBState>(o);
  s->style = style;
  s->ownerDraw = ownerDraw;
  s->hasStrings = !ownerDraw || (style & LBS_HASSTRINGS);
  s->sorted = (style & LBS_SORT) && !o.noData;
  s->multiColumn = style & LBS_MULTICOLUMN;
  s->wantV = style & WS_VSCROLL;
  if (style & LBS_COMBOBOX) s->combo = static_cast<HWND>(cs->lpCreateParams);
  s->wantH = style & WS_HSCROLL;
  SIZE cell = ControlUtil::FontCell(nullptr);
  s->model.SetDefaultHeight(cell.cy);
  s->columnWidth = cell.cx * 16;
  ControlUtil::AttachState(wnd, std::move(s));
  LBState* st = StateOf(wnd);
  if (style & LBS_OWNERDRAWFIXED) {
    // A fixed-height owner-drawn list asks its owner once for the row height.
    MEASUREITEMSTRUCT mi;
    mi.CtlType = CtlTypeOf(st);
    mi.CtlID = UINT(GetDlgCtrlID(ItemWndOf(wnd, st)));
    mi.itemWidth = UINT(cs->cx);
    mi.itemHeight = UINT(cell.cy);
    SendMessage(OwnerOf(wnd, st), WM_MEASUREITEM, WPARAM(mi.CtlID), reinterpret_cast<LPARAM>(&mi));
    if ((st = StateOf(wnd))) st->model.SetDefaultHeight(int(mi.itemHeight));
  }
  return 0;
}

}  // namespace

namespace ListBox {

ListBoxModel* ModelOf(HWND list)
{
  char name[32];
  if (!IsWindow(list) || !GetClassName(list, name, sizeof name)) return nullptr;
  if (SysUtils::CompareText(name, "LISTBOX") != 0 && SysUtils::CompareText(name, "ComboLBox") != 0) return nullptr;
  LBState* s = StateOf(list);
  return s ? &s->model : nullptr;
}

HWND ComboOf(HWND list)
{
  LBState* s = ModelOf(list) ? StateOf(list) : nullptr;
  return s ? s->combo : nullptr;
}

int ItemAt(HWND list, POINT client)
{
  LBState* s = StateOf(list);
  if (!s) return -1;
  bool outside;
  int i = NearestItem(list, s, client, &outside);
  return outside ? -1 : i;
}

void SelectFromUser(HWND list, int index)
{
  if (LBState* s = StateOf(list)) UserSelect(list, s, index, false, false);
}

LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  LBState* s = StateOf(wnd);
  if (!s && msg != WM_CREATE) return DefWindowProc(wnd, msg, wParam, lParam);
  switch (msg) {
    case WM_CREATE: return Create(wnd, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_NCDESTROY: {
      ResetContent(wnd, s);
      auto gone = ControlUtil::DetachState<LBState>(wnd);
      return DefWindowProc(wnd, msg, wParam, lParam);
    }
    case WM_SIZE:
      if (s->multiColumn) SetTop(wnd, s, s->model.TopIndex());
      FitIntegralHeight(wnd, s);
      if ((s = StateOf(wnd))) SetTop(wnd, s, s->model.TopIndex());
      return 0;
    case WM_SETFONT: {
      ControlUtil::SetFontFrom(wnd, s->font, wParam, lParam);
      if (!s->ownerDraw) s->model.SetDefaultHeight(ControlUtil::FontCell(s->font).cy);
      s->columnWidth = std::max(s->columnWidth, 1);
      UpdateScroll(wnd, s);
      return 0;
    }
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_SETREDRAW:
      DefWindowProc(wnd, msg, wParam, lParam);
      if (wParam) {
        UpdateScroll(wnd, s);
        InvalidateRect(wnd, nullptr, TRUE);
      }
      return 0;
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      HBRUSH b = CommCtrl::ControlColor(ItemWndOf(wnd, s), dc, WM_CTLCOLORLISTBOX);
      RECT c = Client(wnd);
      FillRect(dc, &c, b);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(wnd, &ps);
      RECT clip = wParam ? Client(wnd) : ps.rcPaint;
      Paint(wnd, s, dc, clip);
      if (!wParam) EndPaint(wnd, &ps);
      return 0;
    }
    case WM_ENABLE: InvalidateRect(wnd, nullptr, TRUE); return 0;
    case WM_SETFOCUS:
      s->focused = true;
      InvalidateItem(wnd, s, s->model.Caret());
      if (s->model.Count() == 0) InvalidateRect(wnd, nullptr, TRUE);
      Notify(wnd, s, LBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      s->focused = false;
      InvalidateItem(wnd, s, s->model.Caret());
      if (s->model.Count() == 0) InvalidateRect(wnd, nullptr, TRUE);
      MouseUp(wnd, s);
      if ((s = StateOf(wnd))) Notify(wnd, s, LBN_KILLFOCUS);
      return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      MouseDown(wnd, s, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, wParam, msg == WM_LBUTTONDBLCLK);
      return 0;
    case WM_MOUSEMOVE:
      s->lastMouse = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      MouseDrag(wnd, s, s->lastMouse);
      return 0;
    case WM_TIMER:
      if (wParam == kAutoScrollTimer) MouseDrag(wnd, s, s->lastMouse);
      return 0;
    case WM_LBUTTONUP: MouseUp(wnd, s); return 0;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      if (msg == WM_CAPTURECHANGED && reinterpret_cast<HWND>(lParam) == wnd) return 0;
      MouseUp(wnd, s);
      return 0;
    case WM_KEYDOWN: KeyDown(wnd, s, int(wParam)); return 0;
    case WM_CHAR: TypeChar(wnd, s, char(wParam & 0xFF)); return 0;
    case WM_VSCROLL:
    case WM_HSCROLL: Scroll(wnd, s, msg == WM_VSCROLL, LOWORD(wParam)); return 0;
    case WM_MOUSEWHEEL: {
      UINT lines = 3;
      SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
      int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
      if (s->multiColumn)
        SetTop(wnd, s, s->model.TopIndex() - notches * RowsPerColumn(wnd, s));
      else
        SetTop(wnd, s, s->model.TopIndex() - notches * int(std::max(1u, lines)));
      return 0;
    }

    // ---- LB_ messages ---------------------------------------------------------------------------
    case LB_ADDSTRING: return AddItem(wnd, s, -1, lParam, true);
    case LB_INSERTSTRING: return AddItem(wnd, s, int(wParam), lParam, false);
    case LB_DELETESTRING: return DeleteItem(wnd, s, int(wParam));
    case LB_RESETCONTENT: ResetContent(wnd, s); return LB_OKAY;
    case LB_INITSTORAGE: return LRESULT(s->model.Count() + int(wParam));
    case LB_SETCOUNT: {
      if (s->model.SetCount(int(wParam)) < 0) return LB_ERR;
      SetTop(wnd, s, 0);
      InvalidateRect(wnd, nullptr, TRUE);
      return LB_OKAY;
    }
    case LB_GETCOUNT: return s->model.Count();
    case LB_GETTEXT: return GetText(s, int(wParam), reinterpret_cast<char*>(lParam));
    case LB_GETTEXTLEN:
      if (!s->model.Valid(int(wParam))) return LB_ERR;
      return s->hasStrings ? LRESULT(s->model.Text(int(wParam)).size()) : LRESULT(sizeof(LPARAM));
    case LB_GETITEMDATA: return s->model.Valid(int(wParam)) ? s->model.Data(int(wParam)) : LB_ERR;
    case LB_SETITEMDATA: return s->model.SetData(int(wParam), lParam) ? LB_OKAY : LB_ERR;
    case LB_GETCURSEL: {
      if (MultiSel(s)) return s->model.Caret();
      return s->model.CurSel();
    }
    case LB_SETCURSEL: {
      if (MultiSel(s)) return LB_ERR;
      bool ok = s->model.SetCurSel(int(wParam));
      InvalidateRect(wnd, nullptr, TRUE);
      if (!ok) return LB_ERR;
      EnsureVisible(wnd, s, int(wParam));
      return LRESULT(wParam);
    }
    case LB_GETSEL:
      if (!s->model.Valid(int(wParam))) return LB_ERR;
      return s->model.IsSelected(int(wParam)) ? 1 : 0;
    case LB_SETSEL: {
      if (!MultiSel(s) || !s->model.SetSel(wParam != 0, int(lParam))) return LB_ERR;
      if (int(lParam) >= 0) {
        s->model.SetCaret(int(lParam));
        s->model.SetAnchor(int(lParam));
      }
      InvalidateRect(wnd, nullptr, TRUE);
      return LB_OKAY;
    }
    case LB_SELITEMRANGE:
      if (!s->model.SelRange(wParam != 0, LOWORD(lParam), HIWORD(lParam))) return LB_ERR;
      InvalidateRect(wnd, nullptr, TRUE);
      return LB_OKAY;
    case LB_SELITEMRANGEEX: {
      int first = int(wParam), last = int(lParam);
      // A range given backwards clears.
      bool ok = first <= last ? s->model.SelRange(true, first, last) : s->model.SelRange(false, last, first);
      if (!ok) return LB_ERR;
      InvalidateRect(wnd, nullptr, TRUE);
      return LB_OKAY;
    }
    case LB_GETSELCOUNT: return s->model.SelCount();
    case LB_GETSELITEMS: {
      if (!MultiSel(s)) return LB_ERR;
      auto items = s->model.SelItems();
      int n = std::min<int>(int(items.size()), int(wParam));
      auto* out = reinterpret_cast<int*>(lParam);
      if (out) std::copy_n(items.begin(), n, out);
      return n;
    }
    case LB_SETANCHORINDEX: return s->model.SetAnchor(int(wParam)) ? LB_OKAY : LB_ERR;
    case LB_GETANCHORINDEX: return s->model.Anchor();
    case LB_SETCARETINDEX: {
      if (!s->model.SetCaret(int(wParam))) return LB_ERR;
      if (!MultiSel(s)) s->model.SetCurSel(int(wParam));
      // lParam TRUE scrolls only until the item shows partly; we always show it whole.
      EnsureVisible(wnd, s, int(wParam));
      InvalidateRect(wnd, nullptr, TRUE);
      return LB_OKAY;
    }
    case LB_GETCARETINDEX: return s->model.Caret() < 0 ? 0 : s->model.Caret();
    case LB_GETTOPINDEX: return s->model.TopIndex();
    case LB_SETTOPINDEX:
      if (int(wParam) < 0 || (int(wParam) >= s->model.Count() && s->model.Count() > 0)) return LB_ERR;
      SetTop(wnd, s, int(wParam));
      return LB_OKAY;
    case LB_GETITEMRECT: {
      auto* r = reinterpret_cast<RECT*>(lParam);
      if (!r || (!s->model.Valid(int(wParam)) && !(wParam == 0 && s->model.Count() == 0))) return LB_ERR;
      *r = ItemRect(wnd, s, int(wParam));
      return 1;
    }
    case LB_ITEMFROMPOINT: {
      bool outside;
      int i = NearestItem(wnd, s, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, &outside);
      if (s->model.Count() == 0) return MAKELPARAM(0, 1);
      return MAKELPARAM(i, outside ? 1 : 0);
    }
    case LB_SETITEMHEIGHT: {
      int h = int(LOWORD(lParam));
      int index = (s->style & LBS_OWNERDRAWVARIABLE) ? int(wParam) : 0;
      if (!s->model.SetHeight(index, h)) return LB_ERR;
      SetTop(wnd, s, s->model.TopIndex());
      InvalidateRect(wnd, nullptr, TRUE);
      return LB_OKAY;
    }
    case LB_GETITEMHEIGHT: {
      if ((s->style & LBS_OWNERDRAWVARIABLE) && !s->model.Valid(int(wParam)) && s->model.Count() > 0) return LB_ERR;
      return s->model.Height(int(wParam));
    }
    case LB_FINDSTRING: return Find(s, int(wParam), lParam, false);
    case LB_FINDSTRINGEXACT: return Find(s, int(wParam), lParam, true);
    case LB_SELECTSTRING: {
      if (MultiSel(s)) return LB_ERR;
      LRESULT i = Find(s, int(wParam), lParam, false);
      if (i < 0) return LB_ERR;
      s->model.SetCurSel(int(i));
      EnsureVisible(wnd, s, int(i));
      InvalidateRect(wnd, nullptr, TRUE);
      return i;
    }
    case LB_SETHORIZONTALEXTENT:
      s->horzExtent = std::max(0, int(wParam));
      UpdateScroll(wnd, s);
      InvalidateRect(wnd, nullptr, TRUE);
      return 0;
    case LB_GETHORIZONTALEXTENT: return s->horzExtent;
    case LB_SETCOLUMNWIDTH:
      s->columnWidth = std::max(1, int(wParam));
      UpdateScroll(wnd, s);
      InvalidateRect(wnd, nullptr, TRUE);
      return 0;
    case LB_SETTABSTOPS: {
      s->tabs.clear();
      auto* stops = reinterpret_cast<const int*>(lParam);
      // Dialog units (a quarter of the average character width) to pixels.
      int unit = ControlUtil::FontCell(s->font).cx;
      for (int i = 0; stops && i < int(wParam); ++i) s->tabs.push_back(stops[i] * unit / 4);
      if (wParam == 1 && stops) s->tabs.resize(1);
      InvalidateRect(wnd, nullptr, TRUE);
      return TRUE;
    }
    case LB_GETLOCALE:
    case LB_SETLOCALE: return 0x0804;
    case LB_DIR:
    case LB_ADDFILE: return LB_ERR;
    default: return DefWindowProc(wnd, msg, wParam, lParam);
  }
}

void Register() { ControlUtil::RegisterControlClass("LISTBOX", WndProc, CS_DBLCLKS); }

}  // namespace ListBox
