// The MDI client window (class "MDICLIENT") and the default procedures of MDI frames and MDI
// children: creating children with WM_MDICREATE, one active child (WM_MDIACTIVATE to the one
// that loses and the one that gains), maximised children (a maximised child stays maximised
// when another is activated, which takes its place), tiling and cascading.
//
// The client keeps its children inside itself: a maximised child fills the client area and
// follows its size, and is shown in the frame: the frame's title reads "Frame - [Child]" (what
// GetWindowText of the frame answers; a title set on the frame meanwhile replaces "Frame"
// when the frame's procedure passes WM_SETTEXT to DefFrameProc), and the frame's menu bar
// carries the child's system-menu box and its minimise, restore and close buttons. Restoring,
// minimising or closing the child gives the frame its own title and bar back.
#pragma once

#include "platform/win/WinUser.h"

constexpr UINT MDITILE_VERTICAL = 0x0, MDITILE_HORIZONTAL = 0x1, MDITILE_SKIPDISABLED = 0x2;
constexpr UINT MDIS_ALLCHILDSTYLES = 0x1;
constexpr WPARAM SC_NEXTWINDOW = 0xF040, SC_PREVWINDOW = 0xF050;

struct CLIENTCREATESTRUCT {
  HMENU hWindowMenu = nullptr;
  UINT idFirstChild = 0;
};

struct MDICREATESTRUCTA {
  const char* szClass = nullptr;
  const char* szTitle = nullptr;
  HINSTANCE hOwner = nullptr;
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT, cx = CW_USEDEFAULT, cy = CW_USEDEFAULT;
  DWORD style = 0;
  LPARAM lParam = 0;
};
using MDICREATESTRUCT = MDICREATESTRUCTA;

namespace Windows {

// For a frame's procedure: resizes the client with the frame, passes the focus to the active
// child, activates a child chosen from the window menu (ids from idFirstChild).
LRESULT DefFrameProc(HWND frame, HWND client, UINT msg, WPARAM wParam, LPARAM lParam);
// For an MDI child's procedure: activation by click or focus, WM_CLOSE through the client,
// WM_SYSCOMMAND SC_MAXIMIZE / SC_RESTORE / SC_MINIMIZE through the client's maximised state,
// a new title carried into the frame's while it is merged.
LRESULT DefMDIChildProc(HWND child, UINT msg, WPARAM wParam, LPARAM lParam);
// For the message loop of a program with an MDI frame: the child keys of the active child,
// Ctrl+F4 (close), Ctrl+F6 and Ctrl+Tab (next child), with Shift the previous one, become its
// WM_SYSCOMMAND. Answers TRUE when the message was one of them (it is not dispatched then).
BOOL TranslateMDISysAccel(HWND client, MSG* msg);

}  // namespace Windows

namespace Mdi {
// Registers "MDICLIENT" when it is not registered; answers whether `className` is it.
bool EnsureClass(const char* className);
}  // namespace Mdi
