// Sections: layout (sizes from the font) → hit testing → painting → selection and notifications
// → the title's month menu and year up-down → the window procedure.
#include "platform/commctrl/monthcal/MonthCal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <utility>

#include "platform/commctrl/common/ControlUtil.h"
#include "platform/commctrl/monthcal/MonthCalModel.h"
#include "platform/commctrl/updown/UpDown.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SavedDC.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/gdi/text/Fonts.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/sys/Locale.h"
#include "platform/win/input/Focus.h"
#include "platform/win/menu/Menus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

constexpr int kMargin = 2;
constexpr int kYearSpinId = 1;
constexpr COLORREF kTodayColour = RGB(255, 0, 0);

// ==== Layout ====================================================================================

struct Layout {
  int cellW = 0, cellH = 0, weekW = 0;
  RECT title{}, prev{}, next{}, month{}, year{}, header{}, grid{}, today{};
  SIZE min{0, 0};  // what one month needs
};

struct MonthCalState {
  MonthCalModel Model;
  HFONT Font = nullptr;
  std::array<COLORREF, 6> Colours{};
  Layout L;
  UINT Pressed = MCHT_NOWHERE;  // the title button held down
  bool Tracking = false;        // a day chosen by the mouse, the button still down
  HWND YearSpin = nullptr;
  HWND NotifyTo = nullptr;  // the window it was made for: dropped down, its owner's top window is not it
};

MonthCalState* StateOf(HWND wnd) { return ControlUtil::StateOf<MonthCalState>(wnd); }
DWORD Style(HWND wnd) { return DWORD(GetWindowLongPtr(wnd, GWL_STYLE)); }

std::array<COLORREF, 6> DefaultColours()
{
  return {GetSysColor(COLOR_WINDOW),      GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_ACTIVECAPTION),
          GetSysColor(COLOR_CAPTIONTEXT), GetSysColor(COLOR_WINDOW),     GetSysColor(COLOR_GRAYTEXT)};
}

AnsiString MonthName(int month) { return SysUtils::LongMonthNames[size_t(month - 1)]; }

SIZE Extent(HDC dc, const AnsiString& text)
{
  SIZE sz{0, 0};
  GetTextExtentPoint32(dc, text.c_str(), int(text.size()), &sz);
  return sz;
}

// Measures in the control's font and places every part for a client area `width` wide.
void LayOut(HWND wnd, MonthCalState* s)
{
  Layout& L = s->L;
  DWORD style = Style(wnd);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldFont = SelectObject(dc, ControlUtil::FontOr(s->Font));
  TEXTMETRICA tm;
  GetTextMetrics(dc, &tm);
  int fontH = tm.tmHeight;
  int nameW = Extent(dc, "00").cx;
  for (const AnsiString& n : SysUtils::ShortDayNames) nameW = std::max<int>(nameW, Extent(dc, n).cx);
  L.cellW = nameW + 8;
  L.cellH = fontH + 4;
  L.weekW = (style & MCS_WEEKNUMBERS) ? Extent(dc, "00").cx + 8 : 0;
  int titleH = fontH * 2;
  int titleTextW = 0;
  for (int m = 1; m <= 12; ++m) titleTextW = std::max<int>(titleTextW, Extent(dc, MonthName(m) + " 0000").cx);
  AnsiString todayText = MonthCal::TodayText(s->Model.Today());
  int todayW = (style & MCS_NOTODAY) ? 0 : L.cellW + 6 + Extent(dc, todayText).cx + 8;
  int gridW = L.weekW + 7 * L.cellW;
  int innerW = std::max({gridW, 2 * titleH + titleTextW + 16, todayW});
  int todayH = (style & MCS_NOTODAY) ? 0 : L.cellH + 2;
  L.min.cx = innerW + 2 * kMargin;
  L.min.cy = kMargin + titleH + 2 + L.cellH + 2 + 6 * L.cellH + 2 + todayH + kMargin;

  RECT c;
  GetClientRect(wnd, &c);
  int width = std::max<int>(c.right, L.min.cx);
  int left = (width - innerW) / 2;
  L.title = {kMargin, kMargin, width - kMargin, kMargin + titleH};
  int b = titleH - 8;  // the buttons are squares inside the title
  L.prev = {L.title.left + 4, L.title.top + 4, L.title.left + 4 + b, L.title.bottom - 4};
  L.next = {L.title.right - 4 - b, L.title.top + 4, L.title.right - 4, L.title.bottom - 4};
  // "十二月 2026": the month's name and the year, centred together.
  int monthW = Extent(dc, MonthName(s->Model.ShownMonth())).cx;
  int spaceW = Extent(dc, " ").cx;
  int yearW = Extent(dc, std::to_string(s->Model.ShownYear())).cx;
  int x = (L.title.left + L.title.right - (monthW + spaceW + yearW)) / 2;
  int ty = (L.title.top + L.title.bottom - fontH) / 2;
  L.month = {x, ty, x + monthW, ty + fontH};
  L.year = {x + monthW + spaceW, ty, x + monthW + spaceW + yearW, ty + fontH};
  int gridLeft = left + (innerW - gridW) / 2;
  L.header = {gridLeft, L.title.bottom + 2, gridLeft + gridW, L.title.bottom + 2 + L.cellH};
  L.grid = {gridLeft, L.header.bottom + 2, gridLeft + gridW, L.header.bottom + 2 + 6 * L.cellH};
  L.today = {gridLeft, L.grid.bottom + 2, gridLeft + std::max(gridW, todayW), L.grid.bottom + 2 + todayH};
  SelectObject(dc, oldFont);
  DeleteDC(dc);
}

