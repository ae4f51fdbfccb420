// Sections: state and layout → painting → telling the parent → the dropped calendar (its mouse
// hook closes it on a click elsewhere) → keys and mouse → the window procedure.
#include "platform/commctrl/datetime/DateTime.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <utility>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/common/ControlUtil.h"
#include "platform/commctrl/datetime/DateTimeModel.h"
#include "platform/commctrl/updown/UpDown.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SavedDC.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/text/Fonts.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/win/backend/Backend.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Hooks.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

constexpr int kSpinId = 1, kBox = 13;

// ==== State and layout ==========================================================================

struct PickerState {
  DateTimeModel Model;
  HFONT Font = nullptr, CalendarFont = nullptr;
  std::array<COLORREF, 6> CalendarColours;
  HWND Calendar = nullptr;  // the drop-down, made on first use, hidden while closed
  bool Dropped = false;
  HWND Spin = nullptr;  // DTS_UPDOWN's arrows
  PickerState() { CalendarColours.fill(CLR_DEFAULT); }
};

PickerState* StateOf(HWND wnd) { return ControlUtil::StateOf<PickerState>(wnd); }
DWORD Style(HWND wnd) { return DWORD(GetWindowLongPtr(wnd, GWL_STYLE)); }
bool HasBox(HWND wnd) { return Style(wnd) & DTS_SHOWNONE; }
bool Ticked(HWND wnd, PickerState* s) { return !HasBox(wnd) || s->Model.Checked(); }

// The format the style asks for, in the locale's formats.
AnsiString StyleFormat(DWORD style)
{
  switch (style & 0xC) {
    case DTS_LONGDATEFORMAT: return DateTimeModel::FromLocaleFormat(SysUtils::LongDateFormat);
    case DTS_TIMEFORMAT & 0xC: return DateTimeModel::FromLocaleFormat(SysUtils::LongTimeFormat);
    case DTS_SHORTDATECENTURYFORMAT: {
      AnsiString f = DateTimeModel::FromLocaleFormat(SysUtils::ShortDateFormat);
      size_t at = f.find("yy");
      if (at != AnsiString::npos && f.compare(at, 4, "yyyy") != 0) f.replace(at, 2, "yyyy");
      return f;
    }
    default: return DateTimeModel::FromLocaleFormat(SysUtils::ShortDateFormat);
  }
}

RECT BoxRect(HWND wnd)
{
  RECT c;
  GetClientRect(wnd, &c);
  int top = (c.bottom - kBox) / 2;
  return {2, top, 2 + kBox, top + kBox};
}

// The drop-down button, or the room the up-down takes.
RECT ButtonRect(HWND wnd)
{
  RECT c;
  GetClientRect(wnd, &c);
  int w = GetSystemMetrics(SM_CXVSCROLL);
  return {std::max(0, int(c.right) - w), 0, c.right, c.bottom};
}

// Where each part of the text is.
std::vector<RECT> PartRects(HWND wnd, PickerState* s)
{
  std::vector<RECT> rects;
  RECT c;
  GetClientRect(wnd, &c);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, ControlUtil::FontOr(s->Font));
  TEXTMETRICA tm;
  GetTextMetrics(dc, &tm);
  int x = HasBox(wnd) ? 2 + kBox + 4 : 2;
  int top = (c.bottom - tm.tmHeight) / 2;
  for (size_t i = 0; i < s->Model.Parts().size(); ++i) {
    AnsiString t = s->Model.PartText(i);
    SIZE sz{0, 0};
    GetTextExtentPoint32(dc, t.c_str(), int(t.size()), &sz);
    rects.push_back(RECT{x, top, x + sz.cx, top + tm.tmHeight});
    x += sz.cx;
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  return rects;
}

