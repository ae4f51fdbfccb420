// The tree view's window procedure over TreeModel.
//
// Sections: state and geometry (rows, indent, where an item's parts lie) → the parent's
// callbacks (GETDISPINFO) and notifications → selection, expansion, deletion → label editing →
// scrolling → painting → mouse and keys → the window procedure.
#include "platform/commctrl/tree/TreeView.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <utility>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/common/ControlUtil.h"
#include "platform/commctrl/tree/TreeModel.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SavedDC.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/text/Fonts.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/rtl/StringUtils.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

// ==== State and geometry =========================================================================

constexpr UINT_PTR kEditTimer = 1;
constexpr int kButton = 9;   // the expand button's box
constexpr int kTextPad = 2;  // between a label's edge and its text

struct TreeState {
  TreeModel Model;
  HFONT Font = nullptr;
  HIMAGELIST Images = nullptr, StateImages = nullptr;  // borrowed
  int Indent = 19;
  int Height = 0;               // of a row; 0 until measured
  int TextHeight = 0;           // of the font's characters, measured with the row
  bool FixedHeight = false;     // set by TVM_SETITEMHEIGHT
  HTREEITEM TopItem = nullptr;  // the first visible row's item
  int TopRow = 0;               // its row, kept for when that item goes
  int XOffset = 0;              // horizontal scroll in pixels
  int MaxWidth = 0;             // the widest row measured so far
  bool Redraw = true;
  COLORREF Back = CLR_NONE, Text = CLR_NONE, Line = CLR_DEFAULT;
  // Label editing.
  HWND Edit = nullptr;
  HTREEITEM Editing = nullptr;
  WNDPROC EditProc = nullptr;
  bool Ending = false;
  bool EditArmed = false;  // a click on the selected label waits for the edit timer
  // A button held down: the item under it and where, until it comes up or a drag begins.
  int Held = 0;  // 0 none, 1 left, 2 right
  HTREEITEM DownItem = nullptr;
  POINT DownAt{0, 0};
  bool SkipChar = false;    // TVN_KEYDOWN asked to keep the next character out of the search
  HDC Measuring = nullptr;  // measures labels outside painting; owned
  HFONT Bold = nullptr;     // the font made bold, for TVIS_BOLD rows; owned, made when first needed
  // The scroll bars as last set: unchanged ones are not set again (each set redraws the frame).
  SCROLLINFO Bars[2]{};
  bool BarsSet[2]{false, false};

  TreeState() = default;
  TreeState(const TreeState&) = delete;
  TreeState& operator=(const TreeState&) = delete;
  ~TreeState()
  {
    if (Measuring) DeleteDC(Measuring);
    if (Bold) DeleteObject(Bold);
  }
};

TreeState* StateOf(HWND wnd) { return ControlUtil::StateOf<TreeState>(wnd); }
DWORD Style(HWND wnd) { return DWORD(GetWindowLongPtr(wnd, GWL_STYLE)); }

RECT Client(HWND wnd)
{
  RECT c;
  GetClientRect(wnd, &c);
  return c;
}

SIZE ImageSize(HIMAGELIST list)
{
  int cx = 0, cy = 0;
  if (!ImageList_GetIconSize(list, &cx, &cy)) cx = cy = 0;
  return {cx, cy};
}

void Measure(TreeState* s)
{
  SIZE cell = ControlUtil::FontCell(s->Font);
  s->TextHeight = int(cell.cy);
  if (s->FixedHeight) return;
  int h = std::max({int(cell.cy) + 3, int(ImageSize(s->Images).cy) + 1, int(ImageSize(s->StateImages).cy) + 1});
  s->Height = h + (h & 1);  // even, so the dotted lines join from row to row
}

int RowHeight(TreeState* s)
{
  if (s->Height <= 0 || s->TextHeight <= 0) Measure(s);
  return s->Height;
}

// Whole rows the client area shows (at least one).
int PageRows(HWND wnd, TreeState* s) { return std::max(1, int(Client(wnd).bottom) / RowHeight(s)); }

int TopRow(TreeState* s)
{
  int r = s->Model.RowOf(s->TopItem);
  if (r < 0) {
    // The top item went or was hidden: keep the place.
    r = std::clamp(s->TopRow, 0, std::max(0, s->Model.RowCount() - 1));
    s->TopItem = s->Model.AtRow(r);
  }
  s->TopRow = r;
  return r;
}

bool LinesAtRoot(HWND wnd)
{
  DWORD st = Style(wnd);
  return (st & TVS_LINESATROOT) && (st & (TVS_HASLINES | TVS_HASBUTTONS));
}

bool FullRow(HWND wnd)
{
  DWORD st = Style(wnd);
  return (st & TVS_FULLROWSELECT) && !(st & TVS_HASLINES);
}

// Where the parts of an item's row lie, in client coordinates.
struct Parts {
  int Row = -1;
  RECT Line{};     // the whole row
  int Column = 0;  // the left edge of the item's own column (images, then the label)
  RECT StateIcon{}, Icon{}, Label{};
};

int StateIndex(const TreeModel::Item& it) { return int((it.State & TVIS_STATEIMAGEMASK) >> 12); }

AnsiString TextOf(HWND wnd, TreeState* s, HTREEITEM h);

HFONT FontFor(TreeState* s, bool bold)
{
  HFONT font = ControlUtil::FontOr(s->Font);
  if (!bold) return font;
  if (!s->Bold) {
    LOGFONTA lf;
    GetObject(font, &lf);
    lf.lfWeight = FW_BOLD;
    s->Bold = CreateFontIndirect(lf);
  }
  return s->Bold ? s->Bold : font;
}

int LabelWidth(HWND wnd, TreeState* s, HTREEITEM h)
{
  TreeModel::Item* it = s->Model.At(h);
  if (!it) return 0;
  if (it->Width >= 0 && !it->TextCallback) return it->Width;
  bool bold = it->State & TVIS_BOLD;
  AnsiString text = TextOf(wnd, s, h);
  SIZE sz{0, 0};
  if (!s->Measuring) s->Measuring = CreateCompatibleDC(nullptr);
  // The font goes back out at once, so that its owner can still delete it.
  HGDIOBJ old = SelectObject(s->Measuring, FontFor(s, bold));
  GetTextExtentPoint32(s->Measuring, text.c_str(), int(text.size()), &sz);
  SelectObject(s->Measuring, old);
  it = s->Model.At(h);  // the parent may have changed the tree while giving the text
  if (!it) return 0;
  it->Width = int(sz.cx) + 2 * kTextPad;
  return it->Width;
}

bool PartsOf(HWND wnd, TreeState* s, HTREEITEM h, Parts* p)
{
  int row = s->Model.RowOf(h);
  if (row < 0) return false;
  const TreeModel::Item* it = s->Model.At(h);
  int height = RowHeight(s), y = (row - TopRow(s)) * height;
  p->Row = row;
  p->Line = {0, y, Client(wnd).right, y + height};
  int x = -s->XOffset + (s->Model.Level(h) + (LinesAtRoot(wnd) ? 1 : 0)) * s->Indent;
  p->Column = x;
  SIZE st = ImageSize(s->StateImages), im = ImageSize(s->Images);
  int stateWidth = s->StateImages && StateIndex(*it) > 0 ? int(st.cx) : 0;
  p->StateIcon = {x, y, x + stateWidth, y + height};
  x += stateWidth;
  int iconWidth = s->Images ? int(im.cx) + 3 : 0;
  p->Icon = {x, y, x + iconWidth, y + height};
  x += iconWidth;
  p->Label = {x, y, x + LabelWidth(wnd, s, h), y + height};
  return true;
}