RECT CellRect(const Layout& L, int cell)
{
  int x = L.grid.left + L.weekW + (cell % 7) * L.cellW, y = L.grid.top + (cell / 7) * L.cellH;
  return {x, y, x + L.cellW, y + L.cellH};
}

// ==== Hit testing ===============================================================================

UINT HitTest(HWND wnd, MonthCalState* s, POINT p, int* date)
{
  const Layout& L = s->L;
  RECT c;
  GetClientRect(wnd, &c);
  if (!PtInRect(&c, p)) return MCHT_NOWHERE;
  if (PtInRect(&L.prev, p)) return MCHT_TITLEBTNPREV;
  if (PtInRect(&L.next, p)) return MCHT_TITLEBTNNEXT;
  if (PtInRect(&L.month, p)) return MCHT_TITLEMONTH;
  if (PtInRect(&L.year, p)) return MCHT_TITLEYEAR;
  if (PtInRect(&L.title, p)) return MCHT_TITLEBK;
  if (PtInRect(&L.header, p)) return p.x < L.header.left + L.weekW ? MCHT_CALENDARBK : MCHT_CALENDARDAY;
  if (PtInRect(&L.grid, p)) {
    if (p.x < L.grid.left + L.weekW) return MCHT_CALENDARWEEKNUM;
    int cell = (p.y - L.grid.top) / L.cellH * 7 + (p.x - L.grid.left - L.weekW) / L.cellW;
    int d = s->Model.CellDate(cell);
    if (date) *date = d;
    if (s->Model.InShownMonth(d)) return MCHT_CALENDARDATE;
    return d < s->Model.CellDate(15) ? MCHT_CALENDARDATEPREV : MCHT_CALENDARDATENEXT;
  }
  if (!(Style(wnd) & MCS_NOTODAY) && PtInRect(&L.today, p)) return MCHT_TODAYLINK;
  return MCHT_CALENDARBK;
}

// ==== Painting ==================================================================================

