// A headless fixture for EDIT tests: a visible top-level parent of the logging class and
// EDIT children made on it, with the notifications they send.
#pragma once

#include <string>
#include <vector>

#include "platform/win/tests/WinTestUtil.h"

class EditTest : public WinTest {
protected:
  void SetUp() override;
  HWND Parent() const { return FParent; }
  // A visible child EDIT (WS_CHILD | WS_VISIBLE | style, WS_EX_CLIENTEDGE) at (10, 10).
  HWND MakeEdit(DWORD style, const std::string& text, int width = 120, int height = 24);
  // The EN_ codes `edit` sent to the parent since the log was cleared, in order.
  std::vector<WORD> Notes(HWND edit) const;

private:
  HWND FParent = nullptr;
};
