// A headless fixture for the tool bar and tool tips: the common controls registered, the
// parent's notifications logged as short texts ("command 101", "click 101", "dropdown 401",
// "tip 101", "show 101", "pop 101") with the answers to TBN_DROPDOWN and TTN_GETDISPINFO chosen
// by the test, and helpers that make bars, move the pointer and read pixels.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/commctrl/tests/CtlTest.h"
#include "platform/commctrl/tests/NotifySpy.h"
#include "platform/commctrl/toolbar/ToolBar.h"

class ToolTest : public CtlTest {
public:
  void SetUp() override;
  void TearDown() override;

  static TBBUTTON Button(int command, BYTE style, int image = 0, const char* text = nullptr,
                         BYTE state = TBSTATE_ENABLED);
  // A tool bar (id 60) with these buttons, extended style and image list.
  HWND Bar(DWORD style, const std::vector<TBBUTTON>& buttons, DWORD exStyle = 0, HIMAGELIST images = nullptr);
  RECT ItemRectOf(HWND bar, int command);
  // A click on a button's middle, or on its drop-down arrow.
  void ClickButton(HWND bar, int command, bool arrow = false);
  // Moves the pointer onto a button's middle.
  void MoveOver(HWND bar, int command);
  // Checks what the parent was told since the last call, then forgets it.
  void Expect(const std::vector<std::string>& want, const char* what = "");
  // The text a tool tips window shows.
  static std::string TipText(HWND tip);
  // 16 by 16 images, each a 10 by 10 square of its colour in the middle, the rest transparent.
  static HIMAGELIST Glyphs(std::initializer_list<COLORREF> colours);
  static COLORREF Px(HWND wnd, int x, int y);
  // Pixels of a client rectangle that are exactly `c`.
  static int Count(HWND wnd, RECT r, COLORREF c);

  NotifySpy Spy;
  std::function<LRESULT(const NMTOOLBAR&)> DropAnswer;
  // The parent's answer to TTN_GETDISPINFO for a tool id (empty: none).
  std::function<std::string(int)> TipAnswer;
};
