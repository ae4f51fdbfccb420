// The BUTTON window procedure.
//
// Sections: state; clicking; painting (push, check and radio, group box, owner-drawn); the
// window procedure.
#include "platform/commctrl/button/Button.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/common/ControlUtil.h"
#include "platform/gdi/dc/SavedDC.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

// ==== State =====================================================================================

struct BtnState {
  WPARAM check = BST_UNCHECKED;
  bool pushed = false;  // drawn pressed (BM_SETSTATE, a held button or Space)
  bool focused = false;
  bool tracking = false;   // the left button went down on it and is held
  bool spaceDown = false;  // Space went down on it
  HFONT font = nullptr;
  HBITMAP image = nullptr;
};

BtnState* StateOf(HWND wnd) { return ControlUtil::StateOf<BtnState>(wnd); }

DWORD Style(HWND wnd) { return DWORD(GetWindowLongPtr(wnd, GWL_STYLE)); }
DWORD Kind(DWORD style) { return style & BS_TYPEMASK; }

bool IsCheckKind(DWORD k) { return k == BS_CHECKBOX || k == BS_AUTOCHECKBOX || k == BS_3STATE || k == BS_AUTO3STATE; }
bool IsRadioKind(DWORD k) { return k == BS_RADIOBUTTON || k == BS_AUTORADIOBUTTON; }

void Redraw(HWND wnd) { InvalidateRect(wnd, nullptr, TRUE); }

// ==== Clicking ==================================================================================

void SetCheck(HWND wnd, BtnState* s, WPARAM check)
{
  DWORD k = Kind(Style(wnd));
  if (!IsCheckKind(k) && !IsRadioKind(k)) return;
  if (check == BST_INDETERMINATE && k != BS_3STATE && k != BS_AUTO3STATE) check = BST_CHECKED;
  if (check > BST_INDETERMINATE) check = BST_CHECKED;
  if (s->check == check) return;
  s->check = check;
  Redraw(wnd);
}

void Click(HWND wnd)
{
  BtnState* s = StateOf(wnd);
  if (!s) return;
  DWORD k = Kind(Style(wnd));
  switch (k) {
    case BS_AUTOCHECKBOX: SetCheck(wnd, s, s->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED); break;
    case BS_AUTO3STATE: SetCheck(wnd, s, (s->check + 1) % 3); break;
    case BS_AUTORADIOBUTTON:
      for (HWND other : Button::GroupOf(wnd)) {
        if (other == wnd) continue;
        char cls[16];
        if (GetClassName(other, cls, sizeof cls) && std::string(cls) == "BUTTON" &&
            Kind(Style(other)) == BS_AUTORADIOBUTTON)
          SendMessage(other, BM_SETCHECK, BST_UNCHECKED, 0);
      }
      SetCheck(wnd, s, BST_CHECKED);
      break;
    default: break;
  }
  ControlUtil::Notify(wnd, BN_CLICKED);
}

void SetPushed(HWND wnd, BtnState* s, bool pushed)
{
  if (s->pushed == pushed) return;
  s->pushed = pushed;
  Redraw(wnd);
}

bool Inside(HWND wnd, LPARAM lParam)
{
  RECT c;
  GetClientRect(wnd, &c);
  int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  return x >= c.left && x < c.right && y >= c.top && y < c.bottom;
}

// The character after the first single "&" of a text, upper-cased; 0 when there is none.
char Mnemonic(const AnsiString& text)
{
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (System::IsLeadByte(text[i])) {
      ++i;
      continue;
    }
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    char c = text[i + 1];
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
  }
  return 0;
}

// ==== Painting ==================================================================================

