// The tool bar: its model's check groups and layout as tables; the parent's notifications for
// clicks, check groups and drop-downs; the TB_ messages' answers and their malformed input;
// tips asked of the parent after the initial delay and popped when the pointer leaves; every
// kind of button in its states drawn into a PNG.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/commctrl/tests/CtlTest.h"
#include "platform/commctrl/tests/NotifySpy.h"
#include "platform/commctrl/tests/ToolTestUtil.h"
#include "platform/commctrl/toolbar/ToolBar.h"
#include "platform/commctrl/toolbar/ToolBarModel.h"
#include "platform/commctrl/tooltips/ToolTips.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

ToolBarModel::Button Btn(int command, BYTE style, BYTE state = TBSTATE_ENABLED)
{
  ToolBarModel::Button b;
  b.Command = command;
  b.Style = style;
  b.State = state;
  return b;
}

std::vector<int> CheckedOf(const ToolBarModel& m)
{
  std::vector<int> out;
  for (int i = 0; i < m.Count(); ++i)
    if (m.At(i)->State & TBSTATE_CHECKED) out.push_back(m.At(i)->Command);
  return out;
}

class ToolBarTest : public ToolTest {};

}  // namespace

TEST(ToolBarModel, ACheckGroupKeepsOneButtonDownAndEndsAtASeparator)
{
  ToolBarModel m;
  EXPECT_FALSE(m.Check(0, true));
  m.Click(3);  // no such button: nothing
  // 1 2 3 are a group, | a separator, 5 6 another group, 7 a check button, 8 a push button.
  for (auto b : {Btn(1, TBSTYLE_CHECKGROUP, TBSTATE_ENABLED | TBSTATE_CHECKED), Btn(2, TBSTYLE_CHECKGROUP),
                 Btn(3, TBSTYLE_CHECKGROUP), Btn(0, TBSTYLE_SEP), Btn(5, TBSTYLE_CHECKGROUP),
                 Btn(6, TBSTYLE_CHECKGROUP), Btn(7, TBSTYLE_CHECK), Btn(8, TBSTYLE_BUTTON)})
    m.Insert(-1, b);
  EXPECT_EQ(m.GroupOf(1), std::make_pair(0, 2));
  EXPECT_EQ(m.GroupOf(4), std::make_pair(4, 5)) << "the separator ends the first group";
  EXPECT_EQ(m.GroupOf(6), std::make_pair(6, 6));
  struct Case {
    const char* what;
    int index;
    std::vector<int> checked;
  } cases[] = {
      {"another of the group goes down", 2, {3}},
      {"the one down stays down", 2, {3}},
      {"the other group is apart", 4, {3, 5}},
      {"a check button toggles on", 6, {3, 5, 7}},
      {"and off", 6, {3, 5}},
      {"a push button keeps no state", 7, {3, 5}},
      {"a separator does nothing", 3, {3, 5}},
  };
  for (const Case& k : cases) {
    m.Click(k.index);
    EXPECT_EQ(CheckedOf(m), k.checked) << k.what;
  }
  EXPECT_TRUE(m.Check(0, true));
  EXPECT_EQ(CheckedOf(m), (std::vector<int>{1, 5})) << "checking from outside releases the group too";
  EXPECT_TRUE(m.Check(0, false));
  EXPECT_EQ(CheckedOf(m), (std::vector<int>{5})) << "unchecking may leave a group with none down";
}

