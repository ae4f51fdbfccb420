// Every class in its states, drawn headless into one picture (commctrl_gallery.png in the build
// folder) with the colours that matter checked at their points.
#include <cstdlib>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/combobox/ComboBox.h"
#include "platform/commctrl/tests/CtlTest.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

COLORREF At(HWND wnd, int x, int y) { return Headless::ClientPixel(wnd, x, y); }

// Pixels of a client rectangle that are `c`.
int CountOf(HWND wnd, RECT r, COLORREF c)
{
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) n += At(wnd, x, y) == c;
  return n;
}

// Pixels within `tolerance` of `c` in every channel (text is smoothed).
int CountNear(HWND wnd, RECT r, COLORREF c, int tolerance = 48)
{
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      COLORREF p = At(wnd, x, y);
      n += std::abs(GetRValue(p) - GetRValue(c)) <= tolerance && std::abs(GetGValue(p) - GetGValue(c)) <= tolerance &&
           std::abs(GetBValue(p) - GetBValue(c)) <= tolerance;
    }
  return n;
}

}  // namespace

class GalleryPaintTest : public CtlTest {};

TEST_F(GalleryPaintTest, EveryClassInEveryState)
{
  const COLORREF face = GetSysColor(COLOR_BTNFACE), white = GetSysColor(COLOR_WINDOW),
                 highlight = GetSysColor(COLOR_HIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW),
                 black = GetSysColor(COLOR_WINDOWFRAME), gray = GetSysColor(COLOR_GRAYTEXT);
  HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 160));
  OnDrawItem = [](const DRAWITEMSTRUCT& di) {
    HBRUSH b = CreateSolidBrush((di.itemState & ODS_SELECTED) ? RGB(200, 0, 0) : RGB(255, 200, 200));
    RECT r = di.rcItem;
    FillRect(di.hDC, &r, b);
    DeleteObject(b);
  };
  OnMeasureItem = [](MEASUREITEMSTRUCT& mi) { mi.itemHeight = 18; };

  // ---- Buttons -------------------------------------------------------------------------------
  HWND push = Make("BUTTON", "确定(&O)", BS_PUSHBUTTON, 10, 10, 90, 26, 1);
  HWND def = Make("BUTTON", "默认", BS_DEFPUSHBUTTON, 110, 10, 90, 26, 2);
  HWND pressed = Make("BUTTON", "按下", BS_PUSHBUTTON, 210, 10, 90, 26, 3);
  SendMessage(pressed, BM_SETSTATE, TRUE, 0);
  HWND disabled = Make("BUTTON", "禁用", BS_PUSHBUTTON | WS_DISABLED, 310, 10, 90, 26, 4);
  HWND focused = Make("BUTTON", "焦点", BS_PUSHBUTTON, 410, 10, 90, 26, 5);
  HWND owner = Make("BUTTON", "", BS_OWNERDRAW, 510, 10, 90, 26, 6);
  HWND check = Make("BUTTON", "已选中", BS_AUTOCHECKBOX, 10, 46, 100, 20, 7);
  SendMessage(check, BM_SETCHECK, BST_CHECKED, 0);
  HWND unchecked = Make("BUTTON", "未选中", BS_AUTOCHECKBOX, 110, 46, 100, 20, 8);
  HWND grayed = Make("BUTTON", "不确定", BS_AUTO3STATE, 210, 46, 100, 20, 9);
  SendMessage(grayed, BM_SETCHECK, BST_INDETERMINATE, 0);
  HWND leftText = Make("BUTTON", "文字在左", BS_AUTOCHECKBOX | BS_LEFTTEXT, 310, 46, 100, 20, 10);
  HWND radio = Make("BUTTON", "单选", BS_AUTORADIOBUTTON | WS_GROUP, 420, 46, 70, 20, 11);
  SendMessage(radio, BM_SETCHECK, BST_CHECKED, 0);
  HWND pushLike = Make("BUTTON", "开关", BS_AUTOCHECKBOX | BS_PUSHLIKE, 500, 46, 90, 24, 12);
  SendMessage(pushLike, BM_SETCHECK, BST_CHECKED, 0);
  HWND group = Make("BUTTON", "分组框", BS_GROUPBOX, 10, 76, 200, 70, 13);
  HWND multi = Make("BUTTON", "多行的按钮文字会折行显示", BS_PUSHBUTTON | BS_MULTILINE, 220, 80, 100, 50, 14);

  // ---- Static --------------------------------------------------------------------------------
  HWND label = Make("STATIC", "合同编号(&N):", SS_LEFT, 340, 80, 110, 18, 20);
  HWND noPrefix = Make("STATIC", "A&B 不是助记", SS_LEFT | SS_NOPREFIX, 340, 100, 110, 18, 21);
  HWND ellipsis = Make("STATIC", "一段很长很长很长的说明文字", SS_LEFT | SS_ENDELLIPSIS, 340, 120, 110, 18, 22);
  HWND right = Make("STATIC", "右对齐", SS_RIGHT | SS_SUNKEN, 460, 80, 100, 20, 23);
  HWND etched = Make("STATIC", "", SS_ETCHEDFRAME, 460, 106, 100, 30, 24);
  HWND coloured = nullptr;
  OnCtlColor = [&](UINT msg, HDC dc, HWND ctl) -> HBRUSH {
    if (ctl != coloured || msg != WM_CTLCOLORSTATIC) return nullptr;
    SetBkColor(dc, RGB(255, 255, 160));
    return yellow;
  };
  coloured = Make("STATIC", "父窗口的颜色", SS_CENTER, 570, 80, 60, 40, 25);
  HBITMAP pic = CreateCompatibleBitmap(nullptr, 24, 24);
  {
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, pic);
    RECT r{0, 0, 24, 24};
    HBRUSH g = CreateSolidBrush(RGB(0, 160, 0));
    FillRect(mem, &r, g);
    DeleteObject(g);
    SelectObject(mem, old);
    DeleteDC(mem);
  }
  HWND bitmap = Make("STATIC", "", SS_BITMAP, 570, 126, 10, 10, 26);
  SendMessage(bitmap, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(pic));

  // ---- List boxes ----------------------------------------------------------------------------
  HWND list =
      Make("LISTBOX", "", WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 10, 160, 140, 110, 30, WS_EX_CLIENTEDGE);
  for (const char* t : {"北京", "上海", "广州", "深圳", "杭州", "南京", "武汉", "成都", "重庆"})
    SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  SendMessage(list, LB_SETCURSEL, 1, 0);
  HWND multiList = Make("LISTBOX", "", LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | WS_DISABLED, 160, 160, 110, 110, 31,
                        WS_EX_CLIENTEDGE);
  for (const char* t : {"甲", "乙", "丙", "丁"}) SendMessage(multiList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  SendMessage(multiList, LB_SELITEMRANGEEX, 1, 2);
  HWND ownerList =
      Make("LISTBOX", "", LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT, 280, 160, 110, 110, 32, WS_EX_CLIENTEDGE);
  for (LPARAM d : {1, 2, 3}) SendMessage(ownerList, LB_ADDSTRING, 0, d);
  SendMessage(ownerList, LB_SETCURSEL, 0, 0);

  // ---- Scroll bars -----------------------------------------------------------------------------
  HWND hbar = Make("SCROLLBAR", "", SBS_HORZ, 400, 160, 200, 17, 40);
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  si.nMin = 0;
  si.nMax = 99;
  si.nPage = 20;
  si.nPos = 40;
  SetScrollInfo(hbar, SB_CTL, &si, TRUE);
  HWND vbar = Make("SCROLLBAR", "", SBS_VERT | WS_DISABLED, 400, 185, 17, 85, 41);

  // ---- Combo boxes ---------------------------------------------------------------------------
  HWND simple = Make("COMBOBOX", "", CBS_SIMPLE, 10, 280, 140, 110, 50);
  HWND ownerCombo = Make("COMBOBOX", "", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | WS_VSCROLL, 160, 280, 120, 150, 51);
  for (LPARAM d : {1, 2}) SendMessage(ownerCombo, CB_ADDSTRING, 0, d);
  SendMessage(ownerCombo, CB_SETCURSEL, 1, 0);
  HWND dropList = Make("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, 440, 200, 150, 160, 52);
  HWND dropDown = Make("COMBOBOX", "", CBS_DROPDOWN | WS_VSCROLL, 290, 280, 130, 160, 53);
  for (HWND c : {simple, dropList, dropDown})
    for (const char* t : {"合同", "付款", "发票", "客户"}) SendMessage(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  SendMessage(dropList, CB_SETCURSEL, 2, 0);
  SendMessage(dropDown, CB_SETCURSEL, 0, 0);
  SendMessage(simple, CB_SETCURSEL, 3, 0);
  SetFocus(focused);
  SendMessage(dropList, CB_SHOWDROPDOWN, TRUE, 0);
  RedrawWindow(Parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  Pump();
  SavePng("commctrl_gallery");

  // Push buttons: raised face, the default's black frame, a pressed one sunk, grey text.
  EXPECT_EQ(At(push, 45, 3), face);
  EXPECT_EQ(At(push, 0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(At(def, 0, 13), black);
  EXPECT_NE(At(pressed, 0, 0), At(push, 0, 0)) << "a pressed button is drawn in";
  EXPECT_GT(CountNear(disabled, {10, 5, 80, 21}, gray, 24), 5) << "disabled text is grey";
  EXPECT_EQ(CountNear(disabled, {10, 5, 80, 21}, black, 40), 0);
  EXPECT_GT(40 - CountOf(focused, {4, 3, 44, 4}, face), 15) << "the dotted focus frame";
  EXPECT_EQ(At(owner, 45, 13), RGB(255, 200, 200)) << "an owner-drawn button is its owner's";
  // Check boxes and radio buttons: the mark is there or not.
  EXPECT_GT(CountOf(check, {2, 5, 12, 15}, black), 5);
  EXPECT_EQ(CountOf(unchecked, {2, 5, 12, 15}, black), 0);
  EXPECT_EQ(At(unchecked, 6, 10), white);
  EXPECT_GT(CountOf(grayed, {2, 5, 12, 15}, shadow), 3) << "a grayed box shows its mark in grey";
  EXPECT_EQ(At(leftText, 93, 10), white) << "the box on the right";
  EXPECT_EQ(At(leftText, 2, 1), face);
  EXPECT_GT(CountOf(radio, {3, 6, 10, 13}, black), 3) << "the radio dot";
  EXPECT_EQ(At(pushLike, 0, 0), At(pressed, 0, 0)) << "a checked push-like box is drawn in";
  EXPECT_EQ(At(group, 100, 20), face);
  EXPECT_EQ(At(group, 100, 69), GetSysColor(COLOR_BTNHIGHLIGHT)) << "the etched frame's bottom";
  EXPECT_GT(CountNear(multi, {4, 4, 96, 24}, black), 30) << "the first line";
  EXPECT_GT(CountNear(multi, {4, 25, 96, 46}, black), 30) << "the second line";
  // Statics.
  EXPECT_GT(CountNear(label, {0, 0, 110, 18}, black), 20);
  EXPECT_GT(CountNear(noPrefix, {0, 0, 110, 18}, black), 20);
  EXPECT_GT(CountNear(ellipsis, {100, 0, 110, 18}, black), 0) << "the ellipsis at the end";
  EXPECT_EQ(At(right, 0, 0), shadow) << "the sunken border";
  EXPECT_EQ(At(etched, 0, 0), shadow);
  EXPECT_EQ(At(etched, 1, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(At(coloured, 2, 2), RGB(255, 255, 160)) << "the parent's WM_CTLCOLORSTATIC answer";
  RECT br;
  GetClientRect(bitmap, &br);
  EXPECT_EQ(br.right, 24) << "a bitmap static takes the picture's size";
  EXPECT_EQ(At(bitmap, 12, 12), RGB(0, 160, 0));
  // List boxes: the selection, the disabled list's grey text, the owner's rows.
  RECT row;
  SendMessage(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
  EXPECT_EQ(At(list, row.right - 3, row.top + 2), highlight);
  SendMessage(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  EXPECT_EQ(At(list, row.right - 3, row.top + 2), white);
  SCROLLBARINFO sbi;
  GetScrollBarInfo(list, OBJID_VSCROLL, &sbi);
  EXPECT_FALSE(sbi.rgstate[0] & STATE_SYSTEM_INVISIBLE);
  SendMessage(multiList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
  EXPECT_EQ(At(multiList, row.right - 3, row.top + 2), highlight);
  SendMessage(multiList, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&row));
  EXPECT_GT(CountNear(multiList, row, gray, 24), 3) << "a disabled list's text is grey";
  EXPECT_EQ(At(ownerList, 50, 9), RGB(200, 0, 0));
  EXPECT_EQ(At(ownerList, 50, 27), RGB(255, 200, 200));
  // Scroll bars: the thumb, the disabled bar's grey arrows.
  GetScrollBarInfo(hbar, OBJID_CLIENT, &sbi);
  EXPECT_EQ(At(hbar, (sbi.xyThumbTop + sbi.xyThumbBottom) / 2, 8), face);
  EXPECT_EQ(At(hbar, sbi.xyThumbBottom + 4, 8), GetSysColor(COLOR_SCROLLBAR));
  EXPECT_GT(CountOf(vbar, {0, 0, 17, 17}, shadow), 3);
  // Combo boxes: the dropped list below its combo with the selection, the owner's field.
  HWND dropped = ComboBox::ListOf(dropList);
  EXPECT_TRUE(IsWindowVisible(dropped));
  SendMessage(dropped, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
  EXPECT_EQ(At(dropped, row.right - 3, row.top + 2), highlight);
  RECT cf;
  GetClientRect(ownerCombo, &cf);
  EXPECT_EQ(At(ownerCombo, 10, cf.bottom / 2), RGB(255, 200, 200));
  EXPECT_EQ(At(dropDown, 1, 1), GetSysColor(COLOR_3DDKSHADOW)) << "the sunken field";
  EXPECT_EQ(GetWindowText(dropDown), "合同");
  SendMessage(dropList, CB_SHOWDROPDOWN, FALSE, 0);
  DeleteObject(yellow);
  DeleteObject(pic);
}
