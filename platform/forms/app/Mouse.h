// TMouse: what the program asks of the mouse: where it is, which window holds it, how far it
// must move before a press becomes a drag, and how many lines a wheel notch scrolls.
#pragma once

#include "platform/rtl/System.h"
#include "platform/win/WinUser.h"

class TMouse {
public:
  TMouse();

  // The pointer in screen coordinates; setting it moves the pointer.
  POINT GetCursorPos() const;
  void SetCursorPos(const POINT& Value);
  // The window that holds the mouse capture, null when none; setting null releases it.
  HWND GetCapture() const;
  void SetCapture(HWND Value);
  // How many pixels a pressed button must move before a drag begins (5 by default).
  int GetDragThreshold() const { return FDragThreshold; }
  void SetDragThreshold(int Value) { FDragThreshold = Value; }
  bool GetMousePresent() const { return true; }
  bool GetWheelPresent() const;
  // Lines one wheel notch scrolls, from the system's setting when the object was made.
  int GetWheelScrollLines() const { return FScrollLines; }
  // The system's setting may change while the program runs.
  void SettingChanged();

private:
  int FDragThreshold = 5;
  int FScrollLines = 3;
};

namespace Controls {
// The program's one mouse object; exists between Forms::InitializeApplication and
// Forms::FinalizeApplication.
extern TMouse* Mouse;
}  // namespace Controls
