// The COMBOBOX window procedure and its drop-down list's.
//
// Sections: state and layout; the selection and the edit's text; dropping down and closing up;
// painting; the drop-down list's procedure (mouse while dropped); the combo's procedure.
#include "platform/commctrl/combobox/ComboBox.h"

#include <algorithm>
#include <memory>
#include <cstring>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/common/ControlUtil.h"
#include "platform/gdi/dc/SavedDC.h"
#include "platform/commctrl/listbox/ListBox.h"
#include "platform/commctrl/listbox/ListBoxModel.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/StringUtils.h"
#include "platform/win/backend/Backend.h"
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

constexpr int kEdge = 2;  // the sunken edge around the field

// ==== State and layout ==========================================================================

struct ComboState {
  DWORD kind = CBS_DROPDOWN;  // CBS_SIMPLE, CBS_DROPDOWN or CBS_DROPDOWNLIST
  HWND edit = nullptr, list = nullptr;
  WNDPROC editProc = nullptr;  // the edit's own procedure (it is subclassed for the combo's keys)
  HFONT font = nullptr;
  int fieldHeight = 0;  // the selection field (CB_GETITEMHEIGHT -1)
  int dropHeight = 0;   // the list's height when dropped
  int minVisible = 0;   // with CB_SETMINVISIBLE: the rows the dropped list shows (0: dropHeight)
  int droppedWidth = 0;
  bool dropped = false;
  bool focused = false;
  bool buttonDown = false;    // the button is drawn pressed
  bool pressDropped = false;  // the press that is still held dropped the list
  bool keyMoving = false;     // the list's selection is being moved by keys while dropped
  bool extendedUI = false;
  bool settingEdit = false;  // the combo itself is writing the edit's text: no CBN_EDIT*
  bool ownerDraw = false, hasStrings = true;
  int notifiedSel = -1;  // the selection the parent was last told of
};

ComboState* StateOf(HWND wnd) { return ControlUtil::StateOf<ComboState>(wnd); }

LRESULT ToList(ComboState* s, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
  return s->list ? SendMessage(s->list, msg, wParam, lParam) : CB_ERR;
}

int CurSel(ComboState* s) { return int(ToList(s, LB_GETCURSEL)); }

RECT Client(HWND wnd)
{
  RECT r;
  GetClientRect(wnd, &r);
  return r;
}

RECT ButtonRect(HWND wnd, ComboState* s)
{
  RECT c = Client(wnd);
  int w = GetSystemMetrics(SM_CXVSCROLL);
  return {c.right - kEdge - w, kEdge, c.right - kEdge, s->fieldHeight - kEdge};
}

// The text part of the field (where the edit sits, or the chosen item is drawn).
RECT TextRect(HWND wnd, ComboState* s)
{
  RECT c = Client(wnd);
  if (s->kind == CBS_SIMPLE) return {kEdge + 1, kEdge + 1, c.right - kEdge - 1, s->fieldHeight - kEdge - 1};
  RECT b = ButtonRect(wnd, s);
  return {kEdge + 1, kEdge + 1, b.left - 1, s->fieldHeight - kEdge - 1};
}

void Layout(HWND wnd, ComboState* s)
{
  if (s->edit) {
    RECT t = TextRect(wnd, s);
    MoveWindow(s->edit, t.left, t.top, t.right - t.left, t.bottom - t.top, TRUE);
  }
  if (s->kind == CBS_SIMPLE && s->list) {
    RECT c = Client(wnd);
    MoveWindow(s->list, 0, s->fieldHeight, c.right, std::max<int>(0, c.bottom - s->fieldHeight), TRUE);
  }
}

int DefaultFieldHeight(HFONT font) { return ControlUtil::FontCell(font).cy + 2 * (kEdge + 2); }

void Notify(HWND wnd, WORD code) { ControlUtil::Notify(wnd, code); }

// ==== The selection and the edit's text =========================================================

AnsiString ItemText(ComboState* s, int index)
{
  if (index < 0 || !s->hasStrings) return {};
  LRESULT n = ToList(s, LB_GETTEXTLEN, WPARAM(index));
  if (n < 0) return {};
  AnsiString t(size_t(n) + 1, '\0');
  ToList(s, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(t.data()));
  t.resize(size_t(n));
  return t;
}