TEST(ToolBarModel, LayoutSizesButtonsAndWrapsRows)
{
  ToolBarModel::Metrics base;
  base.Width = 100;
  auto withText = [](ToolBarModel::Button b, int cx) {
    b.TextSize = {cx, 12};
    return b;
  };
  struct Case {
    const char* what;
    std::vector<ToolBarModel::Button> buttons;
    bool wrapable, list, split;
    std::vector<RECT> rects;
    int rows;
  } cases[] = {
      {"default buttons, a separator of its own width and one of 8",
       {Btn(1, 0),
        [] {
          auto s = Btn(0, TBSTYLE_SEP);
          s.Image = 5;
          return s;
        }(),
        Btn(2, 0), Btn(0, TBSTYLE_SEP), Btn(3, 0)},
       false,
       false,
       false,
       {{0, 0, 24, 22}, {24, 0, 29, 22}, {29, 0, 53, 22}, {53, 0, 61, 22}, {61, 0, 85, 22}},
       1},
      {"a text below the image widens and heightens every button",
       {withText(Btn(1, 0), 40), Btn(2, 0)},
       false,
       false,
       false,
       {{0, 0, 52, 36}, {52, 0, 104, 36}},
       1},
      {"an auto-sized button keeps its own width",
       {withText(Btn(1, 0), 40), withText(Btn(2, TBSTYLE_AUTOSIZE), 4)},
       false,
       false,
       false,
       {{0, 0, 52, 36}, {52, 36 - 36, 76, 36}},
       1},
      {"list style: text beside the image", {withText(Btn(1, 0), 30)}, false, true, false, {{0, 0, 58, 22}}, 1},
      {"a split drop-down adds its arrow; a whole drop-down too; a plain one without arrows not",
       {Btn(1, TBSTYLE_DROPDOWN), Btn(2, TBSTYLE_DROPDOWN | BTNS_WHOLEDROPDOWN)},
       false,
       false,
       true,
       {{0, 0, 38, 22}, {38, 0, 76, 22}},
       1},
      {"without split arrows a plain drop-down is a plain-sized button",
       {Btn(1, TBSTYLE_DROPDOWN)},
       false,
       false,
       false,
       {{0, 0, 24, 22}},
       1},
      {"wrapping at the width; a hidden button takes no room",
       {Btn(1, 0), Btn(2, 0), Btn(3, 0, TBSTATE_HIDDEN), Btn(4, 0), Btn(5, 0), Btn(6, 0)},
       true,
       false,
       false,
       {{0, 0, 24, 22}, {24, 0, 48, 22}, {0, 0, 0, 0}, {48, 0, 72, 22}, {72, 0, 96, 22}, {0, 22, 24, 44}},
       2},
      {"a separator stays at the end of its row",
       {Btn(1, 0), Btn(2, 0), Btn(3, 0), Btn(4, 0), Btn(0, TBSTYLE_SEP), Btn(6, 0)},
       true,
       false,
       false,
       {{0, 0, 24, 22}, {24, 0, 48, 22}, {48, 0, 72, 22}, {72, 0, 96, 22}, {96, 0, 104, 22}, {0, 22, 24, 44}},
       2},
      {"TBSTATE_WRAP breaks the row without wrapping style",
       {Btn(1, 0, TBSTATE_ENABLED | TBSTATE_WRAP), Btn(2, 0)},
       false,
       false,
       false,
       {{0, 0, 24, 22}, {0, 22, 24, 44}},
       2},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    ToolBarModel m;
    for (const auto& b : k.buttons) m.Insert(-1, b);
    ToolBarModel::Metrics mt = base;
    mt.Wrapable = k.wrapable;
    mt.List = k.list;
    mt.SplitArrows = k.split;
    m.Layout(mt);
    ASSERT_EQ(m.Count(), int(k.rects.size()));
    for (int i = 0; i < m.Count(); ++i)
      EXPECT_TRUE(EqualRect(&m.At(i)->Rect, &k.rects[std::size_t(i)]))
          << i << ": " << m.At(i)->Rect.left << "," << m.At(i)->Rect.top << "," << m.At(i)->Rect.right << ","
          << m.At(i)->Rect.bottom;
    EXPECT_EQ(m.Rows(), k.rows);
  }
}

