// The headless screen with every class of this module registered, and a visible top-level window
// of class `cls` (procedure `proc`) for a fuzz target's controls to live in. Call once.
#pragma once

#include "platform/commctrl/init/InitCommonControls.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/window/Windows.h"

inline HWND MakeFuzzParent(const char* cls, WNDPROC proc)
{
  Headless::Start(640, 480);
  Windows::InitCommonControls();
  WNDCLASSEXA wc;
  wc.lpfnWndProc = proc;
  wc.lpszClassName = cls;
  Windows::RegisterClassEx(&wc);
  return Windows::CreateWindowEx(0, cls, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                                 nullptr, nullptr);
}