UINT TextFormat(DWORD style, bool beside)
{
  UINT f = 0;
  DWORD h = style & BS_CENTER, v = style & BS_VCENTER;
  if (h == BS_LEFT)
    f |= DT_LEFT;
  else if (h == BS_RIGHT)
    f |= DT_RIGHT;
  else if (h == BS_CENTER || (!beside && h == 0))
    f |= DT_CENTER;
  if (style & BS_MULTILINE)
    f |= DT_WORDBREAK;
  else
    f |= DT_SINGLELINE;
  if (v == BS_TOP)
    f |= DT_TOP;
  else if (v == BS_BOTTOM)
    f |= DT_BOTTOM;
  else
    f |= DT_VCENTER;
  return f;
}

// Draws the caption into `r` with the format, vertically placed by hand for multi-line text;
// answers the rectangle the text took (for the focus rectangle).
RECT DrawCaption(HWND wnd, HDC dc, RECT r, UINT format, bool enabled)
{
  AnsiString text = GetWindowText(wnd);
  RECT calc = r;
  DrawText(dc, text.c_str(), int(text.size()), &calc, (format & ~(DT_VCENTER | DT_BOTTOM)) | DT_CALCRECT);
  int h = calc.bottom - calc.top, w = calc.right - calc.left;
  RECT place = r;
  if (format & DT_WORDBREAK) {
    if (format & DT_BOTTOM)
      place.top = r.bottom - h;
    else if (!(format & DT_TOP) || (format & DT_VCENTER))
      place.top = r.top + (r.bottom - r.top - h) / 2;
    place.bottom = place.top + h;
  }
  UINT draw = format & ~((format & DT_WORDBREAK) ? UINT(DT_VCENTER | DT_BOTTOM) : 0u);
  SetBkMode(dc, TRANSPARENT);
  if (!enabled) {
    // The classic embossed look: a highlight copy one pixel down-right, then the gray text.
    RECT shadow = place;
    OffsetRect(&shadow, 1, 1);
    COLORREF old = SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawText(dc, text.c_str(), int(text.size()), &shadow, draw);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawText(dc, text.c_str(), int(text.size()), &place, draw);
    SetTextColor(dc, old);
  } else {
    DrawText(dc, text.c_str(), int(text.size()), &place, draw);
  }
  // Where the text landed, for the focus rectangle.
  RECT took{place.left, place.top, place.left + w, place.top + h};
  if (format & DT_CENTER) took.left = place.left + (place.right - place.left - w) / 2;
  if (format & DT_RIGHT) took.left = place.right - w;
  if ((format & DT_SINGLELINE) && (format & DT_VCENTER)) took.top = place.top + (place.bottom - place.top - h) / 2;
  if ((format & DT_SINGLELINE) && (format & DT_BOTTOM)) took.top = place.bottom - h;
  took.right = took.left + w;
  took.bottom = took.top + h;
  return took;
}

void DrawImage(HDC dc, HBITMAP bmp, RECT r, bool pushed)
{
  BITMAP bm;
  if (!GetObject(bmp, &bm)) return;
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, bmp);
  int x = r.left + (r.right - r.left - bm.bmWidth) / 2 + (pushed ? 1 : 0);
  int y = r.top + (r.bottom - r.top - bm.bmHeight) / 2 + (pushed ? 1 : 0);
  BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
}

void PaintPush(HWND wnd, BtnState* s, HDC dc, RECT c, DWORD style, bool enabled, bool pressed)
{
  CommCtrl::ControlColor(wnd, dc, WM_CTLCOLORBTN);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));  // a push button keeps the system colours
  bool isDefault = Kind(style) == BS_DEFPUSHBUTTON;
  RECT r = c;
  if (isDefault) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
  }
  if (pressed && isDefault) {
    // A pressed default button is flat: a shadow frame around the face.
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
  } else {
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  }
  RECT inner = c;
  InflateRect(&inner, -4, -4);
  if (pressed) OffsetRect(&inner, 1, 1);
  if ((style & BS_BITMAP) && s->image)
    DrawImage(dc, s->image, inner, false);
  else
    DrawCaption(wnd, dc, inner, TextFormat(style, false), enabled);
  if (s->focused) {
    RECT f = c;
    InflateRect(&f, isDefault ? -4 : -3, isDefault ? -4 : -3);
    DrawFocusRect(dc, &f);
  }
}

