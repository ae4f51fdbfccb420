#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/tests/CtlTest.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

class ButtonTest : public CtlTest {};

TEST_F(ButtonTest, CheckAndClickPerKind)
{
  struct Case {
    const char* name;
    DWORD style;
    std::vector<WPARAM> afterClicks;  // BM_GETCHECK after each click
    WPARAM setIndeterminate;          // BM_GETCHECK after BM_SETCHECK(BST_INDETERMINATE)
    LRESULT dlgCode;
  };
  const Case cases[] = {
      {"push button", BS_PUSHBUTTON, {0, 0}, 0, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
      {"default push button", BS_DEFPUSHBUTTON, {0, 0}, 0, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
      {"check box", BS_CHECKBOX, {0, 0}, BST_CHECKED, DLGC_BUTTON},
      {"automatic check box", BS_AUTOCHECKBOX, {1, 0, 1}, BST_CHECKED, DLGC_BUTTON},
      {"3-state", BS_3STATE, {0}, BST_INDETERMINATE, DLGC_BUTTON},
      {"automatic 3-state", BS_AUTO3STATE, {1, 2, 0}, BST_INDETERMINATE, DLGC_BUTTON},
      {"radio button", BS_RADIOBUTTON, {0}, BST_CHECKED, DLGC_BUTTON | DLGC_RADIOBUTTON},
      {"automatic radio button", BS_AUTORADIOBUTTON, {1, 1}, BST_CHECKED, DLGC_BUTTON | DLGC_RADIOBUTTON},
      {"push-like check box", BS_AUTOCHECKBOX | BS_PUSHLIKE, {1, 0}, BST_CHECKED, DLGC_BUTTON},
      {"owner-drawn", BS_OWNERDRAW, {0}, 0, DLGC_BUTTON},
  };
  for (const auto& c : cases) {
    HWND b = Make("BUTTON", "&Go", c.style | WS_TABSTOP, 10, 10, 100, 24, 5);
    EXPECT_EQ(SendMessage(b, WM_GETDLGCODE, 0, 0), c.dlgCode) << c.name;
    ClearLog();
    for (size_t i = 0; i < c.afterClicks.size(); ++i) {
      // Alternately a mouse click and BM_CLICK: both click.
      if (i % 2)
        SendMessage(b, BM_CLICK, 0, 0);
      else
        Click(b, 50, 12);
      EXPECT_EQ(SendMessage(b, BM_GETCHECK, 0, 0), LRESULT(c.afterClicks[i])) << c.name << " click " << i;
    }
    EXPECT_EQ(Codes(b), std::vector<WORD>(c.afterClicks.size(), BN_CLICKED)) << c.name;
    ClearLog();
    SendMessage(b, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(SendMessage(b, BM_GETCHECK, 0, 0), LRESULT(c.setIndeterminate)) << c.name;
    EXPECT_TRUE(Codes(b).empty()) << c.name << ": BM_SETCHECK notifies nothing";
    DestroyWindow(b);
  }
}

TEST_F(ButtonTest, ClicksNeedTheReleaseOverTheButton)
{
  HWND b = Make("BUTTON", "OK", BS_PUSHBUTTON, 10, 10, 80, 24, 1);
  POINT p{40, 12}, out{200, 200};
  ClientToScreen(b, &p);
  ClientToScreen(b, &out);
  InputQueue::MouseMove(p.x, p.y);
  InputQueue::MouseDown(InputQueue::Button::Left, p.x, p.y);
  Pump();
  EXPECT_TRUE(SendMessage(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
  InputQueue::MouseMove(out.x, out.y);
  InputQueue::MouseUp(InputQueue::Button::Left, out.x, out.y);
  Pump();
  EXPECT_FALSE(SendMessage(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
  EXPECT_TRUE(Codes(b).empty()) << "released elsewhere: no click";
  // Space pressed and released clicks; its mnemonic typed while focused clicks too.
  SetFocus(b);
  Key(VK_SPACE);
  SendMessage(b, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("&Save"));
  SendMessage(b, WM_SYSCHAR, 's', 0);
  SendMessage(b, WM_CHAR, 'x', 0);
  EXPECT_EQ(Codes(b), (std::vector<WORD>{BN_CLICKED, BN_CLICKED}));
  // A disabled button takes no click.
  EnableWindow(b, FALSE);
  SendMessage(b, BM_CLICK, 0, 0);
  EXPECT_EQ(Codes(b).size(), 2u);
}

TEST_F(ButtonTest, AutomaticRadioButtonsUncheckTheirGroupOnly)
{
  HWND a = Make("BUTTON", "A", BS_AUTORADIOBUTTON | WS_GROUP, 10, 10, 80, 20, 1);
  HWND b = Make("BUTTON", "B", BS_AUTORADIOBUTTON, 10, 30, 80, 20, 2);
  HWND c = Make("BUTTON", "C", BS_AUTORADIOBUTTON, 10, 50, 80, 20, 3);
  HWND d = Make("BUTTON", "D", BS_AUTORADIOBUTTON | WS_GROUP, 10, 70, 80, 20, 4);
  SendMessage(d, BM_CLICK, 0, 0);
  SendMessage(a, BM_CLICK, 0, 0);
  Click(c, 5, 10);
  EXPECT_EQ(SendMessage(a, BM_GETCHECK, 0, 0), 0);
  EXPECT_EQ(SendMessage(b, BM_GETCHECK, 0, 0), 0);
  EXPECT_EQ(SendMessage(c, BM_GETCHECK, 0, 0), 1);
  EXPECT_EQ(SendMessage(d, BM_GETCHECK, 0, 0), 1) << "another group keeps its check";
}

TEST_F(ButtonTest, SetStyleMakesADefaultButton)
{
  HWND b = Make("BUTTON", "OK", BS_PUSHBUTTON, 10, 10, 80, 24, 1);
  SendMessage(b, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(SendMessage(b, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
  EXPECT_EQ(GetWindowLongPtr(b, GWL_STYLE) & BS_TYPEMASK, LONG_PTR(BS_DEFPUSHBUTTON));
}
