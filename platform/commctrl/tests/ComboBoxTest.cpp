#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/combobox/ComboBox.h"
#include "platform/commctrl/tests/CtlTest.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

class ComboBoxTest : public CtlTest {
public:
  HWND MakeCombo(DWORD kind)
  {
    HWND c = Make("COMBOBOX", "", kind | WS_VSCROLL | WS_TABSTOP, 20, 20, 160, 200, 3);
    for (const char* t : {"合同", "付款", "发票", "客户", "供应商"})
      SendMessage(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
    return c;
  }
  RECT Field(HWND c)
  {
    RECT r;
    GetClientRect(c, &r);
    return r;
  }
  // Clicks item `i` of the dropped list.
  void ClickItem(HWND c, int i)
  {
    HWND list = ComboBox::ListOf(c);
    RECT r;
    SendMessage(list, LB_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r));
    Click(list, 5, (r.top + r.bottom) / 2);
  }
};

TEST_F(ComboBoxTest, NotificationsComeInTheClassicOrder)
{
  struct Case {
    const char* name;
    DWORD kind;
    std::function<void(ComboBoxTest*, HWND)> act;
    std::vector<WORD> codes;
    int sel;
    bool dropped;
  };
  auto open = [](ComboBoxTest* t, HWND c) {
    RECT f = t->Field(c);
    t->Click(c, f.right - 5, f.bottom / 2);
  };
  const Case cases[] = {
      {"a click on the button opens", CBS_DROPDOWNLIST, open, {CBN_DROPDOWN}, 1, true},
      {"a click on an item chooses it",
       CBS_DROPDOWNLIST,
       [&](ComboBoxTest* t, HWND c) {
         open(t, c);
         t->ClickItem(c, 3);
       },
       {CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE},
       3,
       false},
      {"keys in the open list, then Enter",
       CBS_DROPDOWNLIST,
       [](ComboBoxTest* t, HWND) {
         t->Key(VK_F4);
         t->Key(VK_DOWN);
         t->Key(VK_DOWN);
         t->Key(VK_RETURN);
       },
       {CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP},
       3,
       false},
      {"Alt+Down opens, Escape closes without choosing",
       CBS_DROPDOWNLIST,
       [](ComboBoxTest* t, HWND) {
         t->AltKey(VK_DOWN);
         t->Key(VK_ESCAPE);
       },
       {CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP},
       1,
       false},
      {"the pointer's highlight is dropped by a click outside",
       CBS_DROPDOWNLIST,
       [&](ComboBoxTest* t, HWND c) {
         open(t, c);
         HWND list = ComboBox::ListOf(c);
         RECT r;
         SendMessage(list, LB_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&r));
         POINT p{5, (r.top + r.bottom) / 2};
         ClientToScreen(list, &p);
         InputQueue::MouseMove(p.x, p.y);
         t->Pump();
         t->Click(t->Parent, 600, 400);
       },
       {CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP},
       1,
       false},
      {"arrow keys with the list closed",
       CBS_DROPDOWNLIST,
       [](ComboBoxTest* t, HWND) { t->Key(VK_DOWN); },
       {CBN_SELENDOK, CBN_SELCHANGE},
       2,
       false},
      {"type-ahead with the list closed",
       CBS_DROPDOWNLIST,
       [](ComboBoxTest* t, HWND) {
         InputQueue::Text("客");
         t->Pump();
       },
       {CBN_SELENDOK, CBN_SELCHANGE},
       3,
       false},
      {"F4 on the open list keeps the choice",
       CBS_DROPDOWN,
       [](ComboBoxTest* t, HWND) {
         t->Key(VK_F4);
         t->Key(VK_UP);
         t->Key(VK_F4);
       },
       {CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP},
       0,
       false},
  };
  for (const auto& c : cases) {
    HWND combo = MakeCombo(c.kind);
    SendMessage(combo, CB_SETCURSEL, 1, 0);
    SetFocus(combo);
    Pump();
    ClearLog();
    c.act(this, combo);
    std::vector<WORD> got;
    for (WORD code : Codes(combo))
      if (code != CBN_SETFOCUS && code != CBN_KILLFOCUS) got.push_back(code);
    EXPECT_EQ(got, c.codes) << c.name;
    EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), c.sel) << c.name;
    EXPECT_EQ(SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0) != 0, c.dropped) << c.name;
    DestroyWindow(combo);
    Pump();
  }
}

