#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/menu/Menus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/tests/WinTestUtil.h"
#include "platform/win/window/Windows.h"

using namespace Windows;
using InputQueue::Button;

namespace {
// File menu: 101 "&Open", separator, 102 "&Save" (greyed), "E&xport" -> {201 "&PDF"}.
HMENU FileMenu()
{
  HMENU m = CreatePopupMenu();
  AppendMenu(m, MF_STRING, 101, "&Open");
  AppendMenu(m, MF_SEPARATOR, 0, nullptr);
  AppendMenu(m, MF_STRING | MF_GRAYED, 102, "&Save");
  HMENU sub = CreatePopupMenu();
  AppendMenu(sub, MF_STRING, 201, "&PDF");
  AppendMenu(m, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "E&xport");
  return m;
}
}  // namespace

TEST_F(WinTest, MenuItemsAreFoundByPositionOrByIdInSubMenus)
{
  HMENU m = FileMenu();
  EXPECT_EQ(GetMenuItemCount(m), 4);
  EXPECT_EQ(GetMenuItemID(m, 0), 101u);
  EXPECT_EQ(GetMenuItemID(m, 3), 0xFFFFFFFFu);
  HMENU sub = GetSubMenu(m, 3);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(GetMenuState(m, 102, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
  EXPECT_EQ(CheckMenuItem(m, 201, MF_BYCOMMAND | MF_CHECKED), 0u);
  EXPECT_EQ(GetMenuState(sub, 0, MF_BYPOSITION) & MF_CHECKED, MF_CHECKED);
  EXPECT_EQ(EnableMenuItem(m, 999, MF_GRAYED), 0xFFFFFFFFu);
  char buf[16];
  EXPECT_EQ(GetMenuString(m, 101, buf, sizeof buf, MF_BYCOMMAND), 5);
  EXPECT_STREQ(buf, "&Open");
  EXPECT_TRUE(InsertMenu(m, 0, MF_BYPOSITION | MF_STRING, 100, "&New"));
  EXPECT_EQ(GetMenuItemID(m, 0), 100u);
  EXPECT_TRUE(DeleteMenu(m, 4, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(sub)) << "deleting an item frees its sub-menu";
  EXPECT_TRUE(DestroyMenu(m));
  EXPECT_EQ(GetMenuItemCount(m), -1);
}

class MenuTest : public WinTest {
protected:
  HWND owner = nullptr;
  void SetUp() override
  {
    WinTest::SetUp();
    owner = Make(WS_POPUP | WS_VISIBLE, 0, 0, 300, 300);
    Pump();
    ClearLog();
  }
};

TEST_F(MenuTest, KeysMoveOverSeparatorsAndEnterChooses)
{
  HMENU m = FileMenu();
  InputQueue::KeyDown(VK_DOWN);  // Open
  InputQueue::KeyDown(VK_DOWN);  // over the separator to Save (greyed)
  InputQueue::KeyDown(VK_UP);    // back to Open
  InputQueue::KeyDown(VK_RETURN);
  EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD, 50, 50, 0, owner, nullptr), 101);
  EXPECT_EQ(Count(owner, WM_INITMENUPOPUP), 1);
  EXPECT_EQ(Count(owner, WM_ENTERMENULOOP), 1);
  EXPECT_EQ(Count(owner, WM_EXITMENULOOP), 1);
  EXPECT_EQ(Count(owner, WM_KEYDOWN), 0) << "the menu takes the keys";
  EXPECT_EQ(GetCapture(), nullptr);
  DestroyMenu(m);
}

TEST_F(MenuTest, AClickChoosesAndPostsTheCommandAndAGreyedItemIsNotChosen)
{
  HMENU m = FileMenu();
  // Items sit 2 pixels below the top, 20 pixels each; the separator is 8.
  InputQueue::MouseDown(Button::Left, 60, 50 + 2 + 20 + 8 + 5);  // Save: greyed
  InputQueue::MouseUp(Button::Left, 60, 50 + 2 + 20 + 8 + 5);
  InputQueue::MouseDown(Button::Left, 60, 50 + 2 + 5);  // Open
  InputQueue::MouseUp(Button::Left, 60, 50 + 2 + 5);
  EXPECT_TRUE(TrackPopupMenu(m, 0, 50, 50, 0, owner, nullptr));
  Pump();
  auto cmds = Of(WM_COMMAND);
  ASSERT_EQ(cmds.size(), 1u);
  EXPECT_EQ(LOWORD(cmds[0].wParam), 101);
  DestroyMenu(m);
}

TEST_F(MenuTest, AClickElsewhereOrEscapeCancels)
{
  HMENU m = FileMenu();
  InputQueue::MouseDown(Button::Left, 250, 250);
  EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD, 50, 50, 0, owner, nullptr), 0);
  InputQueue::KeyDown(VK_ESCAPE);
  EXPECT_FALSE(TrackPopupMenu(m, 0, 50, 50, 0, owner, nullptr));
  Pump();
  EXPECT_EQ(Of(WM_COMMAND).size(), 0u);
  // A mnemonic opens the sub-menu, whose own mnemonic chooses.
  InputQueue::KeyDown('X');
  InputQueue::KeyDown('P');
  EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD, 50, 50, 0, owner, nullptr), 201);
  DestroyMenu(m);
}