TEST_F(ToolBarTest, ClicksSendCommandsAndACheckGroupKeepsOneButtonDown)
{
  HWND bar = Bar(TBSTYLE_FLAT,
                 {Button(101, TBSTYLE_BUTTON, 0), Button(102, TBSTYLE_BUTTON, 1, nullptr, 0), Button(0, TBSTYLE_SEP),
                  Button(201, TBSTYLE_CHECKGROUP, 2, nullptr, TBSTATE_ENABLED | TBSTATE_CHECKED),
                  Button(202, TBSTYLE_CHECKGROUP, 3), Button(301, TBSTYLE_CHECK, 0)});
  struct Case {
    const char* what;
    int command;
    std::vector<std::string> seen;
    std::vector<int> checked;
  } cases[] = {
      {"a push button", 101, {"command 101", "click 101"}, {201}},
      {"a disabled button sends no command", 102, {"click 102"}, {201}},
      {"the other button of the group goes down", 202, {"command 202", "click 202"}, {202}},
      {"the button down stays down", 202, {"command 202", "click 202"}, {202}},
      {"a check button goes down", 301, {"command 301", "click 301"}, {202, 301}},
      {"and up", 301, {"command 301", "click 301"}, {202}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    ClickButton(bar, k.command);
    Expect(k.seen);
    std::vector<int> checked;
    for (int id : {101, 102, 201, 202, 301})
      if (SendMessage(bar, TB_ISBUTTONCHECKED, WPARAM(id), 0)) checked.push_back(id);
    EXPECT_EQ(checked, k.checked);
  }

  // Pressed, dragged off and let go elsewhere: no command, and the button comes up.
  RECT r = ItemRectOf(bar, 101);
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(bar, &p);
  InputQueue::MouseMove(p.x, p.y);
  InputQueue::MouseDown(InputQueue::Button::Left, p.x, p.y);
  Pump();
  EXPECT_TRUE(SendMessage(bar, TB_ISBUTTONPRESSED, 101, 0));
  InputQueue::MouseMove(p.x, p.y + 100);
  Pump();
  EXPECT_FALSE(SendMessage(bar, TB_ISBUTTONPRESSED, 101, 0)) << "shown up while the pointer is off it";
  InputQueue::MouseUp(InputQueue::Button::Left, p.x, p.y + 100);
  Pump();
  Expect({"click -1"});
  EXPECT_EQ(GetCapture(), nullptr);

  EXPECT_TRUE(SendMessage(bar, TB_CHECKBUTTON, 201, TRUE));
  EXPECT_FALSE(SendMessage(bar, TB_ISBUTTONCHECKED, 202, 0)) << "checking by message releases the group";
  Expect({});
}

TEST_F(ToolBarTest, DropDownsSendTbnDropDownWhileHeldDown)
{
  HWND bar = Bar(TBSTYLE_FLAT,
                 {Button(401, TBSTYLE_DROPDOWN, 0), Button(402, TBSTYLE_DROPDOWN | BTNS_WHOLEDROPDOWN, 1),
                  Button(403, TBSTYLE_BUTTON, 2)},
                 TBSTYLE_EX_DRAWDDARROWS);
  std::vector<bool> heldDown;
  RECT told{};
  DropAnswer = [&](const NMTOOLBAR& nm) {
    heldDown.push_back(SendMessage(bar, TB_ISBUTTONPRESSED, WPARAM(nm.iItem), 0) != 0);
    told = nm.rcButton;
    return TBDDRET_DEFAULT;
  };
  ClickButton(bar, 401, true);
  Expect({"dropdown 401", "click 401"});
  RECT r = ItemRectOf(bar, 401);
  EXPECT_TRUE(EqualRect(&told, &r)) << "rcButton is the whole button";
  ClickButton(bar, 401);
  Expect({"command 401", "click 401"}, "the button part of a split drop-down is a push button");
  ClickButton(bar, 402);
  Expect({"dropdown 402", "click 402"});
  EXPECT_EQ(heldDown, (std::vector<bool>{false, true})) << "a whole drop-down shows pressed while it drops";
  EXPECT_FALSE(SendMessage(bar, TB_ISBUTTONPRESSED, 402, 0)) << "and comes up after";

  // Without separate arrows a drop-down drops from anywhere, and TBDDRET_TREATPRESSED makes it a
  // push button as well.
  SendMessage(bar, TB_SETEXTENDEDSTYLE, 0, 0);
  DropAnswer = [](const NMTOOLBAR&) { return TBDDRET_TREATPRESSED; };
  ClickButton(bar, 401);
  Expect({"dropdown 401", "command 401", "click 401"});
  // A disabled drop-down drops nothing.
  SendMessage(bar, TB_ENABLEBUTTON, 401, FALSE);
  ClickButton(bar, 401);
  Expect({"click 401"});
}

TEST_F(ToolBarTest, MessagesAnswerAndRefuseMalformedInput)
{
  HWND bar = Bar(0, {Button(1, TBSTYLE_BUTTON, 0, "新建"), Button(0, TBSTYLE_SEP), Button(2, TBSTYLE_CHECK, 1)});
  TBBUTTONINFO bad;
  bad.cbSize = 4;
  bad.dwMask = TBIF_TEXT;
  RECT r;
  POINT far{2000, 2000};
  struct Case {
    const char* what;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT answer;
  } refused[] = {
      {"no buttons", TB_ADDBUTTONS, 1, 0, FALSE},
      {"a button out of range", TB_DELETEBUTTON, 9, 0, FALSE},
      {"a rectangle with no place for it", TB_GETITEMRECT, 0, 0, FALSE},
      {"an unknown command's rectangle", TB_GETRECT, 77, reinterpret_cast<LPARAM>(&r), FALSE},
      {"an unknown command's state", TB_GETSTATE, 77, 0, -1},
      {"an unknown command enabled", TB_ENABLEBUTTON, 77, TRUE, FALSE},
      {"a button info of the wrong size", TB_GETBUTTONINFO, 1, reinterpret_cast<LPARAM>(&bad), -1},
      {"a button size of nothing", TB_SETBUTTONSIZE, 0, MAKELPARAM(0, 20), FALSE},
      {"strings from resources", TB_ADDSTRING, 1, reinterpret_cast<LPARAM>("x\0"), -1},
      {"a point off every button", TB_HITTEST, 0, reinterpret_cast<LPARAM>(&far), -4},
      {"an unknown command's text", TB_GETBUTTONTEXT, 77, 0, -1},
  };
  for (const Case& k : refused) EXPECT_EQ(SendMessage(bar, k.msg, k.wParam, k.lParam), k.answer) << k.what;
  EXPECT_EQ(SendMessage(bar, TB_BUTTONCOUNT, 0, 0), 3);

  // Texts by index from TB_ADDSTRING or copied from a pointer; getting one keeps to the buffer.
  EXPECT_EQ(SendMessage(bar, TB_ADDSTRING, 0, reinterpret_cast<LPARAM>("打印\0刷新\0")), 0);
  TBBUTTON pooled = Button(3, TBSTYLE_BUTTON, 2);
  pooled.iString = 1;
  EXPECT_TRUE(SendMessage(bar, TB_INSERTBUTTON, 1, reinterpret_cast<LPARAM>(&pooled)));
  EXPECT_EQ(SendMessage(bar, TB_COMMANDTOINDEX, 3, 0), 1);
  EXPECT_EQ(SendMessage(bar, TB_COMMANDTOINDEX, 2, 0), 3);
  char text[8] = {};
  EXPECT_EQ(SendMessage(bar, TB_GETBUTTONTEXT, 3, reinterpret_cast<LPARAM>(text)), 4);
  EXPECT_STREQ(text, "刷新");
  TBBUTTONINFO bi;
  bi.dwMask = TBIF_TEXT | TBIF_STATE | TBIF_IMAGE;
  bi.pszText = text;
  bi.cchText = 3;
  EXPECT_EQ(SendMessage(bar, TB_GETBUTTONINFO, 1, reinterpret_cast<LPARAM>(&bi)), 0);
  EXPECT_STREQ(text, "新") << "cut to cchText with its zero";
  EXPECT_EQ(bi.fsState, TBSTATE_ENABLED);
  bi.dwMask = TBIF_TEXT | TBIF_BYINDEX;
  bi.pszText = const_cast<char*>("合同管理");
  EXPECT_TRUE(SendMessage(bar, TB_SETBUTTONINFO, 3, reinterpret_cast<LPARAM>(&bi)));
  EXPECT_EQ(SendMessage(bar, TB_GETBUTTONTEXT, 2, 0), 8);
  TBBUTTON got;
  EXPECT_TRUE(SendMessage(bar, TB_GETBUTTON, 3, reinterpret_cast<LPARAM>(&got)));
  EXPECT_EQ(got.idCommand, 2);
  EXPECT_STREQ(reinterpret_cast<const char*>(got.iString), "合同管理");

  // Hit tests: a button's index, a separator's as -1 less it.
  RECT sep, second;
  ASSERT_TRUE(SendMessage(bar, TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&sep)));
  ASSERT_TRUE(SendMessage(bar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second)));
  POINT onSep{sep.left + 2, sep.top + 2}, onSecond{second.left + 2, second.top + 2};
  EXPECT_EQ(SendMessage(bar, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&onSep)), -3);
  EXPECT_EQ(SendMessage(bar, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&onSecond)), 1);

  // Hiding takes the button out of the row; deleting moves the rest along.
  EXPECT_TRUE(SendMessage(bar, TB_HIDEBUTTON, 3, TRUE));
  EXPECT_FALSE(SendMessage(bar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r)));
  RECT moved;
  SendMessage(bar, TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&moved));
  EXPECT_EQ(moved.left, second.left);
  EXPECT_TRUE(SendMessage(bar, TB_DELETEBUTTON, 0, 0));
  EXPECT_EQ(SendMessage(bar, TB_COMMANDTOINDEX, 2, 0), 2);

  // TB_AUTOSIZE: the parent's width at its top, the height of the buttons below the divider.
  SendMessage(bar, TB_AUTOSIZE, 0, 0);
  RECT w, pc;
  GetWindowRect(bar, &w);
  GetClientRect(Parent, &pc);
  EXPECT_EQ(w.right - w.left, pc.right);
  EXPECT_EQ(w.top, 0);
  EXPECT_EQ(w.bottom - w.top, 2 + HIWORD(SendMessage(bar, TB_GETBUTTONSIZE, 0, 0)));
}

