// A headless window fixture: a window class whose procedure logs every message and lets a
// test answer chosen messages for a chosen window.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win/WinUser.h"

struct LoggedMessage {
  HWND wnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

class WinTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // A window of the logging class ("TestWnd", CS_DBLCLKS, white background).
  HWND Make(DWORD style, int x, int y, int w, int h, HWND parent = nullptr, DWORD exStyle = 0, int id = 0);
  // Answers `msg` for `wnd` with `fn` (instead of the default handling).
  void On(HWND wnd, UINT msg, std::function<LRESULT(WPARAM, LPARAM)> fn);
  // The logged messages among `which` (all when empty), as (window, message) pairs.
  std::vector<std::pair<HWND, UINT>> Seq(const std::vector<UINT>& which = {}) const;
  std::vector<LoggedMessage> Of(UINT msg) const;
  int Count(HWND wnd, UINT msg) const;
  void ClearLog();
  // Dispatches everything queued now (no time passes); answers the number dispatched.
  int Pump();
};

// The procedure of the logging class, for tests that subclass.
LRESULT TestWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Logs a message without handling it (for procedures that hand it to another default).
void LogMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
