// The gallery of the standard classes on the desktop back end: every class in its states on one
// frame. It reports what the controls tell it on standard output, one line each, so that a
// script can drive it (the Xvfb test does): "ready" with the screen points of the controls it
// clicks, "command <id> <code>" for each notification, "checked", "edit" and "selected" lines
// with the state after a change, and, on F12, "shot" with colours read from a screenshot saved
// to the path given as the first argument, before it ends.
//
// With "--common" first, the frame shows the common controls instead (tab control, progress
// bars, up-down with its buddy, status bar, month calendar, date-time picker, tree view, tool bar,
// ...) and reports "tab <index>" after a tab change, "updown <position> <buddy text>" after a
// step, and from the picker "picker change <y-m-d>" (or "picker change none"), "picker dropdown
// <x y>" with the screen point of the 12th in its dropped calendar, and "picker closeup"; from the
// tree view "tree expanded <text> <children>" after a node opens. Its tool bar reports where its
// buttons are ("tools new <x> <y> arrow <x> <y> center <x> <y> right <x> <y>", right after
// "ready"), "dropdown <command>" for a drop-down, "aligned <command>" with the alignment button
// down after a click, and "tip <command> <text>" when a tip shows.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/combobox/ComboBox.h"
#include "platform/commctrl/datetime/DateTime.h"
#include "platform/commctrl/init/InitCommonControls.h"
#include "platform/commctrl/progress/Progress.h"
#include "platform/commctrl/statusbar/StatusBar.h"
#include "platform/commctrl/tab/Tab.h"
#include "platform/commctrl/toolbar/ToolBar.h"
#include "platform/commctrl/tooltips/ToolTips.h"
#include "platform/commctrl/tree/TreeView.h"
#include "platform/commctrl/updown/UpDown.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/win/backend/DemoSupport.h"
#include "platform/win/backend/SdlBackend.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

constexpr int kPush = 1, kDefault = 2, kCheck = 3, kEdit = 10, kCombo = 30, kList = 40, kBar = 50;
// The common controls' page.
constexpr int kTab = 100, kProgressEmpty = 110, kProgressHalf = 111, kProgressFull = 112, kSpinEdit = 120, kSpin = 121,
              kStatus = 130, kCalendar = 140, kPicker = 141, kTree = 150;
// The tool bar and its commands: new (with an arrow), edit, delete (disabled), advanced (a whole
// drop-down), the three alignments (a check group) and show grid (a check button).
constexpr int kToolBar = 160, kNew = 201, kModify = 202, kDelete = 203, kAdvanced = 204, kLeft = 211, kCenter = 212,
              kRight = 213, kGrid = 214;
constexpr UINT kDroppedMsg = WM_APP + 1, kCalendarShownMsg = WM_APP + 2;
std::string gShotPath;
HWND gFrame = nullptr;
bool gCommon = false;

using Demo::Say;

std::string Utf8(const AnsiString& s) { return System::AnsiToUtf8(s); }

std::string Point(HWND wnd, int x, int y)
{
  POINT p{x, y};
  ClientToScreen(wnd, &p);
  return std::to_string(p.x) + " " + std::to_string(p.y);
}

HWND Item(int id) { return GetDlgItem(gFrame, id); }

HWND Child(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id, DWORD ex = 0)
{
  return CreateWindowEx(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, gFrame,
                        reinterpret_cast<HMENU>(std::intptr_t(id)), nullptr, nullptr);
}

void AddItems(HWND wnd, UINT msg, std::initializer_list<const char*> items)
{
  for (const char* t : items) SendMessage(wnd, msg, 0, reinterpret_cast<LPARAM>(t));
}

// The darkest colour inside the picker's tick box: the tick's when it is ticked.
std::string TickColour(HDC shot)
{
  int best = 3 * 256;
  std::string colour;
  RECT c;
  GetClientRect(Item(kPicker), &c);
  int top = (c.bottom - 13) / 2;  // the 13-pixel box, 2 pixels from the left
  for (int y = top + 2; y < top + 11; ++y)
    for (int x = 4; x < 13; ++x) {
      POINT p{x, y};
      ClientToScreen(Item(kPicker), &p);
      COLORREF v = GetPixel(shot, p.x, p.y);
      int sum = GetRValue(v) + GetGValue(v) + GetBValue(v);
      if (sum < best) {
        best = sum;
        colour = std::to_string(GetRValue(v)) + " " + std::to_string(GetGValue(v)) + " " + std::to_string(GetBValue(v));
      }
    }
  return colour;
}