TEST_F(ToolBarTest, TipsAskTheParentAfterTheInitialDelayAndPopWhenThePointerLeaves)
{
  HWND bar = Bar(TBSTYLE_FLAT | TBSTYLE_TOOLTIPS,
                 {Button(101, TBSTYLE_BUTTON, 0, "新建"), Button(102, TBSTYLE_BUTTON, 1, "修改")});
  HWND tip = reinterpret_cast<HWND>(SendMessage(bar, TB_GETTOOLTIPS, 0, 0));
  ASSERT_TRUE(tip);
  TipAnswer = [](int id) { return id == 101 ? std::string("新建合同") : std::string(); };
  const int initial = int(GetDoubleClickTime());
  MoveOver(bar, 101);
  Headless::AdvanceTime(DWORD(initial - 1));
  Pump();
  EXPECT_FALSE(IsWindowVisible(tip)) << "not before the initial delay";
  Expect({});
  Headless::AdvanceTime(1);
  Pump();
  EXPECT_TRUE(IsWindowVisible(tip));
  Expect({"tip 101", "show 101"});
  EXPECT_EQ(TipText(tip), "新建合同");
  EXPECT_EQ(GetActiveWindow(), Parent) << "the tip never takes the activation";
  RECT tr, br = ItemRectOf(bar, 101);
  GetWindowRect(tip, &tr);
  POINT below{br.left, br.bottom};
  ClientToScreen(bar, &below);
  EXPECT_GT(tr.top, below.y - 12) << "below the pointer";

  // The pointer leaves the bar: the tip pops at once.
  InputQueue::MouseMove(600, 400);
  Pump();
  EXPECT_FALSE(IsWindowVisible(tip));
  Expect({"pop 101"});

  // The parent answers nothing for a button whose text shows: no tip. With the texts hidden
  // (no text rows), the button's own text is the tip.
  MoveOver(bar, 102);
  Headless::AdvanceTime(DWORD(initial));
  Pump();
  EXPECT_FALSE(IsWindowVisible(tip));
  Expect({"tip 102"});
  InputQueue::MouseMove(600, 400);
  Pump();
  SendMessage(bar, TB_SETMAXTEXTROWS, 0, 0);
  MoveOver(bar, 102);
  Headless::AdvanceTime(DWORD(initial));
  Pump();
  EXPECT_TRUE(IsWindowVisible(tip));
  EXPECT_EQ(TipText(tip), "修改");
  Expect({"tip 102", "show 102"});

  // A press pops the tip; it stays away while the pointer stays on the button.
  RECT r = ItemRectOf(bar, 102);
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(bar, &p);
  InputQueue::MouseDown(InputQueue::Button::Left, p.x, p.y);
  Pump();
  EXPECT_FALSE(IsWindowVisible(tip));
  InputQueue::MouseUp(InputQueue::Button::Left, p.x, p.y);
  InputQueue::MouseMove(p.x + 1, p.y);
  Headless::AdvanceTime(DWORD(initial) * 2);
  Pump();
  EXPECT_FALSE(IsWindowVisible(tip));
  Expect({"pop 102", "command 102", "click 102"});

  DestroyWindow(bar);
  EXPECT_FALSE(IsWindow(tip)) << "the bar's own tips go with it";
}

