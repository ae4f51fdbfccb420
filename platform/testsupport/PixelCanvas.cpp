#include "platform/testsupport/PixelCanvas.h"

#include <algorithm>
#include <cstdlib>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SavedDC.h"
#include "platform/gdi/draw/Regions.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"

using namespace Windows;

namespace {

// Resets what would make a read or a fill miss device pixels.
void PlainState(HDC DC)
{
  SelectClipRgn(DC, nullptr);
  SetMapMode(DC, MM_TEXT);
  SetWindowOrgEx(DC, 0, 0, nullptr);
  SetViewportOrgEx(DC, 0, 0, nullptr);
}

}  // namespace

TPixelCanvas::TPixelCanvas(int AW, int AH, COLORREF AFill) : W(AW), H(AH)
{
  DC = CreateCompatibleDC(nullptr);
  Bmp = CreateBitmap(W, H, 1, 32, nullptr);
  Old = SelectObject(DC, Bmp);
  Clear(AFill);
}

TPixelCanvas::~TPixelCanvas()
{
  SelectObject(DC, Old);
  DeleteObject(Bmp);
  DeleteDC(DC);
}

void TPixelCanvas::Clear(COLORREF AFill)
{
  TSavedDC saved(DC);
  PlainState(DC);
  HBRUSH b = CreateSolidBrush(AFill);
  RECT r{0, 0, W, H};
  FillRect(DC, &r, b);
  DeleteObject(b);
}

COLORREF TPixelCanvas::At(int X, int Y) const
{
  TSavedDC saved(DC);
  PlainState(DC);
  return GetPixel(DC, X, Y);
}

int TPixelCanvas::CountNot(COLORREF Bg) const
{
  int n = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) n += At(x, y) != Bg;
  return n;
}

RECT TPixelCanvas::Ink(RECT R, COLORREF Bg) const
{
  RECT out{R.right, R.bottom, R.left, R.top};
  bool any = false;
  for (int y = R.top; y < R.bottom; ++y)
    for (int x = R.left; x < R.right; ++x)
      if (At(x, y) != Bg) {
        any = true;
        out.left = std::min<LONG>(out.left, x);
        out.top = std::min<LONG>(out.top, y);
        out.right = std::max<LONG>(out.right, x + 1);
        out.bottom = std::max<LONG>(out.bottom, y + 1);
      }
  return any ? out : RECT{0, 0, 0, 0};
}

int TPixelCanvas::Count(RECT R, COLORREF Color, int Tolerance) const
{
  auto near = [&](COLORREF c, int shift) {
    return std::abs(int((c >> shift) & 0xFF) - int((Color >> shift) & 0xFF)) < Tolerance;
  };
  int n = 0;
  for (int y = R.top; y < R.bottom; ++y)
    for (int x = R.left; x < R.right; ++x) {
      COLORREF c = At(x, y);
      n += near(c, 0) && near(c, 8) && near(c, 16);
    }
  return n;
}