void TakeShot()
{
  HBITMAP shot = SdlBackend::ScreenshotToPng(gShotPath);
  if (!shot) {
    Say("shot failed");
    return;
  }
  // The push button's face and the list box's selected row as the screen shows them.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, shot);
  auto at = [&](HWND wnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(wnd, &p);
    COLORREF c = GetPixel(dc, p.x, p.y);
    return std::to_string(GetRValue(c)) + " " + std::to_string(GetGValue(c)) + " " + std::to_string(GetBValue(c));
  };
  std::string line;
  if (gCommon) {
    // The empty bar's inside, then the full bar's (the system's highlight), the calendar's title
    // and the picker's tick.
    line = "shot " + at(Item(kProgressEmpty), 5, 5) + " / " + at(Item(kProgressFull), 5, 5) + " / " +
           at(Item(kCalendar), 30, 6) + " / " + TickColour(dc);
  } else {
    RECT row;
    SendMessage(Item(kList), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    line = "shot " + at(Item(kPush), 4, 4) + " / " + at(Item(kList), row.right - 3, row.top + 2);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(shot);
  Say(line);
}

void Command(WORD id, WORD code, HWND ctl)
{
  Say("command " + std::to_string(id) + " " + std::to_string(code));
  if (id >= kLeft && id <= kRight)
    for (int a = kLeft; a <= kRight; ++a)
      if (SendMessage(ctl, TB_ISBUTTONCHECKED, WPARAM(a), 0)) Say("aligned " + std::to_string(a));
  if (id == kCheck && code == BN_CLICKED) Say("checked " + std::to_string(SendMessage(ctl, BM_GETCHECK, 0, 0)));
  if (id == kEdit && code == EN_CHANGE) Say("edit " + Utf8(GetWindowText(ctl)));
  if (id == kCombo && code == CBN_DROPDOWN) PostMessage(gFrame, kDroppedMsg, 0, 0);
  if (id == kCombo && code == CBN_SELCHANGE) {
    int sel = int(SendMessage(ctl, CB_GETCURSEL, 0, 0));
    char buf[64] = {};
    SendMessage(ctl, CB_GETLBTEXT, WPARAM(sel), reinterpret_cast<LPARAM>(buf));
    Say("selected " + std::to_string(sel) + " " + Utf8(buf));
  }
}

// The screen point of a day of the shown month in a month calendar, found by its hit test.
std::string DayPoint(HWND cal, int day)
{
  RECT c;
  GetClientRect(cal, &c);
  for (int y = 0; y < c.bottom; y += 2)
    for (int x = 0; x < c.right; x += 2) {
      MCHITTESTINFO h;
      h.pt = {x, y};
      if (SendMessage(cal, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&h)) == LRESULT(MCHT_CALENDARDATE) &&
          h.st.wDay == day)
        return Point(cal, x + 4, y + 4);
    }
  return "-1 -1";
}

LRESULT Notify(NMHDR* hdr)
{
  if (hdr->idFrom == UINT_PTR(kToolBar) && hdr->code == TBN_DROPDOWN) {
    Say("dropdown " + std::to_string(reinterpret_cast<NMTOOLBAR*>(hdr)->iItem));
    return TBDDRET_DEFAULT;
  }
  // The tool bar's tips: texts for the buttons that show none.
  bool toolTip = hdr->hwndFrom == reinterpret_cast<HWND>(SendMessage(Item(kToolBar), TB_GETTOOLTIPS, 0, 0));
  if (hdr->code == TTN_GETDISPINFO && toolTip) {
    static const char* tips[] = {"左对齐", "居中", "右对齐", "显示网格"};
    int id = int(hdr->idFrom);
    if (id >= kLeft && id <= kGrid)
      reinterpret_cast<NMTTDISPINFO*>(hdr)->lpszText = const_cast<char*>(tips[id - kLeft]);
    return 0;
  }
  if (hdr->code == TTN_SHOW && toolTip) {
    Say("tip " + std::to_string(hdr->idFrom) + " " + Utf8(GetWindowText(hdr->hwndFrom)));
    return 0;
  }
  if (hdr->idFrom == UINT_PTR(kTab) && hdr->code == TCN_SELCHANGE)
    Say("tab " + std::to_string(SendMessage(hdr->hwndFrom, TCM_GETCURSEL, 0, 0)));
  if (hdr->idFrom == UINT_PTR(kPicker)) {
    if (hdr->code == DTN_DATETIMECHANGE) {
      auto* n = reinterpret_cast<const NMDATETIMECHANGE*>(hdr);
      Say(n->dwFlags == DWORD(GDT_NONE) ? std::string("picker change none")
                                        : "picker change " + std::to_string(n->st.wYear) + "-" +
                                              std::to_string(n->st.wMonth) + "-" + std::to_string(n->st.wDay));
    }
    // Told once the calendar shows.
    if (hdr->code == DTN_DROPDOWN) PostMessage(gFrame, kCalendarShownMsg, 0, 0);
    if (hdr->code == DTN_CLOSEUP) Say("picker closeup");
  }
  if (hdr->idFrom == UINT_PTR(kTree) && hdr->code == TVN_ITEMEXPANDED) {
    auto* tv = reinterpret_cast<const NMTREEVIEW*>(hdr);
    char text[64] = {};
    TVITEM it;
    it.mask = TVIF_TEXT;
    it.hItem = tv->itemNew.hItem;
    it.pszText = text;
    it.cchTextMax = int(sizeof text);
    SendMessage(hdr->hwndFrom, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&it));
    int children = 0;
    for (LRESULT c = SendMessage(hdr->hwndFrom, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(it.hItem)); c;
         c = SendMessage(hdr->hwndFrom, TVM_GETNEXTITEM, TVGN_NEXT, c))
      ++children;
    Say(std::string(tv->action == TVE_EXPAND ? "tree expanded " : "tree collapsed ") + Utf8(text) + " " +
        std::to_string(children));
  }
  return 0;
}