// ==== The parent's callbacks and notifications ==================================================

LRESULT Notify(HWND wnd, NMHDR* hdr, UINT code) { return CommonControls::SendNotify(wnd, hdr, code); }

void Describe(TreeState* s, HTREEITEM h, TVITEM* out)
{
  out->mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  out->hItem = h;
  if (const TreeModel::Item* it = s->Model.At(h)) {
    out->state = it->State;
    out->stateMask = UINT(-1);
    out->lParam = it->Param;
    out->iImage = it->Image;
    out->iSelectedImage = it->SelectedImage;
  }
}

// A TVN_ notification with NMTREEVIEW: the item before and after the change.
LRESULT NotifyTree(HWND wnd, TreeState* s, UINT code, UINT action, HTREEITEM oldItem, HTREEITEM newItem,
                   POINT pt = {0, 0})
{
  NMTREEVIEW nm;
  nm.action = action;
  if (oldItem) Describe(s, oldItem, &nm.itemOld);
  if (newItem) Describe(s, newItem, &nm.itemNew);
  nm.ptDrag = pt;
  return Notify(wnd, &nm.hdr, code);
}

// Asks the parent for what an item gives by callback (TVN_GETDISPINFO); with TVIF_DI_SETITEM
// in its answer the values are kept.
NMTVDISPINFO AskDispInfo(HWND wnd, TreeState* s, HTREEITEM h, UINT mask, char* buffer, int size)
{
  NMTVDISPINFO di;
  Describe(s, h, &di.item);
  di.item.mask = mask;
  di.item.pszText = buffer;
  di.item.cchTextMax = size;
  if (buffer && size > 0) buffer[0] = 0;
  Notify(wnd, &di.hdr, TVN_GETDISPINFO);
  TreeModel::Item* it = s->Model.At(h);
  if (it && (di.item.mask & TVIF_DI_SETITEM)) {
    if ((mask & TVIF_TEXT) && di.item.pszText) {
      it->Text = di.item.pszText;
      it->TextCallback = false;
      it->Width = -1;
    }
    if (mask & TVIF_CHILDREN) it->Children = di.item.cChildren > 0 ? TreeModel::Kids::Yes : TreeModel::Kids::No;
    if (mask & TVIF_IMAGE) it->Image = di.item.iImage;
    if (mask & TVIF_SELECTEDIMAGE) it->SelectedImage = di.item.iSelectedImage;
  }
  return di;
}

AnsiString TextOf(HWND wnd, TreeState* s, HTREEITEM h)
{
  const TreeModel::Item* it = s->Model.At(h);
  if (!it) return {};
  if (!it->TextCallback) return it->Text;
  char buffer[260];
  NMTVDISPINFO di = AskDispInfo(wnd, s, h, TVIF_TEXT, buffer, int(sizeof buffer));
  if (!di.item.pszText) return {};
  // The parent may answer with a text of its own rather than filling the buffer.
  if (di.item.pszText == buffer) buffer[sizeof buffer - 1] = 0;
  return AnsiString(di.item.pszText);
}

// Whether an item shows an expand button.
bool HasButton(HWND wnd, TreeState* s, HTREEITEM h)
{
  const TreeModel::Item* it = s->Model.At(h);
  if (!it) return false;
  switch (it->Children) {
    case TreeModel::Kids::Yes: return true;
    case TreeModel::Kids::No: return false;
    case TreeModel::Kids::Compute: return s->Model.HasChildren(h);
    case TreeModel::Kids::Callback: break;
  }
  if (s->Model.HasChildren(h)) return true;
  return AskDispInfo(wnd, s, h, TVIF_CHILDREN, nullptr, 0).item.cChildren > 0;
}

int ImageOf(HWND wnd, TreeState* s, HTREEITEM h, bool selected)
{
  const TreeModel::Item* it = s->Model.At(h);
  if (!it) return -1;
  int image = selected ? it->SelectedImage : it->Image;
  if (image != I_IMAGECALLBACK) return image;
  UINT mask = selected ? TVIF_SELECTEDIMAGE : TVIF_IMAGE;
  NMTVDISPINFO di = AskDispInfo(wnd, s, h, mask, nullptr, 0);
  return selected ? di.item.iSelectedImage : di.item.iImage;
}

// ==== Repainting and scrolling ==================================================================

void InvalidateItem(HWND wnd, TreeState* s, HTREEITEM h)
{
  if (!s->Redraw) return;
  Parts p;
  if (PartsOf(wnd, s, h, &p)) InvalidateRect(wnd, &p.Line, FALSE);
}

void SetBar(HWND wnd, TreeState* s, int bar, const SCROLLINFO& si)
{
  int k = bar == SB_VERT ? 1 : 0;
  SCROLLINFO& last = s->Bars[k];
  if (s->BarsSet[k] && last.nMax == si.nMax && last.nPage == si.nPage && last.nPos == si.nPos) return;
  last = si;
  s->BarsSet[k] = true;
  SetScrollInfo(wnd, bar, &si, TRUE);
}

void UpdateScroll(HWND wnd, TreeState* s)
{
  if (!s->Redraw) return;
  int rows = s->Model.RowCount();
  // Showing one bar narrows the client area, which may call for the other: settle twice.
  for (int pass = 0; pass < 2; ++pass) {
    RECT c = Client(wnd);
    int page = PageRows(wnd, s);
    int top = std::clamp(TopRow(s), 0, std::max(0, rows - page));
    s->TopItem = s->Model.AtRow(top);
    s->TopRow = top;
    s->XOffset = std::clamp(s->XOffset, 0, std::max(0, s->MaxWidth - int(c.right)));
    if (Style(wnd) & TVS_NOSCROLL) continue;
    SCROLLINFO si;
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = rows - 1;
    si.nPage = UINT(page);
    si.nPos = top;
    if (rows <= page) si.nMax = si.nPage = si.nPos = 0;
    SetBar(wnd, s, SB_VERT, si);
    if (Style(wnd) & TVS_NOHSCROLL) continue;
    si.nMax = s->MaxWidth > c.right ? s->MaxWidth - 1 : 0;
    si.nPage = s->MaxWidth > c.right ? UINT(c.right) : 0;
    si.nPos = si.nPage ? s->XOffset : 0;
    SetBar(wnd, s, SB_HORZ, si);
  }
}

void Changed(HWND wnd, TreeState* s)
{
  if (!s->Redraw) return;
  UpdateScroll(wnd, s);
  InvalidateRect(wnd, nullptr, FALSE);
}

void EndEdit(HWND wnd, TreeState* s, bool cancel);

void SetTop(HWND wnd, TreeState* s, int row)
{
  int rows = s->Model.RowCount();
  row = std::clamp(row, 0, std::max(0, rows - PageRows(wnd, s)));
  if (row == TopRow(s)) return;
  EndEdit(wnd, s, false);
  s->TopRow = row;
  s->TopItem = s->Model.AtRow(row);
  Changed(wnd, s);
}

void SetXOffset(HWND wnd, TreeState* s, int x)
{
  x = std::clamp(x, 0, std::max(0, s->MaxWidth - int(Client(wnd).right)));
  if (x == s->XOffset) return;
  EndEdit(wnd, s, false);
  s->XOffset = x;
  Changed(wnd, s);
}