void Text(HDC dc, const AnsiString& text, RECT r, UINT flags, COLORREF colour)
{
  SetTextColor(dc, colour);
  DrawText(dc, text.c_str(), int(text.size()), &r, flags | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void Frame(HDC dc, RECT r, COLORREF colour)
{
  HBRUSH b = CreateSolidBrush(colour);
  FrameRect(dc, &r, b);
  DeleteObject(b);
}

void Paint(HWND wnd, MonthCalState* s, HDC dc)
{
  TSavedDC saved(dc);
  const Layout& L = s->L;
  const MonthCalModel& m = s->Model;
  const auto& col = s->Colours;
  DWORD style = Style(wnd);
  RECT c;
  GetClientRect(wnd, &c);
  CommonControls::FillSolid(dc, c, col[MCSC_BACKGROUND]);
  SelectObject(dc, ControlUtil::FontOr(s->Font));
  SetBkMode(dc, TRANSPARENT);

  // The title: the buttons and "month year".
  CommonControls::FillSolid(dc, L.title, col[MCSC_TITLEBK]);
  RECT prev = L.prev, next = L.next;
  DrawFrameControl(dc, &prev, DFC_SCROLL, DFCS_SCROLLLEFT | (s->Pressed == MCHT_TITLEBTNPREV ? DFCS_PUSHED : 0));
  DrawFrameControl(dc, &next, DFC_SCROLL, DFCS_SCROLLRIGHT | (s->Pressed == MCHT_TITLEBTNNEXT ? DFCS_PUSHED : 0));
  Text(dc, MonthName(m.ShownMonth()), L.month, DT_LEFT, col[MCSC_TITLETEXT]);
  Text(dc, std::to_string(m.ShownYear()), L.year, DT_LEFT, col[MCSC_TITLETEXT]);

  // The day names over a line.
  RECT month{L.header.left, L.header.top, L.header.right, L.grid.bottom};
  CommonControls::FillSolid(dc, month, col[MCSC_MONTHBK]);
  for (int i = 0; i < 7; ++i) {
    RECT r{L.header.left + L.weekW + i * L.cellW, L.header.top, 0, L.header.bottom};
    r.right = r.left + L.cellW;
    Text(dc, SysUtils::ShortDayNames[size_t(m.DayNameIndex(i))], r, DT_CENTER, col[MCSC_TITLEBK]);
  }
  RECT line{L.header.left + L.weekW, L.header.bottom, L.header.right, L.header.bottom + 1};
  CommonControls::FillSolid(dc, line, col[MCSC_TEXT]);

  // The days: this month's in the text colour, the neighbours' and those out of range grey.
  for (int cell = 0; cell < MonthCalModel::Cells; ++cell) {
    int date = m.CellDate(cell);
    int y, mo, d;
    MonthCalModel::Split(date, y, mo, d);
    RECT r = CellRect(L, cell);
    bool selected = date == m.Selection() && m.InShownMonth(date);
    COLORREF text = (m.InShownMonth(date) && m.InRange(date)) ? col[MCSC_TEXT] : col[MCSC_TRAILINGTEXT];
    if (selected) {
      RECT f = r;
      InflateRect(&f, -1, 0);
      CommonControls::FillSolid(dc, f, col[MCSC_TITLEBK]);
      text = col[MCSC_MONTHBK];
    }
    Text(dc, std::to_string(d), r, DT_CENTER, text);
    if (date == m.Today() && !(style & MCS_NOTODAYCIRCLE)) {
      RECT f = r;
      InflateRect(&f, -1, 0);
      Frame(dc, f, kTodayColour);
    }
  }
  if (style & MCS_WEEKNUMBERS) {
    for (int row = 0; row < 6; ++row) {
      // The week of the row's Thursday, as ISO counts weeks.
      int thursday = m.CellDate(row * 7);
      while ((SysUtils::DayOfWeek(TDateTime(thursday)) + 5) % 7 != 3) ++thursday;
      int y, mo, d;
      MonthCalModel::Split(thursday, y, mo, d);
      if (y < 1) continue;  // past 9999
      int week = (thursday - MonthCalModel::DateOf(y, 1, 1)) / 7 + 1;
      RECT r{L.grid.left, L.grid.top + row * L.cellH, L.grid.left + L.weekW, L.grid.top + (row + 1) * L.cellH};
      Text(dc, std::to_string(week), r, DT_CENTER, col[MCSC_TITLEBK]);
    }
  }

  // "今天: 2026-12-11" after a mark like the one around today's day.
  if (!(style & MCS_NOTODAY)) {
    RECT mark{L.today.left + 4, L.today.top + 2, L.today.left + L.cellW - 2, L.today.bottom - 2};
    Frame(dc, mark, kTodayColour);
    RECT t{L.today.left + L.cellW + 4, L.today.top, L.today.right + 8, L.today.bottom};
    Text(dc, MonthCal::TodayText(m.Today()), t, DT_LEFT, col[MCSC_TEXT]);
  }
}

// ==== Selection and notifications ===============================================================

SYSTEMTIME DayTime(int date) { return SystemTime::FromDateTime(TDateTime(date)); }

// Sends MCN_SELCHANGE or MCN_SELECT with the selected day; false when the window went away.
bool NotifySelection(HWND wnd, UINT code)
{
  MonthCalState* s = StateOf(wnd);
  if (!s) return false;
  NMSELCHANGE n;
  n.stSelStart = n.stSelEnd = DayTime(s->Model.Selection());
  n.nmhdr.hwndFrom = wnd;
  n.nmhdr.idFrom = UINT_PTR(GetDlgCtrlID(wnd));
  n.nmhdr.code = code;
  if (IsWindow(s->NotifyTo)) SendMessage(s->NotifyTo, WM_NOTIFY, WPARAM(n.nmhdr.idFrom), reinterpret_cast<LPARAM>(&n));
  return IsWindow(wnd) && StateOf(wnd);
}

void Changed(HWND wnd, MonthCalState* s)
{
  LayOut(wnd, s);
  InvalidateRect(wnd, nullptr, FALSE);
}

// Runs a change of the model; when the selection moved, redraws and tells the parent.
template <class F>
bool Change(HWND wnd, MonthCalState* s, F change)
{
  int before = s->Model.Selection();
  int shown = s->Model.ShownYear() * 12 + s->Model.ShownMonth();
  change(s->Model);
  if (shown != s->Model.ShownYear() * 12 + s->Model.ShownMonth() || before != s->Model.Selection()) Changed(wnd, s);
  if (before == s->Model.Selection()) return true;
  return NotifySelection(wnd, MCN_SELCHANGE);
}

// ==== The title's month menu and year up-down ===================================================

void HideYearSpin(MonthCalState* s)
{
  if (s->YearSpin) DestroyWindow(std::exchange(s->YearSpin, nullptr));
}

void ShowYearSpin(HWND wnd, MonthCalState* s)
{
  HideYearSpin(s);
  const RECT& y = s->L.year;
  int h = y.bottom - y.top + 4;
  s->YearSpin = CreateWindowEx(0, UPDOWN_CLASS, "", WS_CHILD | WS_VISIBLE, y.right + 2, y.top - 2, h * 3 / 4, h, wnd,
                               reinterpret_cast<HMENU>(std::intptr_t(kYearSpinId)), nullptr, nullptr);
  SendMessage(s->YearSpin, UDM_SETRANGE32, 1753, 9999);
  SendMessage(s->YearSpin, UDM_SETPOS32, 0, s->Model.ShownYear());
}

void MonthMenu(HWND wnd, MonthCalState* s)
{
  HMENU menu = CreatePopupMenu();
  for (int m = 1; m <= 12; ++m)
    AppendMenu(menu, MF_STRING | (m == s->Model.ShownMonth() ? MF_CHECKED : 0), UINT_PTR(m), MonthName(m).c_str());
  POINT at{s->L.month.left, s->L.month.bottom};
  ClientToScreen(wnd, &at);
  int chosen = int(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, wnd, nullptr));
  DestroyMenu(menu);
  if (chosen < 1 || !IsWindow(wnd) || !(s = StateOf(wnd))) return;
  int year = s->Model.ShownYear();
  Change(wnd, s, [&](MonthCalModel& m) { m.ShowMonth(year, chosen); });
}

// ==== Mouse and keys ============================================================================

void ButtonDown(HWND wnd, MonthCalState* s, POINT p)
{
  if (Style(wnd) & WS_CHILD) SetFocus(wnd);
  if (!(s = StateOf(wnd))) return;
  int date = 0;
  UINT hit = HitTest(wnd, s, p, &date);
  if (hit != MCHT_TITLEYEAR) HideYearSpin(s);
  switch (hit) {
    case MCHT_TITLEBTNPREV:
    case MCHT_TITLEBTNNEXT:
      s->Pressed = hit;
      SetCapture(wnd);
      Change(wnd, s, [&](MonthCalModel& m) { m.MoveMonths(hit == MCHT_TITLEBTNNEXT ? 1 : -1); });
      if ((s = StateOf(wnd))) InvalidateRect(wnd, &s->L.title, FALSE);
      return;
    case MCHT_TITLEMONTH: MonthMenu(wnd, s); return;
    case MCHT_TITLEYEAR: ShowYearSpin(wnd, s); return;
    case MCHT_TODAYLINK: date = s->Model.Today(); [[fallthrough]];
    case MCHT_CALENDARDATE:
    case MCHT_CALENDARDATEPREV:
    case MCHT_CALENDARDATENEXT:
      if (!s->Model.InRange(date)) return;
      s->Tracking = true;
      SetCapture(wnd);
      Change(wnd, s, [&](MonthCalModel& m) { m.SetSelection(date); });
      return;
    default: return;
  }
}

void ButtonUp(HWND wnd, MonthCalState* s)
{
  bool chose = std::exchange(s->Tracking, false);
  if (std::exchange(s->Pressed, MCHT_NOWHERE) != MCHT_NOWHERE) InvalidateRect(wnd, &s->L.title, FALSE);
  if (GetCapture() == wnd) ReleaseCapture();
  if (chose) NotifySelection(wnd, MCN_SELECT);
}

void MouseMove(HWND wnd, MonthCalState* s, POINT p)
{
  if (!s->Tracking) return;
  int date = 0;
  // Dragging chooses among the shown month's days only.
  if (HitTest(wnd, s, p, &date) != MCHT_CALENDARDATE || !s->Model.InRange(date)) return;
  Change(wnd, s, [&](MonthCalModel& m) { m.SetSelection(date); });
}

bool Key(HWND wnd, MonthCalState* s, int vk)
{
  const MonthCalModel& m = s->Model;
  int y, mo, d;
  MonthCalModel::Split(m.Selection(), y, mo, d);
  switch (vk) {
    case VK_LEFT: Change(wnd, s, [](MonthCalModel& x) { x.MoveSelection(-1); }); return true;
    case VK_RIGHT: Change(wnd, s, [](MonthCalModel& x) { x.MoveSelection(1); }); return true;
    case VK_UP: Change(wnd, s, [](MonthCalModel& x) { x.MoveSelection(-7); }); return true;
    case VK_DOWN: Change(wnd, s, [](MonthCalModel& x) { x.MoveSelection(7); }); return true;
    case VK_PRIOR: Change(wnd, s, [](MonthCalModel& x) { x.MoveMonths(-1); }); return true;
    case VK_NEXT: Change(wnd, s, [](MonthCalModel& x) { x.MoveMonths(1); }); return true;
    case VK_HOME: Change(wnd, s, [&](MonthCalModel& x) { x.MoveSelection(1 - d); }); return true;
    case VK_END:
      Change(wnd, s, [&](MonthCalModel& x) { x.MoveSelection(MonthCalModel::DaysIn(y, mo) - d); });
      return true;
    case VK_RETURN: NotifySelection(wnd, MCN_SELECT); return true;
    default: return false;
  }
}

bool ToDate(LPARAM lParam, int& date)
{
  auto* st = reinterpret_cast<const SYSTEMTIME*>(lParam);
  if (!st || !SystemTime::IsValid(*st)) return false;
  date = int(std::floor(SystemTime::ToDateTime(*st).Value));
  return true;
}

}  // namespace