TEST_F(ToolBarTest, ButtonsInEveryStateAreDrawnInTheClassicLook)
{
  HIMAGELIST images = Glyphs({RGB(200, 0, 0), RGB(0, 140, 0), RGB(0, 0, 200), RGB(200, 120, 0)});
  HIMAGELIST greys = Glyphs({RGB(90, 110, 140), RGB(90, 110, 140), RGB(90, 110, 140), RGB(90, 110, 140)});
  // Flat, with texts below the images: normal, hot, pressed, checked, disabled (embossed),
  // disabled from the disabled list, a split drop-down held at its arrow, a whole drop-down.
  HWND flat = Bar(TBSTYLE_FLAT | CCS_NORESIZE | CCS_NOPARENTALIGN,
                  {Button(1, TBSTYLE_BUTTON, 0, "普通"), Button(2, TBSTYLE_BUTTON, 1, "热点"),
                   Button(3, TBSTYLE_BUTTON, 2, "按下", TBSTATE_ENABLED | TBSTATE_PRESSED),
                   Button(4, TBSTYLE_CHECK, 3, "选中", TBSTATE_ENABLED | TBSTATE_CHECKED), Button(0, TBSTYLE_SEP),
                   Button(5, TBSTYLE_BUTTON, 0, "禁用", 0), Button(6, TBSTYLE_DROPDOWN, 1, "新建"),
                   Button(7, TBSTYLE_DROPDOWN | BTNS_WHOLEDROPDOWN, 2, "高级")},
                  TBSTYLE_EX_DRAWDDARROWS, images);
  SetWindowPos(flat, nullptr, 10, 10, 520, 44, SWP_NOZORDER);
  SendMessage(flat, TB_SETHOTITEM, 1, 0);
  // The classic raised bar in list style with its disabled list set.
  HWND list = Bar(TBSTYLE_LIST | CCS_NORESIZE | CCS_NOPARENTALIGN,
                  {Button(11, TBSTYLE_BUTTON, 0, "保存"),
                   Button(12, TBSTYLE_CHECK, 1, "显示网格", TBSTATE_ENABLED | TBSTATE_CHECKED),
                   Button(13, TBSTYLE_BUTTON, 2, "删除", 0)},
                  0, images);
  SendMessage(list, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(greys));
  SetWindowPos(list, nullptr, 10, 70, 360, 28, SWP_NOZORDER);
  // A wrapping bar 80 pixels wide: three buttons a row, its height fitted to two rows.
  HWND wrapped =
      Bar(TBSTYLE_FLAT | TBSTYLE_WRAPABLE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
          {Button(21, 0, 0), Button(22, 0, 1), Button(23, 0, 2), Button(24, 0, 3), Button(25, 0, 0), Button(26, 0, 1)},
          0, images);
  SetWindowPos(wrapped, nullptr, 450, 70, 80, 10, SWP_NOZORDER);
  SendMessage(wrapped, TB_AUTOSIZE, 0, 0);
  EXPECT_EQ(SendMessage(wrapped, TB_GETROWS, 0, 0), 2);
  RECT wr;
  GetWindowRect(wrapped, &wr);
  int rowHeight = HIWORD(SendMessage(wrapped, TB_GETBUTTONSIZE, 0, 0));
  EXPECT_EQ(rowHeight, 16 + 7) << "a 16-pixel image with the classic padding";
  EXPECT_EQ(wr.bottom - wr.top, 2 * rowHeight);
  EXPECT_EQ(wr.right - wr.left, 80);
  EXPECT_EQ(ItemRectOf(wrapped, 24).top, rowHeight);

  // The drop-down's arrow held down while the parent draws the picture.
  DropAnswer = [&](const NMTOOLBAR&) {
    SavePng("commctrl_toolbar_dropped");
    return TBDDRET_DEFAULT;
  };
  ClickButton(flat, 6, true);
  Expect({"dropdown 6", "click 6"});
  SendMessage(flat, TB_SETHOTITEM, 1, 0);

  // A tip with a maximum width, word-wrapped.
  HWND tip = CreateWindowEx(0, TOOLTIPS_CLASS, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, Parent, nullptr, nullptr,
                            nullptr);
  TOOLINFO ti;
  ti.uFlags = TTF_SUBCLASS;
  ti.hwnd = list;
  ti.uId = 1;
  GetClientRect(list, &ti.rect);
  ti.lpszText = const_cast<char*>("保存当前合同到数据库，然后关闭编辑窗口");
  SendMessage(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti));
  SendMessage(tip, TTM_SETMAXTIPWIDTH, 0, 120);
  POINT at{300, 80};
  InputQueue::MouseMove(at.x, at.y);
  Pump();
  Headless::AdvanceTime(GetDoubleClickTime());
  Pump();
  ASSERT_TRUE(IsWindowVisible(tip));
  SendMessage(flat, TB_SETHOTITEM, 1, 0);
  SavePng("commctrl_toolbar");

  const COLORREF face = GetSysColor(COLOR_BTNFACE), hi = GetSysColor(COLOR_BTNHIGHLIGHT),
                 shadow = GetSysColor(COLOR_BTNSHADOW), text = GetSysColor(COLOR_BTNTEXT);
  RECT normal = ItemRectOf(flat, 1), hot = ItemRectOf(flat, 2), pressed = ItemRectOf(flat, 3),
       checked = ItemRectOf(flat, 4), disabled = ItemRectOf(flat, 5), split = ItemRectOf(flat, 6),
       whole = ItemRectOf(flat, 7);
  EXPECT_EQ(Px(flat, normal.left, normal.top + 5), face) << "a flat button has no frame at rest";
  EXPECT_EQ(Px(flat, hot.left, hot.top + 5), hi) << "hot: raised";
  EXPECT_EQ(Px(flat, hot.right - 1, hot.top + 5), shadow);
  EXPECT_EQ(Px(flat, pressed.left, pressed.top + 5), shadow) << "pressed: sunken";
  EXPECT_EQ(Px(flat, pressed.right - 1, pressed.top + 5), hi);
  EXPECT_EQ(Px(flat, checked.left, checked.top + 5), shadow) << "checked: sunken";
  int lit = Count(flat, {checked.left + 1, checked.top + 1, checked.left + 4, checked.top + 4}, hi);
  EXPECT_TRUE(lit == 4 || lit == 5) << "and half-toned: " << lit;
  EXPECT_EQ(Count(flat, normal, RGB(200, 0, 0)), 100) << "the image's own colours";
  EXPECT_EQ(Count(flat, disabled, RGB(200, 0, 0)), 0) << "a disabled image is embossed";
  EXPECT_GT(Count(flat, disabled, shadow), 80);
  EXPECT_GT(Count(flat, disabled, hi), 15);
  RECT arrow{split.right - ToolBarModel::ArrowWidth, split.top, split.right, split.bottom};
  EXPECT_EQ(Count(flat, arrow, text), 9) << "the drop-down arrow's three rows";
  EXPECT_EQ(Count(flat, {whole.right - ToolBarModel::ArrowWidth, whole.top, whole.right, whole.bottom}, text), 9);
  EXPECT_EQ(Count(list, ItemRectOf(list, 13), RGB(90, 110, 140)), 100) << "the disabled list's image";
  EXPECT_EQ(Px(list, ItemRectOf(list, 11).left, 5), hi) << "a raised classic button";
  RECT tr;
  GetWindowRect(tip, &tr);
  EXPECT_LE(tr.right - tr.left, 120 + 8);
  EXPECT_GT(tr.bottom - tr.top, 30) << "word-wrapped into rows";
  EXPECT_EQ(Headless::ScreenPixel(tr.left + 2, tr.top + 2), GetSysColor(COLOR_INFOBK));
  EXPECT_EQ(Headless::ScreenPixel(tr.left, tr.top + 5), GetSysColor(COLOR_INFOTEXT)) << "the frame";
  DestroyWindow(tip);
  ImageList_Destroy(images);
  ImageList_Destroy(greys);
}