// The edit shows the selected item, all of it selected.
void UpdateEdit(HWND wnd, ComboState* s)
{
  if (!s->edit) {
    RECT t = TextRect(wnd, s);
    InvalidateRect(wnd, &t, TRUE);
    return;
  }
  AnsiString text = ItemText(s, CurSel(s));
  s->settingEdit = true;
  SendMessage(s->edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (!(s = StateOf(wnd))) return;
  s->settingEdit = false;
  SendMessage(s->edit, EM_SETSEL, 0, -1);
}

void SetSel(HWND wnd, ComboState* s, int index)
{
  ToList(s, LB_SETCURSEL, WPARAM(index));
  s->notifiedSel = CurSel(s);
  UpdateEdit(wnd, s);
}

// ==== Dropping down and closing up ==============================================================

void DropDown(HWND wnd, ComboState* s)
{
  if (s->dropped || s->kind == CBS_SIMPLE || !s->list) return;
  Notify(wnd, CBN_DROPDOWN);
  if (!IsWindow(wnd) || !(s = StateOf(wnd))) return;
  // The list opens on the selected item, below the field, or above it when the screen ends.
  int count = int(ToList(s, LB_GETCOUNT));
  int sel = CurSel(s);
  RECT wr;
  GetWindowRect(wnd, &wr);
  int width = std::max<int>(s->droppedWidth, wr.right - wr.left);
  int rowsHeight = 0;
  int rows = 0;
  for (int i = 0; i < count && (s->minVisible > 0 ? rows < s->minVisible : rowsHeight < s->dropHeight); ++i, ++rows)
    rowsHeight += int(ToList(s, LB_GETITEMHEIGHT, WPARAM(i)));
  if (count == 0) rowsHeight = int(ToList(s, LB_GETITEMHEIGHT, 0));
  int height = (s->minVisible > 0 ? rowsHeight : std::min(s->dropHeight, rowsHeight)) + 2;  // its one-pixel border
  RECT wa = Backend::Current().WorkArea();
  int y = wr.bottom;
  if (y + height > wa.bottom && wr.top - height >= wa.top) y = wr.top - height;
  SetWindowPos(s->list, HWND_TOPMOST, wr.left, y, width, height, SWP_NOACTIVATE);
  if (sel >= 0) ToList(s, LB_SETTOPINDEX, WPARAM(sel));
  ToList(s, LB_SETCARETINDEX, WPARAM(std::max(sel, 0)));
  if (sel < 0) ToList(s, LB_SETCURSEL, WPARAM(-1));
  s->dropped = true;
  ShowWindow(s->list, SW_SHOWNA);
  SetCapture(s->list);
  RECT b = ButtonRect(wnd, s);
  InvalidateRect(wnd, &b, FALSE);
}

// Closes the list: `ok` keeps its selection (CBN_SELENDOK), otherwise the selection goes back
// to the last one reported (CBN_SELENDCANCEL). Then CBN_CLOSEUP, and CBN_SELCHANGE when the
// kept selection is new to the parent.
void CloseUp(HWND wnd, ComboState* s, bool ok)
{
  if (!s->dropped) return;
  s->dropped = false;
  s->buttonDown = s->pressDropped = false;
  if (!ok) ToList(s, LB_SETCURSEL, WPARAM(s->notifiedSel));
  Notify(wnd, ok ? CBN_SELENDOK : CBN_SELENDCANCEL);
  if (!IsWindow(wnd) || !(s = StateOf(wnd))) return;
  if (GetCapture() == s->list) ReleaseCapture();
  ShowWindow(s->list, SW_HIDE);
  InvalidateRect(wnd, nullptr, TRUE);
  Notify(wnd, CBN_CLOSEUP);
  if (!IsWindow(wnd) || !(s = StateOf(wnd))) return;
  if (ok && CurSel(s) != s->notifiedSel) {
    s->notifiedSel = CurSel(s);
    Notify(wnd, CBN_SELCHANGE);
    if (!IsWindow(wnd) || !(s = StateOf(wnd))) return;
    UpdateEdit(wnd, s);
  }
  if (s->edit && GetFocus() == s->edit) SendMessage(s->edit, EM_SETSEL, 0, -1);
}

void Toggle(HWND wnd, ComboState* s)
{
  if (s->dropped)
    CloseUp(wnd, s, true);
  else
    DropDown(wnd, s);
}

// A selection key with the list closed, or while dropped (the list's highlight moves).
void SelectionKey(HWND wnd, ComboState* s, int vk)
{
  if (!s->list) return;
  s->keyMoving = true;
  // The list moves its selection and reports it back (LBN_SELCHANGE).
  SendMessage(s->list, WM_KEYDOWN, WPARAM(vk), 0);
  if ((s = StateOf(wnd))) s->keyMoving = false;
}

// Keys the combo (or its edit) takes; answers whether it did.
bool ComboKey(HWND wnd, ComboState* s, UINT msg, int vk)
{
  bool alt = msg == WM_SYSKEYDOWN;
  if (alt) {
    if (vk == VK_DOWN || vk == VK_UP) {
      Toggle(wnd, s);
      return true;
    }
    return false;
  }
  switch (vk) {
    case VK_F4: Toggle(wnd, s); return true;
    case VK_RETURN:
      if (!s->dropped) return false;
      CloseUp(wnd, s, true);
      return true;
    case VK_ESCAPE:
      if (!s->dropped) return false;
      CloseUp(wnd, s, false);
      return true;
    case VK_DOWN:
      if (s->extendedUI && !s->dropped && s->kind != CBS_SIMPLE) {
        DropDown(wnd, s);
        return true;
      }
      [[fallthrough]];
    case VK_UP:
    case VK_PRIOR:
    case VK_NEXT: SelectionKey(wnd, s, vk); return true;
    case VK_HOME:
    case VK_END:
      // In an edit these move the caret; in a drop-down list they choose.
      if (s->edit && !s->dropped) return false;
      SelectionKey(wnd, s, vk);
      return true;
    default: return false;
  }
}

// ==== Painting ==================================================================================

void PaintField(HWND wnd, ComboState* s, HDC dc)
{
  TSavedDC keep(dc);
  RECT c = Client(wnd);
  bool enabled = IsWindowEnabled(wnd);
  SelectObject(dc, ControlUtil::FontOr(s->font));
  RECT field{0, 0, c.right, s->fieldHeight};
  HBRUSH back =
      enabled ? CommCtrl::ControlColor(wnd, dc, WM_CTLCOLOREDIT) : CommCtrl::ControlColor(wnd, dc, WM_CTLCOLORSTATIC);
  if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  COLORREF text = GetTextColor(dc);
  if (s->kind == CBS_SIMPLE) {
    // The parent's colour shows below a simple combo's edit, where its list may not reach.
    FillRect(dc, &c, GetSysColorBrush(COLOR_BTNFACE));
  }
  RECT inner = field;
  DrawEdge(dc, &inner, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  FillRect(dc, &inner, back);
  if (s->kind != CBS_SIMPLE) {
    RECT b = ButtonRect(wnd, s);
    DrawFrameControl(
        dc, &b, DFC_SCROLL,
        DFCS_SCROLLCOMBOBOX | (s->buttonDown ? DFCS_PUSHED | DFCS_FLAT : 0) | (enabled ? 0 : DFCS_INACTIVE));
  }
  if (s->kind != CBS_DROPDOWNLIST) return;
  RECT t = TextRect(wnd, s);
  int sel = CurSel(s);
  bool hot = s->focused && !s->dropped;
  if (s->ownerDraw) {
    DRAWITEMSTRUCT di;
    di.CtlType = ODT_COMBOBOX;
    di.CtlID = UINT(GetDlgCtrlID(wnd));
    di.itemID = UINT(sel);
    di.itemAction = ODA_DRAWENTIRE;
    di.itemState = ODS_COMBOBOXEDIT | (hot ? ODS_SELECTED | ODS_FOCUS : 0) | (enabled ? 0 : ODS_DISABLED);
    di.hwndItem = wnd;
    di.hDC = dc;
    di.rcItem = t;
    di.itemData = UINT_PTR(sel >= 0 ? ToList(s, LB_GETITEMDATA, WPARAM(sel)) : 0);
    TSavedDC clip(dc);
    IntersectClipRect(dc, t.left, t.top, t.right, t.bottom);
    SendMessage(GetParent(wnd), WM_DRAWITEM, WPARAM(di.CtlID), reinterpret_cast<LPARAM>(&di));
    return;
  }
  if (hot) FillRect(dc, &t, GetSysColorBrush(COLOR_HIGHLIGHT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, hot ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text);
  AnsiString str = ItemText(s, sel);
  RECT tr = t;
  tr.left += 1;
  DrawText(dc, str.c_str(), int(str.size()), &tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
  if (hot) DrawFocusRect(dc, &t);
}

// ==== The drop-down list ========================================================================

// The list of a dropping combo holds the capture while down: a press outside closes it without
// choosing (a press on the combo's button closes it too), the pointer over it moves the
// highlight, and a release on an item chooses that item.
LRESULT ListProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam)
{
  HWND combo = ListBox::ComboOf(list);
  ComboState* s = combo ? StateOf(combo) : nullptr;
  if (!s || s->kind == CBS_SIMPLE) return ListBox::WndProc(list, msg, wParam, lParam);
  switch (msg) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_MOUSEMOVE: {
      if (!s->dropped) return 0;
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      int i = ListBox::ItemAt(list, p);
      if (i >= 0 && i != int(SendMessage(list, LB_GETCURSEL, 0, 0))) ListBox::SelectFromUser(list, i);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!s->dropped) return 0;
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      RECT c = Client(list);
      if (PtInRect(&c, p)) return 0;  // the release chooses
      POINT screen = p;
      ClientToScreen(list, &screen);
      RECT wr;
      GetWindowRect(list, &wr);
      if (PtInRect(&wr, screen)) {
        // On the list's own scroll bar: it scrolls, and the list takes the capture back.
        LRESULT hit = SendMessage(list, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
        if (hit == HTVSCROLL || hit == HTHSCROLL) {
          s->keyMoving = true;  // the capture moving to the bar is not a cancel
          ScrollBars::Track(list, hit == HTVSCROLL ? SB_VERT : SB_HORZ, screen);
          if ((s = StateOf(combo))) {
            s->keyMoving = false;
            if (s->dropped) SetCapture(list);
          }
        }
        return 0;
      }
      CloseUp(combo, s, false);
      return 0;
    }
    case WM_LBUTTONUP: {
      if (!s->dropped) return 0;
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      int i = ListBox::ItemAt(list, p);
      if (i >= 0) {
        ListBox::SelectFromUser(list, i);
        CloseUp(combo, s, true);
      } else if (s->pressDropped) {
        // The release of the press that opened the list leaves it open.
        s->pressDropped = false;
        if (s->buttonDown) {
          s->buttonDown = false;
          RECT b = ButtonRect(combo, s);
          InvalidateRect(combo, &b, FALSE);
        }
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      // The capture taken away (another window, a menu) closes the list without choosing.
      if (s->dropped && !s->keyMoving && reinterpret_cast<HWND>(lParam) != list) CloseUp(combo, s, false);
      return 0;
    default: return ListBox::WndProc(list, msg, wParam, lParam);
  }
}

// The edit's procedure, ahead of the edit's own: the combo's keys go to the combo.
LRESULT EditProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam)
{
  HWND combo = GetParent(edit);
  ComboState* s = combo ? StateOf(combo) : nullptr;
  if (!s || !s->editProc) return DefWindowProc(edit, msg, wParam, lParam);
  WNDPROC own = s->editProc;
  if ((msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) && ComboKey(combo, s, msg, int(wParam))) return 0;
  if (msg == WM_CHAR && (wParam == WPARAM(VK_RETURN) || wParam == WPARAM(VK_ESCAPE)) && s->dropped) return 0;
  return CallWindowProc(own, edit, msg, wParam, lParam);
}

// ==== The combo =================================================================================

LRESULT Create(HWND wnd, const CREATESTRUCTA* cs)
{
  auto* s = ControlUtil::AttachState(wnd, std::make_unique<ComboState>());
  DWORD style = DWORD(cs->style);
  s->kind = style & 3 ? style & 3 : CBS_DROPDOWN;
  s->ownerDraw = style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE);
  s->hasStrings = !s->ownerDraw || (style & CBS_HASSTRINGS);
  s->fieldHeight = DefaultFieldHeight(nullptr);
  if (s->ownerDraw) {
    // The owner sizes the field (item -1) first.
    MEASUREITEMSTRUCT mi;
    mi.CtlType = ODT_COMBOBOX;
    mi.CtlID = UINT(GetDlgCtrlID(wnd));
    mi.itemID = UINT(-1);
    mi.itemWidth = UINT(cs->cx);
    mi.itemHeight = UINT(ControlUtil::FontCell(nullptr).cy);
    SendMessage(GetParent(wnd), WM_MEASUREITEM, WPARAM(mi.CtlID), reinterpret_cast<LPARAM>(&mi));
    if (!(s = StateOf(wnd))) return -1;
    s->fieldHeight = int(mi.itemHeight) + 2 * (kEdge + 1);
  }
  s->dropHeight = std::max(cs->cy - s->fieldHeight, ControlUtil::FontCell(nullptr).cy);
  DWORD lbStyle = LBS_COMBOBOX | LBS_NOTIFY | (style & (WS_VSCROLL | WS_HSCROLL));
  if (style & CBS_SORT) lbStyle |= LBS_SORT;
  if (style & CBS_HASSTRINGS) lbStyle |= LBS_HASSTRINGS;
  if (style & CBS_OWNERDRAWFIXED) lbStyle |= LBS_OWNERDRAWFIXED;
  if (style & CBS_OWNERDRAWVARIABLE) lbStyle |= LBS_OWNERDRAWVARIABLE;
  if (style & CBS_DISABLENOSCROLL) lbStyle |= LBS_DISABLENOSCROLL;
  lbStyle |= LBS_NOINTEGRALHEIGHT;
  if (s->kind == CBS_SIMPLE) {
    s->list =
        CreateWindowEx(WS_EX_CLIENTEDGE, "ComboLBox", "", lbStyle | WS_CHILD | WS_VISIBLE, 0, s->fieldHeight, cs->cx,
                       std::max(0, cs->cy - s->fieldHeight), wnd, reinterpret_cast<HMENU>(1000), nullptr, wnd);
  } else {
    s->list = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, "ComboLBox", "",
                             lbStyle | WS_POPUP | WS_BORDER, 0, 0, cs->cx, s->dropHeight, wnd, nullptr, nullptr, wnd);
  }
  if (!(s = StateOf(wnd)) || !s->list) return -1;
  if (s->kind != CBS_DROPDOWNLIST) {
    DWORD es = WS_CHILD | WS_VISIBLE | ES_LEFT;
    if (style & CBS_AUTOHSCROLL) es |= ES_AUTOHSCROLL;
    if (style & CBS_UPPERCASE) es |= ES_UPPERCASE;
    if (style & CBS_LOWERCASE) es |= ES_LOWERCASE;
    s->edit = CreateWindowEx(0, "EDIT", "", es, 0, 0, 10, 10, wnd, reinterpret_cast<HMENU>(1001), nullptr, nullptr);
    if (!(s = StateOf(wnd))) return -1;
    if (s->edit) {
      s->editProc = reinterpret_cast<WNDPROC>(GetWindowLongPtr(s->edit, GWL_WNDPROC));
      SetWindowLongPtr(s->edit, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc));
    }
  }
  // A dropping combo is as high as its field; the height it was made with is the list's.
  SetWindowPos(wnd, nullptr, 0, 0, cs->cx, s->kind != CBS_SIMPLE ? s->fieldHeight : cs->cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  if ((s = StateOf(wnd))) Layout(wnd, s);
  return 0;
}

// Forwards a list message (the CB_ twin of an LB_ message).
LRESULT ListMsg(ComboState* s, UINT msg, WPARAM wParam, LPARAM lParam)
{
  LRESULT r = ToList(s, msg, wParam, lParam);
  return r == LB_ERRSPACE ? CB_ERRSPACE : r < 0 ? CB_ERR : r;
}

}  // namespace