void PaintCheck(HWND wnd, BtnState* s, HDC dc, RECT c, DWORD style, bool enabled)
{
  HBRUSH back = CommCtrl::ControlColor(wnd, dc, WM_CTLCOLORSTATIC);
  FillRect(dc, &c, back);
  constexpr int kBox = 13, kGap = 4;
  bool radio = IsRadioKind(Kind(style));
  bool leftText = style & BS_LEFTTEXT;
  int top = c.top + (c.bottom - c.top - kBox) / 2;
  DWORD v = style & BS_VCENTER;
  if (v == BS_TOP) top = c.top;
  if (v == BS_BOTTOM) top = c.bottom - kBox;
  RECT box = leftText ? RECT{c.right - kBox, top, c.right, top + kBox} : RECT{c.left, top, c.left + kBox, top + kBox};
  UINT st = radio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
  if (s->check == BST_CHECKED) st |= DFCS_CHECKED;
  if (s->check == BST_INDETERMINATE) st = DFCS_BUTTON3STATE | DFCS_CHECKED;
  if (s->pushed) st |= DFCS_PUSHED;
  if (!enabled) st |= DFCS_INACTIVE;
  DrawFrameControl(dc, &box, DFC_BUTTON, st);
  RECT text =
      leftText ? RECT{c.left, c.top, box.left - kGap, c.bottom} : RECT{box.right + kGap, c.top, c.right, c.bottom};
  UINT format = TextFormat(style, true);
  if (leftText && !(style & BS_CENTER)) format = (format & ~UINT(DT_CENTER)) | DT_LEFT;
  RECT took = DrawCaption(wnd, dc, text, format, enabled);
  if (s->focused && GetWindowTextLength(wnd) > 0) {
    InflateRect(&took, 1, 1);
    took.bottom += 1;
    RECT fit;
    IntersectRect(&fit, &took, &c);
    DrawFocusRect(dc, &fit);
  }
}

void PaintGroup(HWND wnd, HDC dc, RECT c, bool enabled)
{
  HBRUSH back = CommCtrl::ControlColor(wnd, dc, WM_CTLCOLORSTATIC);
  AnsiString text = GetWindowText(wnd);
  SIZE cell{};
  GetTextExtentPoint32(dc, "Hg", 2, &cell);
  RECT frame = c;
  frame.top += cell.cy / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (text.empty()) return;
  RECT t{c.left + 8, c.top, c.right - 8, c.top + cell.cy};
  RECT calc = t;
  DrawText(dc, text.c_str(), int(text.size()), &calc, DT_SINGLELINE | DT_LEFT | DT_CALCRECT);
  calc.right = std::min(calc.right + 2, t.right);
  calc.left -= 2;
  calc.bottom = t.bottom;
  FillRect(dc, &calc, back);
  DrawCaption(wnd, dc, t, DT_SINGLELINE | DT_LEFT | DT_TOP, enabled);
}

void PaintOwner(HWND wnd, BtnState* s, HDC dc, RECT c, UINT action, bool enabled)
{
  DRAWITEMSTRUCT di;
  di.CtlType = ODT_BUTTON;
  di.CtlID = UINT(GetDlgCtrlID(wnd));
  di.itemAction = action;
  di.itemState = (s->pushed ? ODS_SELECTED : 0) | (s->focused ? ODS_FOCUS : 0) | (enabled ? 0 : ODS_DISABLED);
  di.hwndItem = wnd;
  di.hDC = dc;
  di.rcItem = c;
  CommCtrl::ControlColor(wnd, dc, WM_CTLCOLORBTN);
  SendMessage(GetParent(wnd), WM_DRAWITEM, WPARAM(di.CtlID), reinterpret_cast<LPARAM>(&di));
}