void PlaceSpin(HWND wnd, PickerState* s)
{
  if (!s->Spin) return;
  RECT b = ButtonRect(wnd);
  SetWindowPos(s->Spin, nullptr, b.left, b.top, b.right - b.left, b.bottom - b.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// ==== Painting ==================================================================================

void Paint(HWND wnd, PickerState* s, HDC dc)
{
  TSavedDC saved(dc);
  RECT c;
  GetClientRect(wnd, &c);
  bool enabled = IsWindowEnabled(wnd);
  HBRUSH back = enabled ? CommCtrl::ControlColor(wnd, dc, WM_CTLCOLOREDIT) : GetSysColorBrush(COLOR_BTNFACE);
  COLORREF text = GetTextColor(dc);
  FillRect(dc, &c, back);
  SelectObject(dc, ControlUtil::FontOr(s->Font));
  SetBkMode(dc, TRANSPARENT);
  bool ticked = Ticked(wnd, s);
  if (HasBox(wnd)) {
    RECT box = BoxRect(wnd);
    DrawFrameControl(dc, &box, DFC_BUTTON,
                     DFCS_BUTTONCHECK | (s->Model.Checked() ? DFCS_CHECKED : 0) | (enabled ? 0 : DFCS_INACTIVE));
  }
  bool focused = GetFocus() == wnd;
  std::vector<RECT> rects = PartRects(wnd, s);
  for (size_t i = 0; i < rects.size(); ++i) {
    AnsiString t = s->Model.PartText(i);
    COLORREF colour = (enabled && ticked) ? text : GetSysColor(COLOR_GRAYTEXT);
    if (focused && ticked && enabled && int(i) == s->Model.Current() && !s->Dropped) {
      CommonControls::FillSolid(dc, rects[i], GetSysColor(COLOR_HIGHLIGHT));
      colour = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    SetTextColor(dc, colour);
    TextOut(dc, rects[i].left, rects[i].top, t.c_str(), int(t.size()));
  }
  if (!(Style(wnd) & DTS_UPDOWN)) {
    RECT b = ButtonRect(wnd);
    DrawFrameControl(dc, &b, DFC_SCROLL,
                     DFCS_SCROLLCOMBOBOX | (s->Dropped ? DFCS_PUSHED | DFCS_FLAT : 0) | (enabled ? 0 : DFCS_INACTIVE));
  }
}

// ==== Telling the parent ========================================================================

// Sends DTN_DATETIMECHANGE with the value (or GDT_NONE); false when the window went away.
bool NotifyChange(HWND wnd)
{
  PickerState* s = StateOf(wnd);
  if (!s) return false;
  InvalidateRect(wnd, nullptr, FALSE);
  NMDATETIMECHANGE n;
  n.dwFlags = DWORD(Ticked(wnd, s) ? GDT_VALID : GDT_NONE);
  n.st = SystemTime::FromDateTime(s->Model.Value());
  CommonControls::SendNotify(wnd, &n.nmhdr, DTN_DATETIMECHANGE);
  return IsWindow(wnd) && StateOf(wnd);
}

bool NotifySimple(HWND wnd, UINT code)
{
  NMHDR h;
  CommonControls::SendNotify(wnd, &h, code);
  return IsWindow(wnd) && StateOf(wnd);
}

// ==== The dropped calendar ======================================================================

// One calendar is open at a time: its picker, and the hook that closes it on a click elsewhere.
HWND gDroppedPicker = nullptr;
HHOOK gMouseHook = nullptr;

void CloseUp(HWND wnd, PickerState* s, bool notify = true);

LRESULT MouseHook(int code, WPARAM wParam, LPARAM lParam)
{
  HHOOK self = gMouseHook;
  if (code >= 0 && gDroppedPicker) {
    UINT msg = UINT(wParam);
    bool press = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN || msg == WM_NCLBUTTONDOWN ||
                 msg == WM_NCRBUTTONDOWN || msg == WM_LBUTTONDBLCLK;
    auto* m = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    PickerState* s = StateOf(gDroppedPicker);
    if (press && s && s->Calendar && m->hwnd != s->Calendar && !IsChild(s->Calendar, m->hwnd)) {
      HWND picker = gDroppedPicker;
      CloseUp(picker, s);
      // A press on the picker itself only closes the calendar (its button would open it again).
      if (m->hwnd == picker) return 1;
    }
  }
  return CallNextHookEx(self, code, wParam, lParam);
}

void DropDown(HWND wnd, PickerState* s)
{
  if (s->Dropped || (Style(wnd) & DTS_UPDOWN)) return;
  s->Model.Settle();
  if (!s->Calendar) {
    s->Calendar = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, MONTHCAL_CLASS, "",
                                 WS_POPUP | WS_BORDER, 0, 0, 10, 10, wnd, nullptr, nullptr, nullptr);
    if (!s->Calendar) return;
  }
  HWND cal = s->Calendar;
  SendMessage(cal, WM_SETFONT, reinterpret_cast<WPARAM>(s->CalendarFont ? s->CalendarFont : s->Font), FALSE);
  for (int i = 0; i < 6; ++i)
    if (s->CalendarColours[size_t(i)] != CLR_DEFAULT)
      SendMessage(cal, MCM_SETCOLOR, WPARAM(i), LPARAM(s->CalendarColours[size_t(i)]));
  TDateTime lo, hi;
  unsigned flags = s->Model.Range(lo, hi);
  SYSTEMTIME range[2] = {SystemTime::FromDateTime(lo), SystemTime::FromDateTime(hi)};
  SendMessage(cal, MCM_SETRANGE, WPARAM(flags), reinterpret_cast<LPARAM>(range));
  SYSTEMTIME sel = SystemTime::FromDateTime(s->Model.Value());
  SendMessage(cal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&sel));
  // Its size is one month's, its place under the picker (over it where the screen ends).
  RECT need;
  SendMessage(cal, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
  SetWindowPos(cal, nullptr, 0, 0, need.right, need.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT wr, cw, cc;
  GetWindowRect(cal, &cw);
  GetClientRect(cal, &cc);
  int w = need.right + (cw.right - cw.left - cc.right), h = need.bottom + (cw.bottom - cw.top - cc.bottom);
  GetWindowRect(wnd, &wr);
  RECT wa = Backend::Current().WorkArea();
  int x = (Style(wnd) & DTS_RIGHTALIGN) ? wr.right - w : wr.left;
  int y = wr.bottom;
  if (y + h > wa.bottom && wr.top - h >= wa.top) y = wr.top - h;
  x = std::max<int>(wa.left, std::min<int>(x, wa.right - w));
  SetWindowPos(cal, HWND_TOPMOST, x, y, w, h, SWP_NOACTIVATE);
  s->Dropped = true;
  InvalidateRect(wnd, nullptr, FALSE);
  if (!NotifySimple(wnd, DTN_DROPDOWN) || !(s = StateOf(wnd)) || !s->Dropped) return;
  ShowWindow(s->Calendar, SW_SHOWNA);
  // Hooked afresh each time: a reset window layer drops the hooks it had.
  if (gMouseHook) UnhookWindowsHookEx(gMouseHook);
  gDroppedPicker = wnd;
  gMouseHook = SetWindowsHookEx(WH_MOUSE, MouseHook, nullptr, 0);
}

// Closes the calendar; DTN_CLOSEUP unless the picker is going away.
void CloseUp(HWND wnd, PickerState* s, bool notify)
{
  if (!s->Dropped) return;
  s->Dropped = false;
  if (gDroppedPicker == wnd) {
    gDroppedPicker = nullptr;
    if (gMouseHook) UnhookWindowsHookEx(std::exchange(gMouseHook, nullptr));
  }
  if (s->Calendar) ShowWindow(s->Calendar, SW_HIDE);
  InvalidateRect(wnd, nullptr, FALSE);
  if (notify) NotifySimple(wnd, DTN_CLOSEUP);
}

// The calendar chose a day: it is taken with the time kept, the box ticked, the calendar closed.
void Chosen(HWND wnd, PickerState* s, const SYSTEMTIME& day)
{
  if (!s->Dropped) return;
  TDateTime value = s->Model.Value();
  TDateTime time = value - std::floor(value.Value);
  bool changed = s->Model.SetValue(std::floor(SystemTime::ToDateTime(day).Value) + time) && s->Model.Value() != value;
  changed |= HasBox(wnd) && !s->Model.Checked();
  s->Model.SetChecked(true);
  if (s->Calendar) ShowWindow(s->Calendar, SW_HIDE);
  if (changed && (!NotifyChange(wnd) || !(s = StateOf(wnd)))) return;
  CloseUp(wnd, s);
}

// ==== Keys and mouse ============================================================================

void Edited(HWND wnd, bool changed)
{
  InvalidateRect(wnd, nullptr, FALSE);
  if (changed) NotifyChange(wnd);
}

void Toggle(HWND wnd, PickerState* s)
{
  s->Model.SetChecked(!s->Model.Checked());
  s->Model.Settle();
  Edited(wnd, true);
}

bool Key(HWND wnd, PickerState* s, int vk, bool alt)
{
  if (s->Dropped) {
    if (vk == VK_ESCAPE || vk == VK_F4 || (alt && (vk == VK_UP || vk == VK_DOWN))) {
      CloseUp(wnd, s);
      return true;
    }
    if (s->Calendar) SendMessage(s->Calendar, WM_KEYDOWN, WPARAM(vk), 0);
    return true;
  }
  if (vk == VK_F4 || (alt && vk == VK_DOWN)) {
    DropDown(wnd, s);
    return true;
  }
  if (alt) return false;
  if (vk == VK_SPACE && HasBox(wnd)) {
    Toggle(wnd, s);
    return true;
  }
  if (!Ticked(wnd, s)) return vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN;
  switch (vk) {
    case VK_LEFT:
      s->Model.MoveField(-1);
      Edited(wnd, false);
      return true;
    case VK_RIGHT:
      s->Model.MoveField(1);
      Edited(wnd, false);
      return true;
    case VK_UP: Edited(wnd, s->Model.Step(1)); return true;
    case VK_DOWN: Edited(wnd, s->Model.Step(-1)); return true;
    default: return false;
  }
}

void ButtonDown(HWND wnd, PickerState* s, POINT p)
{
  if (GetFocus() != wnd) SetFocus(wnd);
  if (!(s = StateOf(wnd))) return;
  RECT box = BoxRect(wnd), button = ButtonRect(wnd);
  if (HasBox(wnd) && p.x < box.right + 2) {
    Toggle(wnd, s);
    return;
  }
  if (!(Style(wnd) & DTS_UPDOWN) && PtInRect(&button, p)) {
    DropDown(wnd, s);
    return;
  }
  std::vector<RECT> rects = PartRects(wnd, s);
  for (size_t i = 0; i < rects.size(); ++i)
    if (p.x >= rects[i].left && p.x < rects[i].right && s->Model.SelectPart(int(i))) break;
  InvalidateRect(wnd, nullptr, FALSE);
}

bool ToValue(const SYSTEMTIME* st, TDateTime& value)
{
  if (!st || !SystemTime::IsValid(*st)) return false;
  value = SystemTime::ToDateTime(*st);
  return true;
}

}  // namespace

namespace DateTimePicker {

LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_CREATE) {
    PickerState* s = ControlUtil::AttachState(wnd, std::make_unique<PickerState>());
    s->Model.SetFormat(StyleFormat(Style(wnd)));
    if (Style(wnd) & DTS_UPDOWN) {
      s->Spin = CreateWindowEx(0, UPDOWN_CLASS, "", WS_CHILD | WS_VISIBLE | UDS_WRAP, 0, 0, 0, 0, wnd,
                               reinterpret_cast<HMENU>(std::intptr_t(kSpinId)), nullptr, nullptr);
      // Only the direction of its steps matters: the up arrow counts up.
      SendMessage(s->Spin, UDM_SETRANGE32, 0, 2);
      SendMessage(s->Spin, UDM_SETPOS32, 0, 1);
      PlaceSpin(wnd, s);
    }
    return 0;
  }
  PickerState* s = StateOf(wnd);
  if (!s) return DefWindowProc(wnd, msg, wParam, lParam);
  DateTimeModel& m = s->Model;
  switch (msg) {
    case WM_DESTROY:
      CloseUp(wnd, s, false);
      if ((s = StateOf(wnd)) && s->Calendar) DestroyWindow(std::exchange(s->Calendar, nullptr));
      return 0;
    case WM_NCDESTROY: {
      if (gDroppedPicker == wnd) {
        gDroppedPicker = nullptr;
        if (gMouseHook) UnhookWindowsHookEx(std::exchange(gMouseHook, nullptr));
      }
      auto gone = ControlUtil::DetachState<PickerState>(wnd);
      return DefWindowProc(wnd, msg, wParam, lParam);
    }
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: CommonControls::Paint(wnd, wParam, [&](HDC dc) { Paint(wnd, s, dc); }); return 0;
    case WM_SIZE: PlaceSpin(wnd, s); return 0;
    case WM_SETFONT: ControlUtil::SetFontFrom(wnd, s->Font, wParam, lParam); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->Font);
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS: InvalidateRect(wnd, nullptr, FALSE); return 0;
    case WM_KILLFOCUS:
      m.Settle();
      InvalidateRect(wnd, nullptr, FALSE);
      if (s->Dropped && reinterpret_cast<HWND>(wParam) != s->Calendar) CloseUp(wnd, s);
      return 0;
    case WM_ENABLE: InvalidateRect(wnd, nullptr, FALSE); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: ButtonDown(wnd, s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (Key(wnd, s, int(wParam), msg == WM_SYSKEYDOWN)) return 0;
      return DefWindowProc(wnd, msg, wParam, lParam);
    case WM_CHAR:
      if (!s->Dropped && Ticked(wnd, s) && wParam >= '0' && wParam <= '9') Edited(wnd, m.TypeDigit(char(wParam)));
      return 0;
    case WM_NOTIFY: {
      auto* h = reinterpret_cast<const NMHDR*>(lParam);
      if (h->hwndFrom == s->Calendar && h->code == MCN_SELECT)
        Chosen(wnd, s, reinterpret_cast<const NMSELCHANGE*>(lParam)->stSelStart);
      if (s->Spin && h->hwndFrom == s->Spin && h->code == UDN_DELTAPOS) {
        // The arrows step the field; their own position stays.
        int delta = reinterpret_cast<const NMUPDOWN*>(lParam)->iDelta;
        if (GetFocus() != wnd) SetFocus(wnd);
        if ((s = StateOf(wnd)) && Ticked(wnd, s)) Edited(wnd, s->Model.Step(delta > 0 ? 1 : -1));
        return 1;
      }
      return 0;
    }
    case WM_GETTEXTLENGTH: return LRESULT(m.Text().size());
    case WM_GETTEXT: {
      if (!lParam || wParam == 0) return 0;
      AnsiString t = m.Text();
      size_t n = std::min(t.size(), size_t(wParam) - 1);
      std::copy_n(t.data(), n, reinterpret_cast<char*>(lParam));
      reinterpret_cast<char*>(lParam)[n] = 0;
      return LRESULT(n);
    }

    case DTM_GETSYSTEMTIME:
      if (!lParam) return GDT_ERROR;
      *reinterpret_cast<SYSTEMTIME*>(lParam) = SystemTime::FromDateTime(m.Value());
      return Ticked(wnd, s) ? GDT_VALID : GDT_NONE;
    case DTM_SETSYSTEMTIME: {
      if (LRESULT(wParam) == GDT_NONE) {
        if (!HasBox(wnd)) return FALSE;
        m.SetChecked(false);
      } else {
        TDateTime v;
        if (LRESULT(wParam) != GDT_VALID || !ToValue(reinterpret_cast<const SYSTEMTIME*>(lParam), v) || !m.SetValue(v))
          return FALSE;
        m.SetChecked(true);
      }
      InvalidateRect(wnd, nullptr, FALSE);
      return TRUE;
    }
    case DTM_GETRANGE: {
      TDateTime lo, hi;
      unsigned flags = m.Range(lo, hi);
      if (auto* st = reinterpret_cast<SYSTEMTIME*>(lParam)) {
        st[0] = (flags & GDTR_MIN) ? SystemTime::FromDateTime(lo) : SYSTEMTIME{};
        st[1] = (flags & GDTR_MAX) ? SystemTime::FromDateTime(hi) : SYSTEMTIME{};
      }
      return LRESULT(flags);
    }
    case DTM_SETRANGE: {
      auto* st = reinterpret_cast<const SYSTEMTIME*>(lParam);
      TDateTime lo, hi;
      if ((wParam & GDTR_MIN) && (!st || !ToValue(st, lo))) return FALSE;
      if ((wParam & GDTR_MAX) && (!st || !ToValue(st + 1, hi))) return FALSE;
      if (!m.SetRange(unsigned(wParam), lo, hi)) return FALSE;
      InvalidateRect(wnd, nullptr, FALSE);
      return TRUE;
    }
    case DTM_SETFORMAT: {
      const char* f = reinterpret_cast<const char*>(lParam);
      m.SetFormat(f ? AnsiString(f) : StyleFormat(Style(wnd)));
      InvalidateRect(wnd, nullptr, FALSE);
      return TRUE;
    }
    case DTM_SETMCCOLOR: {
      if (wParam > MCSC_TRAILINGTEXT) return LRESULT(CLR_NONE);
      COLORREF old = std::exchange(s->CalendarColours[wParam], COLORREF(lParam));
      if (s->Calendar) SendMessage(s->Calendar, MCM_SETCOLOR, wParam, lParam);
      return LRESULT(old);
    }
    case DTM_GETMCCOLOR: return wParam > MCSC_TRAILINGTEXT ? LRESULT(CLR_NONE) : LRESULT(s->CalendarColours[wParam]);
    case DTM_GETMONTHCAL: return s->Dropped ? reinterpret_cast<LRESULT>(s->Calendar) : 0;
    case DTM_SETMCFONT:
      s->CalendarFont = reinterpret_cast<HFONT>(wParam);
      if (s->Calendar) SendMessage(s->Calendar, WM_SETFONT, wParam, lParam);
      return 0;
    case DTM_GETMCFONT: return reinterpret_cast<LRESULT>(s->CalendarFont);
    default: return DefWindowProc(wnd, msg, wParam, lParam);
  }
}

void Register() { CommonControls::RegisterControlClass(DATETIMEPICK_CLASS, WndProc); }

}  // namespace DateTimePicker