namespace MonthCal {

AnsiString TodayText(int date)
{
  return "今天: " + SysUtils::FormatDateTime(SysUtils::ShortDateFormat, TDateTime(date));
}

LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_CREATE) {
    MonthCalState* s = ControlUtil::AttachState(wnd, std::make_unique<MonthCalState>());
    s->Colours = DefaultColours();
    s->NotifyTo = reinterpret_cast<const CREATESTRUCTA*>(lParam)->hwndParent;
    LayOut(wnd, s);
    return 0;
  }
  MonthCalState* s = StateOf(wnd);
  if (!s) return DefWindowProc(wnd, msg, wParam, lParam);
  MonthCalModel& m = s->Model;
  switch (msg) {
    case WM_NCDESTROY: {
      auto gone = ControlUtil::DetachState<MonthCalState>(wnd);
      return DefWindowProc(wnd, msg, wParam, lParam);
    }
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: CommonControls::Paint(wnd, wParam, [&](HDC dc) { Paint(wnd, s, dc); }); return 0;
    case WM_SIZE: Changed(wnd, s); return 0;
    case WM_SETFONT:
      ControlUtil::SetFontFrom(wnd, s->Font, wParam, lParam);
      Changed(wnd, s);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->Font);
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_MOUSEACTIVATE:
      // Dropped down (a pop-up), it leaves the activation and the focus with its owner.
      if (!(Style(wnd) & WS_CHILD)) return MA_NOACTIVATE;
      return DefWindowProc(wnd, msg, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: ButtonDown(wnd, s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_MOUSEMOVE: MouseMove(wnd, s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_LBUTTONUP: ButtonUp(wnd, s); return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != wnd) {
        s->Tracking = false;
        if (std::exchange(s->Pressed, MCHT_NOWHERE) != MCHT_NOWHERE) InvalidateRect(wnd, &s->L.title, FALSE);
      }
      return 0;
    case WM_KEYDOWN:
      if (Key(wnd, s, int(wParam))) return 0;
      return DefWindowProc(wnd, msg, wParam, lParam);
    case WM_KILLFOCUS: HideYearSpin(s); return 0;
    case WM_VSCROLL:
      // The year up-down stepped.
      if (s->YearSpin && reinterpret_cast<HWND>(lParam) == s->YearSpin && LOWORD(wParam) == SB_THUMBPOSITION) {
        int year = int(SendMessage(s->YearSpin, UDM_GETPOS32, 0, 0));
        int month = m.ShownMonth();
        Change(wnd, s, [&](MonthCalModel& x) { x.ShowMonth(year, month); });
        if ((s = StateOf(wnd)) && s->YearSpin) SendMessage(s->YearSpin, UDM_SETPOS32, 0, s->Model.ShownYear());
      }
      return 0;

    case MCM_GETCURSEL:
      if (!lParam) return FALSE;
      *reinterpret_cast<SYSTEMTIME*>(lParam) = DayTime(m.Selection());
      return TRUE;
    case MCM_SETCURSEL: {
      int date;
      if (!ToDate(lParam, date) || !m.SetSelection(date)) return FALSE;
      Changed(wnd, s);
      return TRUE;
    }
    case MCM_GETMINREQRECT: {
      if (!lParam) return FALSE;
      *reinterpret_cast<RECT*>(lParam) = RECT{0, 0, s->L.min.cx, s->L.min.cy};
      return TRUE;
    }
    case MCM_SETCOLOR: {
      if (wParam > MCSC_TRAILINGTEXT) return LRESULT(CLR_NONE);
      COLORREF old = std::exchange(s->Colours[wParam], COLORREF(lParam));
      InvalidateRect(wnd, nullptr, FALSE);
      return LRESULT(old);
    }
    case MCM_GETCOLOR: return wParam > MCSC_TRAILINGTEXT ? LRESULT(CLR_NONE) : LRESULT(s->Colours[wParam]);
    case MCM_SETTODAY: {
      int date;
      if (lParam && ToDate(lParam, date))
        m.SetToday(date);
      else if (!lParam)
        m.ResetToday();
      else
        return 0;
      Changed(wnd, s);
      return 0;
    }
    case MCM_GETTODAY:
      if (!lParam) return FALSE;
      *reinterpret_cast<SYSTEMTIME*>(lParam) = DayTime(m.Today());
      return TRUE;
    case MCM_HITTEST: {
      auto* info = reinterpret_cast<MCHITTESTINFO*>(lParam);
      if (!info || info->cbSize < sizeof(MCHITTESTINFO)) return -1;
      int date = 0;
      info->uHit = HitTest(wnd, s, info->pt, &date);
      if ((info->uHit & MCHT_CALENDARDATE) == MCHT_CALENDARDATE) info->st = DayTime(date);
      if (info->uHit == MCHT_TODAYLINK) info->st = DayTime(m.Today());
      return LRESULT(info->uHit);
    }
    case MCM_SETFIRSTDAYOFWEEK: {
      bool differed = m.FirstDayOfWeek() != Locale::LocaleFirstDayOfWeek();
      int old = m.SetFirstDayOfWeek(int(lParam));
      Changed(wnd, s);
      return MAKELPARAM(old, differed);
    }
    case MCM_GETFIRSTDAYOFWEEK:
      return MAKELPARAM(m.FirstDayOfWeek(), m.FirstDayOfWeek() != Locale::LocaleFirstDayOfWeek());
    case MCM_SETRANGE: {
      auto* st = reinterpret_cast<const SYSTEMTIME*>(lParam);
      int lo = 0, hi = 0;
      if ((wParam & GDTR_MIN) && (!st || !ToDate(lParam, lo))) return FALSE;
      if ((wParam & GDTR_MAX) && (!st || !ToDate(reinterpret_cast<LPARAM>(st + 1), hi))) return FALSE;
      if (!m.SetRange(unsigned(wParam), lo, hi)) return FALSE;
      Changed(wnd, s);
      return TRUE;
    }
    case MCM_GETRANGE: {
      int lo, hi;
      unsigned flags = m.Range(lo, hi);
      if (auto* st = reinterpret_cast<SYSTEMTIME*>(lParam)) {
        st[0] = (flags & GDTR_MIN) ? DayTime(lo) : SYSTEMTIME{};
        st[1] = (flags & GDTR_MAX) ? DayTime(hi) : SYSTEMTIME{};
      }
      return LRESULT(flags);
    }
    default: return DefWindowProc(wnd, msg, wParam, lParam);
  }
}

void Register() { CommonControls::RegisterControlClass(MONTHCAL_CLASS, WndProc); }

}  // namespace MonthCal