TEST_F(ComboBoxTest, TheOldTextShowsWhileTheChoiceIsAnnounced)
{
  HWND combo = MakeCombo(CBS_DROPDOWN);
  SendMessage(combo, CB_SETCURSEL, 0, 0);
  SetFocus(combo);
  Pump();
  AnsiString textAtSelChange;
  // The parent reads the text when told of the new selection.
  OnCtlColor = nullptr;
  ClearLog();
  RECT f = Field(combo);
  Click(combo, f.right - 5, f.bottom / 2);
  ClickItem(combo, 2);
  EXPECT_EQ(GetWindowText(combo), "发票") << "after the notifications the edit shows the choice";
  char buf[16];
  EXPECT_EQ(SendMessage(combo, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(buf)), 4);
  EXPECT_STREQ(buf, "发票");
}

TEST_F(ComboBoxTest, ListMessagesAndTheDroppedList)
{
  HWND combo = MakeCombo(CBS_DROPDOWNLIST | CBS_SORT);
  EXPECT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), 5);
  char buf[16] = {};
  SendMessage(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buf));
  EXPECT_STREQ(buf, "发票") << "sorted by CP936: fa, fu, gong, he, ke";
  EXPECT_EQ(SendMessage(combo, CB_SETCURSEL, 9, 0), CB_ERR);
  EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(SendMessage(combo, CB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>("合")), 3);
  EXPECT_EQ(GetWindowText(combo), "合同");
  EXPECT_EQ(SendMessage(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("没有")), CB_ERR);
  EXPECT_EQ(SendMessage(combo, CB_SETITEMDATA, 2, 42), CB_OKAY);
  EXPECT_EQ(SendMessage(combo, CB_GETITEMDATA, 2, 0), 42);
  // The combo is as high as its field; the list drops below it.
  RECT w, d;
  GetWindowRect(combo, &w);
  EXPECT_EQ(w.bottom - w.top, SendMessage(combo, CB_GETITEMHEIGHT, WPARAM(-1), 0) + 6);
  SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
  HWND list = ComboBox::ListOf(combo);
  EXPECT_TRUE(IsWindowVisible(list));
  EXPECT_EQ(GetParent(list) == Parent || GetWindowLongPtr(list, GWL_STYLE) & WS_POPUP, true);
  GetWindowRect(list, &d);
  EXPECT_EQ(d.top, w.bottom);
  EXPECT_EQ(d.left, w.left);
  EXPECT_EQ(GetCapture(), list);
  SendMessage(combo, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_FALSE(IsWindowVisible(list));
  EXPECT_EQ(GetCapture(), nullptr);
  DestroyWindow(combo);
  EXPECT_FALSE(IsWindow(list)) << "the pop-up list goes with its combo";
}

TEST_F(ComboBoxTest, TypingInTheEditReportsEditChanges)
{
  HWND combo = MakeCombo(CBS_DROPDOWN | CBS_AUTOHSCROLL);
  HWND edit = ComboBox::EditOf(combo);
  ASSERT_TRUE(edit);
  SetFocus(combo);
  EXPECT_EQ(GetFocus(), edit);
  ClearLog();
  InputQueue::Text("a");
  Pump();
  EXPECT_EQ(Codes(combo), (std::vector<WORD>{CBN_EDITUPDATE, CBN_EDITCHANGE}));
  EXPECT_EQ(GetWindowText(combo), "a");
}
