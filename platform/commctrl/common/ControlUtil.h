// What the standard classes share: telling the parent (WM_COMMAND notifications), the font a
// control draws with, and a guard for a DC's state. (Colours: CommCtrl::ControlColor.)
#pragma once

#include "platform/win/WinUser.h"

namespace ControlUtil {

// Registers a standard class (global, with the arrow cursor and one pointer of window data for
// its state) unless it is registered already.
void RegisterControlClass(const char* name, WNDPROC proc, UINT style);

// Sends WM_COMMAND (id, code) with the control in lParam to `to` (the parent when null).
void Notify(HWND ctl, WORD code, HWND to = nullptr);
// The font set by WM_SETFONT, else the default GUI font.
HFONT FontOr(HFONT font);
// The height and average width of a font's characters.
SIZE FontCell(HFONT font);

// Saves a DC's state and puts it back when it goes.
class DCState {
public:
  explicit DCState(HDC dc);
  ~DCState();
  DCState(const DCState&) = delete;
  DCState& operator=(const DCState&) = delete;

private:
  HDC FDC;
  int FSaved;
};

}  // namespace ControlUtil