TEST_F(MenuTest, TheMenuBarTakesRoomAboveTheClientAndItsItemsOpenOnClick)
{
  HWND frame = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
  RECT before;
  GetClientRect(frame, &before);
  HMENU bar = CreateMenu();
  AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(FileMenu()), "&File");
  AppendMenu(bar, MF_STRING, 300, "&Help");
  ASSERT_TRUE(SetMenu(frame, bar));
  RECT after;
  GetClientRect(frame, &after);
  EXPECT_EQ(before.bottom - after.bottom, 19);
  RECT help;
  ASSERT_TRUE(GetMenuItemRect(frame, bar, 1, &help));
  EXPECT_EQ(help.top, 100 + 4 + 19);
  EXPECT_EQ(SendMessage(frame, WM_NCHITTEST, 0, MAKELPARAM(help.left + 2, help.top + 2)), HTMENU);
  Pump();
  ClearLog();
  InputQueue::MouseDown(Button::Left, help.left + 2, help.top + 2);
  Pump();
  auto cmds = Of(WM_COMMAND);
  ASSERT_EQ(cmds.size(), 1u);
  EXPECT_EQ(LOWORD(cmds[0].wParam), 300);
  // Clicking "File" opens its pop-up below the item; Enter on the first item chooses it.
  RECT file;
  GetMenuItemRect(frame, bar, 0, &file);
  ClearLog();
  InputQueue::MouseDown(Button::Left, file.left + 2, file.top + 2);
  InputQueue::KeyDown(VK_DOWN);
  InputQueue::KeyDown(VK_RETURN);
  Pump();
  cmds = Of(WM_COMMAND);
  ASSERT_EQ(cmds.size(), 1u);
  EXPECT_EQ(LOWORD(cmds[0].wParam), 101);
  DestroyWindow(frame);
  EXPECT_FALSE(IsMenu(bar)) << "the window's menu bar goes with it";
}

TEST_F(MenuTest, OwnerDrawnItemsAreMeasuredAndDrawnByTheOwnerWithTheirData)
{
  HMENU m = FileMenu();
  MENUITEMINFOA info;
  info.fMask = MIIM_FTYPE | MIIM_DATA;
  info.fType = MFT_OWNERDRAW;
  info.dwItemData = 0xABCD;
  ASSERT_TRUE(SetMenuItemInfo(m, 0, TRUE, &info));
  info.dwItemData = 0x1234;
  ASSERT_TRUE(SetMenuItemInfo(m, 3, TRUE, &info));  // the item with the sub-menu
  EXPECT_FALSE(SetMenuItemInfo(m, 9, TRUE, &info));
  MENUITEMINFOA back;
  back.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID | MIIM_STATE;
  ASSERT_TRUE(GetMenuItemInfo(m, 101, FALSE, &back));
  EXPECT_EQ(back.fType, MFT_OWNERDRAW);
  EXPECT_EQ(back.dwItemData, 0xABCDu);
  EXPECT_EQ(back.wID, 101u);
  EXPECT_EQ(GetMenuState(m, 0, MF_BYPOSITION) & MF_OWNERDRAW, MF_OWNERDRAW);
  ModifyMenu(m, 101, MF_BYCOMMAND | MF_STRING | MF_OWNERDRAW, 101, "&Open");
  ASSERT_TRUE(GetMenuItemInfo(m, 0, TRUE, &back));
  EXPECT_EQ(back.dwItemData, 0xABCDu) << "changing the text keeps the data";

  struct Drawn {
    UINT Id, State;
    UINT_PTR Data;
    RECT Rect;
  };
  std::vector<Drawn> drawn;
  On(owner, WM_MEASUREITEM, [](WPARAM, LPARAM lp) {
    auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    EXPECT_EQ(mi->CtlType, ODT_MENU);
    mi->itemWidth = 260;
    mi->itemHeight = 30;
    return LRESULT(TRUE);
  });
  On(owner, WM_DRAWITEM, [&](WPARAM, LPARAM lp) {
    auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
    drawn.push_back({di->itemID, di->itemState, di->itemData, di->rcItem});
    return LRESULT(TRUE);
  });
  // Keys come before painting: the menu is painted when the first item lights up.
  On(owner, WM_MENUSELECT, [](WPARAM, LPARAM) {
    UpdateWindow(WindowFromPoint(POINT{20, 20}));
    return LRESULT(0);
  });
  InputQueue::KeyDown(VK_DOWN);
  InputQueue::KeyDown(VK_RETURN);
  EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD, 10, 10, 0, owner, nullptr), 101);
  ASSERT_FALSE(drawn.empty());
  bool litOpen = false, export_ = false;
  for (const Drawn& d : drawn) {
    if (d.Id == 101) {
      EXPECT_EQ(d.Data, 0xABCDu);
      EXPECT_EQ(d.Rect.bottom - d.Rect.top, 30);
      EXPECT_GE(d.Rect.right - d.Rect.left, 260);
      litOpen |= (d.State & ODS_SELECTED) != 0;
    } else {
      EXPECT_EQ(d.Id, 0u) << "an item with a sub-menu has no command";
      EXPECT_EQ(d.Data, 0x1234u);
      export_ = true;
    }
  }
  EXPECT_TRUE(litOpen);
  EXPECT_TRUE(export_);
  DestroyMenu(m);
}