void Paint(HWND wnd, BtnState* s, HDC dc)
{
  TSavedDC keep(dc);
  RECT c;
  GetClientRect(wnd, &c);
  DWORD style = Style(wnd);
  bool enabled = IsWindowEnabled(wnd);
  SelectObject(dc, ControlUtil::FontOr(s->font));
  if (!(style & BS_MULTILINE) && !(style & BS_PUSHLIKE)) {}
  DWORD k = Kind(style);
  if (k == BS_OWNERDRAW) {
    PaintOwner(wnd, s, dc, c, ODA_DRAWENTIRE, enabled);
  } else if (k == BS_GROUPBOX) {
    PaintGroup(wnd, dc, c, enabled);
  } else if ((IsCheckKind(k) || IsRadioKind(k)) && (style & BS_PUSHLIKE)) {
    PaintPush(wnd, s, dc, c, style & ~BS_TYPEMASK, enabled, s->pushed || s->check != BST_UNCHECKED);
  } else if (IsCheckKind(k) || IsRadioKind(k)) {
    PaintCheck(wnd, s, dc, c, style, enabled);
  } else {
    PaintPush(wnd, s, dc, c, style, enabled, s->pushed);
  }
}

}  // namespace

namespace Button {

std::vector<HWND> GroupOf(HWND wnd)
{
  HWND parent = GetParent(wnd);
  if (!parent) return {wnd};
  // New windows go on top of their siblings, so the z-order from the bottom is the order of
  // creation (the dialog order).
  std::vector<HWND> all = GetChildWindows(parent);
  std::reverse(all.begin(), all.end());
  auto it = std::find(all.begin(), all.end(), wnd);
  if (it == all.end()) return {wnd};
  size_t at = size_t(it - all.begin()), first = at;
  while (first > 0 && !(GetWindowLongPtr(all[first], GWL_STYLE) & WS_GROUP)) --first;
  size_t last = at + 1;
  while (last < all.size() && !(GetWindowLongPtr(all[last], GWL_STYLE) & WS_GROUP)) ++last;
  return {all.begin() + std::ptrdiff_t(first), all.begin() + std::ptrdiff_t(last)};
}

LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  BtnState* s = StateOf(wnd);
  if (!s && msg != WM_CREATE) return DefWindowProc(wnd, msg, wParam, lParam);
  DWORD style = Style(wnd);
  DWORD kind = Kind(style);
  switch (msg) {
    case WM_CREATE: ControlUtil::AttachState(wnd, std::make_unique<BtnState>()); return 0;
    case WM_NCDESTROY: {
      auto gone = ControlUtil::DetachState<BtnState>(wnd);
      return DefWindowProc(wnd, msg, wParam, lParam);
    }
    case WM_SETFONT:
      s->font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) Redraw(wnd);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_SETTEXT: {
      LRESULT r = DefWindowProc(wnd, msg, wParam, lParam);
      Redraw(wnd);
      return r;
    }
    case WM_ENABLE: Redraw(wnd); return 0;
    case WM_ERASEBKGND: return 1;  // painting covers everything
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(wnd, &ps);
      Paint(wnd, s, dc);
      if (!wParam) EndPaint(wnd, &ps);
      return 0;
    }
    case WM_GETDLGCODE:
      switch (kind) {
        case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case BS_PUSHBUTTON:
        case BS_PUSHBOX: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
        case BS_GROUPBOX: return DLGC_STATIC;
        default: return DLGC_BUTTON;
      }
    case WM_NCHITTEST:
      // A group box lets the mouse through to what lies under it.
      if (kind == BS_GROUPBOX) return HTTRANSPARENT;
      return DefWindowProc(wnd, msg, wParam, lParam);
    case WM_SETFOCUS:
      s->focused = true;
      Redraw(wnd);
      if (style & BS_NOTIFY) ControlUtil::Notify(wnd, BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      s->focused = false;
      if (s->spaceDown) {
        s->spaceDown = false;
        SetPushed(wnd, s, false);
      }
      Redraw(wnd);
      if (style & BS_NOTIFY) ControlUtil::Notify(wnd, BN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDBLCLK:
      // A double click is a second click, reported as such to those that asked.
      if ((style & BS_NOTIFY) || IsRadioKind(kind) || kind == BS_OWNERDRAW) {
        ControlUtil::Notify(wnd, BN_DOUBLECLICKED);
        if (!IsWindow(wnd)) return 0;
      }
      [[fallthrough]];
    case WM_LBUTTONDOWN:
      if (kind == BS_GROUPBOX) return 0;
      if (GetFocus() != wnd) SetFocus(wnd);
      if (!(s = StateOf(wnd))) return 0;
      s->tracking = true;
      SetCapture(wnd);
      SetPushed(wnd, s, true);
      return 0;
    case WM_MOUSEMOVE:
      if (s->tracking) SetPushed(wnd, s, Inside(wnd, lParam));
      return 0;
    case WM_LBUTTONUP: {
      if (!s->tracking) return 0;
      s->tracking = false;
      bool clicked = s->pushed && Inside(wnd, lParam);
      SetPushed(wnd, s, false);
      if (GetCapture() == wnd) ReleaseCapture();
      if (clicked) Click(wnd);
      return 0;
    }
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      if (msg == WM_CAPTURECHANGED && reinterpret_cast<HWND>(lParam) == wnd) return 0;
      if (s->tracking) {
        s->tracking = false;
        SetPushed(wnd, s, false);
        if (msg == WM_CANCELMODE && GetCapture() == wnd) ReleaseCapture();
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == WPARAM(VK_SPACE) && kind != BS_GROUPBOX) {
        s->spaceDown = true;
        SetPushed(wnd, s, true);
      }
      return 0;
    case WM_KEYUP:
      if (wParam == WPARAM(VK_SPACE) && s->spaceDown) {
        s->spaceDown = false;
        SetPushed(wnd, s, false);
        Click(wnd);
      }
      return 0;
    case WM_CHAR:
    case WM_SYSCHAR: {
      // Its own mnemonic typed while it has the focus clicks it (Alt+key or the key alone).
      char c = char(wParam & 0xFF);
      if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
      char m = Mnemonic(GetWindowText(wnd));
      if (m && c == m && kind != BS_GROUPBOX) {
        Click(wnd);
        return 0;
      }
      return msg == WM_SYSCHAR ? DefWindowProc(wnd, msg, wParam, lParam) : 0;
    }
    case BM_GETCHECK: return LRESULT(s->check);
    case BM_SETCHECK: SetCheck(wnd, s, wParam); return 0;
    case BM_GETSTATE: return LRESULT(s->check | (s->pushed ? BST_PUSHED : 0) | (s->focused ? BST_FOCUS : 0));
    case BM_SETSTATE: SetPushed(wnd, s, wParam != 0); return 0;
    case BM_CLICK:
      if (!IsWindowEnabled(wnd)) return 0;
      SetPushed(wnd, s, true);
      SetPushed(wnd, s, false);
      Click(wnd);
      return 0;
    case BM_SETSTYLE: {
      DWORD now = (style & ~DWORD(0xFFFF)) | DWORD(wParam & 0xFFFF);
      SetWindowLongPtr(wnd, GWL_STYLE, LONG_PTR(now));
      if (LOWORD(lParam)) Redraw(wnd);
      return 0;
    }
    case BM_SETIMAGE: {
      if (wParam != IMAGE_BITMAP) return 0;
      HBITMAP old = s->image;
      s->image = reinterpret_cast<HBITMAP>(lParam);
      Redraw(wnd);
      return reinterpret_cast<LRESULT>(old);
    }
    case BM_GETIMAGE: return wParam == IMAGE_BITMAP ? reinterpret_cast<LRESULT>(s->image) : 0;
    default: return DefWindowProc(wnd, msg, wParam, lParam);
  }
}

void Register() { ControlUtil::RegisterControlClass("BUTTON", WndProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW); }

}  // namespace Button