namespace ComboBox {

HWND EditOf(HWND combo)
{
  ComboState* s = IsWindow(combo) ? StateOf(combo) : nullptr;
  return s ? s->edit : nullptr;
}

HWND ListOf(HWND combo)
{
  ComboState* s = IsWindow(combo) ? StateOf(combo) : nullptr;
  return s ? s->list : nullptr;
}

LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  ComboState* s = StateOf(wnd);
  if (!s && msg != WM_CREATE && msg != WM_NCCREATE) return DefWindowProc(wnd, msg, wParam, lParam);
  switch (msg) {
    case WM_NCCREATE: {
      // WS_VSCROLL and WS_HSCROLL are the list's: the combo itself shows no bars.
      LONG_PTR style = GetWindowLongPtr(wnd, GWL_STYLE);
      SetWindowLongPtr(wnd, GWL_STYLE, style & ~LONG_PTR(WS_VSCROLL | WS_HSCROLL));
      return DefWindowProc(wnd, msg, wParam, lParam);
    }
    case WM_CREATE: return Create(wnd, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_DESTROY:
      // The pop-up list is not a child: it goes with the combo.
      if (s->list && s->kind != CBS_SIMPLE) {
        HWND list = s->list;
        s->dropped = false;
        s->list = nullptr;
        DestroyWindow(list);
      }
      return 0;
    case WM_NCDESTROY: {
      auto gone = ControlUtil::DetachState<ComboState>(wnd);
      return DefWindowProc(wnd, msg, wParam, lParam);
    }
    case WM_SIZE: Layout(wnd, s); return 0;
    case WM_SETFONT: {
      s->font = reinterpret_cast<HFONT>(wParam);
      if (!s->ownerDraw) s->fieldHeight = DefaultFieldHeight(s->font);
      if (s->edit) SendMessage(s->edit, WM_SETFONT, wParam, lParam);
      if (s->list) SendMessage(s->list, WM_SETFONT, wParam, lParam);
      if (s->kind != CBS_SIMPLE) {
        RECT w;
        GetWindowRect(wnd, &w);
        SetWindowPos(wnd, nullptr, 0, 0, w.right - w.left, s->fieldHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      if ((s = StateOf(wnd))) Layout(wnd, s);
      InvalidateRect(wnd, nullptr, TRUE);
      return 0;
    }
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(wnd, &ps);
      PaintField(wnd, s, dc);
      if (!wParam) EndPaint(wnd, &ps);
      return 0;
    }
    case WM_ENABLE:
      if (s->edit) EnableWindow(s->edit, BOOL(wParam));
      if (s->list) EnableWindow(s->list, BOOL(wParam));
      InvalidateRect(wnd, nullptr, TRUE);
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR: {
      // The parts' colours are the combo's parent's to give.
      HWND parent = GetParent(wnd);
      LRESULT r = parent ? SendMessage(parent, msg, wParam, reinterpret_cast<LPARAM>(wnd)) : 0;
      return r ? r : DefWindowProc(wnd, msg, wParam, lParam);
    }
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM: return SendMessage(GetParent(wnd), msg, wParam, lParam);
    case WM_SETFOCUS:
      if (s->edit) {
        SetFocus(s->edit);  // the edit reports the focus through EN_SETFOCUS
        return 0;
      }
      s->focused = true;
      InvalidateRect(wnd, nullptr, TRUE);
      Notify(wnd, CBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS: {
      HWND to = reinterpret_cast<HWND>(wParam);
      if (to && (to == s->edit || to == s->list)) return 0;
      CloseUp(wnd, s, false);
      if (!(s = StateOf(wnd))) return 0;
      s->focused = false;
      InvalidateRect(wnd, nullptr, TRUE);
      Notify(wnd, CBN_KILLFOCUS);
      return 0;
    }
    case WM_COMMAND: {
      HWND from = reinterpret_cast<HWND>(lParam);
      WORD code = HIWORD(wParam);
      if (from && from == s->edit) {
        switch (code) {
          case EN_SETFOCUS:
            if (!s->focused) {
              s->focused = true;
              SendMessage(s->edit, EM_SETSEL, 0, -1);
              Notify(wnd, CBN_SETFOCUS);
            }
            break;
          case EN_KILLFOCUS: {
            HWND to = GetFocus();
            if (to == wnd || to == s->list) break;
            CloseUp(wnd, s, false);
            if (!(s = StateOf(wnd))) return 0;
            s->focused = false;
            Notify(wnd, CBN_KILLFOCUS);
            break;
          }
          case EN_UPDATE:
            if (!s->settingEdit) Notify(wnd, CBN_EDITUPDATE);
            break;
          case EN_CHANGE: {
            if (s->settingEdit) break;
            // While the list is down its highlight follows the typed text.
            if (s->dropped) {
              AnsiString t = GetWindowText(s->edit);
              LRESULT i = ToList(s, LB_FINDSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(t.c_str()));
              if (i >= 0) ListBox::SelectFromUser(s->list, int(i));
            }
            Notify(wnd, CBN_EDITCHANGE);
            break;
          }
          default: break;
        }
      } else if (from && from == s->list) {
        if (code == LBN_SELCHANGE) {
          // A key moved the list's selection.
          if (s->dropped) {
            s->notifiedSel = CurSel(s);
            Notify(wnd, CBN_SELCHANGE);
            if ((s = StateOf(wnd))) UpdateEdit(wnd, s);
          } else {
            s->notifiedSel = CurSel(s);
            if (s->kind != CBS_SIMPLE) Notify(wnd, CBN_SELENDOK);
            if (!(s = StateOf(wnd))) return 0;
            Notify(wnd, CBN_SELCHANGE);
            if ((s = StateOf(wnd))) UpdateEdit(wnd, s);
          }
        } else if (code == LBN_DBLCLK) {
          Notify(wnd, CBN_DBLCLK);
        }
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (GetFocus() != wnd && GetFocus() != s->edit) SetFocus(wnd);
      if (!(s = StateOf(wnd)) || s->kind == CBS_SIMPLE) return 0;
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      RECT b = ButtonRect(wnd, s);
      if (s->kind == CBS_DROPDOWNLIST || PtInRect(&b, p)) {
        if (s->dropped) {
          CloseUp(wnd, s, true);
          return 0;
        }
        s->buttonDown = PtInRect(&b, p);
        s->pressDropped = true;
        DropDown(wnd, s);
      }
      return 0;
    }
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (ComboKey(wnd, s, msg, int(wParam))) return 0;
      return msg == WM_SYSKEYDOWN ? DefWindowProc(wnd, msg, wParam, lParam) : 0;
    case WM_CHAR:
      if (s->edit) return SendMessage(s->edit, msg, wParam, lParam);
      // Type-ahead in a drop-down list goes to the list, which reports the selection back.
      if (BYTE(wParam) >= 0x20 || (BYTE(wParam) & 0x80)) {
        s->keyMoving = true;
        SendMessage(s->list, WM_CHAR, wParam, lParam);
        if ((s = StateOf(wnd))) s->keyMoving = false;
      }
      return 0;
    case WM_SETTEXT: {
      if (s->edit) return SendMessage(s->edit, WM_SETTEXT, wParam, lParam);
      LRESULT i = ToList(s, LB_FINDSTRINGEXACT, WPARAM(-1), lParam);
      if (i < 0) return CB_ERR;
      SetSel(wnd, s, int(i));
      return TRUE;
    }
    case WM_GETTEXT: {
      if (s->edit) return SendMessage(s->edit, WM_GETTEXT, wParam, lParam);
      if (!lParam || wParam == 0) return 0;
      AnsiString t = ItemText(s, CurSel(s));
      auto* buf = reinterpret_cast<char*>(lParam);
      // Never a half character at the cut.
      size_t n = 0;
      while (n < t.size()) {
        size_t step = (System::IsLeadByte(t[n]) && n + 1 < t.size()) ? 2 : 1;
        if (n + step > size_t(wParam) - 1) break;
        n += step;
      }
      std::memcpy(buf, t.data(), n);
      buf[n] = 0;
      return LRESULT(n);
    }
    case WM_GETTEXTLENGTH:
      if (s->edit) return SendMessage(s->edit, WM_GETTEXTLENGTH, 0, 0);
      return LRESULT(ItemText(s, CurSel(s)).size());

    // ---- CB_ messages -----------------------------------------------------------------------------
    case CB_ADDSTRING: return ListMsg(s, LB_ADDSTRING, wParam, lParam);
    case CB_INSERTSTRING: return ListMsg(s, LB_INSERTSTRING, wParam, lParam);
    case CB_DELETESTRING: {
      LRESULT r = ListMsg(s, LB_DELETESTRING, wParam, lParam);
      s->notifiedSel = CurSel(s);
      return r;
    }
    case CB_RESETCONTENT:
      ToList(s, LB_RESETCONTENT);
      s->notifiedSel = -1;
      UpdateEdit(wnd, s);
      return CB_OKAY;
    case CB_GETCOUNT: return ListMsg(s, LB_GETCOUNT, 0, 0);
    case CB_GETCURSEL: return ListMsg(s, LB_GETCURSEL, 0, 0);
    case CB_SETCURSEL: {
      int count = int(ToList(s, LB_GETCOUNT));
      int i = int(wParam);
      SetSel(wnd, s, i >= 0 && i < count ? i : -1);
      return i >= 0 && i < count ? i : CB_ERR;
    }
    case CB_GETLBTEXT: return ListMsg(s, LB_GETTEXT, wParam, lParam);
    case CB_GETLBTEXTLEN: return ListMsg(s, LB_GETTEXTLEN, wParam, lParam);
    case CB_FINDSTRING: return ListMsg(s, LB_FINDSTRING, wParam, lParam);
    case CB_FINDSTRINGEXACT: return ListMsg(s, LB_FINDSTRINGEXACT, wParam, lParam);
    case CB_SELECTSTRING: {
      LRESULT i = ToList(s, LB_FINDSTRING, wParam, lParam);
      if (i < 0) return CB_ERR;
      SetSel(wnd, s, int(i));
      return i;
    }
    case CB_GETITEMDATA: return ListMsg(s, LB_GETITEMDATA, wParam, lParam);
    case CB_SETITEMDATA: return ListMsg(s, LB_SETITEMDATA, wParam, lParam);
    case CB_SETITEMHEIGHT: {
      if (int(wParam) == -1) {
        int h = int(lParam);
        if (h < 1 || h > 255) return CB_ERR;
        s->fieldHeight = h + 2 * (kEdge + 1);
        if (s->kind != CBS_SIMPLE) {
          RECT w;
          GetWindowRect(wnd, &w);
          SetWindowPos(wnd, nullptr, 0, 0, w.right - w.left, s->fieldHeight,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if ((s = StateOf(wnd))) Layout(wnd, s);
        InvalidateRect(wnd, nullptr, TRUE);
        return CB_OKAY;
      }
      return ListMsg(s, LB_SETITEMHEIGHT, wParam, lParam);
    }
    case CB_GETITEMHEIGHT:
      if (int(wParam) == -1) return s->fieldHeight - 2 * (kEdge + 1);
      return ListMsg(s, LB_GETITEMHEIGHT, wParam, 0);
    case CB_SHOWDROPDOWN:
      if (wParam)
        DropDown(wnd, s);
      else
        CloseUp(wnd, s, false);
      return TRUE;
    case CB_GETDROPPEDSTATE: return s->dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT: {
      auto* r = reinterpret_cast<RECT*>(lParam);
      if (!r) return CB_ERR;
      RECT w;
      GetWindowRect(wnd, &w);
      if (s->dropped || s->kind == CBS_SIMPLE)
        GetWindowRect(s->list, r);
      else
        *r = {w.left, w.bottom, w.left + std::max<LONG>(s->droppedWidth, w.right - w.left), w.bottom + s->dropHeight};
      // The rectangle covers the field too, as the classic control reports it.
      r->top = std::min(r->top, w.top);
      r->bottom = std::max(r->bottom, w.bottom);
      return TRUE;
    }
    case CB_SETMINVISIBLE:
      if (int(wParam) < 1) return FALSE;
      s->minVisible = int(wParam);
      return TRUE;
    case CB_GETMINVISIBLE: return s->minVisible;
    case CB_SETDROPPEDWIDTH:
      s->droppedWidth = std::max(0, int(wParam));
      return std::max<LRESULT>(s->droppedWidth, Client(wnd).right);
    case CB_GETDROPPEDWIDTH: return std::max<LRESULT>(s->droppedWidth, Client(wnd).right);
    case CB_GETEDITSEL:
      if (!s->edit) return CB_ERR;
      return SendMessage(s->edit, EM_GETSEL, wParam, lParam);
    case CB_SETEDITSEL: {
      if (!s->edit) return CB_ERR;
      int start = std::int16_t(LOWORD(lParam)), end = std::int16_t(HIWORD(lParam));
      SendMessage(s->edit, EM_SETSEL, WPARAM(LPARAM(start)), LPARAM(end));
      return TRUE;
    }
    case CB_LIMITTEXT:
      if (!s->edit) return CB_ERR;
      SendMessage(s->edit, EM_LIMITTEXT, wParam, 0);
      return TRUE;
    case CB_SETEXTENDEDUI: s->extendedUI = wParam != 0; return CB_OKAY;
    case CB_GETEXTENDEDUI: return s->extendedUI ? TRUE : FALSE;
    case CB_GETTOPINDEX: return ListMsg(s, LB_GETTOPINDEX, 0, 0);
    case CB_SETTOPINDEX: return ListMsg(s, LB_SETTOPINDEX, wParam, 0);
    case CB_GETHORIZONTALEXTENT: return ListMsg(s, LB_GETHORIZONTALEXTENT, 0, 0);
    case CB_SETHORIZONTALEXTENT: ListMsg(s, LB_SETHORIZONTALEXTENT, wParam, 0); return 0;
    case CB_INITSTORAGE: return ListMsg(s, LB_INITSTORAGE, wParam, lParam);
    case CB_GETLOCALE:
    case CB_SETLOCALE: return 0x0804;
    case CB_DIR: return CB_ERR;
    default: return DefWindowProc(wnd, msg, wParam, lParam);
  }
}

void Register()
{
  ControlUtil::RegisterControlClass("COMBOBOX", WndProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
  ControlUtil::RegisterControlClass("ComboLBox", ListProc, CS_DBLCLKS | CS_SAVEBITS);
}

}  // namespace ComboBox
