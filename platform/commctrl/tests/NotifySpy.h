// Listens to what a test's parent window receives from common controls: each WM_NOTIFY and
// scroll message becomes a short text, and the test chooses the answer to WM_NOTIFY.
// Install starts afresh (empty log, answer 0) on the given parent.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/win/WinUser.h"

class NotifySpy {
public:
  // `describe` turns a notification into its text (null: its code alone, not logged when it
  // answers an empty text).
  void Install(HWND parent, std::function<std::string(const NMHDR*)> describe);
  std::vector<std::string> Seen;
  // The answer to the next WM_NOTIFY (0: go on).
  std::function<LRESULT(const NMHDR*)> Answer;

  static LRESULT Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
  std::function<std::string(const NMHDR*)> FDescribe;
  WNDPROC FOld = nullptr;
};
