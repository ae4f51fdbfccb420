#include "platform/win/backend/Headless.h"

#include <cstring>

#include "platform/gdi/image/Bitmaps.h"
#include "platform/win/backend/Backend.h"
#include "platform/win/caret/Carets.h"
#include "platform/win/clipboard/Clipboard.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/Imm.h"
#include "platform/win/menu/Menus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Hooks.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/WindowData.h"
#include "platform/win/window/Windows.h"

namespace Headless {
namespace {

class HeadlessBackend : public WindowBackend {
public:
  HeadlessBackend(int w, int h) : FSize{w, h} {}
  DWORD Now() override { return FNow; }
  bool Wait(DWORD timeoutMs) override
  {
    // Nothing comes from outside: an endless wait would never end.
    if (timeoutMs == INFINITE) return false;
    FNow += timeoutMs;
    return true;
  }
  bool InputCanArrive() override { return false; }
  SIZE ScreenSize() override { return FSize; }
  RECT WorkArea() override { return {0, 0, FSize.cx, FSize.cy - 30}; }
  void Advance(DWORD ms) { FNow += ms; }
  void Beep(UINT) override { ++FBeeps; }
  void TextInputAt(HWND top, const RECT& rect) override { FTextInput = {top, rect}; }

  int FBeeps = 0;
  TextInputPlace FTextInput;

private:
  SIZE FSize;
  DWORD FNow = 100000;
};

HeadlessBackend* Installed() { return dynamic_cast<HeadlessBackend*>(&Backend::Current()); }

// The screen pixel from the topmost visible top-level window that covers it.
std::uint32_t PixelAt(int x, int y, bool& found)
{
  for (HWND t : WindowData::TopLevel()) {
    if (!Windows::IsWindowVisible(t)) continue;
    RECT r = WindowData::ScreenRect(t);
    if (x < r.left || y < r.top || x >= r.right || y >= r.bottom) continue;
    const Painting::Surface* s = Painting::SurfaceOf(t);
    if (!s) continue;
    int sx = x - r.left, sy = y - r.top;
    if (sx >= s->width || sy >= s->height) continue;
    found = true;
    return s->pixels[size_t(sy) * size_t(s->width) + size_t(sx)];
  }
  found = false;
  return 0;
}

COLORREF ToColorRef(std::uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

}  // namespace

std::unique_ptr<WindowBackend> MakeBackend(int width, int height)
{
  return std::make_unique<HeadlessBackend>(width, height);
}

void Start(int screenWidth, int screenHeight)
{
  WindowList::Reset();
  Hooks::Reset();
  MessageQueue::Reset();
  Painting::Reset();
  Carets::Reset();
  Focus::Reset();
  Imm::Reset();
  Clipboard::Reset();
  Menus::Reset();
  Backend::Install(MakeBackend(screenWidth, screenHeight));
}

int Beeps()
{
  HeadlessBackend* b = Installed();
  return b ? b->FBeeps : 0;
}

TextInputPlace TextInput()
{
  HeadlessBackend* b = Installed();
  return b ? b->FTextInput : TextInputPlace{};
}

void AdvanceTime(DWORD ms)
{
  if (HeadlessBackend* b = Installed()) b->Advance(ms);
}

COLORREF ScreenPixel(int x, int y)
{
  bool found = false;
  std::uint32_t p = PixelAt(x, y, found);
  return found ? ToColorRef(p) : RGB(0, 0x80, 0x80);  // the desktop
}

COLORREF ClientPixel(HWND wnd, int x, int y)
{
  if (!WindowData::Get(wnd)) return CLR_INVALID;
  RECT c;
  Windows::GetClientRect(wnd, &c);
  if (x < 0 || y < 0 || x >= c.right || y >= c.bottom) return CLR_INVALID;
  HWND top = WindowData::TopLevelOf(wnd);
  const Painting::Surface* s = Painting::SurfaceOf(top);
  if (!s) return CLR_INVALID;
  POINT o = WindowData::ClientOrigin(wnd);
  RECT tr = WindowData::ScreenRect(top);
  int sx = o.x - tr.left + x, sy = o.y - tr.top + y;
  if (sx < 0 || sy < 0 || sx >= s->width || sy >= s->height) return CLR_INVALID;
  return ToColorRef(s->pixels[size_t(sy) * size_t(s->width) + size_t(sx)]);
}

HBITMAP CaptureScreen()
{
  SIZE sz = Backend::Current().ScreenSize();
  BITMAPINFO bi{};
  bi.bmiHeader.biWidth = sz.cx;
  bi.bmiHeader.biHeight = -sz.cy;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = Windows::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bmp || !bits) return bmp;
  auto* out = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < sz.cy; ++y) {
    for (int x = 0; x < sz.cx; ++x) {
      bool found = false;
      std::uint32_t p = PixelAt(x, y, found);
      out[size_t(y) * size_t(sz.cx) + size_t(x)] = found ? p : 0x00008080;
    }
  }
  return bmp;
}

}  // namespace Headless
