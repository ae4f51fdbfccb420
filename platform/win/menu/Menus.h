// Menus: menu bars and pop-up menus, their items, and TrackPopupMenu.
//
// Owner-drawn items (MF_OWNERDRAW) of pop-up menus are measured (WM_MEASUREITEM) and drawn
// (WM_DRAWITEM, with the menu's DC) by the window that tracks the menu, CtlType ODT_MENU,
// itemID the command (0 for an item with a sub-menu) and itemData the item's MIIM_DATA; the
// text stays the item's, for its mnemonic. The sub-menu arrow is drawn over the owner's
// drawing. Menu bar items are always drawn by the system.
//
// A menu owns its sub-menus: DestroyMenu frees them too, and a window's menu bar is freed with
// the window. Positions count from 0; MF_BYCOMMAND finds an item by its id, searching
// sub-menus as well. Calls on a stale menu answer 0 / FALSE / -1 as stated.
#pragma once

#include "platform/rtl/System.h"
#include "platform/win/WinUser.h"

constexpr UINT MF_STRING = 0x0, MF_BYCOMMAND = 0x0, MF_ENABLED = 0x0, MF_UNCHECKED = 0x0, MF_GRAYED = 0x1,
               MF_DISABLED = 0x2, MF_CHECKED = 0x8, MF_POPUP = 0x10, MF_MENUBREAK = 0x40, MF_HILITE = 0x80,
               MF_OWNERDRAW = 0x100, MF_BYPOSITION = 0x400, MF_SEPARATOR = 0x800, MF_DEFAULT = 0x1000;
constexpr UINT TPM_LEFTALIGN = 0x0, TPM_CENTERALIGN = 0x4, TPM_RIGHTALIGN = 0x8, TPM_TOPALIGN = 0x0,
               TPM_VCENTERALIGN = 0x10, TPM_BOTTOMALIGN = 0x20, TPM_LEFTBUTTON = 0x0, TPM_RIGHTBUTTON = 0x2,
               TPM_NONOTIFY = 0x80, TPM_RETURNCMD = 0x100;
constexpr UINT MIIM_STATE = 0x1, MIIM_ID = 0x2, MIIM_SUBMENU = 0x4, MIIM_DATA = 0x20, MIIM_STRING = 0x40,
               MIIM_FTYPE = 0x100;
constexpr UINT MFT_STRING = 0x0, MFT_MENUBREAK = 0x40, MFT_OWNERDRAW = 0x100, MFT_SEPARATOR = 0x800;
constexpr UINT MFS_ENABLED = 0x0, MFS_UNCHECKED = 0x0, MFS_GRAYED = 0x3, MFS_DISABLED = MFS_GRAYED, MFS_CHECKED = 0x8,
               MFS_HILITE = 0x80, MFS_DEFAULT = 0x1000;

// An item's parts for GetMenuItemInfo / SetMenuItemInfo; fMask says which count (MIIM_FTYPE,
// MIIM_STATE, MIIM_ID, MIIM_SUBMENU (read only), MIIM_DATA). The text goes through AppendMenu,
// ModifyMenu and GetMenuString.
struct MENUITEMINFOA {
  UINT fMask = 0;
  UINT fType = 0;   // MFT_
  UINT fState = 0;  // MFS_
  UINT_PTR wID = 0;
  HMENU hSubMenu = nullptr;
  UINT_PTR dwItemData = 0;
};

namespace Windows {

HMENU CreateMenu();
HMENU CreatePopupMenu();
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
// `idOrSub` is the item's id, or the sub-menu (taken over) with MF_POPUP. Text is CP936; "&"
// marks the mnemonic.
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrSub, const char* text);
BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSub, const char* text);
BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSub, const char* text);
// DeleteMenu frees an item's sub-menu; RemoveMenu hands it back to the caller.
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
int GetMenuItemCount(HMENU menu);              // -1 for a stale menu
UINT GetMenuItemID(HMENU menu, int position);  // 0xFFFFFFFF for a sub-menu or a bad position
HMENU GetSubMenu(HMENU menu, int position);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);  // 0xFFFFFFFF when there is no item
// Answer the previous state, or 0xFFFFFFFF when there is no item.
UINT EnableMenuItem(HMENU menu, UINT item, UINT flags);
UINT CheckMenuItem(HMENU menu, UINT item, UINT flags);
int GetMenuString(HMENU menu, UINT item, char* buffer, int maxCount, UINT flags);
BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA* info);
BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info);

// The window's menu bar (windows that are not children only); the old one is handed back.
BOOL SetMenu(HWND wnd, HMENU menu);
HMENU GetMenu(HWND wnd);
BOOL DrawMenuBar(HWND wnd);
// The bar item's rectangle in screen coordinates.
BOOL GetMenuItemRect(HWND wnd, HMENU menu, UINT position, RECT* out);

// Shows the pop-up menu at (x, y) on the screen and runs its modal loop until an item is
// chosen (mouse, Enter, a mnemonic) or the menu is cancelled (Escape, a click elsewhere,
// EndMenu). With TPM_RETURNCMD answers the chosen id (0 when cancelled); otherwise posts
// WM_COMMAND(id) to `owner` and answers whether an item was chosen. The owner gets
// WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_MENUSELECT and WM_EXITMENULOOP.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* reserved2);
BOOL EndMenu();

}  // namespace Windows

namespace Menus {
// For the window layer: the height of the menu bar of a window (0 without one), its painting
// in the non-client area, and the bar item under a screen point (-1 for none).
int BarHeight(HWND wnd);
void PaintBar(HWND wnd, HDC windowDC, const RECT& barRect);
int BarItemAt(HWND wnd, POINT screen);
// Opens the bar item's sub-menu (or sends its command), as a click on it does. While the
// pop-up is open, the mouse moving onto another enabled bar item with a pop-up, or Left / Right
// in the bar item's own pop-up, closes it and opens that item's (items that send a command
// are passed over); WM_INITMENU comes once for the whole session.
void ActivateBarItem(HWND wnd, int position);
void WindowGone(HWND wnd);
void Reset();

// A maximised MDI child shown in its frame's menu bar: the child's system-menu box at the bar's
// left and its minimise, restore and close buttons at the right (the frame's menu itself is
// not changed). Null takes the decoration away. Shown only while the frame has a menu bar.
void SetMdiChild(HWND frame, HWND child);
HWND MdiChild(HWND frame);
// HTSYSMENU, HTMINBUTTON, HTMAXBUTTON (the restore button) or HTCLOSE for a screen point on
// the decoration; HTNOWHERE elsewhere.
LRESULT MdiDecorAt(HWND frame, POINT screen);
// A press on a part: the buttons send the child WM_SYSCOMMAND (SC_MINIMIZE, SC_RESTORE,
// SC_CLOSE) when released over them; the box opens the child's system menu and sends what is
// chosen.
void ClickMdiDecor(HWND frame, LRESULT part);
}  // namespace Menus