// Scrolls the least so that a visible item's row shows whole.
void ScrollTo(HWND wnd, TreeState* s, HTREEITEM h)
{
  int row = s->Model.RowOf(h);
  if (row < 0) return;
  int top = TopRow(s), page = PageRows(wnd, s);
  if (row < top)
    SetTop(wnd, s, row);
  else if (row >= top + page)
    SetTop(wnd, s, row - page + 1);
}

// ==== Selection, expansion, deletion ============================================================

bool Expand(HWND wnd, TreeState* s, HTREEITEM h, UINT code, bool byUser);

// Expands every collapsed ancestor of an item, telling the parent; false when one is refused.
bool ExpandAncestors(HWND wnd, TreeState* s, HTREEITEM h)
{
  std::vector<HTREEITEM> up;
  for (HTREEITEM p = s->Model.Parent(h); p; p = s->Model.Parent(p)) up.push_back(p);
  for (auto i = up.rbegin(); i != up.rend(); ++i)
    if (!s->Model.Expanded(*i)) Expand(wnd, s, *i, TVE_EXPAND, false);
  return s->Model.Visible(h);
}

// Moves the caret to `h` (null: none) asking the parent first; false when refused or stale.
bool Select(HWND wnd, TreeState* s, HTREEITEM h, UINT action)
{
  if (h && !s->Model.Valid(h)) return false;
  HTREEITEM old = s->Model.Caret();
  if (h == old) {
    if (h) ScrollTo(wnd, s, h);
    return true;
  }
  if (NotifyTree(wnd, s, TVN_SELCHANGING, action, old, h)) return false;
  if (h && !s->Model.Valid(h)) return false;  // the parent deleted it meanwhile
  if (h && !ExpandAncestors(wnd, s, h)) return false;
  s->EditArmed = false;
  InvalidateItem(wnd, s, old);
  s->Model.SetCaret(h);
  InvalidateItem(wnd, s, h);
  if (h) ScrollTo(wnd, s, h);
  NotifyTree(wnd, s, TVN_SELCHANGED, action, old, h);
  return true;
}

void DeleteItem(HWND wnd, TreeState* s, HTREEITEM h);

bool Expand(HWND wnd, TreeState* s, HTREEITEM h, UINT code, bool byUser)
{
  TreeModel& m = s->Model;
  if (!m.Valid(h)) return false;
  UINT action = code & TVE_ACTIONMASK;
  bool open = m.Expanded(h);
  if (action == TVE_TOGGLE) action = open ? TVE_COLLAPSE : TVE_EXPAND;
  if (action != TVE_EXPAND && action != TVE_COLLAPSE) return false;
  bool expand = action == TVE_EXPAND;
  if (expand == open && !(code & TVE_COLLAPSERESET)) return false;
  // Nothing to open: no children now and none promised.
  if (expand && !HasButton(wnd, s, h)) return false;
  if (NotifyTree(wnd, s, TVN_ITEMEXPANDING, action, nullptr, h)) return false;
  if (!m.Valid(h)) return false;
  EndEdit(wnd, s, false);
  if (!expand && m.Caret() && m.Caret() != h && m.IsWithin(m.Caret(), h)) Select(wnd, s, h, TVC_UNKNOWN);
  m.SetExpanded(h, expand, !expand && (code & TVE_COLLAPSERESET));
  if (!expand && (code & TVE_COLLAPSERESET))
    while (HTREEITEM c = m.Child(h)) DeleteItem(wnd, s, c);
  NotifyTree(wnd, s, TVN_ITEMEXPANDED, action, nullptr, h);
  Changed(wnd, s);
  // Opened by the user: show as many of the new rows as fit, the item staying in view.
  if (expand && byUser && m.Valid(h) && m.Expanded(h)) {
    int row = m.RowOf(h), last = m.RowOf(m.LastChild(h));
    int top = TopRow(s), page = PageRows(wnd, s);
    if (row >= 0 && last >= top + page) SetTop(wnd, s, std::min(row, last - page + 1));
  }
  return true;
}

// The item the caret moves to when the caret's item goes: the next sibling, else the previous,
// else the parent.
HTREEITEM Successor(TreeState* s, HTREEITEM h)
{
  if (HTREEITEM n = s->Model.Next(h)) return n;
  if (HTREEITEM p = s->Model.Prev(h)) return p;
  return s->Model.Parent(h);
}

void DeleteItem(HWND wnd, TreeState* s, HTREEITEM h)
{
  TreeModel& m = s->Model;
  bool all = !h || h == TVI_ROOT;
  if (s->Editing && (all || m.IsWithin(s->Editing, h))) EndEdit(wnd, s, true);
  if (!all && m.Caret() && m.IsWithin(m.Caret(), h)) Select(wnd, s, Successor(s, h), TVC_UNKNOWN);
  int top = TopRow(s);
  m.Delete(all ? TVI_ROOT : h, [&](HTREEITEM gone) {
    NMTREEVIEW nm;
    nm.itemOld.mask = TVIF_HANDLE | TVIF_PARAM;
    nm.itemOld.hItem = gone;
    nm.itemOld.lParam = m.At(gone)->Param;
    Notify(wnd, &nm.hdr, TVN_DELETEITEM);
  });
  if (!m.Valid(s->TopItem)) {
    s->TopItem = nullptr;
    s->TopRow = top;
  }
  if (all) s->MaxWidth = s->XOffset = 0;
  Changed(wnd, s);
}

// ==== Label editing =============================================================================

LRESULT EditSubclass(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam)
{
  HWND wnd = GetParent(edit);
  TreeState* s = StateOf(wnd);
  if (!s || !s->EditProc) return DefWindowProc(edit, msg, wParam, lParam);
  WNDPROC proc = s->EditProc;
  switch (msg) {
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | CallWindowProc(proc, edit, msg, wParam, lParam);
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        EndEdit(wnd, s, wParam == VK_ESCAPE);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == WPARAM(VK_RETURN) || wParam == WPARAM(VK_ESCAPE)) return 0;
      break;
    case WM_KILLFOCUS:
      CallWindowProc(proc, edit, msg, wParam, lParam);
      EndEdit(wnd, s, false);
      return 0;
    default: break;
  }
  return CallWindowProc(proc, edit, msg, wParam, lParam);
}

HWND BeginEdit(HWND wnd, TreeState* s, HTREEITEM h)
{
  TreeModel& m = s->Model;
  if (!m.Valid(h)) return nullptr;
  EndEdit(wnd, s, false);
  s->EditArmed = false;
  KillTimer(wnd, kEditTimer);
  if (!m.Valid(h) || !ExpandAncestors(wnd, s, h)) return nullptr;
  ScrollTo(wnd, s, h);
  AnsiString text = TextOf(wnd, s, h);
  NMTVDISPINFO di;
  Describe(s, h, &di.item);
  di.item.mask |= TVIF_TEXT;
  di.item.pszText = text.data();
  di.item.cchTextMax = int(text.size()) + 1;
  if (Notify(wnd, &di.hdr, TVN_BEGINLABELEDIT) || !m.Valid(h)) return nullptr;
  Parts p;
  if (!PartsOf(wnd, s, h, &p)) return nullptr;
  RECT c = Client(wnd);
  int width = std::max(int(p.Label.right - p.Label.left) + 24, 60);
  width = std::min(width, std::max(60, int(c.right - p.Label.left)));
  HWND edit = CreateWindowEx(0, "EDIT", text.c_str(), WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, p.Label.left - 1,
                             p.Label.top, width, p.Label.bottom - p.Label.top, wnd, nullptr, nullptr, nullptr);
  if (!edit) return nullptr;
  SendMessage(edit, WM_SETFONT, reinterpret_cast<WPARAM>(ControlUtil::FontOr(s->Font)), FALSE);
  s->Edit = edit;
  s->Editing = h;
  s->EditProc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtr(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditSubclass)));
  SendMessage(edit, EM_SETSEL, 0, -1);
  ShowWindow(edit, SW_SHOW);
  SetFocus(edit);
  InvalidateItem(wnd, s, h);
  return edit;
}

