// Input contexts: the state of the desktop's input method as each window sees it. Every window
// shares the thread's one default context until it is dissociated (ImmAssociateContext with
// null): then the input method does not serve it. A context is open or closed, and converts to
// the native script or to letters. Text the input method commits (double-byte characters) reaches
// only a focus window whose context is there, open and converting to the native script; keys
// typed directly always arrive.
#pragma once

#include "platform/win/WinUser.h"

struct HIMC__;
using HIMC = HIMC__*;

constexpr DWORD IME_CMODE_ALPHANUMERIC = 0x0, IME_CMODE_NATIVE = 0x1, IME_CMODE_KATAKANA = 0x2,
                IME_CMODE_FULLSHAPE = 0x8, IME_SMODE_NONE = 0x0;

namespace Windows {

// The window's context; null when the input method is dissociated from it (or no window).
HIMC ImmGetContext(HWND wnd);
BOOL ImmReleaseContext(HWND wnd, HIMC imc);
// Associates the context with the window (null dissociates) and answers the previous one.
HIMC ImmAssociateContext(HWND wnd, HIMC imc);
BOOL ImmGetOpenStatus(HIMC imc);
BOOL ImmSetOpenStatus(HIMC imc, BOOL open);
BOOL ImmGetConversionStatus(HIMC imc, DWORD* conversion, DWORD* sentence);
BOOL ImmSetConversionStatus(HIMC imc, DWORD conversion, DWORD sentence);

}  // namespace Windows

namespace Imm {
// The thread's default context (every window's until dissociated).
HIMC DefaultContext();
// Whether committed input-method text may reach the window now.
bool TakesImeText(HWND wnd);
// The default context back open and native (the window layer's reset).
void Reset();
}  // namespace Imm
