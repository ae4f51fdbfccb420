#include "platform/win/input/Imm.h"

#include "platform/win/window/WindowData.h"

namespace {

struct InputContext {
  bool open = true;
  DWORD conversion = IME_CMODE_NATIVE;
};

InputContext& Default()
{
  static InputContext context;
  return context;
}

HIMC DefaultHandle() { return reinterpret_cast<HIMC>(&Default()); }

InputContext* Of(HIMC imc) { return imc == DefaultHandle() ? &Default() : nullptr; }

}  // namespace

namespace Windows {

HIMC ImmGetContext(HWND wnd)
{
  WndData* w = WindowData::Get(wnd);
  return w && !w->imeDissociated ? DefaultHandle() : nullptr;
}

BOOL ImmReleaseContext(HWND wnd, HIMC imc) { return WindowData::Get(wnd) && Of(imc); }

HIMC ImmAssociateContext(HWND wnd, HIMC imc)
{
  WndData* w = WindowData::Get(wnd);
  if (!w || (imc && !Of(imc))) return nullptr;
  HIMC previous = w->imeDissociated ? nullptr : DefaultHandle();
  w->imeDissociated = imc == nullptr;
  return previous;
}

BOOL ImmGetOpenStatus(HIMC imc)
{
  InputContext* c = Of(imc);
  return c && c->open;
}

BOOL ImmSetOpenStatus(HIMC imc, BOOL open)
{
  InputContext* c = Of(imc);
  if (!c) return FALSE;
  c->open = open;
  return TRUE;
}

BOOL ImmGetConversionStatus(HIMC imc, DWORD* conversion, DWORD* sentence)
{
  InputContext* c = Of(imc);
  if (!c) return FALSE;
  if (conversion) *conversion = c->conversion;
  if (sentence) *sentence = IME_SMODE_NONE;
  return TRUE;
}

BOOL ImmSetConversionStatus(HIMC imc, DWORD conversion, DWORD sentence)
{
  InputContext* c = Of(imc);
  if (!c) return FALSE;
  c->conversion = conversion;
  return TRUE;
}

}  // namespace Windows

namespace Imm {

bool TakesImeText(HWND wnd)
{
  InputContext* c = Of(Windows::ImmGetContext(wnd));
  return c && c->open && (c->conversion & (IME_CMODE_NATIVE | IME_CMODE_KATAKANA));
}

void Reset() { Default() = InputContext{}; }

HIMC DefaultContext() { return DefaultHandle(); }

}  // namespace Imm