// Ends label editing: the parent hears the new text (null when cancelled) and keeps it by
// answering non-zero.
void EndEdit(HWND wnd, TreeState* s, bool cancel)
{
  if (!s->Edit || s->Ending) return;
  s->Ending = true;
  HWND edit = s->Edit;
  HTREEITEM h = s->Editing;
  AnsiString text = GetWindowText(edit);
  ShowWindow(edit, SW_HIDE);
  if (GetFocus() == edit) SetFocus(wnd);
  if (s->Model.Valid(h)) {
    NMTVDISPINFO di;
    Describe(s, h, &di.item);
    di.item.mask |= TVIF_TEXT;
    di.item.pszText = cancel ? nullptr : text.data();
    di.item.cchTextMax = cancel ? 0 : int(text.size()) + 1;
    LRESULT keep = Notify(wnd, &di.hdr, TVN_ENDLABELEDIT);
    TreeModel::Item* it = s->Model.At(h);
    if (!cancel && keep && it) {
      it->Text = text;
      it->TextCallback = false;
      it->Width = -1;
    }
  }
  // The EDIT's own procedure comes back first, so that it frees what it holds as it goes.
  SetWindowLongPtr(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s->EditProc));
  s->Edit = nullptr;
  s->Editing = nullptr;
  s->EditProc = nullptr;
  DestroyWindow(edit);
  s->Ending = false;
  InvalidateRect(wnd, nullptr, FALSE);
}

// ==== Painting ==================================================================================

COLORREF Colour(COLORREF set, int sys) { return set == CLR_NONE || set == CLR_DEFAULT ? GetSysColor(sys) : set; }

// A brush of alternate pixels in the line colour over the background, for the dotted lines.
HBRUSH DotBrush(COLORREF line, COLORREF back)
{
  DWORD bits[64];
  auto px = [](COLORREF c) { return DWORD(GetBValue(c)) | DWORD(GetGValue(c)) << 8 | DWORD(GetRValue(c)) << 16; };
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) bits[y * 8 + x] = (x + y) % 2 ? px(back) : px(line);
  HBITMAP bmp = CreateBitmap(8, 8, 1, 32, bits);
  HBRUSH brush = CreatePatternBrush(bmp);
  DeleteObject(bmp);
  return brush;
}

void Dots(HDC dc, HBRUSH dots, int left, int top, int right, int bottom)
{
  if (right <= left || bottom <= top) return;
  RECT r{left, top, right, bottom};
  FillRect(dc, &r, dots);
}

// The button's box is filled with the background (`back`, a brush of it).
void DrawButton(HDC dc, int cx, int cy, bool open, HBRUSH back)
{
  RECT box{cx - kButton / 2, cy - kButton / 2, cx + kButton / 2 + 1, cy + kButton / 2 + 1};
  FillRect(dc, &box, back);
  FrameRect(dc, &box, GetSysColorBrush(COLOR_BTNSHADOW));
  RECT minus{cx - 2, cy, cx + 3, cy + 1};
  FillRect(dc, &minus, GetSysColorBrush(COLOR_WINDOWTEXT));
  if (!open) {
    RECT bar{cx, cy - 2, cx + 1, cy + 3};
    FillRect(dc, &bar, GetSysColorBrush(COLOR_WINDOWTEXT));
  }
}

// What goes over the rows once they are drawn: the vertical lines, joined from row to row, and
// the buttons over them.
struct Overlay {
  std::vector<RECT> Lines;
  struct Button {
    int X, Y;
    bool Open;
  };
  std::vector<Button> Buttons;
};

