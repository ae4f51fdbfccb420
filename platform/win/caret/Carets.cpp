#include "platform/win/caret/Carets.h"

#include "platform/gdi/draw/Blits.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/WindowData.h"
#include "platform/win/window/Windows.h"

namespace Carets {
namespace {
struct Caret {
  HWND owner = nullptr;
  int width = 0, height = 0;
  POINT pos;
  int hide = 1;  // 0: shown
  bool drawn = false;
};
Caret& C()
{
  static Caret c;
  return c;
}

void Invert()
{
  Caret& c = C();
  if (HDC dc = Windows::GetDC(c.owner)) {
    Windows::PatBlt(dc, c.pos.x, c.pos.y, c.width, c.height, DSTINVERT);
    Windows::ReleaseDC(c.owner, dc);
  }
  c.drawn = !c.drawn;
}

void Erase()
{
  if (C().drawn) Invert();
}
void Draw()
{
  if (!C().drawn && C().hide == 0 && Windows::IsWindowVisible(C().owner)) Invert();
}
}  // namespace

HWND Owner() { return C().owner; }
bool Drawn() { return C().drawn; }

void WindowGoing(HWND wnd)
{
  if (C().owner && (C().owner == wnd || WindowData::IsDescendant(wnd, C().owner))) {
    C() = Caret{};
  }
}

void Reset() { C() = Caret{}; }

}  // namespace Carets

namespace Windows {

BOOL CreateCaret(HWND wnd, HBITMAP, int width, int height)
{
  if (!WindowData::Get(wnd)) return FALSE;
  DestroyCaret();
  auto& c = Carets::C();
  c.owner = wnd;
  c.width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
  c.height = height > 0 ? height : GetSystemMetrics(SM_CYBORDER);
  return TRUE;
}

BOOL DestroyCaret()
{
  if (!Carets::C().owner) return FALSE;
  Carets::Erase();
  Carets::C() = Carets::Caret{};
  return TRUE;
}

BOOL ShowCaret(HWND wnd)
{
  auto& c = Carets::C();
  if (!c.owner || (wnd && wnd != c.owner) || c.hide == 0) return FALSE;
  if (--c.hide == 0) Carets::Draw();
  return TRUE;
}

BOOL HideCaret(HWND wnd)
{
  auto& c = Carets::C();
  if (!c.owner || (wnd && wnd != c.owner)) return FALSE;
  if (c.hide++ == 0) Carets::Erase();
  return TRUE;
}

BOOL SetCaretPos(int x, int y)
{
  auto& c = Carets::C();
  if (!c.owner) return FALSE;
  Carets::Erase();
  c.pos = {x, y};
  Carets::Draw();
  return TRUE;
}

BOOL GetCaretPos(POINT* out)
{
  if (!out || !Carets::C().owner) return FALSE;
  *out = Carets::C().pos;
  return TRUE;
}

UINT GetCaretBlinkTime() { return 530; }

}  // namespace Windows