LRESULT FrameProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
  switch (msg) {
    case WM_COMMAND: Command(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)); return 0;
    case WM_NOTIFY: return Notify(reinterpret_cast<NMHDR*>(lp));
    case kCalendarShownMsg: {
      // Where the 12th of the shown month is in the dropped calendar, for the script to click.
      HWND cal = reinterpret_cast<HWND>(SendMessage(Item(kPicker), DTM_GETMONTHCAL, 0, 0));
      if (cal) Say("picker dropdown " + DayPoint(cal, 12));
      return 0;
    }
    case WM_VSCROLL:
      if (reinterpret_cast<HWND>(lp) == Item(kSpin)) {
        if (LOWORD(wp) == SB_THUMBPOSITION)
          Say("updown " + std::to_string(SendMessage(Item(kSpin), UDM_GETPOS32, 0, 0)) + " " +
              Utf8(GetWindowText(Item(kSpinEdit))));
        return 0;
      }
      return DefWindowProc(w, msg, wp, lp);
    case WM_SIZE:
      // The status bar keeps to the bottom itself when told the frame's size.
      if (HWND status = Item(kStatus)) SendMessage(status, WM_SIZE, wp, lp);
      if (HWND tools = Item(kToolBar)) SendMessage(tools, TB_AUTOSIZE, 0, 0);
      return 0;
    case kDroppedMsg: {
      // Where the dropped list's third item is, for the script to click.
      HWND list = ComboBox::ListOf(Item(kCombo));
      RECT r;
      SendMessage(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
      Say("dropped " + Point(list, (r.left + r.right) / 2, (r.top + r.bottom) / 2));
      return 0;
    }
    case WM_HSCROLL: {
      // The bar moves where it is told to.
      HWND bar = reinterpret_cast<HWND>(lp);
      int pos = GetScrollPos(bar, SB_CTL);
      switch (LOWORD(wp)) {
        case SB_LINELEFT: --pos; break;
        case SB_LINERIGHT: ++pos; break;
        case SB_PAGELEFT: pos -= 10; break;
        case SB_PAGERIGHT: pos += 10; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
          SCROLLINFO si;
          si.fMask = SIF_TRACKPOS;
          GetScrollInfo(bar, SB_CTL, &si);
          pos = si.nTrackPos;
          break;
        }
        default: return 0;
      }
      SetScrollPos(bar, SB_CTL, pos, TRUE);
      return 0;
    }
    case WM_DRAWITEM: {
      // The owner-drawn combo's rows: a colour swatch and its name.
      auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      static const COLORREF colours[] = {RGB(200, 40, 40), RGB(40, 160, 40), RGB(40, 80, 200)};
      static const char* names[] = {"红色", "绿色", "蓝色"};
      bool sel = di->itemState & ODS_SELECTED;
      FillRect(di->hDC, &di->rcItem, GetSysColorBrush(sel ? COLOR_HIGHLIGHT : COLOR_WINDOW));
      if (int(di->itemID) >= 0 && di->itemID < 3) {
        RECT sw{di->rcItem.left + 2, di->rcItem.top + 2, di->rcItem.left + 22, di->rcItem.bottom - 2};
        HBRUSH b = CreateSolidBrush(colours[di->itemID]);
        FillRect(di->hDC, &sw, b);
        DeleteObject(b);
        SetBkMode(di->hDC, TRANSPARENT);
        SetTextColor(di->hDC, GetSysColor(sel ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        RECT t{sw.right + 4, di->rcItem.top, di->rcItem.right, di->rcItem.bottom};
        DrawText(di->hDC, names[di->itemID], -1, &t, DT_SINGLELINE | DT_VCENTER);
      }
      return TRUE;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProc(w, msg, wp, lp);
  }
}

void Build()
{
  // ---- Buttons ---------------------------------------------------------------------------------
  Child("BUTTON", "确定(&O)", BS_PUSHBUTTON | WS_TABSTOP, 10, 10, 90, 26, kPush);
  Child("BUTTON", "默认按钮", BS_DEFPUSHBUTTON | WS_TABSTOP, 110, 10, 90, 26, kDefault);
  Child("BUTTON", "禁用", BS_PUSHBUTTON | WS_DISABLED, 210, 10, 90, 26, 4);
  Child("BUTTON", "复选框(&C)", BS_AUTOCHECKBOX | WS_TABSTOP, 10, 46, 110, 20, kCheck);
  HWND grayed = Child("BUTTON", "三态", BS_AUTO3STATE, 130, 46, 80, 20, 6);
  SendMessage(grayed, BM_SETCHECK, BST_INDETERMINATE, 0);
  HWND r1 = Child("BUTTON", "甲方", BS_AUTORADIOBUTTON | WS_GROUP, 220, 46, 70, 20, 7);
  Child("BUTTON", "乙方", BS_AUTORADIOBUTTON, 290, 46, 70, 20, 8);
  SendMessage(r1, BM_SETCHECK, BST_CHECKED, 0);
  HWND pushLike = Child("BUTTON", "开关", BS_AUTOCHECKBOX | BS_PUSHLIKE | WS_GROUP, 370, 44, 70, 24, 9);
  SendMessage(pushLike, BM_SETCHECK, BST_CHECKED, 0);
  Child("BUTTON", "编辑框", BS_GROUPBOX, 10, 76, 430, 120, 11);

  // ---- Edits -------------------------------------------------------------------------------------
  Child("EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, 20, 96, 200, 22, kEdit, WS_EX_CLIENTEDGE);
  Child("EDIT", "secret", ES_PASSWORD | ES_AUTOHSCROLL, 230, 96, 100, 22, 12, WS_EX_CLIENTEDGE);
  Child("EDIT", "只读文字", ES_READONLY | ES_AUTOHSCROLL, 340, 96, 90, 22, 13, WS_EX_CLIENTEDGE);
  Child("EDIT", "多行编辑框，折行显示的长文字\r\n第二行\r\n第三行\r\n第四行",
        ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 20, 124, 200, 64, 14, WS_EX_CLIENTEDGE);
  Child("EDIT", "禁用的编辑框", ES_AUTOHSCROLL | WS_DISABLED, 230, 124, 200, 22, 15, WS_EX_CLIENTEDGE);
  // Centred Chinese text whose selection stays shown without the focus.
  HWND kept = Child("EDIT", "澜岳合同管理系统", ES_CENTER | ES_NOHIDESEL, 230, 158, 200, 22, 16, WS_EX_CLIENTEDGE);
  SendMessage(kept, EM_SETSEL, 4, 8);

  // ---- Statics ---------------------------------------------------------------------------------
  Child("STATIC", "合同编号(&N):", SS_LEFT, 460, 10, 120, 18, 20);
  Child("STATIC", "一段很长很长很长的说明文字", SS_LEFT | SS_ENDELLIPSIS, 460, 32, 120, 18, 21);
  Child("STATIC", "右对齐", SS_RIGHT | SS_SUNKEN, 460, 54, 120, 20, 22);
  Child("STATIC", "", SS_ETCHEDFRAME, 460, 80, 120, 30, 23);
  Child("STATIC", "", SS_ETCHEDHORZ, 460, 120, 120, 2, 24);

  // ---- Lists -----------------------------------------------------------------------------------
  HWND list = Child("LISTBOX", "", WS_VSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | WS_TABSTOP, 10,
                    206, 140, 120, kList, WS_EX_CLIENTEDGE);
  AddItems(list, LB_ADDSTRING, {"北京", "上海", "广州", "深圳", "杭州", "南京", "武汉", "成都", "重庆", "西安"});
  SendMessage(list, LB_SELITEMRANGEEX, 1, 2);
  HWND combo = Child("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 160, 206, 150, 160, kCombo);
  AddItems(combo, CB_ADDSTRING, {"合同", "付款", "发票", "客户", "供应商"});
  SendMessage(combo, CB_SETCURSEL, 0, 0);
  HWND dropDown = Child("COMBOBOX", "", CBS_DROPDOWN | WS_VSCROLL | CBS_AUTOHSCROLL, 160, 236, 150, 160, 31);
  AddItems(dropDown, CB_ADDSTRING, {"一月", "二月", "三月"});
  SendMessage(dropDown, CB_SETCURSEL, 1, 0);
  HWND owner = Child("COMBOBOX", "", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | WS_VSCROLL, 160, 266, 150, 120, 32);
  for (LPARAM i = 0; i < 3; ++i) SendMessage(owner, CB_ADDSTRING, 0, i);
  SendMessage(owner, CB_SETCURSEL, 1, 0);
  HWND simple = Child("COMBOBOX", "", CBS_SIMPLE, 320, 206, 120, 120, 33);
  AddItems(simple, CB_ADDSTRING, {"甲", "乙", "丙"});
  SendMessage(simple, CB_SETCURSEL, 2, 0);

  // ---- Scroll bars -------------------------------------------------------------------------------
  HWND bar = Child("SCROLLBAR", "", SBS_HORZ, 460, 206, 160, 17, kBar);
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  si.nMax = 99;
  si.nPage = 20;
  si.nPos = 30;
  SetScrollInfo(bar, SB_CTL, &si, TRUE);
  Child("SCROLLBAR", "", SBS_VERT | WS_DISABLED, 600, 230, 17, 96, 51);
}

// The common controls' page. The left column (x < 210) and the band along the top (y < 34) are
// kept for the tree view and the tool bar.
void BuildCommon()
{
  // ---- Tab control -------------------------------------------------------------------------------
  HWND tab = Child(WC_TABCONTROL, "", WS_TABSTOP, 220, 40, 300, 110, kTab);
  const char* tabs[] = {"合同", "付款", "发票"};
  for (int i = 0; i < 3; ++i) {
    TCITEM it;
    it.mask = TCIF_TEXT;
    it.pszText = const_cast<char*>(tabs[i]);
    SendMessage(tab, TCM_INSERTITEM, WPARAM(i), reinterpret_cast<LPARAM>(&it));
  }

  // ---- Progress bars: empty, half, full ------------------------------------------------------
  Child("STATIC", "进度:", SS_LEFT, 220, 164, 60, 18, 101);
  int pos[] = {0, 50, 100};
  for (int i = 0; i < 3; ++i) {
    HWND bar = Child(PROGRESS_CLASS, "", i == 2 ? PBS_SMOOTH : 0, 280, 160 + 26 * i, 240, 18, kProgressEmpty + i);
    SendMessage(bar, PBM_SETRANGE32, 0, 100);
    SendMessage(bar, PBM_SETPOS, WPARAM(pos[i]), 0);
  }

  // ---- Up-down with its buddy ------------------------------------------------------------------
  Child("STATIC", "份数:", SS_LEFT, 220, 248, 60, 18, 102);
  HWND edit =
      Child("EDIT", "5", ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP, 280, 244, 80, 22, kSpinEdit, WS_EX_CLIENTEDGE);
  HWND spin = Child(UPDOWN_CLASS, "", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, 0, 16, 22, kSpin);
  SendMessage(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
  SendMessage(spin, UDM_SETRANGE32, 0, 99);
  SendMessage(spin, UDM_SETPOS32, 0, 5);

  // ---- Status bar with parts ---------------------------------------------------------------------
  HWND status = Child(STATUSCLASSNAME, "", SBARS_SIZEGRIP, 0, 0, 0, 0, kStatus);
  int edges[] = {160, 320, -1};
  SendMessage(status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
  SendMessage(status, SB_SETTEXT, 0, reinterpret_cast<LPARAM>("就绪"));
  SendMessage(status, SB_SETTEXT, 1, reinterpret_cast<LPARAM>("操作员: sa"));
  SendMessage(status, SB_SETTEXT, 2 | SBT_POPOUT, reinterpret_cast<LPARAM>("澜岳合同管理系统"));

  // ---- Month calendar at its minimum size, and date-time pickers --------------------------------
  HWND cal = Child(MONTHCAL_CLASS, "", 0, 540, 40, 10, 10, kCalendar);
  RECT need;
  SendMessage(cal, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
  SetWindowPos(cal, nullptr, 0, 0, need.right, need.bottom, SWP_NOMOVE | SWP_NOZORDER);
  Child("STATIC", "签订日期:", SS_LEFT, 220, 290, 60, 18, 103);
  // Unticked on 31 March 2026, as the contract editor's optional dates start.
  HWND picker = Child(DATETIMEPICK_CLASS, "", DTS_SHOWNONE | WS_TABSTOP, 280, 286, 160, 22, kPicker, WS_EX_CLIENTEDGE);
  SYSTEMTIME st;
  st.wYear = 2026;
  st.wMonth = 3;
  st.wDay = 31;
  SendMessage(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
  SendMessage(picker, DTM_SETSYSTEMTIME, GDT_NONE, 0);
  Child("STATIC", "时间:", SS_LEFT, 220, 322, 60, 18, 104);
  Child(DATETIMEPICK_CLASS, "", DTS_TIMEFORMAT | WS_TABSTOP, 280, 318, 160, 22, 142, WS_EX_CLIENTEDGE);
  Child(DATETIMEPICK_CLASS, "", DTS_LONGDATEFORMAT | WS_TABSTOP, 280, 350, 160, 22, 143, WS_EX_CLIENTEDGE);

  // ---- Tree view -------------------------------------------------------------------------------
  HWND tree = Child(WC_TREEVIEW, "",
                    TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_EDITLABELS | WS_TABSTOP,
                    10, 40, 196, 300, kTree, WS_EX_CLIENTEDGE);
  // Two images: a yellow folder and a blue page, on the mask colour.
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 0);
  {
    HDC mem = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(nullptr, 32, 16);
    HGDIOBJ old = SelectObject(mem, bmp);
    struct {
      RECT r;
      COLORREF c;
    } parts[] = {{{0, 0, 32, 16}, RGB(255, 0, 255)},   {{1, 3, 15, 14}, RGB(220, 180, 40)},
                 {{1, 2, 7, 4}, RGB(220, 180, 40)},    {{19, 1, 29, 15}, RGB(40, 90, 180)},
                 {{21, 4, 27, 5}, RGB(255, 255, 255)}, {{21, 7, 27, 8}, RGB(255, 255, 255)}};
    for (const auto& p : parts) {
      HBRUSH b = CreateSolidBrush(p.c);
      FillRect(mem, &p.r, b);
      DeleteObject(b);
    }
    SelectObject(mem, old);
    ImageList_AddMasked(images, bmp, RGB(255, 0, 255));
    DeleteObject(bmp);
    DeleteDC(mem);
  }
  SendMessage(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
  auto add = [&](HTREEITEM parent, const char* text, int image) {
    TVINSERTSTRUCT ins;
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = const_cast<char*>(text);
    ins.item.iImage = ins.item.iSelectedImage = image;
    return reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&ins)));
  };
  HTREEITEM desk = add(TVI_ROOT, "我的桌面", 0);
  HTREEITEM contracts = add(desk, "合同管理", 0);
  for (const char* t : {"合同提醒", "执行中", "已完成"}) add(contracts, t, 1);
  HTREEITEM depts = add(desk, "所在部门", 0);
  HTREEITEM finance = add(depts, "财务部", 0);
  add(finance, "会计科", 1);
  add(depts, "销售部", 1);
  add(desk, "客户", 1);
  add(desk, "应收款", 1);
  SendMessage(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(desk));
  SendMessage(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(depts));
  SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(finance));
}

// The tool bar's pictures, 16 by 16 on magenta: coloured pages for the commands, lines aligned
// left, centred and right, and a grid.
HIMAGELIST ToolImages()
{
  const int n = 8;
  const COLORREF magenta = RGB(255, 0, 255);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP strip = CreateCompatibleBitmap(nullptr, 16 * n, 16);
  HGDIOBJ old = SelectObject(dc, strip);
  auto fill = [&](int x, int y, int w, int h, COLORREF c) {
    RECT r{x, y, x + w, y + h};
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, &r, b);
    DeleteObject(b);
  };
  fill(0, 0, 16 * n, 16, magenta);
  const COLORREF pages[] = {RGB(0, 128, 0), RGB(0, 0, 192), RGB(192, 0, 0), RGB(192, 128, 0)};
  for (int i = 0; i < 4; ++i) {
    fill(16 * i + 3, 2, 10, 12, RGB(0, 0, 0));
    fill(16 * i + 4, 3, 8, 10, pages[i]);
  }
  const int widths[] = {12, 8, 12, 6};
  for (int a = 0; a < 3; ++a)
    for (int row = 0; row < 4; ++row) {
      int w = widths[row], x = a == 0 ? 2 : a == 1 ? 8 - w / 2 : 14 - w;
      fill(16 * (4 + a) + x, 3 + 3 * row, w, 2, RGB(0, 0, 0));
    }
  for (int k = 0; k < 4; ++k) {
    fill(16 * 7 + 2 + 4 * k, 2, 1, 13, RGB(0, 0, 128));
    fill(16 * 7 + 2, 2 + 4 * k, 13, 1, RGB(0, 0, 128));
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, n, 0);
  ImageList_AddMasked(list, strip, magenta);
  DeleteObject(strip);
  return list;
}

// The tool bar along the top: a flat list bar whose commands show their texts and whose
// alignment and grid buttons show tips.
void BuildToolBar()
{
  HWND bar = Child(TOOLBARCLASSNAME, "", TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS, 0, 0, 0, 0, kToolBar);
  SendMessage(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessage(bar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_MIXEDBUTTONS);
  static HIMAGELIST images = ToolImages();
  SendMessage(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  auto button = [](int image, int command, BYTE style, const char* text, BYTE state = TBSTATE_ENABLED) {
    TBBUTTON b;
    b.iBitmap = image;
    b.idCommand = command;
    b.fsState = state;
    b.fsStyle = style;
    b.iString = reinterpret_cast<INT_PTR>(text);
    return b;
  };
  TBBUTTON buttons[] = {
      button(0, kNew, BTNS_DROPDOWN | BTNS_SHOWTEXT | BTNS_AUTOSIZE, "新建"),
      button(1, kModify, BTNS_BUTTON | BTNS_SHOWTEXT | BTNS_AUTOSIZE, "修改"),
      button(2, kDelete, BTNS_BUTTON | BTNS_SHOWTEXT | BTNS_AUTOSIZE, "删除", 0),
      button(0, 0, BTNS_SEP, nullptr),
      button(3, kAdvanced, BTNS_WHOLEDROPDOWN | BTNS_DROPDOWN | BTNS_SHOWTEXT | BTNS_AUTOSIZE, "高级"),
      button(0, 0, BTNS_SEP, nullptr),
      button(4, kLeft, BTNS_CHECKGROUP, "左对齐", TBSTATE_ENABLED | TBSTATE_CHECKED),
      button(5, kCenter, BTNS_CHECKGROUP, "居中"),
      button(6, kRight, BTNS_CHECKGROUP, "右对齐"),
      button(0, 0, BTNS_SEP, nullptr),
      button(7, kGrid, BTNS_CHECK, "显示网格", TBSTATE_ENABLED | TBSTATE_CHECKED),
  };
  SendMessage(bar, TB_ADDBUTTONS, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
  SendMessage(bar, TB_AUTOSIZE, 0, 0);
}

// Where the script points at the tool bar.
std::string ToolsReady()
{
  HWND bar = Item(kToolBar);
  auto rect = [&](int command) {
    RECT r{};
    SendMessage(bar, TB_GETRECT, WPARAM(command), reinterpret_cast<LPARAM>(&r));
    return r;
  };
  auto middle = [&](int command) {
    RECT r = rect(command);
    return Point(bar, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  };
  RECT n = rect(kNew);
  return "tools new " + Point(bar, n.left + 10, (n.top + n.bottom) / 2) + " arrow " +
         Point(bar, n.right - 6, (n.top + n.bottom) / 2) + " center " + middle(kCenter) + " right " + middle(kRight);
}

// The points the script clicks on the common controls' page.
std::string CommonReady()
{
  RECT second;
  SendMessage(Item(kTab), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  RECT spin;
  GetClientRect(Item(kSpin), &spin);
  RECT picker;
  GetClientRect(Item(kPicker), &picker);
  // The button of the tree's "合同管理", still closed.
  HWND tree = Item(kTree);
  auto desk = SendMessage(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
  auto contracts = SendMessage(tree, TVM_GETNEXTITEM, TVGN_CHILD, desk);
  RECT label{};
  std::memcpy(static_cast<void*>(&label), &contracts, sizeof contracts);
  SendMessage(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label));
  int indent = int(SendMessage(tree, TVM_GETINDENT, 0, 0)), icon = 16 + 3;
  return "ready tab " + Point(Item(kTab), (second.left + second.right) / 2, (second.top + second.bottom) / 2) + " up " +
         Point(Item(kSpin), spin.right / 2, spin.bottom / 4) + " box " + Point(Item(kPicker), 8, picker.bottom / 2) +
         " drop " + Point(Item(kPicker), picker.right - 6, picker.bottom / 2) + " tree " +
         Point(tree, label.left - icon - indent / 2 - 1, (label.top + label.bottom) / 2);
}

}  // namespace

int main(int argc, char** argv)
{
  int arg = 1;
  if (argc > arg && std::string(argv[arg]) == "--common") {
    gCommon = true;
    ++arg;
  }
  gShotPath = argc > arg ? argv[arg] : "commctrl_gallery.png";
  if (!Demo::StartDesktop()) return 2;
  InitCommonControls();
  WNDCLASSEXA wc;
  wc.lpfnWndProc = FrameProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "GalleryFrame";
  RegisterClassEx(&wc);
  if (gCommon) {
    gFrame = CreateWindowEx(0, "GalleryFrame", "通用控件", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 800, 520,
                            nullptr, nullptr, nullptr, nullptr);
    BuildCommon();
    BuildToolBar();
  } else {
    gFrame = CreateWindowEx(0, "GalleryFrame", "标准控件", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 650, 380,
                            nullptr, nullptr, nullptr, nullptr);
    Build();
  }
  ShowWindow(gFrame, SW_SHOW);
  UpdateWindow(gFrame);
  if (gCommon) {
    Say(CommonReady());
    Say(ToolsReady());
  } else {
    RECT cr;
    GetClientRect(Item(kCombo), &cr);
    Say("ready push " + Point(Item(kPush), 45, 13) + " check " + Point(Item(kCheck), 7, 10) + " edit " +
        Point(Item(kEdit), 20, 11) + " combo " + Point(Item(kCombo), cr.right - 8, cr.bottom / 2));
  }

  MSG m;
  while (GetMessage(&m, nullptr, 0, 0)) {
    // F12 takes the picture whichever control has the keyboard.
    if (m.message == WM_KEYDOWN && m.wParam == WPARAM(VK_F12)) {
      TakeShot();
      break;
    }
    TranslateMessage(&m);
    DispatchMessage(&m);
  }
  if (IsWindow(gFrame)) DestroyWindow(gFrame);
  SdlBackend::Stop();
  return 0;
}