void PaintRow(HWND wnd, TreeState* s, HDC dc, HTREEITEM h, HBRUSH dots, bool focused, Overlay* over)
{
  TreeModel& m = s->Model;
  Parts p;
  if (!PartsOf(wnd, s, h, &p)) return;
  const TreeModel::Item* it = m.At(h);
  DWORD style = Style(wnd);
  int level = m.Level(h), cy = (p.Line.top + p.Line.bottom) / 2, half = s->Indent / 2;
  bool atRoot = LinesAtRoot(wnd), full = FullRow(wnd);
  // Only values from here on: a parent answering a callback below may change the tree.
  UINT state = it->State;
  int stateImage = StateIndex(*it);
  bool selected = (state & TVIS_SELECTED) && (focused || (style & TVS_SHOWSELALWAYS));
  bool hilite = (state & TVIS_DROPHILITED) || (selected && focused);
  bool editing = h == s->Editing;
  int width = p.Label.right - p.Label.left;
  s->MaxWidth = std::max(s->MaxWidth, int(p.Label.right) + s->XOffset);

  if (full && (selected || hilite)) {
    FillRect(dc, &p.Line, GetSysColorBrush(hilite ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
  }
  // The lines: one through this row for every ancestor with a later sibling, then the item's
  // own joint.
  if (style & TVS_HASLINES) {
    int x = p.Column - half - 1;
    HTREEITEM a = m.Parent(h);
    for (int k = level - 1; a && (k >= 0); --k, a = m.Parent(a)) {
      x -= s->Indent;
      if ((k > 0 || atRoot) && m.Next(a)) over->Lines.push_back({x, p.Line.top, x + 1, p.Line.bottom});
    }
    if (level > 0 || atRoot) {
      int jx = p.Column - half - 1;
      bool above = m.Prev(h) || level > 0, below = m.Next(h) != nullptr;
      over->Lines.push_back({jx, above ? p.Line.top : cy, jx + 1, below ? p.Line.bottom : cy + 1});
      Dots(dc, dots, jx + 1 + ((jx + 1 + cy) % 2 ? 1 : 0), cy, p.Column - 1, cy + 1);
    }
  }
  if ((style & TVS_HASBUTTONS) && (level > 0 || atRoot) && HasButton(wnd, s, h))
    over->Buttons.push_back({p.Column - half - 1, cy, m.Expanded(h)});
  if (!m.Valid(h)) return;  // the parent deleted it while answering
  if (s->StateImages && stateImage > 0)
    ImageList_Draw(s->StateImages, stateImage, dc, p.StateIcon.left, cy - ImageSize(s->StateImages).cy / 2,
                   ILD_TRANSPARENT);
  if (s->Images) {
    int image = ImageOf(wnd, s, h, state & TVIS_SELECTED);
    if (image >= 0)
      ImageList_Draw(s->Images, image, dc, p.Icon.left, cy - ImageSize(s->Images).cy / 2,
                     ILD_TRANSPARENT | ((state & TVIS_CUT) ? ILD_SELECTED : 0));
    if (!m.Valid(h)) return;
  }
  if (editing) return;
  RECT label = p.Label;
  if (!full && (selected || hilite)) FillRect(dc, &label, GetSysColorBrush(hilite ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
  COLORREF ink = hilite                 ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                 : IsWindowEnabled(wnd) ? Colour(s->Text, COLOR_WINDOWTEXT)
                                        : GetSysColor(COLOR_GRAYTEXT);
  SetTextColor(dc, ink);
  AnsiString text = TextOf(wnd, s, h);
  if (state & TVIS_BOLD) SelectObject(dc, FontFor(s, true));
  TextOut(dc, label.left + kTextPad, label.top + (label.bottom - label.top - s->TextHeight) / 2, text.c_str(),
          int(text.size()));
  if (state & TVIS_BOLD) SelectObject(dc, ControlUtil::FontOr(s->Font));
  if (focused && (state & TVIS_SELECTED)) {
    RECT f = full ? p.Line : label;
    if (width > 0 || full) DrawFocusRect(dc, &f);
  }
}

void Paint(HWND wnd, TreeState* s, HDC dc)
{
  TSavedDC keep(dc);
  RECT c = Client(wnd);
  COLORREF back = Colour(s->Back, COLOR_WINDOW);
  HBRUSH bg = CreateSolidBrush(back);
  FillRect(dc, &c, bg);
  SelectObject(dc, ControlUtil::FontOr(s->Font));
  SetBkMode(dc, TRANSPARENT);
  HBRUSH dots = DotBrush(Colour(s->Line, COLOR_GRAYTEXT), back);
  bool focused = GetFocus() == wnd;
  int widest = s->MaxWidth;
  int top = TopRow(s), rows = c.bottom / RowHeight(s) + 1;
  // The rows are copied: a parent answering a callback may change the tree.
  std::vector<HTREEITEM> show;
  for (int r = top; r < top + rows; ++r)
    if (HTREEITEM h = s->Model.AtRow(r)) show.push_back(h);
  Overlay over;
  for (HTREEITEM h : show) PaintRow(wnd, s, dc, h, dots, focused, &over);
  // A line running on through the rows below is drawn as one.
  std::vector<RECT>& lines = over.Lines;
  std::sort(lines.begin(), lines.end(),
            [](const RECT& a, const RECT& b) { return a.left != b.left ? a.left < b.left : a.top < b.top; });
  for (size_t i = 0; i < lines.size();) {
    RECT r = lines[i];
    for (++i; i < lines.size() && lines[i].left == r.left && lines[i].top <= r.bottom; ++i)
      r.bottom = std::max(r.bottom, lines[i].bottom);
    Dots(dc, dots, r.left, r.top, r.right, r.bottom);
  }
  for (const Overlay::Button& b : over.Buttons) DrawButton(dc, b.X, b.Y, b.Open, bg);
  DeleteObject(dots);
  DeleteObject(bg);
  if (s->MaxWidth != widest && !(Style(wnd) & TVS_NOHSCROLL)) UpdateScroll(wnd, s);
}

// ==== Hit testing ===============================================================================

HTREEITEM HitTest(HWND wnd, TreeState* s, POINT pt, UINT* flags)
{
  RECT c = Client(wnd);
  *flags = 0;
  if (pt.x < 0) *flags |= TVHT_TOLEFT;
  if (pt.x >= c.right) *flags |= TVHT_TORIGHT;
  if (pt.y < 0) *flags |= TVHT_ABOVE;
  if (pt.y >= c.bottom) *flags |= TVHT_BELOW;
  if (*flags) return nullptr;
  HTREEITEM h = s->Model.AtRow(TopRow(s) + pt.y / RowHeight(s));
  Parts p;
  if (!h || !PartsOf(wnd, s, h, &p)) {
    *flags = TVHT_NOWHERE;
    return nullptr;
  }
  int half = s->Indent / 2;
  if (pt.x >= p.Label.right)
    *flags = TVHT_ONITEMRIGHT;
  else if (pt.x >= p.Label.left)
    *flags = TVHT_ONITEMLABEL;
  else if (pt.x >= p.Icon.left && p.Icon.right > p.Icon.left)
    *flags = TVHT_ONITEMICON;
  else if (pt.x >= p.StateIcon.left && p.StateIcon.right > p.StateIcon.left)
    *flags = TVHT_ONITEMSTATEICON;
  else if (pt.x >= p.Column - s->Indent && (Style(wnd) & TVS_HASBUTTONS) &&
           (s->Model.Level(h) > 0 || LinesAtRoot(wnd)) && std::abs(pt.x - (p.Column - half - 1)) <= half &&
           HasButton(wnd, s, h))
    *flags = TVHT_ONITEMBUTTON;
  else
    *flags = TVHT_ONITEMINDENT;
  return h;
}

// ==== Mouse and keys ============================================================================

bool OnItem(HWND wnd, UINT flags)
{
  return (flags & TVHT_ONITEM) || (FullRow(wnd) && (flags & (TVHT_ONITEMRIGHT | TVHT_ONITEMINDENT)));
}

void ButtonDown(HWND wnd, TreeState* s, POINT pt, int button)
{
  EndEdit(wnd, s, false);
  bool hadFocus = GetFocus() == wnd;
  SetFocus(wnd);
  UINT flags;
  HTREEITEM h = HitTest(wnd, s, pt, &flags);
  if (button == 1 && (flags & TVHT_ONITEMBUTTON)) {
    Expand(wnd, s, h, TVE_TOGGLE, true);
    return;
  }
  s->Held = button;
  s->DownAt = pt;
  s->DownItem = OnItem(wnd, flags) ? h : nullptr;
  SetCapture(wnd);
  if (button != 1 || !s->DownItem) return;
  bool again = h == s->Model.Caret();
  if (!Select(wnd, s, h, TVC_BYMOUSE)) return;
  // A click on the label of the item already selected edits it, unless a double click follows.
  if (again && hadFocus && (flags & TVHT_ONITEMLABEL) && (Style(wnd) & TVS_EDITLABELS)) {
    s->EditArmed = true;
    SetTimer(wnd, kEditTimer, GetDoubleClickTime(), nullptr);
  }
}

void MouseMove(HWND wnd, TreeState* s, POINT pt)
{
  if (!s->Held || GetCapture() != wnd) return;
  if (std::abs(pt.x - s->DownAt.x) <= GetSystemMetrics(SM_CXDRAG) &&
      std::abs(pt.y - s->DownAt.y) <= GetSystemMetrics(SM_CYDRAG))
    return;
  int button = std::exchange(s->Held, 0);
  HTREEITEM h = std::exchange(s->DownItem, nullptr);
  ReleaseCapture();
  s->EditArmed = false;
  KillTimer(wnd, kEditTimer);
  if (!s->Model.Valid(h) || (Style(wnd) & TVS_DISABLEDRAGDROP)) return;
  NotifyTree(wnd, s, button == 1 ? TVN_BEGINDRAG : TVN_BEGINRDRAG, 0, nullptr, h, s->DownAt);
}

void ButtonUp(HWND wnd, TreeState* s, int button, LPARAM lParam)
{
  if (s->Held != button) return;
  s->Held = 0;
  s->DownItem = nullptr;
  if (GetCapture() == wnd) ReleaseCapture();
  NMHDR nm;
  if (button == 1) {
    Notify(wnd, &nm, NM_CLICK);
    return;
  }
  if (!Notify(wnd, &nm, NM_RCLICK)) {
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(wnd, &pt);
    SendMessage(wnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(wnd), MAKELPARAM(pt.x, pt.y));
  }
}

void DoubleClick(HWND wnd, TreeState* s, POINT pt)
{
  s->EditArmed = false;
  KillTimer(wnd, kEditTimer);
  UINT flags;
  HTREEITEM h = HitTest(wnd, s, pt, &flags);
  if (flags & TVHT_ONITEMBUTTON) {
    Expand(wnd, s, h, TVE_TOGGLE, true);
    return;
  }
  NMHDR nm;
  if (Notify(wnd, &nm, NM_DBLCLK)) return;
  if (OnItem(wnd, flags) && s->Model.Valid(h)) Expand(wnd, s, h, TVE_TOGGLE, true);
}

void ExpandAll(HWND wnd, TreeState* s, HTREEITEM h)
{
  std::vector<HTREEITEM> todo{h};
  while (!todo.empty()) {
    HTREEITEM n = todo.back();
    todo.pop_back();
    if (!s->Model.Valid(n)) continue;
    Expand(wnd, s, n, TVE_EXPAND, true);
    for (HTREEITEM c = s->Model.Child(n); c; c = s->Model.Next(c)) todo.push_back(c);
  }
}

void KeyDown(HWND wnd, TreeState* s, WPARAM vk, LPARAM lParam)
{
  NMTVKEYDOWN kd;
  kd.wVKey = WORD(vk);
  kd.flags = UINT(HIWORD(lParam));
  s->SkipChar = Notify(wnd, &kd.hdr, TVN_KEYDOWN) != 0;
  TreeModel& m = s->Model;
  if (GetKeyState(VK_CONTROL) < 0) {
    // Ctrl with the movement keys scrolls and leaves the selection.
    switch (vk) {
      case VK_UP: SetTop(wnd, s, TopRow(s) - 1); return;
      case VK_DOWN: SetTop(wnd, s, TopRow(s) + 1); return;
      case VK_PRIOR: SetTop(wnd, s, TopRow(s) - PageRows(wnd, s)); return;
      case VK_NEXT: SetTop(wnd, s, TopRow(s) + PageRows(wnd, s)); return;
      case VK_HOME: SetTop(wnd, s, 0); return;
      case VK_END: SetTop(wnd, s, m.RowCount()); return;
      case VK_LEFT: SetXOffset(wnd, s, s->XOffset - s->Indent); return;
      case VK_RIGHT: SetXOffset(wnd, s, s->XOffset + s->Indent); return;
      default: break;
    }
  }
  HTREEITEM caret = m.Caret();
  int row = m.RowOf(caret), page = PageRows(wnd, s);
  auto go = [&](HTREEITEM to) {
    if (to) Select(wnd, s, to, TVC_BYKEYBOARD);
  };
  if (!caret) {
    // With nothing selected the first movement selects the first row.
    if (vk == VK_UP || vk == VK_DOWN || vk == VK_HOME || vk == VK_END || vk == VK_PRIOR || vk == VK_NEXT ||
        vk == VK_LEFT || vk == VK_RIGHT)
      go(m.AtRow(vk == VK_END ? m.RowCount() - 1 : 0));
    return;
  }
  switch (vk) {
    case VK_UP: go(m.PrevVisible(caret)); break;
    case VK_DOWN: go(m.NextVisible(caret)); break;
    case VK_HOME: go(m.AtRow(0)); break;
    case VK_END: go(m.LastVisible()); break;
    case VK_PRIOR: go(m.AtRow(std::max(0, row - std::max(1, page - 1)))); break;
    case VK_NEXT: go(m.AtRow(std::min(m.RowCount() - 1, row + std::max(1, page - 1)))); break;
    case VK_LEFT:
      if (m.Expanded(caret) && HasButton(wnd, s, caret))
        Expand(wnd, s, caret, TVE_COLLAPSE, true);
      else
        go(m.Parent(caret));
      break;
    case VK_RIGHT:
      if (!HasButton(wnd, s, caret)) break;
      if (!m.Expanded(caret))
        Expand(wnd, s, caret, TVE_EXPAND, true);
      else
        go(m.Child(caret));
      break;
    case VK_BACK: go(m.Parent(caret)); break;
    case VK_ADD: Expand(wnd, s, caret, TVE_EXPAND, true); break;
    case VK_SUBTRACT: Expand(wnd, s, caret, TVE_COLLAPSE, true); break;
    case VK_MULTIPLY: ExpandAll(wnd, s, caret); break;
    case VK_RETURN: {
      NMHDR nm;
      Notify(wnd, &nm, NM_RETURN);
      break;
    }
    default: break;
  }
}

void TypeChar(HWND wnd, TreeState* s, char c)
{
  if (std::exchange(s->SkipChar, false) || BYTE(c) < 0x20) return;
  HTREEITEM found = s->Model.TypeChar(c, GetMessageTime(), [&](HTREEITEM h) { return TextOf(wnd, s, h); });
  if (found) Select(wnd, s, found, TVC_BYKEYBOARD);
}

void Scroll(HWND wnd, TreeState* s, bool vertical, WORD code)
{
  SCROLLINFO si;
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  GetScrollInfo(wnd, vertical ? SB_VERT : SB_HORZ, &si);
  int pos = vertical ? TopRow(s) : s->XOffset;
  int line = vertical ? 1 : s->Indent, page = vertical ? PageRows(wnd, s) : int(Client(wnd).right);
  switch (code) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = vertical ? s->Model.RowCount() : s->MaxWidth; break;
    default: return;
  }
  if (vertical)
    SetTop(wnd, s, pos);
  else
    SetXOffset(wnd, s, pos);
}

// ==== Items through messages ====================================================================

void Fill(TreeModel::Item& it, const TVITEM& tv)
{
  if (tv.mask & TVIF_TEXT) {
    it.TextCallback = tv.pszText == LPSTR_TEXTCALLBACK;
    it.Text = it.TextCallback || !tv.pszText ? AnsiString() : AnsiString(tv.pszText);
    it.Width = -1;
  }
  if (tv.mask & TVIF_IMAGE) it.Image = tv.iImage;
  if (tv.mask & TVIF_SELECTEDIMAGE) it.SelectedImage = tv.iSelectedImage;
  if (tv.mask & TVIF_PARAM) it.Param = tv.lParam;
  if (tv.mask & TVIF_CHILDREN)
    it.Children = tv.cChildren == I_CHILDRENCALLBACK ? TreeModel::Kids::Callback
                  : tv.cChildren > 0                 ? TreeModel::Kids::Yes
                                                     : TreeModel::Kids::No;
  if (tv.mask & TVIF_STATE) {
    // Selection, drop highlight and expansion have their own messages.
    UINT mask = tv.stateMask & ~(TVIS_SELECTED | TVIS_DROPHILITED | TVIS_EXPANDED | TVIS_EXPANDEDONCE);
    UINT was = it.State;
    it.State = (it.State & ~mask) | (tv.state & mask);
    if ((was ^ it.State) & TVIS_BOLD) it.Width = -1;
  }
}

LRESULT InsertItem(HWND wnd, TreeState* s, const TVINSERTSTRUCT* ins)
{
  if (!ins) return 0;
  TreeModel::Item it;
  Fill(it, ins->item);
  if ((ins->item.mask & TVIF_STATE) && (ins->item.stateMask & TVIS_EXPANDED) && (ins->item.state & TVIS_EXPANDED))
    it.State |= TVIS_EXPANDED;
  HTREEITEM h =
      s->Model.Insert(ins->hParent, ins->hInsertAfter, std::move(it), [&](HTREEITEM k) { return TextOf(wnd, s, k); });
  if (!h) return 0;
  if (s->Redraw) {
    HTREEITEM parent = s->Model.Parent(h);
    if (!parent || s->Model.Visible(h) || s->Model.Valid(parent)) Changed(wnd, s);
  }
  return reinterpret_cast<LRESULT>(h);
}

BOOL GetItem(HWND wnd, TreeState* s, TVITEM* tv)
{
  if (!tv) return FALSE;
  const TreeModel::Item* it = s->Model.At(tv->hItem);
  if (!it) return FALSE;
  if (tv->mask & TVIF_TEXT) {
    if (!tv->pszText || tv->cchTextMax <= 0) return FALSE;
    AnsiString text = TextOf(wnd, s, tv->hItem);
    std::size_t n = std::min(text.size(), std::size_t(tv->cchTextMax - 1));
    // Never cut a double-byte character in two.
    if (n < text.size() && n > 0 && System::ByteType(text, int(n)) == System::mbLeadByte) --n;
    std::memcpy(tv->pszText, text.data(), n);
    tv->pszText[n] = 0;
    it = s->Model.At(tv->hItem);
    if (!it) return FALSE;
  }
  if (tv->mask & TVIF_IMAGE) tv->iImage = it->Image;
  if (tv->mask & TVIF_SELECTEDIMAGE) tv->iSelectedImage = it->SelectedImage;
  if (tv->mask & TVIF_PARAM) tv->lParam = it->Param;
  if (tv->mask & TVIF_STATE) tv->state = it->State & tv->stateMask;
  if (tv->mask & TVIF_CHILDREN) {
    switch (it->Children) {
      case TreeModel::Kids::Callback: tv->cChildren = I_CHILDRENCALLBACK; break;
      case TreeModel::Kids::Yes: tv->cChildren = 1; break;
      case TreeModel::Kids::No: tv->cChildren = 0; break;
      case TreeModel::Kids::Compute: tv->cChildren = s->Model.HasChildren(tv->hItem) ? 1 : 0; break;
    }
  }
  return TRUE;
}

BOOL SetItem(HWND wnd, TreeState* s, const TVITEM* tv)
{
  if (!tv) return FALSE;
  TreeModel::Item* it = s->Model.At(tv->hItem);
  if (!it) return FALSE;
  Fill(*it, *tv);
  if ((tv->mask & TVIF_STATE) && (tv->stateMask & TVIS_EXPANDED))
    s->Model.SetExpanded(tv->hItem, tv->state & TVIS_EXPANDED);
  Changed(wnd, s);
  return TRUE;
}

HTREEITEM NextItem(HWND wnd, TreeState* s, UINT relation, HTREEITEM h)
{
  TreeModel& m = s->Model;
  switch (relation) {
    case TVGN_ROOT: return m.Root();
    case TVGN_NEXT: return m.Next(h);
    case TVGN_PREVIOUS: return m.Prev(h);
    case TVGN_PARENT: return m.Parent(h);
    case TVGN_CHILD: return m.Valid(h) || !h || h == TVI_ROOT ? m.Child(h) : nullptr;
    case TVGN_FIRSTVISIBLE: return m.AtRow(TopRow(s));
    case TVGN_NEXTVISIBLE: return m.NextVisible(h);
    case TVGN_PREVIOUSVISIBLE: return m.PrevVisible(h);
    case TVGN_DROPHILITE: return m.DropHilite();
    case TVGN_CARET: return m.Caret();
    case TVGN_LASTVISIBLE: return m.LastVisible();
    default: (void)wnd; return nullptr;
  }
}

BOOL SelectItem(HWND wnd, TreeState* s, UINT how, HTREEITEM h)
{
  TreeModel& m = s->Model;
  if (h && !m.Valid(h)) return FALSE;
  switch (how & 0xFF) {
    case TVGN_CARET: return Select(wnd, s, h, TVC_UNKNOWN);
    case TVGN_DROPHILITE:
      InvalidateItem(wnd, s, m.DropHilite());
      m.SetDropHilite(h);
      InvalidateItem(wnd, s, h);
      return TRUE;
    case TVGN_FIRSTVISIBLE:
      if (!h || !ExpandAncestors(wnd, s, h)) return FALSE;
      SetTop(wnd, s, m.RowOf(h));
      return TRUE;
    default: return FALSE;
  }
}

BOOL ItemRect(HWND wnd, TreeState* s, BOOL textOnly, RECT* r)
{
  if (!r) return FALSE;
  HTREEITEM h;
  std::memcpy(&h, r, sizeof h);
  Parts p;
  if (!PartsOf(wnd, s, h, &p)) return FALSE;
  *r = textOnly ? p.Label : p.Line;
  return TRUE;
}

BOOL Sort(HWND wnd, TreeState* s, HTREEITEM parent, bool recurse, const TVSORTCB* cb)
{
  TreeModel& m = s->Model;
  bool ok;
  if (cb) {
    if (!cb->lpfnCompare) return FALSE;
    ok = m.SortChildren(cb->hParent, recurse, [&](HTREEITEM a, HTREEITEM b) {
      return cb->lpfnCompare(m.At(a)->Param, m.At(b)->Param, cb->lParam) < 0;
    });
  } else {
    // Callback texts are asked for before sorting, once each: the parent's answers cannot
    // change the tree under the sort.
    std::map<HTREEITEM, AnsiString> texts;
    std::vector<HTREEITEM> levels{parent};
    while (!levels.empty()) {
      HTREEITEM p = levels.back();
      levels.pop_back();
      if (p && p != TVI_ROOT && !m.Valid(p)) continue;
      for (HTREEITEM c = m.Child(p); c; c = m.Next(c)) {
        if (m.At(c)->TextCallback) texts[c] = TextOf(wnd, s, c);
        if (recurse && m.Child(c)) levels.push_back(c);
        if (!m.Valid(c)) break;
      }
    }
    auto textOf = [&](HTREEITEM h) -> const AnsiString& {
      const TreeModel::Item* it = m.At(h);
      if (!it->TextCallback) return it->Text;
      auto i = texts.find(h);
      static const AnsiString none;
      return i == texts.end() ? none : i->second;
    };
    ok = m.SortChildren(parent, recurse,
                        [&](HTREEITEM a, HTREEITEM b) { return SysUtils::AnsiCompareText(textOf(a), textOf(b)) < 0; });
  }
  if (ok) Changed(wnd, s);
  return ok;
}

}  // namespace

namespace TreeView {

LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_CREATE) {
    ControlUtil::AttachState(wnd, std::make_unique<TreeState>());
    return 0;
  }
  TreeState* s = StateOf(wnd);
  if (!s) return DefWindowProc(wnd, msg, wParam, lParam);
  TreeModel& m = s->Model;
  switch (msg) {
    case WM_DESTROY:
      EndEdit(wnd, s, true);
      s->Redraw = false;
      DeleteItem(wnd, s, TVI_ROOT);
      return DefWindowProc(wnd, msg, wParam, lParam);
    case WM_NCDESTROY: {
      auto gone = ControlUtil::DetachState<TreeState>(wnd);
      return DefWindowProc(wnd, msg, wParam, lParam);
    }
    case WM_SETFONT:
      ControlUtil::SetFontFrom(wnd, s->Font, wParam, lParam);
      if (s->Bold) DeleteObject(std::exchange(s->Bold, nullptr));
      if (!s->FixedHeight) s->Height = 0;
      s->TextHeight = 0;
      s->MaxWidth = 0;
      // Every label is measured again with the new font.
      {
        std::vector<HTREEITEM> todo;
        for (HTREEITEM h = m.Root(); h; h = m.Next(h)) todo.push_back(h);
        while (!todo.empty()) {
          HTREEITEM h = todo.back();
          todo.pop_back();
          m.At(h)->Width = -1;
          for (HTREEITEM c = m.Child(h); c; c = m.Next(c)) todo.push_back(c);
        }
      }
      Changed(wnd, s);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->Font);
    case WM_SETREDRAW:
      s->Redraw = wParam != 0;
      DefWindowProc(wnd, msg, wParam, lParam);
      if (s->Redraw) Changed(wnd, s);
      return 0;
    case WM_SIZE: UpdateScroll(wnd, s); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: CommonControls::Paint(wnd, wParam, [&](HDC dc) { Paint(wnd, s, dc); }); return 0;
    case WM_ENABLE: InvalidateRect(wnd, nullptr, FALSE); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      InvalidateItem(wnd, s, m.Caret());
      NMHDR nm;
      Notify(wnd, &nm, msg == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS);
      return 0;
    }
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      ButtonDown(wnd, s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, msg == WM_LBUTTONDOWN ? 1 : 2);
      return 0;
    case WM_MOUSEMOVE: MouseMove(wnd, s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: ButtonUp(wnd, s, msg == WM_LBUTTONUP ? 1 : 2, lParam); return 0;
    case WM_LBUTTONDBLCLK: DoubleClick(wnd, s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_RBUTTONDBLCLK: return 0;
    case WM_CAPTURECHANGED: s->Held = 0; return 0;
    case WM_TIMER:
      if (wParam == kEditTimer) {
        KillTimer(wnd, kEditTimer);
        if (std::exchange(s->EditArmed, false) && GetFocus() == wnd) BeginEdit(wnd, s, m.Caret());
      }
      return 0;
    case WM_KEYDOWN: KeyDown(wnd, s, wParam, lParam); return 0;
    case WM_CHAR: TypeChar(wnd, s, char(wParam & 0xFF)); return 0;
    case WM_VSCROLL:
    case WM_HSCROLL: Scroll(wnd, s, msg == WM_VSCROLL, LOWORD(wParam)); return 0;
    case WM_MOUSEWHEEL: {
      UINT lines = 3;
      SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
      SetTop(wnd, s, TopRow(s) - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * int(std::max(1u, lines)));
      return 0;
    }
    case WM_STYLECHANGED: Changed(wnd, s); return 0;

    // ---- TVM_ messages ---------------------------------------------------------------------------
    case TVM_INSERTITEM: return InsertItem(wnd, s, reinterpret_cast<const TVINSERTSTRUCT*>(lParam));
    case TVM_DELETEITEM: {
      auto h = reinterpret_cast<HTREEITEM>(lParam);
      if (h && h != TVI_ROOT && !m.Valid(h)) return FALSE;
      DeleteItem(wnd, s, h);
      return TRUE;
    }
    case TVM_EXPAND: return Expand(wnd, s, reinterpret_cast<HTREEITEM>(lParam), UINT(wParam), false);
    case TVM_GETITEMRECT: return ItemRect(wnd, s, BOOL(wParam), reinterpret_cast<RECT*>(lParam));
    case TVM_GETCOUNT: return m.Count();
    case TVM_GETINDENT: return s->Indent;
    case TVM_SETINDENT:
      s->Indent = std::max(int(wParam), 8);
      Changed(wnd, s);
      return 0;
    case TVM_GETIMAGELIST: return reinterpret_cast<LRESULT>(wParam == TVSIL_STATE ? s->StateImages : s->Images);
    case TVM_SETIMAGELIST: {
      HIMAGELIST& slot = wParam == TVSIL_STATE ? s->StateImages : s->Images;
      if (wParam != TVSIL_STATE && wParam != TVSIL_NORMAL) return 0;
      HIMAGELIST old = std::exchange(slot, reinterpret_cast<HIMAGELIST>(lParam));
      s->Height = s->FixedHeight ? s->Height : 0;
      Changed(wnd, s);
      return reinterpret_cast<LRESULT>(old);
    }
    case TVM_GETNEXTITEM:
      return reinterpret_cast<LRESULT>(NextItem(wnd, s, UINT(wParam), reinterpret_cast<HTREEITEM>(lParam)));
    case TVM_SELECTITEM: return SelectItem(wnd, s, UINT(wParam), reinterpret_cast<HTREEITEM>(lParam));
    case TVM_GETITEM: return GetItem(wnd, s, reinterpret_cast<TVITEM*>(lParam));
    case TVM_SETITEM: return SetItem(wnd, s, reinterpret_cast<const TVITEM*>(lParam));
    case TVM_EDITLABEL: return reinterpret_cast<LRESULT>(BeginEdit(wnd, s, reinterpret_cast<HTREEITEM>(lParam)));
    case TVM_GETEDITCONTROL: return reinterpret_cast<LRESULT>(s->Edit);
    case TVM_ENDEDITLABELNOW: {
      bool was = s->Edit != nullptr;
      EndEdit(wnd, s, wParam != 0);
      return was;
    }
    case TVM_GETVISIBLECOUNT: return PageRows(wnd, s);
    case TVM_HITTEST: {
      auto* info = reinterpret_cast<TVHITTESTINFO*>(lParam);
      if (!info) return 0;
      info->hItem = HitTest(wnd, s, info->pt, &info->flags);
      return reinterpret_cast<LRESULT>(info->hItem);
    }
    case TVM_SORTCHILDREN: return Sort(wnd, s, reinterpret_cast<HTREEITEM>(lParam), wParam != 0, nullptr);
    case TVM_SORTCHILDRENCB: {
      auto* cb = reinterpret_cast<const TVSORTCB*>(lParam);
      return cb ? Sort(wnd, s, cb->hParent, wParam != 0, cb) : FALSE;
    }
    case TVM_ENSUREVISIBLE: {
      auto h = reinterpret_cast<HTREEITEM>(lParam);
      if (!m.Valid(h) || !ExpandAncestors(wnd, s, h)) return FALSE;
      ScrollTo(wnd, s, h);
      return TRUE;
    }
    case TVM_SETITEMHEIGHT: {
      int old = RowHeight(s);
      if (int(wParam) == -1) {
        s->FixedHeight = false;
        s->Height = 0;
      } else {
        s->FixedHeight = true;
        s->Height = std::max(1, int(wParam) + (int(wParam) & 1 && !(Style(wnd) & TVS_NONEVENHEIGHT) ? 1 : 0));
      }
      Changed(wnd, s);
      return old;
    }
    case TVM_GETITEMHEIGHT: return RowHeight(s);
    case TVM_SETBKCOLOR:
    case TVM_SETTEXTCOLOR:
    case TVM_SETLINECOLOR: {
      COLORREF& slot = msg == TVM_SETBKCOLOR ? s->Back : msg == TVM_SETTEXTCOLOR ? s->Text : s->Line;
      COLORREF old = std::exchange(slot, COLORREF(lParam));
      InvalidateRect(wnd, nullptr, FALSE);
      return LRESULT(old == CLR_NONE ? CLR_NONE : old);
    }
    case TVM_GETBKCOLOR: return LRESULT(s->Back);
    case TVM_GETTEXTCOLOR: return LRESULT(s->Text);
    case TVM_GETLINECOLOR: return LRESULT(s->Line);
    case TVM_GETITEMSTATE: {
      const TreeModel::Item* it = m.At(reinterpret_cast<HTREEITEM>(wParam));
      return it ? LRESULT(it->State & UINT(lParam)) : 0;
    }
    default: return DefWindowProc(wnd, msg, wParam, lParam);
  }
}

void Register() { CommonControls::RegisterControlClass(WC_TREEVIEW, WndProc); }

}  // namespace TreeView
