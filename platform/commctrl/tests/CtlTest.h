// A headless fixture for the standard classes: the classes registered, a visible parent window
// that logs the notifications it gets (WM_COMMAND codes per control) and answers owner-draw
// requests when asked, and input through the window layer's input queue.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win/WinUser.h"

struct Notification {
  HWND from;
  WORD code;
  bool operator==(const Notification& o) const { return from == o.from && code == o.code; }
};

class CtlTest : public ::testing::Test {
public:
  void SetUp() override;
  void TearDown() override;

  // A child of the parent window; `cls` one of the standard classes.
  HWND Make(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id = 0, DWORD exStyle = 0);
  // The WM_COMMAND codes the parent got from `from` (all controls when null), in order.
  std::vector<WORD> Codes(HWND from = nullptr) const;
  void ClearLog();
  // Dispatches what is queued (input included) until nothing is left.
  void Pump();
  // A click at a point of a window's client area (screen input, so hit testing and capture apply).
  void Click(HWND wnd, int x, int y);
  void Key(int vk);
  void AltKey(int vk);
  // Draws the parent window and its children into a PNG in the build folder.
  void SavePng(const std::string& name);

public:
  HWND Parent = nullptr;
  // The parent's owner-draw handler (WM_DRAWITEM); null paints nothing.
  std::function<void(const DRAWITEMSTRUCT&)> OnDrawItem;
  std::function<void(MEASUREITEMSTRUCT&)> OnMeasureItem;
  // The parent's answer to WM_CTLCOLOR* (null: nothing, the system colours).
  std::function<HBRUSH(UINT msg, HDC dc, HWND ctl)> OnCtlColor;
  std::vector<DRAWITEMSTRUCT> Drawn;
  // WM_HSCROLL / WM_VSCROLL the parent got: message, wParam, lParam, message time.
  struct Scrolled {
    UINT msg;
    WPARAM wParam;
    HWND ctl;
    DWORD time;
  };
  std::vector<Scrolled> Scrolls;
  std::function<void(const Scrolled&)> OnScroll;
  // Button presses that reached the parent itself (through a control that lets the mouse by).
  int ParentClicks = 0;
};
